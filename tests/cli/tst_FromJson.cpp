// tarvel-mdf from-json: a dump read back gives the file the document saves as, byte for byte,
// for files of every version, odd bytes and values JSON has no number for included; a refusal
// writes nothing.
#include "MdfTestFile.h"
#include "MdfTestSupport.h"
#include "MineGenerators.h"
#include "ToolRun.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TPeopleInfo.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QTemporaryDir>
#include <QtTest>
#include <limits>

using namespace mdftest;
using namespace tooltest;

namespace {

// A file of the given version bytes with something in every section the version has.
QByteArray VersionFile(quint8 minor)
{
    File f;
    f.Minor = minor;
    f.Title = Cp1251(QStringLiteral("Шахта №%1").arg(minor));
    f.Notes = {"a", "", Cp1251(QStringLiteral("примечание"))};
    f.NodeLayout = {{2, 1}, {0, 1}, {1, 0}, {3, 1}};
    f.Layers = {Group{1, "L1", 0x112233}, Group{0, "L2", 0x445566}};
    f.PLFs = {Group{1, "P1", 0x778899}};
    Node a, b;
    a.Number = 1;
    b.Number = 2;
    b.X = 10.5f;
    b.Z = -777777.0f;
    b.Surface = 1;
    f.Nodes = {a, b};
    Branch br;
    br.Section = 7.25f;
    br.Gas1 = 1;
    br.Gas1To = 3.5f;
    br.LayerIndex = 1;
    br.PLFIndex = 0;
    br.Resistance = 0.0123;
    br.People16 = 3;
    br.Comment = Cp1251(QStringLiteral("уклон"));
    br.Name = "N";
    br.People = {Person{0.25, 77, Cp1251(QStringLiteral("Иванов")), 4, "M"}, Person{0.75, 0, "", 0, ""}};
    Branch second = br;
    second.Number = 2;
    second.StartNumber = 2;
    second.EndNumber = 1;
    second.LinkIndex = 0;
    f.Branches = {br, second};
    Stopping s;
    s.Caption = "S1";
    s.Material = 12;
    s.Position = 0.4;
    s.Thickness = 0.01;
    s.BreakPressure = 0.3;
    s.NormalHit = 1;
    s.NormalStep = 5;
    s.NormalValues[2] = 1.5;
    s.RouteStep = 2;
    Stopping t = s;
    t.BranchIndex = 2;
    t.Position = 0.1;
    f.Stoppings = {s, t};
    OldStopping o;
    o.BranchIndex = 2;
    o.ThicknessCm = 38;
    o.Material = 2;
    o.BreakPressure = 0.5f;
    f.OldStoppings = {o};
    return f.Build();
}

// Bytes the program never writes but keeps: Boolean bytes other than 0 and 1, reals without a
// JSON number, the extremes of every range.
QByteArray OddFile()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    File f;
    f.Title = "\x01\"\\\t\xFF";
    f.AutoUpdate = 9;
    f.Calculated = 2;
    f.Reserved2 = 255;
    f.Pressure = -nan;
    f.CellLength = 1e-45f;
    f.Reserved1 = std::numeric_limits<qint32>::min();
    f.CalcMethod = 255;
    f.Layers = {Group{3, "", qint32(0xFFFFFFFF)}};
    Node n;
    n.X = -0.0f;
    n.Y = std::numeric_limits<float>::infinity();
    n.Z = std::numeric_limits<float>::max();
    n.Surface = 2;
    n.Extra1 = std::numeric_limits<qint32>::max();
    f.Nodes = {n};
    Branch b;
    b.Section = std::bit_cast<float>(0x7FC00001u);
    b.Shape = 200;
    b.Roughness = 255;
    b.Gas1 = 7;
    b.Gas2 = 2;
    b.Zone3 = 3;
    b.Zone4 = 4;
    b.Zone4From = nan;
    b.OptA = 5;
    b.OptB = 0;
    b.Resistance = -inf;
    b.Gas2Kind = 255;
    b.NormalResult = 123456;
    f.Branches = {b};
    Stopping s;
    s.Vent = 2;
    s.Measured = 3;
    s.CutIn = 4;
    s.RouteHit = 6;
    s.Material = 250;
    s.Doors = 9;
    s.Depression = std::bit_cast<double>(0xFFF8000000000001ull);
    s.Flow = 5e-324;
    s.Position = 1.0;
    f.Stoppings = {s};
    return f.Build();
}

// 10,000 nodes and branches, some unset, with stoppings, people and groups.
QByteArray GeneratedFile()
{
    TMineDocument doc;
    TMine &mine = *doc.Mine();
    minegen::RandomParams p;
    p.uzels = 5000;
    p.branches = 5000;
    p.unsetCoordinatePercent = 5;
    p.unsetEndPercent = 5;
    p.badNumberPercent = 2;
    minegen::Random(mine, 33, p);
    new TLayer(&mine);
    for (int i = 1; i <= mine.Branches().Count(); i += 3) {
        TBranch *b = mine.Branches().Items(i);
        b->SetLayerIndex(0);
        TJumper *j = new TJumper(b, double(i % 100) / 100.0);
        j->SetCaption(QStringLiteral("П-%1").arg(i));
        j->SetThickness(i / 7.0);
        new TPeopleInfo(b, 0.5);
        b->People().Items(0)->SetFullName(QString::number(i));
    }
    return TMdfWriter::Write(doc);
}

} // namespace

class TestFromJson : public QObject {
    Q_OBJECT

private slots:
    void dumpReadBack_data();
    void dumpReadBack();
    void refusalWritesNothing();

private:
    QTemporaryDir FDir;
};

void TestFromJson::dumpReadBack_data()
{
    QTest::addColumn<QByteArray>("file");
    QFile sample(QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    QTest::newRow("sample") << sample.readAll();
    for (const quint8 minor : {5, 51, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19})
        QTest::addRow("version bytes 1.%d", int(minor)) << VersionFile(minor);
    QTest::newRow("odd bytes") << OddFile();
    QTest::newRow("10,000 elements") << GeneratedFile();
}

void TestFromJson::dumpReadBack()
{
    QFETCH(QByteArray, file);
    const QString mdf = FDir.filePath(QStringLiteral("in.mdf"));
    const QString json = FDir.filePath(QStringLiteral("in.json"));
    const QString out = FDir.filePath(QStringLiteral("out.mdf"));
    WriteFile(mdf, file);
    const Run dump = Tool({QStringLiteral("dump"), mdf});
    QCOMPARE(dump.ExitCode, 0);
    WriteFile(json, dump.Out);
    const Run r = Tool({QStringLiteral("from-json"), json, out});
    QVERIFY2(r.ExitCode == 0, r.Err.constData());
    QVERIFY(r.Err.isEmpty() && r.Out.isEmpty());
    const QByteArray saved = TMdfWriter::Write(*Read(file));
    const QByteArray made = ReadFile(out);
    QCOMPARE(made.size(), saved.size());
    QVERIFY(made == saved);
}

void TestFromJson::refusalWritesNothing()
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("bad.json"));
    const QString out = dir.filePath(QStringLiteral("kept.mdf"));
    WriteFile(json, R"({"Branches": [{"Number": 1}, {"Section": true}]})");
    WriteFile(out, "old");
    const Run r = Tool({QStringLiteral("from-json"), json, out});
    QCOMPARE(r.ExitCode, 2);
    QCOMPARE(QString::fromUtf8(r.Err),
             QStringLiteral("tarvel-mdf: IN %1: Branches[1].Section: не число\n").arg(json));
    QCOMPARE(ReadFile(out), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

QTEST_GUILESS_MAIN(TestFromJson)
#include "tst_FromJson.moc"
