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
#include <type_traits>

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
    : FMine(CheckedMine(mine))
{
}

TBranch::~TBranch()
{
    FMine->NetworkChanged();
    if (FStartUzel && FStartUzel->FBranchCount > 0)
        --FStartUzel->FBranchCount;
    if (FEndUzel && FEndUzel->FBranchCount > 0)
        --FEndUzel->FBranchCount;
    LinkEnds(nullptr, nullptr);
    if (FMine->FCurBranch == this)
        FMine->FCurBranch = nullptr;
    if (!FSeldom)
        return;
    if (FSeldom->GasSlot[0] >= 0)
        FMine->FGasBranches1.Remove(this);
    if (FSeldom->GasSlot[1] >= 0)
        FMine->FGasBranches2.Remove(this);
    // The lists free the stoppings and people while the part still holds them; each stopping
    // also leaves the mine's list.
    FSeldom->Jumpers.Clear();
    FSeldom->People.Clear();
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
    FMine->NetworkChanged();
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
template <class Field, class Value, class Key>
void TBranch::Store(Field &field, const Value &value, Key key)
{
    if (field == value)
        return;
    if (FMine->FJournal.Active()) {
        if constexpr (std::is_same_v<Key, TColumnKind>)
            FMine->FJournal.Field(this, key);
        else
            FMine->FJournal.Named(this, key);
    }
    field = value;
    Changed();
}

void TBranch::SetSection(float value) { Store(FSection, value, TColumnKind::Section); }
void TBranch::SetShape(quint8 value) { Store(FShape, value, TNamedField::BranchShape); }
void TBranch::SetRoughness(quint8 value) { Store(FRoughness, value, TNamedField::BranchRoughness); }
void TBranch::SetResistance(double value) { Store(FResistance, value, TColumnKind::Resistance); }
void TBranch::SetComment(const QString &value) { Store(FComment, value, TColumnKind::Comment); }
void TBranch::SetName(const QString &value) { Store(FName, value, TColumnKind::Name); }
// A seam or plan position colours the branch on the scheme: its scene is made again.
void TBranch::SetLayerIndex(qint32 value)
{
    if (value == FLayerIndex)
        return;
    Store(FLayerIndex, value, TNamedField::BranchLayer);
    FMine->NetworkChanged();
}

void TBranch::SetPLFIndex(qint32 value)
{
    if (value == FPLFIndex)
        return;
    Store(FPLFIndex, value, TColumnKind::PLF);
    FMine->NetworkChanged();
}

void TBranch::Detach()
{
    if (FStartUzel && FStartUzel->FBranchCount > 0)
        --FStartUzel->FBranchCount;
    if (FEndUzel && FEndUzel->FBranchCount > 0)
        --FEndUzel->FBranchCount;
    LinkEnds(nullptr, nullptr);
    if (FMine->FCurBranch == this)
        FMine->FCurBranch = nullptr;
    if (GasSlot(1) >= 0)
        FMine->FGasBranches1.Remove(this);
    if (GasSlot(2) >= 0)
        FMine->FGasBranches2.Remove(this);
    for (TJumper *j : Jumpers()) {
        if (FMine->FCurJumper == j)
            FMine->FCurJumper = nullptr;
        FMine->FJumpers.Remove(j);
    }
    for (TPeopleInfo *p : People())
        if (FMine->FCurPeople == p)
            FMine->FCurPeople = nullptr;
}

void TBranch::Attach()
{
    if (Seldom().Zone[0])
        FMine->FGasBranches1.Append(this);
    if (Seldom().Zone[1])
        FMine->FGasBranches2.Append(this);
    for (TJumper *j : Jumpers())
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

// The fields of the rare part: a value equal to what is held (for a branch without the part, the
// default) changes nothing and makes no part.
template <class Field>
bool TBranch::StoreSeldom(Field TSeldom::*field, Field value)
{
    if (Seldom().*field == value)
        return false;
    SeldomForWrite().*field = value;
    return true;
}

// The same for a field the user edits: the journal sees the old value first.
template <class Field>
void TBranch::StoreSeldom(Field TSeldom::*field, Field value, TColumnKind kind)
{
    if (Seldom().*field == value)
        return;
    if (FMine->FJournal.Active())
        FMine->FJournal.Field(this, kind);
    SeldomForWrite().*field = value;
    Changed();
}

void TBranch::SetVolumeFactor(float value) { StoreSeldom(&TSeldom::VolumeFactor, value, TColumnKind::VolumeFactor); }
void TBranch::SetExtraVolume(float value) { StoreSeldom(&TSeldom::ExtraVolume, value, TColumnKind::ExtraVolume); }
void TBranch::SetNormalResult(qint32 value) { StoreSeldom(&TSeldom::NormalResult, value); }
void TBranch::SetRouteResult(qint32 value) { StoreSeldom(&TSeldom::RouteResult, value); }
void TBranch::SetLinkIndex(qint32 value) { StoreSeldom(&TSeldom::LinkIndex, value); }
void TBranch::SetNormalMark(quint8 value) { StoreSeldom(&TSeldom::NormalMark, value); }
void TBranch::SetRouteMark(quint8 value) { StoreSeldom(&TSeldom::RouteMark, value); }

bool TBranch::Zone(int zone) const
{
    return ZoneByte(zone) != 0;
}

float TBranch::ZoneBound(int bound) const
{
    return bound >= 1 && bound <= 12 ? Seldom().Bound[bound - 1] : 0.0f;
}

float TBranch::OptionValue(int index) const
{
    return index >= 1 && index <= 4 ? Seldom().OptValue[index - 1] : 0.0f;
}

void TBranch::SetZone(int zone, bool on)
{
    if (zone < 1 || zone > 6 || Zone(zone) == on)
        return;
    SeldomForWrite().Zone[zone - 1] = on ? 1 : 0;
    FMine->NetworkChanged();
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
    if (Seldom().Bound[bound - 1] == value)
        return;
    SeldomForWrite().Bound[bound - 1] = value;
    Changed();
    if (FMine->Scheme() && !FMine->Updating() && Zone((bound + 1) / 2))
        FMine->RefreshScheme();
}

void TBranch::SetGasKind(int which, quint8 kind)
{
    if (which < 1 || which > 2 || Seldom().GasKind[which - 1] == kind)
        return;
    TSeldom &s = SeldomForWrite();
    s.GasKind[which - 1] = kind;
    (which == 1 ? s.NormalMark : s.RouteMark) = 0;
    Changed();
    if (!FMine->Updating())
        FMine->RefreshScheme();
}

void TBranch::SetOption(int which, bool on)
{
    if (which < 1 || which > 2 || Option(which) == on)
        return;
    TSeldom &s = SeldomForWrite();
    (which == 1 ? s.OptA : s.OptB) = on ? 1 : 0;
    Changed();
}

void TBranch::SetZoneByte(int zone, quint8 value)
{
    if (zone < 1 || zone > 6 || ZoneByte(zone) == value)
        return;
    SetZone(zone, value != 0);
    SeldomForWrite().Zone[zone - 1] = value;
}

void TBranch::SetOptionByte(int which, quint8 value)
{
    if (which < 1 || which > 2 || OptionByte(which) == value)
        return;
    SetOption(which, value != 0);
    TSeldom &s = SeldomForWrite();
    (which == 1 ? s.OptA : s.OptB) = value;
}

void TBranch::SetOptionValue(int index, float value)
{
    if (index < 1 || index > 4 || Seldom().OptValue[index - 1] == value)
        return;
    SeldomForWrite().OptValue[index - 1] = value;
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

constinit const TBranch::TSeldom TBranch::kNoSeldom;
constinit TJumperList TBranch::kNoJumpers;
constinit TPeopleList TBranch::kNoPeople;

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
    // Zones 5 and 6 are never stored, so only the eight bounds a file holds are clamped.
    if (!FSeldom)
        return;
    for (int i = 0; i < 8; ++i)
        if (FSeldom->Bound[i] > length)
            FSeldom->Bound[i] = length;
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
    return float(double(length) * FSection * VolumeFactor());
}

float TBranch::Angle() const { return BranchGeometry::Angle(FStartUzel, FEndUzel); }

float TBranch::EffectiveLength() const
{
    if (!FStartUzel || !FEndUzel)
        return kUnsetReal;
    int cells = 2;
    for (TJumper *j : Jumpers()) {
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
