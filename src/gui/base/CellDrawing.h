#pragma once
// Drawing of table cells, shared by the node, branch, stopping and people tables and the sample
// table of the options dialog. The painter carries the cell's look the way the tables set it up:
// its brush fills the cell, its pen colour is the text colour, its font is the cell font.
#include <QRect>
#include <QString>
#include <Qt>

class QPainter;

// A header (fixed) cell: fills rect with the brush, draws a raised one-pixel frame around rect
// grown by one pixel to the right and bottom (white top and left, grey bottom and right), and
// writes text — which may hold line breaks — centred horizontally inside rect less one pixel.
// With centreVertically the block of lines is also centred vertically, otherwise it starts at
// the top.
void DrawHeaderCell(QPainter &painter, const QRect &rect, const QString &text,
                    bool centreVertically);

// A data cell: fills rect with the brush and writes text on one line, vertically centred, tabs
// expanded, aligned by alignment (left, centre or right) inside rect less 2 pixels left and
// right and 1 pixel top and bottom. A focused cell gets a dotted focus frame one pixel outside
// that text rectangle.
void DrawCellText(QPainter &painter, const QRect &rect, const QString &text, bool focused,
                  Qt::Alignment alignment);

// The dotted focus frame: every other pixel of rect's edge inverted, so it shows on any colour.
void DrawFocusFrame(QPainter &painter, const QRect &rect);
