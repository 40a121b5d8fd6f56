// Stoppings and people: their two lists, order by position, clamping, the H/Q/R rules and the
// modified rules of the setters; the constant tables they index.
#include "AppError.h"
#include "model/MineTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include <QtTest>
#include <functional>

using JumperEdit = std::function<void(TJumper *)>;
Q_DECLARE_METATYPE(JumperEdit)

namespace {
QList<double> Positions(const TBranch *b)
{
    QList<double> out;
    for (TJumper *j : b->Jumpers())
        out << j->Position();
    return out;
}
} // namespace

class tst_TJumper : public QObject {
    Q_OBJECT

private slots:
    void guards();
    void inBothLists();
    void destroyedFromBoth();
    void keptSortedByPosition();
    void createdAtPosition();
    void positionClamped_data();
    void positionClamped();
    void measurement();
    void measurementSameValue();
    void openingArea();
    void hitsAndSteps();
    void modifiedOnChange_data();
    void modifiedOnChange();
    void bulkBranchDeletionKeepsMineListInOrder();
    void peopleSortedAndClamped();
    void peopleModifiedRules();
    void tables();
};

void tst_TJumper::guards()
{
    const QString text = QStringLiteral("Параметр Owner не должен быть равным nil");
    try {
        TJumperList list(nullptr, true);
        QFAIL("no error");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), text);
    }
    try {
        TPeopleList list(nullptr);
        QFAIL("no error");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), text);
    }
    QVERIFY_THROWS_EXCEPTION(AppError, TJumper(nullptr));
    QVERIFY_THROWS_EXCEPTION(AppError, TPeopleInfo(nullptr));
}

void tst_TJumper::inBothLists()
{
    TMine mine;
    TBranch *a = mine.AddBranch(1, 1, 2, QString(), 1);
    TBranch *b = mine.AddBranch(2, 1, 2, QString(), 1);
    auto *j1 = new TJumper(a);
    auto *j2 = new TJumper(b);
    auto *j3 = new TJumper(a);
    QCOMPARE(a->Jumpers().Count(), 2);
    QCOMPARE(b->Jumpers().Count(), 1);
    QCOMPARE(mine.Jumpers().Count(), 3);
    QCOMPARE(mine.Jumpers().Items(0), j1);
    QCOMPARE(mine.Jumpers().Items(1), j2);
    QCOMPARE(mine.Jumpers().Items(2), j3);
    QCOMPARE(j3->Branch(), a);
    QCOMPARE(j3->Mine(), &mine);
    QVERIFY(!mine.Modified());   // creation is not an edit; placing it is
    QCOMPARE(j1->Position(), 0.0);
    QCOMPARE(j1->Material(), quint8(0));
}

void tst_TJumper::destroyedFromBoth()
{
    TMine mine;
    TBranch *a = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *j1 = new TJumper(a);
    auto *j2 = new TJumper(a);
    auto *j3 = new TJumper(a);
    j2->SetPosition(0.5);
    j3->SetPosition(0.7);
    mine.SetModified(false);
    delete j2;
    QCOMPARE(a->Jumpers().Count(), 2);
    QCOMPARE(a->Jumpers().Items(1), j3);
    QCOMPARE(mine.Jumpers().Count(), 2);
    QCOMPARE(mine.Jumpers().Items(1), j3);
    QCOMPARE(j3->IndexInBranch(), 1);
    a->Jumpers().Delete(0);
    QCOMPARE(mine.Jumpers().Count(), 1);
    QCOMPARE(mine.Jumpers().Items(0), j3);
    QCOMPARE(mine.Jumpers().IndexOf(j3), 0);
    QVERIFY(!mine.Modified());
    Q_UNUSED(j1);
}

void tst_TJumper::keptSortedByPosition()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *j1 = new TJumper(b);
    j1->SetPosition(0.5);
    auto *j2 = new TJumper(b);   // a new one at 0 goes before the others
    QCOMPARE(Positions(b), (QList<double>{0, 0.5}));
    j2->SetPosition(0.9);
    QCOMPARE(Positions(b), (QList<double>{0.5, 0.9}));
    auto *j3 = new TJumper(b);
    j3->SetPosition(0.7);
    QCOMPARE(Positions(b), (QList<double>{0.5, 0.7, 0.9}));
    j1->SetPosition(1.0);
    QCOMPARE(Positions(b), (QList<double>{0.7, 0.9, 1.0}));
    QCOMPARE(j1->IndexInBranch(), 2);
    QCOMPARE(j3->IndexInBranch(), 0);
    // The mine's list keeps the order of creation.
    QCOMPARE(mine.Jumpers().Items(0), j1);
}

void tst_TJumper::createdAtPosition()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *late = new TJumper(b, 0.8);
    auto *early = new TJumper(b, 0.2);
    auto *beyond = new TJumper(b, 3.0);
    auto *before = new TJumper(b, -1.0);
    QCOMPARE(Positions(b), (QList<double>{0, 0.2, 0.8, 1.0}));
    QCOMPARE(before->IndexInBranch(), 0);
    QCOMPARE(early->IndexInBranch(), 1);
    QCOMPARE(late->IndexInBranch(), 2);
    QCOMPARE(beyond->IndexInBranch(), 3);
    QCOMPARE(mine.Jumpers().Items(0), late);   // the mine's list keeps creation order
    auto *p1 = new TPeopleInfo(b, 0.6);
    auto *p2 = new TPeopleInfo(b, 0.3);
    QCOMPARE(b->People().Items(0), p2);
    QCOMPARE(b->People().Items(1), p1);
    QCOMPARE((new TPeopleInfo(b, 7.0))->Position(), 1.0);
    QVERIFY(!mine.Modified());
}

void tst_TJumper::positionClamped_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("stored");
    QTest::addColumn<bool>("modified");
    QTest::newRow("above 1") << 1.7 << 1.0 << true;
    QTest::newRow("below 0") << -0.2 << 0.0 << false;   // already 0
    QTest::newRow("inside") << 0.25 << 0.25 << true;
    QTest::newRow("not a number") << std::nan("") << 0.0 << false;
}

void tst_TJumper::positionClamped()
{
    QFETCH(double, value);
    QFETCH(double, stored);
    QFETCH(bool, modified);
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *j = new TJumper(b);
    auto *p = new TPeopleInfo(b);
    j->SetPosition(value);
    QCOMPARE(j->Position(), stored);
    QCOMPARE(mine.Modified(), modified);
    mine.SetModified(false);
    p->SetPosition(value);
    QCOMPARE(p->Position(), stored);
    QCOMPARE(mine.Modified(), modified);
}

void tst_TJumper::measurement()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *j = new TJumper(b);
    j->SetMeasurement(1, 50);
    QVERIFY(j->Measured());
    QCOMPARE(j->Resistance(), 0.0);   // Q still 0
    j->SetMeasurement(2, 5);
    QCOMPARE(j->Resistance(), 2.0);
    QCOMPARE(j->Depression(), 50.0);
    QCOMPARE(j->Flow(), 5.0);
    j->SetMeasurement(2, 0);
    QCOMPARE(j->Resistance(), 0.0);
    j->SetMeasurement(2, 1e-13);
    QCOMPARE(j->Resistance(), 0.0);
    j->SetMeasurement(2, -10);
    QCOMPARE(j->Resistance(), 0.5);
    mine.SetModified(false);
    j->SetResistanceValue(1, 3);
    QVERIFY(!j->Measured());
    QCOMPARE(j->Resistance(), 3.0);
    QVERIFY(mine.Modified());
    mine.SetModified(false);
    j->SetResistanceValue(1, 3);   // typed again while not measured: nothing
    QVERIFY(!mine.Modified());
    j->SetResistanceValue(2, 4);
    QCOMPARE(j->ReverseResistance(), 4.0);
    QCOMPARE(j->Resistance(), 3.0);
    QVERIFY(mine.Modified());
}

void tst_TJumper::measurementSameValue()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *j = new TJumper(b);
    j->SetMeasurement(1, 50);
    j->SetMeasurement(2, 5);
    j->SetResistanceValue(1, 7);   // R typed: Measured off
    mine.SetModified(false);
    j->SetMeasurement(1, 50);      // same H, but not measured: switches back and recomputes
    QVERIFY(j->Measured());
    QCOMPARE(j->Resistance(), 2.0);
    QVERIFY(mine.Modified());
    mine.SetModified(false);
    j->SetMeasurement(2, 5);       // measured and same Q: nothing
    QVERIFY(!mine.Modified());
    // R typed equal to the computed one still turns Measured off.
    j->SetResistanceValue(1, 2.0);
    QVERIFY(!j->Measured());
    QVERIFY(mine.Modified());
}

void tst_TJumper::openingArea()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *j = new TJumper(b);
    j->SetOpening(2);
    mine.SetModified(false);
    j->SetOpeningArea(1.5);
    QCOMPARE(j->OpeningArea(), 1.5);
    QVERIFY(!mine.Modified());
    j->SetOpening(MineTables::kArbitraryOpening);
    mine.SetModified(false);
    j->SetOpeningArea(1.5);
    QVERIFY(!mine.Modified());
    j->SetOpeningArea(2.5);
    QVERIFY(mine.Modified());
}

void tst_TJumper::hitsAndSteps()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *j = new TJumper(b);
    j->SetNormalStep(12);
    QVERIFY(j->NormalHit());
    QVERIFY(!mine.Modified());
    j->SetNormalHit(false);
    QCOMPARE(j->NormalStep(), 0);
    QVERIFY(mine.Modified());
    mine.SetModified(false);
    j->SetRouteStep(3);
    QVERIFY(j->RouteHit());
    j->SetRouteStep(0);
    QVERIFY(!j->RouteHit());
    QVERIFY(!mine.Modified());
    j->SetRouteHit(true);
    QVERIFY(mine.Modified());
    QCOMPARE(j->RouteStep(), 0);
    j->SetNormalValues(1, 2, 3);
    QCOMPARE(j->NormalValues()[2], 3.0);
}

void tst_TJumper::modifiedOnChange_data()
{
    QTest::addColumn<JumperEdit>("edit");
    QTest::addColumn<bool>("always");
    QTest::newRow("caption") << JumperEdit([](TJumper *j) { j->SetCaption(QStringLiteral("П")); })
                             << true;
    QTest::newRow("material") << JumperEdit([](TJumper *j) { j->SetMaterial(5); }) << false;
    QTest::newRow("vent") << JumperEdit([](TJumper *j) { j->SetVent(true); }) << false;
    QTest::newRow("cut-in") << JumperEdit([](TJumper *j) { j->SetCutIn(true); }) << false;
    QTest::newRow("doors") << JumperEdit([](TJumper *j) { j->SetDoors(2); }) << false;
    QTest::newRow("opening") << JumperEdit([](TJumper *j) { j->SetOpening(3); }) << false;
    QTest::newRow("thickness") << JumperEdit([](TJumper *j) { j->SetThickness(0.3); }) << false;
    QTest::newRow("break pressure") << JumperEdit([](TJumper *j) { j->SetBreakPressure(2); })
                                    << false;
    QTest::newRow("position") << JumperEdit([](TJumper *j) { j->SetPosition(0.3); }) << false;
}

void tst_TJumper::modifiedOnChange()
{
    QFETCH(JumperEdit, edit);
    QFETCH(bool, always);
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *j = new TJumper(b);
    edit(j);
    QVERIFY(mine.Modified());
    mine.SetModified(false);
    edit(j);
    QCOMPARE(mine.Modified(), always);
}

void tst_TJumper::bulkBranchDeletionKeepsMineListInOrder()
{
    TMine mine;
    QList<TJumper *> expected;
    for (int i = 1; i <= 40; ++i) {
        // Every fourth branch is empty and carries two stoppings.
        TBranch *b = i % 4 == 0 ? mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(),
                                                 kUnsetReal)
                                : mine.AddBranch(i, 1, 2, QString(), 1);
        for (int k = 0; k < 2; ++k) {
            auto *j = new TJumper(b);
            if (i % 4 != 0)
                expected << j;
        }
    }
    mine.SelectJumper(mine.Branches().Items(4)->Jumpers().Items(0));
    QCOMPARE(mine.DeleteEmptyBranches(), 10);
    QVERIFY(mine.CurJumper() == nullptr);
    QCOMPARE(mine.Jumpers().Count(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(mine.Jumpers().Items(i), expected[i]);
        QCOMPARE(mine.Jumpers().IndexOf(expected[i]), i);
    }
    int seen = 0;
    for (TJumper *j : mine.Jumpers()) {
        QCOMPARE(j, expected[seen]);
        ++seen;
    }
    QCOMPARE(seen, expected.size());
}

void tst_TJumper::peopleSortedAndClamped()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *p1 = new TPeopleInfo(b);
    auto *p2 = new TPeopleInfo(b);
    auto *p3 = new TPeopleInfo(b);
    p1->SetPosition(0.8);
    p2->SetPosition(1.4);
    p3->SetPosition(0.1);
    QCOMPARE(b->People().Items(0), p3);
    QCOMPARE(b->People().Items(1), p1);
    QCOMPARE(b->People().Items(2), p2);
    QCOMPARE(p2->Position(), 1.0);
    QCOMPARE(p1->IndexInBranch(), 1);
    mine.SelectPeople(p1);
    delete p1;
    QVERIFY(mine.CurPeople() == nullptr);
    QCOMPARE(b->People().Count(), 2);
    QCOMPARE(p2->IndexInBranch(), 1);
}

void tst_TJumper::peopleModifiedRules()
{
    TMine mine;
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), 1);
    auto *p = new TPeopleInfo(b);
    p->SetTabNumber(0);
    p->SetSite(0);
    QVERIFY(!mine.Modified());
    p->SetTabNumber(12);
    QVERIFY(mine.Modified());
    mine.SetModified(false);
    p->SetSite(3);
    QVERIFY(mine.Modified());
    mine.SetModified(false);
    p->SetFullName(QString());   // always
    QVERIFY(mine.Modified());
    mine.SetModified(false);
    p->SetJobTitle(QString());   // always
    QVERIFY(mine.Modified());
}

void tst_TJumper::tables()
{
    QCOMPARE(MineTables::MaterialName(0), QStringLiteral("Чураковая"));
    QCOMPARE(MineTables::MaterialName(12), QStringLiteral("Брезентовая"));
    QCOMPARE(MineTables::MaterialName(20), QStringLiteral("Шпренгельная"));
    QVERIFY(MineTables::MaterialName(21).isEmpty());
    int flexible = 0;
    for (int i = 0; i < MineTables::kMaterialCount; ++i)
        flexible += MineTables::IsFlexibleMaterial(i) ? 1 : 0;
    QCOMPARE(flexible, 4);
    QVERIFY(MineTables::IsFlexibleMaterial(11) && MineTables::IsFlexibleMaterial(14));
    QCOMPARE(MineTables::OpeningName(4), QStringLiteral("Произвольный"));
    QCOMPARE(MineTables::OpeningName(3), QStringLiteral("Два по 0.8 м2"));
    QCOMPARE(MineTables::DoorName(2), QStringLiteral("Двойные"));
    QCOMPARE(MineTables::ShapeName(1), QStringLiteral("Арочная"));
    const QList<int> oldToNew{0, 1, 9, 8, 4, 13, 0, 0};
    for (int code = 0; code < oldToNew.size(); ++code)
        QCOMPARE(MineTables::MapOldMaterial(code), oldToNew[code]);
    QCOMPARE(MineTables::MapOldMaterial(-1), 0);
    QCOMPARE(MineTables::InfoBoxCaption(), QStringLiteral("Информация об узле"));
}

QTEST_GUILESS_MAIN(tst_TJumper)
#include "tst_TJumper.moc"
