#include "storage/TByteReader.h"

#include "AppError.h"
#include "storage/FileErrors.h"

#include <QStringDecoder>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

TByteReader::TByteReader(QByteArrayView bytes, bool fileMapping)
    : FData(bytes.data()), FSize(bytes.size()), FFileMapping(fileMapping)
{
}

void TByteReader::Release()
{
#ifdef Q_OS_LINUX
    // Whole pages: madvise takes a page boundary.
    static const quintptr page = quintptr(sysconf(_SC_PAGESIZE));
    const quintptr from = quintptr(FData + FReleased) & ~(page - 1);
    const quintptr to = quintptr(FData + FPos - kReleaseStep) & ~(page - 1);
    if (to > from)
        madvise(reinterpret_cast<void *>(from), to - from, MADV_DONTNEED);
#endif
    FReleased = FPos - kReleaseStep;
}

qint32 TByteReader::CheckCount(qint32 count, qint64 itemSize) const
{
    if (count <= 0)
        return 0;
    if (qint64(count) * itemSize > Remaining())
        Fail();
    return count;
}

namespace {

// Windows-1251 has one byte per character, so strings are decoded through a table of its 256
// characters, filled once by the code page's own decoder, straight into a string of the exact
// length (the decoder reserves room for twice as many characters, and a large mine holds two
// strings per branch).
struct Cp1251Table {
    char16_t Chars[256];
    bool Complete = false;
    Cp1251Table()
    {
        char bytes[256];
        for (int i = 0; i < 256; ++i)
            bytes[i] = char(i);
        const QString all = QStringDecoder("windows-1251").decode(QByteArrayView(bytes, 256));
        Complete = all.size() == 256;
        for (int i = 0; Complete && i < 256; ++i)
            Chars[i] = all[i].unicode();
    }
};

} // namespace

QString TByteReader::String()
{
    const qint32 n = Int32();
    if (n <= 0)
        return QString();
    const auto *p = reinterpret_cast<const uchar *>(Take(n));
    static const Cp1251Table table;
    if (!table.Complete)
        return QStringDecoder("windows-1251").decode(QByteArrayView(p, n));
    QString s(n, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(s.data());
    for (qint32 i = 0; i < n; ++i)
        out[i] = table.Chars[p[i]];
    return s;
}

void TByteReader::Fail()
{
    throw AppError(FileErrors::Message(FileErrors::UnexpectedEnd));
}
