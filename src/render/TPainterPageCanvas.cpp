#include "TPainterPageCanvas.h"

#include "TQtTextMetrics.h"
#include "report/TPageSurface.h"

#include <QPen>

TPainterPageCanvas::TPainterPageCanvas(QPainter &painter, double dotsPerCm) : m_painter(painter), m_scale(dotsPerCm)
{
}

QPointF TPainterPageCanvas::Point(float x, float y) const
{
    return {(TPageSurface::kMarginLeft + x) * m_scale, (TPageSurface::kMarginTop + y) * m_scale};
}

void TPainterPageCanvas::Text(const TReportFont &font, const TReportOp &op, QStringView text)
{
    if (m_font != &font) {
        m_painter.setFont(TQtTextMetrics::QtFont(font));
        m_ascent = QFontMetricsF(m_painter.font(), m_painter.device()).ascent();
        m_font = &font;
    }
    if (m_penWidth != 0) {
        m_painter.setPen(Qt::black);
        m_penWidth = 0;
    }
    // Almost every text is set at a point, its place measured when the page was composed: drawn
    // from its baseline, without laying it out in a box or clipping it.
    if (op.X1 == op.X2 && op.Y1 == op.Y2 && op.Flags == TextFlag::Left) {
        m_painter.drawText(Point(op.X1, op.Y1) + QPointF(0, m_ascent), text.toString());
        return;
    }
    int flags = 0;
    switch (op.Flags & TextFlag::HorizontalMask) {
    case TextFlag::HCenter: flags |= Qt::AlignHCenter; break;
    case TextFlag::Right: flags |= Qt::AlignRight; break;
    default: flags |= Qt::AlignLeft; break;
    }
    flags |= (op.Flags & TextFlag::VCenter) ? Qt::AlignVCenter : Qt::AlignTop;
    if (op.Flags & TextFlag::WordWrap)
        flags |= Qt::TextWordWrap;
    if (!(op.Flags & TextFlag::Clip))
        flags |= Qt::TextDontClip;
    m_painter.drawText(QRectF(Point(op.X1, op.Y1), Point(op.X2, op.Y2)), flags, text.toString());
}

void TPainterPageCanvas::Line(const TReportOp &op)
{
    // Tables draw hundreds of lines of two widths: the pen changes only with the width.
    if (op.Pen != m_penWidth) {
        QPen pen(Qt::black);
        pen.setWidthF(op.Pen * m_scale);
        pen.setCapStyle(Qt::SquareCap);
        m_painter.setPen(pen);
        m_penWidth = op.Pen;
    }
    m_painter.drawLine(Point(op.X1, op.Y1), Point(op.X2, op.Y2));
}

void TPainterPageCanvas::PaintPage(const TReportDocument &document, int index, QPainter &painter, double dotsPerCm,
                                   bool paper)
{
    painter.save();
    if (paper) {
        painter.fillRect(QRectF(0, 0, TPageSurface::kPaperWidth * dotsPerCm, TPageSurface::kPaperHeight * dotsPerCm),
                         Qt::white);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    TPainterPageCanvas canvas(painter, dotsPerCm);
    document.PlayPage(index, canvas);
    painter.restore();
}
