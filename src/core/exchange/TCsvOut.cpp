#include "exchange/TCsvOut.h"

#include "model/NumberText.h"
#include "model/Unset.h"

#include <QIODevice>
#include <charconv>
#include <variant>

namespace {

constexpr qsizetype kChunk = 256 * 1024;

} // namespace

TCsvOut::TCsvOut(QIODevice *device, const NetworkCsv::TFormat &format) : FDevice(device), FFormat(format)
{
    FBuffer.reserve(kChunk + 4096);
    FBuffer.append("\xEF\xBB\xBF");
}

void TCsvOut::Separate()
{
    if (FRowStarted)
        FBuffer.append(FFormat.Separator);
    FRowStarted = true;
}

void TCsvOut::Header(const char *const *names, int count)
{
    for (int i = 0; i < count; ++i) {
        Separate();
        FBuffer.append(names[i]);
    }
    EndRow();
}

void TCsvOut::Number(const char *begin, const char *end)
{
    Separate();
    const qsizetype start = FBuffer.size();
    FBuffer.append(begin, end - begin);
    if (!FFormat.DecimalComma)
        return;
    const qsizetype point = FBuffer.indexOf('.', start);
    if (point < 0)
        return;
    FBuffer[point] = ',';
    if (FFormat.Separator == ',') {
        FBuffer.insert(start, '"');
        FBuffer.append('"');
    }
}

void TCsvOut::Int(qint32 value)
{
    if (IsUnset(value)) {
        Separate();
        return;
    }
    char buf[16];
    Number(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

void TCsvOut::Real(double value)
{
    if (IsUnset(value)) {
        Separate();
        return;
    }
    char buf[NumberText::kShortestSize];
    Number(buf, NumberText::WriteShortest(buf, value));
}

void TCsvOut::Group(qint32 index)
{
    if (index < 0)
        Separate();
    else
        Int(index);
}

void TCsvOut::Text(const QString &text)
{
    Separate();
    const QByteArray bytes = text.toUtf8();
    bool quote = false;
    for (const char c : bytes)
        if (c == FFormat.Separator || c == '"' || c == '\n' || c == '\r') {
            quote = true;
            break;
        }
    if (!quote) {
        FBuffer.append(bytes);
        return;
    }
    FBuffer.append('"');
    for (const char c : bytes) {
        if (c == '"')
            FBuffer.append('"');
        FBuffer.append(c);
    }
    FBuffer.append('"');
}

void TCsvOut::Value(const TColumnValue &value)
{
    if (const qint32 *i = std::get_if<qint32>(&value))
        Int(*i);
    else if (const float *f = std::get_if<float>(&value)) {
        if (IsUnset(*f)) {
            Separate();
            return;
        }
        char buf[NumberText::kShortestSize];
        Number(buf, NumberText::WriteShortest(buf, *f));
    } else if (const double *d = std::get_if<double>(&value))
        Real(*d);
    else if (const QString *s = std::get_if<QString>(&value))
        Text(*s);
    else
        Separate();
}

void TCsvOut::EndRow()
{
    FBuffer.append('\n');
    FRowStarted = false;
    if (FDevice && FBuffer.size() >= kChunk)
        Flush();
}

void TCsvOut::Flush()
{
    if (!FDevice)
        return;
    FDevice->write(FBuffer);
    FBuffer.clear();
}
