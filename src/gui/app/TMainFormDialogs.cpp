// The main window's commands that open a dialog on the active document.
#include "app/TMainForm.h"

#include "app/TChildForm.h"
#include "dialogs/TFilePropForm.h"
#include "dialogs/TTransForm.h"

void TMainForm::execFileProp()
{
    if (TChildForm *child = ActiveChild())
        TFilePropForm::Execute(*child);
}

void TMainForm::execTransform()
{
    if (TChildForm *child = ActiveChild())
        TTransForm::Execute(*child);
}
