// Fuzz target for the CSV import: the input is the node file, a NUL byte, then the branch file
// (without a NUL the branch file is empty). Any bytes must give a document or an AppError. A
// document that imports is saved as a mine file, read again (which must succeed), exported as
// the two CSV files and imported again (which must succeed too): what the import accepts, the
// rest of the road must carry. Along the road nothing may be lost, the exports before and after
// the mine file must agree, and the export stays within a bound of the input's size.
#include "AppError.h"
#include "exchange/NetworkCsv.h"
#include "model/TMine.h"
#include "storage/TMdfReader.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {

// An imported value may come back longer than it was typed: "1e-300" as a resistance is written
// out in full, some 300 digits, and a row of a dozen bytes may hold such a value. Every other
// field comes back at most a few times as long as it went in.
constexpr qsizetype kGrowthPerByte = 48;
constexpr qsizetype kFixedOutput = 1024;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArray nodes = split < 0 ? input : input.left(split);
    const QByteArray branches = split < 0 ? QByteArray() : input.mid(split + 1);

    TMineDocument imported;
    try {
        NetworkCsv::Read(*imported.Mine(), nodes, QStringLiteral("nodes.csv"), branches, QStringLiteral("branches.csv"));
    } catch (const AppError &) {
        return 0;
    }
    const QByteArray nodesOut = NetworkCsv::NodesText(*imported.Mine());
    const QByteArray branchesOut = NetworkCsv::BranchesText(*imported.Mine());

    TMineDocument reread;
    try {
        TMdfReader::Read(TMdfWriter::Write(imported), reread);
    } catch (const AppError &) {
        std::abort();
    }
    Check(reread.Mine()->Uzels().Count() == imported.Mine()->Uzels().Count());
    Check(reread.Mine()->Branches().Count() == imported.Mine()->Branches().Count());
    const QByteArray nodesAgain = NetworkCsv::NodesText(*reread.Mine());
    const QByteArray branchesAgain = NetworkCsv::BranchesText(*reread.Mine());
    Check(nodesAgain == nodesOut);
    Check(branchesAgain == branchesOut);
    Check(nodesOut.size() + branchesOut.size() <= kFixedOutput + kGrowthPerByte * qsizetype(size));

    TMineDocument reimported;
    try {
        NetworkCsv::Read(*reimported.Mine(), nodesAgain, QStringLiteral("nodes.csv"), branchesAgain,
                         QStringLiteral("branches.csv"));
    } catch (const AppError &) {
        std::abort();
    }
    Check(NetworkCsv::NodesText(*reimported.Mine()) == nodesAgain);
    Check(NetworkCsv::BranchesText(*reimported.Mine()) == branchesAgain);
    return 0;
}
