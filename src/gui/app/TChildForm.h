#pragma once
// One open mine: the document window inside the main window's workspace. It owns the document
// (TMineDocument: the mine, notes, calculation parameters, file name, column layout) for as long
// as it lives and carries it through its life: created untitled, read from a file, modified,
// saved, results cleared, closed with a question about unsaved changes.
//
// Layout, top to bottom: the node table (UzelGrid) and the branch table (BranchGrid) side by
// side in TablesSplit; the stopping and people panel (pnlJumpers); the message panel
// (pnlMessages with lbMessages). The three rows share the vertical splitter MainSplit.
#include "checks/TErrorInfo.h"
#include "checks/TIsolHost.h"
#include "dialogs/TDocumentHost.h"
#include "schemes/TIncidHost.h"
#include "storage/TMineDocument.h"

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class QSplitter;
class QToolButton;
class QUndoStack;
class TChangeStep;
struct TStepFocus;
class TBranch;
class TJumperPanel;
class TMainForm;
class TMessagePanel;
struct TDiffPlace;
class TMine;
class TNetworkTables;
class TUzel;
namespace NetworkCsv {
struct TSources;
}

class TChildForm : public QWidget, public TIsolHost, public TIncidHost, public TDocumentHost {
    Q_OBJECT
public:
    // FormCreate: an untitled mine "Шахта без названия N" proposed as "Новый N.mdf" in the data
    // folder, N counting every document window created in this run.
    explicit TChildForm(TMainForm *mainForm, QWidget *parent = nullptr);
    // FormDestroy: frees the document and tells the main window there is one document less.
    ~TChildForm() override;

    // Document windows created in this run (opened ones included).
    static int CreatedCount();
    // A splitter position the user left (0: none) or else the first one.
    static int RememberedSize(int remembered, int first);

    TMineDocument &Document() override { return m_doc; }
    const TMineDocument &Document() const { return m_doc; }
    TMine *Mine() const override { return m_doc.Mine(); }
    const QString &FileName() const { return m_doc.FileName(); }
    bool HasFile() const { return m_doc.HasFile(); }
    bool Calculated() const { return m_doc.Calculated(); }
    // A gas-dynamic calculation is running; nothing in this program starts one.
    bool Calculating() const { return m_calculating; }
    void SetCellLength(float value) { m_doc.SetCellLength(value); }

    // Reads path into this (new) window. A read error closes the window and is thrown on.
    void LoadFromFile(const QString &path);
    // Reads a recovery copy (app/TRecovery.h) into this (new) window as the modified document it
    // was: under its own path fileName when it had a file, else untitled under this window's
    // proposed name. A read error closes the window and is thrown on.
    void LoadRecovered(const QString &copyPath, const QString &fileName, bool hasFile);
    // Reads the document from its CSV files (the node and branch files, and those of the others
    // given) into this (new) window, refreshed
    // as after LoadFromFile; the document stays modified and without a file. A refused value
    // closes the window and is thrown on.
    void ImportFromCsv(const NetworkCsv::TSources &sources);
    // The same for a network that build puts into the (empty) mine: another file's import.
    void ImportNetwork(const std::function<void(TMine &)> &build);
    // Saves under FileName, asking for a name first when the document has no file. False when
    // the dialog was cancelled or a calculation runs; a write error is thrown (AppError).
    bool SaveToFile();
    // Saves, always asking for a name.
    bool SaveAs();
    // Clears the calculation results (whole-mine and/or route), optionally after a question,
    // and with save the document is saved and the result side files ".r"/".r2" removed.
    void ClearResults(bool ask, bool wholeMine, bool save, bool route) override;
    // Guard before any edit of the tables: with results present the user must agree to lose
    // them. While its question is on screen a further call answers at once.
    bool ConfirmEdit() override;

    // Grows with every notice of a change of the mine (its modified flag set, rows added or
    // removed): a copy taken at one count holds every change made before it.
    quint64 ChangeCount() const { return m_changes; }

    // --- undo and redo (TChildFormUndo.cpp)
    // Every user action on the document is a step of this list; its clean state is the state
    // last saved, and the modified flag follows it.
    QUndoStack *UndoStack() const { return m_undo; }
    // The names of the steps undo and redo would take back or do again; null when none.
    QString UndoText() const;
    QString RedoText() const;
    // Commit open cell editors, then take back (do again) one step.
    void Undo();
    void Redo();
    // Closes the step of the changes made outside any named action.
    void FlushJournal();
    // The number of steps kept from now on (0: none) when the list is empty.
    void ApplyUndoLimit();

    // The close question; true when the window may close.
    bool FormCloseQuery();
    void FormClose();
    void FormActivate();
    // Closes and destroys the window at once, with no question (a document that failed to
    // read). Nothing of the window may be used after it.
    void CloseWithoutQuestion();
    // The main window has already asked this window (closing the program).
    void SetCloseApproved() { m_closeApproved = true; }
    bool IsClosed() const { return m_closed; }

    // Mine name, node and branch counts and the modified mark into the main window's status bar.
    void ShowDocumentStatus();
    // The main window's seam and plan-position boxes from this mine.
    void FillGroupCombos();
    // Both boxes show the current branch's seam and plan position.
    void ShowBranchGroups();
    // Applies the branch table's current row: selects the branch and shows its groups.
    void ApplyBranchRow();
    // The table font of Config on every table of the window.
    void ApplyDisplaySettings();
    // Rebuilds what the tables show after the lists changed.
    void RefreshTables();
    // Column counts and widths of both tables after the column layout changed.
    void LayoutColumns() override;
    // The document dialogs' steps after a change (TDocumentHost).
    void RefreshCaption() override { updateCaption(); }
    void RepaintTables() override;
    QWidget *HostWidget() override { return this; }
    // Makes the column of kind current in table (UzelGrid or BranchGrid), showing it first when
    // it is hidden; with focus the table takes the keyboard focus.
    void GoToColumn(QWidget *table, int kind, bool focus);

    // The elements of the tables' current rows, or none.
    TUzel *CurrentUzel() const;
    TBranch *CurrentBranch() const;

    // Rule terms of the main window's commands.
    int UzelCount() const;
    int BranchCount() const;
    bool IsModified() const;
    int CurrentBranchJumperCount() const;
    bool CurrentUzelIsSurface() const;

    // Sorting the kind's table by the kind through the model; the tables are refreshed after.
    void SortBy(TColumnKind kind);

    // Parts of the window the view commands show and hide.
    bool IsUzelTableVisible() const;
    bool IsBranchTableVisible() const;
    bool IsJumperPanelVisible() const;
    bool IsMessagePanelVisible() const;
    void SetUzelTableVisible(bool visible);
    void SetBranchTableVisible(bool visible);
    void SetJumperPanelVisible(bool visible);
    // Shows or hides the message panel (with its splitter handle).
    void ShowMessages(bool show);
    void ClearMessages();

    // The topology check in its three stages (TChildFormChecks.cpp); each returns true when it
    // and the stages before it found nothing. KeepPanel: a stage without findings leaves the
    // message panel as it was instead of hiding it.
    bool CheckTopology(bool KeepPanel) override;
    bool CheckCoordinates(bool KeepPanel);
    bool CheckPhysics(bool KeepPanel);
    // A line's reference: the element's row and the column of the faulty value in the table
    // of its kind. A position beyond the table (rows deleted since the check) does nothing.
    void FollowMessage(const TErrorInfo &info);
    // R of one branch from its roughness; false when its inputs do not allow it.
    bool ComputeResistance(TBranch *branch);
    // The hanging-and-isolated-elements window and the incidence scheme window reach the
    // tables through these.
    void ShowBranchRow(int index) override;
    void ShowUzelRow(int index) override;
    // A line of the compare window: the node's or branch's row, then the stopping's or person's
    // row of that branch; places past the lists as they stand now show nothing.
    void ShowDiffPlace(const TDiffPlace &place);
    // A scheme picked the node (branch) at 1-based index: the table's current row moves there
    // while SchemeSync holds, so the table does not select it back.
    void SchemeSelectsRow(bool uzels, int index);
    QObject *HostObject() override { return this; }
    bool UzelTableFocused() const override;

    // Widgets, by the names the rest of the program knows them.
    QSplitter *MainSplit = nullptr;
    QSplitter *TablesSplit = nullptr;
    QWidget *UzelGrid = nullptr;
    QWidget *BranchGrid = nullptr;
    // The two tables' editing rules and layout (editor/TNetworkTables.h); owns both grids.
    TNetworkTables *Tables = nullptr;
    TJumperPanel *pnlJumpers = nullptr;
    TMessagePanel *pnlMessages = nullptr;
    QListWidget *lbMessages = nullptr;
    QToolButton *btnHideMessages = nullptr;

signals:
    // The mine's modified flag went from one value to the other (saved, or the changes
    // dropped at the close question, when it goes false).
    void ModifiedChanged(bool modified);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    // Runs read (filling the document of this new window) and refreshes the whole window round
    // what it read; on any failure the window closes and the failure is thrown on.
    void readDocument(const std::function<void()> &read);
    // The node and branch tables in TablesSplit, wired to the window (TChildFormTables.cpp).
    void buildTables();
    // The message panel under the stopping and people panel (TChildFormChecks.cpp).
    void buildMessagePanel();
    // The document closes: a list window opened for it closes too.
    void closeCheckWindows();
    // Makes this the active document window (the list window leads here from outside).
    void bringToFront();
    void updateCaption();
    // Counts a change and tells when the modified flag turned.
    void noteChange();
    // The splitter positions go to the settings (the next window starts there).
    void rememberSplitters();
    void updatePlaceholders();
    QString dataDir() const;
    void setupUndo();
    void pushStep(std::unique_ptr<TChangeStep> step);
    // The steps so far no longer lead back (a change that could not be recorded, a step too
    // large to keep): the list is emptied and no state in it is the saved one any more.
    void dropUndoHistory();
    // After a step was undone or redone: everything shown follows, the current rows move to
    // what the step changed.
    void afterStep(const TStepFocus &focus);

    TMainForm *m_mainForm;
    TMineDocument m_doc;
    bool m_calculating = false;
    bool m_confirming = false;
    bool m_loading = false;
    bool m_discard = false;
    bool m_closeApproved = false;
    bool m_closed = false;
    bool m_wasModified = false;
    quint64 m_changes = 0;
    QUndoStack *m_undo = nullptr;
    bool m_resettingUndo = false;
    int m_uzelWidthBeforeHide = 229;   // set from the settings when the tables are built
    QLabel *m_uzelPlaceholder = nullptr;
    QLabel *m_branchPlaceholder = nullptr;
};
