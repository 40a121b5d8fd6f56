#pragma once
// One CSV file while it is read: its UTF-8 text, where each known column stands, the fields of
// the current row, and the reading of a column's value with the file's own message on a refusal
// ("FILE:LINE: column NAME: what is wrong", an AppError).
//
// It holds the file's bytes (or, for a file in Windows-1251, their UTF-8 form), the fields of
// the known columns of one row as views into them, and a copy of a field only where a quoted
// field had doubled quotes: never the text as records, nor the fields of columns it does not
// read. A header of millions of empty names or a row of millions of empty fields costs nothing
// more.
#include "exchange/CsvText.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TCsvTable {
public:
    static constexpr int kMaxColumns = 24;

    // names: the count column names the file may have. The header row (after blank rows) must
    // name only those, each once, and the required ones.
    TCsvTable(const QByteArray &bytes, const QString &name, const char *const *names, int count,
              std::initializer_list<int> required);
    TCsvTable(const TCsvTable &) = delete;
    TCsvTable &operator=(const TCsvTable &) = delete;

    // The next row of values, blank ones skipped; false at the end of the file.
    bool Next();
    int Line() const { return FReader.RecordLine(); }
    bool Has(int column) const { return FFieldOf[size_t(column)] >= 0; }
    // The field of column in the current row without blanks around it; empty when the column is
    // missing or the row ends before it.
    std::string_view Text(int column) const { return FValue[size_t(column)]; }

    [[noreturn]] void FailOnLine(int line, const QString &text) const;
    // On the current row, in column.
    [[noreturn]] void Fail(int column, const QString &text) const;
    // A value as the messages quote it: in quotes, cut at 200 characters with "…", an invisible
    // character as \xHH.
    static QString Shown(std::string_view text);

    // An integer within min..max; whenEmpty for an empty field. Whole numbers written with
    // decimals ("12,00") are taken.
    qint32 Int(int column, qint32 whenEmpty, qint64 min, qint64 max) const;
    // The number of a branch a stopping or person lies on: given and above 0.
    qint32 Number(int column) const;
    // A node's or branch's own number, or a branch's end: whatever a document holds, the unset
    // marker for an empty field (the topology check, not the reader, says what is wrong with it).
    qint32 OwnNumber(int column) const;
    double Double(int column, double whenEmpty, bool negative) const;
    // Single precision; whenEmpty (the unset marker unless given) for an empty field.
    float Real(int column, bool negative, float whenEmpty) const;
    float Real(int column, bool negative) const;
    // 1 or 0, Да or Нет, true or false, yes or no, in any letter case; empty is no.
    bool Flag(int column) const;
    // A text that fits code page 1251.
    QString Words(int column) const;

private:
    void ReadHeader(std::initializer_list<int> required);
    void FailOnBrokenQuote() const;

    QString FName;
    const char *const *FNames;
    int FCount;
    QByteArray FConverted;   // the UTF-8 form of a file in Windows-1251
    std::string_view FText;
    CsvText::TFieldReader<char> FReader;
    std::array<int, kMaxColumns> FFieldOf;   // per column: its field in a row, -1 when absent
    std::vector<std::pair<size_t, int>> FNamed;   // (field, column) in field order
    std::array<std::string_view, kMaxColumns> FValue;
    std::array<std::string, kMaxColumns> FCopied;   // fields that had doubled quotes
};
