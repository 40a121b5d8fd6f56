#include "model/TJumperList.h"
#include "AppError.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include <algorithm>

namespace {
bool PositionLess(double position, const TJumper *j) { return position < j->Position(); }
} // namespace

TJumperList::TJumperList(TMine *mine, bool ownsItems) : FOwns(ownsItems)
{
    if (!mine)
        throw AppError(QStringLiteral("Параметр Owner не должен быть равным nil"));
}

TJumperList::~TJumperList()
{
    if (FOwns)
        Clear();
}

void TJumperList::Clear()
{
    if (!FOwns)
        return;
    FClearing = true;
    std::vector<TJumper *> items;
    items.swap(FItems);
    for (TJumper *j : items)
        delete j;
    FClearing = false;
}

void TJumperList::Compact() const
{
    if (FHoles == 0)
        return;
    FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end());
    FHoles = 0;
    for (int i = 0; i < int(FItems.size()); ++i)
        FItems[i]->FMineSlot = i;
}

TJumper *TJumperList::Items(int i) const
{
    Compact();
    if (i < 0 || i >= int(FItems.size()))
        return nullptr;
    return FItems[i];
}

int TJumperList::IndexOf(const TJumper *jumper) const
{
    if (!jumper)
        return -1;
    Compact();
    if (!FOwns)
        return jumper->FMineSlot;
    auto it = std::find(FItems.begin(), FItems.end(), jumper);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TJumperList::Delete(int i)
{
    TJumper *j = Items(i);
    if (!j)
        return;
    TChangeJournal &journal = j->Mine()->Journal();
    if (journal.Active() && journal.Removing(j))
        j->Detach();   // the journal's step holds it
    else
        delete j;   // leaves both of its lists
}

void TJumperList::Insert(TJumper *jumper)
{
    if (FOwns) {
        auto at = std::upper_bound(FItems.begin(), FItems.end(), jumper->Position(), PositionLess);
        FItems.insert(at, jumper);
    } else {
        jumper->FMineSlot = int(FItems.size());
        FItems.push_back(jumper);
    }
}

void TJumperList::Remove(TJumper *jumper)
{
    if (FClearing)
        return;
    if (FOwns) {
        auto it = std::find(FItems.begin(), FItems.end(), jumper);
        if (it != FItems.end())
            FItems.erase(it);
        return;
    }
    const int slot = jumper->FMineSlot;
    if (slot >= 0 && slot < int(FItems.size()) && FItems[slot] == jumper) {
        FItems[slot] = nullptr;
        ++FHoles;
    }
    jumper->FMineSlot = -1;
}

void TJumperList::Resort(TJumper *jumper)
{
    if (!FOwns)
        return;
    auto it = std::find(FItems.begin(), FItems.end(), jumper);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    Insert(jumper);
}
