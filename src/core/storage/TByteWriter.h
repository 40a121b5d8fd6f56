#pragma once
// Little-endian writing of a mine file into memory; the file itself is written in one piece
// once everything is in place.
#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QtEndian>

class TByteWriter {
public:
    TByteWriter();

    QByteArray &Bytes() { return FBytes; }
    qint64 Size() const { return FBytes.size(); }
    void Reserve(qint64 n) { FBytes.reserve(n); }

    void Byte(quint8 v) { FBytes.append(char(v)); }
    void Int16(qint16 v) { Put(v); }
    void Int32(qint32 v) { Put(v); }
    void Float32(float v) { Put(v); }
    void Float64(double v) { Put(v); }
    // int32 byte count in Windows-1251, then the bytes; characters the code page lacks become '?'.
    void String(const QString &s);
    // Overwrites an int32 already written at offset.
    void PatchInt32(qint64 offset, qint32 v) { qToLittleEndian(v, FBytes.data() + offset); }

private:
    template<typename T> void Put(T v)
    {
        char buf[sizeof(T)];
        qToLittleEndian(v, buf);
        FBytes.append(buf, qsizetype(sizeof(T)));
    }

    QByteArray FBytes;
    QStringEncoder FEncoder;
};
