// Branch list: lookups through the index (checked against a plain scan after random edits),
// Get's error, deletion effects and every sort kind.
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include <QRandomGenerator>
#include <QtTest>

namespace {

int ScanPosition(const TMine &mine, qint32 number)
{
    for (int i = 1; i <= mine.Branches().Count(); ++i)
        if (mine.Branches().Items(i)->Number() == number)
            return i;
    return -1;
}

// Branches naming node number n as an end, in list order, a loop once.
QList<TBranch *> ScanAround(const TMine &mine, qint32 n)
{
    QList<TBranch *> out;
    for (TBranch *b : mine.Branches())
        if (b->StartNumber() == n || b->EndNumber() == n)
            out << b;
    return out;
}

QList<int> Numbers(const TMine &mine)
{
    QList<int> out;
    for (TBranch *b : mine.Branches())
        out << b->Number();
    return out;
}

} // namespace

class tst_TBranchList : public QObject {
    Q_OBJECT

private slots:
    void getRaisesForMissingNumber();
    void lookupsMatchScanAfterRandomEdits();
    void branchesAtMatchScanAfterRandomEdits();
    void deleteUndoesIncidenceAndSelection();
    void sortBy_data();
    void sortBy();
    void sortByIndexUsesKindPlusFour();
    void sortTextsByCodePageBytes();
    void sortRemovesEmptiesFirst();
};

void tst_TBranchList::getRaisesForMissingNumber()
{
    TMine mine;
    TBranch *b = mine.AddBranch(3, 1, 2, QString(), 1);
    QCOMPARE(mine.Branches().Get(3), b);
    QCOMPARE(mine.Branches().PositionOf(3), 1);
    QCOMPARE(mine.Branches().PositionOf(4), -1);
    try {
        mine.Branches().Get(42);
        QFAIL("no error");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), QStringLiteral("Ветвь №42 не найдена."));
    }
}

void tst_TBranchList::lookupsMatchScanAfterRandomEdits()
{
    QRandomGenerator rng(1234);
    TMine mine;
    auto randomNumber = [&]() -> qint32 {
        const int r = int(rng.bounded(12));
        return r == 0 ? kUnsetInt : r;
    };
    for (int step = 0; step < 3000; ++step) {
        const int count = mine.Branches().Count();
        const int op = int(rng.bounded(10));
        if (op <= 3 || count == 0) {
            if (rng.bounded(6) == 0)
                mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
            else
                mine.AddBranch(randomNumber(), 1, 2, QString::number(rng.bounded(5)),
                               float(rng.bounded(20)));
        } else if (op <= 6) {
            mine.Branches().Items(1 + int(rng.bounded(count)))->SetNumbers(1, randomNumber());
        } else if (op == 7) {
            mine.Branches().Delete(int(rng.bounded(count)));
        } else if (op == 8) {
            mine.Branches().SortBy(int(rng.bounded(15)));
        } else {
            mine.DeleteEmptyBranches();
        }
        for (qint32 number = -1; number <= 12; ++number) {
            const qint32 n = number == -1 ? kUnsetInt : number;
            const int expected = ScanPosition(mine, n);
            QCOMPARE(mine.Branches().PositionOf(n), expected);
            QCOMPARE(mine.Branches().Find(n),
                     expected > 0 ? mine.Branches().Items(expected) : nullptr);
            QCOMPARE(mine.HasBranch(n), n != kUnsetInt && expected > 0);
        }
    }
}

void tst_TBranchList::branchesAtMatchScanAfterRandomEdits()
{
    QRandomGenerator rng(4321);
    TMine mine;
    auto randomEnd = [&]() -> qint32 {
        const int r = int(rng.bounded(7));
        return r == 0 ? kUnsetInt : r;
    };
    for (int step = 0; step < 3000; ++step) {
        const int count = mine.Branches().Count();
        const int op = int(rng.bounded(12));
        if (op <= 3 || count == 0) {
            if (rng.bounded(8) == 0)
                mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
            else
                mine.AddBranch(int(rng.bounded(1, 9)), randomEnd(), randomEnd(), QString(), 1);
        } else if (op <= 7) {
            mine.Branches().Items(1 + int(rng.bounded(count)))->SetNumbers(2 + int(rng.bounded(2)), randomEnd());
        } else if (op <= 9) {
            mine.Branches().Delete(int(rng.bounded(count)));
        } else if (op == 10) {
            mine.Branches().SortBy(int(rng.bounded(15)));
        } else {
            mine.DeleteEmptyBranches();
        }
        // Asked only now and then, so that appended branches pile up before being taken in.
        if (rng.bounded(3) != 0)
            continue;
        for (qint32 n = 1; n <= 6; ++n) {
            const std::vector<TBranch *> &at = mine.Branches().BranchesAt(n);
            QCOMPARE(QList<TBranch *>(at.begin(), at.end()), ScanAround(mine, n));
        }
        QVERIFY(mine.Branches().BranchesAt(kUnsetInt).empty());
    }
}

void tst_TBranchList::deleteUndoesIncidenceAndSelection()
{
    TMine mine;
    TUzel *a = mine.AddUzel(1, 0, 0, 0);
    TUzel *b = mine.AddUzel(2, 10, 0, 0);
    mine.AddBranch(1, 1, 2, QString(), 1);
    TBranch *second = mine.AddBranch(2, 1, 2, QString(), 1);
    second->SetZone(2, true);
    new TJumper(second);
    new TPeopleInfo(second);
    mine.ResolveIncidence();
    mine.SelectBranch(second);
    mine.SetModified(false);
    QCOMPARE(a->BranchCount(), 2);
    mine.Branches().Delete(1);
    QCOMPARE(a->BranchCount(), 1);
    QCOMPARE(b->BranchCount(), 1);
    QCOMPARE(a->IncidentCount(), 1);
    QVERIFY(mine.CurBranch() == nullptr);
    QCOMPARE(mine.GasBranches2().Count(), 0);
    QCOMPARE(mine.Jumpers().Count(), 0);
    QVERIFY(!mine.Modified());
}

void tst_TBranchList::sortBy_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("order");

    // Fixture (see sortBy): five branches 1..5 built so that each kind orders them differently.
    QTest::newRow("4 number") << 4 << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("5 start, then number") << 5 << QList<int>{1, 2, 3, 5, 4};
    QTest::newRow("6 end, then number") << 6 << QList<int>{5, 2, 4, 1, 3};
    QTest::newRow("7 length, unset first") << 7 << QList<int>{4, 3, 2, 5, 1};
    QTest::newRow("8 section, unset first") << 8 << QList<int>{3, 4, 2, 5, 1};
    QTest::newRow("9 perimeter, equal by number") << 9 << QList<int>{3, 4, 2, 5, 1};
    QTest::newRow("10 volume, unset first") << 10 << QList<int>{3, 4, 2, 5, 1};
    QTest::newRow("11 volume factor") << 11 << QList<int>{2, 1, 4, 5, 3};
    QTest::newRow("12 extra volume") << 12 << QList<int>{5, 1, 2, 3, 4};
    QTest::newRow("13 angle, unset first") << 13 << QList<int>{4, 2, 5, 3, 1};
    QTest::newRow("14 comment") << 14 << QList<int>{4, 2, 5, 1, 3};
    QTest::newRow("15 resistance") << 15 << QList<int>{3, 1, 2, 4, 5};
    QTest::newRow("16 people") << 16 << QList<int>{1, 3, 4, 5, 2};
    QTest::newRow("17 name") << 17 << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("18 plan position") << 18 << QList<int>{2, 5, 1, 3, 4};
}

void tst_TBranchList::sortBy()
{
    QFETCH(int, kind);
    QFETCH(QList<int>, order);

    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 10, 0, 0);     // 1-2: length 10, angle 0
    mine.AddUzel(3, 0, 0, 20);     // 1-3: length 20, angle 90
    mine.AddUzel(4, 3, 0, 4);      // 1-4: length 5, angle 53.13
    struct Row { int number, start, end; float section, factor, extra; const char *comment;
                 double r; int people; int plf; const char *name; };
    // Added in the order 4, 2, 5, 1, 3 so that the list order is not the number order.
    const Row rows[] = {
        {4, 7, 2, -3, 1.5f, 9, "", 0.5, 1, 3, "d"},              // start 7 unresolved
        {2, 1, 2, 2, 0.5f, 1, "b", 0.2, 9, -1, "b"},             // L 10
        {5, 2, 1, 4, 1.5f, -1, "b", 0.9, 1, -1, "e"},            // L 10, same comment as 2
        {1, 1, 3, 6, 1.5f, 1, "c", 0.1, 0, 0, "a"},              // L 20
        {3, 1, 4, kUnsetReal, 3, 5, "d", 0.0, 1, 1, "c"},        // L 5, section unset
    };
    for (const Row &r : rows) {
        TBranch *b = mine.AddBranch(r.number, r.start, r.end, QString::fromUtf8(r.comment),
                                    r.section);
        b->SetVolumeFactor(r.factor);
        b->SetExtraVolume(r.extra);
        b->SetResistance(r.r);
        b->SetPLFIndex(r.plf);
        b->SetName(QString::fromUtf8(r.name));
        for (int p = 0; p < r.people; ++p)
            new TPeopleInfo(b);
    }
    mine.ResolveIncidence();
    mine.Branches().SortByKind(kind);
    QCOMPARE(Numbers(mine), order);
}

void tst_TBranchList::sortByIndexUsesKindPlusFour()
{
    TMine mine;
    mine.AddBranch(1, 3, 1, QString(), 1);
    mine.AddBranch(2, 1, 3, QString(), 1);
    mine.AddBranch(3, 2, 2, QString(), 1);
    mine.Branches().SortBy(1);   // kind 5: start number
    QCOMPARE(Numbers(mine), (QList<int>{2, 3, 1}));
    mine.Branches().SortBy(0);
    QCOMPARE(Numbers(mine), (QList<int>{1, 2, 3}));
    mine.Branches().SortBy(15);   // outside 0..14: nothing
    QCOMPARE(Numbers(mine), (QList<int>{1, 2, 3}));
}

void tst_TBranchList::sortTextsByCodePageBytes()
{
    TMine mine;
    // In the document's code page: Latin < "ё" (0xB8) < "№" (0xB9) < capitals (0xC0..0xDF)
    // < small letters (0xE0..0xFF); UTF-16 order would put "ё" after "я" and "№" last.
    const QStringList comments{QStringLiteral("я"), QStringLiteral("а"), QStringLiteral("Б"),
                               QStringLiteral("ё"), QStringLiteral("№1"), QStringLiteral("z"),
                               QStringLiteral("Z"), QString()};
    for (int i = 0; i < comments.size(); ++i)
        mine.AddBranch(i + 1, 1, 2, comments[i], 1);
    mine.Branches().SortByKind(14);
    QStringList got;
    for (TBranch *b : mine.Branches())
        got << b->Comment();
    QCOMPARE(got, (QStringList{QString(), QStringLiteral("Z"), QStringLiteral("z"),
                               QStringLiteral("ё"), QStringLiteral("№1"), QStringLiteral("Б"),
                               QStringLiteral("а"), QStringLiteral("я")}));
}

void tst_TBranchList::sortRemovesEmptiesFirst()
{
    TMine mine;
    mine.AddBranch(2, 1, 2, QString(), 1);
    mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
    mine.AddBranch(1, 1, 2, QString(), 1);
    mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QStringLiteral("still empty"), kUnsetReal);
    mine.AddBranch(kUnsetInt, 5, kUnsetInt, QString(), kUnsetReal);   // not empty
    mine.SetModified(false);
    mine.Branches().SortByKind(4);
    QCOMPARE(Numbers(mine), (QList<int>{kUnsetInt, 1, 2}));
    QVERIFY(mine.Modified());
}

QTEST_GUILESS_MAIN(tst_TBranchList)
#include "tst_TBranchList.moc"
