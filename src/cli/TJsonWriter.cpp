#include "TJsonWriter.h"

#include "exchange/JsonReals.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace {

// Shortest round-trip form for reals, plain decimal for integers; the text of JsonReals in
// quotes for the reals JSON has no number for. out has room for TJsonWriter's longest number.
template<typename T> char *NumberTo(char *out, char *end, T v)
{
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(v)) {
            const QByteArray text = '"' + JsonReals::NonFiniteText(v) + '"';
            return std::copy_n(text.constData(), std::min<qsizetype>(text.size(), end - out), out);
        }
        // Most reals of a mine are whole (zeros, unset markers, round coordinates), and a whole
        // number below 2^24 (2^53 for a double) is exact, so its shortest form is its digits
        // without the trailing zeros. Written as an integer it is the same text whenever that is
        // no longer than the exponent form; the rest take the general way.
        constexpr T kExact = sizeof(T) == 4 ? T(16777216.0) : T(9007199254740992.0);
        if (v == 0)
            return std::signbit(v) ? std::copy_n("-0", 2, out) : std::copy_n("0", 1, out);
        if (std::fabs(v) < kExact) {
            const qint64 whole = qint64(v);
            if (T(whole) == v) {
                quint64 digits = whole < 0 ? quint64(-whole) : quint64(whole);
                bool fixed = true;
                if (digits % 10 == 0) {
                    int length = 0, zeros = 0;
                    for (quint64 d = digits; d % 10 == 0; d /= 10)
                        ++zeros;
                    for (; digits != 0; digits /= 10)
                        ++length;
                    const int significant = length - zeros;
                    fixed = length <= significant + (significant > 1 ? 1 : 0) + 4;   // d.ddde+XX
                }
                if (fixed)
                    return std::to_chars(out, end, whole).ptr;
            }
        }
    }
    return std::to_chars(out, end, v).ptr;
}

template<typename T> QByteArray Shortest(T v)
{
    char buf[64];
    return QByteArray(buf, qsizetype(NumberTo(buf, buf + sizeof buf, v) - buf));
}

} // namespace

TJsonWriter::TJsonWriter() : FBuffer(std::make_unique_for_overwrite<char[]>(kChunk))
{
    FPos = FBuffer.get();
    FEnd = FPos + kChunk;
}

TJsonWriter::TJsonWriter(std::FILE *out) : TJsonWriter() { FStream = out; }

TJsonWriter::~TJsonWriter() { Flush(); }

bool TJsonWriter::Flush()
{
    if (!FStream)
        return true;
    if (FPos != FBuffer.get())
        std::fwrite(FBuffer.get(), 1, size_t(FPos - FBuffer.get()), FStream);
    FPos = FBuffer.get();
    return std::ferror(FStream) == 0;
}

void TJsonWriter::MakeRoom(std::size_t n)
{
    // A stream takes the chunk and the buffer starts again; without a stream it grows.
    if (FStream)
        Flush();
    const std::size_t used = size_t(FPos - FBuffer.get());
    const std::size_t capacity = size_t(FEnd - FBuffer.get());
    if (capacity - used >= n)
        return;
    const std::size_t grown = std::max(FStream ? kChunk : 2 * capacity, used + n);
    auto buffer = std::make_unique_for_overwrite<char[]>(grown);
    std::memcpy(buffer.get(), FBuffer.get(), used);
    FBuffer = std::move(buffer);
    FPos = FBuffer.get() + used;
    FEnd = FBuffer.get() + grown;
}

QByteArray TJsonWriter::FloatText(float v) { return Shortest(v); }
QByteArray TJsonWriter::DoubleText(double v) { return Shortest(v); }

void TJsonWriter::DeepSeparator()
{
    // Deeper than the line of spaces reaches (the dump never is): the spaces in slices.
    unsigned char &empty = FLevels.back();
    Put(kSeparator + (empty ? 1 : 0), empty ? 1 : 2);
    empty = 0;
    for (std::size_t spaces = 2 * FLevels.size(); spaces > 0;) {
        const std::size_t n = std::min(spaces, kMaxSeparator - 2);
        Room(n);
        Put(kSeparator + 2, n);
        spaces -= n;
    }
    // What the caller made room for after the separator.
    Room(kMaxSeparator + sizeof(TKey));
}

void TJsonWriter::Open(char bracket)
{
    BeforeValue(1);
    *FPos++ = bracket;
    FLevels.push_back(1);
}

void TJsonWriter::Close(char bracket)
{
    const bool empty = FLevels.back() != 0;
    FLevels.pop_back();
    Room(kMaxSeparator + 2);
    if (!empty) {
        const std::size_t depth = FLevels.size();
        if (depth <= std::size_t(kIndentLevels)) {
            Put(kSeparator + 1, 1 + 2 * depth);
        } else {
            *FPos++ = '\n';
            for (std::size_t spaces = 2 * depth; spaces > 0;) {
                const std::size_t n = std::min(spaces, kMaxSeparator - 2);
                Room(n + 2);
                Put(kSeparator + 2, n);
                spaces -= n;
            }
        }
    }
    *FPos++ = bracket;
    // The whole document ends its last line.
    if (bracket == '}' && FLevels.empty())
        *FPos++ = '\n';
}

template<typename T> void TJsonWriter::Number(T v)
{
    BeforeValue(kMaxNumber);
    FPos = NumberTo(FPos, FPos + kMaxNumber, v);
}

void TJsonWriter::Flag(quint8 v)
{
    if (v > 1)
        Number(qint64(v));
    else
        Bool(v != 0);
}

void TJsonWriter::Int(qint64 v) { Number(v); }
void TJsonWriter::UInt(quint64 v) { Number(v); }
void TJsonWriter::Float(float v) { Number(v); }
void TJsonWriter::Double(double v) { Number(v); }

void TJsonWriter::String(const QString &v)
{
    BeforeValue(1);
    *FPos++ = '"';
    // Straight from UTF-16 into the output: escapes for the quote, the backslash and the control
    // characters; every other character as its UTF-8 bytes. A slice of the text at a time, with
    // room for its longest form (six bytes a unit, a \u escape).
    static const char kHex[] = "0123456789abcdef";
    const char16_t *p = reinterpret_cast<const char16_t *>(v.constData());
    const char16_t *const end = p + v.size();
    while (p != end) {
        const char16_t *const sliceEnd = p + std::min<std::ptrdiff_t>(end - p, 4096);
        Room(6 * std::size_t(sliceEnd - p));
        char *o = FPos;
        while (p < sliceEnd) {
            const char16_t c = *p;
            if (c < 0x80) {
                switch (c) {
                case '"': *o++ = '\\'; *o++ = '"'; break;
                case '\\': *o++ = '\\'; *o++ = '\\'; break;
                case '\n': *o++ = '\\'; *o++ = 'n'; break;
                case '\r': *o++ = '\\'; *o++ = 'r'; break;
                case '\t': *o++ = '\\'; *o++ = 't'; break;
                default:
                    if (c < 0x20) {
                        const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                        std::memcpy(o, escape, sizeof escape);
                        o += sizeof escape;
                    } else {
                        *o++ = char(c);
                    }
                }
                ++p;
            } else if (c < 0x800) {
                *o++ = char(0xC0 | (c >> 6));
                *o++ = char(0x80 | (c & 0x3F));
                ++p;
            } else if (!QChar::isSurrogate(c)) {
                *o++ = char(0xE0 | (c >> 12));
                *o++ = char(0x80 | ((c >> 6) & 0x3F));
                *o++ = char(0x80 | (c & 0x3F));
                ++p;
            } else {
                // A surrogate pair (four bytes for two units), or a lone surrogate: as Qt's own
                // conversion writes them (at most three bytes).
                const bool pair = p + 1 != end && QChar::isHighSurrogate(c) && QChar::isLowSurrogate(p[1]);
                const qsizetype n = pair ? 2 : 1;
                const QByteArray bytes = QStringView(p, n).toUtf8();
                std::memcpy(o, bytes.constData(), size_t(bytes.size()));
                o += bytes.size();
                p += n;
            }
        }
        FPos = o;
    }
    Room(1);
    *FPos++ = '"';
}
