#pragma once
// Little-endian writing of a mine file, either into memory or into a device in chunks as the
// file is laid out (a large mine is not held a second time as its file's bytes).
#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QtEndian>

class QIODevice;

class TByteWriter {
public:
    // Writes into memory (Bytes()).
    TByteWriter();
    // Writes into device, opened for writing at its start; a failure to write raises AppError
    // with the text of a failed write.
    explicit TByteWriter(QIODevice *device);

    // The bytes not yet handed to the device (all of them without one).
    QByteArray &Bytes() { return FBytes; }
    // Bytes written in all, those handed to the device included.
    qint64 Size() const { return FSent + FBytes.size(); }
    // Room for n bytes in memory; with a device only the chunk is kept.
    void Reserve(qint64 n) { FBytes.reserve(FDevice ? kChunk + 4096 : n); }

    void Byte(quint8 v) { FBytes.append(char(v)); }
    void Int16(qint16 v) { Put(v); }
    void Int32(qint32 v) { Put(v); }
    void Float32(float v) { Put(v); }
    void Float64(double v) { Put(v); }
    // int32 byte count in Windows-1251, then the bytes; characters the code page lacks become '?'.
    void String(const QString &s);
    // Hands a full chunk to the device; called between records.
    void Spill()
    {
        if (FDevice && FBytes.size() >= kChunk)
            Send();
    }
    // Hands the rest to the device, then overwrites the int32 written at offset.
    void Finish(qint64 offset, qint32 v);

private:
    static constexpr qsizetype kChunk = 256 * 1024;

    template<typename T> void Put(T v)
    {
        char buf[sizeof(T)];
        qToLittleEndian(v, buf);
        FBytes.append(buf, qsizetype(sizeof(T)));
    }
    void Send();

    QByteArray FBytes;
    QStringEncoder FEncoder;
    QIODevice *FDevice = nullptr;
    qint64 FSent = 0;
};
