#include "TJsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {
template<typename T> QByteArray Shortest(T v)
{
    if (!std::isfinite(v))
        return QByteArrayLiteral("null");
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, v);
    return QByteArray(buf, int(result.ptr - buf));
}
} // namespace

QByteArray TJsonWriter::FloatText(float v) { return Shortest(v); }
QByteArray TJsonWriter::DoubleText(double v) { return Shortest(v); }

void TJsonWriter::NewLine()
{
    FOut.append('\n');
    FOut.append(QByteArray(int(2 * FLevels.size()), ' '));
}

void TJsonWriter::BeforeValue()
{
    if (FAfterKey) {
        FAfterKey = false;
        return;
    }
    if (!FLevels.empty()) {
        if (!FLevels.back().Empty)
            FOut.append(',');
        FLevels.back().Empty = false;
        NewLine();
    }
}

void TJsonWriter::Key(const char *name)
{
    BeforeValue();
    FOut.append('"').append(name).append("\": ");
    FAfterKey = true;
}

void TJsonWriter::BeginObject()
{
    BeforeValue();
    FOut.append('{');
    FLevels.push_back({true, true});
}

void TJsonWriter::EndObject()
{
    const bool empty = FLevels.back().Empty;
    FLevels.pop_back();
    if (!empty)
        NewLine();
    FOut.append('}');
    if (FLevels.empty())
        FOut.append('\n');
}

void TJsonWriter::BeginArray()
{
    BeforeValue();
    FOut.append('[');
    FLevels.push_back({false, true});
}

void TJsonWriter::EndArray()
{
    const bool empty = FLevels.back().Empty;
    FLevels.pop_back();
    if (!empty)
        NewLine();
    FOut.append(']');
}

void TJsonWriter::Bool(bool v)
{
    BeforeValue();
    FOut.append(v ? "true" : "false");
}

void TJsonWriter::Int(qint64 v)
{
    BeforeValue();
    FOut.append(QByteArray::number(v));
}

void TJsonWriter::UInt(quint64 v)
{
    BeforeValue();
    FOut.append(QByteArray::number(v));
}

void TJsonWriter::Float(float v)
{
    BeforeValue();
    FOut.append(FloatText(v));
}

void TJsonWriter::Double(double v)
{
    BeforeValue();
    FOut.append(DoubleText(v));
}

void TJsonWriter::String(const QString &v)
{
    BeforeValue();
    FOut.append('"');
    // Escaping works on the UTF-8 bytes: every byte of a multi-byte sequence is 0x80 or above.
    for (const char c : v.toUtf8()) {
        switch (c) {
        case '"': FOut.append("\\\""); break;
        case '\\': FOut.append("\\\\"); break;
        case '\n': FOut.append("\\n"); break;
        case '\r': FOut.append("\\r"); break;
        case '\t': FOut.append("\\t"); break;
        default:
            if (quint8(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(quint8(c)));
                FOut.append(buf);
            } else {
                FOut.append(c);
            }
        }
    }
    FOut.append('"');
}
