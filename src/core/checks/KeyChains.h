#pragma once
// Near-linear grouping for the pair tests of the topology check. A pairwise loop over i < j
// with equal keys visits, for each i in ascending order, the later positions sharing its key in
// ascending order. Linking every position to the next later one with the same key reproduces
// exactly that walk: for i, follow next[i], next[next[i]], ... This costs one hash pass instead
// of n²/2 comparisons and still lists every pair in the same order.
#include <QtGlobal>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace checks_detail {

inline quint64 MixKey(quint64 k)
{
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdULL;
    k ^= k >> 33;
    k *= 0xc4ceb9fe1a85ec53ULL;
    k ^= k >> 33;
    return k;
}

// Table from 64-bit keys to an int payload, built for a known set of keys and never resized.
// Keys in a narrow range (numbers 1..n, the usual numbering) index an array directly; others go
// through open addressing, at most half full so that probes stay short.
class TKeyTable {
public:
    explicit TKeyTable(const std::vector<quint64> &keys)
    {
        if (!keys.empty()) {
            const auto [lo, hi] = std::minmax_element(keys.begin(), keys.end());
            if (*hi - *lo <= 4 * quint64(keys.size()) + 1024) {
                FDirect = true;
                FBase = *lo;
                FValues.assign(size_t(*hi - *lo) + 1, kEmpty);
                return;
            }
        }
        const size_t cap = std::bit_ceil(std::max<size_t>(16, keys.size() * 2));
        FMask = cap - 1;
        FKeys.resize(cap);
        FValues.assign(cap, kEmpty);
    }

    // Payload slot of key, created with the value kEmpty when absent. key must be one of the
    // keys the table was built for.
    int &Slot(quint64 key)
    {
        if (FDirect)
            return FValues[size_t(key - FBase)];
        size_t i = MixKey(key) & FMask;
        while (FValues[i] != kEmpty && FKeys[i] != key)
            i = (i + 1) & FMask;
        FKeys[i] = key;
        return FValues[i];
    }

    // Whether a payload was stored for key (any key may be asked).
    bool Contains(quint64 key) const
    {
        if (FDirect)
            return key >= FBase && key - FBase < FValues.size() && FValues[size_t(key - FBase)] != kEmpty;
        size_t i = MixKey(key) & FMask;
        while (FValues[i] != kEmpty) {
            if (FKeys[i] == key)
                return true;
            i = (i + 1) & FMask;
        }
        return false;
    }

    // Payloads must differ from kEmpty; positions (>= 0) do.
    static constexpr int kEmpty = -1;

private:
    bool FDirect = false;
    quint64 FBase = 0;
    size_t FMask = 0;
    std::vector<quint64> FKeys;
    std::vector<int> FValues;
};

// next[i] = the smallest j > i with keys[j] == keys[i], or -1. Positions are 0-based.
// Returns whether any key occurs more than once.
inline bool LinkEqualKeys(const std::vector<quint64> &keys, std::vector<int> &next)
{
    next.assign(keys.size(), -1);
    TKeyTable table(keys);
    bool repeated = false;
    for (size_t i = keys.size(); i-- > 0;) {
        int &last = table.Slot(keys[i]);
        if (last != TKeyTable::kEmpty) {
            next[i] = last;
            repeated = true;
        }
        last = int(i);
    }
    return repeated;
}

// The same links for keys that are pairs (lo, hi) of small non-negative integers, lo < buckets:
// a counting sort by lo and a sort by hi inside each (usually tiny) bucket, without hashing.
inline void LinkEqualPairs(const std::vector<int> &lo, const std::vector<int> &hi, int buckets, std::vector<int> &next)
{
    const size_t n = lo.size();
    next.assign(n, -1);
    std::vector<int> start(size_t(buckets) + 1, 0);
    for (int l : lo)
        ++start[size_t(l) + 1];
    for (size_t b = 1; b < start.size(); ++b)
        start[b] += start[b - 1];
    std::vector<int> order(n);
    {
        std::vector<int> fill(start.begin(), start.end() - 1);
        for (size_t i = 0; i < n; ++i)
            order[size_t(fill[size_t(lo[i])]++)] = int(i);
    }
    // Within a bucket the positions ascend; a stable sort by hi keeps them ascending within each
    // run of equal pairs, so consecutive members of a run are the links.
    auto byHi = [&hi](int a, int b) { return hi[size_t(a)] < hi[size_t(b)]; };
    for (size_t b = 0; b + 1 < start.size(); ++b) {
        const auto first = order.begin() + start[b];
        const auto last = order.begin() + start[b + 1];
        if (last - first < 2)
            continue;
        if (last - first <= 16) {
            // Insertion sort: stable, and no buffer for the few branches at one node.
            for (auto it = first + 1; it != last; ++it)
                for (auto k = it; k != first && byHi(*k, *(k - 1)); --k)
                    std::iter_swap(k, k - 1);
        } else {
            std::stable_sort(first, last, byHi);
        }
        for (auto it = first; it + 1 != last; ++it)
            if (hi[size_t(*it)] == hi[size_t(*(it + 1))])
                next[size_t(*it)] = *(it + 1);
    }
}

// Walks a list of element pointers, asking the memory for the element a few steps ahead: the
// elements are separate heap objects, and a pass over a large mine would otherwise wait for
// each one in turn.
template <typename List, typename Visit>
inline void ForEachPrefetched(const List &list, Visit visit)
{
    constexpr ptrdiff_t kAhead = 8;
    const auto first = list.begin();
    const auto last = list.end();
    for (auto it = first; it != last; ++it) {
        if (last - it > kAhead)
            __builtin_prefetch(*(it + kAhead));
        visit(*it);
    }
}

// Key of an unordered pair of node numbers: 1-2 and 2-1 join the same two nodes.
inline quint64 UnorderedPairKey(qint32 a, qint32 b)
{
    if (b < a)
        std::swap(a, b);
    return (quint64(quint32(a)) << 32) | quint32(b);
}

inline quint64 NumberKey(qint32 n) { return quint64(quint32(n)); }

} // namespace checks_detail
