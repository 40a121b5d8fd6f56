// Where each kind of message reference leads in the tables.
#include "checks/MessageTarget.h"

#include <QtTest>

class tst_MessageTarget : public QObject {
    Q_OBJECT

private slots:
    void target_data();
    void target();
};

void tst_MessageTarget::target_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("table");
    QTest::addColumn<QList<int>>("columns");

    const int uzels = TMessageTarget::UzelTable, branches = TMessageTarget::BranchTable, none = TMessageTarget::None;
    QTest::newRow("0 node number") << 0 << uzels << QList<int>{0};
    QTest::newRow("2 repeated node") << 2 << uzels << QList<int>{0};
    QTest::newRow("6 node incidence") << 6 << uzels << QList<int>{0};
    QTest::newRow("1 branch number") << 1 << branches << QList<int>{4};
    QTest::newRow("3 repeated branch") << 3 << branches << QList<int>{4};
    QTest::newRow("4 isolated or parallel") << 4 << branches << QList<int>{4};
    QTest::newRow("10 start node") << 10 << branches << QList<int>{5};
    QTest::newRow("11 end node") << 11 << branches << QList<int>{6};
    QTest::newRow("12 loop: start, then end") << 12 << branches << QList<int>{5, 6};
    QTest::newRow("13 coordinates: Z, Y, then X") << 13 << uzels << QList<int>{3, 2, 1};
    QTest::newRow("5 the mine") << 5 << none << QList<int>{};
    QTest::newRow("7 unknown") << 7 << none << QList<int>{};
    QTest::newRow("255 unknown") << 255 << none << QList<int>{};
}

void tst_MessageTarget::target()
{
    QFETCH(int, kind);
    QFETCH(int, table);
    QFETCH(QList<int>, columns);

    const TMessageTarget t = MessageTarget(TErrorInfo{quint8(kind), 3});
    QCOMPARE(int(t.table), table);
    QCOMPARE(t.columnKinds, columns);
}

QTEST_GUILESS_MAIN(tst_MessageTarget)
#include "tst_MessageTarget.moc"
