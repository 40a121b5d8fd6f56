#include "model/TBranch.h"
#include "model/AssignIfChanged.h"
#include "model/BranchGeometry.h"
#include "AppError.h"
#include "ShownText.h"
#include "model/MineTables.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include <algorithm>
#include <cmath>

namespace {
// Cells of one branch are capped so that an absurd cell length cannot ask for gigabytes.
constexpr qint32 kMaxCellCount = 1000000;

TMine *CheckedMine(TMine *mine)
{
    if (!mine)
        throw AppError(QStringLiteral("Параметр Owner не должен быть равным nil"));
    return mine;
}
} // namespace

TBranch::TBranch(TMine *mine)
    : FMine(CheckedMine(mine)), FJumpers(mine, true), FPeople(mine)
{
}

TBranch::~TBranch()
{
    if (FStartUzel && FStartUzel->FBranchCount > 0)
        --FStartUzel->FBranchCount;
    if (FEndUzel && FEndUzel->FBranchCount > 0)
        --FEndUzel->FBranchCount;
    LinkEnds(nullptr, nullptr);
    if (FMine->FCurBranch == this)
        FMine->FCurBranch = nullptr;
    if (FGasSlot[0] >= 0)
        FMine->FGasBranches1.Remove(this);
    if (FGasSlot[1] >= 0)
        FMine->FGasBranches2.Remove(this);
    // The lists free the stoppings and people; each stopping also leaves the mine's list.
    FJumpers.Clear();
    FPeople.Clear();
}

void TBranch::Changed()
{
    FMine->SetModified(true);
}

qint32 TBranch::Numbers(int which) const
{
    switch (which) {
    case kNumber: return FNumber;
    case kStartNumber: return FStartNumber;
    case kEndNumber: return FEndNumber;
    default: return kUnsetInt;
    }
}

void TBranch::SetNumbers(int which, qint32 value)
{
    switch (which) {
    case kNumber: {
        if (value == FNumber)
            return;
        if (FMine->FJournal.Active())
            FMine->FJournal.Field(this, TColumnKind::BranchNumber);
        const qint32 old = FNumber;
        FNumber = value;
        if (FListPos >= 0)
            FMine->FBranches.Renumbered(this, old);
        break;
    }
    case kStartNumber: {
        if (value == FStartNumber)
            return;
        if (FMine->FJournal.Active())
            FMine->FJournal.Field(this, TColumnKind::StartNumber);
        const qint32 old = FStartNumber;
        FStartNumber = value;
        LinkEnds(nullptr, FEndUzel);
        if (FListPos >= 0)
            FMine->FBranches.EndRenumbered(this, old, value, FEndNumber);
        break;
    }
    case kEndNumber: {
        if (value == FEndNumber)
            return;
        if (FMine->FJournal.Active())
            FMine->FJournal.Field(this, TColumnKind::EndNumber);
        const qint32 old = FEndNumber;
        FEndNumber = value;
        LinkEnds(FStartUzel, nullptr);
        if (FListPos >= 0)
            FMine->FBranches.EndRenumbered(this, old, value, FStartNumber);
        break;
    }
    default:
        return;
    }
    Changed();
}

void TBranch::LinkEnds(TUzel *start, TUzel *end)
{
    if (start == FStartUzel && end == FEndUzel)
        return;
    // A node counts each branch that touches it once, a loop branch included.
    if (FStartUzel)
        --FStartUzel->FIncidentRefs;
    if (FEndUzel && FEndUzel != FStartUzel)
        --FEndUzel->FIncidentRefs;
    FStartUzel = start;
    FEndUzel = end;
    if (FStartUzel)
        ++FStartUzel->FIncidentRefs;
    if (FEndUzel && FEndUzel != FStartUzel)
        ++FEndUzel->FIncidentRefs;
}

// The plain setters: the journal sees the old value before a change is stored.
template <class Field, class Value>
void TBranch::Store(Field &field, const Value &value, TColumnKind kind)
{
    if (field == value)
        return;
    if (FMine->FJournal.Active())
        FMine->FJournal.Field(this, kind);
    field = value;
    Changed();
}

template <class Field, class Value>
void TBranch::Store(Field &field, const Value &value, TNamedField named)
{
    if (field == value)
        return;
    if (FMine->FJournal.Active())
        FMine->FJournal.Named(this, named);
    field = value;
    Changed();
}

void TBranch::SetSection(float value) { Store(FSection, value, TColumnKind::Section); }
void TBranch::SetShape(quint8 value) { Store(FShape, value, TNamedField::BranchShape); }
void TBranch::SetRoughness(quint8 value) { Store(FRoughness, value, TNamedField::BranchRoughness); }
void TBranch::SetVolumeFactor(float value) { Store(FVolumeFactor, value, TColumnKind::VolumeFactor); }
void TBranch::SetExtraVolume(float value) { Store(FExtraVolume, value, TColumnKind::ExtraVolume); }
void TBranch::SetResistance(double value) { Store(FResistance, value, TColumnKind::Resistance); }
void TBranch::SetComment(const QString &value) { Store(FComment, value, TColumnKind::Comment); }
void TBranch::SetName(const QString &value) { Store(FName, value, TColumnKind::Name); }
void TBranch::SetLayerIndex(qint32 value) { Store(FLayerIndex, value, TNamedField::BranchLayer); }
void TBranch::SetPLFIndex(qint32 value) { Store(FPLFIndex, value, TColumnKind::PLF); }

void TBranch::Detach()
{
    if (FStartUzel && FStartUzel->FBranchCount > 0)
        --FStartUzel->FBranchCount;
    if (FEndUzel && FEndUzel->FBranchCount > 0)
        --FEndUzel->FBranchCount;
    LinkEnds(nullptr, nullptr);
    if (FMine->FCurBranch == this)
        FMine->FCurBranch = nullptr;
    if (FGasSlot[0] >= 0)
        FMine->FGasBranches1.Remove(this);
    if (FGasSlot[1] >= 0)
        FMine->FGasBranches2.Remove(this);
    for (TJumper *j : FJumpers) {
        if (FMine->FCurJumper == j)
            FMine->FCurJumper = nullptr;
        FMine->FJumpers.Remove(j);
    }
    for (TPeopleInfo *p : FPeople)
        if (FMine->FCurPeople == p)
            FMine->FCurPeople = nullptr;
}

void TBranch::Attach()
{
    if (FZone[0])
        FMine->FGasBranches1.Append(this);
    if (FZone[1])
        FMine->FGasBranches2.Append(this);
    for (TJumper *j : FJumpers)
        FMine->FJumpers.Insert(j);
    if (FMine->FTopologyValid) {
        // Back on the schemes at once, linked as the last check would have linked it.
        auto find = [this](qint32 number) { return IsUnset(number) ? nullptr : FMine->FUzels.Find(number); };
        TUzel *s = find(FStartNumber), *e = find(FEndNumber);
        LinkEnds(s, e);
        if (s)
            ++s->FBranchCount;
        if (e)
            ++e->FBranchCount;
    }
}

bool TBranch::Zone(int zone) const
{
    return zone >= 1 && zone <= 6 && FZone[zone - 1] != 0;
}

float TBranch::ZoneBound(int bound) const
{
    if (bound >= 1 && bound <= 8)
        return FBound[bound - 1];
    return bound >= 9 && bound <= 12 ? Seldom().Bound56[bound - 9] : 0.0f;
}

float TBranch::OptionValue(int index) const
{
    return index >= 1 && index <= 4 ? FOptValue[index - 1] : 0.0f;
}

void TBranch::SetZone(int zone, bool on)
{
    if (zone < 1 || zone > 6 || (FZone[zone - 1] != 0) == on)
        return;
    FZone[zone - 1] = on ? 1 : 0;
    if (zone <= 2) {
        TInfoBranchList &list = FMine->GasBranches(zone);
        if (on)
            list.Append(this);
        else
            list.Remove(this);
    }
    Changed();
    if (!FMine->Updating())
        FMine->RefreshScheme();
}

void TBranch::SetZoneBound(int bound, float value)
{
    if (bound < 1 || bound > 12)
        return;
    if (value < 0 || std::isnan(value))
        value = 0;
    const float length = Length();
    if (!IsUnset(length) && value > length)
        value = length;
    if (ZoneBound(bound) == value)
        return;
    (bound <= 8 ? FBound[bound - 1] : SeldomForWrite().Bound56[bound - 9]) = value;
    Changed();
    if (FMine->Scheme() && !FMine->Updating() && FZone[(bound - 1) / 2] != 0)
        FMine->RefreshScheme();
}

void TBranch::SetGasKind(int which, quint8 kind)
{
    if (which < 1 || which > 2 || FGasKind[which - 1] == kind)
        return;
    FGasKind[which - 1] = kind;
    if (which == 1)
        FNormalMark = 0;
    else
        FRouteMark = 0;
    Changed();
    if (!FMine->Updating())
        FMine->RefreshScheme();
}

void TBranch::SetOption(int which, bool on)
{
    quint8 *field = which == 1 ? &FOptA : which == 2 ? &FOptB : nullptr;
    if (!field || (*field != 0) == on)
        return;
    *field = on ? 1 : 0;
    Changed();
}

void TBranch::SetZoneByte(int zone, quint8 value)
{
    if (zone < 1 || zone > 6)
        return;
    SetZone(zone, value != 0);
    FZone[zone - 1] = value;
}

void TBranch::SetOptionByte(int which, quint8 value)
{
    if (which < 1 || which > 2)
        return;
    SetOption(which, value != 0);
    (which == 1 ? FOptA : FOptB) = value;
}

void TBranch::SetOptionValue(int index, float value)
{
    if (index < 1 || index > 4 || FOptValue[index - 1] == value)
        return;
    FOptValue[index - 1] = value;
    Changed();
}

void TBranch::SetCellCount(qint32 value)
{
    value = std::clamp(value, 0, kMaxCellCount);
    if (value == FCellCount)
        return;
    FCellCount = value;
    if (FSeldom && !FSeldom->Cells.isEmpty())
        FSeldom->Cells.resize(value);
}

TCells &TBranch::Cells()
{
    TCells &cells = SeldomForWrite().Cells;
    if (cells.size() != FCellCount)
        cells.resize(FCellCount);
    return cells;
}

const TBranch::TSeldom &TBranch::Seldom() const
{
    static const TSeldom kDefaults;
    return FSeldom ? *FSeldom : kDefaults;
}

TBranch::TSeldom &TBranch::SeldomForWrite()
{
    if (!FSeldom)
        FSeldom = std::make_unique<TSeldom>();
    return *FSeldom;
}

void TBranch::SetPen1(quint32 color, bool on, int width)
{
    TSeldom &s = SeldomForWrite();
    s.Pen1Color = color;
    s.Pen1On = on;
    s.Pen1Width = width;
}

void TBranch::SetPen2(quint32 color, float v1, float v2, bool on, int width)
{
    TSeldom &s = SeldomForWrite();
    s.Pen2Color = color;
    s.Pen2Value1 = v1;
    s.Pen2Value2 = v2;
    s.Pen2On = on;
    s.Pen2Width = width;
}

void TBranch::ClampZonesToLength(float length)
{
    for (int i = 0; i < 8; ++i)
        if (FBound[i] > length)
            FBound[i] = length;
}

float TBranch::Length() const { return BranchGeometry::Length(FStartUzel, FEndUzel); }

float TBranch::Perimeter() const
{
    // A negative section (only possible before the check) gives no perimeter rather than NaN.
    if (IsUnset(FSection) || !(FSection > 0))
        return 0.0f;
    return float(double(MineTables::ShapePerimeterFactor(FShape)) * std::sqrt(double(FSection)));
}

float TBranch::Volume() const
{
    const float length = Length();
    if (IsUnset(FSection) || IsUnset(length))
        return kUnsetReal;
    return float(double(length) * FSection * FVolumeFactor);
}

float TBranch::Angle() const { return BranchGeometry::Angle(FStartUzel, FEndUzel); }

float TBranch::EffectiveLength() const
{
    if (!FStartUzel || !FEndUzel)
        return kUnsetReal;
    int cells = 2;
    for (TJumper *j : FJumpers) {
        if (MineTables::IsFlexibleMaterial(j->Material()) && j->Thickness() != 0) {
            cells = 3;
            break;
        }
    }
    return std::max(Length(), float(cells) * FMine->CellLength());
}

bool TBranch::IsEmpty() const
{
    return IsUnset(FNumber) && IsUnset(FStartNumber) && IsUnset(FEndNumber) && IsUnset(FSection);
}

QString TBranch::InfoText() const
{
    // The numbers of the resolved nodes; before resolution the stored numbers stand for them.
    const qint32 start = FStartUzel ? FStartUzel->Number() : FStartNumber;
    const qint32 end = FEndUzel ? FEndUzel->Number() : FEndNumber;
    return QStringLiteral("Шахта \"%1\"\r\n\r\nВыработка №%2\r\nЗаметки: %3\r\n\r\n"
                          "Начальный узел: %4\r\nКонечный узел: %5\r\nДлина: %6\r\n"
                          "Сечение: %7\r\nУгол: %8")
        .arg(OneLineText(FMine->Title()), QString::number(FNumber), OneLineText(FComment), QString::number(start),
             QString::number(end), QString::number(double(Length()), 'f', 1),
             QString::number(double(FSection), 'f', 1), QString::number(double(Angle()), 'f', 1));
}
