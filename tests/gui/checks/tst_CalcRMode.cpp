// The mode dialog of "R из шероховатости для всех ветвей".
#include "checks/TfrmCalcRMode.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

class tst_CalcRMode : public QObject {
    Q_OBJECT

private slots:
    void looks();
    void choice_data();
    void choice();
    void executeReturnsTheChoice();
};

void tst_CalcRMode::looks()
{
    TfrmCalcRMode dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Сопротивление"));
    QCOMPARE(dialog.rbAll->text(), QStringLiteral("Для всех ветвей"));
    QCOMPARE(dialog.rbZero->text(), QStringLiteral("Для ветвей с R=0"));
    QCOMPARE(dialog.btnOK->text(), QStringLiteral("ОК"));
    QCOMPARE(dialog.btnCancel->text(), QStringLiteral("Отмена"));
    QVERIFY(dialog.btnOK->isDefault());
    // The second choice is preselected.
    QVERIFY(dialog.rbZero->isChecked());
    QVERIFY(!dialog.rbAll->isChecked());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QString shot = qEnvironmentVariable("TARVEL_SCREENSHOT_DIR");
    if (!shot.isEmpty())
        dialog.grab().save(shot + "/calc_r_mode.png");
}

void tst_CalcRMode::choice_data()
{
    QTest::addColumn<bool>("pickAll");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("result");

    QTest::newRow("OK, preselected") << false << true << 1;
    QTest::newRow("OK, all branches") << true << true << 0;
    QTest::newRow("cancel") << true << false << -1;
}

void tst_CalcRMode::choice()
{
    QFETCH(bool, pickAll);
    QFETCH(bool, ok);
    QFETCH(int, result);

    TfrmCalcRMode dialog;
    dialog.show();
    if (pickAll)
        QTest::mouseClick(dialog.rbAll, Qt::LeftButton);
    QTest::mouseClick(ok ? dialog.btnOK : dialog.btnCancel, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Choice(), result);
}

void tst_CalcRMode::executeReturnsTheChoice()
{
    // Enter takes the default button.
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<TfrmCalcRMode *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->rbAll->setChecked(true);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QCOMPARE(TfrmCalcRMode::Execute(nullptr), 0);
    QTimer::singleShot(0, [] {
        auto *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QCOMPARE(TfrmCalcRMode::Execute(nullptr), -1);
}

QTEST_MAIN(tst_CalcRMode)
#include "tst_CalcRMode.moc"
