#pragma once
// Index number -> "first element in list order with that number" for the node and branch lists.
// Numbers are chosen by the user and need not be unique, so each number maps to the element that
// comes first; the later duplicates are kept, sorted by list position, so that renumbering or
// deleting the first one promotes the next without a scan of the list.
//
// Elements expose Number() and ListPos() (0-based position, kept current by the owning list).
//
// Appending costs nothing here: the lists only append, so the elements not yet indexed are always
// the tail of the list, and the next lookup takes them in. Reading a file of a million elements
// therefore builds the index once, at the first lookup, and not element by element. Built from
// scratch (or when the tail outgrows the indexed part), the heads of numbers that lie close
// together, as users number them, go into an array indexed by number; numbers outside its range
// (the unset number, a few far-off ones, or every number of a sparse numbering) go into a hash.
// Sorting and compaction mark the index stale; the next lookup rebuilds it in one pass.
//
// Running out of memory inside the index leaves it stale, never half-built: the lookup that ran
// out throws, the next one rebuilds, and an edit that could not be entered is taken in then.
#include "model/Unset.h"
#include <QtGlobal>
#include <algorithm>
#include <new>
#include <unordered_map>
#include <vector>

template <class T>
class TNumberIndex {
public:
    void MarkStale() { FStale = true; }

    // The first element of items carrying number, or nullptr.
    T *First(qint32 number, const std::vector<T *> &items) const
    {
        Sync(items);
        if (T *const *slot = DenseSlot(number))
            return *slot;
        const auto it = FHeads.find(number);
        return it == FHeads.end() ? nullptr : it->second;
    }

    // e (still at its position) is about to leave the list.
    void Removed(T *e)
    {
        if (!Indexed(e))
            return;
        Erase(e, e->Number());
        --FIndexed;
    }
    // e carried oldNumber until now.
    void Renumbered(T *e, qint32 oldNumber)
    {
        if (!Indexed(e))
            return;
        try {
            Erase(e, oldNumber);
            Insert(e, e->Number());
        } catch (const std::bad_alloc &) {
            FStale = true;
        }
    }

private:
    bool Indexed(const T *e) const { return !FStale && e->ListPos() >= 0 && e->ListPos() < FIndexed; }

    void Sync(const std::vector<T *> &items) const
    {
        const qsizetype count = qsizetype(items.size());
        if (!FStale && FIndexed == count)
            return;
        auto *self = const_cast<TNumberIndex *>(this);
        try {
            if (FStale || count - FIndexed >= FIndexed)
                self->Rebuild(items);
            for (; FIndexed < count; ++self->FIndexed)
                self->Insert(items[size_t(FIndexed)], items[size_t(FIndexed)]->Number());
        } catch (...) {
            self->FStale = true;
            throw;
        }
    }

    // Empties the index and lays out the array for the numbers of items when they are dense
    // (within about twice their count of each other); the elements are then inserted in order.
    void Rebuild(const std::vector<T *> &items)
    {
        FStale = false;
        FIndexed = 0;
        FHeads.clear();
        FDups.clear();
        FDense.clear();
        qint64 lo = 0, hi = -1, numbered = 0;
        for (const T *e : items) {
            if (IsUnset(e->Number()))
                continue;
            const qint64 n = e->Number();
            lo = numbered ? std::min(lo, n) : n;
            hi = numbered ? std::max(hi, n) : n;
            ++numbered;
        }
        if (numbered > 0 && hi - lo < 2 * numbered + 1024) {
            FDenseLow = lo;
            FDense.assign(size_t(hi - lo + 1), nullptr);
        }
    }

    T *const *DenseSlot(qint32 number) const
    {
        const qint64 k = qint64(number) - FDenseLow;
        return k >= 0 && k < qint64(FDense.size()) ? &FDense[size_t(k)] : nullptr;
    }
    T **DenseSlot(qint32 number)
    {
        return const_cast<T **>(static_cast<const TNumberIndex *>(this)->DenseSlot(number));
    }

    static bool Before(const T *a, const T *b) { return a->ListPos() < b->ListPos(); }

    void Insert(T *e, qint32 number)
    {
        T **head = DenseSlot(number);
        if (!head) {
            auto it = FHeads.find(number);
            if (it == FHeads.end()) {
                FHeads.emplace(number, e);
                return;
            }
            head = &it->second;
        } else if (!*head) {
            *head = e;
            return;
        }
        std::vector<T *> &dups = FDups[number];
        if (dups.empty())
            dups.push_back(*head);
        if (Before(dups.back(), e))
            dups.push_back(e);   // the usual case: e comes from the tail of the list
        else
            dups.insert(std::upper_bound(dups.begin(), dups.end(), e, Before), e);
        *head = dups.front();
    }

    void Erase(T *e, qint32 number)
    {
        T **head = DenseSlot(number);
        const bool dense = head != nullptr;
        typename std::unordered_map<qint32, T *>::iterator it;
        if (!dense) {
            it = FHeads.find(number);
            if (it == FHeads.end())
                return;
            head = &it->second;
        }
        auto d = FDups.find(number);
        if (d == FDups.end()) {
            if (*head == e) {
                if (dense)
                    *head = nullptr;
                else
                    FHeads.erase(it);
            }
            return;
        }
        std::vector<T *> &dups = d->second;
        auto pos = std::lower_bound(dups.begin(), dups.end(), e, Before);
        while (pos != dups.end() && *pos != e && (*pos)->ListPos() == e->ListPos())
            ++pos;
        if (pos != dups.end() && *pos == e)
            dups.erase(pos);
        *head = dups.front();
        if (dups.size() <= 1)
            FDups.erase(d);
    }

    std::vector<T *> FDense;   // heads of the numbers FDenseLow .. FDenseLow + size - 1
    qint64 FDenseLow = 0;
    // Not QHash: its insertion is declared noexcept, so running out of memory while a large file
    // is read would end the program instead of failing the read.
    std::unordered_map<qint32, T *> FHeads;   // heads of the numbers outside the array
    std::unordered_map<qint32, std::vector<T *>> FDups;
    qsizetype FIndexed = 0;   // items[0 .. FIndexed) are in the index
    bool FStale = false;
};
