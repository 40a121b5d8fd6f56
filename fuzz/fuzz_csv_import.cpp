// Fuzz target for the CSV import: the input is the node file, then after a NUL byte each the
// branch, stopping, people and document files (those after the last NUL are empty; the last
// three are read only when the input has them). Any bytes must give a document or an AppError.
// A document that imports is saved as a mine file, read again (which must succeed), exported as
// the CSV files and imported again (which must succeed too): what the import accepts, the rest of
// the road must carry. Along the road nothing may be lost, the exports before and after the mine
// file must agree, and the export stays within a bound of the input's size.
#include "AppError.h"
#include "exchange/NetworkCsv.h"
#include "model/TLayerList.h"
#include "model/TMine.h"
#include "model/TPLFList.h"
#include "storage/TMdfReader.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <cstdlib>

namespace {

// An imported value may come back longer than it was typed: "1e-300" as a resistance is written
// out in full, some 300 digits, and a row of a dozen bytes may hold such a value. Every other
// field comes back at most a few times as long as it went in.
constexpr qsizetype kGrowthPerByte = 48;
constexpr qsizetype kFixedOutput = 1024;
// An index of a seam or plan position in a few bytes makes every group up to it, each three rows
// of the document file ("Layer,Пласт 9999", its colour, its visibility).
constexpr qsizetype kPerGroup = 96;
constexpr int kFiles = 5;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The files' contents by the names the sources give them ("0" to "4").
NetworkCsv::TSources Sources(int given)
{
    NetworkCsv::TSources s{QStringLiteral("0"), QStringLiteral("1"), {}, {}, {}};
    QString *optional[] = {&s.Stoppings, &s.People, &s.Document};
    for (int i = 2; i < given; ++i)
        *optional[i - 2] = QString::number(i);
    return s;
}

QList<QByteArray> Export(const TMineDocument &doc)
{
    return {NetworkCsv::NodesText(*doc.Mine()), NetworkCsv::BranchesText(*doc.Mine()),
            NetworkCsv::StoppingsText(*doc.Mine()), NetworkCsv::PeopleText(*doc.Mine()), NetworkCsv::DocumentText(doc)};
}

bool Import(TMineDocument &doc, const QList<QByteArray> &files, int given)
{
    try {
        NetworkCsv::Read(doc, Sources(given), [&files](const QString &name) { return files.value(name.toInt()); });
    } catch (const AppError &) {
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> files = input.split('\0');
    const int given = int(std::min<qsizetype>(files.size(), kFiles));
    files.resize(kFiles);

    TMineDocument imported;
    if (!Import(imported, files, given))
        return 0;
    const QList<QByteArray> out = Export(imported);

    TMineDocument reread;
    try {
        TMdfReader::Read(TMdfWriter::Write(imported), reread);
    } catch (const AppError &) {
        std::abort();
    }
    Check(reread.Mine()->Uzels().Count() == imported.Mine()->Uzels().Count());
    Check(reread.Mine()->Branches().Count() == imported.Mine()->Branches().Count());
    const QList<QByteArray> again = Export(reread);
    Check(again == out);
    qsizetype written = 0;
    for (const QByteArray &f : out)
        written += f.size();
    const qsizetype groups = imported.Mine()->Layers().Count() + imported.Mine()->PLFs().Count();
    Check(written <= kFixedOutput + kGrowthPerByte * qsizetype(size) + kPerGroup * groups);

    TMineDocument reimported;
    Check(Import(reimported, again, kFiles));
    Check(Export(reimported) == again);
    return 0;
}
