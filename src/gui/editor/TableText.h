#pragma once
// Texts of the node and branch table cells and the parsing of what the user types into them.
// Numbers are written the way the user reads them: integers in decimal, reals in fixed point
// with the column's decimals and the user's decimal separator, never with digit grouping; the
// unset marker is an empty cell.
#include <QChar>
#include <QString>

struct TColumnDesc;
class TUzel;
class TBranch;

namespace TableText {

// The user's decimal separator (from the locale at start-up).
QChar DecimalSeparator();
// Fixed point with decimals digits after the separator; empty for the unset marker.
QString FormatReal(double value, int decimals);
// Decimal; empty for the unset marker.
QString FormatInt(qint32 value);

// The cell text of a node column (kinds 0..3) or a branch column (kinds 4..18): the kind's text
// (ColumnKinds::Text); empty for a kind of the other table.
QString UzelCell(const TColumnDesc &column, const TUzel &uzel);
QString BranchCell(const TColumnDesc &column, const TBranch &branch);

// Parsing of typed text (already trimmed): a 32-bit integer in decimal, a real with the user's
// decimal separator (a "." is taken as well). Anything else fails.
bool ParseInt(const QString &text, qint32 &value);
bool ParseReal(const QString &text, double &value);

// Text columns keep what the document file can store: characters of code page 1251 only.
bool StorableText(const QString &text);

// A cell editor holds at most this many characters (a line editor's own limit): a longer text,
// which a document may hold, would be cut by it and laid out whole on every keystroke. Such a
// cell is not edited in place; TooLongToEdit is what the user is told, and the text stays.
inline constexpr qsizetype kMaxEditChars = 32767;
QString TooLongToEdit(qsizetype length);

} // namespace TableText
