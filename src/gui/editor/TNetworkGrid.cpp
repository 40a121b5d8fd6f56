#include "editor/TNetworkGrid.h"

#include "base/Guarded.h"
#include "editor/TCellDelegate.h"
#include "editor/TGridHeader.h"
#include "editor/TNetworkTables.h"
#include "editor/TableClipboard.h"
#include "editor/TableText.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

TNetworkGrid::TNetworkGrid(TNetworkTables *tables, TNetworkTableModel *model, QWidget *parent)
    : QTableView(parent), m_tables(tables), m_model(model)
{
    setObjectName(IsUzels() ? QStringLiteral("UzelGrid") : QStringLiteral("BranchGrid"));
    m_columnHeader = new TGridHeader(Qt::Horizontal, this);
    m_rowHeader = new TGridHeader(Qt::Vertical, this);
    setHorizontalHeader(m_columnHeader);
    setVerticalHeader(m_rowHeader);
    setModel(model);
    m_delegate = new TCellDelegate(this, tables);
    setItemDelegate(m_delegate);

    // A rectangle of cells, or whole rows through the row numbers, for the clipboard. A click on a
    // column header sorts and selects nothing.
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    disconnect(m_columnHeader, &QHeaderView::sectionPressed, this, nullptr);
    disconnect(m_columnHeader, &QHeaderView::sectionEntered, this, nullptr);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setMinimumWidth(100);
    m_rowHeader->setFixedWidth(30);
    m_rowHeader->setMinimumSectionSize(1);
    m_columnHeader->setMinimumSectionSize(1);

    // The corner cell (row 0 of the row-number column) is drawn like the other header cells.
    if (auto *corner = findChild<QAbstractButton *>())
        corner->installEventFilter(this);

    // Selecting rows by their numbers keeps the current cell in its column (the view would put
    // it into the leftmost one, which may be computed) and gives the table the focus.
    auto keepColumn = [this](int) {
        setFocus(Qt::MouseFocusReason);
        keepEditableColumn();
    };
    connect(m_rowHeader, &QHeaderView::sectionPressed, this, keepColumn);
    connect(m_rowHeader, &QHeaderView::sectionEntered, this, keepColumn);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &, const QModelIndex &) {
                RunGuarded([this] { m_tables->CurrentCellChanged(this); });
            });
}

int TNetworkGrid::CurrentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

int TNetworkGrid::CurrentColumn() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : -1;
}

void TNetworkGrid::SetCurrentCell(TGridCell cell)
{
    const int row = qBound(0, cell.Row, LastRow());
    const int column = qBound(0, cell.Column, LastColumn());
    const QModelIndex target = m_model->index(row, column);
    if (!target.isValid())
        return;
    // Selected cells look like the current one: a block the move leaves is let go, or a scheme
    // or a message leading to another row would leave two rows marked. A move inside the block
    // (into an editable column of selected rows) keeps it.
    const auto flags = selectionModel()->isSelected(target) ? QItemSelectionModel::NoUpdate
                                                            : QItemSelectionModel::ClearAndSelect;
    m_programMove = true;
    selectionModel()->setCurrentIndex(target, flags);
    m_programMove = false;
    scrollTo(target);
}

bool TNetworkGrid::ColumnEditable(int column) const
{
    const TColumnDesc *d = m_model->Column(column);
    return d && d->Editable;
}

bool TNetworkGrid::IsEditing() const
{
    return state() == QAbstractItemView::EditingState;
}

void TNetworkGrid::OpenEditor()
{
    const QModelIndex i = currentIndex();
    if (i.isValid() && !IsEditing())
        edit(i, QAbstractItemView::EditKeyPressed, nullptr);
}

void TNetworkGrid::CloseEditor()
{
    if (!IsEditing())
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    } else {
        // The editor belongs to another cell than the current one: find it through focus.
        QWidget *w = focusWidget();
        if (w && w != this) {
            commitData(w);
            closeEditor(w, QAbstractItemDelegate::NoHint);
        }
    }
}

void TNetworkGrid::SetTableFont(const QFont &font, int rowHeight)
{
    m_font = font;
    m_rowHeight = rowHeight;
    setFont(font);
    m_rowHeader->setDefaultSectionSize(rowHeight);
    m_columnHeader->setFixedHeight(2 * rowHeight);
    viewport()->update();
    m_columnHeader->viewport()->update();
    m_rowHeader->viewport()->update();
}

bool TNetworkGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool opening = index.isValid() && !IsEditing() &&
                         (trigger == AllEditTriggers || trigger == EditKeyPressed ||
                          (editTriggers() & trigger)) &&
                         (m_model->flags(index) & Qt::ItemIsEditable);
    if (!opening)
        return QTableView::edit(index, trigger, event);
    if (trigger == AnyKeyPressed && event && event->type() == QEvent::KeyPress) {
        // A key the column does not admit neither opens the editor nor reaches it.
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (text.isEmpty() || (text.size() == 1 && !ColumnKinds::KeyAdmitted(
                                                       m_model->Column(index.column())->ColumnKind(), text.front())))
            return true;
    }
    bool open = false;
    RunGuarded([&] { open = m_tables->BeginEdit(this, index.row(), index.column()); });
    if (!open)
        return true;
    const bool result = QTableView::edit(index, trigger == EditKeyPressed ? AllEditTriggers : trigger,
                                         event);
    emit m_tables->EditingChanged(IsEditing());
    return result;
}

void TNetworkGrid::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->matches(QKeySequence::Copy) || (mods == Qt::ControlModifier && event->key() == Qt::Key_Insert)) {
        TableClipboard::Copy(this);
        return;
    }
    if (event->matches(QKeySequence::Paste) || (mods == Qt::ShiftModifier && event->key() == Qt::Key_Insert)) {
        const QString text = QGuiApplication::clipboard()->text();
        RunGuarded([this, &text] { m_tables->Paste(this, text); });
        return;
    }
    if (mods == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OpenEditor();
            return;
        case Qt::Key_Left:
            RunGuarded([this] { m_tables->PrevColumn(this); });
            return;
        case Qt::Key_Right:
            RunGuarded([this] { m_tables->NextColumn(this); });
            return;
        case Qt::Key_Insert:
            RunGuarded([this] { m_tables->InsertKey(this); });
            return;
        case Qt::Key_Delete:
            RunGuarded([this] { m_tables->DeleteKey(this); });
            return;
        default:
            break;
        }
    }
    QTableView::keyPressEvent(event);
}

void TNetworkGrid::mousePressEvent(QMouseEvent *event)
{
    m_tables->ColumnDragged = false;
    const QModelIndex target = indexAt(event->position().toPoint());
    if (target.isValid() && !ColumnEditable(target.column())) {
        // Only editable cells become current from the table itself.
        setFocus(Qt::MouseFocusReason);
        return;
    }
    QTableView::mousePressEvent(event);
}

void TNetworkGrid::mouseMoveEvent(QMouseEvent *event)
{
    QTableView::mouseMoveEvent(event);
    // A selection dragged over computed columns leaves the current cell in an editable one.
    if (event->buttons() & Qt::LeftButton)
        keepEditableColumn();
}

void TNetworkGrid::keepEditableColumn()
{
    const int column = CurrentColumn();
    if (column < 0 || ColumnEditable(column))
        return;
    int target = ColumnEditable(m_editableColumn) ? m_editableColumn : -1;
    for (int c = 0; target < 0 && c <= LastColumn(); ++c)
        if (ColumnEditable(c))
            target = c;
    if (target >= 0)
        SetCurrentCell({.Row = CurrentRow(), .Column = target});
}

bool TNetworkGrid::IsCellSelected(int row, int column) const
{
    return selectionModel()->isSelected(m_model->index(row, column));
}

void TNetworkGrid::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    emit m_tables->TableFocused();
    viewport()->update();
}

void TNetworkGrid::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

QModelIndex TNetworkGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (hasFocus() && target.isValid() && !ColumnEditable(target.column()))
        return currentIndex().isValid() && ColumnEditable(currentIndex().column())
                   ? m_model->index(target.row(), currentIndex().column())
                   : currentIndex();
    return target;
}

void TNetworkGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid() && ColumnEditable(current.column()))
        m_editableColumn = current.column();
    // The current cell's look (colours and focus frame) moves with it.
    if (previous.isValid())
        viewport()->update(visualRect(previous));
    if (current.isValid())
        viewport()->update(visualRect(current));
}

void TNetworkGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    RunGuarded([this] { m_tables->EditorClosed(this); });
}

bool TNetworkGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && qobject_cast<QAbstractButton *>(watched)) {
        paintCorner(static_cast<QWidget *>(watched));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void TNetworkGrid::paintCorner(QWidget *corner)
{
    QPainter p(corner);
    TGridHeader::DrawCaptionCell(p, corner->rect().adjusted(0, 0, -1, -1), QStringLiteral("0"), true,
                                 palette(), m_font);
}
