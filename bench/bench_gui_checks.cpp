// The topology check as the document window runs it on a mine of 100,000 branches: the three
// stages of a valid network with the tables refreshed after them, a failing stage 1 that fills
// the message panel with 150,000 lines, and following a reference far down the node table.
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "checks/TErrorInfo.h"
#include "checks/TMessagePanel.h"
#include "model/TMine.h"
#include "settings/TConfig.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// side × side nodes, each joined to its right and lower neighbour: every stage passes.
void gridMine(TMine &mine, int side)
{
    mine.BeginUpdate();
    auto number = [side](int r, int c) { return r * side + c + 1; };
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            mine.AddUzel(number(r, c), float(c) * 25.0f, float(r) * 25.0f, -float((r + c) % 7) * 3.5f);
    int b = 1;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            if (c + 1 < side)
                mine.AddBranch(b++, number(r, c), number(r, c + 1), QString(), 9.5f);
            if (r + 1 < side)
                mine.AddBranch(b++, number(r, c), number(r + 1, c), QString(), 12.0f);
        }
    mine.EndUpdate();
}

struct Window {
    std::unique_ptr<TMainForm> form;
    TChildForm *child = nullptr;

    Window()
    {
        if (!Config)
            Config = new TConfig(false);
        form = std::make_unique<TMainForm>();
        form->show();
        child = form->CreateChild();
        QApplication::processEvents();
    }
};

void BM_CheckValidMine(benchmark::State &state)
{
    Window w;
    gridMine(*w.child->Mine(), 224); // 50,176 nodes, 99,904 branches
    w.child->RefreshTables();
    for (auto _ : state) {
        const bool passed = w.child->CheckPhysics(false);
        benchmark::DoNotOptimize(passed);
        if (!passed)
            state.SkipWithError("the grid mine must pass");
    }
}
BENCHMARK(BM_CheckValidMine)->Unit(benchmark::kMillisecond);

void BM_CheckFloodsPanel(benchmark::State &state)
{
    Window w;
    TMine *mine = w.child->Mine();
    // Every node number twice: 50,000 pairs, three lines each.
    mine->BeginUpdate();
    for (int i = 0; i < 100000; ++i)
        mine->AddUzel(i / 2 + 1, float(i), 0.0f, 0.0f);
    mine->AddBranch(1, 1, 2, QString(), 4.0f);
    mine->EndUpdate();
    w.child->RefreshTables();
    for (auto _ : state) {
        const bool passed = w.child->CheckTopology(false);
        benchmark::DoNotOptimize(passed);
    }
    state.counters["lines"] = double(w.child->pnlMessages->MessageCount());
}
BENCHMARK(BM_CheckFloodsPanel)->Unit(benchmark::kMillisecond);

void BM_FollowFarReference(benchmark::State &state)
{
    Window w;
    gridMine(*w.child->Mine(), 224);
    w.child->RefreshTables();
    int i = 0;
    for (auto _ : state) {
        w.child->FollowMessage(TErrorInfo{13, 50000 - (i++ % 1000)});
    }
}
BENCHMARK(BM_FollowFarReference)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete Config;
    Config = nullptr;
    return 0;
}
