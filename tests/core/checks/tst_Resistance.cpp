// Resistance from perimeter, length, cross-section and roughness, for one branch and for all.
#include "AppError.h"
#include "MineText.h"
#include "checks/Resistance.h"
#include "model/TBranch.h"
#include "model/TMine.h"

#include <QtTest>

namespace {

// Two nodes `length` metres apart joined by branch 1, resolved so that the length is known.
TBranch *Working(TMine &m, float length, float section, int shape, int roughness)
{
    m.AddUzel(1, 0, 0, 0);
    m.AddUzel(2, 0, length, 0);
    TBranch *b = m.AddBranch(1, 1, 2, QString(), section);
    b->SetShape(quint8(shape));
    b->SetRoughness(quint8(roughness));
    m.ResolveIncidence();
    return b;
}

} // namespace

class tst_Resistance : public QObject {
    Q_OBJECT

private slots:
    void computed_data();
    void computed();
    void skipped_data();
    void skipped();
    void unresolvedBranchKeepsR();
    void storingMarksModified();
    void allBranches_data();
    void allBranches();
    void allBranchesNeedsValidTopology();
};

void tst_Resistance::computed_data()
{
    QTest::addColumn<float>("length");
    QTest::addColumn<float>("section");
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("roughness");
    QTest::addColumn<double>("r");
    QTest::addColumn<bool>("exact");   // a perimeter that is exact in single precision

    // R = P·α·L / S³ · 9.81 with P = k·√S.
    QTest::newRow("square S=4 class 0 L=100") << 100.0f << 4.0f << 0 << 0 << 0.30043125 << true;
    QTest::newRow("square class 1") << 100.0f << 4.0f << 0 << 1 << 8 * 0.00588 * 100 / 64 * 9.81 << true;
    QTest::newRow("square class 2") << 100.0f << 4.0f << 0 << 2 << 8 * 0.01372 * 100 / 64 * 9.81 << true;
    QTest::newRow("square class 3") << 100.0f << 4.0f << 0 << 3 << 8 * 0.02695 * 100 / 64 * 9.81 << true;
    QTest::newRow("square class 4") << 100.0f << 4.0f << 0 << 4 << 8 * 0.04165 * 100 / 64 * 9.81 << true;
    QTest::newRow("round S=9") << 50.0f << 9.0f << 3 << 0 << double(10.68f) * 0.00245 * 50 / 729 * 9.81 << false;
    QTest::newRow("arched S=9") << 50.0f << 9.0f << 1 << 0 << double(11.52f) * 0.00245 * 50 / 729 * 9.81 << false;
    QTest::newRow("trapezoid S=9") << 50.0f << 9.0f << 2 << 0 << double(12.48f) * 0.00245 * 50 / 729 * 9.81 << false;
    QTest::newRow("zero length gives zero") << 0.0f << 4.0f << 0 << 0 << 0.0 << true;
}

void tst_Resistance::computed()
{
    QFETCH(float, length);
    QFETCH(float, section);
    QFETCH(int, shape);
    QFETCH(int, roughness);
    QFETCH(double, r);
    QFETCH(bool, exact);

    TMine m;
    TBranch *b = Working(m, length, section, shape, roughness);
    QVERIFY(ComputeResistance(*b));
    if (exact)
        QCOMPARE(b->Resistance(), r);
    else
        QVERIFY2(qAbs(b->Resistance() - r) <= 1e-6 * r, qPrintable(QString::number(b->Resistance(), 'g', 17)));
}

void tst_Resistance::skipped_data()
{
    QTest::addColumn<float>("section");
    QTest::addColumn<int>("roughness");

    QTest::newRow("zero section") << 0.0f << 0;
    QTest::newRow("unset section") << kUnsetReal << 0;
    QTest::newRow("roughness class beyond the table") << 4.0f << 5;
    QTest::newRow("roughness class 255") << 4.0f << 255;
    QTest::newRow("negative section") << -4.0f << 0;
}

void tst_Resistance::skipped()
{
    QFETCH(float, section);
    QFETCH(int, roughness);

    TMine m;
    TBranch *b = Working(m, 100.0f, section, 0, roughness);
    b->SetResistance(0.5);
    QVERIFY(!ComputeResistance(*b));
    QCOMPARE(b->Resistance(), 0.5);
}

void tst_Resistance::unresolvedBranchKeepsR()
{
    // A mine that never passed the check has no lengths.
    TMine m;
    m.AddUzel(1, 0, 0, 0);
    m.AddUzel(2, 0, 100, 0);
    TBranch *b = m.AddBranch(1, 1, 2, QString(), 4.0f);
    QVERIFY(!ComputeResistance(*b));
    QCOMPARE(b->Resistance(), 0.0);
}

void tst_Resistance::storingMarksModified()
{
    TMine m;
    TBranch *b = Working(m, 100.0f, 4.0f, 0, 0);
    m.SetModified(false);
    QVERIFY(ComputeResistance(*b));
    QVERIFY(m.Modified());
    m.SetModified(false);
    QVERIFY(ComputeResistance(*b));   // same value again: nothing changes
    QVERIFY(!m.Modified());
}

void tst_Resistance::allBranches_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<double>>("after");

    const double r4 = 0.30043125;
    // Branches: S=4 R=0; S=4 R=0.0001; S unset R=0; S=0 R=0.
    QTest::newRow("all branches") << 0 << 2 << QList<double>{r4, r4, 0.0, 0.0};
    QTest::newRow("only R=0") << 1 << 1 << QList<double>{r4, 0.0001, 0.0, 0.0};
}

void tst_Resistance::allBranches()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(QList<double>, after);

    TMine m;
    minetext::Build(m, "u 1 0 0 0; u 2 100 0 0; u 3 0 100 0; u 4 0 0 100;"
                       "b 1 1 2 4; b 2 1 3 4; b 3 1 4 -; b 4 2 3 0");
    m.Branches().Items(2)->SetResistance(0.0001);
    m.SetTopologyValid(true);
    QCOMPARE(ComputeAllResistance(m, TResistanceMode(mode)), count);
    QList<double> rs;
    for (int i = 1; i <= m.Branches().Count(); ++i)
        rs << m.Branches().Items(i)->Resistance();
    QCOMPARE(rs, after);
}

void tst_Resistance::allBranchesNeedsValidTopology()
{
    TMine m;
    TBranch *b = Working(m, 100.0f, 4.0f, 0, 0);
    try {
        ComputeAllResistance(m, TResistanceMode::AllBranches);
        QFAIL("computed without a valid topology");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), QStringLiteral("Найдены ошибки топологии"));
    }
    QCOMPARE(b->Resistance(), 0.0);
}

QTEST_GUILESS_MAIN(tst_Resistance)
#include "tst_Resistance.moc"
