#include "checks/DeadEnds.h"

#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"

TDeadEnds CollectDeadEnds(TMine &mine)
{
    mine.ResolveIncidence();
    TDeadEnds ends;
    // An end that resolved to no node is not a dead end of the network; the topology check
    // reports it.
    auto single = [](const TUzel *n) { return n && n->BranchCount() == 1; };

    const TBranchList &branches = mine.Branches();
    for (int i = 1; i <= branches.Count(); ++i) {
        const TBranch *b = branches.Items(i);
        const bool a = single(b->StartUzel());
        const bool z = single(b->EndUzel());
        if (a == z && !a)
            continue;
        const TDeadEndBranch row{i, b->Number(), b->StartNumber(), b->EndNumber()};
        (a && z ? ends.Isolated : ends.Hanging).push_back(row);
    }

    const TUzelList &uzels = mine.Uzels();
    for (int i = 1; i <= uzels.Count(); ++i) {
        const TUzel *n = uzels.Items(i);
        if (n->BranchCount() == 0)
            ends.IsolatedUzels.push_back({i, n->Number()});
    }
    return ends;
}
