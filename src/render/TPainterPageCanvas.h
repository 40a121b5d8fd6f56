#pragma once
// Plays report pages onto a QPainter: the preview's widget, a printer, a PDF or a picture. The
// painter's device decides the resolution; its origin is the paper's top left corner, and
// dotsPerCm must agree with the device's logical resolution, so that fonts given in points and
// positions given in centimetres come out at the same scale. A zooming caller scales the
// painter instead.
#include "report/TReportDocument.h"

#include <QFont>
#include <QPainter>

class TPainterPageCanvas : public TPageCanvas {
public:
    TPainterPageCanvas(QPainter &painter, double dotsPerCm);

    void Text(const TReportFont &font, const TReportOp &op, QStringView text) override;
    void Line(const TReportOp &op) override;

    // The page's operations, on white paper when asked (pictures and the preview; printers and
    // PDFs have their own).
    static void PaintPage(const TReportDocument &document, int index, QPainter &painter, double dotsPerCm,
                          bool paper = false);
    // Dots per centimetre of a device with the given logical resolution.
    static double DotsPerCm(int dpi) { return dpi / 2.54; }

private:
    QPointF Point(float x, float y) const;

    QPainter &m_painter;
    double m_scale;
    const TReportFont *m_font = nullptr;
    double m_ascent = 0;   // of the font in the device's units
    float m_penWidth = -1;   // of the pen set, cm; 0 the text's pen
};
