// Reading mine files of every version, built byte by byte from the layout tables.
#include "MdfTestFile.h"
#include "MdfTestSupport.h"

#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QtTest>

using namespace mdftest;

namespace {

// A file holding a bit of everything with values that differ from every default, so that each
// field read shows whether the version carried it.
File RichFile(quint8 major, quint8 minor)
{
    File f;
    f.Major = major;
    f.Minor = minor;
    f.Title = Cp1251(QStringLiteral("Шахта «Северная»"));
    f.Temperature = 27;
    f.Pressure = 1.25f;
    f.AutoUpdate = 0;
    f.AutoUpdateIterations = 70;
    f.SaveIterations = 35;
    f.CellLength = 2.5f;
    f.Reserved1 = 123;
    f.BoomSpeed = 12.5f;
    f.Calculated = 1;
    f.Reserved2 = 1;
    f.CalcMethod = 3;
    f.Notes = {Cp1251(QStringLiteral("Первая строка")), QByteArray(), "third"};
    f.Layers = {Group{0, Cp1251(QStringLiteral("Пласт k5")), 0x00123456}};
    f.PLFs = {Group{1, Cp1251(QStringLiteral("Позиция 1")), 0x0000FF00}};
    Node n1;
    n1.Number = 7;
    n1.X = 1.5f;
    n1.Y = -2.25f;
    n1.Z = 3.75f;
    n1.Surface = 1;
    n1.Extra1 = 11;
    n1.Extra2 = 12;
    Node n2;
    n2.Number = 8;
    n2.X = 11.5f;
    f.Nodes = {n1, n2};

    Branch b;
    b.NormalResult = 5;
    b.Number = 10;
    b.StartNumber = 7;
    b.EndNumber = 8;
    b.Section = 4.0f;
    b.Perimeter = 99.0f;
    b.Shape = 2;
    b.VolumeFactor = 3.5f;
    b.ExtraVolume = 9.0f;
    b.Roughness = 3;
    b.Gas1Kind = 2;
    b.Gas1 = 1;
    b.Zone3 = 1;
    b.Zone4 = 1;
    b.Gas1From = 1;
    b.Gas1To = 2;
    b.Zone3From = 3;
    b.Zone3To = 4;
    b.Zone4From = 5;
    b.Zone4To = 6;
    b.Reserved = 9;
    b.OptA = 0;
    b.OptA1 = 1.25f;
    b.OptA2 = 2.5f;
    b.LayerIndex = 0;
    b.Resistance = 0.125;
    b.People16 = 3;
    b.RouteResult = 6;
    b.LinkIndex = 1;
    b.Gas2Kind = 3;
    b.Gas2 = 1;
    b.Gas2From = 7;
    b.Gas2To = 8;
    b.OptB = 0;
    b.OptB1 = 3.25f;
    b.OptB2 = 4.5f;
    b.PLFIndex = 0;
    b.Comment = Cp1251(QStringLiteral("Откаточный штрек"));
    b.Name = Cp1251(QStringLiteral("Штрек №2"));
    b.People = {Person{0.2, 1001, Cp1251(QStringLiteral("Иванов И.И.")), 4, Cp1251(QStringLiteral("Горный мастер"))},
                Person{0.7, 1002, "Petrov", 0, QByteArray()}};
    Branch b2;
    b2.Number = 11;
    b2.StartNumber = 8;
    b2.EndNumber = 7;
    f.Branches = {b, b2};

    Stopping s;
    s.BranchIndex = 1;
    s.Caption = Cp1251(QStringLiteral("П-1"));
    s.Material = 12;
    s.Vent = 1;
    s.Position = 0.4;
    s.Thickness = 0.3;
    s.Depression = 50;
    s.Flow = 5;
    s.Resistance = 7.5;
    s.Measured = 1;
    s.ReverseResistance = 8.5;
    s.BreakPressure = 0.75;
    s.Opening = 4;
    s.OpeningArea = 1.5;
    s.Doors = 2;
    s.CutIn = 1;
    s.NormalHit = 1;
    s.NormalStep = 9;
    s.NormalValues[0] = 1.1;
    s.NormalValues[1] = 2.2;
    s.NormalValues[2] = 3.3;
    s.RouteHit = 1;
    s.RouteStep = 8;
    s.RouteValues[0] = 4.4;
    s.RouteValues[1] = 5.5;
    s.RouteValues[2] = 6.6;
    f.Stoppings = {s};

    OldStopping o;
    o.BranchIndex = 2;
    o.BreakPressure = 0.5f;
    o.Position = 0.25f;
    o.NormalHit = 1;
    o.ThicknessCm = 25.0f;
    o.Material = 2;
    o.NormalStep = 4;
    f.OldStoppings = {o};
    return f;
}

// With TARVEL_FUZZ_SEEDS naming a folder, the files the tests build are also left there as
// seeds for the reader's fuzz target (fuzz/mdf_reader/seeds holds a copy).
void SaveSeed(const QString &name, const QByteArray &bytes)
{
    const QString dir = qEnvironmentVariable("TARVEL_FUZZ_SEEDS");
    if (dir.isEmpty())
        return;
    QFile f(dir + '/' + name);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace

class TestMdfReader : public QObject {
    Q_OBJECT

private slots:
    void versionFamilies_data();
    void versionFamilies();
    void documentRecord();
    void text1251();
    void everyByteOf1251();
    void oldPeopleSpreadEvenly_data();
    void oldPeopleSpreadEvenly();
    void peopleOf119IgnoreTheShortCount();
    void linkIndexRangeCheck_data();
    void linkIndexRangeCheck();
    void groupIndexWithoutGroup_data();
    void groupIndexWithoutGroup();
    void zoneBoundsRaisedToZeroOnly();
    void breakPressureThresholds_data();
    void breakPressureThresholds();
    void oldMaterialCodes_data();
    void oldMaterialCodes();
    void oldThicknessInCentimetres();
    void stoppingsGroupedAndSorted();
    void outOfOrderEntriesTakeTheirPlaces();
    void manyPeopleInReverseOrder();
    void columnLayout_data();
    void columnLayout();
    void bulkStateAfterReading();
    void refused_data();
    void refused();
    void negativeCountsAreEmpty();
    void oldPeopleLimit();
    void mutatedFilesNeverCrash();
};

void TestMdfReader::versionFamilies_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("v");
    const struct {
        int major, minor, v;
    } rows[] = {{1, 0, 100},   {1, 4, 104},   {1, 5, 105},   {1, 51, 105},  {1, 6, 106},   {1, 7, 107},
                {1, 8, 108},   {1, 9, 109},   {1, 10, 110},  {1, 11, 111},  {1, 12, 112},  {1, 13, 113},
                {1, 14, 114},  {1, 15, 115},  {1, 16, 116},  {1, 17, 117},  {1, 18, 118},  {1, 19, 119}};
    for (const auto &r : rows)
        QTest::addRow("%d.%02d", r.major, r.minor) << r.major << r.minor << r.v;
}

// Every field of every record either carries the stored value or, where the version lacks it,
// its default.
void TestMdfReader::versionFamilies()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, v);
    const File f = RichFile(quint8(major), quint8(minor));
    SaveSeed(QStringLiteral("rich-%1.%2.mdf").arg(major).arg(minor, 2, 10, QLatin1Char('0')), f.Build());
    const auto doc = Read(f.Build());
    const TMine &mine = *doc->Mine();

    QCOMPARE(doc->FileVersion(), v);
    QCOMPARE(mine.Title(), QStringLiteral("Шахта «Северная»"));
    QCOMPARE(doc->CalcMethod(), quint8(v >= 113 ? 3 : 0));
    QCOMPARE(doc->Notes().size(), 3);
    QCOMPARE(mine.Layers().Count(), v >= 109 ? 1 : 0);
    QCOMPARE(mine.PLFs().Count(), v >= 117 ? 1 : 0);

    QCOMPARE(mine.Uzels().Count(), 2);
    const TUzel &u = *mine.Uzels().Items(1);
    QCOMPARE(u.Number(), 7);
    QCOMPARE(u.X(), 1.5f);
    QCOMPARE(u.Y(), -2.25f);
    QCOMPARE(u.Z(), 3.75f);
    QCOMPARE(u.Surface(), true);
    QCOMPARE(u.Extra1(), v >= 106 ? 11 : -1);
    QCOMPARE(u.Extra2(), v >= 114 ? 12 : -1);
    QCOMPARE(mine.Uzels().Items(2)->Number(), 8);

    QCOMPARE(mine.Branches().Count(), 2);
    const TBranch &b = *mine.Branches().Items(1);
    QCOMPARE(b.NormalResult(), 5);
    QCOMPARE(b.Number(), 10);
    QCOMPARE(b.StartNumber(), 7);
    QCOMPARE(b.EndNumber(), 8);
    QCOMPARE(b.Section(), 4.0f);
    QCOMPARE(b.Shape(), quint8(2));
    QCOMPARE(b.VolumeFactor(), 1.0f);
    QCOMPARE(b.ExtraVolume(), 0.0f);
    QCOMPARE(b.Roughness(), quint8(3));
    QCOMPARE(b.Gas1Kind(), quint8(2));
    QCOMPARE(b.Gas1(), true);
    QCOMPARE(b.Zone3(), true);
    QCOMPARE(b.Zone4(), true);
    QCOMPARE(b.Gas1From(), 1.0f);
    QCOMPARE(b.Gas1To(), 2.0f);
    QCOMPARE(b.Zone3From(), 3.0f);
    QCOMPARE(b.Zone3To(), 4.0f);
    QCOMPARE(b.Zone4From(), 5.0f);
    QCOMPARE(b.Zone4To(), 6.0f);
    QCOMPARE(b.OptA(), v < 107);
    QCOMPARE(b.OptA1(), v >= 107 ? 1.25f : 0.0f);
    QCOMPARE(b.OptA2(), v >= 107 ? 2.5f : 0.0f);
    QCOMPARE(b.LayerIndex(), v >= 109 ? 0 : -1);
    QCOMPARE(b.Resistance(), v >= 110 ? 0.125 : 0.0);
    QCOMPARE(b.RouteResult(), v >= 114 ? 6 : -1);
    QCOMPARE(b.LinkIndex(), v >= 115 ? 1 : -1);
    QCOMPARE(b.Gas2Kind(), quint8(v >= 116 ? 3 : 0));
    QCOMPARE(b.Gas2(), v >= 116);
    QCOMPARE(b.Gas2From(), v >= 116 ? 7.0f : 0.0f);
    QCOMPARE(b.Gas2To(), v >= 116 ? 8.0f : 0.0f);
    QCOMPARE(b.OptB(), v < 116);
    QCOMPARE(b.OptB1(), v >= 116 ? 3.25f : 0.0f);
    QCOMPARE(b.OptB2(), v >= 116 ? 4.5f : 0.0f);
    QCOMPARE(b.PLFIndex(), v >= 117 ? 0 : -1);
    QCOMPARE(b.Comment(), QStringLiteral("Откаточный штрек"));
    QCOMPARE(b.Name(), v >= 112 ? QStringLiteral("Штрек №2") : QString());

    // People: none before the short count existed, the short count spread evenly up to 1.18,
    // full entries from 1.19.
    if (v < 111) {
        QCOMPARE(b.People().Count(), 0);
    } else if (v < 119) {
        QCOMPARE(b.People().Count(), 3);
        QCOMPARE(b.People().Items(0)->Position(), 0.25);
        QCOMPARE(b.People().Items(0)->FullName(), QString());
    } else {
        QCOMPARE(b.People().Count(), 2);
        const TPeopleInfo &p = *b.People().Items(0);
        QCOMPARE(p.Position(), 0.2);
        QCOMPARE(p.TabNumber(), 1001);
        QCOMPARE(p.FullName(), QStringLiteral("Иванов И.И."));
        QCOMPARE(p.Site(), 4);
        QCOMPARE(p.JobTitle(), QStringLiteral("Горный мастер"));
        QCOMPARE(b.People().Items(1)->FullName(), QStringLiteral("Petrov"));
    }

    const TBranch &b2 = *mine.Branches().Items(2);
    if (v >= 108) {
        QCOMPARE(b.Jumpers().Count(), 1);
        QCOMPARE(b2.Jumpers().Count(), 0);
        const TJumper &j = *b.Jumpers().Items(0);
        QCOMPARE(j.Caption(), QStringLiteral("П-1"));
        QCOMPARE(j.Material(), quint8(12));
        QCOMPARE(j.Vent(), true);
        QCOMPARE(j.Position(), 0.4);
        QCOMPARE(j.Thickness(), 0.3);
        QCOMPARE(j.Depression(), 50.0);
        QCOMPARE(j.Flow(), 5.0);
        QCOMPARE(j.Resistance(), 7.5); // as stored, not derived from H and Q
        QCOMPARE(j.Measured(), true);
        QCOMPARE(j.ReverseResistance(), 8.5);
        QCOMPARE(j.BreakPressure(), 0.75);
        QCOMPARE(j.Opening(), quint8(4));
        QCOMPARE(j.OpeningArea(), 1.5);
        QCOMPARE(j.Doors(), quint8(2));
        QCOMPARE(j.CutIn(), true);
        QCOMPARE(j.NormalHit(), true);
        QCOMPARE(j.NormalStep(), 9);
        QCOMPARE(j.NormalValues()[2], v >= 111 ? 3.3 : 0.0);
        QCOMPARE(j.RouteHit(), v >= 118);
        QCOMPARE(j.RouteStep(), v >= 118 ? 8 : 0);
        QCOMPARE(j.RouteValues()[0], v >= 118 ? 4.4 : 0.0);
        QCOMPARE(mine.Jumpers().Count(), 1);
    } else if (v >= 105) {
        QCOMPARE(b.Jumpers().Count(), 0);
        QCOMPARE(b2.Jumpers().Count(), 1);
        const TJumper &j = *b2.Jumpers().Items(0);
        QCOMPARE(j.Material(), quint8(9));
        QCOMPARE(j.Position(), 0.25);
        QCOMPARE(j.Thickness(), 0.25);
        QCOMPARE(j.BreakPressure(), 0.5);
        QCOMPARE(j.NormalHit(), true);
        // The files marked 1.05 have 18-byte records without the step.
        QCOMPARE(j.NormalStep(), major == 1 && minor == 5 ? 0 : 4);
    } else {
        QCOMPARE(mine.Jumpers().Count(), 0);
    }
}

void TestMdfReader::documentRecord()
{
    const auto doc = Read(RichFile(1, 19).Build());
    const TMine &mine = *doc->Mine();
    QCOMPARE(mine.Temperature(), 27);
    QCOMPARE(mine.Pressure(), 1.25f);
    QCOMPARE(doc->AutoUpdate(), false);
    QCOMPARE(doc->AutoUpdateIterations(), 70);
    QCOMPARE(doc->SaveIterations(), 35);
    QCOMPARE(doc->CellLength(), 2.5f);
    QCOMPARE(mine.CellLength(), 2.5f);
    QCOMPARE(doc->Reserved1(), 123);
    QCOMPARE(doc->BoomSpeed(), 12.5f);
    QCOMPARE(doc->Calculated(), true);
    QCOMPARE(doc->Reserved2(), true);
    QCOMPARE(doc->Notes(), (QStringList{QStringLiteral("Первая строка"), QString(), QStringLiteral("third")}));
    const TLayer &seam = *mine.Layers().Items(0);
    QCOMPARE(seam.Visible(), false);
    QCOMPARE(seam.Name(), QStringLiteral("Пласт k5"));
    QCOMPARE(seam.Color(), quint32(0x00123456));
    const TLayer &plan = *mine.PLFs().Items(0);
    QCOMPARE(plan.Visible(), true);
    QCOMPARE(plan.Name(), QStringLiteral("Позиция 1"));
    QCOMPARE(plan.Color(), quint32(0x0000FF00));
}

void TestMdfReader::text1251()
{
    File f;
    f.Title = "\xD8\xE0\xF5\xF2\xE0 \xB9\x31"; // "Шахта №1" in Windows-1251
    Branch b;
    b.Comment = "\xB8\xEB\xEA\xE0"; // "ёлка"
    f.Nodes = {Node{}};
    f.Branches = {b};
    const auto doc = Read(f.Build());
    QCOMPARE(doc->Mine()->Title(), QStringLiteral("Шахта №1"));
    QCOMPARE(doc->Mine()->Branches().Items(1)->Comment(), QStringLiteral("ёлка"));
}

// Texts come out as the code page's decoder gives them, byte for byte, the unassigned byte
// included.
void TestMdfReader::everyByteOf1251()
{
    QByteArray bytes;
    for (int c = 0; c < 256; ++c)
        bytes.append(char(c));
    File f;
    f.Title = bytes;
    const auto doc = Read(f.Build());
    QCOMPARE(doc->Mine()->Title(), QStringDecoder("windows-1251").decode(bytes));
}

void TestMdfReader::oldPeopleSpreadEvenly_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<double>>("positions");
    QTest::newRow("none") << 0 << QList<double>{};
    QTest::newRow("one") << 1 << QList<double>{0.5};
    QTest::newRow("three") << 3 << QList<double>{0.25, 0.5, 0.75};
    QTest::newRow("four") << 4 << QList<double>{0.2, 0.4, 0.6, 0.8};
    QTest::newRow("negative short") << -2 << QList<double>{};
}

void TestMdfReader::oldPeopleSpreadEvenly()
{
    QFETCH(int, count);
    QFETCH(QList<double>, positions);
    File f;
    f.Minor = 13;
    Branch b;
    b.People16 = qint16(count);
    f.Branches = {b};
    const auto doc = Read(f.Build());
    const TBranch &read = *doc->Mine()->Branches().Items(1);
    QCOMPARE(read.People().Count(), positions.size());
    for (int i = 0; i < positions.size(); ++i) {
        QCOMPARE(read.People().Items(i)->Position(), positions[i]);
        QCOMPARE(read.People().Items(i)->TabNumber(), 0);
        QCOMPARE(read.People().Items(i)->Site(), 0);
        QVERIFY(read.People().Items(i)->JobTitle().isEmpty());
    }
}

void TestMdfReader::peopleOf119IgnoreTheShortCount()
{
    File f;
    Branch b;
    b.People = {Person{0.9, 1, "a", 0, ""}, Person{0.1, 2, "b", 0, ""}};
    b.People16 = 7;
    f.Branches = {b};
    const auto doc = Read(f.Build());
    const TBranch &read = *doc->Mine()->Branches().Items(1);
    QCOMPARE(read.People().Count(), 2);
    // The branch keeps its people in position order.
    QCOMPARE(read.People().Items(0)->TabNumber(), 2);
    QCOMPARE(read.People().Items(1)->TabNumber(), 1);
}

void TestMdfReader::linkIndexRangeCheck_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("7 of 5") << 7 << -1;
    QTest::newRow("5 of 5") << 5 << -1;
    QTest::newRow("last") << 4 << 4;
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("none") << -1 << -1;
    QTest::newRow("negative") << -9 << -1;
}

void TestMdfReader::linkIndexRangeCheck()
{
    QFETCH(int, stored);
    QFETCH(int, expected);
    File f;
    for (int i = 0; i < 5; ++i) {
        Branch b;
        b.Number = i + 1;
        b.LinkIndex = i == 2 ? stored : -1;
        f.Branches.append(b);
    }
    const auto doc = Read(f.Build());
    QCOMPARE(doc->Mine()->Branches().Items(3)->LinkIndex(), expected);
}

void TestMdfReader::groupIndexWithoutGroup_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("existing") << 1 << 1;
    QTest::newRow("none") << -1 << -1;
    QTest::newRow("past the list") << 2 << -1;
    QTest::newRow("negative") << -4 << -1;
}

// A seam or plan-position index that names no element would make every later look-up of the
// branch's group go out of the list; it reads as none.
void TestMdfReader::groupIndexWithoutGroup()
{
    QFETCH(int, stored);
    QFETCH(int, expected);
    File f;
    f.Layers = {Group{1, "a", 1}, Group{1, "b", 2}};
    f.PLFs = {Group{1, "p", 3}, Group{1, "q", 4}};
    Branch b;
    b.LayerIndex = stored;
    b.PLFIndex = stored;
    f.Branches = {b};
    const auto doc = Read(f.Build());
    QCOMPARE(doc->Mine()->Branches().Items(1)->LayerIndex(), expected);
    QCOMPARE(doc->Mine()->Branches().Items(1)->PLFIndex(), expected);
}

void TestMdfReader::zoneBoundsRaisedToZeroOnly()
{
    File f;
    Node a, c;
    a.Number = 1;
    c.Number = 2;
    c.X = 10.0f; // the branch is 10 m long once resolved
    f.Nodes = {a, c};
    Branch b;
    b.Gas1From = -5.0f;
    b.Gas1To = 50.0f;
    b.Gas2From = -0.5f;
    b.Gas2To = 120.0f;
    b.Zone4To = -1.0f;
    f.Branches = {b};
    const auto doc = Read(f.Build());
    const TBranch &read = *doc->Mine()->Branches().Items(1);
    QCOMPARE(read.Gas1From(), 0.0f);
    QCOMPARE(read.Gas1To(), 50.0f); // the ends are not resolved while reading
    QCOMPARE(read.Gas2From(), 0.0f);
    QCOMPARE(read.Gas2To(), 120.0f);
    QCOMPARE(read.Zone4To(), 0.0f);
}

void TestMdfReader::breakPressureThresholds_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("expected");
    QTest::newRow("1.19 at the threshold") << 19 << 0.00001 << 0.0;
    QTest::newRow("1.19 just above") << 19 << 0.0000100001 << 0.0000100001;
    QTest::newRow("1.19 negative") << 19 << -2.0 << 0.0;
    QTest::newRow("1.19 ordinary") << 19 << 0.3 << 0.3;
    QTest::newRow("1.08 tiny") << 8 << 0.000001 << 0.0;
    QTest::newRow("1.07 below 0.0001") << 7 << 0.00009 << 0.0;
    QTest::newRow("1.07 negative") << 7 << -1.0 << 0.0;
    QTest::newRow("1.07 kept") << 7 << 0.5 << 0.5;
    QTest::newRow("1.06 just above") << 6 << 0.00011 << double(0.00011f);
}

void TestMdfReader::breakPressureThresholds()
{
    QFETCH(int, minor);
    QFETCH(double, stored);
    QFETCH(double, expected);
    File f;
    f.Minor = quint8(minor);
    f.Branches = {Branch{}};
    if (minor >= 8) {
        Stopping s;
        s.BreakPressure = stored;
        f.Stoppings = {s};
    } else {
        OldStopping o;
        o.BreakPressure = float(stored);
        f.OldStoppings = {o};
    }
    const auto doc = Read(f.Build());
    QCOMPARE(doc->Mine()->Branches().Items(1)->Jumpers().Items(0)->BreakPressure(), expected);
}

void TestMdfReader::oldMaterialCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("material");
    const int expected[] = {0, 1, 9, 8, 4, 13, 0, 0};
    for (int code = 0; code < 8; ++code)
        QTest::addRow("code %d", code) << code << expected[code];
    QTest::newRow("code 255") << 255 << 0;
}

void TestMdfReader::oldMaterialCodes()
{
    QFETCH(int, code);
    QFETCH(int, material);
    File f;
    f.Minor = 6;
    f.Branches = {Branch{}};
    OldStopping o;
    o.Material = quint8(code);
    f.OldStoppings = {o};
    const auto doc = Read(f.Build());
    QCOMPARE(int(doc->Mine()->Branches().Items(1)->Jumpers().Items(0)->Material()), material);
}

void TestMdfReader::oldThicknessInCentimetres()
{
    File f;
    f.Minor = 51; // the files marked 1.51 are 1.05 files with 22-byte records
    f.Branches = {Branch{}};
    OldStopping o;
    o.ThicknessCm = 150.0f;
    o.NormalStep = 17;
    f.OldStoppings = {o};
    const auto doc = Read(f.Build());
    QCOMPARE(doc->FileVersion(), 105);
    const TJumper &j = *doc->Mine()->Branches().Items(1)->Jumpers().Items(0);
    QCOMPARE(j.Thickness(), 1.5);
    QCOMPARE(j.NormalStep(), 17);
}

void TestMdfReader::stoppingsGroupedAndSorted()
{
    File f;
    Branch b1, b2;
    b1.Number = 1;
    b2.Number = 2;
    f.Branches = {b1, b2};
    const double positions[] = {0.8, 0.2, 1.7, -0.3};
    const int branches[] = {2, 2, 1, 1};
    for (int i = 0; i < 4; ++i) {
        Stopping s;
        s.BranchIndex = branches[i];
        s.Position = positions[i];
        s.Caption = QByteArray::number(i);
        f.Stoppings.append(s);
    }
    const auto doc = Read(f.Build());
    const TMine &mine = *doc->Mine();
    QCOMPARE(mine.Jumpers().Count(), 4);
    const TJumperList &first = mine.Branches().Items(1)->Jumpers();
    const TJumperList &second = mine.Branches().Items(2)->Jumpers();
    QCOMPARE(first.Count(), 2);
    QCOMPARE(first.Items(0)->Position(), 0.0); // clamped and in order
    QCOMPARE(first.Items(1)->Position(), 1.0);
    QCOMPARE(second.Items(0)->Caption(), QStringLiteral("1"));
    QCOMPARE(second.Items(1)->Caption(), QStringLiteral("0"));
}

// Entries a branch holds out of position order (interleaved branches, falling positions) end
// up in position order in their branches, equal positions in the order of the file.
void TestMdfReader::outOfOrderEntriesTakeTheirPlaces()
{
    File f;
    Branch b1, b2;
    b1.Number = 1;
    b2.Number = 2;
    b2.People = {Person{0.9, 1, "", 0, ""}, Person{0.5, 2, "", 0, ""}, Person{0.1, 3, "", 0, ""},
                 Person{0.5, 4, "", 0, ""}};
    f.Branches = {b1, b2};
    const struct {
        int branch;
        double position;
        const char *caption;
    } entries[] = {{2, 0.7, "a"}, {1, 0.6, "b"}, {2, 0.3, "c"}, {1, 0.6, "d"}, {2, 0.7, "e"}, {1, 0.1, "f"}};
    for (const auto &e : entries) {
        Stopping s;
        s.BranchIndex = e.branch;
        s.Position = e.position;
        s.Caption = e.caption;
        f.Stoppings.append(s);
    }
    SaveSeed(QStringLiteral("out-of-order.mdf"), f.Build());
    const auto doc = Read(f.Build());
    const TMine &mine = *doc->Mine();
    auto captions = [](const TJumperList &list) {
        QString text;
        for (const TJumper *j : list)
            text += j->Caption();
        return text;
    };
    QCOMPARE(captions(mine.Branches().Items(1)->Jumpers()), QStringLiteral("fbd"));
    QCOMPARE(captions(mine.Branches().Items(2)->Jumpers()), QStringLiteral("cae"));
    QCOMPARE(mine.Jumpers().Count(), 6);
    QList<int> tabs;
    for (const TPeopleInfo *p : mine.Branches().Items(2)->People())
        tabs << p->TabNumber();
    QCOMPARE(tabs, (QList<int>{3, 2, 4, 1}));
}

// A branch with a great many people stored from the end backwards reads like any other: every
// person is placed once, not moved through the list.
void TestMdfReader::manyPeopleInReverseOrder()
{
    File f;
    Branch b;
    const int n = 100000;
    b.People.reserve(n);
    for (int i = 0; i < n; ++i)
        b.People.append(Person{1.0 - double(i) / n, i, QByteArray(), 0, QByteArray()});
    f.Branches = {b};
    const auto doc = Read(f.Build());
    const TPeopleList &people = doc->Mine()->Branches().Items(1)->People();
    QCOMPARE(people.Count(), n);
    QCOMPARE(people.Items(0)->TabNumber(), n - 1);
    QCOMPARE(people.Items(n - 1)->TabNumber(), 0);
}

void TestMdfReader::columnLayout_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<QList<int>>("nodeEntries");   // kind, shown pairs
    QTest::addColumn<QList<int>>("branchEntries"); // kind, shown pairs
    QTest::addColumn<QList<int>>("nodeKinds");
    QTest::addColumn<QList<int>>("nodeShown");
    QTest::addColumn<QList<int>>("branchKinds");
    QTest::addColumn<QList<int>>("branchShown");

    const QList<int> defaultBranchKinds{4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const QList<int> defaultBranchShown{1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 1, 1, 1};
    QTest::newRow("1.19 permuted, 11 and 12 shown in the file")
        << 19 << QList<int>{3, 1, 0, 1, 1, 0, 2, 1}
        << QList<int>{18, 1, 4, 1, 11, 1, 12, 1, 5, 0, 6, 1, 7, 1, 8, 1, 9, 1, 10, 1, 13, 1, 14, 1, 15, 1, 16, 1, 17, 0}
        << QList<int>{3, 0, 1, 2} << QList<int>{1, 1, 0, 1}
        << QList<int>{18, 4, 11, 12, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 17}
        << QList<int>{1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0};
    // 1.09 stores 11 entries: descriptors 12..15 keep kinds 15..18, shown.
    QTest::newRow("1.09 eleven entries")
        << 9 << QList<int>{} << QList<int>{14, 0, 4, 1, 5, 1, 6, 1, 7, 1, 8, 1, 9, 1, 10, 1, 11, 0, 12, 0, 13, 1}
        << QList<int>{0, 1, 2, 3} << QList<int>{1, 1, 1, 1}
        << QList<int>{14, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18}
        << QList<int>{0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 1, 1};
    // 1.10 stores 12, 1.11 13 and 1.12 to 1.18 14 entries: the first and the last stored swap
    // places, the descriptors after them keep their default kinds.
    const struct {
        int minor, k;
    } counts[] = {{10, 12}, {11, 13}, {18, 14}};
    for (const auto &c : counts) {
        QList<int> entries{3 + c.k, 0};
        QList<int> kinds{3 + c.k}, shownFlags{0};
        for (int i = 1; i < c.k - 1; ++i) {
            entries << 4 + i << 1;
            kinds << 4 + i;
            shownFlags << (4 + i == 11 || 4 + i == 12 ? 0 : 1);
        }
        entries << 4 << 1;
        kinds << 4;
        shownFlags << 1;
        for (int kind = 4 + c.k; kind <= 18; ++kind) {
            kinds << kind;
            shownFlags << 1;
        }
        QTest::addRow("1.%d, %d entries", c.minor, c.k)
            << c.minor << QList<int>{} << entries << QList<int>{0, 1, 2, 3} << QList<int>{1, 1, 1, 1} << kinds
            << shownFlags;
    }
    // A kind the table does not have, or a kind twice, leaves that table at its defaults.
    QTest::newRow("unknown kinds")
        << 19 << QList<int>{0, 1, 1, 1, 2, 1, 9, 1} << QList<int>{200, 1}
        << QList<int>{0, 1, 2, 3} << QList<int>{1, 1, 1, 1} << defaultBranchKinds << defaultBranchShown;
    QTest::newRow("a kind twice")
        << 19 << QList<int>{1, 1, 1, 0} << QList<int>{5, 1, 5, 1}
        << QList<int>{0, 1, 2, 3} << QList<int>{1, 1, 1, 1} << defaultBranchKinds << defaultBranchShown;
}

void TestMdfReader::columnLayout()
{
    QFETCH(int, minor);
    QFETCH(QList<int>, nodeEntries);
    QFETCH(QList<int>, branchEntries);
    QFETCH(QList<int>, nodeKinds);
    QFETCH(QList<int>, nodeShown);
    QFETCH(QList<int>, branchKinds);
    QFETCH(QList<int>, branchShown);
    File f;
    f.Minor = quint8(minor);
    for (int i = 0; i + 1 < nodeEntries.size(); i += 2)
        f.NodeLayout.append(LayoutEntry{quint8(nodeEntries[i]), quint8(nodeEntries[i + 1])});
    for (int i = 0; i + 1 < branchEntries.size(); i += 2)
        f.BranchLayout.append(LayoutEntry{quint8(branchEntries[i]), quint8(branchEntries[i + 1])});
    const auto doc = Read(f.Build());
    QList<int> kinds, shown;
    for (const TColumnDesc &c : doc->NodeColumns()) {
        kinds << c.Kind;
        shown << int(c.Shown);
    }
    QCOMPARE(kinds, nodeKinds);
    QCOMPARE(shown, nodeShown);
    kinds.clear();
    shown.clear();
    for (const TColumnDesc &c : doc->BranchColumns()) {
        kinds << c.Kind;
        shown << int(c.Shown);
    }
    QCOMPARE(kinds, branchKinds);
    QCOMPARE(shown, branchShown);
    // The texts follow the kinds read.
    for (const TColumnDesc &c : doc->BranchColumns()) {
        if (c.Kind == 18)
            QCOMPARE(c.Caption, QStringLiteral("Позиция"));
        if (c.Kind == 4)
            QCOMPARE(c.Caption, QStringLiteral("Ветвь"));
    }
}

void TestMdfReader::bulkStateAfterReading()
{
    const auto doc = Read(RichFile(1, 19).Build());
    const TMine &mine = *doc->Mine();
    QVERIFY(!mine.Updating());
    QVERIFY(!mine.Modified());
    QCOMPARE(mine.GasBranches1().Count(), 1);
    QCOMPARE(mine.GasBranches2().Count(), 1);
    QVERIFY(!mine.TopologyValid());
    QCOMPARE(mine.Branches().Items(1)->StartUzel(), nullptr);
}

void TestMdfReader::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QByteArray good = RichFile(1, 19).Build();
    auto withSize = [](QByteArray b) {
        qToLittleEndian(qint32(b.size()), b.data() + 11);
        return b;
    };

    QTest::newRow("empty") << QByteArray() << kUnknownFormat;
    QTest::newRow("shorter than the header") << good.left(10) << kUnknownFormat;
    QByteArray sig = good;
    sig[0] = 't';
    QTest::newRow("signature") << sig << kUnknownFormat;
    QTest::newRow("truncated copy") << good.left(good.size() - 1) << kUnknownFormat;
    QTest::newRow("size field too small") << good + QByteArray(1, '\0') << kUnknownFormat;
    QByteArray newer = good;
    newer[10] = 20;
    QTest::newRow("1.20") << newer << kNewerVersion;
    newer[9] = 2;
    newer[10] = 0;
    QTest::newRow("2.00") << newer << kNewerVersion;
    // The size field matches but the content stops early.
    QTest::newRow("cut short") << withSize(good.left(300)) << kDamaged;
    QTest::newRow("header only") << withSize(good.left(15)) << kDamaged;

    File f = RichFile(1, 19);
    f.NodeCount = 1000000;
    QTest::newRow("node count beyond the file") << f.Build() << kDamaged;
    f = RichFile(1, 19);
    f.BranchCount = 0x7FFFFFFF;
    QTest::newRow("branch count beyond the file") << f.Build() << kDamaged;
    f = RichFile(1, 19);
    f.NoteCount = 500000000;
    QTest::newRow("note count beyond the file") << f.Build() << kDamaged;
    f = RichFile(1, 19);
    f.LayerCount = 100000;
    QTest::newRow("seam count beyond the file") << f.Build() << kDamaged;
    f = RichFile(1, 19);
    f.PLFCount = 2;
    QTest::newRow("plan count one too many") << f.Build() << kDamaged;
    f = RichFile(1, 19);
    f.StoppingCount = 2;
    QTest::newRow("stopping count one too many") << f.Build() << kDamaged;
    f = RichFile(1, 7);
    f.StoppingCount = 40000000;
    QTest::newRow("old stopping count") << f.Build() << kDamaged;
    f = RichFile(1, 19);
    f.Branches[0].PeopleCount = 1000000;
    QTest::newRow("person count") << f.Build() << kDamaged;
    f = RichFile(1, 19);
    f.Stoppings[0].BranchIndex = 3;
    QTest::newRow("stopping of a branch past the list") << f.Build() << kDamaged;
    f.Stoppings[0].BranchIndex = 0;
    QTest::newRow("stopping of branch 0") << f.Build() << kDamaged;
    f = RichFile(1, 6);
    f.OldStoppings[0].BranchIndex = -1;
    QTest::newRow("old stopping of no branch") << f.Build() << kDamaged;

    // A string whose length runs past the end.
    QByteArray title = good;
    qToLittleEndian(qint32(0x40000000), title.data() + 15);
    QTest::newRow("title length") << title << kDamaged;
    QByteArray titleBy1 = good;
    qToLittleEndian(qint32(good.size() - 19 + 1), titleBy1.data() + 15);
    QTest::newRow("title length one past the end") << titleBy1 << kDamaged;
}

void TestMdfReader::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TMineDocument doc;
    QString raised;
    try {
        TMdfReader::Read(bytes, doc);
    } catch (const AppError &e) {
        raised = e.message();
    }
    QCOMPARE(raised, message);
    // The mine is left out of its bulk-update state whatever stopped the reading.
    QVERIFY(!doc.Mine()->Updating());
}

void TestMdfReader::negativeCountsAreEmpty()
{
    File f;
    f.Title = QByteArray();
    f.NoteCount = -3;
    f.LayerCount = -1;
    f.PLFCount = -100;
    f.StoppingCount = -7;
    const auto doc = Read(f.Build());
    QVERIFY(doc->Notes().isEmpty());
    QCOMPARE(doc->Mine()->Layers().Count(), 0);
    QCOMPARE(doc->Mine()->Jumpers().Count(), 0);

    // A negative string length is an empty string followed by nothing.
    File g;
    g.Branches = {Branch{}};
    QByteArray bytes = g.Build();
    qToLittleEndian(qint32(-5), bytes.data() + 15); // title length
    bytes.remove(19, 4);                             // the title "Test" itself
    qToLittleEndian(qint32(bytes.size()), bytes.data() + 11);
    const auto read = Read(bytes);
    QVERIFY(read->Mine()->Title().isEmpty());
    QCOMPARE(read->Mine()->Branches().Count(), 1);
}

// Old files store only a count of people per branch; a few bytes must not create millions.
void TestMdfReader::oldPeopleLimit()
{
    File f;
    f.Minor = 18;
    for (int i = 0; i < 40; ++i) {
        Branch b;
        b.Number = i + 1;
        b.People16 = 32767;
        f.Branches.append(b);
    }
    const QByteArray bytes = f.Build();
    QVERIFY(40 * 32767 > TMdfReader::OldPeopleLimit(bytes.size()));
    QCOMPARE(ReadError(bytes), kDamaged);

    // A mine of ordinary size still reads.
    f.Branches.resize(3);
    const auto doc = Read(f.Build());
    QCOMPARE(doc->Mine()->Branches().Items(3)->People().Count(), 32767);
}

// Damaged copies of real files: each gives a document or the error, never a crash or a hang.
void TestMdfReader::mutatedFilesNeverCrash()
{
    QRandomGenerator rng(20261207);
    const QList<QByteArray> seeds = {RichFile(1, 19).Build(), RichFile(1, 13).Build(), RichFile(1, 7).Build(),
                                     RichFile(1, 5).Build()};
    int read = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = seeds[round % seeds.size()];
        const int flips = 1 + int(rng.bounded(6));
        for (int k = 0; k < flips; ++k) {
            const int at = 15 + int(rng.bounded(bytes.size() - 15));
            bytes[at] = char(rng.bounded(256));
        }
        if (round % 7 == 0)
            bytes.truncate(15 + int(rng.bounded(bytes.size() - 15)));
        qToLittleEndian(qint32(bytes.size()), bytes.data() + 11);
        const QString error = ReadError(bytes);
        if (error.isEmpty())
            ++read;
        else {
            QVERIFY2(error == kDamaged, qPrintable(error));
            ++refused;
        }
    }
    QVERIFY(read > 0);
    QVERIFY(refused > 0);
}

QTEST_GUILESS_MAIN(TestMdfReader)
#include "tst_TMdfReader.moc"
