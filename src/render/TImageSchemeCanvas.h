#pragma once
// The scheme's canvas on a 32-bit image (the control's off-screen picture, a PNG file).
//
// A network of 100,000 branches is mostly one-pixel lines of a few pixels and short numbers,
// each of which costs QPainter more in bookkeeping than in pixels. This canvas writes those
// straight into the image's memory: thin lines by a midpoint rule with exact integer steps
// (clipped by skipping to the first visible step, so a long line off the picture costs nothing),
// small discs stamped from a cached sprite that QPainter drew once, and labels composed from
// cached digit cells that QPainter drew once per colour pair. Everything else (wide pens, large
// ellipses, other text) goes through QPainter. Both write into the same memory at once, so the
// order of drawing holds.
//
// The image must be Format_RGB32 or Format_ARGB32(_Premultiplied) and the painter must be
// active on it without a transformation.
#include "TPainterSchemeCanvas.h"

#include <QHash>
#include <unordered_map>
#include <QImage>
#include <array>
#include <vector>

class TImageSchemeCanvas : public TPainterSchemeCanvas {
public:
    TImageSchemeCanvas(QPainter &painter, QImage &image);
    ~TImageSchemeCanvas() override;

    void SetFont(const QString &family, int charset, int pointSize) override;
    void PushClip(const TSchemeRect &rect) override;
    void PopClip() override;
    void Lines(const QLine *segments, int count) override;
    void FillRect(const TSchemeRect &rect) override;
    void Ellipse(const TSchemeRect &box) override;
    void Text(int x, int y, QStringView text) override;
    int TextWidth(QStringView text) override;

private:
    // One character cell, drawn on the background colour.
    struct Glyph {
        QImage Cell;
        int Advance = 0;
    };
    // Cells of the characters a number is made of: digits and the minus sign.
    struct GlyphSet {
        std::array<Glyph, 11> Cells;
    };
    static int GlyphIndex(QChar c);

    void Line(int x1, int y1, int x2, int y2, quint32 rgb);
    void LineInside(int x1, int y1, int x2, int y2, quint32 rgb);
    void Stamp(const QImage &sprite, int x, int y, bool opaque);
    const GlyphSet &Glyphs();

    QImage &m_image;
    uchar *m_bits;
    qsizetype m_stride;
    bool m_fast;
    TSchemeRect m_clip;   // the image, narrowed by PushClip
    std::vector<TSchemeRect> m_clips;
    std::array<int, 11> m_advances{};
    QHash<quint64, QImage> m_discs;      // sprite per box size, pen and brush
    std::unordered_map<quint64, GlyphSet> m_glyphs;   // cells per text colour and background
    quint64 m_glyphKey = ~quint64(0);
    const GlyphSet *m_lastGlyphs = nullptr;   // labels come in runs of one colour pair
};
