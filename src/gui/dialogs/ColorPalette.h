#pragma once
// The colour picker's fixed palette and its geometry, without widgets: the 8 x 5 colours, the
// cell rectangles in a palette area, the cell under a point and where the panel goes so that
// it stays on the screen.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

namespace ColorPalette {

inline constexpr int Columns = 8;
inline constexpr int Rows = 5;

// The colour (0x00BBGGRR) of the cell in column 1..8 and row 1..5.
quint32 ColorAt(int column, int row);

// Index (0 .. 39, column * Rows + row, both from 0) of the first cell of color, looking column
// by column from the top (two colours occur twice; the first one counts), or -1.
int IndexOf(quint32 color);
inline int ColumnOf(int index) { return index / Rows + 1; }
inline int RowOf(int index) { return index % Rows + 1; }

// The cell of column c, row r (from 1) in a palette area of that size: cells are
// (width - 45) / 8 by (height - 30) / 5 pixels, 5 pixels apart, 5 pixels in from the corner.
QRect CellRect(const QSize &area, int column, int row);
// Index of the cell whose rectangle or the gap right of and below it holds point, or -1
// outside the grid.
int IndexAt(const QSize &area, const QPoint &point);

// Top left of a panel of size shown at point on screen: moved left (up) so that it ends inside
// the screen wherever it would reach the screen's right (bottom) edge.
QPoint PlaceInside(const QPoint &point, const QSize &size, const QRect &screen);

} // namespace ColorPalette
