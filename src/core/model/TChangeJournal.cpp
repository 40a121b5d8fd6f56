#include "model/TChangeJournal.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include <algorithm>
#include <utility>

namespace {

const QString kImplicitName = QStringLiteral("Правка");

size_t TextBytes(const TColumnValue &v)
{
    const QString *s = std::get_if<QString>(&v);
    return s ? size_t(s->size()) * 2 : 0;
}

// Swaps a field with a value of the variant, whatever integer type the field is.
template <class F>
void SwapInt(F &field, TColumnValue &v)
{
    const qint32 kept = std::get<qint32>(v);
    v = qint32(field);
    field = F(kept);
}

template <class F>
void SwapReal(F &field, TColumnValue &v)
{
    if (const double *d = std::get_if<double>(&v)) {
        const double kept = *d;
        v = double(field);
        field = F(kept);
    } else {
        const float kept = std::get<float>(v);
        v = float(field);
        field = F(kept);
    }
}

void SwapText(QString &field, TColumnValue &v)
{
    std::swap(field, std::get<QString>(v));
}

} // namespace

// --- the step ---------------------------------------------------------------------------------

TChangeStep::~TChangeStep()
{
    // Later entries were made on what earlier ones left, so they go first: a stopping held by
    // a later entry belongs to a branch an earlier entry may hold.
    for (auto it = FEntries.rbegin(); it != FEntries.rend(); ++it)
        if (auto *p = std::get_if<TPresence>(&*it); p && p->Held)
            Free(*p);
}

void TChangeStep::Append(TChangeStep &later)
{
    for (TEntry &e : later.FEntries)
        FEntries.push_back(std::move(e));
    FBytes += later.FBytes;
    later.FEntries.clear();
    later.FBytes = 0;
}

void TChangeStep::Undo()
{
    TChangeJournal &journal = FMine->FJournal;
    journal.FReplaying = true;
    bool moved = false;
    try {
        for (auto it = FEntries.rbegin(); it != FEntries.rend(); ++it) {
            moved = moved || !std::holds_alternative<TField>(*it);
            Apply(*it, true);
        }
    } catch (...) {
        journal.FReplaying = false;
        throw;
    }
    journal.FReplaying = false;
    AfterReplay(moved);
}

void TChangeStep::Redo()
{
    TChangeJournal &journal = FMine->FJournal;
    journal.FReplaying = true;
    bool moved = false;
    try {
        for (TEntry &e : FEntries) {
            moved = moved || !std::holds_alternative<TField>(e);
            Apply(e, false);
        }
    } catch (...) {
        journal.FReplaying = false;
        throw;
    }
    journal.FReplaying = false;
    AfterReplay(moved);
}

void TChangeStep::AfterReplay(bool moved)
{
    if (moved) {
        FMine->InvalidateBounds();
        FMine->UpdateExtents(false);
        FMine->ProjectNodes();
        FMine->CountsChanged();
    }
    // A step puts fields and lists back behind the setters' backs: the scheme's scene of the
    // network is made again rather than trusted.
    FMine->NetworkChanged();
    FMine->RefreshScheme();
}

void TChangeStep::Apply(TEntry &entry, bool /*undo*/)
{
    // Every entry is its own inverse: it exchanges what it keeps with what the mine holds.
    if (auto *f = std::get_if<TField>(&entry)) {
        if (!f->Named) {
            const auto kind = TColumnKind(f->Code);
            const bool uzel = ColumnKinds::Row(kind).Table == TColumnTable::Uzels;
            TColumnValue now = uzel ? ColumnKinds::Value(kind, *static_cast<TUzel *>(f->Element))
                                    : ColumnKinds::Value(kind, *static_cast<TBranch *>(f->Element));
            if (uzel)
                ColumnKinds::SetValue(kind, *static_cast<TUzel *>(f->Element), f->Value);
            else
                ColumnKinds::SetValue(kind, *static_cast<TBranch *>(f->Element), f->Value);
            f->Value = std::move(now);
            return;
        }
        TColumnValue &v = f->Value;
        auto *u = static_cast<TUzel *>(f->Element);
        auto *b = static_cast<TBranch *>(f->Element);
        auto *j = static_cast<TJumper *>(f->Element);
        auto *p = static_cast<TPeopleInfo *>(f->Element);
        auto *l = static_cast<TLayer *>(f->Element);
        switch (TNamedField(f->Code)) {
        case TNamedField::UzelSurface: SwapInt(u->FSurface, v); break;
        case TNamedField::BranchShape: SwapInt(b->FShape, v); break;
        case TNamedField::BranchRoughness: SwapInt(b->FRoughness, v); break;
        case TNamedField::BranchLayer: SwapInt(b->FLayerIndex, v); break;
        case TNamedField::JumperCaption: SwapText(j->FCaption, v); break;
        case TNamedField::JumperMaterial: SwapInt(j->FMaterial, v); break;
        case TNamedField::JumperVent: SwapInt(j->FVent, v); break;
        case TNamedField::JumperPosition: SwapReal(j->FPosition, v); break;
        case TNamedField::JumperThickness: SwapReal(j->FThickness, v); break;
        case TNamedField::JumperDepression: SwapReal(j->FDepression, v); break;
        case TNamedField::JumperFlow: SwapReal(j->FFlow, v); break;
        case TNamedField::JumperResistance: SwapReal(j->FResistance, v); break;
        case TNamedField::JumperMeasured: SwapInt(j->FMeasured, v); break;
        case TNamedField::JumperReverseResistance: SwapReal(j->FReverseResistance, v); break;
        case TNamedField::JumperBreakPressure: SwapReal(j->FBreakPressure, v); break;
        case TNamedField::JumperOpening: SwapInt(j->FOpening, v); break;
        case TNamedField::JumperOpeningArea: SwapReal(j->FOpeningArea, v); break;
        case TNamedField::JumperDoors: SwapInt(j->FDoors, v); break;
        case TNamedField::JumperCutIn: SwapInt(j->FCutIn, v); break;
        case TNamedField::PeoplePosition: SwapReal(p->FPosition, v); break;
        case TNamedField::PeopleTabNumber: SwapInt(p->FTabNumber, v); break;
        case TNamedField::PeopleSite: SwapInt(p->FSite, v); break;
        case TNamedField::PeopleFullName: SwapText(p->FFullName, v); break;
        case TNamedField::PeopleJobTitle: SwapText(p->FJobTitle, v); break;
        case TNamedField::LayerName: SwapText(l->FName, v); break;
        case TNamedField::LayerColor: SwapInt(l->FColor, v); break;
        case TNamedField::LayerVisible:
            SwapInt(l->FVisible, v);
            if (IMineScheme *scheme = FMine->Scheme())
                scheme->RebuildPicture();
            break;
        case TNamedField::MineTitle: SwapText(FMine->FTitle, v); break;
        case TNamedField::MineTemperature: SwapInt(FMine->FTemperature, v); break;
        case TNamedField::MinePressure: SwapReal(FMine->FPressure, v); break;
        case TNamedField::MineCellLength: {
            SwapReal(FMine->FCellLength, v);
            FMine->RecountCells();
            break;
        }
        }
        return;
    }
    if (auto *o = std::get_if<TOrder>(&entry)) {
        switch (o->List) {
        case TOrderList::Uzels: {
            auto &items = FMine->FUzels.FItems;
            std::vector<void *> now(items.begin(), items.end());
            for (size_t i = 0; i < items.size() && i < o->Items.size(); ++i)
                items[i] = static_cast<TUzel *>(o->Items[i]);
            o->Items.swap(now);
            FMine->FUzels.Reposition(0);
            FMine->FUzels.FIndex.MarkStale();
            break;
        }
        case TOrderList::Branches: {
            auto &items = FMine->FBranches.FItems;
            std::vector<void *> now(items.begin(), items.end());
            for (size_t i = 0; i < items.size() && i < o->Items.size(); ++i)
                items[i] = static_cast<TBranch *>(o->Items[i]);
            o->Items.swap(now);
            FMine->FBranches.Reposition(0);
            FMine->FBranches.FIndex.MarkStale();
            FMine->FBranches.FEnds.MarkStale();
            break;
        }
        case TOrderList::BranchJumpers: {
            auto &items = o->Owner->OwnJumpers().FItems;
            std::vector<void *> now(items.begin(), items.end());
            for (size_t i = 0; i < items.size() && i < o->Items.size(); ++i)
                items[i] = static_cast<TJumper *>(o->Items[i]);
            o->Items.swap(now);
            break;
        }
        case TOrderList::BranchPeople: {
            auto &items = o->Owner->OwnPeople().FItems;
            std::vector<void *> now(items.begin(), items.end());
            for (size_t i = 0; i < items.size() && i < o->Items.size(); ++i)
                items[i] = static_cast<TPeopleInfo *>(o->Items[i]);
            o->Items.swap(now);
            break;
        }
        }
        return;
    }
    if (auto *p = std::get_if<TPresence>(&entry)) {
        Flip(*p);
        return;
    }
    if (auto *m = std::get_if<TMoves>(&entry)) {
        for (size_t i = 0; i < m->Uzels.size(); ++i) {
            TUzel *u = m->Uzels[i];
            float *kept = &m->Xyz[3 * i];
            std::swap(u->FX, kept[0]);
            std::swap(u->FY, kept[1]);
            std::swap(u->FZ, kept[2]);
        }
        return;
    }
    if (auto *s = std::get_if<TSwap>(&entry))
        s->Swap();
}

void TChangeStep::Flip(TPresence &p)
{
    if (p.Held)
        Insert(p);
    else
        Remove(p);
    p.Held = !p.Held;
}

void TChangeStep::Remove(TPresence &p)
{
    switch (p.Type) {
    case TElementType::Uzel: {
        std::vector<TUzel *> gone;
        for (auto &[pos, e] : p.Items)
            gone.push_back(static_cast<TUzel *>(e));
        FMine->FUzels.TakeOut(gone);
        break;
    }
    case TElementType::Branch: {
        std::vector<TBranch *> gone;
        for (auto &[pos, e] : p.Items)
            gone.push_back(static_cast<TBranch *>(e));
        FMine->FBranches.TakeOut(gone);
        break;
    }
    case TElementType::Jumper:
        for (auto it = p.Items.rbegin(); it != p.Items.rend(); ++it)
            static_cast<TJumper *>(it->second)->Detach();
        break;
    case TElementType::People:
        for (auto it = p.Items.rbegin(); it != p.Items.rend(); ++it)
            static_cast<TPeopleInfo *>(it->second)->Detach();
        break;
    case TElementType::Layer:
    case TElementType::PLF: {
        TLayerList &list = p.Type == TElementType::PLF ? static_cast<TLayerList &>(FMine->FPLFs) : FMine->FLayers;
        for (auto it = p.Items.rbegin(); it != p.Items.rend(); ++it)
            list.TakeOut(it->first);
        break;
    }
    }
}

void TChangeStep::Insert(TPresence &p)
{
    switch (p.Type) {
    case TElementType::Uzel: {
        std::vector<std::pair<int, TUzel *>> items;
        for (auto &[pos, e] : p.Items)
            items.emplace_back(pos, static_cast<TUzel *>(e));
        FMine->FUzels.PutBack(items);
        break;
    }
    case TElementType::Branch: {
        std::vector<std::pair<int, TBranch *>> items;
        for (auto &[pos, e] : p.Items)
            items.emplace_back(pos, static_cast<TBranch *>(e));
        FMine->FBranches.PutBack(items);
        break;
    }
    case TElementType::Jumper:
        for (auto &[pos, e] : p.Items)
            static_cast<TJumper *>(e)->Attach(pos);
        break;
    case TElementType::People:
        for (auto &[pos, e] : p.Items)
            static_cast<TPeopleInfo *>(e)->Attach(pos);
        break;
    case TElementType::Layer:
    case TElementType::PLF: {
        TLayerList &list = p.Type == TElementType::PLF ? static_cast<TLayerList &>(FMine->FPLFs) : FMine->FLayers;
        for (auto &[pos, e] : p.Items)
            list.PutBack(pos, static_cast<TLayer *>(e));
        break;
    }
    }
}

void TChangeStep::Free(TPresence &p)
{
    for (auto &[pos, e] : p.Items) {
        switch (p.Type) {
        case TElementType::Uzel: FMine->FUzelStore.Destroy(static_cast<TUzel *>(e)); break;
        case TElementType::Branch: FMine->FBranchStore.Destroy(static_cast<TBranch *>(e)); break;
        case TElementType::Jumper: delete static_cast<TJumper *>(e); break;
        case TElementType::People: delete static_cast<TPeopleInfo *>(e); break;
        case TElementType::Layer:
        case TElementType::PLF: delete static_cast<TLayer *>(e); break;
        }
    }
    p.Items.clear();
    p.Held = false;
}

bool TChangeStep::Present(TElementType type, void *element) const
{
    switch (type) {
    case TElementType::Uzel: return FMine->FUzels.ItemPosition(static_cast<TUzel *>(element)) > 0;
    case TElementType::Branch: return FMine->FBranches.ItemPosition(static_cast<TBranch *>(element)) > 0;
    case TElementType::Jumper: {
        auto *j = static_cast<TJumper *>(element);
        return !j->FDetached && FMine->FBranches.ItemPosition(j->FBranch) > 0;
    }
    case TElementType::People: {
        auto *p = static_cast<TPeopleInfo *>(element);
        return !p->FDetached && FMine->FBranches.ItemPosition(p->FBranch) > 0;
    }
    default: return false;
    }
}

bool TChangeStep::ChangesNothing() const
{
    // Only a step of field entries can come back to where it started (a cell typed and typed
    // back, or left with Escape); the first entry of a field holds its value before the step.
    std::vector<std::pair<void *, int>> seen;
    for (const TEntry &e : FEntries) {
        const auto *f = std::get_if<TField>(&e);
        if (!f)
            return false;
        const std::pair<void *, int> key(f->Element, (f->Named ? 256 : 0) + f->Code);
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            continue;
        seen.push_back(key);
        TColumnValue now;
        if (f->Named) {
            now = FMine->FJournal.NamedValue(f->Element, TNamedField(f->Code));
        } else {
            const auto kind = TColumnKind(f->Code);
            now = ColumnKinds::Row(kind).Table == TColumnTable::Uzels
                      ? ColumnKinds::Value(kind, *static_cast<const TUzel *>(f->Element))
                      : ColumnKinds::Value(kind, *static_cast<const TBranch *>(f->Element));
        }
        if (!(now == f->Value))
            return false;
    }
    return true;
}

TStepFocus TChangeStep::Focus() const
{
    TStepFocus focus;
    auto note = [&](TElementType type, void *e) {
        if (!Present(type, e))
            return;
        switch (type) {
        case TElementType::Uzel: focus.Uzel = focus.Uzel ? focus.Uzel : static_cast<TUzel *>(e); break;
        case TElementType::Branch: focus.Branch = focus.Branch ? focus.Branch : static_cast<TBranch *>(e); break;
        case TElementType::Jumper:
            if (!focus.Jumper) {
                focus.Jumper = static_cast<TJumper *>(e);
                focus.Branch = focus.Branch ? focus.Branch : focus.Jumper->FBranch;
            }
            break;
        case TElementType::People:
            if (!focus.People) {
                focus.People = static_cast<TPeopleInfo *>(e);
                focus.Branch = focus.Branch ? focus.Branch : focus.People->FBranch;
            }
            break;
        default: break;
        }
    };
    for (const TEntry &e : FEntries) {
        if (const auto *f = std::get_if<TField>(&e)) {
            if (!f->Named) {
                const auto kind = TColumnKind(f->Code);
                note(ColumnKinds::Row(kind).Table == TColumnTable::Uzels ? TElementType::Uzel : TElementType::Branch,
                     f->Element);
                continue;
            }
            const auto named = TNamedField(f->Code);
            if (named == TNamedField::UzelSurface)
                note(TElementType::Uzel, f->Element);
            else if (named <= TNamedField::BranchLayer)
                note(TElementType::Branch, f->Element);
            else if (named <= TNamedField::JumperCutIn)
                note(TElementType::Jumper, f->Element);
            else if (named <= TNamedField::PeopleJobTitle)
                note(TElementType::People, f->Element);
        } else if (const auto *p = std::get_if<TPresence>(&e)) {
            if (!p->Items.empty())
                note(p->Type, p->Items.front().second);
        } else if (const auto *m = std::get_if<TMoves>(&e)) {
            if (!m->Uzels.empty())
                note(TElementType::Uzel, m->Uzels.front());
        }
    }
    return focus;
}

// --- the journal ------------------------------------------------------------------------------

quint64 TChangeJournal::NewMergeKey()
{
    static quint64 last = 0;
    return ++last;
}

void TChangeJournal::SetEnabled(bool on)
{
    if (!on && FStep)
        Close();
    FEnabled = on;
}

TChangeStep *TChangeJournal::Step()
{
    if (!Active())
        return nullptr;
    if (FStep)
        return FStep.get();
    if (FMine->Updating()) {
        // A bulk change outside any action (a file being read): it cannot be taken back.
        if (OnLost)
            OnLost();
        return nullptr;
    }
    FStep = std::make_unique<TChangeStep>(FMine);
    FStep->Name = kImplicitName;
    if (OnImplicit)
        OnImplicit();
    return FStep.get();
}

void TChangeJournal::Begin(const QString &name, quint64 mergeKey)
{
    if (FDepth++ > 0)
        return;
    if (Active() && !FStep)
        FStep = std::make_unique<TChangeStep>(FMine);
    if (FStep) {
        FStep->Name = name;
        FStep->MergeKey = mergeKey;
    }
}

void TChangeJournal::End()
{
    if (FDepth > 0 && --FDepth == 0)
        Close();
}

void TChangeJournal::Flush()
{
    if (FDepth == 0 && FStep)
        Close();
}

void TChangeJournal::Close()
{
    FCoordinatesKept = false;
    std::unique_ptr<TChangeStep> step = std::move(FStep);
    if (step && !step->IsEmpty() && OnStep)
        OnStep(std::move(step));
}

bool TChangeJournal::Add(TChangeStep::TEntry entry, size_t bytes)
{
    TChangeStep *step = Step();
    if (!step)
        return false;
    step->FEntries.push_back(std::move(entry));
    step->FBytes += sizeof(TChangeStep::TEntry) + bytes;
    return true;
}

void TChangeJournal::Field(TUzel *uzel, TColumnKind kind)
{
    TColumnValue v = ColumnKinds::Value(kind, *uzel);
    Add(TChangeStep::TField{uzel, false, quint8(kind), std::move(v)}, 0);
}

void TChangeJournal::Field(TBranch *branch, TColumnKind kind)
{
    TColumnValue v = ColumnKinds::Value(kind, *branch);
    const size_t bytes = TextBytes(v);
    Add(TChangeStep::TField{branch, false, quint8(kind), std::move(v)}, bytes);
}

TColumnValue TChangeJournal::NamedValue(const void *element, TNamedField field) const
{
    const auto *u = static_cast<const TUzel *>(element);
    const auto *b = static_cast<const TBranch *>(element);
    const auto *j = static_cast<const TJumper *>(element);
    const auto *p = static_cast<const TPeopleInfo *>(element);
    const auto *l = static_cast<const TLayer *>(element);
    switch (field) {
    case TNamedField::UzelSurface: return qint32(u->FSurface);
    case TNamedField::BranchShape: return qint32(b->FShape);
    case TNamedField::BranchRoughness: return qint32(b->FRoughness);
    case TNamedField::BranchLayer: return qint32(b->FLayerIndex);
    case TNamedField::JumperCaption: return j->FCaption;
    case TNamedField::JumperMaterial: return qint32(j->FMaterial);
    case TNamedField::JumperVent: return qint32(j->FVent);
    case TNamedField::JumperPosition: return j->FPosition;
    case TNamedField::JumperThickness: return j->FThickness;
    case TNamedField::JumperDepression: return j->FDepression;
    case TNamedField::JumperFlow: return j->FFlow;
    case TNamedField::JumperResistance: return j->FResistance;
    case TNamedField::JumperMeasured: return qint32(j->FMeasured);
    case TNamedField::JumperReverseResistance: return j->FReverseResistance;
    case TNamedField::JumperBreakPressure: return j->FBreakPressure;
    case TNamedField::JumperOpening: return qint32(j->FOpening);
    case TNamedField::JumperOpeningArea: return j->FOpeningArea;
    case TNamedField::JumperDoors: return qint32(j->FDoors);
    case TNamedField::JumperCutIn: return qint32(j->FCutIn);
    case TNamedField::PeoplePosition: return p->FPosition;
    case TNamedField::PeopleTabNumber: return qint32(p->FTabNumber);
    case TNamedField::PeopleSite: return qint32(p->FSite);
    case TNamedField::PeopleFullName: return p->FFullName;
    case TNamedField::PeopleJobTitle: return p->FJobTitle;
    case TNamedField::LayerName: return l->FName;
    case TNamedField::LayerColor: return qint32(l->FColor);
    case TNamedField::LayerVisible: return qint32(l->FVisible);
    case TNamedField::MineTitle: return FMine->FTitle;
    case TNamedField::MineTemperature: return qint32(FMine->FTemperature);
    case TNamedField::MinePressure: return FMine->FPressure;
    case TNamedField::MineCellLength: return FMine->FCellLength;
    }
    return TColumnValue();
}

void TChangeJournal::Named(void *element, TNamedField field)
{
    if (!Step())
        return;
    TChangeStep::TField f{element, true, quint8(field), NamedValue(element, field)};
    const size_t bytes = TextBytes(f.Value);
    Add(std::move(f), bytes);
}

void TChangeJournal::UzelOrder()
{
    const auto &items = FMine->FUzels.FItems;
    Add(TChangeStep::TOrder{TChangeStep::TOrderList::Uzels, nullptr, std::vector<void *>(items.begin(), items.end())},
        items.size() * sizeof(void *));
}

void TChangeJournal::BranchOrder()
{
    const auto &items = FMine->FBranches.FItems;
    Add(TChangeStep::TOrder{TChangeStep::TOrderList::Branches, nullptr, std::vector<void *>(items.begin(), items.end())},
        items.size() * sizeof(void *));
}

void TChangeJournal::JumperOrder(TBranch *branch)
{
    const auto &items = std::as_const(*branch).Jumpers().FItems;
    Add(TChangeStep::TOrder{TChangeStep::TOrderList::BranchJumpers, branch,
                            std::vector<void *>(items.begin(), items.end())},
        items.size() * sizeof(void *));
}

void TChangeJournal::PeopleOrder(TBranch *branch)
{
    const auto &items = std::as_const(*branch).People().FItems;
    Add(TChangeStep::TOrder{TChangeStep::TOrderList::BranchPeople, branch,
                            std::vector<void *>(items.begin(), items.end())},
        items.size() * sizeof(void *));
}

template <class T>
bool TChangeJournal::Presence(TChangeStep::TElementType type, bool added,
                              const std::vector<std::pair<int, T *>> &items)
{
    TChangeStep::TPresence p{type, added, false, {}};
    p.Items.reserve(items.size());
    for (const auto &[pos, e] : items)
        p.Items.emplace_back(pos, e);
    // A removal is recorded before the elements leave: from then on the step holds them.
    p.Held = !added;
    return Add(std::move(p), items.size() * (sizeof(std::pair<int, void *>) + sizeof(T)));
}

bool TChangeJournal::Removing(TUzel *uzel, int pos) { return RemovingMany({{pos, uzel}}); }
bool TChangeJournal::Removing(TBranch *branch, int pos) { return RemovingMany({{pos, branch}}); }

bool TChangeJournal::RemovingMany(const std::vector<std::pair<int, TUzel *>> &uzels)
{
    return Presence(TChangeStep::TElementType::Uzel, false, uzels);
}

bool TChangeJournal::RemovingMany(const std::vector<std::pair<int, TBranch *>> &branches)
{
    return Presence(TChangeStep::TElementType::Branch, false, branches);
}

bool TChangeJournal::Removing(TJumper *jumper)
{
    return Presence<TJumper>(TChangeStep::TElementType::Jumper, false, {{jumper->IndexInBranch(), jumper}});
}

bool TChangeJournal::Removing(TPeopleInfo *person)
{
    return Presence<TPeopleInfo>(TChangeStep::TElementType::People, false, {{person->IndexInBranch(), person}});
}

bool TChangeJournal::Removing(TLayer *layer, int index)
{
    return Presence<TLayer>(layer->IsPLF() ? TChangeStep::TElementType::PLF : TChangeStep::TElementType::Layer, false,
                     {{index, layer}});
}

void TChangeJournal::Added(TUzel *uzel)
{
    Presence<TUzel>(TChangeStep::TElementType::Uzel, true, {{uzel->FListPos, uzel}});
}

void TChangeJournal::Added(TBranch *branch)
{
    Presence<TBranch>(TChangeStep::TElementType::Branch, true, {{branch->FListPos, branch}});
}

void TChangeJournal::Added(TJumper *jumper)
{
    Presence<TJumper>(TChangeStep::TElementType::Jumper, true, {{jumper->IndexInBranch(), jumper}});
}

void TChangeJournal::Added(TPeopleInfo *person)
{
    Presence<TPeopleInfo>(TChangeStep::TElementType::People, true, {{person->IndexInBranch(), person}});
}

void TChangeJournal::Added(TLayer *layer)
{
    const TLayerList &list = layer->IsPLF() ? static_cast<const TLayerList &>(FMine->PLFs()) : FMine->Layers();
    Presence<TLayer>(layer->IsPLF() ? TChangeStep::TElementType::PLF : TChangeStep::TElementType::Layer, true,
                     {{list.IndexOf(layer), layer}});
}

void TChangeJournal::KeepCoordinates()
{
    if (!Step() || FCoordinatesKept)
        return;
    TChangeStep::TMoves m;
    const auto &items = FMine->FUzels.FItems;
    m.Uzels.assign(items.begin(), items.end());
    m.Xyz.reserve(3 * items.size());
    for (const TUzel *u : items) {
        m.Xyz.push_back(u->FX);
        m.Xyz.push_back(u->FY);
        m.Xyz.push_back(u->FZ);
    }
    const size_t bytes = m.Uzels.size() * (sizeof(TUzel *) + 3 * sizeof(float));
    Add(std::move(m), bytes);
    FCoordinatesKept = true;
}

void TChangeJournal::Swap(std::function<void()> swap)
{
    Add(TChangeStep::TSwap{std::move(swap)}, 64);
}

// --- a user action ----------------------------------------------------------------------------

TUserAction::TUserAction(TMine *mine, const QString &name, quint64 mergeKey) : FMine(mine)
{
    if (FMine)
        FMine->Journal().Begin(name, mergeKey);
}

TUserAction::~TUserAction()
{
    if (FMine)
        FMine->Journal().End();
}
