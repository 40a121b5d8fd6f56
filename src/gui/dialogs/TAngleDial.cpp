#include "dialogs/TAngleDial.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <numbers>

double DialAngle(double x, double y, double cx, double cy)
{
    using std::numbers::pi;
    if (x == cx)
        return y > cy ? pi : 0.0;
    const double t = std::atan((cy - y) / (x - cx));
    return x > cx ? t - pi / 2 : t + pi / 2;
}

double SnapDegrees(double degrees)
{
    const double c = std::nearbyint(degrees);
    double q = std::trunc(c / 5) * 5;
    const double r = c - q;
    if (std::abs(r) >= 2)
        q += 5 * ((q > 0) - (q < 0));
    return q;
}

namespace {

// Screen point at radius r in direction a (radians, counter-clockwise from the right).
QPoint polar(QPoint centre, double a, double r)
{
    return {centre.x() + int(std::lround(std::cos(a) * r)), centre.y() - int(std::lround(std::sin(a) * r))};
}

// Halves of a circle's rim, in Qt's 1/16 degree from three o'clock, counter-clockwise.
constexpr int UpperLeft = 45 * 16;
constexpr int LowerRight = 225 * 16;
constexpr int Half = 180 * 16;

} // namespace

TAngleDial::TAngleDial(QWidget *parent) : QWidget(parent)
{
    setFixedSize(Side, Side);
}

void TAngleDial::SetAngle(double angle, bool valid, const QString &text)
{
    m_angle = angle;
    m_valid = valid;
    m_text = text;
    update();
}

QPoint TAngleDial::Centre() const
{
    return {Side / 2, Side / 2};
}

void TAngleDial::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor face = palette().color(QPalette::Button);
    const QColor shadow = palette().color(QPalette::Dark);
    p.fillRect(rect(), face);

    const QRect outer = rect().adjusted(5, 5, -5, -5);
    const QPoint c = Centre();
    const int m = outer.width() / 2;

    // Sunken rim: shadow over white, then black over shadow one pixel inside.
    const QRect rim = outer.adjusted(0, 0, -1, -1);
    p.setPen(shadow);
    p.drawArc(rim, UpperLeft, Half);
    p.setPen(Qt::white);
    p.drawArc(rim, LowerRight, Half);
    const QRect inner = rim.adjusted(1, 1, -1, -1);
    p.setPen(Qt::black);
    p.drawArc(inner, UpperLeft, Half);
    p.setPen(shadow);
    p.drawArc(inner, LowerRight, Half);

    for (int degrees = 0; degrees < 360; degrees += 10) {
        int length = 5;
        QColor colour(128, 128, 128);
        if (degrees % 90 == 0) {
            length = 10;
            colour = QColor(0, 0, 255);
        } else if (degrees % 30 == 0) {
            length = 7;
            colour = QColor(0, 0, 128);
        }
        const double a = degrees * RadiansPerDegree;
        p.setPen(colour);
        p.drawLine(polar(c, a, m - 5), polar(c, a, m - 5 - length));
    }

    const QRect disc = outer.adjusted(30, 30, -30, -30).adjusted(0, 0, -1, -1);
    auto drawDisc = [&] {
        p.setPen(Qt::white);
        p.setBrush(face);
        p.drawEllipse(disc);
        p.setBrush(Qt::NoBrush);
    };
    if (!m_valid) {
        drawDisc();
        QFont font(QStringLiteral("Arial"), 20);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(255, 0, 0));
        p.drawText(disc, Qt::AlignCenter | Qt::TextDontClip, QStringLiteral("?"));
        return;
    }

    p.setPen(QColor(255, 0, 0));
    p.drawLine(c, polar(c, m_angle + std::numbers::pi / 2, m - 13));
    drawDisc();
    // Raised rim: the lower right in shadow, black one pixel further out.
    p.setPen(shadow);
    p.drawArc(disc, LowerRight, Half);
    p.setPen(Qt::black);
    p.drawArc(disc.adjusted(-1, -1, 1, 1), LowerRight, Half);
    p.setFont(QFont(QStringLiteral("Arial"), 7));
    p.drawText(disc.adjusted(5, 5, -5, -5), Qt::AlignCenter | Qt::TextDontClip, m_text);
}

void TAngleDial::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = true;
}

void TAngleDial::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        emit Dragged(event->position().toPoint(), event->modifiers());
}

void TAngleDial::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}
