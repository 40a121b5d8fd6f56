// The network model at the scale of a large mine: 100,000 nodes and 100,000 branches.
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kNodes = 100000;
constexpr int kBranches = 100000;

// Nodes on a 3D grid numbered in a shuffled order; each branch joins two nearby nodes.
// emptyEvery > 0 makes every emptyEvery-th node and branch empty; stoppings per branch.
std::unique_ptr<TMine> BuildMine(int emptyEvery = 0, int stoppings = 0)
{
    auto mine = std::make_unique<TMine>();
    QRandomGenerator rng(42);
    QList<int> numbers(kNodes);
    for (int i = 0; i < kNodes; ++i)
        numbers[i] = i + 1;
    for (int i = kNodes - 1; i > 0; --i)
        std::swap(numbers[i], numbers[int(rng.bounded(i + 1))]);
    mine->BeginUpdate();
    for (int i = 0; i < kNodes; ++i) {
        if (emptyEvery && i % emptyEvery == 0)
            mine->AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
        else
            mine->AddUzel(numbers[i], float(i % 100) * 20, float((i / 100) % 100) * 20,
                          float(i / 10000) * -15 + float(rng.bounded(3)));
    }
    for (int i = 0; i < kBranches; ++i) {
        TBranch *b;
        if (emptyEvery && i % emptyEvery == 1)
            b = mine->AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
        else
            b = mine->AddBranch(kBranches - i, numbers[i], numbers[(i + 1 + int(rng.bounded(100))) % kNodes],
                                QStringLiteral("Штрек %1").arg(rng.bounded(5000)),
                                float(5 + rng.bounded(20)));
        for (int k = 0; k < stoppings; ++k) {
            auto *j = new TJumper(b);
            j->SetPosition(rng.generateDouble());
            j->SetMaterial(quint8(rng.bounded(21)));
            j->SetThickness(0.5);
        }
    }
    mine->EndUpdate();
    mine->SetModified(false);
    return mine;
}

void BM_BuildMine(benchmark::State &state)
{
    for (auto _ : state) {
        auto mine = BuildMine();
        benchmark::DoNotOptimize(mine.get());
    }
}
BENCHMARK(BM_BuildMine)->Unit(benchmark::kMillisecond);

void BM_ResolveIncidence(benchmark::State &state)
{
    auto mine = BuildMine();
    for (auto _ : state)
        mine->ResolveIncidence();
}
BENCHMARK(BM_ResolveIncidence)->Unit(benchmark::kMillisecond);

void BM_SortUzels(benchmark::State &state)
{
    auto mine = BuildMine();
    const int kind = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        mine->Uzels().SortBy(0 == kind ? 3 : 0);   // start from a different order each time
        state.ResumeTiming();
        mine->Uzels().SortBy(kind);
    }
}
BENCHMARK(BM_SortUzels)->Arg(0)->Arg(3)->ArgName("kind")->Unit(benchmark::kMillisecond);

void BM_SortBranches(benchmark::State &state)
{
    auto mine = BuildMine();
    mine->ResolveIncidence();
    const int kind = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        mine->Branches().SortByKind(kind == 4 ? 8 : 4);
        state.ResumeTiming();
        mine->Branches().SortByKind(kind);
    }
}
BENCHMARK(BM_SortBranches)->Arg(4)->Arg(7)->Arg(13)->Arg(14)->ArgName("kind")
    ->Unit(benchmark::kMillisecond);

void BM_DeleteEmptyUzels(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto mine = BuildMine(10);
        state.ResumeTiming();
        benchmark::DoNotOptimize(mine->DeleteEmptyUzels());
        state.PauseTiming();
        mine.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteEmptyUzels)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DeleteEmptyBranchesWithStoppings(benchmark::State &state)
{
    const int stoppings = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto mine = BuildMine(10, stoppings);
        for (TBranch *b : mine->Branches())
            if (b->IsEmpty())
                b->SetZone(1, true);
        mine->ResolveIncidence();
        state.ResumeTiming();
        benchmark::DoNotOptimize(mine->DeleteEmptyBranches());
        benchmark::DoNotOptimize(mine->Jumpers().Count());
        state.PauseTiming();
        mine.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteEmptyBranchesWithStoppings)->Arg(0)->Arg(2)->ArgName("stoppings")
    ->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DerivedValues(benchmark::State &state)
{
    auto mine = BuildMine(0, 1);
    mine->ResolveIncidence();
    for (auto _ : state) {
        double sum = 0;
        for (TBranch *b : mine->Branches())
            sum += b->Length() + b->Perimeter() + b->Volume() + b->Angle() + b->EffectiveLength();
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_DerivedValues)->Unit(benchmark::kMillisecond);

void BM_TopologyValid(benchmark::State &state)
{
    auto mine = BuildMine(0, 1);
    for (auto _ : state) {
        mine->SetTopologyValid(false);
        mine->SetCellLength(3 + float(state.iterations() % 2));   // recount every time
        mine->SetTopologyValid(true);
    }
}
BENCHMARK(BM_TopologyValid)->Unit(benchmark::kMillisecond);

void BM_LookupByNumber(benchmark::State &state)
{
    auto mine = BuildMine();
    QRandomGenerator rng(7);
    for (auto _ : state) {
        const qint32 n = qint32(rng.bounded(kNodes + 10));
        benchmark::DoNotOptimize(mine->HasUzel(n));
        benchmark::DoNotOptimize(mine->Branches().PositionOf(n));
    }
}
BENCHMARK(BM_LookupByNumber);

// Typing into number cells: each keystroke renumbers, the table then looks the number up.
void BM_RenumberThenLookup(benchmark::State &state)
{
    auto mine = BuildMine();
    QRandomGenerator rng(9);
    for (auto _ : state) {
        TUzel *n = mine->Uzels().Items(1 + int(rng.bounded(kNodes)));
        n->SetNumber(qint32(rng.bounded(kNodes)) + 1);
        benchmark::DoNotOptimize(mine->Uzels().PositionOf(n->Number()));
    }
}
BENCHMARK(BM_RenumberThenLookup);

} // namespace

BENCHMARK_MAIN();
