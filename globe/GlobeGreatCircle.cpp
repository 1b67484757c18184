#include "globe/GlobeGreatCircle.h"

#include <algorithm>
#include <numbers>

namespace {
struct Vec {
    double x, y, z;
    Vec operator+(const Vec& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec operator-(const Vec& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec operator*(double f) const { return {x * f, y * f, z * f}; }
    double Dot(const Vec& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec Cross(const Vec& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double Length() const { return std::sqrt(Dot(*this)); }
    Vec Unit() const
    {
        const double l = Length();
        return l > 0 ? *this * (1 / l) : Vec{0, 0, 0};
    }
};

constexpr double kTwoPi = 2 * std::numbers::pi;

Vec UnitVector(const TPointLL& p)
{
    const double lon = p.Long * GU_TORADIANS, lat = p.Lat * GU_TORADIANS;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

TPointLL PlaceOf(const Vec& v, int32_t height)
{
    const double lat = std::asin(std::clamp(v.z, -1.0, 1.0));
    const double lon = std::atan2(v.y, v.x);
    return {Mod180(Round(lon * GU_FROMRADIANS)), Round(lat * GU_FROMRADIANS), height};
}

// A unit vector at right angles to a, in the plane of its meridian
// (towards the north pole), or along the zero meridian at a pole.
Vec NorthOf(const Vec& a)
{
    const Vec east = Vec{0, 0, 1}.Cross(a).Unit();
    if (east.Length() == 0)
        return a.z > 0 ? Vec{-1, 0, 0} : Vec{1, 0, 0};
    return a.Cross(east).Unit();
}

// Points at angle 0 … sweep (radians, either sign) on the circle
// cos φ · u + sin φ · v, at most `step` radians apart, both ends included.
std::vector<TPointLL> Sweep(const Vec& u, const Vec& v, double sweep, double step, int32_t height)
{
    const int n = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / step - 1e-9)));
    std::vector<TPointLL> points;
    points.reserve(n + 1);
    for (int i = 0; i <= n; ++i) {
        const double phi = sweep * i / n;
        points.push_back(PlaceOf(u * std::cos(phi) + v * std::sin(phi), height));
    }
    return points;
}
} // namespace

std::vector<TPointLL> GreatCirclePoints(const TPointLL& from, const TPointLL& to, TGreatCircleKind kind,
                                        int32_t step)
{
    const Vec a = UnitVector(from), b = UnitVector(to);
    const double stepRadians = std::max(step, GU_SECOND) * GU_TORADIANS;
    const double across = a.Cross(b).Length();
    const double angle = std::atan2(across, a.Dot(b));
    Vec towards = (b - a * a.Dot(b)).Unit();
    // Closer than a thousandth of a second of arc: the same place, or its antipode.
    if (across < 1e-11) {
        if (a.Dot(b) > 0 && kind != gcFull)
            return {from};
        towards = NorthOf(a);
    }
    const double sweep = kind == gcShortArc ? angle : kind == gcLongArc ? angle - kTwoPi : kTwoPi;
    std::vector<TPointLL> points = Sweep(a, towards, sweep, stepRadians, from.Height);
    // The ends are the given places exactly, heights included.
    points.front() = from;
    points.back() = kind == gcFull ? from : to;
    return points;
}

std::vector<TPointLL> CirclePoints(const TPointLL& centre, int32_t radius, int segments)
{
    if (radius <= 0)
        return {};
    const double r = std::min<double>(radius, GU_180_DEGREE) * GU_TORADIANS;
    const Vec c = UnitVector(centre);
    const Vec north = NorthOf(c);
    const Vec east = north.Cross(c);
    const int n = std::max(segments, 3);
    std::vector<TPointLL> points;
    points.reserve(n);
    for (int i = 0; i < n; ++i) {
        // Clockwise seen from above: north, east, south, west.
        const double alpha = kTwoPi * i / n;
        const Vec direction = north * std::cos(alpha) + east * std::sin(alpha);
        points.push_back(PlaceOf(c * std::cos(r) + direction * std::sin(r), centre.Height));
    }
    return points;
}
