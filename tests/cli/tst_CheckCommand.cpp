// tarvel-mdf check FILE, run as a separate process: the lines it prints, their encoding and
// decimal separator, and its exit status.
#include "MineText.h"
#include "model/TMine.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result RunCheck(const QString &path, const QString &locale = QStringLiteral("C"))
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LANG"));
    env.remove(QStringLiteral("LC_NUMERIC"));
    env.insert(QStringLiteral("LC_ALL"), locale);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TARVEL_BIN_DIR "/tarvel-mdf"), {QStringLiteral("check"), path});
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace

class tst_CheckCommand : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void check_data();
    void check();
    void unreadableFiles_data();
    void unreadableFiles();

private:
    QString Write(const QString &name, const QString &mine);
    QTemporaryDir m_dir;
};

void tst_CheckCommand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFileInfo::exists(TARVEL_BIN_DIR "/tarvel-mdf"), "build the tarvel-mdf target first");
}

QString tst_CheckCommand::Write(const QString &name, const QString &mine)
{
    TMineDocument doc;
    minetext::Build(*doc.Mine(), mine);
    const QString path = m_dir.filePath(name + QStringLiteral(".mdf"));
    TMineFile::Save(doc, path);
    return path;
}

void tst_CheckCommand::check_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("passes") << "u 1 0 0 0; u 2 10 0 0; u 3 10 5 0; b 1 1 2; b 2 2 3" << "C" << "" << 0;
    QTest::newRow("stage 1 findings with empty lines")
        << "u 5 0.25 0 0; u 5 1 0 0; b 1 5 9 \"Ствол\"; b 1 9 5"
        << "C"
        << "Обнаружены узлы с повторяющимися номерами: \n"
           "  - № 5,  X=0.3,  Y=0.0,  Z=0.0\n"
           "  - № 5,  X=1.0,  Y=0.0,  Z=0.0\n"
           "\n"
           "\n"
           "Обнаружены ветви с повторяющимися номерами: \n"
           "  - № ?, Нач.у.=5, Кон.у.=9,  \"Ствол\"\n"
           "  - № ?, Нач.у.=9, Кон.у.=5\n"
           "\n"
           "Обнаружены ветви, ссылающиеся на несуществующие узлы: \n"
           "  - Ветвь № 1 ссылается на узел № 9\n"
           "  - Ветвь № 1 ссылается на узел № 9\n"
        << 1;
    QTest::newRow("coordinates, C locale")
        << "u 1 -2.5 - 3; u 2 0 0 0; b 1 1 2" << "C"
        << "Обнаружены узлы без указанных коодинат:\n  - № 1,  X=-2.5,  Y=,  Z=3.0\n" << 1;
    QTest::newRow("coordinates, Russian locale")
        << "u 1 -2.5 - 3; u 2 0 0 0; b 1 1 2" << "ru_RU.UTF-8"
        << "Обнаружены узлы без указанных коодинат:\n  - № 1,  X=-2,5,  Y=,  Z=3,0\n" << 1;
    QTest::newRow("stage 3")
        << "u 1 0 0 0; u 2 1 0 0; u 3 1 1 0; b 1 1 2; b 2 2 1; b 3 2 3" << "C"
        << "Нарушение топологии шахты:\n  - Обнаружены параллельные ветви (1 и 2)\n" << 1;
}

void tst_CheckCommand::check()
{
    QFETCH(QString, mine);
    QFETCH(QString, locale);
    QFETCH(QString, output);
    QFETCH(int, exitCode);

    const Result r = RunCheck(Write(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_').remove(','), mine), locale);
    QCOMPARE(QString::fromUtf8(r.out), output);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.err, QByteArray());
}

void tst_CheckCommand::unreadableFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not a mine file") << QByteArray("hello, this is not a mine\n");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("missing file") << QByteArray("<none>");
}

void tst_CheckCommand::unreadableFiles()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QStringLiteral("bad.mdf"));
    QFile::remove(path);
    if (bytes != "<none>") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const Result r = RunCheck(path);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.trimmed().isEmpty());
}

QTEST_GUILESS_MAIN(tst_CheckCommand)
#include "tst_CheckCommand.moc"
