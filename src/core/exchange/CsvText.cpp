#include "exchange/CsvText.h"

#include <charconv>

namespace CsvText {

bool TRecord::IsBlank() const
{
    for (const QString &f : Fields)
        if (!f.isEmpty())
            return false;
    return true;
}

namespace {

bool IsBreak(QChar c) { return c == u'\n' || c == u'\r'; }

template<typename T> QString Shortest(T value)
{
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return QString::number(double(value), 'g', 17);
    return QString::fromLatin1(buf, result.ptr - buf);
}

} // namespace

TReader::TReader(QStringView text, QChar separator, TQuotes quotes)
    : m_text(text), m_sep(separator), m_strict(quotes == TQuotes::Strict)
{
}

bool TReader::Next(TRecord &record)
{
    record.Fields.clear();
    if (m_pos >= m_text.size() || m_errorLine > 0)
        return false;
    record.Line = m_line;
    bool more = true;
    while (more) {
        QString field;
        if (!ReadField(field))
            return false;
        record.Fields.append(field);
        more = EndField();
    }
    return true;
}

// Consumes what ends a field: true after a separator (another field follows in the same
// record), false after a line break or at the end of the text.
bool TReader::EndField()
{
    if (m_pos >= m_text.size())
        return false;
    if (m_text[m_pos] == m_sep) {
        ++m_pos;
        return true;
    }
    SkipBreak();
    return false;
}

void TReader::SkipBreak()
{
    if (m_text[m_pos] == u'\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\n')
        ++m_pos;
    ++m_pos;
    ++m_line;
}

bool TReader::AtFieldEnd(qsizetype p) const
{
    return p >= m_text.size() || m_text[p] == m_sep || IsBreak(m_text[p]);
}

bool TReader::ReadField(QString &field)
{
    if (m_pos < m_text.size() && m_text[m_pos] == u'"' && !m_quotesLiteral) {
        const int startLine = m_line;
        if (ReadQuoted(field))
            return true;
        if (m_strict) {
            m_errorLine = startLine;
            m_error = m_pos >= m_text.size() ? QStringLiteral("кавычка не закрыта")
                                             : QStringLiteral("после закрывающей кавычки должен идти разделитель");
            return false;
        }
    }
    const qsizetype start = m_pos;
    while (!AtFieldEnd(m_pos))
        ++m_pos;
    field = m_text.sliced(start, m_pos - start).toString();
    return true;
}

// A quoted field from the opening quote at m_pos. On failure m_pos is back at the opening
// quote (lenient) or where the field went wrong (strict).
bool TReader::ReadQuoted(QString &field)
{
    const qsizetype open = m_pos;
    const int openLine = m_line;
    qsizetype p = open + 1;
    int line = m_line;
    field.clear();
    while (p < m_text.size()) {
        const QChar c = m_text[p];
        if (c == u'"') {
            if (p + 1 < m_text.size() && m_text[p + 1] == u'"') {
                field.append(u'"');
                p += 2;
                continue;
            }
            if (AtFieldEnd(p + 1)) {
                m_pos = p + 1;
                m_line = line;
                return true;
            }
            // Text after the closing quote: not a quoted field after all.
            if (m_strict) {
                m_pos = p + 1;
            } else {
                m_pos = open;
                m_line = openLine;
            }
            return false;
        }
        if (c == u'\n' || (c == u'\r' && !(p + 1 < m_text.size() && m_text[p + 1] == u'\n')))
            ++line;
        field.append(c);
        ++p;
    }
    if (m_strict) {
        m_pos = p;
        return false;
    }
    // Nothing closes it before the end: no later quote can close anything either, so from
    // here on quotes are plain characters, and the text is read only once more at most.
    m_pos = open;
    m_line = openLine;
    m_quotesLiteral = true;
    return false;
}

TSplit Split(QStringView text, QChar separator, TQuotes quotes)
{
    TSplit out;
    TReader reader(text, separator, quotes);
    TRecord record;
    while (reader.Next(record))
        out.Records.append(record);
    out.ErrorLine = reader.ErrorLine();
    out.Error = reader.Error();
    return out;
}

QString Quote(const QString &field, QChar separator)
{
    bool quote = false;
    for (const QChar c : field)
        if (c == separator || c == u'"' || IsBreak(c)) {
            quote = true;
            break;
        }
    if (!quote)
        return field;
    QString out;
    out.reserve(field.size() + 2);
    out.append(u'"');
    for (const QChar c : field) {
        if (c == u'"')
            out.append(u'"');
        out.append(c);
    }
    out.append(u'"');
    return out;
}

QChar DetectSeparator(QStringView text)
{
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && IsBreak(c))
            break;
        else if (!quoted && c == u';')
            return u';';
    }
    return u',';
}

QString ShortestFixed(float value) { return Shortest(value); }
QString ShortestFixed(double value) { return Shortest(value); }

} // namespace CsvText
