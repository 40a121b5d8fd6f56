#include "storage/TByteReader.h"

#include "AppError.h"
#include "storage/FileErrors.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Large enough that reading costs a small part of decoding, small enough to stay in the
// processor's cache while it is decoded.
constexpr qint64 kChunk = 256 * 1024;

} // namespace

TByteReader::TByteReader(QByteArrayView bytes) : FData(bytes.data()), FEnd(bytes.size()), FSize(bytes.size()) {}

TByteReader::TByteReader(int fd, qint64 size) : FData(nullptr), FEnd(0), FSize(size), FFd(fd) {}

void TByteReader::Fill(qint64 n)
{
    if (n < 0 || FFd < 0 || n > Remaining())
        Fail();
    // The unread rest moves to the front, the next bytes of the file follow it.
    const qint64 kept = FEnd - FPos;
    const qint64 wanted = std::min(Remaining(), std::max(n, kChunk));
    if (FBuffer.size() < wanted) {
        QByteArray larger(qsizetype(wanted), Qt::Uninitialized);
        if (kept > 0)
            std::memcpy(larger.data(), FData + FPos, size_t(kept));
        FBuffer.swap(larger);
    } else if (kept > 0) {
        std::memmove(FBuffer.data(), FData + FPos, size_t(kept));
    }
    FBase += FPos;
    FPos = 0;
    FEnd = kept;
    FData = FBuffer.constData();
    while (FEnd < wanted) {
        const ssize_t got = ::pread(FFd, FBuffer.data() + FEnd, size_t(wanted - FEnd), off_t(FBase + FEnd));
        if (got < 0 && errno == EINTR)
            continue;
        // The file is shorter than it was when opened, or cannot be read any further.
        if (got <= 0)
            Fail();
        FEnd += got;
    }
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
