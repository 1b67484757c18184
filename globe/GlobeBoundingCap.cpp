#include "globe/GlobeBoundingCap.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
struct Unit {
    double x, y, z;
};

Unit UnitOf(double longitude, double latitude)
{
    const double lambda = longitude * GU_TORADIANS;
    const double phi = latitude * GU_TORADIANS;
    return {std::cos(phi) * std::sin(lambda), std::sin(phi), std::cos(phi) * std::cos(lambda)};
}
} // namespace

TBoundingCap BoundingCap(const TMER& mer)
{
    TBoundingCap cap;
    cap.Of = mer;
    if (mer.Width >= GU_360_DEGREE || mer.Width < 0 || mer.Height < 0 || mer.Lat < -GU_90_DEGREE ||
        int64_t{mer.Lat} + mer.Height > GU_90_DEGREE) {
        cap.RoundTheGlobe = true;
        cap.CosRadius = -1;
        return cap;
    }
    // With the centre on the middle meridian the rectangle's points farthest
    // from it are corners: distances grow along every parallel away from that
    // meridian and are largest at one end of every meridian piece.
    const double west = mer.Long;
    const double east = west + mer.Width;
    const double south = mer.Lat;
    const double north = south + static_cast<double>(mer.Height);
    const std::array<Unit, 4> corners = {UnitOf(west, south), UnitOf(west, north), UnitOf(east, north),
                                         UnitOf(east, south)};
    // The centre's latitude from the corners as seen along the middle
    // meridian; a rectangle of half the globe or more is centred on a pole.
    const double halfWidth = mer.Width / 2.0 * GU_TORADIANS;
    const double phiS = south * GU_TORADIANS, phiN = north * GU_TORADIANS;
    double h = std::max(0.0, std::cos(halfWidth)) * (std::cos(phiS) + std::cos(phiN));
    double v = std::sin(phiS) + std::sin(phiN);
    double length = std::hypot(h, v);
    if (length < 1e-12) {
        h = 1;
        v = 0;
        length = 1;
    }
    const Unit c = UnitOf(west + mer.Width / 2.0, 0);
    const double cosPhi = h / length, sinPhi = v / length;
    cap.X = c.x * cosPhi;
    cap.Y = sinPhi;
    cap.Z = c.z * cosPhi;
    double cosRadius = 1;
    for (const Unit& u : corners)
        cosRadius = std::min(cosRadius, u.x * cap.X + u.y * cap.Y + u.z * cap.Z);
    // A little wider than exact, against rounding in the products above.
    const double radius = std::min(std::acos(std::clamp(cosRadius, -1.0, 1.0)) + 1e-7, M_PI);
    cap.CosRadius = std::cos(radius);
    cap.SinRadius = std::sin(radius);
    return cap;
}
