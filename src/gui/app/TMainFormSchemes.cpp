// The main window's side of the scheme windows: the scheme command, the scheme window following
// the active document, and the picks on a scheme going back to the document's tables.
#include "app/TMainForm.h"

#include "app/TChildForm.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/TGraph3DForm.h"

TGraph3DForm *TMainForm::Graph3DForm() const { return m_graph3D; }

void TMainForm::execGraph3D()
{
    if (!m_graph3D)
        m_graph3D = new TGraph3DForm(this, this);
    m_graph3D->Refresh();
}

void TMainForm::ShowStoppingOnScheme(TJumper *jumper)
{
    actGraph3D->trigger();
    if (m_graph3D && jumper)
        jumper->Mine()->SelectJumper(jumper);
}

void TMainForm::SchemesFollow(TMine *mine)
{
    if (m_graph3D)
        m_graph3D->AttachMine(mine);
}

void TMainForm::SchemesLetGo(TMine *mine)
{
    if (m_graph3D)
        m_graph3D->DetachMine(mine);
}

TMine *TMainForm::ActiveMine()
{
    TChildForm *child = ActiveChild();
    return child ? child->Mine() : nullptr;
}

bool TMainForm::CheckActiveCoordinates()
{
    TChildForm *child = ActiveChild();
    return child && child->CheckCoordinates(false);
}

namespace {

// The document window of a mine: the active one, normally.
TChildForm *ChildOf(const TMainForm *main, const TMine *mine)
{
    for (TChildForm *child : main->Children())
        if (child->Mine() == mine)
            return child;
    return nullptr;
}

} // namespace

void TMainForm::SchemeSelectedUzel(int index, TUzel *uzel)
{
    if (TChildForm *child = uzel ? ChildOf(this, uzel->Mine()) : nullptr)
        child->SchemeSelectsRow(true, index);
}

void TMainForm::SchemeSelectedBranch(int index, TBranch *branch)
{
    if (TChildForm *child = branch ? ChildOf(this, branch->Mine()) : nullptr)
        child->SchemeSelectsRow(false, index);
    // The incidence scheme window, once there is one, shows the branch's number next.
}
