// The 3D scheme control at 1280 x 800 showing the whole of a mine of 100,000 (and 1,000,000)
// nodes and as many branches: a repaint (frame, strips, boxes, the picture and the copy to the
// screen), a step of the Z bar (projection, repaint), a notch of the wheel (zoom, projection,
// repaint) and a left click on empty space (both hit tests).
//   build/bench/bench_gui_scheme [--benchmark_filter=/1000000]
#include "../tests/support/LargeSchemeMine.h"
#include "GuiBenchMain.h"
#include "model/TMine.h"
#include "schemes/TCustomMine3D.h"

#include <QApplication>
#include <QScrollBar>
#include <QWindow>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Shown {
    std::unique_ptr<TMine> mine;
    std::unique_ptr<TMine3D> control = std::make_unique<TMine3D>();

    Shown(int elements, quint8 textInfo)
        : mine(elements >= 1000000 ? schememines::Large(1000, 1000) : schememines::Large())
    {
        mine->SetTopologyValid(true);
        control->resize(1280, 800);
        control->SetMine(mine.get());   // the first view: the whole mine
        mine->SetTextInfo(textInfo);
        control->XBar->setValue(30);
        control->ZBar->setValue(30);
        control->show();
        // Painting needs the window on screen (exposed), which takes the event loop.
        for (int i = 0; i < 20 && !control->windowHandle()->isExposed(); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        control->repaint();
    }
    ~Shown() { control.reset(); }
};

void BM_ControlRepaint(benchmark::State &state)
{
    Shown s(int(state.range(0)), quint8(state.range(1)));
    for (auto _ : state)
        s.control->repaint();
}
BENCHMARK(BM_ControlRepaint)
    ->ArgNames({"elements", "labels"})
    ->Args({100000, 0})
    ->Args({100000, 2})
    ->Args({1000000, 0})
    ->Unit(benchmark::kMillisecond);

void BM_ZBarStep(benchmark::State &state)
{
    Shown s(int(state.range(0)), 0);
    for (auto _ : state) {
        s.control->ZBar->setValue(s.control->ZBar->value() >= 180 ? -180 : s.control->ZBar->value() + 1);
        s.control->repaint();
    }
}
BENCHMARK(BM_ZBarStep)->Arg(100000)->Arg(1000000)->ArgName("elements")->Unit(benchmark::kMillisecond);

void BM_WheelNotch(benchmark::State &state)
{
    Shown s(100000, 0);
    int delta = 120;
    for (auto _ : state) {
        if (s.control->ScaleBar->value() >= 200)
            delta = -120;
        else if (s.control->ScaleBar->value() <= 10)
            delta = 120;
        QWheelEvent e(QPointF(600, 400), QPointF(600, 400), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(s.control.get(), &e);
        s.control->repaint();
    }
}
BENCHMARK(BM_WheelNotch)->Unit(benchmark::kMillisecond);

void BM_ClickOnEmptySpace(benchmark::State &state)
{
    Shown s(int(state.range(0)), 0);
    const QPointF at(10, 30);
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, at, s.control->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(s.control.get(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, s.control->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(s.control.get(), &release);
    }
}
BENCHMARK(BM_ClickOnEmptySpace)->Arg(100000)->Arg(1000000)->ArgName("elements")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunGuiBenchmarks(argc, argv);
}
