#pragma once
// Index number -> "first element in list order with that number" for the node and branch lists.
// Numbers are chosen by the user and need not be unique, so each number maps to the element that
// comes first; the later duplicates are kept, sorted by list position, so that renumbering or
// deleting the first one promotes the next without a scan of the list.
//
// Elements expose Number() and ListPos() (0-based position, kept current by the owning list).
// Single edits keep the index current; sorting and compaction mark it stale and the next lookup
// rebuilds it in one pass.
#include <QtGlobal>
#include <algorithm>
#include <unordered_map>
#include <vector>

template <class T>
class TNumberIndex {
public:
    void MarkStale() { FStale = true; FHeads.clear(); FDups.clear(); }
    bool IsStale() const { return FStale; }

    void Rebuild(const std::vector<T *> &items)
    {
        FHeads.clear();
        FDups.clear();
        FHeads.reserve(items.size());
        FStale = false;
        for (T *e : items)
            Insert(e, e->Number());
    }

    T *First(qint32 number, const std::vector<T *> &items) const
    {
        if (FStale)
            const_cast<TNumberIndex *>(this)->Rebuild(items);
        const auto it = FHeads.find(number);
        return it == FHeads.end() ? nullptr : it->second;
    }

    // e is in the list with a valid ListPos() and carries 'number'.
    void Inserted(T *e) { if (!FStale) Insert(e, e->Number()); }
    // e (still at its position) no longer carries 'number' in the index.
    void Removed(T *e, qint32 number) { if (!FStale) Erase(e, number); }
    void Renumbered(T *e, qint32 oldNumber)
    {
        if (FStale)
            return;
        Erase(e, oldNumber);
        Insert(e, e->Number());
    }

private:
    static bool Before(const T *a, const T *b) { return a->ListPos() < b->ListPos(); }

    void Insert(T *e, qint32 number)
    {
        auto it = FHeads.find(number);
        if (it == FHeads.end()) {
            FHeads.emplace(number, e);
            return;
        }
        std::vector<T *> &dups = FDups[number];
        if (dups.empty())
            dups.push_back(it->second);
        dups.insert(std::upper_bound(dups.begin(), dups.end(), e, Before), e);
        it->second = dups.front();
    }

    void Erase(T *e, qint32 number)
    {
        auto it = FHeads.find(number);
        if (it == FHeads.end())
            return;
        auto d = FDups.find(number);
        if (d == FDups.end()) {
            if (it->second == e)
                FHeads.erase(it);
            return;
        }
        std::vector<T *> &dups = d->second;
        auto pos = std::lower_bound(dups.begin(), dups.end(), e, Before);
        while (pos != dups.end() && *pos != e && (*pos)->ListPos() == e->ListPos())
            ++pos;
        if (pos != dups.end() && *pos == e)
            dups.erase(pos);
        it->second = dups.front();
        if (dups.size() <= 1)
            FDups.erase(d);
    }

    // Not QHash: its insertion is declared noexcept, so running out of memory while a large file
    // is read would end the program instead of failing the read.
    std::unordered_map<qint32, T *> FHeads;
    std::unordered_map<qint32, std::vector<T *>> FDups;
    bool FStale = false;
};
