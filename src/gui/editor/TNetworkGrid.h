#pragma once
// One of the two network tables: a fixed header row with the two-line captions, a fixed
// row-number column, one row per element, every row the same height. Cells are drawn by
// TCellDelegate; the editing rules live in TNetworkTables, which this view reports to.
#include "editor/TGridCell.h"
#include "editor/TNetworkTableModel.h"

#include <QFont>
#include <QTableView>

class TCellDelegate;
class TGridHeader;
class TNetworkTables;

class TNetworkGrid : public QTableView {
    Q_OBJECT
public:
    TNetworkGrid(TNetworkTables *tables, TNetworkTableModel *model, QWidget *parent);

    TNetworkTableModel *TableModel() const { return m_model; }
    TNetworkTables *Tables() const { return m_tables; }
    bool IsUzels() const { return m_model->Table() == TNetworkTableModel::Uzels; }

    // Current cell as model row and column (-1 when none).
    int CurrentRow() const;
    int CurrentColumn() const;
    // Moves the current cell (a move by the program: any column may become current).
    void SetCurrentCell(TGridCell cell);
    int LastRow() const { return m_model->rowCount() - 1; }
    int LastColumn() const { return m_model->columnCount() - 1; }
    bool ColumnEditable(int column) const;
    // The cell lies in the selected rectangle (copied by Ctrl+C, drawn like the current cell).
    bool IsCellSelected(int row, int column) const;

    // The in-place editor.
    bool IsEditing() const;
    // Opens the editor on the current cell (as Enter does).
    void OpenEditor();
    // Closes it; its text is applied once more.
    void CloseEditor();

    // Font and row heights (the header row is twice a data row).
    void SetTableFont(const QFont &font, int rowHeight);
    const QFont &TableFont() const { return m_font; }
    int RowHeight() const { return m_rowHeight; }

    TCellDelegate *Delegate() const { return m_delegate; }
    TGridHeader *ColumnHeader() const { return m_columnHeader; }
    TGridHeader *RowHeader() const { return m_rowHeader; }

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintCorner(QWidget *corner);
    // A current cell that a selection put into a column that is not editable goes back to the
    // editable column it was in.
    void keepEditableColumn();

    TNetworkTables *m_tables;
    TNetworkTableModel *m_model;
    TCellDelegate *m_delegate;
    TGridHeader *m_columnHeader;
    TGridHeader *m_rowHeader;
    QFont m_font;
    int m_rowHeight = 20;
    bool m_programMove = false;
    int m_editableColumn = 0;   // the last editable column that was current
};
