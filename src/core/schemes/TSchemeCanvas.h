#pragma once
// The surface the scheme is drawn on. Core draws against this interface only; the rendering
// library implements it with QPainter (screen image, PNG, SVG), the tests with a recorder.
//
// Conventions every implementation keeps
//  - Colours are 0x00BBGGRR, the way seams and plan positions keep theirs.
//  - Rectangles include their left and top edge and exclude their right and bottom edge (a
//    rectangle from (x - 2, y - 2) to (x + 2, y + 2) covers 4 x 4 pixels).
//  - Lines are drawn with the current pen, both end points included. Segments given to one
//    Lines call are drawn in order, exactly as the same number of single lines would be.
//  - FillRect uses the brush without an outline; Ellipse fills the inscribed ellipse with the
//    brush and outlines it with the pen. An inside-frame pen keeps a wide outline inside the box.
//  - Text puts the top-left corner of the text cell at (x, y) and fills the cell with the brush
//    colour first (labels stand on the background); TextWidth/TextHeight measure that cell.
//  - PushClip narrows the clipping to a rectangle; PopClip brings the previous clipping back.
#include <QLine>
#include <QString>
#include <QStringView>
#include <QtGlobal>

using TSchemeColor = quint32;   // 0x00BBGGRR

constexpr TSchemeColor SchemeRgb(int r, int g, int b)
{
    return TSchemeColor(r & 0xFF) | TSchemeColor(g & 0xFF) << 8 | TSchemeColor(b & 0xFF) << 16;
}
constexpr int SchemeRed(TSchemeColor c) { return int(c & 0xFF); }
constexpr int SchemeGreen(TSchemeColor c) { return int(c >> 8 & 0xFF); }
constexpr int SchemeBlue(TSchemeColor c) { return int(c >> 16 & 0xFF); }

struct TSchemeRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;   // right and bottom excluded
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    friend bool operator==(const TSchemeRect &, const TSchemeRect &) = default;
};

enum class TPenStyle { Solid, InsideFrame };

class TSchemeCanvas {
public:
    virtual ~TSchemeCanvas() = default;

    virtual void SetPen(TSchemeColor color, int width, TPenStyle style) = 0;
    virtual void SetBrush(TSchemeColor color) = 0;
    // pointSize at 96 pixels per inch, whatever the device; charset 204 asks for Cyrillic
    // (implementations with Unicode fonts may ignore it).
    virtual void SetFont(const QString &family, int charset, int pointSize) = 0;
    virtual void SetTextColor(TSchemeColor color) = 0;

    virtual void PushClip(const TSchemeRect &rect) = 0;
    virtual void PopClip() = 0;

    virtual void Lines(const QLine *segments, int count) = 0;
    virtual void FillRect(const TSchemeRect &rect) = 0;
    virtual void Ellipse(const TSchemeRect &box) = 0;
    // Labels are short numbers formatted on the stack: a view, so that a label costs no
    // allocation.
    virtual void Text(int x, int y, QStringView text) = 0;
    virtual int TextWidth(QStringView text) = 0;
    virtual int TextHeight(QStringView text) = 0;

    void Line(int x1, int y1, int x2, int y2)
    {
        const QLine l(x1, y1, x2, y2);
        Lines(&l, 1);
    }
};

// Narrows the clipping for a scope; the previous clipping comes back also when drawing fails.
class TClipScope {
public:
    TClipScope(TSchemeCanvas &canvas, const TSchemeRect &rect) : FCanvas(canvas)
    {
        FCanvas.PushClip(rect);
    }
    ~TClipScope() { FCanvas.PopClip(); }
    TClipScope(const TClipScope &) = delete;
    TClipScope &operator=(const TClipScope &) = delete;

private:
    TSchemeCanvas &FCanvas;
};
