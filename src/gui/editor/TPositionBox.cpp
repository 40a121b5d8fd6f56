#include "editor/TPositionBox.h"

#include "base/Guarded.h"
#include "editor/StoppingCells.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "model/Unset.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int Margin = 10;      // bar's left edge; its right edge is width - 9
constexpr int BarHeight = 26;
constexpr int HitRange = 5;
constexpr int DimensionOffset = 15;

const QColor Blue(0, 0, 255);
const QColor Grey(128, 128, 128);

QString numberText(qint32 number)
{
    return IsUnset(number) ? QStringLiteral("?") : QString::number(number);
}

} // namespace

TPositionBox::TPositionBox(Kind kind, QWidget *parent) : QWidget(parent), m_kind(kind)
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    setMinimumHeight(84);
    setObjectName(kind == Stoppings ? QStringLiteral("JumperBox") : QStringLiteral("PeopleBox"));
}

QRect TPositionBox::BarRect(int w, int h)
{
    const int top = (h - 25) / 2;
    return QRect(QPoint(Margin, top), QPoint(w - 10, top + BarHeight - 1));
}

int TPositionBox::PositionX(double position, int w)
{
    return Margin + int(std::nearbyint(double(w - 2 * Margin) * position));
}

int TPositionBox::count(const TBranch *branch) const
{
    if (!branch)
        return 0;
    return m_kind == Stoppings ? branch->Jumpers().Count() : branch->People().Count();
}

double TPositionBox::positionOf(const TBranch *branch, int index) const
{
    return m_kind == Stoppings ? branch->Jumpers().Items(index)->Position()
                               : branch->People().Items(index)->Position();
}

void *TPositionBox::elementAt(TBranch *branch, int index) const
{
    if (!branch || index < 0 || index >= count(branch))
        return nullptr;
    return m_kind == Stoppings ? static_cast<void *>(branch->Jumpers().Items(index))
                               : static_cast<void *>(branch->People().Items(index));
}

int TPositionBox::indexOf(TBranch *branch, void *element) const
{
    return m_kind == Stoppings
               ? branch->Jumpers().IndexOf(static_cast<TJumper *>(element))
               : branch->People().IndexOf(static_cast<TPeopleInfo *>(element));
}

int TPositionBox::HitTest(QPoint point) const
{
    TBranch *branch = Branch ? Branch() : nullptr;
    if (!branch || !BarRect(width(), height()).contains(point))
        return -1;
    const int n = count(branch);
    for (int i = 0; i < n; ++i)
        if (std::abs(PositionX(positionOf(branch, i), width()) - point.x()) <= HitRange)
            return i;
    return -1;
}

const QImage &TPositionBox::PersonPicture()
{
    static const QImage picture = [] {
        QImage image(25, 29, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        const QColor outline(40, 40, 40);
        // Legs and boots.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 90));
        p.drawRect(QRectF(8, 18, 3.5, 8));
        p.drawRect(QRectF(13.5, 18, 3.5, 8));
        p.setBrush(QColor(30, 30, 30));
        p.drawRect(QRectF(7, 25.5, 5, 3));
        p.drawRect(QRectF(13, 25.5, 5, 3));
        // Body in an orange work jacket with a reflective band.
        p.setPen(QPen(outline, 0.8));
        p.setBrush(QColor(235, 120, 30));
        p.drawRoundedRect(QRectF(7, 9.5, 11, 10), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(235, 235, 200));
        p.drawRect(QRectF(7.5, 14.5, 10, 1.5));
        // Arms.
        p.setPen(QPen(QColor(235, 120, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6.5, 11), QPointF(4, 18));
        p.drawLine(QPointF(18.5, 11), QPointF(21, 18));
        // Head and helmet with its lamp.
        p.setPen(QPen(outline, 0.8));
        p.setBrush(QColor(240, 200, 160));
        p.drawEllipse(QRectF(9, 3.5, 7, 6.5));
        p.setBrush(QColor(250, 210, 0));
        QPainterPath helmet;
        helmet.moveTo(8, 6);
        helmet.arcTo(QRectF(8.5, 1, 8, 8), 180, -180);
        helmet.lineTo(17.5, 6);
        helmet.closeSubpath();
        p.drawPath(helmet);
        p.setBrush(QColor(255, 255, 190));
        p.drawEllipse(QRectF(11.2, 2.2, 2.6, 2.6));
        return image;
    }();
    return picture;
}

void TPositionBox::DrawDimension(QPainter &p, const TBranch *branch, double a, double b,
                                 bool above, int offset) const
{
    const int w = width();
    const QRect bar = BarRect(w, height());
    const int x1 = PositionX(a, w), x2 = PositionX(b, w);
    const int y0 = above ? bar.top() : bar.top() + BarHeight;
    const int y = above ? y0 - offset : y0 + offset;
    p.setPen(Qt::black);
    p.drawLine(x1, y0, x1, y);
    p.drawLine(x2, y0, x2, y);
    p.drawLine(x1, y, x2, y);
    if (x1 != x2) {
        const QPoint left[] = {{x1 + 3, y - 3}, {x1, y}, {x1 + 4, y + 4}};
        const QPoint right[] = {{x2 - 3, y - 3}, {x2, y}, {x2 - 4, y + 4}};
        p.drawPolyline(left, 3);
        p.drawPolyline(right, 3);
    }

    const float length = branch->Length();
    const bool metres = !IsUnset(length) && length > 0;
    const QString number = FormatFixed(metres ? (b - a) * length : (b - a) * 100, 1);
    const QString unit = metres ? QStringLiteral("м") : QStringLiteral("%");
    const QFontMetrics metrics = p.fontMetrics();
    const int g = std::abs(x1 - x2 + 1);
    QString label = number;
    if (g >= metrics.horizontalAdvance(number + unit))
        label += unit;
    const int labelWidth = metrics.horizontalAdvance(label);
    if (g < labelWidth)
        return;
    const QRect box((x1 + x2 - labelWidth) / 2, y - metrics.height() / 2, labelWidth,
                    metrics.height());
    p.fillRect(box, palette().color(QPalette::Window));
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label);
}

void TPositionBox::paintEvent(QPaintEvent *)
{
    TBranch *branch = Branch ? Branch() : nullptr;
    if (!branch)
        return;
    QPainter p(this);
    const int w = width();
    const QRect bar = BarRect(w, height());
    const int bottom = bar.top() + BarHeight;

    // The bar.
    p.fillRect(bar, Qt::white);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(bar.adjusted(0, 0, -1, -1));

    // Distances between neighbours above the bar, the whole length below it.
    const int n = count(branch);
    double previous = 0;
    for (int i = 0; i < n; ++i) {
        const double position = positionOf(branch, i);
        DrawDimension(p, branch, previous, position, true, DimensionOffset);
        previous = position;
    }
    DrawDimension(p, branch, previous, 1, true, DimensionOffset);
    DrawDimension(p, branch, 0, 1, false, DimensionOffset);

    // Node and branch numbers inside the bar.
    const QRect inside = bar.adjusted(3, 0, -3, 0);
    p.setPen(Qt::black);
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    p.drawText(inside, flags | Qt::AlignLeft, numberText(branch->StartNumber()));
    p.drawText(inside, flags | Qt::AlignHCenter, numberText(branch->Number()));
    p.drawText(inside, flags | Qt::AlignRight, numberText(branch->EndNumber()));

    const int current = CurrentIndex ? CurrentIndex() : -1;
    if (m_kind == Stoppings) {
        for (int i = 0; i < n; ++i) {
            const int x = PositionX(positionOf(branch, i), w);
            const QColor outline = (i == m_dragged || i == current) ? Blue : QColor(Qt::black);
            p.setPen(outline);
            p.drawLine(x, bar.top(), x, bottom);
            p.setBrush(Grey);
            const QPoint down[] = {{x, bar.top()}, {x - 3, bar.top() - 10}, {x + 3, bar.top() - 10}};
            const QPoint up[] = {{x, bottom}, {x - 3, bottom + 10}, {x + 3, bottom + 10}};
            p.drawPolygon(down, 3);
            p.drawPolygon(up, 3);
        }
    } else {
        const QImage &picture = PersonPicture();
        for (int i = 0; i < n; ++i) {
            const int x = PositionX(positionOf(branch, i), w);
            p.drawImage(QPoint(x - picture.width() / 2,
                               (bar.top() + bottom - picture.height()) / 2),
                        picture);
        }
    }
}

void TPositionBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    TBranch *branch = Branch ? Branch() : nullptr;
    m_dragged = branch ? HitTest(event->position().toPoint()) : -1;
    m_draggedElement = elementAt(branch, m_dragged);
    m_dragConfirmed = false;
    m_dragKey = 0;
    if (m_dragged >= 0)
        emit ElementPressed(m_dragged);
    update();
}

void TPositionBox::mouseMoveEvent(QMouseEvent *event)
{
    // Moving asks for leave to edit (which may clear results and save) and moves the element in
    // the model: a failure of either is shown here and ends the drag, instead of unwinding
    // through the toolkit's event handling.
    const bool done = RunGuarded([&] {
        TBranch *branch = Branch ? Branch() : nullptr;
        const QPoint point = event->position().toPoint();
        if (!(event->buttons() & Qt::LeftButton) || !m_draggedElement || !branch) {
            setCursor(HitTest(point) >= 0 ? Qt::SizeHorCursor : Qt::ArrowCursor);
            return;
        }
        const int barWidth = width() - 2 * Margin;
        if (barWidth <= 0)
            return;
        if (!m_dragConfirmed) {
            // The question box takes the mouse away; the drag ends with it.
            void *element = m_draggedElement;
            if (ConfirmEdit && !ConfirmEdit()) {
                m_dragged = -1;
                m_draggedElement = nullptr;
                update();
                return;
            }
            m_draggedElement = element;
            m_dragConfirmed = true;
        }
        // The element may have gone while the question was open.
        const int index = indexOf(branch, m_draggedElement);
        if (index < 0) {
            m_dragged = -1;
            m_draggedElement = nullptr;
            update();
            return;
        }
        const double position = double(point.x() - Margin) / barWidth;
        if (!m_dragKey)
            m_dragKey = TChangeJournal::NewMergeKey();   // one step for the whole drag
        TUserAction action(branch->Mine(), m_kind == Stoppings ? QStringLiteral("Перемещение перемычки")
                                                                : QStringLiteral("Перемещение человека"),
                           m_dragKey);
        if (m_kind == Stoppings)
            static_cast<TJumper *>(m_draggedElement)->SetPosition(position);
        else
            static_cast<TPeopleInfo *>(m_draggedElement)->SetPosition(position);
        m_dragged = indexOf(branch, m_draggedElement);
        update();
        emit ElementMoved(m_dragged);
    });
    if (!done) {
        m_dragged = -1;
        m_draggedElement = nullptr;
        update();
    }
}

void TPositionBox::mouseReleaseEvent(QMouseEvent *)
{
    m_dragged = -1;
    m_draggedElement = nullptr;
    update();
}
