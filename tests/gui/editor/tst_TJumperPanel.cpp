// The stopping and people panel driven like a user: adding and deleting, in-place editing with
// its commit and cancel keys, the choice box over the list cells, dragging in the position box,
// the context menu's enabling, and the box's geometry checked on a grabbed image.
#include "AppError.h"
#include "AppTestHooks.h"
#include "editor/StoppingCells.h"
#include "editor/TChoiceBox.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TPositionBox.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "settings/TConfig.h"
#include "TestConfig.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace SC = StoppingColumns;
namespace PC = PeopleColumns;

namespace {

void sendMouse(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button =
        type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Types text key by key, also characters that have no key code here (Cyrillic).
void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

// Answers the next modal input box with text (or cancels it), and records that one was asked.
struct InputBoxAnswer {
    bool asked = false;
    QString caption, prompt, offered;
    void answer(const QString &text, bool accept)
    {
        QTimer::singleShot(0, [this, text, accept] {
            auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            asked = true;
            caption = dialog->windowTitle();
            prompt = dialog->labelText();
            offered = dialog->textValue();
            dialog->setTextValue(text);
            accept ? dialog->accept() : dialog->reject();
        });
    }
};

} // namespace

class TestJumperPanel : public QObject {
    Q_OBJECT

    TMine *mine = nullptr;
    TBranch *branch = nullptr;       // 1 -> 2, 120 m long
    TBranch *noLength = nullptr;     // ends not resolved
    TJumperPanel *panel = nullptr;
    TElementGrid *grid = nullptr;

    TJumper *addAt(double position, const QString &caption = QString())
    {
        auto *j = new TJumper(branch);
        j->SetPosition(position);
        j->SetCaption(caption);
        return j;
    }
    QString cell(TElementGrid *g, int column, int row)
    {
        return g->model()->index(row - 1, column - 1).data().toString();
    }
    QLineEdit *openEditor(TElementGrid *g, int column, int row)
    {
        g->setFocus();
        g->SetCurrentCell({.Row = row, .Column = column});
        g->edit(g->model()->index(row - 1, column - 1));
        return g->Editor();
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        NewTestConfig();
        mine = new TMine;
        mine->AddUzel(1, 0, 0, 0);
        mine->AddUzel(2, 120, 0, 0);
        branch = mine->AddBranch(10, 1, 2, QString(), 4);
        noLength = mine->AddBranch(11, 7, 8, QString(), 4);
        mine->ResolveIncidence();
        mine->SetModified(false);
        panel = new TJumperPanel;
        panel->resize(700, 260);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        panel->SetMine(mine);
        panel->SetBranch(branch);
        grid = panel->JumperGrid;
    }
    void cleanup()
    {
        delete panel;
        delete mine;
        DropTestConfig();
        QLocale::setDefault(QLocale::c());
    }

    // In a font wider than the one the first widths were made for, every header line and every
    // choice still fits its column; the first widths stay the least.
    void columnsFitTheirTexts()
    {
        Config->FontSize = 11;
        panel->ApplyDisplaySettings();
        for (TElementGrid *g : {panel->JumperGrid, panel->PeopleGrid}) {
            const bool stoppings = g == panel->JumperGrid;
            const QFontMetricsF metrics(g->font());
            for (int c = 1; c < (stoppings ? SC::Count : PeopleColumns::Count); ++c) {
                const int width = g->columnWidth(c - 1);
                QVERIFY(width >= (stoppings ? StoppingColumnWidth(c) : PersonColumnWidth(c)));
                const QString header = stoppings ? StoppingHeader(c) : PersonHeader(c);
                QStringList texts = header.split(QStringLiteral("\r\n"));
                if (stoppings)
                    texts += StoppingChoiceItems(c);
                for (const QString &text : texts)
                    QVERIFY2(metrics.horizontalAdvance(text) <= width - 4, qPrintable(text));
            }
        }
    }

    // --- adding and deleting

    void newStoppingInTheMiddle_data()
    {
        QTest::addColumn<bool>("withLength");
        QTest::addColumn<QString>("shown");
        QTest::newRow("metres") << true << "60.0 м";
        QTest::newRow("percent without a length") << false << "50.0 %";
    }
    void newStoppingInTheMiddle()
    {
        QFETCH(bool, withLength);
        QFETCH(QString, shown);
        panel->SetBranch(withLength ? branch : noLength);
        QSignalSpy changed(panel, &TJumperPanel::StoppingsChanged);
        panel->AddStopping();
        TBranch *b = withLength ? branch : noLength;
        QCOMPARE(b->Jumpers().Count(), 1);
        QCOMPARE(b->Jumpers().Items(0)->Position(), 0.5);
        QCOMPARE(cell(grid, SC::Position, 1), shown);
        QCOMPARE(grid->CurrentColumn(), SC::Caption);
        QCOMPARE(grid->CurrentRow(), 1);
        QVERIFY(grid->EditingEnabled());
        QVERIFY(mine->Modified());
        QCOMPARE(changed.count(), 1);
        QVERIFY(panel->actDelJumper->isEnabled());
    }

    void emptyBranchShowsOneEmptyRow()
    {
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(cell(grid, SC::Caption, 1), QString());
        QVERIFY(!grid->EditingEnabled());
        QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
        QVERIFY(!openEditor(grid, SC::Caption, 1));
        QVERIFY(panel->actAddJumper->isEnabled());
        QVERIFY(!panel->actDelJumper->isEnabled());
        QVERIFY(!panel->actGoToScheme->isEnabled());
        QVERIFY(!panel->actDelPeople->isEnabled());
        // A mine without branches: nothing may be added.
        TMine empty;
        panel->SetMine(&empty);
        QVERIFY(!panel->actAddJumper->isEnabled());
        QVERIFY(!panel->actAddPeople->isEnabled());
        panel->AddStopping();
        panel->SetMine(mine);
        panel->SetBranch(branch);
        QCOMPARE(branch->Jumpers().Count(), 0);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("no keeps it") << int(QMessageBox::No) << 2;
        QTest::newRow("yes deletes the current row") << int(QMessageBox::Yes) << 1;
    }
    void deleteAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(int, left);
        addAt(0.2, QStringLiteral("A"));
        addAt(0.7, QStringLiteral("B"));
        panel->RefreshStoppings();
        grid->SetCurrentCell({.Row = 2, .Column = SC::Caption});
        AppTestHooks hooks;
        hooks.answers.enqueue(QMessageBox::StandardButton(answer));
        QSignalSpy changed(panel, &TJumperPanel::StoppingsChanged);
        panel->DeleteStopping();
        QCOMPARE(hooks.boxes.size(), 1);
        QCOMPARE(hooks.boxes[0].text, QStringLiteral("Удалить перемычку?"));
        QCOMPARE(hooks.boxes[0].caption, QStringLiteral("Подтверждение"));
        QCOMPARE(branch->Jumpers().Count(), left);
        QCOMPARE(branch->Jumpers().Items(0)->Caption(), QStringLiteral("A"));
        QCOMPARE(mine->Jumpers().Count(), left);
        QCOMPARE(changed.count(), answer == QMessageBox::Yes ? 1 : 0);
    }

    void people()
    {
        panel->setCurrentIndex(1);
        QSignalSpy changed(panel, &TJumperPanel::PeopleChanged);
        panel->AddPerson();
        QCOMPARE(changed.count(), 1);
        TElementGrid *pg = panel->PeopleGrid;
        QCOMPARE(branch->People().Count(), 1);
        QCOMPARE(branch->People().Items(0)->Position(), 0.5);
        QVERIFY(panel->actDelPeople->isEnabled());
        // Digits only in the personnel number; the site shown only above 0.
        QLineEdit *editor = openEditor(pg, PC::TabNumber, 1);
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("12a-3"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(branch->People().Items(0)->TabNumber(), 123);
        QCOMPARE(cell(pg, PC::Site, 1), QString());
        editor = openEditor(pg, PC::Site, 1);
        QCOMPARE(editor->text(), QStringLiteral("0"));
        QTest::keyClicks(editor, QStringLiteral("4"));
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(cell(pg, PC::Site, 1), QStringLiteral("4"));
        editor = openEditor(pg, PC::FullName, 1);
        typeText(editor, QStringLiteral("Сидоров-2"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(branch->People().Items(0)->FullName(), QStringLiteral("Сидоров-2"));

        AppTestHooks hooks;
        hooks.answers.enqueue(QMessageBox::Yes);
        panel->DeletePerson();
        QCOMPARE(hooks.boxes.value(0).text, QStringLiteral("Убрать человека?"));
        QCOMPARE(branch->People().Count(), 0);
        QVERIFY(!panel->actDelPeople->isEnabled());
        QCOMPARE(changed.count(), 2);
    }

    void contextMenuPerTable()
    {
        panel->PreparePopupMenu(panel->JumperGrid);
        QVERIFY(panel->actAddJumper->isVisible() && panel->actDelJumper->isVisible());
        QVERIFY(!panel->actAddPeople->isVisible() && !panel->actDelPeople->isVisible());
        QVERIFY(panel->actGoToScheme->isVisible());
        panel->PreparePopupMenu(panel->PeopleGrid);
        QVERIFY(!panel->actAddJumper->isVisible() && !panel->actDelJumper->isVisible());
        QVERIFY(panel->actAddPeople->isVisible() && panel->actDelPeople->isVisible());
        QVERIFY(panel->actGoToScheme->isVisible());
    }

    // Without a scheme to show, the item stays off; with one it shows it and selects the row's
    // stopping.
    void goToScheme()
    {
        addAt(0.3);
        TJumper *second = addAt(0.6);
        panel->RefreshStoppings();
        QVERIFY(!panel->actGoToScheme->isEnabled());
        int shown = 0;
        panel->SetShowScheme([&] { ++shown; });
        QVERIFY(panel->actGoToScheme->isEnabled());
        grid->SetCurrentCell({.Row = 2, .Column = SC::Caption});
        panel->actGoToScheme->trigger();
        QCOMPARE(shown, 1);
        QCOMPARE(mine->CurJumper(), second);
        // The people page decides for its own rows.
        panel->setCurrentIndex(1);
        QVERIFY(!panel->actGoToScheme->isEnabled());
    }

    void refusedEditChangesNothing()
    {
        TJumper *j = addAt(0.5);
        panel->RefreshStoppings();
        int asked = 0;
        panel->ConfirmEdit = [&] { ++asked; return false; };
        QLineEdit *editor = openEditor(grid, SC::Caption, 1);
        QTest::keyClicks(editor, QStringLiteral("X"));
        QTest::keyClick(editor, Qt::Key_Return);
        panel->AddStopping();
        QCOMPARE(j->Caption(), QString());
        QCOMPARE(branch->Jumpers().Count(), 1);
        QCOMPARE(asked, 2);
    }

    // --- editing phases

    void enterOnFlowStoresItAndRClearsMeasured()
    {
        TJumper *j = addAt(0.5);
        j->SetFlow(2.5);
        j->SetDepression(25);
        panel->RefreshStoppings();
        QCOMPARE(cell(grid, SC::Flow, 1), QString());
        QLineEdit *editor = openEditor(grid, SC::Flow, 1);
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("2.5"));
        QCOMPARE(grid->EditPhase(), epTyping);
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!grid->Editor());
        QVERIFY(j->Measured());
        QCOMPARE(j->Flow(), 2.5);
        QCOMPARE(j->Resistance(), 25 / (2.5 * 2.5));
        QCOMPARE(cell(grid, SC::Flow, 1), QStringLiteral("2.5"));
        QCOMPARE(cell(grid, SC::Depression, 1), QStringLiteral("25.0"));

        editor = openEditor(grid, SC::Resistance, 1);
        QTest::keyClicks(editor, QStringLiteral("0.75"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!j->Measured());
        QCOMPARE(j->Resistance(), 0.75);
        QCOMPARE(cell(grid, SC::Flow, 1), QString());
        QCOMPARE(cell(grid, SC::Depression, 1), QString());
    }

    void endingAnEdit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("how");   // 0 Esc, 1 click on another cell, 2 focus elsewhere,
                                        // 3 Down, 4 Tab
        QTest::addColumn<QString>("caption");
        QTest::newRow("Esc drops what was typed") << "new" << 0 << "old";
        QTest::newRow("a click elsewhere keeps what was typed") << "new" << 1 << "new";
        QTest::newRow("a click without typing changes nothing") << "" << 1 << "old";
        QTest::newRow("leaving the table commits") << "new" << 2 << "new";
        QTest::newRow("Down commits and moves") << "new" << 3 << "new";
        QTest::newRow("Tab commits") << "new" << 4 << "new";
    }
    void endingAnEdit()
    {
        QFETCH(QString, typed);
        QFETCH(int, how);
        QFETCH(QString, caption);
        TJumper *j = addAt(0.2, QStringLiteral("old"));
        addAt(0.8, QStringLiteral("other"));
        panel->RefreshStoppings();
        QLineEdit outside(panel);
        outside.show();
        QLineEdit *editor = openEditor(grid, SC::Caption, 1);
        QVERIFY(editor);
        QApplication::setActiveWindow(panel);
        editor->setFocus();
        if (!typed.isEmpty()) {
            editor->selectAll();
            QTest::keyClicks(editor, typed);
            QCOMPARE(grid->EditPhase(), epCommit);
        }
        switch (how) {
        case 0: QTest::keyClick(editor, Qt::Key_Escape); break;
        case 1: grid->SetCurrentCell({.Row = 2, .Column = SC::Thickness}); break;
        case 2: outside.setFocus(); break;
        case 3:
            QTest::keyClick(editor, Qt::Key_Down);
            QCOMPARE(grid->CurrentRow(), 2);
            break;
        case 4: QTest::keyClick(editor, Qt::Key_Tab); break;
        }
        QTRY_VERIFY(!grid->Editor());
        QCOMPARE(j->Caption(), caption);
    }

    // Typing on a cell opens the editor with the key typed over the cell's text.
    void typingStartsAnEdit()
    {
        TJumper *j = addAt(0.5, QStringLiteral("old"));
        panel->RefreshStoppings();
        grid->setFocus();
        grid->SetCurrentCell({.Row = 1, .Column = SC::Caption});
        QTest::keyClicks(grid, QStringLiteral("Z"));
        QVERIFY(grid->Editor());
        QCOMPARE(grid->Editor()->text(), QStringLiteral("Z"));
        QCOMPARE(grid->EditPhase(), epCommit);
        QTest::keyClick(grid->Editor(), Qt::Key_Return);
        QCOMPARE(j->Caption(), QStringLiteral("Z"));
    }

    // Rows follow the table font of the display settings; so does the choice box's item height.
    void rowsFollowTheDisplaySettings()
    {
        addAt(0.5);
        panel->RefreshStoppings();
        const int small = grid->DefaultRowHeight();
        Config->FontSize = 16;
        panel->ApplyDisplaySettings();
        QVERIFY(grid->DefaultRowHeight() > small);
        QCOMPARE(grid->rowHeight(0), grid->DefaultRowHeight());
        QCOMPARE(panel->PeopleGrid->DefaultRowHeight(), grid->DefaultRowHeight());
        grid->SetCurrentCell({.Row = 1, .Column = SC::Doors});
        QCOMPARE(grid->ChoiceBox()->ItemHeight(), grid->DefaultRowHeight() - 5);
    }

    // The document goes before its window's widgets: a panel taken down with an edit open must
    // not reach for the branch any more, and closing the editors first keeps what was typed.
    void destroyedWithAnOpenEdit_data()
    {
        QTest::addColumn<bool>("closeFirst");
        QTest::newRow("closed by the window first") << true;
        QTest::newRow("left open") << false;
    }
    void destroyedWithAnOpenEdit()
    {
        QFETCH(bool, closeFirst);
        TJumper *j = addAt(0.5);
        bool documentGone = false;
        int lateCalls = 0;
        panel->SetBranchSource([&]() -> TBranch * {
            if (documentGone)
                ++lateCalls;
            return branch;
        });
        QLineEdit *editor = openEditor(grid, SC::Caption, 1);
        QVERIFY(editor);
        QApplication::setActiveWindow(panel);
        editor->setFocus();
        QTest::keyClicks(editor, QStringLiteral("K"));
        if (closeFirst)
            panel->CloseEditors();
        QCOMPARE(j->Caption(), closeFirst ? QStringLiteral("K") : QString());
        documentGone = true;
        delete panel;
        panel = nullptr;
        QCOMPARE(lateCalls, 0);
    }

    void invalidNumberIsReported()
    {
        TJumper *j = addAt(0.5);
        j->SetThickness(2);
        panel->RefreshStoppings();
        AppTestHooks hooks;
        QLineEdit *editor = openEditor(grid, SC::Thickness, 1);
        editor->clear();
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(hooks.errors().size(), 1);
        QCOMPARE(hooks.errors()[0].text, QStringLiteral("Неверно указано число"));
        QCOMPARE(j->Thickness(), 2.0);
    }

    // Digits and the decimal separator only: no minus sign, no letters.
    void numberKeysOnly_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("point") << "C" << "-1.5x" << "1.5";
        QTest::newRow("comma") << "ru_RU" << "-1,5.e" << "1,5";
    }
    void numberKeysOnly()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QLocale::setDefault(QLocale(locale));
        addAt(0.5);
        panel->RefreshStoppings();
        QLineEdit *editor = openEditor(grid, SC::Thickness, 1);
        editor->clear();
        QTest::keyClicks(editor, typed);
        QCOMPARE(editor->text(), kept);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(branch->Jumpers().Items(0)->Thickness(), 1.5);
    }

    void pressureInMegapascals()
    {
        Config->PressureMode = 1;
        TJumper *j = addAt(0.5);
        j->SetBreakPressure(1);
        panel->RefreshStoppings();
        QCOMPARE(cell(grid, SC::BreakPressure, 1), QStringLiteral("0.098"));
        QLineEdit *editor = openEditor(grid, SC::BreakPressure, 1);
        QCOMPARE(editor->text(), QStringLiteral("0.098"));
        editor->clear();
        QTest::keyClicks(editor, QStringLiteral("0.2"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(j->BreakPressure(), 0.2 * 1e6 / 98066.5);
    }

    void typedPositionResorts()
    {
        TJumper *a = addAt(0.25);
        addAt(0.5);
        panel->RefreshStoppings();
        QLineEdit *editor = openEditor(grid, SC::Position, 1);
        QCOMPARE(editor->text(), QStringLiteral("30.0"));
        editor->clear();
        QTest::keyClicks(editor, QStringLiteral("90"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(a->Position(), 0.75);
        QCOMPARE(a->IndexInBranch(), 1);
        QCOMPARE(cell(grid, SC::Position, 2), QStringLiteral("90.0 м"));
    }

    // --- choice box

    void choiceBoxOverTheCell()
    {
        TJumper *j = addAt(0.5);
        j->SetMaterial(9);
        panel->RefreshStoppings();
        grid->setFocus();
        grid->SetCurrentCell({.Row = 1, .Column = SC::Material});
        TChoiceBox *box = grid->ChoiceBox();
        QVERIFY(box);
        QCOMPARE(box->geometry(), grid->CellRect({.Row = 1, .Column = SC::Material}));
        QCOMPARE(box->parentWidget(), grid->viewport());
        QCOMPARE(box->count(), 21);
        QCOMPARE(box->currentIndex(), 9);
        QCOMPARE(box->ItemHeight(), grid->DefaultRowHeight() - 5);
        QVERIFY(box->hasFocus());
        QVERIFY(!grid->EditingEnabled());
        // The drop-down is as wide as the longest material.
        QVERIFY(box->view()->minimumWidth() >=
                box->fontMetrics().horizontalAdvance(QStringLiteral("Железобетонная")));

        // A choice is stored at once.
        box->setCurrentIndex(13);
        emit box->activated(13);
        QCOMPARE(j->Material(), quint8(13));
        QCOMPARE(cell(grid, SC::Material, 1), QStringLiteral("Парашютная"));

        // Right moves to the next list column and the box follows; Left back; Right into a
        // typed column closes the box and switches editing on.
        QTest::keyClick(box, Qt::Key_Right);
        QCOMPARE(grid->CurrentColumn(), SC::CutIn);
        box = grid->ChoiceBox();
        QVERIFY(box);
        QCOMPARE(box->geometry(), grid->CellRect({.Row = 1, .Column = SC::CutIn}));
        QCOMPARE(box->count(), 2);
        QTest::keyClick(box, Qt::Key_Left);
        QCOMPARE(grid->CurrentColumn(), SC::Material);
        QCOMPARE(j->Material(), quint8(13));   // Left and Right choose nothing
        QTest::keyClick(grid->ChoiceBox(), Qt::Key_Right);
        QTest::keyClick(grid->ChoiceBox(), Qt::Key_Right);
        QTest::keyClick(grid->ChoiceBox(), Qt::Key_Right);
        QCOMPARE(grid->CurrentColumn(), SC::Thickness);
        QVERIFY(!grid->ChoiceBox());
        QVERIFY(grid->EditingEnabled());
    }

    void choiceBoxUpDown()
    {
        addAt(0.3);
        addAt(0.6);
        panel->RefreshStoppings();
        grid->setFocus();
        grid->SetCurrentCell({.Row = 1, .Column = SC::Doors});
        QTest::keyClick(grid->ChoiceBox(), Qt::Key_Down);
        QCOMPARE(grid->CurrentRow(), 2);
        QCOMPARE(grid->ChoiceBox()->geometry(), grid->CellRect({.Row = 2, .Column = SC::Doors}));
        QCOMPARE(branch->Jumpers().Items(0)->Doors(), quint8(0));
        QTest::keyClick(grid->ChoiceBox(), Qt::Key_Down, Qt::AltModifier);
        QVERIFY(grid->ChoiceBox()->IsDroppedDown());
        QCOMPARE(grid->CurrentRow(), 2);
        grid->ChoiceBox()->hidePopup();
    }

    void choiceBoxFollowsScroll()
    {
        for (int i = 0; i < 12; ++i)
            addAt(i / 12.0);
        panel->RefreshStoppings();
        grid->setFocus();
        grid->SetCurrentCell({.Row = 12, .Column = SC::Vent});
        QVERIFY(grid->ChoiceBox());
        const QRect before = grid->ChoiceBox()->geometry();
        grid->verticalScrollBar()->setValue(0);
        QTRY_VERIFY(grid->ChoiceBox());
        QCOMPARE(grid->ChoiceBox()->geometry(), grid->CellRect({.Row = 12, .Column = SC::Vent}));
        QVERIFY(grid->ChoiceBox()->geometry() != before);
        // A resize moves it too, without taking the keyboard focus from elsewhere.
        QLineEdit outside(panel);
        outside.show();
        QApplication::setActiveWindow(panel);
        outside.setFocus();
        grid->setColumnWidth(0, 90);
        QTRY_COMPARE(grid->ChoiceBox()->geometry(), grid->CellRect({.Row = 12, .Column = SC::Vent}));
        panel->resize(650, 300);
        QVERIFY(grid->ChoiceBox());
        QCOMPARE(grid->ChoiceBox()->geometry(), grid->CellRect({.Row = 12, .Column = SC::Vent}));
        QVERIFY(outside.hasFocus());
    }

    void arbitraryOpening_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("point") << "C" << "1.5" << "1.5 м2";
        QTest::newRow("comma") << "ru_RU" << "1,5" << "1,5 м2";
    }
    void arbitraryOpening()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        TJumper *j = addAt(0.5);
        panel->RefreshStoppings();
        grid->SetCurrentCell({.Row = 1, .Column = SC::Opening});
        TChoiceBox *box = grid->ChoiceBox();
        QVERIFY(box);
        InputBoxAnswer input;
        input.answer(typed, true);
        box->setCurrentIndex(4);
        emit box->activated(4);
        QVERIFY(input.asked);
        QCOMPARE(input.caption, QStringLiteral("Произвольный проем"));
        QCOMPARE(input.prompt, QStringLiteral("Укажите величину проема в перемычке"));
        QCOMPARE(input.offered, FormatFixed(0, 1));
        QCOMPARE(j->Opening(), quint8(4));
        QCOMPARE(j->OpeningArea(), 1.5);
        QCOMPARE(cell(grid, SC::Opening, 1), shown);

        // "Нет" afterwards: stored without a question.
        InputBoxAnswer none;
        none.answer(QString(), false);
        emit grid->ChoiceBox()->activated(0);
        QCOMPARE(j->Opening(), quint8(0));
        QCoreApplication::processEvents();
        QVERIFY(!none.asked);
    }

    void arbitraryOpeningRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("errors");
        QTest::newRow("cancel") << "2.5" << false << 0;
        QTest::newRow("not a number") << "abc" << true << 1;
    }
    void arbitraryOpeningRefused()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        QFETCH(int, errors);
        TJumper *j = addAt(0.5);
        j->SetOpening(1);
        panel->RefreshStoppings();
        grid->SetCurrentCell({.Row = 1, .Column = SC::Opening});
        AppTestHooks hooks;
        InputBoxAnswer input;
        input.answer(typed, accept);
        grid->ChoiceBox()->setCurrentIndex(4);
        emit grid->ChoiceBox()->activated(4);
        QVERIFY(input.asked);
        QCOMPARE(j->Opening(), quint8(1));
        QCOMPARE(j->OpeningArea(), 0.0);
        QCOMPARE(grid->ChoiceBox()->currentIndex(), 1);
        QCOMPARE(hooks.errors().size(), errors);
        if (errors)
            QCOMPARE(hooks.errors()[0].text, QStringLiteral("Неверно указано число"));
    }

    // --- position box

    void boxGeometry()
    {
        TJumper *a = addAt(0.25);
        addAt(0.75);
        panel->RefreshStoppings();
        grid->SetCurrentCell({.Row = 1, .Column = SC::Caption});
        TPositionBox *box = panel->JumperBox;
        const QImage image = box->grab().toImage();
        const int w = box->width(), h = box->height();
        const int top = (h - 25) / 2;
        const int mid = top + 5;
        // Bar: black outline from x 10 to w - 10 and y top to top + 25, white inside.
        QCOMPARE(image.pixelColor(10, mid), QColor(Qt::black));
        QCOMPARE(image.pixelColor(w - 10, mid), QColor(Qt::black));
        QCOMPARE(image.pixelColor(20, top), QColor(Qt::black));
        QCOMPARE(image.pixelColor(20, top + 25), QColor(Qt::black));
        QCOMPARE(image.pixelColor(11, mid), QColor(Qt::white));
        QCOMPARE(image.pixelColor(w - 11, mid), QColor(Qt::white));
        QVERIFY(image.pixelColor(w - 9, mid) != QColor(Qt::white));
        QVERIFY(image.pixelColor(20, top - 1) != QColor(Qt::white));
        QVERIFY(image.pixelColor(20, top + 26) != QColor(Qt::white));
        // Stoppings: a line across the bar at 10 + (w - 20) × p, blue for the current one.
        const int xa = 10 + int(std::nearbyint((w - 20) * 0.25));
        const int xb = 10 + int(std::nearbyint((w - 20) * 0.75));
        QCOMPARE(TPositionBox::PositionX(a->Position(), w), xa);
        QCOMPARE(image.pixelColor(xa, mid), QColor(0, 0, 255));
        QCOMPARE(image.pixelColor(xb, mid), QColor(Qt::black));
        QCOMPARE(image.pixelColor(xa + 1, mid), QColor(Qt::white));
        // The triangle under the bar is grey inside.
        QCOMPARE(image.pixelColor(xb, top + 26 + 7), QColor(128, 128, 128));
    }

    void positionRounding_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("x");
        QTest::newRow("start") << 220 << 0.0 << 10;
        QTest::newRow("end") << 220 << 1.0 << 210;
        QTest::newRow("half pixel to even (down)") << 25 << 0.5 << 12;   // 2.5 -> 2
        QTest::newRow("half pixel to even (up)") << 27 << 0.5 << 14;     // 3.5 -> 4
    }
    void positionRounding()
    {
        QFETCH(int, width);
        QFETCH(double, position);
        QFETCH(int, x);
        QCOMPARE(TPositionBox::PositionX(position, width), x);
    }

    void hitTestWithinFivePixels_data()
    {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("hit");
        QTest::newRow("on it") << 0 << 5 << 0;
        QTest::newRow("5 px right") << 5 << 5 << 0;
        QTest::newRow("5 px left") << -5 << 5 << 0;
        QTest::newRow("6 px right") << 6 << 5 << -1;
        QTest::newRow("above the bar") << 0 << -1 << -1;
        QTest::newRow("bar's last row") << 0 << 25 << 0;
        QTest::newRow("below the bar") << 0 << 26 << -1;
    }
    void hitTestWithinFivePixels()
    {
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, hit);
        addAt(0.5);
        panel->RefreshStoppings();
        TPositionBox *box = panel->JumperBox;
        const int x = TPositionBox::PositionX(0.5, box->width());
        const int top = TPositionBox::BarRect(box->width(), box->height()).top();
        QCOMPARE(box->HitTest(QPoint(x + dx, top + dy)), hit);
    }

    void draggingPastANeighbourResorts()
    {
        TJumper *a = addAt(0.2);
        TJumper *b = addAt(0.5);
        panel->RefreshStoppings();
        TPositionBox *box = panel->JumperBox;
        const int w = box->width();
        const int y = TPositionBox::BarRect(w, box->height()).center().y();
        sendMouse(box, QEvent::MouseButtonPress, QPoint(TPositionBox::PositionX(0.2, w), y),
                  Qt::LeftButton);
        QCOMPARE(box->DraggedIndex(), 0);
        QCOMPARE(panel->DraggedStopping(), a);
        QCOMPARE(grid->CurrentRow(), 1);
        QCOMPARE(grid->CurrentColumn(), 3);
        const int target = TPositionBox::PositionX(0.8, w);
        sendMouse(box, QEvent::MouseMove, QPoint(target, y), Qt::LeftButton);
        QCOMPARE(a->Position(), double(target - 10) / (w - 20));
        QCOMPARE(a->IndexInBranch(), 1);
        QCOMPARE(b->IndexInBranch(), 0);
        QCOMPARE(grid->CurrentRow(), 2);
        QCOMPARE(box->DraggedIndex(), 1);
        QVERIFY(mine->Modified());
        sendMouse(box, QEvent::MouseButtonRelease, QPoint(target, y), Qt::NoButton);
        QCOMPARE(box->DraggedIndex(), -1);
        QCOMPARE(panel->DraggedStopping(), nullptr);
    }

    void failingLeaveToEditEndsTheDrag()
    {
        // Leave to edit may save the document; a failed save is shown by the box itself and ends
        // the drag, rather than unwinding through the toolkit's event handling.
        AppTestHooks hooks;
        TJumper *a = addAt(0.2);
        panel->RefreshStoppings();
        TPositionBox *box = panel->JumperBox;
        box->ConfirmEdit = []() -> bool { throw AppError(QStringLiteral("Ошибка при записи в файл")); };
        const int w = box->width();
        const int y = TPositionBox::BarRect(w, box->height()).center().y();
        sendMouse(box, QEvent::MouseButtonPress, QPoint(TPositionBox::PositionX(0.2, w), y), Qt::LeftButton);
        sendMouse(box, QEvent::MouseMove, QPoint(TPositionBox::PositionX(0.8, w), y), Qt::LeftButton);
        QCOMPARE(hooks.errors().size(), 1);
        QCOMPARE(hooks.errors().first().text, QStringLiteral("Ошибка при записи в файл"));
        QCOMPARE(box->DraggedIndex(), -1);
        QCOMPARE(a->Position(), 0.2);
    }

    // Leave to edit may save the document, and the save may fail: the table, the choice box and
    // the menu show the failure themselves (after the editor has closed, for a typed edit) and
    // change nothing, rather than unwinding through the toolkit's event handling.
    void failingLeaveToEditIsShownWhereAsked_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("typed caption") << "type";
        QTest::newRow("material chosen") << "choose";
        QTest::newRow("stopping added from the menu") << "add";
        QTest::newRow("stopping deleted from the menu") << "delete";
    }
    void failingLeaveToEditIsShownWhereAsked()
    {
        QFETCH(QString, action);
        AppTestHooks hooks;
        TJumper *j = addAt(0.5);
        j->SetMaterial(9);
        panel->RefreshStoppings();
        panel->ConfirmEdit = []() -> bool { throw AppError(QStringLiteral("Ошибка при записи в файл")); };
        if (action == QLatin1String("type")) {
            QLineEdit *editor = openEditor(grid, SC::Caption, 1);
            QTest::keyClicks(editor, QStringLiteral("X"));
            QTest::keyClick(editor, Qt::Key_Return);
        } else if (action == QLatin1String("choose")) {
            grid->setFocus();
            grid->SetCurrentCell({.Row = 1, .Column = SC::Material});
            grid->ChoiceBox()->setCurrentIndex(13);
            emit grid->ChoiceBox()->activated(13);
            QCOMPARE(grid->ChoiceBox()->currentIndex(), 9);
        } else {
            grid->SetCurrentCell({.Row = 1, .Column = SC::Caption});
            (action == QLatin1String("add") ? panel->actAddJumper : panel->actDelJumper)->trigger();
        }
        QTRY_COMPARE(hooks.errors().size(), 1);
        QCOMPARE(hooks.errors().first().text, QStringLiteral("Ошибка при записи в файл"));
        QCOMPARE(branch->Jumpers().Count(), 1);
        QCOMPARE(j->Caption(), QString());
        QCOMPARE(j->Material(), quint8(9));
    }

    void draggingBeyondTheEndsPins_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<double>("position");
        QTest::newRow("left of the bar") << -40 << 0.0;
        QTest::newRow("right of the bar") << 4000 << 1.0;
    }
    void draggingBeyondTheEndsPins()
    {
        QFETCH(int, x);
        QFETCH(double, position);
        TJumper *a = addAt(0.5);
        panel->RefreshStoppings();
        TPositionBox *box = panel->JumperBox;
        const int y = TPositionBox::BarRect(box->width(), box->height()).center().y();
        sendMouse(box, QEvent::MouseButtonPress,
                  QPoint(TPositionBox::PositionX(0.5, box->width()), y), Qt::LeftButton);
        sendMouse(box, QEvent::MouseMove, QPoint(x, y), Qt::LeftButton);
        QCOMPARE(a->Position(), position);
        sendMouse(box, QEvent::MouseButtonRelease, QPoint(x, y), Qt::NoButton);
    }

    void draggingAPerson()
    {
        panel->setCurrentIndex(1);
        auto *p = new TPeopleInfo(branch);
        p->SetPosition(0.5);
        auto *q = new TPeopleInfo(branch);
        q->SetPosition(0.6);
        panel->RefreshPeople();
        TPositionBox *box = panel->PeopleBox;
        const int w = box->width();
        const int y = TPositionBox::BarRect(w, box->height()).center().y();
        sendMouse(box, QEvent::MouseButtonPress, QPoint(TPositionBox::PositionX(0.5, w), y),
                  Qt::LeftButton);
        sendMouse(box, QEvent::MouseMove, QPoint(TPositionBox::PositionX(0.9, w), y),
                  Qt::LeftButton);
        QCOMPARE(p->IndexInBranch(), 1);
        QCOMPARE(panel->DraggedPerson(), p);
        QCOMPARE(panel->PeopleGrid->CurrentRow(), 2);
        sendMouse(box, QEvent::MouseButtonRelease, QPoint(0, y), Qt::NoButton);
        // The cursor tells where a drag can start.
        sendMouse(box, QEvent::MouseMove, QPoint(TPositionBox::PositionX(0.6, w), y), Qt::NoButton);
        QCOMPARE(box->cursor().shape(), Qt::SizeHorCursor);
        sendMouse(box, QEvent::MouseMove, QPoint(20, y), Qt::NoButton);
        QCOMPARE(box->cursor().shape(), Qt::ArrowCursor);
    }

    void personPicture()
    {
        const QImage &picture = TPositionBox::PersonPicture();
        QCOMPARE(picture.size(), QSize(25, 29));
        QCOMPARE(picture.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(picture.pixelColor(12, 14).alpha(), 255);
    }
};

QTEST_MAIN(TestJumperPanel)
#include "tst_TJumperPanel.moc"
