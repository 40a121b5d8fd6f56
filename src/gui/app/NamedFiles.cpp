#include "app/NamedFiles.h"

#include "ShownText.h"
#include "storage/MineSignature.h"

namespace {

bool hasMdfName(const QString &path)
{
    return path.endsWith(QLatin1String(".mdf"), Qt::CaseInsensitive);
}

QString reason(TMineSignature signature)
{
    switch (signature) {
    case TMineSignature::Missing:
        return QStringLiteral("файл не найден");
    case TMineSignature::Folder:
        return QStringLiteral("это папка");
    case TMineSignature::NotRegular:
        return QStringLiteral("не обычный файл");
    case TMineSignature::Unreadable:
        return QStringLiteral("нет права на чтение");
    case TMineSignature::Absent:
    case TMineSignature::Present:
        break;
    }
    return QStringLiteral("не файл шахты");
}

} // namespace

TNamedFiles SortNamedFiles(const QStringList &paths)
{
    TNamedFiles sorted;
    for (const QString &path : paths) {
        if (path.isEmpty())
            continue;
        if (hasMdfName(path)) {
            sorted.Open << path;
            continue;
        }
        const TMineSignature signature = ReadMineSignature(path);
        if (signature == TMineSignature::Present)
            sorted.Open << path;
        else
            sorted.Refused << OneLineText(path) + QStringLiteral(" — ") + reason(signature);
    }
    return sorted;
}

QString RefusedFilesMessage(const QStringList &refused)
{
    if (refused.isEmpty())
        return {};
    return QStringLiteral("Эти файлы не открыты:\n") + refused.join(u'\n');
}
