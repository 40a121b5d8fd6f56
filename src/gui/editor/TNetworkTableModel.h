#pragma once
// The node table or the branch table as a Qt item model. It reads the mine and the document's
// column layout directly: nothing is copied, a cell's text is made when it is asked for.
// Model row r is the element at list position r + 1; model column c is the (c + 1)-th shown
// descriptor of the layout (display column c + 1 — display column 0 is the row-number header).
// An empty list still shows one empty row.
#include "storage/TColumnDesc.h"

#include <QAbstractTableModel>
#include <vector>

class TMineDocument;
class TMine;
class TUzel;
class TBranch;

class TNetworkTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TTable { Uzels, Branches };

    TNetworkTableModel(TMineDocument &document, TTable table, QObject *parent = nullptr);

    TTable Table() const { return m_table; }
    TMine *Mine() const;
    // Elements in the list (not rows: an empty list has one row).
    int ElementCount() const;
    // The element of model row, or none (the empty row, a row past the list).
    TUzel *UzelAt(int row) const;
    TBranch *BranchAt(int row) const;

    // The descriptor of model column, or none (beyond the shown ones).
    const TColumnDesc *Column(int column) const;
    // Model column showing kind (or its code), -1 when it is hidden or not in this table.
    int ColumnOfKind(int kind) const;
    int ColumnOfKind(TColumnKind kind) const { return ColumnOfKind(ColumnKinds::Code(kind)); }
    // The kind code of model column, -1 beyond the shown ones.
    int KindOf(int column) const;
    // The text of a cell (empty for the empty row).
    QString CellText(int row, int column) const;
    // The value of a cell in full, as a copy carries it (empty for the empty row).
    QString CopyText(int row, int column) const;

    // Re-reads the column layout (after it changed) and the row count.
    void Relayout();
    // Re-reads the row count and repaints every cell.
    void Refresh();
    // Repaints the cells of one row (and its row header).
    void RowChanged(int row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const TColumnDesc *descriptors() const;
    int descriptorCount() const;

    TMineDocument &m_document;
    TTable m_table;
    std::vector<int> m_shown;   // descriptor positions of the shown columns, in order
    int m_rows = 1;
};
