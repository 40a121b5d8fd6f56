// tarvel-mdf import-dxf and export-dxf as a script runs them: what they print, exit codes, the
// check's findings after an import, the sample mine through CAD and back, and nothing written
// when a drawing or an argument is refused.
#include "DxfTestFile.h"
#include "ToolRun.h"

#include "model/TMine.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tooltest;

namespace {

const QString kSample = QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf");

// In millimetres: a triangle of drifts on "Штрек" and, with loose, a line of its own.
QByteArray Drawing(const QTemporaryDir &dir, bool loose)
{
    DxfTestFile f;
    f.Units(4);
    f.Layer("Штрек", 1);
    f.Entity([loose](DL_Dxf &dxf, DL_WriterA &dw) {
        dxf.writePolyline(dw, DL_PolylineData(3, 0, 0, 1), DxfTestFile::On("Штрек"));
        for (const auto &p : {std::pair{0.0, 0.0}, {100000.0, 0.0}, {0.0, 50000.0}})
            dxf.writeVertex(dw, DL_VertexData(p.first, p.second, 0, 0));
        if (loose)
            dxf.writeLine(dw, DL_LineData(500000, 0, 0, 600000, 0, 0), DxfTestFile::On("0"));
        dxf.writeCircle(dw, DL_CircleData(0, 0, 0, 1000), DxfTestFile::On("0"));
    });
    return f.Bytes(dir);
}

} // namespace

class tst_DxfCommands : public QObject {
    Q_OBJECT
private slots:
    void importPrintsAndChecks();
    void sampleMineThroughCad();
    void standardStreams();
    void refused_data();
    void refused();
    void usage_data();
    void usage();

private:
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void tst_DxfCommands::importPrintsAndChecks()
{
    const QString in = file(QStringLiteral("triangle.dxf")), out = file(QStringLiteral("triangle.mdf"));
    WriteFile(in, Drawing(m_dir, false));
    Run r = Tool({QStringLiteral("import-dxf"), in, out});
    QCOMPARE(r.ExitCode, 0);
    QCOMPARE(QString::fromUtf8(r.Out), QStringLiteral("узлов: 3, ветвей: 3, пластов: 1, пропущено объектов: 1 (CIRCLE 1)\n"
                                                      "единицы чертежа — миллиметры, переведены в метры\n"));
    QVERIFY(r.Err.isEmpty());
    TMineDocument doc;
    TMineFile::Load(doc, out);
    QCOMPARE(doc.Mine()->Title(), QStringLiteral("triangle"));

    // A line on its own: written all the same, the check's finding on stderr and status 1.
    WriteFile(in, Drawing(m_dir, true));
    r = Tool({QStringLiteral("import-dxf"), in, out, QStringLiteral("--title"), QStringLiteral("Шахта"),
              QStringLiteral("--first"), QStringLiteral("10")});
    QCOMPARE(r.ExitCode, 1);
    QVERIFY(r.Out.startsWith("узлов: 5, ветвей: 4, пластов: 1"));
    QVERIFY2(r.Err.contains("  - Обнаружена изолированная ветвь 13\n"), r.Err.constData());
    TMineDocument loose;
    TMineFile::Load(loose, out);
    QCOMPARE(loose.Mine()->Title(), QStringLiteral("Шахта"));
    QCOMPARE(loose.Mine()->Branches().Count(), 4);
}

void tst_DxfCommands::sampleMineThroughCad()
{
    const QString dxf = file(QStringLiteral("sample.dxf")), back = file(QStringLiteral("back.mdf"));
    Run r = Tool({QStringLiteral("export-dxf"), kSample, dxf, QStringLiteral("--labels"), QStringLiteral("nodes")});
    QCOMPARE(r.ExitCode, 0);
    TMineDocument sample;
    TMineFile::Load(sample, kSample);
    QCOMPARE(QString::fromUtf8(r.Out), QStringLiteral("ветвей: %1, перемычек: %2, пропущено ветвей: 0\n")
                                           .arg(sample.Mine()->Branches().Count())
                                           .arg(sample.Mine()->Jumpers().Count()));
    QVERIFY(r.Err.isEmpty());

    r = Tool({QStringLiteral("import-dxf"), dxf, back});
    QCOMPARE(r.ExitCode, 0);   // the check passes, as it does on the sample
    QVERIFY(r.Out.startsWith(QStringLiteral("узлов: %1, ветвей: %2, пластов: %3, пропущено объектов: 0\n")
                                 .arg(sample.Mine()->Uzels().Count())
                                 .arg(sample.Mine()->Branches().Count())
                                 .arg(sample.Mine()->Layers().Count())
                                 .toUtf8()));
    QVERIFY(r.Err.isEmpty());
    QCOMPARE(Tool({QStringLiteral("check"), back}).ExitCode, 0);
}

// "-" for a file: the drawing from standard input, or onto standard output with the summary on
// stderr, where the document's findings go too.
void tst_DxfCommands::standardStreams()
{
    const QString mdf = file(QStringLiteral("streamed.mdf"));
    const Run exported = Tool({QStringLiteral("export-dxf"), kSample, QStringLiteral("-")});
    QCOMPARE(exported.ExitCode, 0);
    QVERIFY(exported.Out.startsWith("999\ndxflib ") && exported.Out.endsWith("  0\nEOF\n"));
    QVERIFY(exported.Err.startsWith("ветвей: "));
    const QString dxf = file(QStringLiteral("streamed.dxf"));
    WriteFile(dxf, exported.Out);
    Run r = Tool({QStringLiteral("import-dxf"), QStringLiteral("-"), mdf}, dxf);
    QCOMPARE(r.ExitCode, 0);
    QVERIFY(r.Out.startsWith("узлов: "));
    TMineDocument doc;
    TMineFile::Load(doc, mdf);
    QCOMPARE(doc.Mine()->Title(), QStringLiteral("streamed"));
    r = Tool({QStringLiteral("import-dxf"), dxf, QStringLiteral("-")});
    QCOMPARE(r.ExitCode, 0);
    QVERIFY(r.Out.startsWith("Tarvelian") && r.Err.startsWith("узлов: "));
    // A text on standard input is no drawing either.
    WriteFile(file(QStringLiteral("text.txt")), "не чертёж\n");
    r = Tool({QStringLiteral("import-dxf"), QStringLiteral("-"), mdf}, file(QStringLiteral("text.txt")));
    QCOMPARE(r.ExitCode, 2);
    QCOMPARE(QString::fromUtf8(r.Err), QStringLiteral("tarvel-mdf: IN -: это не файл DXF\n"));
}

// A refused drawing or file: status 2, the message naming the file, an old OUT as it was.
void tst_DxfCommands::refused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("message");
    const QString kept = file(QStringLiteral("kept.mdf"));
    const QString text = file(QStringLiteral("text.dxf")), binary = file(QStringLiteral("binary.dxf"));
    const QString empty = file(QStringLiteral("circles.dxf")), pipe = file(QStringLiteral("pipe.dxf"));
    WriteFile(text, "Это не чертёж\n");
    WriteFile(binary, QByteArray("AutoCAD Binary DXF\r\n\x1a") + QByteArray(8, '\0'));
    WriteFile(empty, "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n0\nENDSEC\n0\nEOF\n");
    QVERIFY(QFileInfo::exists(pipe) || ::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    QTest::newRow("not a DXF") << "import-dxf" << text << kept << "IN " + text + ": это не файл DXF";
    QTest::newRow("binary DXF") << "import-dxf" << binary << kept
                                << "IN " + binary + ": двоичный DXF не читается: сохраните чертёж как DXF в текстовом виде (ASCII)";
    QTest::newRow("nothing to import") << "import-dxf" << empty << kept
                                       << "IN " + empty + ": в файле нет линий (LINE, POLYLINE, LWPOLYLINE, ARC)";
    QTest::newRow("a pipe") << "import-dxf" << pipe << kept << "IN " + pipe + ": указанное имя не является обычным файлом";
    QTest::newRow("a layer not there") << "import-dxf" << file(QStringLiteral("sample.dxf")) << kept
                                       << "IN " + file(QStringLiteral("sample.dxf")) + ": в файле нет слоя \"Нет\" с линиями или текстами";
    const QString keptDxf = file(QStringLiteral("kept.dxf"));
    QTest::newRow("export of a missing mine") << "export-dxf" << file(QStringLiteral("missing.mdf")) << keptDxf << QString();
    QTest::newRow("export over a pipe") << "export-dxf" << kSample << file(QStringLiteral("pipes/x.dxf"))
                                        << "OUT " + file(QStringLiteral("pipes/x.dxf")) + ": указанное имя не является обычным файлом";
    QDir().mkpath(file(QStringLiteral("pipes")));
    const QString outPipe = file(QStringLiteral("pipes/x.dxf"));
    QVERIFY(QFileInfo::exists(outPipe) || ::mkfifo(QFile::encodeName(outPipe).constData(), 0600) == 0);
}

void tst_DxfCommands::refused()
{
    QFETCH(QString, command);
    QFETCH(QString, in);
    QFETCH(QString, out);
    QFETCH(QString, message);
    if (!QFileInfo::exists(file(QStringLiteral("sample.dxf"))))
        QCOMPARE(Tool({QStringLiteral("export-dxf"), kSample, file(QStringLiteral("sample.dxf"))}).ExitCode, 0);
    const bool ordinary = !out.contains(QLatin1String("pipes"));
    if (ordinary)
        WriteFile(out, "the user's file");
    QStringList args{command, in, out};
    if (message.contains(QStringLiteral("\"Нет\"")))
        args << QStringLiteral("--layers") << QStringLiteral("Нет");
    const Run r = Tool(args);
    QCOMPARE(r.ExitCode, 2);
    if (!message.isEmpty())
        QCOMPARE(QString::fromUtf8(r.Err), QStringLiteral("tarvel-mdf: ") + message + u'\n');
    if (ordinary)
        QCOMPARE(ReadFile(out), QByteArray("the user's file"));
    else
        QVERIFY(!QFileInfo(out).isFile());
}

void tst_DxfCommands::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("problem");
    const QString dxf = file(QStringLiteral("a.dxf")), mdf = file(QStringLiteral("a.mdf"));
    const QString link = file(QStringLiteral("link.mdf"));
    WriteFile(mdf, "x");
    QVERIFY(QFileInfo::exists(link) || ::symlink(QFile::encodeName(mdf).constData(), QFile::encodeName(link).constData()) == 0);
    QTest::newRow("import without OUT") << QStringList{"import-dxf", dxf} << "import-dxf takes IN.dxf and OUT.mdf";
    QTest::newRow("import into a non-mine") << QStringList{"import-dxf", dxf, file("a.txt")} << "OUT must end in .mdf";
    QTest::newRow("tolerance of nothing") << QStringList{"import-dxf", dxf, mdf, "--tolerance", "0"}
                                          << "--tolerance takes metres, more than 0 and at most 100";
    QTest::newRow("tolerance without a value") << QStringList{"import-dxf", dxf, mdf, "--tolerance"} << "--tolerance needs a value";
    QTest::newRow("chord too fine") << QStringList{"import-dxf", dxf, mdf, "--chord", "0.001"} << "--chord takes metres from 0.01 to 1000";
    QTest::newRow("first 0") << QStringList{"import-dxf", dxf, mdf, "--first", "0"} << "--first takes a whole number from 1 to 2147483647";
    QTest::newRow("no layers") << QStringList{"import-dxf", dxf, mdf, "--layers", ","} << "--layers takes layer names separated by commas";
    QTest::newRow("unknown option") << QStringList{"import-dxf", dxf, mdf, "--colors", "seams"} << "unknown option \"--colors\"";
    QTest::newRow("export into a non-drawing") << QStringList{"export-dxf", mdf, file("a.png")} << "OUT must end in .dxf";
    QTest::newRow("labels of nothing") << QStringList{"export-dxf", mdf, dxf, "--labels", "seams"} << "--labels takes none, branches or nodes";
    QTest::newRow("the same file") << QStringList{"import-dxf", link, mdf} << "OUT is the same file as IN: nothing would be left to read";
}

void tst_DxfCommands::usage()
{
    QFETCH(QStringList, args);
    QFETCH(QString, problem);
    const Run r = Tool(args);
    QCOMPARE(r.ExitCode, 64);
    QVERIFY2(r.Err.startsWith("tarvel-mdf: " + problem.toUtf8() + "\nusage: tarvel-mdf"), r.Err.constData());
}

QTEST_GUILESS_MAIN(tst_DxfCommands)
#include "tst_DxfCommands.moc"
