#include "editor/JumperSymbol.h"

#include <QPainter>

const QImage &JumperSymbol()
{
    // A brick wall across a working: a dark red face with white joints, darker frame.
    static const QImage image = [] {
        QImage img(15, 17, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QColor brick(128, 0, 0);
        const QColor joint(255, 255, 255);
        const QColor frame(0, 0, 0);
        p.fillRect(QRect(1, 1, 13, 15), brick);
        p.setPen(frame);
        p.drawRect(QRect(1, 1, 12, 14));
        p.setPen(joint);
        for (int y = 4; y < 16; y += 4)
            p.drawLine(2, y, 12, y);
        // Vertical joints, shifted on every other course.
        for (int course = 0; course < 4; ++course) {
            const int top = 2 + course * 4, bottom = qMin(top + 1, 14);
            const int x = course % 2 == 0 ? 7 : 4;
            p.drawLine(x, top, x, bottom);
            if (course % 2 == 1)
                p.drawLine(x + 6, top, x + 6, bottom);
        }
        return img;
    }();
    return image;
}
