#include "TPainterSchemeCanvas.h"

#include <QPainter>
#include <cmath>

TPainterSchemeCanvas::TPainterSchemeCanvas(QPainter &painter)
    : m_painter(painter), m_font(SchemeFont(QStringLiteral("Arial"), 8)), m_metrics(m_font)
{
    m_initialClip = SavedClip{painter.hasClipping(), painter.clipRegion()};
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_painter.setFont(m_font);
}

TPainterSchemeCanvas::~TPainterSchemeCanvas()
{
    if (m_initialClip) {
        if (m_initialClip->On)
            m_painter.setClipRegion(m_initialClip->Region);
        else
            m_painter.setClipping(false);
    }
}

QFont TPainterSchemeCanvas::SchemeFont(const QString &family, int pointSize)
{
    QFont font(family);
    // Points at 96 pixels per inch, rounded as the old screen fonts were: 8 points, 11 pixels.
    font.setPixelSize(std::max(1, int(std::lround(pointSize * 96.0 / 72.0))));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

void TPainterSchemeCanvas::UsePen()
{
    if (m_penOnPainter)
        return;
    m_painter.setPen(m_pen);
    m_penOnPainter = true;
}

void TPainterSchemeCanvas::SetPen(TSchemeColor color, int width, TPenStyle style)
{
    m_penColor = color;
    m_penWidth = std::max(1, width);
    m_penStyle = style;
    m_pen = QPen(ToColor(color), m_penWidth, Qt::SolidLine, m_penWidth > 1 ? Qt::RoundCap : Qt::SquareCap,
                 Qt::RoundJoin);
    m_penOnPainter = false;
}

void TPainterSchemeCanvas::SetBrush(TSchemeColor color)
{
    m_brush = color;
    m_painter.setBrush(ToColor(color));
}

void TPainterSchemeCanvas::SetFont(const QString &family, int, int pointSize)
{
    m_font = SchemeFont(family, pointSize);
    m_metrics = QFontMetrics(m_font);
    m_painter.setFont(m_font);
}

void TPainterSchemeCanvas::SetTextColor(TSchemeColor color) { m_text = color; }

void TPainterSchemeCanvas::PushClip(const TSchemeRect &rect)
{
    m_clips.push_back({m_painter.hasClipping(), m_painter.clipRegion()});
    m_painter.setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()),
                          m_painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TPainterSchemeCanvas::PopClip()
{
    if (m_clips.empty())
        return;
    const SavedClip c = m_clips.back();
    m_clips.pop_back();
    if (c.On)
        m_painter.setClipRegion(c.Region);
    else
        m_painter.setClipping(false);
}

void TPainterSchemeCanvas::Lines(const QLine *segments, int count)
{
    UsePen();
    m_painter.drawLines(segments, count);
}

void TPainterSchemeCanvas::FillRect(const TSchemeRect &rect)
{
    m_painter.fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToColor(m_brush));
}

void TPainterSchemeCanvas::Ellipse(const TSchemeRect &box)
{
    UsePen();
    // The box excludes its right and bottom edge; QPainter's outline reaches one pixel past the
    // rectangle it is given.
    int inset = 0;
    if (m_penStyle == TPenStyle::InsideFrame && m_penWidth > 1)
        inset = m_penWidth / 2;
    m_painter.drawEllipse(QRect(box.Left + inset, box.Top + inset, box.Width() - 1 - 2 * inset,
                                box.Height() - 1 - 2 * inset));
}

void TPainterSchemeCanvas::Text(int x, int y, QStringView text)
{
    const QString s = text.toString();
    m_painter.fillRect(QRect(x, y, m_metrics.horizontalAdvance(s), m_metrics.height()), ToColor(m_brush));
    m_painter.setPen(ToColor(m_text));
    m_penOnPainter = false;
    m_painter.drawText(x, y + m_metrics.ascent(), s);
}

int TPainterSchemeCanvas::TextWidth(QStringView text) { return m_metrics.horizontalAdvance(text.toString()); }

int TPainterSchemeCanvas::TextHeight(QStringView) { return m_metrics.height(); }
