#pragma once
// The stopping table and the people table of the document window. Each shows the stoppings
// (persons) of the current branch, one per row, with a header row and a row-number column, and
// edits them in place. Unlike the node and branch tables, a typed value is applied only when
// the edit ends: Tab, Enter, Page Up/Down, Up/Down and leaving the table commit it, Esc drops
// it, a click elsewhere keeps it when something was typed (EditPhase, IgnoreNextChange).
//
// The stopping table never types into its list columns (material, cut-in, vent, doors,
// openings): when such a cell becomes current a ChoiceBox is laid over it (OpenCellChoice).
//
// Rows and columns in this interface are those on the screen: row 0 and column 0 are the
// header row and the row-number column; element i of the branch's list is in row i + 1.
// The grid asks Branch() for the branch every time, so it never holds a branch of its own.
#include "editor/TChoiceBox.h"
#include "editor/TGridCell.h"

#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <functional>

class TBranch;
class TElementGridModel;
class TJumper;
class TPeopleInfo;

enum TEditPhase { epTyping, epCommit, epCancel };

class TElementGrid : public QTableView {
    Q_OBJECT
public:
    enum Kind { Stoppings, People };

    explicit TElementGrid(Kind kind, QWidget *parent = nullptr);
    ~TElementGrid() override;

    Kind kind() const { return m_kind; }
    using QTableView::edit;

    // Where the grid takes its branch (null: no branch), set by the panel.
    std::function<TBranch *()> Branch;
    // Asked before an edit changes the model (the document's results question); false drops it.
    std::function<bool()> ConfirmEdit;

    int ElementCount() const;
    TJumper *JumperAt(int row) const;        // null for the header or a row without one
    TPeopleInfo *PersonAt(int row) const;
    int ColumnCount() const;                 // with the row-number column

    int CurrentRow() const;
    int CurrentColumn() const;
    // Makes the cell current as a click would (OpenCellChoice follows in the stopping table).
    void SetCurrentCell(TGridCell cell);
    QRect CellRect(TGridCell cell) const;   // in viewport coordinates

    // Rebuilds the rows for the current branch: the choice box goes, an open edit is committed
    // and closed; editing is on when there is at least one element. Returns that count.
    int Refresh();

    // In-place editing of the table (switched by Refresh and OpenCellChoice).
    bool EditingEnabled() const { return m_editing; }
    void SetEditingEnabled(bool on);
    TEditPhase EditPhase() const { return m_phase; }
    bool IgnoreNextChange() const { return m_ignoreNextChange; }
    QLineEdit *Editor() const { return m_editor; }
    // Commits (or, with commit false, drops) an open edit and closes the editor.
    void CloseEditor(bool commit = true);

    // --- choice box (stopping table)
    void OpenCellChoice(int column, int row);
    void DestroyChoiceBox();
    TChoiceBox *ChoiceBox() const { return m_choiceBox; }

    // Row height from the display settings (the font's height + 7) and the table font; the
    // header row is two rows high.
    void ApplyDisplaySettings();
    int DefaultRowHeight() const;

signals:
    // A value of an element was applied (the position box and the scheme follow).
    void ElementEdited();
    // The current cell moved.
    void CurrentCellChanged(int column, int row);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class TElementGridDelegate;
    friend class TElementGridModel;
    QModelIndex modelIndex(int column, int row) const;
    QString editText(int column, int row) const;
    void *elementAt(int row) const;
    bool holdsElement(void *element) const;
    // Delegate hooks.
    QWidget *createEditorFor(QWidget *parent, const QModelIndex &index);
    void fillEditor(QLineEdit *editor, const QModelIndex &index);
    void editorTextChanged();
    void applyEdit(QLineEdit *editor);
    void choiceMade(int index);
    void showError(const QString &message);
    void followChoiceBox();

    Kind m_kind;
    TElementGridModel *m_model;
    bool m_editing = false;
    TEditPhase m_phase = epCommit;
    bool m_ignoreNextChange = false;
    QPointer<QLineEdit> m_editor;
    void *m_editElement = nullptr;
    int m_editColumn = 0;
    bool m_refreshing = false;
    bool m_pressed = false;
    int m_rowHeight = 20;
    QPointer<TChoiceBox> m_choiceBox;
    int m_choiceColumn = 0, m_choiceRow = 0;
    // Notices of the headers that reach this object's own members; the base class's destructor
    // still resizes the headers, after those members are gone, so they are let go of first.
    QMetaObject::Connection m_cornerFollow, m_choiceFollow;
};
