#pragma once
// Reading a DXF file into a TDxfDrawing with the CAD field's own library, dxflib.
//
// Taken: LINE; POLYLINE, 2D (its points at the polyline's elevation) and 3D (each vertex's own
// Z); LWPOLYLINE at its elevation; ARC, and the arc segments of polylines (bulges), as chords no
// longer than Chord; TEXT and MTEXT as texts; INSERT, the block's contents put where the insert
// puts them (base point, scale, rotation, rows and columns, nested blocks), entities on layer
// "0" of a block taking the insert's layer. Points in an entity's own coordinate system (its
// extrusion direction) are brought to the drawing's. $INSUNITS gives the unit (millimetres,
// centimetres, feet, inches and the rest of its table converted to metres). Everything else,
// and what lies on a sheet (paper space), is counted by name and left out.
//
// Refused with AppError "NAME: what is wrong": what DxfScreen refuses (not a DXF, binary DXF,
// damaged), a block inserted into itself or nested deeper than 32 blocks, a drawing that would
// unfold into more than MaxSegments segments (or ten times as many inserts and texts), points
// beyond single precision or equal to the
// unset marker -777777. Nothing of dxflib's own escapes: its failures come out as AppError too.
#include "exchange/DxfDrawing.h"

#include <QByteArray>
#include <QString>

namespace DxfReader {

// Files larger than this are not read (a million LINEs of an AutoCAD 2000 file take some 140 MB).
inline constexpr qint64 kMaxBytes = 512LL * 1024 * 1024;
// The most segments a drawing may unfold into (blocks inserted many times, fine arcs).
inline constexpr qint64 kMaxSegments = 4000000;

struct TOptions {
    double Chord = 5.0;                    // metres: the longest chord of an arc
    qint64 MaxSegments = kMaxSegments;     // a smaller bound for tools that read many drawings
};

// The bytes of a file; name is how messages call it.
TDxfDrawing Read(const QByteArray &bytes, const QString &name, const TOptions &options);
// The file at path, which must be a regular file no larger than kMaxBytes.
TDxfDrawing ReadFile(const QString &path, const TOptions &options);

// "миллиметры" for $INSUNITS 4, ...; empty for 0 and unknown codes.
QString UnitName(int units);
// Metres per unit of $INSUNITS (1 for 0 and unknown codes).
double UnitFactor(int units);

} // namespace DxfReader
