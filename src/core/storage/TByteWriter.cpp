#include "storage/TByteWriter.h"

#include "AppError.h"
#include "storage/FileErrors.h"

#include <QIODevice>

TByteWriter::TByteWriter() : FEncoder("windows-1251", QStringConverter::Flag::Default) {}

TByteWriter::TByteWriter(QIODevice *device) : TByteWriter()
{
    FDevice = device;
}

void TByteWriter::String(const QString &s)
{
    if (s.isEmpty()) {
        Int32(0);
        return;
    }
    // Encoded straight behind its count, which is filled in once the length is known.
    const qsizetype at = FBytes.size();
    FBytes.resize(at + 4 + FEncoder.requiredSpace(s.size()));
    char *const begin = FBytes.data() + at + 4;
    char *const end = FEncoder.appendToBuffer(begin, s);
    qToLittleEndian(qint32(end - begin), FBytes.data() + at);
    FBytes.resize(end - FBytes.constData());
}

void TByteWriter::Send()
{
    if (FDevice->write(FBytes) != FBytes.size())
        throw AppError(FileErrors::WriteFailedMessage());
    FSent += FBytes.size();
    FBytes.resize(0);
}

void TByteWriter::Finish(qint64 offset, qint32 v)
{
    if (offset >= FSent) {
        // Still in memory: a small file goes to the device in one piece, count included.
        qToLittleEndian(v, FBytes.data() + (offset - FSent));
        if (FDevice)
            Send();
        return;
    }
    Send();
    char buf[4];
    qToLittleEndian(v, buf);
    if (!FDevice->seek(offset) || FDevice->write(buf, 4) != 4)
        throw AppError(FileErrors::WriteFailedMessage());
}
