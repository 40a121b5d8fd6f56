#pragma once
// Draws the data cells of the node and branch tables and creates their in-place editor.
// A cell's look comes from the settings (CellAttr, SelCellAttr, SurfCellAttr) and the element
// of its row; the perimeter column adds the cross-section symbol in the seam's colour and the
// plan-position column the position's colour.
//
// A number is never cut: a number that does not fit its cell (the user made the column narrower
// than the table made it) is drawn as "###", and its tool tip shows it whole.
#include "model/ColumnKinds.h"
#include "settings/TConfig.h"   // TCellAttr

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
    // The column width that shows text in a cell of kind in every look a cell may have (bold
    // ones included), each digit as wide as the widest digit of the font.
    int ColumnWidthFor(TColumnKind kind, const QString &text) const;
    // What a number cell of kind shows in a cell of width: text, or "###" when it does not fit.
    QString FittedText(TColumnKind kind, const QString &text, const QFont &font, int width) const;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    bool isMarked(int row, int column) const;
    // The look of a cell: selected, a surface node's, or plain (darker where not editable).
    TCellAttr lookOf(int row, int column) const;

    TNetworkGrid *m_grid;
    TNetworkTables *m_tables;
};
