#include "storage/TMineFile.h"

#include "AppError.h"
#include "model/TMine.h"
#include "storage/FileErrors.h"
#include "storage/RegularFile.h"
#include "storage/TMdfReader.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"
#include "storage/TSafeFile.h"

#include <QFile>

#include <new>

namespace {

void (*ReadHook)(const QString &) = nullptr;

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
    const qint64 size = file.size();
    if (ReadHook)
        ReadHook(path);
    // Read a chunk at a time, not mapped: another program may shorten the file meanwhile.
    TMdfReader::ReadFile(file.handle(), size, doc);
    file.close();
    doc.SetHasFile(true);
    doc.SetFileName(path);
}

} // namespace

void TMineFile::SetReadHookForTests(void (*hook)(const QString &path))
{
    ReadHook = hook;
}

void TMineFile::Load(TMineDocument &doc, const QString &path)
{
    // A file may claim more elements than the memory holds; that is a failure to read it, told
    // in the reader's words rather than as a bare "std::bad_alloc".
    try {
        Read(doc, path);
    } catch (const std::bad_alloc &) {
        throw TFileError(path, FileErrors::ReasonOf(FileErrors::OutOfMemoryMessage()), FileErrors::OutOfMemoryMessage());
    } catch (const TFileError &) {
        throw;
    } catch (const AppError &e) {
        throw TFileError(path, FileErrors::ReasonOf(e.message()), e.message());
    }
}

void TMineFile::LoadBytes(TMineDocument &doc, QByteArrayView bytes, const QString &name)
{
    try {
        TMdfReader::Read(bytes, doc);
    } catch (const std::bad_alloc &) {
        throw TFileError(name, FileErrors::ReasonOf(FileErrors::OutOfMemoryMessage()), FileErrors::OutOfMemoryMessage());
    } catch (const AppError &e) {
        throw TFileError(name, FileErrors::ReasonOf(e.message()), e.message());
    }
}

void TMineFile::Save(TMineDocument &doc, const QString &path)
{
    doc.SetFileName(path);
    TSafeFile file(path);
    file.Open();
    try {
        TMdfWriter::Write(doc, file);
    } catch (const AppError &) {
        // A failed write is the file's to tell, with its reason (Commit raises it).
        if (!file.Failed())
            throw;
    }
    file.Commit();
    doc.SetHasFile(true);
    doc.Mine()->SetModified(false);
}
