// The node and branch tables driven as a user drives them: keys into the real grids, the model
// read back afterwards. Boxes are answered by AppTestHooks.
#include "AppTestHooks.h"
#include "TablesHarness.h"
#include "base/Utils.h"
#include "editor/TCellDelegate.h"
#include "editor/TGridHeader.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "editor/TPerimTypeForm.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/CoordinateTransform.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "storage/TMineDocument.h"
#include "TestConfig.h"

#include <QApplication>
#include <QButtonGroup>
#include <QPushButton>
#include <QTimer>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>
#include <memory>

namespace {

struct Harness : TablesHarness {
    // Keys go wherever the focus is, as the user's do.
    static void type(const QString &text)
    {
        for (const QChar c : text) {
            QWidget *target = QApplication::focusWidget();
            QVERIFY(target);
            QTest::keyClick(target, c.toLatin1() ? c.toLatin1() : 'x', Qt::NoModifier);
        }
    }
    static void typeUnicode(const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QWidget *target = QApplication::focusWidget();
            QApplication::sendEvent(target, &press);
            QApplication::sendEvent(target, &release);
        }
    }
    static void key(Qt::Key k)
    {
        QWidget *target = QApplication::focusWidget();
        QVERIFY(target);
        QTest::keyClick(target, k);
    }
    QLineEdit *editor() const { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }

    // Builds nodes and branches through the model; the tables re-read the lists.
    void build(int nodes, int branches)
    {
        for (int i = 1; i <= nodes; ++i)
            mine()->AddUzel(i, float(i * 10), float(i), 0.0f);
        for (int i = 1; i <= branches; ++i)
            mine()->AddBranch(i, i, i % nodes + 1, QString(), 4.0f);
        tables->RefreshTables();
    }
};

} // namespace

class tst_NetworkTables : public QObject {
    Q_OBJECT
private slots:
    void init() { QApplication::beep(); }
    void typingIntoNewDocument();
    void sectionAppliedPerKeystroke();
    void zeroNumberRefused_data();
    void zeroNumberRefused();
    void unsetByBlankOrMinus_data();
    void unsetByBlankOrMinus();
    void deletingEveryCharacterKeepsValue();
    void enterAppendsRow();
    void enterOnUnsetNumberReportsIt();
    void branchValidation_data();
    void branchValidation();
    void escapeRestoresTextAndModified();
    void calculatedAsksOnce();
    void commentsNeverAsk();
    void keyFilter_data();
    void keyFilter();
    void nonCodePageCharacterRefused();
    void emptiedCommentIsCleared();
    void volumeFactorFallback_data();
    void volumeFactorFallback();
    void headerClickSortsDragDoesNot();
    void goToColumnShowsHiddenColumn();
    void startNodeCellMovesNodeTable();
    void nonEditableCellNotCurrentOnClick();
    void leftRightSkipNonEditable();
    void addAndDeleteCommands();
    void deleteNodeInUseRefused();
    void perimeterOpensDialog();
    void refusedEditOpensNoDialog();
    void perimeterRunsRealDialog();
    void jumperSymbolReplacesRowNumber();
    void cellColours();
    void layoutWidths();
    void numbersNeverCut_data();
    void numbersNeverCut();
    void narrowedColumnShowsHashes();
    void editViewToggles();
    void headerCursor();
    void displaySettingsReachTables();
};

void tst_NetworkTables::typingIntoNewDocument()
{
    Harness h;
    QCOMPARE(h.uzels()->model()->rowCount(), 1);   // an empty list still shows one row
    QCOMPARE(h.branches()->model()->rowCount(), 1);
    h.go(h.uzels(), 0, 0);
    Harness::type("5");
    QVERIFY(h.uzels()->IsEditing());
    QCOMPARE(h.mine()->Uzels().Count(), 1);
    QCOMPARE(h.mine()->Uzels().Items(1)->Number(), 5);
    QVERIFY(IsUnset(h.mine()->Uzels().Items(1)->X()));
    QVERIFY(h.mine()->Modified());
    Harness::type("7");
    QCOMPARE(h.mine()->Uzels().Items(1)->Number(), 57);
}

void tst_NetworkTables::sectionAppliedPerKeystroke()
{
    Harness h;
    h.build(2, 1);
    h.go(h.branches(), 0, 8);
    Harness::type("1");
    QCOMPARE(h.mine()->Branches().Items(1)->Section(), 1.0f);
    Harness::type("2");
    QCOMPARE(h.mine()->Branches().Items(1)->Section(), 12.0f);
    Harness::type(".");
    Harness::type("5");
    QCOMPARE(h.mine()->Branches().Items(1)->Section(), 12.5f);
    Harness::key(Qt::Key_Escape);
    QCOMPARE(h.mine()->Branches().Items(1)->Section(), 4.0f);
}

void tst_NetworkTables::zeroNumberRefused_data()
{
    QTest::addColumn<bool>("branch");
    QTest::newRow("node") << false;
    QTest::newRow("branch") << true;
}

void tst_NetworkTables::zeroNumberRefused()
{
    QFETCH(bool, branch);
    Harness h;
    h.build(3, 3);
    h.mine()->SetModified(false);
    TNetworkGrid *grid = branch ? h.branches() : h.uzels();
    h.go(grid, 1, branch ? 4 : 0);
    Harness::type("0");
    const qint32 number = branch ? h.mine()->Branches().Items(2)->Number() : h.mine()->Uzels().Items(2)->Number();
    QCOMPARE(number, 2);
    QVERIFY(!h.mine()->Modified());
    Harness::key(Qt::Key_Return);   // closing applies once more: still refused
    const qint32 after = branch ? h.mine()->Branches().Items(2)->Number() : h.mine()->Uzels().Items(2)->Number();
    QCOMPARE(after, 2);
    QVERIFY(!h.mine()->Modified());
}

void tst_NetworkTables::unsetByBlankOrMinus_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::newRow("X minus") << 1 << "-";
    QTest::newRow("Z minus") << 3 << "-";
    QTest::newRow("Y pasted blank") << 2 << " ";
}

void tst_NetworkTables::unsetByBlankOrMinus()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    Harness h;
    h.build(2, 0);
    h.go(h.uzels(), 0, kind);
    Harness::key(Qt::Key_Return);   // opens the editor with the cell's text
    QVERIFY(h.editor());
    QCOMPARE(h.editor()->text(), kind == 1 ? QString("10.0") : kind == 2 ? QString("1.0") : QString("0.0"));
    h.editor()->selectAll();
    if (typed == " ")
        h.editor()->insert(typed);   // a blank can only be pasted: the key filter refuses it
    else
        Harness::type(typed);
    QVERIFY(IsUnset(h.mine()->Uzels().Items(1)->Coordinate(kind)));
    Harness::key(Qt::Key_Return);
    QVERIFY(IsUnset(h.mine()->Uzels().Items(1)->Coordinate(kind)));
    QCOMPARE(h.uzels()->TableModel()->CellText(0, h.uzels()->TableModel()->ColumnOfKind(kind)), QString());
}

void tst_NetworkTables::deletingEveryCharacterKeepsValue()
{
    Harness h;
    h.build(2, 1);
    h.go(h.uzels(), 1, 1);
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.editor()->text(), QString("20.0"));
    h.editor()->end(false);
    for (int i = 0; i < 4; ++i)
        Harness::key(Qt::Key_Backspace);
    QCOMPARE(h.editor()->text(), QString());
    QCOMPARE(h.mine()->Uzels().Items(2)->X(), 2.0f);   // "2" was the last text that converted
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.mine()->Uzels().Items(2)->X(), 2.0f);
}

void tst_NetworkTables::enterAppendsRow()
{
    Harness h;
    h.build(3, 0);
    h.go(h.uzels(), 2, 3);   // last editable cell of the last row
    Harness::type("7");
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.mine()->Uzels().Count(), 4);
    QCOMPARE(h.mine()->Uzels().Items(4)->Number(), 4);
    QVERIFY(h.mine()->Uzels().Items(4)->IsEmpty() == false);
    QCOMPARE(h.uzels()->CurrentRow(), 3);
    QCOMPARE(h.uzels()->CurrentColumn(), h.uzels()->TableModel()->ColumnOfKind(0));
    QCOMPARE(h.uzels()->model()->rowCount(), 4);
    // Enter in a middle column advances a column instead.
    h.go(h.uzels(), 0, 1);
    Harness::type("1");
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.uzels()->CurrentRow(), 0);
    QCOMPARE(h.uzels()->CurrentColumn(), h.uzels()->TableModel()->ColumnOfKind(2));
}

void tst_NetworkTables::enterOnUnsetNumberReportsIt()
{
    AppTestHooks hooks;
    Harness h;
    h.build(2, 0);
    h.mine()->Uzels().Items(2)->SetNumber(kUnsetInt);
    h.tables->RefreshTables();
    h.go(h.uzels(), 1, 3);
    Harness::type("1");
    Harness::key(Qt::Key_Return);
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text, QString("Ошибка !\r\nНе указан номер узла !"));
    QCOMPARE(h.mine()->Uzels().Count(), 2);   // nothing appended
    QCOMPARE(h.uzels()->CurrentRow(), 1);
    QCOMPARE(h.uzels()->CurrentColumn(), h.uzels()->TableModel()->ColumnOfKind(0));
}

void tst_NetworkTables::branchValidation_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("kind");
    QTest::newRow("same ends") << 7 << 7 << 1
                               << "Ошибка !\r\nНомера начального и конечного узлов должны быть различными !" << 6;
    QTest::newRow("end 0") << 7 << 0 << 1 << "Ошибка !\r\nНеверно указан номер конечного узла !" << 6;
    QTest::newRow("start unset") << kUnsetInt << 3 << 1
                                 << "Ошибка !\r\nНеверно указан номер начального узла !" << 5;
    QTest::newRow("number unset") << 1 << 2 << kUnsetInt << "Ошибка !\r\nНе указан номер ветви !" << 4;
    QTest::newRow("valid") << 1 << 2 << 1 << QString() << -1;
}

void tst_NetworkTables::branchValidation()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, number);
    QFETCH(QString, message);
    QFETCH(int, kind);
    AppTestHooks hooks;
    Harness h;
    h.mine()->AddBranch(number, start, end, QString(), 2.0f);
    h.tables->RefreshTables();
    // The last column: Enter goes on to the next row, validating this one.
    h.branches()->setFocus();
    h.branches()->SetCurrentCell({.Row = 0, .Column = h.branches()->TableModel()->ColumnOfKind(17)});
    Harness::type("a");
    Harness::key(Qt::Key_Return);
    if (message.isEmpty()) {
        QVERIFY(hooks.errors().isEmpty());
        QCOMPARE(h.mine()->Branches().Count(), 2);
        QCOMPARE(h.mine()->Branches().Items(2)->Number(), 2);
        return;
    }
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text, message);
    QCOMPARE(h.mine()->Branches().Count(), 1);
    QCOMPARE(h.branches()->CurrentColumn(), h.branches()->TableModel()->ColumnOfKind(kind));
}

void tst_NetworkTables::escapeRestoresTextAndModified()
{
    Harness h;
    h.build(2, 2);
    h.mine()->SetModified(false);
    h.go(h.branches(), 1, 14);
    Harness::type("abc");
    QCOMPARE(h.mine()->Branches().Items(2)->Comment(), QString("abc"));
    QVERIFY(h.mine()->Modified());
    Harness::key(Qt::Key_Escape);
    QVERIFY(!h.branches()->IsEditing());
    QCOMPARE(h.mine()->Branches().Items(2)->Comment(), QString());
    QVERIFY(!h.mine()->Modified());

    // A number whose editor was emptied before Esc gets its saved value back too.
    h.go(h.uzels(), 0, 0);
    Harness::type("9");
    QCOMPARE(h.mine()->Uzels().Items(1)->Number(), 9);
    Harness::key(Qt::Key_Backspace);
    Harness::key(Qt::Key_Escape);
    QCOMPARE(h.mine()->Uzels().Items(1)->Number(), 1);
    QVERIFY(!h.mine()->Modified());
}

void tst_NetworkTables::calculatedAsksOnce()
{
    Harness h;
    h.build(2, 2);
    h.doc.SetCalculated(true);
    h.mine()->SetModified(false);
    h.answers.enqueue(false);
    h.go(h.branches(), 0, 8);
    Harness::type("1234");
    QCOMPARE(h.questions, 1);
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.questions, 1);
    QCOMPARE(h.mine()->Branches().Items(1)->Section(), 4.0f);
    QVERIFY(!h.mine()->Modified());
    QVERIFY(h.doc.Calculated());
    // Agreeing clears the results: the typing lands and no further question comes.
    h.answers.enqueue(true);
    h.go(h.branches(), 1, 8);
    Harness::type("9");
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.questions, 2);
    QCOMPARE(h.mine()->Branches().Items(2)->Section(), 9.0f);
    QVERIFY(!h.doc.Calculated());
}

void tst_NetworkTables::commentsNeverAsk()
{
    Harness h;
    h.build(2, 1);
    h.doc.SetCalculated(true);
    for (int kind : {14, 17}) {
        h.go(h.branches(), 0, kind);
        Harness::type("xy");
        Harness::key(Qt::Key_Return);
    }
    QCOMPARE(h.questions, 0);
    QCOMPARE(h.mine()->Branches().Items(1)->Comment(), QString("xy"));
    QCOMPARE(h.mine()->Branches().Items(1)->Name(), QString("xy"));
}

void tst_NetworkTables::keyFilter_data()
{
    QTest::addColumn<bool>("branch");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("node number") << false << 0 << "1a-.2" << "12";
    QTest::newRow("coordinate") << false << 1 << "-1a.5e" << "-1.5";
    QTest::newRow("start node") << true << 5 << "3-.x4" << "34";
    QTest::newRow("section") << true << 8 << "2-.5+" << "2.5";
    QTest::newRow("resistance") << true << 15 << "0.0012e" << "0.0012";
    QTest::newRow("comment") << true << 14 << "ab-.1 ;" << "ab-.1 ;";
}

void tst_NetworkTables::keyFilter()
{
    QFETCH(bool, branch);
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Harness h;
    h.build(2, 1);
    TNetworkGrid *grid = branch ? h.branches() : h.uzels();
    h.go(grid, 0, kind);
    Harness::key(Qt::Key_Return);
    QVERIFY(h.editor());
    h.editor()->clear();
    Harness::type(typed);
    QCOMPARE(h.editor()->text(), shown);
}

void tst_NetworkTables::nonCodePageCharacterRefused()
{
    Harness h;
    h.build(2, 1);
    h.go(h.branches(), 0, 14);
    Harness::typeUnicode(QStringLiteral("Штрек"));
    QVERIFY(h.editor());
    Harness::typeUnicode(QStringLiteral("\u4e2d\u20ac"));   // a Chinese character; the euro sign is in 1251
    QCOMPARE(h.editor()->text(), QStringLiteral("Штрек\u20ac"));
    h.editor()->insert(QStringLiteral("\u0101"));   // pasted: refused as well
    QCOMPARE(h.editor()->text(), QStringLiteral("Штрек\u20ac"));
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.mine()->Branches().Items(1)->Comment(), QStringLiteral("Штрек\u20ac"));
}

void tst_NetworkTables::emptiedCommentIsCleared()
{
    Harness h;
    h.build(2, 1);
    h.mine()->Branches().Items(1)->SetComment("old");
    h.go(h.branches(), 0, 14);
    Harness::key(Qt::Key_Return);
    h.editor()->end(false);
    for (int i = 0; i < 3; ++i)
        Harness::key(Qt::Key_Backspace);
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.mine()->Branches().Items(1)->Comment(), QString());
}

void tst_NetworkTables::volumeFactorFallback_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("expected");
    QTest::newRow("factor") << 11 << "2.5" << 2.5f;
    QTest::newRow("factor minus") << 11 << "-" << 1.0f;
    QTest::newRow("factor blank") << 11 << "  " << 1.0f;
    QTest::newRow("extra") << 12 << "7" << 7.0f;
    QTest::newRow("extra garbage") << 12 << "." << 0.0f;
}

void tst_NetworkTables::volumeFactorFallback()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(float, expected);
    Harness h;
    h.build(2, 1);
    TBranch *b = h.mine()->Branches().Items(1);
    b->SetVolumeFactor(3.0f);
    b->SetExtraVolume(3.0f);
    h.tables->GoToColumn(h.branches(), kind, true);   // hidden by default
    Harness::key(Qt::Key_Return);
    QVERIFY(h.editor());
    h.editor()->selectAll();
    h.editor()->insert(text);
    QCOMPARE(kind == 11 ? b->VolumeFactor() : b->ExtraVolume(), expected);
}

void tst_NetworkTables::headerClickSortsDragDoesNot()
{
    Harness h;
    h.build(3, 3);
    h.mine()->Branches().Items(1)->SetSection(9.0f);
    h.mine()->Branches().Items(2)->SetSection(1.0f);
    h.mine()->Branches().Items(3)->SetSection(5.0f);
    h.tables->RefreshTables();
    TGridHeader *header = h.branches()->ColumnHeader();
    const int sectionColumn = h.branches()->TableModel()->ColumnOfKind(8);
    const QPoint centre(header->sectionViewportPosition(sectionColumn) + header->sectionSize(sectionColumn) / 2,
                        header->height() / 2);

    // Dragging "Сечение" two columns to the left moves the column and does not sort.
    const QPoint target(header->sectionViewportPosition(sectionColumn - 2) + 5, centre.y());
    QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(header->viewport(), centre + (target - centre) * step / 10);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, target);
    QVERIFY(h.tables->ColumnDragged);
    QCOMPARE(h.mine()->Branches().Items(1)->Number(), 1);
    QCOMPARE(h.doc.BranchColumns()[2].Kind, quint8(8));
    QCOMPARE(h.branches()->TableModel()->ColumnOfKind(8), sectionColumn - 2);

    // A click sorts by the column.
    const int moved = h.branches()->TableModel()->ColumnOfKind(8);
    const QPoint click(header->sectionViewportPosition(moved) + header->sectionSize(moved) / 2, centre.y());
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, click);
    QVERIFY(!h.tables->ColumnDragged);
    QCOMPARE(h.mine()->Branches().Items(1)->Section(), 1.0f);
    QCOMPARE(h.mine()->Branches().Items(2)->Section(), 5.0f);
    QCOMPARE(h.mine()->Branches().Items(3)->Section(), 9.0f);

    // The node table sorts by its columns too.
    h.mine()->Uzels().Items(1)->SetCoordinate(3, 5.0f);
    TGridHeader *uh = h.uzels()->ColumnHeader();
    const int z = h.uzels()->TableModel()->ColumnOfKind(3);
    QTest::mouseClick(uh->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(uh->sectionViewportPosition(z) + uh->sectionSize(z) / 2, uh->height() / 2));
    QCOMPARE(h.mine()->Uzels().Items(3)->Number(), 1);
}

void tst_NetworkTables::goToColumnShowsHiddenColumn()
{
    Harness h;
    h.build(2, 1);
    TNetworkTableModel *model = h.branches()->TableModel();
    QCOMPARE(model->ColumnOfKind(11), -1);
    const int columns = model->columnCount();
    h.tables->GoToColumn(h.branches(), 11, true);
    QCOMPARE(model->columnCount(), columns + 1);
    QVERIFY(model->ColumnOfKind(11) >= 0);
    QCOMPARE(h.branches()->CurrentColumn(), model->ColumnOfKind(11));
    QVERIFY(h.branches()->hasFocus());
    QVERIFY(h.branches()->columnWidth(model->ColumnOfKind(11)) > 7);
}

void tst_NetworkTables::startNodeCellMovesNodeTable()
{
    Harness h;
    h.build(5, 2);
    h.mine()->Branches().Items(2)->SetNumbers(2, 4);
    h.go(h.branches(), 1, 5);
    QCOMPARE(h.uzels()->CurrentRow(), 3);
    QCOMPARE(h.mine()->CurUzel(), h.mine()->Uzels().Items(4));
    h.go(h.branches(), 0, 4);
    QCOMPARE(h.mine()->CurBranch(), h.mine()->Branches().Items(1));
}

void tst_NetworkTables::nonEditableCellNotCurrentOnClick()
{
    Harness h;
    h.build(2, 2);
    h.go(h.branches(), 0, 4);
    const int length = h.branches()->TableModel()->ColumnOfKind(7);
    const QRect cell = h.branches()->visualRect(h.branches()->model()->index(1, length));
    QTest::mouseClick(h.branches()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QCOMPARE(h.branches()->CurrentColumn(), h.branches()->TableModel()->ColumnOfKind(4));
    const int section = h.branches()->TableModel()->ColumnOfKind(8);
    const QRect editable = h.branches()->visualRect(h.branches()->model()->index(1, section));
    QTest::mouseClick(h.branches()->viewport(), Qt::LeftButton, Qt::NoModifier, editable.center());
    QCOMPARE(h.branches()->CurrentColumn(), section);
    QCOMPARE(h.branches()->CurrentRow(), 1);
    // The program may put the cursor anywhere.
    h.branches()->SetCurrentCell({.Row = 0, .Column = length});
    QCOMPARE(h.branches()->CurrentColumn(), length);
}

void tst_NetworkTables::leftRightSkipNonEditable()
{
    Harness h;
    h.build(2, 2);
    TNetworkTableModel *m = h.branches()->TableModel();
    h.go(h.branches(), 0, 6);
    Harness::key(Qt::Key_Right);
    QCOMPARE(m->KindOf(h.branches()->CurrentColumn()), 8);   // past "Длина"
    Harness::key(Qt::Key_Left);
    QCOMPARE(m->KindOf(h.branches()->CurrentColumn()), 6);
    h.go(h.branches(), 0, 4);
    Harness::key(Qt::Key_Left);
    QCOMPARE(m->KindOf(h.branches()->CurrentColumn()), 4);
    h.go(h.branches(), 0, 17);
    Harness::key(Qt::Key_Right);
    QCOMPARE(m->KindOf(h.branches()->CurrentColumn()), 17);
}

void tst_NetworkTables::addAndDeleteCommands()
{
    AppTestHooks hooks;
    Harness h;
    h.build(2, 2);
    TBranch *last = h.mine()->Branches().Items(2);
    last->SetShape(2);
    last->SetRoughness(3);
    h.go(h.branches(), 0, 8);
    Harness::key(Qt::Key_Insert);
    QCOMPARE(h.mine()->Branches().Count(), 3);
    TBranch *added = h.mine()->Branches().Items(3);
    QCOMPARE(added->Number(), 3);
    QVERIFY(IsUnset(added->StartNumber()) && IsUnset(added->Section()));
    QCOMPARE(int(added->Shape()), 2);
    QCOMPARE(int(added->Roughness()), 3);
    QVERIFY(h.branches()->IsEditing());
    QCOMPARE(h.branches()->CurrentRow(), 2);

    // Delete: the new branch has a number, so the question comes; No keeps it.
    Harness::key(Qt::Key_Escape);
    hooks.answers.enqueue(QMessageBox::No);
    Harness::key(Qt::Key_Delete);
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(hooks.boxes.last().text, QString("Вы действительно хотите удалить ветвь №3?"));
    QCOMPARE(h.mine()->Branches().Count(), 3);
    hooks.answers.enqueue(QMessageBox::Yes);
    Harness::key(Qt::Key_Delete);
    QCOMPARE(h.mine()->Branches().Count(), 2);
    QCOMPARE(h.branches()->model()->rowCount(), 2);

    // An empty node goes without a question.
    h.mine()->AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
    h.tables->RefreshTables();
    h.go(h.uzels(), 2, 1);
    const int boxes = hooks.boxes.size();
    Harness::key(Qt::Key_Delete);
    QCOMPARE(hooks.boxes.size(), boxes);
    QCOMPARE(h.mine()->Uzels().Count(), 2);
}

void tst_NetworkTables::deleteNodeInUseRefused()
{
    AppTestHooks hooks;
    Harness h;
    h.build(3, 2);
    h.mine()->ResolveIncidence();
    h.go(h.uzels(), 0, 0);
    hooks.answers.enqueue(QMessageBox::Yes);
    Harness::key(Qt::Key_Delete);
    QCOMPARE(h.mine()->Uzels().Count(), 3);
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text,
             QString("Невозможно удалить узел, т.к. количество инцидетных ему ветвей больше 0."));
}

void tst_NetworkTables::perimeterOpensDialog()
{
    Harness h;
    h.build(2, 1);
    int opened = 0;
    bool busyWhileOpen = false;
    h.tables->EditCrossSection = [&](TBranch *b) {
        ++opened;
        busyWhileOpen = h.tables->DialogBusy;
        b->SetSection(9.0f);
        b->SetShape(3);
        return true;
    };
    h.go(h.branches(), 0, 9);
    Harness::type("1");
    QCOMPARE(opened, 1);
    QVERIFY(busyWhileOpen);
    QVERIFY(!h.branches()->IsEditing());
    QVERIFY(!h.tables->DialogBusy);
    QCOMPARE(h.branches()->TableModel()->CellText(0, h.branches()->TableModel()->ColumnOfKind(9)),
             QString("10.7"));
    QCOMPARE(h.branches()->TableModel()->KindOf(h.branches()->CurrentColumn()), 14);
}

void tst_NetworkTables::perimeterRunsRealDialog()
{
    Harness h;
    h.build(2, 1);
    bool seen = false;
    h.go(h.branches(), 0, 9);
    // The dialog is modal: answer it from the event loop it runs.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *form = qobject_cast<TPerimTypeForm *>(QApplication::activeModalWidget());
        if (!form)
            return;
        answer.stop();
        seen = form->SEdit->text() == QString("4.0");
        form->SEdit->setText("16");
        form->SFormButtons->button(2)->click();
        form->btnOK->click();
    });
    answer.start(10);
    Harness::key(Qt::Key_Return);
    answer.stop();
    QVERIFY(seen);
    TBranch *b = h.mine()->Branches().Items(1);
    QCOMPARE(b->Section(), 16.0f);
    QCOMPARE(int(b->Shape()), 2);
    QCOMPARE(h.branches()->TableModel()->CellText(0, h.branches()->TableModel()->ColumnOfKind(9)),
             QString("16.6"));
}

void tst_NetworkTables::refusedEditOpensNoDialog()
{
    Harness h;
    h.build(2, 1);
    h.doc.SetCalculated(true);
    h.answers.enqueue(false);
    int opened = 0;
    h.tables->EditCrossSection = [&](TBranch *) { return ++opened > 0; };
    h.go(h.branches(), 0, 9);
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.questions, 1);
    QCOMPARE(opened, 0);
}

void tst_NetworkTables::jumperSymbolReplacesRowNumber()
{
    Harness h;
    h.build(2, 2);
    TBranch *b = h.mine()->Branches().Items(2);
    new TJumper(b);   // owned by the branch
    h.tables->UpdateBranchRow(b);
    QApplication::processEvents();
    TGridHeader *rows = h.branches()->RowHeader();
    const QImage image = rows->viewport()->grab().toImage();
    // The symbol's dark red face sits at the right edge of the row-number cell of row 2, top
    // aligned; row 1 keeps its number (grey text, no red anywhere).
    const int top = rows->sectionViewportPosition(1);
    QCOMPARE(image.pixelColor(30 - 16 + 7, top + 6), QColor(128, 0, 0));
    bool red = false;
    for (int x = 0; x < 30; ++x)
        for (int y = rows->sectionViewportPosition(0); y < top; ++y)
            red = red || image.pixelColor(x, y) == QColor(128, 0, 0);
    QVERIFY(!red);
    // Deleting the stopping brings the number back.
    b->Jumpers().Delete(0);
    h.tables->UpdateBranchRow(b);
    QApplication::processEvents();
    QVERIFY(rows->viewport()->grab().toImage().pixelColor(30 - 16 + 7, top + 6) != QColor(128, 0, 0));
}

void tst_NetworkTables::cellColours()
{
    Harness h;
    h.build(3, 2);
    h.mine()->Uzels().Items(2)->SetSurface(true);
    h.tables->RefreshTables();
    h.go(h.uzels(), 0, 0);
    h.branches()->SetCurrentCell({.Row = 0, .Column = 0});
    QApplication::processEvents();
    auto pixel = [](TNetworkGrid *grid, int row, int column) {
        const QImage image = grid->viewport()->grab().toImage();
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        return image.pixelColor(cell.left() + 1, cell.top() + 1);
    };
    const int x = h.uzels()->TableModel()->ColumnOfKind(1);
    QCOMPARE(pixel(h.uzels(), 1, x), QColor(0, 255, 255));     // surface row: aqua
    QCOMPARE(pixel(h.uzels(), 2, x), QColor(255, 255, 255));   // ordinary cell
    QCOMPARE(pixel(h.uzels(), 0, 0), QColor(0, 0, 128));       // current cell: navy
    TNetworkTableModel *bm = h.branches()->TableModel();
    for (int kind : {7, 10, 13, 16, 18})
        QCOMPARE(pixel(h.branches(), 1, bm->ColumnOfKind(kind)), QColor(235, 235, 235));
    QCOMPARE(pixel(h.branches(), 1, bm->ColumnOfKind(8)), QColor(255, 255, 255));

    // A plan position paints its cell in its colour with the inverted font colour.
    auto *plf = new TPLF(h.mine());
    plf->SetName("П1");
    plf->SetColor(0x000000);
    h.mine()->Branches().Items(2)->SetPLFIndex(0);
    h.tables->RefreshTables();
    QApplication::processEvents();
    const QImage image = h.branches()->viewport()->grab().toImage();
    const QRect cell = h.branches()->visualRect(bm->index(1, bm->ColumnOfKind(18)));
    QCOMPARE(image.pixelColor(cell.left() + 3, cell.top() + 2), QColor(0, 0, 0));
    bool white = false;
    for (int px = cell.left() + 3; px < cell.right() - 2; ++px)
        for (int py = cell.top() + 2; py < cell.bottom() - 1; ++py)
            white = white || image.pixelColor(px, py) == QColor(255, 255, 255);
    QVERIFY(white);

    // The perimeter symbol takes the seam's colour.
    auto *layer = new TLayer(h.mine());
    layer->SetColor(0x0000FF);   // red
    h.mine()->Branches().Items(2)->SetLayerIndex(0);
    h.tables->RefreshTables();
    QApplication::processEvents();
    const QImage again = h.branches()->viewport()->grab().toImage();
    const QRect perim = h.branches()->visualRect(bm->index(1, bm->ColumnOfKind(9)));
    QCOMPARE(again.pixelColor(perim.left() + 2 + perim.height() / 2 - 1, perim.center().y()), QColor(255, 0, 0));

    // Indexes of seams and positions that no longer exist end those cells quietly.
    h.mine()->Branches().Items(2)->SetLayerIndex(7);
    h.mine()->Branches().Items(2)->SetPLFIndex(9);
    h.tables->RefreshTables();
    const QImage broken = h.branches()->viewport()->grab().toImage();
    QCOMPARE(broken.pixelColor(perim.left() + 1, perim.top() + 1), QColor(255, 255, 255));
    QCOMPARE(h.branches()->TableModel()->CellText(1, bm->ColumnOfKind(18)), QString());
}

void tst_NetworkTables::layoutWidths()
{
    Harness h;
    TNetworkTableModel *m = h.branches()->TableModel();
    const QFontMetrics metrics(h.branches()->TableFont());
    const int comment = m->ColumnOfKind(14);
    QCOMPARE(h.branches()->columnWidth(comment), metrics.horizontalAdvance("Комментарий") + 7);
    const int r = m->ColumnOfKind(15);
    QCOMPARE(h.branches()->columnWidth(r), metrics.horizontalAdvance("00.0000000") + 7);
    QCOMPARE(h.branches()->verticalHeader()->width(), 30);
    QCOMPARE(h.branches()->horizontalHeader()->height(), 2 * h.branches()->rowHeight(0));
}

namespace {

// The number cells of grid whose text, in the table's font made bold (the widest look a cell
// takes), does not fit between the cell's 2-pixel insets: "row:kind text".
QStringList cutNumbers(TNetworkGrid *grid)
{
    QFont bold = grid->TableFont();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const TNetworkTableModel *model = grid->TableModel();
    QStringList cut;
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c) {
            const TColumnKind kind = model->Column(c)->ColumnKind();
            const QString text = model->CellText(r, c);
            const int symbol = kind == TColumnKind::Perimeter ? 17 : 0;
            if (ColumnKinds::ShowsNumber(kind) &&
                metrics.horizontalAdvance(text) + 4 + symbol > grid->visualRect(model->index(r, c)).width())
                cut << QStringLiteral("%1:%2 %3").arg(r).arg(int(kind)).arg(text);
        }
    return cut;
}

} // namespace

// Real mine coordinates have 6 or 7 digits before the point: whichever way a value arrives, the
// column widens to it (never narrower than its header).
void tst_NetworkTables::numbersNeverCut_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("value");
    QTest::newRow("X of a file") << "opened" << 1 << "5412345.67";
    QTest::newRow("Y typed") << "typed" << 2 << "7345678.9";
    QTest::newRow("Z pasted") << "pasted" << 3 << "-1234567.25";
    QTest::newRow("R typed") << "typed" << 15 << "123456.5";
    QTest::newRow("section pasted") << "pasted" << 8 << "999999.5";
    QTest::newRow("scaled by a transformation") << "moved" << 1 << "100000";
    // The lengths, volumes and angles of the node's branches follow a typed coordinate.
    QTest::newRow("lengths of a typed X") << "typed" << 1 << "-9999999";
}

void tst_NetworkTables::numbersNeverCut()
{
    QFETCH(QString, how);
    QFETCH(int, kind);
    QFETCH(QString, value);
    Harness h;
    h.build(3, 3);
    h.mine()->ResolveIncidence();
    const bool node = kind <= 3;
    TNetworkGrid *grid = node ? h.uzels() : h.branches();
    if (how == QLatin1String("opened")) {
        h.mine()->Uzels().Items(2)->SetCoordinate(kind, value.toFloat());
        h.tables->LayoutColumns();   // as a document read from a file is laid out
    } else if (how == QLatin1String("typed")) {
        h.go(grid, 1, kind);
        Harness::type(value);
        Harness::key(Qt::Key_Return);
    } else if (how == QLatin1String("pasted")) {
        h.go(grid, 1, kind);
        h.tables->Paste(grid, value);
    } else {
        TNodeTransform::ShiftScale({value.toDouble(), 1, 1}, {0, 0, 0}).ApplyToAll(*h.mine());
        h.tables->WidenColumns();   // what the document window does after the dialog
    }
    const QString shown = grid->TableModel()->CellText(1, grid->TableModel()->ColumnOfKind(kind));
    QVERIFY2(shown.size() >= 8, qPrintable(shown));
    QCOMPARE(cutNumbers(h.uzels()), QStringList());
    QCOMPARE(cutNumbers(h.branches()), QStringList());
}

// A column the user made narrower than its widest number shows "###" there, and the tool tip
// the number; typing a value widens it again.
void tst_NetworkTables::narrowedColumnShowsHashes()
{
    Harness h;
    h.build(2, 1);
    h.mine()->Uzels().Items(1)->SetCoordinate(1, 5412345.67f);
    h.tables->LayoutColumns();
    TNetworkGrid *grid = h.uzels();
    const int x = grid->TableModel()->ColumnOfKind(1);
    grid->ColumnHeader()->resizeSection(x, grid->ColumnHeader()->sectionSize(x) - 10);
    h.tables->RepaintTables();
    const QRect cell = grid->visualRect(grid->TableModel()->index(0, x));
    const QString full = QStringLiteral("5412345.5");   // the single-precision value shown
    QCOMPARE(grid->Delegate()->FittedText(TColumnKind::X, full, grid->TableFont(), cell.width()),
             QStringLiteral("###"));
    QCOMPARE(grid->Delegate()->FittedText(TColumnKind::X, "20.0", grid->TableFont(), cell.width()),
             QStringLiteral("20.0"));
    QHelpEvent tip(QEvent::ToolTip, cell.center(), grid->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(grid->viewport(), &tip);
    QTRY_COMPARE(QToolTip::text(), full);
    QVERIFY(!cutNumbers(grid).isEmpty());
    h.go(grid, 1, 1);
    Harness::type("1234567");
    Harness::key(Qt::Key_Return);
    QCOMPARE(cutNumbers(grid), QStringList());
}

void tst_NetworkTables::editViewToggles()
{
    Harness h;
    h.build(2, 2);
    QList<bool> captions;
    QObject::connect(h.tables.get(), &TNetworkTables::EditingChanged, [&](bool e) { captions << e; });
    h.go(h.branches(), 1, 8);
    h.tables->ToggleEditView();
    QVERIFY(h.branches()->IsEditing());
    QVERIFY(!h.uzels()->IsEditing());
    QVERIFY(!captions.isEmpty() && captions.last());
    Harness::type("3");
    QCOMPARE(h.mine()->Branches().Items(2)->Section(), 3.0f);
    h.tables->ToggleEditView();
    QVERIFY(!h.tables->IsEditing());
    QVERIFY(!captions.last());
}

void tst_NetworkTables::headerCursor()
{
    Harness h;
    TGridHeader *header = h.branches()->ColumnHeader();
    const int c = h.branches()->TableModel()->ColumnOfKind(8);
    const int middle = header->sectionViewportPosition(c) + header->sectionSize(c) / 2;
    QTest::mouseMove(header->viewport(), QPoint(middle, header->height() / 2));
    QCOMPARE(header->cursor().shape(), Qt::PointingHandCursor);
    // Over a border the header offers resizing, and the hand comes back past it.
    const int border = header->sectionViewportPosition(c) + header->sectionSize(c) - 1;
    QTest::mouseMove(header->viewport(), QPoint(border, header->height() / 2));
    QCOMPARE(header->cursor().shape(), Qt::SplitHCursor);
    QTest::mouseMove(header->viewport(), QPoint(middle, header->height() / 2));
    QCOMPARE(header->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(h.branches()->RowHeader()->cursor().shape(), Qt::ArrowCursor);
}

void tst_NetworkTables::displaySettingsReachTables()
{
    NewTestConfig();
    Config->FontSize = 8;
    {
        Harness h;
        const int small = h.branches()->rowHeight(0);
        Config->FontSize = 16;
        Config->SelCellAttr.Bold = true;
        h.tables->ApplyDisplaySettings();
        const int large = h.branches()->rowHeight(0);
        QVERIFY(large > small);
        QCOMPARE(large, CellRowHeight(h.branches()->TableFont(), h.branches()));
        QCOMPARE(h.uzels()->rowHeight(0), large);
        QCOMPARE(h.branches()->horizontalHeader()->height(), 2 * large);
        QCOMPARE(h.branches()->TableFont().pointSize(), 16);
        // Columns are measured again in the new font.
        const QFontMetrics metrics(h.branches()->TableFont());
        const int comment = h.branches()->TableModel()->ColumnOfKind(14);
        QCOMPARE(h.branches()->columnWidth(comment), metrics.horizontalAdvance("Комментарий") + 7);
    }
    DropTestConfig();
}

QTEST_MAIN(tst_NetworkTables)
#include "tst_NetworkTables.moc"
