// Node list: 1-based access, lookups by number through the index (checked against a plain
// scan after random edits), deletion guard, sorting orders.
#include "RecordingScheme.h"
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include <QRandomGenerator>
#include <QtTest>

namespace {

// The meaning of a lookup, written out: the first node in list order with that number.
int ScanPosition(const TMine &mine, qint32 number)
{
    for (int i = 1; i <= mine.Uzels().Count(); ++i)
        if (mine.Uzels().Items(i)->Number() == number)
            return i;
    return 0;
}

QList<int> Numbers(const TMine &mine)
{
    QList<int> out;
    for (TUzel *n : mine.Uzels())
        out << n->Number();
    return out;
}

} // namespace

class tst_TUzelList : public QObject {
    Q_OBJECT

private slots:
    void itemsAreOneBased();
    void lookupsMatchScanAfterRandomEdits_data();
    void lookupsMatchScanAfterRandomEdits();
    void deleteRefusedWithIncidentBranches_data();
    void deleteRefusedWithIncidentBranches();
    void deleteEmptyNodeWithReferencesIsAllowed();
    void deleteLeavesModifiedAndClearsCurrent();
    void sortBy_data();
    void sortBy();
    void sortIsStableForEqualKeys();
};

void tst_TUzelList::itemsAreOneBased()
{
    TMine mine;
    TUzel *a = mine.AddUzel(10, 0, 0, 0);
    TUzel *b = mine.AddUzel(20, 0, 0, 0);
    QCOMPARE(mine.Uzels().Count(), 2);
    QCOMPARE(mine.Uzels().Items(1), a);
    QCOMPARE(mine.Uzels().Items(2), b);
    QVERIFY(mine.Uzels().Items(0) == nullptr);
    QVERIFY(mine.Uzels().Items(3) == nullptr);
    QCOMPARE(mine.Uzels().ItemPosition(b), 2);
    QCOMPARE(mine.Uzels().PositionOf(20), 2);
    QCOMPARE(mine.Uzels().PositionOf(30), 0);
    QVERIFY(mine.Uzels().Find(30) == nullptr);
    QCOMPARE(mine.Uzels().Find(10), a);
}

void tst_TUzelList::lookupsMatchScanAfterRandomEdits_data()
{
    // Edits between lookups reach nodes the index has not taken in yet (appended since the last
    // lookup); a spread-out numbering leaves the index without its array.
    QTest::addColumn<int>("lookupEvery");
    QTest::addColumn<qint32>("stride");
    QTest::newRow("lookup after every edit") << 1 << 1;
    QTest::newRow("lookup after every 7th edit") << 7 << 1;
    QTest::newRow("lookup after every 60th edit") << 60 << 1;
    QTest::newRow("spread-out numbers, every 7th edit") << 7 << 100000;
}

void tst_TUzelList::lookupsMatchScanAfterRandomEdits()
{
    QFETCH(int, lookupEvery);
    QFETCH(qint32, stride);
    // Small number range so that duplicates, renumbering onto taken numbers and the unset
    // number all occur; every kind of edit that moves elements or numbers is mixed in.
    QRandomGenerator rng(4711);
    TMine mine;
    auto randomNumber = [&]() -> qint32 {
        const int r = int(rng.bounded(12));
        return r == 0 ? kUnsetInt : r * stride;
    };
    for (int step = 0; step < 3000; ++step) {
        const int count = mine.Uzels().Count();
        const int op = int(rng.bounded(10));
        if (op <= 3 || count == 0) {
            const bool empty = rng.bounded(6) == 0;
            if (empty)
                mine.AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
            else
                mine.AddUzel(randomNumber(), float(rng.bounded(50)), float(rng.bounded(50)),
                             float(rng.bounded(50)));
        } else if (op <= 6) {
            mine.Uzels().Items(1 + int(rng.bounded(count)))->SetNumber(randomNumber());
        } else if (op == 7) {
            mine.Uzels().Delete(int(rng.bounded(count)));
        } else if (op == 8) {
            mine.Uzels().SortBy(int(rng.bounded(4)));
        } else {
            mine.DeleteEmptyUzels();
        }
        if (step % lookupEvery != 0)
            continue;
        for (qint32 number = -1; number <= 12; ++number) {
            const qint32 n = number == -1 ? kUnsetInt : number * stride;
            const int expected = ScanPosition(mine, n);
            QCOMPARE(mine.Uzels().PositionOf(n), expected);
            QCOMPARE(mine.Uzels().Find(n), expected ? mine.Uzels().Items(expected) : nullptr);
            QCOMPARE(mine.HasUzel(n), n != kUnsetInt && expected > 0);
        }
        for (int i = 1; i <= mine.Uzels().Count(); ++i)
            QCOMPARE(mine.Uzels().ItemPosition(mine.Uzels().Items(i)), i);
    }
}

void tst_TUzelList::deleteRefusedWithIncidentBranches_data()
{
    QTest::addColumn<QList<int>>("nodes");        // numbers in list order
    QTest::addColumn<bool>("checked");            // incidence resolved before the deletion
    QTest::addColumn<int>("renumber");            // new number of the doomed node, 0 for none
    QTest::addColumn<int>("position");            // 0-based position of the doomed node
    QTest::addColumn<bool>("refused");
    // One branch 1 -> 2 in every row.
    QTest::newRow("end node, checked") << QList<int>{1, 2} << true << 0 << 1 << true;
    QTest::newRow("start node, never checked") << QList<int>{1, 2} << false << 0 << 0 << true;
    QTest::newRow("end node, never checked") << QList<int>{1, 2} << false << 0 << 1 << true;
    QTest::newRow("number no branch names") << QList<int>{1, 2, 3} << false << 0 << 2 << false;
    QTest::newRow("first of a repeated number") << QList<int>{1, 2, 2} << false << 0 << 1 << true;
    QTest::newRow("second of a repeated number") << QList<int>{1, 2, 2} << true << 0 << 2 << false;
    QTest::newRow("renumbered since the check") << QList<int>{1, 2} << true << 7 << 1 << false;
    QTest::newRow("renumbered onto a named number") << QList<int>{1, 3} << false << 2 << 1 << true;
}

void tst_TUzelList::deleteRefusedWithIncidentBranches()
{
    QFETCH(QList<int>, nodes);
    QFETCH(bool, checked);
    QFETCH(int, renumber);
    QFETCH(int, position);
    QFETCH(bool, refused);

    TMine mine;
    for (int number : nodes)
        mine.AddUzel(number, float(number), 0, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    if (checked)
        mine.ResolveIncidence();
    if (renumber)
        mine.Uzels().Items(position + 1)->SetNumber(renumber);
    mine.SetModified(false);
    const QList<int> before = Numbers(mine);
    try {
        mine.Uzels().Delete(position);
        QVERIFY2(!refused, "the deletion was not refused");
        QCOMPARE(mine.Uzels().Count(), nodes.size() - 1);
        // No branch keeps a link to the freed node.
        for (TUzel *end : {b->StartUzel(), b->EndUzel()})
            QVERIFY(!end || mine.Uzels().ItemPosition(end) > 0);
    } catch (const AppError &e) {
        QVERIFY2(refused, "refused a node no branch leads to");
        QCOMPARE(e.message(), QStringLiteral("Невозможно удалить узел, т.к. количество "
                                             "инцидетных ему ветвей больше 0."));
        QCOMPARE(Numbers(mine), before);
    }
    QVERIFY(!mine.Modified());
}

void tst_TUzelList::deleteEmptyNodeWithReferencesIsAllowed()
{
    TMine mine;
    TUzel *n = mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 10, 0, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    mine.ResolveIncidence();
    n->SetNumber(kUnsetInt);
    for (int axis = 1; axis <= 3; ++axis)
        n->SetCoordinate(axis, kUnsetReal);
    mine.Uzels().Delete(0);
    QVERIFY(b->StartUzel() == nullptr);   // no reference to the freed node survives
    QCOMPARE(b->Length(), kUnsetReal);
}

void tst_TUzelList::deleteLeavesModifiedAndClearsCurrent()
{
    RecordingScheme scheme;
    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    TUzel *b = mine.AddUzel(2, 0, 0, 0);
    mine.SelectUzel(b);
    mine.SetModified(false);
    mine.SetScheme(&scheme);
    mine.Uzels().Delete(1);
    QVERIFY(!mine.Modified());
    QVERIFY(mine.CurUzel() == nullptr);
    QCOMPARE(scheme.Count(QStringLiteral("Refresh")), 1);
    mine.Uzels().Delete(5);   // out of range: nothing
    QCOMPARE(mine.Uzels().Count(), 1);
}

void tst_TUzelList::sortBy_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<QList<float>>>("nodes");   // number, x, y, z
    QTest::addColumn<QList<int>>("order");            // numbers after sorting

    const float U = kUnsetReal;
    const QList<QList<float>> sample{{3, 5, 1, 2}, {1, 5, 0, 2}, {2, 4, 9, 1}};
    QTest::newRow("by number") << 0 << sample << QList<int>{1, 2, 3};
    QTest::newRow("by X, equal X by number") << 1 << sample << QList<int>{2, 1, 3};
    QTest::newRow("by Y") << 2 << sample << QList<int>{1, 3, 2};
    QTest::newRow("by Z, equal Z by Y") << 3 << sample << QList<int>{2, 1, 3};

    // Z equal within the tolerance (0.01 % of 1000 = 0.1) falls back to Y, then X, then number.
    QTest::newRow("Z within tolerance falls back to Y")
        << 3 << QList<QList<float>>{{1, 0, 9, 1000.05f}, {2, 0, 3, 1000.0f}, {3, 0, 5, 999.96f}}
        << QList<int>{2, 3, 1};
    QTest::newRow("Z and Y equal fall back to X")
        << 3 << QList<QList<float>>{{1, 7, 3, 10}, {2, 2, 3, 10}, {3, 5, 3, 10}}
        << QList<int>{2, 3, 1};
    QTest::newRow("Z, Y, X equal fall back to number")
        << 3 << QList<QList<float>>{{9, 1, 1, 1}, {4, 1, 1, 1}, {6, 1, 1, 1}}
        << QList<int>{4, 6, 9};
    QTest::newRow("Z beyond the tolerance is not equal")
        << 3 << QList<QList<float>>{{1, 0, 9, 1000.2f}, {2, 0, 3, 1000.0f}}
        << QList<int>{2, 1};
    QTest::newRow("tolerance floor of 0.0001 near zero")
        << 1 << QList<QList<float>>{{2, 0.00005f, 0, 0}, {1, 0, 0, 0}, {3, -0.0002f, 0, 0}}
        << QList<int>{3, 1, 2};
    QTest::newRow("unset first")
        << 1 << QList<QList<float>>{{1, -900000, 0, 0}, {2, U, 0, 0}, {3, 4, 0, 0}}
        << QList<int>{2, 1, 3};
    QTest::newRow("unset number first")
        << 0 << QList<QList<float>>{{-900000, 0, 0, 0}, {float(kUnsetInt), 1, 0, 0}}
        << QList<int>{kUnsetInt, -900000};
    QTest::newRow("empty nodes are removed first")
        << 0 << QList<QList<float>>{{2, 0, 0, 0}, {float(kUnsetInt), U, U, U}, {1, 0, 0, 0}}
        << QList<int>{1, 2};
}

void tst_TUzelList::sortBy()
{
    QFETCH(int, kind);
    QFETCH(QList<QList<float>>, nodes);
    QFETCH(QList<int>, order);

    TMine mine;
    for (const QList<float> &n : nodes)
        mine.AddUzel(qint32(n[0]), n[1], n[2], n[3]);
    mine.Uzels().SortBy(kind);
    QCOMPARE(Numbers(mine), order);
    for (int i = 1; i <= mine.Uzels().Count(); ++i)
        QCOMPARE(mine.Uzels().PositionOf(mine.Uzels().Items(i)->Number()),
                 ScanPosition(mine, mine.Uzels().Items(i)->Number()));
}

void tst_TUzelList::sortIsStableForEqualKeys()
{
    TMine mine;
    QList<TUzel *> added;
    for (int i = 0; i < 50; ++i)
        added << mine.AddUzel(i % 3, 1, 1, 1);   // many nodes share each number
    mine.Uzels().SortBy(0);
    QList<TUzel *> expected;
    for (int key = 0; key < 3; ++key)
        for (TUzel *n : added)
            if (n->Number() == key)
                expected << n;
    QList<TUzel *> got;
    for (TUzel *n : mine.Uzels())
        got << n;
    QVERIFY(got == expected);
    QCOMPARE(mine.Uzels().Find(1), expected[17]);
}

QTEST_GUILESS_MAIN(tst_TUzelList)
#include "tst_TUzelList.moc"
