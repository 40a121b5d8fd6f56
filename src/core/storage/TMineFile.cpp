#include "storage/TMineFile.h"

#include "AppError.h"
#include "model/TMine.h"
#include "storage/FileErrors.h"
#include "storage/MdfFormat.h"
#include "storage/RegularFile.h"
#include "storage/TMdfReader.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <new>
#include <sys/mman.h>

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

void OpenRegular(QFile &file, const QString &path)
{
    switch (RegularFile::OpenForReading(file, path)) {
    case RegularFile::TOpen::Opened: return;
    case RegularFile::TOpen::NotRegular: throw AppError(FileErrors::NotRegularMessage());
    case RegularFile::TOpen::Failed: break;
    }
    throw AppError(FileErrors::OpenFailure(path, false));
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
    if (RegularFile::IrregularTarget(path))
        throw AppError(FileErrors::NotRegularMessage());
    // The file is written beside the old one and takes its place only once complete.
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly))
        throw AppError(FileErrors::OpenFailure(path, true));
    try {
        TMdfWriter::Write(doc, file);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        throw AppError(FileErrors::WriteFailedMessage());
    doc.SetHasFile(true);
    doc.Mine()->SetModified(false);
}
