#pragma once
// A rectangle of table cells on the clipboard, the way spreadsheets and word processors take it:
// tab-separated text (a cell in quotes when it holds a tab, a quote or a line break) and the same
// block as an HTML table. Reading takes what spreadsheets put there.
#include <QList>
#include <QString>
#include <QStringList>

namespace CellBlock {

using TRows = QList<QStringList>;

// Rows joined by line breaks, cells by tabs; the last row ends with a line break as well.
QString Tsv(const TRows &rows);
// An HTML table; header (when not empty) as its first row of heading cells. Line breaks in a
// cell (CR LF, LF or CR) become <br>.
QString Html(const QStringList &header, const TRows &rows);
// The rows of a tab-separated block. A quote that does not open a proper quoted cell is an
// ordinary character, so any text gives rows.
TRows FromTsv(const QString &text);

} // namespace CellBlock
