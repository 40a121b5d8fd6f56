#pragma once
// The mine's branches (owning). Items are addressed 1-based; Delete takes a 0-based position.
// Lookups by number run through an index and mean "the first branch in list order with it".
#include "model/NumberIndex.h"
#include "model/TIncidenceIndex.h"
#include <QtGlobal>
#include <algorithm>
#include <vector>

class TMine;
class TBranch;

class TBranchList {
public:
    explicit TBranchList(TMine *mine);
    ~TBranchList();
    TBranchList(const TBranchList &) = delete;
    TBranchList &operator=(const TBranchList &) = delete;

    TMine *Mine() const { return FMine; }
    int Count() const { return int(FItems.size()); }
    TBranch *Items(int i) const;   // 1-based
    // 1-based position of the branch in this list, 0 when it is not in it. O(1).
    int ItemPosition(const TBranch *branch) const;
    // 1-based position of the first branch with that number, -1 when none.
    int PositionOf(qint32 number) const;
    // The first branch with that number, or nullptr.
    TBranch *Find(qint32 number) const;
    // Like Find, but a missing number raises AppError "Ветвь №<n> не найдена.".
    TBranch *Get(qint32 number) const;
    // The branches whose start or end number is number, in list order (a loop once). Valid
    // until the list or a branch's numbers change.
    const std::vector<TBranch *> &BranchesAt(qint32 number) const { return FEnds.At(number, FItems); }
    // Room for count branches in all, so that reading a file does not grow the list step by step.
    void Reserve(int count) { FItems.reserve(size_t(std::max(count, 0))); }
    // Appends (taking ownership) a branch made by the mine's AddBranch; the first branch of the
    // list becomes the mine's CurBranch.
    void Add(TBranch *branch);
    // Deletes (frees) the branch at 0-based position i. Never refused; does not mark Modified.
    void Delete(int i);
    // index 0..14: deletes the empty branches, then sorts stably by column kind index + 4.
    void SortBy(int index);
    // kind code 4..18 (every branch column kind of the tables): same, by kind. Ties go by
    // number, unset values first; texts compare byte by byte in the file's code page.
    void SortByKind(int code);

    TBranch *const *begin() const { return FItems.data(); }
    TBranch *const *end() const { return FItems.data() + FItems.size(); }

private:
    friend class TMine;
    friend class TBranch;
    friend class TChangeStep;
    friend class TChangeJournal;
    // Takes branches out of the list without freeing them (a step holds them, with their
    // stoppings and people).
    void TakeOut(const std::vector<TBranch *> &gone);
    // Puts branches back at their 0-based positions (ascending, counted with all of them in).
    void PutBack(const std::vector<std::pair<int, TBranch *>> &items);
    void Renumbered(TBranch *branch, qint32 oldNumber);
    void EndRenumbered(const TBranch *branch, qint32 oldNumber, qint32 newNumber, qint32 otherEnd)
    {
        FEnds.EndChanged(branch, oldNumber, newNumber, otherEnd);
    }
    int RemoveDoomed();
    void Reposition(int from);
    void Clear();

    TMine *FMine;
    std::vector<TBranch *> FItems;
    TNumberIndex<TBranch> FIndex;
    mutable TIncidenceIndex FEnds;
};
