#include "model/TJumper.h"
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
    FBranch->Mine()->Jumpers().Insert(this);
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

#define TARVEL_SET_FIELD(field, value) \
    do {                                \
        if ((field) == (value))         \
            return;                     \
        (field) = (value);              \
        Changed();                      \
    } while (false)

void TJumper::SetMaterial(quint8 value) { TARVEL_SET_FIELD(FMaterial, value); }
void TJumper::SetVent(bool value) { TARVEL_SET_FIELD(FVent, value); }
void TJumper::SetCutIn(bool value) { TARVEL_SET_FIELD(FCutIn, value); }
void TJumper::SetDoors(quint8 value) { TARVEL_SET_FIELD(FDoors, value); }
void TJumper::SetOpening(quint8 value) { TARVEL_SET_FIELD(FOpening, value); }
void TJumper::SetThickness(double value) { TARVEL_SET_FIELD(FThickness, value); }
void TJumper::SetBreakPressure(double value) { TARVEL_SET_FIELD(FBreakPressure, value); }

#undef TARVEL_SET_FIELD

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
    if (FMeasured && *field == value)
        return;
    *field = value;
    FMeasured = true;
    FResistance = std::fabs(FFlow) <= 1e-12 ? 0.0 : FDepression / (FFlow * FFlow);
    Changed();
}

void TJumper::SetResistanceValue(int which, double value)
{
    if (which == 1) {
        if (!FMeasured && value == FResistance)
            return;
        FResistance = value;
        FMeasured = false;
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
    if (value == FNormalHit)
        return;
    FNormalHit = value;
    if (!value)
        FNormalStep = 0;
    Changed();
}

void TJumper::SetRouteHit(bool value)
{
    if (value == FRouteHit)
        return;
    FRouteHit = value;
    if (!value)
        FRouteStep = 0;
    Changed();
}

void TJumper::SetNormalStep(qint32 value)
{
    if (value == FNormalStep)
        return;
    FNormalStep = value;
    FNormalHit = value != 0;
}

void TJumper::SetRouteStep(qint32 value)
{
    if (value == FRouteStep)
        return;
    FRouteStep = value;
    FRouteHit = value != 0;
}

int TJumper::IndexInBranch() const { return FBranch->Jumpers().IndexOf(this); }
