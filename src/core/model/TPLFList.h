#pragma once
// The mine's plan positions (owning, 0-based); like TLayerList, re-indexing PLFIndex.
#include "model/TLayerList.h"
#include "model/TPLF.h"

class TPLFList : public TLayerList {
public:
    explicit TPLFList(TMine *mine) : TLayerList(mine, true) {}
    TPLF *Items(int i) const { return static_cast<TPLF *>(TLayerList::Items(i)); }
};
