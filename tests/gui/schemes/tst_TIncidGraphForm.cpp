// The incidence scheme window against a stand-in document window: refresh after the stage-1
// check (a failure closes the window), the element shown by where the document's focus is, the
// background when there is no current element, clicks moving the document's tables, letting go
// of a document, the label choice and the remembered bounds.
#include "MineText.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/TIncidHost.h"
#include "schemes/TIncidGraphForm.h"
#include "schemes/TIncidentGraph.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPushButton>
#include <QtTest>
#include <memory>

using IncidenceScheme::TMode;

namespace {

class FakeDocument : public QObject, public TIncidHost {
public:
    TMine mine;
    bool checkPasses = true;
    bool uzelFocused = false;
    QStringList rows;

    FakeDocument() { minetext::Build(mine, QStringLiteral("u 1 0 0 0; u 2 0 0 0; u 3 0 0 0; b 7 1 2; b 8 2 3")); }
    TMine *Mine() const override { return const_cast<TMine *>(&mine); }
    bool CheckTopology(bool keepPanel) override
    {
        rows << QStringLiteral("check %1").arg(keepPanel);
        return checkPasses;
    }
    bool UzelTableFocused() const override { return uzelFocused; }
    void ShowBranchRow(int index) override { rows << QStringLiteral("branch row %1").arg(index); }
    void ShowUzelRow(int index) override { rows << QStringLiteral("node row %1").arg(index); }
    QObject *HostObject() override { return this; }
};

void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class tst_TIncidGraphForm : public QObject {
    Q_OBJECT

private slots:
    void refreshShowsTheCurrentElementOfTheFocusedTable();
    void failedCheckClosesTheWindow();
    void noCurrentElementShowsTheBackground();
    void clicksMoveTheTables();
    void letsGoOfItsDocument();
    void labelChoiceAndBounds();
};

void tst_TIncidGraphForm::refreshShowsTheCurrentElementOfTheFocusedTable()
{
    FakeDocument doc;
    TIncidGraphForm form;
    doc.mine.SelectUzel(doc.mine.Uzels().Find(2));
    doc.mine.SelectBranch(doc.mine.Branches().Find(8));
    QVERIFY(form.SetDocument(&doc));
    QCOMPARE(doc.rows, QStringList{"check 0"});
    QCOMPARE(form.IncidentGraph->Mine(), &doc.mine);
    QCOMPARE(form.IncidentGraph->Mode(), TMode::Branch);
    QCOMPARE(form.IncidentGraph->CenterBranch(), 8);
    doc.uzelFocused = true;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F5);
    QCOMPARE(form.IncidentGraph->Mode(), TMode::Uzel);
    QCOMPARE(form.IncidentGraph->CenterUzel(), 2);
    // The tables and the 3D scheme steer it, for its own mine only.
    form.ShowBranch(&doc.mine, 7);
    QCOMPARE(form.IncidentGraph->CenterBranch(), 7);
    TMine other;
    form.ShowUzel(&other, 3);
    QCOMPARE(form.IncidentGraph->Mode(), TMode::Branch);
}

void tst_TIncidGraphForm::failedCheckClosesTheWindow()
{
    FakeDocument doc;
    doc.checkPasses = false;
    QPointer<TIncidGraphForm> form = new TIncidGraphForm;
    form->show();
    QVERIFY(!form->SetDocument(&doc));
    Settle();
    QVERIFY(form.isNull());
}

void tst_TIncidGraphForm::noCurrentElementShowsTheBackground()
{
    FakeDocument doc;
    TIncidGraphForm form;
    doc.mine.Branches().Delete(0);   // the current branch
    doc.mine.Branches().Delete(0);
    form.SetDocument(&doc);
    QCOMPARE(form.IncidentGraph->Mode(), TMode::Branch);
    (void)form.IncidentGraph->grab();
    QVERIFY(!form.IncidentGraph->LayoutValid());
}

void tst_TIncidGraphForm::clicksMoveTheTables()
{
    FakeDocument doc;
    TIncidGraphForm form;
    form.SetDocument(&doc);
    form.IncidentGraph->setFixedSize(300, 180);   // the star of node 2: branch 7 right, 8 left
    form.IncidentGraph->ShowUzel(2);
    (void)form.IncidentGraph->grab();
    doc.rows.clear();
    QTest::mouseClick(form.IncidentGraph, Qt::LeftButton, {}, QPoint(70, 90));
    QCOMPARE(doc.mine.CurUzel()->Number(), 3);
    (void)form.IncidentGraph->grab();
    QTest::mouseClick(form.IncidentGraph, Qt::LeftButton, {}, QPoint(200, 90));
    QCOMPARE(doc.rows, (QStringList{"node row 3", "branch row 2"}));
}

void tst_TIncidGraphForm::letsGoOfItsDocument()
{
    TIncidGraphForm form;
    auto doc = std::make_unique<FakeDocument>();
    form.SetDocument(doc.get());
    QVERIFY(form.btnRefresh->isEnabled());
    form.SetDocument(nullptr);
    QCOMPARE(form.IncidentGraph->Mine(), nullptr);
    QVERIFY(!form.btnRefresh->isEnabled());
    form.SetDocument(doc.get());
    doc.reset();   // gone without a word
    QCOMPARE(form.Document(), nullptr);
    QCOMPARE(form.IncidentGraph->Mine(), nullptr);
    QVERIFY(!form.btnRefresh->isEnabled());
}

void tst_TIncidGraphForm::labelChoiceAndBounds()
{
    QCOMPARE(TIncidGraphForm::RememberedBounds(), QRect(200, 50, 310, 200));
    auto *form = new TIncidGraphForm;
    QCOMPARE(form->geometry(), QRect(200, 50, 310, 200));
    form->TextInfoButtons->button(1)->click();
    QCOMPARE(form->IncidentGraph->LabelMode(), 1);
    form->show();
    form->setGeometry(230, 60, 400, 260);
    QPointer<TIncidGraphForm> guard = form;
    form->btnClose->click();
    Settle();
    QVERIFY(guard.isNull());
    TIncidGraphForm next;
    QCOMPARE(next.geometry(), QRect(230, 60, 400, 260));
    QCOMPARE(next.IncidentGraph->LabelMode(), 0);
}

QTEST_MAIN(tst_TIncidGraphForm)
#include "tst_TIncidGraphForm.moc"
