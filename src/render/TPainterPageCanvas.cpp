#include "TPainterPageCanvas.h"

#include "TQtTextMetrics.h"
#include "report/TPageSurface.h"

#include <QGlyphRun>
#include <algorithm>
#include <QPen>

TPainterPageCanvas::TPainterPageCanvas(QPainter &painter, double dotsPerCm) : m_painter(painter), m_scale(dotsPerCm)
{
}

TPainterPageCanvas::~TPainterPageCanvas()
{
    Flush();
}

QPointF TPainterPageCanvas::Point(float x, float y) const
{
    return {(TPageSurface::kMarginLeft + x) * m_scale, (TPageSurface::kMarginTop + y) * m_scale};
}

TPainterPageCanvas::TGlyphs &TPainterPageCanvas::GlyphsOf(const TReportFont &font)
{
    for (const auto &glyphs : m_glyphs) {
        if (glyphs->Font == &font)
            return *glyphs;
    }
    auto glyphs = std::make_unique<TGlyphs>();
    glyphs->Font = &font;
    glyphs->Raw = QRawFont::fromFont(TQtTextMetrics::QtFont(font));
    // The size the toolkit gives the font on this device.
    glyphs->Raw.setPixelSize(font.Size * m_painter.device()->logicalDpiY() / 72.0);
    glyphs->Ascent = glyphs->Raw.ascent();
    m_glyphs.push_back(std::move(glyphs));
    return *m_glyphs.back();
}

bool TPainterPageCanvas::Gathered(TGlyphs &glyphs, QPointF at, const QString &text)
{
    if (!glyphs.Raw.isValid())
        return false;
    for (const QChar c : text) {
        if (c.unicode() >= 0x0530 || c.unicode() < 0x20)
            return false;
    }
    const QList<quint32> indexes = glyphs.Raw.glyphIndexesForString(text);
    if (indexes.size() != text.size() || indexes.contains(0u))
        return false;   // left to the toolkit's fallback fonts
    const QList<QPointF> advances = glyphs.Raw.advancesForGlyphIndexes(indexes);
    at.ry() += glyphs.Ascent;
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        glyphs.Indexes << indexes[i];
        glyphs.Positions << at;
        at += advances[i];
    }
    return true;
}

void TPainterPageCanvas::Text(const TReportFont &font, const TReportOp &op, QStringView text)
{
    // Almost every text is set at a point, its place measured when the page was composed.
    if (op.X1 == op.X2 && op.Y1 == op.Y2 && op.Flags == TextFlag::Left
        && Gathered(GlyphsOf(font), Point(op.X1, op.Y1), text.toString()))
        return;
    DrawInBox(font, op, text);
}

void TPainterPageCanvas::DrawInBox(const TReportFont &font, const TReportOp &op, QStringView text)
{
    if (m_font != &font) {
        m_painter.setFont(TQtTextMetrics::QtFont(font));
        m_font = &font;
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
    m_painter.setPen(Qt::black);
    m_painter.drawText(QRectF(Point(op.X1, op.Y1), Point(op.X2, op.Y2)), flags, text.toString());
}

void TPainterPageCanvas::Line(const TReportOp &op)
{
    auto lines = std::find_if(m_lines.begin(), m_lines.end(), [&](const TLines &l) { return l.Pen == op.Pen; });
    if (lines == m_lines.end()) {
        m_lines.push_back({op.Pen, {}});
        lines = m_lines.end() - 1;
    }
    lines->Lines << QLineF(Point(op.X1, op.Y1), Point(op.X2, op.Y2));
}

void TPainterPageCanvas::Flush()
{
    m_painter.setPen(Qt::black);
    for (const auto &glyphs : m_glyphs) {
        if (glyphs->Indexes.isEmpty())
            continue;
        QGlyphRun run;
        run.setRawFont(glyphs->Raw);
        run.setGlyphIndexes(glyphs->Indexes);
        run.setPositions(glyphs->Positions);
        m_painter.drawGlyphRun(QPointF(0, 0), run);
        glyphs->Indexes.clear();
        glyphs->Positions.clear();
    }
    for (TLines &lines : m_lines) {
        QPen pen(Qt::black);
        pen.setWidthF(lines.Pen * m_scale);
        pen.setCapStyle(Qt::SquareCap);
        m_painter.setPen(pen);
        m_painter.drawLines(lines.Lines);
        lines.Lines.clear();
    }
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
    {
        TPainterPageCanvas canvas(painter, dotsPerCm);
        document.PlayPage(index, canvas);
    }
    painter.restore();
}
