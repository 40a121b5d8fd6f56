#pragma once
// A small streaming JSON writer for the dump: UTF-8, two-space indentation, and reals in the
// shortest form that reads back to the same single- or double-precision value (a float is not
// widened to double first, so 0.1f prints as 0.1, not 0.10000000149011612).
//
// Written to a stream, the text goes out in chunks of about 64 KiB as it is produced, so a dump
// of a large mine never holds its whole text; without a stream it is collected for Text().
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <string>
#include <vector>

class TJsonWriter {
public:
    TJsonWriter() = default;
    explicit TJsonWriter(std::FILE *out);
    ~TJsonWriter();
    TJsonWriter(const TJsonWriter &) = delete;
    TJsonWriter &operator=(const TJsonWriter &) = delete;

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    void Key(const char *name);

    void Bool(bool v);
    void Int(qint64 v);
    void UInt(quint64 v);
    void Float(float v);
    void Double(double v);
    void String(const QString &v);

    // Shortest round-trip texts; non-finite values have no JSON number and give "null".
    static QByteArray FloatText(float v);
    static QByteArray DoubleText(double v);

    // The text written so far (without a stream: all of it).
    QByteArray Text() const { return QByteArray(FOut.data(), qsizetype(FOut.size())); }
    // Writes the pending chunk to the stream; false when the stream reported an error.
    bool Flush();

private:
    void BeforeValue();
    void NewLine();
    void Emitted()
    {
        if (FStream && FOut.size() >= kChunk)
            Flush();
    }
    template<typename T> void Number(T v);

    static constexpr size_t kChunk = 64 * 1024;
    std::FILE *FStream = nullptr;
    std::string FOut;
    struct Level {
        bool IsObject;
        bool Empty;
    };
    std::vector<Level> FLevels;
    bool FAfterKey = false;
};
