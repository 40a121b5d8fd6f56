#pragma once
// The mine's nodes (owning). Items are addressed 1-based (Items(1) is the first node); Delete
// takes a 0-based position. Lookups by number run through an index and mean "the first node in
// list order carrying that number".
#include "model/NumberIndex.h"
#include <QtGlobal>
#include <algorithm>
#include <vector>

class TMine;
class TUzel;

class TUzelList {
public:
    explicit TUzelList(TMine *mine);
    ~TUzelList();
    TUzelList(const TUzelList &) = delete;
    TUzelList &operator=(const TUzelList &) = delete;

    TMine *Mine() const { return FMine; }
    int Count() const { return int(FItems.size()); }
    TUzel *Items(int i) const;   // 1-based
    // 1-based position of the node in this list, 0 when it is not in it. O(1).
    int ItemPosition(const TUzel *uzel) const;
    // 1-based position of the first node with that number, 0 when none.
    int PositionOf(qint32 number) const;
    TUzel *Find(qint32 number) const;
    // Room for count nodes in all, so that reading a file does not grow the list step by step.
    void Reserve(int count) { FItems.reserve(size_t(std::max(count, 0))); }
    // Appends (taking ownership) a node made by the mine's AddUzel. The first node of the list
    // becomes the mine's CurUzel;
    // extents and projection are updated and the scheme refreshed unless the mine is Updating.
    void Add(TUzel *uzel);
    // Deletes the node at 0-based position i. Refused (AppError) when the node is not empty
    // and a branch names its number as start or end, checked or not (a duplicate number
    // counts for its first node only, the one those branches link to). Does not mark Modified.
    void Delete(int i);
    // kind 0..3 (number, X, Y, Z): deletes the empty nodes, then sorts stably.
    void SortBy(int kind);

    TUzel *const *begin() const { return FItems.data(); }
    TUzel *const *end() const { return FItems.data() + FItems.size(); }

private:
    friend class TMine;
    friend class TUzel;
    friend class TChangeStep;
    friend class TChangeJournal;
    // Takes nodes out of the list without freeing them (a step holds them); branches linked
    // to them forget them.
    void TakeOut(const std::vector<TUzel *> &gone);
    // Puts nodes back at their 0-based positions (ascending, counted with all of them in).
    void PutBack(const std::vector<std::pair<int, TUzel *>> &items);
    void Renumbered(TUzel *uzel, qint32 oldNumber);
    // A branch names the node's number and the number leads to this node. O(branches).
    bool NamedByBranches(const TUzel *uzel) const;
    // Removes every node marked FDoomed in one pass; returns how many.
    int RemoveDoomed();
    void Reposition(int from);
    void Clear();

    TMine *FMine;
    std::vector<TUzel *> FItems;
    TNumberIndex<TUzel> FIndex;
};
