// The change journal at the scale of a large mine (100,000 nodes): undo and redo of a
// transformation of every node, and the cost the journal adds to one keystroke applied to a
// cell (argument 0: journal off, 1: on).
#include "model/ColumnKinds.h"
#include "model/CoordinateTransform.h"
#include "model/TBranch.h"
#include "model/TChangeJournal.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr int kNodes = 100000;

struct Journaled {
    TMine mine;
    std::vector<std::unique_ptr<TChangeStep>> steps;
    explicit Journaled(bool on)
    {
        mine.BeginUpdate();
        for (int i = 0; i < kNodes; ++i)
            mine.AddUzel(i + 1, float(i % 100) * 20, float((i / 100) % 100) * 20, float(i / 10000) * -15);
        for (int i = 0; i < kNodes; ++i)
            mine.AddBranch(i + 1, i + 1, (i + 1) % kNodes + 1, QStringLiteral("Штрек"), 12.0f);
        mine.EndUpdate();
        mine.Journal().OnStep = [this](std::unique_ptr<TChangeStep> s) {
            // The window's stack merges the keystrokes of one cell into its first step.
            if (!steps.empty() && s->MergeKey && steps.back()->MergeKey == s->MergeKey)
                steps.back()->Append(*s);
            else
                steps.push_back(std::move(s));
        };
        mine.Journal().SetEnabled(on);
    }
};

const TNodeTransform kShift = TNodeTransform::ShiftScale({1.5, 1.5, 1}, {100, -50, 3});

void BM_TransformAll(benchmark::State &state)
{
    Journaled j(state.range(0) != 0);
    for (auto _ : state) {
        TUserAction action(&j.mine, QStringLiteral("Трансформация"));
        kShift.ApplyToAll(j.mine);
    }
}
BENCHMARK(BM_TransformAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_UndoTransform(benchmark::State &state)
{
    Journaled j(true);
    {
        TUserAction action(&j.mine, QStringLiteral("Трансформация"));
        kShift.ApplyToAll(j.mine);
    }
    TChangeStep &step = *j.steps.back();
    state.counters["bytes"] = double(step.Bytes());
    for (auto _ : state) {
        step.Undo();
        state.PauseTiming();
        step.Redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoTransform)->Unit(benchmark::kMillisecond);

void BM_RedoTransform(benchmark::State &state)
{
    Journaled j(true);
    {
        TUserAction action(&j.mine, QStringLiteral("Трансформация"));
        kShift.ApplyToAll(j.mine);
    }
    TChangeStep &step = *j.steps.back();
    for (auto _ : state) {
        state.PauseTiming();
        step.Undo();
        state.ResumeTiming();
        step.Redo();
    }
}
BENCHMARK(BM_RedoTransform)->Unit(benchmark::kMillisecond);

// One keystroke in a cell: the typed text read and stored through the column-kind table, as
// the table's apply does, inside the cell's action.
void BM_KeystrokeApply(benchmark::State &state)
{
    Journaled j(state.range(0) != 0);
    TBranch *b = j.mine.Branches().Items(kNodes / 2);
    const quint64 key = TChangeJournal::NewMergeKey();
    qint64 n = 0;
    for (auto _ : state) {
        const TColumnInput input = ColumnKinds::ReadInput(TColumnKind::Section, QString::number(++n % 1000), TInputSource::Typed);
        TUserAction action(&j.mine, QStringLiteral("Правка ячейки"), key);
        ColumnKinds::SetValue(TColumnKind::Section, *b, input.Value);
    }
}
// A fixed count: with the journal on, every keystroke of the one cell stays in its step.
BENCHMARK(BM_KeystrokeApply)->Arg(0)->Arg(1)->Iterations(200000);

} // namespace

BENCHMARK_MAIN();
