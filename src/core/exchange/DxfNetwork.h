#pragma once
// A mine network made of the centrelines of a DXF drawing (TDxfDrawing, read by DxfReader).
//
// Every segment of a line, polyline or arc becomes a branch. Its ends become nodes: a point
// joins the nearest node that lies closer than the tolerance, or else makes a new node where it
// is, so that no two nodes end up within the tolerance of each other. The ends of lines and
// polylines always join this way; a polyline's inner vertices too when splitting at junctions
// (the default), so that a line ending on one of them makes a junction there; without it they
// stay the polyline's own nodes. A segment whose ends fall into one node is left out, and so is
// a segment joining two nodes another segment already joins. Nodes and branches are numbered
// from First in the order the drawing gives them.
//
// A branch's layer becomes its seam: one seam per layer, named and coloured like the layer,
// except for layer "0", CAD's layer of nothing in particular, whose branches get no seam.
// With a names distance, the text nearest to a branch's middle (in plan) within that distance
// names the branch.
//
// The nodes are found through a hash of cells eight times the tolerance across: each point looks
// at its own cell and those across the faces it lies near, so the whole is linear in the points.
#include "exchange/DxfDrawing.h"

#include <QString>
#include <QStringList>
#include <optional>

class TMine;

struct TDxfImportOptions {
    double Tolerance = 0.05;          // metres
    bool SplitAtJunctions = true;
    double NamesDistance = 0;         // metres; 0: no names from texts
    // The layers to take; none given: every layer but the stoppings' layer of the export.
    std::optional<QStringList> Layers;
    qint32 First = 1;                 // number of the first node and the first branch
};

struct TDxfImportReport {
    int Nodes = 0, Branches = 0, Seams = 0;
    qint64 Skipped = 0;               // entities of the file left out
    QString SkippedKinds;             // "CIRCLE 3, HATCH 2"
    QStringList Notes;                // what the user should know of the import, one line each
    // "узлов: N, ветвей: M, пластов: K, пропущено объектов: S (CIRCLE 3, ...)"
    QString Summary() const;
};

namespace DxfNetwork {

// The layer DXF export draws stoppings on; import leaves it out unless it is asked for.
QString StoppingsLayer();
// The layers an import takes by default, of those that hold lines or texts.
QStringList DefaultLayers(const TDxfDrawing &drawing);

// Fills mine, which must hold no elements yet; it ends modified. Raises AppError (and creates
// nothing) when a layer asked for is not in the drawing, when nothing is left to import, or when
// the numbers would pass the largest a number can be.
TDxfImportReport Build(TMine &mine, const TDxfDrawing &drawing, const TDxfImportOptions &options);

} // namespace DxfNetwork
