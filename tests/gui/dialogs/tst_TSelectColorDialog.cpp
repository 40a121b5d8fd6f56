// The colour picker: the palette's first-match lookup, its cell geometry, the panel kept on
// the screen, and choosing by a click, by the system dialog, or not at all.
#include "dialogs/ColorPalette.h"
#include "dialogs/TSelectColorDialog.h"

#include <QTimer>
#include <QToolButton>
#include <QtTest>

class tst_TSelectColorDialog : public QObject {
    Q_OBJECT
private slots:
    void lookup_data();
    void lookup();
    void cellAt_data();
    void cellAt();
    void placement_data();
    void placement();
    void choosing();
};

namespace {
quint32 Rgb(int r, int g, int b) { return quint32(r) | quint32(g) << 8 | quint32(b) << 16; }

// Runs work once the picker's modal loop is up.
void WhenShown(std::function<void(TSelectColorDialog *)> work)
{
    QTimer::singleShot(0, [work] { work(TSelectColorDialog::Instance()); });
}
} // namespace

void tst_TSelectColorDialog::lookup_data()
{
    QTest::addColumn<quint32>("color");
    QTest::addColumn<int>("column");   // 0: none
    QTest::addColumn<int>("row");
    QTest::newRow("black") << Rgb(0, 0, 0) << 1 << 1;
    QTest::newRow("green twice in a column: the upper") << Rgb(0, 255, 0) << 4 << 4;
    QTest::newRow("grey in two columns: the left") << Rgb(128, 128, 128) << 6 << 2;
    QTest::newRow("white") << Rgb(255, 255, 255) << 8 << 5;
    QTest::newRow("not in the palette") << Rgb(10, 20, 30) << 0 << 0;
}

void tst_TSelectColorDialog::lookup()
{
    QFETCH(quint32, color);
    QFETCH(int, column);
    QFETCH(int, row);
    const int index = ColorPalette::IndexOf(color);
    if (column == 0) {
        QCOMPARE(index, -1);
        return;
    }
    QCOMPARE(ColorPalette::ColumnOf(index), column);
    QCOMPARE(ColorPalette::RowOf(index), row);
    QCOMPARE(ColorPalette::ColorAt(column, row), color);
}

void tst_TSelectColorDialog::cellAt_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("index");
    // In the 144 x 91 area cells are 12 x 12, every 17 pixels from (5, 5).
    QTest::newRow("first cell") << QPoint(5, 5) << 0;
    QTest::newRow("above the grid") << QPoint(6, 4) << -1;
    QTest::newRow("column 2, row 1") << QPoint(22, 16) << 5;
    QTest::newRow("last cell") << QPoint(135, 84) << 39;
    QTest::newRow("right of the grid") << QPoint(141, 10) << -1;
    QTest::newRow("below the grid") << QPoint(10, 90) << -1;
}

void tst_TSelectColorDialog::cellAt()
{
    QFETCH(QPoint, point);
    QFETCH(int, index);
    const QSize area(144, 91);
    QCOMPARE(ColorPalette::CellRect(area, 8, 5), QRect(124, 73, 12, 12));
    QCOMPARE(ColorPalette::IndexAt(area, point), index);
}

void tst_TSelectColorDialog::placement_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QPoint>("placed");
    QTest::newRow("room enough") << QPoint(100, 100) << QPoint(100, 100);
    QTest::newRow("right edge") << QPoint(900, 100) << QPoint(850, 100);
    QTest::newRow("exactly reaching the right edge") << QPoint(850, 100) << QPoint(850, 100);
    QTest::newRow("bottom right") << QPoint(990, 700) << QPoint(850, 640);
}

void tst_TSelectColorDialog::placement()
{
    QFETCH(QPoint, point);
    QFETCH(QPoint, placed);
    QCOMPARE(ColorPalette::PlaceInside(point, QSize(150, 128), QRect(0, 0, 1000, 768)), placed);
}

void tst_TSelectColorDialog::choosing()
{
    TSelectColorDialog *picker = TSelectColorDialog::Instance();
    QCOMPARE(picker, TSelectColorDialog::Instance());
    QCOMPARE(picker->CurrentColor(), Rgb(0, 0, 0));
    QCOMPARE(picker->MarkedIndex(), 0);

    // A click on yellow (column 3, row 4) chooses it.
    quint32 color = Rgb(255, 255, 255);
    int marked = -2;
    WhenShown([&](TSelectColorDialog *d) {
        marked = d->MarkedIndex();
        QTest::mouseClick(d->PaletteArea, Qt::LeftButton, {},
                          ColorPalette::CellRect(d->PaletteArea->size(), 3, 4).center());
    });
    QVERIFY(picker->Execute(QPoint(10, 10), color));
    QCOMPARE(marked, ColorPalette::IndexOf(Rgb(255, 255, 255)));
    QCOMPARE(color, Rgb(255, 255, 0));

    // "Другие цвета ..." offers the current colour; its answer shows no mark next time.
    quint32 offered = 0;
    picker->PickOtherColor = [&](quint32 &c) {
        offered = c;
        c = Rgb(10, 20, 30);
        return true;
    };
    WhenShown([](TSelectColorDialog *d) { d->btnOther->click(); });
    QVERIFY(picker->Execute(QPoint(10, 10), color));
    QCOMPARE(offered, Rgb(255, 255, 0));
    QCOMPARE(color, Rgb(10, 20, 30));
    WhenShown([&](TSelectColorDialog *d) {
        marked = d->MarkedIndex();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QVERIFY(!picker->Execute(QPoint(10, 10), color));
    QCOMPARE(marked, -1);
    QCOMPARE(color, Rgb(10, 20, 30));

    // "X" closes without a choice, also when the system dialog was cancelled first.
    picker->PickOtherColor = [](quint32 &) { return false; };
    WhenShown([](TSelectColorDialog *d) {
        d->btnOther->click();
        d->btnCancel->click();
    });
    QVERIFY(!picker->Execute(QPoint(10, 10), color));
    QCOMPARE(color, Rgb(10, 20, 30));
}

QTEST_MAIN(tst_TSelectColorDialog)
#include "tst_TSelectColorDialog.moc"
