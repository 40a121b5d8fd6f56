// The main window's side of the scheme windows: the scheme commands, the scheme windows following
// the active document, and the picks on a scheme going back to the document's tables.
#include "app/TMainForm.h"

#include "app/TChildForm.h"
#include "base/Guarded.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/TGraph3DForm.h"
#include "schemes/TIncidGraphForm.h"

#include <QPointer>
#include <QTimer>

TGraph3DForm *TMainForm::Graph3DForm() const { return m_graph3D; }

void TMainForm::execGraph3D()
{
    if (!m_graph3D)
        m_graph3D = new TGraph3DForm(this, this);
    m_graph3D->Refresh();
}

TIncidGraphForm *TMainForm::IncidGraphForm() const { return m_incidGraph; }

void TMainForm::execIncidGraph()
{
    if (!m_incidGraph || m_incidGraph->IsClosed())
        m_incidGraph = new TIncidGraphForm(this);
    // A failed check closes the window on the way.
    if (m_incidGraph->SetDocument(ActiveChild())) {
        m_incidGraph->show();
        m_incidGraph->raise();
    }
}

void TMainForm::IncidenceShow(const TMine *mine, bool uzel, qint32 number)
{
    if (!m_incidGraph)
        return;
    if (uzel)
        m_incidGraph->ShowUzel(mine, number);
    else
        m_incidGraph->ShowBranch(mine, number);
}

void TMainForm::ShowStoppingOnScheme(TJumper *jumper)
{
    actGraph3D->trigger();
    if (m_graph3D && jumper)
        jumper->Mine()->SelectJumper(jumper);
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

void TMainForm::SchemesFollow(TMine *mine)
{
    if (m_graph3D)
        m_graph3D->AttachMine(mine);
    if (!m_incidGraph)
        return;
    // The incidence window checks the document again when the event loop comes round: a window
    // opened for a file is active before it has read the file, and the check of its empty mine
    // would close the scheme. Only another document is checked again: the workspace also
    // reports the same one active when the user comes back to it from the scheme window.
    QTimer::singleShot(0, m_incidGraph, [this, next = QPointer<TChildForm>(ChildOf(this, mine))] {
        TChildForm *child = next.data();
        if (m_incidGraph && !m_incidGraph->IsClosed() && child && child == ActiveChild() && m_incidGraph->Document() != child)
            RunGuarded([&] { m_incidGraph->SetDocument(child); });
    });
}

void TMainForm::SchemesLetGo(TMine *mine)
{
    if (m_graph3D)
        m_graph3D->DetachMine(mine);
    if (m_incidGraph && m_incidGraph->Document() && m_incidGraph->Document()->Mine() == mine)
        m_incidGraph->SetDocument(nullptr);
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

void TMainForm::SchemeSelectedUzel(int index, TUzel *uzel)
{
    if (TChildForm *child = uzel ? ChildOf(this, uzel->Mine()) : nullptr)
        child->SchemeSelectsRow(true, index);
}

void TMainForm::SchemeSelectedBranch(int index, TBranch *branch)
{
    if (TChildForm *child = branch ? ChildOf(this, branch->Mine()) : nullptr)
        child->SchemeSelectsRow(false, index);
    if (m_incidGraph && branch)
        m_incidGraph->ShowBranch(branch->Mine(), branch->Number());
}
