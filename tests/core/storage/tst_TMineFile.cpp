// Opening and saving on disk: the messages of the failures, the document's state after each,
// and a save that fails half-way leaving the previous file as it was.
#include "MdfTestFile.h"
#include "MdfTestSupport.h"

#include "model/TBranch.h"
#include "model/TMine.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <new>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace mdftest;

namespace {

QString LoadError(const QString &path)
{
    TMineDocument doc;
    try {
        TMineFile::Load(doc, path);
    } catch (const AppError &e) {
        return e.message();
    }
    return QString();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Allocation failure on demand: the n-th operator new from the moment it is armed throws.
long g_failAt = -1;   // -1: never
long g_allocations = 0;

} // namespace

void *operator new(std::size_t size)
{
    if (g_failAt >= 0 && g_allocations++ == g_failAt)
        throw std::bad_alloc();
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// Callers of the non-throwing form handle a null themselves (stable_sort's buffer): not injected.
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

class TestMineFile : public QObject {
    Q_OBJECT

private slots:
    void loadFailures_data();
    void loadFailures();
    void loadMarksTheDocument();
    void largeFileReadFromItsPages();
    void fileShortenedWhileRead();
    void saveMarksTheDocument();
    void largeFileSavedInChunks();
    void saveIntoMissingFolder();
    void failedSaveKeepsThePreviousFile();
    void loadOutOfMemory();
};

void TestMineFile::loadFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    File f;
    QTest::newRow("missing") << QStringLiteral("missing.mdf") << QByteArray()
                             << kReadPrefix + QStringLiteral("файл не найден");
    QTest::newRow("not a mine file") << QStringLiteral("text.mdf") << QByteArray("hello, this is text\n")
                                     << kUnknownFormat;
    QTest::newRow("truncated copy") << QStringLiteral("cut.mdf") << f.Build().left(30) << kUnknownFormat;
    f.Minor = 25;
    QTest::newRow("newer") << QStringLiteral("new.mdf") << f.Build() << kNewerVersion;
}

void TestMineFile::loadFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!bytes.isEmpty())
        WriteFile(path, bytes);
    QCOMPARE(LoadError(path), message);
}

void TestMineFile::loadMarksTheDocument()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("шахта.mdf"));
    File f;
    f.Minor = 10;
    f.Branches = {Branch{}};
    WriteFile(path, f.Build());
    TMineDocument doc;
    TMineFile::Load(doc, path);
    QVERIFY(doc.HasFile());
    QCOMPARE(doc.FileName(), path);
    QCOMPARE(doc.FileVersion(), 110);
    QVERIFY(!doc.Mine()->Modified());
    QVERIFY(!doc.Mine()->Updating());
}

// A file is read a chunk at a time: a file of several megabytes whose stoppings (read last,
// placed after all are read) span more than a megabyte reads as the same document as its bytes
// in memory.
void TestMineFile::largeFileReadFromItsPages()
{
    File f;
    for (int i = 1; i <= 6000; ++i) {
        Branch b;
        b.Number = i;
        b.Comment = QByteArray(300, char('a' + i % 26));
        f.Branches.append(b);
    }
    for (int i = 0; i < 24000; ++i) {
        Stopping s;
        s.BranchIndex = 1 + (i * 7) % 6000;
        s.Caption = QByteArray::number(i);
        s.Position = double(i % 10) / 10;
        s.Thickness = i;
        f.Stoppings.append(s);
    }
    const QByteArray bytes = f.Build();
    QVERIFY(bytes.size() > 4 * 1024 * 1024);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.mdf"));
    WriteFile(path, bytes);
    TMineDocument mapped;
    TMineFile::Load(mapped, path);
    const auto inMemory = Read(bytes);
    QCOMPARE(mapped.Mine()->Jumpers().Count(), 24000);
    QVERIFY(TMdfWriter::Write(mapped) == TMdfWriter::Write(*inMemory));
}

// Another program cuts the file between its opening and its reading (a mapped file would end
// the process with a bus error, and the editor with it): the read fails as a damaged file. Run
// in a child process, which reports its exit status and message.
void TestMineFile::fileShortenedWhileRead()
{
    File f;
    for (int i = 1; i <= 4000; ++i) {
        Branch b;
        b.Number = i;
        b.Comment = QByteArray(200, 'c');
        f.Branches.append(b);
    }
    QTemporaryDir dir;
    static QString path;
    path = dir.filePath(QStringLiteral("shrinking.mdf"));
    WriteFile(path, f.Build());
    QVERIFY(QFileInfo(path).size() > 512 * 1024);

    int pipeFds[2];
    QCOMPARE(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        TMineFile::SetReadHookForTests([](const QString &p) {
            if (::truncate(QFile::encodeName(p).constData(), 100 * 1024) != 0)
                ::_exit(3);
        });
        const QByteArray message = LoadError(path).toUtf8();
        if (::write(pipeFds[1], message.constData(), size_t(message.size())) != message.size())
            ::_exit(4);
        ::_exit(message.isEmpty() ? 0 : 2);
    }
    ::close(pipeFds[1]);
    QByteArray message;
    char buf[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        message.append(buf, n);
    ::close(pipeFds[0]);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), qPrintable(QStringLiteral("ended by signal %1").arg(WTERMSIG(status))));
    QCOMPARE(WEXITSTATUS(status), 2);
    QCOMPARE(QString::fromUtf8(message), kDamaged);
}

void TestMineFile::saveMarksTheDocument()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.mdf"));
    TMineDocument doc;
    doc.Mine()->AddBranch(1, 1, 2, QStringLiteral("ветвь"), 2.0f);
    doc.Mine()->SetModified(true);
    TMineFile::Save(doc, path);
    QVERIFY(doc.HasFile());
    QCOMPARE(doc.FileName(), path);
    QVERIFY(!doc.Mine()->Modified());

    TMineDocument again;
    TMineFile::Load(again, path);
    QCOMPARE(again.Mine()->Branches().Items(1)->Comment(), QStringLiteral("ветвь"));
    QCOMPARE(ReadFile(path).size(), QFileInfo(path).size());
}

// A file of many chunks is written as it is laid out, its size field filled in at the end: the
// same bytes as laid out in memory.
void TestMineFile::largeFileSavedInChunks()
{
    TMineDocument doc;
    for (int i = 1; i <= 6000; ++i)
        doc.Mine()->AddBranch(i, i, i + 1, QString(300, QChar(u'а' + i % 32)), 1.0f);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.mdf"));
    TMineFile::Save(doc, path);
    const QByteArray saved = ReadFile(path);
    QVERIFY(saved.size() > 1024 * 1024);
    QCOMPARE(saved, TMdfWriter::Write(doc));
}

void TestMineFile::saveIntoMissingFolder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no/such/folder/x.mdf"));
    TMineDocument doc;
    doc.Mine()->SetModified(true);
    QString message;
    try {
        TMineFile::Save(doc, path);
    } catch (const AppError &e) {
        message = e.message();
    }
    QVERIFY(message.startsWith(kReadPrefix));
    QVERIFY(!doc.HasFile());
    QVERIFY(doc.Mine()->Modified());
    QCOMPARE(doc.FileName(), path);
}

// The disk "fills up" in the middle of the save: the user's previous file must survive whole.
void TestMineFile::failedSaveKeepsThePreviousFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mine.mdf"));
    File small;
    small.Branches = {Branch{}};
    const QByteArray previous = small.Build();
    WriteFile(path, previous);

    TMineDocument doc;
    TMineFile::Load(doc, path);
    for (int i = 0; i < 20000; ++i)
        doc.Mine()->AddBranch(i + 2, 1, 2, QStringLiteral("длинный комментарий к выработке"), 3.0f);
    doc.Mine()->SetModified(true);

    struct rlimit old;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = old;
    limited.rlim_cur = 64 * 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    QString message;
    try {
        TMineFile::Save(doc, path);
    } catch (const AppError &e) {
        message = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(message, QStringLiteral("Ошибка при записи в файл"));
    QCOMPARE(ReadFile(path), previous);
    QVERIFY(doc.Mine()->Modified());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("mine.mdf")});
}

// Running out of memory anywhere in reading is reported as a read failure in the user's words
// (or absorbed, and the whole document read); nothing half-made is left to crash on.
void TestMineFile::loadOutOfMemory()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mine.mdf"));
    File f;
    f.Layers = {Group{1, "seam", 0}};
    f.Nodes = QList<Node>(3, Node{});
    Branch b;
    b.Comment = "comment";
    b.People = {Person{}, Person{}};
    f.Branches = QList<Branch>(3, b);
    f.Stoppings = {Stopping{}};
    WriteFile(path, f.Build());

    g_allocations = 0;
    g_failAt = LONG_MAX;   // count only
    {
        TMineDocument doc;
        TMineFile::Load(doc, path);
    }
    const long total = g_allocations;
    g_failAt = -1;
    QVERIFY(total > 20);

    for (long k = 0; k < total; ++k) {
        TMineDocument doc;
        QString message;
        g_allocations = 0;
        g_failAt = k;
        try {
            TMineFile::Load(doc, path);
        } catch (const AppError &e) {
            message = e.message();
        } catch (const std::exception &e) {
            message = QString::fromUtf8(e.what());
        }
        g_failAt = -1;
        const QString where = QStringLiteral("allocation %1 of %2").arg(k).arg(total);
        if (message.isEmpty())
            QVERIFY2(doc.Mine()->Jumpers().Count() == 1 && doc.Mine()->Branches().Items(3), qPrintable(where));
        else
            QVERIFY2(message == kReadPrefix + QStringLiteral("недостаточно памяти для открытия файла"),
                     qPrintable(where + ": " + message));
    }
}

QTEST_GUILESS_MAIN(TestMineFile)
#include "tst_TMineFile.moc"
