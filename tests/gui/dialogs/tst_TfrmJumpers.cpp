// The stopping list window: an empty mine, sorting by a released header click, and where
// "&Перейти" and "&На схему" lead.
#include "dialogs/TfrmJumpers.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class tst_TfrmJumpers : public QObject {
    Q_OBJECT
private slots:
    void emptyMineShowsOneEmptyRow();
    void headerReleaseSorts();
    void buttonsLeadToStopping_data();
    void buttonsLeadToStopping();
};

namespace {

// Branch 8 with stoppings at 0.5 and 0.9, branch 2 with one at 0.5.
struct Mine {
    TMine mine;
    TJumper *a, *b, *c;
    Mine()
    {
        TBranch *b8 = mine.AddBranch(8, 1, 2, QString(), 1);
        TBranch *b2 = mine.AddBranch(2, 2, 3, QString(), 1);
        a = new TJumper(b8, 0.5);
        b = new TJumper(b8, 0.9);
        c = new TJumper(b2, 0.5);
        a->SetCaption(QStringLiteral("1"));
        b->SetCaption(QStringLiteral("2"));
        c->SetCaption(QStringLiteral("3"));
    }
};

} // namespace

void tst_TfrmJumpers::emptyMineShowsOneEmptyRow()
{
    TMine mine;
    mine.AddBranch(1, 1, 2, QString(), 1);
    TfrmJumpers list(&mine);
    list.show();
    QCOMPARE(list.windowTitle(), QString("Список перемычек"));
    QCOMPARE(list.Grid->model()->rowCount(), 1);
    QCOMPARE(list.Grid->model()->columnCount(), TfrmJumpers::ColumnCount - 1);
    QVERIFY(!list.btnGo->isEnabled());
    QVERIFY(!list.btnScheme->isEnabled());
    QVERIFY(list.btnClose->isEnabled());
    QVERIFY(list.btnGo->isDefault());
    QCOMPARE(list.SelectedStopping(), nullptr);
}

void tst_TfrmJumpers::headerReleaseSorts()
{
    Mine m;
    TfrmJumpers list(&m.mine);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    // At first by branch number, then position.
    QCOMPARE(list.Grid->verticalHeader()->count(), 3);
    QCOMPARE(list.Stoppings(), (std::vector<TJumper *>{m.c, m.a, m.b}));
    QCOMPARE(list.SelectedStopping(), m.c);

    list.SortByColumn(2);
    QCOMPARE(list.Stoppings(), (std::vector<TJumper *>{m.a, m.b, m.c}));

    QHeaderView *header = list.Grid->horizontalHeader();
    QCOMPARE(header->viewport()->cursor().shape(), Qt::PointingHandCursor);
    // "Положен." is list column 7: equal positions go by branch number.
    const int section = 6;
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list.SortColumn(), 7);
    QCOMPARE(list.Stoppings(), (std::vector<TJumper *>{m.c, m.a, m.b}));
}

void tst_TfrmJumpers::buttonsLeadToStopping_data()
{
    QTest::addColumn<bool>("scheme");
    QTest::newRow("&Перейти") << false;
    QTest::newRow("&На схему") << true;
}

void tst_TfrmJumpers::buttonsLeadToStopping()
{
    QFETCH(bool, scheme);
    Mine m;
    TfrmJumpers list(&m.mine);
    TJumper *wentTo = nullptr, *shown = nullptr;
    list.GoTo = [&](TJumper *j) { wentTo = j; };
    list.ShowOnScheme = [&](TJumper *j) { shown = j; };
    list.show();
    list.SelectRow(2);
    QTest::mouseClick(scheme ? list.btnScheme : list.btnGo, Qt::LeftButton);
    QCOMPARE(scheme ? shown : wentTo, m.b);
    QCOMPARE(scheme ? wentTo : shown, nullptr);
    QVERIFY(!list.isVisible());
    QCOMPARE(list.result(), int(QDialog::Accepted));
}

QTEST_MAIN(tst_TfrmJumpers)
#include "tst_TfrmJumpers.moc"
