#pragma once
// Copying from the four tables of the document window: the selected rectangle of cells (the
// current cell when nothing is selected) goes to the clipboard as tab-separated text, each value
// in full (kCopyTextRole) so that a paste gives it back, and as an HTML table of the cells as
// shown; with whole rows selected the header row comes first. Works on any table view whose
// model gives the cell texts and the column headers.
#include <QString>
#include <QStringList>
#include <Qt>

class QAbstractItemModel;
class QTableView;

namespace TableClipboard {

// The text of a cell that a copy carries, where the model gives one (a number in full);
// otherwise the copy carries the cell as shown.
inline constexpr int kCopyTextRole = Qt::UserRole + 1;

// The selected cells as model rows and columns, inclusive.
struct TRange {
    int Top = 0, Left = 0, Bottom = -1, Right = -1;
    bool WholeRows = false;   // every column of those rows is selected
};

// The bounding rectangle of the selection, or the current cell; false when there is neither.
bool SelectedRange(const QTableView *view, TRange &range);
// Selects the rectangle (and nothing else) without moving the current cell.
void SelectRange(QTableView *view, const TRange &range);

// A column header on one line: "Коор. X м", "Нач. узел".
QString HeaderText(const QAbstractItemModel *model, int column);
// Whether cells, laid from model column first rightwards, repeat the header texts of those
// columns (case and runs of blanks aside): a header row copied along with a block.
bool IsHeaderRow(const QStringList &cells, const QAbstractItemModel *model, int first);

// The selected block of view on the clipboard; false when nothing was there to copy.
bool Copy(const QTableView *view);

} // namespace TableClipboard
