// Writing the current version: the bytes against the layout tables (through the test-side
// builder), the clean-up before writing, and round trips.
#include "MdfTestFile.h"
#include "MdfTestSupport.h"

#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "storage/TMdfWriter.h"

#include <QtTest>
#include <functional>

using namespace mdftest;

namespace {

// The same small mine twice: once through the model, once as the bytes the layout tables give.
// Sections have an exact square root, so the perimeter the writer computes is exact too.
struct SmallMine {
    static void Fill(TMineDocument &doc)
    {
        TMine &m = *doc.Mine();
        m.SetTitle(QStringLiteral("Шахта им. Ленина"));
        m.SetTemperature(18);
        m.SetPressure(0.98f);
        doc.SetAutoUpdate(false);
        doc.SetAutoUpdateIterations(40);
        doc.SetSaveIterations(20);
        doc.SetCellLength(5.0f);
        doc.SetReserved1(-4);
        doc.SetBoomSpeed(8.5f);
        doc.SetCalculated(true);
        doc.SetReserved2(true);
        doc.SetCalcMethod(2);
        doc.SetNotes({QStringLiteral("Заметка"), QString()});
        TNodeColumns nodes = doc.NodeColumns();
        std::swap(nodes[0], nodes[3]);
        nodes[1].Shown = false;
        doc.SetNodeColumns(nodes);
        TBranchColumns branches = doc.BranchColumns();
        std::swap(branches[0], branches[14]);
        branches[5].Shown = false;
        doc.SetBranchColumns(branches);
        TLayer *seam = new TLayer(&m);
        seam->SetName(QStringLiteral("Пласт l4"));
        seam->SetColor(0x00AABBCC);
        seam->SetVisible(false);
        TPLF *plan = new TPLF(&m);
        plan->SetName(QStringLiteral("ПЛА 3"));
        plan->SetColor(0x000000FF);

        TUzel *u1 = m.AddUzel(1, 0.0f, 0.0f, -120.5f);
        u1->SetSurface(true);
        u1->SetExtra1(3);
        u1->SetExtra2(-9);
        m.AddUzel(2, 250.0f, 10.25f, -130.0f);

        TBranch *b = m.AddBranch(1, 1, 2, QStringLiteral("Штрек"), 16.0f);
        b->SetShape(1);
        b->SetName(QStringLiteral("Конвейерный штрек"));
        b->SetNormalResult(3);
        b->SetRouteResult(4);
        b->SetLinkIndex(1);
        b->SetRoughness(2);
        b->SetGasKind(1, 1);
        b->SetZone(1, true);
        b->SetGasKind(2, 2);
        b->SetZone(2, true);
        b->SetZone(3, true);
        b->SetZoneBound(1, 1.5f);
        b->SetZoneBound(2, 20.0f);
        b->SetZoneBound(3, 2.5f);
        b->SetZoneBound(4, 30.0f);
        b->SetZoneBound(5, 3.5f);
        b->SetZoneBound(6, 40.0f);
        b->SetOption(1, false);
        b->SetOptionValue(1, 0.5f);
        b->SetOptionValue(2, 0.75f);
        b->SetOptionValue(4, 1.75f);
        b->SetLayerIndex(0);
        b->SetPLFIndex(0);
        b->SetResistance(0.0125);
        TPeopleInfo *p = new TPeopleInfo(b);
        p->SetPosition(0.3);
        p->SetTabNumber(77);
        p->SetFullName(QStringLiteral("Сидоров П."));
        p->SetSite(2);
        p->SetJobTitle(QStringLiteral("Проходчик"));
        TJumper *j = new TJumper(b);
        j->SetCaption(QStringLiteral("Перемычка 1"));
        j->SetMaterial(4);
        j->SetPosition(0.6);
        j->SetThickness(0.5);
        j->SetMeasurement(1, 50.0);
        j->SetMeasurement(2, 5.0);
        j->SetResistanceValue(2, 3.0);
        j->SetBreakPressure(0.2);
        j->SetOpening(4);
        j->SetOpeningArea(0.9);
        j->SetDoors(1);
        j->SetCutIn(true);
        j->SetNormalStep(6);
        j->SetRouteStep(2);
        j->SetNormalValues(1.0, 2.0, 3.0);
        j->SetRouteValues(4.0, 5.0, 6.0);

        m.AddBranch(2, 2, 1, QString(), 4.0f);
    }

    static File Bytes()
    {
        File f;
        f.Title = Cp1251(QStringLiteral("Шахта им. Ленина"));
        f.Temperature = 18;
        f.Pressure = 0.98f;
        f.AutoUpdate = 0;
        f.AutoUpdateIterations = 40;
        f.SaveIterations = 20;
        f.CellLength = 5.0f;
        f.Reserved1 = -4;
        f.BoomSpeed = 8.5f;
        f.Calculated = 1;
        f.Reserved2 = 1;
        f.CalcMethod = 2;
        f.Notes = {Cp1251(QStringLiteral("Заметка")), QByteArray()};
        f.NodeLayout = {{3, 1}, {1, 0}, {2, 1}, {0, 1}};
        f.BranchLayout = {{18, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 0}, {10, 1}, {11, 0},
                          {12, 0}, {13, 1}, {14, 1}, {15, 1}, {16, 1}, {17, 1}, {4, 1}};
        f.Layers = {Group{0, Cp1251(QStringLiteral("Пласт l4")), 0x00AABBCC}};
        f.PLFs = {Group{1, Cp1251(QStringLiteral("ПЛА 3")), 0x000000FF}};
        f.Nodes = {Node{1, 0.0f, 0.0f, -120.5f, 1, 3, -9}, Node{2, 250.0f, 10.25f, -130.0f, 0, -1, -1}};
        Branch b;
        b.NormalResult = 3;
        b.Number = 1;
        b.StartNumber = 1;
        b.EndNumber = 2;
        b.Section = 16.0f;
        b.Shape = 1;
        b.Perimeter = float(3.84 * 4.0);
        b.Roughness = 2;
        b.Gas1Kind = 1;
        b.Gas1 = 1;
        b.Zone3 = 1;
        b.Gas1From = 1.5f;
        b.Gas1To = 20.0f;
        b.Zone3From = 3.5f;
        b.Zone3To = 40.0f;
        b.OptA = 0;
        b.OptA1 = 0.5f;
        b.OptA2 = 0.75f;
        b.LayerIndex = 0;
        b.Resistance = 0.0125;
        b.RouteResult = 4;
        b.LinkIndex = 1;
        b.Gas2Kind = 2;
        b.Gas2 = 1;
        b.Gas2From = 2.5f;
        b.Gas2To = 30.0f;
        b.OptB2 = 1.75f;
        b.PLFIndex = 0;
        b.Comment = Cp1251(QStringLiteral("Штрек"));
        b.Name = Cp1251(QStringLiteral("Конвейерный штрек"));
        b.People = {Person{0.3, 77, Cp1251(QStringLiteral("Сидоров П.")), 2, Cp1251(QStringLiteral("Проходчик"))}};
        Branch b2;
        b2.Number = 2;
        b2.StartNumber = 2;
        b2.EndNumber = 1;
        b2.Section = 4.0f;
        b2.Perimeter = 8.0f;
        f.Branches = {b, b2};
        Stopping s;
        s.BranchIndex = 1;
        s.Caption = Cp1251(QStringLiteral("Перемычка 1"));
        s.Material = 4;
        s.Position = 0.6;
        s.Thickness = 0.5;
        s.Depression = 50.0;
        s.Flow = 5.0;
        s.Resistance = 2.0;
        s.Measured = 1;
        s.ReverseResistance = 3.0;
        s.BreakPressure = 0.2;
        s.Opening = 4;
        s.OpeningArea = 0.9;
        s.Doors = 1;
        s.CutIn = 1;
        s.NormalHit = 1;
        s.NormalStep = 6;
        s.NormalValues[0] = 1.0;
        s.NormalValues[1] = 2.0;
        s.NormalValues[2] = 3.0;
        s.RouteHit = 1;
        s.RouteStep = 2;
        s.RouteValues[0] = 4.0;
        s.RouteValues[1] = 5.0;
        s.RouteValues[2] = 6.0;
        f.Stoppings = {s};
        return f;
    }
};

// The small mine with the byte v in every Boolean position the model keeps.
File EveryFlagAs(quint8 v)
{
    File f = SmallMine::Bytes();
    f.AutoUpdate = f.Calculated = f.Reserved2 = v;
    f.Layers[0].Visible = f.PLFs[0].Visible = v;
    for (Node &n : f.Nodes)
        n.Surface = v;
    for (Branch &b : f.Branches)
        b.Gas1 = b.Gas2 = b.Zone3 = b.Zone4 = b.OptA = b.OptB = v;
    Stopping &s = f.Stoppings[0];
    s.Vent = s.Measured = s.CutIn = s.NormalHit = s.RouteHit = v;
    // A mark without a step keeps its byte too.
    Stopping t = s;
    t.BranchIndex = 2;
    t.NormalStep = t.RouteStep = 0;
    f.Stoppings.append(t);
    return f;
}

// Where two byte strings first differ, for a readable failure.
QByteArray FirstDifference(const QByteArray &a, const QByteArray &b)
{
    const int n = int(qMin(a.size(), b.size()));
    for (int i = 0; i < n; ++i)
        if (a[i] != b[i])
            return "first difference at offset " + QByteArray::number(i);
    return "sizes " + QByteArray::number(a.size()) + " and " + QByteArray::number(b.size());
}

} // namespace

class TestMdfWriter : public QObject {
    Q_OBJECT

private slots:
    void bytesFollowTheLayout();
    void canonicalFileComesBackIdentical_data();
    void canonicalFileComesBackIdentical();
    void booleanBytesKept_data();
    void booleanBytesKept();
    void sameTruthKeepsTheByte_data();
    void sameTruthKeepsTheByte();
    void olderVersionSavedAsCurrent_data();
    void olderVersionSavedAsCurrent();
    void emptyElementsNeverReachTheFile();
    void snapshotTakesTheDocumentAsItStands();
    void perimeterComputedAtSaving();
    void shortPeopleCountIsTheLowBits();
    void textOutsideTheCodePage();
};

void TestMdfWriter::bytesFollowTheLayout()
{
    TMineDocument doc;
    SmallMine::Fill(doc);
    const QByteArray written = TMdfWriter::Write(doc);
    const QByteArray expected = SmallMine::Bytes().Build();
    QVERIFY2(written == expected, FirstDifference(written, expected).constData());
}

void TestMdfWriter::canonicalFileComesBackIdentical_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("small mine") << SmallMine::Bytes().Build();
    File empty;
    empty.Title = QByteArray();
    QTest::newRow("nothing but the header") << empty.Build();

    // Stoppings of several branches, one with equal positions, and many people.
    File f = SmallMine::Bytes();
    Stopping s = f.Stoppings[0];
    s.BranchIndex = 2;
    s.Caption = "A";
    s.Position = 0.5;
    Stopping t = s;
    t.Caption = "B";
    Stopping u = s;
    u.Caption = "C";
    u.Position = 1.0;
    f.Stoppings = {f.Stoppings[0], s, t, u};
    for (int i = 0; i < 50; ++i)
        f.Branches[1].People.append(Person{i / 50.0, i, QByteArray::number(i), i % 3, "x"});
    f.Branches[1].Gas1 = 1;
    f.Branches[1].Gas1To = 1e30f;
    f.Branches[1].Resistance = -777777.0;
    f.Branches[1].Section = -777777.0f;
    f.Branches[1].Perimeter = 0.0f;
    f.Nodes[1].Number = -777777;
    QTest::newRow("several stoppings and people") << f.Build();
}

// A current-version file as the program writes it reads and writes back byte for byte.
void TestMdfWriter::canonicalFileComesBackIdentical()
{
    QFETCH(QByteArray, bytes);
    const auto doc = Read(bytes);
    const QByteArray written = TMdfWriter::Write(*doc);
    QVERIFY2(written == bytes, FirstDifference(written, bytes).constData());
    const auto again = Read(written);
    QCOMPARE(TMdfWriter::Write(*again), bytes);
}

void TestMdfWriter::booleanBytesKept_data()
{
    QTest::addColumn<int>("flag");
    QTest::newRow("0x02") << 0x02;
    QTest::newRow("0x7F") << 0x7F;
    QTest::newRow("0x80") << 0x80;
    QTest::newRow("0xFF") << 0xFF;
}

// Any non-zero Boolean byte reads as true and a plain open-and-save gives the user's file back.
void TestMdfWriter::booleanBytesKept()
{
    QFETCH(int, flag);
    const QByteArray bytes = EveryFlagAs(quint8(flag)).Build();
    const auto doc = Read(bytes);
    const QByteArray written = TMdfWriter::Write(*doc);
    QVERIFY2(written == bytes, FirstDifference(written, bytes).constData());

    QVERIFY(doc->AutoUpdate() && doc->Calculated() && doc->Reserved2());
    const TMine &m = *doc->Mine();
    QVERIFY(m.Layers().Items(0)->Visible() && m.PLFs().Items(0)->Visible());
    QVERIFY(m.Uzels().Items(1)->Surface() && m.Uzels().Items(2)->Surface());
    const TBranch *b = m.Branches().Items(2);
    QVERIFY(b->Gas1() && b->Gas2() && b->Zone3() && b->Zone4() && b->OptA() && b->OptB());
    QCOMPARE(m.GasBranches1().Count(), 2);
    QCOMPARE(m.GasBranches2().Count(), 2);
    const TJumper *j = m.Jumpers().Items(1);
    QVERIFY(j->Vent() && j->Measured() && j->CutIn() && j->NormalHit() && j->RouteHit());
    QCOMPARE(j->NormalStep(), 0);
    QCOMPARE(j->NormalHitByte(), quint8(flag));
}

namespace {
// One Boolean of the file: its byte, and its bool setter with whether that marks Modified.
struct FlagAccess {
    std::function<quint8(TMineDocument &)> byte;
    std::function<void(TMineDocument &, bool)> set;
    bool marksModified;
};
using FlagTable = QMap<QString, FlagAccess>;

FlagTable Flags()
{
    auto branch = [](TMineDocument &d) { return d.Mine()->Branches().Items(1); };
    auto stopping = [](TMineDocument &d) { return d.Mine()->Jumpers().Items(0); };
    FlagTable t;
    t["AutoUpdate"] = {[](TMineDocument &d) { return d.AutoUpdateByte(); },
                       [](TMineDocument &d, bool v) { d.SetAutoUpdate(v); }, false};
    t["Calculated"] = {[](TMineDocument &d) { return d.CalculatedByte(); },
                       [](TMineDocument &d, bool v) { d.SetCalculated(v); }, false};
    t["Reserved2"] = {[](TMineDocument &d) { return d.Reserved2Byte(); },
                      [](TMineDocument &d, bool v) { d.SetReserved2(v); }, false};
    t["seam Visible"] = {[](TMineDocument &d) { return d.Mine()->Layers().Items(0)->VisibleByte(); },
                         [](TMineDocument &d, bool v) { d.Mine()->Layers().Items(0)->SetVisible(v); }, true};
    t["plan Visible"] = {[](TMineDocument &d) { return d.Mine()->PLFs().Items(0)->VisibleByte(); },
                         [](TMineDocument &d, bool v) { d.Mine()->PLFs().Items(0)->SetVisible(v); }, true};
    t["Surface"] = {[](TMineDocument &d) { return d.Mine()->Uzels().Items(1)->SurfaceByte(); },
                    [](TMineDocument &d, bool v) { d.Mine()->Uzels().Items(1)->SetSurface(v); }, true};
    for (int zone : {1, 2, 3, 4})
        t[QStringLiteral("zone %1").arg(zone)] = {[=](TMineDocument &d) { return branch(d)->ZoneByte(zone); },
                                                  [=](TMineDocument &d, bool v) { branch(d)->SetZone(zone, v); }, true};
    for (int which : {1, 2})
        t[QStringLiteral("option %1").arg(which)] = {[=](TMineDocument &d) { return branch(d)->OptionByte(which); },
                                                     [=](TMineDocument &d, bool v) { branch(d)->SetOption(which, v); }, true};
    t["Vent"] = {[=](TMineDocument &d) { return stopping(d)->VentByte(); },
                 [=](TMineDocument &d, bool v) { stopping(d)->SetVent(v); }, true};
    t["Measured"] = {[=](TMineDocument &d) { return stopping(d)->MeasuredByte(); },
                     [=](TMineDocument &d, bool v) { stopping(d)->SetMeasured(v); }, false};
    t["CutIn"] = {[=](TMineDocument &d) { return stopping(d)->CutInByte(); },
                  [=](TMineDocument &d, bool v) { stopping(d)->SetCutIn(v); }, true};
    t["NormalHit"] = {[=](TMineDocument &d) { return stopping(d)->NormalHitByte(); },
                      [=](TMineDocument &d, bool v) { stopping(d)->SetNormalHit(v); }, true};
    t["RouteHit"] = {[=](TMineDocument &d) { return stopping(d)->RouteHitByte(); },
                     [=](TMineDocument &d, bool v) { stopping(d)->SetRouteHit(v); }, true};
    // A new step keeps a true mark's byte.
    t["NormalStep"] = {[=](TMineDocument &d) { return stopping(d)->NormalHitByte(); },
                       [=](TMineDocument &d, bool v) { stopping(d)->SetNormalStep(v ? 9 : 0); }, false};
    return t;
}
} // namespace

void TestMdfWriter::sameTruthKeepsTheByte_data()
{
    QTest::addColumn<QString>("flag");
    const FlagTable flags = Flags();
    for (auto it = flags.cbegin(); it != flags.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key();
}

// Setting a flag to the truth value it already has is no change: the byte stays and the
// document stays unmodified. A real change stores 0 or 1.
void TestMdfWriter::sameTruthKeepsTheByte()
{
    QFETCH(QString, flag);
    const FlagAccess f = Flags().value(flag);
    const auto doc = Read(EveryFlagAs(0x02).Build());
    TMine &m = *doc->Mine();
    QCOMPARE(f.byte(*doc), quint8(0x02));
    QVERIFY(!m.Modified());

    f.set(*doc, true);
    QCOMPARE(f.byte(*doc), quint8(0x02));
    QVERIFY(!m.Modified());

    f.set(*doc, false);
    QCOMPARE(f.byte(*doc), quint8(0));
    QCOMPARE(m.Modified(), f.marksModified);
    m.SetModified(false);
    f.set(*doc, false);
    QVERIFY(!m.Modified());
    f.set(*doc, true);
    QCOMPARE(f.byte(*doc), quint8(1));
    QCOMPARE(m.Modified(), f.marksModified);
}

void TestMdfWriter::olderVersionSavedAsCurrent_data()
{
    QTest::addColumn<int>("minor");
    for (int minor : {5, 7, 9, 13, 16, 18})
        QTest::addRow("1.%02d", minor) << minor;
}

// An untouched older file saves as the current version with every current field, the fields
// it lacked at their defaults.
void TestMdfWriter::olderVersionSavedAsCurrent()
{
    QFETCH(int, minor);
    File old;
    old.Minor = quint8(minor);
    old.CalcMethod = 1; // lost before 1.13
    old.Nodes = {Node{5, 1.0f, 2.0f, 3.0f, 0, 8, 9}};
    Branch b;
    b.Number = 4;
    b.StartNumber = 5;
    b.EndNumber = 6;
    b.Section = 1.0f;
    b.Perimeter = 123.0f; // recomputed
    b.VolumeFactor = 2.0f;
    b.Comment = "c";
    b.Name = "n";
    b.People16 = 1;
    old.Branches = {b};
    const QByteArray bytes = old.Build();
    const auto doc = Read(bytes);
    const QByteArray written = TMdfWriter::Write(*doc);

    File current;
    current.CalcMethod = quint8(minor >= 13 ? 1 : 0);
    current.Nodes = {Node{5, 1.0f, 2.0f, 3.0f, 0, minor >= 6 ? 8 : -1, minor >= 14 ? 9 : -1}};
    Branch c;
    c.Number = 4;
    c.StartNumber = 5;
    c.EndNumber = 6;
    c.Section = 1.0f;
    c.Perimeter = 4.0f;
    c.Comment = "c";
    c.Name = minor >= 12 ? "n" : "";
    if (minor >= 11 && minor < 19)
        c.People = {Person{0.5, 0, QByteArray(), 0, QByteArray()}};
    current.Branches = {c};
    const QByteArray expected = current.Build();
    QVERIFY2(written == expected, FirstDifference(written, expected).constData());
    QCOMPARE(written.mid(9, 2), QByteArray("\x01\x13", 2));
}

void TestMdfWriter::emptyElementsNeverReachTheFile()
{
    TMineDocument doc;
    TMine &m = *doc.Mine();
    m.AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
    m.AddUzel(1, 0, 0, 0);
    m.AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
    m.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QStringLiteral("пустая"), kUnsetReal);
    m.AddBranch(7, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
    const auto read = Read(TMdfWriter::Write(doc));
    QCOMPARE(read->Mine()->Uzels().Count(), 1);
    QCOMPARE(read->Mine()->Uzels().Items(1)->Number(), 1);
    QCOMPARE(read->Mine()->Branches().Count(), 1);
    QCOMPARE(read->Mine()->Branches().Items(1)->Number(), 7);
    // The document itself lost them too.
    QCOMPARE(m.Uzels().Count(), 1);
    QCOMPARE(m.Branches().Count(), 1);
}

// A recovery copy: the empty rows stay in the copy and in the document, which is not changed;
// without empty rows the copy is the saved file byte for byte.
void TestMdfWriter::snapshotTakesTheDocumentAsItStands()
{
    TMineDocument doc;
    TMine &m = *doc.Mine();
    m.AddUzel(1, 0, 0, 0);
    m.AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
    m.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
    new TJumper(m.AddBranch(7, 1, kUnsetInt, QString(), kUnsetReal));
    m.SetModified(true);
    const auto read = Read(TMdfWriter::Snapshot(doc));
    QCOMPARE(read->Mine()->Uzels().Count(), 2);
    QCOMPARE(read->Mine()->Branches().Count(), 2);
    QCOMPARE(read->Mine()->Branches().Items(2)->Jumpers().Count(), 1);
    QCOMPARE(m.Uzels().Count(), 2);
    QCOMPARE(m.Branches().Count(), 2);
    QVERIFY(m.Modified());
    // Laid out a slice at a time: the same bytes, whatever the slice.
    const QByteArray whole = TMdfWriter::Snapshot(doc);
    for (qint64 slice : {1, 2, 1000}) {
        TMdfSnapshot sliced(doc);
        int steps = 1;
        while (!sliced.Step(slice))
            ++steps;
        QCOMPARE(sliced.TakeBytes(), whole);
        QVERIFY(slice > 2 || steps > 2);
    }
    const QByteArray saved = TMdfWriter::Write(doc);
    QCOMPARE(TMdfWriter::Snapshot(doc), saved);
}

void TestMdfWriter::perimeterComputedAtSaving()
{
    File f;
    Branch b;
    b.Section = 9.0f;
    b.Shape = 3;
    b.Perimeter = 1.0f; // stale
    f.Branches = {b};
    const auto doc = Read(f.Build());
    TBranch &read = *doc->Mine()->Branches().Items(1);
    read.SetShape(0);
    const QByteArray written = TMdfWriter::Write(*doc);
    const int record = int(written.size()) - 121 - 4 - 4 - 4; // the record, comment, name, stoppings
    QCOMPARE(qFromLittleEndian<float>(written.constData() + record + 20), 12.0f);
    QCOMPARE(qFromLittleEndian<float>(written.constData() + record + 20), read.Perimeter());
}

void TestMdfWriter::shortPeopleCountIsTheLowBits()
{
    TMineDocument doc;
    TBranch *b = doc.Mine()->AddBranch(1, 1, 2, QString(), 1.0f);
    for (int i = 0; i < 65536 + 3; ++i)
        new TPeopleInfo(b);
    const QByteArray written = TMdfWriter::Write(doc);
    const char *record = written.constData() + 15 + 4 + 43 + 1 + 8 + 30 + 4 + 4;
    QCOMPARE(qFromLittleEndian<qint16>(record + 84), qint16(3));
    QCOMPARE(qFromLittleEndian<qint32>(record + 117), 65539);
    QCOMPARE(quint8(record[62]), quint8(0));
    QCOMPARE(Read(written)->Mine()->Branches().Items(1)->People().Count(), 65539);
}

void TestMdfWriter::textOutsideTheCodePage()
{
    TMineDocument doc;
    doc.Mine()->SetTitle(QStringLiteral("Mine ✓ 礦"));
    const auto read = Read(TMdfWriter::Write(doc));
    QVERIFY(read->Mine()->Title().startsWith(QStringLiteral("Mine ")));
    QCOMPARE(read->Mine()->Title().size(), 8);
}

QTEST_GUILESS_MAIN(TestMdfWriter)
#include "tst_TMdfWriter.moc"
