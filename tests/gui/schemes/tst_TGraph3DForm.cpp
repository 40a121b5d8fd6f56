// The 3D scheme window against a stand-in main window: refresh after the check, the choices
// written to the mine (with the colouring exclusions), the seam list, picks handed to the shell,
// following and letting go of documents, the remembered bounds.
#include "MineText.h"
#include "model/TLayer.h"
#include "model/TPLF.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/SchemeDrawing.h"
#include "schemes/TCustomMine3D.h"
#include "schemes/TGraph3DForm.h"
#include "schemes/TSchemeHost.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <memory>

namespace {

class FakeShell : public TSchemeHost {
public:
    TMine *active = nullptr;
    bool checkPasses = true;
    int checks = 0;
    QStringList picks;

    TMine *ActiveMine() override { return active; }
    bool CheckActiveCoordinates() override
    {
        ++checks;
        if (checkPasses && active)
            active->SetTopologyValid(true);
        return checkPasses && active;
    }
    void SchemeSelectedUzel(int index, TUzel *) override { picks << QStringLiteral("uzel %1").arg(index); }
    void SchemeSelectedBranch(int index, TBranch *) override { picks << QStringLiteral("branch %1").arg(index); }
};

void BuildMine(TMine &mine)
{
    minetext::Build(mine, QStringLiteral("u 1 0 0 0; u 2 100 0 0; u 3 100 0 60; b 1 1 2; b 2 2 3"));
    for (const char *name : {"Пласт k5", "Пласт l3"})
        (new TLayer(&mine))->SetName(QString::fromUtf8(name));
}

QString Checked(const QListWidget *list)
{
    QString out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            out += QString::number(i + 1);
    return out;
}

} // namespace

class tst_TGraph3DForm : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void refreshOnlyAfterTheCheck();
    void colouring_data();
    void colouring();
    void labelsAndNodes();
    void seamList();
    void planPositionListShowsEveryNameWhole();
    void picksGoToTheShell();
    void followsAndLetsGoOfDocuments();
    void boundsRememberedForTheRun();

private:
    FakeShell m_shell;
    std::unique_ptr<TMine> m_owned;
    TMine &mine() { return *m_owned; }
    QPointer<TGraph3DForm> m_form;
};

void tst_TGraph3DForm::init()
{
    m_owned = std::make_unique<TMine>();
    BuildMine(*m_owned);
    m_shell = FakeShell();
    m_shell.active = m_owned.get();
    m_form = new TGraph3DForm(&m_shell);
}

void tst_TGraph3DForm::cleanup()
{
    delete m_form;
    m_owned.reset();
}

void tst_TGraph3DForm::refreshOnlyAfterTheCheck()
{
    mine().SetTextInfo(2);
    mine().SetColorFlags(SchemeFlags::kGas2 | SchemeFlags::kPLFColors);
    mine().SetShowUzels(1);
    m_shell.checkPasses = false;
    QVERIFY(!m_form->Refresh());
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_form->Mine3D->Mine(), nullptr);

    m_shell.checkPasses = true;
    m_form->btnRefresh->click();
    QCOMPARE(m_shell.checks, 2);
    QVERIFY(m_form->isVisible());
    QApplication::setActiveWindow(m_form);
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QTest::keyClick(m_form, Qt::Key_F5);   // F5 is the refresh button's
    QCOMPARE(m_shell.checks, 3);
    QCOMPARE(m_form->Mine3D->Mine(), &mine());
    QCOMPARE(m_form->TextInfoButtons->checkedId(), 2);
    QCOMPARE(Checked(m_form->clbColors), QStringLiteral("24"));
    QVERIFY(m_form->ShowUzels->isChecked());
}

void tst_TGraph3DForm::colouring_data()
{
    QTest::addColumn<QList<int>>("clicks");   // item n ticks, -n clears (1-based)
    QTest::addColumn<QString>("checked");
    QTest::addColumn<int>("flags");

    QTest::newRow("seam colours clear plan colours") << QList<int>{4, 3} << "3" << 0x100;
    QTest::newRow("plan colours clear seam colours") << QList<int>{3, 4} << "4" << 0x200;
    QTest::newRow("zone 2 clears zone 1") << QList<int>{1, 2} << "2" << 0x2;
    QTest::newRow("one of each pair") << QList<int>{1, 4} << "14" << 0x201;
    QTest::newRow("cleared again") << QList<int>{1, -1} << "" << 0;
}

void tst_TGraph3DForm::colouring()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QString, checked);
    QFETCH(int, flags);
    QVERIFY(m_form->Refresh());
    for (int c : clicks)
        m_form->clbColors->item(std::abs(c) - 1)->setCheckState(c > 0 ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(Checked(m_form->clbColors), checked);
    QCOMPARE(int(mine().ColorFlags()), flags);
}

void tst_TGraph3DForm::labelsAndNodes()
{
    QVERIFY(m_form->Refresh());
    m_form->TextInfoButtons->button(1)->click();
    QCOMPARE(int(mine().TextInfo()), 1);
    m_form->ShowUzels->click();
    QCOMPARE(int(mine().ShowUzels()), 1);
}

void tst_TGraph3DForm::seamList()
{
    QVERIFY(m_form->Refresh());
    QApplication::setActiveWindow(m_form);
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    mine().Layers().Items(1)->SetVisible(false);
    m_form->btnLayers->click();
    QListWidget *list = m_form->lbLayers;
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Пласт k5"));
    QCOMPARE(Checked(list), QStringLiteral("1"));
    list->item(0)->setCheckState(Qt::Unchecked);
    QVERIFY(!mine().Layers().Items(0)->Visible());

    QTest::keyClick(list, Qt::Key_Escape);   // closes the list, not the window
    QVERIFY(!list->isVisible());
    QVERIFY(m_form->isVisible());
    QCOMPARE(QApplication::focusWidget(), m_form->btnLayers);

    m_form->btnLayers->click();
    QVERIFY(list->isVisible());
    QTest::mouseClick(m_form->Mine3D, Qt::LeftButton, {}, QPoint(200, 200));   // the scheme is clicked
    QVERIFY(!list->isVisible());
}

void tst_TGraph3DForm::planPositionListShowsEveryNameWhole()
{
    for (const char *name : {"ПЛА-1: южное крыло, вентиляционный штрек пласта k5", "ПЛА-2", "ПЛА-3"})
        (new TPLF(&mine()))->SetName(QString::fromUtf8(name));
    m_form->resize(600, 400);
    QVERIFY(m_form->Refresh());
    m_form->btnPLF->click();
    QListWidget *list = m_form->lbPLFs;
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 3);
    // Every row whole: the longest name with its check box in the list, no bar covering a row.
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    QVERIFY(!list->verticalScrollBar()->isVisible());
    for (int i = 0; i < list->count(); ++i)
        QVERIFY2(list->visualItemRect(list->item(i)).bottom() < list->viewport()->height(), qPrintable(list->item(i)->text()));
    // What the toolkit says the longest row needs: its check box, the name and the margins.
    const int need = list->sizeHintForColumn(0);
    QVERIFY2(list->viewport()->width() >= need, qPrintable(QStringLiteral("%1 for %2").arg(list->viewport()->width()).arg(need)));
}

void tst_TGraph3DForm::picksGoToTheShell()
{
    m_form->resize(600, 500);
    QVERIFY(m_form->Refresh());
    m_form->Mine3D->repaint();
    const TUzel *node = mine().Uzels().Find(3);
    const double f = mine().FitFactor();
    const QPoint at = m_form->Mine3D->ScreenOrigin()
                      + QPoint(TMine::Nearest(node->ProjX() * f), -TMine::Nearest(node->ProjY() * f));
    QTest::mouseClick(m_form->Mine3D, Qt::LeftButton, {}, at);
    QTest::mouseClick(m_form->Mine3D, Qt::LeftButton, {}, at + QPoint(0, 10));
    QCOMPARE(m_shell.picks, (QStringList{"uzel 3", "branch 2"}));
}

void tst_TGraph3DForm::followsAndLetsGoOfDocuments()
{
    QVERIFY(m_form->Refresh());
    TMine other;
    BuildMine(other);
    other.SetTopologyValid(true);
    other.SetTextInfo(1);
    m_form->AttachMine(&other);
    QCOMPARE(m_form->Mine3D->Mine(), &other);
    QCOMPARE(m_form->TextInfoButtons->checkedId(), 1);
    QCOMPARE(mine().Scheme(), nullptr);
    m_form->DetachMine(&mine());   // not the one shown: nothing happens
    QCOMPARE(m_form->Mine3D->Mine(), &other);
    m_form->DetachMine(&other);
    QCOMPARE(m_form->Mine3D->Mine(), nullptr);
    QCOMPARE(other.Scheme(), nullptr);
}

void tst_TGraph3DForm::boundsRememberedForTheRun()
{
    QCOMPARE(m_form->size(), QSize(410, 325));
    QVERIFY(m_form->Refresh());
    // The narrowest window still shows the longest colouring item whole.
    const QListWidget *colors = m_form->clbColors;
    QVERIFY(colors->visualItemRect(colors->item(3)).right() < colors->viewport()->width());
    m_form->setGeometry(150, 160, 500, 400);
    m_form->close();   // destroys the window
    QTRY_VERIFY(m_form.isNull());
    QCOMPARE(mine().Scheme(), nullptr);
    m_form = new TGraph3DForm(&m_shell);
    QCOMPARE(m_form->geometry(), QRect(150, 160, 500, 400));
}

QTEST_MAIN(tst_TGraph3DForm)
#include "tst_TGraph3DForm.moc"
