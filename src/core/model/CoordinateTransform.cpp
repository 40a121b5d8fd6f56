#include "model/CoordinateTransform.h"

#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

#include <cmath>

TNodeTransform TNodeTransform::ShiftScale(const std::array<double, 3> &scale,
                                          const std::array<double, 3> &offset)
{
    TNodeTransform t;
    t.FScale = scale;
    t.FOffset = offset;
    return t;
}

TNodeTransform TNodeTransform::Rotation(double x0, double y0, double angle)
{
    TNodeTransform t;
    t.FRotation = true;
    t.FX0 = x0;
    t.FY0 = y0;
    // A quarter turn is exact: cos 90° computes as 6e-17, which would leave -0.0 and 1e-14
    // in coordinates that are plainly 0.
    auto exact = [](double v) { return std::abs(v) < 1e-15 ? 0.0 : v; };
    t.FCos = exact(std::cos(angle));
    t.FSin = exact(std::sin(angle));
    return t;
}

bool TNodeTransform::moved(const TUzel &uzel, std::array<double, 3> &xyz) const
{
    for (int axis = 1; axis <= 3; ++axis)
        xyz[axis - 1] = uzel.Coordinate(axis);
    if (FRotation) {
        if (IsUnset(float(xyz[0])) || IsUnset(float(xyz[1])))
            return false;
        const double u = xyz[0] - FX0;
        const double v = xyz[1] - FY0;
        xyz[0] = FX0 + u * FCos + v * FSin;
        xyz[1] = FY0 - u * FSin + v * FCos;
        return true;
    }
    for (int axis = 0; axis < 3; ++axis) {
        if (!IsUnset(float(xyz[axis])))
            xyz[axis] = xyz[axis] * FScale[axis] + FOffset[axis];
    }
    return true;
}

TNodeTransform::TFault TNodeTransform::Check(const TUzel &uzel) const
{
    std::array<double, 3> xyz;
    if (!moved(uzel, xyz))
        return TFault::None;
    for (int axis = 1; axis <= 3; ++axis) {
        const float before = uzel.Coordinate(axis);
        const float after = float(xyz[axis - 1]);
        // A file may already hold a coordinate that is no number; that one is not the move's
        // fault, and an unset coordinate comes back as it was.
        if (std::isfinite(before) && !std::isfinite(after))
            return TFault::Overflow;
        if (!IsUnset(before) && IsUnset(after))
            return TFault::Unset;
    }
    return TFault::None;
}

TNodeTransform::TFault TNodeTransform::CheckAll(const TMine &mine) const
{
    for (const TUzel *uzel : mine.Uzels())
        if (const TFault fault = Check(*uzel); fault != TFault::None)
            return fault;
    return TFault::None;
}

void TNodeTransform::Apply(TUzel &uzel) const
{
    std::array<double, 3> xyz;
    if (!moved(uzel, xyz))
        return;
    // Z of a turn and unset coordinates come back as they were, which stores nothing.
    for (int axis = 1; axis <= 3; ++axis)
        uzel.SetCoordinate(axis, float(xyz[axis - 1]));
}

void TNodeTransform::ApplyToAll(TMine &mine) const
{
    // Every node's old place in one array, not a field entry per coordinate.
    if (mine.Journal().Active())
        mine.Journal().KeepCoordinates();
    const bool nested = mine.Updating();
    mine.BeginUpdate();
    for (TUzel *uzel : mine.Uzels())
        Apply(*uzel);
    if (!nested)
        mine.EndUpdateMoved();
}
