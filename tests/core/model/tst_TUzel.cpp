// A node: modified rules of its setters, emptiness, and what a coordinate edit sets off.
#include "RecordingScheme.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include <QtTest>

class tst_TUzel : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void setNumberMarksOnlyOnChange();
    void setCoordinate_data();
    void setCoordinate();
    void coordinateEditReprojectsAndRefreshes();
    void surfaceAndFileFields();
    void isEmpty_data();
    void isEmpty();
};

void tst_TUzel::defaults()
{
    TMine mine;
    TUzel n(&mine);
    QCOMPARE(n.Number(), kUnsetInt);
    QCOMPARE(n.X(), kUnsetReal);
    QCOMPARE(n.Extra1(), -1);
    QCOMPARE(n.Extra2(), -1);
    QCOMPARE(n.ListPos(), -1);
    QVERIFY(n.IsEmpty());
}

void tst_TUzel::setNumberMarksOnlyOnChange()
{
    TMine mine;
    TUzel *n = mine.AddUzel(3, 0, 0, 0);
    int calls = 0;
    mine.OnModified = [&](TMine *, bool) { ++calls; };
    n->SetNumber(3);
    QVERIFY(!mine.Modified());
    n->SetNumber(4);
    QVERIFY(mine.Modified());
    QCOMPARE(calls, 1);
    QVERIFY(mine.HasUzel(4));
    QVERIFY(!mine.HasUzel(3));
}

void tst_TUzel::setCoordinate_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("modified");

    QTest::newRow("X changes") << 1 << 5.0f << true;
    QTest::newRow("Y changes") << 2 << -2.0f << true;
    QTest::newRow("Z changes") << 3 << 0.5f << true;
    QTest::newRow("X same") << 1 << 1.0f << false;
    QTest::newRow("Z same") << 3 << 3.0f << false;
    QTest::newRow("axis out of range") << 4 << 9.0f << false;
}

void tst_TUzel::setCoordinate()
{
    QFETCH(int, axis);
    QFETCH(float, value);
    QFETCH(bool, modified);
    TMine mine;
    TUzel *n = mine.AddUzel(1, 1, 2, 3);
    n->SetCoordinate(axis, value);
    QCOMPARE(mine.Modified(), modified);
    if (axis <= 3)
        QCOMPARE(n->Coordinate(axis), value);
}

void tst_TUzel::coordinateEditReprojectsAndRefreshes()
{
    RecordingScheme scheme;
    TMine mine;
    TUzel *a = mine.AddUzel(1, 0, 0, 0);
    TUzel *b = mine.AddUzel(2, 10, 0, 0);
    mine.SetScheme(&scheme);
    mine.ProjectNodes();
    scheme.Clear();
    b->SetCoordinate(1, 40);
    QCOMPARE(b->ProjX(), 40);
    QCOMPARE(mine.ExtentX(), 20);
    QCOMPARE(scheme.calls, QStringList{QStringLiteral("Refresh")});
    // A pending re-centre re-projects everything and recentres the screen origin first.
    mine.SetCenterRequest(true);
    scheme.centerX = 10;
    a->SetCoordinate(2, 5);
    QCOMPARE(scheme.calls.mid(1), (QStringList{QStringLiteral("CenterOrigin"),
                                               QStringLiteral("Refresh")}));
    QCOMPARE(a->ProjX(), -10);
    QCOMPARE(b->ProjX(), 30);
}

void tst_TUzel::surfaceAndFileFields()
{
    TMine mine;
    TUzel *n = mine.AddUzel(1, 0, 0, 0);
    n->SetExtra1(7);
    n->SetExtra2(8);
    n->SetDrawn(true);
    QVERIFY(!mine.Modified());
    n->SetSurface(false);
    QVERIFY(!mine.Modified());
    n->SetSurface(true);
    QVERIFY(mine.Modified());
    QVERIFY(n->Surface());
    QCOMPARE(n->Extra1(), 7);
    QCOMPARE(n->Extra2(), 8);
}

void tst_TUzel::isEmpty_data()
{
    QTest::addColumn<qint32>("number");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("z");
    QTest::addColumn<bool>("empty");
    const float U = kUnsetReal;
    QTest::newRow("all unset") << kUnsetInt << U << U << U << true;
    QTest::newRow("number set") << 1 << U << U << U << false;
    QTest::newRow("X set") << kUnsetInt << 0.0f << U << U << false;
    QTest::newRow("Z set") << kUnsetInt << U << U << 7.0f << false;
}

void tst_TUzel::isEmpty()
{
    QFETCH(qint32, number);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, z);
    QFETCH(bool, empty);
    TMine mine;
    QCOMPARE(mine.AddUzel(number, x, y, z)->IsEmpty(), empty);
}

QTEST_GUILESS_MAIN(tst_TUzel)
#include "tst_TUzel.moc"
