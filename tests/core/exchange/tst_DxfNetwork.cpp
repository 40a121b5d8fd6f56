// A DXF drawing of a small known network, written with dxflib as a CAD program writes it, read
// into a mine: exact nodes, branches, seams and counts, and what each option changes.
//
// The drawing, in millimetres, levels at -200 and -230 m:
//   a closed LWPOLYLINE loop (0,0) (100,0) (100,50) (0,50) on "Штрек";
//   an open LWPOLYLINE (0,-100) (50,-100) (100,-100) and a LINE ending on its middle vertex: a T;
//   a 3D POLYLINE on "Уклон" from the loop's corner (100,50,-200) down to (160,50,-230);
//   on layer "0", a LINE starting 3 cm from that polyline's end (joins) and one 8 cm from the
//   first one's end (does not, at the default 5 cm);
//   an ARC (centre (0,25), radius 25, 90 to 270 degrees) closing the loop's left side;
//   a block "Сбойка" (a 10 m LINE on layer "0") inserted twice on "Сбойки", turned and scaled;
//   a TEXT by the loop's lower side, a CIRCLE and a POINT.
#include "DxfTestFile.h"

#include "AppError.h"
#include "exchange/DxfNetwork.h"
#include "exchange/DxfReader.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TUzel.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

constexpr double kMm = 1000;   // file units per metre

void LwPolyline(DL_Dxf &dxf, DL_WriterA &dw, const char *layer, std::initializer_list<std::pair<double, double>> points,
                bool closed, double elevation)
{
    dxf.writePolyline(dw, DL_PolylineData(int(points.size()), 0, 0, closed ? 1 : 0), DxfTestFile::On(layer));
    dw.dxfReal(38, elevation * kMm);
    for (const auto &p : points)
        dxf.writeVertex(dw, DL_VertexData(p.first * kMm, p.second * kMm, 0, 0));
    dxf.writePolylineEnd(dw);
}

// dxflib writes 2D polylines only in AutoCAD 2000 form; a 3D one is written group by group.
void Polyline3d(DL_WriterA &dw, const char *layer, std::initializer_list<std::array<double, 3>> points)
{
    auto head = [&](const char *type) {
        dw.entity(type);
        dw.entityAttributes(DxfTestFile::On(layer));
    };
    head("POLYLINE");
    dw.dxfInt(66, 1);
    dw.coord(10, 0, 0, 0);
    dw.dxfInt(70, 8);
    for (const auto &p : points) {
        head("VERTEX");
        dw.coord(10, p[0] * kMm, p[1] * kMm, p[2] * kMm);
        dw.dxfInt(70, 32);
    }
    head("SEQEND");
}

void Line(DL_Dxf &dxf, DL_WriterA &dw, const char *layer, double x1, double y1, double z1, double x2, double y2, double z2)
{
    dxf.writeLine(dw, DL_LineData(x1 * kMm, y1 * kMm, z1 * kMm, x2 * kMm, y2 * kMm, z2 * kMm), DxfTestFile::On(layer));
}

QByteArray KnownDrawing(const QTemporaryDir &dir)
{
    DxfTestFile f;
    f.Units(4);
    f.Layer("Штрек", 1);
    f.Layer("Уклон", 5);
    f.Layer("Сбойки", 2);
    f.Block("Сбойка", [](DL_Dxf &dxf, DL_WriterA &dw) { Line(dxf, dw, "0", 0, 0, 0, 10, 0, 0); });
    f.Entity([](DL_Dxf &dxf, DL_WriterA &dw) {
        LwPolyline(dxf, dw, "Штрек", {{0, 0}, {100, 0}, {100, 50}, {0, 50}}, true, -200);
        LwPolyline(dxf, dw, "Штрек", {{0, -100}, {50, -100}, {100, -100}}, false, -200);
        Line(dxf, dw, "Штрек", 50, -150, -200, 50, -100, -200);
        Polyline3d(dw, "Уклон", {{100, 50, -200}, {130, 50, -215}, {160, 50, -230}});
        Line(dxf, dw, "0", 160, 50.03, -230, 200, 50, -230);
        Line(dxf, dw, "0", 200, 50.08, -230, 240, 50, -230);
        dxf.writeArc(dw, DL_ArcData(0, 25 * kMm, -200 * kMm, 25 * kMm, 90, 270), DxfTestFile::On("Штрек"));
        dxf.writeInsert(dw, DL_InsertData(DxfTestFile::Cp1251("Сбойка"), 200 * kMm, 0, -200 * kMm, 1, 1, 1, 90, 1, 1, 0, 0),
                        DxfTestFile::On("Сбойки"));
        dxf.writeInsert(dw, DL_InsertData(DxfTestFile::Cp1251("Сбойка"), 220 * kMm, 0, -200 * kMm, 2, 2, 2, 0, 1, 1, 0, 0),
                        DxfTestFile::On("Сбойки"));
        dxf.writeText(dw, DL_TextData(48 * kMm, 2 * kMm, -200 * kMm, 0, 0, 0, 2500, 1, 0, 0, 0,
                                      DxfTestFile::Cp1251("Откаточный штрек"), "Standard", 0),
                      DxfTestFile::On("Штрек"));
        dxf.writeCircle(dw, DL_CircleData(0, 0, 0, 5000), DxfTestFile::On("Штрек"));
        dxf.writePoint(dw, DL_PointData(1, 2, 3), DxfTestFile::On("Штрек"));
    });
    return f.Bytes(dir);
}

QString Coord(float v) { return QString::number(double(v), 'f', 2); }

// Every node and branch outside the arc (nodes 14 to 28, branches 12 to 27) as a line each.
QStringList Network(const TMine &mine, qint32 first)
{
    QStringList lines;
    for (const TUzel *u : mine.Uzels())
        if (u->Number() - first + 1 < 14 || u->Number() - first + 1 > 28)
            lines << QStringLiteral("u %1 %2 %3 %4").arg(u->Number()).arg(Coord(u->X()), Coord(u->Y()), Coord(u->Z()));
    for (const TBranch *b : mine.Branches()) {
        const int i = b->Number() - first + 1;
        if (i >= 12 && i <= 27)
            continue;
        lines << QStringLiteral("b %1 %2 %3 %4").arg(b->Number()).arg(b->StartNumber()).arg(b->EndNumber()).arg(b->LayerIndex());
    }
    return lines;
}

} // namespace

class tst_DxfNetwork : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { m_bytes = KnownDrawing(m_dir); }
    void knownNetwork();
    void options_data();
    void options();
    void refused_data();
    void refused();

private:
    QTemporaryDir m_dir;
    QByteArray m_bytes;
};

void tst_DxfNetwork::knownNetwork()
{
    const TDxfDrawing drawing = DxfReader::Read(m_bytes, QStringLiteral("plan.dxf"), {});
    TMine mine;
    const TDxfImportReport report = DxfNetwork::Build(mine, drawing, {});
    QCOMPARE(report.Summary(), QStringLiteral("узлов: 32, ветвей: 29, пластов: 3, пропущено объектов: 2 (CIRCLE 1, POINT 1)"));
    QCOMPARE(report.Notes, QStringList{QStringLiteral("единицы чертежа — миллиметры, переведены в метры")});
    QCOMPARE(Network(mine, 1), (QStringList{
        "u 1 0.00 0.00 -200.00", "u 2 100.00 0.00 -200.00", "u 3 100.00 50.00 -200.00", "u 4 0.00 50.00 -200.00",
        "u 5 0.00 -100.00 -200.00", "u 6 50.00 -100.00 -200.00", "u 7 100.00 -100.00 -200.00", "u 8 50.00 -150.00 -200.00",
        "u 9 130.00 50.00 -215.00", "u 10 160.00 50.00 -230.00", "u 11 200.00 50.00 -230.00",
        "u 12 200.00 50.08 -230.00", "u 13 240.00 50.00 -230.00",
        "u 29 200.00 0.00 -200.00", "u 30 200.00 10.00 -200.00", "u 31 220.00 0.00 -200.00", "u 32 240.00 0.00 -200.00",
        "b 1 1 2 0", "b 2 2 3 0", "b 3 3 4 0", "b 4 4 1 0", "b 5 5 6 0", "b 6 6 7 0", "b 7 8 6 0",
        "b 8 3 9 1", "b 9 9 10 1", "b 10 10 11 -1", "b 11 12 13 -1", "b 28 29 30 2", "b 29 31 32 2"}));

    // The arc: 16 chords of at most 5 m from the loop's corner (0,50) round to (0,0), every
    // point on the circle.
    qint32 previous = 4;
    for (int i = 12; i <= 27; ++i) {
        const TBranch *b = mine.Branches().Items(i);
        QCOMPARE(b->StartNumber(), previous);
        QCOMPARE(b->EndNumber(), i == 27 ? 1 : i + 2);
        const TUzel *a = mine.Uzels().Find(b->StartNumber()), *e = mine.Uzels().Find(b->EndNumber());
        QVERIFY(std::hypot(e->X() - a->X(), e->Y() - a->Y()) <= 5.0);
        QVERIFY(std::fabs(std::hypot(e->X(), e->Y() - 25.0) - 25.0) < 1e-3);
        QCOMPARE(e->Z(), -200.0f);
        previous = b->EndNumber();
    }

    QCOMPARE(mine.Layers().Count(), 3);
    const QStringList names{"Штрек", "Уклон", "Сбойки"};
    const quint32 colors[] = {0x0000FF, 0xFF0000, 0x00FFFF};   // red, blue, yellow as 0x00BBGGRR
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(mine.Layers().Items(i)->Name(), names[i]);
        QCOMPARE(mine.Layers().Items(i)->Color(), colors[i]);
    }
    QVERIFY(mine.Modified());
}

void tst_DxfNetwork::options_data()
{
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<bool>("split");
    QTest::addColumn<QStringList>("layers");
    QTest::addColumn<double>("names");
    QTest::addColumn<int>("first");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("fact");   // one line Network() must hold
    QTest::newRow("no split: inner vertices join nothing")
        << 0.05 << false << QStringList() << 0.0 << 1 << "узлов: 35, ветвей: 29, пластов: 3" << "b 7 8 9 0";
    QTest::newRow("10 cm joins the second line") << 0.1 << true << QStringList() << 0.0 << 1
                                                 << "узлов: 31, ветвей: 29, пластов: 3" << "b 11 11 12 -1";
    QTest::newRow("one layer") << 0.05 << true << QStringList{"Уклон"} << 0.0 << 1 << "узлов: 3, ветвей: 2, пластов: 1"
                               << "b 2 2 3 0";
    QTest::newRow("numbers from 1000") << 0.05 << true << QStringList() << 0.0 << 1000
                                       << "узлов: 32, ветвей: 29, пластов: 3" << "b 1006 1007 1005 0";
    QTest::newRow("names from texts") << 0.05 << true << QStringList() << 5.0 << 1 << "узлов: 32, ветвей: 29, пластов: 3"
                                      << "b 1 1 2 0";
}

void tst_DxfNetwork::options()
{
    QFETCH(double, tolerance);
    QFETCH(bool, split);
    QFETCH(QStringList, layers);
    QFETCH(double, names);
    QFETCH(int, first);
    QFETCH(QString, summary);
    QFETCH(QString, fact);
    TDxfImportOptions o;
    o.Tolerance = tolerance;
    o.SplitAtJunctions = split;
    if (!layers.isEmpty())
        o.Layers = layers;
    o.NamesDistance = names;
    o.First = first;
    TMine mine;
    const TDxfImportReport report = DxfNetwork::Build(mine, DxfReader::Read(m_bytes, QStringLiteral("plan.dxf"), {}), o);
    QVERIFY2(report.Summary().startsWith(summary), qPrintable(report.Summary()));
    QVERIFY2(Network(mine, first).contains(fact), qPrintable(Network(mine, first).join(u'\n')));
    // Only the branch by the text is named, and only when asked.
    int named = 0;
    for (const TBranch *b : mine.Branches())
        named += b->Name().isEmpty() ? 0 : 1;
    QCOMPARE(named, names > 0 ? 1 : 0);
    if (names > 0)
        QCOMPARE(mine.Branches().Items(1)->Name(), QStringLiteral("Откаточный штрек"));
}

// Refusals of the drawing's content: nothing is created in the mine.
void tst_DxfNetwork::refused_data()
{
    QTest::addColumn<QStringList>("layers");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<QString>("message");
    QTest::newRow("a layer the drawing lacks") << QStringList{"Вентиляция"} << 0.05
                                               << "в файле нет слоя \"Вентиляция\" с линиями или текстами";
    QTest::newRow("every segment within the tolerance") << QStringList{"Сбойки"} << 50.0
                                                        << "все отрезки чертежа короче допуска 50 м";
}

void tst_DxfNetwork::refused()
{
    QFETCH(QStringList, layers);
    QFETCH(double, tolerance);
    QFETCH(QString, message);
    TDxfImportOptions o;
    o.Layers = layers;
    o.Tolerance = tolerance;
    TMine mine;
    try {
        DxfNetwork::Build(mine, DxfReader::Read(m_bytes, QStringLiteral("plan.dxf"), {}), o);
        QFAIL("not refused");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(mine.Uzels().Count() + mine.Branches().Count() + mine.Layers().Count(), 0);
}

QTEST_GUILESS_MAIN(tst_DxfNetwork)
#include "tst_DxfNetwork.moc"
