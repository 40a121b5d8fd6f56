#pragma once
// What the scheme's picture reads of a mine's network, laid out for one quick pass: every branch
// in list order as the list positions of its two resolved end nodes, its seam and its plan
// position (16 bytes, where the branch itself spreads those over four cache lines), and, apart,
// the few branches with stoppings or gassed zones, which are drawn from the branch itself.
//
// A redraw of a large mine places every node once, in a pass over the node list, and then walks
// these edges instead of the branches; the projection is read from the nodes, so turning the
// view needs no new scene. The scene is made again when the mine's NetworkStamp moved on (a
// branch or node made, destroyed or moved in its list, an end resolved, a seam, plan position,
// zone or stopping changed): then, and only then, it walks the branches. The view that shows the
// mine owns its scene.
#include <QtGlobal>
#include <vector>

class TMine;
class TUzel;
class TBranch;

class TSchemeScene {
public:
    struct TEdge {
        qint32 Start;   // the end nodes' positions in the node list, -1 when not resolved
        qint32 End;
        qint32 Layer;         // the branch's LayerIndex and PLFIndex
        qint32 PLF;
    };

    // Brings the scene up to the mine: nothing when it was made from this mine at its present
    // NetworkStamp. Every branch in list order has its edge, at its list position.
    void Update(const TMine &mine);
    // Forgets the mine (the next Update makes the scene afresh).
    void Clear();

    const std::vector<TEdge> &Edges() const { return FEdges; }
    TBranch *Branch(size_t i) const { return FBranches[i]; }
    // Positions of the branches with stoppings or a gassed zone of variant 1 or 2, ascending.
    const std::vector<quint32> &Specials() const { return FSpecials; }

private:
    const TMine *FMine = nullptr;
    quint64 FStamp = 0;
    std::vector<TEdge> FEdges;
    std::vector<TBranch *> FBranches;
    std::vector<quint32> FSpecials;
};
