// The editor as the shell starts it: what main settles before the first window.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

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
};

// Past a file-size limit a save must fail with its message, not end the program (and every
// unsaved document in it) by SIGXFSZ.
void tst_ProgramStart::editorIgnoresFileSizeSignal()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    for (const char *sub : {"config", "run", "tmp"})
        QVERIFY(QDir(home.path()).mkdir(QLatin1String(sub)));
    QFile::setPermissions(home.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("TMPDIR"), home.filePath(QStringLiteral("tmp")));

    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });   // nothing inherited
    editor.start(QStringLiteral(TARVEL_BIN_DIR "/tarvel"), {});
    QVERIFY(editor.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(Ignores(editor.processId(), SIGXFSZ), 15000);
    editor.kill();
    editor.waitForFinished();
}

QTEST_GUILESS_MAIN(tst_ProgramStart)
#include "tst_ProgramStart.moc"
