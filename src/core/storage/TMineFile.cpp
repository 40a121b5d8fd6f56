#include "storage/TMineFile.h"

#include "AppError.h"
#include "model/TMine.h"
#include "storage/FileErrors.h"
#include "storage/MdfFormat.h"
#include "storage/TMdfReader.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The bytes of an open file where they lie, mapped for reading, for as long as this lives. Not
// QFile::map: it records the mapping in a QHash, whose insertion cannot report running out of
// memory and would end the program instead of failing the read.
class TFileMapping {
public:
    TFileMapping(int fd, qint64 size)
    {
        void *p = ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, fd, 0);
        if (p != MAP_FAILED) {
            FData = static_cast<const char *>(p);
            FSize = size;
        }
    }
    ~TFileMapping()
    {
        if (FData)
            ::munmap(const_cast<char *>(FData), size_t(FSize));
    }
    TFileMapping(const TFileMapping &) = delete;
    TFileMapping &operator=(const TFileMapping &) = delete;

    // Null when the file could not be mapped.
    const char *Data() const { return FData; }

private:
    const char *FData = nullptr;
    qint64 FSize = 0;
};

// Opens path for reading only when it is a regular file. A pipe would block the open (and every
// read) until some other program writes into it, and a device never ends, so the kind is taken
// from the opened descriptor itself: non-blocking, so that not even the open can hang.
void OpenRegular(QFile &file, const QString &path)
{
    if (path.isEmpty())
        throw AppError(FileErrors::OpenFailure(path, false));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw AppError(FileErrors::OpenFailure(path, false));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw AppError(FileErrors::NotRegularMessage());
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw AppError(FileErrors::OpenFailure(path, false));
    }
}

// Saving replaces the file at path by a new one; a directory, pipe or device of that name is
// not the user's document and is left alone.
void RefuseIrregularTarget(const QString &path)
{
    struct stat st;
    if (!path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        throw AppError(FileErrors::NotRegularMessage());
}

void Read(TMineDocument &doc, const QString &path)
{
    QFile file;
    OpenRegular(file, path);
    // The header decides first whether the rest is worth reading at all.
    const QByteArray header = file.read(MdfFormat::kHeaderSize);
    const qint64 size = file.size();
    if (header.size() < MdfFormat::kHeaderSize
        || qFromLittleEndian<qint32>(header.constData() + MdfFormat::kSizeOffset) != size)
        throw AppError(FileErrors::Message(FileErrors::UnknownFormat));
    // The reader works on the file's pages where they lie instead of a copy of them; a file that
    // cannot be mapped is read into memory.
    const TFileMapping mapping(file.handle(), size);
    QByteArray copy;
    QByteArrayView bytes;
    if (mapping.Data()) {
        bytes = QByteArrayView(mapping.Data(), size);
    } else {
        copy = header;
        copy.resize(size);
        const qint64 rest = size - header.size();
        if (rest > 0 && file.read(copy.data() + header.size(), rest) != rest)
            throw AppError(FileErrors::Message(FileErrors::UnexpectedEnd));
        bytes = copy;
    }
    TMdfReader::Read(bytes, doc, mapping.Data() != nullptr);
    file.close();
    doc.SetHasFile(true);
    doc.SetFileName(path);
}

} // namespace

void TMineFile::Load(TMineDocument &doc, const QString &path)
{
    // A file may claim more elements than the memory holds; that is a failure to read it, told
    // in the reader's words rather than as a bare "std::bad_alloc".
    try {
        Read(doc, path);
    } catch (const std::bad_alloc &) {
        throw AppError(FileErrors::OutOfMemoryMessage());
    }
}

void TMineFile::Save(TMineDocument &doc, const QString &path)
{
    doc.SetFileName(path);
    RefuseIrregularTarget(path);
    const QByteArray bytes = TMdfWriter::Write(doc);
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly))
        throw AppError(FileErrors::OpenFailure(path, true));
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        throw AppError(FileErrors::WriteFailedMessage());
    }
    if (!file.commit())
        throw AppError(FileErrors::WriteFailedMessage());
    doc.SetHasFile(true);
    doc.Mine()->SetModified(false);
}
