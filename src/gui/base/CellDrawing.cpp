#include "base/CellDrawing.h"
#include "base/Utils.h"

#include <QPainter>
#include <QVector>

namespace {

const QColor FrameLight(255, 255, 255);
const QColor FrameShadow(128, 128, 128);
// More than a cell of any width shows.
constexpr int kShownCellChars = 1000;

// Line breaks are stored the Windows way; Qt breaks lines on "\n" alone.
QString qtLines(const QString &text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return lines;
}

} // namespace

void DrawHeaderCell(QPainter &painter, const QRect &rect, const QString &text,
                    bool centreVertically)
{
    painter.fillRect(rect, painter.brush());

    // The frame covers the cell and the grid line to its right and below it.
    const int left = rect.left(), top = rect.top();
    const int right = rect.right() + 1, bottom = rect.bottom() + 1;
    painter.fillRect(QRect(left, top, right - left, 1), FrameLight);
    painter.fillRect(QRect(left, top, 1, bottom - top), FrameLight);
    painter.fillRect(QRect(right, top, 1, bottom - top + 1), FrameShadow);
    painter.fillRect(QRect(left, bottom, right - left + 1, 1), FrameShadow);

    QRect textRect = rect.adjusted(1, 1, -1, -1);
    if (text.isEmpty() || textRect.isEmpty())
        return;
    const QString lines = qtLines(text);
    constexpr int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextExpandTabs;
    if (centreVertically) {
        const QRect block = painter.boundingRect(textRect, flags, lines);
        textRect.translate(0, (textRect.height() - block.height()) / 2);
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(textRect, flags, lines);
    painter.restore();
}

void DrawCellText(QPainter &painter, const QRect &rect, const QString &text, bool focused,
                  Qt::Alignment alignment)
{
    painter.fillRect(rect, painter.brush());
    QRect textRect = rect.adjusted(2, 1, -2, -1);
    if (!text.isEmpty() && !textRect.isEmpty()) {
        painter.save();
        painter.setClipRect(textRect, Qt::IntersectClip);
        // Only what fits is drawn: a caption or a name may run to millions of characters.
        painter.drawText(textRect,
                         int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter |
                             Qt::TextSingleLine | Qt::TextExpandTabs,
                         text.size() > kShownCellChars ? OneLineText(text, kShownCellChars) : text);
        painter.restore();
    }
    if (focused)
        DrawFocusFrame(painter, textRect.adjusted(-1, -1, 1, 1));
}

void DrawFocusFrame(QPainter &painter, const QRect &rect)
{
    if (rect.width() < 1 || rect.height() < 1)
        return;
    QVector<QPoint> dots;
    dots.reserve(2 * (rect.width() + rect.height()));
    auto dot = [&](int x, int y) {
        if (((x - rect.left()) + (y - rect.top())) % 2 == 0)
            dots.append(QPoint(x, y));
    };
    for (int x = rect.left(); x <= rect.right(); ++x) {
        dot(x, rect.top());
        if (rect.bottom() != rect.top())
            dot(x, rect.bottom());
    }
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        dot(rect.left(), y);
        if (rect.right() != rect.left())
            dot(rect.right(), y);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawPoints(dots.constData(), int(dots.size()));
    painter.restore();
}
