#pragma once
// The node table (UzelGrid) and the branch table (BranchGrid) of one document window, and the
// editing rules they share: what a typed text does to the model, which cell comes next,
// validation of a row, adding and deleting rows, sorting by a header click, the column layout.
//
// Who owns what: the document window owns this object and the document (the mine and the
// column layout); this object owns the two grids' models and knows the grids, which the window
// places in its splitter. Everything typed goes to the model through its setters at once.
//
// What the window connects: ConfirmResults (the document's question before calculated data is
// changed), and the signals below for the main window's caption of the edit command, the seam
// and plan-position boxes, the stopping and people tables and the schemes.
#include "model/TBranch.h"   // complete types for the signals' arguments
#include "model/TUzel.h"
#include "storage/TColumnDesc.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;
class TMine;
class TMineDocument;
class TNetworkGrid;
class TNetworkTableModel;

class TNetworkTables : public QObject {
    Q_OBJECT
public:
    // Builds both grids (parented to gridParent) for document; the layout is not reset here.
    TNetworkTables(TMineDocument &document, QWidget *gridParent);
    ~TNetworkTables() override;

    TNetworkGrid *UzelGrid = nullptr;
    TNetworkGrid *BranchGrid = nullptr;

    TMineDocument &Document() const { return m_document; }
    TMine *Mine() const;

    // The document's question before calculated data may change: true when the user agrees
    // (the results are then gone). Unset: editing is allowed exactly when nothing is calculated.
    std::function<bool()> ConfirmResults;
    // Runs the cross-section dialog for a branch (true when closed with OK). Unset: the
    // program's dialog. Tests replace it.
    std::function<bool(TBranch *)> EditCrossSection;

    // --- editing state
    bool EditAllowed = false;
    bool RestoreOnCommit = false;
    QString SavedEditText;
    // The key that merges the keystrokes of the cell being edited into one step.
    quint64 EditSession = 0;
    bool SavedModified = false;
    bool ColumnDragged = false;
    bool DialogBusy = false;
    bool SchemeSync = false;

    // --- operations of the document window
    void ResetColumns();
    // Column counts and widths of both tables from the layout (the header's width at least, a
    // number column as wide as its widest value); both repainted.
    void LayoutColumns();
    // Every number column of both tables as wide as its widest value needs, at least (a column
    // never narrows here): after values changed by more than a keystroke (reading, a paste, a
    // transformation, a check). Typing widens the typed cell's column by itself.
    void WidenColumns();
    // Row counts from the model; each table's row goes to the element that was current (it
    // stays where it was when that element is gone), the element in it becomes current and the
    // stopping and people tables follow; both repainted.
    void RefreshTables();
    // The elements in the current rows, or none.
    TUzel *CurrentUzel() const;
    TBranch *CurrentBranch() const;
    // The column of kind becomes current in grid (shown first when hidden; focus on request).
    void GoToColumn(TNetworkGrid *grid, TColumnKind kind, bool focus);
    // The same by the kind's code; a code that is no kind does nothing.
    void GoToColumn(TNetworkGrid *grid, int code, bool focus);
    void NextCell(TNetworkGrid *grid, bool columnAdvance);
    void NextColumn(TNetworkGrid *grid);
    void PrevColumn(TNetworkGrid *grid);
    // Raise AppError with the message and put the cursor on the offending column.
    void ValidateNode(const TUzel *uzel);
    void ValidateBranch(const TBranch *branch);
    // Whether the user may change the document now; sets EditAllowed.
    bool ConfirmEdit(TNetworkGrid *grid);
    // Font and row heights of both tables from the settings.
    void ApplyDisplaySettings();

    // --- commands
    void AddUzel();
    void DelUzel();
    void AddBranch();
    void DelBranch();
    // The node or branch table (the kind's) sorted by the kind, after its empty rows are gone
    // (the model's order).
    void SortBy(TColumnKind kind);
    // The edit command: each table's editor closes when open; the focused table's opens.
    void ToggleEditView();
    bool IsEditing() const;

    // --- what the grids call
    // Before the editor of a cell opens: the results question, the first element of an empty
    // list, the saved text. False when no editor is to open (the perimeter column runs the
    // cross-section dialog instead).
    bool BeginEdit(TNetworkGrid *grid, int row, int column);
    // The editor's text changed (or the editor closes): apply it to the model.
    void ApplyEditText(TNetworkGrid *grid, int row, int column, const QString &typed);
    void EditorEnter(TNetworkGrid *grid);
    void EditorEscape(TNetworkGrid *grid);
    void EditorClosed(TNetworkGrid *grid);
    // The current cell of grid moved.
    void CurrentCellChanged(TNetworkGrid *grid);
    // A header click without a drag (column is a model column).
    void HeaderClicked(TNetworkGrid *grid, int column);
    // A header was dragged from model column from to model column to.
    void HeaderDragged(TNetworkGrid *grid, int from, int to);
    // Insert / Delete keys.
    void InsertKey(TNetworkGrid *grid);
    void DeleteKey(TNetworkGrid *grid);
    // A tab-separated block (a spreadsheet's or our own copy) written from the current cell
    // rightwards and downwards by the rules of typing; rows past the end are appended, computed
    // columns skipped, a repeated header row skipped. The whole block is checked first: on a
    // refusal nothing changes, the cursor goes to the refused cell and AppError names row and
    // column.
    void Paste(TNetworkGrid *grid, const QString &text);

    // Repaint of the branch table's row of branch (its stopping symbol, after the stopping
    // table changed it), or of the whole branch table.
    void UpdateBranchRow(const TBranch *branch);
    void RepaintTables();

signals:
    // The current branch row changed (none: the mine has no branches). The stopping and people
    // tables and the group boxes follow it.
    void CurrentBranchChanged(TBranch *branch);
    // The current node row changed to a node.
    void CurrentUzelChanged(TUzel *uzel);
    // The current row moved while the 3D scheme moved it: only the stopping table follows.
    void SchemeSyncMoved();
    // Branch numbers or ends changed, or rows were refreshed: the stopping table and its
    // position box repaint.
    void JumperTableRefresh();
    // An editor opened, a change was applied or an editor closed: the edit command's caption.
    void EditingChanged(bool editing);
    // A table received the focus (the stopping table drops its choice box).
    void TableFocused();
    // A coordinate changed: the 3D scheme redraws (the window handles the scheme).
    void CoordinateChanged(TUzel *uzel);

private:
    TNetworkGrid *gridOf(bool uzels) const { return uzels ? UzelGrid : BranchGrid; }
    bool isUzels(const TNetworkGrid *grid) const { return grid == UzelGrid; }
    void layoutGrid(TNetworkGrid *grid);
    void widenGrid(TNetworkGrid *grid);
    // Column of grid at least as wide as each of texts needs.
    void widenColumn(TNetworkGrid *grid, int column, const QStringList &texts);
    // The branch table's number columns at least as wide as the branches of uzel need.
    void widenBranchesAt(const TUzel *uzel);
    // What a typed text does to the element of row in the kind's column; false when refused.
    bool applyText(TNetworkTableModel *model, int row, TColumnKind kind, const QString &text, bool blank);
    // Raise AppError with the row check's message and put the cursor on its column.
    void refuseRow(TNetworkGrid *grid, const TRowFault &fault);
    void appendElement(TNetworkGrid *grid);
    void selectRow(TNetworkGrid *grid);
    // After a refresh: the current row of grid goes to list position (0-based; -1: it stays),
    // and what the row now holds is applied.
    void followCurrent(TNetworkGrid *grid, int position);
    void deleteRow(TNetworkGrid *grid);
    void addRow(TNetworkGrid *grid);
    bool runCrossSection(TBranch *branch);
    static void beep();

    TMineDocument &m_document;
    TNetworkTableModel *m_uzelModel = nullptr;
    TNetworkTableModel *m_branchModel = nullptr;
    QPointer<QWidget> m_uzelGridAlive;
    QPointer<QWidget> m_branchGridAlive;
};
