// Cell texts, edit texts and applying typed values of the stopping and people tables, without
// widgets: formats per column and material, metres or percent, the pressure unit, the user's
// decimal separator, and the invalid-number error.
#include "AppError.h"
#include "editor/StoppingCells.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "settings/TConfig.h"
#include "TestConfig.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace SC = StoppingColumns;
namespace PC = PeopleColumns;

class TestStoppingCells : public QObject {
    Q_OBJECT

    TMine *mine = nullptr;
    TBranch *measured = nullptr;     // 1 -> 2, 80 m long
    TBranch *unmeasured = nullptr;   // ends not resolved: no length

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        NewTestConfig();
        mine = new TMine;
        mine->AddUzel(1, 0, 0, 0);
        mine->AddUzel(2, 0, 80, 0);
        measured = mine->AddBranch(10, 1, 2, QString(), 4);
        unmeasured = mine->AddBranch(11, 5, 6, QString(), 4);
        mine->ResolveIncidence();
    }
    void cleanup()
    {
        delete mine;
        DropTestConfig();
        QLocale::setDefault(QLocale::c());
    }

    void cellTexts_data()
    {
        QTest::addColumn<int>("material");
        QTest::addColumn<double>("thickness");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("edit");
        QTest::newRow("rigid: one decimal, edit the whole metres") << 9 << 0.75 << "0.8" << "0";
        QTest::newRow("rigid thick") << 4 << 2.25 << "2.3" << "2";
        QTest::newRow("sail: every digit, edit two decimals") << 11 << 0.0025 << "0.0025" << "0.00";
        QTest::newRow("КПБ") << 14 << 0.125 << "0.125" << "0.13";
        QTest::newRow("last rigid after the flexible group") << 15 << 0.125 << "0.1" << "0";
    }
    void cellTexts()
    {
        QFETCH(int, material);
        QFETCH(double, thickness);
        TJumper j(measured);
        j.SetMaterial(quint8(material));
        j.SetThickness(thickness);
        QFETCH(QString, cell);
        QFETCH(QString, edit);
        QCOMPARE(StoppingCellText(j, SC::Thickness), cell);
        QCOMPARE(StoppingEditText(j, SC::Thickness), edit);
    }

    void valueColumns()
    {
        TJumper j(measured);
        j.SetPosition(0.25);
        j.SetResistanceValue(1, 0.123456);
        j.SetResistanceValue(2, 2);
        j.SetBreakPressure(1.5);
        j.SetDoors(2);
        j.SetCutIn(true);
        QCOMPARE(StoppingCellText(j, SC::Position), QStringLiteral("20.0 м"));
        QCOMPARE(StoppingEditText(j, SC::Position), QStringLiteral("20.0"));
        QCOMPARE(StoppingCellText(j, SC::Resistance), QStringLiteral("0.12346"));
        QCOMPARE(StoppingCellText(j, SC::ReverseResistance), QStringLiteral("2.00000"));
        QCOMPARE(StoppingCellText(j, SC::BreakPressure), QStringLiteral("1.500"));
        QCOMPARE(StoppingCellText(j, SC::Doors), QStringLiteral("Двойные"));
        QCOMPARE(StoppingCellText(j, SC::CutIn), QStringLiteral("Да"));
        QCOMPARE(StoppingCellText(j, SC::Vent), QStringLiteral("Нет"));
        QCOMPARE(StoppingCellText(j, SC::Material), QStringLiteral("Чураковая"));
        QCOMPARE(StoppingCellText(j, SC::Opening), QStringLiteral("Нет"));
        // H and Q only while measured; their edit text always.
        QCOMPARE(StoppingCellText(j, SC::Flow), QString());
        QCOMPARE(StoppingEditText(j, SC::Flow), QStringLiteral("0.0"));
        j.SetMeasurement(1, 50);
        j.SetMeasurement(2, 5);
        QCOMPARE(StoppingCellText(j, SC::Depression), QStringLiteral("50.0"));
        QCOMPARE(StoppingCellText(j, SC::Flow), QStringLiteral("5.0"));
        QCOMPARE(StoppingCellText(j, SC::Resistance), QStringLiteral("2.00000"));

        TJumper k(unmeasured);
        k.SetPosition(0.5);
        QCOMPARE(StoppingCellText(k, SC::Position), QStringLiteral("50.0 %"));
        QCOMPARE(StoppingEditText(k, SC::Position), QStringLiteral("50.0"));
    }

    void pressureUnit()
    {
        TJumper j(measured);
        j.SetBreakPressure(1);
        QCOMPARE(StoppingHeader(SC::BreakPressure), QStringLiteral("P разр.\r\nАт"));
        Config->PressureMode = 1;
        QCOMPARE(StoppingHeader(SC::BreakPressure), QStringLiteral("P разр.\r\nМПа"));
        QCOMPARE(StoppingCellText(j, SC::BreakPressure), QStringLiteral("0.098"));
        ApplyStoppingEdit(j, SC::BreakPressure, QStringLiteral("0.2"));
        QCOMPARE(j.BreakPressure(), 0.2 * 1e6 / 98066.5);
        Config->PressureMode = 0;
        ApplyStoppingEdit(j, SC::BreakPressure, QStringLiteral("3.5"));
        QCOMPARE(j.BreakPressure(), 3.5);
    }

    void applyTyped_data()
    {
        QTest::addColumn<bool>("withLength");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("position");
        QTest::newRow("metres") << true << "20" << 0.25;
        QTest::newRow("percent") << false << "20" << 0.2;
        QTest::newRow("beyond the end clamps") << true << "500" << 1.0;
        QTest::newRow("zero") << false << "0" << 0.0;
    }
    void applyTyped()
    {
        QFETCH(bool, withLength);
        TJumper j(withLength ? measured : unmeasured);
        j.SetPosition(0.5);
        QFETCH(QString, text);
        QFETCH(double, position);
        ApplyStoppingEdit(j, SC::Position, text);
        QCOMPARE(j.Position(), position);
    }

    void measurementAndResistance()
    {
        TJumper j(measured);
        ApplyStoppingEdit(j, SC::Depression, QStringLiteral("50"));
        ApplyStoppingEdit(j, SC::Flow, QStringLiteral("5"));
        QVERIFY(j.Measured());
        QCOMPARE(j.Resistance(), 2.0);
        ApplyStoppingEdit(j, SC::Resistance, QStringLiteral("0.5"));
        QVERIFY(!j.Measured());
        QCOMPARE(StoppingCellText(j, SC::Depression), QString());
        QCOMPARE(StoppingCellText(j, SC::Flow), QString());
        QCOMPARE(j.Resistance(), 0.5);
    }

    // Confirming what the editor showed keeps the value, not its rounded text.
    void untouchedTextKeepsTheValue()
    {
        TJumper j(measured);
        j.SetFlow(1.234);
        j.SetThickness(0.75);
        j.SetBreakPressure(1);
        Config->PressureMode = 1;
        ApplyStoppingEdit(j, SC::Flow, StoppingEditText(j, SC::Flow));
        QVERIFY(j.Measured());
        QCOMPARE(j.Flow(), 1.234);
        ApplyStoppingEdit(j, SC::Thickness, StoppingEditText(j, SC::Thickness));
        QCOMPARE(j.Thickness(), 0.75);
        ApplyStoppingEdit(j, SC::BreakPressure, StoppingEditText(j, SC::BreakPressure));
        QCOMPARE(j.BreakPressure(), 1.0);
    }

    void invalidNumbers_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty thickness") << int(SC::Thickness) << "";
        QTest::newRow("letters") << int(SC::Flow) << "abc";
        QTest::newRow("two separators") << int(SC::Resistance) << "1.2.3";
        QTest::newRow("overflow") << int(SC::BreakPressure) << "1e999";
    }
    void invalidNumbers()
    {
        QFETCH(int, column);
        TJumper j(measured);
        j.SetThickness(1);
        j.SetFlow(2);
        j.SetResistanceValue(1, 3);
        j.SetBreakPressure(4);
        QFETCH(QString, text);
        try {
            ApplyStoppingEdit(j, column, text);
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.message(), QStringLiteral("Неверно указано число"));
        }
        QCOMPARE(j.Thickness(), 1.0);
        QCOMPARE(j.Flow(), 2.0);
        QVERIFY(!j.Measured());
        QCOMPARE(j.Resistance(), 3.0);
        QCOMPARE(j.BreakPressure(), 4.0);
    }

    void userDecimalSeparator()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        TJumper j(measured);
        ApplyStoppingEdit(j, SC::Thickness, QStringLiteral("1,5"));
        QCOMPARE(j.Thickness(), 1.5);
        QCOMPARE(StoppingCellText(j, SC::Thickness), QStringLiteral("1,5"));
        j.SetPosition(0.5);
        QCOMPARE(StoppingCellText(j, SC::Position), QStringLiteral("40,0 м"));
        // Long numbers carry no group separator.
        j.SetResistanceValue(2, 12345.5);
        QCOMPARE(StoppingCellText(j, SC::ReverseResistance), QStringLiteral("12345,50000"));
    }

    void people()
    {
        TPeopleInfo p(measured);
        QCOMPARE(PersonCellText(p, PC::Site), QString());
        QCOMPARE(PersonEditText(p, PC::Site), QStringLiteral("0"));
        ApplyPersonEdit(p, PC::TabNumber, QStringLiteral("1234"));
        ApplyPersonEdit(p, PC::Site, QStringLiteral("7"));
        ApplyPersonEdit(p, PC::FullName, QStringLiteral("Иванов И.И."));
        ApplyPersonEdit(p, PC::JobTitle, QStringLiteral("горный мастер"));
        QCOMPARE(p.TabNumber(), 1234);
        QCOMPARE(PersonCellText(p, PC::Site), QStringLiteral("7"));
        QCOMPARE(PersonCellText(p, PC::FullName), QStringLiteral("Иванов И.И."));
        QCOMPARE(PersonCellText(p, PC::JobTitle), QStringLiteral("горный мастер"));
        QVERIFY_THROWS_EXCEPTION(AppError, ApplyPersonEdit(p, PC::Site, QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(AppError,
                                 ApplyPersonEdit(p, PC::TabNumber, QStringLiteral("99999999999")));
        QCOMPARE(p.Site(), 7);
        QCOMPARE(p.TabNumber(), 1234);
    }

    void headersAndWidths()
    {
        const int widths[] = {30, 41, 62, 37, 37, 34, 40, 60, 57, 52, 54, 48, 43, 50};
        for (int c = 0; c < SC::Count; ++c)
            QCOMPARE(StoppingColumnWidth(c), widths[c]);
        QCOMPARE(StoppingHeader(SC::Depression), QStringLiteral("H замер.\r\nмм вод.ст."));
        QCOMPARE(PersonHeader(PC::TabNumber), QStringLiteral("Табельн.\r\nномер"));
        QCOMPARE(PersonColumnWidth(PC::JobTitle), 122);
        QCOMPARE(StoppingChoiceItems(SC::Material).size(), 21);
        QCOMPARE(StoppingChoiceItems(SC::Opening).last(), QStringLiteral("Произвольный"));
    }

    // Data cells take the desktop's colours: selection for the current cell, window otherwise;
    // a row without an element draws only its background.
    void drawingColours()
    {
        TJumper j(measured);
        j.SetCaption(QStringLiteral("П-1"));
        QImage image(60, 20, QImage::Format_RGB32);
        const QPalette palette = QGuiApplication::palette();
        const QRect rect(0, 0, 60, 20);
        auto draw = [&](const TJumper *jumper, bool selected) {
            image.fill(Qt::black);
            QPainter p(&image);
            TGridDrawState state;
            state.Selected = selected;
            DrawStoppingCell(jumper, p, SC::Caption, state, Qt::black, Qt::gray, rect, 1);
        };
        auto inked = [&](QColor background) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixelColor(x, y) != background)
                        return true;
            return false;
        };
        draw(&j, true);
        QCOMPARE(image.pixelColor(1, 1), palette.color(QPalette::Highlight));
        QVERIFY(inked(palette.color(QPalette::Highlight)));
        draw(&j, false);
        QCOMPARE(image.pixelColor(1, 1), palette.color(QPalette::Base));
        draw(nullptr, false);
        QVERIFY(!inked(palette.color(QPalette::Base)));
    }
};

QTEST_MAIN(TestStoppingCells)
#include "tst_StoppingCells.moc"
