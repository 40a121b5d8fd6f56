#include "model/TUzelList.h"
#include "AppError.h"
#include "model/ColumnKinds.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Node coordinates are equal when they differ by at most 0.01 % of the smaller magnitude, and
// never by less than 0.0001 m.
bool EqualWithin(float a, float b)
{
    const double da = a, db = b;
    const double tol = std::max(std::min(std::fabs(da), std::fabs(db)) * 0.0001, 0.0001);
    return std::fabs(da - db) <= tol;
}

// -1, 0, 1; unset values first.
int CompareNumber(qint32 a, qint32 b)
{
    const bool ua = IsUnset(a), ub = IsUnset(b);
    if (ua != ub)
        return ua ? -1 : 1;
    return a < b ? -1 : a > b ? 1 : 0;
}

int CompareCoordinate(float a, float b)
{
    const bool ua = IsUnset(a), ub = IsUnset(b);
    if (ua != ub)
        return ua ? -1 : 1;
    if (ua || EqualWithin(a, b))
        return 0;
    return a < b ? -1 : 1;
}

// By the kind's coordinate, equal ones by the coordinates before it, then by number: the codes
// of the kinds X, Y, Z are the axes 1, 2, 3.
int CompareNodes(const TUzel *a, const TUzel *b, TColumnKind kind)
{
    for (int axis = ColumnKinds::Code(kind); axis >= 1; --axis) {
        const int c = CompareCoordinate(a->Coordinate(axis), b->Coordinate(axis));
        if (c != 0)
            return c;
    }
    return CompareNumber(a->Number(), b->Number());
}

} // namespace

TUzelList::TUzelList(TMine *mine) : FMine(mine) {}

TUzelList::~TUzelList() { Clear(); }

void TUzelList::Clear()
{
    std::vector<TUzel *> items;
    items.swap(FItems);
    FIndex.MarkStale();
    for (TUzel *n : items)
        FMine->FUzelStore.Destroy(n);
}

TUzel *TUzelList::Items(int i) const
{
    if (i < 1 || i > int(FItems.size()))
        return nullptr;
    return FItems[i - 1];
}

int TUzelList::ItemPosition(const TUzel *uzel) const
{
    if (!uzel || uzel->FListPos < 0 || uzel->FListPos >= int(FItems.size())
        || FItems[uzel->FListPos] != uzel)
        return 0;
    return uzel->FListPos + 1;
}

TUzel *TUzelList::Find(qint32 number) const { return FIndex.First(number, FItems); }

int TUzelList::PositionOf(qint32 number) const
{
    const TUzel *n = Find(number);
    return n ? n->FListPos + 1 : 0;
}

void TUzelList::Add(TUzel *uzel)
{
    if (!uzel || uzel->FListPos >= 0)
        return;
    FItems.push_back(uzel);   // may throw; then the list does not own the node
    uzel->FListPos = int(FItems.size()) - 1;
    if (FItems.size() == 1)
        FMine->FCurUzel = uzel;
    FMine->ExtendBounds(uzel);
    FMine->NodeGeometryChanged(uzel);
    FMine->CountsChanged();
}

void TUzelList::Reposition(int from)
{
    FMine->NetworkChanged();
    for (int i = from; i < int(FItems.size()); ++i)
        FItems[i]->FListPos = i;
}

void TUzelList::Renumbered(TUzel *uzel, qint32 oldNumber) { FIndex.Renumbered(uzel, oldNumber); }

bool TUzelList::NamedByBranches(const TUzel *uzel) const
{
    // Resolved links are only as fresh as the last check, and a freshly opened mine has none, so
    // the branches' own numbers decide: the node is incident to a branch when the branch names
    // its number and no earlier node carries that number (the first one is what a check links).
    if (IsUnset(uzel->FNumber) || Find(uzel->FNumber) != uzel)
        return false;
    for (const TBranch *b : FMine->FBranches)
        if (b->StartNumber() == uzel->FNumber || b->EndNumber() == uzel->FNumber)
            return true;
    return false;
}

void TUzelList::Delete(int i)
{
    if (i < 0 || i >= int(FItems.size()))
        return;
    TUzel *n = FItems[i];
    if (!n->IsEmpty() && NamedByBranches(n))
        throw AppError(QStringLiteral(
            "Невозможно удалить узел, т.к. количество инцидетных ему ветвей больше 0."));
    if (n->FIncidentRefs > 0) {
        // Branches may still be linked to the node (it was emptied or renumbered since the
        // last check); they forget it rather than point at freed memory.
        for (TBranch *b : FMine->FBranches)
            if (b->FStartUzel == n || b->FEndUzel == n)
                b->LinkEnds(b->FStartUzel == n ? nullptr : b->FStartUzel,
                            b->FEndUzel == n ? nullptr : b->FEndUzel);
    }
    const bool held = FMine->FJournal.Active() && FMine->FJournal.Removing(n, i);
    FIndex.Removed(n);
    FItems.erase(FItems.begin() + i);
    Reposition(i);
    n->FListPos = -1;
    FMine->NodeLeaving(n);
    if (held) {
        if (FMine->FCurUzel == n)
            FMine->FCurUzel = nullptr;
    } else {
        FMine->FUzelStore.Destroy(n);
    }
    FMine->UpdateExtents(false);
    FMine->ProjectNodes();
    FMine->RefreshScheme();
    FMine->CountsChanged();
}

int TUzelList::RemoveDoomed()
{
    bool held = false;
    if (FMine->FJournal.Active()) {
        std::vector<std::pair<int, TUzel *>> doomed;
        for (TUzel *n : FItems)
            if (n->FDoomed)
                doomed.emplace_back(n->FListPos, n);
        held = FMine->FJournal.RemovingMany(doomed);
    }
    int removed = 0;
    std::vector<TUzel *> kept;
    kept.reserve(FItems.size());
    for (TUzel *n : FItems) {
        if (n->FDoomed) {
            n->FListPos = -1;
            if (held) {
                n->FDoomed = false;
                if (FMine->FCurUzel == n)
                    FMine->FCurUzel = nullptr;
            } else {
                FMine->FUzelStore.Destroy(n);
            }
            ++removed;
        } else {
            kept.push_back(n);
        }
    }
    if (removed) {
        FItems.swap(kept);
        Reposition(0);
        FIndex.MarkStale();
    }
    return removed;
}

void TUzelList::SortBy(int code)
{
    const std::optional<TColumnKind> kind = ColumnKinds::FromCode(code, TColumnTable::Uzels);
    if (!kind)
        return;
    FMine->DeleteEmptyUzels();
    if (FMine->FJournal.Active())
        FMine->FJournal.UzelOrder();
    std::stable_sort(FItems.begin(), FItems.end(), [&kind](const TUzel *a, const TUzel *b) {
        return CompareNodes(a, b, *kind) < 0;
    });
    Reposition(0);
    FIndex.MarkStale();
}

void TUzelList::TakeOut(const std::vector<TUzel *> &gone)
{
    for (TUzel *n : gone)
        n->FDoomed = true;
    for (TBranch *b : FMine->FBranches) {
        TUzel *s = b->FStartUzel, *e = b->FEndUzel;
        if ((s && s->FDoomed) || (e && e->FDoomed))
            b->LinkEnds(s && s->FDoomed ? nullptr : s, e && e->FDoomed ? nullptr : e);
    }
    std::vector<TUzel *> kept;
    kept.reserve(FItems.size());
    for (TUzel *n : FItems) {
        if (!n->FDoomed) {
            kept.push_back(n);
            continue;
        }
        n->FDoomed = false;
        n->FListPos = -1;
        if (FMine->FCurUzel == n)
            FMine->FCurUzel = nullptr;
    }
    FItems.swap(kept);
    Reposition(0);
    FIndex.MarkStale();
    FMine->InvalidateBounds();
}

void TUzelList::PutBack(const std::vector<std::pair<int, TUzel *>> &items)
{
    std::vector<TUzel *> merged;
    merged.reserve(FItems.size() + items.size());
    size_t from = 0;
    for (const auto &[pos, n] : items) {
        while (int(merged.size()) < pos && from < FItems.size())
            merged.push_back(FItems[from++]);
        merged.push_back(n);
    }
    while (from < FItems.size())
        merged.push_back(FItems[from++]);
    FItems.swap(merged);
    Reposition(0);
    FIndex.MarkStale();
    FMine->InvalidateBounds();
}
