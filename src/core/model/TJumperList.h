#pragma once
// List of stoppings, 0-based. Two kinds:
//  - a branch's list (owning): holds that branch's stoppings in ascending Position order;
//  - the mine's list of all stoppings (not owning), in the order they were created.
// Stoppings enter and leave both lists only through TJumper's constructor and destructor.
// The mine's list leaves a hole on removal and closes the holes on the next access, so that
// deleting many stoppings at once stays linear.
#include <QtGlobal>
#include <vector>

class TMine;
class TJumper;

class TJumperList {
public:
    // Refused (AppError "Параметр Owner не должен быть равным nil") without a mine. The mine is
    // not kept: a branch's list belongs to its branch, and every branch carries one.
    TJumperList(TMine *mine, bool ownsItems);
    ~TJumperList();
    TJumperList(const TJumperList &) = delete;
    TJumperList &operator=(const TJumperList &) = delete;

    bool OwnsItems() const { return FOwns; }
    int Count() const { return int(FItems.size()) - FHoles; }
    bool IsEmpty() const { return Count() == 0; }
    TJumper *Items(int i) const;   // 0-based
    int IndexOf(const TJumper *jumper) const;
    // Deletes the stopping at 0-based position i (from both of its lists).
    void Delete(int i);

    // Compact iteration (closes holes first).
    TJumper *const *begin() const { Compact(); return FItems.data(); }
    TJumper *const *end() const { Compact(); return FItems.data() + FItems.size(); }

private:
    friend class TJumper;
    friend class TBranch;
    friend class TChangeStep;
    friend class TChangeJournal;
    // A branch's list (owning), made with the branch's part for stoppings; the branch has
    // checked its mine.
    constexpr TJumperList() : FOwns(true) {}
    void Clear();   // frees every item
    void Insert(TJumper *jumper);   // branch list: at its Position; mine list: at the end
    void Remove(TJumper *jumper);
    void Resort(TJumper *jumper);   // branch list: move after a position change
    void Compact() const;

    mutable std::vector<TJumper *> FItems;
    mutable int FHoles = 0;
    bool FOwns;
    bool FClearing = false;
};
