// The incidence scheme control at its usual size showing a mine of 100,000 nodes and 100,000
// branches: a repaint at a node and at a branch (the spokes found, the picture composed and
// copied to the screen), a click on a spoke (found again, the branch shown), and the first
// paint of a mine nobody asked before, which builds the mine's incidence by node number.
//   build/bench/bench_gui_incidence
#include "../tests/support/LargeSchemeMine.h"
#include "GuiBenchMain.h"
#include "model/TMine.h"
#include "schemes/TIncidentGraph.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Node 50,201 in the middle of row 125: two spokes; branch 50,075 ends there.
constexpr qint32 kNode = 125 * 400 + 201;
constexpr qint32 kBranch = 125 * 399 + 200;

struct Shown {
    std::unique_ptr<TMine> mine = schememines::Large();
    std::unique_ptr<TIncidentGraph> control = std::make_unique<TIncidentGraph>();

    Shown()
    {
        control->resize(310, 200);
        control->SetMine(mine.get());
        control->show();
        for (int i = 0; i < 20 && !control->windowHandle()->isExposed(); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ~Shown() { control.reset(); }
};

void BM_RepaintAtNode(benchmark::State &state)
{
    Shown s;
    s.control->ShowUzel(kNode);
    s.control->repaint();
    for (auto _ : state)
        s.control->repaint();
    state.counters["spokes"] = double(s.mine->Branches().BranchesAt(kNode).size());
}
BENCHMARK(BM_RepaintAtNode)->Unit(benchmark::kMicrosecond);

void BM_RepaintAtBranch(benchmark::State &state)
{
    Shown s;
    s.control->ShowBranch(kBranch);
    s.control->repaint();
    for (auto _ : state)
        s.control->repaint();
}
BENCHMARK(BM_RepaintAtBranch)->Unit(benchmark::kMicrosecond);

void BM_ClickOnSpoke(benchmark::State &state)
{
    Shown s;
    // The node's first spoke points right from the middle (155, 100).
    const QPointF at(200, 100);
    for (auto _ : state) {
        s.control->ShowUzel(kNode);
        s.control->repaint();
        QMouseEvent press(QEvent::MouseButtonPress, at, s.control->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(s.control.get(), &press);
    }
    if (s.control->Mode() != IncidenceScheme::TMode::Branch)
        state.SkipWithError("the click missed the spoke");
}
BENCHMARK(BM_ClickOnSpoke)->Unit(benchmark::kMicrosecond);

void BM_FirstPaintOfAMine(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<Shown>();
        s->control->ShowUzel(kNode);
        state.ResumeTiming();
        s->control->repaint();
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstPaintOfAMine)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return RunGuiBenchmarks(argc, argv); }
