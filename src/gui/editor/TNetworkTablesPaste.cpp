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

bool isTextKind(int kind) { return kind == 14 || kind == 17; }
bool isNumberKind(int kind) { return kind == 0 || (kind >= 4 && kind <= 6); }

// One cell of a block, as the model will take it.
struct TPastedCell {
    int Kind = -1;
    qint32 Int = kUnsetInt;
    double Real = 0;
    QString Text;
};

struct TPastedRow {
    int Row = 0;                      // model row; rows from ElementCount on are appended
    std::vector<TPastedCell> Cells;
    qint32 Numbers[3] = {kUnsetInt, kUnsetInt, kUnsetInt};   // number, start, end after the paste
};

const QString kInvalidNumber = QStringLiteral("Неверно указано число");

// What the text of a pasted cell stores in a column of kind, by the rules of typing; the reason
// when it is refused (the cell then holds nothing).
QString parseCell(int kind, const QString &raw, TPastedCell &cell)
{
    cell.Kind = kind;
    const QString text = raw.trimmed();
    if (isTextKind(kind)) {
        if (!TableText::StorableText(text))
            return QStringLiteral("Текст содержит знаки, которых нет в кодовой странице Windows-1251");
        cell.Text = text;
        return {};
    }
    // An empty cell stores what an emptied cell stores: the default of the volume factor and
    // of the additional volume, the unset marker elsewhere.
    if (kind == 11 || kind == 12) {
        if (text.isEmpty()) {
            cell.Real = kind == 11 ? 1.0 : 0.0;
            return {};
        }
    } else if (text.isEmpty() || text == QLatin1String("-")) {
        cell.Int = kUnsetInt;
        cell.Real = kUnsetReal;
        return {};
    }
    // The keys typing admits, and "." for the decimal point as spreadsheets of other
    // languages write it.
    for (const QChar c : text)
        if (c.unicode() < 32 || !(TableText::KeyAdmitted(kind, c) || (c == u'.' && !isNumberKind(kind))))
            return kInvalidNumber;
    if (isNumberKind(kind)) {
        if (!TableText::ParseInt(text, cell.Int))
            return kInvalidNumber;
        if (cell.Int == 0 && kind == 0)
            return QStringLiteral("Ошибка !\r\nНомер узла должен быть больше 0 !");
        if (cell.Int == 0 && kind == 4)
            return QStringLiteral("Ошибка !\r\nНомер ветви должен быть больше 0 !");
        return {};
    }
    if (!TableText::ParseReal(text, cell.Real))
        return kInvalidNumber;
    if (kind != 15 && !std::isfinite(float(cell.Real)))
        return kInvalidNumber;
    return {};
}

// One more than the number above (1 when there is none), as a new row gets it.
qint32 numberAfter(qint32 above)
{
    if (above == kUnsetInt)
        return 1;
    return above < std::numeric_limits<qint32>::max() ? above + 1 : kUnsetInt;
}

// The message of a row that would not pass the row check, and the kind of its column.
QString rowFault(bool uzels, const qint32 numbers[3], int &kind)
{
    if (uzels) {
        kind = 0;
        return numbers[0] == kUnsetInt ? QStringLiteral("Ошибка !\r\nНе указан номер узла !") : QString();
    }
    auto missing = [](qint32 n) { return n == kUnsetInt || n == 0; };
    kind = 4;
    if (numbers[0] == kUnsetInt)
        return QStringLiteral("Ошибка !\r\nНе указан номер ветви !");
    kind = 5;
    if (missing(numbers[1]))
        return QStringLiteral("Ошибка !\r\nНеверно указан номер начального узла !");
    kind = 6;
    if (missing(numbers[2]))
        return QStringLiteral("Ошибка !\r\nНеверно указан номер конечного узла !");
    if (numbers[1] == numbers[2])
        return QStringLiteral("Ошибка !\r\nНомера начального и конечного узлов должны быть различными !");
    return {};
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
    auto refuse = [&](int row, int kind, const QString &why) {
        const int column = model->ColumnOfKind(kind);
        grid->setFocus(Qt::OtherFocusReason);
        grid->SetCurrentCell(qMin(row, grid->LastRow()), column >= 0 ? column : grid->CurrentColumn());
        TColumnDesc named;
        named.Kind = quint8(kind);
        named.FillTexts();
        throw AppError(QStringLiteral("Вставка не выполнена: строка %1, столбец \"%2\".\r\n\r\n%3")
                           .arg(row + 1)
                           .arg((named.Caption + QLatin1Char(' ') + named.UnitLine).simplified(), why));
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
            const int kind = model->KindOf(column);
            // Computed columns take nothing; the perimeter comes from the cross-section dialog.
            if (!grid->ColumnEditable(column) || kind == 9)
                continue;
            TPastedCell cell;
            const QString why = parseCell(kind, cells[j], cell);
            if (!why.isEmpty())
                refuse(row.Row, kind, why);
            if (!isTextKind(kind))
                onlyText = false;
            if (kind == 0 || kind == 4)
                row.Numbers[0] = cell.Int;
            else if (kind == 5 || kind == 6)
                row.Numbers[kind - 4] = cell.Int;
            row.Cells.push_back(std::move(cell));
        }
        int kind = 0;
        const QString fault = rowFault(uzels, row.Numbers, kind);
        if (!fault.isEmpty())
            refuse(row.Row, kind, fault);
    }

    // Comments and names need no results question, as when they are typed.
    if (onlyText)
        EditAllowed = true;
    else if (!ConfirmEdit(grid))
        return;

    TMine *mine = Mine();
    bool moved = false;
    mine->BeginUpdate();
    for (const TPastedRow &row : rows) {
        if (uzels) {
            if (row.Row >= mine->Uzels().Count()) {
                const TUzel *above = mine->Uzels().Count() > 0 ? mine->Uzels().Items(mine->Uzels().Count()) : nullptr;
                mine->AddUzel(numberAfter(above ? above->Number() : kUnsetInt), kUnsetReal, kUnsetReal, kUnsetReal);
            }
            TUzel *u = mine->Uzels().Items(row.Row + 1);
            for (const TPastedCell &cell : row.Cells) {
                if (cell.Kind == 0) {
                    u->SetNumber(cell.Int);
                } else {
                    u->SetCoordinate(cell.Kind, float(cell.Real));
                    moved = true;
                }
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
        for (const TPastedCell &cell : row.Cells) {
            switch (cell.Kind) {
            case 4: b->SetNumbers(1, cell.Int); break;
            case 5: b->SetNumbers(2, cell.Int); break;
            case 6: b->SetNumbers(3, cell.Int); break;
            case 8: b->SetSection(float(cell.Real)); break;
            case 11: b->SetVolumeFactor(float(cell.Real)); break;
            case 12: b->SetExtraVolume(float(cell.Real)); break;
            case 14: b->SetComment(cell.Text); break;
            case 15: b->SetResistance(cell.Real); break;
            case 17: b->SetName(cell.Text); break;
            default: break;
            }
        }
    }
    mine->EndUpdate();
    if (moved) {
        // Bounds and projection were left alone while the rows were written.
        mine->UpdateExtents(false);
        mine->ProjectNodes();
        mine->RefreshScheme();
    }

    RefreshTables();
    TableClipboard::TRange pasted;
    pasted.Top = firstRow;
    pasted.Bottom = firstRow + int(rows.size()) - 1;
    pasted.Left = firstColumn;
    pasted.Right = firstColumn;
    for (const QStringList &cells : block)
        pasted.Right = qMax(pasted.Right, qMin(grid->LastColumn(), firstColumn + int(cells.size()) - 1));
    grid->SetCurrentCell(firstRow, firstColumn);
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
