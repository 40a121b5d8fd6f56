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

namespace {

bool isTextKind(int kind)
{
    return kind == 14 || kind == 17;
}

// A typed real as the model's single precision; a value beyond it does not convert.
bool toFloat(const QString &text, float &value)
{
    double v = 0;
    if (!TableText::ParseReal(text, v))
        return false;
    const float f = float(v);
    if (!std::isfinite(f))
        return false;
    value = f;
    return true;
}

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
    const int kind = model->KindOf(column);
    if (isUzels(grid)) {
        ConfirmEdit(grid);
        if (EditAllowed && Mine()->Uzels().Count() == 0) {
            Mine()->AddUzel(1, kUnsetReal, kUnsetReal, kUnsetReal);
            model->Refresh();
            CurrentCellChanged(grid);
        }
    } else {
        if (isTextKind(kind))
            EditAllowed = true;
        else
            ConfirmEdit(grid);
        if (EditAllowed && Mine()->Branches().Count() == 0) {
            Mine()->AddBranch(1, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
            model->Refresh();
            CurrentCellChanged(grid);
        }
        if (kind == 9) {
            // The perimeter follows from the cross-section and its shape: they are set in the
            // cross-section dialog, never typed. A refused edit opens nothing.
            TBranch *b = model->BranchAt(row);
            if (!EditAllowed || !b || DialogBusy)
                return false;
            DialogBusy = true;
            try {
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
    const int kind = model->KindOf(column);
    const bool restoring = RestoreOnCommit;
    // An emptied number cell keeps its value (a blank or "-" unsets it); an emptied text cell
    // is cleared: there is no other way to remove a comment.
    if (!restoring && typed.isEmpty() && !isTextKind(kind))
        return;
    if (row < 0 || row >= model->ElementCount())
        return;

    QString text = restoring ? SavedEditText : typed.trimmed();
    const bool blank = text.isEmpty();
    if (isUzels(grid) || !(kind == 11 || kind == 12 || isTextKind(kind)))
        if (text.isEmpty() || text == QLatin1String("-"))
            text = QString::number(kUnsetInt);

    bool refused = false;
    if (isUzels(grid)) {
        TUzel *u = model->UzelAt(row);
        applyUzel(u, kind, text, refused);
        if (!refused && kind >= 1 && kind <= 3) {
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
    } else {
        applyBranch(model->BranchAt(row), kind, text, blank, refused);
        if (kind >= 4 && kind <= 6) {
            BranchGrid->viewport()->update();
            emit JumperTableRefresh();
        }
    }
    model->RowChanged(row);
    if (refused)
        beep();
    else
        RestoreOnCommit = false;
    emit EditingChanged(grid->IsEditing());
}

void TNetworkTables::applyUzel(TUzel *uzel, int kind, const QString &text, bool &refused)
{
    if (kind == 0) {
        qint32 n = 0;
        if (!TableText::ParseInt(text, n)) {
            refused = true;
        } else if (n == 0) {
            // Checked before it is stored: a refused 0 never marks the document modified.
            uzel->SetNumber(savedNumber(SavedEditText));
            refused = true;
        } else {
            uzel->SetNumber(n);
        }
        return;
    }
    float v = 0;
    if (kind >= 1 && kind <= 3) {
        if (toFloat(text, v))
            uzel->SetCoordinate(kind, v);
        else
            refused = true;
    }
}

void TNetworkTables::applyBranch(TBranch *branch, int kind, const QString &text, bool wasBlank,
                                 bool &refused)
{
    qint32 n = 0;
    float v = 0;
    switch (kind) {
    case 4:
        if (!TableText::ParseInt(text, n)) {
            refused = true;
        } else if (n == 0) {
            branch->SetNumbers(1, savedNumber(SavedEditText));
            refused = true;
        } else {
            branch->SetNumbers(1, n);
        }
        break;
    case 5:
    case 6:
        if (TableText::ParseInt(text, n))
            branch->SetNumbers(kind == 5 ? 2 : 3, n);
        else
            refused = true;
        break;
    case 8:
        if (toFloat(text, v))
            branch->SetSection(v);
        else
            refused = true;
        break;
    case 11:
        if (toFloat(text, v)) {
            branch->SetVolumeFactor(v);
        } else {
            branch->SetVolumeFactor(1.0f);
            refused = !wasBlank;
        }
        break;
    case 12:
        if (toFloat(text, v)) {
            branch->SetExtraVolume(v);
        } else {
            branch->SetExtraVolume(0.0f);
            refused = !wasBlank;
        }
        break;
    case 14:
    case 17:
        if (!TableText::StorableText(text))
            refused = true;
        else if (kind == 14)
            branch->SetComment(text);
        else
            branch->SetName(text);
        break;
    case 15: {
        double r = 0;
        if (TableText::ParseReal(text, r))
            branch->SetResistance(r);
        else
            refused = true;
        break;
    }
    default:
        refused = true;
        break;
    }
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
    if (!uzel)
        return;
    QString message;
    if (uzel->Number() == kUnsetInt)
        message = QStringLiteral("Ошибка !\r\nНе указан номер узла !");
    else if (uzel->Number() == 0)
        message = QStringLiteral("Ошибка !\r\nНомер узла должен быть больше 0 !");
    else
        return;
    GoToColumn(UzelGrid, 0, true);
    throw AppError(message);
}

void TNetworkTables::ValidateBranch(const TBranch *branch)
{
    if (!branch)
        return;
    auto missing = [](qint32 n) { return n == kUnsetInt || n == 0; };
    QString message;
    int kind = 4;
    if (branch->Number() == kUnsetInt) {
        message = QStringLiteral("Ошибка !\r\nНе указан номер ветви !");
    } else if (missing(branch->StartNumber())) {
        message = QStringLiteral("Ошибка !\r\nНеверно указан номер начального узла !");
        kind = 5;
    } else if (missing(branch->EndNumber())) {
        message = QStringLiteral("Ошибка !\r\nНеверно указан номер конечного узла !");
        kind = 6;
    } else if (branch->StartNumber() == branch->EndNumber()) {
        message = QStringLiteral(
            "Ошибка !\r\nНомера начального и конечного узлов должны быть различными !");
        kind = 6;
    } else {
        return;
    }
    GoToColumn(BranchGrid, kind, true);
    throw AppError(message);
}

// ------------------------------------------------------------------------------------------
// Adding and deleting rows

void TNetworkTables::addRow(TNetworkGrid *grid)
{
    if (!ConfirmEdit(grid))
        return;
    grid->CloseEditor();
    grid->SetCurrentCell(grid->LastRow(), qMax(0, grid->CurrentColumn()));
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
