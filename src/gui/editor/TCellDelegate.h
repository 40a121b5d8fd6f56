#pragma once
// Draws the data cells of the node and branch tables and creates their in-place editor.
// A cell's look comes from the settings (CellAttr, SelCellAttr, SurfCellAttr) and the element
// of its row; the perimeter column adds the cross-section symbol in the seam's colour and the
// plan-position column the position's colour.
#include <QStyledItemDelegate>

class TNetworkGrid;
class TNetworkTables;

class TCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TCellDelegate(TNetworkGrid *grid, TNetworkTables *tables);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

    // One data cell (model row and column) into rect, as the table shows it.
    void DrawCell(QPainter &painter, const QRect &rect, int row, int column) const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    TNetworkGrid *m_grid;
    TNetworkTables *m_tables;
};
