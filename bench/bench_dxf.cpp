// A network of 100,000 segments to and from a DXF drawing: a 224 x 224 grid of nodes on three
// levels (50,176 nodes, 99,904 branches on four seams, a stopping on every 50th branch).
// Export writes the drawing into memory; import reads those bytes through the checks, dxflib and
// the unfolding, joins the ends into nodes and fills a new mine (freed within the loop).
// Aims: import under 2 s, export under 1 s.
#include "exchange/DxfNetwork.h"
#include "exchange/DxfReader.h"
#include "exchange/DxfWriter.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"

#include <QBuffer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kSide = 224;

void BuildGrid(TMine &m)
{
    m.BeginUpdate();
    for (int s = 0; s < 4; ++s) {
        auto *seam = new TLayer(&m);
        seam->SetName(QStringLiteral("Пласт %1").arg(s + 1));
        seam->SetColor(0x1F3F7Fu * quint32(s + 1));
    }
    auto number = [](int r, int c) { return r * kSide + c + 1; };
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c)
            m.AddUzel(number(r, c), float(c) * 25.0f + 6543.21f, float(r) * 25.0f - 1234.5f, -300.0f - float((r + c) % 3) * 50.0f);
    int b = 1;
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c)
            for (int down = 0; down < 2; ++down) {
                if ((down ? r : c) + 1 >= kSide)
                    continue;
                TBranch *branch = m.AddBranch(b, number(r, c), down ? number(r + 1, c) : number(r, c + 1), QString(), 9.5f);
                branch->SetLayerIndex(b % 5 - 1);
                if (b % 50 == 0)
                    new TJumper(branch, 0.5);
                ++b;
            }
    m.EndUpdate();
}

const TMine &Grid()
{
    static TMine mine;
    static const bool built = (BuildGrid(mine), true);
    (void)built;
    return mine;
}

QByteArray Drawing(const TMine &mine)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DxfWriter::Write(mine, buffer, {}, nullptr);
    return buffer.data();
}

void BM_ExportDxf(benchmark::State &state)
{
    const TMine &mine = Grid();
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray drawing = Drawing(mine);
        bytes += drawing.size();
        benchmark::DoNotOptimize(drawing.constData());
    }
    state.SetBytesProcessed(bytes);
    state.counters["segments"] = double(mine.Branches().Count());
}
BENCHMARK(BM_ExportDxf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ImportDxf(benchmark::State &state)
{
    const QByteArray drawing = Drawing(Grid());
    int branches = 0;
    for (auto _ : state) {
        auto mine = std::make_unique<TMine>();
        const TDxfDrawing d = DxfReader::Read(drawing, QStringLiteral("grid.dxf"), {});
        branches = DxfNetwork::Build(*mine, d, {}).Branches;
        benchmark::DoNotOptimize(mine.get());
        mine.reset();
    }
    state.SetBytesProcessed(state.iterations() * drawing.size());
    state.counters["segments"] = double(branches);
}
BENCHMARK(BM_ImportDxf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
