#include "storage/FileErrors.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace FileErrors {

namespace {
const QString kPrefix = QStringLiteral("Ошибка при чтении/записи файла: \r\n");
}

QString Text(int code)
{
    switch (code) {
    case FileNotFound: return QStringLiteral("файл не найден");
    case BadFileName: return QStringLiteral("неверное имя файла");
    case TooManyOpenFiles: return QStringLiteral("слишком много открытых файлов");
    case AccessDenied: return QStringLiteral("доступ запрещен");
    case UnexpectedEnd:
        return QStringLiteral("достигнут непредвиденный конец файла.\r\nФайл имеет неизвестный формат или поврежден");
    case DiskFull: return QStringLiteral("недостаточно свободного места на диске");
    case UnknownFormat: return QStringLiteral("неизвестный формат файла");
    case NewerVersion: return QStringLiteral("для открытия этого файла необходима более старшая версия программы");
    default:
        return QStringLiteral("неизвестная ошибка\r\n\r\nОбратитесь к разработчикам, объяснив при этом ситуацию.\r\nКод ошибки: ")
            + QString::number(code);
    }
}

QString Message(int code)
{
    return kPrefix + Text(code);
}

QString OpenFailure(const QString &path, bool forWriting)
{
    const QFileInfo info(path);
    if (path.isEmpty())
        return Message(BadFileName);
    if (!forWriting && !info.exists())
        return Message(FileNotFound);
    if (forWriting && !info.absoluteDir().exists())
        return Message(BadFileName);
    return Message(AccessDenied);
}

QString WriteFailedMessage()
{
    return QStringLiteral("Ошибка при записи в файл");
}

namespace {

int CreateFailureCode(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG: return BadFileName;
    case EMFILE:
    case ENFILE: return TooManyOpenFiles;
    case ENOSPC:
    case EDQUOT: return DiskFull;
    default: return AccessDenied;
    }
}

} // namespace

QString CreateFailureReason(int errnoValue)
{
    if (errnoValue == ENOENT || errnoValue == ENOTDIR)
        return QStringLiteral("папка не существует");
    return Text(CreateFailureCode(errnoValue));
}

QString CreateFailureMessage(int errnoValue)
{
    return Message(CreateFailureCode(errnoValue));
}

QString WriteFailureReason(int errnoValue)
{
    if (errnoValue == ENOSPC || errnoValue == EDQUOT)
        return Text(DiskFull);
    return WriteFailedMessage();
}

QString NotRegularMessage()
{
    return kPrefix + NotRegularText();
}

QString NotRegularText()
{
    return QStringLiteral("указанное имя не является обычным файлом");
}

QString OutOfMemoryMessage()
{
    return kPrefix + QStringLiteral("недостаточно памяти для открытия файла");
}

QString ReasonOf(const QString &message)
{
    return message.startsWith(kPrefix) ? message.mid(kPrefix.size()) : message;
}

} // namespace FileErrors
