// The one writer every file of the program goes through: a failure anywhere (a write, the last
// flush) raises and keeps the old file; files that belong together are replaced together or not
// at all; links and permissions of the file replaced stay.
#include "FailedWrites.h"

#include "storage/FileErrors.h"
#include "storage/TSafeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace failedwrites;

namespace {

// The message of the failure, empty when the bytes were committed.
QString WriteThrough(const QString &path, const QByteArray &bytes, qsizetype piece)
{
    try {
        TSafeFile file(path);
        file.Open();
        for (qsizetype at = 0; at < bytes.size(); at += piece)
            file.write(bytes.mid(at, piece));
        file.Commit();
    } catch (const TFileError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

class tst_TSafeFile : public QObject {
    Q_OBJECT

private slots:
    void failureKeepsTheOldFile_data();
    void failureKeepsTheOldFile();
    void committedOverLinkAndPermissions();
    void pairReplacedTogetherOrNotAtAll();
    void refusals_data();
    void refusals();
};

void tst_TSafeFile::failureKeepsTheOldFile_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("piece");
    // Below the buffer only the last flush writes; above it a write in the middle fails, and
    // every write after it.
    QTest::newRow("last flush") << 6000 << 100;
    QTest::newRow("a write in the middle, small pieces") << 900 * 1024 << 1000;
    QTest::newRow("a write in the middle, one piece") << 900 * 1024 << 900 * 1024;
}

void tst_TSafeFile::failureKeepsTheOldFile()
{
    QFETCH(int, size);
    QFETCH(int, piece);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file.bin"));
    tooltest::WriteFile(path, "old");
    QString message;
    {
        FileSizeLimit limit(4096);
        message = WriteThrough(path, QByteArray(size, 'x'), piece);
    }
    QCOMPARE(message, FileErrors::WriteFailedMessage());
    QCOMPARE(FilesIn(dir.path()), (QMap<QString, QByteArray>{{QStringLiteral("file.bin"), "old"}}));
    // Without the limit the same bytes go through.
    QCOMPARE(WriteThrough(path, QByteArray(size, 'x'), piece), QString());
    QCOMPARE(tooltest::ReadFile(path), QByteArray(size, 'x'));
}

void tst_TSafeFile::committedOverLinkAndPermissions()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.csv"));
    const QString link = dir.filePath(QStringLiteral("link.csv"));
    tooltest::WriteFile(target, "old");
    QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    QVERIFY(QFile::link(target, link));
    TSafeFile::Write(link, "new");
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(tooltest::ReadFile(target), QByteArray("new"));
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(target).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, 0640u);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

// The second file cannot take its name (a folder came in its way after it was opened): the
// first gets its old file back, and a first file that was not there before is gone again.
void tst_TSafeFile::pairReplacedTogetherOrNotAtAll()
{
    for (const bool firstExisted : {true, false}) {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("nodes.csv"));
        const QString second = dir.filePath(QStringLiteral("branches.csv"));
        if (firstExisted)
            tooltest::WriteFile(first, "old nodes");
        TSafeFile a(first), b(second);
        a.Open();
        b.Open();
        a.write("new nodes");
        b.write("new branches");
        QVERIFY(QDir().mkpath(second + QStringLiteral("/in-the-way")));
        QVERIFY_THROWS_EXCEPTION(TFileError, TSafeFile::CommitAll({&a, &b}));
        QCOMPARE(QFile::exists(first), firstExisted);
        if (firstExisted)
            QCOMPARE(tooltest::ReadFile(first), QByteArray("old nodes"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), firstExisted ? 1 : 0);
    }
}

void tst_TSafeFile::refusals_data()
{
    QTest::addColumn<QString>("path");  // %D the test's folder
    QTest::addColumn<QString>("reason");
    QTest::newRow("no name") << QString() << FileErrors::Text(FileErrors::BadFileName);
    QTest::newRow("missing folder") << QStringLiteral("%D/no/such.mdf") << QStringLiteral("папка не существует");
    QTest::newRow("a folder") << QStringLiteral("%D") << FileErrors::NotRegularText();
    QTest::newRow("a device") << QStringLiteral("/dev/null") << FileErrors::NotRegularText();
}

void tst_TSafeFile::refusals()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    path.replace(QLatin1String("%D"), dir.path());
    QString refused;
    try {
        TSafeFile::Write(path, "bytes");
    } catch (const TFileError &e) {
        refused = e.Reason();
        QCOMPARE(e.Path(), path);
    }
    QCOMPARE(refused, reason);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty());
}

QTEST_GUILESS_MAIN(tst_TSafeFile)
#include "tst_TSafeFile.moc"
