// Fuzz target for the mine file reader: any bytes must give a document or an AppError.
// A document that reads is checked, and saved and read again, which must succeed: what the reader
// accepts, the writer must save in a form the reader opens. From the second save on the file
// must be stable (the first save may still drop empty elements and so move link indices out of
// range, which the next reading clears).
#include "AppError.h"
#include "FuzzResave.h"
#include "checks/TMessageSink.h"
#include "checks/TTopologyCheck.h"
#include "model/TMine.h"
#include "storage/TMdfReader.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QByteArray>
#include <QtEndian>
#include <cstdint>
#include <cstdlib>

namespace {
void ReadAndResave(const QByteArray &bytes)
{
    QByteArray first;
    {
        TMineDocument doc;
        try {
            TMdfReader::Read(bytes, doc);
        } catch (const AppError &) {
            return;
        }
        first = TMdfWriter::Write(doc);
        // The check of whatever was read lists a number of lines linear in the elements, however
        // the numbers repeat.
        const qint64 elements = 2 * qint64(doc.Mine()->Uzels().Count()) + 3 * qint64(doc.Mine()->Branches().Count());
        TMessageList lines;
        TTopologyCheck(*doc.Mine(), lines).CheckAll();
        if (lines.MessageCount() > elements + 1000)
            std::abort();
    }
    const QByteArray second = Resave(first);
    if (Resave(second) != second)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    ReadAndResave(bytes);
    // Almost every mutation breaks the size field, which stops the reader at the header; the
    // same bytes with the size put right reach the rest of the file.
    if (size >= 15) {
        QByteArray fixed(bytes.constData(), bytes.size());
        qToLittleEndian(qint32(size), fixed.data() + 11);
        if (fixed != bytes)
            ReadAndResave(fixed);
    }
    return 0;
}
