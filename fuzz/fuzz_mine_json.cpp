// Fuzz target for the whole-document JSON reader: any bytes must give a document or an AppError.
// A document that reads is saved, and the saved file must read again; from the second save on
// the file must be stable (the first save may drop empty elements, and the file does not keep
// every value the JSON may give, such as a branch's volume coefficient). The saved file stays
// within a bound of the JSON's size: "{}," is three bytes, the branch it makes 129.
#include "AppError.h"
#include "FuzzResave.h"
#include "exchange/MineJson.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray first;
    {
        TMineDocument doc;
        try {
            MineJson::Read(text, doc);
        } catch (const AppError &) {
            return 0;
        }
        first = TMdfWriter::Write(doc);
    }
    if (first.size() > 64 * qsizetype(size) + 4096)
        std::abort();
    const QByteArray second = Resave(first);
    if (Resave(second) != second)
        std::abort();
    return 0;
}
