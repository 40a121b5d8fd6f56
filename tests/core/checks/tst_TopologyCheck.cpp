// The topology check: the exact lines of each stage, their references, the stage results and
// the panel rule, the status texts, and the mine changes the check makes.
#include "MessageText.h"
#include "MineText.h"
#include "checks/TCheckStatus.h"
#include "checks/TTopologyCheck.h"
#include "model/TMine.h"

#include <QtTest>

using messagetext::Render;

namespace {

const QString kStop = QStringLiteral("Проверка остановлена из-за большого количества ошибок.");

class RecordingStatus : public TCheckStatus {
public:
    void ShowStatusText(const QString &text) override { log << QStringLiteral("show ") + text; }
    void ClearStatusText() override { log << QStringLiteral("clear"); }
    QStringList log;
};

struct Run {
    TMessageList list;
    TStageResult result;
};

} // namespace

class tst_TopologyCheck : public QObject {
    Q_OBJECT

private slots:
    void stageOne_data();
    void stageOne();
    void referencesStopAfterTen();
    void pairTestsStopAfterHundred_data();
    void pairTestsStopAfterHundred();
    void deletionsArePermanentAndMarkModified();
    void coordinates_data();
    void coordinates();
    void coordinatesStopAfterTwenty();
    void physics_data();
    void physics();
    void incidences_data();
    void incidences();
    void incidenceCountsDoNotWrap();
    void checkAllRunsStagesInTurn_data();
    void checkAllRunsStagesInTurn();
    void statusTextsClearedOnEveryPath_data();
    void statusTextsClearedOnEveryPath();
    void panelRule_data();
    void panelRule();
    void formatting_data();
    void formatting();
};

void tst_TopologyCheck::stageOne_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<bool>("earlyEnd");

    QTest::newRow("valid network") << "u 1 0 0 0; u 2 10 0 0; b 1 1 2" << QStringList() << true << false;

    QTest::newRow("nodes but no branches: node numbers still listed")
        << "u 1 0 0 0; u 0 1.5 - 2"
        << QStringList{"Отсутствуют данные по выработкам", "",
                       "Обнаружены узлы с неверно указанными номерами:",
                       "  - №=0 ,  X=1.5,  Y=,  Z=2.0 @0:2"}
        << false << true;

    QTest::newRow("negative and unset node numbers")
        << "u -3 1 2 3; u - 1 2 -3.25; u 1 0 0 0; b 1 1 1"
        << QStringList{"Обнаружены узлы с неверно указанными номерами:",
                       "  - №=-3 ,  X=1.0,  Y=2.0,  Z=3.0 @0:1",
                       "  - №= ,  X=1.0,  Y=2.0,  Z=-3.3 @0:2"}
        << false << true;

    QTest::newRow("invalid branch numbers with comment suffix")
        << "u 1 0 0 0; u 2 1 1 1; b 0 1 2 \"Ствол №2\"; b - - 2; b 3 1 2"
        << QStringList{"Обнаружены ветви с неверно указанными номероми:",
                       "  - №=0 ,  Нач.у.=1,  Кон.у.=2,  \"Ствол №2\" @1:1",
                       "  - №= ,  Нач.у.=,  Кон.у.=2 @1:2"}
        << false << true;

    QTest::newRow("node and branch groups each open with an empty line")
        << "u 0 0 0 0; b -1 1 2"
        << QStringList{"Обнаружены узлы с неверно указанными номерами:", "  - №=0 ,  X=0.0,  Y=0.0,  Z=0.0 @0:1",
                       "", "Обнаружены ветви с неверно указанными номероми:",
                       "  - №=-1 ,  Нач.у.=1,  Кон.у.=2 @1:1"}
        << false << true;

    QTest::newRow("missing node numbers: both unset names the start")
        << "u 1 0 0 0; b 1 - - 4; b 2 1 -; b 3 1 1"
        << QStringList{"Обнаружены ветви без указанных номеров узлов:",
                       "  - У ветви № 1 отсутствует номер начального узла @10:1",
                       "  - У ветви № 2 отсутствует номер конечного узла @11:2"}
        << false << true;

    QTest::newRow("nodes 5, 5, 5 give three pairs")
        << "u 5 0 0 0; u 5 1 0 0; u 5 2 0 0; b 1 5 5"
        << QStringList{"Обнаружены узлы с повторяющимися номерами: ",
                       "  - № 5,  X=0.0,  Y=0.0,  Z=0.0 @2:1", "  - № 5,  X=1.0,  Y=0.0,  Z=0.0 @2:2", "",
                       "  - № 5,  X=0.0,  Y=0.0,  Z=0.0 @2:1", "  - № 5,  X=2.0,  Y=0.0,  Z=0.0 @2:3", "",
                       "  - № 5,  X=1.0,  Y=0.0,  Z=0.0 @2:2", "  - № 5,  X=2.0,  Y=0.0,  Z=0.0 @2:3", "",
                       "", "Обнаружены ветви с одинаковыми номерами начального и конечного узлов:",
                       "  - Ветвь № 1. Узлы с номерами 5 и 5 @12:1"}
        << false << false;

    QTest::newRow("pairs of different numbers interleave in list order")
        << "u 3 0 0 0; u 4 0 0 1; u 4 0 0 2; u 3 0 0 3; b 1 3 4"
        << QStringList{"Обнаружены узлы с повторяющимися номерами: ",
                       "  - № 3,  X=0.0,  Y=0.0,  Z=0.0 @2:1", "  - № 3,  X=0.0,  Y=0.0,  Z=3.0 @2:4", "",
                       "  - № 4,  X=0.0,  Y=0.0,  Z=1.0 @2:2", "  - № 4,  X=0.0,  Y=0.0,  Z=2.0 @2:3", ""}
        << false << false;

    QTest::newRow("repeated branches: no empty line after the last pair")
        << "u 1 0 0 0; u 1 0 0 0; u 2 0 0 0; b 7 1 2 \"a\"; b 7 2 1; b 7 - 2"
        << QStringList{"Обнаружены узлы с повторяющимися номерами: ",
                       "  - № 1,  X=0.0,  Y=0.0,  Z=0.0 @2:1", "  - № 1,  X=0.0,  Y=0.0,  Z=0.0 @2:2", "",
                       "", "Обнаружены ветви с повторяющимися номерами: ",
                       "  - № ?, Нач.у.=1, Кон.у.=2,  \"a\" @3:1", "  - № ?, Нач.у.=2, Кон.у.=1 @3:2", "",
                       "  - № ?, Нач.у.=1, Кон.у.=2,  \"a\" @3:1", "  - № ?, Нач.у.=, Кон.у.=2 @3:3", "",
                       "  - № ?, Нач.у.=2, Кон.у.=1 @3:2", "  - № ?, Нач.у.=, Кон.у.=2 @3:3",
                       "", "Обнаружены ветви без указанных номеров узлов:",
                       "  - У ветви № 7 отсутствует номер начального узла @10:3"}
        << false << true;

    QTest::newRow("repeated numbers alone fail the stage at its normal end")
        << "u 1 0 0 0; u 2 0 0 0; b 4 1 2; b 4 2 1"
        << QStringList{"Обнаружены ветви с повторяющимися номерами: ",
                       "  - № ?, Нач.у.=1, Кон.у.=2 @3:1", "  - № ?, Нач.у.=2, Кон.у.=1 @3:2"}
        << false << false;

    QTest::newRow("repeated numbers do not hide missing references")
        << "u 1 0 0 0; u 1 1 0 0; u 2 0 0 0; b 1 1 2; b 2 2 9"
        << QStringList{"Обнаружены узлы с повторяющимися номерами: ",
                       "  - № 1,  X=0.0,  Y=0.0,  Z=0.0 @2:1", "  - № 1,  X=1.0,  Y=0.0,  Z=0.0 @2:2", "",
                       "", "Обнаружены ветви, ссылающиеся на несуществующие узлы: ",
                       "  - Ветвь № 2 ссылается на узел № 9 @11:2"}
        << false << true;

    QTest::newRow("repeated numbers do not hide loops")
        << "u 1 0 0 0; u 2 0 0 0; b 1 1 2; b 1 2 2"
        << QStringList{"Обнаружены ветви с повторяющимися номерами: ",
                       "  - № ?, Нач.у.=1, Кон.у.=2 @3:1", "  - № ?, Нач.у.=2, Кон.у.=2 @3:2", "",
                       "Обнаружены ветви с одинаковыми номерами начального и конечного узлов:",
                       "  - Ветвь № 1. Узлы с номерами 2 и 2 @12:2"}
        << false << false;

    QTest::newRow("deletions listed before the first group")
        << "u - - - -; u 1 0 0 0; b - - - -; u 1 5 5 5; b - - - -; b 1 1 2"
        << QStringList{"Удалено пустых узлов: 1", "Удалено пустых ветвей: 2", "",
                       "Обнаружены узлы с повторяющимися номерами: ",
                       "  - № 1,  X=0.0,  Y=0.0,  Z=0.0 @2:1", "  - № 1,  X=5.0,  Y=5.0,  Z=5.0 @2:2", "",
                       "", "Обнаружены ветви, ссылающиеся на несуществующие узлы: ",
                       "  - Ветвь № 1 ссылается на узел № 2 @11:1"}
        << false << true;

    QTest::newRow("only deletions: passes")
        << "u - - - -; u 1 0 0 0; u 2 0 0 0; b 1 1 2; b - - - -"
        << QStringList{"Удалено пустых узлов: 1", "Удалено пустых ветвей: 1"} << true << false;

    QTest::newRow("reference to a missing node")
        << "u 1 0 0 0; u 2 0 0 0; b 1 1 9; b 2 8 2"
        << QStringList{"Обнаружены ветви, ссылающиеся на несуществующие узлы: ",
                       "  - Ветвь № 1 ссылается на узел № 9 @11:1", "  - Ветвь № 2 ссылается на узел № 8 @10:2"}
        << false << true;

    QTest::newRow("ten missing references: no stop line")
        << "u 1 0 0 0; b 1 11 12; b 2 13 14; b 3 15 16; b 4 17 18; b 5 19 20"
        << QStringList{"Обнаружены ветви, ссылающиеся на несуществующие узлы: ",
                       "  - Ветвь № 1 ссылается на узел № 11 @10:1", "  - Ветвь № 1 ссылается на узел № 12 @11:1",
                       "  - Ветвь № 2 ссылается на узел № 13 @10:2", "  - Ветвь № 2 ссылается на узел № 14 @11:2",
                       "  - Ветвь № 3 ссылается на узел № 15 @10:3", "  - Ветвь № 3 ссылается на узел № 16 @11:3",
                       "  - Ветвь № 4 ссылается на узел № 17 @10:4", "  - Ветвь № 4 ссылается на узел № 18 @11:4",
                       "  - Ветвь № 5 ссылается на узел № 19 @10:5", "  - Ветвь № 5 ссылается на узел № 20 @11:5"}
        << false << true;

    QTest::newRow("six branches without nodes")
        << "b 1 1 2; b 2 3 4; b 3 5 6; b 4 7 8; b 5 9 10; b 6 11 12"
        << QStringList{"Отсутствуют данные по сопряжениям", "",
                       "Обнаружены ветви, ссылающиеся на несуществующие узлы: ",
                       "  - Ветвь № 1 ссылается на узел № 1 @10:1", "  - Ветвь № 1 ссылается на узел № 2 @11:1",
                       "  - Ветвь № 2 ссылается на узел № 3 @10:2", "  - Ветвь № 2 ссылается на узел № 4 @11:2",
                       "  - Ветвь № 3 ссылается на узел № 5 @10:3", "  - Ветвь № 3 ссылается на узел № 6 @11:3",
                       "  - Ветвь № 4 ссылается на узел № 7 @10:4", "  - Ветвь № 4 ссылается на узел № 8 @11:4",
                       "  - Ветвь № 5 ссылается на узел № 9 @10:5", "  - Ветвь № 5 ссылается на узел № 10 @11:5",
                       kStop}
        << false << true;

    QTest::newRow("loops fail at the normal end")
        << "u 1 0 0 0; u 2 0 0 0; b 1 1 2; b 2 2 2 \"петля\""
        << QStringList{"Обнаружены ветви с одинаковыми номерами начального и конечного узлов:",
                       "  - Ветвь № 2. Узлы с номерами 2 и 2 @12:2"}
        << false << false;
}

void tst_TopologyCheck::stageOne()
{
    QFETCH(QString, mine);
    QFETCH(QStringList, lines);
    QFETCH(bool, passed);
    QFETCH(bool, earlyEnd);

    TMine m;
    minetext::Build(m, mine);
    TMessageList list;
    list.AddMessage(QStringLiteral("left over from the last check"));
    TTopologyCheck check(m, list);
    check.SetDecimalPoint(QLatin1Char('.'));
    const TStageResult r = check.CheckTopology();

    QCOMPARE(Render(list.Lines()), lines);
    QCOMPARE(r.Passed, passed);
    QCOMPARE(r.EarlyEnd, earlyEnd);
    QCOMPARE(m.TopologyValid(), false);
}

void tst_TopologyCheck::referencesStopAfterTen()
{
    // The eleventh missing reference gives the stop line, and nothing after it is looked at.
    TMine m;
    minetext::Build(m, "u 1 0 0 0; b 1 1 50; b 2 51 52; b 3 53 54; b 4 55 56; b 5 57 58; b 6 59 60; b 7 61 62");
    TMessageList list;
    TTopologyCheck check(m, list);
    const TStageResult r = check.CheckTopology();
    QCOMPARE(list.MessageCount(), 1 + 10 + 1);
    QCOMPARE(list.Lines().back().Text, kStop);
    QVERIFY(!list.Lines().back().Info);
    QCOMPARE(Render(list.Line(10)), QStringLiteral("  - Ветвь № 6 ссылается на узел № 59 @10:6"));
    QVERIFY(r.EarlyEnd);
}

void tst_TopologyCheck::pairTestsStopAfterHundred_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("stopped");

    // count elements: "u 1 <i> 0 0" for nodes, "b <number> 1 2" for branches.
    auto nodes = [](int number, int count) {
        QString t;
        for (int i = 0; i < count; ++i)
            t += QStringLiteral("u %1 %2 0 0;").arg(number).arg(i);
        return t;
    };
    auto branches = [](int first, int step, int count) {
        QString t;
        for (int i = 0; i < count; ++i)
            t += QStringLiteral("b %1 1 2;").arg(first + i * step);
        return t;
    };
    // Pairs listed: 91 + 6 + 3 = 100, or 91 + 10 = 101. Node pairs take three lines each, branch
    // pairs two and a separator, parallel pairs one (after the two crowded nodes).
    const QString ends = "u 2 0 0 0; b 1 1 2";
    QTest::newRow("100 node pairs") << nodes(1, 14) + nodes(3, 4) + nodes(4, 3) + ends << 1 + 300 << false;
    QTest::newRow("101 node pairs") << nodes(1, 14) + nodes(3, 5) + ends << 1 + 300 + 1 << true;
    const QString twoNodes = "u 1 0 0 0; u 2 1 0 0;";
    QTest::newRow("100 branch pairs") << twoNodes + branches(1, 0, 14) + branches(3, 0, 4) + branches(4, 0, 3)
                                      << 1 + 200 + 99 << false;
    QTest::newRow("101 branch pairs") << twoNodes + branches(1, 0, 14) + branches(3, 0, 5) << 1 + 200 + 99 + 1 << true;
    QTest::newRow("101 parallel branches") << twoNodes + branches(1, 1, 15) << 1 + 2 + 100 + 1 << true;
    QTest::newRow("20,000 nodes numbered 1") << nodes(1, 20000) + ends << 1 + 300 + 1 << true;
}

void tst_TopologyCheck::pairTestsStopAfterHundred()
{
    // Repeated numbers or parallel branches make pairs by the square of their count; each test
    // lists 100 and ends with the stop line, and the stage still fails.
    QFETCH(QString, mine);
    QFETCH(int, lines);
    QFETCH(bool, stopped);

    TMine m;
    minetext::Build(m, mine);
    TMessageList list;
    TTopologyCheck check(m, list);
    QElapsedTimer clock;
    clock.start();
    const TCheckOutcome outcome = check.CheckAll();
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!outcome.Passed());
    QCOMPARE(list.MessageCount(), lines);
    QCOMPARE(list.Lines().back().Text == kStop, stopped);
}

void tst_TopologyCheck::deletionsArePermanentAndMarkModified()
{
    TMine m;
    minetext::Build(m, "u - - - -; u 1 0 0 0; u - - - -; b 1 1 9; b - - - -");
    m.SetModified(false);
    TMessageList list;
    TTopologyCheck check(m, list);
    const TStageResult r = check.CheckTopology();
    QCOMPARE(r.DeletedUzels, 2);
    QCOMPARE(r.DeletedBranches, 1);
    QVERIFY(r.DeletedAny());
    QVERIFY(!r.Passed);
    QCOMPARE(m.Uzels().Count(), 1);
    QCOMPARE(m.Branches().Count(), 1);
    QVERIFY(m.Modified());
    QCOMPARE(list.Line(0).Text, QStringLiteral("Удалено пустых узлов: 2"));
    QCOMPARE(list.Line(1).Text, QStringLiteral("Удалено пустых ветвей: 1"));
}

void tst_TopologyCheck::coordinates_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QString>("point");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("passed");

    QTest::newRow("all coordinates given") << "u 1 0 0 0; u 2 1 2 3; b 1 1 2" << "." << QStringList() << true;
    QTest::newRow("one axis missing, decimal comma")
        << "u 1 -12.34 - 0.05; u 2 1 2 3; u 3 1 2 -; b 1 1 2; b 2 2 3" << ","
        << QStringList{"Обнаружены узлы без указанных коодинат:", "  - № 1,  X=-12,3,  Y=,  Z=0,1 @13:1",
                       "  - № 3,  X=1,0,  Y=2,0,  Z= @13:3"}
        << false;
    QTest::newRow("decimal point") << "u 1 - 2.25 -; u 2 0 0 0; b 1 1 2" << "."
                                   << QStringList{"Обнаружены узлы без указанных коодинат:",
                                                  "  - № 1,  X=,  Y=2.3,  Z= @13:1"}
                                   << false;
}

void tst_TopologyCheck::coordinates()
{
    QFETCH(QString, mine);
    QFETCH(QString, point);
    QFETCH(QStringList, lines);
    QFETCH(bool, passed);

    TMine m;
    minetext::Build(m, mine);
    TMessageList list;
    TTopologyCheck check(m, list);
    check.SetDecimalPoint(point.at(0));
    QVERIFY(check.CheckTopology().Passed);
    const TStageResult r = check.CheckCoordinates();
    QCOMPARE(Render(list.Lines()), lines);
    QCOMPARE(r.Passed, passed);
    QVERIFY(!r.EarlyEnd);
    QCOMPARE(m.TopologyValid(), passed);
    if (passed) {
        // A valid topology links the branches to their nodes.
        QCOMPARE(m.Branches().Items(1)->StartUzel(), m.Uzels().Items(1));
        QCOMPARE(m.Uzels().Items(1)->BranchCount(), 1);
    }
}

void tst_TopologyCheck::coordinatesStopAfterTwenty()
{
    TMine m;
    QString text;
    for (int i = 1; i <= 25; ++i)
        text += QStringLiteral("u %1 - - -;").arg(i);
    text += "b 1 1 2; b 2 2 3";
    minetext::Build(m, text);
    // A valid flag from an earlier run must not survive a failing one.
    m.SetTopologyValid(true);
    TMessageList list;
    TTopologyCheck check(m, list);
    QVERIFY(check.CheckTopology().Passed);
    const TStageResult r = check.CheckCoordinates();
    QVERIFY(!r.Passed);
    QCOMPARE(list.MessageCount(), 1 + 20 + 1);
    QCOMPARE(Render(list.Line(20)), QStringLiteral("  - № 20,  X=,  Y=,  Z= @13:20"));
    QCOMPARE(list.Line(21).Text, kStop);
    QVERIFY(!m.TopologyValid());
}

void tst_TopologyCheck::physics_data()
{
    QTest::addColumn<int>("temperature");
    QTest::addColumn<float>("pressure");
    QTest::addColumn<bool>("valid");

    QTest::newRow("defaults") << 20 << 1.0f << true;
    QTest::newRow("-60 valid") << -60 << 1.0f << true;
    QTest::newRow("60 valid") << 60 << 1.0f << true;
    QTest::newRow("61 invalid") << 61 << 1.0f << false;
    QTest::newRow("-61 invalid") << -61 << 1.0f << false;
    QTest::newRow("0.95 valid") << 20 << 0.95f << true;
    QTest::newRow("1.05 valid") << 20 << 1.05f << true;
    QTest::newRow("0.949 invalid") << 20 << 0.949f << false;
    QTest::newRow("1.051 invalid") << 20 << 1.051f << false;
    QTest::newRow("not a number invalid") << 20 << std::numeric_limits<float>::quiet_NaN() << false;
}

void tst_TopologyCheck::physics()
{
    QFETCH(int, temperature);
    QFETCH(float, pressure);
    QFETCH(bool, valid);

    TMine m;
    minetext::Build(m, "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; b 1 1 2; b 2 2 3; u 4 5 5 5");
    m.SetTemperature(temperature);
    m.SetPressure(pressure);
    TMessageList list;
    TTopologyCheck check(m, list);
    const TCheckOutcome outcome = check.CheckAll();
    QCOMPARE(outcome.StagesRun, 3);
    QStringList expected;
    if (!valid)
        expected << "Физические характеристики шахты:"
                 << "Неверные значения температуры или давления в шахте @5:0" << "";
    // The incidence findings form their own group after the physical one.
    expected << "Нарушение топологии шахты:" << "  - Узел № 4 изолирован @6:4";
    QCOMPARE(Render(list.Lines()), expected);
    QVERIFY(!outcome.Passed());
}

void tst_TopologyCheck::incidences_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("chain: nothing") << "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; b 1 1 2; b 2 2 3" << QStringList();
    QTest::newRow("1-2 and 2-1 are parallel")
        << "u 1 0 0 0; u 2 1 0 0; b 1 1 2; b 2 2 1"
        << QStringList{"Нарушение топологии шахты:", "  - Обнаружены параллельные ветви (1 и 2) @4:1"};
    QTest::newRow("three parallel branches, isolated branch first")
        << "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; u 4 3 0 0; b 5 3 4; b 6 1 2; b 7 2 1; b 8 1 2"
        << QStringList{"Нарушение топологии шахты:", "  - Обнаружена изолированная ветвь 5 @4:1",
                       "  - Обнаружены параллельные ветви (6 и 7) @4:2",
                       "  - Обнаружены параллельные ветви (6 и 8) @4:2",
                       "  - Обнаружены параллельные ветви (7 и 8) @4:3"};
    QTest::newRow("isolated node, surface node with two branches")
        << "u 1 0 0 0 s; u 2 1 0 0; u 3 2 0 0; u 9 5 5 5; u 4 0 0 9 s; b 1 1 2; b 2 1 3; b 3 4 2"
        << QStringList{"Нарушение топологии шахты:",
                       "  - Поверхностный узел № 1 соединяется более чем с одной ветвью @6:1",
                       "  - Узел № 9 изолирован @6:4"};
    QTest::newRow("seven branches at a node")
        << "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; u 4 3 0 0; u 5 4 0 0; u 6 5 0 0; u 7 6 0 0; u 8 7 0 0;"
           "b 1 1 2; b 2 1 3; b 3 1 4; b 4 1 5; b 5 1 6; b 6 1 7; b 7 8 1"
        << QStringList{"Нарушение топологии шахты:", "  - С узлом № 1 стыкуется более 6-ти ветвей @6:1"};
    QTest::newRow("six branches at a node are fine")
        << "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; u 4 3 0 0; u 5 4 0 0; u 6 5 0 0; u 7 6 0 0;"
           "b 1 1 2; b 2 1 3; b 3 1 4; b 4 1 5; b 5 1 6; b 6 7 1"
        << QStringList();
}

void tst_TopologyCheck::incidences()
{
    QFETCH(QString, mine);
    QFETCH(QStringList, lines);

    TMine m;
    minetext::Build(m, mine);
    TMessageList list;
    TTopologyCheck check(m, list);
    const TCheckOutcome outcome = check.CheckAll();
    QCOMPARE(outcome.StagesRun, 3);
    QCOMPARE(Render(list.Lines()), lines);
    QCOMPARE(outcome.Passed(), lines.isEmpty());
    QVERIFY(m.TopologyValid());   // stage 3 never touches the flag
}

void tst_TopologyCheck::incidenceCountsDoNotWrap()
{
    // 258 branches at one node: an 8-bit count would read 2 and pass the node.
    TMine m;
    QString text = "u 1 0 0 0;";
    for (int i = 2; i <= 259; ++i)
        text += QStringLiteral("u %1 %1 0 0; b %1 1 %1;").arg(i);
    minetext::Build(m, text);
    TMessageList list;
    TTopologyCheck check(m, list);
    check.CheckAll();
    QCOMPARE(m.Uzels().Items(1)->BranchCount(), 258);
    QCOMPARE(Render(list.Lines()),
             (QStringList{"Нарушение топологии шахты:", "  - С узлом № 1 стыкуется более 6-ти ветвей @6:1"}));
}

void tst_TopologyCheck::checkAllRunsStagesInTurn_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<int>("stagesRun");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<bool>("valid");

    QTest::newRow("stage 1 fails") << "u 1 0 0 0; b 1 1 2" << 1 << false << false;
    QTest::newRow("stage 2 fails") << "u 1 0 0 0; u 2 - 0 0; b 1 1 2" << 2 << false << false;
    QTest::newRow("stage 3 fails") << "u 1 0 0 0; u 2 1 0 0; b 1 1 2" << 3 << false << true;
    QTest::newRow("all pass") << "u 1 0 0 0; u 2 1 0 0; u 3 1 1 0; b 1 1 2; b 2 2 3" << 3 << true << true;
}

void tst_TopologyCheck::checkAllRunsStagesInTurn()
{
    QFETCH(QString, mine);
    QFETCH(int, stagesRun);
    QFETCH(bool, passed);
    QFETCH(bool, valid);

    TMine m;
    minetext::Build(m, mine);
    TMessageList list;
    TTopologyCheck check(m, list);
    const TCheckOutcome outcome = check.CheckAll();
    QCOMPARE(outcome.StagesRun, stagesRun);
    QCOMPARE(outcome.Passed(), passed);
    QCOMPARE(outcome.Last.Passed, passed);
    QCOMPARE(m.TopologyValid(), valid);
    QCOMPARE(list.MessageCount() == 0, passed);
}

void tst_TopologyCheck::statusTextsClearedOnEveryPath_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QStringList>("log");

    const QString s1 = "show Проверка топологии шахты";
    const QString s2 = "show Проверка наличия координат";
    const QString s3a = "show Проверка физических характеристик";
    const QString s3b = "show Проверка инцидентностей узлов";
    QTest::newRow("early end") << "u 1 0 0 0; b 1 1 2" << QStringList{s1, "clear"};
    QTest::newRow("coordinates fail") << "u 1 0 0 0; u 2 - 0 0; b 1 1 2"
                                      << QStringList{s1, "clear", s2, "clear"};
    QTest::newRow("all stages") << "u 1 0 0 0; u 2 1 0 0; b 1 1 2"
                                << QStringList{s1, "clear", s2, "clear", s3a, s3b, "clear"};
}

void tst_TopologyCheck::statusTextsClearedOnEveryPath()
{
    QFETCH(QString, mine);
    QFETCH(QStringList, log);

    TMine m;
    minetext::Build(m, mine);
    TMessageList list;
    RecordingStatus status;
    TTopologyCheck check(m, list, &status);
    check.CheckAll();
    QCOMPARE(status.log, log);
}

void tst_TopologyCheck::panelRule_data()
{
    QTest::addColumn<bool>("passed");
    QTest::addColumn<bool>("earlyEnd");
    QTest::addColumn<bool>("keepPanel");
    QTest::addColumn<int>("action");

    QTest::newRow("nothing found, hide") << true << false << false << int(TPanelAction::Hide);
    QTest::newRow("nothing found, keep") << true << false << true << int(TPanelAction::Keep);
    QTest::newRow("found, show") << false << false << false << int(TPanelAction::Show);
    QTest::newRow("found, keep still shows") << false << false << true << int(TPanelAction::Show);
    QTest::newRow("early end shows") << false << true << true << int(TPanelAction::Show);
}

void tst_TopologyCheck::panelRule()
{
    QFETCH(bool, passed);
    QFETCH(bool, earlyEnd);
    QFETCH(bool, keepPanel);
    QFETCH(int, action);

    TStageResult r;
    r.Passed = passed;
    r.EarlyEnd = earlyEnd;
    QCOMPARE(int(r.PanelAction(keepPanel)), action);
}

void tst_TopologyCheck::formatting_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("point");
    QTest::addColumn<QString>("text");

    QTest::newRow("unset is empty") << kUnsetReal << "," << "";
    QTest::newRow("half rounds away from zero") << 1.25f << "." << "1.3";
    QTest::newRow("negative half") << -1.25f << "," << "-1,3";
    QTest::newRow("large, no grouping") << 123456.7f << "," << "123456,7";
    QTest::newRow("zero") << 0.0f << "." << "0.0";
}

void tst_TopologyCheck::formatting()
{
    QFETCH(float, value);
    QFETCH(QString, point);
    QFETCH(QString, text);

    TMine m;
    TMessageList list;
    TTopologyCheck check(m, list);
    check.SetDecimalPoint(point.at(0));
    QCOMPARE(check.FormatCoordinate(value), text);
    QCOMPARE(TTopologyCheck::FormatOwnNumber(kUnsetInt), QStringLiteral(" "));
    QCOMPARE(TTopologyCheck::FormatOwnNumber(12), QStringLiteral("12 "));
    QCOMPARE(TTopologyCheck::CommentSuffix(QString()), QString());
}

QTEST_GUILESS_MAIN(tst_TopologyCheck)
#include "tst_TopologyCheck.moc"
