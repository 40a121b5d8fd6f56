#pragma once
// Bounded little-endian reading over the bytes of a mine file held in memory. Every read checks
// what is left first: running past the end, or a count or string length larger than the rest of
// the file, raises the "damaged file" error instead of reading or allocating anything.
#include <QByteArrayView>
#include <QString>
#include <QtEndian>
#include <cstring>

class TByteReader {
public:
    // fileMapping: bytes are a read-only mapping of a file (see ReleaseBehind).
    explicit TByteReader(QByteArrayView bytes, bool fileMapping = false);

    qint64 Pos() const { return FPos; }
    qint64 Size() const { return FSize; }
    qint64 Remaining() const { return FSize - FPos; }

    // Raises the damaged-file error unless n more bytes are there.
    void Need(qint64 n) const
    {
        if (n < 0 || n > FSize - FPos)
            Fail();
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
    // The next n bytes as they are (n checked first).
    const char *Take(qint64 n)
    {
        Need(n);
        const char *p = FData + FPos;
        FPos += n;
        return p;
    }
    void Skip(qint64 n) { Take(n); }

    // For a file mapping: gives the pages that reading has left a quarter megabyte behind back
    // to the system, so that a large file does not stay resident beside the document it becomes.
    // They are the file's own pages: looking back at them reads them in again. Bytes in memory
    // are never given back (they would be lost).
    void ReleaseBehind()
    {
        if (FFileMapping && FPos - FReleased >= 2 * kReleaseStep)
            Release();
    }

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

    void Release();

    static constexpr qint64 kReleaseStep = 256 * 1024;
    const char *FData;
    qint64 FSize;
    qint64 FPos = 0;
    qint64 FReleased = 0;   // bytes before this offset may have been given back
    bool FFileMapping;
};

// Little-endian reads from a fixed record already checked to be long enough.
namespace RecordBytes {
template<typename T> inline T At(const char *rec, int offset) { return qFromLittleEndian<T>(rec + offset); }
} // namespace RecordBytes
