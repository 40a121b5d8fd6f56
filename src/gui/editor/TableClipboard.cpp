#include "editor/TableClipboard.h"

#include "exchange/CellBlock.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTableView>

namespace TableClipboard {

bool SelectedRange(const QTableView *view, TRange &range)
{
    const QAbstractItemModel *model = view->model();
    const QItemSelectionModel *selection = view->selectionModel();
    if (!model || !selection)
        return false;
    const QModelIndexList cells = selection->selectedIndexes();
    if (cells.isEmpty()) {
        const QModelIndex current = view->currentIndex();
        if (!current.isValid())
            return false;
        range = {current.row(), current.column(), current.row(), current.column(), false};
        return true;
    }
    range = {cells.first().row(), cells.first().column(), cells.first().row(), cells.first().column(), false};
    for (const QModelIndex &i : cells) {
        range.Top = qMin(range.Top, i.row());
        range.Bottom = qMax(range.Bottom, i.row());
        range.Left = qMin(range.Left, i.column());
        range.Right = qMax(range.Right, i.column());
    }
    range.WholeRows = range.Left == 0 && range.Right == model->columnCount() - 1;
    if (range.WholeRows)
        for (int r = range.Top; r <= range.Bottom && range.WholeRows; ++r)
            range.WholeRows = selection->isRowSelected(r);
    return true;
}

void SelectRange(QTableView *view, const TRange &range)
{
    const QAbstractItemModel *model = view->model();
    const QItemSelection block(model->index(range.Top, range.Left), model->index(range.Bottom, range.Right));
    view->selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
}

QString HeaderText(const QAbstractItemModel *model, int column)
{
    return model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().simplified();
}

bool IsHeaderRow(const QStringList &cells, const QAbstractItemModel *model, int first)
{
    int compared = 0;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const int column = first + int(i);
        if (column >= model->columnCount())
            break;
        if (cells[i].simplified().compare(HeaderText(model, column), Qt::CaseInsensitive) != 0)
            return false;
        ++compared;
    }
    return compared > 0;
}

bool Copy(const QTableView *view)
{
    TRange range;
    if (!SelectedRange(view, range))
        return false;
    const QAbstractItemModel *model = view->model();
    QStringList header;
    if (range.WholeRows)
        for (int c = range.Left; c <= range.Right; ++c)
            header << HeaderText(model, c);
    CellBlock::TRows shown, copied;
    shown.reserve(range.Bottom - range.Top + 1);
    copied.reserve(range.Bottom - range.Top + 1);
    if (!header.isEmpty())
        copied << header;
    for (int r = range.Top; r <= range.Bottom; ++r) {
        QStringList shownRow, copiedRow;
        for (int c = range.Left; c <= range.Right; ++c) {
            const QModelIndex cell = model->index(r, c);
            shownRow << model->data(cell, Qt::DisplayRole).toString();
            const QVariant full = model->data(cell, kCopyTextRole);
            copiedRow << (full.isValid() ? full.toString() : shownRow.last());
        }
        shown << shownRow;
        copied << copiedRow;
    }
    auto *mime = new QMimeData;
    mime->setText(CellBlock::Tsv(copied));
    mime->setHtml(CellBlock::Html(header, shown));
    QGuiApplication::clipboard()->setMimeData(mime);
    return true;
}

} // namespace TableClipboard
