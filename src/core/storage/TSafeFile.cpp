#include "storage/TSafeFile.h"

#include "storage/FileErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr qsizetype kBufferSize = 256 * 1024;

// A free name beside target for a file of its own (".NAME.RANDOM.tmp"); the name part is cut
// so that the whole stays within the 255 bytes a file name may have.
QByteArray SideName(const QByteArray &target, const char *suffix)
{
    const QFileInfo info(QFile::decodeName(target));
    return QFile::encodeName(info.absolutePath()) + "/." + QFile::encodeName(info.fileName()).left(200) + '.'
           + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + suffix;
}

TFileError WriteError(const QString &path, int errnoValue)
{
    return TFileError(path, FileErrors::WriteFailureReason(errnoValue), FileErrors::WriteFailedMessage(), true);
}

} // namespace

TSafeFile::TSafeFile(const QString &path) : FPath(path) {}

TSafeFile::TSafeFile(int fd, const QString &name) : FPath(name), FFd(fd), FStream(true) {}

TSafeFile::~TSafeFile()
{
    Discard();
}

void TSafeFile::Open()
{
    if (FStream) {
        QIODevice::open(QIODevice::WriteOnly);
        return;
    }
    if (FPath.isEmpty())
        throw TFileError(FPath, FileErrors::Text(FileErrors::BadFileName), FileErrors::Message(FileErrors::BadFileName), true);
    // The file a link names is replaced, not the link.
    const QFileInfo info(FPath);
    const QString canonical = info.isSymLink() ? info.canonicalFilePath() : QString();
    FTarget = QFile::encodeName(canonical.isEmpty() ? FPath : canonical);
    struct stat st;
    const bool exists = ::stat(FTarget.constData(), &st) == 0;
    // The new file would be renamed over whatever has the name: a pipe would become a file and,
    // run as root, a device would be replaced for everyone.
    if (exists && !S_ISREG(st.st_mode))
        throw TFileError(FPath, FileErrors::NotRegularText(), FileErrors::NotRegularMessage(), true);
    // A file the user made read-only is not replaced behind its back.
    if (exists && ::access(FTarget.constData(), W_OK) != 0)
        throw TFileError(FPath, FileErrors::CreateFailureReason(EACCES), FileErrors::CreateFailureMessage(EACCES), true);
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        const QByteArray temp = SideName(FTarget, ".tmp");
        FFd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (FFd >= 0)
            FTemp = temp;
        error = FFd >= 0 ? 0 : errno;
    }
    if (FFd < 0)
        throw TFileError(FPath, FileErrors::CreateFailureReason(error), FileErrors::CreateFailureMessage(error), true);
    if (exists)
        ::fchmod(FFd, st.st_mode & 07777);
    FBuffer.reserve(kBufferSize);
    QIODevice::open(QIODevice::WriteOnly);
}

bool TSafeFile::WriteOut(const char *data, qint64 len)
{
    while (len > 0) {
        const ssize_t n = ::write(FFd, data, size_t(len));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // Past a file-size limit (SIGXFSZ ignored) the write fails with EFBIG; a full disk
            // takes part of a write and refuses the rest.
            FErrno = n < 0 ? errno : EIO;
            return false;
        }
        data += n;
        len -= n;
    }
    return true;
}

bool TSafeFile::Flush()
{
    if (FErrno != 0 || FFd < 0)
        return false;
    const bool written = FBuffer.isEmpty() || WriteOut(FBuffer.constData(), FBuffer.size());
    FBuffer.resize(0);
    return written;
}

qint64 TSafeFile::writeData(const char *data, qint64 len)
{
    if (FErrno != 0 || FFd < 0)
        return -1;
    const qint64 end = pos() + len;
    if (FBuffer.size() + len > kBufferSize && !Flush())
        return -1;
    if (len >= kBufferSize) {
        if (!WriteOut(data, len))
            return -1;
    } else {
        FBuffer.append(data, qsizetype(len));
    }
    FSize = std::max(FSize, end);
    return len;
}

bool TSafeFile::seek(qint64 pos)
{
    if (!Flush())
        return false;
    if (::lseek(FFd, pos, SEEK_SET) < 0) {
        FErrno = errno;
        return false;
    }
    return QIODevice::seek(pos);
}

void TSafeFile::close()
{
    Flush();
    QIODevice::close();
}

void TSafeFile::FailWrite(int errnoValue)
{
    Discard();
    throw WriteError(FPath, errnoValue);
}

void TSafeFile::Finish()
{
    if (FFd < 0)
        FailWrite(FErrno != 0 ? FErrno : EBADF);
    if (!Flush())
        FailWrite(FErrno);
    if (FStream) {
        FFd = -1;
        QIODevice::close();
        return;
    }
    // The close reports what the file system could only tell at the end (a network file system
    // writes on closing).
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0)
        FailWrite(errno);
    QIODevice::close();
}

void TSafeFile::Discard()
{
    if (isOpen())
        QIODevice::close();
    if (FFd >= 0 && !FStream)
        ::close(FFd);
    FFd = -1;
    if (!FTemp.isEmpty())
        ::unlink(FTemp.constData());
    FTemp.clear();
    FBuffer.clear();
}

void TSafeFile::Commit()
{
    Finish();
    if (FStream)
        return;
    if (::rename(FTemp.constData(), FTarget.constData()) != 0)
        FailWrite(errno);
    FTemp.clear();
}

void TSafeFile::CommitAll(const QList<TSafeFile *> &files)
{
    for (TSafeFile *f : files)
        f->Finish();
    // Each old file keeps a second name until every new one has taken its place. A file system
    // without hard links gives no second name: that old file could not be brought back.
    std::vector<QByteArray> backups(size_t(files.size()));
    std::vector<bool> existed(size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        struct stat st;
        existed[size_t(i)] = ::stat(files[i]->FTarget.constData(), &st) == 0;
        for (int attempt = 0; existed[size_t(i)] && attempt < 16 && backups[size_t(i)].isEmpty(); ++attempt) {
            const QByteArray name = SideName(files[i]->FTarget, ".old");
            if (::link(files[i]->FTarget.constData(), name.constData()) == 0)
                backups[size_t(i)] = name;
            else if (errno != EEXIST)
                break;
        }
    }
    const auto dropBackups = [&] {
        for (const QByteArray &b : backups)
            if (!b.isEmpty())
                ::unlink(b.constData());
    };
    for (qsizetype i = 0; i < files.size(); ++i) {
        TSafeFile &f = *files[i];
        if (::rename(f.FTemp.constData(), f.FTarget.constData()) == 0) {
            f.FTemp.clear();
            continue;
        }
        const int error = errno;
        for (qsizetype j = 0; j < i; ++j) {
            const QByteArray &target = files[j]->FTarget;
            if (!backups[size_t(j)].isEmpty() && ::rename(backups[size_t(j)].constData(), target.constData()) == 0)
                backups[size_t(j)].clear();
            else if (!existed[size_t(j)])
                ::unlink(target.constData());
        }
        dropBackups();
        for (qsizetype j = i + 1; j < files.size(); ++j)
            files[j]->Discard();
        f.FailWrite(error);
    }
    dropBackups();
}

void TSafeFile::Write(const QString &path, const QByteArray &bytes)
{
    TSafeFile file(path);
    file.Open();
    file.write(bytes);
    file.Commit();
}
