// Hostile files through tarvel-mdf: floods of repeated numbers and parallel branches, a pipe,
// terminal control sequences and markup in titles and names. Each must give a bounded answer in
// a bounded time. The files are also kept in fuzz/mdf_reader/hostile (every file there is run too);
// TARVEL_WRITE_CORPUS=DIR writes them there afresh.
#include "MdfTestFile.h"
#include "MdfTestSupport.h"
#include "ToolRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace mdftest;
using namespace tooltest;

namespace {

File Flood(int nodes, int branches, bool repeatedBranchNumbers)
{
    File f;
    f.Minor = 0;   // the shortest records of any version
    for (int i = 0; i < nodes; ++i) {
        Node n;
        n.Number = i < 2 ? i + 1 : 1;   // nodes 1 and 2, then 1 over and over
        n.X = float(i);
        f.Nodes.append(n);
    }
    for (int i = 0; i < branches; ++i) {
        Branch b;
        b.Number = repeatedBranchNumbers ? 7 : i + 1;
        f.Branches.append(b);   // all 1 -> 2: parallel
    }
    return f;
}

File Titled(const QByteArray &title)
{
    File f;
    f.Title = title;
    f.Notes = {title};
    f.Nodes = {Node{}};
    Branch b;
    b.Number = 0;   // listed by the check with its comment
    b.Comment = title;
    b.Name = title;
    f.Branches = {b};
    return f;
}

} // namespace

class tst_HostileFiles : public QObject {
    Q_OBJECT

private slots:
    void boundedAnswers_data();
    void boundedAnswers();
    void specialFilesRefused_data();
    void specialFilesRefused();
};

void tst_HostileFiles::boundedAnswers_data()
{
    QTest::addColumn<QString>("path");
    static QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString html = QStringLiteral("<h1 style=\"color:red\">НЕ СОХРАНЯТЬ<h1>");
    const struct {
        QString name;
        QByteArray bytes;
    } built[] = {
        {QStringLiteral("repeated-nodes.mdf"), Flood(5000, 1, false).Build()},
        {QStringLiteral("repeated-branches.mdf"), Flood(2, 1000, true).Build()},
        {QStringLiteral("parallel-branches.mdf"), Flood(2, 1000, false).Build()},
        {QStringLiteral("terminal-controls.mdf"), Titled("\x1b]0;x\x07\x1b[2J\x1b]52;c;aGk=\x07\x98\r\n").Build()},
        {html + QStringLiteral(".mdf"), Titled(Cp1251(html)).Build()},
    };
    const QString keep = qEnvironmentVariable("TARVEL_WRITE_CORPUS");
    for (const auto &f : built) {
        WriteFile(dir.filePath(f.name), f.bytes);
        if (!keep.isEmpty())
            WriteFile(QDir(keep).filePath(f.name), f.bytes);
        QTest::newRow(qPrintable(f.name)) << dir.filePath(f.name);
    }
    const QString pipe = dir.filePath(QStringLiteral("pipe.mdf"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    QTest::newRow("pipe") << pipe;
    const QDir stored(QStringLiteral(TARVEL_SOURCE_DIR "/fuzz/mdf_reader/hostile"));
    for (const QString &name : stored.entryList(QDir::Files))
        QTest::addRow("stored %s", qPrintable(name)) << stored.filePath(name);
}

void tst_HostileFiles::boundedAnswers()
{
    QFETCH(QString, path);
    for (const char *command : {"info", "check"}) {
        QElapsedTimer clock;
        clock.start();
        const Run r = Tool({QLatin1String(command), path});
        QVERIFY2(clock.elapsed() < 20000, command);
        QVERIFY2(r.ExitCode >= 0 && r.ExitCode <= 2, command);
        QVERIFY2(r.Out.size() < 100 * 1024, command);
        for (char c : r.Out)
            QVERIFY2(uchar(c) >= 0x20 || c == '\n' || c == '\t', command);
        for (const char *c1 : {"\xc2\x98", "\xc2\x9b", "\xc2\x9d"})
            QVERIFY2(!r.Out.contains(c1), command);
    }
}

// The report and the picture are written beside their target and renamed over it: a pipe or a
// folder of that name is refused and stays what it is (the mine file's and the CSV files' own
// tests do the same for them).
void tst_HostileFiles::specialFilesRefused_data()
{
    QTest::addColumn<QStringList>("args");   // %D is the test folder, %S the sample mine
    QTest::addColumn<QString>("special");    // the pipe or folder, which must stay what it is
    QTest::addColumn<QString>("message");    // stderr, %D the test folder
    const QString notRegular = QStringLiteral(": указанное имя не является обычным файлом");
    QTest::newRow("report into a pipe") << QStringList{"report", "%S", "%D/pipe.pdf"} << "pipe.pdf"
                                        << "tarvel-mdf: OUT %D/pipe.pdf" + notRegular;
    QTest::newRow("report into a folder") << QStringList{"report", "%S", "%D/folder.pdf"} << "folder.pdf"
                                          << "tarvel-mdf: OUT %D/folder.pdf" + notRegular;
    QTest::newRow("render into a pipe") << QStringList{"render", "%S", "%D/pipe.png"} << "pipe.png"
                                        << "tarvel-mdf: OUT %D/pipe.png" + notRegular;
    QTest::newRow("render into a folder") << QStringList{"render", "%S", "%D/folder.svg"} << "folder.svg"
                                          << "tarvel-mdf: OUT %D/folder.svg" + notRegular;
}

void tst_HostileFiles::specialFilesRefused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, special);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QStringList pipes{"pipe.pdf", "pipe.png"};
    for (const QString &name : pipes)
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600) == 0);
    for (const char *name : {"folder.pdf", "folder.svg"})
        QVERIFY(QDir(dir.path()).mkdir(QLatin1String(name)));
    for (QString &a : args)
        a.replace(QLatin1String("%D"), dir.path())
            .replace(QLatin1String("%S"), QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf"));

    const Run r = Tool(args);
    QCOMPARE(QString::fromUtf8(r.Err), QString(message).replace(QLatin1String("%D"), dir.path()) + '\n');
    QCOMPARE(r.ExitCode, 2);
    struct stat st;
    QVERIFY(::stat(QFile::encodeName(dir.filePath(special)).constData(), &st) == 0);
    QVERIFY(pipes.contains(special) ? S_ISFIFO(st.st_mode) : S_ISDIR(st.st_mode));
}

QTEST_GUILESS_MAIN(tst_HostileFiles)
#include "tst_HostileFiles.moc"
