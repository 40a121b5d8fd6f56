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
template<typename Char> bool IsBreakChar(Char c) { return c == Char('\n') || c == Char('\r'); }

} // namespace

template<typename Char>
TFieldReader<Char>::TFieldReader(TView text, Char separator, TQuotes quotes)
    : FText(text), FSep(separator), FStrict(quotes == TQuotes::Strict)
{
}

template<typename Char> bool TFieldReader<Char>::NextRecord()
{
    TView skipped;
    while (FInRecord && NextField(skipped)) {
    }
    if (FPos >= FText.size() || FErrorLine > 0)
        return false;
    FRecordLine = FLine;
    FInRecord = true;
    return true;
}

template<typename Char> bool TFieldReader<Char>::AtFieldEnd(size_t p) const
{
    return p >= FText.size() || FText[p] == FSep || IsBreakChar(FText[p]);
}

// Consumes what ends a field: after a separator another field follows in the same record; a
// line break or the end of the text ends the record.
template<typename Char> void TFieldReader<Char>::EndField()
{
    if (FPos >= FText.size()) {
        FInRecord = false;
        return;
    }
    if (FText[FPos] == FSep) {
        ++FPos;
        return;
    }
    if (FText[FPos] == Char('\r') && FPos + 1 < FText.size() && FText[FPos + 1] == Char('\n'))
        ++FPos;
    ++FPos;
    ++FLine;
    FInRecord = false;
}

template<typename Char> bool TFieldReader<Char>::NextField(TView &field)
{
    if (!FInRecord || FErrorLine > 0)
        return false;
    FUnescaped = false;
    if (FPos < FText.size() && FText[FPos] == Char('"') && !FQuotesLiteral) {
        const int startLine = FLine;
        if (ReadQuoted(field)) {
            EndField();
            return true;
        }
        if (FStrict) {
            FErrorLine = startLine;
            FError = FPos >= FText.size() ? QStringLiteral("кавычка не закрыта")
                                             : QStringLiteral("после закрывающей кавычки должен идти разделитель");
            FInRecord = false;
            return false;
        }
    }
    const size_t start = FPos;
    while (!AtFieldEnd(FPos))
        ++FPos;
    field = FText.substr(start, FPos - start);
    EndField();
    return true;
}

// A quoted field from the opening quote at FPos. On failure FPos is back at the opening quote
// (lenient) or where the field went wrong (strict).
template<typename Char> bool TFieldReader<Char>::ReadQuoted(TView &field)
{
    const size_t open = FPos;
    const int openLine = FLine;
    size_t p = open + 1;
    int line = FLine;
    bool doubled = false;
    while (p < FText.size()) {
        const Char c = FText[p];
        if (c == Char('"')) {
            if (p + 1 < FText.size() && FText[p + 1] == Char('"')) {
                doubled = true;
                p += 2;
                continue;
            }
            if (AtFieldEnd(p + 1)) {
                field = FText.substr(open + 1, p - open - 1);
                if (doubled) {
                    // Only such a field is copied, once, without its doubled quotes.
                    FBuffer.clear();
                    for (size_t i = 0; i < field.size(); ++i) {
                        FBuffer.push_back(field[i]);
                        if (field[i] == Char('"'))
                            ++i;
                    }
                    field = FBuffer;
                    FUnescaped = true;
                }
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
        if (c == Char('\n') || (c == Char('\r') && !(p + 1 < FText.size() && FText[p + 1] == Char('\n'))))
            ++line;
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

template class TFieldReader<char>;
template class TFieldReader<char16_t>;

TReader::TReader(QStringView text, QChar separator, TQuotes quotes)
    : FFields(std::u16string_view(text.utf16(), size_t(text.size())), separator.unicode(), quotes)
{
}

bool TReader::Next(TRecord &record)
{
    record.Fields.clear();
    if (!FFields.NextRecord())
        return false;
    record.Line = FFields.RecordLine();
    std::u16string_view field;
    while (FFields.NextField(field))
        record.Fields.append(QString::fromUtf16(field.data(), qsizetype(field.size())));
    return FFields.ErrorLine() == 0;
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

namespace {

template<typename Char> Char SeparatorOf(std::basic_string_view<Char> text)
{
    bool quoted = false;
    for (const Char c : text) {
        if (c == Char('"'))
            quoted = !quoted;
        else if (!quoted && IsBreakChar(c))
            break;
        else if (!quoted && c == Char(';'))
            return Char(';');
    }
    return Char(',');
}

} // namespace

QChar DetectSeparator(QStringView text)
{
    return QChar(SeparatorOf(std::u16string_view(text.utf16(), size_t(text.size()))));
}

char DetectSeparator(std::string_view text) { return SeparatorOf(text); }

QString ShortestFixed(float value) { return NumberText::Shortest(value); }
QString ShortestFixed(double value) { return NumberText::Shortest(value); }

} // namespace CsvText
