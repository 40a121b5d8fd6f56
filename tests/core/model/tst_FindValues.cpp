// What the find dialog lists for each column kind: the value texts, which elements are left
// out, where the element's number is appended, the order, and the match of a typed text.
#include "MineText.h"
#include "model/FindValues.h"
#include "model/TPLF.h"

#include <QtTest>

class tst_FindValues : public QObject {
    Q_OBJECT
private slots:
    void listsByKind_data();
    void listsByKind();
    void firstMatch_data();
    void firstMatch();
};

namespace {

// Nodes 1, 2, 3; branches 10 (1-2, length 5), 7 (2-3, no section, length 12), 12 (1-3,
// length 13, a blank comment, plan position "П-1").
void Build(TMine &mine)
{
    minetext::Build(mine, "u 1 0 0 0; u 2 3 4 0; u 3 3 4 12;"
                          "b 10 1 2 4 \"Штрек\"; b 7 2 3 - \"\"; b 12 1 3 2.5 \"  \"");
    mine.Branches().Items(1)->SetName(QStringLiteral("north"));
    mine.Branches().Items(1)->SetResistance(0.0123);
    mine.Branches().Items(3)->SetName(QStringLiteral("Ствол"));
    (new TPLF(&mine))->SetName(QStringLiteral("П-1"));
    mine.Branches().Items(3)->SetPLFIndex(0);
    mine.ResolveIncidence();
}

QStringList Texts(const std::vector<TFindValue> &values)
{
    QStringList texts;
    for (const TFindValue &v : values)
        texts << v.Text;
    return texts;
}

} // namespace

void tst_FindValues::listsByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("positions");
    QTest::newRow("node numbers: no suffix")
        << 0 << QStringList{"1", "2", "3"} << QList<int>{0, 1, 2};
    QTest::newRow("X: one decimal, the node's number")
        << 1 << QStringList{"0.0    <узел 1>", "3.0    <узел 2>", "3.0    <узел 3>"} << QList<int>{0, 1, 2};
    QTest::newRow("branch numbers sort as text")
        << 4 << QStringList{"10", "12", "7"} << QList<int>{0, 2, 1};
    QTest::newRow("lengths sort as text")
        << 7 << QStringList{"12.0    <ветвь 7>", "13.0    <ветвь 12>", "5.0    <ветвь 10>"} << QList<int>{1, 2, 0};
    QTest::newRow("an unset section is left out")
        << 8 << QStringList{"2.5    <ветвь 12>", "4.0    <ветвь 10>"} << QList<int>{2, 0};
    QTest::newRow("volume coefficient: two decimals")
        << 11 << QStringList{"1.00    <ветвь 10>", "1.00    <ветвь 12>", "1.00    <ветвь 7>"} << QList<int>{0, 2, 1};
    QTest::newRow("comments: no suffix, blank ones left out")
        << 14 << QStringList{"Штрек"} << QList<int>{0};
    QTest::newRow("resistance: seven decimals")
        << 15 << QStringList{"0.0000000    <ветвь 12>", "0.0000000    <ветвь 7>", "0.0123000    <ветвь 10>"} << QList<int>{2, 1, 0};
    QTest::newRow("names")
        << 17 << QStringList{"north    <ветвь 10>", "Ствол    <ветвь 12>"} << QList<int>{0, 2};
    QTest::newRow("plan positions, none named")
        << 18 << QStringList{"<без позиции>    <ветвь 10>", "<без позиции>    <ветвь 7>", "П-1    <ветвь 12>"} << QList<int>{0, 1, 2};
}

void tst_FindValues::listsByKind()
{
    QFETCH(int, kind);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, positions);
    TMine mine;
    Build(mine);
    const std::vector<TFindValue> values = FindValues::List(mine, kind);
    QCOMPARE(Texts(values), texts);
    QList<int> got;
    for (const TFindValue &v : values)
        got << v.Position;
    QCOMPARE(got, positions);
}

void tst_FindValues::firstMatch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("index");
    // Sorted without regard to letter case: арбуз, ель, Ель (equal keys in list order), Ёж.
    QTest::newRow("letter case ignored") << "АРБ" << 0;
    QTest::newRow("first of equal keys") << "ел" << 1;
    QTest::newRow("a whole value") << "ель" << 1;
    QTest::newRow("nothing begins so") << "x" << -1;
    QTest::newRow("nothing typed") << "" << -1;
    QTest::newRow("past the last") << "яя" << -1;
}

void tst_FindValues::firstMatch()
{
    QFETCH(QString, typed);
    QFETCH(int, index);
    TMine mine;
    minetext::Build(mine, "b 1 1 2 - \"Ёж\"; b 2 1 2 - \"ель\"; b 3 1 2 - \"Ель\"; b 4 1 2 - \"арбуз\"");
    const std::vector<TFindValue> values = FindValues::List(mine, 14);
    QCOMPARE(Texts(values), (QStringList{"арбуз", "ель", "Ель", "Ёж"}));
    QCOMPARE(FindValues::FirstMatch(values, typed), index);
}

QTEST_GUILESS_MAIN(tst_FindValues)
#include "tst_FindValues.moc"
