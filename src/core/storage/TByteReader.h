#pragma once
// Bounded little-endian reading over the bytes of a mine file, held in memory or read from the
// file as they are needed. Every read checks what is left first: running past the end, or a count or string length larger than the rest of
// the file, raises the "damaged file" error instead of reading or allocating anything.
#include <QByteArrayView>
#include <QString>
#include <QtEndian>
#include <cstring>

class TByteReader {
public:
    // Reads bytes held in memory.
    explicit TByteReader(QByteArrayView bytes);
    // Reads the file open on descriptor fd, of size bytes from its start, a chunk at a time into
    // memory. The file is not mapped: a file that another program shortens while it is read
    // would end the process with a bus error where a mapping's pages are gone; read, it only
    // ends early, and that is the "damaged file" error.
    TByteReader(int fd, qint64 size);

    qint64 Pos() const { return FBase + FPos; }
    qint64 Size() const { return FSize; }
    qint64 Remaining() const { return FSize - Pos(); }

    // Raises the damaged-file error unless n more bytes are there.
    void Need(qint64 n)
    {
        if (n < 0 || n > FEnd - FPos)
            Fill(n);
    }
    // Raises the damaged-file error unless count items of at least itemSize bytes each can still
    // follow; a negative count is taken as none and gives 0.
    qint32 CheckCount(qint32 count, qint64 itemSize) const;

    quint8 Byte() { Need(1); return quint8(FData[FPos++]); }
    qint16 Int16() { return Get<qint16>(); }
    qint32 Int32() { return Get<qint32>(); }
    float Float32() { return Get<float>(); }
    double Float64() { return Get<double>(); }
    // A Windows-1251 string: int32 byte count, then the bytes; a count of 0 or less is empty.
    QString String();
    // The next n bytes as they are (n checked first). Reading from a file, they stay valid only
    // until the next read.
    const char *Take(qint64 n)
    {
        Need(n);
        const char *p = FData + FPos;
        FPos += n;
        return p;
    }
    void Skip(qint64 n) { Take(n); }

    // The error for a file that ends too early or claims more than it holds.
    [[noreturn]] static void Fail();

private:
    template<typename T> T Get()
    {
        Need(qint64(sizeof(T)));
        T v = qFromLittleEndian<T>(FData + FPos);
        FPos += qint64(sizeof(T));
        return v;
    }

    // Brings at least n unread bytes into the buffer (a chunk at a time).
    void Fill(qint64 n);

    const char *FData;  // the bytes in memory; FData[0] is the file's byte FBase
    qint64 FBase = 0;
    qint64 FPos = 0;    // next byte, from FData
    qint64 FEnd;        // bytes at FData
    qint64 FSize;       // of the whole file
    int FFd = -1;       // the file being read, or -1 for bytes in memory
    QByteArray FBuffer;
};

// Little-endian reads from a fixed record already checked to be long enough.
namespace RecordBytes {
template<typename T> inline T At(const char *rec, int offset) { return qFromLittleEndian<T>(rec + offset); }
} // namespace RecordBytes
