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
        FItems[i]->FGasSlot[FZone - 1] = i;
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
    return branch && branch->FGasSlot[FZone - 1] >= 0;
}

int TInfoBranchList::IndexOf(const TBranch *branch) const
{
    if (!Contains(branch))
        return -1;
    Compact();
    return branch->FGasSlot[FZone - 1];
}

void TInfoBranchList::Append(TBranch *branch)
{
    if (Contains(branch))
        return;
    branch->FGasSlot[FZone - 1] = int(FItems.size());
    FItems.push_back(branch);
}

void TInfoBranchList::Remove(TBranch *branch)
{
    int &slot = branch->FGasSlot[FZone - 1];
    if (slot >= 0 && slot < int(FItems.size()) && FItems[slot] == branch) {
        FItems[slot] = nullptr;
        ++FHoles;
    }
    slot = -1;
}
