#include "model/TPeopleList.h"
#include "AppError.h"
#include "model/TPeopleInfo.h"
#include "model/TMine.h"
#include <algorithm>

namespace {
bool PositionLess(double position, const TPeopleInfo *p) { return position < p->Position(); }
} // namespace

TPeopleList::TPeopleList(TMine *mine)
{
    if (!mine)
        throw AppError(QStringLiteral("Параметр Owner не должен быть равным nil"));
}

TPeopleList::~TPeopleList() { Clear(); }

void TPeopleList::Clear()
{
    FClearing = true;
    std::vector<TPeopleInfo *> items;
    items.swap(FItems);
    for (TPeopleInfo *p : items)
        delete p;
    FClearing = false;
}

TPeopleInfo *TPeopleList::Items(int i) const
{
    if (i < 0 || i >= int(FItems.size()))
        return nullptr;
    return FItems[i];
}

int TPeopleList::IndexOf(const TPeopleInfo *person) const
{
    auto it = std::find(FItems.begin(), FItems.end(), person);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TPeopleList::Delete(int i)
{
    TPeopleInfo *p = Items(i);
    if (!p)
        return;
    TChangeJournal &journal = p->Mine()->Journal();
    if (journal.Active() && journal.Removing(p))
        p->Detach();   // the journal's step holds it
    else
        delete p;
}

void TPeopleList::Insert(TPeopleInfo *person)
{
    auto at = std::upper_bound(FItems.begin(), FItems.end(), person->Position(), PositionLess);
    FItems.insert(at, person);
}

void TPeopleList::Remove(TPeopleInfo *person)
{
    if (FClearing)
        return;
    auto it = std::find(FItems.begin(), FItems.end(), person);
    if (it != FItems.end())
        FItems.erase(it);
}

void TPeopleList::Resort(TPeopleInfo *person)
{
    auto it = std::find(FItems.begin(), FItems.end(), person);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    Insert(person);
}
