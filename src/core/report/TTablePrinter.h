#pragma once
// Prints a ruled table on a TPageSurface: a header of word-wrapped captions between thick lines,
// rows each ruled below with a thin line, and blocks closed with column lines. Nothing is cut: a
// cell of a wrapping column goes on over further lines of its row, a row taller than a page goes
// on over the next (with automatic page breaks), and FitColumns widens the other columns to
// their widest texts before the table opens.
// A block is the part of the table between two headers; it is closed (column lines, thick bottom
// line) before the table moves elsewhere, whether to a new page or beside itself.
//
// With automatic page breaks a row that would reach into the band at the foot of the page goes
// to a new page, where the table continues at BreakTop below a repeated header. Without them the
// caller moves the table itself when Row reports that no further row fits (the node table fills
// two half-page columns that way).
//
// Refusals are AppError with the text the user sees.
#include "report/TPageSurface.h"
#include "report/TextWrap.h"

#include <QList>
#include <QStringList>

struct TTableLayout {
    QStringList Captions;
    QList<double> Widths;   // cm
    QList<TTextAlign> Aligns;
    QList<bool> Wraps;      // columns whose texts wrap within their width; none when empty
    double HeaderHeight = 1.0;
    double LineHeight = 0.5;
    double ThickLine = 0.02;
    double ThinLine = 0.01;
    double Band = 0.5;       // kept free below the last row of a block
    double BreakTop = 0.5;   // where the table continues after an automatic page break
    TReportFont HeaderFont;
    TReportFont RowFont;
    bool AutoBreak = false;
};

// The widest text of each column that does not wrap, over the rows given to Add, at one font.
class TWidestCells {
public:
    TWidestCells(const TTextMetrics &metrics, const TTableLayout &layout);
    void Add(const QStringList &cells);
    const QStringList &Texts() const { return FTexts; }

private:
    const TTextMetrics &FMetrics;
    TReportFont FFont;
    QList<bool> FWraps;
    QStringList FTexts;
    QList<double> FWidths;
};

class TTablePrinter {
public:
    // Fonts go down in steps of half a point to 7 pt when the widened columns do not fit.
    static constexpr double kFontStep = 0.5;
    static constexpr double kSmallestFont = 7.0;

    // Widens each column that does not wrap from its width in layout (its least) to its widest
    // text and the cell's margins. When the table at x then reaches past right and shrink is
    // set, the row and header fonts go down a step at a time (the widths measured again) until
    // it fits or the row font is kSmallestFont. Tells whether it fits; layout holds the last
    // widths and fonts tried, which Open refuses as too wide when they do not fit the page.
    static bool FitColumns(TTableLayout &layout, const QStringList &widest, double x, double right,
                           const TTextMetrics &metrics, bool shrink);

    explicit TTablePrinter(TPageSurface &surface) : FSurface(surface) {}

    // Opens the table at (x, y) and draws its header.
    void Open(double x, double y, const TTableLayout &layout);
    // Prints one row (a text per column) and tells whether another row of one line still fits
    // above the band. A text sets in as many lines as it has and, in a wrapping column, as its
    // width needs; the row is as many line heights tall as its tallest cell, rounded up.
    bool Row(const QStringList &cells);
    // Closes the block and starts a new one at (x, y) on the same page, header first.
    void MoveTo(double x, double y);
    // Closes the block, starts a new page and a new block at (x, y) on it.
    void MoveToNewPage(double x, double y);
    // Closes the last block and the table.
    void Close();

    bool IsOpen() const { return FOpen; }
    double X() const { return FX; }
    double Y() const { return FY; }

    static QString RefusalMismatch();
    static QString RefusalNoRoom();
    static QString RefusalNegativeIndent();
    static QString RefusalIndentsTooLarge();
    static QString RefusalTooWide(double width, double available);
    static QString RefusalStillOpen();
    static QString RefusalNotOpen();

private:
    void RequireOpen() const;
    bool Fits(double y, double rowHeight) const;
    void StartBlock(double x, double y);
    void CloseBlock();
    double PartHeight(size_t lines) const;
    void DrawPart(const std::vector<std::vector<TTextLine>> &cells, size_t from, size_t count, double height);

    TPageSurface &FSurface;
    TTableLayout FLayout;
    bool FOpen = false;
    double FX = 0, FY = 0;
    double FBlockTop = 0;
    double FWidth = 0;   // of all columns
    double FTextLine = 0;   // height of a line of the row font
};
