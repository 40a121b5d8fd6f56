#pragma once
// Recovery files: copies of documents with unsaved changes, so that a crash of the editor (or of
// the machine under it) loses at most the last few minutes of work. They live in the user's
// state folder ($XDG_STATE_HOME/tarvel/recovery, 0700), never beside or over the user's file.
//
// Each running editor is a session and holds an exclusive lock (flock) on "<session>.lock" for as
// long as it lives; the kernel lets go of it when the process ends, however it ends (kill -9
// included). A document of the session is kept as "<session>-<slot>.mdf", a mine file laid out
// by the same writer as a save (empty rows included), with "<session>-<slot>.json" beside it:
// the document's own path, whether it had a file, the time of the copy.
//
// At start the editor takes the lock of every other session whose lock is free: those were left
// by a process that is no longer running. While it holds them no other start offers the same
// files; ReleaseLeftovers lets go, and a session left without copies then loses its lock file.
//
// Threads: Write and Remove (and their Later forms, which run them one after another in the
// store's own thread, in the order asked) touch only this session's files; the leftovers are
// handled on the caller's thread. Errors are AppError with the text the user sees; errors of
// the queued work are kept for TakeError.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// What a recovery file says of its document.
struct TRecoveryInfo {
    QString FileName;   // the document's path (the proposed one while it has no file)
    bool HasFile = false;
    QDateTime Time;     // when the copy was taken
};

// A copy left by a session that no longer runs.
struct TRecoveryEntry {
    QString Path;   // the mine file
    TRecoveryInfo Info;
};

class TRecoveryStore {
public:
    // $XDG_STATE_HOME/tarvel/recovery (~/.local/state/tarvel/recovery when the variable is unset
    // or not absolute).
    static QString DefaultFolder();

    // Makes folder (its permissions become 0700) and starts this process's session in it.
    explicit TRecoveryStore(const QString &folder);
    // Waits for the queued work, lets go of the leftovers and ends the session: its lock file
    // goes. Copies still there stay for a later start.
    ~TRecoveryStore();
    TRecoveryStore(const TRecoveryStore &) = delete;
    TRecoveryStore &operator=(const TRecoveryStore &) = delete;

    const QString &Folder() const { return FFolder; }
    const QString &Session() const { return FSession; }
    // The copy of slot in this session (the file need not exist).
    QString CopyPath(int slot) const;

    // Writes the copy of slot: first the mine file, then what it says of its document.
    void Write(int slot, const QByteArray &mdf, const TRecoveryInfo &info);
    // Removes the copy of slot, if any.
    void Remove(int slot);
    // The same, in the store's thread after the work asked before.
    void WriteLater(int slot, QByteArray mdf, TRecoveryInfo info);
    void RemoveLater(int slot);
    // Returns once the work asked so far is done.
    void Flush();
    // Work asked is not yet done (a copy is not laid out again while the last one waits).
    bool Busy();
    // The message of the first failure of the queued work since the last call, or empty.
    QString TakeError();

    // The copies of sessions that no longer run, oldest first; from now on this store holds
    // those sessions. A copy whose description is missing or unreadable still counts: it is
    // offered as an untitled document of its file's time.
    QList<TRecoveryEntry> TakeLeftovers();
    // A leftover opened again: it becomes the copy of slot in this session.
    void Adopt(const TRecoveryEntry &entry, int slot);
    // A leftover the user does not want: removed.
    void Discard(const TRecoveryEntry &entry);
    // Lets go of the sessions TakeLeftovers took; the lock file of one left without copies goes.
    void ReleaseLeftovers();

private:
    struct THeld {
        QString Session;
        int Fd;
    };
    QString lockPath(const QString &session) const;
    QString infoPath(const QString &copyPath) const;
    void post(std::function<void()> job);
    void run();

    QString FFolder;
    QString FSession;
    int FLockFd = -1;
    QList<THeld> FHeld;

    std::mutex FMutex;
    std::condition_variable FWake;
    std::condition_variable FIdle;
    std::deque<std::function<void()>> FJobs;
    bool FBusy = false;
    bool FStop = false;
    QString FError;
    std::thread FThread;
};
