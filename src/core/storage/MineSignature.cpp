#include "storage/MineSignature.h"

#include "storage/MdfFormat.h"
#include "storage/RegularFile.h"

#include <QFile>
#include <QFileInfo>

TMineSignature ReadMineSignature(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return TMineSignature::Missing;
    if (info.isDir())
        return TMineSignature::Folder;
    QFile file;
    switch (RegularFile::OpenForReading(file, path)) {
    case RegularFile::TOpen::NotRegular:
        return TMineSignature::NotRegular;
    case RegularFile::TOpen::Failed:
        return TMineSignature::Unreadable;
    case RegularFile::TOpen::Opened:
        break;
    }
    const QByteArray head = file.read(MdfFormat::kSignatureSize);
    return head == QByteArray(MdfFormat::kSignature, MdfFormat::kSignatureSize) ? TMineSignature::Present
                                                                                 : TMineSignature::Absent;
}
