#pragma once
// Index number -> "first element in list order with that number" for the node and branch lists.
// Numbers are chosen by the user and need not be unique, so each number maps to the element that
// comes first; the later duplicates are kept, sorted by list position, so that renumbering or
// deleting the first one promotes the next without a scan of the list.
//
// Elements expose Number() and ListPos() (0-based position, kept current by the owning list).
// Single edits keep the index current; sorting and compaction mark it stale and the next lookup
// rebuilds it in one pass.
#include <QHash>
#include <QtGlobal>
#include <algorithm>
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
        FHeads.reserve(qsizetype(items.size()));
        FStale = false;
        for (T *e : items)
            Insert(e, e->Number());
    }

    T *First(qint32 number, const std::vector<T *> &items) const
    {
        if (FStale)
            const_cast<TNumberIndex *>(this)->Rebuild(items);
        return FHeads.value(number, nullptr);
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
            FHeads.insert(number, e);
            return;
        }
        std::vector<T *> &dups = FDups[number];
        if (dups.empty())
            dups.push_back(it.value());
        dups.insert(std::upper_bound(dups.begin(), dups.end(), e, Before), e);
        it.value() = dups.front();
    }

    void Erase(T *e, qint32 number)
    {
        auto it = FHeads.find(number);
        if (it == FHeads.end())
            return;
        auto d = FDups.find(number);
        if (d == FDups.end()) {
            if (it.value() == e)
                FHeads.erase(it);
            return;
        }
        std::vector<T *> &dups = d.value();
        auto pos = std::lower_bound(dups.begin(), dups.end(), e, Before);
        while (pos != dups.end() && *pos != e && (*pos)->ListPos() == e->ListPos())
            ++pos;
        if (pos != dups.end() && *pos == e)
            dups.erase(pos);
        it.value() = dups.front();
        if (dups.size() <= 1)
            FDups.erase(d);
    }

    QHash<qint32, T *> FHeads;
    QHash<qint32, std::vector<T *>> FDups;
    bool FStale = false;
};
