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

void TMineFile::Load(TMineDocument &doc, const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw AppError(FileErrors::OpenFailure(path, false));
    // The header decides first whether the rest is worth reading at all.
    const QByteArray header = file.read(MdfFormat::kHeaderSize);
    if (header.size() < MdfFormat::kHeaderSize
        || qFromLittleEndian<qint32>(header.constData() + MdfFormat::kSizeOffset) != file.size())
        throw AppError(FileErrors::Message(FileErrors::UnknownFormat));
    QByteArray bytes = header;
    bytes.resize(file.size());
    const qint64 rest = bytes.size() - header.size();
    if (rest > 0 && file.read(bytes.data() + header.size(), rest) != rest)
        throw AppError(FileErrors::Message(FileErrors::UnexpectedEnd));
    file.close();
    TMdfReader::Read(bytes, doc);
    doc.SetHasFile(true);
    doc.SetFileName(path);
}

void TMineFile::Save(TMineDocument &doc, const QString &path)
{
    doc.SetFileName(path);
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
