#include "model/TInfoBranchList.h"
#include "model/TBranch.h"
#include <algorithm>

TInfoBranchList::TInfoBranchList(TMine *mine, int zone) : FMine(mine), FZone(zone == 2 ? 2 : 1) {}

void TInfoBranchList::Compact() const
{
    if (FHoles == 0)
        return;
    FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end());
    FHoles = 0;
    for (int i = 0; i < int(FItems.size()); ++i)
        FItems[i]->SeldomForWrite().GasSlot[FZone - 1] = i;
}

TBranch *TInfoBranchList::Items(int i) const
{
    Compact();
    if (i < 0 || i >= int(FItems.size()))
        return nullptr;
    return FItems[i];
}

bool TInfoBranchList::Contains(const TBranch *branch) const
{
    return branch && branch->GasSlot(FZone) >= 0;
}

int TInfoBranchList::IndexOf(const TBranch *branch) const
{
    if (!Contains(branch))
        return -1;
    Compact();
    return branch->GasSlot(FZone);
}

void TInfoBranchList::Append(TBranch *branch)
{
    if (Contains(branch))
        return;
    branch->SeldomForWrite().GasSlot[FZone - 1] = int(FItems.size());
    FItems.push_back(branch);
}

void TInfoBranchList::Remove(TBranch *branch)
{
    const int slot = branch->GasSlot(FZone);
    if (slot < 0)
        return;
    if (slot < int(FItems.size()) && FItems[slot] == branch) {
        FItems[slot] = nullptr;
        ++FHoles;
    }
    branch->SeldomForWrite().GasSlot[FZone - 1] = -1;
}
