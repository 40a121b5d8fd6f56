// Editing in the network tables: starting an edit, what a typed text does to the model, Enter
// and Esc, validation of a row, the results question, and the add and delete commands.
#include "editor/TNetworkTables.h"

#include "AppError.h"
#include "base/AppDialogs.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTableModel.h"
#include "editor/TPerimTypeForm.h"
#include "editor/TableText.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "storage/TMineDocument.h"

#include <QApplication>
#include <cmath>
#include <optional>

namespace {

// The number a refused 0 goes back to: the text the cell had when the edit began.
qint32 savedNumber(const QString &saved)
{
    qint32 n = kUnsetInt;
    if (!TableText::ParseInt(saved.trimmed(), n))
        n = kUnsetInt;
    return n;
}

} // namespace

void TNetworkTables::beep()
{
    QApplication::beep();
}

bool TNetworkTables::ConfirmEdit(TNetworkGrid *)
{
    if (DialogBusy)
        return !m_document.Calculated();
    DialogBusy = true;
    bool answer = false;
    try {
        answer = ConfirmResults ? ConfirmResults() : !m_document.Calculated();
    } catch (...) {
        DialogBusy = false;
        EditAllowed = false;
        throw;
    }
    EditAllowed = answer;
    DialogBusy = false;
    return answer;
}

bool TNetworkTables::BeginEdit(TNetworkGrid *grid, int row, int column)
{
    TNetworkTableModel *model = grid->TableModel();
    const TColumnDesc *d = model->Column(column);
    if (!d)
        return false;
    const TColumnKind kind = d->ColumnKind();
    if (isUzels(grid)) {
        ConfirmEdit(grid);
        if (EditAllowed && Mine()->Uzels().Count() == 0) {
            Mine()->AddUzel(1, kUnsetReal, kUnsetReal, kUnsetReal);
            model->Refresh();
            CurrentCellChanged(grid);
        }
    } else {
        // Comments and names are not calculated data: no results question.
        if (ColumnKinds::IsText(kind))
            EditAllowed = true;
        else
            ConfirmEdit(grid);
        if (EditAllowed && Mine()->Branches().Count() == 0) {
            Mine()->AddBranch(1, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
            model->Refresh();
            CurrentCellChanged(grid);
        }
        if (kind == TColumnKind::Perimeter) {
            // The perimeter follows from the cross-section and its shape: they are set in the
            // cross-section dialog, never typed. A refused edit opens nothing.
            TBranch *b = model->BranchAt(row);
            if (!EditAllowed || !b || DialogBusy)
                return false;
            DialogBusy = true;
            try {
                TUserAction action(Mine(), QStringLiteral("Правка сечения"));
                runCrossSection(b);
            } catch (...) {
                DialogBusy = false;
                throw;
            }
            DialogBusy = false;
            RepaintTables();
            NextCell(grid, true);
            return false;
        }
    }
    // Every keystroke applied from here to leaving the cell is one step of the undo list.
    EditSession = TChangeJournal::NewMergeKey();
    SavedEditText = model->CellText(row, column);
    if (SavedEditText.size() > TableText::kMaxEditChars)
        throw AppError(TableText::TooLongToEdit(SavedEditText.size()));
    SavedModified = Mine()->Modified();
    RestoreOnCommit = false;
    return true;
}

bool TNetworkTables::runCrossSection(TBranch *branch)
{
    if (EditCrossSection)
        return EditCrossSection(branch);
    TPerimTypeForm form(branch, UzelGrid->window());
    return form.exec() == QDialog::Accepted;
}

void TNetworkTables::ApplyEditText(TNetworkGrid *grid, int row, int column, const QString &typed)
{
    if (!EditAllowed)
        return;
    TNetworkTableModel *model = grid->TableModel();
    const TColumnDesc *d = model->Column(column);
    if (!d)
        return;
    const TColumnKind kind = d->ColumnKind();
    const bool restoring = RestoreOnCommit;
    // An emptied number cell keeps its value (a blank or "-" unsets it); an emptied text cell
    // is cleared: there is no other way to remove a comment.
    if (!restoring && typed.isEmpty() && !ColumnKinds::IsText(kind))
        return;
    if (row < 0 || row >= model->ElementCount())
        return;

    const QString text = restoring ? SavedEditText : typed.trimmed();
    bool refused = false;
    {
        TUserAction action(Mine(), QStringLiteral("Правка ячейки"), EditSession);
        refused = !applyText(model, row, kind, text, text.isEmpty());
    }
    // A number is never cut: its column widens to the value (the lengths, volumes and angles of
    // the moved node's branches too).
    if (!refused)
        widenColumn(grid, column, {model->CellText(row, column)});
    if (isUzels(grid)) {
        TUzel *u = model->UzelAt(row);
        if (!refused && ColumnKinds::IsCoordinate(kind)) {
            widenBranchesAt(u);
            BranchGrid->viewport()->update();
            if (Mine()->Scheme()) {
                // The scheme marks the edited node but does not jump to it.
                Mine()->SelectUzel(u);
                Mine()->SetCenterRequest(false);
                Mine()->ProjectNodes();
                Mine()->RefreshScheme();
            }
            emit CoordinateChanged(u);
        }
    } else if (ColumnKinds::IsBranchNumbering(kind)) {
        BranchGrid->viewport()->update();
        emit JumperTableRefresh();
    }
    model->RowChanged(row);
    if (refused)
        beep();
    else
        RestoreOnCommit = false;
    emit EditingChanged(grid->IsEditing());
}

void TNetworkTables::widenBranchesAt(const TUzel *uzel)
{
    // Only the node's own branches change: a keystroke costs them, not the whole list.
    const TNetworkTableModel *model = BranchGrid->TableModel();
    for (int c = 0; c < model->columnCount(); ++c) {
        const TColumnKind kind = model->Column(c)->ColumnKind();
        if (!ColumnKinds::ShowsNumber(kind))
            continue;
        QStringList texts;
        for (const TBranch *b : Mine()->Branches().BranchesAt(uzel->Number()))
            texts << ColumnKinds::Text(kind, *b);
        widenColumn(BranchGrid, c, texts);
    }
}

bool TNetworkTables::applyText(TNetworkTableModel *model, int row, TColumnKind kind, const QString &text,
                               bool blank)
{
    TUzel *uzel = model->UzelAt(row);
    TBranch *branch = model->BranchAt(row);
    auto set = [&](const TColumnValue &value) {
        return uzel ? ColumnKinds::SetValue(kind, *uzel, value) : ColumnKinds::SetValue(kind, *branch, value);
    };
    const TColumnInput input = ColumnKinds::ReadInput(kind, text, TInputSource::Typed);
    switch (input.Fault) {
    case TInputFault::None:
        return set(input.Value);
    case TInputFault::Zero:
        // Checked before it is stored: a refused 0 never marks the document modified.
        set(savedNumber(SavedEditText));
        return false;
    case TInputFault::NotANumber:
        // The volume coefficient and the additional volume go back to their defaults; the text
        // is refused unless it was empty.
        if (!IsUnset(ColumnKinds::Row(kind).Emptied)) {
            set(ColumnKinds::EmptiedValue(kind));
            return blank;
        }
        return false;
    case TInputFault::NotStorable:
        break;
    }
    return false;
}

void TNetworkTables::EditorEnter(TNetworkGrid *grid)
{
    grid->CloseEditor();
    if (!m_document.Calculated())
        NextCell(grid, true);
    emit EditingChanged(IsEditing());
}

void TNetworkTables::EditorEscape(TNetworkGrid *grid)
{
    RestoreOnCommit = true;
    grid->CloseEditor();
    RestoreOnCommit = false;
    Mine()->SetModified(SavedModified);
    emit EditingChanged(IsEditing());
}

void TNetworkTables::EditorClosed(TNetworkGrid *grid)
{
    emit EditingChanged(grid->IsEditing());
}

void TNetworkTables::ValidateNode(const TUzel *uzel)
{
    if (uzel)
        refuseRow(UzelGrid, ColumnKinds::UzelRowFault(uzel->Number()));
}

void TNetworkTables::ValidateBranch(const TBranch *branch)
{
    if (branch)
        refuseRow(BranchGrid, ColumnKinds::BranchRowFault(branch->Number(), branch->StartNumber(),
                                                          branch->EndNumber()));
}

void TNetworkTables::refuseRow(TNetworkGrid *grid, const TRowFault &fault)
{
    if (fault.Message.isEmpty())
        return;
    GoToColumn(grid, fault.Column, true);
    throw AppError(fault.Message);
}

// ------------------------------------------------------------------------------------------
// Adding and deleting rows

void TNetworkTables::addRow(TNetworkGrid *grid)
{
    if (!ConfirmEdit(grid))
        return;
    grid->CloseEditor();
    grid->SetCurrentCell({.Row = grid->LastRow(), .Column = qMax(0, grid->CurrentColumn())});
    NextCell(grid, false);
    grid->setFocus(Qt::OtherFocusReason);
    grid->OpenEditor();
}

void TNetworkTables::deleteRow(TNetworkGrid *grid)
{
    grid->CloseEditor();
    if (!ConfirmEdit(grid))
        return;
    TNetworkTableModel *model = grid->TableModel();
    const int row = grid->CurrentRow();
    // The model does not mark a deletion; the user's deletion of an element the file would keep
    // changes the document (an empty row never reaches the file).
    bool changed = false;
    std::optional<TUserAction> action;
    if (isUzels(grid)) {
        TUzel *u = model->UzelAt(row);
        if (!u)
            return;
        if (!u->IsEmpty() &&
            AppDialogs::AskQuestion(grid->window(),
                                    QStringLiteral("Вы действительно хотите удалить узел №%1?")
                                        .arg(u->Number()),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
                != QMessageBox::Yes)
            return;
        changed = !u->IsEmpty();
        action.emplace(Mine(), QStringLiteral("Удаление узла"));
        Mine()->Uzels().Delete(row);
    } else {
        TBranch *b = model->BranchAt(row);
        if (!b)
            return;
        if (!b->IsEmpty() &&
            AppDialogs::AskQuestion(grid->window(),
                                    QStringLiteral("Вы действительно хотите удалить ветвь №%1?")
                                        .arg(b->Number()),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
                != QMessageBox::Yes)
            return;
        changed = !b->IsEmpty();
        action.emplace(Mine(), QStringLiteral("Удаление ветви"));
        Mine()->Branches().Delete(row);
    }
    if (changed)
        Mine()->SetModified(true);
    RefreshTables();
}

void TNetworkTables::AddUzel()
{
    addRow(UzelGrid);
}

void TNetworkTables::DelUzel()
{
    deleteRow(UzelGrid);
}

void TNetworkTables::AddBranch()
{
    addRow(BranchGrid);
}

void TNetworkTables::DelBranch()
{
    deleteRow(BranchGrid);
}

void TNetworkTables::InsertKey(TNetworkGrid *grid)
{
    addRow(grid);
}

void TNetworkTables::DeleteKey(TNetworkGrid *grid)
{
    deleteRow(grid);
}
