#include "exchange/DxfGeometry.h"

#include <algorithm>
#include <cmath>

namespace DxfGeometry {

namespace {

TVector Cross(const TVector &a, const TVector &b)
{
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

TVector Unit(const TVector &v)
{
    const double n = std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
    if (!(n > 0) || !std::isfinite(n))
        return {0, 0, 1};
    return {v.X / n, v.Y / n, v.Z / n};
}

} // namespace

TAffine TAffine::Identity() { return TAffine(); }

TAffine TAffine::Translation(const TVector &t)
{
    TAffine a;
    a.M[0][3] = t.X;
    a.M[1][3] = t.Y;
    a.M[2][3] = t.Z;
    return a;
}

TAffine TAffine::Scaling(const TVector &s)
{
    TAffine a;
    a.M[0][0] = s.X;
    a.M[1][1] = s.Y;
    a.M[2][2] = s.Z;
    return a;
}

TAffine TAffine::RotationZ(double degrees)
{
    TAffine a;
    const double r = degrees * M_PI / 180.0;
    const double c = std::cos(r), s = std::sin(r);
    a.M[0][0] = c;
    a.M[0][1] = -s;
    a.M[1][0] = s;
    a.M[1][1] = c;
    return a;
}

TAffine TAffine::Ocs(const TVector &normal)
{
    const TVector z = Unit(normal);
    if (z.X == 0 && z.Y == 0 && z.Z == 1)
        return TAffine();
    // The arbitrary axis algorithm: X is Y × N when N is near the drawing's Z, Z × N otherwise.
    const double limit = 1.0 / 64;
    const TVector x = Unit(std::fabs(z.X) < limit && std::fabs(z.Y) < limit ? Cross({0, 1, 0}, z) : Cross({0, 0, 1}, z));
    const TVector y = Unit(Cross(z, x));
    TAffine a;
    const TVector axes[3] = {x, y, z};
    for (int col = 0; col < 3; ++col) {
        a.M[0][col] = axes[col].X;
        a.M[1][col] = axes[col].Y;
        a.M[2][col] = axes[col].Z;
    }
    return a;
}

TAffine TAffine::operator*(const TAffine &b) const
{
    TAffine r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            double v = j == 3 ? M[i][3] : 0.0;
            for (int k = 0; k < 3; ++k)
                v += M[i][k] * b.M[k][j];
            r.M[i][j] = v;
        }
    }
    return r;
}

TVector TAffine::Apply(const TVector &v) const
{
    return {M[0][0] * v.X + M[0][1] * v.Y + M[0][2] * v.Z + M[0][3],
            M[1][0] * v.X + M[1][1] * v.Y + M[1][2] * v.Z + M[1][3],
            M[2][0] * v.X + M[2][1] * v.Y + M[2][2] * v.Z + M[2][3]};
}

qint64 ArcPieces(double ax, double ay, double bx, double by, double bulge, double chord, double stretch)
{
    constexpr double kCap = 1e9;
    const double angle = 4 * std::atan(std::fabs(bulge));
    const double length = std::hypot(bx - ax, by - ay);
    const double half = std::sin(angle / 2);
    if (!(length > 0) || !(half > 0))
        return 1;
    const double radius = length / (2 * half) * stretch;
    double pieces = std::ceil(angle / (M_PI / 2));
    if (std::isfinite(radius) && chord < 2 * radius)
        pieces = std::max(pieces, std::ceil(angle / (2 * std::asin(chord / (2 * radius)))));
    else if (!std::isfinite(radius))
        pieces = kCap;
    return qint64(std::clamp(pieces, 1.0, kCap));
}

void ArcPoint(double ax, double ay, double bx, double by, double bulge, double t, double *x, double *y)
{
    // The centre lies off the chord's middle, to its left for a positive bulge, by the chord's
    // half times the cotangent of half the angle, which is (1 - b^2) / (2 b) for bulge b.
    const double dx = bx - ax, dy = by - ay;
    const double k = (1 - bulge * bulge) / (4 * bulge);
    const double cx = (ax + bx) / 2 - dy * k, cy = (ay + by) / 2 + dx * k;
    const double radius = std::hypot(ax - cx, ay - cy);
    const double a = std::atan2(ay - cy, ax - cx) + 4 * std::atan(bulge) * t;
    *x = cx + radius * std::cos(a);
    *y = cy + radius * std::sin(a);
}

} // namespace DxfGeometry
