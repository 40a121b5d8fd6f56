#include "model/CoordinateTransform.h"

#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

#include <cmath>

TNodeTransform TNodeTransform::ShiftScale(const std::array<double, 3> &scale,
                                          const std::array<double, 3> &offset)
{
    TNodeTransform t;
    t.m_scale = scale;
    t.m_offset = offset;
    return t;
}

TNodeTransform TNodeTransform::Rotation(double x0, double y0, double angle)
{
    TNodeTransform t;
    t.m_rotation = true;
    t.m_x0 = x0;
    t.m_y0 = y0;
    // A quarter turn is exact: cos 90° computes as 6e-17, which would leave -0.0 and 1e-14
    // in coordinates that are plainly 0.
    auto exact = [](double v) { return std::abs(v) < 1e-15 ? 0.0 : v; };
    t.m_cos = exact(std::cos(angle));
    t.m_sin = exact(std::sin(angle));
    return t;
}

void TNodeTransform::Apply(TUzel &uzel) const
{
    if (m_rotation) {
        const float x = uzel.X(), y = uzel.Y();
        if (IsUnset(x) || IsUnset(y))
            return;
        const double u = double(x) - m_x0;
        const double v = double(y) - m_y0;
        uzel.SetCoordinate(1, float(m_x0 + u * m_cos + v * m_sin));
        uzel.SetCoordinate(2, float(m_y0 - u * m_sin + v * m_cos));
        return;
    }
    for (int axis = 1; axis <= 3; ++axis) {
        const float value = uzel.Coordinate(axis);
        if (!IsUnset(value))
            uzel.SetCoordinate(axis, float(double(value) * m_scale[axis - 1] + m_offset[axis - 1]));
    }
}

void TNodeTransform::ApplyToAll(TMine &mine) const
{
    const bool nested = mine.Updating();
    mine.BeginUpdate();
    for (TUzel *uzel : mine.Uzels())
        Apply(*uzel);
    if (!nested)
        mine.EndUpdateMoved();
}
