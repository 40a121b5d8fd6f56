#pragma once
// A small streaming JSON writer for the dump: UTF-8, two-space indentation, and reals in the
// shortest form that reads back to the same single- or double-precision value (a float is not
// widened to double first, so 0.1f prints as 0.1, not 0.10000000149011612); NaN and the
// infinities as texts ("NaN", "-Infinity").
//
// Written to a stream, the text goes out in chunks of about 64 KiB as it is produced, so a dump
// of a large mine never holds its whole text; without a stream it is collected for Text().
//
// A dump of 100,000 branches is some forty million keys and values, so the writer does as little
// per item as it can: a key's quoted form is laid out by the compiler (TKey), the comma, line
// break and indentation before an item are one copy out of a line of spaces, and numbers are
// formatted straight into the buffer, which is made room in once per item.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

class TJsonWriter {
public:
    // A key as it stands in the text: "\"Name\": ". Made from a string literal at compile time;
    // a name that would need escapes does not compile.
    class TKey {
    public:
        template <std::size_t N>
        consteval TKey(const char (&name)[N]) : FSize(N + 3)   // quotes, colon, space; no NUL
        {
            static_assert(N + 3 <= sizeof FBytes, "key too long");
            FBytes[0] = '"';
            for (std::size_t i = 0; i + 1 < N; ++i) {
                if (name[i] == '"' || name[i] == '\\' || static_cast<unsigned char>(name[i]) < 0x20)
                    throw "a key needs no escapes";
                FBytes[i + 1] = name[i];
            }
            FBytes[N] = '"';
            FBytes[N + 1] = ':';
            FBytes[N + 2] = ' ';
        }
        const char *Data() const { return FBytes; }
        std::size_t Size() const { return FSize; }

    private:
        char FBytes[40] = {};
        std::size_t FSize;
    };

    TJsonWriter();
    explicit TJsonWriter(std::FILE *out);
    ~TJsonWriter();
    TJsonWriter(const TJsonWriter &) = delete;
    TJsonWriter &operator=(const TJsonWriter &) = delete;

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // The key of the next value inside an object.
    void Key(const TKey &key)
    {
        Room(kMaxSeparator + key.Size());
        Separator();
        Put(key.Data(), key.Size());
        FAfterKey = true;
    }

    void Bool(bool v)
    {
        BeforeValue(5);
        if (v)
            Put("true", 4);
        else
            Put("false", 5);
    }
    void Null()
    {
        BeforeValue(4);
        Put("null", 4);
    }
    // A Boolean byte of the file: true or false, or the byte itself when it is neither 0 nor 1,
    // so that the document can be made again byte for byte.
    void Flag(quint8 v);
    void Int(qint64 v);
    void UInt(quint64 v);
    void Float(float v);
    void Double(double v);
    void String(const QString &v);

    // Shortest round-trip texts; non-finite values have no JSON number and are written as the
    // texts of JsonReals, in quotes.
    static QByteArray FloatText(float v);
    static QByteArray DoubleText(double v);

    // The text written so far (without a stream: all of it).
    QByteArray Text() const { return QByteArray(FBuffer.get(), qsizetype(FPos - FBuffer.get())); }
    // Writes the pending chunk to the stream; false when the stream reported an error.
    bool Flush();

private:
    // The comma, line break and indentation before an item: a slice of one line of spaces.
    static constexpr int kIndentLevels = 32;
    static constexpr std::size_t kMaxSeparator = 2 + 2 * kIndentLevels;
    static constexpr std::size_t kChunk = 64 * 1024;
    // The longest number: a 64-bit integer or a shortest double with its sign and exponent.
    static constexpr std::size_t kMaxNumber = 32;

    // Makes room for n more bytes: writes out the chunk (stream) or grows the buffer.
    void Room(std::size_t n)
    {
        if (std::size_t(FEnd - FPos) < n)
            MakeRoom(n);
    }
    void MakeRoom(std::size_t n);
    void Put(const char *bytes, std::size_t n)
    {
        std::memcpy(FPos, bytes, n);
        FPos += n;
    }
    // Before an item of the current array or object: a comma unless it is the first, then the
    // line break and indentation. Needs kMaxSeparator bytes of room.
    void Separator()
    {
        if (FLevels.empty())
            return;
        unsigned char &empty = FLevels.back();
        const std::size_t depth = FLevels.size();
        if (depth > std::size_t(kIndentLevels)) {
            DeepSeparator();
            return;
        }
        const std::size_t skip = empty ? 1 : 0;
        Put(kSeparator + skip, 2 + 2 * depth - skip);
        empty = 0;
    }
    void DeepSeparator();
    // Room for the value and its separator (unless it follows its key).
    void BeforeValue(std::size_t room)
    {
        Room(kMaxSeparator + room);
        if (FAfterKey)
            FAfterKey = false;
        else
            Separator();
    }
    template<typename T> void Number(T v);
    void Open(char bracket);
    void Close(char bracket);

    static constexpr std::array<char, kMaxSeparator> kSeparatorLine = [] {
        std::array<char, kMaxSeparator> line{};
        line.fill(' ');
        line[0] = ',';
        line[1] = '\n';
        return line;
    }();
    static constexpr const char *kSeparator = kSeparatorLine.data();

    std::FILE *FStream = nullptr;
    std::unique_ptr<char[]> FBuffer;
    char *FPos = nullptr;
    char *FEnd = nullptr;
    // One entry per open array or object: true while it has no item yet.
    std::vector<unsigned char> FLevels;
    bool FAfterKey = false;
};
