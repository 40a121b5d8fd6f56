#pragma once
// TConfig: the program's settings — its folders, the look of the table cells, a few options and
// the recently used documents. One process-wide instance, Config, is created and read before the
// main window exists (StartConfig) and written back after it is gone (FinishConfig); the store is
// touched at no other time. The options dialog works on a second, private instance and copies it
// into Config with AssignDisplay.
//
// Tests must not reach the user's own store: they call TRegistry::SetStoreFolder with a temporary
// folder (and QStandardPaths::setTestModeEnabled) before creating a TConfig.
//
// Colours are 0x00BBGGRR integers (low byte red) here and in the store; they become QColor only
// where they are drawn (ToQColor in base/Utils.h).
#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <utility>

class QMenu;
class TRegistry;

// The look of one kind of table cell. Stored as 11 bytes: Color and FontColor as 32-bit
// little-endian words, then one byte each for bold, italic and underline.
struct TCellAttr {
    static constexpr int ByteSize = 11;

    quint32 Color = 0x00FFFFFF;
    quint32 FontColor = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    QByteArray ToBytes() const;
    // Lays bytes over the leading bytes of this attribute (a shorter value changes only those).
    // Bytes beyond the eleventh are ignored; callers refuse such values before.
    void OverlayBytes(const QByteArray &bytes);

    bool operator==(const TCellAttr &) const = default;
};

// The nine kinds of cells, in the order of the options dialog's list and sample table.
enum TCellKind {
    ckData, ckSelCell, ckSurf, ckGas, ckBoom, ckDust, ckBoomDust, ckWave, ckAfterFire,
    CellKindCount
};

class TConfig {
public:
    // Computes the folders, creates the data folder when missing and, with changeCurrentDir,
    // makes it the current folder; all settings take their defaults and the recent list is empty.
    explicit TConfig(bool changeCurrentDir);
    ~TConfig();
    TConfig(const TConfig &) = delete;
    TConfig &operator=(const TConfig &) = delete;

    // --- fields, in their traditional order
    std::unique_ptr<TRegistry> Registry;
    QString ProgramDir;   // folder of the executable, with a trailing "/"
    QString HelpDir;      // folder of the help pages, with a trailing "/" (ResolveHelpDir)
    QString DataDir;      // folder of mine documents, with a trailing "/"
    bool UseColor = true;
    QString Fontname;
    qint32 FontSize = 8;
    TCellAttr CellAttr, SelCellAttr, SurfCellAttr, GasCellAttr, BoomCellAttr, WaveCellAttr,
        AfterFireCellAttr;
    QStringList LastFiles;   // full paths, most recent first
    quint8 LastFilesCount = 6;
    quint8 PressureMode = 0;   // 0 technical atmospheres ("Ат"), 1 megapascals ("МПа")
    QString Post;
    QString Surname;
    TCellAttr BoomDustCellAttr, DustCellAttr;
    // Where the user last left the document window's splitters, in pixels, 0 while never moved
    // (the window's first layout holds): the stopping panel's and the message panel's heights
    // and the node table's width. Kept under LayoutKey with the options.
    qint32 JumperPanelHeight = 0;
    qint32 MessagePanelHeight = 0;
    qint32 UzelTableWidth = 0;
    // Minutes between the copies of a document with unsaved changes kept for recovery after a
    // crash (app/TRecovery.h); 0: no copies. "RecoveryMinutes" under OptionsKey, read on its own
    // so that a store from before it keeps the other options.
    static constexpr qint32 DefaultRecoveryMinutes = 2;
    static constexpr qint32 MaxRecoveryMinutes = 24 * 60;
    qint32 RecoveryMinutes = DefaultRecoveryMinutes;
    // Steps a document window keeps for undo; 0: no undo. "UndoLimit" under OptionsKey, read on
    // its own like RecoveryMinutes.
    static constexpr qint32 DefaultUndoLimit = 100;
    static constexpr qint32 MaxUndoLimit = 10000;
    qint32 UndoLimit = DefaultUndoLimit;
    // The help window's size where the user left it, 0 while never shown.
    qint32 HelpWidth = 0;
    qint32 HelpHeight = 0;

    // --- operations
    void SetGridDefaults();
    void SetOptionDefaults();
    void LoadOptions();
    void LoadGrid();
    void SaveOptions();
    void SaveGrid();

    // Puts path at the top of LastFiles (an entry equal but for letter case moves there; when
    // the list is full the oldest entry goes) and rebuilds the recent-files menus.
    void AddLastFile(const QString &path);

    using OpenRecentFile = std::function<void(const QString &path)>;
    // Remembers the main window's two recent-files menus (the File menu's sub-menu and the open
    // button's drop-down) and what a click on an item does, then rebuilds them. The main window
    // calls it once when it is created; AddLastFile rebuilds through the overload below.
    void UpdateLastFilesMenus(QMenu *subMenu, QMenu *popupMenu, OpenRecentFile open);
    void UpdateLastFilesMenus();
    // "&1 path" … "&9 path", then "10 path"…; "&" in a path is doubled so that it shows.
    static QString LastFileCaption(int position, const QString &path);

    // Copies the display settings (font, size, the nine attributes) and PressureMode.
    void AssignDisplay(const TConfig &source);

    static double AtToPa(double at);

    // The attribute of a kind, by TCellKind.
    TCellAttr &Attr(int cell);
    const TCellAttr &Attr(int cell) const;
    static TCellAttr DefaultAttr(int cell);
    static QString KindText(int cell);        // "Данные", "Текущая ячейка", …
    static QString KindValueName(int cell);   // "CellAttr", "SelCellAttr", …

    // Folder rules, open for tests. Documents go to a "Tarvel" folder of the user's documents
    // folder (documentsDir: ~/Documents, or the folder user-dirs.dirs names), installed or not,
    // or to the home folder when that cannot be made. A program kept in its own folder (a build,
    // <root>/bin/ with Help/ beside it) has its help in Help/; an installed one (PREFIX/bin/ with
    // PREFIX/share/tarvel/help/, as cmake --install and the package lay it out) has it there.
    // Without any help, Help/ beside the program, so that the missing page is named where a user
    // would look.
    static QString ProgramDirOf();
    static bool IsInstalled(const QString &programDir);
    static QString ResolveDataDir(const QString &documentsDir);
    static QString ResolveHelpDir(const QString &programDir);

private:
    // The splitter positions by their names in the store.
    std::array<std::pair<QString, qint32 *>, 5> layoutValues();

    QPointer<QMenu> m_recentSubMenu;
    QPointer<QMenu> m_recentPopup;
    OpenRecentFile m_openRecent;
};

// The process-wide settings. Null before StartConfig and after FinishConfig.
extern TConfig *Config;

// Start-up: creates Config (the data folder becomes the current folder) and reads the store.
void StartConfig();
// Shut-down, after the main window is gone: writes the store and destroys Config.
void FinishConfig();

// Key names in the store.
inline const QString OptionsKey = QStringLiteral("\\Software\\Kelmar\\Tarvelian\\1.0\\Options");
inline const QString GridKey = QStringLiteral("\\Software\\Kelmar\\Tarvelian\\1.0\\Options\\Grid");
inline const QString LastFilesKey = QStringLiteral("\\Software\\Kelmar\\Tarvelian\\1.0\\LastFiles");
inline const QString LayoutKey = QStringLiteral("\\Software\\Kelmar\\Tarvelian\\1.0\\Options\\Layout");
