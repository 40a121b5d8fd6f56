#pragma once
// The frame of the program: menus, tool bars, status bar, the seam and plan-position boxes,
// the list of commands with their enabling rules, and every way a document arrives (open
// dialog, command line, hand-over from a later start, drop, recent files). It holds no mine
// data: each document lives in its TChildForm inside the workspace, and commands act on the
// active one.
#include "schemes/TSchemeHost.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;
class TChildForm;
class TGraph3DForm;
class TGroupCombo;
class TIncidGraphForm;
class TJumper;
enum class TColumnKind : quint8;

class TMainForm : public QMainWindow, public TSchemeHost {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // --- Documents -------------------------------------------------------------------------
    int DocumentCount() const { return m_documentCount; }
    void SetDocumentCount(int n);
    // The document window shown in front, or none.
    TChildForm *ActiveChild() const;
    // Every document window, in window-list (creation) order.
    QList<TChildForm *> Children() const;
    // Creates an empty, untitled document window and shows it.
    TChildForm *CreateChild();
    // Where the document window number index (from 0) of a cascade opens in a workspace of
    // size area: nine tenths of it (400 x 300 to 980 x 640, never more than the area), each
    // window one step further down and right, back to the top left before leaving the area.
    static QRect CascadeSlot(const QSize &area, int index, int step);
    // Brings a titled window of exactly path to the front; false when there is none.
    bool FindOpenDocument(const QString &path);
    // Opens path in a new window unless it is open already. A read error closes the new window
    // and is thrown on (AppError), ending the request that asked for the file.
    void OpenDocumentFile(const QString &path);
    void RecentFileClick(int position);
    void ApplyDisplaySettingsToAll();

    // Command line: the switch "dde" ("-dde", "/DDE", ...) means the documents come by request;
    // after "--" every argument is a file.
    static bool IsDdeSwitch(const QString &argument);
    static bool HasDdeSwitch(const QStringList &arguments);
    // The files named, in order (none with the dde switch); they open as NamedFiles.h says.
    static QStringList CommandLineDocuments(const QStringList &arguments);
    // Arguments (without the program name) opened when the window is first shown.
    void SetCommandLine(const QStringList &arguments) { m_commandLine = arguments; }
    void OpenCommandLineDocuments();
    // An execute request handed over by a later start: opens each "open" of its first line.
    void ExecuteDdeMacro(const QString &macro);
    // Files dropped on the window (NamedFiles.h).
    void OpenDroppedFiles(const QStringList &paths);

    // --- Status bar ------------------------------------------------------------------------
    static constexpr int StatusPanelCount = 5;
    // Panels keep their first widths as minimums and widen to their texts; the mine's name
    // only this far, beyond which it shows shortened.
    static constexpr int MaxNamePanelWidth = 400;
    QLabel *StatusPanel(int index) const { return m_panels[index]; }
    // The text last given to a panel (the panel itself may show it shortened).
    QString StatusPanelText(int index) const;
    void SetStatusPanelText(int index, const QString &text);
    void ShowStatusText(const QString &text);
    void ClearStatusText();
    bool IsStatusTextShown() const;

    // --- Commands --------------------------------------------------------------------------
    // Evaluates every enabling rule; runs whenever the application becomes idle.
    void UpdateActions();
    // The commands in the order of the action list (the order decides shortcut conflicts),
    // then the four large calculation buttons.
    const QList<QAction *> &ActionList() const { return m_actionList; }
    QAction *FindAction(const QString &name) const;
    // "&Редактор" while the given table does not edit in place, "&Просмотр" while it does.
    void SetEditViewCaption(bool tableEditing);

    // Help: contents, a topic of the program's help.
    void ShowHelpContents();
    void ShowHelpTopic(int topic);

    // --- Schemes (TMainFormSchemes.cpp) ---------------------------------------------------
    // The 3D scheme window, or none.
    TGraph3DForm *Graph3DForm() const;
    // A document window became active (closes): the scheme windows show (let go of) its mine.
    void SchemesFollow(TMine *mine);
    void SchemesLetGo(TMine *mine);
    // The scheme command, then, when the scheme window is there, the stopping becomes the
    // current element, marked and brought to the middle ("&На схему" of the stopping list).
    void ShowStoppingOnScheme(TJumper *jumper);
    // TSchemeHost: the active document for the scheme windows.
    TMine *ActiveMine() override;
    bool CheckActiveCoordinates() override;
    void SchemeSelectedUzel(int index, TUzel *uzel) override;
    void SchemeSelectedBranch(int index, TBranch *branch) override;
    // The incidence scheme window, or none.
    TIncidGraphForm *IncidGraphForm() const;
    // A table's current row moved to the node (branch) of that number in mine: the incidence
    // scheme window, when it shows mine, shows it.
    void IncidenceShow(const TMine *mine, bool uzel, qint32 number);

    QMdiArea *Workspace() const { return m_workspace; }
    QMenu *RecentFilesPopup() const { return m_recentPopup; }
    QMenu *RecentFilesMenu() const { return m_recentMenu; }
    QMenu *WindowMenu() const { return m_windowMenu; }

    // Group bar.
    QLabel *lbLayers = nullptr;
    QLabel *lbPLFs = nullptr;
    TGroupCombo *cbLayers = nullptr;
    TGroupCombo *cbPLFs = nullptr;

    // The commands, by the names the rest of the program knows them.
    QAction *actUndo, *actRedo;
    QAction *actCheckTopology, *actCheckIsol, *actIncidGraph, *actNew, *actOpen, *actSave,
        *actSaveAs, *actSaveAll, *actGraph3D, *actClose, *actPrint, *actFileProp, *actExit,
        *actUstav, *actSetup, *actCascade, *actTileHor, *actTileVert, *actAlignIcons,
        *actMinimizeAll, *actHelpTopic, *actHelpOnHelp, *actAbout, *actClearAccountResults,
        *actEditView, *actAddUzel, *actDelUzel, *actSurfUzel, *actTransform, *actAddBranch,
        *actDelBranch, *actSortUzelsNum, *actSortUzelsX, *actSortUzelsY, *actSortUzelsZ,
        *actSortBranchesNum, *actSortBranchesStart, *actSortBranchesEnd, *actUseColor,
        *actViewJumpers, *actViewUzels, *actViewBranches, *actViewMessage, *actNormalCalc,
        *actNormalResults, *actAddjumper, *actDelJumper, *actEditLayers, *actFind,
        *actJumperList, *actSortL, *actSortS, *actSortPerim, *actSortV, *actSortVk, *actSortVadd,
        *actSortAngle, *actSortRem, *actSortR, *actMoveRemName, *actPathCalc, *actPathResults,
        *actMakeR, *actMakeAllR, *actNormalCalc2, *actNormalResults2, *actPathCalc2,
        *actPathResults2, *actImportCsv, *actExportCsv, *actImportDxf, *actExportDxf,
        *actCompare;

    // The rule terms.
    bool HasDocument() const { return m_documentCount > 0; }
    bool DocumentReady() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct ActionSpec;
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void runCommand(void (TMainForm::*exec)());
    bool canClose();
    void fillWindowMenu();
    void updateRecentFilesMenus();
    // Opens the mine files among paths, then names the others in one box (NamedFiles.h).
    void openNamedFiles(const QStringList &paths);
    void groupChosen(TGroupCombo *box, bool layers, int index);
    void sortBy(TColumnKind kind);
    QString dataDir() const;
    QString helpDir() const;
    bool useColorSetting() const;

    // Undo and redo (TMainFormTables.cpp).
    void execUndo();
    void execRedo();
    // The File and View commands on documents (TMainFormDocuments.cpp).
    void execNew();
    void execOpen();
    void execSave();
    void execSaveAs();
    void execSaveAll();
    void execClose();
    void execExit();
    void execSurfUzel();
    // The table commands (TMainFormTables.cpp; the views and stopping commands in
    // TMainFormDocuments.cpp).
    void execEditView();
    void execAddUzel();
    void execDelUzel();
    void execAddBranch();
    void execDelBranch();
    void execViewUzels();
    void execViewBranches();
    void execViewJumpers();
    void execViewMessage();
    void execClearAccountResults();
    // The check and resistance commands (TMainFormChecks.cpp).
    void execCheckTopology();
    void execCheckIsol();
    void execGraph3D();
    void execIncidGraph();
    void execMakeR();
    void execMakeAllR();
    void execAddJumper();
    void execDelJumper();
    // The print dialog (TMainFormPrint.cpp).
    void execPrint();
    // The find and list tools (TMainFormTools.cpp).
    void execFind();
    void execJumperList();
    void execMoveRemName();
    void execEditLayers();
    // The seams and plan positions editor on page 0 (seams) or 1, then the group boxes anew.
    void editLayers(int page);
    void execSetup();   // TMainFormDocuments.cpp
    // The document dialogs (TMainFormDialogs.cpp).
    void execFileProp();
    void execTransform();
    // The Window and Help menus (TMainFormWindows.cpp).
    void execCascade();
    void execTileHor();
    void execTileVert();
    void tileWindows(bool oneAboveTheOther);
    void execAlignIcons();
    void execMinimizeAll();
    void execHelpTopic();
    void execUstav();
    void execHelpOnHelp();
    void execAbout();
    // Exchange with spreadsheets (TMainFormCsv.cpp).
    void execImportCsv();
    void execExportCsv();
    // Exchange with CAD drawings (TMainFormDxf.cpp).
    void execImportDxf();
    void execExportDxf();
    // Comparison with a mine file (TMainFormCsv.cpp).
    void execCompare();

    QMdiArea *m_workspace = nullptr;
    QMenu *m_recentPopup = nullptr;
    QMenu *m_recentMenu = nullptr;
    QAction *m_recentMenuAction = nullptr;
    QMenu *m_windowMenu = nullptr;
    QToolButton *m_openButton = nullptr;
    QLabel *m_panels[StatusPanelCount] = {};
    // Sets the panel's width for text; returns the room left for the text inside it.
    int fitStatusPanel(int index, const QString &text);
    QList<QAction *> m_actionList;
    QPointer<TGraph3DForm> m_graph3D;
    QPointer<TIncidGraphForm> m_incidGraph;
    QList<QPair<int, int>> m_actionRules; // enabling rule and tick of each command of the list
    QStringList m_commandLine;
    bool m_firstShown = false;
    bool m_closing = false;
    int m_documentCount = 0;
};
