#pragma once
// The geometry of DXF entities: where a block's contents land (affine maps composed from the
// insert), an entity's own coordinate system given by its extrusion direction (the format's
// "arbitrary axis algorithm"), and arcs given as bulges split into chords.
#include <QtGlobal>

namespace DxfGeometry {

struct TVector {
    double X = 0, Y = 0, Z = 0;
};

// x' = M x + t: a linear part and a translation.
class TAffine {
public:
    static TAffine Identity();
    static TAffine Translation(const TVector &t);
    static TAffine Scaling(const TVector &s);
    static TAffine RotationZ(double degrees);
    // From an entity's own coordinates to the drawing's, for its extrusion direction (a zero
    // direction counts as the drawing's Z).
    static TAffine Ocs(const TVector &normal);

    // This after b: (this * b).Apply(v) == Apply(b.Apply(v)).
    TAffine operator*(const TAffine &b) const;
    TVector Apply(const TVector &v) const;

private:
    double M[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
};

// An arc from a to b whose bulge is the tangent of a quarter of its angle (positive turning
// left): in how many pieces its chords stay no longer than chord once the arc is stretched by
// stretch, and never more than a quarter turn each. Capped at a billion.
qint64 ArcPieces(double ax, double ay, double bx, double by, double bulge, double chord, double stretch);
// The point at fraction t (0..1) of such an arc's angle.
void ArcPoint(double ax, double ay, double bx, double by, double bulge, double t, double *x, double *y);

} // namespace DxfGeometry
