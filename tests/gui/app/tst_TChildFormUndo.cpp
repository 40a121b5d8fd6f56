// Undo and redo in a real document window: each command of the main window is one step named
// in the "Правка" menu, undone and redone to the byte; undo back to the saved state clears the
// modified mark; the list keeps the configured number of steps.
#include "AppTestHooks.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTableModel.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "storage/TMdfWriter.h"
#include "TestConfig.h"
#include "MainFormFixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>
#include <QtTest>
#include <memory>

class tst_TChildFormUndo : public QObject {
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

    void commandIsOneNamedStep_data();
    void commandIsOneNamedStep();
    void undoToSavedStateClearsModified();
    void limitDropsOldestAndZeroTurnsUndoOff();
    void editMenuNamesBothSteps();

private:
    TMine *mine() const { return m_child->Mine(); }
    QByteArray bytes() const { return TMdfWriter::Snapshot(m_child->Document()); }
    void go(TNetworkGrid *grid, int row, int kind)
    {
        grid->setFocus();
        QApplication::processEvents();
        grid->SetCurrentCell({.Row = row, .Column = grid->TableModel()->ColumnOfKind(kind)});
    }
    void newDocument();

    std::unique_ptr<TMainForm> m_form;
    TChildForm *m_child = nullptr;
};

void tst_TChildFormUndo::newDocument()
{
    m_child = m_form->CreateChild();
    QVERIFY(m_child);
    for (int i = 1; i <= 4; ++i)
        mine()->AddUzel(i, float(i), 0.0f, 0.0f);
    for (int i = 1; i <= 3; ++i)
        mine()->AddBranch(i, i, i + 1, QString(), float(10 - i));
    new TJumper(mine()->Branches().Items(2), 0.5);
    m_child->RefreshTables();
    // The fixture is the document's start, as if it had been read.
    m_child->FlushJournal();
    m_child->UndoStack()->clear();
    mine()->SetModified(false);
}

void tst_TChildFormUndo::init()
{
    Config->UndoLimit = TConfig::DefaultUndoLimit;
    QVERIFY(ShowMainForm(m_form));
    newDocument();
}

void tst_TChildFormUndo::commandIsOneNamedStep_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("step");
    QTest::newRow("cell typed key by key") << "type" << QStringLiteral("Правка ячейки");
    QTest::newRow("branch deleted with its stopping") << "delete" << QStringLiteral("Удаление ветви");
    QTest::newRow("sort") << "sort" << QStringLiteral("Сортировка");
    QTest::newRow("surface node") << "surface" << QStringLiteral("Поверхностный узел");
    QTest::newRow("stopping added") << "stopping" << QStringLiteral("Добавление перемычки");
}

void tst_TChildFormUndo::commandIsOneNamedStep()
{
    QFETCH(QString, command);
    QFETCH(QString, step);
    AppTestHooks hooks;
    const QByteArray before = bytes();
    TNetworkTables *tables = m_child->Tables;
    if (command == QLatin1String("type")) {
        go(tables->BranchGrid, 0, 8);
        for (const char c : {'1', '2', '5'})
            QTest::keyClick(QApplication::focusWidget(), c);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(mine()->Branches().Items(1)->Section(), 125.0f);
    } else if (command == QLatin1String("delete")) {
        go(tables->BranchGrid, 1, 4);
        m_form->UpdateActions();
        hooks.answers.enqueue(QMessageBox::Yes);
        m_form->actDelBranch->trigger();
    } else if (command == QLatin1String("sort")) {
        m_form->UpdateActions();
        m_form->actSortS->trigger();
    } else if (command == QLatin1String("surface")) {
        go(tables->UzelGrid, 2, 0);
        m_form->UpdateActions();
        m_form->actSurfUzel->trigger();
    } else {
        go(tables->BranchGrid, 0, 4);
        m_child->pnlJumpers->AddStopping();
    }
    QApplication::processEvents();
    const QByteArray after = bytes();
    QVERIFY(after != before);
    QCOMPARE(m_child->UndoStack()->count(), 1);
    m_form->UpdateActions();
    QCOMPARE(m_form->actUndo->text(), QStringLiteral("Отменить «%1»").arg(step));
    // A sort of a table without empty rows leaves the mark as it was, as before undo existed.
    QVERIFY(mine()->Modified() || command == QLatin1String("sort"));

    m_form->actUndo->trigger();
    QVERIFY(bytes() == before);
    QVERIFY(!mine()->Modified());
    m_form->UpdateActions();
    QCOMPARE(m_form->actRedo->text(), QStringLiteral("Повторить «%1»").arg(step));
    QCOMPARE(m_form->actUndo->text(), QStringLiteral("Отменить"));
    QVERIFY(!m_form->actUndo->isEnabled());
    // The tables show the state the step brought back.
    QCOMPARE(tables->BranchGrid->model()->rowCount(), mine()->Branches().Count());

    m_form->actRedo->trigger();
    QVERIFY(bytes() == after);
    QVERIFY(mine()->Modified());
}

void tst_TChildFormUndo::undoToSavedStateClearsModified()
{
    AppTestHooks hooks;
    go(m_child->Tables->UzelGrid, 0, 1);
    mine()->Uzels().Items(1)->SetCoordinate(1, 7.0f);   // one step, not named by a command
    m_child->FlushJournal();
    m_child->UndoStack()->setClean();   // as a save leaves it
    mine()->SetModified(false);
    m_form->UpdateActions();
    m_form->actSurfUzel->trigger();
    QVERIFY(mine()->Modified());
    m_form->actUndo->trigger();
    QVERIFY(!mine()->Modified());
    m_form->actUndo->trigger();   // past the saved state
    QVERIFY(mine()->Modified());
    QCOMPARE(mine()->Uzels().Items(1)->X(), 1.0f);
    m_form->actRedo->trigger();
    QVERIFY(!mine()->Modified());
    // Closing asks only when the document differs from the saved state.
    m_form->actClose->trigger();
    QApplication::processEvents();
    QVERIFY(hooks.boxes.isEmpty());
}

void tst_TChildFormUndo::limitDropsOldestAndZeroTurnsUndoOff()
{
    Config->UndoLimit = 3;
    newDocument();
    for (int i = 0; i < 5; ++i) {
        TUserAction action(mine(), QStringLiteral("Правка %1").arg(i));
        mine()->Uzels().Items(1)->SetNumber(100 + i);
    }
    QCOMPARE(m_child->UndoStack()->count(), 3);
    QCOMPARE(m_child->UndoStack()->text(0), QStringLiteral("Правка 2"));
    for (int i = 0; i < 3; ++i)
        m_child->Undo();
    QCOMPARE(mine()->Uzels().Items(1)->Number(), 101);

    Config->UndoLimit = 0;
    newDocument();
    {
        TUserAction action(mine(), QStringLiteral("Правка"));
        mine()->Uzels().Items(1)->SetNumber(7);
    }
    QCOMPARE(m_child->UndoStack()->count(), 0);
    m_form->UpdateActions();
    QVERIFY(!m_form->actUndo->isEnabled());
}

void tst_TChildFormUndo::editMenuNamesBothSteps()
{
    m_form->UpdateActions();
    m_form->actSortS->trigger();
    m_form->actSurfUzel->trigger();
    m_form->actUndo->trigger();
    m_form->UpdateActions();
    QMenu *edit = nullptr;
    for (QAction *a : m_form->menuBar()->actions())
        if (a->text() == QStringLiteral("&Правка"))
            edit = a->menu();
    QVERIFY(edit);
    QCOMPARE(edit->actions().value(0), m_form->actUndo);
    QCOMPARE(edit->actions().value(1), m_form->actRedo);
    QCOMPARE(m_form->actUndo->text(), QStringLiteral("Отменить «Сортировка»"));
    QCOMPARE(m_form->actRedo->text(), QStringLiteral("Повторить «Поверхностный узел»"));
    const QString shots = qEnvironmentVariable("TARVEL_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        edit->popup(m_form->mapToGlobal(QPoint(60, 30)));
        QVERIFY(QTest::qWaitForWindowExposed(edit));
        edit->grab().save(shots + QStringLiteral("/edit-menu.png"));
        edit->hide();
    }
}

QTEST_MAIN(tst_TChildFormUndo)
#include "tst_TChildFormUndo.moc"
