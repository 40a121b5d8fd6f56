// Header and data cells drawn into an image and checked pixel by pixel: fill, 3D frame, text
// placement, clipping and the focus frame.
#include "base/CellDrawing.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

QImage canvas()
{
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    return image;
}

// Bounding box of the pixels within that differ from the fill colour (text is antialiased, so
// its pixels are of many shades).
QRect inkOf(const QImage &image, QColor fill, QRect within)
{
    QRect ink;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (image.pixelColor(x, y) != fill)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace

class TestCellDrawing : public QObject {
    Q_OBJECT

private slots:
    void headerCellFrameAndFill()
    {
        QImage image = canvas();
        const QRect cell(10, 10, 40, 20);
        {
            QPainter p(&image);
            p.setBrush(QColor(200, 200, 200));
            DrawHeaderCell(p, cell, QString(), false);
        }
        const QColor white(255, 255, 255), grey(128, 128, 128), face(200, 200, 200);
        QCOMPARE(image.pixelColor(10, 10), white);            // top-left corner
        QCOMPARE(image.pixelColor(30, 10), white);            // top edge
        QCOMPARE(image.pixelColor(10, 25), white);            // left edge
        QCOMPARE(image.pixelColor(50, 15), grey);             // one pixel right of the cell
        QCOMPARE(image.pixelColor(30, 30), grey);             // one pixel below the cell
        QCOMPARE(image.pixelColor(50, 30), grey);             // corner of the grown rectangle
        QCOMPARE(image.pixelColor(30, 20), face);             // inside
        QCOMPARE(image.pixelColor(49, 29), face);
        QCOMPARE(image.pixelColor(51, 15), QColor(10, 20, 30));   // nothing beyond
    }

    void headerTextCentredWithLineBreaks()
    {
        QImage top = canvas(), centred = canvas();
        const QRect cell(0, 0, 120, 60);
        const QColor ink(0, 0, 255);
        for (auto [image, centre] : {std::pair{&top, false}, std::pair{&centred, true}}) {
            QPainter p(image);
            p.setBrush(QColor(200, 200, 200));
            p.setPen(ink);
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setPixelSize(11);
            p.setFont(f);
            DrawHeaderCell(p, cell, QStringLiteral("Образец\r\nотображения"), centre);
        }
        const QRect inside = cell.adjusted(1, 1, -1, -1);
        const QRect atTop = inkOf(top, QColor(200, 200, 200), inside);
        const QRect atMiddle = inkOf(centred, QColor(200, 200, 200), inside);
        QVERIFY(!atTop.isEmpty());
        QVERIFY(atTop.top() < 6);
        // Two lines: taller than one line, horizontally centred within a pixel or two.
        QVERIFY(atTop.height() > 16);
        QVERIFY2(qAbs((atTop.left() + atTop.right()) - cell.width()) <= 4,
                 qPrintable(QStringLiteral("%1..%2").arg(atTop.left()).arg(atTop.right())));
        const int gapAbove = atMiddle.top(), gapBelow = cell.bottom() - atMiddle.bottom();
        QVERIFY2(qAbs(gapAbove - gapBelow) <= 4, qPrintable(QStringLiteral("%1 %2").arg(gapAbove).arg(gapBelow)));
    }

    void dataCellTextInsetAlignedAndClipped_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << int(Qt::AlignLeft);
        QTest::newRow("right") << int(Qt::AlignRight);
    }

    void dataCellTextInsetAlignedAndClipped()
    {
        QFETCH(int, alignment);
        QImage image = canvas();
        const QRect cell(10, 10, 60, 18);
        const QColor ink(255, 0, 0);
        {
            QPainter p(&image);
            p.setBrush(QColor(255, 255, 255));
            p.setPen(ink);
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setPixelSize(11);
            p.setFont(f);
            DrawCellText(p, cell, QStringLiteral("12\t34"), false, Qt::Alignment(alignment));
        }
        QCOMPARE(image.pixelColor(cell.topLeft()), QColor(255, 255, 255));
        const QRect text = inkOf(image, QColor(255, 255, 255), cell);
        QVERIFY(!text.isEmpty());
        QVERIFY(cell.adjusted(2, 1, -2, -1).contains(text));
        if (alignment == Qt::AlignLeft)
            QVERIFY(text.left() <= cell.left() + 4);
        else
            QVERIFY(text.right() >= cell.right() - 4);

        // Text too long for the cell never spills over its neighbours.
        QImage narrow = canvas();
        {
            QPainter p(&narrow);
            p.setBrush(QColor(255, 255, 255));
            p.setPen(ink);
            DrawCellText(p, QRect(10, 10, 20, 18), QStringLiteral("Очень длинный текст"), false,
                         Qt::Alignment(alignment));
        }
        const QRect spilled = inkOf(narrow, QColor(255, 255, 255), QRect(10, 10, 20, 18));
        QVERIFY(!spilled.isEmpty());
        QVERIFY(QRect(12, 11, 16, 16).contains(spilled));
        QCOMPARE(narrow.pixelColor(31, 18), QColor(10, 20, 30));
    }

    void focusFrameInvertsEveryOtherPixel()
    {
        QImage image = canvas();
        const QRect cell(10, 10, 40, 18);
        {
            QPainter p(&image);
            p.setBrush(QColor(0, 0, 128));
            DrawCellText(p, cell, QString(), true, Qt::AlignLeft);
        }
        // Frame at the cell less one pixel left and right: x 11..48, y 10..27.
        const QColor navy(0, 0, 128), inverted(255, 255, 127);
        QCOMPARE(image.pixelColor(11, 10), inverted);
        QCOMPARE(image.pixelColor(12, 10), navy);
        QCOMPARE(image.pixelColor(13, 10), inverted);
        QCOMPARE(image.pixelColor(11, 12), inverted);
        QCOMPARE(image.pixelColor(10, 12), navy);   // outside the frame
        QCOMPARE(image.pixelColor(30, 18), navy);   // inside the frame
        int marked = 0;
        for (int x = 11; x <= 48; ++x)
            marked += image.pixelColor(x, 27) == inverted;
        QCOMPARE(marked, 19);
    }
};

QTEST_MAIN(TestCellDrawing)
#include "tst_CellDrawing.moc"
