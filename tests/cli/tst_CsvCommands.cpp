// tarvel-mdf export-csv and import-csv as a script runs them: files, exit codes, messages, and
// nothing written when a value is refused.
#include "MineText.h"
#include "ToolRun.h"

#include "exchange/NetworkCsv.h"
#include "model/TMine.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace tooltest;

class TestCsvCommands : public QObject {
    Q_OBJECT

private slots:
    void exportThenImport();
    void sampleComesBackWhole();
    void exportFormats_data();
    void exportFormats();
    void refusedValueWritesNothing();
    void notRegularFilesRefused_data();
    void notRegularFilesRefused();
    void usage_data();
    void usage();
    void rowOfMillionsOfCommasStaysSmall();

private:
    QTemporaryDir FDir;
};

void TestCsvCommands::exportThenImport()
{
    TMineDocument original;
    minetext::Build(*original.Mine(), QStringLiteral("u 1 0 0 0; u 2 30 40 -5.5 s; b 7 1 2 12.5 \"Штрек, 2-й\"; b 8 2 1"));
    const QString mdf = FDir.filePath(QStringLiteral("south.mdf"));
    TMineFile::Save(original, mdf);

    const QString dir = FDir.filePath(QStringLiteral("sheets/new"));
    Run r = Tool({QStringLiteral("export-csv"), mdf, dir});
    QCOMPARE(r.ExitCode, 0);
    QVERIFY(r.Out.isEmpty() && r.Err.isEmpty());
    QCOMPARE(ReadFile(dir + QStringLiteral("/nodes.csv")), NetworkCsv::NodesText(*original.Mine()));
    QCOMPARE(ReadFile(dir + QStringLiteral("/branches.csv")), NetworkCsv::BranchesText(*original.Mine()));

    const QString back = FDir.filePath(QStringLiteral("back.mdf"));
    r = Tool({QStringLiteral("import-csv"), dir + QStringLiteral("/nodes.csv"), QStringLiteral("--title"),
              QStringLiteral("Шахта \"Южная\""), dir + QStringLiteral("/branches.csv"), back});
    QCOMPARE(r.ExitCode, 0);
    QVERIFY(r.Err.isEmpty());
    TMineDocument imported;
    TMineFile::Load(imported, back);
    QCOMPARE(imported.Mine()->Title(), QStringLiteral("Шахта \"Южная\""));
    QCOMPARE(NetworkCsv::NodesText(*imported.Mine()), NetworkCsv::NodesText(*original.Mine()));
    QCOMPARE(NetworkCsv::BranchesText(*imported.Mine()), NetworkCsv::BranchesText(*original.Mine()));

    // Without a title the document is named after its file, all but the extension.
    const QString dotted = FDir.filePath(QStringLiteral("шахта.v2.mdf"));
    QCOMPARE(Tool({QStringLiteral("import-csv"), dir + QStringLiteral("/nodes.csv"),
                   dir + QStringLiteral("/branches.csv"), dotted}).ExitCode, 0);
    TMineDocument untitled;
    TMineFile::Load(untitled, dotted);
    QCOMPARE(untitled.Mine()->Title(), QStringLiteral("шахта.v2"));
}

// Everything the sample holds goes through the five files and comes back: the dumps are equal.
void TestCsvCommands::sampleComesBackWhole()
{
    const QString sample = QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf");
    const QString dir = FDir.filePath(QStringLiteral("whole"));
    QCOMPARE(Tool({QStringLiteral("export-csv"), sample, dir, QStringLiteral("--separator"), QStringLiteral(";"),
                   QStringLiteral("--decimal-comma")}).ExitCode, 0);
    const QString back = FDir.filePath(QStringLiteral("whole.mdf"));
    const Run r = Tool({QStringLiteral("import-csv"), dir + QStringLiteral("/nodes.csv"), dir + QStringLiteral("/branches.csv"),
                        back, QStringLiteral("--stoppings"), dir + QStringLiteral("/stoppings.csv"), QStringLiteral("--people"),
                        dir + QStringLiteral("/people.csv"), QStringLiteral("--document"), dir + QStringLiteral("/document.csv")});
    QCOMPARE(r.Err, QByteArray());
    const QByteArray original = Tool({QStringLiteral("dump"), sample}).Out;
    const QByteArray imported = Tool({QStringLiteral("dump"), back}).Out;
    QVERIFY(original.contains("\"Jumpers\": [\n") && original.contains("\"Notes\": [\n"));
    QCOMPARE(imported, original);
    // A file an option reads is an input like the operands: the output may not be it.
    const Run over = Tool({QStringLiteral("import-csv"), dir + QStringLiteral("/nodes.csv"), dir + QStringLiteral("/branches.csv"),
                           back, QStringLiteral("--people"), back});
    QCOMPARE(over.ExitCode, 64);
    QVERIFY2(over.Err.startsWith("tarvel-mdf: OUT is the same file as --people"), over.Err.constData());
}

void TestCsvCommands::exportFormats_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("nodes");   // nodes.csv of a node at (1.5, -2, 0)
    QTest::addColumn<int>("exitCode");
    const QByteArray bom = "\xEF\xBB\xBF";
    QTest::newRow("default") << QStringList() << bom + "Number,X,Y,Z,Surface\n3,1.5,-2,0,0\n" << 0;
    QTest::newRow("for Excel") << QStringList{QStringLiteral("--separator"), QStringLiteral(";"), QStringLiteral("--decimal-comma")}
                               << bom + "Number;X;Y;Z;Surface\n3;1,5;-2;0;0\n" << 0;
    QTest::newRow("decimal commas between commas, quoted") << QStringList{QStringLiteral("--decimal-comma")}
                                                          << bom + "Number,X,Y,Z,Surface\n3,\"1,5\",-2,0,0\n" << 0;
    QTest::newRow("another separator") << QStringList{QStringLiteral("--separator"), QStringLiteral("\t")} << QByteArray() << 64;
}

void TestCsvCommands::exportFormats()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, nodes);
    QFETCH(int, exitCode);
    TMineDocument doc;
    minetext::Build(*doc.Mine(), QStringLiteral("u 3 1.5 -2 0"));
    const QString mdf = FDir.filePath(QStringLiteral("formats.mdf"));
    TMineFile::Save(doc, mdf);
    const QString dir = FDir.filePath(QStringLiteral("formats-%1").arg(QTest::currentDataTag()));
    QCOMPARE(Tool(QStringList{QStringLiteral("export-csv"), mdf, dir} + options).ExitCode, exitCode);
    QCOMPARE(ReadFile(dir + QStringLiteral("/nodes.csv")), nodes);
}

void TestCsvCommands::refusedValueWritesNothing()
{
    const QString nodes = FDir.filePath(QStringLiteral("bad-nodes.csv"));
    const QString branches = FDir.filePath(QStringLiteral("bad-branches.csv"));
    WriteFile(nodes, "Number;X;Y\n1;0;0\n2;1,5;abc\n");
    WriteFile(branches, "Number,StartNumber,EndNumber\n1,1,2\n");
    const QString out = FDir.filePath(QStringLiteral("kept.mdf"));
    WriteFile(out, "the user's file");

    Run r = Tool({QStringLiteral("import-csv"), nodes, branches, out});
    QCOMPARE(r.ExitCode, 2);
    QCOMPARE(QString::fromUtf8(r.Err), QStringLiteral("tarvel-mdf: NODES ") + nodes + QStringLiteral(":3: column Y: не число: \"abc\"\n"));
    QCOMPARE(ReadFile(out), QByteArray("the user's file"));

    r = Tool({QStringLiteral("import-csv"), nodes, branches, FDir.filePath(QStringLiteral("new.mdf")),
              QStringLiteral("--title"), QStringLiteral("Mine \u65E5")});
    QCOMPARE(r.ExitCode, 2);
    QVERIFY(r.Err.startsWith("tarvel-mdf: --title: "));
    QVERIFY(!QFile::exists(FDir.filePath(QStringLiteral("new.mdf"))));
    // A character beyond the first plane is quoted whole, not as half a surrogate pair.
    r = Tool({QStringLiteral("import-csv"), nodes, branches, FDir.filePath(QStringLiteral("new.mdf")),
              QStringLiteral("--title"), QStringLiteral("Шахта \U0001F6A7 1")});
    QCOMPARE(r.ExitCode, 2);
    QVERIFY2(QString::fromUtf8(r.Err).contains(QStringLiteral("символ \"\U0001F6A7\"")), r.Err.constData());

    r = Tool({QStringLiteral("export-csv"), FDir.filePath(QStringLiteral("missing.mdf")), FDir.path()});
    QCOMPARE(r.ExitCode, 2);
}

// A pipe would hold the reader until some program writes into it and a device never ends; as
// a target, neither is the user's file to replace.
void TestCsvCommands::notRegularFilesRefused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("refused");   // the role and the file
    const QString nodes = FDir.filePath(QStringLiteral("n.csv"));
    const QString branches = FDir.filePath(QStringLiteral("b.csv"));
    WriteFile(nodes, "Number\n1\n2\n");
    WriteFile(branches, "Number,StartNumber,EndNumber\n1,1,2\n");
    const QString pipe = FDir.filePath(QStringLiteral("pipes/branches.csv"));
    QDir().mkpath(FDir.filePath(QStringLiteral("pipes")));
    QVERIFY(QFileInfo::exists(pipe) || ::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    const QString mdf = FDir.filePath(QStringLiteral("two.mdf"));
    QVERIFY(Tool({QStringLiteral("import-csv"), nodes, branches, mdf}).ExitCode == 0);
    const QString out = FDir.filePath(QStringLiteral("out.mdf"));
    QTest::newRow("nodes from a pipe") << QStringList{QStringLiteral("import-csv"), pipe, branches, out}
                                       << QStringLiteral("NODES ") + pipe;
    QTest::newRow("branches from a device")
        << QStringList{QStringLiteral("import-csv"), nodes, QStringLiteral("/dev/zero"), out}
        << QStringLiteral("BRANCHES /dev/zero");
    QTest::newRow("nodes from a folder") << QStringList{QStringLiteral("import-csv"), FDir.path(), branches, out}
                                         << QStringLiteral("NODES ") + FDir.path();
    QTest::newRow("export over a pipe")
        << QStringList{QStringLiteral("export-csv"), mdf, FDir.filePath(QStringLiteral("pipes"))}
        << QStringLiteral("DIR ") + pipe;
}

void TestCsvCommands::notRegularFilesRefused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, refused);
    const Run r = Tool(args);
    QCOMPARE(r.ExitCode, 2);
    QCOMPARE(QString::fromUtf8(r.Err),
             QStringLiteral("tarvel-mdf: ") + refused + QStringLiteral(": указанное имя не является обычным файлом\n"));
    QVERIFY(!QFile::exists(FDir.filePath(QStringLiteral("out.mdf"))));
    // The pipe is still there, and no nodes.csv went beside it.
    const QFileInfo pipe(FDir.filePath(QStringLiteral("pipes/branches.csv")));
    QVERIFY(pipe.exists() && !pipe.isFile());
    QVERIFY(!QFile::exists(FDir.filePath(QStringLiteral("pipes/nodes.csv"))));
}

void TestCsvCommands::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("export without DIR") << QStringList{QStringLiteral("export-csv"), QStringLiteral("a.mdf")};
    QTest::newRow("import without OUT")
        << QStringList{QStringLiteral("import-csv"), QStringLiteral("n.csv"), QStringLiteral("b.csv")};
    QTest::newRow("title without text")
        << QStringList{QStringLiteral("import-csv"), QStringLiteral("n.csv"), QStringLiteral("b.csv"),
                       QStringLiteral("o.mdf"), QStringLiteral("--title")};
    QTest::newRow("title on export")
        << QStringList{QStringLiteral("export-csv"), QStringLiteral("a.mdf"), QStringLiteral("d"),
                       QStringLiteral("--title"), QStringLiteral("x")};
}

void TestCsvCommands::usage()
{
    QFETCH(QStringList, args);
    const Run r = Tool(args);
    QCOMPARE(r.ExitCode, 64);
    QVERIFY(r.Err.contains("usage: tarvel-mdf"));
}

// A reader that kept every field of a row took 27 times the file for a row of commas; now it
// holds the file and the fields of the columns it reads.
void TestCsvCommands::rowOfMillionsOfCommasStaysSmall()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer's shadow memory and quarantine of freed blocks are no part of the reader's");
#endif
    constexpr qsizetype kSize = 40 * 1024 * 1024;
    const QString nodes = FDir.filePath(QStringLiteral("commas.csv"));
    WriteFile(nodes, "Number\n1\n" + QByteArray(kSize, ',') + "\n2\n");
    const QString branches = FDir.filePath(QStringLiteral("commas-b.csv"));
    WriteFile(branches, "Number,StartNumber,EndNumber\n1,1,2\n");
    const Run r = Tool({QStringLiteral("import-csv"), nodes, branches, FDir.filePath(QStringLiteral("commas.mdf"))});
    QCOMPARE(r.ExitCode, 0);
    rusage usage{};
    QCOMPARE(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    // The largest child of this test, in KiB: the file once, the program's own 60 MiB at most.
    QVERIFY2(usage.ru_maxrss < (2 * kSize + 60 * 1024 * 1024) / 1024, QByteArray::number(qint64(usage.ru_maxrss)).constData());
}

QTEST_GUILESS_MAIN(TestCsvCommands)
#include "tst_CsvCommands.moc"
