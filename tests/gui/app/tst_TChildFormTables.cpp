// The node and branch tables inside a real document window of the main window: the document's
// results question, the main window's table commands and the caption of the edit command, the
// group boxes following the branch row, and the display settings reaching the tables.
#include "AppTestHooks.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "base/TGroupCombo.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "TestConfig.h"
#include "MainFormFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QScreen>
#include <QSplitter>
#include <QtTest>
#include <memory>

class tst_TChildFormTables : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { NewTestConfig(); }
    void cleanupTestCase()
    {
        m_form.reset();
        DropTestConfig();
    }
    void init();
    void cleanup() { m_form.reset(); }

    void resultsQuestionOnce();
    void tableCommands();
    void deletionAsksOnClose_data();
    void deletionAsksOnClose();
    void sortCommands();
    void branchRowDrivesGroupBoxes();
    void seamChoiceRepaintsSquare();
    void rowFollowsCurrentBranch_data();
    void rowFollowsCurrentBranch();
    void displaySettingsReachTables();
    void stoppingPanelShowsFourRows();
    void splittersRemembered();

private:
    TChildForm *child() const { return m_child; }
    TNetworkTables *tables() const { return m_child->Tables; }
    TMine *mine() const { return m_child->Mine(); }
    static void type(const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    void go(TNetworkGrid *grid, int row, int kind)
    {
        grid->setFocus();
        QApplication::processEvents();
        grid->SetCurrentCell({.Row = row, .Column = grid->TableModel()->ColumnOfKind(kind)});
    }

    std::unique_ptr<TMainForm> m_form;
    TChildForm *m_child = nullptr;
};

void tst_TChildFormTables::init()
{
    QVERIFY(ShowMainForm(m_form));
    m_child = m_form->CreateChild();
    QVERIFY(m_child);
    for (int i = 1; i <= 3; ++i)
        mine()->AddUzel(i, float(i), 0.0f, 0.0f);
    for (int i = 1; i <= 3; ++i)
        mine()->AddBranch(i, i, i % 3 + 1, QString(), float(10 - i));
    child()->RefreshTables();
    mine()->SetModified(false);
    QCOMPARE(tables()->BranchGrid->model()->rowCount(), 3);
}

void tst_TChildFormTables::resultsQuestionOnce()
{
    AppTestHooks hooks;
    child()->Document().SetCalculated(true);
    hooks.answers.enqueue(QMessageBox::No);
    go(tables()->BranchGrid, 0, 8);
    type("12");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(hooks.boxes.size(), 1);
    QVERIFY(hooks.boxes.first().text.startsWith(QStringLiteral("Внимание !")));
    QCOMPARE(hooks.boxes.first().helpTopic, 33);
    QCOMPARE(mine()->Branches().Items(1)->Section(), 9.0f);
    QVERIFY(!mine()->Modified());
    QVERIFY(child()->Calculated());

    // Comments never ask.
    go(tables()->BranchGrid, 0, 14);
    type("ok");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(mine()->Branches().Items(1)->Comment(), QString("ok"));
}

void tst_TChildFormTables::tableCommands()
{
    AppTestHooks hooks;
    go(tables()->UzelGrid, 2, 1);
    m_form->UpdateActions();
    m_form->actAddUzel->trigger();
    QCOMPARE(mine()->Uzels().Count(), 4);
    QCOMPARE(mine()->Uzels().Items(4)->Number(), 4);
    QVERIFY(tables()->UzelGrid->IsEditing());
    QCOMPARE(m_form->actEditView->text(), QStringLiteral("&Просмотр"));
    m_form->actEditView->trigger();
    QVERIFY(!tables()->IsEditing());
    QCOMPARE(m_form->actEditView->text(), QStringLiteral("&Редактор"));

    // Deleting a branch asks with its number.
    go(tables()->BranchGrid, 1, 4);
    m_form->UpdateActions();
    hooks.answers.enqueue(QMessageBox::Yes);
    m_form->actDelBranch->trigger();
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(hooks.boxes.first().text, QStringLiteral("Вы действительно хотите удалить ветвь №2?"));
    QCOMPARE(mine()->Branches().Count(), 2);
    QCOMPARE(tables()->BranchGrid->model()->rowCount(), 2);

    // The context menus hold the commands of their own table only.
    QVERIFY(tables()->UzelGrid->actions().contains(m_form->actAddUzel));
    QVERIFY(!tables()->UzelGrid->actions().contains(m_form->actAddBranch));
    QVERIFY(tables()->BranchGrid->actions().contains(m_form->actDelBranch));
}

void tst_TChildFormTables::deletionAsksOnClose_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("node") << QStringLiteral("node");
    QTest::newRow("branch") << QStringLiteral("branch");
    QTest::newRow("stopping") << QStringLiteral("stopping");
    QTest::newRow("person") << QStringLiteral("person");
}

// A deletion is a change like any other: closing the window afterwards asks about saving it.
void tst_TChildFormTables::deletionAsksOnClose()
{
    QFETCH(QString, what);
    AppTestHooks hooks;
    mine()->AddUzel(4, 4.0f, 0.0f, 0.0f);   // without branches: it may go
    TBranch *branch = mine()->Branches().Items(1);
    new TJumper(branch, 0.5);
    new TPeopleInfo(branch, 0.5);
    child()->RefreshTables();
    go(tables()->BranchGrid, 0, 4);
    mine()->SetModified(false);
    m_form->UpdateActions();
    hooks.answers.enqueue(QMessageBox::Yes);
    if (what == QLatin1String("node")) {
        go(tables()->UzelGrid, 3, 0);
        m_form->UpdateActions();
        m_form->actDelUzel->trigger();
        QCOMPARE(mine()->Uzels().Count(), 3);
    } else if (what == QLatin1String("branch")) {
        m_form->actDelBranch->trigger();
        QCOMPARE(mine()->Branches().Count(), 2);
    } else if (what == QLatin1String("stopping")) {
        child()->pnlJumpers->RefreshStoppings();
        child()->pnlJumpers->DeleteStopping();
        QCOMPARE(branch->Jumpers().Count(), 0);
    } else {
        child()->pnlJumpers->RefreshPeople();
        child()->pnlJumpers->DeletePerson();
        QCOMPARE(branch->People().Count(), 0);
    }
    QVERIFY(mine()->Modified());
    hooks.answers.enqueue(QMessageBox::No);
    m_form->actClose->trigger();
    QApplication::processEvents();
    QVERIFY2(hooks.texts().last().startsWith(QStringLiteral("Сохранить изменения в файле")),
             qPrintable(hooks.texts().join(u'|')));
}

void tst_TChildFormTables::sortCommands()
{
    m_form->UpdateActions();
    m_form->actSortS->trigger();   // by cross-section: 7, 8, 9
    QCOMPARE(mine()->Branches().Items(1)->Number(), 3);
    QCOMPARE(tables()->BranchGrid->TableModel()->CellText(0, 0), QString("3"));
    m_form->actSortBranchesNum->trigger();
    QCOMPARE(mine()->Branches().Items(1)->Number(), 1);
    mine()->Uzels().Items(1)->SetCoordinate(1, 50.0f);
    m_form->actSortUzelsX->trigger();
    QCOMPARE(mine()->Uzels().Items(3)->Number(), 1);
}

void tst_TChildFormTables::branchRowDrivesGroupBoxes()
{
    auto *layer = new TLayer(mine());
    layer->SetName(QStringLiteral("Пласт"));
    mine()->Branches().Items(2)->SetLayerIndex(0);
    child()->FillGroupCombos();
    go(tables()->BranchGrid, 1, 4);
    QCOMPARE(mine()->CurBranch(), mine()->Branches().Items(2));
    QCOMPARE(m_form->cbLayers->currentIndex(), 1);
    go(tables()->BranchGrid, 0, 4);
    QCOMPARE(m_form->cbLayers->currentIndex(), 0);
}

void tst_TChildFormTables::seamChoiceRepaintsSquare()
{
    auto *layer = new TLayer(mine());
    layer->SetName(QStringLiteral("Пласт"));
    layer->SetColor(0x0000FF00);   // green
    child()->FillGroupCombos();
    TNetworkGrid *grid = tables()->BranchGrid;
    go(grid, 1, 4);
    // The centre of the seam square in the perimeter cell, as the screen shows it.
    const QRect cell = grid->visualRect(grid->model()->index(1, grid->TableModel()->ColumnOfKind(9)));
    const int side = cell.height() - 2;
    const QPoint centre = grid->viewport()->mapTo(m_form.get(), cell.topLeft() + QPoint(3 + side / 2, 2 + side / 2));
    auto shown = [&] {
        QApplication::processEvents();
        return m_form->screen()->grabWindow(m_form->winId()).toImage().pixelColor(centre);
    };
    QCOMPARE(shown(), QColor(Qt::white));
    emit m_form->cbLayers->activated(1);
    QCOMPARE(mine()->Branches().Items(2)->LayerIndex(), 0);
    QCOMPARE(shown(), QColor(0, 255, 0));
}

void tst_TChildFormTables::rowFollowsCurrentBranch_data()
{
    // Branches 1 (1->2, section 9), 2 (2->3, 8), 3 (3->1, 7); branch n lies in seam n.
    QTest::addColumn<int>("row");        // current row before
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("number");     // current branch after
    QTest::addColumn<int>("rowAfter");
    QTest::newRow("header click sorts by section") << 0 << 0 << 1 << 2;
    QTest::newRow("sort by end node") << 0 << 1 << 1 << 1;
    QTest::newRow("current branch deleted") << 0 << 2 << 2 << 0;
    QTest::newRow("check drops an empty branch above") << 2 << 3 << 3 << 1;
}

void tst_TChildFormTables::rowFollowsCurrentBranch()
{
    QFETCH(int, row);
    QFETCH(int, change);
    QFETCH(int, number);
    QFETCH(int, rowAfter);
    AppTestHooks hooks;
    for (int i = 1; i <= 3; ++i) {
        auto *layer = new TLayer(mine());
        layer->SetName(QStringLiteral("Пласт %1").arg(i));
        mine()->Branches().Items(i)->SetLayerIndex(i - 1);
    }
    child()->FillGroupCombos();
    go(tables()->BranchGrid, row, 4);
    m_form->UpdateActions();
    switch (change) {
    case 0:
        tables()->HeaderClicked(tables()->BranchGrid, tables()->BranchGrid->TableModel()->ColumnOfKind(8));
        break;
    case 1: m_form->actSortBranchesEnd->trigger(); break;
    case 2:
        hooks.answers.enqueue(QMessageBox::Yes);
        m_form->actDelBranch->trigger();
        break;
    case 3: {
        TBranch *b = mine()->Branches().Items(1);
        for (int which = 1; which <= 3; ++which)
            b->SetNumbers(which, kUnsetInt);
        b->SetSection(kUnsetReal);
        child()->CheckTopology(false);
        break;
    }
    }
    TBranch *expected = mine()->Branches().Find(number);
    QVERIFY(expected);
    QCOMPARE(tables()->BranchGrid->CurrentRow(), rowAfter);
    QCOMPARE(tables()->BranchGrid->TableModel()->BranchAt(rowAfter), expected);
    QCOMPARE(mine()->CurBranch(), expected);
    QCOMPARE(child()->pnlJumpers->CurrentBranch(), expected);
    QCOMPARE(m_form->cbLayers->currentIndex(), number);
    // The stopping command adds to the branch in the row.
    m_form->UpdateActions();
    m_form->actAddjumper->trigger();
    QCOMPARE(expected->Jumpers().Count(), 1);
}

void tst_TChildFormTables::displaySettingsReachTables()
{
    const int before = tables()->BranchGrid->rowHeight(0);
    Config->FontSize = 16;
    m_form->ApplyDisplaySettingsToAll();
    QVERIFY(tables()->BranchGrid->rowHeight(0) > before);
    QCOMPARE(tables()->UzelGrid->TableFont().pointSize(), 16);
    Config->FontSize = 8;
    m_form->ApplyDisplaySettingsToAll();
    QCOMPARE(tables()->BranchGrid->rowHeight(0), before);
}

void tst_TChildFormTables::stoppingPanelShowsFourRows()
{
    for (const QSize size : {QSize(1000, 700), QSize(800, 560)}) {
        m_form->resize(size);
        TChildForm *form = m_form->CreateChild();
        QTest::qWait(50);
        TElementGrid *grid = form->pnlJumpers->JumperGrid;
        QVERIFY2(grid->viewport()->height() >= 4 * grid->DefaultRowHeight(),
                 qPrintable(QStringLiteral("%1 < 4 x %2").arg(grid->viewport()->height()).arg(grid->DefaultRowHeight())));
    }
}

void tst_TChildFormTables::splittersRemembered()
{
    // Dragged by the user, both splitters go to the settings, and the next window starts there.
    Config->JumperPanelHeight = Config->UzelTableWidth = 0;
    m_form->resize(1000, 700);
    TChildForm *form = m_form->CreateChild();
    QTest::qWait(50);
    auto drag = [](QSplitter *splitter, QPoint by) {
        QSplitterHandle *handle = splitter->handle(1);
        const QPoint from = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, from);
        QTest::mouseMove(handle, from + by);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, from + by);
    };
    const int panel = form->MainSplit->sizes().at(1);
    const int nodes = form->TablesSplit->sizes().at(0);
    drag(form->MainSplit, QPoint(0, -60));
    QCOMPARE(Config->JumperPanelHeight, panel + 60);
    drag(form->TablesSplit, QPoint(40, 0));
    QCOMPARE(Config->UzelTableWidth, nodes + 40);
    TChildForm *next = m_form->CreateChild();
    QTest::qWait(50);
    QCOMPARE(next->MainSplit->sizes().at(1), panel + 60);
    QCOMPARE(next->TablesSplit->sizes().at(0), nodes + 40);
    Config->JumperPanelHeight = Config->UzelTableWidth = 0;
}

QTEST_MAIN(tst_TChildFormTables)
#include "tst_TChildFormTables.moc"
