#pragma once
// Plays report pages onto a QPainter: the preview's widget, a printer, a PDF or a picture. The
// painter's device decides the resolution; its origin is the paper's top left corner, and
// dotsPerCm must agree with the device's logical resolution, so that fonts given in points and
// positions given in centimetres come out at the same scale. A zooming caller scales the
// painter instead.
//
// A page is thousands of short texts and lines. The texts set at a point are gathered into one
// run of glyphs a font, and the lines into one set a pen width, and drawn at Flush (PaintPage
// flushes at the end of the page): a PDF then holds a few runs a page instead of a text object
// a cell, and nothing is laid out twice. Black on white, the order of drawing does not show.
#include "report/TReportDocument.h"

#include <QFont>
#include <QLineF>
#include <QList>
#include <QPainter>
#include <QRawFont>
#include <memory>
#include <vector>

class TPainterPageCanvas : public TPageCanvas {
public:
    TPainterPageCanvas(QPainter &painter, double dotsPerCm);
    ~TPainterPageCanvas() override;

    void Text(const TReportFont &font, const TReportOp &op, QStringView text) override;
    void Line(const TReportOp &op) override;
    // Draws the texts and lines gathered so far.
    void Flush();

    // The page's operations, on white paper when asked (pictures and the preview; printers and
    // PDFs have their own).
    static void PaintPage(const TReportDocument &document, int index, QPainter &painter, double dotsPerCm,
                          bool paper = false);
    // Dots per centimetre of a device with the given logical resolution.
    static double DotsPerCm(int dpi) { return dpi / 2.54; }

private:
    struct TGlyphs {
        const TReportFont *Font = nullptr;
        QRawFont Raw;
        double Ascent = 0;
        QList<quint32> Indexes;
        QList<QPointF> Positions;
    };
    struct TLines {
        float Pen = 0;
        QList<QLineF> Lines;
    };

    QPointF Point(float x, float y) const;
    TGlyphs &GlyphsOf(const TReportFont &font);
    // A text the glyph runs set as the toolkit would: its font has every glyph, and its script
    // needs no shaping (Latin, Greek, Cyrillic and their punctuation).
    bool Gathered(TGlyphs &glyphs, QPointF at, const QString &text);
    void DrawInBox(const TReportFont &font, const TReportOp &op, QStringView text);

    QPainter &m_painter;
    double m_scale;
    const TReportFont *m_font = nullptr;   // set on the painter
    std::vector<std::unique_ptr<TGlyphs>> m_glyphs;
    std::vector<TLines> m_lines;
};
