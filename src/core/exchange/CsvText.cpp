#include "exchange/CsvText.h"

#include "model/NumberText.h"

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

} // namespace

TReader::TReader(QStringView text, QChar separator, TQuotes quotes)
    : FText(text), FSep(separator), FStrict(quotes == TQuotes::Strict)
{
}

bool TReader::Next(TRecord &record)
{
    record.Fields.clear();
    if (FPos >= FText.size() || FErrorLine > 0)
        return false;
    record.Line = FLine;
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
    if (FPos >= FText.size())
        return false;
    if (FText[FPos] == FSep) {
        ++FPos;
        return true;
    }
    SkipBreak();
    return false;
}

void TReader::SkipBreak()
{
    if (FText[FPos] == u'\r' && FPos + 1 < FText.size() && FText[FPos + 1] == u'\n')
        ++FPos;
    ++FPos;
    ++FLine;
}

bool TReader::AtFieldEnd(qsizetype p) const
{
    return p >= FText.size() || FText[p] == FSep || IsBreak(FText[p]);
}

bool TReader::ReadField(QString &field)
{
    if (FPos < FText.size() && FText[FPos] == u'"' && !FQuotesLiteral) {
        const int startLine = FLine;
        if (ReadQuoted(field))
            return true;
        if (FStrict) {
            FErrorLine = startLine;
            FError = FPos >= FText.size() ? QStringLiteral("кавычка не закрыта")
                                             : QStringLiteral("после закрывающей кавычки должен идти разделитель");
            return false;
        }
    }
    const qsizetype start = FPos;
    while (!AtFieldEnd(FPos))
        ++FPos;
    field = FText.sliced(start, FPos - start).toString();
    return true;
}

// A quoted field from the opening quote at FPos. On failure FPos is back at the opening
// quote (lenient) or where the field went wrong (strict).
bool TReader::ReadQuoted(QString &field)
{
    const qsizetype open = FPos;
    const int openLine = FLine;
    qsizetype p = open + 1;
    int line = FLine;
    field.clear();
    while (p < FText.size()) {
        const QChar c = FText[p];
        if (c == u'"') {
            if (p + 1 < FText.size() && FText[p + 1] == u'"') {
                field.append(u'"');
                p += 2;
                continue;
            }
            if (AtFieldEnd(p + 1)) {
                FPos = p + 1;
                FLine = line;
                return true;
            }
            // Text after the closing quote: not a quoted field after all.
            if (FStrict) {
                FPos = p + 1;
            } else {
                FPos = open;
                FLine = openLine;
            }
            return false;
        }
        if (c == u'\n' || (c == u'\r' && !(p + 1 < FText.size() && FText[p + 1] == u'\n')))
            ++line;
        field.append(c);
        ++p;
    }
    if (FStrict) {
        FPos = p;
        return false;
    }
    // Nothing closes it before the end: no later quote can close anything either, so from
    // here on quotes are plain characters, and the text is read only once more at most.
    FPos = open;
    FLine = openLine;
    FQuotesLiteral = true;
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

QString ShortestFixed(float value) { return NumberText::Shortest(value); }
QString ShortestFixed(double value) { return NumberText::Shortest(value); }

} // namespace CsvText
