#pragma once
// A branch's length and inclination from its two end nodes, for the branch's own derived values
// and for anyone who has the nodes without resolving the branch (the CSV export).
class TUzel;

namespace BranchGeometry {

// The distance between the nodes in metres, single precision; unset when either is none.
float Length(const TUzel *start, const TUzel *end);
// The angle to the horizontal in degrees, 0..90; unset without a length or for nodes at one point.
float Angle(const TUzel *start, const TUzel *end);

} // namespace BranchGeometry
