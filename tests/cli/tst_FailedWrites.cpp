// Every file tarvel-mdf writes, when the writing fails at its very end (past a file-size limit,
// on a full disk, a little short of the whole output): exit 2 with a message, the old files as
// they were, nothing left beside them. The last write is the one a writer most easily forgets
// to check.
#include "FailedWrites.h"
#include "ToolRun.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace failedwrites;
using namespace tooltest;

namespace {

const QString kSample = QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf");

} // namespace

class tst_FailedWrites : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pastFileSizeLimit_data() { writers(); }
    void pastFileSizeLimit();
    void onFullDisk_data() { writers(); }
    void onFullDisk();

private:
    void writers();
    // What the command writes when nothing stands in its way, by name.
    QMap<QString, QByteArray> written(const QStringList &args) const;
    static QMap<QString, QByteArray> oldFiles(const QMap<QString, QByteArray> &outputs);
    QStringList argsFor(QStringList args, const QString &out) const;
    void checkKept(const Run &run, const QMap<QString, QByteArray> &before, const QMap<QString, QByteArray> &after);

    QTemporaryDir FInputs;
};

void tst_FailedWrites::initTestCase()
{
    QCOMPARE(Tool({QStringLiteral("export-csv"), kSample, FInputs.path()}).ExitCode, 0);
    QCOMPARE(Tool({QStringLiteral("export-dxf"), kSample, FInputs.filePath(QStringLiteral("sample.dxf"))}).ExitCode, 0);
}

void tst_FailedWrites::writers()
{
    QTest::addColumn<QStringList>("args");  // %D the output folder, %I the inputs' folder
    QTest::newRow("mine file") << QStringList{"convert", kSample, "%D/out.mdf"};
    QTest::newRow("mine from CSV") << QStringList{"import-csv", "%I/nodes.csv", "%I/branches.csv", "%D/out.mdf"};
    // The nodes fit, the branches do not: neither file is replaced.
    QTest::newRow("CSV pair") << QStringList{"export-csv", kSample, "%D"};
    QTest::newRow("report") << QStringList{"report", kSample, "%D/out.pdf"};
    QTest::newRow("PNG picture") << QStringList{"render", kSample, "%D/out.png"};
    QTest::newRow("SVG picture") << QStringList{"render", kSample, "%D/out.svg"};
    QTest::newRow("mine from DXF") << QStringList{"import-dxf", "%I/sample.dxf", "%D/out.mdf"};
    QTest::newRow("DXF drawing") << QStringList{"export-dxf", kSample, "%D/out.dxf"};
}

QMap<QString, QByteArray> tst_FailedWrites::written(const QStringList &args) const
{
    QTemporaryDir out;
    const Run r = Tool(argsFor(args, out.path()));
    if (r.ExitCode != 0)
        return {};
    return FilesIn(out.path());
}

QMap<QString, QByteArray> tst_FailedWrites::oldFiles(const QMap<QString, QByteArray> &outputs)
{
    QMap<QString, QByteArray> old;
    for (auto it = outputs.begin(); it != outputs.end(); ++it)
        old.insert(it.key(), "the user's " + it.key().toUtf8());
    return old;
}

QStringList tst_FailedWrites::argsFor(QStringList args, const QString &out) const
{
    for (QString &a : args)
        a.replace(QLatin1String("%D"), out).replace(QLatin1String("%I"), FInputs.path());
    return args;
}

void tst_FailedWrites::checkKept(const Run &run, const QMap<QString, QByteArray> &before,
                                 const QMap<QString, QByteArray> &after)
{
    QCOMPARE(run.ExitCode, 2);
    // One line: the output by its role, the file, the reason.
    static const QRegularExpression line(QStringLiteral("^tarvel-mdf: (OUT|DIR) /[^\n]+: "
                                                        "(Ошибка при записи в файл|недостаточно свободного места на диске)\n$"));
    QVERIFY2(line.match(QString::fromUtf8(run.Err)).hasMatch(), run.Err.constData());
    QCOMPARE(after, before);
}

void tst_FailedWrites::pastFileSizeLimit()
{
    QFETCH(QStringList, args);
    const QMap<QString, QByteArray> outputs = written(args);
    QVERIFY(!outputs.isEmpty());
    qsizetype largest = 0;
    for (const QByteArray &bytes : outputs)
        largest = std::max(largest, bytes.size());
    QTemporaryDir out;
    const QMap<QString, QByteArray> old = oldFiles(outputs);
    PutFiles(out.path(), old);
    // A little short of the whole: the report's title page carries the time, and its size may
    // differ by a few bytes from one run to the next.
    const Run r = ToolUnderFileSizeLimit(argsFor(args, out.path()), rlim_t(largest - 512));
    checkKept(r, old, FilesIn(out.path()));
}

// The disk has room for the old files and all but the last page of the new ones.
void tst_FailedWrites::onFullDisk()
{
    QFETCH(QStringList, args);
    QString reason;
    if (!SmallDisk::Available(&reason))
        QSKIP(qPrintable(reason));
    const QMap<QString, QByteArray> outputs = written(args);
    QVERIFY(!outputs.isEmpty());
    const auto pages = [](qsizetype bytes) { return int((bytes + 4095) / 4096); };
    int needed = 0;
    for (const QByteArray &bytes : outputs)
        needed += 1 + pages(bytes.size());   // the old file and the new one
    const QMap<QString, QByteArray> old = oldFiles(outputs);
    const SmallDisk::Result r = SmallDisk::Tool(needed - 1, old, argsFor(args, QStringLiteral("%D")));
    checkKept(r.Run, old, r.Files);
}

QTEST_GUILESS_MAIN(tst_FailedWrites)
#include "tst_FailedWrites.moc"
