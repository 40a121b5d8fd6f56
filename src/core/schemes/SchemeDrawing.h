#pragma once
// The picture of the 3D scheme and the picking of an element under the mouse. Both work on the
// projection the mine keeps in its nodes (TMine::ProjectNodes): a node's screen position is
//   x = origin x + nearest(ProjX * f),  y = origin y - nearest(ProjY * f)
// with f the mine's FitFactor of the last drawing and origin the control's screen origin (the
// pixel where the rotation centre is drawn). The control (TSchemeView or the widget) supplies
// the rectangle and the origin; the mine supplies everything else.
#include "schemes/TSchemeCanvas.h"

#include <QPoint>

class TMine;
class TUzel;
class TBranch;
class TSchemeScene;

namespace SchemeColors {
// The fixed colour table of the scheme.
inline constexpr TSchemeColor kBackground = SchemeRgb(0, 0, 0);          // 0
inline constexpr TSchemeColor kNetwork = SchemeRgb(192, 192, 192);       // 1: branches, nodes, labels
inline constexpr TSchemeColor kSelection = SchemeRgb(255, 255, 0);       // 2
inline constexpr TSchemeColor kGasLevel0 = SchemeRgb(0, 255, 255);       // 3
inline constexpr TSchemeColor kGasLevel2 = SchemeRgb(0, 216, 216);       // 4
inline constexpr TSchemeColor kGasLevel1 = SchemeRgb(255, 0, 0);         // 5
inline constexpr TSchemeColor kGasLevel3 = SchemeRgb(216, 0, 0);         // 6
// A stopping marked by the calculation of the gassed-zone variant on view.
inline constexpr TSchemeColor kMarkedStopping = SchemeRgb(0, 255, 0);
// Colour of a gassed zone of kind 0..3.
TSchemeColor GasColor(int gasKind);
} // namespace SchemeColors

namespace SchemeFlags {
// Bits of TMine::ColorFlags the picture uses.
inline constexpr quint16 kGas1 = 1u << 0;
inline constexpr quint16 kGas2 = 1u << 1;
inline constexpr quint16 kLayerColors = 1u << 8;
inline constexpr quint16 kPLFColors = 1u << 9;
} // namespace SchemeFlags

namespace SchemeDrawing {

// Scale of model units to pixels at which the whole network, as the current angles project it
// at zoom 1, fits the rectangle with a 5-pixel margin.
float FitFactor(const TMine &mine, const TSchemeRect &rect);

// Draws the whole picture into rect (nothing without a valid topology or without branches) and
// stores the fit factor in the mine. Clears and sets the nodes' Drawn flags. Without selection
// the current element is drawn like any other (a picture of its own has none).
// A scene kept from the last drawing of this mine spares walking the branches (TSchemeScene.h);
// without one the drawing makes its own.
void DrawScheme(TMine &mine, TSchemeCanvas &canvas, const TSchemeRect &rect, QPoint origin,
                bool selection = true, TSchemeScene *scene = nullptr);

// The node (branch) under the point, or none; none also when the mine shows in no scheme.
// Nodes are tried from the last to the first, branches in list order; a branch of a hidden
// seam is never hit (a hidden plan position does not matter).
TUzel *HitNode(const TMine &mine, QPoint origin, QPoint at);
TBranch *HitBranch(const TMine &mine, QPoint origin, QPoint at);

} // namespace SchemeDrawing
