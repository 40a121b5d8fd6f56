#pragma once
// Writes that fail part way, as on a full disk or past a file-size limit (ulimit -f), for the
// tests that every writer reports the failure and keeps the old file.
#include "ToolRun.h"

#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace failedwrites {

// While it lives, no file this process writes may grow past limit bytes: a write past it fails
// with EFBIG instead of the signal ending the process (the tools ignore that signal too).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit lower = {limit, FOld.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    struct rlimit FOld;
    void (*FOldHandler)(int);
};

// The files of a folder and their bytes, names relative to it (hidden ones too).
inline QMap<QString, QByteArray> FilesIn(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path), tooltest::ReadFile(path));
    }
    return files;
}

inline void PutFiles(const QString &dir, const QMap<QString, QByteArray> &files)
{
    for (auto it = files.begin(); it != files.end(); ++it)
        tooltest::WriteFile(QDir(dir).filePath(it.key()), it.value());
}

// tarvel-mdf in a child process whose files may not grow past limit bytes.
inline tooltest::Run ToolUnderFileSizeLimit(const QStringList &args, rlim_t limit)
{
    return tooltest::Tool(args, QString(), [limit] {
        const struct rlimit lower = {limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &lower);
    });
}

// A small disk: a tmpfs mounted in a mount namespace of its own (unshare, as an unprivileged
// user too where the system allows user namespaces), which only the child sees.
class SmallDisk {
public:
    // Whether this machine lets a test mount one; why not in *reason.
    static bool Available(QString *reason)
    {
        const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
        if (unshare.isEmpty()) {
            *reason = QStringLiteral("unshare is not installed");
            return false;
        }
        QTemporaryDir dir;
        QProcess p;
        p.start(unshare, {QStringLiteral("-rm"), QStringLiteral("mount"), QStringLiteral("-t"), QStringLiteral("tmpfs"),
                          QStringLiteral("-o"), QStringLiteral("size=8k"), QStringLiteral("tmpfs"), dir.path()});
        if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return true;
        *reason = QStringLiteral("no tmpfs can be mounted in a user namespace here: ")
                  + QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return false;
    }

    struct Result {
        tooltest::Run Run;
        QMap<QString, QByteArray> Files; // on the disk afterwards
    };

    // tarvel-mdf with args (%D standing for the disk's folder) on a disk of pages 4 KiB pages
    // that holds files beforehand.
    static Result Tool(int pages, const QMap<QString, QByteArray> &files, QStringList args)
    {
        QTemporaryDir disk, before, after;
        PutFiles(before.path(), files);
        for (QString &a : args)
            a.replace(QLatin1String("%D"), disk.path());
        static const char kScript[] = "d=$1; before=$2; after=$3; size=$4; shift 4\n"
                                      "mount -t tmpfs -o size=$size tmpfs \"$d\" || exit 77\n"
                                      "cp -a \"$before/.\" \"$d/\" || exit 78\n"
                                      "\"$@\"; status=$?\n"
                                      "cp -a \"$d/.\" \"$after/\"\n"
                                      "exit $status\n";
        QProcess p;
        p.start(QStandardPaths::findExecutable(QStringLiteral("unshare")),
                QStringList{QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), QLatin1String(kScript),
                            QStringLiteral("sh"), disk.path(), before.path(), after.path(),
                            QStringLiteral("%1k").arg(4 * pages), QStringLiteral(TARVEL_BIN_DIR "/tarvel-mdf")}
                    + args);
        Result r;
        if (!p.waitForFinished(60000))
            return r;
        r.Run.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.Run.Out = p.readAllStandardOutput();
        r.Run.Err = p.readAllStandardError();
        r.Files = FilesIn(after.path());
        return r;
    }
};

} // namespace failedwrites
