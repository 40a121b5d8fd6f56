// The topology check inside a real document window of the main window: the message panel and
// what its lines lead to, the stage rules for the panel, cursor and status bar, the hanging-and-
// isolated-elements window against a document that closes, and both resistance commands.
#include "AppError.h"
#include "AppTestHooks.h"
#include "MineText.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "checks/TIsolForm.h"
#include "checks/TMessagePanel.h"
#include "checks/TfrmCalcRMode.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTableModel.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "TestConfig.h"
#include "MainFormFixture.h"

#include <QAction>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(TErrorInfo)

class tst_TChildFormChecks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void failingCheckShowsPanel();
    void stagePanelRule_data();
    void stagePanelRule();
    void emptyRowsDeletedAndTablesRefreshed();
    void statusAndCursorDuringStages();
    void openEditorClosedBeforeCheck();
    void failureInsideStageLeavesNoTrace();
    void followReference_data();
    void followReference();
    void hideButtonThenViewCommand();
    void isolWindowLeadsToRowsAndDiesWithDocument();
    void isolWindowFollowsAnotherDocument();
    void makeAllRWithBadTopology();
    void makeAllROnValidMine_data();
    void makeAllROnValidMine();
    void makeRCurrentBranch();

private:
    void build(const QString &text)
    {
        minetext::Build(*m_child->Mine(), text);
        m_child->RefreshTables();
        m_child->Mine()->SetModified(false);
    }
    // As the user would: the enabling rules are evaluated first (the program does it when idle).
    void trigger(QAction *action)
    {
        m_form->UpdateActions();
        QVERIFY(action->isEnabled());
        action->trigger();
    }
    // The press first: the synthetic double click alone does not make the view take the row.
    static void doubleClick(QListWidget *list, int row)
    {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    TMessagePanel *panel() const { return m_child->pnlMessages; }
    TNetworkTables *tables() const { return m_child->Tables; }
    // Answers the next mode dialog with item (or cancels it with -1) once it is on screen.
    void answerModeDialog(int item);
    void shot(QWidget *w, const char *name);
    // The check must leave no trace of itself in the frame.
    void verifyClean();

    std::unique_ptr<TMainForm> m_form;
    TChildForm *m_child = nullptr;
    bool m_modeDialogSeen = false;
};

// A mine that passes all three stages: a triangle 1-2-3 with square workings of 4 m² on its
// 100 m side and two others.
static const char *kValid = "u 1 0 0 0; u 2 100 0 0; u 3 100 50 0;"
                            "b 1 1 2 4; b 2 2 3 4; b 3 3 1 4";

void tst_TChildFormChecks::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    NewTestConfig();
}

void tst_TChildFormChecks::cleanupTestCase()
{
    m_form.reset();
    DropTestConfig();
}

void tst_TChildFormChecks::init()
{
    QVERIFY(ShowMainForm(m_form, QSize(1000, 700)));
    m_child = m_form->CreateChild();
    QVERIFY(m_child);
    if (auto *sub = qobject_cast<QMdiSubWindow *>(m_child->parentWidget()))
        sub->showMaximized();
    QApplication::processEvents();
}

void tst_TChildFormChecks::cleanup()
{
    if (TIsolForm *isol = TIsolForm::Instance())
        delete isol;
    if (m_child)
        m_child->Mine()->SetModified(false);
    m_form.reset();
    m_child = nullptr;
}

void tst_TChildFormChecks::shot(QWidget *w, const char *name)
{
    const QString dir = qEnvironmentVariable("TARVEL_SHOT_DIR");
    if (!dir.isEmpty())
        w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

void tst_TChildFormChecks::verifyClean()
{
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(!m_form->IsStatusTextShown());
}

void tst_TChildFormChecks::answerModeDialog(int item)
{
    m_modeDialogSeen = false;
    QTimer::singleShot(0, this, [this, item] {
        auto *dialog = qobject_cast<TfrmCalcRMode *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        m_modeDialogSeen = true;
        // The second choice comes preselected.
        QVERIFY(dialog->rbZero->isChecked());
        shot(dialog, "mode_dialog");
        if (item < 0) {
            dialog->btnCancel->click();
            return;
        }
        (item == 0 ? dialog->rbAll : dialog->rbZero)->setChecked(true);
        dialog->btnOK->click();
    });
}

void tst_TChildFormChecks::failingCheckShowsPanel()
{
    // Node 2 has no Y, node 3 no Z: stage 2 lists both and the panel comes up.
    build("u 1 0 0 0; u 2 10 - 0; u 3 5 5 -; b 1 1 2; b 2 2 3; b 3 3 1 \"Уклон\"");
    QVERIFY(!m_child->IsMessagePanelVisible());
    trigger(m_form->actCheckTopology);
    QVERIFY(m_child->IsMessagePanelVisible());
    QCOMPARE(panel()->Texts(), QStringList({
        QStringLiteral("Обнаружены узлы без указанных коодинат:"),
        QStringLiteral("  - № 2,  X=10.0,  Y=,  Z=0.0"),
        QStringLiteral("  - № 3,  X=5.0,  Y=5.0,  Z="),
    }));
    QVERIFY(!panel()->MessageInfo(0));
    QCOMPARE(panel()->MessageInfo(1), std::optional<TErrorInfo>(TErrorInfo{13, 2}));
    QCOMPARE(panel()->MessageInfo(2), std::optional<TErrorInfo>(TErrorInfo{13, 3}));
    QVERIFY(!m_child->Mine()->TopologyValid());
    verifyClean();

    // The panel stands below the stopping panel at its first height, with its splitter handle.
    QApplication::processEvents();
    QSplitter *split = m_child->MainSplit;
    const int index = split->indexOf(panel());
    QCOMPARE(index, split->count() - 1);
    QVERIFY(split->indexOf(m_child->pnlJumpers) < index);
    QVERIFY(!split->handle(index)->isHidden());
    QCOMPARE(split->handle(index)->objectName(), QStringLiteral("JumperSplit"));
    QCOMPARE(panel()->height(), TMessagePanel::kInitialHeight);
    QCOMPARE(panel()->lbMessages->visualItemRect(panel()->lbMessages->item(1)).height(),
             TMessagePanel::kLineHeight);
    QCOMPARE(panel()->btnHideMessages->size(), QSize(11, 11));
    QCOMPARE(panel()->btnHideMessages->toolTip(), QStringLiteral("Убрать сообщения"));
    shot(m_form.get(), "message_panel");
}

void tst_TChildFormChecks::stagePanelRule_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<int>("stage");      // 1 topology, 2 coordinates, 3 physics
    QTest::addColumn<bool>("keepPanel");
    QTest::addColumn<bool>("shownBefore");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<bool>("shownAfter");

    QTest::newRow("clean run hides") << kValid << 3 << false << true << true << false;
    QTest::newRow("clean run keeps") << kValid << 3 << true << true << true << true;
    QTest::newRow("clean run keeps hidden") << kValid << 3 << true << false << true << false;
    QTest::newRow("stage 1 alone hides") << kValid << 1 << false << true << true << false;
    QTest::newRow("stage 2 alone hides") << kValid << 2 << false << true << true << false;
    // Early end of stage 1 (no branches at all): shown whatever KeepPanel says.
    QTest::newRow("early end shows") << "u 1 0 0 0" << 1 << true << false << false << true;
    // A loop is found at the normal end of stage 1.
    QTest::newRow("loop shows") << "u 1 0 0 0; u 2 1 0 0; b 1 1 2; b 2 2 2" << 1 << false << false
                                << false << true;
    // Failing stage 1 stops the later stages before they run.
    QTest::newRow("physics stops at stage 1") << "u 1 0 0 0; u 1 1 1 1; b 1 1 1" << 3 << false
                                              << false << false << true;
}

void tst_TChildFormChecks::stagePanelRule()
{
    QFETCH(QString, mine);
    QFETCH(int, stage);
    QFETCH(bool, keepPanel);
    QFETCH(bool, shownBefore);
    QFETCH(bool, passed);
    QFETCH(bool, shownAfter);
    build(mine);
    m_child->ShowMessages(shownBefore);
    bool result = false;
    switch (stage) {
    case 1: result = m_child->CheckTopology(keepPanel); break;
    case 2: result = m_child->CheckCoordinates(keepPanel); break;
    default: result = m_child->CheckPhysics(keepPanel); break;
    }
    QCOMPARE(result, passed);
    QCOMPARE(m_child->IsMessagePanelVisible(), shownAfter);
    QCOMPARE(m_child->Mine()->TopologyValid(), passed && stage >= 2);
    if (passed)
        QCOMPARE(panel()->MessageCount(), 0);
    verifyClean();
}

void tst_TChildFormChecks::emptyRowsDeletedAndTablesRefreshed()
{
    build(kValid);
    m_child->Mine()->AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
    m_child->Mine()->AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
    m_child->Mine()->AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
    m_child->RefreshTables();
    m_child->Mine()->SetModified(false);
    QCOMPARE(tables()->BranchGrid->model()->rowCount(), 5);

    QVERIFY(m_child->CheckPhysics(false));
    QCOMPARE(panel()->Texts(), QStringList({QStringLiteral("Удалено пустых узлов: 1"),
                                            QStringLiteral("Удалено пустых ветвей: 2")}));
    QCOMPARE(panel()->lbMessages->currentRow(), 0);
    QCOMPARE(tables()->UzelGrid->model()->rowCount(), 3);
    QCOMPARE(tables()->BranchGrid->model()->rowCount(), 3);
    QVERIFY(m_child->IsModified());
    // Nothing found beyond the deletions: the panel stays hidden.
    QVERIFY(!m_child->IsMessagePanelVisible());
}

void tst_TChildFormChecks::statusAndCursorDuringStages()
{
    build(kValid);
    QStringList seen;
    QStatusBar *bar = m_form->statusBar();
    connect(bar, &QStatusBar::messageChanged, this, [&seen](const QString &text) {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        const bool busy = cursor && cursor->shape() == Qt::WaitCursor;
        seen << (text.isEmpty() ? QStringLiteral("-") : text + (busy ? QStringLiteral(" [busy]") : QString()));
    });
    trigger(m_form->actCheckTopology);
    disconnect(bar, &QStatusBar::messageChanged, this, nullptr);
    // Each stage names its steps under the hourglass and gives the bar back when it ends.
    QCOMPARE(seen, QStringList({
        QStringLiteral("Проверка топологии шахты [busy]"), QStringLiteral("-"),
        QStringLiteral("Проверка наличия координат [busy]"), QStringLiteral("-"),
        QStringLiteral("Проверка физических характеристик [busy]"),
        QStringLiteral("Проверка инцидентностей узлов [busy]"), QStringLiteral("-"),
    }));
    verifyClean();
}

void tst_TChildFormChecks::openEditorClosedBeforeCheck()
{
    // Node 3 has no Z yet; the user is typing it when the check starts.
    build("u 1 0 0 0; u 2 100 0 0; u 3 100 50 -; b 1 1 2 4; b 2 2 3 4; b 3 3 1 4");
    TNetworkGrid *uzels = tables()->UzelGrid;
    uzels->setFocus();
    QApplication::processEvents();
    uzels->SetCurrentCell({.Row = 2, .Column = uzels->TableModel()->ColumnOfKind(3)});
    QTest::keyClick(QApplication::focusWidget(), '7');
    QVERIFY(uzels->IsEditing());
    QVERIFY(m_child->CheckPhysics(false));
    QVERIFY(!uzels->IsEditing());
    QCOMPARE(m_child->Mine()->Uzels().Items(3)->Z(), 7.0f);
    QVERIFY(m_child->Mine()->TopologyValid());
}

void tst_TChildFormChecks::failureInsideStageLeavesNoTrace()
{
    AppTestHooks hooks;
    build(kValid);
    m_child->Mine()->AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
    m_child->RefreshTables();
    // The deletion of the empty row marks the mine modified; what reacts to that fails.
    auto saved = m_child->Mine()->OnModified;
    m_child->Mine()->OnModified = [](TMine *, bool) { throw AppError(QStringLiteral("Сбой")); };
    trigger(m_form->actCheckTopology);
    m_child->Mine()->OnModified = saved;
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text, QStringLiteral("Сбой"));
    verifyClean();
    // The empty row is gone from the mine and from the table.
    QCOMPARE(m_child->Mine()->Uzels().Count(), 3);
    QCOMPARE(tables()->UzelGrid->model()->rowCount(), 3);
    // The window stays usable: the next run goes through.
    trigger(m_form->actCheckTopology);
    QVERIFY(m_child->Mine()->TopologyValid());
    verifyClean();
}

void tst_TChildFormChecks::followReference_data()
{
    QTest::addColumn<TErrorInfo>("info");
    QTest::addColumn<bool>("hideY");
    QTest::addColumn<bool>("enterKey");
    QTest::addColumn<int>("table");        // 0 none moves, 1 nodes, 2 branches
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("currentKind");

    QTest::newRow("coordinates, Y hidden") << TErrorInfo{13, 3} << true << false << 1 << 2 << 1;
    QTest::newRow("coordinates by Enter") << TErrorInfo{13, 2} << false << true << 1 << 1 << 1;
    QTest::newRow("node number") << TErrorInfo{0, 3} << false << false << 1 << 2 << 0;
    QTest::newRow("repeated node") << TErrorInfo{2, 1} << false << true << 1 << 0 << 0;
    QTest::newRow("incidence") << TErrorInfo{6, 2} << false << false << 1 << 1 << 0;
    QTest::newRow("branch number") << TErrorInfo{1, 3} << false << false << 2 << 2 << 4;
    QTest::newRow("parallel") << TErrorInfo{4, 2} << false << false << 2 << 1 << 4;
    QTest::newRow("start node") << TErrorInfo{10, 2} << false << false << 2 << 1 << 5;
    QTest::newRow("end node") << TErrorInfo{11, 3} << false << true << 2 << 2 << 6;
    QTest::newRow("loop: end column last") << TErrorInfo{12, 1} << false << false << 2 << 0 << 6;
    QTest::newRow("whole mine") << TErrorInfo{5, 0} << false << false << 0 << 0 << 0;
    QTest::newRow("unknown kind") << TErrorInfo{7, 1} << false << false << 0 << 0 << 0;
    QTest::newRow("beyond nodes") << TErrorInfo{13, 4} << true << false << 0 << 0 << 0;
    QTest::newRow("beyond branches") << TErrorInfo{10, 9} << false << false << 0 << 0 << 0;
    QTest::newRow("position 0") << TErrorInfo{0, 0} << false << false << 0 << 0 << 0;
}

void tst_TChildFormChecks::followReference()
{
    QFETCH(TErrorInfo, info);
    QFETCH(bool, hideY);
    QFETCH(bool, enterKey);
    QFETCH(int, table);
    QFETCH(int, row);
    QFETCH(int, currentKind);
    build(kValid);
    TNetworkGrid *uzels = tables()->UzelGrid;
    TNetworkGrid *branches = tables()->BranchGrid;
    if (hideY) {
        TNodeColumns columns = m_child->Document().NodeColumns();
        for (TColumnDesc &d : columns)
            if (d.Kind == 2)
                d.Shown = false;
        m_child->Document().SetNodeColumns(columns);
        m_child->LayoutColumns();
        QCOMPARE(uzels->TableModel()->ColumnOfKind(2), -1);
    }
    uzels->SetCurrentCell({.Row = 0, .Column = 0});
    branches->SetCurrentCell({.Row = 0, .Column = 0});

    // A header line without a reference, then the line under test.
    m_child->ShowMessages(true);
    panel()->AddMessage(QStringLiteral("Заголовок:"));
    panel()->AddMessage(QStringLiteral("  - строка"), info);
    QApplication::processEvents();
    QListWidget *list = panel()->lbMessages;

    // The header line leads nowhere.
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    doubleClick(list, 0);
    QCOMPARE(QApplication::focusWidget(), list);
    QCOMPARE(uzels->CurrentRow(), 0);
    QCOMPARE(branches->CurrentRow(), 0);

    list->setCurrentRow(1);
    if (enterKey) {
        QTest::keyClick(list, Qt::Key_Return);
    } else {
        doubleClick(list, 1);
    }
    QApplication::processEvents();

    if (table == 0) {
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(uzels->CurrentRow(), 0);
        QCOMPARE(uzels->CurrentColumn(), 0);
        QCOMPARE(branches->CurrentRow(), 0);
        QCOMPARE(branches->CurrentColumn(), 0);
        if (hideY)
            QCOMPARE(uzels->TableModel()->ColumnOfKind(2), -1);
        return;
    }
    TNetworkGrid *grid = table == 1 ? uzels : branches;
    QCOMPARE(QApplication::focusWidget(), grid);
    QCOMPARE(grid->CurrentRow(), row);
    QCOMPARE(grid->CurrentColumn(), grid->TableModel()->ColumnOfKind(currentKind));
    if (hideY)
        QVERIFY(grid->TableModel()->ColumnOfKind(2) >= 0);
}

void tst_TChildFormChecks::hideButtonThenViewCommand()
{
    build("u 1 0 0 0");
    QVERIFY(!m_child->CheckTopology(false));
    QVERIFY(m_child->IsMessagePanelVisible());
    QVERIFY(panel()->MessageCount() > 0);
    QTest::mouseClick(panel()->btnHideMessages, Qt::LeftButton);
    QVERIFY(!m_child->IsMessagePanelVisible());
    QCOMPARE(panel()->MessageCount(), 0);
    trigger(m_form->actViewMessage);
    QVERIFY(m_child->IsMessagePanelVisible());
    QCOMPARE(panel()->MessageCount(), 0);
    QVERIFY(!m_child->MainSplit->handle(m_child->MainSplit->indexOf(panel()))->isHidden());
}

void tst_TChildFormChecks::isolWindowLeadsToRowsAndDiesWithDocument()
{
    AppTestHooks hooks;
    // 1-2-3 chain (two hanging branches), lone 7-8 (isolated), node 9 alone.
    build("u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; u 7 0 5 0; u 8 0 6 0; u 9 9 9 9;"
          "b 10 1 2; b 11 2 3; b 12 7 8");
    trigger(m_form->actCheckIsol);
    TIsolForm *isol = TIsolForm::Instance();
    QVERIFY(isol);
    QVERIFY(isol->isVisible());
    QCOMPARE(isol->Grid1->rowCount(), 2);
    QCOMPARE(isol->Grid1->item(0, 0)->text(), QStringLiteral("10"));
    QCOMPARE(isol->Grid1->item(1, 0)->text(), QStringLiteral("11"));
    QCOMPARE(isol->Grid2->item(0, 0)->text(), QStringLiteral("12"));
    QCOMPARE(isol->Grid3->item(0, 0)->text(), QStringLiteral("9"));
    shot(isol, "isol_form");

    // Double click on the second hanging branch: branch table, row of branch 11, number column.
    isol->Grid1->setCurrentCell(1, 0);
    emit isol->Grid1->cellDoubleClicked(1, 0);
    TNetworkGrid *branches = tables()->BranchGrid;
    QCOMPARE(branches->CurrentRow(), 1);
    QCOMPARE(branches->CurrentColumn(), branches->TableModel()->ColumnOfKind(4));
    isol->Grid3->setCurrentCell(0, 0);
    emit isol->Grid3->cellDoubleClicked(0, 0);
    TNetworkGrid *uzels = tables()->UzelGrid;
    QCOMPARE(uzels->CurrentRow(), 5);
    QCOMPARE(uzels->CurrentColumn(), uzels->TableModel()->ColumnOfKind(0));
    QVERIFY(hooks.boxes.isEmpty());

    // The document closes while the list is open: the list goes with it, at once.
    QPointer<TIsolForm> alive(isol);
    auto *sub = qobject_cast<QMdiSubWindow *>(m_child->parentWidget());
    QVERIFY(sub);
    QVERIFY(sub->close());
    QVERIFY(!TIsolForm::Instance() || !TIsolForm::Instance()->isVisible());
    QTRY_VERIFY(!m_form->ActiveChild());
    m_child = nullptr;
    QTRY_VERIFY(!alive);
    // The command on no document does nothing.
    m_form->UpdateActions();
    QVERIFY(!m_form->actCheckIsol->isEnabled());
    QVERIFY(hooks.boxes.isEmpty());
}

void tst_TChildFormChecks::isolWindowFollowsAnotherDocument()
{
    AppTestHooks hooks;
    build("u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; b 10 1 2; b 11 2 3");
    TChildForm *first = m_child;
    trigger(m_form->actCheckIsol);
    TIsolForm *isol = TIsolForm::Instance();
    QVERIFY(isol);

    // Another document comes to the front; the list still leads into the first one.
    TChildForm *second = m_form->CreateChild();
    QApplication::processEvents();
    QCOMPARE(m_form->ActiveChild(), second);
    isol->Grid1->setCurrentCell(1, 0);
    emit isol->Grid1->cellDoubleClicked(1, 0);
    QCOMPARE(m_form->ActiveChild(), first);
    QCOMPARE(first->Tables->BranchGrid->CurrentRow(), 1);
    QCOMPARE(QApplication::focusWidget(), first->Tables->BranchGrid);

    // The first document breaks; "Обновить" runs its stage 1, which fails: the list closes and
    // the findings are in that document's panel.
    first->Mine()->AddBranch(12, 3, 3, QString(), 4.0f);
    QPointer<TIsolForm> alive(isol);
    isol->btnRefresh->click();
    QVERIFY(!TIsolForm::Instance());
    QTRY_VERIFY(!alive);
    QVERIFY(first->IsMessagePanelVisible());
    QVERIFY(!second->IsMessagePanelVisible());
    QCOMPARE(first->pnlMessages->MessageText(0),
             QStringLiteral("Обнаружены ветви с одинаковыми номерами начального и конечного узлов:"));
    QVERIFY(hooks.boxes.isEmpty());
    second->Mine()->SetModified(false);
}

void tst_TChildFormChecks::makeAllRWithBadTopology()
{
    AppTestHooks hooks;
    // Node number 2 twice: stage 1 fails, nothing is computed.
    build("u 1 0 0 0; u 2 100 0 0; u 2 5 5 5; b 1 1 2 4");
    m_form->UpdateActions();
    QVERIFY(m_form->actMakeAllR->isEnabled());
    answerModeDialog(0);
    trigger(m_form->actMakeAllR);
    QVERIFY(!m_modeDialogSeen);
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text, QStringLiteral("Найдены ошибки топологии"));
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(m_child->Mine()->Branches().Items(1)->Resistance(), 0.0);
    // The findings are in the panel.
    QVERIFY(m_child->IsMessagePanelVisible());
    QCOMPARE(panel()->MessageText(0), QStringLiteral("Обнаружены узлы с повторяющимися номерами: "));
    verifyClean();
    QApplication::processEvents(); // the unanswered timer of the mode dialog
}

void tst_TChildFormChecks::makeAllROnValidMine_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");    // -1: no box
    QTest::addColumn<double>("r1");

    // Branch 1: S = 4, square, class 0, L = 100 -> R = 0.30043125. Branch 2 already has R.
    QTest::newRow("all branches") << 0 << 3 << 0.30043125;
    QTest::newRow("R = 0 only") << 1 << 2 << 0.30043125;
    QTest::newRow("cancel") << -1 << -1 << 0.0;
}

void tst_TChildFormChecks::makeAllROnValidMine()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(double, r1);
    AppTestHooks hooks;
    build(kValid);
    TMine *mine = m_child->Mine();
    mine->Branches().Items(2)->SetResistance(0.0001);
    mine->SetModified(false);
    QVERIFY(!mine->TopologyValid());

    answerModeDialog(mode);
    trigger(m_form->actMakeAllR);
    QVERIFY(m_modeDialogSeen);
    // The check ran first and passed.
    QVERIFY(mine->TopologyValid());
    QCOMPARE(mine->Branches().Items(1)->Resistance(), r1);
    QCOMPARE(mine->Branches().Items(2)->Resistance() == 0.0001, mode != 0);
    if (count < 0) {
        QVERIFY(hooks.boxes.isEmpty());
        QVERIFY(!m_child->IsModified());
        return;
    }
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(hooks.boxes.first().icon, QMessageBox::Information);
    QCOMPARE(hooks.boxes.first().text, QStringLiteral("Сопротивление расставлено в %1 ветвях").arg(count));
    QVERIFY(m_child->IsModified());
}

void tst_TChildFormChecks::makeRCurrentBranch()
{
    AppTestHooks hooks;
    build(kValid);
    TNetworkGrid *branches = tables()->BranchGrid;
    branches->SetCurrentCell({.Row = 0, .Column = 0});
    // Never checked: no lengths yet, R stays, and nothing is said.
    trigger(m_form->actMakeR);
    QCOMPARE(m_child->Mine()->Branches().Items(1)->Resistance(), 0.0);
    QVERIFY(m_child->CheckPhysics(false));
    trigger(m_form->actMakeR);
    QCOMPARE(m_child->Mine()->Branches().Items(1)->Resistance(), 0.30043125);
    QCOMPARE(m_child->Mine()->Branches().Items(2)->Resistance(), 0.0);
    QVERIFY(hooks.boxes.isEmpty());

    // With results present the document asks first; refusing leaves R alone.
    branches->SetCurrentCell({.Row = 1, .Column = 0});
    m_child->Document().SetCalculated(true);
    hooks.answers.enqueue(QMessageBox::No);
    trigger(m_form->actMakeR);
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(m_child->Mine()->Branches().Items(2)->Resistance(), 0.0);
}

QTEST_MAIN(tst_TChildFormChecks)
#include "tst_TChildFormChecks.moc"
