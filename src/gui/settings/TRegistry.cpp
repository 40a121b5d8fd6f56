#include "settings/TRegistry.h"

#include "AppError.h"
#include "storage/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <algorithm>
#include <optional>

namespace {

QString &storeFolderOverride()
{
    static QString folder;
    return folder;
}

const QLatin1String StringTag("sz:");
const QLatin1String IntegerTag("dword:");
const QLatin1String BinaryTag("hex:");

struct TypedValue {
    TRegistry::ValueType type = TRegistry::ValueType::None;
    QString text;
    qint32 integer = 0;
    QByteArray bytes;
};

std::optional<QByteArray> parseHexBytes(const QString &text)
{
    QByteArray bytes;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return bytes;
    const QStringList parts = trimmed.split(u',');
    bytes.reserve(parts.size());
    for (const QString &part : parts) {
        const QString digits = part.trimmed();
        if (digits.isEmpty() || digits.size() > 2)
            return std::nullopt;
        bool ok = false;
        const uint b = digits.toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        bytes.append(char(b));
    }
    return bytes;
}

TypedValue decode(const QVariant &stored)
{
    TypedValue v;
    QString text;
    switch (stored.typeId()) {
    case QMetaType::QByteArray:
        v.type = TRegistry::ValueType::Binary;
        v.bytes = stored.toByteArray();
        return v;
    case QMetaType::QString:
        text = stored.toString();
        break;
    case QMetaType::QStringList:
        // An INI line with bare commas comes back as a list; hand-edited raw bytes look so.
        text = stored.toStringList().join(u',');
        break;
    default:
        return v;
    }
    if (text.startsWith(StringTag)) {
        v.type = TRegistry::ValueType::String;
        v.text = text.mid(StringTag.size());
    } else if (text.startsWith(IntegerTag)) {
        const QString digits = text.mid(IntegerTag.size()).trimmed();
        bool ok = false;
        const uint value = digits.toUInt(&ok, 16);
        if (ok && !digits.isEmpty() && digits.size() <= 8) {
            v.type = TRegistry::ValueType::Integer;
            v.integer = qint32(value);
        }
    } else if (text.startsWith(BinaryTag)) {
        if (auto bytes = parseHexBytes(text.mid(BinaryTag.size()))) {
            v.type = TRegistry::ValueType::Binary;
            v.bytes = *bytes;
        }
    }
    return v;
}

QString encodeBytes(const QByteArray &bytes)
{
    QString text = BinaryTag;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i)
            text += u',';
        text += QStringLiteral("%1").arg(uchar(bytes[i]), 2, 16, QLatin1Char('0'));
    }
    return text;
}

QString toGroup(const QString &key)
{
    QString group = key;
    group.replace(u'\\', u'/');
    while (group.startsWith(u'/'))
        group.remove(0, 1);
    while (group.endsWith(u'/'))
        group.chop(1);
    return group;
}

} // namespace

TRegistry::TRegistry()
{
    // The store is a file like any other the program reads and replaces: a pipe of its name
    // would hold the start until some other program wrote into it, and a folder, pipe or device
    // is not the user's settings. Such a store is left alone: the program starts with the
    // defaults, and saving reports that the settings could not be written.
    const QString file = StoreFileName();
    if (!RegularFile::IrregularTarget(file))
        m_settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

TRegistry::~TRegistry() = default;

void TRegistry::SetStoreFolder(const QString &folder)
{
    storeFolderOverride() = folder;
}

QString TRegistry::StoreFileName()
{
    QString folder = storeFolderOverride();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(QStringLiteral("Kelmar/Tarvelian.ini"));
}

bool TRegistry::KeyExists(const QString &key) const
{
    if (!m_settings)
        return false;
    m_settings->beginGroup(toGroup(key));
    const bool exists = !m_settings->childKeys().isEmpty() || !m_settings->childGroups().isEmpty();
    m_settings->endGroup();
    return exists;
}

bool TRegistry::OpenKey(const QString &key, bool canCreate)
{
    if (canCreate) {
        if (!m_settings || !m_settings->isWritable())
            return false;
    } else if (!KeyExists(key)) {
        return false;
    }
    m_currentKey = toGroup(key);
    return true;
}

void TRegistry::CloseKey()
{
    m_currentKey.clear();
}

QString TRegistry::valuePath(const QString &name) const
{
    return m_currentKey.isEmpty() ? name : m_currentKey + u'/' + name;
}

QVariant TRegistry::value(const QString &name) const
{
    return m_settings ? m_settings->value(valuePath(name)) : QVariant();
}

bool TRegistry::ValueExists(const QString &name) const
{
    return m_settings && m_settings->contains(valuePath(name));
}

TRegistry::ValueType TRegistry::GetDataType(const QString &name) const
{
    return decode(value(name)).type;
}

QStringList TRegistry::GetValueNames() const
{
    if (!m_settings)
        return QStringList();
    m_settings->beginGroup(m_currentKey);
    QStringList names = m_settings->childKeys();
    m_settings->endGroup();
    auto number = [](const QString &name) -> std::optional<qulonglong> {
        bool ok = false;
        const qulonglong n = name.toULongLong(&ok, 10);
        if (!ok || name.isEmpty() || !name.front().isDigit())
            return std::nullopt;
        return n;
    };
    std::stable_sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        const auto na = number(a), nb = number(b);
        if (na && nb)
            return *na < *nb;
        return na.has_value() && !nb.has_value();
    });
    return names;
}

qint32 TRegistry::ReadInteger(const QString &name) const
{
    const TypedValue v = decode(value(name));
    if (v.type != ValueType::Integer)
        throw AppError(QStringLiteral("Неверный тип значения \"%1\" в настройках").arg(name));
    return v.integer;
}

QString TRegistry::ReadString(const QString &name) const
{
    if (!ValueExists(name))
        return QString();
    const TypedValue v = decode(value(name));
    if (v.type != ValueType::String)
        throw AppError(QStringLiteral("Неверный тип значения \"%1\" в настройках").arg(name));
    return v.text;
}

QByteArray TRegistry::ReadBinaryData(const QString &name) const
{
    const TypedValue v = decode(value(name));
    if (v.type != ValueType::Binary)
        throw AppError(QStringLiteral("Неверный тип значения \"%1\" в настройках").arg(name));
    return v.bytes;
}

void TRegistry::WriteInteger(const QString &name, qint32 value)
{
    if (!m_settings)
        return;
    m_settings->setValue(valuePath(name),
                         IntegerTag + QStringLiteral("%1").arg(quint32(value), 8, 16, QLatin1Char('0')));
}

void TRegistry::WriteString(const QString &name, const QString &value)
{
    if (!m_settings)
        return;
    m_settings->setValue(valuePath(name), StringTag + value);
}

void TRegistry::WriteBinaryData(const QString &name, const QByteArray &value)
{
    if (!m_settings)
        return;
    m_settings->setValue(valuePath(name), encodeBytes(value));
}

bool TRegistry::Flush()
{
    if (!m_settings || !m_settings->isWritable())
        return false;
    m_settings->sync();
    switch (m_settings->status()) {
    case QSettings::NoError:
        return true;
    case QSettings::FormatError: {
        // Left over from reading a damaged file; the status keeps the first error, so whether
        // this write went through is told by the file itself.
        const QFileInfo written(m_settings->fileName());
        return written.isFile() && written.isWritable();
    }
    default:
        return false;
    }
}
