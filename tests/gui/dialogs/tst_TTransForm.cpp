// The transformation dialog driven like a user, in a Russian locale (decimal comma): the dial's
// angle from the pointer and Ctrl snapping, typing and stepping the angle, the boxes, "&ОК" on
// both pages and on the current node, its refusals, and the place remembered for the run.
#include "AppTestHooks.h"
#include "FakeDocumentHost.h"
#include "dialogs/TAngleDial.h"
#include "dialogs/TTransForm.h"
#include "dialogs/TUpDown.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

// Nodes 1 (1, 0, 5), 2 (0, 1, unset Z), 3 (unset X, 4, 2).
void threeNodes(TMine &mine)
{
    mine.AddUzel(1, 1, 0, 5);
    mine.AddUzel(2, 0, 1, kUnsetReal);
    mine.AddUzel(3, kUnsetReal, 4, 2);
}

QString xyz(const TUzel *u)
{
    auto text = [](float v) { return IsUnset(v) ? QStringLiteral("-") : QString::number(double(v), 'g', 6); };
    return text(u->X()) + u' ' + text(u->Y()) + u' ' + text(u->Z());
}

QStringList allXyz(const TMine &mine)
{
    QStringList list;
    for (const TUzel *u : mine.Uzels())
        list << xyz(u);
    return list;
}

void drag(TAngleDial *dial, QPoint offset, Qt::KeyboardModifiers modifiers)
{
    const QPoint at = dial->Centre() + offset;
    QTest::mousePress(dial, Qt::LeftButton, {}, dial->Centre());
    QMouseEvent move(QEvent::MouseMove, at, dial->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(dial, &move);
    QTest::mouseRelease(dial, Qt::LeftButton, {}, at);
}

} // namespace

class tst_TTransForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { TTransForm::ForgetPlacement(); }

    void snapDegrees_data()
    {
        QTest::addColumn<double>("degrees");
        QTest::addColumn<double>("snapped");
        QTest::newRow("7.6") << 7.6 << 10.0;
        QTest::newRow("6.4") << 6.4 << 5.0;
        QTest::newRow("3: zero has no side to go to") << 3.0 << 0.0;
        QTest::newRow("4") << 4.0 << 0.0;
        QTest::newRow("-7.6") << -7.6 << -10.0;
        QTest::newRow("12: remainder 2 goes up") << 12.0 << 15.0;
        QTest::newRow("177.6") << 177.6 << 180.0;
        QTest::newRow("-180") << -180.0 << -180.0;
    }

    void snapDegrees()
    {
        QFETCH(double, degrees);
        QFETCH(double, snapped);
        QCOMPARE(SnapDegrees(degrees), snapped);
    }

    void dialDrag_data()
    {
        QTest::addColumn<QPoint>("offset");   // from the dial's centre, y downwards
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<QString>("text");
        QTest::newRow("below") << QPoint(0, 20) << false << "180,00";
        QTest::newRow("left") << QPoint(-20, 0) << false << "90,00";
        QTest::newRow("right") << QPoint(20, 0) << false << "-90,00";
        QTest::newRow("above") << QPoint(0, -20) << false << "0,00";
        QTest::newRow("upper left") << QPoint(-30, -30) << false << "45,00";
        QTest::newRow("7.1 degrees") << QPoint(-5, -40) << false << "7,13";
        QTest::newRow("7.1 degrees, Ctrl") << QPoint(-5, -40) << true << "10,00";
    }

    void dialDrag()
    {
        QFETCH(QPoint, offset);
        QFETCH(bool, ctrl);
        QFETCH(QString, text);
        FakeDocumentHost host;
        TTransForm form(host);
        form.AngleEdit->setText(QStringLiteral("1e"));
        QVERIFY(!form.AngleBox->AngleValid());
        drag(form.AngleBox, offset, ctrl ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(form.AngleEdit->text(), text);
        QVERIFY(form.AngleValid());
        QVERIFY(form.AngleBox->AngleValid());
        QVERIFY(!form.AngleBox->Dragging());
        QVERIFY(qAbs(form.Angle() * DegreesPerRadian - QLocale().toDouble(text)) < 0.005);
    }

    void angleTypingAndStepping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");   // Qt::Key_Up, Key_Down, or 0 for the up arrow button
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<QString>("after");   // empty: refused
        QTest::newRow("arrow button") << "0,0" << 0 << false << "1";
        QTest::newRow("Down key") << "1" << int(Qt::Key_Down) << false << "0";
        QTest::newRow("Ctrl+Up") << "0,5" << int(Qt::Key_Up) << true << "0,6";
        QTest::newRow("Ctrl+Down below zero") << "0" << int(Qt::Key_Down) << true << "-0,1";
        QTest::newRow("incomplete exponent") << "1e" << int(Qt::Key_Up) << false << "";
    }

    void angleTypingAndStepping()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(bool, ctrl);
        QFETCH(QString, after);
        AppTestHooks hooks;
        FakeDocumentHost host;
        TTransForm form(host);
        QCOMPARE(form.AngleEdit->text(), QStringLiteral("0,0"));
        form.AngleEdit->clear();
        QTest::keyClicks(form.AngleEdit, typed);
        QCOMPARE(form.AngleBox->AngleValid(), !after.isEmpty());
        if (key)
            QTest::keyClick(form.AngleEdit, Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
        else
            form.AngleBtn->UpButton->click();
        if (after.isEmpty()) {
            QCOMPARE(hooks.texts(), QStringList{QStringLiteral("Неверно указано число")});
            QCOMPARE(form.AngleEdit->text(), typed);
            QVERIFY(!form.AngleValid());
            return;
        }
        QVERIFY(hooks.boxes.isEmpty());
        QCOMPARE(form.AngleEdit->text(), after);
        QVERIFY(qAbs(form.Angle() * DegreesPerRadian - QLocale().toDouble(after)) < 1e-9);
    }

    void leavingAFieldThatIsNoNumber()
    {
        AppTestHooks hooks;
        FakeDocumentHost host;
        TTransForm form(host);
        form.PageControl->setCurrentIndex(TTransForm::RotationPage);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.AngleEdit->setFocus();
        form.AngleEdit->setText(QStringLiteral("1e"));
        form.X0Edit->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(hooks.texts(), QStringList{QStringLiteral("Неверно указано число")});
        QVERIFY(form.AngleEdit->hasFocus());
        // Moving on to "О&тмена" is no leave: cancelling needs no number.
        form.btnCancel->setFocus(Qt::TabFocusReason);
        QTest::qWait(20);
        QCOMPARE(hooks.boxes.size(), 1);
    }

    void boxesAndCount()
    {
        FakeDocumentHost host;
        threeNodes(*host.doc.Mine());
        TTransForm form(host);
        QCOMPARE(form.windowTitle(), QStringLiteral("Трансформация"));
        QCOMPARE(form.PageControl->currentIndex(), int(TTransForm::ShiftScalePage));
        QCOMPARE(form.TransCountLabel->text(), QStringLiteral("Трансформируемых узлов: 3"));
        form.OnlySelectedBtn->setChecked(true);
        QCOMPARE(form.TransCountLabel->text(), QStringLiteral("Трансформируемых узлов: 1"));
        form.ScaleBox->setChecked(false);
        QVERIFY(!form.ScaleYEdit->isEnabled());
        QVERIFY(form.OffsetYEdit->isEnabled());
        QVERIFY(form.btnOK->isEnabled());
        form.OffsetBox->setChecked(false);
        QVERIFY(!form.OffsetYEdit->isEnabled());
        QVERIFY(!form.btnOK->isEnabled());
    }

    void transform_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("fields");   // sx sy sz dx dy dz, or angle x0 y0
        QTest::addColumn<bool>("scaleBox");
        QTest::addColumn<bool>("onlyCurrent");   // the current node is node 2
        QTest::addColumn<QStringList>("after");
        QTest::newRow("scale 2 2 1, shift 10 0 0")
            << 0 << QStringList{"2", "2", "1", "10", "0", "0"} << true << false
            << QStringList{"12 0 5", "10 2 -", "- 8 2"};
        QTest::newRow("factors unticked count as 1")
            << 0 << QStringList{"2", "2", "1", "10", "0", "0"} << false << false
            << QStringList{"11 0 5", "10 1 -", "- 4 2"};
        QTest::newRow("turn by 90 about the origin")
            << 1 << QStringList{"90", "0", "0"} << true << false
            << QStringList{"0 -1 5", "1 0 -", "- 4 2"};
        QTest::newRow("turn by -90 about (1, 1)")
            << 1 << QStringList{"-90", "1", "1"} << true << false
            << QStringList{"2 1 5", "1 0 -", "- 4 2"};
        QTest::newRow("current node only")
            << 0 << QStringList{"1", "1", "1", "0,5", "0", "0"} << true << true
            << QStringList{"1 0 5", "0.5 1 -", "- 4 2"};
    }

    void transform()
    {
        QFETCH(int, page);
        QFETCH(QStringList, fields);
        QFETCH(bool, scaleBox);
        QFETCH(bool, onlyCurrent);
        QFETCH(QStringList, after);
        AppTestHooks hooks;
        FakeDocumentHost host;
        TMine *mine = host.doc.Mine();
        threeNodes(*mine);
        mine->SelectUzel(mine->Uzels().Items(2));
        TTransForm form(host);
        form.PageControl->setCurrentIndex(page);
        const QList<QLineEdit *> edits =
            page == 0 ? QList<QLineEdit *>{form.ScaleXEdit, form.ScaleYEdit, form.ScaleZEdit,
                                           form.OffsetXEdit, form.OffsetYEdit, form.OffsetZEdit}
                      : QList<QLineEdit *>{form.AngleEdit, form.X0Edit, form.Y0Edit};
        for (int i = 0; i < edits.size(); ++i)
            edits[i]->setText(fields[i]);
        form.ScaleBox->setChecked(scaleBox);
        form.OnlySelectedBtn->setChecked(onlyCurrent);
        form.btnOK->click();
        QVERIFY(hooks.boxes.isEmpty());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(allXyz(*mine), after);
        QVERIFY(mine->Modified());
        QCOMPARE(host.confirms, 1);
        QCOMPARE(host.repaints, 1);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("onlyCurrent");
        QTest::addColumn<bool>("allowEdit");
        QTest::addColumn<QString>("message");   // empty: refused without a message
        const QString outOfRange = QStringLiteral("Координаты узлов после трансформации вышли бы за пределы "
                                                  "допустимых значений.\nУзлы не изменены.");
        QTest::newRow("scale Y not a number") << "ScaleYEdit" << "1e" << false << true << "Неверно указано число";
        QTest::newRow("offset Z empty") << "OffsetZEdit" << "" << false << true << "Неверно указано число";
        QTest::newRow("angle 1e") << "AngleEdit" << "1e" << false << true << "Неверно указано число";
        QTest::newRow("centre Y a minus") << "Y0Edit" << "-" << false << true << "Неверно указано число";
        // The largest single-precision number is 3.4e38.
        QTest::newRow("scaled X beyond single precision") << "ScaleXEdit" << "1e39" << false << true << outOfRange;
        QTest::newRow("shifted Y beyond it") << "OffsetYEdit" << "4e38" << false << true << outOfRange;
        // Y = 4 would become -777777, after rounding to single precision in the second row.
        const QString unset = QStringLiteral("Координаты узлов после трансформации совпали бы со значением "
                                             "«не задано» (−777777). Узлы не изменены.");
        QTest::newRow("shifted Y onto the unset marker") << "OffsetYEdit" << "-777781" << false << true << unset;
        QTest::newRow("rounded onto it") << "OffsetYEdit" << "-777781.01" << false << true << unset;
        QTest::newRow("no current node") << "" << "" << true << true
            << "Не выбран узел для трансформации.\nВыделите его строку в таблице узлов или выберите \"Вся шахта\".";
        QTest::newRow("results kept") << "" << "" << false << false << "";
    }

    void refusals()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, onlyCurrent);
        QFETCH(bool, allowEdit);
        QFETCH(QString, message);
        AppTestHooks hooks;
        FakeDocumentHost host;
        host.allowEdit = allowEdit;
        TMine *mine = host.doc.Mine();
        // The first node added is the current one; deleting it leaves none current.
        mine->AddUzel(99, 0, 0, 0);
        threeNodes(*mine);
        mine->Uzels().Delete(0);
        QVERIFY(!mine->CurUzel());
        TTransForm form(host);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const QMap<QString, QLineEdit *> edits{{"ScaleXEdit", form.ScaleXEdit}, {"ScaleYEdit", form.ScaleYEdit},
                                               {"OffsetYEdit", form.OffsetYEdit}, {"OffsetZEdit", form.OffsetZEdit},
                                               {"AngleEdit", form.AngleEdit}, {"Y0Edit", form.Y0Edit}};
        QLineEdit *edit = edits.value(field);
        if (edit) {
            const bool rotation = edit == form.AngleEdit || edit == form.Y0Edit;
            form.PageControl->setCurrentIndex(rotation ? TTransForm::RotationPage : TTransForm::ShiftScalePage);
            edit->setText(text);
        } else {
            form.OffsetXEdit->setText(QStringLiteral("5"));
        }
        form.OnlySelectedBtn->setChecked(onlyCurrent);
        form.btnOK->click();
        QCOMPARE(hooks.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(form.isVisible());
        if (message == QLatin1String("Неверно указано число"))
            QVERIFY(edit->hasFocus());
        QCOMPARE(allXyz(*mine), (QStringList{"1 0 5", "0 1 -", "- 4 2"}));
        QVERIFY(!mine->Modified());
        QCOMPARE(host.repaints, 0);
    }

    void placeAndPageRememberedForTheRun()
    {
        FakeDocumentHost host;
        QPoint place;
        {
            TTransForm form(host);
            form.show();
            form.PageControl->setCurrentIndex(TTransForm::RotationPage);
            form.move(123, 77);
            place = form.pos();
            form.btnCancel->click();
        }
        TTransForm again(host);
        QCOMPARE(again.PageControl->currentIndex(), int(TTransForm::RotationPage));
        QCOMPARE(again.pos(), place);
        QCOMPARE(again.AngleEdit->text(), QStringLiteral("0,0"));
        QVERIFY(again.WholeMineBtn->isChecked());
    }
};

QTEST_MAIN(tst_TTransForm)
#include "tst_TTransForm.moc"
