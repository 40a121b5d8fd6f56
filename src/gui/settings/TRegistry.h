#pragma once
// The per-user hierarchical settings store. On Windows the program kept its settings in the
// registry under the current user; here the same keys, value names and value types live in one
// INI file (QSettings) in the user's configuration folder: <config>/Kelmar/Tarvelian.ini.
//
// Keys are written the registry way ("\Software\Kelmar\Tarvelian\1.0\Options") and become nested
// INI groups. Every value carries its type in its text, in the notation of registry export files,
// so that a value of the wrong type is still recognised as one:
//     sz:<text>              a string
//     dword:0000000c         a 32-bit integer (8 hex digits)
//     hex:ff,ff,ff,00        raw bytes
// A value in any other form has no declared type. Values written by older tools as QSettings
// byte arrays (@ByteArray) count as raw bytes.
//
// Owned by TConfig (its "registry accessor"); nothing else reads or writes the store.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class QSettings;
class QVariant;

class TRegistry {
public:
    enum class ValueType { None, String, Integer, Binary };

    TRegistry();
    ~TRegistry();
    TRegistry(const TRegistry &) = delete;
    TRegistry &operator=(const TRegistry &) = delete;

    // Redirects the store to <folder>/Kelmar/Tarvelian.ini (tests point it at a temporary folder
    // so that the user's own settings are never touched). An empty folder restores the default.
    // Takes effect for accessors created afterwards.
    static void SetStoreFolder(const QString &folder);
    static QString StoreFileName();

    // Makes key the current key. Without canCreate a key that does not exist is not opened and
    // false is returned; with it, false means that the store cannot be written.
    bool OpenKey(const QString &key, bool canCreate);
    void CloseKey();
    bool KeyExists(const QString &key) const;
    QString CurrentKey() const { return m_currentKey; }

    // Values of the current key.
    bool ValueExists(const QString &name) const;
    ValueType GetDataType(const QString &name) const;
    // Value names in the order they were written: names that are decimal numbers come first, in
    // numeric order ("2" before "10"), then the others as the store lists them.
    QStringList GetValueNames() const;

    // Reads raise AppError when the value is missing (except a string, which then reads as
    // empty) or is not of the asked type.
    qint32 ReadInteger(const QString &name) const;
    QString ReadString(const QString &name) const;
    QByteArray ReadBinaryData(const QString &name) const;

    void WriteInteger(const QString &name, qint32 value);
    void WriteString(const QString &name, const QString &value);
    void WriteBinaryData(const QString &name, const QByteArray &value);

    // Writes pending changes to the file; false when the store could not be written.
    bool Flush();

private:
    QString valuePath(const QString &name) const;
    QVariant value(const QString &name) const;

    std::unique_ptr<QSettings> m_settings;   // none when the store's file is not a regular file
    QString m_currentKey;   // QSettings group form: "Software/Kelmar/Tarvelian/1.0/Options"
};
