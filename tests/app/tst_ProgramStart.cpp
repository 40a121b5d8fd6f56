// The editor as the shell starts it: what main settles before the first window.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const QString kEditor = QStringLiteral(TARVEL_BIN_DIR "/tarvel");

// A session of its own: home, settings, runtime and temporary folders in dir, and no display
// unless the row names one.
QProcessEnvironment session(const QTemporaryDir &dir)
{
    for (const char *sub : {"config", "run", "tmp"})
        QDir(dir.path()).mkpath(QLatin1String(sub));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("HOME"), dir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("TMPDIR"), dir.filePath(QStringLiteral("tmp")));
    return env;
}

// Whether the process ignores sig, from the kernel's own account of it.
bool Ignores(qint64 pid, int sig)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("SigIgn:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (sig - 1)) & 1;
    return false;
}

} // namespace

class tst_ProgramStart : public QObject {
    Q_OBJECT

private slots:
    void editorIgnoresFileSizeSignal();
    void answersWithoutWindow_data();
    void answersWithoutWindow();
    void documentsGoToTheUsersDocumentsFolder();
};

// Past a file-size limit a save must fail with its message, not end the program (and every
// unsaved document in it) by SIGXFSZ.
void tst_ProgramStart::editorIgnoresFileSizeSignal()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcessEnvironment env = session(home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });   // nothing inherited
    editor.start(kEditor, {});
    QVERIFY(editor.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(Ignores(editor.processId(), SIGXFSZ), 15000);
    editor.kill();
    editor.waitForFinished();
}

// Help and the version need no display; without one the editor says so and ends with 1, never
// the toolkit's abort (134); an unknown option is a usage error.
void tst_ProgramStart::answersWithoutWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("display");   // "" none; "offscreen" the platform; else DISPLAY
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");       // what standard output starts with
    QTest::addColumn<QString>("err");       // what standard error holds
    const QString usage = QStringLiteral("Использование: tarvel [ФАЙЛ...]\n");
    const QString version = QStringLiteral("tarvel (Тарвел) %1.%2.%3.%4\n")
                                .arg(TARVEL_VERSION_MAJOR).arg(TARVEL_VERSION_MINOR)
                                .arg(TARVEL_VERSION_PATCH).arg(TARVEL_VERSION_TWEAK);
    const QString noDisplay = QStringLiteral("tarvel: нет дисплея: ");
    QTest::newRow("--help") << QStringList{"--help"} << "" << 0 << usage << "";
    QTest::newRow("-h after a file") << QStringList{"mine.mdf", "-h"} << "" << 0 << usage << "";
    QTest::newRow("--version") << QStringList{"--version"} << "" << 0 << version << "";
    QTest::newRow("-V") << QStringList{"-V"} << "" << 0 << version << "";
    QTest::newRow("--help after -- is a file") << QStringList{"--", "--help"} << "" << 1 << "" << noDisplay;
    QTest::newRow("no display") << QStringList{} << "" << 1 << "" << noDisplay;
    QTest::newRow("no display, with a file") << QStringList{"mine.mdf"} << "" << 1 << "" << noDisplay;
    QTest::newRow("a display out of reach") << QStringList{} << ":9876" << 1 << "" << noDisplay;
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "offscreen" << 64 << ""
                                    << "tarvel: неизвестный ключ «--frobnicate»; справка: tarvel --help\n";
}

void tst_ProgramStart::answersWithoutWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, display);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir home;
    QProcessEnvironment env = session(home);
    if (display == QLatin1String("offscreen"))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), display);
    else if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.setWorkingDirectory(home.path());
    editor.start(kEditor, arguments);
    QVERIFY(editor.waitForFinished(30000));
    const QString stdOut = QString::fromUtf8(editor.readAllStandardOutput());
    const QString stdErr = QString::fromUtf8(editor.readAllStandardError());
    QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
    QVERIFY2(editor.exitCode() == code, qPrintable(stdErr));
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
    QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qPrintable(stdErr));
    // The refusal is one line, the last thing said.
    if (code == 1)
        QVERIFY2(stdErr.endsWith(u'\n') && stdErr.mid(stdErr.indexOf(err)).count(u'\n') == 1, qPrintable(stdErr));
}

// New documents go to a "Tarvel" folder of the documents folder the user's user-dirs.dirs names,
// even for the program of the build tree (whose folder a clean rebuild deletes).
void tst_ProgramStart::documentsGoToTheUsersDocumentsFolder()
{
    QTemporaryDir home;
    QProcessEnvironment env = session(home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QFile dirs(home.filePath(QStringLiteral("config/user-dirs.dirs")));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n");
    dirs.close();
    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.start(kEditor, {});
    QVERIFY(editor.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(home.filePath(QStringLiteral("Документы/Tarvel"))).isDir(), 15000);
    editor.kill();
    editor.waitForFinished();
}

QTEST_GUILESS_MAIN(tst_ProgramStart)
#include "tst_ProgramStart.moc"
