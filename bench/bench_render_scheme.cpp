// The 3D scheme of a mine of 100,000 nodes and 100,000 branches in a 1280 x 800 picture: a full
// redraw (painter, canvas and drawing, as the control repaints), with node labels, a rotation
// step (projection and redraw) and the two hit tests at a point where nothing is hit (the whole
// list is tried).
//   build/bench/bench_render_scheme
#include "../tests/support/LargeSchemeMine.h"
#include "model/TMine.h"
#include "TImageSchemeCanvas.h"
#include "schemes/SchemeDrawing.h"
#include "schemes/TSchemeView.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Scene {
    std::unique_ptr<TMine> mine = schememines::Large();
    TSchemeView view;
    QImage image{1280, 800, QImage::Format_RGB32};

    explicit Scene(quint8 textInfo)
    {
        view.SetDrawRect({6, 27, 1280 - 26, 800 - 26});
        mine->SetTopologyValid(true);
        view.SetMine(mine.get());
        view.SetRotationCenter(mine->CenterX(), mine->CenterY(), mine->CenterZ());
        mine->SetColorFlags(SchemeFlags::kLayerColors);
        mine->SetTextInfo(textInfo);
        mine->SetAngles(30, 30);
    }
    ~Scene() { view.SetMine(nullptr); }

    void Draw()
    {
        QPainter painter(&image);
        TImageSchemeCanvas canvas(painter, image);
        view.Draw(canvas);
    }
};

void BM_Redraw(benchmark::State &state)
{
    Scene scene(quint8(state.range(0)));
    for (auto _ : state) {
        scene.Draw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_Redraw)->Arg(0)->ArgName("labels")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redraw)->Arg(2)->ArgName("labels")->Unit(benchmark::kMillisecond);

void BM_RotationStep(benchmark::State &state)
{
    Scene scene(0);
    int angle = 0;
    for (auto _ : state) {
        angle = angle >= 180 ? -180 : angle + 1;
        scene.mine->SetAngles(30, float(angle));
        scene.Draw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_RotationStep)->Unit(benchmark::kMillisecond);

void BM_HitNode(benchmark::State &state)
{
    Scene scene(0);
    scene.Draw();
    for (auto _ : state)
        benchmark::DoNotOptimize(scene.view.HitNode(QPoint(2, 2)));
}
BENCHMARK(BM_HitNode)->Unit(benchmark::kMillisecond);

void BM_HitBranch(benchmark::State &state)
{
    Scene scene(0);
    scene.Draw();
    for (auto _ : state)
        benchmark::DoNotOptimize(scene.view.HitBranch(QPoint(2, 2)));
}
BENCHMARK(BM_HitBranch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
