#pragma once
// Moving the nodes of a mine: a scale and a shift per axis, or a turn in the horizontal plane
// about a centre. The arithmetic is done in double precision and every result is stored through
// the node's SetCoordinate, as a single-precision value, so that the document is marked modified
// only by a real change. A coordinate that was never given (the unset marker) is never touched,
// and a node whose X or Y is unset is not turned.
#include <array>

class TMine;
class TUzel;

class TNodeTransform {
public:
    // X := X * scale[0] + offset[0], likewise Y and Z.
    static TNodeTransform ShiftScale(const std::array<double, 3> &scale,
                                     const std::array<double, 3> &offset);
    // With u = X - x0 and v = Y - y0: X := x0 + u cos a + v sin a, Y := y0 - u sin a + v cos a
    // (angle a in radians); Z stays.
    static TNodeTransform Rotation(double x0, double y0, double angle);

    // What keeps the transformation from moving uzel (or the nodes of mine, the first such node
    // in list order): a coordinate beyond single precision, which would be stored as infinity
    // that no table, file or scheme can take; or one that would be stored as the unset marker,
    // which would read as never given.
    enum class TFault { None, Overflow, Unset };
    TFault Check(const TUzel &uzel) const;
    TFault CheckAll(const TMine &mine) const;

    void Apply(TUzel &uzel) const;
    // Every node of the mine in list order, as one bulk update: the extents, the projection and
    // the scheme follow once at the end instead of after every node (which would cost the whole
    // list each time an extreme node moved).
    void ApplyToAll(TMine &mine) const;

private:
    // The new X, Y, Z of uzel in double precision; false when the node does not move at all (a
    // turn of a node without X or Y). Unset coordinates come back unset.
    bool moved(const TUzel &uzel, std::array<double, 3> &xyz) const;

    bool FRotation = false;
    std::array<double, 3> FScale{1, 1, 1};
    std::array<double, 3> FOffset{0, 0, 0};
    double FX0 = 0, FY0 = 0, FCos = 1, FSin = 0;
};
