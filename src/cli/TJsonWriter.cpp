#include "TJsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace {

// Shortest round-trip form for reals, plain decimal for integers; "null" for what JSON has no
// number for.
template<typename T> size_t NumberText(char (&buf)[64], T v)
{
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(v)) {
            std::memcpy(buf, "null", 4);
            return 4;
        }
    }
    return size_t(std::to_chars(buf, buf + sizeof buf, v).ptr - buf);
}

template<typename T> QByteArray Shortest(T v)
{
    char buf[64];
    return QByteArray(buf, qsizetype(NumberText(buf, v)));
}

} // namespace

TJsonWriter::TJsonWriter(std::FILE *out) : FStream(out)
{
    FOut.reserve(kChunk + 4096);
}

TJsonWriter::~TJsonWriter() { Flush(); }

bool TJsonWriter::Flush()
{
    if (!FStream)
        return true;
    if (!FOut.empty())
        std::fwrite(FOut.data(), 1, FOut.size(), FStream);
    FOut.clear();
    return std::ferror(FStream) == 0;
}

QByteArray TJsonWriter::FloatText(float v) { return Shortest(v); }
QByteArray TJsonWriter::DoubleText(double v) { return Shortest(v); }

template<typename T> void TJsonWriter::Number(T v)
{
    BeforeValue();
    char buf[64];
    FOut.append(buf, NumberText(buf, v));
    Emitted();
}

void TJsonWriter::NewLine()
{
    FOut += '\n';
    FOut.append(2 * FLevels.size(), ' ');
}

void TJsonWriter::BeforeValue()
{
    if (FAfterKey) {
        FAfterKey = false;
        return;
    }
    if (!FLevels.empty()) {
        if (!FLevels.back().Empty)
            FOut += ',';
        FLevels.back().Empty = false;
        NewLine();
    }
}

void TJsonWriter::Key(const char *name)
{
    BeforeValue();
    FOut += '"';
    FOut += name;
    FOut += "\": ";
    FAfterKey = true;
}

void TJsonWriter::BeginObject()
{
    BeforeValue();
    FOut += '{';
    FLevels.push_back({true, true});
}

void TJsonWriter::EndObject()
{
    const bool empty = FLevels.back().Empty;
    FLevels.pop_back();
    if (!empty)
        NewLine();
    FOut += '}';
    if (FLevels.empty())
        FOut += '\n';
    Emitted();
}

void TJsonWriter::BeginArray()
{
    BeforeValue();
    FOut += '[';
    FLevels.push_back({false, true});
}

void TJsonWriter::EndArray()
{
    const bool empty = FLevels.back().Empty;
    FLevels.pop_back();
    if (!empty)
        NewLine();
    FOut += ']';
    Emitted();
}

void TJsonWriter::Bool(bool v)
{
    BeforeValue();
    FOut += v ? "true" : "false";
}

void TJsonWriter::Int(qint64 v) { Number(v); }
void TJsonWriter::UInt(quint64 v) { Number(v); }
void TJsonWriter::Float(float v) { Number(v); }
void TJsonWriter::Double(double v) { Number(v); }

void TJsonWriter::String(const QString &v)
{
    BeforeValue();
    FOut += '"';
    // Straight from UTF-16 into the output: escapes for the quote, the backslash and the control
    // characters; every other character as its UTF-8 bytes.
    const QChar *p = v.constData();
    const QChar *const end = p + v.size();
    while (p != end) {
        const char16_t c = p->unicode();
        if (c < 0x80) {
            switch (c) {
            case '"': FOut += "\\\""; break;
            case '\\': FOut += "\\\\"; break;
            case '\n': FOut += "\\n"; break;
            case '\r': FOut += "\\r"; break;
            case '\t': FOut += "\\t"; break;
            default:
                if (c < 0x20) {
                    static const char kHex[] = "0123456789abcdef";
                    const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                    FOut.append(escape, sizeof escape);
                } else {
                    FOut += char(c);
                }
            }
            ++p;
        } else if (c < 0x800) {
            FOut += char(0xC0 | (c >> 6));
            FOut += char(0x80 | (c & 0x3F));
            ++p;
        } else if (!QChar::isSurrogate(c)) {
            FOut += char(0xE0 | (c >> 12));
            FOut += char(0x80 | ((c >> 6) & 0x3F));
            FOut += char(0x80 | (c & 0x3F));
            ++p;
        } else {
            // A surrogate pair, or a lone surrogate: as Qt's own conversion writes them.
            const qsizetype n = p + 1 != end && p->isHighSurrogate() && p[1].isLowSurrogate() ? 2 : 1;
            const QByteArray bytes = QStringView(p, n).toUtf8();
            FOut.append(bytes.constData(), size_t(bytes.size()));
            p += n;
        }
    }
    FOut += '"';
    Emitted();
}
