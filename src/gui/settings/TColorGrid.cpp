#include "settings/TColorGrid.h"

#include "base/CellDrawing.h"
#include "base/Utils.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

constexpr quint32 Palette[TColorGrid::ColorCount] = {
    0x00000000, 0x00000080, 0x00008000, 0x00008080,   // black, maroon, green, olive
    0x00800000, 0x00800080, 0x00808000, 0x00C0C0C0,   // navy, purple, teal, silver
    0x00808080, 0x000000FF, 0x0000FF00, 0x0000FFFF,   // grey, red, lime, yellow
    0x00FF0000, 0x00FF00FF, 0x00FFFF00, 0x00FFFFFF,   // blue, fuchsia, aqua, white
};
constexpr int Side = 4;
constexpr int CellSize = 22;
constexpr int Margin = 2;

} // namespace

quint32 TColorGrid::BasicColor(int index)
{
    Q_ASSERT(index >= 0 && index < ColorCount);
    return Palette[index];
}

int TColorGrid::IndexOf(quint32 color)
{
    for (int i = 0; i < ColorCount; ++i)
        if (Palette[i] == (color & 0x00FFFFFF))
            return i;
    return -1;
}

TColorGrid::TColorGrid(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TColorGrid::SetForegroundColor(quint32 color)
{
    m_foreground = color;
    update();
}

void TColorGrid::SetBackgroundColor(quint32 color)
{
    m_background = color;
    update();
}

QRect TColorGrid::CellRect(int index) const
{
    return QRect(Margin + (index % Side) * CellSize, Margin + (index / Side) * CellSize, CellSize,
                 CellSize);
}

QSize TColorGrid::sizeHint() const
{
    return QSize(2 * Margin + Side * CellSize, 2 * Margin + Side * CellSize);
}

int TColorGrid::indexAt(const QPoint &pos) const
{
    for (int i = 0; i < ColorCount; ++i)
        if (CellRect(i).contains(pos))
            return i;
    return -1;
}

void TColorGrid::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int fg = ForegroundIndex(), bg = BackgroundIndex();
    QFont markFont = font();
    markFont.setPixelSize(9);
    markFont.setBold(true);
    p.setFont(markFont);
    for (int i = 0; i < ColorCount; ++i) {
        const QRect cell = CellRect(i);
        const QRect swatch = cell.adjusted(1, 1, -1, -1);
        p.fillRect(swatch, ToQColor(Palette[i]));
        // Sunken edge around each square.
        p.setPen(QColor(128, 128, 128));
        p.drawLine(swatch.topLeft(), swatch.topRight());
        p.drawLine(swatch.topLeft(), swatch.bottomLeft());
        p.setPen(QColor(255, 255, 255));
        p.drawLine(swatch.bottomLeft(), swatch.bottomRight());
        p.drawLine(swatch.topRight(), swatch.bottomRight());

        QString mark;
        if (i == fg && i == bg)
            mark = QStringLiteral("FB");
        else if (i == fg)
            mark = QStringLiteral("FG");
        else if (i == bg)
            mark = QStringLiteral("BG");
        if (!mark.isEmpty()) {
            const QColor c = ToQColor(Palette[i]);
            const bool dark = qGray(c.rgb()) < 128;
            p.setPen(dark ? Qt::white : Qt::black);
            p.drawText(swatch, Qt::AlignCenter, mark);
        }
    }
    if (hasFocus()) {
        const int at = fg >= 0 ? fg : 0;
        DrawFocusFrame(p, CellRect(at));
    }
}

void TColorGrid::mousePressEvent(QMouseEvent *event)
{
    const int index = indexAt(event->position().toPoint());
    if (index < 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        m_foreground = Palette[index];
    else if (event->button() == Qt::RightButton)
        m_background = Palette[index];
    else
        return;
    update();
    emit Changed();
}

void TColorGrid::keyPressEvent(QKeyEvent *event)
{
    int index = ForegroundIndex();
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Right: step = 1; break;
    case Qt::Key_Up: step = -Side; break;
    case Qt::Key_Down: step = Side; break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    index = index < 0 ? 0 : std::clamp(index + step, 0, ColorCount - 1);
    m_foreground = Palette[index];
    update();
    emit Changed();
}

// The focus frame comes and goes with the keyboard focus.
void TColorGrid::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TColorGrid::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}
