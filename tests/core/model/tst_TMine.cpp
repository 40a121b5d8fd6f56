// The mine container: modified flag, lookups, empty-element deletion, incidence, extents,
// projection, topology state, cell counts and selection.
#include "RecordingScheme.h"
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include <QRandomGenerator>
#include <QtTest>

class tst_TMine : public QObject {
    Q_OBJECT

private slots:
    void setModifiedAlwaysCallsHandler();
    void setTitleMarksModified();
    void countsReported_data();
    void countsReported();
    void hasUzelIgnoresUnsetNumber();
    void hasBranchFalseForUnknownNumber();
    void firstElementsBecomeCurrent();
    void deleteEmptyUzels_data();
    void deleteEmptyUzels();
    void deleteEmptyOnEmptyListLeavesModified();
    void deleteEmptyBranchesUpdatesGasAndStoppings();
    void deleteEmptyUzelForgetsResolvedReferences();
    void resolveIncidence();
    void resolveIncidenceClampsZones();
    void resolveIncidenceCountsManyBranches();
    void resolveIncidenceMatchesPlainScan_data();
    void resolveIncidenceMatchesPlainScan();
    void updateExtents_data();
    void updateExtents();
    void updateExtentsRecentersScheme();
    void updateExtentsFollowsEdits();
    void updateExtentsSkippedWhileUpdating();
    void nearest_data();
    void nearest();
    void projectNodes_data();
    void projectNodes();
    void projectNodesHonoursCenterRequest();
    void setTopologyValidResolvesAndCounts();
    void setCellLength();
    void cellCountsWithFlexibleStopping();
    void cellCountZeroForUnresolvedBranch();
    void selectBranchRaisesEventOnce();
    void selectBranchWithoutHandlerOrTopology();
    void selectUzelFocusesAndRaises();
    void selectJumperFocusesOnPosition();
    void viewSettersRefresh();
    void endUpdateRefreshes();
    void destructionTellsScheme();
};

void tst_TMine::setModifiedAlwaysCallsHandler()
{
    TMine mine;
    QList<bool> seen;
    mine.OnModified = [&](TMine *m, bool v) {
        QCOMPARE(m, &mine);
        seen << v;
    };
    mine.SetModified(true);
    mine.SetModified(true);
    mine.SetModified(false);
    QCOMPARE(seen, (QList<bool>{true, true, false}));
    QVERIFY(!mine.Modified());
}

void tst_TMine::setTitleMarksModified()
{
    TMine mine;
    int calls = 0;
    mine.OnModified = [&](TMine *, bool) { ++calls; };
    mine.SetTitle(QStringLiteral("Шахта"));
    mine.SetTitle(QStringLiteral("Шахта"));   // same text: still a change of the document
    QCOMPARE(mine.Title(), QStringLiteral("Шахта"));
    QVERIFY(mine.Modified());
    QCOMPARE(calls, 2);
}

void tst_TMine::countsReported_data()
{
    // Each row changes a mine of nodes 1, 2 and an empty one, and branch 1 (1 -> 2) and an
    // empty one; calls: how often the counts were reported.
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("calls");
    QTest::newRow("node added") << 0 << 1;
    QTest::newRow("branch added") << 1 << 1;
    QTest::newRow("node deleted") << 2 << 1;
    QTest::newRow("branch deleted") << 3 << 1;
    QTest::newRow("empty nodes deleted") << 4 << 1;
    QTest::newRow("empty branches deleted") << 5 << 1;
    QTest::newRow("bulk of three additions") << 6 << 1;
    QTest::newRow("renumbering") << 7 << 0;
}

void tst_TMine::countsReported()
{
    QFETCH(int, operation);
    QFETCH(int, calls);
    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 1, 0, 0);
    mine.AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
    mine.AddBranch(1, 1, 2, QString(), 1);
    mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
    int got = 0;
    mine.OnCountsChanged = [&](TMine *m) {
        QCOMPARE(m, &mine);
        ++got;
    };
    switch (operation) {
    case 0: mine.AddUzel(3, 0, 0, 0); break;
    case 1: mine.AddBranch(2, 1, 2, QString(), 1); break;
    case 2: mine.Uzels().Delete(2); break;
    case 3: mine.Branches().Delete(0); break;
    case 4: mine.DeleteEmptyUzels(); break;
    case 5: mine.DeleteEmptyBranches(); break;
    case 6:
        mine.BeginUpdate();
        for (int i = 3; i <= 5; ++i)
            mine.AddUzel(i, 0, 0, 0);
        mine.EndUpdate();
        break;
    case 7: mine.Uzels().Items(1)->SetNumber(9); break;
    }
    QCOMPARE(got, calls);
}

void tst_TMine::hasUzelIgnoresUnsetNumber()
{
    TMine mine;
    mine.AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
    mine.AddUzel(5, 0, 0, 0);
    QVERIFY(!mine.HasUzel(kUnsetInt));
    QVERIFY(mine.HasUzel(5));
    QVERIFY(!mine.HasUzel(6));
    QCOMPARE(mine.Uzels().PositionOf(kUnsetInt), 1);   // the list itself still finds it
}

void tst_TMine::hasBranchFalseForUnknownNumber()
{
    TMine mine;
    mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
    mine.AddBranch(3, 1, 2, QString(), 10);
    QVERIFY(mine.HasBranch(3));
    QVERIFY(!mine.HasBranch(4));
    QVERIFY(!mine.HasBranch(kUnsetInt));
}

void tst_TMine::firstElementsBecomeCurrent()
{
    TMine mine;
    TUzel *n1 = mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 0, 0, 0);
    TBranch *b1 = mine.AddBranch(1, 1, 2, QString(), 1);
    mine.AddBranch(2, 1, 2, QString(), 1);
    QCOMPARE(mine.CurUzel(), n1);
    QCOMPARE(mine.CurBranch(), b1);
    QVERIFY(!mine.Modified());   // adding alone is not an edit
}

void tst_TMine::deleteEmptyUzels_data()
{
    QTest::addColumn<QList<int>>("numbers");   // 0 = an empty node
    QTest::addColumn<bool>("modifiedBefore");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QList<int>>("left");

    QTest::newRow("trailing empty") << QList<int>{1, 2, 0} << false << 1 << QList<int>{1, 2};
    QTest::newRow("adjacent empties") << QList<int>{0, 0, 3, 0, 5} << false << 3 << QList<int>{3, 5};
    QTest::newRow("none empty") << QList<int>{1, 2} << false << 0 << QList<int>{1, 2};
    QTest::newRow("none empty, modified") << QList<int>{1, 2} << true << 0 << QList<int>{1, 2};
    QTest::newRow("all empty") << QList<int>{0, 0} << false << 2 << QList<int>{};
}

void tst_TMine::deleteEmptyUzels()
{
    QFETCH(QList<int>, numbers);
    QFETCH(bool, modifiedBefore);
    QFETCH(int, removed);
    QFETCH(QList<int>, left);

    TMine mine;
    for (int n : numbers) {
        if (n == 0)
            mine.AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
        else
            mine.AddUzel(n, 1, 2, 3);
    }
    mine.SetModified(modifiedBefore);
    mine.BeginUpdate();
    QCOMPARE(mine.DeleteEmptyUzels(), removed);
    QVERIFY(!mine.Updating());
    QCOMPARE(mine.Modified(), modifiedBefore || removed > 0);
    QList<int> got;
    for (TUzel *n : mine.Uzels())
        got << n->Number();
    QCOMPARE(got, left);
    for (int i = 1; i <= mine.Uzels().Count(); ++i)
        QCOMPARE(mine.Uzels().PositionOf(mine.Uzels().Items(i)->Number()), i);
    if (!left.isEmpty() && numbers.first() == 0)
        QVERIFY(mine.CurUzel() == nullptr);   // the current node was an empty one
}

void tst_TMine::deleteEmptyOnEmptyListLeavesModified()
{
    TMine mine;
    int calls = 0;
    mine.OnModified = [&](TMine *, bool) { ++calls; };
    mine.BeginUpdate();
    QCOMPARE(mine.DeleteEmptyUzels(), 0);
    QVERIFY(!mine.Updating());
    mine.BeginUpdate();
    QCOMPARE(mine.DeleteEmptyBranches(), 0);
    QVERIFY(!mine.Updating());
    QVERIFY(!mine.Modified());
    QCOMPARE(calls, 0);
}

void tst_TMine::deleteEmptyBranchesUpdatesGasAndStoppings()
{
    TMine mine;
    TBranch *keep = mine.AddBranch(1, 1, 2, QString(), 5);
    TBranch *empty = mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
    TBranch *keep2 = mine.AddBranch(3, 2, 3, QString(), 5);
    keep->SetZone(1, true);
    empty->SetZone(1, true);
    empty->SetZone(2, true);
    keep2->SetZone(1, true);
    auto *j1 = new TJumper(keep);
    new TJumper(empty);
    new TJumper(empty);
    auto *j4 = new TJumper(keep2);
    j1->SetCaption(QStringLiteral("A"));
    j4->SetCaption(QStringLiteral("D"));
    mine.SelectBranch(empty);
    mine.SetModified(false);

    QCOMPARE(mine.DeleteEmptyBranches(), 1);
    QVERIFY(mine.Modified());
    QCOMPARE(mine.Branches().Count(), 2);
    QVERIFY(mine.CurBranch() == nullptr);
    QCOMPARE(mine.GasBranches1().Count(), 2);
    QCOMPARE(mine.GasBranches1().Items(0), keep);
    QCOMPARE(mine.GasBranches1().Items(1), keep2);
    QCOMPARE(mine.GasBranches2().Count(), 0);
    QCOMPARE(mine.Jumpers().Count(), 2);
    QCOMPARE(mine.Jumpers().Items(0), j1);
    QCOMPARE(mine.Jumpers().Items(1), j4);
    QCOMPARE(mine.Jumpers().IndexOf(j4), 1);
}

void tst_TMine::deleteEmptyUzelForgetsResolvedReferences()
{
    TMine mine;
    TUzel *n = mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 3, 4, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    mine.ResolveIncidence();
    QCOMPARE(b->StartUzel(), n);
    // Renumbering and clearing the node makes it empty while the branch still points at it.
    n->SetNumber(kUnsetInt);
    for (int axis = 1; axis <= 3; ++axis)
        n->SetCoordinate(axis, kUnsetReal);
    QVERIFY(n->IsEmpty());
    QCOMPARE(mine.DeleteEmptyUzels(), 1);
    QVERIFY(b->StartUzel() == nullptr);
    QVERIFY(b->EndUzel() != nullptr);
    QCOMPARE(b->EndUzel()->IncidentCount(), 1);
    QCOMPARE(b->Length(), kUnsetReal);
}

void tst_TMine::resolveIncidenceMatchesPlainScan_data()
{
    // Node numbers drawn from [low, low + span): a narrow span gives dense numbers with many
    // duplicates, a wide one sparse numbers; unset and negative numbers mixed in.
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("span");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("dense with duplicates") << 1 << 40 << 1u;
    QTest::newRow("dense around zero") << -20 << 40 << 2u;
    QTest::newRow("sparse") << -1000000000 << 2000000000 << 3u;
    QTest::newRow("sparse near the limits") << 2147483000 << 600 << 4u;
}

void tst_TMine::resolveIncidenceMatchesPlainScan()
{
    QFETCH(int, low);
    QFETCH(int, span);
    QFETCH(quint32, seed);
    QRandomGenerator rng(seed);
    auto number = [&] {
        if (rng.bounded(10) == 0)
            return kUnsetInt;
        return qint32(qint64(low) + rng.bounded(span));
    };
    TMine mine;
    for (int i = 0; i < 60; ++i)
        mine.AddUzel(number(), float(i), 0, 0);
    for (int i = 0; i < 120; ++i)
        mine.AddBranch(i + 1, number(), number(), QString(), 1);

    auto firstWith = [&](qint32 n) -> TUzel * {
        if (n == kUnsetInt)
            return nullptr;
        for (int i = 1; i <= mine.Uzels().Count(); ++i)
            if (mine.Uzels().Items(i)->Number() == n)
                return mine.Uzels().Items(i);
        return nullptr;
    };
    for (int round = 0; round < 3; ++round) {
        mine.ResolveIncidence();
        QHash<TUzel *, int> counts;
        for (int i = 1; i <= mine.Branches().Count(); ++i) {
            TBranch *b = mine.Branches().Items(i);
            QCOMPARE(b->StartUzel(), firstWith(b->StartNumber()));
            QCOMPARE(b->EndUzel(), firstWith(b->EndNumber()));
            if (b->StartUzel())
                ++counts[b->StartUzel()];
            if (b->EndUzel())
                ++counts[b->EndUzel()];
        }
        for (int i = 1; i <= mine.Uzels().Count(); ++i)
            QCOMPARE(mine.Uzels().Items(i)->BranchCount(), counts.value(mine.Uzels().Items(i)));
        // Renumber some nodes and branch ends before resolving again.
        for (int k = 0; k < 15; ++k) {
            mine.Uzels().Items(1 + int(rng.bounded(mine.Uzels().Count())))->SetNumber(number());
            mine.Branches().Items(1 + int(rng.bounded(mine.Branches().Count())))->SetNumbers(2 + int(rng.bounded(2)), number());
        }
    }
}

void tst_TMine::resolveIncidence()
{
    TMine mine;
    TUzel *n1 = mine.AddUzel(1, 0, 0, 0);
    TUzel *n2 = mine.AddUzel(2, 3, 4, 0);
    TUzel *dup = mine.AddUzel(2, 100, 100, 100);   // a duplicate number: the first one wins
    TUzel *lonely = mine.AddUzel(9, 0, 0, 0);
    TBranch *b1 = mine.AddBranch(1, 1, 2, QString(), 1);
    TBranch *b2 = mine.AddBranch(2, 7, 2, QString(), 1);   // start matches no node
    TBranch *loop = mine.AddBranch(3, 1, 1, QString(), 1);
    mine.ResolveIncidence();

    QCOMPARE(b1->StartUzel(), n1);
    QCOMPARE(b1->EndUzel(), n2);
    QCOMPARE(b1->Length(), 5.0f);
    QVERIFY(b2->StartUzel() == nullptr);
    QCOMPARE(b2->EndUzel(), n2);
    QCOMPARE(b2->Length(), kUnsetReal);
    QCOMPARE(b2->Volume(), kUnsetReal);
    QCOMPARE(b2->Angle(), kUnsetReal);
    QCOMPARE(n1->BranchCount(), 3);   // b1 and both ends of the loop
    QCOMPARE(n2->BranchCount(), 2);   // b1 and the end of b2
    QCOMPARE(dup->BranchCount(), 0);
    QCOMPARE(lonely->BranchCount(), 0);
    QCOMPARE(n1->IncidentCount(), 2);   // b1 and the loop, each once
    QCOMPARE(n2->IncidentCount(), 2);

    // Renumbering the branch's start forgets the resolved node at once.
    b1->SetNumbers(2, 9);
    QVERIFY(b1->StartUzel() == nullptr);
    QCOMPARE(n1->IncidentCount(), 1);
    mine.ResolveIncidence();
    QCOMPARE(b1->StartUzel(), lonely);
    QCOMPARE(n1->BranchCount(), 2);
    QCOMPARE(lonely->BranchCount(), 1);
    QVERIFY(loop->StartUzel() == n1 && loop->EndUzel() == n1);
}

void tst_TMine::resolveIncidenceClampsZones()
{
    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 100, 0, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    TBranch *loose = mine.AddBranch(2, 1, 5, QString(), 1);
    for (int bound = 1; bound <= 12; ++bound) {
        b->SetZoneBound(bound, 150);
        loose->SetZoneBound(bound, 150);
    }
    mine.ResolveIncidence();
    for (int bound = 1; bound <= 8; ++bound) {
        QCOMPARE(b->ZoneBound(bound), 100.0f);
        QCOMPARE(loose->ZoneBound(bound), 150.0f);   // length unknown: untouched
    }
    QCOMPARE(b->ZoneBound(9), 150.0f);   // zones 5 and 6 are not clamped by the resolution
}

void tst_TMine::resolveIncidenceCountsManyBranches()
{
    TMine mine;
    TUzel *hub = mine.AddUzel(1, 0, 0, 0);
    for (int i = 0; i < 300; ++i) {
        mine.AddUzel(i + 2, float(i), 1, 0);
        mine.AddBranch(i + 1, 1, i + 2, QString(), 1);
    }
    mine.ResolveIncidence();
    QCOMPARE(hub->BranchCount(), 300);   // no wrap at 256
    QCOMPARE(hub->IncidentCount(), 300);
    QVERIFY(hub->InfoText().endsWith(QStringLiteral("Количество инцидентных ветвей: 300")));
}

void tst_TMine::updateExtents_data()
{
    QTest::addColumn<QList<float>>("coords");   // x, y, z triples
    QTest::addColumn<float>("cx");
    QTest::addColumn<float>("cy");
    QTest::addColumn<float>("cz");
    QTest::addColumn<int>("ex");
    QTest::addColumn<int>("ez");

    // The network's own box, wherever it lies: a grid far from the origin is not drawn small.
    QTest::newRow("far from the origin")
        << QList<float>{1000, 10, 5, 2000, 30, 5} << 1500.0f << 20.0f << 5.0f << 500 << 1;
    QTest::newRow("national grid: millions of metres")
        << QList<float>{5400000, 7645, -300, 5403000, 19440, -100} << 5401500.0f << 13542.5f << -200.0f << 1500 << 100;
    QTest::newRow("around the origin")
        << QList<float>{-100, -50, -20, 300, 50, 20} << 100.0f << 0.0f << 0.0f << 200 << 20;
    QTest::newRow("single node at the origin") << QList<float>{0, 0, 0} << 0.0f << 0.0f << 0.0f
                                               << 1 << 1;
    QTest::newRow("single node elsewhere: its own point") << QList<float>{7, 8, 9} << 7.0f << 8.0f << 9.0f
                                                          << 1 << 1;
    QTest::newRow("no nodes") << QList<float>{} << 0.0f << 0.0f << 0.0f << 1 << 1;
    QTest::newRow("half rounds to even")
        << QList<float>{0, 0, 0, 5, 0, 0} << 2.5f << 0.0f << 0.0f << 2 << 1;
    QTest::newRow("half rounds to even upward")
        << QList<float>{0, 0, 0, 7, 0, 3} << 3.5f << 0.0f << 1.5f << 4 << 2;
    // A DXF drawing may hold points this far out: half the span is past the whole numbers (the
    // extent came out as INT_MIN, a negative size).
    QTest::newRow("beyond the whole numbers")
        << QList<float>{0, 0, 0, -3e38f, 0, -3e38f} << -1.5e38f << 0.0f << -1.5e38f << INT_MAX << INT_MAX;
    QTest::newRow("unset coordinates ignored")
        << QList<float>{10, 10, 10, 20, 30, 40, kUnsetReal, kUnsetReal, kUnsetReal} << 15.0f << 20.0f << 25.0f
        << 5 << 15;
}

void tst_TMine::updateExtents()
{
    QFETCH(QList<float>, coords);
    QFETCH(float, cx);
    QFETCH(float, cy);
    QFETCH(float, cz);
    QFETCH(int, ex);
    QFETCH(int, ez);

    TMine mine;
    for (int i = 0; i + 2 < coords.size(); i += 3)
        mine.AddUzel(i + 1, coords[i], coords[i + 1], coords[i + 2]);
    mine.UpdateExtents(false);
    QCOMPARE(mine.CenterX(), cx);
    QCOMPARE(mine.CenterY(), cy);
    QCOMPARE(mine.CenterZ(), cz);
    QCOMPARE(mine.ExtentX(), ex);
    QCOMPARE(mine.ExtentZ(), ez);
}

void tst_TMine::updateExtentsRecentersScheme()
{
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    mine.SetScheme(&scheme);
    mine.AddUzel(1, 1000, 200, 40);
    mine.AddUzel(2, 2000, 400, 60);
    scheme.Clear();
    mine.UpdateExtents(false);
    QCOMPARE(scheme.Count(QStringLiteral("RotationCenter")), 0);
    mine.UpdateExtents(true);
    QCOMPARE(scheme.calls, QStringList{QStringLiteral("RotationCenter 1500 300 50")});
}

void tst_TMine::updateExtentsFollowsEdits()
{
    // The extents are kept incrementally; compare against a fresh mine after each edit.
    TMine mine;
    TUzel *a = mine.AddUzel(1, 10, 0, 0);
    TUzel *b = mine.AddUzel(2, 50, 0, 8);
    mine.AddUzel(3, 20, 0, -4);
    auto check = [&]() {
        TMine fresh;
        for (TUzel *n : mine.Uzels())
            fresh.AddUzel(n->Number(), n->X(), n->Y(), n->Z());
        fresh.UpdateExtents(false);
        mine.UpdateExtents(false);
        QCOMPARE(mine.CenterX(), fresh.CenterX());
        QCOMPARE(mine.CenterZ(), fresh.CenterZ());
        QCOMPARE(mine.ExtentX(), fresh.ExtentX());
        QCOMPARE(mine.ExtentZ(), fresh.ExtentZ());
    };
    check();
    QCOMPARE(mine.ExtentX(), 20);
    b->SetCoordinate(1, 30);   // the maximum moves inward
    check();
    QCOMPARE(mine.ExtentX(), 10);
    a->SetCoordinate(3, -40);  // a new minimum
    check();
    QCOMPARE(mine.ExtentZ(), 24);
    mine.Uzels().Delete(0);    // the node holding the minimum goes
    check();
    QCOMPARE(mine.ExtentZ(), 6);
}

void tst_TMine::updateExtentsSkippedWhileUpdating()
{
    TMine mine;
    mine.AddUzel(1, 100, 0, 0);
    mine.UpdateExtents(false);
    QCOMPARE(mine.CenterX(), 100.0f);
    mine.BeginUpdate();
    mine.AddUzel(2, 300, 0, 0);
    mine.UpdateExtents(false);
    QCOMPARE(mine.CenterX(), 100.0f);
    mine.EndUpdate();
    mine.UpdateExtents(false);
    QCOMPARE(mine.CenterX(), 200.0f);
}

void tst_TMine::nearest_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("half to even, down") << 2.5 << 2;
    QTest::newRow("half to even, up") << 3.5 << 4;
    QTest::newRow("negative half to even") << -2.5 << -2;
    QTest::newRow("just under a half") << 2.4999999 << 2;
    QTest::newRow("the largest int") << 2147483647.0 << 2147483647;
    QTest::newRow("past the largest int") << 3e9 << 2147483647;
    QTest::newRow("just under the largest int, rounded up to it") << 2147483646.7 << 2147483647;
    QTest::newRow("the smallest int") << -2147483648.0 << int(-2147483647 - 1);
    QTest::newRow("past the smallest int") << -1e300 << int(-2147483647 - 1);
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 2147483647;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void tst_TMine::nearest()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(TMine::Nearest(value), rounded);
}

void tst_TMine::projectNodes_data()
{
    QTest::addColumn<float>("angleX");
    QTest::addColumn<float>("angleZ");
    QTest::addColumn<float>("scale");
    QTest::addColumn<int>("px");
    QTest::addColumn<int>("py");

    // Node at (10, 20, 30), rotation centre (1, 2, 3): d = (9, 18, 27).
    QTest::newRow("elevation") << 0.0f << 0.0f << 1.0f << 9 << 27;
    QTest::newRow("plan from above") << 90.0f << 0.0f << 1.0f << 9 << -18;
    QTest::newRow("turned 90 about Z") << 0.0f << 90.0f << 1.0f << 18 << 27;
    QTest::newRow("scaled") << 0.0f << 0.0f << 2.5f << 22 << 68;   // 22.5 -> 22, 67.5 -> 68
    QTest::newRow("fractions truncated") << 90.9f << -0.7f << 1.0f << 9 << -18;
    QTest::newRow("tilt 30 turn 45") << 30.0f << 45.0f << 1.0f << 19 << 20;
    QTest::newRow("45.9 and -45.9 use the entries of 45 and -45") << 45.9f << -45.9f << 1.0f << -6 << 6;
}

void tst_TMine::projectNodes()
{
    QFETCH(float, angleX);
    QFETCH(float, angleZ);
    QFETCH(float, scale);
    QFETCH(int, px);
    QFETCH(int, py);

    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    scheme.centerX = 1;
    scheme.centerY = 2;
    scheme.centerZ = 3;
    TUzel *n = mine.AddUzel(1, 10, 20, 30);
    mine.SetScheme(&scheme);
    mine.SetAngles(angleX, angleZ);
    mine.SetScale(scale);
    QCOMPARE(n->ProjX(), px);
    QCOMPARE(n->ProjY(), py);
}

void tst_TMine::projectNodesHonoursCenterRequest()
{
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    TUzel *n = mine.AddUzel(1, 10, 0, 0);
    mine.ProjectNodes();   // no scheme: nothing
    QCOMPARE(n->ProjX(), 0);
    mine.SetScheme(&scheme);
    mine.SetCenterRequest(true);
    mine.ProjectNodes();
    QCOMPARE(scheme.calls, QStringList{QStringLiteral("CenterOrigin")});
    QVERIFY(!mine.CenterRequest());
    QCOMPARE(n->ProjX(), 10);
    mine.BeginUpdate();
    n->SetCoordinate(1, 20);
    mine.ProjectNodes();
    QCOMPARE(n->ProjX(), 10);   // skipped while updating
    mine.EndUpdate();
    mine.ProjectNodes();
    QCOMPARE(n->ProjX(), 20);
}

void tst_TMine::setTopologyValidResolvesAndCounts()
{
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    mine.SetScheme(&scheme);
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 10, 0, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 4);
    mine.SetModified(false);
    scheme.Clear();
    mine.SetTopologyValid(true);
    QVERIFY(mine.TopologyValid());
    QVERIFY(b->StartUzel() && b->EndUzel());
    QVERIFY(mine.CellsReady());
    QCOMPARE(b->CellCount(), 2);   // max(10, 2 x 4) / 4
    QCOMPARE(mine.ExtentX(), 5);
    QCOMPARE(scheme.calls.last(), QStringLiteral("Refresh"));
    QVERIFY(!mine.Modified());
    mine.SetTopologyValid(false);
    QVERIFY(!mine.TopologyValid());
    QVERIFY(b->StartUzel());   // the resolution stays until a number changes
}

void tst_TMine::setCellLength()
{
    TMine mine;
    int calls = 0;
    mine.OnModified = [&](TMine *, bool) { ++calls; };
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 20, 0, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 4);

    mine.SetCellLength(5);   // topology not valid: no counts
    QCOMPARE(mine.CellLength(), 5.0f);
    QVERIFY(!mine.CellsReady());
    QCOMPARE(b->CellCount(), 0);
    QVERIFY(mine.Modified());
    QCOMPARE(calls, 0);   // set without the notification

    mine.SetTopologyValid(true);
    QCOMPARE(b->CellCount(), 4);
    mine.SetCellLength(3);
    QCOMPARE(b->CellCount(), 6);   // 20 / 3
    QCOMPARE(b->Cells().size(), 6);
    QVERIFY(mine.CellsReady());
    mine.SetCellLength(0);
    QCOMPARE(b->CellCount(), 0);
    QVERIFY(b->Cells().isEmpty());
    QVERIFY(!mine.CellsReady());
    mine.SetCellLength(-2);   // nonsense length: no negative counts
    QCOMPARE(b->CellCount(), 0);
    QCOMPARE(calls, 0);
}

void tst_TMine::cellCountsWithFlexibleStopping()
{
    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 3, 4, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 4);
    auto *j = new TJumper(b);
    j->SetMaterial(12);   // "Брезентовая"
    j->SetThickness(0.01);
    mine.SetTopologyValid(true);
    QCOMPARE(b->Length(), 5.0f);
    QCOMPARE(b->EffectiveLength(), 12.0f);
    QCOMPARE(b->CellCount(), 3);
}

void tst_TMine::cellCountZeroForUnresolvedBranch()
{
    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 4);
    mine.SetTopologyValid(true);
    QCOMPARE(b->EffectiveLength(), kUnsetReal);
    QCOMPARE(b->CellCount(), 0);
}

void tst_TMine::selectBranchRaisesEventOnce()
{
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 10, 20, 30);
    mine.AddBranch(1, 1, 2, QString(), 1);
    TBranch *b = mine.AddBranch(7, 1, 2, QString(), 1);
    mine.SetTopologyValid(true);
    mine.SetScheme(&scheme);
    mine.SetModified(false);
    mine.SelectBranch(b);
    QCOMPARE(scheme.calls, (QStringList{QStringLiteral("Focus 5 10 15"),
                                        QStringLiteral("SelectBranch 2 #7"),
                                        QStringLiteral("Refresh")}));
    QCOMPARE(mine.CurBranch(), b);
    QCOMPARE(mine.SelKind(), quint8(1));
    QVERIFY(mine.CenterRequest());
    scheme.Clear();
    mine.SelectBranch(b);   // already selected: only the focus
    QCOMPARE(scheme.calls, QStringList{QStringLiteral("Focus 5 10 15")});
    QVERIFY(!mine.Modified());
}

void tst_TMine::selectBranchWithoutHandlerOrTopology()
{
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    scheme.branchHandler = false;
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 10, 20, 30);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    mine.ResolveIncidence();
    mine.SetScheme(&scheme);
    mine.SelectUzel(mine.Uzels().Items(1));
    scheme.Clear();
    mine.SelectBranch(b);   // topology not valid: no focus; no handler: no event
    QCOMPARE(scheme.calls, QStringList{QStringLiteral("Refresh")});
    QCOMPARE(mine.SelKind(), quint8(1));

    TMine lone;   // no scheme at all
    lone.AddBranch(1, 1, 2, QString(), 1);   // the first branch is current already
    TBranch *c = lone.AddBranch(2, 1, 2, QString(), 1);
    lone.SelectBranch(c);
    QCOMPARE(lone.CurBranch(), c);
    QVERIFY(lone.CenterRequest());
}

void tst_TMine::selectUzelFocusesAndRaises()
{
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    TUzel *n = mine.AddUzel(4, 1, 2, 3);
    mine.SetScheme(&scheme);
    mine.SelectUzel(n);
    QCOMPARE(scheme.calls, (QStringList{QStringLiteral("Focus 1 2 3"),
                                        QStringLiteral("SelectUzel 2 #4"),
                                        QStringLiteral("Refresh")}));
    QCOMPARE(mine.CurUzel(), n);
    QCOMPARE(mine.SelKind(), quint8(0));
    scheme.Clear();
    mine.SelectUzel(n);
    QCOMPARE(scheme.calls, QStringList{QStringLiteral("Focus 1 2 3")});
    scheme.uzelHandler = false;
    mine.SelectUzel(mine.Uzels().Items(1));
    QCOMPARE(scheme.Count(QStringLiteral("SelectUzel")), 0);
}

void tst_TMine::selectJumperFocusesOnPosition()
{
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 100, 0, 10);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *j = new TJumper(b);
    j->SetCaption(QStringLiteral("П1"));
    j->SetPosition(0.25);
    mine.SetScheme(&scheme);
    mine.SelectJumper(j);   // ends not resolved: no focus
    QCOMPARE(scheme.calls, (QStringList{QStringLiteral("SelectJumper П1"),
                                        QStringLiteral("Refresh")}));
    mine.ResolveIncidence();
    scheme.Clear();
    mine.SelectJumper(j);
    QCOMPARE(scheme.calls, QStringList{QStringLiteral("Focus 25 0 2.5")});
    QCOMPARE(mine.CurJumper(), j);
    QCOMPARE(mine.SelKind(), quint8(2));
    delete j;   // a deleted stopping is no longer the selection
    QVERIFY(mine.CurJumper() == nullptr);
}

void tst_TMine::viewSettersRefresh()
{
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    mine.SetScheme(&scheme);
    mine.SetShowUzels(1);
    mine.SetTextInfo(2);
    mine.SetColorFlags(0x0101);
    QCOMPARE(scheme.Count(QStringLiteral("Refresh")), 3);
    QCOMPARE(mine.ShowUzels(), quint8(1));
    QCOMPARE(mine.TextInfo(), quint8(2));
    QCOMPARE(mine.ColorFlags(), quint16(0x0101));
    QVERIFY(!mine.Modified());
}

void tst_TMine::endUpdateRefreshes()
{
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    mine.SetScheme(&scheme);
    mine.BeginUpdate();
    mine.AddUzel(1, 1, 1, 1);
    QCOMPARE(scheme.Count(QStringLiteral("Refresh")), 0);
    mine.EndUpdate();
    QVERIFY(!mine.Updating());
    QCOMPARE(scheme.Count(QStringLiteral("Refresh")), 1);
    mine.AddUzel(2, 1, 1, 1);
    QCOMPARE(scheme.Count(QStringLiteral("Refresh")), 2);
}

void tst_TMine::destructionTellsScheme()
{
    RecordingScheme scheme;
    TMine *mine = new TMine;
    mine->SetScheme(&scheme);
    mine->AddUzel(1, 0, 0, 0);
    TBranch *b = mine->AddBranch(1, 1, 1, QString(), 1);
    new TJumper(b);
    const quintptr address = quintptr(mine);
    delete mine;
    QCOMPARE(quintptr(scheme.destroyedMine), address);
}

QTEST_GUILESS_MAIN(tst_TMine)
#include "tst_TMine.moc"
