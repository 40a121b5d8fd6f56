// Fuzz target for the DXF import: any bytes must give a drawing or an AppError, never a crash,
// a hang or an allocation without bound (the checks before dxflib, the library itself, the
// unfolding of blocks). A drawing that reads holds only finite, set single-precision points; a
// network built of it is checked, written as DXF and read back as the same network: the import
// keeps no two nodes within its tolerance and no repeated segment, so nothing more merges.
#include "AppError.h"
#include "checks/TMessageSink.h"
#include "checks/TTopologyCheck.h"
#include "exchange/DxfNetwork.h"
#include "exchange/DxfReader.h"
#include "exchange/DxfWriter.h"
#include "model/TMine.h"
#include "model/Unset.h"

#include <QBuffer>
#include <QByteArray>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void Import(const QByteArray &bytes)
{
    // Blocks multiply a small input into millions of segments, all of it within the bounds but
    // slow under the sanitizers; a smaller bound keeps the runs quick.
    DxfReader::TOptions options;
    options.MaxSegments = 20000;
    TDxfDrawing drawing;
    try {
        drawing = DxfReader::Read(bytes, QStringLiteral("fuzz.dxf"), options);
    } catch (const AppError &) {
        return;
    }
    for (const TDxfPoint &p : drawing.Points)
        for (float v : {p.X, p.Y, p.Z})
            Require(std::isfinite(v) && !IsUnset(v));
    for (const TDxfDrawing::TPath &p : drawing.Paths)
        Require(p.Count >= 2 && p.First >= 0 && size_t(p.First + p.Count) <= drawing.Points.size());

    TMine mine;
    try {
        DxfNetwork::Build(mine, drawing, {});
    } catch (const AppError &) {
        return;
    }
    TMessageList lines;
    TTopologyCheck(mine, lines).CheckAll();
    Require(lines.MessageCount() <= 2 * mine.Uzels().Count() + 3 * mine.Branches().Count() + 1000);

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    Require(DxfWriter::Write(mine, out, {2}, nullptr));
    TMine back;
    try {
        DxfNetwork::Build(back, DxfReader::Read(out.data(), QStringLiteral("back.dxf"), options), {});
    } catch (const AppError &) {
        std::abort();
    }
    Require(back.Uzels().Count() == mine.Uzels().Count() && back.Branches().Count() == mine.Branches().Count());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Import(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
