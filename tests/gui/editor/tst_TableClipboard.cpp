// Copying from the tables and pasting blocks into the node and branch tables, in a locale whose
// decimal separator is a comma: what goes to the clipboard, what a pasted block does to the
// model, and that a refused block changes nothing. Boxes are answered by AppTestHooks: a paste
// by the keyboard that fails shows the error box, which would otherwise wait for a user.
#include "AppError.h"
#include "AppTestHooks.h"
#include "TablesHarness.h"
#include "editor/TElementGrid.h"
#include "editor/TGridHeader.h"
#include "exchange/NetworkCsv.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "storage/TMineDocument.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMimeData>
#include <QtTest>

namespace {

struct Harness : TablesHarness {
    TNetworkGrid *grid(bool nodes) const { return nodes ? uzels() : branches(); }
    // The network as the CSV files would hold it, and the modified flag.
    QByteArray snapshot() const
    {
        return NetworkCsv::NodesText(*mine()) + NetworkCsv::BranchesText(*mine()) + (mine()->Modified() ? "M" : "");
    }
    void clickRowNumber(TNetworkGrid *grid, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QHeaderView *h = grid->RowHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, modifiers,
                          QPoint(h->width() / 2, h->sectionViewportPosition(row) + h->sectionSize(row) / 2));
    }
};

QString clipboardText() { return QGuiApplication::clipboard()->text(); }

} // namespace

class tst_TableClipboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void copyPasteRoundTrip();
    void refusedBlockChangesNothing_data();
    void refusedBlockChangesNothing();
    void pasteBeyondLastRowAppends();
    void resultsQuestionOnce();
    void rowNumbersSelectRows();
    void stoppingRowsCopied();

private:
    AppTestHooks m_hooks;
};

void tst_TableClipboard::initTestCase()
{
    // Before anything asks for the user's decimal separator.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

// Whole rows with unset cells, Cyrillic text, quotes, a tab inside a cell and values with more
// digits than the cells show: copied with their header, pasted into an empty document, every
// value comes back. The text carries the values in full, the HTML the cells as shown.
void tst_TableClipboard::copyPasteRoundTrip()
{
    Harness from;
    TMine *m = from.mine();
    TBranch *b = m->AddBranch(7, 1, 2, QStringLiteral("Уклон, \"старый\""), 12.75f);
    b->SetResistance(0.00123449);
    b->SetName(QStringLiteral("Штрек №1"));
    m->AddBranch(8, 2, 3, QString(), kUnsetReal);
    m->AddBranch(9, 5, 4, QStringLiteral("a\tb"), 3.5f)->SetName(QStringLiteral("две\nстроки"));
    from.tables->RefreshTables();
    from.go(from.grid(false), 0, 8);
    from.clickRowNumber(from.grid(false), 0);
    from.clickRowNumber(from.grid(false), 2, Qt::ShiftModifier);
    QTest::keyClick(from.grid(false), Qt::Key_C, Qt::ControlModifier);

    const QString text = clipboardText();
    QVERIFY2(text.startsWith(QStringLiteral("Ветвь\tНач. узел\tКон. узел\tДлина м\tСечение м2\t")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("7\t1\t2\t\t12,75\t")));
    QVERIFY(text.contains(QStringLiteral("\t0,00123449\t")));
    const QString html = QGuiApplication::clipboard()->mimeData()->html();
    QVERIFY(html.contains(QStringLiteral("<td>Уклон, &quot;старый&quot;</td>")));
    QVERIFY(html.contains(QStringLiteral("<td>12,8</td>")) && html.contains(QStringLiteral("<td>0,0012345</td>")));

    Harness to;
    to.go(to.grid(false), 0, 4);
    QTest::keyClick(to.grid(false), Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(m_hooks.texts(), QStringList());
    QCOMPARE(NetworkCsv::BranchesText(*to.mine()), NetworkCsv::BranchesText(*m));
    QVERIFY(to.mine()->Modified());
}

void tst_TableClipboard::refusedBlockChangesNothing_data()
{
    QTest::addColumn<bool>("uzels");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorKind");
    const QString prefix = QStringLiteral("Вставка не выполнена: строка %1, столбец \"%2\".\r\n\r\n");
    QTest::newRow("one bad section among good rows") << false << 0 << 4 << "7\t1\t2\t\t5,5\n8\t2\t3\t\tabc\n"
        << prefix.arg(2).arg("Сечение м2") + "Неверно указано число" << 1 << 8;
    QTest::newRow("digit grouping") << false << 0 << 8 << "1.234,5"
        << prefix.arg(1).arg("Сечение м2") +
               "Неверно указано число «1.234,5»: в нем и запятая, и точка (разделители разрядов не допускаются)"
        << 0 << 8;
    QTest::newRow("branch number 0") << false << 1 << 4 << "0"
        << prefix.arg(2).arg("Ветвь") + "Ошибка !\r\nНомер ветви должен быть больше 0 !" << 1 << 4;
    QTest::newRow("empty branch number") << false << 0 << 4 << "\t1\t2"
        << prefix.arg(1).arg("Ветвь") + "Ошибка !\r\nНе указан номер ветви !" << 0 << 4;
    QTest::newRow("appended row without end node") << false << 2 << 4 << "9\t3\t1\n10\t1\n"
        << prefix.arg(4).arg("Кон. узел") + "Ошибка !\r\nНеверно указан номер конечного узла !" << 2 << 6;
    QTest::newRow("same start and end") << false << 0 << 5 << "3\t3"
        << prefix.arg(1).arg("Кон. узел") + "Ошибка !\r\nНомера начального и конечного узлов должны быть различными !"
        << 0 << 6;
    QTest::newRow("comment outside code page 1251") << false << 0 << 14 << "ok\nШтрек \u65E5"
        << prefix.arg(2).arg("Комментарий") + "Текст содержит знаки, которых нет в кодовой странице Windows-1251"
        << 1 << 14;
    QTest::newRow("minus in a node number") << true << 0 << 0 << "-5"
        << prefix.arg(1).arg("Узел") + "Неверно указано число" << 0 << 0;
    QTest::newRow("coordinate beyond single precision") << true << 1 << 1 << "9" + QString(40, u'0')
        << prefix.arg(2).arg("Коор. X м") + "Неверно указано число" << 1 << 1;
}

void tst_TableClipboard::refusedBlockChangesNothing()
{
    QFETCH(bool, uzels);
    QFETCH(int, row);
    QFETCH(int, kind);
    QFETCH(QString, block);
    QFETCH(QString, message);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorKind);
    Harness h;
    for (int i = 1; i <= 3; ++i) {
        h.mine()->AddUzel(i, float(i), 0, 0);
        h.mine()->AddBranch(i, i, i % 3 + 1, QString(), 4.0f);
    }
    h.tables->RefreshTables();
    h.mine()->SetModified(false);
    const QByteArray before = h.snapshot();
    TNetworkGrid *grid = h.grid(uzels);
    h.go(grid, row, kind);
    QString error;
    try {
        h.tables->Paste(grid, block);
    } catch (const AppError &e) {
        error = e.message();
    }
    QCOMPARE(error, message);
    QCOMPARE(h.snapshot(), before);
    QCOMPARE(grid->TableModel()->ElementCount(), 3);
    QCOMPARE(grid->CurrentRow(), cursorRow);
    QCOMPARE(grid->TableModel()->KindOf(grid->CurrentColumn()), cursorKind);
}

// New rows are numbered one more than the row above and take its shape and roughness, as rows
// appended by Enter; cells on computed columns are skipped.
void tst_TableClipboard::pasteBeyondLastRowAppends()
{
    Harness h;
    h.mine()->AddUzel(1, 0, 0, 0);
    h.mine()->AddUzel(2, 0, 0, 0);
    TBranch *first = h.mine()->AddBranch(1, 1, 2, QString(), 4.0f);
    first->SetShape(2);
    first->SetRoughness(3);
    h.tables->RefreshTables();

    h.go(h.grid(true), 1, 1);
    h.tables->Paste(h.grid(true), QStringLiteral("1,5\t\t-2\n3\t4\t5\n"));
    QCOMPARE(h.mine()->Uzels().Count(), 3);
    const TUzel *moved = h.mine()->Uzels().Items(2);
    QCOMPARE(moved->X(), 1.5f);
    QCOMPARE(moved->Y(), kUnsetReal);
    QCOMPARE(moved->Z(), -2.0f);
    const TUzel *added = h.mine()->Uzels().Items(3);
    QCOMPARE(added->Number(), 3);
    QCOMPARE(added->Z(), 5.0f);
    QCOMPARE(h.grid(true)->TableModel()->rowCount(), 3);

    h.go(h.grid(false), 0, 5);
    // Start, end, the length (computed: skipped), section.
    h.tables->Paste(h.grid(false), QStringLiteral("1\t2\t999\t6\n3\t1\t\t7,25\n"));
    QCOMPARE(h.mine()->Branches().Count(), 2);
    const TBranch *b = h.mine()->Branches().Items(2);
    QCOMPARE(b->Number(), 2);
    QCOMPARE(b->StartNumber(), 3);
    QCOMPARE(b->Section(), 7.25f);
    QCOMPARE(int(b->Shape()), 2);
    QCOMPARE(int(b->Roughness()), 3);
}

void tst_TableClipboard::resultsQuestionOnce()
{
    Harness h;
    for (int i = 1; i <= 3; ++i)
        h.mine()->AddBranch(i, i, i + 1, QString(), 4.0f);
    h.tables->RefreshTables();
    h.doc.SetCalculated(true);
    h.answers << false;
    const QByteArray before = h.snapshot();
    h.go(h.grid(false), 0, 8);
    h.tables->Paste(h.grid(false), QStringLiteral("1\n2\n3\n"));
    QCOMPARE(h.questions, 1);
    QCOMPARE(h.snapshot(), before);
    // Comments alone, as when they are typed, need no question.
    h.go(h.grid(false), 0, 14);
    h.tables->Paste(h.grid(false), QStringLiteral("a\nb\n"));
    QCOMPARE(h.questions, 1);
    QCOMPARE(h.mine()->Branches().Items(2)->Comment(), QStringLiteral("b"));
    h.answers << true;
    h.go(h.grid(false), 0, 8);
    h.tables->Paste(h.grid(false), QStringLiteral("1\n2\n3\n"));
    QCOMPARE(h.questions, 2);
    QCOMPARE(h.mine()->Branches().Items(3)->Section(), 3.0f);
}

// Row numbers select whole rows and keep the current cell in an editable column even when the
// leftmost column is computed; a column header click sorts and selects nothing.
void tst_TableClipboard::rowNumbersSelectRows()
{
    Harness h;
    for (int i = 1; i <= 4; ++i)
        h.mine()->AddBranch(5 - i, i, i + 1, QString(), float(i));
    TBranchColumns columns = h.doc.BranchColumns();
    std::rotate(columns.begin(), columns.begin() + 3, columns.begin() + 4);   // "Длина" first
    h.doc.SetBranchColumns(columns);
    h.tables->LayoutColumns();
    h.tables->RefreshTables();
    TNetworkGrid *grid = h.grid(false);
    QCOMPARE(grid->TableModel()->KindOf(0), 7);
    h.go(grid, 0, 8);
    h.clickRowNumber(grid, 1);
    h.clickRowNumber(grid, 2, Qt::ShiftModifier);
    QVERIFY(grid->selectionModel()->isRowSelected(1) && grid->selectionModel()->isRowSelected(2));
    QVERIFY(!grid->selectionModel()->isRowSelected(0) && !grid->selectionModel()->isRowSelected(3));
    QCOMPARE(grid->CurrentRow(), 2);
    QVERIFY(grid->ColumnEditable(grid->CurrentColumn()));
    QVERIFY(grid->IsCellSelected(1, 0));
    // A move by the program to another row (a scheme, a message) leaves the block behind.
    grid->SetCurrentCell({.Row = 3, .Column = 1});
    QCOMPARE(grid->selectionModel()->selectedIndexes(), QModelIndexList{grid->model()->index(3, 1)});

    QHeaderView *header = grid->ColumnHeader();
    const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
    QCOMPARE(h.mine()->Branches().Items(1)->Number(), 1);   // sorted by number
    QVERIFY(grid->selectionModel()->selectedColumns().isEmpty());
}

void tst_TableClipboard::stoppingRowsCopied()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 4.0f);
    auto *j = new TJumper(b);
    j->SetCaption(QStringLiteral("П-1"));
    TElementGrid grid(TElementGrid::Stoppings);
    grid.Branch = [b] { return b; };
    grid.Refresh();
    grid.resize(700, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QHeaderView *rows = grid.verticalHeader();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(rows->width() / 2, rows->sectionViewportPosition(0) + 2));
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier);
    const QStringList lines = clipboardText().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith(QStringLiteral("Номер\tМатериал\tВруб\tВент.\tТолщ. м\t")), qPrintable(lines[0]));
    QVERIFY2(lines[1].startsWith(QStringLiteral("П-1\t")), qPrintable(lines[1]));
}

QTEST_MAIN(tst_TableClipboard)
#include "tst_TableClipboard.moc"
