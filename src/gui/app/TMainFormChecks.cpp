// The main window's commands of the topology check and of the resistance from roughness, on the
// active document window.
#include "app/TMainForm.h"

#include "AppError.h"
#include "app/TChildForm.h"
#include "base/AppDialogs.h"
#include "checks/Resistance.h"
#include "checks/TIsolForm.h"
#include "checks/TfrmCalcRMode.h"
#include "editor/TNetworkTables.h"
#include "model/TMine.h"

#include <optional>

void TMainForm::execCheckTopology()
{
    if (TChildForm *child = ActiveChild())
        child->CheckPhysics(false);
}

void TMainForm::execCheckIsol()
{
    if (TChildForm *child = ActiveChild())
        TIsolForm::Open(child);
}

void TMainForm::execMakeR()
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    TBranch *branch = child->CurrentBranch();
    // Silent: a branch without the inputs simply keeps its R.
    if (!branch || !child->ConfirmEdit())
        return;
    TUserAction action(child->Mine(), QStringLiteral("Сопротивление по шероховатости"));
    child->ComputeResistance(branch);
    child->RepaintTables();
}

void TMainForm::execMakeAllR()
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    // Lengths are known only on a network that passed the check.
    if (!child->Mine()->TopologyValid())
        execCheckTopology();
    if (!child->Mine()->TopologyValid())
        throw AppError(QStringLiteral("Найдены ошибки топологии"));
    const int mode = TfrmCalcRMode::Execute(this);
    if (mode < 0 || !child->ConfirmEdit())
        return;
    std::optional<TUserAction> action(std::in_place, child->Mine(), QStringLiteral("Сопротивление по шероховатости"));
    const int count = ComputeAllResistance(
        *child->Mine(), mode == 0 ? TResistanceMode::AllBranches : TResistanceMode::ZeroOnly);
    action.reset();
    child->RepaintTables();
    AppDialogs::ShowInformation(this, QStringLiteral("Сопротивление расставлено в %1 ветвях").arg(count));
}

