// The 3D scheme of a mine of 100,000 (and 1,000,000) nodes and as many branches, the whole mine in
// a 1280 x 800 picture as a first view shows it: a full redraw (painter, canvas and drawing, as
// the control repaints), with node labels, a rotation step (projection and redraw), a redraw
// after the network changed (the scene made again) and the two hit tests at a point where
// nothing is hit (the whole list is tried).
//   build/bench/bench_render_scheme [--benchmark_filter=/1000000]
#include "../tests/support/LargeSchemeMine.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "TImageSchemeCanvas.h"
#include "schemes/SchemeDrawing.h"
#include "schemes/TSchemeView.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

// Mines are made once per size: a million elements take seconds.
TMine &MineOf(int elements)
{
    static std::map<int, std::unique_ptr<TMine>> mines;
    auto &m = mines[elements];
    if (!m) {
        m = elements >= 1000000 ? schememines::Large(1000, 1000) : schememines::Large();
        m->SetTopologyValid(true);
    }
    return *m;
}

struct Scene {
    TMine &mine;
    TSchemeView view;
    QImage image{1280, 800, QImage::Format_RGB32};

    Scene(int elements, quint8 textInfo) : mine(MineOf(elements))
    {
        view.SetDrawRect({6, 27, 1280 - 26, 800 - 26});
        view.SetMine(&mine);
        mine.ShowWholeMine();
        mine.SetColorFlags(SchemeFlags::kLayerColors);
        mine.SetTextInfo(textInfo);
        mine.SetAngles(30, 30);
        Draw();
    }
    ~Scene() { view.SetMine(nullptr); }

    void Draw()
    {
        QPainter painter(&image);
        TImageSchemeCanvas canvas(painter, image);
        view.Draw(canvas);
    }
};

void Sizes(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"elements", "labels"});
    for (int n : {100000, 1000000})
        for (int labels : {0, 2})
            b->Args({n, labels});
    b->Unit(benchmark::kMillisecond);
}

void BM_Redraw(benchmark::State &state)
{
    Scene scene(int(state.range(0)), quint8(state.range(1)));
    for (auto _ : state) {
        scene.Draw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_Redraw)->Apply(Sizes);

void BM_RotationStep(benchmark::State &state)
{
    Scene scene(int(state.range(0)), 0);
    int angle = 0;
    for (auto _ : state) {
        angle = angle >= 180 ? -180 : angle + 1;
        scene.mine.SetAngles(30, float(angle));
        scene.Draw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_RotationStep)->Arg(100000)->Arg(1000000)->ArgName("elements")->Unit(benchmark::kMillisecond);

void BM_RedrawAfterEdit(benchmark::State &state)
{
    Scene scene(int(state.range(0)), 0);
    TBranch *b = scene.mine.Branches().Items(1);
    for (auto _ : state) {
        b->SetLayerIndex(b->LayerIndex() == 0 ? 1 : 0);
        scene.Draw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_RedrawAfterEdit)->Arg(100000)->Arg(1000000)->ArgName("elements")->Unit(benchmark::kMillisecond);

void BM_HitNode(benchmark::State &state)
{
    Scene scene(int(state.range(0)), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(scene.view.HitNode(QPoint(2, 2)));
}
BENCHMARK(BM_HitNode)->Arg(100000)->Arg(1000000)->ArgName("elements")->Unit(benchmark::kMillisecond);

void BM_HitBranch(benchmark::State &state)
{
    Scene scene(int(state.range(0)), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(scene.view.HitBranch(QPoint(2, 2)));
}
BENCHMARK(BM_HitBranch)->Arg(100000)->Arg(1000000)->ArgName("elements")->Unit(benchmark::kMillisecond);

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
