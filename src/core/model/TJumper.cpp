#include "model/TJumper.h"
#include "model/AssignIfChanged.h"
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include <cmath>

namespace {
TBranch *CheckedBranch(TBranch *branch)
{
    if (!branch)
        throw AppError(QStringLiteral("Параметр Owner не должен быть равным nil"));
    return branch;
}

double ClampPosition(double value)
{
    if (std::isnan(value) || value < 0)
        return 0;
    return value > 1 ? 1 : value;
}
} // namespace

TJumper::TJumper(TBranch *branch) : TJumper(branch, 0.0) {}

TJumper::TJumper(TBranch *branch, double position) : FBranch(CheckedBranch(branch)), FPosition(ClampPosition(position))
{
    FBranch->Jumpers().Insert(this);
    try {
        FBranch->Mine()->Jumpers().Insert(this);
    } catch (...) {
        // Out of memory: the stopping is never made, so its branch must not keep it.
        FBranch->Jumpers().Remove(this);
        throw;
    }
}

TJumper::~TJumper()
{
    TMine *mine = FBranch->Mine();
    if (mine->FCurJumper == this)
        mine->FCurJumper = nullptr;
    FBranch->Jumpers().Remove(this);
    mine->Jumpers().Remove(this);
}

TMine *TJumper::Mine() const { return FBranch->Mine(); }

void TJumper::Changed() { FBranch->Mine()->SetModified(true); }

void TJumper::SetPosition(double value)
{
    value = ClampPosition(value);
    if (value == FPosition)
        return;
    FPosition = value;
    Changed();
    FBranch->Jumpers().Resort(this);
}

void TJumper::SetCaption(const QString &value)
{
    FCaption = value;
    Changed();
}

void TJumper::SetMaterial(quint8 value) { if (AssignIfChanged(FMaterial, value)) Changed(); }
void TJumper::SetDoors(quint8 value) { if (AssignIfChanged(FDoors, value)) Changed(); }
void TJumper::SetOpening(quint8 value) { if (AssignIfChanged(FOpening, value)) Changed(); }
void TJumper::SetThickness(double value) { if (AssignIfChanged(FThickness, value)) Changed(); }
void TJumper::SetBreakPressure(double value) { if (AssignIfChanged(FBreakPressure, value)) Changed(); }

// A flag byte changes only when its truth value does.
static bool SetFlag(quint8 &field, bool value)
{
    if ((field != 0) == value)
        return false;
    field = value ? 1 : 0;
    return true;
}

void TJumper::SetVent(bool value)
{
    if (SetFlag(FVent, value))
        Changed();
}

void TJumper::SetCutIn(bool value)
{
    if (SetFlag(FCutIn, value))
        Changed();
}

void TJumper::SetMeasured(bool value) { SetFlag(FMeasured, value); }

void TJumper::SetVentByte(quint8 value)
{
    SetVent(value != 0);
    FVent = value;
}

void TJumper::SetMeasuredByte(quint8 value) { FMeasured = value; }

void TJumper::SetCutInByte(quint8 value)
{
    SetCutIn(value != 0);
    FCutIn = value;
}

void TJumper::SetNormalHitByte(quint8 value)
{
    SetNormalHit(value != 0);
    FNormalHit = value;
}

void TJumper::SetRouteHitByte(quint8 value)
{
    SetRouteHit(value != 0);
    FRouteHit = value;
}

void TJumper::SetOpeningArea(double value)
{
    if (value == FOpeningArea)
        return;
    FOpeningArea = value;
    // The area only matters with an arbitrary opening.
    if (FOpening == 4)
        Changed();
}

void TJumper::SetMeasurement(int which, double value)
{
    double *field = which == 1 ? &FDepression : which == 2 ? &FFlow : nullptr;
    if (!field)
        return;
    if (FMeasured != 0 && *field == value)
        return;
    *field = value;
    SetFlag(FMeasured, true);
    FResistance = std::fabs(FFlow) <= 1e-12 ? 0.0 : FDepression / (FFlow * FFlow);
    Changed();
}

void TJumper::SetResistanceValue(int which, double value)
{
    if (which == 1) {
        if (FMeasured == 0 && value == FResistance)
            return;
        FResistance = value;
        FMeasured = 0;
        Changed();
    } else if (which == 2) {
        if (value == FReverseResistance)
            return;
        FReverseResistance = value;
        Changed();
    }
}

void TJumper::SetNormalHit(bool value)
{
    if (!SetFlag(FNormalHit, value))
        return;
    if (!value)
        FNormalStep = 0;
    Changed();
}

void TJumper::SetRouteHit(bool value)
{
    if (!SetFlag(FRouteHit, value))
        return;
    if (!value)
        FRouteStep = 0;
    Changed();
}

void TJumper::SetNormalStep(qint32 value)
{
    if (value == FNormalStep)
        return;
    FNormalStep = value;
    SetFlag(FNormalHit, value != 0);
}

void TJumper::SetRouteStep(qint32 value)
{
    if (value == FRouteStep)
        return;
    FRouteStep = value;
    SetFlag(FRouteHit, value != 0);
}

int TJumper::IndexInBranch() const { return FBranch->Jumpers().IndexOf(this); }
