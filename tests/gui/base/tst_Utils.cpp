// Shared input and colour helpers: number keys, the invalid-number error, colour arithmetic and
// conversion, drop-down widths, pressure units and the table font's row height.
#include "AppError.h"
#include "base/Utils.h"

#include <QComboBox>
#include <QAbstractItemView>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QtTest>

class TestUtils : public QObject {
    Q_OBJECT

private slots:
    void filterNumberKey_data()
    {
        QTest::addColumn<QChar>("key");
        QTest::addColumn<bool>("real");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<bool>("admitted");
        QTest::newRow("digit") << QChar(u'7') << false << "" << true;
        QTest::newRow("backspace") << QChar(8) << false << "" << true;
        QTest::newRow("letter") << QChar(u'a') << false << "" << false;
        QTest::newRow("minus refused") << QChar(u'-') << true << "" << false;
        QTest::newRow("minus as extra") << QChar(u'-') << false << "-" << true;
        QTest::newRow("exponent of integer") << QChar(u'E') << false << "" << false;
        QTest::newRow("exponent of real") << QChar(u'e') << true << "" << true;
        QTest::newRow("plus of real") << QChar(u'+') << true << "" << true;
        QTest::newRow("Cyrillic letter") << QChar(u'ж') << true << "" << false;
        QTest::newRow("space") << QChar(u' ') << true << "" << false;
    }

    void filterNumberKey()
    {
        QFETCH(QChar, key);
        QFETCH(bool, real);
        QFETCH(QString, extra);
        QFETCH(bool, admitted);
        QCOMPARE(FilterNumberKey(key, real, extra), admitted ? key : QChar(0));
    }

    void decimalSeparatorFollowsTheLocale()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QCOMPARE(FilterNumberKey(u',', true), QChar(u','));
        QCOMPARE(FilterNumberKey(u',', false), QChar(0));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(FilterNumberKey(u'.', true), QChar(u'.'));
        QCOMPARE(FilterNumberKey(u',', true), QChar(0));
        QLocale::setDefault(saved);
    }

    void keyFilterDiscardsRefusedKeysOnly()
    {
        QLineEdit edit;
        InstallNumberKeyFilter(&edit, false);
        QTest::keyClicks(&edit, QStringLiteral("1a2-3"));
        QCOMPARE(edit.text(), QStringLiteral("123"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QCOMPARE(edit.text(), QStringLiteral("2"));
    }

    void invalidNumberError()
    {
        try {
            RaiseInvalidNumber();
            QFAIL("no error raised");
        } catch (const AppError &e) {
            QCOMPARE(e.message(), QStringLiteral("Неверно указано число"));
        }
    }

    void shiftColor_data()
    {
        QTest::addColumn<quint32>("color");
        QTest::addColumn<int>("amount");
        QTest::addColumn<quint32>("shifted");
        QTest::newRow("white darker") << 0x00FFFFFFu << -20 << 0x00EBEBEBu;
        QTest::newRow("clamped at 0") << 0x000A1E32u << -20 << 0x00000A1Eu;
        QTest::newRow("clamped at 255") << 0x00F0FF10u << 20 << 0x00FFFF24u;
        QTest::newRow("high byte dropped") << 0x12000000u << 1 << 0x00010101u;
    }

    void shiftColor()
    {
        QFETCH(quint32, color);
        QFETCH(int, amount);
        QFETCH(quint32, shifted);
        QCOMPARE(ShiftColor(color, amount), shifted);
    }

    void invertColor_data()
    {
        QTest::addColumn<quint32>("color");
        QTest::addColumn<quint32>("inverted");
        QTest::newRow("black") << 0u << 0x00FFFFFFu;
        QTest::newRow("navy") << 0x00800000u << 0x007FFFFFu;
        QTest::newRow("olive-ish") << 0x00123456u << 0x00EDCBA9u;
    }

    void invertColor()
    {
        QFETCH(quint32, color);
        QFETCH(quint32, inverted);
        QCOMPARE(InvertColor(color), inverted);
        QCOMPARE(InvertColor(inverted), color);
    }

    void colourConversionKeepsRedInTheLowByte()
    {
        QCOMPARE(ToQColor(0x000000FF), QColor(255, 0, 0));
        QCOMPARE(ToQColor(0x00D8D800), QColor(0, 216, 216));
        QCOMPARE(FromQColor(QColor(0, 0, 128)), 0x00800000u);
        QCOMPARE(FromQColor(ToQColor(0x00123456)), 0x00123456u);
    }

    void pressureUnits()
    {
        QCOMPARE(AtToPa(1.0), 98066.5);
        QCOMPARE(PaToAt(AtToPa(2.5)), 2.5);
        QCOMPARE(PaToAt(1e6), 1e6 / 98066.5);
    }

    void dropDownFitsTheWidestItem()
    {
        QComboBox box;
        box.resize(60, 24);
        box.addItems({QStringLiteral("a"), QStringLiteral("Позиции ПЛА очень длинное имя")});
        const QFontMetrics fm(box.font());
        const int widest = fm.horizontalAdvance(QStringLiteral("Позиции ПЛА очень длинное имя"));
        const int few = FitDropDownWidth(&box, 32);
        QVERIFY(few >= widest + 32 + 5);
        QCOMPARE(box.view()->minimumWidth(), few);
        QCOMPARE(box.width(), 60);

        // More items than the drop-down shows: room for the scroll bar as well.
        box.setMaxVisibleItems(2);
        box.addItem(QStringLiteral("b"));
        const int many = FitDropDownWidth(&box, 32);
        QCOMPARE(many - few, box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box));
    }

    void rowHeightFromFontSize_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("rowHeight");
        QTest::newRow("8 pt at 96 dpi") << 8 << 96 << 18;    // 10.67 px rounds to 11
        QTest::newRow("10 pt at 96 dpi") << 10 << 96 << 20;
        QTest::newRow("8 pt at 120 dpi") << 8 << 120 << 20;
        QTest::newRow("size 0 falls back to 8 pt") << 0 << 96 << 18;
    }

    void rowHeightFromFontSize()
    {
        QFETCH(int, points);
        QFETCH(int, dpi);
        QFETCH(int, rowHeight);
        QImage device(10, 10, QImage::Format_RGB32);
        device.setDotsPerMeterY(qRound(dpi / 0.0254));
        QCOMPARE(CellRowHeight(CellFont(QStringLiteral("MS Sans Serif"), points), &device), rowHeight);
    }

    void windowsFontNamesAreKept()
    {
        const QFont font = CellFont(QStringLiteral("Times New Roman"), 12);
        QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(font.pointSize(), 12);
        // The old dialog font resolves to the installed face of Arial's metrics (the set-up
        // scripts install fonts-liberation), not to the wide desktop default.
        const QFont dialog = CellFont(QStringLiteral("MS Sans Serif"), 8);
        QCOMPARE(dialog.family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(QFontInfo(dialog).family(), QStringLiteral("Liberation Sans"));
    }
};

QTEST_MAIN(TestUtils)
#include "tst_Utils.moc"
