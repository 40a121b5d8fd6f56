// Pasting a block of cells into the node or branch table. The block is checked whole by the
// rules of typing (the key filter, the parsing and refusals of each kind, the row check that
// Enter runs) before anything changes; then it is written through the elements' setters in one
// pass, after one results question.
#include "editor/TNetworkTables.h"

#include "AppError.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTableModel.h"
#include "editor/TableClipboard.h"
#include "editor/TableText.h"
#include "exchange/CellBlock.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "storage/TColumnDesc.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

// One cell of a block, as the model will take it.
struct TPastedCell {
    TColumnKind Kind = TColumnKind::UzelNumber;
    TColumnValue Value;
};

struct TPastedRow {
    int Row = 0;                      // model row; rows from ElementCount on are appended
    std::vector<TPastedCell> Cells;
    qint32 Numbers[3] = {kUnsetInt, kUnsetInt, kUnsetInt};   // number, start, end after the paste
};

// One more than the number above (1 when there is none), as a new row gets it.
qint32 numberAfter(qint32 above)
{
    if (above == kUnsetInt)
        return 1;
    return above < std::numeric_limits<qint32>::max() ? above + 1 : kUnsetInt;
}

} // namespace

void TNetworkTables::Paste(TNetworkGrid *grid, const QString &text)
{
    grid->CloseEditor();
    TNetworkTableModel *model = grid->TableModel();
    const bool uzels = isUzels(grid);
    const int firstRow = qMax(0, grid->CurrentRow());
    const int firstColumn = qMax(0, grid->CurrentColumn());
    CellBlock::TRows block = CellBlock::FromTsv(text);
    // Spreadsheets may end a block with an empty row.
    while (!block.isEmpty() && block.last().join(QString()).trimmed().isEmpty())
        block.removeLast();
    if (!block.isEmpty() && TableClipboard::IsHeaderRow(block.first(), model, firstColumn))
        block.removeFirst();
    if (block.isEmpty())
        return;

    // Refused: the cursor on the cell (the last row for a row still to be appended), the
    // message with the row and column the user sees.
    auto refuse = [&](int row, TColumnKind kind, const QString &why) {
        const int column = model->ColumnOfKind(kind);
        grid->setFocus(Qt::OtherFocusReason);
        grid->SetCurrentCell(
            {.Row = qMin(row, grid->LastRow()), .Column = column >= 0 ? column : grid->CurrentColumn()});
        throw AppError(QStringLiteral("Вставка не выполнена: строка %1, столбец \"%2\".\r\n\r\n%3")
                           .arg(row + 1)
                           .arg(ColumnKinds::HeaderText(kind), why));
    };

    // The whole block is checked before anything changes.
    const int count = model->ElementCount();
    std::vector<TPastedRow> rows(size_t(block.size()));
    bool onlyText = !uzels;
    for (size_t i = 0; i < rows.size(); ++i) {
        TPastedRow &row = rows[i];
        row.Row = firstRow + int(i);
        if (row.Row < count) {
            if (uzels) {
                row.Numbers[0] = model->UzelAt(row.Row)->Number();
            } else {
                const TBranch *b = model->BranchAt(row.Row);
                row.Numbers[0] = b->Number();
                row.Numbers[1] = b->StartNumber();
                row.Numbers[2] = b->EndNumber();
            }
        } else {
            // A new row is numbered as Enter numbers it: one more than the row above.
            const qint32 above = i > 0 ? rows[i - 1].Numbers[0]
                                 : count == 0 ? kUnsetInt
                                 : uzels     ? model->UzelAt(count - 1)->Number()
                                             : model->BranchAt(count - 1)->Number();
            row.Numbers[0] = numberAfter(above);
        }
        const QStringList &cells = block[qsizetype(i)];
        for (qsizetype j = 0; j < cells.size(); ++j) {
            const int column = firstColumn + int(j);
            if (column > grid->LastColumn())
                break;
            const TColumnKind kind = model->Column(column)->ColumnKind();
            // Computed columns take nothing; the perimeter comes from the cross-section dialog.
            if (!grid->ColumnEditable(column) || !ColumnKinds::Settable(kind))
                continue;
            TColumnInput input = ColumnKinds::ReadInput(kind, cells[j].trimmed(), TInputSource::Pasted);
            if (input.Fault != TInputFault::None)
                refuse(row.Row, kind, input.Refusal);
            if (!ColumnKinds::IsText(kind))
                onlyText = false;
            if (kind == TColumnKind::UzelNumber || kind == TColumnKind::BranchNumber)
                row.Numbers[0] = std::get<qint32>(input.Value);
            else if (kind == TColumnKind::StartNumber)
                row.Numbers[1] = std::get<qint32>(input.Value);
            else if (kind == TColumnKind::EndNumber)
                row.Numbers[2] = std::get<qint32>(input.Value);
            row.Cells.push_back({kind, std::move(input.Value)});
        }
        const TRowFault fault = uzels ? ColumnKinds::UzelRowFault(row.Numbers[0])
                                      : ColumnKinds::BranchRowFault(row.Numbers[0], row.Numbers[1], row.Numbers[2]);
        if (!fault.Message.isEmpty())
            refuse(row.Row, fault.Column, fault.Message);
    }

    // Comments and names need no results question, as when they are typed.
    if (onlyText)
        EditAllowed = true;
    else if (!ConfirmEdit(grid))
        return;

    TMine *mine = Mine();
    bool moved = false;
    TUserAction action(mine, QStringLiteral("Вставка"));
    mine->BeginUpdate();
    for (const TPastedRow &row : rows) {
        if (uzels) {
            if (row.Row >= mine->Uzels().Count()) {
                const TUzel *above = mine->Uzels().Count() > 0 ? mine->Uzels().Items(mine->Uzels().Count()) : nullptr;
                mine->AddUzel(numberAfter(above ? above->Number() : kUnsetInt), kUnsetReal, kUnsetReal, kUnsetReal);
            }
            TUzel *u = mine->Uzels().Items(row.Row + 1);
            for (const TPastedCell &cell : row.Cells) {
                ColumnKinds::SetValue(cell.Kind, *u, cell.Value);
                moved = moved || ColumnKinds::IsCoordinate(cell.Kind);
            }
            continue;
        }
        if (row.Row >= mine->Branches().Count()) {
            const TBranch *above =
                mine->Branches().Count() > 0 ? mine->Branches().Items(mine->Branches().Count()) : nullptr;
            TBranch *b = mine->AddBranch(numberAfter(above ? above->Number() : kUnsetInt), kUnsetInt, kUnsetInt,
                                         QString(), kUnsetReal);
            if (above) {
                b->SetShape(above->Shape());
                b->SetRoughness(above->Roughness());
            }
        }
        TBranch *b = mine->Branches().Items(row.Row + 1);
        for (const TPastedCell &cell : row.Cells)
            ColumnKinds::SetValue(cell.Kind, *b, cell.Value);
    }
    mine->EndUpdate();
    if (moved) {
        // Bounds and projection were left alone while the rows were written.
        mine->UpdateExtents(false);
        mine->ProjectNodes();
        mine->RefreshScheme();
    }

    WidenColumns();
    RefreshTables();
    TableClipboard::TRange pasted;
    pasted.Top = firstRow;
    pasted.Bottom = firstRow + int(rows.size()) - 1;
    pasted.Left = firstColumn;
    pasted.Right = firstColumn;
    for (const QStringList &cells : block)
        pasted.Right = qMax(pasted.Right, qMin(grid->LastColumn(), firstColumn + int(cells.size()) - 1));
    grid->SetCurrentCell({.Row = firstRow, .Column = firstColumn});
    TableClipboard::SelectRange(grid, pasted);
    CurrentCellChanged(grid);
    if (uzels) {
        if (moved)
            emit CoordinateChanged(mine->Uzels().Items(firstRow + 1));
    } else {
        emit JumperTableRefresh();
    }
    emit EditingChanged(IsEditing());
}
