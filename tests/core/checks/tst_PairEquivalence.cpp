// The fast check must list exactly what the plain pairwise loops list, line for line and in the
// same order, on networks full of repeated numbers, parallel branches and missing references.
#include "MessageText.h"
#include "MineGenerators.h"
#include "PairwiseTopologyCheck.h"
#include "checks/TTopologyCheck.h"
#include "model/TMine.h"

#include <QtTest>

Q_DECLARE_METATYPE(minegen::RandomParams)

class tst_PairEquivalence : public QObject {
    Q_OBJECT

private slots:
    void sameLines_data();
    void sameLines();
    void unresolvedNetworkGroupedByNumbers_data();
    void unresolvedNetworkGroupedByNumbers();
};

void tst_PairEquivalence::sameLines_data()
{
    QTest::addColumn<minegen::RandomParams>("params");
    QTest::addColumn<int>("minStages");   // the generator aims at reaching this stage

    minegen::RandomParams dup;
    dup.uzels = 300;
    dup.branches = 400;
    dup.uzelNumberRange = 40;
    dup.branchNumberRange = 60;
    dup.unsetEndPercent = 5;
    dup.emptyRowPercent = 3;

    minegen::RandomParams few = dup;   // a handful of numbers repeated many times
    few.uzelNumberRange = 3;
    few.branchNumberRange = 4;

    minegen::RandomParams missing;     // unique numbers, references beyond the nodes
    missing.uzels = 200;
    missing.branches = 300;
    missing.referenceRange = 215;

    minegen::RandomParams parallel;    // few node numbers used by many branches
    parallel.uzels = 150;
    parallel.branches = 400;
    parallel.referenceRange = 25;
    parallel.allowLoops = false;
    parallel.surfacePercent = 10;

    minegen::RandomParams sparse = parallel;   // isolated nodes and branches, some parallels
    sparse.uzels = 400;
    sparse.branches = 150;
    sparse.referenceRange = 400;

    minegen::RandomParams noCoords = parallel;
    noCoords.unsetCoordinatePercent = 4;

    minegen::RandomParams badNumbers = dup;
    badNumbers.badNumberPercent = 3;

    // Sparse numbers are hashed rather than used as array indexes.
    minegen::RandomParams sparseDup = dup;
    sparseDup.numberStride = 1000003;
    minegen::RandomParams sparseMissing = missing;
    sparseMissing.numberStride = 7919;

    for (quint32 seed = 1; seed <= 4; ++seed) {
        QTest::addRow("duplicates %u", seed) << dup << 1;
        QTest::addRow("few numbers %u", seed) << few << 1;
        QTest::addRow("missing nodes %u", seed) << missing << 1;
        QTest::addRow("parallel branches %u", seed) << parallel << 3;
        QTest::addRow("sparse network %u", seed) << sparse << 3;
        QTest::addRow("missing coordinates %u", seed) << noCoords << 2;
        QTest::addRow("bad numbers %u", seed) << badNumbers << 1;
        QTest::addRow("sparse duplicates %u", seed) << sparseDup << 1;
        QTest::addRow("sparse missing nodes %u", seed) << sparseMissing << 1;
    }
}

void tst_PairEquivalence::sameLines()
{
    QFETCH(minegen::RandomParams, params);
    QFETCH(int, minStages);
    const quint32 seed = quint32(qHash(QString::fromLatin1(QTest::currentDataTag())));

    TMine fastMine, slowMine;
    minegen::Random(fastMine, seed, params);
    minegen::Random(slowMine, seed, params);

    TMessageList fast;
    TTopologyCheck check(fastMine, fast);
    check.SetDecimalPoint(QLatin1Char(','));
    const TCheckOutcome outcome = check.CheckAll();

    pairwise::Lines slow;
    const bool slowPassed = pairwise::CheckAll(slowMine, slow, check);

    QCOMPARE(messagetext::Render(fast.Lines()), messagetext::Render(slow));
    QCOMPARE(outcome.Passed(), slowPassed);
    QCOMPARE(fastMine.TopologyValid(), slowMine.TopologyValid());

    // The stages called one by one, as the document window calls them: stage 3 then reads the
    // linked nodes instead of what CheckAll kept from stage 1.
    TMine stagedMine;
    minegen::Random(stagedMine, seed, params);
    TMessageList staged;
    TTopologyCheck stages(stagedMine, staged);
    stages.SetDecimalPoint(QLatin1Char(','));
    if (stages.CheckTopology().Passed && stages.CheckCoordinates().Passed)
        stages.CheckPhysics();
    QCOMPARE(messagetext::Render(staged.Lines()), messagetext::Render(slow));
    // The generated network really exercises the stage it was meant for, with findings.
    QVERIFY2(outcome.StagesRun >= minStages, qPrintable(QString::number(outcome.StagesRun)));
    QVERIFY(fast.MessageCount() > 0);
}

void tst_PairEquivalence::unresolvedNetworkGroupedByNumbers_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 11; seed <= 14; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void tst_PairEquivalence::unresolvedNetworkGroupedByNumbers()
{
    // Stage 3 on its own, before any resolution (and with one branch renumbered to a node that
    // does not exist, so that even a resolution would leave an end open): the parallel test
    // falls back on the node numbers.
    QFETCH(quint32, seed);
    minegen::RandomParams params;
    params.uzels = 60;
    params.branches = 200;
    params.referenceRange = 12;
    params.allowLoops = false;

    TMine fastMine, slowMine;
    minegen::Random(fastMine, seed, params);
    minegen::Random(slowMine, seed, params);
    fastMine.ResolveIncidence();
    slowMine.ResolveIncidence();
    fastMine.Branches().Items(7)->SetNumbers(3, 999);
    slowMine.Branches().Items(7)->SetNumbers(3, 999);

    TMessageList fast;
    TTopologyCheck check(fastMine, fast);
    const bool fastPassed = check.CheckPhysics().Passed;
    pairwise::Lines slow;
    const bool slowPassed = pairwise::Stage3(slowMine, slow);
    QCOMPARE(messagetext::Render(fast.Lines()), messagetext::Render(slow));
    QCOMPARE(fastPassed, slowPassed);
    QVERIFY(fast.Texts().join('\n').contains(QStringLiteral("параллельные")));
}

QTEST_GUILESS_MAIN(tst_PairEquivalence)
#include "tst_PairEquivalence.moc"
