#pragma once
// A non-owning list of branches (the mine's GasBranches1 / GasBranches2: branches whose gas
// zone 1 / 2 is on), 0-based, in the order the zones were switched on. Branches join and leave
// only through TBranch::SetZone and their destructor; removal leaves a hole that the next
// access closes, so that bulk deletions stay linear.
#include <QtGlobal>
#include <vector>

class TMine;
class TBranch;

class TInfoBranchList {
public:
    // zone 1 or 2: which gas list this is.
    TInfoBranchList(TMine *mine, int zone);
    TInfoBranchList(const TInfoBranchList &) = delete;
    TInfoBranchList &operator=(const TInfoBranchList &) = delete;

    TMine *Mine() const { return FMine; }
    int Count() const { return int(FItems.size()) - FHoles; }
    TBranch *Items(int i) const;   // 0-based
    bool Contains(const TBranch *branch) const;
    int IndexOf(const TBranch *branch) const;

    TBranch *const *begin() const { Compact(); return FItems.data(); }
    TBranch *const *end() const { Compact(); return FItems.data() + FItems.size(); }

private:
    friend class TBranch;
    void Append(TBranch *branch);
    void Remove(TBranch *branch);
    void Compact() const;

    TMine *FMine;
    int FZone;
    mutable std::vector<TBranch *> FItems;
    mutable int FHoles = 0;
};
