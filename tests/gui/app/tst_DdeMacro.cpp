// The request syntax documents arrive in from another start of the program, and the
// hand-over itself over the local socket.
#include "app/DdeMacro.h"
#include "app/TSingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <QtTest>

class tst_DdeMacro : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void openPaths_data();
    void openPaths();
    void buildRoundTrip();
    void lowerCase1251();
    void resolveLetterCase();
    void handOver();
    void secondListenerRefused();
    void oversizedRequestDropped();
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
    QTest::newRow("quoted capitals") << three << 1 << true << "open" << QStringLiteral("c:\\mines\\шахта.mdf");
    QTest::newRow("unquoted") << three << 2 << true << "open" << "d:\\data\\b.mdf";
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
    QTest::newRow("blanks before argument") << "[open(  \"Q.mdf\" )]" << 1 << true << "open" << "q.mdf";
    QTest::newRow("text between commands skipped") << "junk [a] more [b(1)]" << 2 << true << "b" << "1";
    QTest::newRow("no bracket") << "open(x)" << 1 << false << "" << "";
    QTest::newRow("unterminated name") << "[open" << 1 << false << "" << "";
    QTest::newRow("text ends after bracket") << "[   " << 1 << false << "" << "";
    QTest::newRow("unterminated quote runs to the end") << "[open(\"abc" << 1 << true << "open" << "abc";
    QTest::newRow("unquoted runs to bracket") << "[open(abc]" << 1 << true << "open" << "abc";
    QTest::newRow("n zero") << "[a]" << 0 << false << "" << "";
    QTest::newRow("Cyrillic Ё and Latin") << "[OPEN(\"ЁЖИК Zz\")]" << 1 << true << "open" << "ёжик zz";
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
        << QStringList{"/mines/a.mdf", "/mines/b.mdf"};
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
    QStringList lowered;
    for (const QString &p : paths)
        lowered << LowerCase1251(p);
    // Brackets inside a quoted path end the command early only when they are not quoted; these
    // are quoted, so every path comes back whole.
    QCOMPARE(DdeOpenPaths(macro), lowered);
}

void tst_DdeMacro::lowerCase1251()
{
    QCOMPARE(LowerCase1251(QStringLiteral("ABCXYZ АБВЯ Ё Ґ Ї Є Ў")), QStringLiteral("abcxyz абвя ё ґ ї є ў"));
    // Letters outside the code page keep their case.
    QCOMPARE(LowerCase1251(QStringLiteral("ÀΩ")), QStringLiteral("ÀΩ"));
}

void tst_DdeMacro::resolveLetterCase()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("Шахты/Север")));
    const QString real = tmp.path() + QStringLiteral("/Шахты/Север/Участок.MDF");
    QFile f(real);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    // The temporary folder itself is found as it is; the rest by letter case.
    const QString lowered = tmp.path() + LowerCase1251(QStringLiteral("/Шахты/Север/Участок.MDF"));
    QCOMPARE(ResolvePathLetterCase(lowered), real);
    QCOMPARE(ResolvePathLetterCase(real), real);
    const QString missing = tmp.path() + QStringLiteral("/шахты/юг/x.mdf");
    QCOMPARE(ResolvePathLetterCase(missing), missing);
}

namespace {
QString uniqueServerName()
{
    return QStringLiteral("tarvel-test-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
}

// Sends from another thread while this one serves the request.
class Sender : public QThread {
public:
    Sender(QString server, QString macro) : m_server(std::move(server)), m_macro(std::move(macro)) {}
    bool ok = false;

protected:
    void run() override { ok = TSingleInstance::SendRequest(m_server, m_macro, 5000); }

private:
    QString m_server;
    QString m_macro;
};
} // namespace

void tst_DdeMacro::handOver()
{
    const QString name = uniqueServerName();
    TSingleInstance first(name);
    QVERIFY(first.Listen());
    QSignalSpy spy(&first, &TSingleInstance::ExecuteRequested);
    const QString macro = BuildDdeOpenMacro({QStringLiteral("/tmp/Шахта №1.mdf")});
    Sender sender(name, macro);
    sender.start();
    QTRY_VERIFY_WITH_TIMEOUT(sender.isFinished(), 10000);
    QVERIFY(sender.ok);
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

QTEST_MAIN(tst_DdeMacro)
#include "tst_DdeMacro.moc"
