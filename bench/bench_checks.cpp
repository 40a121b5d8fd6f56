// The whole topology check of a valid network (all three stages, as the check command runs it),
// against the same check written as plain pairwise loops, and against loading the same mine.
//   build/bench/bench_checks --benchmark_filter=Check
#include "../tests/support/MineGenerators.h"
#include "../tests/support/PairwiseTopologyCheck.h"
#include "checks/TTopologyCheck.h"
#include "model/TMine.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Counts lines without keeping them: the valid mine lists none anyway.
class NullSink : public TMessageSink {
public:
    void ClearMessages() override { count = 0; }
    void AddMessage(const QString &, std::optional<TErrorInfo>) override { ++count; }
    int MessageCount() const override { return count; }
    int count = 0;
};

// side 224: 50,176 nodes, 99,904 branches.
void BM_CheckAll(benchmark::State &state)
{
    const int side = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto mine = std::make_unique<TMine>();
        minegen::Grid(*mine, side);
        NullSink sink;
        state.ResumeTiming();
        TTopologyCheck check(*mine, sink);
        const TCheckOutcome outcome = check.CheckAll();
        if (!outcome.Passed())
            state.SkipWithError("the generated mine did not pass");
        state.PauseTiming();
        mine.reset();
        state.ResumeTiming();
    }
    state.counters["branches"] = double(2 * side * (side - 1));
}
BENCHMARK(BM_CheckAll)->Arg(32)->Arg(64)->Arg(100)->Arg(224)->Unit(benchmark::kMillisecond);

void BM_CheckAllPairwise(benchmark::State &state)
{
    const int side = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto mine = std::make_unique<TMine>();
        minegen::Grid(*mine, side);
        NullSink fmtSink;
        TTopologyCheck fmt(*mine, fmtSink);
        pairwise::Lines lines;
        state.ResumeTiming();
        if (!pairwise::CheckAll(*mine, lines, fmt))
            state.SkipWithError("the generated mine did not pass");
        state.PauseTiming();
        mine.reset();
        state.ResumeTiming();
    }
    state.counters["branches"] = double(2 * side * (side - 1));
}
BENCHMARK(BM_CheckAllPairwise)->Arg(32)->Arg(64)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

// Reading the same valid mine from its file: the check must cost well under half of this.
void BM_LoadGrid(benchmark::State &state)
{
    const int side = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.mdf"));
    {
        TMineDocument doc;
        minegen::Grid(*doc.Mine(), side);
        TMineFile::Save(doc, path);
    }
    for (auto _ : state) {
        auto doc = std::make_unique<TMineDocument>();
        TMineFile::Load(*doc, path);
        benchmark::DoNotOptimize(doc->Mine()->Branches().Count());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["branches"] = double(2 * side * (side - 1));
}
BENCHMARK(BM_LoadGrid)->Arg(224)->Unit(benchmark::kMillisecond);

// The check alone on a mine just read from its file, as the check command and the editor meet it.
void BM_CheckLoadedGrid(benchmark::State &state)
{
    const int side = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.mdf"));
    {
        TMineDocument doc;
        minegen::Grid(*doc.Mine(), side);
        TMineFile::Save(doc, path);
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<TMineDocument>();
        TMineFile::Load(*doc, path);
        NullSink sink;
        state.ResumeTiming();
        TTopologyCheck check(*doc->Mine(), sink);
        if (!check.CheckAll().Passed())
            state.SkipWithError("the loaded mine did not pass");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CheckLoadedGrid)->Arg(224)->Unit(benchmark::kMillisecond);

// Load and check together, as the command-line check runs them.
void BM_LoadAndCheckGrid(benchmark::State &state)
{
    const int side = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.mdf"));
    {
        TMineDocument doc;
        minegen::Grid(*doc.Mine(), side);
        TMineFile::Save(doc, path);
    }
    for (auto _ : state) {
        auto doc = std::make_unique<TMineDocument>();
        TMineFile::Load(*doc, path);
        NullSink sink;
        TTopologyCheck check(*doc->Mine(), sink);
        if (!check.CheckAll().Passed())
            state.SkipWithError("the loaded mine did not pass");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadAndCheckGrid)->Arg(224)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
