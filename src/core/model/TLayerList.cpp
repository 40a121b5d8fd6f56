#include "model/TLayerList.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include <algorithm>

TLayerList::TLayerList(TMine *mine) : TLayerList(mine, false) {}

TLayerList::TLayerList(TMine *mine, bool plf) : FMine(mine), FPLF(plf) {}

TLayerList::~TLayerList()
{
    for (TLayer *item : FItems)
        delete item;
}

TLayer *TLayerList::Items(int i) const
{
    if (i < 0 || i >= int(FItems.size()))
        return nullptr;
    return FItems[i];
}

int TLayerList::IndexOf(const TLayer *item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TLayerList::Append(TLayer *item)
{
    FItems.push_back(item);
    Notify();
}

void TLayerList::Notify()
{
    if (IMineScheme *scheme = FMine->Scheme()) {
        if (FPLF)
            scheme->PLFsChanged();
        else
            scheme->LayersChanged();
    }
}

void TLayerList::Delete(int i)
{
    if (i < 0 || i >= int(FItems.size()))
        return;
    TLayer *item = FItems[i];
    TChangeJournal &journal = FMine->Journal();
    const bool held = journal.Active() && journal.Removing(item, i);
    FItems.erase(FItems.begin() + i);
    if (!held)
        delete item;
    Notify();
    // Branches refer to seams (plan positions) by position: the ones after i move down and
    // those on the deleted one lose it. Stored directly: the deletion is not itself an edit.
    FMine->NetworkChanged();
    for (TBranch *b : FMine->Branches()) {
        qint32 &index = FPLF ? b->FPLFIndex : b->FLayerIndex;
        if (index != i && index <= i)
            continue;
        if (held)
            FPLF ? journal.Field(b, TColumnKind::PLF) : journal.Named(b, TNamedField::BranchLayer);
        index = index == i ? -1 : index - 1;
    }
}

void TLayerList::TakeOut(int i)
{
    if (i < 0 || i >= int(FItems.size()))
        return;
    FItems.erase(FItems.begin() + i);
    Notify();
}

void TLayerList::PutBack(int i, TLayer *item)
{
    FItems.insert(FItems.begin() + std::clamp(i, 0, int(FItems.size())), item);
    Notify();
}

void TLayerList::Clear()
{
    std::vector<TLayer *> items;
    items.swap(FItems);
    for (TLayer *item : items)
        delete item;
    if (!items.empty())
        Notify();
}
