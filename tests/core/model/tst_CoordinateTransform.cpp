// Moving nodes: scale and shift per axis, the turn about a centre, unset coordinates, the
// modified flag, and the extents, projection and scheme after moving the whole mine at once.
#include "RecordingScheme.h"
#include "model/CoordinateTransform.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

#include <QtTest>
#include <array>
#include <limits>
#include <numbers>

using Triple = std::array<float, 3>;
Q_DECLARE_METATYPE(Triple)

namespace {

constexpr float U = kUnsetReal;

TNodeTransform rotation(double degrees, double x0 = 0, double y0 = 0)
{
    return TNodeTransform::Rotation(x0, y0, degrees * std::numbers::pi / 180);
}

} // namespace

class tst_CoordinateTransform : public QObject {
    Q_OBJECT
private slots:
    void oneNode_data()
    {
        QTest::addColumn<bool>("rotate");
        QTest::addColumn<QPointF>("centre");
        QTest::addColumn<Triple>("before");
        QTest::addColumn<Triple>("after");
        // Shift-scale rows use scale 2, 2, 1 and offsets 10, 0, 0; rotation rows 90 degrees
        // about the centre.
        const QPointF o(0, 0);
        QTest::newRow("scaled and shifted") << false << o << Triple{3, -4, 7} << Triple{16, -8, 7};
        QTest::newRow("unset Z stays unset") << false << o << Triple{1, 2, U} << Triple{12, 4, U};
        QTest::newRow("unset X stays unset") << false << o << Triple{U, 2, 5} << Triple{U, 4, 5};
        QTest::newRow("(1, 0) turns to (0, -1)") << true << o << Triple{1, 0, 5} << Triple{0, -1, 5};
        QTest::newRow("(0, 1) turns to (1, 0)") << true << o << Triple{0, 1, U} << Triple{1, 0, U};
        QTest::newRow("unset Y: not turned") << true << o << Triple{1, U, 0} << Triple{1, U, 0};
        QTest::newRow("(11, 20) about (10, 20) to (10, 19)")
            << true << QPointF(10, 20) << Triple{11, 20, 5} << Triple{10, 19, 5};
    }

    void oneNode()
    {
        QFETCH(bool, rotate);
        QFETCH(QPointF, centre);
        QFETCH(Triple, before);
        QFETCH(Triple, after);
        TMine mine;
        TUzel *uzel = mine.AddUzel(1, before[0], before[1], before[2]);
        const auto t = rotate ? rotation(90, centre.x(), centre.y())
                              : TNodeTransform::ShiftScale({2, 2, 1}, {10, 0, 0});
        t.Apply(*uzel);
        // Exact: a quarter turn leaves no 1e-17 behind.
        QCOMPARE((Triple{uzel->X(), uzel->Y(), uzel->Z()}), after);
        QCOMPARE(mine.Modified(), before != after);
    }

    void check_data()
    {
        QTest::addColumn<Triple>("before");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("turn");   // degrees about (10, 0) instead of the scale when not 0
        QTest::addColumn<int>("fault");
        using F = TNodeTransform::TFault;
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("largest single stays") << Triple{3.4e38f, 0, 0} << 1.0 << 0.0 << int(F::None);
        QTest::newRow("doubled past it") << Triple{3e38f, 0, 0} << 2.0 << 0.0 << int(F::Overflow);
        QTest::newRow("unset Z not scaled") << Triple{1, 1, U} << 1e34 << 0.0 << int(F::None);
        // What a file already held is not the move's fault.
        QTest::newRow("infinite X from a file") << Triple{inf, 1, 1} << 2.0 << 0.0 << int(F::None);
        QTest::newRow("Z scaled onto the unset marker") << Triple{1, 1, -7777.77f} << 100.0 << 0.0 << int(F::Unset);
        QTest::newRow("X turned onto it") << Triple{10, -777787, 0} << 1.0 << 90.0 << int(F::Unset);
        QTest::newRow("turned next to it") << Triple{10, -777786, 0} << 1.0 << 90.0 << int(F::None);
    }

    void check()
    {
        QFETCH(Triple, before);
        QFETCH(double, scale);
        QFETCH(double, turn);
        QFETCH(int, fault);
        TMine mine;
        mine.AddUzel(1, 0, 0, 0);
        mine.AddUzel(2, before[0], before[1], before[2]);
        const auto t = turn != 0 ? rotation(turn, 10, 0) : TNodeTransform::ShiftScale({scale, scale, scale}, {0, 0, 0});
        QCOMPARE(int(t.CheckAll(mine)), fault);
        QCOMPARE(int(t.Check(*mine.Uzels().Items(2))), fault);
    }

    void wholeMineMovesInOneUpdate()
    {
        TMine mine;
        RecordingScheme scheme;
        mine.SetScheme(&scheme);
        for (int i = 1; i <= 4; ++i)
            mine.AddUzel(i, float(i), 0, 0);
        mine.SetTopologyValid(true);
        int counts = 0;
        mine.OnCountsChanged = [&counts](TMine *) { ++counts; };
        scheme.Clear();
        TNodeTransform::ShiftScale({100, 1, 1}, {0, 0, 0}).ApplyToAll(mine);
        QVERIFY(mine.Modified());
        QVERIFY(!mine.Updating());
        QCOMPARE(scheme.Count(QStringLiteral("Refresh")), 1);
        QCOMPARE(counts, 1);
        // The extents and the projection follow the moved nodes.
        QCOMPARE(mine.ExtentX(), 150);
        QCOMPARE(mine.Uzels().Items(4)->ProjX(), 400);
        mine.SetScheme(nullptr);
    }
};

QTEST_GUILESS_MAIN(tst_CoordinateTransform)
#include "tst_CoordinateTransform.moc"
