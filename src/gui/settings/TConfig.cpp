#include "settings/TConfig.h"

#include "AppError.h"
#include "base/AppDialogs.h"
#include "base/Help.h"
#include "base/Utils.h"
#include "model/PressureUnits.h"
#include "settings/TRegistry.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QtEndian>

TConfig *Config = nullptr;

namespace {

struct KindInfo {
    TCellAttr TConfig::*field;
    const char *valueName;
    const char16_t *text;
    TCellAttr defaults;
};

// Colours 0x00BBGGRR.
constexpr quint32 White = 0x00FFFFFF, Black = 0, Navy = 0x00800000, Aqua = 0x00FFFF00,
                  Red = 0x000000FF, Yellow = 0x0000FFFF, Fuchsia = 0x00FF00FF;

const KindInfo Kinds[CellKindCount] = {
    {&TConfig::CellAttr, "CellAttr", u"Данные", {White, Black, false, false, false}},
    {&TConfig::SelCellAttr, "SelCellAttr", u"Текущая ячейка", {Navy, White, false, false, false}},
    {&TConfig::SurfCellAttr, "SurfCellAttr", u"Поверхностный узел", {Aqua, Black, false, false, false}},
    {&TConfig::GasCellAttr, "GasCellAttr", u"Локальное скопление метана", {Aqua, Black, false, false, false}},
    {&TConfig::BoomCellAttr, "BoomCellAttr", u"Место взрыва метана", {Red, Yellow, true, false, false}},
    {&TConfig::DustCellAttr, "DustCellAttr", u"Локальное скопление метана и пыли",
     {0x00D8D800, Black, false, false, false}},
    {&TConfig::BoomDustCellAttr, "BoomDustCellAttr", u"Место взрыва метана и пыли",
     {0x000000D8, Yellow, true, false, false}},
    {&TConfig::WaveCellAttr, "WaveCellAttr", u"Зона действия взрывной волны", {Red, Black, false, false, false}},
    {&TConfig::AfterFireCellAttr, "AfterFireCellAttr", u"Зона продуктов взрыва",
     {Fuchsia, Black, false, false, false}},
};

// The store lists the attributes in its own order, which differs from the dialog's.
const TCellKind StoreOrder[CellKindCount] = {ckData, ckSelCell, ckSurf, ckGas, ckDust,
                                             ckBoom, ckBoomDust, ckWave, ckAfterFire};

const QString DefaultFontname = QStringLiteral("MS Sans Serif");
constexpr qint32 DefaultFontSize = 8;
constexpr quint8 DefaultLastFilesCount = 6;

void showStoreError(const QString &message)
{
    AppDialogs::ShowError(nullptr, message);
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

// A folder new documents can go to: it exists (or is made now) and may be written.
bool usableFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

// ---------------------------------------------------------------------------------- TCellAttr

QByteArray TCellAttr::ToBytes() const
{
    QByteArray bytes(ByteSize, '\0');
    qToLittleEndian<quint32>(Color, bytes.data());
    qToLittleEndian<quint32>(FontColor, bytes.data() + 4);
    bytes[8] = Bold ? 1 : 0;
    bytes[9] = Italic ? 1 : 0;
    bytes[10] = Underline ? 1 : 0;
    return bytes;
}

void TCellAttr::OverlayBytes(const QByteArray &bytes)
{
    QByteArray all = ToBytes();
    for (qsizetype i = 0; i < bytes.size() && i < ByteSize; ++i)
        all[i] = bytes[i];
    Color = qFromLittleEndian<quint32>(all.constData());
    FontColor = qFromLittleEndian<quint32>(all.constData() + 4);
    Bold = all[8] != 0;
    Italic = all[9] != 0;
    Underline = all[10] != 0;
}

// ---------------------------------------------------------------------------------- TConfig

TConfig::TConfig(bool changeCurrentDir)
{
    ProgramDir = ProgramDirOf();
    HelpDir = ResolveHelpDir(ProgramDir);
    DataDir = ResolveDataDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (changeCurrentDir)
        QDir::setCurrent(DataDir);
    Registry = std::make_unique<TRegistry>();
    SetGridDefaults();
    SetOptionDefaults();
    // The help reads the folder of whatever settings are current then, or knows there are none.
    SetHelpDirSource([] { return Config ? Config->HelpDir : QString(); });
    SetHelpWindowSizeStore([] {
                               return Config && Config->HelpWidth > 0 && Config->HelpHeight > 0
                                   ? QSize(Config->HelpWidth, Config->HelpHeight) : QSize();
                           },
                           [](QSize size) {
                               if (Config) {
                                   Config->HelpWidth = size.width();
                                   Config->HelpHeight = size.height();
                               }
                           });
}

TConfig::~TConfig() = default;

QString TConfig::ProgramDirOf()
{
    return withSlash(QCoreApplication::applicationDirPath());
}

QString TConfig::ResolveDataDir(const QString &documentsDir)
{
    // Never beside the program: a build folder is deleted for a clean rebuild, an installed
    // prefix is shared with other programs or not the user's to write.
    if (!documentsDir.isEmpty()) {
        const QString own = withSlash(QDir::cleanPath(documentsDir + QStringLiteral("/Tarvel")));
        if (usableFolder(own))
            return own;
    }
    return withSlash(QDir::homePath());
}

bool TConfig::IsInstalled(const QString &programDir)
{
    return !QFileInfo(withSlash(programDir) + QStringLiteral("Help")).isDir()
        && QFileInfo(programDir + QStringLiteral("/../share/tarvel/help")).isDir();
}

QString TConfig::ResolveHelpDir(const QString &programDir)
{
    if (IsInstalled(programDir))
        return withSlash(QDir::cleanPath(programDir + QStringLiteral("/../share/tarvel/help")));
    return withSlash(programDir) + QStringLiteral("Help/");
}

void TConfig::SetGridDefaults()
{
    Fontname = DefaultFontname;
    FontSize = DefaultFontSize;
    for (int k = 0; k < CellKindCount; ++k)
        Attr(k) = Kinds[k].defaults;
}

void TConfig::SetOptionDefaults()
{
    LastFilesCount = DefaultLastFilesCount;
    UseColor = true;
    PressureMode = 0;
}

TCellAttr &TConfig::Attr(int cell)
{
    Q_ASSERT(cell >= 0 && cell < CellKindCount);
    return this->*Kinds[cell].field;
}

const TCellAttr &TConfig::Attr(int cell) const
{
    Q_ASSERT(cell >= 0 && cell < CellKindCount);
    return this->*Kinds[cell].field;
}

TCellAttr TConfig::DefaultAttr(int cell)
{
    Q_ASSERT(cell >= 0 && cell < CellKindCount);
    return Kinds[cell].defaults;
}

QString TConfig::KindText(int cell)
{
    Q_ASSERT(cell >= 0 && cell < CellKindCount);
    return QString::fromUtf16(Kinds[cell].text);
}

QString TConfig::KindValueName(int cell)
{
    Q_ASSERT(cell >= 0 && cell < CellKindCount);
    return QString::fromLatin1(Kinds[cell].valueName);
}

double TConfig::AtToPa(double at)
{
    return ::AtToPa(at);
}

void TConfig::AssignDisplay(const TConfig &source)
{
    Fontname = source.Fontname;
    FontSize = source.FontSize;
    for (int k = 0; k < CellKindCount; ++k)
        Attr(k) = source.Attr(k);
    PressureMode = source.PressureMode;
}

// ---------------------------------------------------------------------------------- the store

void TConfig::LoadOptions()
{
    if (Registry->OpenKey(OptionsKey, false)) {
        try {
            const qint32 count = Registry->ReadInteger(QStringLiteral("LastFilesCount"));
            const qint32 useColor = Registry->ReadInteger(QStringLiteral("UseColor"));
            const qint32 pressure = Registry->ReadInteger(QStringLiteral("PressureMode"));
            // A capacity of none would leave nothing to drop from a full list, and a pressure
            // presentation other than the two known ones has no meaning: such values are as bad
            // as missing ones.
            if (count < 1 || count > 255 || pressure < 0 || pressure > 1)
                throw AppError(QStringLiteral("Недопустимое значение в настройках"));
            LastFilesCount = quint8(count);
            UseColor = useColor != 0;
            PressureMode = quint8(pressure);
            Surname = Registry->ReadString(QStringLiteral("Surname"));
            Post = Registry->ReadString(QStringLiteral("Post"));
        } catch (const AppError &) {
            SetOptionDefaults();
            Surname.clear();
            Post.clear();
        }
        RecoveryMinutes = DefaultRecoveryMinutes;
        try {
            if (Registry->ValueExists(QStringLiteral("RecoveryMinutes"))) {
                const qint32 minutes = Registry->ReadInteger(QStringLiteral("RecoveryMinutes"));
                if (minutes >= 0 && minutes <= MaxRecoveryMinutes)
                    RecoveryMinutes = minutes;
            }
        } catch (const AppError &) {
        }
        UndoLimit = DefaultUndoLimit;
        try {
            if (Registry->ValueExists(QStringLiteral("UndoLimit"))) {
                const qint32 steps = Registry->ReadInteger(QStringLiteral("UndoLimit"));
                if (steps >= 0 && steps <= MaxUndoLimit)
                    UndoLimit = steps;
            }
        } catch (const AppError &) {
        }
        Registry->CloseKey();
    }

    if (Registry->OpenKey(LastFilesKey, false)) {
        try {
            QStringList files;
            for (const QString &name : Registry->GetValueNames())
                files.append(Registry->ReadString(name));
            LastFiles = files;
        } catch (const AppError &) {
            LastFiles.clear();
        }
        Registry->CloseKey();
    }

    // Each splitter position on its own: a missing or absurd one is as if never moved.
    if (Registry->OpenKey(LayoutKey, false)) {
        for (auto [name, field] : layoutValues()) {
            *field = 0;
            try {
                if (Registry->ValueExists(name)) {
                    const qint32 value = Registry->ReadInteger(name);
                    *field = value > 0 && value <= 10000 ? value : 0;
                }
            } catch (const AppError &) {
            }
        }
        Registry->CloseKey();
    }
}

void TConfig::LoadGrid()
{
    if (!Registry->OpenKey(GridKey, false))
        return;
    try {
        Fontname = Registry->ReadString(QStringLiteral("Fontname"));
        FontSize = Registry->ReadInteger(QStringLiteral("FontSize"));
        for (TCellKind kind : StoreOrder) {
            const QString name = KindValueName(kind);
            if (!Registry->ValueExists(name))
                continue;
            const QByteArray bytes = Registry->ReadBinaryData(name);
            if (bytes.size() > TCellAttr::ByteSize)
                throw AppError(QStringLiteral("Неверная длина значения \"%1\" в настройках").arg(name));
            Attr(kind).OverlayBytes(bytes);
        }
    } catch (const AppError &) {
        Registry->CloseKey();
        showStoreError(QStringLiteral("Ошибка при чтении настроек из реестра.\r\n"
                                      "Все параметры будут выставлены по умолчанию"));
        SetGridDefaults();
        return;
    }
    Registry->CloseKey();
}

void TConfig::SaveOptions()
{
    bool written = Registry->OpenKey(OptionsKey, true);
    if (written) {
        Registry->WriteInteger(QStringLiteral("LastFilesCount"), LastFilesCount);
        Registry->WriteInteger(QStringLiteral("UseColor"), UseColor ? 1 : 0);
        Registry->WriteInteger(QStringLiteral("PressureMode"), PressureMode);
        Registry->WriteString(QStringLiteral("Surname"), Surname);
        Registry->WriteString(QStringLiteral("Post"), Post);
        Registry->WriteInteger(QStringLiteral("RecoveryMinutes"), RecoveryMinutes);
        Registry->WriteInteger(QStringLiteral("UndoLimit"), UndoLimit);
        written = Registry->Flush();
        Registry->CloseKey();
    }
    if (!written)
        showStoreError(QStringLiteral("Ошибка при записи настроек в реестр"));

    written = Registry->OpenKey(LastFilesKey, true);
    if (written) {
        // Entries left over from a longer list stay in the store.
        for (int i = 0; i < LastFiles.size(); ++i)
            Registry->WriteString(QString::number(i), LastFiles.at(i));
        written = Registry->Flush();
        Registry->CloseKey();
    }
    if (!written)
        showStoreError(QStringLiteral("Ошибка при записи списка файлов в реестр"));

    // The splitter positions are a convenience: a failure to keep them is not worth a box.
    if (Registry->OpenKey(LayoutKey, true)) {
        for (auto [name, field] : layoutValues())
            Registry->WriteInteger(name, *field);
        Registry->Flush();
        Registry->CloseKey();
    }
}

std::array<std::pair<QString, qint32 *>, 5> TConfig::layoutValues()
{
    return {{{QStringLiteral("JumperPanelHeight"), &JumperPanelHeight},
             {QStringLiteral("MessagePanelHeight"), &MessagePanelHeight},
             {QStringLiteral("UzelTableWidth"), &UzelTableWidth},
             {QStringLiteral("HelpWidth"), &HelpWidth},
             {QStringLiteral("HelpHeight"), &HelpHeight}}};
}

void TConfig::SaveGrid()
{
    bool written = Registry->OpenKey(GridKey, true);
    if (written) {
        Registry->WriteString(QStringLiteral("Fontname"), Fontname);
        Registry->WriteInteger(QStringLiteral("FontSize"), FontSize);
        for (TCellKind kind : StoreOrder)
            Registry->WriteBinaryData(KindValueName(kind), Attr(kind).ToBytes());
        written = Registry->Flush();
        Registry->CloseKey();
    }
    if (!written)
        showStoreError(QStringLiteral("Ошибка при записи настроек в реестр"));
}

// ---------------------------------------------------------------------------------- recent files

void TConfig::AddLastFile(const QString &path)
{
    qsizetype found = -1;
    for (qsizetype i = 0; i < LastFiles.size(); ++i) {
        if (LastFiles.at(i).compare(path, Qt::CaseInsensitive) == 0) {
            found = i;
            break;
        }
    }
    if (found >= 0)
        LastFiles.removeAt(found);
    else if (!LastFiles.isEmpty() && LastFiles.size() >= LastFilesCount)
        // A list read longer than its capacity keeps its length instead of growing further.
        LastFiles.removeLast();
    LastFiles.insert(0, path);
    UpdateLastFilesMenus();
}

QString TConfig::LastFileCaption(int position, const QString &path)
{
    QString shown = path;
    shown.replace(u'&', QLatin1String("&&"));
    const QString number = QString::number(position + 1);
    return (position < 9 ? QStringLiteral("&") : QString()) + number + u' ' + shown;
}

void TConfig::UpdateLastFilesMenus(QMenu *subMenu, QMenu *popupMenu, OpenRecentFile open)
{
    m_recentSubMenu = subMenu;
    m_recentPopup = popupMenu;
    m_openRecent = std::move(open);
    UpdateLastFilesMenus();
}

void TConfig::UpdateLastFilesMenus()
{
    for (QMenu *menu : {m_recentSubMenu.data(), m_recentPopup.data()}) {
        if (!menu)
            continue;
        menu->clear();
        for (int i = 0; i < LastFiles.size(); ++i) {
            const QString path = LastFiles.at(i);
            QAction *item = menu->addAction(LastFileCaption(i, path));
            // The menus are rebuilt whenever the list changes, so the path of position i is
            // the one the item shows.
            QObject::connect(item, &QAction::triggered, menu, [open = m_openRecent, path] {
                if (open)
                    open(path);
            });
        }
    }
    if (m_recentSubMenu)
        m_recentSubMenu->menuAction()->setVisible(!LastFiles.isEmpty());
}

// ---------------------------------------------------------------------------------- start and end

void StartConfig()
{
    Q_ASSERT(!Config);
    RegisterFontSubstitutes();
    Config = new TConfig(true);
    Config->LoadOptions();
    Config->LoadGrid();
}

void FinishConfig()
{
    if (!Config)
        return;
    Config->SaveOptions();
    Config->SaveGrid();
    delete Config;
    Config = nullptr;
}
