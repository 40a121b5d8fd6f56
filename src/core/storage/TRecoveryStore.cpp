#include "storage/TRecoveryStore.h"

#include "AppError.h"
#include "storage/FileErrors.h"
#include "storage/TSafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "<pid>-<8 hex digits>": the process and a random part, since process numbers come round again.
const QString kSessionPattern = QStringLiteral("[0-9]+-[0-9a-f]{8}");
// A description larger than this is not one of ours.
constexpr qint64 kMaxInfoSize = 64 * 1024;

QString Unusable(const QString &folder)
{
    return QStringLiteral("Папка копий для восстановления документов недоступна: %1").arg(folder);
}

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

// Opens (creating) a lock file and takes its lock without waiting; -1 when another process
// holds it or the file cannot be had.
int TakeLock(const QString &path)
{
    const int fd = ::open(Native(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Through the one writer of every file the program replaces.
void WriteWhole(const QString &path, const QByteArray &bytes)
{
    TSafeFile file(path);
    file.Open();
    file.write(bytes);   // a failed write is kept and raised by Commit
    file.Commit();
}

QByteArray InfoText(const TRecoveryInfo &info)
{
    QJsonObject o;
    o.insert(QStringLiteral("file"), info.FileName);
    o.insert(QStringLiteral("hasFile"), info.HasFile);
    o.insert(QStringLiteral("time"), info.Time.toUTC().toString(Qt::ISODateWithMs));
    return QJsonDocument(o).toJson();
}

// What the description beside a copy says; the copy's own time and an untitled document where
// it says nothing readable.
TRecoveryInfo ReadInfo(const QString &infoPath, const QString &copyPath)
{
    TRecoveryInfo info;
    info.Time = QFileInfo(copyPath).lastModified();
    QFile file(infoPath);
    const QFileInfo about(infoPath);
    if (!about.isFile() || about.isSymLink() || about.size() > kMaxInfoSize || !file.open(QIODevice::ReadOnly))
        return info;
    const QJsonObject o = QJsonDocument::fromJson(file.read(kMaxInfoSize)).object();
    const QDateTime time = QDateTime::fromString(o.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    if (time.isValid())
        info.Time = time.toLocalTime();
    info.FileName = o.value(QStringLiteral("file")).toString();
    info.HasFile = o.value(QStringLiteral("hasFile")).toBool() && !info.FileName.isEmpty();
    return info;
}

} // namespace

QString TRecoveryStore::DefaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state + QStringLiteral("/tarvel/recovery"));
}

TRecoveryStore::TRecoveryStore(const QString &folder) : FFolder(QDir::cleanPath(folder))
{
    // Copies of the user's unsaved work are for the user's eyes only.
    if (!QDir().mkpath(FFolder) || !QFileInfo(FFolder).isDir()
        || ::chmod(Native(FFolder).constData(), 0700) != 0)
        throw AppError(Unusable(FFolder));
    FSession = QStringLiteral("%1-%2").arg(::getpid()).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    FLockFd = TakeLock(lockPath(FSession));
    if (FLockFd < 0)
        throw AppError(Unusable(FFolder));
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::write(FLockFd, pid.constData(), size_t(pid.size())) < 0) {
        // The number in the file is for people looking into the folder; the lock is what counts.
    }
}

TRecoveryStore::~TRecoveryStore()
{
    {
        std::unique_lock lock(FMutex);
        FStop = true;
    }
    FWake.notify_all();
    if (FThread.joinable())
        FThread.join();   // the queue is worked off first
    ReleaseLeftovers();
    if (FLockFd >= 0) {
        ::unlink(Native(lockPath(FSession)).constData());
        ::close(FLockFd);
    }
}

QString TRecoveryStore::lockPath(const QString &session) const
{
    return FFolder + u'/' + session + QStringLiteral(".lock");
}

QString TRecoveryStore::CopyPath(int slot) const
{
    return QStringLiteral("%1/%2-%3.mdf").arg(FFolder, FSession).arg(slot);
}

QString TRecoveryStore::infoPath(const QString &copyPath) const
{
    return copyPath.chopped(4) + QStringLiteral(".json");
}

void TRecoveryStore::Write(int slot, const QByteArray &mdf, const TRecoveryInfo &info)
{
    const QString copy = CopyPath(slot);
    WriteWhole(copy, mdf);
    WriteWhole(infoPath(copy), InfoText(info));
}

void TRecoveryStore::Remove(int slot)
{
    const QString copy = CopyPath(slot);
    QFile::remove(copy);
    QFile::remove(infoPath(copy));
}

void TRecoveryStore::WriteLater(int slot, QByteArray mdf, TRecoveryInfo info)
{
    post([this, slot, mdf = std::move(mdf), info = std::move(info)] { Write(slot, mdf, info); });
}

void TRecoveryStore::RemoveLater(int slot)
{
    post([this, slot] { Remove(slot); });
}

void TRecoveryStore::post(std::function<void()> job)
{
    {
        std::unique_lock lock(FMutex);
        FJobs.push_back(std::move(job));
        if (!FThread.joinable())
            FThread = std::thread([this] { run(); });
    }
    FWake.notify_one();
}

void TRecoveryStore::run()
{
    std::unique_lock lock(FMutex);
    for (;;) {
        FWake.wait(lock, [this] { return FStop || !FJobs.empty(); });
        if (FJobs.empty())
            return;   // stopped with nothing left to do
        std::function<void()> job = std::move(FJobs.front());
        FJobs.pop_front();
        FBusy = true;
        lock.unlock();
        QString failure;
        try {
            job();
        } catch (const AppError &e) {
            failure = e.message();
        } catch (const std::exception &e) {
            failure = QString::fromLocal8Bit(e.what());
        }
        job = nullptr;   // the copy's bytes go before the next one is made
        lock.lock();
        FBusy = false;
        if (!failure.isEmpty() && FError.isEmpty())
            FError = failure;
        if (FJobs.empty())
            FIdle.notify_all();
    }
}

void TRecoveryStore::Flush()
{
    std::unique_lock lock(FMutex);
    FIdle.wait(lock, [this] { return FJobs.empty() && !FBusy; });
}

bool TRecoveryStore::Busy()
{
    std::unique_lock lock(FMutex);
    return FBusy || !FJobs.empty();
}

QString TRecoveryStore::TakeError()
{
    std::unique_lock lock(FMutex);
    return std::exchange(FError, QString());
}

QList<TRecoveryEntry> TRecoveryStore::TakeLeftovers()
{
    static const QRegularExpression lockName(QStringLiteral("^(%1)\\.lock$").arg(kSessionPattern));
    static const QRegularExpression copyName(QStringLiteral("^(%1)-[0-9]+\\.mdf$").arg(kSessionPattern));
    const QDir dir(FFolder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);

    // Every other session that shows in the folder, by its lock file or by a copy alone.
    QStringList sessions;
    for (const QString &name : names) {
        QRegularExpressionMatch m = lockName.match(name);
        if (!m.hasMatch())
            m = copyName.match(name);
        if (m.hasMatch() && m.captured(1) != FSession && !sessions.contains(m.captured(1)))
            sessions << m.captured(1);
    }
    QStringList taken;
    for (const QString &session : std::as_const(sessions)) {
        if (std::any_of(FHeld.cbegin(), FHeld.cend(), [&](const THeld &h) { return h.Session == session; }))
            continue;
        const int fd = TakeLock(lockPath(session));
        if (fd < 0)
            continue;   // still running (or the lock cannot be had: left alone)
        FHeld.append({session, fd});
        taken << session;
    }

    QList<TRecoveryEntry> entries;
    for (const QString &name : names) {
        const QRegularExpressionMatch m = copyName.match(name);
        if (!m.hasMatch() || !taken.contains(m.captured(1)))
            continue;
        const QString path = dir.filePath(name);
        const QFileInfo file(path);
        if (!file.isFile() || file.isSymLink())
            continue;
        entries.append({path, ReadInfo(infoPath(path), path)});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TRecoveryEntry &a, const TRecoveryEntry &b) { return a.Info.Time < b.Info.Time; });
    return entries;
}

void TRecoveryStore::Adopt(const TRecoveryEntry &entry, int slot)
{
    const QString copy = CopyPath(slot);
    if (std::rename(Native(entry.Path).constData(), Native(copy).constData()) != 0)
        throw AppError(Unusable(FFolder));
    if (QFileInfo::exists(infoPath(entry.Path))
        && std::rename(Native(infoPath(entry.Path)).constData(), Native(infoPath(copy)).constData()) != 0)
        QFile::remove(infoPath(entry.Path));
}

void TRecoveryStore::Discard(const TRecoveryEntry &entry)
{
    QFile::remove(entry.Path);
    QFile::remove(infoPath(entry.Path));
}

void TRecoveryStore::ReleaseLeftovers()
{
    static const QRegularExpression copyName(QStringLiteral("^(%1)-[0-9]+\\.mdf$").arg(kSessionPattern));
    const QDir dir(FFolder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const THeld &held : std::as_const(FHeld)) {
        // What a copy kept for later needs stays; descriptions without their copy and the half
        // written files of a write cut short (".NAME.RANDOM.tmp") go.
        const QString prefix = held.Session + u'-';
        QStringList kept;
        for (const QString &name : names)
            if (name.startsWith(prefix) && copyName.match(name).hasMatch())
                kept << name << name.chopped(4) + QStringLiteral(".json");
        for (const QString &name : names)
            if ((name.startsWith(prefix) || name.startsWith(u'.' + prefix)) && !kept.contains(name))
                QFile::remove(dir.filePath(name));
        bool anyKept = false;
        for (const QString &name : std::as_const(kept))
            anyKept = anyKept || (name.endsWith(QStringLiteral(".mdf")) && QFileInfo::exists(dir.filePath(name)));
        if (!anyKept)
            ::unlink(Native(lockPath(held.Session)).constData());
        ::close(held.Fd);
    }
    FHeld.clear();
}
