#pragma once
// The dead ends of a network: hanging branches (one end joined to nothing else), isolated
// branches (neither end joined to anything else) and isolated nodes (no branch at all). The
// hanging-and-isolated window only shows these lists.
#include <QtGlobal>

#include <vector>

class TMine;

struct TDeadEndBranch {
    int Index = 0; // 1-based position in the branch list
    qint32 Number = 0;
    qint32 StartNumber = 0;
    qint32 EndNumber = 0;
    friend bool operator==(const TDeadEndBranch &, const TDeadEndBranch &) = default;
};

struct TDeadEndUzel {
    int Index = 0; // 1-based position in the node list
    qint32 Number = 0;
    friend bool operator==(const TDeadEndUzel &, const TDeadEndUzel &) = default;
};

struct TDeadEnds {
    std::vector<TDeadEndBranch> Hanging;
    std::vector<TDeadEndBranch> Isolated;
    std::vector<TDeadEndUzel> IsolatedUzels;
};

// Resolves the incidences of the mine afresh (ResolveIncidence) and collects the three lists in
// list order.
TDeadEnds CollectDeadEnds(TMine &mine);
