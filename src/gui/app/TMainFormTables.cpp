// The main window's commands on the node and branch tables of the active document.
#include "app/TMainForm.h"

#include "app/TChildForm.h"
#include "editor/TNetworkTables.h"

void TMainForm::execEditView()
{
    if (TChildForm *child = ActiveChild())
        child->Tables->ToggleEditView();
}

void TMainForm::execAddUzel()
{
    if (TChildForm *child = ActiveChild())
        child->Tables->AddUzel();
}

void TMainForm::execDelUzel()
{
    if (TChildForm *child = ActiveChild())
        child->Tables->DelUzel();
}

void TMainForm::execAddBranch()
{
    if (TChildForm *child = ActiveChild())
        child->Tables->AddBranch();
}

void TMainForm::execDelBranch()
{
    if (TChildForm *child = ActiveChild())
        child->Tables->DelBranch();
}

void TMainForm::execUndo()
{
    if (TChildForm *child = ActiveChild())
        child->Undo();
}

void TMainForm::execRedo()
{
    if (TChildForm *child = ActiveChild())
        child->Redo();
}
