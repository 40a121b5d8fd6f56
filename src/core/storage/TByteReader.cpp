#include "storage/TByteReader.h"

#include "AppError.h"
#include "storage/FileErrors.h"

TByteReader::TByteReader(const QByteArray &bytes)
    : FData(bytes.constData()), FSize(bytes.size()), FDecoder("windows-1251")
{
}

qint32 TByteReader::CheckCount(qint32 count, qint64 itemSize) const
{
    if (count <= 0)
        return 0;
    if (qint64(count) * itemSize > Remaining())
        Fail();
    return count;
}

QString TByteReader::String()
{
    const qint32 n = Int32();
    if (n <= 0)
        return QString();
    const char *p = Take(n);
    return FDecoder.decode(QByteArrayView(p, n));
}

void TByteReader::Fail()
{
    throw AppError(FileErrors::Message(FileErrors::UnexpectedEnd));
}
