// Hanging branches, isolated branches and isolated nodes as the dead-end window lists them.
#include "MineText.h"
#include "checks/DeadEnds.h"
#include "model/TMine.h"

#include <QtTest>

namespace {

QStringList Rows(const std::vector<TDeadEndBranch> &rows)
{
    QStringList out;
    for (const TDeadEndBranch &r : rows)
        out << QStringLiteral("%1:%2 %3-%4").arg(r.Index).arg(r.Number).arg(r.StartNumber).arg(r.EndNumber);
    return out;
}

QStringList Rows(const std::vector<TDeadEndUzel> &rows)
{
    QStringList out;
    for (const TDeadEndUzel &r : rows)
        out << QStringLiteral("%1:%2").arg(r.Index).arg(r.Number);
    return out;
}

} // namespace

class tst_DeadEnds : public QObject {
    Q_OBJECT

private slots:
    void lists_data();
    void lists();
    void resolvesAfresh();
};

void tst_DeadEnds::lists_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QStringList>("hanging");
    QTest::addColumn<QStringList>("isolated");
    QTest::addColumn<QStringList>("isolatedUzels");

    QTest::newRow("chain 1-2-3: both branches hanging")
        << "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; b 10 1 2; b 11 2 3"
        << QStringList{"1:10 1-2", "2:11 2-3"} << QStringList() << QStringList();
    QTest::newRow("lone branch 7-8 is isolated only")
        << "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; u 4 3 0 0; u 7 0 5 0; u 8 0 6 0;"
           "b 1 1 2; b 2 2 3; b 3 3 1; b 4 7 8; b 5 4 1"
        << QStringList{"5:5 4-1"} << QStringList{"4:4 7-8"} << QStringList();
    QTest::newRow("node without branch; node with three branches nowhere")
        << "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; u 4 3 0 0; u 9 9 9 9; b 1 1 2; b 2 1 3; b 3 1 4; b 4 2 3; b 5 3 4; b 6 4 2"
        << QStringList() << QStringList() << QStringList{"5:9"};
    QTest::newRow("nothing to list") << "u 1 0 0 0; u 2 1 0 0; b 1 1 2; b 2 2 1"
                                     << QStringList() << QStringList() << QStringList();
    QTest::newRow("ends that name no node are no dead ends")
        << "u 1 0 0 0; u 2 1 0 0; u 3 1 0 0; b 1 1 2; b 2 2 3; b 3 3 99"
        << QStringList{"1:1 1-2"} << QStringList() << QStringList();
}

void tst_DeadEnds::lists()
{
    QFETCH(QString, mine);
    QFETCH(QStringList, hanging);
    QFETCH(QStringList, isolated);
    QFETCH(QStringList, isolatedUzels);

    TMine m;
    minetext::Build(m, mine);
    const TDeadEnds ends = CollectDeadEnds(m);
    QCOMPARE(Rows(ends.Hanging), hanging);
    QCOMPARE(Rows(ends.Isolated), isolated);
    QCOMPARE(Rows(ends.IsolatedUzels), isolatedUzels);
}

void tst_DeadEnds::resolvesAfresh()
{
    // A node renumbered since the last resolution must be seen as it is now.
    TMine m;
    minetext::Build(m, "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; b 1 1 2; b 2 2 3");
    CollectDeadEnds(m);
    m.Uzels().Items(3)->SetNumber(30);
    const TDeadEnds ends = CollectDeadEnds(m);
    QCOMPARE(Rows(ends.Hanging), QStringList{"1:1 1-2"});
    QCOMPARE(Rows(ends.IsolatedUzels), QStringList{"3:30"});
}

QTEST_GUILESS_MAIN(tst_DeadEnds)
#include "tst_DeadEnds.moc"
