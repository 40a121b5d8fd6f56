#pragma once
// What the stopping and people tables show and how a typed value goes back into the model:
// column headers and widths, cell texts, edit texts, key filters, applying an edit through the
// element's setters, and the drawing of one cell. Plain functions, so that the stopping list
// window draws its own table with DrawStoppingCell and tests can check texts without widgets.
//
// Column numbers are those of the tables on the screen: 0 is the row-number column, 1.. the
// data columns. Numbers are written and read with the user's decimal separator (QLocale()).
#include <QColor>
#include <QRect>
#include <QString>

class QFont;
class QPainter;
class QWidget;
class TJumper;
class TPeopleInfo;

namespace StoppingColumns {
inline constexpr int Count = 14;   // with the row-number column
inline constexpr int Caption = 1, Material = 2, CutIn = 3, Vent = 4, Thickness = 5,
                     Position = 6, Depression = 7, Flow = 8, Resistance = 9,
                     ReverseResistance = 10, BreakPressure = 11, Doors = 12, Opening = 13;
} // namespace StoppingColumns

namespace PeopleColumns {
inline constexpr int Count = 5;
inline constexpr int TabNumber = 1, FullName = 2, Site = 3, JobTitle = 4;
} // namespace PeopleColumns

// Header text ("\r\n" breaks the line) and width in pixels as first laid out. The pressure
// header follows Config's PressureMode.
QString StoppingHeader(int column);
int StoppingColumnWidth(int column);
QString PersonHeader(int column);
int PersonColumnWidth(int column);

// The width a column takes in font: its first width at least, and enough for every line of its
// header and, in a choice column, for the widest of its choices (the first widths were made for
// a narrower font).
int FittedStoppingColumnWidth(int column, const QFont &font);
int FittedPersonColumnWidth(int column, const QFont &font);

// Columns whose value is chosen from a list (material, cut-in, vent, doors, openings): never
// typed into.
bool IsStoppingChoiceColumn(int column);
// The list shown by the choice box of such a column, and the stopping's index in it.
QStringList StoppingChoiceItems(int column);
int StoppingChoiceIndex(const TJumper &jumper, int column);
// Stores a chosen index in the stopping (no question for "Произвольный": the caller asks).
void ApplyStoppingChoice(TJumper &jumper, int column, int index);

// Fixed-point number with the user's decimal separator and no group separators.
QString FormatFixed(double value, int decimals);
// Parses a typed real (user's separator) or integer; raises "Неверно указано число".
double ParseReal(const QString &text);
qint32 ParseInteger(const QString &text);

QString StoppingCellText(const TJumper &jumper, int column);
QString StoppingEditText(const TJumper &jumper, int column);
QString PersonCellText(const TPeopleInfo &person, int column);
QString PersonEditText(const TPeopleInfo &person, int column);

// Applies the text of a finished edit through the element's setter. A text that does not
// convert raises "Неверно указано число" and leaves the element as it was.
void ApplyStoppingEdit(TJumper &jumper, int column, const QString &text);
void ApplyPersonEdit(TPeopleInfo &person, int column, const QString &text);

// Makes the in-place editor of that column admit only the keys it may take: every stopping
// column but the caption digits and the decimal separator (no minus sign); the personnel number
// and the site digits only; text columns every key.
void FilterStoppingEditor(QWidget *editor, int column);
void FilterPersonEditor(QWidget *editor, int column);

// State of a cell as the table paints it.
struct TGridDrawState {
    bool Fixed = false;      // header row or row-number column
    bool Selected = false;   // the current cell
    bool Focused = false;    // the current cell while the table has the keyboard focus
    bool Disabled = false;   // the table is disabled
};

// One cell of the stopping (people) table, in the desktop's colours: header cells filled with
// fixedColor and written in fontColor (grey text when the table is disabled) with the header
// text or the row number; the current cell in the selection colours, other cells in the window
// colours, the cell text left-aligned. A row without an element (null) draws empty cells.
// The painter's font is the table's font.
void DrawStoppingCell(const TJumper *jumper, QPainter &painter, int column, TGridDrawState state,
                      const QColor &fontColor, const QColor &fixedColor, const QRect &rect,
                      int row);
void DrawPersonCell(const TPeopleInfo *person, QPainter &painter, int column,
                    TGridDrawState state, const QColor &fontColor, const QColor &fixedColor,
                    const QRect &rect, int row);
