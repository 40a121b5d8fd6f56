// The 3D scheme control at 1280 x 800 showing a mine of 100,000 nodes and 100,000 branches: a
// repaint (frame, strips, boxes, the picture and the copy to the screen), a notch of the wheel
// (zoom, projection, repaint) and a left click on empty space (both hit tests).
//   build/bench/bench_gui_scheme
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
    std::unique_ptr<TMine> mine = schememines::Large();
    std::unique_ptr<TMine3D> control = std::make_unique<TMine3D>();

    explicit Shown(quint8 textInfo)
    {
        mine->SetTopologyValid(true);
        control->resize(1280, 800);
        control->SetMine(mine.get());
        control->SetRotationCenter(mine->CenterX(), mine->CenterY(), mine->CenterZ());
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
    Shown s(quint8(state.range(0)));
    for (auto _ : state)
        s.control->repaint();
}
BENCHMARK(BM_ControlRepaint)->Arg(0)->Arg(2)->ArgName("labels")->Unit(benchmark::kMillisecond);

void BM_WheelNotch(benchmark::State &state)
{
    Shown s(0);
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
    Shown s(0);
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
BENCHMARK(BM_ClickOnEmptySpace)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunGuiBenchmarks(argc, argv);
}
