// The 4 × 4 palette: which button sets which mark, what is signalled, colours outside the 16,
// keyboard moves and the marks drawn.
#include "base/Utils.h"
#include "settings/TColorGrid.h"

#include <QSignalSpy>
#include <QtTest>

class TestTColorGrid : public QObject {
    Q_OBJECT

private slots:
    void paletteHoldsTheSixteenBasicColours()
    {
        const quint32 expected[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                    0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                    0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
        for (int i = 0; i < TColorGrid::ColorCount; ++i) {
            QCOMPARE(TColorGrid::BasicColor(i), expected[i]);
            QCOMPARE(TColorGrid::IndexOf(expected[i]), i);
        }
        QCOMPARE(TColorGrid::IndexOf(0x00D8D800), -1);
        QCOMPARE(TColorGrid::IndexOf(0x000000D8), -1);
    }

    void mouseButtonsChooseForegroundAndBackground()
    {
        TColorGrid grid;
        grid.SetForegroundColor(0);
        grid.SetBackgroundColor(0xFFFFFF);
        QSignalSpy changed(&grid, &TColorGrid::Changed);
        QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(9).center());
        QCOMPARE(grid.ForegroundColor(), 0x0000FFu);
        QCOMPARE(grid.BackgroundColor(), 0xFFFFFFu);
        QTest::mouseClick(&grid, Qt::RightButton, {}, grid.CellRect(6).center());
        QCOMPARE(grid.BackgroundColor(), 0x808000u);
        QCOMPARE(grid.ForegroundIndex(), 9);
        QCOMPARE(changed.count(), 2);
        // Other buttons and clicks beside the squares change nothing.
        QTest::mouseClick(&grid, Qt::MiddleButton, {}, grid.CellRect(0).center());
        QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint(0, 0));
        QCOMPARE(grid.ForegroundIndex(), 9);
        QCOMPARE(changed.count(), 2);
    }

    void coloursOutsideThePaletteAreKeptUnmarked()
    {
        TColorGrid grid;
        QSignalSpy changed(&grid, &TColorGrid::Changed);
        grid.SetBackgroundColor(0x00D8D800);
        grid.SetForegroundColor(0x0000FFFF);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(grid.BackgroundIndex(), -1);
        QCOMPARE(grid.BackgroundColor(), 0x00D8D800u);
        QCOMPARE(grid.ForegroundIndex(), 11);

        // No square carries the background mark: white squares stay white in the middle.
        const QImage image = grid.grab().toImage();
        for (int i = 0; i < TColorGrid::ColorCount; ++i) {
            if (i == 11)
                continue;
            const QRect square = grid.CellRect(i).adjusted(2, 2, -2, -2);
            for (int y = square.top(); y <= square.bottom(); ++y)
                for (int x = square.left(); x <= square.right(); ++x)
                    QCOMPARE(image.pixelColor(x, y), ToQColor(TColorGrid::BasicColor(i)));
        }
    }

    void marksAreDrawnOnTheirSquares()
    {
        TColorGrid grid;
        grid.SetForegroundColor(0x000000);
        grid.SetBackgroundColor(0x000000);
        const QImage both = grid.grab().toImage();
        const QRect black = grid.CellRect(0).adjusted(2, 2, -2, -2);
        bool marked = false;
        for (int y = black.top(); y <= black.bottom(); ++y)
            for (int x = black.left(); x <= black.right(); ++x)
                marked |= both.pixelColor(x, y) != QColor(0, 0, 0);
        QVERIFY(marked);
    }

    void arrowKeysMoveTheForeground_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::newRow("right") << 5 << int(Qt::Key_Right) << 6;
        QTest::newRow("down") << 5 << int(Qt::Key_Down) << 9;
        QTest::newRow("up from the top row: first square") << 2 << int(Qt::Key_Up) << 0;
        QTest::newRow("down from the bottom row: last square") << 14 << int(Qt::Key_Down) << 15;
        QTest::newRow("from no mark") << -1 << int(Qt::Key_Left) << 0;
    }

    void arrowKeysMoveTheForeground()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        TColorGrid grid;
        grid.SetForegroundColor(from < 0 ? 0x00123456 : TColorGrid::BasicColor(from));
        QSignalSpy changed(&grid, &TColorGrid::Changed);
        QTest::keyClick(&grid, Qt::Key(key));
        QCOMPARE(grid.ForegroundIndex(), to);
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_MAIN(TestTColorGrid)
#include "tst_TColorGrid.moc"
