#pragma once
// Where a mine keeps its nodes or its branches: slots in blocks of many elements instead of one
// allocation each. A file of a million elements is read with a few hundred allocations, without
// the allocator's bookkeeping beside every element, and freed block by block.
//
// An element keeps its address for as long as it lives (the tables and the scheme hold pointers
// to elements): blocks never move, and a destroyed element's slot goes to the next element
// created. The blocks go when the store does; every element must have been destroyed by then.
// One store belongs to one mine and is used by whatever thread works on that mine.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class T>
class TElementStore {
public:
    TElementStore() = default;
    TElementStore(const TElementStore &) = delete;
    TElementStore &operator=(const TElementStore &) = delete;

    template <class... Args>
    T *Create(Args &&...args)
    {
        Slot *slot = Take();
        try {
            return ::new (static_cast<void *>(slot->Bytes)) T(std::forward<Args>(args)...);
        } catch (...) {
            Give(slot);
            throw;
        }
    }

    void Destroy(T *element)
    {
        element->~T();
        Give(reinterpret_cast<Slot *>(element));
    }

private:
    union Slot {
        Slot *Next;   // while free
        alignas(T) unsigned char Bytes[sizeof(T)];
    };

    Slot *Take()
    {
        if (Slot *s = FFree) {
            FFree = s->Next;
            return s;
        }
        if (FUsed == FCapacity) {
            // Blocks double from a few dozen elements, so a small mine stays small. Nothing
            // changes until the block is in the list: running out of memory here leaves the
            // store as it was.
            const size_t capacity = FBlocks.empty() ? 32 : std::min<size_t>(2 * FCapacity, 8192);
            FBlocks.push_back(std::make_unique_for_overwrite<Slot[]>(capacity));
            FCapacity = capacity;
            FUsed = 0;
        }
        return &FBlocks.back()[FUsed++];
    }

    void Give(Slot *s)
    {
        s->Next = FFree;
        FFree = s;
    }

    std::vector<std::unique_ptr<Slot[]>> FBlocks;
    Slot *FFree = nullptr;
    size_t FUsed = 0;       // slots handed out from the last block
    size_t FCapacity = 0;   // slots of the last block
};
