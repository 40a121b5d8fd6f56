// The print command: the print dialog for the active document, with the status bar lent to it
// for the text shown while the report is built.
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "print/TPrintForm.h"

void TMainForm::execPrint()
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    TPrintForm form(*child->Mine(), this);
    form.ShowStatusText = [this](const QString &text) { ShowStatusText(text); };
    form.ClearStatusText = [this] { ClearStatusText(); };
    form.DocumentFile = child->FileName();
    form.exec();
}
