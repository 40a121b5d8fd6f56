// The main window's find and list tools on the active document: find, the stopping list, the
// names and comments exchange and the seams and plan positions editor.
#include "app/TMainForm.h"

#include "app/TChildForm.h"
#include "dialogs/TEditLayersForm.h"
#include "dialogs/TFindForm.h"
#include "dialogs/TfrmJumpers.h"
#include "dialogs/TfrmMoveRemName.h"
#include "editor/StoppingCells.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"

#include <QAction>

namespace {

// The stopping list draws its stopping columns as the document's stopping table does.
TfrmJumpers::TStoppingCellLook StoppingTableLook()
{
    TfrmJumpers::TStoppingCellLook look;
    look.Draw = [](const TJumper *jumper, QPainter &painter, int column,
                   const TfrmJumpers::TCellState &s, const QColor &fontColor,
                   const QColor &fixedColor, const QRect &rect, int row) {
        TGridDrawState state;
        state.Fixed = s.Fixed;
        state.Selected = s.Selected;
        state.Focused = s.Focused;
        state.Disabled = s.Disabled;
        DrawStoppingCell(jumper, painter, column, state, fontColor, fixedColor, rect, row);
    };
    look.Width = [](int column, const QFont &font) { return FittedStoppingColumnWidth(column, font); };
    return look;
}

} // namespace

void TMainForm::execFind()
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    // The node table has the focus (itself or its cell editor): nodes; anything else: branches.
    const QWidget *focus = child->focusWidget();
    const bool uzels = focus && (focus == child->UzelGrid || child->UzelGrid->isAncestorOf(focus));
    const int position = TFindForm::Execute(this, child->Document(),
                                            uzels ? TFindForm::Uzels : TFindForm::Branches);
    if (position < 0)
        return;
    TNetworkGrid *grid = uzels ? child->Tables->UzelGrid : child->Tables->BranchGrid;
    grid->SetCurrentCell({.Row = position, .Column = qMax(0, grid->CurrentColumn())});
    grid->setFocus();
}

void TMainForm::execJumperList()
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    TfrmJumpers list(child->Mine(), this);
    list.SetCellLook(StoppingTableLook());
    list.GoTo = [child](TJumper *jumper) {
        // The branch's row in the branch table, then the stopping's row in the stopping table,
        // which the branch row has just filled with that branch's stoppings.
        const int position = child->Mine()->Branches().ItemPosition(jumper->Branch());
        if (position < 1)
            return;
        TNetworkGrid *branches = child->Tables->BranchGrid;
        branches->SetCurrentCell({.Row = position - 1, .Column = qMax(0, branches->CurrentColumn())});
        TElementGrid *stoppings = child->pnlJumpers->JumperGrid;
        stoppings->SetCurrentCell(
            {.Row = jumper->IndexInBranch() + 1, .Column = qMax(1, stoppings->CurrentColumn())});
    };
    list.ShowOnScheme = [this](TJumper *jumper) { ShowStoppingOnScheme(jumper); };
    list.exec();
}

void TMainForm::execMoveRemName()
{
    TChildForm *child = ActiveChild();
    if (child && TfrmMoveRemName::Execute(this, child->Mine()))
        child->Tables->RepaintTables();
}

void TMainForm::execEditLayers()
{
    editLayers(TEditLayersForm::LayersPage);
}

void TMainForm::editLayers(int page)
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    TEditLayersForm::Execute(this, child->Mine(), page);
    // Names and colours changed or groups went: the boxes, the plan-position column and the
    // scheme's colours follow; the boxes show the current branch's groups again.
    child->FillGroupCombos();
    child->ApplyBranchRow();
    child->Tables->RepaintTables();
    child->Mine()->RefreshScheme();
}
