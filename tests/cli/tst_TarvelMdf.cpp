// The tarvel-mdf tool as a user runs it: its output, its exit codes and its messages.
#include "MdfTestFile.h"
#include "MdfTestSupport.h"
#include "ToolRun.h"

#include "storage/TMdfWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mdftest;
using namespace tooltest;

namespace {

// A 1.13 file with values whose shortest forms are easy to recognise.
File Sample()
{
    File f;
    f.Minor = 13;
    f.Title = Cp1251(QStringLiteral("Шахта \"Южная\""));
    f.Pressure = 0.1f;
    f.CellLength = 1.1f;
    f.Notes = {Cp1251(QStringLiteral("строка 1")), "line\t2"};
    f.NodeLayout = {{1, 1}, {0, 1}, {2, 0}, {3, 1}};
    f.Layers = {Group{1, Cp1251(QStringLiteral("Пласт")), qint32(0x00FF8040)}};
    Node n;
    n.Number = 12;
    n.X = 0.1f;
    n.Y = -777777.0f;
    n.Z = 1e-7f;
    n.Surface = 1;
    n.Extra1 = 5;
    f.Nodes = {n};
    Branch b;
    b.Number = 3;
    b.StartNumber = 12;
    b.EndNumber = -777777;
    b.Section = 12.3f;
    b.Resistance = 0.1;
    b.People16 = 2;
    b.Comment = Cp1251(QStringLiteral("Уклон"));
    b.Name = "N";
    f.Branches = {b};
    Stopping s;
    s.Caption = Cp1251(QStringLiteral("П-1"));
    s.Material = 9;
    s.Position = 0.3;
    s.Thickness = 0.38;
    s.NormalValues[1] = 2.5;
    f.Stoppings = {s};
    return f;
}

} // namespace

class TestTarvelMdf : public QObject {
    Q_OBJECT

private slots:
    void info();
    void dump();
    void dumpRealsAreShortest();
    void dumpTextExactly_data();
    void dumpTextExactly();
    void convert();
    void fileErrors_data();
    void fileErrors();
    void usage_data();
    void usage();
    void helpAndVersion_data();
    void helpAndVersion();
    void standardStreams_data();
    void standardStreams();
    void refusedBeforeAnyWork_data();
    void refusedBeforeAnyWork();
    void convertPastFileSizeLimit();
    void controlCharactersEscaped_data();
    void controlCharactersEscaped();
    void errorsEscaped_data();
    void errorsEscaped();

private:
    QTemporaryDir FDir;
};

void TestTarvelMdf::info()
{
    const QString path = FDir.filePath(QStringLiteral("info.mdf"));
    WriteFile(path, Sample().Build());
    const Run r = Tool({QStringLiteral("info"), path});
    QCOMPARE(r.ExitCode, 0);
    const QStringList lines = QString::fromUtf8(r.Out).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, (QStringList{QStringLiteral("Version: 1.13"), QStringLiteral("Title: Шахта \"Южная\""),
                                 QStringLiteral("Nodes: 1"), QStringLiteral("Branches: 1"),
                                 QStringLiteral("Stoppings: 1"), QStringLiteral("People: 2"),
                                 QStringLiteral("Seams: 1"), QStringLiteral("Plan positions: 0")}));
}

void TestTarvelMdf::dump()
{
    const QString path = FDir.filePath(QStringLiteral("dump.mdf"));
    WriteFile(path, Sample().Build());
    const Run r = Tool({QStringLiteral("dump"), path});
    QCOMPARE(r.ExitCode, 0);
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(r.Out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc["Version"].toInt(), 113);
    QCOMPARE(doc["Title"].toString(), QStringLiteral("Шахта \"Южная\""));
    QCOMPARE(doc["Temperature"].toInt(), 20);
    QCOMPARE(doc["AutoUpdate"].toBool(), true);
    QCOMPARE(doc["Calculated"].toBool(), false);
    QCOMPARE(doc["CalcMethod"].toInt(), 0);
    QCOMPARE(doc["Notes"].toArray(), (QJsonArray{QStringLiteral("строка 1"), QStringLiteral("line\t2")}));
    const QJsonArray nodeColumns = doc["NodeColumns"].toArray();
    QCOMPARE(nodeColumns.size(), 4);
    QCOMPARE(nodeColumns[0].toObject()["Kind"].toInt(), 1);
    QCOMPARE(nodeColumns[2].toObject()["Shown"].toBool(), false);
    QCOMPARE(doc["BranchColumns"].toArray().size(), 15);
    QCOMPARE(doc["BranchColumns"].toArray()[7].toObject()["Shown"].toBool(), false);
    const QJsonObject seam = doc["Layers"].toArray()[0].toObject();
    QCOMPARE(seam["Name"].toString(), QStringLiteral("Пласт"));
    QCOMPARE(seam["Color"].toInteger(), 0x00FF8040);
    QVERIFY(doc["PLFs"].toArray().isEmpty());

    const QJsonObject node = doc["Uzels"].toArray()[0].toObject();
    QCOMPARE(node["Number"].toInt(), 12);
    QCOMPARE(float(node["X"].toDouble()), 0.1f);
    QCOMPARE(node["Y"].toDouble(), -777777.0);
    QCOMPARE(node["Surface"].toBool(), true);
    QCOMPARE(node["Extra1"].toInt(), 5);
    QCOMPARE(node["Extra2"].toInt(), -1);

    const QJsonObject branch = doc["Branches"].toArray()[0].toObject();
    const char *keys[] = {"NormalResult", "Number", "StartNumber", "EndNumber", "Section", "Shape", "VolumeFactor",
                          "ExtraVolume", "Roughness", "Gas1Kind", "Gas1", "Zone3", "Zone4", "Gas1From", "Gas1To",
                          "Zone3From", "Zone3To", "Zone4From", "Zone4To", "OptA", "OptA1", "OptA2", "LayerIndex",
                          "Resistance", "RouteResult", "LinkIndex", "Gas2Kind", "Gas2", "Gas2From", "Gas2To", "OptB",
                          "OptB1", "OptB2", "PLFIndex", "Comment", "Name", "People", "Jumpers"};
    for (const char *key : keys)
        QVERIFY2(branch.contains(QLatin1String(key)), key);
    QCOMPARE(branch["EndNumber"].toInt(), -777777);
    QCOMPARE(float(branch["Section"].toDouble()), 12.3f);
    QCOMPARE(branch["Resistance"].toDouble(), 0.1);
    QCOMPARE(branch["OptB"].toBool(), true);
    QCOMPARE(branch["Comment"].toString(), QStringLiteral("Уклон"));
    const QJsonArray people = branch["People"].toArray();
    QCOMPARE(people.size(), 2);
    QCOMPARE(people[1].toObject()["Position"].toDouble(), 2.0 / 3.0);
    const QJsonObject jumper = branch["Jumpers"].toArray()[0].toObject();
    QCOMPARE(jumper["Caption"].toString(), QStringLiteral("П-1"));
    QCOMPARE(jumper["Material"].toInt(), 9);
    QCOMPARE(jumper["Thickness"].toDouble(), 0.38);
    QCOMPARE(jumper["NormalValues"].toArray(), (QJsonArray{0, 2.5, 0}));
    QCOMPARE(jumper["RouteValues"].toArray().size(), 3);
    QCOMPARE(jumper["CutIn"].toBool(), false);
}

// Single-precision values are printed as the shortest text that reads back to the same float,
// not the double they widen to; the unset marker stays an integer-looking -777777.
void TestTarvelMdf::dumpRealsAreShortest()
{
    const QString path = FDir.filePath(QStringLiteral("short.mdf"));
    WriteFile(path, Sample().Build());
    const Run r = Tool({QStringLiteral("dump"), path});
    QCOMPARE(r.ExitCode, 0);
    QVERIFY(r.Out.contains("\"X\": 0.1,"));
    QVERIFY(r.Out.contains("\"Y\": -777777,"));
    QVERIFY(r.Out.contains("\"Z\": 1e-07,"));
    QVERIFY(r.Out.contains("\"Pressure\": 0.1,"));
    QVERIFY(r.Out.contains("\"CellLength\": 1.1,"));
    QVERIFY(r.Out.contains("\"Section\": 12.3,"));
    QVERIFY(r.Out.contains("\"Thickness\": 0.38,"));
    QVERIFY(r.Out.contains("\"People\": ["));
}

// Exact bytes of the texts and numbers the dump writes, those JSON escapes or cannot hold among
// them.
void TestTarvelMdf::dumpTextExactly_data()
{
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<float>("x");
    QTest::addColumn<double>("resistance");
    QTest::addColumn<QByteArray>("expected");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("quote and backslash") << QByteArray("a\"b\\c") << 1.0f << 0.0
                                         << QByteArray("\"Title\": \"a\\\"b\\\\c\",");
    QTest::newRow("control characters")
        << QByteArray("\x01\t\n\r\x1f\x7f") << 1.0f << 0.0 << QByteArray("\"Title\": \"\\u0001\\t\\n\\r\\u001f\x7f\",");
    QTest::newRow("code page 1251") << QByteArray("\xB9\xB8\x98\xFF") << 1.0f << 0.0
                                    << QByteArray("\"Title\": \"\xE2\x84\x96\xD1\x91\xC2\x98\xD1\x8F\",");
    // Longer than the writer's buffer of 64 KiB, with an escape at its end.
    QTest::newRow("long title") << QByteArray(40000, '\xFF') + '"' << 1.0f << 0.0
                                << "\"Title\": \"" + QByteArray("\xD1\x8F").repeated(40000) + "\\\"\",";
    QTest::newRow("NaN as text") << QByteArray("t") << nan << 0.0 << QByteArray("\"X\": \"NaN\",");
    QTest::newRow("negative NaN by its bits")
        << QByteArray("t") << -nan << 0.0 << QByteArray("\"X\": \"NaN:0xFFC00000\",");
    QTest::newRow("infinity as text") << QByteArray("t") << -std::numeric_limits<float>::infinity() << 0.0
                                      << QByteArray("\"X\": \"-Infinity\",");
    QTest::newRow("negative zero") << QByteArray("t") << -0.0f << 0.0 << QByteArray("\"X\": -0,");
    // Whole numbers: digits while they are no longer than the exponent form.
    QTest::newRow("whole float") << QByteArray("t") << -10000.0f << 0.0 << QByteArray("\"X\": -10000,");
    QTest::newRow("whole float, shorter with an exponent") << QByteArray("t") << 100000.0f << 0.0
                                                           << QByteArray("\"X\": 1e+05,");
    QTest::newRow("whole double") << QByteArray("t") << 1.0f << 9007199254740991.0
                                  << QByteArray("\"Resistance\": 9007199254740991,");
    QTest::newRow("smallest float") << QByteArray("t") << 1e-45f << 0.0 << QByteArray("\"X\": 1e-45,");
    QTest::newRow("smallest double") << QByteArray("t") << 1.0f << 5e-324 << QByteArray("\"Resistance\": 5e-324,");
    QTest::newRow("large double") << QByteArray("t") << 1.0f << 1.7976931348623157e308
                                  << QByteArray("\"Resistance\": 1.7976931348623157e+308,");
}

void TestTarvelMdf::dumpTextExactly()
{
    QFETCH(QByteArray, title);
    QFETCH(float, x);
    QFETCH(double, resistance);
    QFETCH(QByteArray, expected);
    File f = Sample();
    f.Title = title;
    f.Nodes[0].X = x;
    f.Branches[0].Resistance = resistance;
    const QString path = FDir.filePath(QStringLiteral("text.mdf"));
    WriteFile(path, f.Build());
    const Run r = Tool({QStringLiteral("dump"), path});
    QCOMPARE(r.ExitCode, 0);
    QVERIFY2(r.Out.contains(expected), expected.constData());
}

void TestTarvelMdf::convert()
{
    const QString in = FDir.filePath(QStringLiteral("old.mdf"));
    const QString out = FDir.filePath(QStringLiteral("converted.mdf"));
    const QByteArray old = Sample().Build();
    WriteFile(in, old);
    const Run r = Tool({QStringLiteral("convert"), in, out});
    QCOMPARE(r.ExitCode, 0);
    QVERIFY(r.Err.isEmpty());
    const QByteArray converted = ReadFile(out);
    QCOMPARE(converted.mid(9, 2), QByteArray("\x01\x13", 2));
    QCOMPARE(converted, TMdfWriter::Write(*Read(old)));
    QCOMPARE(ReadFile(in), old);
    // Converting the converted file changes nothing.
    const QString twice = FDir.filePath(QStringLiteral("twice.mdf"));
    QCOMPARE(Tool({QStringLiteral("convert"), out, twice}).ExitCode, 0);
    QCOMPARE(ReadFile(twice), converted);
}

// Every error is one line naming the role and the file, the file format's texts inside it.
void TestTarvelMdf::fileErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("content"); // written to the first file argument when not empty
    QTest::addColumn<QString>("message");    // %1, %2: the file arguments
    const QString missing = FDir.filePath(QStringLiteral("missing.mdf"));
    QTest::newRow("info of a missing file") << QStringList{QStringLiteral("info"), missing} << QByteArray()
                                            << QStringLiteral("FILE %1: файл не найден");
    File newer;
    newer.Minor = 20;
    const QString newerPath = FDir.filePath(QStringLiteral("newer.mdf"));
    QTest::newRow("dump of a newer file")
        << QStringList{QStringLiteral("dump"), newerPath} << newer.Build()
        << QStringLiteral("FILE %1: для открытия этого файла необходима более старшая версия программы");
    const QString textPath = FDir.filePath(QStringLiteral("text.mdf"));
    QTest::newRow("convert of a text file")
        << QStringList{QStringLiteral("convert"), textPath, FDir.filePath(QStringLiteral("x.mdf"))}
        << QByteArray("not a mine\n") << QStringLiteral("IN %1: неизвестный формат файла");
    QTest::newRow("convert into a missing folder")
        << QStringList{QStringLiteral("convert"), FDir.filePath(QStringLiteral("ok.mdf")),
                       FDir.filePath(QStringLiteral("missing/dir/out.mdf"))}
        << Sample().Build() << QStringLiteral("OUT %2: папка не существует");
    File damaged;
    damaged.NodeCount = 3;
    const QString damagedPath = FDir.filePath(QStringLiteral("damaged.mdf"));
    QTest::newRow("info of a damaged file")
        << QStringList{QStringLiteral("info"), damagedPath} << damaged.Build()
        << QStringLiteral("FILE %1: достигнут непредвиденный конец файла. Файл имеет неизвестный формат или поврежден");

    // Not regular files: a pipe would block the reader until someone writes into it.
    const QString pipe = FDir.filePath(QStringLiteral("pipe.mdf"));
    QVERIFY(QFileInfo::exists(pipe) || ::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    const QString notRegular = QStringLiteral(": указанное имя не является обычным файлом");
    const QString source = FDir.filePath(QStringLiteral("source.mdf"));
    const QString folder = FDir.filePath(QStringLiteral("folder.mdf"));
    QVERIFY(QDir().mkpath(folder));
    // A device is only read: run as root, a save that replaced it would replace it for everyone.
    for (const QString &special : {pipe, folder, QStringLiteral("/dev/null")}) {
        const QString name = QFileInfo(special).fileName();
        QTest::addRow("info of %s", qPrintable(name)) << QStringList{QStringLiteral("info"), special} << QByteArray()
                                                      << QStringLiteral("FILE %1") + notRegular;
        if (special.startsWith(FDir.path()))
            QTest::addRow("convert into %s", qPrintable(name))
                << QStringList{QStringLiteral("convert"), source, special} << Sample().Build()
                << QStringLiteral("OUT %2") + notRegular;
    }
}

void TestTarvelMdf::fileErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    if (!content.isEmpty())
        WriteFile(args[1], content);
    const Run r = Tool(args);
    QCOMPARE(r.ExitCode, 2);
    QVERIFY(r.Out.isEmpty());
    message.replace(QLatin1String("%1"), args[1]).replace(QLatin1String("%2"), args.value(2));
    QCOMPARE(QString::fromUtf8(r.Err), QStringLiteral("tarvel-mdf: ") + message + '\n');
}

void TestTarvelMdf::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{QStringLiteral("show"), QStringLiteral("a.mdf")};
    QTest::newRow("info without a file") << QStringList{QStringLiteral("info")};
    QTest::newRow("dump of two files") << QStringList{QStringLiteral("dump"), QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("convert without OUT") << QStringList{QStringLiteral("convert"), QStringLiteral("a.mdf")};
}

void TestTarvelMdf::usage()
{
    QFETCH(QStringList, args);
    const Run r = Tool(args);
    QCOMPARE(r.ExitCode, 64);
    QVERIFY(r.Err.contains("usage: tarvel-mdf"));
    QVERIFY(r.Out.isEmpty());
}

// Answered on stdout with exit 0 before anything else, for every command alike.
void TestTarvelMdf::helpAndVersion_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("pattern");   // the whole of stdout
    const QString version = QStringLiteral("^tarvel-mdf \\d+\\.\\d+\\.\\d+\\.\\d+\\n$");
    QTest::newRow("--version") << QStringList{"--version"} << version;
    QTest::newRow("-V") << QStringList{"-V"} << version;
    const QString usage = QStringLiteral("^usage: tarvel-mdf info FILE\\n.*COMMAND --help");
    QTest::newRow("--help") << QStringList{"--help"} << usage;
    QTest::newRow("-h") << QStringList{"-h"} << usage;
    QTest::newRow("info --help") << QStringList{"info", "--help"}
                                 << QStringLiteral("^usage: tarvel-mdf info FILE\\n\\nPrints .*FILE may be - for standard input");
    QTest::newRow("render -h, made by the pictures program")
        << QStringList{"render", "-h"} << QStringLiteral("^usage: tarvel-mdf render FILE .*--size WxH +picture size");
    QTest::newRow("help among operands") << QStringList{"import-csv", "n.csv", "--help", "b.csv"}
                                         << QStringLiteral("^usage: tarvel-mdf import-csv .*--title TEXT +the mine title");
}

void TestTarvelMdf::helpAndVersion()
{
    QFETCH(QStringList, args);
    QFETCH(QString, pattern);
    const Run r = Tool(args);
    QCOMPARE(r.ExitCode, 0);
    QVERIFY(r.Err.isEmpty());
    const QRegularExpression expected(pattern, QRegularExpression::DotMatchesEverythingOption);
    QVERIFY2(expected.match(QString::fromUtf8(r.Out)).hasMatch(), r.Out.constData());
}

// "-" reads standard input or writes standard output, with the same results and refusals as
// files.
void TestTarvelMdf::standardStreams_data()
{
    QTest::addColumn<QStringList>("args");  // %S the sample file, %D a folder with n.csv and b.csv
    QTest::addColumn<QString>("input");     // the file standard input reads
    QTest::addColumn<QStringList>("same");  // a command line whose stdout (or %D/out.*) is the same
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");       // the start of stderr
    QTest::newRow("info") << QStringList{"info", "-"} << "%S" << QStringList{"info", "%S"} << 0 << "";
    QTest::newRow("dump") << QStringList{"dump", "-"} << "%S" << QStringList{"dump", "%S"} << 0 << "";
    QTest::newRow("check") << QStringList{"check", "-"} << "%S" << QStringList{"check", "%S"} << 0 << "";
    QTest::newRow("from-json both") << QStringList{"from-json", "-", "-"} << "%D/s.json"
                                    << QStringList{"from-json", "%D/s.json", "%D/out.mdf"} << 0 << "";
    QTest::newRow("JSON refusal on stdin") << QStringList{"from-json", "-", "%D/o.mdf"} << "%D/n.csv" << QStringList{}
                                           << 2 << "tarvel-mdf: IN -: строка 1, столбец 1: ожидается значение JSON\n";
    QTest::newRow("convert both") << QStringList{"convert", "-", "-"} << "%S"
                                  << QStringList{"convert", "%S", "%D/out.mdf"} << 0 << "";
    QTest::newRow("convert to stdout") << QStringList{"convert", "%S", "-"} << ""
                                       << QStringList{"convert", "%S", "%D/out.mdf"} << 0 << "";
    QTest::newRow("import with nodes from stdin") << QStringList{"import-csv", "-", "%D/b.csv", "-", "--title", "t"}
                                                  << "%D/n.csv"
                                                  << QStringList{"import-csv", "%D/n.csv", "%D/b.csv", "%D/out.mdf",
                                                                 "--title", "t"}
                                                  << 0 << "";
    QTest::newRow("PNG to stdout") << QStringList{"render", "%S", "-", "--size", "64x48"} << ""
                                   << QStringList{"render", "%S", "%D/out.png", "--size", "64x48"} << 0 << "";
    QTest::newRow("damaged stdin") << QStringList{"info", "-"} << "%D/n.csv" << QStringList{} << 2
                                   << "tarvel-mdf: FILE -: неизвестный формат файла\n";
    QTest::newRow("CSV refusal on stdin") << QStringList{"import-csv", "%D/n.csv", "-", "%D/o.mdf"} << "%D/n.csv"
                                          << QStringList{} << 2 << "tarvel-mdf: BRANCHES -:1: ";
    QTest::newRow("two inputs from stdin") << QStringList{"import-csv", "-", "-", "%D/o.mdf"} << "" << QStringList{}
                                           << 64 << "tarvel-mdf: NODES and BRANCHES cannot both be -";
    QTest::newRow("no folder for export") << QStringList{"export-csv", "%S", "-"} << "" << QStringList{} << 64
                                          << "tarvel-mdf: DIR must be a folder, not -";
}

void TestTarvelMdf::standardStreams()
{
    QFETCH(QStringList, args);
    QFETCH(QString, input);
    QFETCH(QStringList, same);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("n.csv")), "Number,X,Y,Z\n1,0,0,0\n2,10,0,0\n");
    WriteFile(dir.filePath(QStringLiteral("b.csv")), "Number,StartNumber,EndNumber\n1,1,2\n");
    WriteFile(dir.filePath(QStringLiteral("s.json")),
              Tool({QStringLiteral("dump"), QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf")}).Out);
    const auto fill = [&](QString text) {
        return text.replace(QLatin1String("%S"), QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf"))
            .replace(QLatin1String("%D"), dir.path());
    };
    for (QString &a : args)
        a = fill(a);
    const Run r = Tool(args, fill(input));
    QCOMPARE(r.ExitCode, exitCode);
    QVERIFY2(err.isEmpty() ? r.Err.isEmpty() : QString::fromUtf8(r.Err).startsWith(err), r.Err.constData());
    if (same.isEmpty()) {
        QVERIFY(r.Out.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("o.mdf"))));
        return;
    }
    for (QString &a : same)
        a = fill(a);
    const Run expected = Tool(same);
    QCOMPARE(expected.ExitCode, exitCode);
    const QStringList written = QDir(dir.path()).entryList({QStringLiteral("out.*")}, QDir::Files);
    QVERIFY(r.Out == (written.isEmpty() ? expected.Out : ReadFile(dir.filePath(written.value(0)))));
}

// A command line that would write over an input, name an output as something else than it is,
// or give an option twice or without its value: exit 64 with the problem on the first line,
// and not a byte written.
void TestTarvelMdf::refusedBeforeAnyWork_data()
{
    QTest::addColumn<QStringList>("args");   // %D stands for a folder holding the files below
    QTest::addColumn<QString>("problem");
    const QString sameAsIn = QStringLiteral("OUT is the same file as IN: nothing would be left to read");
    const QString sameAsFile = QStringLiteral("OUT is the same file as FILE: nothing would be left to read");
    QTest::newRow("convert over its input") << QStringList{"convert", "%D/m.mdf", "%D/m.mdf"} << sameAsIn;
    QTest::newRow("convert over a link to its input") << QStringList{"convert", "%D/m.mdf", "%D/link.mdf"} << sameAsIn;
    QTest::newRow("convert over a hard link") << QStringList{"convert", "%D/m.mdf", "%D/hard.mdf"} << sameAsIn;
    QTest::newRow("convert into a text") << QStringList{"convert", "%D/m.mdf", "%D/m.txt"} << "OUT must end in .mdf";
    QTest::newRow("report over the mine") << QStringList{"report", "%D/m.mdf", "%D/m.mdf"} << "OUT must end in .pdf";
    QTest::newRow("report named as a picture") << QStringList{"report", "%D/m.mdf", "%D/r.png"} << "OUT must end in .pdf";
    QTest::newRow("report over a mine named .pdf") << QStringList{"report", "%D/mine.pdf", "%D/mine.pdf"} << sameAsFile;
    QTest::newRow("render into a PDF") << QStringList{"render", "%D/m.mdf", "%D/r.pdf"} << "OUT must end in .png or .svg";
    QTest::newRow("render over a mine named .png") << QStringList{"render", "%D/mine.png", "%D/mine.png"} << sameAsFile;
    QTest::newRow("import over the nodes")
        << QStringList{"import-csv", "%D/n.csv", "%D/b.csv", "%D/n.csv"} << "OUT must end in .mdf";
    QTest::newRow("import over nodes named .mdf")
        << QStringList{"import-csv", "%D/n.mdf", "%D/b.csv", "%D/n.mdf"}
        << "OUT is the same file as NODES: nothing would be left to read";
    QTest::newRow("export over its input") << QStringList{"export-csv", "%D/nodes.csv", "%D"}
                                           << "DIR/nodes.csv is the same file as FILE: nothing would be left to read";
    QTest::newRow("second --parts") << QStringList{"report", "%D/m.mdf", "%D/r.pdf", "--parts", "title", "--parts", "nodes"}
                                    << "--parts given twice";
    QTest::newRow("--parts last") << QStringList{"report", "%D/m.mdf", "%D/r.pdf", "--parts"} << "--parts needs a value";
    QTest::newRow("second --title")
        << QStringList{"import-csv", "--title", "a", "%D/n.csv", "%D/b.csv", "%D/o.mdf", "--title", "b"}
        << "--title given twice";
    QTest::newRow("second --size") << QStringList{"render", "%D/m.mdf", "%D/r.png", "--size", "9x9", "--size", "8x8"}
                                   << "--size given twice";
    QTest::newRow("unknown option") << QStringList{"info", "--verbose", "%D/m.mdf"} << "unknown option \"--verbose\"";
}

void TestTarvelMdf::refusedBeforeAnyWork()
{
    QFETCH(QStringList, args);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QByteArray mine = Sample().Build();
    for (const char *name : {"m.mdf", "mine.pdf", "mine.png", "nodes.csv"})
        WriteFile(dir.filePath(QLatin1String(name)), mine);
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("m.mdf")), dir.filePath(QStringLiteral("link.mdf"))));
    QCOMPARE(::link(QFile::encodeName(dir.filePath(QStringLiteral("m.mdf"))).constData(),
                    QFile::encodeName(dir.filePath(QStringLiteral("hard.mdf"))).constData()), 0);
    for (const char *name : {"n.csv", "n.mdf"})
        WriteFile(dir.filePath(QLatin1String(name)), "Number\n1\n2\n");
    WriteFile(dir.filePath(QStringLiteral("b.csv")), "Number,StartNumber,EndNumber\n1,1,2\n");
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString &name : before)
        hash.addData(ReadFile(dir.filePath(name)));
    const QByteArray contents = hash.result();

    for (QString &a : args)
        a.replace(QLatin1String("%D"), dir.path());
    const Run r = Tool(args);
    QCOMPARE(r.ExitCode, 64);
    QVERIFY(r.Out.isEmpty());
    QCOMPARE(QString::fromUtf8(r.Err).section(u'\n', 0, 0), QStringLiteral("tarvel-mdf: ") + problem);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), before);
    hash.reset();
    for (const QString &name : before)
        hash.addData(ReadFile(dir.filePath(name)));
    QCOMPARE(hash.result(), contents);
}

// Under ulimit -f the write fails instead of the signal ending the tool; the old file stays.
void TestTarvelMdf::convertPastFileSizeLimit()
{
    File big;
    big.Nodes = QList<Node>(2000, Node{});
    const QString in = FDir.filePath(QStringLiteral("big.mdf"));
    const QString out = FDir.filePath(QStringLiteral("limited.mdf"));
    WriteFile(in, big.Build());
    WriteFile(out, "old file");

    QProcess p;
    p.setChildProcessModifier([] {
        const struct rlimit limit = {16 * 1024, 16 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    p.start(QStringLiteral(TARVEL_BIN_DIR "/tarvel-mdf"), {QStringLiteral("convert"), in, out});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 2);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()), QStringLiteral("tarvel-mdf: OUT %1: Ошибка при записи в файл\n").arg(out));
    QCOMPARE(ReadFile(out), QByteArray("old file"));
}

void TestTarvelMdf::controlCharactersEscaped_data()
{
    QTest::addColumn<QByteArray>("bytes");   // as stored in the file
    QTest::addColumn<QString>("shown");
    QTest::newRow("window title") << QByteArray("\x1b]0;owned\x07") + Cp1251(QStringLiteral("Шахта"))
                                  << QStringLiteral("\\x1B]0;owned\\x07Шахта");
    QTest::newRow("clear screen") << QByteArray("a\x1b[2Jb\r\n") << QStringLiteral("a\\x1B[2Jb\\x0D\\x0A");
    QTest::newRow("clipboard write") << QByteArray("\x1b]52;c;aGk=\x07") << QStringLiteral("\\x1B]52;c;aGk=\\x07");
    QTest::newRow("C1 from the code page") << QByteArray("x\x98y") << QStringLiteral("x\\x98y");
    QTest::newRow("tab, delete, printable") << QByteArray("a\tb\x7f\\ ") + Cp1251(QStringLiteral("№"))
                                            << QStringLiteral("a\tb\\x7F\\ №");
}

void TestTarvelMdf::controlCharactersEscaped()
{
    // Titles and comments reach the user's terminal: control characters must not act on it.
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    File f;
    f.Title = bytes;
    Branch b;
    b.Number = 0;   // an invalid number: its line carries the comment
    b.Comment = bytes;
    f.Nodes = {Node{}};
    f.Branches = {b};
    const QString path = FDir.filePath(QStringLiteral("controls.mdf"));
    WriteFile(path, f.Build());

    const Run info = Tool({QStringLiteral("info"), path});
    QCOMPARE(info.ExitCode, 0);
    QVERIFY(QString::fromUtf8(info.Out).contains(QStringLiteral("\nTitle: ") + shown + '\n'));
    const Run check = Tool({QStringLiteral("check"), path});
    QCOMPARE(check.ExitCode, 1);
    QVERIFY2(QString::fromUtf8(check.Out).contains(QStringLiteral(",  \"") + shown + QStringLiteral("\"\n")),
             check.Out.constData());
}

void TestTarvelMdf::errorsEscaped_data()
{
    QTest::addColumn<QStringList>("args");   // %D stands for the test folder
    QTest::addColumn<QByteArray>("content"); // of %D/n.csv and %D/m.mdf, when not empty
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("shown");      // a part of stderr
    QTest::newRow("unknown command") << QStringList{"\x1b]0;x\x07"} << QByteArray() << 64
                                     << "tarvel-mdf: unknown command \"\\x1B]0;x\\x07\"\n";
    QTest::newRow("missing file") << QStringList{"import-csv", "%D/\x1b[2J.csv", "%D/b.csv", "%D/o.mdf"}
                                  << QByteArray() << 2 << "/\\x1B[2J.csv: файл не найден\n";
    QTest::newRow("picture into a missing folder")
        << QStringList{"render", TARVEL_SOURCE_DIR "/examples/sample-mine.mdf",
                       "%D/" + QString(QChar(0x9B)) + "2J/x.png"}
        << QByteArray() << 2
        << "/\\x9B2J/x.png: ";
    QTest::newRow("refused value") << QStringList{"import-csv", "%D/n.csv", "%D/b.csv", "%D/o.mdf"}
                                   << QByteArray("Number\n\"1\x1b[2J\r\nx\"\n") << 2 << "\"1\\x1B[2J\\x0D\\x0Ax\"";
    File f;
    f.Nodes = {Node{}};
    Branch b;
    b.Number = 0;   // an invalid number: its line carries the comment
    b.Comment = "\x1b]52;c;aGk=\x07";
    f.Branches = {b};
    QTest::newRow("findings of the check before a picture")
        << QStringList{"render", "%D/m.mdf", "%D/m.png"} << f.Build() << 1 << "\\x1B]52;c;aGk=\\x07";
}

// Messages name files and quote documents: control characters must not reach the terminal
// there either; the line breaks of the system's own texts stay.
void TestTarvelMdf::errorsEscaped()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, content);
    QFETCH(int, exitCode);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    if (!content.isEmpty()) {
        WriteFile(dir.filePath(QStringLiteral("n.csv")), content);
        WriteFile(dir.filePath(QStringLiteral("m.mdf")), content);
    }
    WriteFile(dir.filePath(QStringLiteral("b.csv")), "Number,StartNumber,EndNumber\n");
    for (QString &a : args)
        a.replace(QLatin1String("%D"), dir.path());
    const Run r = Tool(args);
    QCOMPARE(r.ExitCode, exitCode);
    const QString err = QString::fromUtf8(r.Err);
    QVERIFY2(err.contains(shown), r.Err.constData());
    for (qsizetype i = 0; i < err.size(); ++i) {
        const char16_t c = err[i].unicode();
        QVERIFY2(c == u'\n' || (c >= 0x20 && c != 0x7F && (c < 0x80 || c > 0x9F)), qPrintable(err.mid(i, 20)));
    }
}

QTEST_GUILESS_MAIN(TestTarvelMdf)
#include "tst_TarvelMdf.moc"
