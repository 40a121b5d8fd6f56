#pragma once
// A branch's people (owning), 0-based, in ascending Position order. People enter and leave only
// through TPeopleInfo's constructor and destructor (or Delete).
#include <QtGlobal>
#include <vector>

class TMine;
class TPeopleInfo;

class TPeopleList {
public:
    // Refused (AppError "Параметр Owner не должен быть равным nil") without a mine (not kept: the
    // list belongs to its branch).
    explicit TPeopleList(TMine *mine);
    ~TPeopleList();
    TPeopleList(const TPeopleList &) = delete;
    TPeopleList &operator=(const TPeopleList &) = delete;

    int Count() const { return int(FItems.size()); }
    bool IsEmpty() const { return FItems.empty(); }
    TPeopleInfo *Items(int i) const;   // 0-based
    int IndexOf(const TPeopleInfo *person) const;
    void Delete(int i);

    TPeopleInfo *const *begin() const { return FItems.data(); }
    TPeopleInfo *const *end() const { return FItems.data() + FItems.size(); }

private:
    friend class TPeopleInfo;
    friend class TBranch;
    friend class TChangeStep;
    friend class TChangeJournal;
    // A branch's list, made with the branch's part for people; the branch has checked its mine.
    constexpr TPeopleList() = default;
    void Clear();   // frees every item
    void Insert(TPeopleInfo *person);
    void Remove(TPeopleInfo *person);
    void Resort(TPeopleInfo *person);

    std::vector<TPeopleInfo *> FItems;
    bool FClearing = false;
};
