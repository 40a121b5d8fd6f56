// tarvel-mdf report: the parts asked for, the exit codes and the messages.
#include "PdfText.h"
#include "ToolRun.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kSample = QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf");
} // namespace

class tst_ReportCommand : public QObject {
    Q_OBJECT

private slots:
    void report_data();
    void report();
};

void tst_ReportCommand::report_data()
{
    QTest::addColumn<QStringList>("args");   // %in, %out and %dir stand for the paths
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("pages");          // of the PDF written; 0 when none is
    QTest::addColumn<QString>("firstLines"); // the start of the text of page 1, or of stderr

    // The sample mine: 58 nodes fill page 1's halves; 78 branches take two pages.
    QTest::newRow("all three parts") << QStringList{"%in", "%out"} << 0 << 4 << "Программа расчета";
    QTest::newRow("title page only") << QStringList{"%in", "%out", "--parts", "title"} << 0 << 1 << "Программа расчета";
    QTest::newRow("branches before the option")
        << QStringList{"--parts", "branches", "%in", "%out"} << 0 << 2 << "Топологическая таблица ветвей";
    QTest::newRow("nodes and the title in any order")
        << QStringList{"%in", "%out", "--parts", "nodes,title"} << 0 << 2 << "Программа расчета";
    QTest::newRow("unknown part") << QStringList{"%in", "%out", "--parts", "nodes,scheme"} << 64 << 0
                                  << "tarvel-mdf: unknown part \"scheme\"";
    QTest::newRow("no output file") << QStringList{"%in"} << 64 << 0 << "tarvel-mdf: report takes FILE and OUT.pdf";
    QTest::newRow("missing mine") << QStringList{"%dir/none.mdf", "%out"} << 2 << 0
                                  << "tarvel-mdf: FILE %dir/none.mdf: файл не найден\n";
    QTest::newRow("output folder missing") << QStringList{"%in", "%dir/no/such.pdf"} << 2 << 0
                                           << "tarvel-mdf: OUT %dir/no/such.pdf: папка не существует\n";
}

void tst_ReportCommand::report()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(int, pages);
    QFETCH(QString, firstLines);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("report.pdf"));
    for (QString &a : args)
        a.replace(QLatin1String("%in"), kSample).replace(QLatin1String("%out"), out).replace(QLatin1String("%dir"), dir.path());

    const tooltest::Run run = tooltest::Tool(QStringList{QStringLiteral("report")} + args);
    QCOMPARE(run.ExitCode, exitCode);
    firstLines.replace(QLatin1String("%dir"), dir.path());
    if (exitCode != 0) {
        QVERIFY(!QFile::exists(out));
        QVERIFY2(QString::fromUtf8(run.Err).contains(firstLines), run.Err.constData());
        return;
    }
    const pdftext::Pdf pdf = pdftext::Read(out);
    QCOMPARE(pdf.Pages, pages);
    // A report without its title page starts with the table's heading.
    const QString page = pdf.Lines.value(0).join(QLatin1Char('\n'));
    QVERIFY2(firstLines.startsWith(QStringLiteral("Программа")) ? page.contains(firstLines) : page.startsWith(firstLines),
             qPrintable(page.left(200)));
}

QTEST_APPLESS_MAIN(tst_ReportCommand)
#include "tst_ReportCommand.moc"
