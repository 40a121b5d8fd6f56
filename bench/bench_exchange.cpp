// The node and branch lists of a large mine (100,000 nodes, 100,000 branches) written to and
// read from their CSV text. Reading includes freeing the mine it built.
#include "exchange/NetworkCsv.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kCount = 100000;

void BuildLargeMine(TMine &m)
{
    m.BeginUpdate();
    for (int i = 1; i <= kCount; ++i)
        m.AddUzel(i, float(i % 400) * 25.0f, float(i / 400) * 25.0f, -300.0f + float(i % 37) * 0.5f);
    for (int i = 1; i <= kCount; ++i) {
        TBranch *b = m.AddBranch(i, i, i % kCount + 1, QStringLiteral("Выработка №%1, пикет %2").arg(i).arg(i % 9),
                                 9.5f + float(i % 7));
        b->SetName(QStringLiteral("Штрек %1").arg(i % 100));
        b->SetResistance(0.001 * (i % 13));
        b->SetLayerIndex(i % 3 - 1);
    }
    m.EndUpdate();
}

TMine &LargeMine()
{
    static TMine mine;
    static const bool built = (BuildLargeMine(mine), true);
    (void)built;
    return mine;
}

void BM_ExportCsv(benchmark::State &state)
{
    const TMine &mine = LargeMine();
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray nodes = NetworkCsv::NodesText(mine);
        const QByteArray branches = NetworkCsv::BranchesText(mine);
        bytes += nodes.size() + branches.size();
        benchmark::DoNotOptimize(branches.constData());
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ImportCsv(benchmark::State &state)
{
    const QByteArray nodes = NetworkCsv::NodesText(LargeMine());
    const QByteArray branches = NetworkCsv::BranchesText(LargeMine());
    for (auto _ : state) {
        auto mine = std::make_unique<TMine>();
        NetworkCsv::Read(*mine, nodes, QStringLiteral("nodes.csv"), branches, QStringLiteral("branches.csv"));
        benchmark::DoNotOptimize(mine.get());
        mine.reset();
    }
    state.SetBytesProcessed(state.iterations() * (nodes.size() + branches.size()));
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
