// Layout, refresh, navigation, row selection and sorting of the network tables. What typed text
// does to the model, validation and the add and delete commands are in TNetworkTablesEdit.cpp.
#include "editor/TNetworkTables.h"

#include "base/Utils.h"
#include "editor/TCellDelegate.h"
#include "editor/TGridHeader.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTableModel.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "storage/TMineDocument.h"

#include <QFontMetrics>
#include <algorithm>
#include <vector>

TNetworkTables::TNetworkTables(TMineDocument &document, QWidget *gridParent)
    : QObject(gridParent), m_document(document)
{
    m_uzelModel = new TNetworkTableModel(document, TNetworkTableModel::Uzels, this);
    m_branchModel = new TNetworkTableModel(document, TNetworkTableModel::Branches, this);
    UzelGrid = new TNetworkGrid(this, m_uzelModel, gridParent);
    BranchGrid = new TNetworkGrid(this, m_branchModel, gridParent);
    m_uzelGridAlive = UzelGrid;
    m_branchGridAlive = BranchGrid;
    ApplyDisplaySettings();
    // A table opens with its first cell current, as a new or loaded document shows it.
    UzelGrid->SetCurrentCell({.Row = 0, .Column = 0});
    BranchGrid->SetCurrentCell({.Row = 0, .Column = 0});
}

TNetworkTables::~TNetworkTables()
{
    // The grids report to this object; they go with it (unless their parent took them first).
    delete m_uzelGridAlive.data();
    delete m_branchGridAlive.data();
}

TMine *TNetworkTables::Mine() const
{
    return m_document.Mine();
}

void TNetworkTables::ResetColumns()
{
    m_document.ResetColumns();
    LayoutColumns();
}

void TNetworkTables::layoutGrid(TNetworkGrid *grid)
{
    const int row = grid->CurrentRow(), column = grid->CurrentColumn();
    TNetworkTableModel *model = grid->TableModel();
    model->Relayout();
    const QFontMetrics metrics(grid->TableFont());
    for (int c = 0; c < model->columnCount(); ++c) {
        const TColumnDesc *d = model->Column(c);
        int width = std::max(metrics.horizontalAdvance(d->Caption),
                             metrics.horizontalAdvance(d->UnitLine));
        if (d->Decimals > 0)
            width = std::max(width, metrics.horizontalAdvance(
                                        QStringLiteral("00.") + QString(d->Decimals, u'0')));
        grid->ColumnHeader()->resizeSection(c, width + 7);
    }
    widenGrid(grid);
    grid->RowHeader()->setFixedWidth(30);
    if (row >= 0 && column >= 0)
        grid->SetCurrentCell({.Row = row, .Column = column});
    grid->viewport()->update();
    grid->ColumnHeader()->viewport()->update();
}

void TNetworkTables::widenColumn(TNetworkGrid *grid, int column, const QStringList &texts)
{
    const TColumnDesc *d = grid->TableModel()->Column(column);
    if (!d)
        return;
    int width = grid->ColumnHeader()->sectionSize(column);
    for (const QString &text : texts)
        width = std::max(width, grid->Delegate()->ColumnWidthFor(d->ColumnKind(), text));
    if (width != grid->ColumnHeader()->sectionSize(column))
        grid->ColumnHeader()->resizeSection(column, width);
}

void TNetworkTables::widenGrid(TNetworkGrid *grid)
{
    const TNetworkTableModel *model = grid->TableModel();
    for (int c = 0; c < model->columnCount(); ++c)
        widenColumn(grid, c, ColumnKinds::WidestTexts(model->Column(c)->ColumnKind(), *Mine()));
}

void TNetworkTables::WidenColumns()
{
    widenGrid(UzelGrid);
    widenGrid(BranchGrid);
}

void TNetworkTables::LayoutColumns()
{
    layoutGrid(UzelGrid);
    layoutGrid(BranchGrid);
}

void TNetworkTables::RefreshTables()
{
    // The lists may have been sorted or thinned: the rows follow the elements that were
    // current, and when one is gone, whatever now stands in its row becomes current.
    TMine *mine = Mine();
    const TUzel *uzel = mine->CurUzel();
    const TBranch *branch = mine->CurBranch();
    const quint8 selKind = mine->SelKind();   // 0 node, 1 branch, 2 stopping
    TJumper *jumper = selKind == 2 ? mine->CurJumper() : nullptr;
    m_uzelModel->Refresh();
    m_branchModel->Refresh();
    // Each table reports its row as the current element: the table of the element that was
    // current reports last, so that it stays current (a node picked on the scheme stays the
    // node after the scheme's refresh), and a stopping is made current again after its branch.
    if (selKind == 0) {
        followCurrent(BranchGrid, branch ? branch->ListPos() : -1);
        followCurrent(UzelGrid, uzel ? uzel->ListPos() : -1);
    } else {
        followCurrent(UzelGrid, uzel ? uzel->ListPos() : -1);
        followCurrent(BranchGrid, branch ? branch->ListPos() : -1);
    }
    if (jumper && mine->CurJumper() == jumper && mine->SelKind() != 2)
        mine->SelectJumper(jumper);
    emit JumperTableRefresh();
    RepaintTables();
}

void TNetworkTables::followCurrent(TNetworkGrid *grid, int position)
{
    const int row = position >= 0 ? position : qBound(0, grid->CurrentRow(), grid->LastRow());
    if (row != grid->CurrentRow())
        // reports the move
        grid->SetCurrentCell({.Row = row, .Column = qMax(0, grid->CurrentColumn())});
    else
        CurrentCellChanged(grid);   // the same row may hold another element now
}

TUzel *TNetworkTables::CurrentUzel() const
{
    return m_uzelModel->UzelAt(UzelGrid->CurrentRow());
}

TBranch *TNetworkTables::CurrentBranch() const
{
    return m_branchModel->BranchAt(BranchGrid->CurrentRow());
}

void TNetworkTables::RepaintTables()
{
    for (TNetworkGrid *grid : {UzelGrid, BranchGrid}) {
        grid->viewport()->update();
        grid->RowHeader()->viewport()->update();
        grid->ColumnHeader()->viewport()->update();
    }
}

void TNetworkTables::UpdateBranchRow(const TBranch *branch)
{
    if (branch && branch->ListPos() >= 0)
        m_branchModel->RowChanged(branch->ListPos());
    else
        RepaintTables();
}

void TNetworkTables::ApplyDisplaySettings()
{
    const QString name = Config ? Config->Fontname : QStringLiteral("MS Sans Serif");
    const int size = Config ? Config->FontSize : 8;
    const QFont font = CellFont(name, size);
    for (TNetworkGrid *grid : {UzelGrid, BranchGrid})
        grid->SetTableFont(font, CellRowHeight(font, grid));
    LayoutColumns();
}

void TNetworkTables::GoToColumn(TNetworkGrid *grid, int code, bool focus)
{
    if (const std::optional<TColumnKind> kind = ColumnKinds::FromCode(code))
        GoToColumn(grid, *kind, focus);
}

void TNetworkTables::GoToColumn(TNetworkGrid *grid, TColumnKind kind, bool focus)
{
    TNetworkTableModel *model = grid->TableModel();
    int column = model->ColumnOfKind(kind);
    if (column < 0) {
        // A hidden column that something points to is shown first.
        auto show = [kind](auto columns) {
            for (TColumnDesc &d : columns)
                if (d.ColumnKind() == kind)
                    d.Shown = true;
            return columns;
        };
        if (isUzels(grid))
            m_document.SetNodeColumns(show(m_document.NodeColumns()));
        else
            m_document.SetBranchColumns(show(m_document.BranchColumns()));
        LayoutColumns();
        column = model->ColumnOfKind(kind);
        if (column < 0)
            return;
    }
    if (focus)
        grid->setFocus(Qt::OtherFocusReason);
    grid->SetCurrentCell({.Row = qMax(0, grid->CurrentRow()), .Column = column});
}

void TNetworkTables::NextColumn(TNetworkGrid *grid)
{
    for (int c = grid->CurrentColumn() + 1; c <= grid->LastColumn(); ++c)
        if (grid->ColumnEditable(c)) {
            grid->SetCurrentCell({.Row = grid->CurrentRow(), .Column = c});
            return;
        }
}

void TNetworkTables::PrevColumn(TNetworkGrid *grid)
{
    for (int c = grid->CurrentColumn() - 1; c >= 0; --c)
        if (grid->ColumnEditable(c)) {
            grid->SetCurrentCell({.Row = grid->CurrentRow(), .Column = c});
            return;
        }
}

void TNetworkTables::NextCell(TNetworkGrid *grid, bool columnAdvance)
{
    TNetworkTableModel *model = grid->TableModel();
    if (model->ElementCount() == 0)
        columnAdvance = false;
    int from;
    if (columnAdvance) {
        if (grid->CurrentColumn() >= grid->LastColumn()) {
            NextCell(grid, false);
            return;
        }
        from = grid->CurrentColumn();
    } else {
        const int row = qMax(0, grid->CurrentRow());
        if (model->ElementCount() > 0) {
            if (isUzels(grid))
                ValidateNode(model->UzelAt(row));
            else
                ValidateBranch(model->BranchAt(row));
        }
        if (row >= grid->LastRow()) {
            appendElement(grid);
            model->Refresh();
            grid->SetCurrentCell({.Row = grid->LastRow(), .Column = qMax(0, grid->CurrentColumn())});
        } else {
            grid->SetCurrentCell({.Row = row + 1, .Column = qMax(0, grid->CurrentColumn())});
        }
        from = -1;
    }
    for (int c = from + 1; c <= grid->LastColumn(); ++c)
        if (grid->ColumnEditable(c)) {
            grid->SetCurrentCell({.Row = grid->CurrentRow(), .Column = c});
            return;
        }
    // No editable column to the right: the next row. A layout without any editable column
    // stays where it is rather than appending rows for ever.
    if (columnAdvance)
        NextCell(grid, false);
}

void TNetworkTables::appendElement(TNetworkGrid *grid)
{
    TNetworkTableModel *model = grid->TableModel();
    const int row = grid->CurrentRow();
    // One more than the current row's number; a number past the largest stays unset.
    auto nextNumber = [](qint32 current) -> qint32 {
        if (current == kUnsetInt)
            return 1;
        return current < std::numeric_limits<qint32>::max() ? current + 1 : kUnsetInt;
    };
    TUserAction action(Mine(), isUzels(grid) ? QStringLiteral("Добавление узла") : QStringLiteral("Добавление ветви"));
    if (isUzels(grid)) {
        const TUzel *current = model->UzelAt(row);
        Mine()->AddUzel(current ? nextNumber(current->Number()) : 1, kUnsetReal, kUnsetReal,
                        kUnsetReal);
    } else {
        const TBranch *current = model->BranchAt(row);
        TBranch *b = Mine()->AddBranch(current ? nextNumber(current->Number()) : 1, kUnsetInt,
                                       kUnsetInt, QString(), kUnsetReal);
        if (current) {
            b->SetShape(current->Shape());
            b->SetRoughness(current->Roughness());
        }
    }
}

void TNetworkTables::CurrentCellChanged(TNetworkGrid *grid)
{
    if (SchemeSync) {
        emit SchemeSyncMoved();
        return;
    }
    TNetworkTableModel *model = grid->TableModel();
    const int row = grid->CurrentRow();
    if (isUzels(grid)) {
        if (TUzel *u = model->UzelAt(row)) {
            Mine()->SelectUzel(u);
            emit CurrentUzelChanged(u);
        }
        return;
    }
    TBranch *b = model->BranchAt(row);
    if (model->ElementCount() == 0 || !b) {
        emit CurrentBranchChanged(nullptr);
        return;
    }
    Mine()->SelectBranch(b);
    emit CurrentBranchChanged(b);
    // On an end node's number the node table goes to that node.
    const TColumnDesc *d = model->Column(grid->CurrentColumn());
    const TColumnKind kind = d ? d->ColumnKind() : TColumnKind::BranchNumber;
    if (kind == TColumnKind::StartNumber || kind == TColumnKind::EndNumber) {
        const qint32 number = std::get<qint32>(ColumnKinds::Value(kind, *b));
        const int position = Mine()->Uzels().PositionOf(number);
        if (position > 0 && !IsUnset(number))
            UzelGrid->SetCurrentCell(
                {.Row = position - 1, .Column = qMax(0, UzelGrid->CurrentColumn())});
    }
}

void TNetworkTables::HeaderClicked(TNetworkGrid *grid, int column)
{
    if (const TColumnDesc *d = grid->TableModel()->Column(column))
        SortBy(d->ColumnKind());
}

void TNetworkTables::HeaderDragged(TNetworkGrid *grid, int from, int to)
{
    ColumnDragged = true;
    if (from == to)
        return;
    TNetworkTableModel *model = grid->TableModel();
    const int fromKind = model->KindOf(from), toKind = model->KindOf(to);
    auto move = [&](auto columns) {
        auto position = [&](int kind) {
            return std::find_if(columns.begin(), columns.end(),
                                [kind](const TColumnDesc &d) { return d.Kind == kind; }) -
                   columns.begin();
        };
        std::vector<TColumnDesc> order(columns.begin(), columns.end());
        const auto src = position(fromKind), dst = position(toKind);
        const TColumnDesc moved = order[size_t(src)];
        order.erase(order.begin() + src);
        order.insert(order.begin() + dst, moved);
        std::copy(order.begin(), order.end(), columns.begin());
        return columns;
    };
    grid->CloseEditor();
    if (isUzels(grid))
        m_document.SetNodeColumns(move(m_document.NodeColumns()));
    else
        m_document.SetBranchColumns(move(m_document.BranchColumns()));
    LayoutColumns();
    grid->SetCurrentCell({.Row = grid->CurrentRow(), .Column = to});
}

void TNetworkTables::SortBy(TColumnKind kind)
{
    const bool uzels = ColumnKinds::Row(kind).Table == TColumnTable::Uzels;
    gridOf(uzels)->CloseEditor();
    TUserAction action(Mine(), QStringLiteral("Сортировка"));
    if (uzels)
        Mine()->Uzels().SortBy(ColumnKinds::Code(kind));
    else
        Mine()->Branches().SortByKind(ColumnKinds::Code(kind));
    RefreshTables();
}

bool TNetworkTables::IsEditing() const
{
    return UzelGrid->IsEditing() || BranchGrid->IsEditing();
}

void TNetworkTables::ToggleEditView()
{
    for (TNetworkGrid *grid : {UzelGrid, BranchGrid}) {
        if (grid->IsEditing())
            grid->CloseEditor();
        else if (grid->hasFocus())
            grid->OpenEditor();
    }
    emit EditingChanged(IsEditing());
}
