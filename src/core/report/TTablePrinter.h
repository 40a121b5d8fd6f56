#pragma once
// Prints a ruled table on a TPageSurface: a header of word-wrapped captions between thick lines,
// rows of one-line cells each ruled below with a thin line, and blocks closed with column lines.
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

#include <QList>
#include <QStringList>

struct TTableLayout {
    QStringList Captions;
    QList<double> Widths;   // cm
    QList<TTextAlign> Aligns;
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

class TTablePrinter {
public:
    explicit TTablePrinter(TPageSurface &surface) : FSurface(surface) {}

    // Opens the table at (x, y) and draws its header.
    void Open(double x, double y, const TTableLayout &layout);
    // Prints one row (a text per column) and tells whether another row of one line still fits
    // above the band.
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

    TPageSurface &FSurface;
    TTableLayout FLayout;
    bool FOpen = false;
    double FX = 0, FY = 0;
    double FBlockTop = 0;
    double FWidth = 0;   // of all columns
};
