#include "model/TBranchList.h"
#include "AppError.h"
#include "model/ColumnKinds.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/Unset.h"
#include <QByteArray>
#include <QStringEncoder>
#include <algorithm>
#include <cmath>
#include <new>

namespace {

struct SortKey {
    TBranch *branch;
    double value;
    QByteArray text;
    qint32 number;
    bool unsetValue;
};

// Unset (and undefined) values sort first.
bool Unsorted(double v) { return std::isnan(v) || v == double(kUnsetReal); }

// Texts compare byte by byte in the document's code page, as they are stored in the file.
QByteArray TextKey(QStringEncoder &encoder, const QString &s)
{
    if (s.isEmpty())
        return QByteArray();
    return encoder.encode(s);
}

} // namespace

TBranchList::TBranchList(TMine *mine) : FMine(mine) {}

TBranchList::~TBranchList() { Clear(); }

void TBranchList::Clear()
{
    std::vector<TBranch *> items;
    items.swap(FItems);
    FIndex.MarkStale();
    FEnds.MarkStale();
    for (TBranch *b : items) {
        b->FListPos = -1;
        FMine->FBranchStore.Destroy(b);
    }
}

TBranch *TBranchList::Items(int i) const
{
    if (i < 1 || i > int(FItems.size()))
        return nullptr;
    return FItems[i - 1];
}

int TBranchList::ItemPosition(const TBranch *branch) const
{
    if (!branch || branch->FListPos < 0 || branch->FListPos >= int(FItems.size())
        || FItems[branch->FListPos] != branch)
        return 0;
    return branch->FListPos + 1;
}

TBranch *TBranchList::Find(qint32 number) const { return FIndex.First(number, FItems); }

int TBranchList::PositionOf(qint32 number) const
{
    const TBranch *b = Find(number);
    return b ? b->FListPos + 1 : -1;
}

TBranch *TBranchList::Get(qint32 number) const
{
    TBranch *b = Find(number);
    if (!b)
        throw AppError(QStringLiteral("Ветвь №%1 не найдена.").arg(number));
    return b;
}

void TBranchList::Add(TBranch *branch)
{
    if (!branch || branch->FListPos >= 0)
        return;
    FItems.push_back(branch);   // may throw; then the list does not own the branch
    branch->FListPos = int(FItems.size()) - 1;
    FMine->NetworkChanged();
    if (FItems.size() == 1)
        FMine->FCurBranch = branch;
    FMine->CountsChanged();
}

void TBranchList::Reposition(int from)
{
    FMine->NetworkChanged();
    for (int i = from; i < int(FItems.size()); ++i)
        FItems[i]->FListPos = i;
}

void TBranchList::Renumbered(TBranch *branch, qint32 oldNumber)
{
    FIndex.Renumbered(branch, oldNumber);
}

void TBranchList::Delete(int i)
{
    if (i < 0 || i >= int(FItems.size()))
        return;
    TBranch *b = FItems[i];
    const bool held = FMine->FJournal.Active() && FMine->FJournal.Removing(b, i);
    FIndex.Removed(b);
    FEnds.Removing(b);
    FItems.erase(FItems.begin() + i);
    Reposition(i);
    b->FListPos = -1;
    if (held)
        b->Detach();
    else
        FMine->FBranchStore.Destroy(b);
    if (!FMine->Updating())
        FMine->RefreshScheme();
    FMine->CountsChanged();
}

int TBranchList::RemoveDoomed()
{
    bool held = false;
    if (FMine->FJournal.Active()) {
        std::vector<std::pair<int, TBranch *>> doomed;
        for (TBranch *b : FItems)
            if (b->FDoomed)
                doomed.emplace_back(b->FListPos, b);
        held = FMine->FJournal.RemovingMany(doomed);
    }
    int removed = 0;
    std::vector<TBranch *> kept;
    kept.reserve(FItems.size());
    for (TBranch *b : FItems) {
        if (b->FDoomed) {
            b->FListPos = -1;
            if (held) {
                b->FDoomed = false;
                b->Detach();
            } else {
                FMine->FBranchStore.Destroy(b);
            }
            ++removed;
        } else {
            kept.push_back(b);
        }
    }
    if (removed) {
        FItems.swap(kept);
        Reposition(0);
        FIndex.MarkStale();
        FEnds.MarkStale();
    }
    return removed;
}

void TBranchList::SortBy(int index)
{
    if (index < 0 || index >= ColumnKinds::kBranchCount)
        return;
    SortByKind(index + ColumnKinds::Code(ColumnKinds::kFirstBranchKind));
}

void TBranchList::SortByKind(int code)
{
    const std::optional<TColumnKind> kind = ColumnKinds::FromCode(code, TColumnTable::Branches);
    if (!kind)
        return;
    FMine->DeleteEmptyBranches();
    if (FMine->FJournal.Active())
        FMine->FJournal.BranchOrder();

    const bool textual = ColumnKinds::IsText(*kind);
    std::vector<SortKey> keys;
    keys.reserve(FItems.size());
    QStringEncoder encoder("windows-1251");
    for (TBranch *b : FItems) {
        SortKey k{b, 0.0, QByteArray(), b->Number(), false};
        const TColumnValue value = ColumnKinds::Value(*kind, *b);
        if (textual) {
            k.text = TextKey(encoder, std::get<QString>(value));
        } else {
            k.value = ColumnKinds::SortNumber(value);
            k.unsetValue = Unsorted(k.value);
        }
        keys.push_back(std::move(k));
    }
    auto byNumber = [](const SortKey &a, const SortKey &b) {
        const bool ua = IsUnset(a.number), ub = IsUnset(b.number);
        if (ua != ub)
            return ua;
        return a.number < b.number;
    };
    if (*kind == TColumnKind::BranchNumber) {
        std::stable_sort(keys.begin(), keys.end(), byNumber);
    } else if (textual) {
        std::stable_sort(keys.begin(), keys.end(), [&](const SortKey &a, const SortKey &b) {
            const int c = a.text.compare(b.text);
            if (c != 0)
                return c < 0;
            return byNumber(a, b);
        });
    } else {
        std::stable_sort(keys.begin(), keys.end(), [&](const SortKey &a, const SortKey &b) {
            if (a.unsetValue != b.unsetValue)
                return a.unsetValue;
            if (!a.unsetValue && a.value != b.value)
                return a.value < b.value;
            return byNumber(a, b);
        });
    }
    for (size_t i = 0; i < keys.size(); ++i)
        FItems[i] = keys[i].branch;
    Reposition(0);
    FIndex.MarkStale();
    FEnds.MarkStale();
}

void TBranchList::TakeOut(const std::vector<TBranch *> &gone)
{
    for (TBranch *b : gone)
        b->FDoomed = true;
    std::vector<TBranch *> kept;
    kept.reserve(FItems.size());
    for (TBranch *b : FItems) {
        if (!b->FDoomed) {
            kept.push_back(b);
            continue;
        }
        b->FDoomed = false;
        b->FListPos = -1;
        b->Detach();
    }
    FItems.swap(kept);
    Reposition(0);
    FIndex.MarkStale();
    FEnds.MarkStale();
}

void TBranchList::PutBack(const std::vector<std::pair<int, TBranch *>> &items)
{
    std::vector<TBranch *> merged;
    merged.reserve(FItems.size() + items.size());
    size_t from = 0;
    for (const auto &[pos, b] : items) {
        while (int(merged.size()) < pos && from < FItems.size())
            merged.push_back(FItems[from++]);
        merged.push_back(b);
    }
    while (from < FItems.size())
        merged.push_back(FItems[from++]);
    FItems.swap(merged);
    Reposition(0);
    FIndex.MarkStale();
    FEnds.MarkStale();
    // Linked only once the list holds them all, so that their end nodes are found.
    for (const auto &[pos, b] : items)
        b->Attach();
}
