#include "model/TJumper.h"
#include "model/AssignIfChanged.h"
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include <algorithm>
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
    FBranch->Mine()->NetworkChanged();
    FBranch->OwnJumpers().Insert(this);
    try {
        FBranch->Mine()->Jumpers().Insert(this);
    } catch (...) {
        // Out of memory: the stopping is never made, so its branch must not keep it.
        FBranch->OwnJumpers().Remove(this);
        throw;
    }
    TChangeJournal &journal = FBranch->Mine()->Journal();
    if (journal.Active())
        journal.Added(this);
}

TJumper::~TJumper()
{
    // A stopping a step of the journal held out of its branch: that branch may be gone.
    if (FDetached)
        return;
    TMine *mine = FBranch->Mine();
    mine->NetworkChanged();
    if (mine->FCurJumper == this)
        mine->FCurJumper = nullptr;
    FBranch->OwnJumpers().Remove(this);
    mine->Jumpers().Remove(this);
}

TMine *TJumper::Mine() const { return FBranch->Mine(); }

void TJumper::Changed() { FBranch->Mine()->SetModified(true); }

void TJumper::Record(TNamedField field)
{
    TChangeJournal &journal = FBranch->Mine()->Journal();
    if (journal.Active())
        journal.Named(this, field);
}

void TJumper::Detach()
{
    TMine *mine = FBranch->Mine();
    if (mine->FCurJumper == this)
        mine->FCurJumper = nullptr;
    FBranch->OwnJumpers().Remove(this);
    mine->Jumpers().Remove(this);
    FDetached = true;
}

void TJumper::Attach(int index)
{
    auto &items = FBranch->OwnJumpers().FItems;
    items.insert(items.begin() + std::clamp(index, 0, int(items.size())), this);
    FBranch->Mine()->Jumpers().Insert(this);
    FDetached = false;
}

void TJumper::SetPosition(double value)
{
    value = ClampPosition(value);
    if (value == FPosition)
        return;
    TChangeJournal &journal = FBranch->Mine()->Journal();
    if (journal.Active()) {
        journal.JumperOrder(FBranch);
        journal.Named(this, TNamedField::JumperPosition);
    }
    FPosition = value;
    Changed();
    FBranch->OwnJumpers().Resort(this);
}

void TJumper::SetCaption(const QString &value)
{
    Record(TNamedField::JumperCaption);
    FCaption = value;
    Changed();
}

template <class Field, class Value>
void TJumper::Store(Field &field, const Value &value, TNamedField named)
{
    if (field == value)
        return;
    Record(named);
    field = value;
    Changed();
}

void TJumper::SetMaterial(quint8 value) { Store(FMaterial, value, TNamedField::JumperMaterial); }
void TJumper::SetDoors(quint8 value) { Store(FDoors, value, TNamedField::JumperDoors); }
void TJumper::SetOpening(quint8 value) { Store(FOpening, value, TNamedField::JumperOpening); }
void TJumper::SetThickness(double value) { Store(FThickness, value, TNamedField::JumperThickness); }
void TJumper::SetBreakPressure(double value) { Store(FBreakPressure, value, TNamedField::JumperBreakPressure); }

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
    if ((FVent != 0) != value)
        Record(TNamedField::JumperVent);
    if (SetFlag(FVent, value))
        Changed();
}

void TJumper::SetCutIn(bool value)
{
    if ((FCutIn != 0) != value)
        Record(TNamedField::JumperCutIn);
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
    Record(TNamedField::JumperOpeningArea);
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
    Record(which == 1 ? TNamedField::JumperDepression : TNamedField::JumperFlow);
    Record(TNamedField::JumperMeasured);
    Record(TNamedField::JumperResistance);
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
        Record(TNamedField::JumperMeasured);
        Record(TNamedField::JumperResistance);
        FResistance = value;
        FMeasured = 0;
        Changed();
    } else if (which == 2) {
        if (value == FReverseResistance)
            return;
        Record(TNamedField::JumperReverseResistance);
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
