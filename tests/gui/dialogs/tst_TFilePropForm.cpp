// The document properties dialog driven like a user, in a Russian locale (decimal comma): the
// pressure units and the changed marks, the checks of "&OK" with their messages and focus, the
// results question, what is written, and the column boxes against the column layout.
#include "AppTestHooks.h"
#include "FakeDocumentHost.h"
#include "dialogs/FilePropRules.h"
#include "dialogs/TFilePropForm.h"
#include "model/TMine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QtTest>

using namespace FileProp;

namespace {

// Replaces the field's text by typing, as the user does (through the key filter).
void retype(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

} // namespace

class tst_TFilePropForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void pressureConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("converted");   // empty: refused
        QTest::newRow("736 mm Hg in water") << "736" << 1 << "10005,4";
        QTest::newRow("back to mercury") << "10005,4" << 0 << "736,0";
        QTest::newRow("point taken too") << "10000.0" << 0 << "735,6";
        QTest::newRow("lone minus") << "-" << 1 << "";
        QTest::newRow("two separators") << "7,3,6" << 1 << "";
    }

    void pressureConversion()
    {
        QFETCH(QString, text);
        QFETCH(int, to);
        QFETCH(QString, converted);
        const auto target = TAirPressureUnit(to);
        const auto source = TAirPressureUnit(1 - to);
        QString out;
        QCOMPARE(ConvertPressureText(text, source, target, out), !converted.isEmpty());
        QCOMPARE(out, converted);
    }

    void columnBoxes_data()
    {
        QTest::addColumn<int>("untick");   // box unticked, -1 none
        QTest::addColumn<QList<int>>("hidden");
        QTest::newRow("X and Y as one") << int(cbXY) << QList<int>{1, 2, 11, 12};
        QTest::newRow("comment") << int(cbComment) << QList<int>{11, 12, 14};
        // Kinds 11 and 12 go hidden even when the file had them shown; 18 keeps its state.
        QTest::newRow("nothing") << -1 << QList<int>{11, 12};
    }

    void columnBoxes()
    {
        QFETCH(int, untick);
        QFETCH(QList<int>, hidden);
        TNodeColumns uzels = TMineDocument::DefaultNodeColumns();
        TBranchColumns branches = TMineDocument::DefaultBranchColumns();
        for (TColumnDesc &c : branches)
            c.Shown = c.Kind != 18;   // 11 and 12 shown, plan position hidden
        ColumnBoxes boxes = BoxesFromColumns(uzels, branches);
        if (untick >= 0)
            boxes[untick] = false;
        ColumnsFromBoxes(boxes, uzels, branches);
        QList<int> got;
        for (const TColumnDesc &c : uzels)
            if (!c.Shown)
                got << c.Kind;
        for (const TColumnDesc &c : branches)
            if (!c.Shown && c.Kind != 18)
                got << c.Kind;
        std::sort(got.begin(), got.end());
        QCOMPARE(got, hidden);
        QVERIFY(!branches.back().Shown);
    }

    void xyBoxShowsTheLaterColumn()
    {
        TNodeColumns uzels = TMineDocument::DefaultNodeColumns();
        uzels[1].Shown = false;   // X hidden, Y (later) shown
        QVERIFY(BoxesFromColumns(uzels, TMineDocument::DefaultBranchColumns())[cbXY]);
        std::swap(uzels[1], uzels[2]);   // X now after Y
        QVERIFY(!BoxesFromColumns(uzels, TMineDocument::DefaultBranchColumns())[cbXY]);
    }

    void okChecks_data()
    {
        QTest::addColumn<bool>("pressure");   // the field typed into: pressure, else temperature
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("error");   // empty: accepted
        QTest::newRow("760 mm Hg") << true << "760" << "";
        QTest::newRow("700 mm Hg") << true << "700" << "";
        QTest::newRow("690 mm Hg") << true << "690"
            << "Указанное значение давления (690 мм рт. ст = 0,9 атм)\nвыходит за рамки от 0,95 атм до 1,05 атм.";
        QTest::newRow("pressure not a number") << true << "7,6,0" << "Ошибка при вводе величины давления в шахте.";
        QTest::newRow("-60 °C") << false << "-60" << "";
        QTest::newRow("60 °C") << false << "60" << "";
        QTest::newRow("-61 °C") << false << "-61"
            << "Указанное значение температуры (-61,0°C) выходит за рамки от -60°C до 60°C";
        QTest::newRow("61 °C") << false << "61"
            << "Указанное значение температуры (61,0°C) выходит за рамки от -60°C до 60°C";
        QTest::newRow("decimal °C") << false << "20,5" << "Ошибка при вводе средней температуры воздуха в шахте.";
        QTest::newRow("empty °C") << false << "" << "Ошибка при вводе средней температуры воздуха в шахте.";
    }

    void okChecks()
    {
        QFETCH(bool, pressure);
        QFETCH(QString, typed);
        QFETCH(QString, error);
        AppTestHooks hooks;
        hooks.answers << QMessageBox::Yes;   // the results question
        FakeDocumentHost host;
        TMine *mine = host.doc.Mine();
        TFilePropForm form(host);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QLineEdit *field = pressure ? form.edPressure : form.edTemperature;
        retype(field, typed);
        form.PageControl->setCurrentIndex(1);
        form.btnOK->click();
        if (error.isEmpty()) {
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QVERIFY(hooks.errors().isEmpty());
            if (pressure)
                QCOMPARE(mine->Pressure(), float(typed.toDouble() / 735.6));
            else
                QCOMPARE(mine->Temperature(), typed.toInt());
            QVERIFY(mine->Modified());
            return;
        }
        QCOMPARE(hooks.errors().size(), 1);
        QCOMPARE(hooks.errors()[0].text, error);
        QVERIFY(form.isVisible());
        QCOMPARE(form.PageControl->currentIndex(), 0);
        QVERIFY(field->hasFocus());
        QCOMPARE(mine->Temperature(), 20);
        QCOMPARE(mine->Pressure(), 1.0f);
        QVERIFY(!mine->Modified());
    }

    void unitChangeAndChangedMark_data()
    {
        QTest::addColumn<QString>("typed");   // empty: not typed into
        QTest::addColumn<QString>("shown");   // the text after switching to mm of water
        QTest::addColumn<float>("stored");
        QTest::newRow("converted, not typed: stored value kept") << "" << "10005,4" << 1.0f;
        QTest::newRow("typed, then converted: the typed value") << "760" << "10331,7" << 1.03317f;
    }

    void unitChangeAndChangedMark()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(float, stored);
        AppTestHooks hooks;
        hooks.answers << QMessageBox::Yes;
        FakeDocumentHost host;
        TFilePropForm form(host);
        QCOMPARE(form.edPressure->text(), QStringLiteral("736"));
        if (!typed.isEmpty())
            retype(form.edPressure, typed);
        form.cbPressureUnit->setCurrentIndex(1);
        QCOMPARE(form.edPressure->text(), shown);
        QCOMPARE(form.ShownUnit(), TAirPressureUnit::MmWater);
        QCOMPARE(form.PressureChanged(), !typed.isEmpty());
        form.btnOK->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(host.doc.Mine()->Pressure(), stored);
    }

    void unitChangeRefusesANonNumber()
    {
        AppTestHooks hooks;
        FakeDocumentHost host;
        TFilePropForm form(host);
        retype(form.edPressure, QStringLiteral("-"));
        form.cbPressureUnit->setCurrentIndex(1);
        QCOMPARE(hooks.texts(), QStringList{QStringLiteral("Неверно указана величина давления")});
        QCOMPARE(form.cbPressureUnit->currentIndex(), 0);
        QCOMPARE(form.edPressure->text(), QStringLiteral("-"));
        // An empty field changes nothing but the box.
        retype(form.edPressure, QString());
        form.cbPressureUnit->setCurrentIndex(1);
        QCOMPARE(form.ShownUnit(), TAirPressureUnit::MmHg);
        QCOMPARE(hooks.boxes.size(), 1);
    }

    void resultsQuestion_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("asked");
        QTest::newRow("nothing") << "" << false;
        QTest::newRow("name and notes") << "title" << false;
        QTest::newRow("same temperature typed") << "temperature 20" << false;
        QTest::newRow("temperature") << "temperature 21" << true;
        QTest::newRow("speed slider alone") << "speed" << true;
        QTest::newRow("method") << "method" << true;
        QTest::newRow("auto-update interval") << "iterations" << false;
    }

    void resultsQuestion()
    {
        QFETCH(QString, change);
        QFETCH(bool, asked);
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            AppTestHooks hooks;
            hooks.answers << answer;
            FakeDocumentHost host;
            TMine *mine = host.doc.Mine();
            mine->SetTitle(QStringLiteral("Северная"));
            mine->SetModified(false);
            TFilePropForm form(host);
            if (change == QLatin1String("title")) {
                form.edTitle->setText(QStringLiteral("Южная"));
                form.mmNotes->setPlainText(QStringLiteral("один\nдва\n"));
            } else if (change.startsWith(QLatin1String("temperature"))) {
                retype(form.edTemperature, change.section(u' ', 1));
            } else if (change == QLatin1String("speed")) {
                form.tbBoomSpeed->setValue(25);
                QCOMPARE(form.lbBoomSpeed->text(), QStringLiteral("Скорость потока, инициирующая взрыв: 25 м/с"));
            } else if (change == QLatin1String("method")) {
                form.cbCalcMethod->setCurrentIndex(1);
            } else if (change == QLatin1String("iterations")) {
                form.tbAutoUpdate->setValue(120);
                QCOMPARE(form.cbAutoUpdate->text(), QStringLiteral("Автообновление схемы: каждые 120 итераций"));
            }
            form.btnOK->click();
            const bool written = !asked || answer == QMessageBox::Yes;
            QCOMPARE(hooks.boxes.size(), asked ? 1 : 0);
            QCOMPARE(form.result() == QDialog::Accepted, written);
            QCOMPARE(host.clears, asked && answer == QMessageBox::Yes ? 1 : 0);
            QCOMPARE(mine->Modified(), written);
            if (!written) {
                QCOMPARE(host.doc.BoomSpeed(), 10.0f);
                QCOMPARE(host.layouts, 0);
                continue;
            }
            QCOMPARE(host.layouts, 1);
            QCOMPARE(host.captions, 1);
            if (change == QLatin1String("title")) {
                QCOMPARE(mine->Title(), QStringLiteral("Южная"));
                QCOMPARE(host.doc.Notes(), (QStringList{QStringLiteral("один"), QStringLiteral("два")}));
            }
            if (change == QLatin1String("speed"))
                QCOMPARE(host.doc.BoomSpeed(), 25.0f);
            if (change == QLatin1String("iterations"))
                QCOMPARE(host.doc.AutoUpdateIterations(), 120);
        }
    }

    void unknownMethodKept()
    {
        AppTestHooks hooks;
        FakeDocumentHost host;
        host.doc.SetCalcMethod(7);
        TFilePropForm form(host);
        form.btnOK->click();
        QVERIFY(hooks.boxes.isEmpty());
        QCOMPARE(host.doc.CalcMethod(), quint8(7));
    }

    void columnBoxesWrittenOnOk()
    {
        AppTestHooks hooks;
        FakeDocumentHost host;
        TFilePropForm form(host);
        QVERIFY(!form.ColumnBox[cbUzelNumber]->isEnabled());
        QVERIFY(form.ColumnBox[cbXY]->isChecked());
        form.ColumnBox[cbXY]->setChecked(false);
        form.btnOK->click();
        for (const TColumnDesc &c : host.doc.NodeColumns())
            QCOMPARE(c.Shown, c.Kind == 0 || c.Kind == 3);
        QCOMPARE(host.layouts, 1);
    }

    void defaultColumnsAtOnceEvenWhenCancelled()
    {
        FakeDocumentHost host;
        TNodeColumns uzels = host.doc.NodeColumns();
        std::swap(uzels[1], uzels[3]);
        uzels[3].Shown = false;
        host.doc.SetNodeColumns(uzels);
        TFilePropForm form(host);
        QVERIFY(!form.ColumnBox[cbXY]->isChecked());   // X, now last, is hidden
        form.btnDefault->click();
        QVERIFY(form.ColumnBox[cbXY]->isChecked());
        QCOMPARE(host.layouts, 1);
        form.btnCancel->click();
        for (int i = 0; i < TColumnDesc::kNodeColumnCount; ++i) {
            QCOMPARE(int(host.doc.NodeColumns()[i].Kind), i);
            QVERIFY(host.doc.NodeColumns()[i].Shown);
        }
        QVERIFY(!host.doc.Mine()->Modified());
    }

    // The keyboard gets past the notes: Tab goes on to the fields below, Shift+Tab back to the
    // name; Ctrl+Tab writes a tab into the notes.
    void tabLeavesTheNotes()
    {
        FakeDocumentHost host;
        TFilePropForm form(host);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.mmNotes->setFocus();
        QList<QWidget *> reached;
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget();
        }
        for (QWidget *field : std::initializer_list<QWidget *>{form.edTemperature, form.edPressure, form.tbBoomSpeed,
                                                                form.tbAutoUpdate, form.tbSaveIterations})
            QVERIFY(reached.contains(field));
        QVERIFY(form.mmNotes->toPlainText().isEmpty());

        form.mmNotes->setFocus();
        QTest::keyClick(form.mmNotes, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), form.edTitle);

        form.mmNotes->setFocus();
        QTest::keyClicks(form.mmNotes, QStringLiteral("a"));
        QTest::keyClick(form.mmNotes, Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClicks(form.mmNotes, QStringLiteral("b"));
        QCOMPARE(form.mmNotes->toPlainText(), QStringLiteral("a\tb"));
        QCOMPARE(QApplication::focusWidget(), form.mmNotes);
    }
};

QTEST_MAIN(tst_TFilePropForm)
#include "tst_TFilePropForm.moc"
