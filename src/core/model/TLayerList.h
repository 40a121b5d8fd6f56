#pragma once
// The mine's seams (owning, 0-based). Every insertion or removal tells the attached scheme.
// Delete(i) also re-indexes the branches: LayerIndex i becomes -1, greater ones move down.
#include <QtGlobal>
#include <vector>

class TMine;
class TLayer;

class TLayerList {
public:
    explicit TLayerList(TMine *mine);
    virtual ~TLayerList();
    TLayerList(const TLayerList &) = delete;
    TLayerList &operator=(const TLayerList &) = delete;

    TMine *Mine() const { return FMine; }
    int Count() const { return int(FItems.size()); }
    TLayer *Items(int i) const;   // 0-based
    int IndexOf(const TLayer *item) const;
    // Frees the element at 0-based position i; does not mark Modified.
    void Delete(int i);
    void Clear();

    TLayer *const *begin() const { return FItems.data(); }
    TLayer *const *end() const { return FItems.data() + FItems.size(); }

protected:
    explicit TLayerList(TMine *mine, bool plf);

private:
    friend class TLayer;
    friend class TChangeStep;
    void Append(TLayer *item);
    // Out of the list and back while a step of the journal holds the item; the branches'
    // indices are the step's own entries.
    void TakeOut(int i);
    void PutBack(int i, TLayer *item);
    void Notify();

    TMine *FMine;
    bool FPLF;
    std::vector<TLayer *> FItems;
};
