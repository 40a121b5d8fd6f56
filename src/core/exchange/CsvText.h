#pragma once
// Comma-separated text as spreadsheets write it: records of fields, a field in double quotes
// when it holds the separator, a quote (doubled inside) or a line break, and such a quoted field
// may run over several lines. The same rules split the tab-separated blocks spreadsheets put on
// the clipboard.
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <string>
#include <string_view>

namespace CsvText {

struct TRecord {
    int Line = 0;   // 1-based line on which the record starts
    QStringList Fields;
    // Every field empty (also a blank line): spreadsheets write such rows for empty sheet rows.
    bool IsBlank() const;
};

// What a quote that breaks the rules means.
enum class TQuotes {
    // Files: a quote left open, or text after a closing quote, is an error.
    Strict,
    // The clipboard: such a quote is an ordinary character of its field.
    Lenient,
};

struct TSplit {
    QList<TRecord> Records;
    // Strict only: the line of the broken field (0 when there is none) and what is wrong.
    int ErrorLine = 0;
    QString Error;
};

// Fields of text one at a time, so that a large file is never held as records or fields: a
// record is started, then its fields are taken until it has no more. Line breaks are CR LF, LF
// or a lone CR; a last line break ends the last record and does not start another one. Linear
// in the text, also for lenient quotes. Char is char (UTF-8 bytes) or char16_t; the text must
// outlive the reader.
template<typename Char> class TFieldReader {
public:
    using TView = std::basic_string_view<Char>;
    TFieldReader(TView text, Char separator, TQuotes quotes);
    // Starts the next record (the rest of the current one is skipped); false at the end of the
    // text or at an error.
    bool NextRecord();
    // The 1-based line on which the current record starts.
    int RecordLine() const { return FRecordLine; }
    // The next field of the current record; false when the record has no more or at an error.
    // The view is into the text, or, for a quoted field with doubled quotes, into the reader's
    // buffer until the next call (Unescaped() tells which).
    bool NextField(TView &field);
    bool Unescaped() const { return FUnescaped; }
    // Strict only: the line of a broken field (0 while there is none) and what is wrong.
    int ErrorLine() const { return FErrorLine; }
    const QString &Error() const { return FError; }

private:
    bool AtFieldEnd(size_t p) const;
    bool ReadQuoted(TView &field);
    void EndField();

    TView FText;
    Char FSep;
    bool FStrict;
    bool FQuotesLiteral = false;
    bool FInRecord = false;
    bool FUnescaped = false;
    size_t FPos = 0;
    int FLine = 1;
    int FRecordLine = 0;
    int FErrorLine = 0;
    QString FError;
    std::basic_string<Char> FBuffer;
};

extern template class TFieldReader<char>;
extern template class TFieldReader<char16_t>;

// Records of a text as lists of strings (TFieldReader's rules), for texts of modest size such as
// the clipboard's.
class TReader {
public:
    TReader(QStringView text, QChar separator, TQuotes quotes);
    // Fills record with the next one; false at the end of the text or at an error.
    bool Next(TRecord &record);
    int ErrorLine() const { return FFields.ErrorLine(); }
    const QString &Error() const { return FFields.Error(); }

private:
    TFieldReader<char16_t> FFields;
};

// All records of text at once (TReader's rules).
TSplit Split(QStringView text, QChar separator, TQuotes quotes);

// The field as written into a record: quoted, with its quotes doubled, when it holds the
// separator, a quote or a line break.
QString Quote(const QString &field, QChar separator);

// The separator of a file, told by its first line: a semicolon when the line holds one outside
// quotes, a comma otherwise.
QChar DetectSeparator(QStringView text);
char DetectSeparator(std::string_view text);

// Shortest fixed-point text that reads back to the same value, with "." as the point.
QString ShortestFixed(float value);
QString ShortestFixed(double value);

} // namespace CsvText
