#pragma once
// Running tarvel-mdf as a user or a script does, and the files it reads and writes.
#include <QFile>
#include <QProcess>
#include <QtTest>
#include <functional>

namespace tooltest {

struct Run {
    int ExitCode = -1;
    QByteArray Out, Err;
};

// stdinFile: the file standard input reads (none: an empty input); childSetup runs in the
// child before the tool starts (limits).
inline Run Tool(const QStringList &args, const QString &stdinFile = QString(),
                const std::function<void()> &childSetup = {})
{
    QProcess p;
    p.setStandardInputFile(stdinFile.isEmpty() ? QProcess::nullDevice() : stdinFile);
    if (childSetup)
        p.setChildProcessModifier(childSetup);
    p.start(QStringLiteral(TARVEL_BIN_DIR "/tarvel-mdf"), args);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    return r;
}

inline void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

inline QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace tooltest
