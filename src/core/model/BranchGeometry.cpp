#include "model/BranchGeometry.h"

#include "model/TUzel.h"
#include "model/Unset.h"

#include <algorithm>
#include <cmath>

namespace BranchGeometry {

float Length(const TUzel *start, const TUzel *end)
{
    if (!start || !end)
        return kUnsetReal;
    const double dx = double(start->X()) - end->X();
    const double dy = double(start->Y()) - end->Y();
    const double dz = double(start->Z()) - end->Z();
    return float(std::sqrt(dx * dx + dy * dy + dz * dz));
}

float Angle(const TUzel *start, const TUzel *end)
{
    const float length = Length(start, end);
    if (IsUnset(length))
        return kUnsetReal;
    double ratio = std::fabs(double(start->Z()) - end->Z()) / double(length);
    if (std::isnan(ratio) || std::isinf(ratio))
        return kUnsetReal;
    ratio = std::clamp(ratio, -1.0, 1.0);
    const double angle = std::asin(ratio) * 57.295779513082320877;
    if (std::isnan(angle))
        return kUnsetReal;
    return float(angle);
}

} // namespace BranchGeometry
