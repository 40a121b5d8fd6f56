#include "app/CommandIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

using Draw = std::function<void(QPainter &)>;

// Every image is drawn on a 16 x 16 (or 40 x 40) grid and rendered at 1x and 2x.
QIcon makeIcon(int size, const Draw &draw)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(size * scale, size * scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        draw(p);
        p.end();
        pm.setDevicePixelRatio(scale);
        icon.addPixmap(pm);
    }
    return icon;
}

const QColor ink(40, 40, 40);

void page(QPainter &p, QColor fill = Qt::white)
{
    QPainterPath path;
    path.moveTo(3.5, 1.5);
    path.lineTo(10, 1.5);
    path.lineTo(13.5, 5);
    path.lineTo(13.5, 14.5);
    path.lineTo(3.5, 14.5);
    path.closeSubpath();
    p.setPen(QPen(ink, 1));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 5));
    p.drawLine(QPointF(10, 5), QPointF(13.5, 5));
}

void node(QPainter &p, QPointF c, QColor color, double r = 1.8)
{
    p.setPen(QPen(ink, 0.8));
    p.setBrush(color);
    p.drawEllipse(c, r, r);
}

void network(QPainter &p, QColor edge)
{
    p.setPen(QPen(edge, 1.4));
    p.drawLine(QPointF(3, 12), QPointF(8, 4));
    p.drawLine(QPointF(8, 4), QPointF(13, 12));
    p.drawLine(QPointF(3, 12), QPointF(13, 12));
    node(p, {3, 12}, QColor(255, 200, 0));
    node(p, {8, 4}, QColor(255, 200, 0));
    node(p, {13, 12}, QColor(255, 200, 0));
}

void drawNew(QPainter &p)
{
    page(p);
    p.setPen(QPen(QColor(230, 170, 0), 1.3));
    p.drawLine(QPointF(11, 9), QPointF(11, 15));
    p.drawLine(QPointF(8, 12), QPointF(14, 12));
}

void drawOpen(QPainter &p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(1.5, 4.5, 11, 9));
    p.drawRect(QRectF(1.5, 3.5, 5, 1.5));
    QPolygonF front;
    front << QPointF(3.5, 7.5) << QPointF(15, 7.5) << QPointF(12.5, 13.5) << QPointF(1.5, 13.5);
    p.setBrush(QColor(255, 225, 130));
    p.drawPolygon(front);
}

void drawSave(QPainter &p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1.5, 8, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4, 9.5, 8, 5));
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(QRectF(9.5, 2.5, 1.5, 3));
}

void drawPrint(QPainter &p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(QPen(QColor(60, 160, 60), 1));
    p.drawPoint(QPointF(12.5, 8.5));
}

void drawFileProp(QPainter &p)
{
    page(p);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    for (double y : {6.5, 8.5, 10.5, 12.5})
        p.drawLine(QPointF(5.5, y), QPointF(11.5, y));
}

void drawCheckTopology(QPainter &p)
{
    network(p, QColor(60, 60, 160));
    p.setPen(QPen(QColor(0, 150, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF() << QPointF(7, 9.5) << QPointF(9.5, 13) << QPointF(15, 5.5));
}

void drawCheckIsol(QPainter &p)
{
    p.setPen(QPen(QColor(60, 60, 160), 1.4));
    p.drawLine(QPointF(2, 13), QPointF(7, 7));
    p.drawLine(QPointF(7, 7), QPointF(14, 9));
    p.setPen(QPen(QColor(200, 0, 0), 1.4, Qt::DashLine));
    p.drawLine(QPointF(7, 7), QPointF(9, 2));
    node(p, {2, 13}, QColor(255, 200, 0));
    node(p, {7, 7}, QColor(255, 200, 0));
    node(p, {14, 9}, QColor(255, 200, 0));
    node(p, {9, 2}, QColor(230, 60, 60));
    node(p, {13, 14}, QColor(230, 60, 60));
}

void drawIncidGraph(QPainter &p)
{
    p.setPen(QPen(QColor(60, 60, 160), 1.3));
    const QPointF c(8, 8);
    const QPointF ends[] = {{2, 3}, {14, 3}, {2, 13}, {14, 13}, {8, 1.5}};
    for (const QPointF &e : ends)
        p.drawLine(c, e);
    for (const QPointF &e : ends)
        node(p, e, QColor(255, 200, 0), 1.5);
    node(p, c, QColor(230, 60, 60), 2.5);
}

void drawGraph3D(QPainter &p)
{
    p.setPen(QPen(QColor(60, 60, 160), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 6, 8, 8));
    p.drawRect(QRectF(6, 2, 8, 8));
    p.drawLine(QPointF(2, 6), QPointF(6, 2));
    p.drawLine(QPointF(10, 6), QPointF(14, 2));
    p.drawLine(QPointF(2, 14), QPointF(6, 10));
    p.drawLine(QPointF(10, 14), QPointF(14, 10));
}

void drawUseColor(QPainter &p)
{
    const QColor colors[] = {QColor(230, 40, 40), QColor(250, 210, 0), QColor(0, 200, 220),
                             QColor(230, 0, 230)};
    p.setPen(QPen(ink, 0.8));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(colors[i]);
        p.drawRect(QRectF(1.5 + (i % 2) * 7, 1.5 + (i / 2) * 7, 6, 6));
    }
}

void drawFind(QPainter &p)
{
    p.setPen(QPen(ink, 1.3));
    p.setBrush(QColor(210, 235, 255));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    p.setPen(QPen(QColor(120, 80, 40), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
}

void drawSetup(QPainter &p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(180, 180, 190));
    QPainterPath gear;
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(8, 8);
        p.rotate(i * 45);
        p.drawRect(QRectF(-1.5, -7, 3, 3));
        p.restore();
    }
    p.drawEllipse(QPointF(8, 8), 4.8, 4.8);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
}

void drawHelp(QPainter &p)
{
    p.setPen(QPen(QColor(30, 80, 170), 1));
    p.setBrush(QColor(60, 120, 220));
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

void drawAddRow(QPainter &p, QColor mark, bool add)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 10, 10));
    p.drawLine(QPointF(1.5, 6), QPointF(11.5, 6));
    p.drawLine(QPointF(1.5, 9), QPointF(11.5, 9));
    p.setPen(QPen(mark, 2));
    p.drawLine(QPointF(9.5, 12.5), QPointF(15, 12.5));
    if (add)
        p.drawLine(QPointF(12.25, 9.75), QPointF(12.25, 15.25));
}

// The large images of the calculation bar: a blast wave (calculation) and a chart (results),
// the route variants with a winding path beneath.
void drawCalc(QPainter &p, bool route)
{
    p.setPen(QPen(QColor(80, 80, 80), 2));
    p.setBrush(QColor(120, 120, 130));
    p.drawRect(QRectF(3, 26, 34, 8));
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(255, 80 + i * 40, 0, 90 + i * 40));
        p.drawEllipse(QPointF(14, 22), 4.0 * i + 2, 4.0 * i);
    }
    if (route) {
        p.setPen(QPen(QColor(0, 110, 200), 2.5, Qt::DashLine));
        p.drawPolyline(QPolygonF() << QPointF(4, 38) << QPointF(18, 36) << QPointF(26, 38) << QPointF(38, 35));
    }
}

void drawResults(QPainter &p, bool route)
{
    p.setPen(QPen(ink, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 3.5, 33, 29));
    const QColor bars[] = {QColor(220, 60, 60), QColor(240, 170, 0), QColor(60, 170, 60), QColor(60, 120, 220)};
    const double heights[] = {20, 14, 9, 5};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(bars[i]);
        p.drawRect(QRectF(7 + i * 7.5, 30 - heights[i], 5.5, heights[i]));
    }
    if (route) {
        p.setPen(QPen(QColor(0, 110, 200), 2.5, Qt::DashLine));
        p.drawPolyline(QPolygonF() << QPointF(4, 38) << QPointF(18, 36) << QPointF(26, 38) << QPointF(38, 35));
    }
}

} // namespace

QIcon CommandIcon(const QString &name)
{
    using namespace std::placeholders;
    static const struct {
        const char *name;
        int size;
        Draw draw;
    } table[] = {
        {"actNew", 16, drawNew},
        {"actOpen", 16, drawOpen},
        {"actSave", 16, drawSave},
        {"actPrint", 16, drawPrint},
        {"actFileProp", 16, drawFileProp},
        {"actCheckTopology", 16, drawCheckTopology},
        {"actCheckIsol", 16, drawCheckIsol},
        {"actIncidGraph", 16, drawIncidGraph},
        {"actGraph3D", 16, drawGraph3D},
        {"actUseColor", 16, drawUseColor},
        {"actFind", 16, drawFind},
        {"actSetup", 16, drawSetup},
        {"actHelpTopic", 16, drawHelp},
        {"actAddUzel", 16, [](QPainter &p) { drawAddRow(p, QColor(0, 150, 0), true); }},
        {"actDelUzel", 16, [](QPainter &p) { drawAddRow(p, QColor(200, 0, 0), false); }},
        {"actAddBranch", 16, [](QPainter &p) { drawAddRow(p, QColor(0, 150, 0), true); }},
        {"actDelBranch", 16, [](QPainter &p) { drawAddRow(p, QColor(200, 0, 0), false); }},
        {"actNormalCalc", 16, [](QPainter &p) { p.scale(0.4, 0.4); drawCalc(p, false); }},
        {"actNormalResults", 16, [](QPainter &p) { p.scale(0.4, 0.4); drawResults(p, false); }},
        {"actPathCalc", 16, [](QPainter &p) { p.scale(0.4, 0.4); drawCalc(p, true); }},
        {"actPathResults", 16, [](QPainter &p) { p.scale(0.4, 0.4); drawResults(p, true); }},
        {"actNormalCalc2", 40, [](QPainter &p) { drawCalc(p, false); }},
        {"actNormalResults2", 40, [](QPainter &p) { drawResults(p, false); }},
        {"actPathCalc2", 40, [](QPainter &p) { drawCalc(p, true); }},
        {"actPathResults2", 40, [](QPainter &p) { drawResults(p, true); }},
    };
    for (const auto &entry : table) {
        if (name == QLatin1String(entry.name))
            return makeIcon(entry.size, entry.draw);
    }
    return QIcon();
}
