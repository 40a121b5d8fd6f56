#include "schemes/TSchemeScene.h"

#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"

void TSchemeScene::Update(const TMine &mine)
{
    if (FMine == &mine && FStamp == mine.NetworkStamp())
        return;
    // A scene half made is no scene: on failure (memory) the next Update starts afresh.
    FMine = nullptr;
    const TBranchList &branches = mine.Branches();
    const size_t n = size_t(branches.Count());
    FEdges.resize(n);
    FBranches.resize(n);
    FSpecials.clear();
    size_t i = 0;
    for (TBranch *b : branches) {
        const TUzel *s = b->StartUzel(), *e = b->EndUzel();
        FEdges[i] = {s ? s->ListPos() : -1, e ? e->ListPos() : -1, b->LayerIndex(), b->PLFIndex()};
        FBranches[i] = b;
        if (b->Gas1() || b->Gas2() || b->Jumpers().Count() > 0)
            FSpecials.push_back(quint32(i));
        ++i;
    }
    FMine = &mine;
    FStamp = mine.NetworkStamp();
}

void TSchemeScene::Clear()
{
    FMine = nullptr;
    FStamp = 0;
    FEdges.clear();
    FEdges.shrink_to_fit();
    FBranches.clear();
    FBranches.shrink_to_fit();
    FSpecials.clear();
    FSpecials.shrink_to_fit();
}
