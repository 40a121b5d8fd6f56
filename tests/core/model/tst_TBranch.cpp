// A branch: derived values, zones and their bounds, the modified rules of its setters,
// the information text and what its destruction undoes.
#include "RecordingScheme.h"
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include <QtTest>
#include <functional>

using BranchEdit = std::function<void(TBranch *)>;
Q_DECLARE_METATYPE(BranchEdit)

class tst_TBranch : public QObject {
    Q_OBJECT

private slots:
    void creationWithoutMineRefused();
    void derivedValues_data();
    void derivedValues();
    void perimeterByShape_data();
    void perimeterByShape();
    void effectiveLength_data();
    void effectiveLength();
    void zoneBound_data();
    void zoneBound();
    void zoneBoundRefreshesOnlyShownZone();
    void zonesJoinGasLists();
    void gasKindResetsMark();
    void settersMarkModifiedOnlyOnChange_data();
    void settersMarkModifiedOnlyOnChange();
    void directSettersLeaveModified();
    void numbersForgetResolvedEnds();
    void infoText();
};

void tst_TBranch::creationWithoutMineRefused()
{
    try {
        TBranch b(nullptr);
        QFAIL("no error");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), QStringLiteral("Параметр Owner не должен быть равным nil"));
    }
    QVERIFY_THROWS_EXCEPTION(AppError, TUzel(nullptr));
}

void tst_TBranch::derivedValues_data()
{
    QTest::addColumn<QList<float>>("ends");   // x1 y1 z1 x2 y2 z2
    QTest::addColumn<float>("section");
    QTest::addColumn<float>("factor");
    QTest::addColumn<float>("length");
    QTest::addColumn<float>("volume");
    QTest::addColumn<float>("angle");

    QTest::newRow("level") << QList<float>{0, 0, 0, 3, 4, 0} << 2.0f << 1.0f << 5.0f << 10.0f
                           << 0.0f;
    QTest::newRow("incline") << QList<float>{0, 0, 0, 3, 0, 4} << 2.0f << 1.5f << 5.0f << 15.0f
                             << float(std::asin(0.8) * 57.295779513082320877);
    QTest::newRow("downhill") << QList<float>{0, 0, 4, 3, 0, 0} << 2.0f << 1.0f << 5.0f
                              << 10.0f << float(std::asin(0.8) * 57.295779513082320877);
    QTest::newRow("vertical shaft") << QList<float>{1, 1, 0, 1, 1, -30} << 10.0f << 1.0f << 30.0f
                                    << 300.0f << 90.0f;
    QTest::newRow("two nodes at one point") << QList<float>{5, 5, 5, 5, 5, 5} << 2.0f << 1.0f
                                            << 0.0f << 0.0f << kUnsetReal;
    QTest::newRow("section unset") << QList<float>{0, 0, 0, 3, 4, 0} << kUnsetReal << 1.0f
                                   << 5.0f << kUnsetReal << 0.0f;
}

void tst_TBranch::derivedValues()
{
    QFETCH(QList<float>, ends);
    QFETCH(float, section);
    QFETCH(float, factor);
    QFETCH(float, length);
    QFETCH(float, volume);
    QFETCH(float, angle);

    TMine mine;
    mine.AddUzel(1, ends[0], ends[1], ends[2]);
    mine.AddUzel(2, ends[3], ends[4], ends[5]);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), section);
    b->SetVolumeFactor(factor);
    b->SetExtraVolume(100);   // never part of Volume
    QCOMPARE(b->Length(), kUnsetReal);
    QCOMPARE(b->Volume(), kUnsetReal);
    QCOMPARE(b->Angle(), kUnsetReal);
    mine.ResolveIncidence();
    QCOMPARE(b->Length(), length);
    QCOMPARE(b->Volume(), volume);
    QCOMPARE(b->Angle(), angle);
}

void tst_TBranch::perimeterByShape_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<float>("section");
    QTest::addColumn<float>("perimeter");

    QTest::newRow("square") << 0 << 9.0f << 12.0f;
    QTest::newRow("arched") << 1 << 9.0f << float(3.84 * 3);
    QTest::newRow("trapezoid") << 2 << 9.0f << float(4.16 * 3);
    QTest::newRow("round") << 3 << 9.0f << float(3.56 * 3);
    QTest::newRow("unknown shape counts as round") << 7 << 4.0f << float(3.56 * 2);
    QTest::newRow("unset section") << 0 << kUnsetReal << 0.0f;
    QTest::newRow("negative section") << 0 << -4.0f << 0.0f;
}

void tst_TBranch::perimeterByShape()
{
    QFETCH(int, shape);
    QFETCH(float, section);
    QFETCH(float, perimeter);
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), section);
    b->SetShape(quint8(shape));
    QCOMPARE(b->Perimeter(), perimeter);
}

void tst_TBranch::effectiveLength_data()
{
    QTest::addColumn<float>("length");
    QTest::addColumn<float>("cell");
    QTest::addColumn<int>("material");
    QTest::addColumn<double>("thickness");
    QTest::addColumn<float>("effective");

    QTest::newRow("flexible stopping") << 5.0f << 4.0f << 12 << 0.01 << 12.0f;
    QTest::newRow("flexible without thickness") << 5.0f << 4.0f << 12 << 0.0 << 8.0f;
    QTest::newRow("rigid stopping") << 5.0f << 4.0f << 4 << 0.5 << 8.0f;
    QTest::newRow("first flexible material") << 5.0f << 4.0f << 11 << 1.0 << 12.0f;
    QTest::newRow("last flexible material") << 5.0f << 4.0f << 14 << 1.0 << 12.0f;
    QTest::newRow("after the flexible group") << 5.0f << 4.0f << 15 << 1.0 << 8.0f;
    QTest::newRow("long branch") << 50.0f << 4.0f << 12 << 1.0 << 50.0f;
    QTest::newRow("no stopping") << 5.0f << 4.0f << -1 << 0.0 << 8.0f;
}

void tst_TBranch::effectiveLength()
{
    QFETCH(float, length);
    QFETCH(float, cell);
    QFETCH(int, material);
    QFETCH(double, thickness);
    QFETCH(float, effective);

    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, length, 0, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    new TJumper(b);   // a rigid one without thickness never matters
    if (material >= 0) {
        auto *j = new TJumper(b);
        j->SetMaterial(quint8(material));
        j->SetThickness(thickness);
    }
    mine.SetCellLength(cell);
    QCOMPARE(b->EffectiveLength(), kUnsetReal);
    mine.ResolveIncidence();
    QCOMPARE(b->EffectiveLength(), effective);
}

void tst_TBranch::zoneBound_data()
{
    QTest::addColumn<bool>("resolved");
    QTest::addColumn<int>("bound");
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("stored");

    QTest::newRow("negative becomes 0") << true << 1 << -5.0f << 0.0f;
    QTest::newRow("beyond the length") << true << 2 << 120.0f << 100.0f;
    QTest::newRow("inside") << true << 5 << 40.5f << 40.5f;
    QTest::newRow("exactly the length") << true << 12 << 100.0f << 100.0f;
    QTest::newRow("length unknown: kept") << false << 2 << 120.0f << 120.0f;
    QTest::newRow("length unknown: negative") << false << 3 << -1.0f << 0.0f;
}

void tst_TBranch::zoneBound()
{
    QFETCH(bool, resolved);
    QFETCH(int, bound);
    QFETCH(float, value);
    QFETCH(float, stored);

    TMine mine;
    mine.AddUzel(1, 0, 0, 0);
    mine.AddUzel(2, 0, 100, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    if (resolved)
        mine.ResolveIncidence();
    b->SetZoneBound(bound, value);
    QCOMPARE(b->ZoneBound(bound), stored);
    QCOMPARE(mine.Modified(), stored != 0.0f);
    mine.SetModified(false);
    b->SetZoneBound(bound, value);   // the same clamped value again: no change
    QVERIFY(!mine.Modified());
}

void tst_TBranch::zoneBoundRefreshesOnlyShownZone()
{
    RecordingScheme scheme;
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    mine.SetScheme(&scheme);
    b->SetZoneBound(3, 5);   // zone 2 off
    QCOMPARE(scheme.Count(QStringLiteral("Refresh")), 0);
    b->SetZone(2, true);
    scheme.Clear();
    b->SetZoneBound(4, 7);
    QCOMPARE(scheme.Count(QStringLiteral("Refresh")), 1);
    mine.BeginUpdate();
    b->SetZoneBound(4, 8);
    QCOMPARE(scheme.Count(QStringLiteral("Refresh")), 1);
    QCOMPARE(b->Gas2To(), 8.0f);
}

void tst_TBranch::zonesJoinGasLists()
{
    TMine mine;
    TBranch *a = mine.AddBranch(1, 1, 2, QString(), 1);
    TBranch *b = mine.AddBranch(2, 1, 2, QString(), 1);
    b->SetZone(1, true);
    a->SetZone(1, true);
    a->SetZone(2, true);
    QVERIFY(mine.Modified());
    QCOMPARE(mine.GasBranches1().Count(), 2);
    QCOMPARE(mine.GasBranches1().Items(0), b);
    QCOMPARE(mine.GasBranches1().Items(1), a);
    QCOMPARE(mine.GasBranches2().Count(), 1);
    b->SetZone(1, false);
    QCOMPARE(mine.GasBranches1().Count(), 1);
    QCOMPARE(mine.GasBranches1().Items(0), a);
    QCOMPARE(mine.GasBranches1().IndexOf(a), 0);
    mine.SetModified(false);
    a->SetZone(1, true);   // already on
    QVERIFY(!mine.Modified());
    QCOMPARE(mine.GasBranches1().Count(), 1);
    a->SetZone(3, true);   // result zones join no list
    QVERIFY(a->Zone3());
    QCOMPARE(mine.GasBranches1().Count() + mine.GasBranches2().Count(), 2);
}

void tst_TBranch::gasKindResetsMark()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    b->SetNormalMark(3);
    b->SetRouteMark(4);
    b->SetGasKind(1, 2);
    QCOMPARE(b->Gas1Kind(), quint8(2));
    QCOMPARE(b->NormalMark(), quint8(0));
    QCOMPARE(b->RouteMark(), quint8(4));
    b->SetGasKind(2, 1);
    QCOMPARE(b->RouteMark(), quint8(0));
    QVERIFY(mine.Modified());
}

void tst_TBranch::settersMarkModifiedOnlyOnChange_data()
{
    QTest::addColumn<BranchEdit>("edit");

    QTest::newRow("number") << BranchEdit([](TBranch *b) { b->SetNumbers(1, 5); });
    QTest::newRow("start") << BranchEdit([](TBranch *b) { b->SetNumbers(2, 5); });
    QTest::newRow("end") << BranchEdit([](TBranch *b) { b->SetNumbers(3, 5); });
    QTest::newRow("section") << BranchEdit([](TBranch *b) { b->SetSection(2.5f); });
    QTest::newRow("shape") << BranchEdit([](TBranch *b) { b->SetShape(2); });
    QTest::newRow("roughness") << BranchEdit([](TBranch *b) { b->SetRoughness(3); });
    QTest::newRow("volume factor") << BranchEdit([](TBranch *b) { b->SetVolumeFactor(2); });
    QTest::newRow("extra volume") << BranchEdit([](TBranch *b) { b->SetExtraVolume(2); });
    QTest::newRow("resistance") << BranchEdit([](TBranch *b) { b->SetResistance(0.25); });
    QTest::newRow("comment") << BranchEdit([](TBranch *b) { b->SetComment(QStringLiteral("к")); });
    QTest::newRow("name") << BranchEdit([](TBranch *b) { b->SetName(QStringLiteral("Штрек")); });
    QTest::newRow("seam") << BranchEdit([](TBranch *b) { b->SetLayerIndex(0); });
    QTest::newRow("plan position") << BranchEdit([](TBranch *b) { b->SetPLFIndex(2); });
    QTest::newRow("zone") << BranchEdit([](TBranch *b) { b->SetZone(4, true); });
    QTest::newRow("zone bound") << BranchEdit([](TBranch *b) { b->SetZoneBound(6, 1); });
    QTest::newRow("gas kind") << BranchEdit([](TBranch *b) { b->SetGasKind(2, 3); });
    QTest::newRow("option") << BranchEdit([](TBranch *b) { b->SetOption(2, false); });
    QTest::newRow("option value") << BranchEdit([](TBranch *b) { b->SetOptionValue(3, 1.5f); });
}

void tst_TBranch::settersMarkModifiedOnlyOnChange()
{
    QFETCH(BranchEdit, edit);
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    int calls = 0;
    mine.OnModified = [&](TMine *, bool) { ++calls; };
    edit(b);
    QVERIFY(mine.Modified());
    QCOMPARE(calls, 1);
    mine.SetModified(false);
    calls = 0;
    edit(b);   // the same value again
    QVERIFY(!mine.Modified());
    QCOMPARE(calls, 0);
}

void tst_TBranch::directSettersLeaveModified()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    b->SetNormalResult(4);
    b->SetRouteResult(5);
    b->SetLinkIndex(0);
    b->SetNormalMark(1);
    b->SetRouteMark(1);
    b->SetCellCount(3);
    b->SetPen1(0xFF, true, 3);
    QVERIFY(!mine.Modified());
    QCOMPARE(b->NormalResult(), 4);
    QCOMPARE(b->RouteResult(), 5);
    QCOMPARE(b->LinkIndex(), 0);
    QCOMPARE(b->Cells().size(), 3);
    b->SetCellCount(-4);
    QCOMPARE(b->CellCount(), 0);
    QVERIFY(b->Cells().isEmpty());
}

void tst_TBranch::numbersForgetResolvedEnds()
{
    TMine mine;
    TUzel *n1 = mine.AddUzel(1, 0, 0, 0);
    TUzel *n2 = mine.AddUzel(2, 1, 0, 0);
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    mine.ResolveIncidence();
    b->SetNumbers(1, 10);   // its own number: the ends stay
    QVERIFY(b->StartUzel() == n1 && b->EndUzel() == n2);
    b->SetNumbers(3, 2);    // unchanged value: nothing
    QCOMPARE(b->EndUzel(), n2);
    b->SetNumbers(3, 1);
    QCOMPARE(b->StartUzel(), n1);
    QVERIFY(b->EndUzel() == nullptr);
    QCOMPARE(n2->IncidentCount(), 0);
    b->SetNumbers(2, 7);
    QVERIFY(b->StartUzel() == nullptr);
    QCOMPARE(n1->IncidentCount(), 0);
    QCOMPARE(b->Numbers(1), 10);
    QCOMPARE(b->Numbers(2), 7);
    QCOMPARE(b->Numbers(3), 1);
}

void tst_TBranch::infoText()
{
    TMine mine;
    mine.SetTitle(QStringLiteral("Южная %1"));   // a placeholder-like title stays as it is
    mine.AddUzel(11, 0, 0, 0);
    mine.AddUzel(12, 3, 0, 4);
    TBranch *b = mine.AddBranch(7, 11, 12, QStringLiteral("вент. штрек"), 12.34f);
    mine.ResolveIncidence();
    QCOMPARE(b->InfoText(),
             QStringLiteral("Шахта \"Южная %1\"\r\n\r\nВыработка №7\r\nЗаметки: вент. штрек\r\n\r\n"
                            "Начальный узел: 11\r\nКонечный узел: 12\r\nДлина: 5.0\r\n"
                            "Сечение: 12.3\r\nУгол: 53.1"));
    QCOMPARE(mine.Uzels().Items(2)->InfoText(),
             QStringLiteral("Шахта: \"Южная %1\"\r\n\r\nУзел №12\r\nКоординаты: X=3.0, Y=0.0, "
                            "Z=4.0\r\nКоличество инцидентных ветвей: 1"));
    TBranch *loose = mine.AddBranch(8, 11, 99, QString(), kUnsetReal);
    QVERIFY(loose->InfoText().contains(QStringLiteral("Конечный узел: 99\r\nДлина: -777777.0")));

    // A title or comment of millions of characters: one line of 1,000 and "…", the rest of the
    // box still there.
    const QString huge = QStringLiteral("a\r\n") + QString(5'000'000, u'Ш');
    mine.SetTitle(huge);
    b->SetComment(huge);
    const QString line = QStringLiteral("a  ") + QString(997, u'Ш') + u'…';
    QVERIFY(b->InfoText().startsWith(QStringLiteral("Шахта \"%1\"\r\n\r\nВыработка №7\r\nЗаметки: %1\r\n\r\n").arg(line)));
    QVERIFY(mine.Uzels().Items(2)->InfoText().startsWith(QStringLiteral("Шахта: \"%1\"\r\n\r\nУзел №12").arg(line)));
    QCOMPARE(mine.Title(), huge);
}

QTEST_GUILESS_MAIN(tst_TBranch)
#include "tst_TBranch.moc"
