#pragma once
// Helpers shared by the mine file tests: reading bytes into a fresh document and catching the
// error message, and Windows-1251 text for the byte builder.
#include "AppError.h"
#include "storage/TMdfReader.h"
#include "storage/TMineDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <memory>

namespace mdftest {

inline QByteArray Cp1251(const QString &s)
{
    QStringEncoder enc("windows-1251");
    return enc.encode(s);
}

inline std::unique_ptr<TMineDocument> Read(const QByteArray &bytes)
{
    auto doc = std::make_unique<TMineDocument>();
    TMdfReader::Read(bytes, *doc);
    return doc;
}

// The message of the error reading gives, or an empty string when it reads.
inline QString ReadError(const QByteArray &bytes)
{
    try {
        Read(bytes);
    } catch (const AppError &e) {
        return e.message();
    }
    return QString();
}

inline const QString kReadPrefix = QStringLiteral("Ошибка при чтении/записи файла: \r\n");
inline const QString kDamaged =
    kReadPrefix + QStringLiteral("достигнут непредвиденный конец файла.\r\nФайл имеет неизвестный формат или поврежден");
inline const QString kUnknownFormat = kReadPrefix + QStringLiteral("неизвестный формат файла");
inline const QString kNewerVersion =
    kReadPrefix + QStringLiteral("для открытия этого файла необходима более старшая версия программы");

} // namespace mdftest
