// The request syntax documents arrive in from another start of the program, and the
// hand-over itself over the local socket.
#include "app/DdeMacro.h"
#include "app/TSingleInstance.h"
#include "RequestSender.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

class tst_DdeMacro : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void openPaths_data();
    void openPaths();
    void buildRoundTrip();
    void lowerCase1251();
    void handOver();
    void secondListenerRefused();
    void oversizedRequestDropped();
    void sessionKey_data();
    void sessionKey();
    void socketFolder();
    void displaysApart();
    void staleSocketTakenOver();
    void strangersListenerRefused();
};

// Each row: macro, n, expected found, name, argument.
void tst_DdeMacro::parse_data()
{
    QTest::addColumn<QString>("macro");
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("argument");

    const QString three = QStringLiteral("[Open(\"C:\\Mines\\Шахта.MDF\")][open(D:\\Data\\B.mdf)][Print(\"x\")]");
    QTest::newRow("quoted capitals") << three << 1 << true << "open" << QStringLiteral("C:\\Mines\\Шахта.MDF");
    QTest::newRow("unquoted") << three << 2 << true << "open" << "D:\\Data\\B.mdf";
    QTest::newRow("other command") << three << 3 << true << "print" << "x";
    QTest::newRow("past the end") << three << 4 << false << "" << "";
    QTest::newRow("empty brackets") << "[]" << 1 << true << "" << "";
    QTest::newRow("empty brackets, nothing after") << "[]" << 2 << false << "" << "";
    QTest::newRow("blanks in empty brackets") << "[ \t\r\n]" << 1 << true << "" << "";
    QTest::newRow("backslash quote") << R"([open("a\"b.mdf")])" << 1 << true << "open" << "a\"b.mdf";
    QTest::newRow("backslash kept before other characters") << R"([open("c:\dir\x.mdf")])" << 1 << true << "open" << R"(c:\dir\x.mdf)";
    QTest::newRow("name without argument") << "[ FileExit ]" << 1 << true << "fileexit" << "";
    QTest::newRow("empty argument, paren") << "[open()][open(x)]" << 2 << true << "open" << "x";
    QTest::newRow("empty argument, bracket") << "[open(]" << 1 << true << "open" << "";
    QTest::newRow("blanks before argument") << "[open(  \"Q.mdf\" )]" << 1 << true << "open" << "Q.mdf";
    QTest::newRow("text between commands skipped") << "junk [a] more [b(1)]" << 2 << true << "b" << "1";
    QTest::newRow("no bracket") << "open(x)" << 1 << false << "" << "";
    QTest::newRow("unterminated name") << "[open" << 1 << false << "" << "";
    QTest::newRow("text ends after bracket") << "[   " << 1 << false << "" << "";
    QTest::newRow("unterminated quote runs to the end") << "[open(\"abc" << 1 << true << "open" << "abc";
    QTest::newRow("unquoted runs to bracket") << "[open(abc]" << 1 << true << "open" << "abc";
    QTest::newRow("n zero") << "[a]" << 0 << false << "" << "";
    QTest::newRow("name in capitals, argument as given") << "[OPEN(\"ЁЖИК Zz\")]" << 1 << true << "open" << "ЁЖИК Zz";
}

void tst_DdeMacro::parse()
{
    QFETCH(QString, macro);
    QFETCH(int, n);
    QFETCH(bool, found);
    QFETCH(QString, name);
    QFETCH(QString, argument);
    QString gotName = QStringLiteral("junk");
    QString gotArg = QStringLiteral("junk");
    QCOMPARE(ParseDdeMacro(macro, n, gotName, gotArg), found);
    if (found) {
        QCOMPARE(gotName, name);
        QCOMPARE(gotArg, argument);
    }
}

void tst_DdeMacro::openPaths_data()
{
    QTest::addColumn<QString>("macro");
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("two opens and a print")
        << QStringLiteral("[open(\"/Mines/A.MDF\")][open(/mines/b.mdf)][print(\"/c.mdf\")]")
        << QStringList{"/Mines/A.MDF", "/mines/b.mdf"};
    QTest::newRow("only empty brackets") << "[]" << QStringList{};
    QTest::newRow("second line ignored") << "[open(a.mdf)]\r\n[open(b.mdf)]" << QStringList{"a.mdf"};
    QTest::newRow("open without argument ignored") << "[open][open()][open(c.mdf)]" << QStringList{"c.mdf"};
}

void tst_DdeMacro::openPaths()
{
    QFETCH(QString, macro);
    QFETCH(QStringList, paths);
    QCOMPARE(DdeOpenPaths(macro), paths);
}

void tst_DdeMacro::buildRoundTrip()
{
    const QStringList paths{QStringLiteral("/tmp/a b/mine.mdf"), QStringLiteral("/tmp/say \"hi\".mdf"),
                            QStringLiteral("/tmp/(x)[y].mdf")};
    const QString macro = BuildDdeOpenMacro(paths);
    QCOMPARE(macro.count(QStringLiteral("[open(\"")), 3);
    // Brackets inside a quoted path end the command early only when they are not quoted; these
    // are quoted, so every path comes back whole.
    QCOMPARE(DdeOpenPaths(macro), paths);
}

void tst_DdeMacro::lowerCase1251()
{
    QCOMPARE(LowerCase1251(QStringLiteral("ABCXYZ АБВЯ Ё Ґ Ї Є Ў")), QStringLiteral("abcxyz абвя ё ґ ї є ў"));
    // Letters outside the code page keep their case.
    QCOMPARE(LowerCase1251(QStringLiteral("ÀΩ")), QStringLiteral("ÀΩ"));
}

namespace {
QString uniqueServerName()
{
    return QStringLiteral("tarvel-test-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
}

} // namespace

void tst_DdeMacro::handOver()
{
    const QString name = uniqueServerName();
    TSingleInstance first(name);
    QVERIFY(first.Listen());
    QSignalSpy spy(&first, &TSingleInstance::ExecuteRequested);
    const QString macro = BuildDdeOpenMacro({QStringLiteral("/tmp/Шахта №1.mdf")});
    QVERIFY(SendFromThread(name, macro));
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), macro);
}

void tst_DdeMacro::secondListenerRefused()
{
    const QString name = uniqueServerName();
    TSingleInstance first(name);
    QVERIFY(first.Listen());
    TSingleInstance second(name);
    QVERIFY(!second.Listen());
    // Nobody listening: a request is not acknowledged.
    QVERIFY(!TSingleInstance::SendRequest(uniqueServerName(), QStringLiteral("[open(x)]"), 500));
}

void tst_DdeMacro::oversizedRequestDropped()
{
    const QString name = uniqueServerName();
    TSingleInstance first(name);
    QVERIFY(first.Listen());
    QSignalSpy spy(&first, &TSingleInstance::ExecuteRequested);
    // A length far beyond the limit: the connection is dropped without reading a body.
    QLocalSocket socket;
    socket.connectToServer(name);
    QVERIFY(socket.waitForConnected(2000));
    const quint32 huge = qToBigEndian(quint32(0xFFFFFFF0u));
    socket.write(reinterpret_cast<const char *>(&huge), sizeof huge);
    socket.flush();
    QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(spy.count(), 0);
}

void tst_DdeMacro::sessionKey_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("key");
    QTest::newRow("X display") << ":53" << "wayland-0" << "7" << "_53";
    QTest::newRow("screen number dropped") << ":53.0" << "" << "" << "_53";
    QTest::newRow("remote display") << "host.lan:10.1" << "" << "" << "host.lan_10";
    QTest::newRow("Wayland") << "" << "wayland-1" << "7" << "wayland-1";
    QTest::newRow("session only") << "" << "" << "c2" << "c2";
    QTest::newRow("nothing") << "" << "" << "" << "";
}

void tst_DdeMacro::sessionKey()
{
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(QString, session);
    QFETCH(QString, key);
    const char *names[] = {"DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_ID"};
    const QString values[] = {display, wayland, session};
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i) {
        saved[i] = qgetenv(names[i]);
        qputenv(names[i], values[i].toUtf8());
    }
    const QString got = TSingleInstance::SessionKey();
    for (int i = 0; i < 3; ++i)
        qputenv(names[i], saved[i]);
    QCOMPARE(got, key);
}

void tst_DdeMacro::socketFolder()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString runtime = tmp.filePath("run");
    QVERIFY(QDir().mkdir(runtime));
    const QString own = tmp.filePath(QStringLiteral("tarvel-%1").arg(::getuid()));
    auto folderOf = [&](const QString &runtimeDir) {
        const QString name = TSingleInstance::ServerNameFor(runtimeDir, tmp.path(), "_53");
        return name.isEmpty() ? QString() : QFileInfo(name).path();
    };
    auto mode = [](const QString &path) {
        struct stat st {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
    };

    ::chmod(QFile::encodeName(runtime).constData(), 0700);
    QCOMPARE(folderOf(runtime), runtime);
    QVERIFY(TSingleInstance::ServerNameFor(runtime, tmp.path(), "_53").endsWith("-_53"));
    // A runtime folder others may enter, or none: our own folder under the temporary one.
    ::chmod(QFile::encodeName(runtime).constData(), 0755);
    QCOMPARE(folderOf(runtime), own);
    QCOMPARE(mode(own), 0700);
    ::chmod(QFile::encodeName(own).constData(), 0777);
    QCOMPARE(folderOf(QString()), own);
    QCOMPARE(mode(own), 0700);
    // A link in its place, or a folder of another user: no hand-over at all.
    QVERIFY(QDir(own).removeRecursively());
    QVERIFY(QFile::link(runtime, own));
    QCOMPARE(folderOf(QString()), QString());
    QVERIFY(QFile::remove(own));
    if (::getuid() == 0) {
        QVERIFY(QDir().mkdir(own));
        QCOMPARE(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
        QCOMPARE(folderOf(QString()), QString());
    }
}

void tst_DdeMacro::displaysApart()
{
    // Two displays of one user: two first instances, each receiving only its own documents.
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString here = TSingleInstance::ServerNameFor(QString(), tmp.path(), "_53");
    const QString there = TSingleInstance::ServerNameFor(QString(), tmp.path(), "_54");
    QVERIFY(here != there);
    TSingleInstance first(here);
    TSingleInstance other(there);
    QVERIFY(first.Listen());
    QVERIFY(other.Listen());
    QSignalSpy spyFirst(&first, &TSingleInstance::ExecuteRequested);
    QSignalSpy spyOther(&other, &TSingleInstance::ExecuteRequested);
    QVERIFY(SendFromThread(there, QStringLiteral("[open(x.mdf)]")));
    QTRY_COMPARE(spyOther.count(), 1);
    QCOMPARE(spyFirst.count(), 0);
}

namespace {
// A Unix socket bound at path; -1 on failure.
int boundSocket(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    if (size_t(native.size()) >= sizeof addr.sun_path)
        return -1;
    memcpy(addr.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

void tst_DdeMacro::staleSocketTakenOver()
{
    // A crashed first instance leaves its socket file behind with nobody listening on it.
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString name = TSingleInstance::ServerNameFor(QString(), tmp.path(), "_53");
    const int fd = boundSocket(name);
    QVERIFY(fd >= 0);
    ::close(fd);
    QVERIFY(QFileInfo::exists(name));
    TSingleInstance first(name);
    QVERIFY(first.Listen());
    QSignalSpy spy(&first, &TSingleInstance::ExecuteRequested);
    QVERIFY(SendFromThread(name, QStringLiteral("[open(x.mdf)]")));
    QTRY_COMPARE(spy.count(), 1);
}

void tst_DdeMacro::strangersListenerRefused()
{
    if (::getuid() != 0)
        QSKIP("a listener of another user needs the rights to become that user");
    // Another user listens on the name first: nothing is sent to it, and it is not taken over.
    // A folder the stranger can reach whatever our own temporary folder is.
    QTemporaryDir tmp(QStringLiteral("/tmp/tarvel-stranger-XXXXXX"));
    QVERIFY(tmp.isValid());
    ::chmod(QFile::encodeName(tmp.path()).constData(), 0777);
    const QString name = tmp.filePath("tarvel-_53");
    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // The stranger: reports whether any byte of a request reached it.
        ::close(ready[0]);
        ::alarm(20);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        const int fd = boundSocket(name);
        if (fd < 0 || ::listen(fd, 4) != 0)
            ::_exit(3);
        if (::write(ready[1], "r", 1) != 1)
            ::_exit(3);
        int received = 0;
        for (int i = 0; i < 2; ++i) {   // the sender, then the would-be first instance
            const int c = ::accept(fd, nullptr, nullptr);
            char buf[16];
            if (c >= 0 && ::read(c, buf, sizeof buf) > 0)
                received = 1;
            ::close(c);
        }
        ::_exit(received);
    }
    ::close(ready[1]);
    char r = 0;
    const ssize_t started = ::read(ready[0], &r, 1);
    ::close(ready[0]);
    int status = 0;
    if (started != 1) {
        ::waitpid(child, &status, 0);
        QFAIL("the stranger's listener did not start");
    }
    QVERIFY(!TSingleInstance::SendRequest(name, QStringLiteral("[open(secret.mdf)]"), 2000));
    TSingleInstance first(name);
    QVERIFY(!first.Listen());
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFileInfo::exists(name));
}

QTEST_MAIN(tst_DdeMacro)
#include "tst_DdeMacro.moc"
