// The 3D scheme window inside the real main window: the scheme command and its check, picks
// moving the document's table rows, "Перейти на схему" marking the stopping, and the window
// following the active document and letting go of one that closes.
#include "AppTestHooks.h"
#include "MineText.h"
#include "app/TChildForm.h"
#include "settings/TConfig.h"
#include "app/TMainForm.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/TCustomMine3D.h"
#include "schemes/TGraph3DForm.h"
#include "schemes/TIncidGraphForm.h"
#include "schemes/TIncidentGraph.h"
#include "TestConfig.h"
#include "MainFormFixture.h"

#include <QAction>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>
#include <memory>

class tst_TMainFormSchemes : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void failedCheckShowsNoScheme();
    void picksMoveTheTableRows();
    void goToSchemeMarksTheStopping();
    void followsTheActiveDocument();
    void incidenceFollowsTablesAndScheme();
    void incidenceFollowsDocuments();

private:
    TChildForm *open(const QString &text)
    {
        TChildForm *child = m_form->CreateChild();
        minetext::Build(*child->Mine(), text);
        child->RefreshTables();
        child->Mine()->SetModified(false);
        return child;
    }
    void scheme()
    {
        m_form->UpdateActions();
        m_form->actGraph3D->trigger();
    }
    // Where the control draws a node.
    QPoint at(const TUzel *n) const
    {
        const TCustomMine3D *c = m_form->Graph3DForm()->Mine3D;
        const double f = n->Mine()->FitFactor();
        return c->ScreenOrigin() + QPoint(TMine::Nearest(n->ProjX() * f), -TMine::Nearest(n->ProjY() * f));
    }

    std::unique_ptr<TMainForm> m_form;
};

static const char *kMine = "u 1 0 0 0; u 2 100 0 0; u 3 100 0 60; b 1 1 2 4; b 2 2 3 4; b 3 3 1 4";

void tst_TMainFormSchemes::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    NewTestConfig();
}

void tst_TMainFormSchemes::cleanupTestCase()
{
    DropTestConfig();
}

void tst_TMainFormSchemes::init()
{
    QVERIFY(ShowMainForm(m_form, QSize(1000, 700)));
}

void tst_TMainFormSchemes::cleanup()
{
    for (TChildForm *child : m_form->Children())
        child->Mine()->SetModified(false);
    m_form.reset();
}

void tst_TMainFormSchemes::failedCheckShowsNoScheme()
{
    TChildForm *child = open(QStringLiteral("u 1 0 0 0; u 2 100 0 0; b 1 1 2; b 2 2 9"));
    scheme();
    QVERIFY(m_form->Graph3DForm());
    QVERIFY(!m_form->Graph3DForm()->isVisible());
    QCOMPARE(child->Mine()->Scheme(), nullptr);
    QVERIFY(child->lbMessages->count() > 0);
}

void tst_TMainFormSchemes::picksMoveTheTableRows()
{
    TChildForm *child = open(QString::fromLatin1(kMine));
    scheme();
    TGraph3DForm *window = m_form->Graph3DForm();
    QVERIFY(window && window->isVisible());
    window->Mine3D->repaint();
    TMine *mine = child->Mine();
    const TUzel *n3 = mine->Uzels().Find(3);
    QTest::mouseClick(window->Mine3D, Qt::LeftButton, {}, at(n3));
    QCOMPARE(child->Tables->UzelGrid->CurrentRow(), 2);
    QCOMPARE(mine->CurUzel(), n3);
    // The scheme's refresh (F5) runs the check, which refreshes the tables: the node stays current.
    QVERIFY(window->Refresh());
    QCOMPARE(int(mine->SelKind()), 0);
    QCOMPARE(mine->CurUzel(), n3);
    QCOMPARE(window->Mine3D->RotationCenterX(), 100.0f);
    QTest::mouseClick(window->Mine3D, Qt::LeftButton, {}, at(n3) + QPoint(0, 10));   // on branch 2
    QCOMPARE(child->Tables->BranchGrid->CurrentRow(), 1);
    QCOMPARE(mine->CurBranch(), mine->Branches().Find(2));
    QVERIFY(!child->Tables->SchemeSync);
}

void tst_TMainFormSchemes::goToSchemeMarksTheStopping()
{
    TChildForm *child = open(QString::fromLatin1(kMine));
    TMine *mine = child->Mine();
    auto *j = new TJumper(mine->Branches().Find(1), 0.25);
    child->RefreshTables();
    child->pnlJumpers->RefreshStoppings();
    QVERIFY(child->pnlJumpers->actGoToScheme->isEnabled());
    child->pnlJumpers->actGoToScheme->trigger();
    QVERIFY(m_form->Graph3DForm() && m_form->Graph3DForm()->isVisible());
    QCOMPARE(int(mine->SelKind()), 2);
    QCOMPARE(mine->CurJumper(), j);
    // The view turns about the stopping's place: a quarter of the way from node 1 to node 2.
    QCOMPARE(m_form->Graph3DForm()->Mine3D->RotationCenterX(), 25.0f);
    // The check refreshes the tables, which keeps the stopping current.
    QVERIFY(child->CheckCoordinates(false));
    QCOMPARE(int(mine->SelKind()), 2);
    QCOMPARE(mine->CurJumper(), j);
}

void tst_TMainFormSchemes::followsTheActiveDocument()
{
    TChildForm *first = open(QString::fromLatin1(kMine));
    scheme();
    TGraph3DForm *window = m_form->Graph3DForm();
    QCOMPARE(window->Mine3D->Mine(), first->Mine());
    TChildForm *second = open(QString::fromLatin1(kMine));
    QApplication::processEvents();
    QCOMPARE(window->Mine3D->Mine(), second->Mine());
    TMine *gone = second->Mine();
    second->CloseWithoutQuestion();
    QApplication::processEvents();
    QVERIFY(window->Mine3D->Mine() != gone);
    m_form->Workspace()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
    QApplication::processEvents();
    QCOMPARE(window->Mine3D->Mine(), first->Mine());
    QCOMPARE(first->Mine()->Scheme(), static_cast<IMineScheme *>(window->Mine3D));
}

void tst_TMainFormSchemes::incidenceFollowsTablesAndScheme()
{
    using IncidenceScheme::TMode;
    TChildForm *child = open(QString::fromLatin1(kMine));
    m_form->UpdateActions();
    m_form->actIncidGraph->trigger();
    TIncidGraphForm *window = m_form->IncidGraphForm();
    QVERIFY(window && window->isVisible());
    TIncidentGraph *graph = window->IncidentGraph;
    QCOMPARE(graph->Mine(), child->Mine());
    child->Tables->UzelGrid->SetCurrentCell({.Row = 2, .Column = 0});
    QCOMPARE(graph->Mode(), TMode::Uzel);
    QCOMPARE(graph->CenterUzel(), 3);
    child->Tables->BranchGrid->SetCurrentCell({.Row = 1, .Column = 0});
    QCOMPARE(graph->Mode(), TMode::Branch);
    QCOMPARE(graph->CenterBranch(), 2);

    // A branch picked on the 3D scheme.
    child->Tables->UzelGrid->SetCurrentCell({.Row = 1, .Column = 0});
    scheme();
    m_form->Graph3DForm()->Mine3D->repaint();
    QTest::mouseClick(m_form->Graph3DForm()->Mine3D, Qt::LeftButton, {}, at(child->Mine()->Uzels().Find(3)) + QPoint(0, 10));
    QCOMPARE(graph->Mode(), TMode::Branch);
    QCOMPARE(graph->CenterBranch(), 2);

    // The left fan of branch 2 (from node 2) holds branch 1; its disc leads to node 1.
    (void)graph->grab();
    IncidenceScheme::TLayout layout;
    IncidenceScheme::Layout(*child->Mine(), TMode::Branch, 2, graph->width(), graph->height(), layout);
    QCOMPARE(layout.Spokes.front().Branch->Number(), 1);
    QTest::mouseClick(graph, Qt::LeftButton, {}, layout.Spokes.front().End);
    QCOMPARE(graph->Mode(), TMode::Uzel);
    QCOMPARE(graph->CenterUzel(), 1);
    QCOMPARE(child->Mine()->CurUzel()->Number(), 1);
    QCOMPARE(child->Tables->UzelGrid->CurrentRow(), 0);
    QVERIFY(child->UzelTableFocused());
}

void tst_TMainFormSchemes::incidenceFollowsDocuments()
{
    TChildForm *first = open(QString::fromLatin1(kMine));
    m_form->UpdateActions();
    m_form->actIncidGraph->trigger();
    QPointer<TIncidGraphForm> window = m_form->IncidGraphForm();
    TChildForm *second = open(QString::fromLatin1(kMine));
    QApplication::processEvents();
    QCOMPARE(window->IncidentGraph->Mine(), second->Mine());
    second->CloseWithoutQuestion();
    QApplication::processEvents();
    QCOMPARE(window->IncidentGraph->Mine(), first->Mine());
    // Another document whose check fails closes the window; its findings are in its list.
    TChildForm *broken = open(QStringLiteral("u 1 0 0 0; u 1 5 0 0; u 2 9 0 0; b 1 1 2"));
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
    QVERIFY(broken->lbMessages->count() > 0);
}

QTEST_MAIN(tst_TMainFormSchemes)
#include "tst_TMainFormSchemes.moc"
