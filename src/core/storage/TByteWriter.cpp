#include "storage/TByteWriter.h"

TByteWriter::TByteWriter() : FEncoder("windows-1251", QStringConverter::Flag::Default) {}

void TByteWriter::String(const QString &s)
{
    if (s.isEmpty()) {
        Int32(0);
        return;
    }
    const QByteArray encoded = FEncoder.encode(s);
    Int32(qint32(encoded.size()));
    FBytes.append(encoded);
}
