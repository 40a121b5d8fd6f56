#pragma once
// The incidence scheme: the network around one element without coordinates. In node mode a node
// is the centre of a star whose spokes are the branches that name it as an end; in branch mode
// a branch is a white bar from P to Q, and the branches at its start node fan out to the left of
// P, those at its end node to the right of Q. Clicking a spoke's outer disc moves the view to
// the node at the spoke's far end; clicking the spoke shows that branch.
//
// The layout is a plain function of the mine, the element shown and the control's size, built
// afresh for every paint and every click, so edits of the model show at the next paint and a
// click never meets an element that is gone. The control (TIncidentGraph) supplies the size, the
// canvas and the system colours; it keeps only numbers, never elements.
//
// Geometry of a control W x H: the inner rectangle (10, 10)-(W - 10, H - 10) with width w and
// height h; the centre C at the integer halves of left + right and top + bottom; P = (left +
// w / 3, C.y) and Q = (right - w / 3, C.y). Angles are counted counter-clockwise from the right;
// a spoke of length R at angle phi ends at (x + nearest(R cos phi), y - nearest(R sin phi)),
// mirrored in x on the right fan.
#include "schemes/TSchemeCanvas.h"

#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

class TMine;
class TBranch;

namespace IncidenceScheme {

enum class TMode { Uzel, Branch };

struct TGeometry {
    TSchemeRect Inner;
    QPoint C, P, Q;
};
TGeometry GeometryOf(int width, int height);

// The branches around node n (those naming it as an end) in list order, without those numbered
// excluded; none when no node carries n.
void BranchesAround(const TMine &mine, qint32 n, std::optional<qint32> excluded, std::vector<TBranch *> &out);

struct TSpoke {
    TBranch *Branch = nullptr;
    qint32 Hub = 0;      // the node number the spoke leaves from (centre node, start or end)
    QPoint From;         // C, P or Q
    QPoint End;          // the outer disc
    QPoint Middle;       // 0.7 of the way out: where a branch number stands
    bool Right = false;  // on the right fan (branch mode)
    // The number of the branch's end that is not the hub.
    qint32 FarNumber() const;
};

struct TLayout {
    bool Shown = false;   // the element exists; otherwise only the background
    TMode Mode = TMode::Uzel;
    qint32 Number = 0;    // the centre node, or the centre branch
    qint32 Start = 0, End = 0;   // the centre branch's end numbers
    TGeometry Geometry;
    int R = 0;
    std::vector<TSpoke> Spokes;   // the star, or the left fan followed by the right fan
};

// Rebuilds layout for the element (node or branch number) shown in a control of that size.
void Layout(const TMine &mine, TMode mode, qint32 number, int width, int height, TLayout &layout);

// What the control brings from the system: its colours and its font.
struct TLook {
    TSchemeColor Face = SchemeRgb(240, 240, 240);
    TSchemeColor Shadow = SchemeRgb(160, 160, 160);
    TSchemeColor Highlight = SchemeRgb(255, 255, 255);
    TSchemeColor LabelBack = SchemeRgb(255, 255, 225);   // the tool tips' background
    QString FontFamily = QStringLiteral("Arial");
    int FontPoints = 8;
};

// The font's height in pixels, as the positions of the texts use it (8 points: 11).
int FontHeight(const TLook &look);

// The whole control, width x height: the background with its lowered frame and, when the element
// exists, the scheme. labelMode 0 writes the far node's number at every outer disc, 1 the
// branch's number 0.7 of the way out; "???" stands for an unset number.
void Draw(const TLayout &layout, TSchemeCanvas &canvas, int width, int height, int labelMode, const TLook &look);

struct THit {
    enum Kind { None, Uzel, Branch } What = None;
    TBranch *Spoke = nullptr;
    qint32 FarNumber = 0;   // What == Uzel: the node that becomes the centre
};
// The spoke's outer disc or the spoke itself under the point, spokes in drawing order; the bar
// of the centre branch and the centre disc do not react.
THit HitTest(const TLayout &layout, QPoint at);

} // namespace IncidenceScheme
