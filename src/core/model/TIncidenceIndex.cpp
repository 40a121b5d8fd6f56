#include "model/TIncidenceIndex.h"

#include "model/TBranch.h"
#include "model/Unset.h"

#include <algorithm>
#include <new>

namespace {

bool Before(const TBranch *a, const TBranch *b) { return a->ListPos() < b->ListPos(); }

} // namespace

const std::vector<TBranch *> &TIncidenceIndex::At(qint32 number, const std::vector<TBranch *> &items)
{
    if (FStale || FTaken < items.size()) {
        try {
            TakeIn(items);
        } catch (const std::bad_alloc &) {
            MarkStale();
            throw;
        }
    }
    const auto it = FAt.find(number);
    return it == FAt.end() ? FNone : it->second;
}

void TIncidenceIndex::MarkStale()
{
    FStale = true;
    FAt.clear();
    FTaken = 0;
}

void TIncidenceIndex::TakeIn(const std::vector<TBranch *> &items)
{
    if (FStale) {
        FAt.clear();
        FTaken = 0;
        FStale = false;
    }
    for (; FTaken < items.size(); ++FTaken) {
        TBranch *b = items[FTaken];
        Insert(b, b->StartNumber());
        if (b->EndNumber() != b->StartNumber())
            Insert(b, b->EndNumber());
    }
}

void TIncidenceIndex::Insert(TBranch *b, qint32 number)
{
    if (IsUnset(number))
        return;
    std::vector<TBranch *> &list = FAt[number];
    // Taking in appends; a changed end goes to its place in list order.
    if (list.empty() || Before(list.back(), b))
        list.push_back(b);
    else
        list.insert(std::upper_bound(list.begin(), list.end(), b, Before), b);
}

void TIncidenceIndex::Erase(const TBranch *b, qint32 number)
{
    if (IsUnset(number))
        return;
    const auto it = FAt.find(number);
    if (it == FAt.end())
        return;
    std::vector<TBranch *> &list = it->second;
    const auto pos = std::lower_bound(list.begin(), list.end(), b, Before);
    if (pos != list.end() && *pos == b)
        list.erase(pos);
    if (list.empty())
        FAt.erase(it);
}

void TIncidenceIndex::EndChanged(const TBranch *b, qint32 oldNumber, qint32 newNumber, qint32 otherEnd)
{
    // A branch not yet taken in is read with its new numbers when it is.
    if (FStale || b->ListPos() < 0 || size_t(b->ListPos()) >= FTaken)
        return;
    try {
        if (oldNumber != otherEnd)
            Erase(b, oldNumber);
        if (newNumber != otherEnd)
            Insert(const_cast<TBranch *>(b), newNumber);
    } catch (const std::bad_alloc &) {
        MarkStale();
    }
}

void TIncidenceIndex::Removing(const TBranch *b)
{
    if (FStale || b->ListPos() < 0 || size_t(b->ListPos()) >= FTaken)
        return;
    Erase(b, b->StartNumber());
    if (b->EndNumber() != b->StartNumber())
        Erase(b, b->EndNumber());
    // The branches after it move up one place each, which keeps every list in order.
    --FTaken;
}
