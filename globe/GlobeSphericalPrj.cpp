#include "globe/GlobeSphericalPrj.h"

#include "globe/CustomGlobeView.h"
#include "globe/GlobeBoundingCap.h"
#include "globe/GlobePointStore.h"
#include "globe/GlobeProjections.h"

#include <algorithm>
#include <cmath>

TQuaternion EulerToQuat(double x, double y, double z)
{
    const double aX = (M_PI - x * M_PI / 180) / 2;
    const double aY = y * M_PI / 180 / 2;
    const double aZ = z * M_PI / 180 / 2;
    const double sX = std::sin(aX), cX = std::cos(aX);
    const double sY = std::sin(aY), cY = std::cos(aY);
    const double sZ = std::sin(aZ), cZ = std::cos(aZ);
    TQuaternion q;
    q.x = cY * sX * cZ - sY * cX * sZ;
    q.y = cY * sX * sZ + sY * cX * cZ;
    q.z = cY * cX * sZ - sY * sX * cZ;
    q.w = cY * cX * cZ + sY * sX * sZ;
    return q;
}

TMatrix QuatToMatrix(const TQuaternion& q)
{
    const double x = q.x, y = q.y, z = q.z, w = q.w;
    TMatrix m;
    m.r[0] = {1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y)};
    m.r[1] = {2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x)};
    m.r[2] = {2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)};
    return m;
}

namespace {
inline double Dot(const TV3D& r, double x, double y, double z) { return r.x * x + r.y * y + r.z * z; }

} // namespace

TSphericalPrj::TSphericalPrj(TGlobeProjection& projection) : TProjectionModel(projection)
{
    projection.MeridianSegments = 36;
    projection.ParallelSegments = 72;
    projection.ProjectionFlags = pfContinuous | pfTextureMap;
    Rebuild();
}

TExtents TSphericalPrj::ExtentsLL() const { return {-EARTHRADIUS, -EARTHRADIUS, EARTHRADIUS, EARTHRADIUS}; }

void TSphericalPrj::PropertyChanged(int property)
{
    TGlobeProjection& prj = *m_projection;
    switch (property) {
    case ppXRotation:
        // Re-setting recurses once and stops, the value then being equal.
        prj.SetFloatProp(ppXRotation, std::clamp(prj.XRotation(), -90.0, 90.0));
        break;
    case ppYRotation:
        prj.SetFloatProp(ppYRotation, Mod180Float(prj.YRotation()));
        break;
    case ppZRotation:
        prj.SetFloatProp(ppZRotation, Mod180Float(prj.ZRotation()));
        break;
    case ppScaleFactor:
        break;
    default:
        return;
    }
    Rebuild();
}

void TSphericalPrj::Rebuild()
{
    const TGlobeProjection& prj = *m_projection;
    const double s = prj.ScaleFactor();
    m_radius = s * EARTHRADIUS;
    m_radius2 = m_radius * m_radius;
    const TMatrix m = QuatToMatrix(EulerToQuat(prj.XRotation(), prj.YRotation(), prj.ZRotation()));
    m_rotation = m;
    const double* a = &m.r[0].x;
    double* f = &m_forward.r[0].x;
    double* n = &m_inverse.r[0].x;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            f[row * 3 + col] = a[row * 3 + col] * s;
            n[row * 3 + col] = a[col * 3 + row] / s;
        }
}

bool TSphericalPrj::Point3DToXY(const TPoint3D& q, QPoint& out) const
{
    const TGlobeProjection& prj = *m_projection;
    out = QPoint(Round(Dot(m_forward.r[0], q.x, q.y, q.z)) + prj.XOrigin(),
                 Round(Dot(m_forward.r[1], q.x, q.y, q.z)) + prj.YOrigin());
    const double depth = Dot(m_forward.r[2], q.x, q.y, q.z);
    return prj.BackFace ? depth > 0 : depth <= 0;
}

bool TSphericalPrj::PointLLToXY(const TPointLL& p, int index)
{
    return Point3DToXY(Point3D(p), ScratchPoints()[index]);
}

bool TSphericalPrj::Caching() const
{
    return (m_projection->Globe().GlobeOptions() & GlobeOption(goCache3DPoints)) != 0;
}

void TSphericalPrj::ChainPointsToXY(TPointStore& store, std::vector<QPoint>& points, std::vector<char>& visible)
{
    // Without the cache every point costs its sines and cosines anyway.
    if (!Caching())
        return TProjectionModel::ChainPointsToXY(store, points, visible);
    const std::shared_ptr<const TPoint3DArray> cached = store.Point3DArray(true);
    const size_t count = cached->size();
    points.resize(count);
    visible.resize(count);
    for (size_t i = 0; i < count; ++i)
        visible[i] = Point3DToXY((*cached)[i], points[i]);
}

namespace {
// The range of u·axis over the cap's points u, where cosTheta = centre·axis:
// cos(θ + radius) … cos(θ − radius), bounded by −1 and 1.
struct Range {
    double low, high;
};
Range CapRange(double cosTheta, const TBoundingCap& cap)
{
    const double sinTheta = std::sqrt(std::max(0.0, 1 - cosTheta * cosTheta));
    const double high = cosTheta >= cap.CosRadius ? 1 : cosTheta * cap.CosRadius + sinTheta * cap.SinRadius;
    const double low = cosTheta <= -cap.CosRadius ? -1 : cosTheta * cap.CosRadius - sinTheta * cap.SinRadius;
    return {low, high};
}
} // namespace

bool TSphericalPrj::VisibleMER(const TMER& mer, const TBoundingCap& cap, TGlobeObjectState& state)
{
    if (mer.Width >= GU_360_DEGREE || cap.RoundTheGlobe || !cap.Holds(mer))
        return TProjectionModel::VisibleMER(mer, state);
    state &= static_cast<TGlobeObjectState>(~(Bit(osBackFace) | Bit(osFace) | osAllClip));
    const TGlobeProjection& prj = *m_projection;
    auto along = [&](const TV3D& axis) { return CapRange(Dot(axis, cap.X, cap.Y, cap.Z), cap); };
    const Range depth = along(m_rotation.r[2]);
    // Depth 0 and less faces the viewer.
    const bool nearPart = depth.low <= 0;
    const bool farPart = depth.high > 0;
    if (!(prj.BackFace ? farPart : nearPart))
        return false;
    Range x = along(m_rotation.r[0]);
    Range y = along(m_rotation.r[1]);
    // Points on the hidden side of a polygon are pushed out onto the rim,
    // away from the centre: each coordinate keeps its sign and grows.
    if (prj.BackFace ? nearPart : farPart)
        for (Range* r : {&x, &y}) {
            if (r->low < 0)
                r->low = -1;
            if (r->high > 0)
                r->high = 1;
        }
    const QSize size = prj.Globe().SurfaceSize();
    // One pixel more each way for the rounding of device points.
    const double minX = prj.XOrigin() + m_radius * x.low - 1, maxX = prj.XOrigin() + m_radius * x.high + 1;
    const double minY = prj.YOrigin() + m_radius * y.low - 1, maxY = prj.YOrigin() + m_radius * y.high + 1;
    if (maxX < 0 || minX > size.width() || maxY < 0 || minY > size.height())
        return false;
    SetBit(state, osClipTop, minY < 0);
    SetBit(state, osClipLeft, minX < 0);
    SetBit(state, osClipRight, maxX > size.width());
    SetBit(state, osClipBottom, maxY > size.height());
    SetBit(state, osFace, nearPart);
    SetBit(state, osBackFace, farPart);
    return true;
}

bool TSphericalPrj::LLToXY(int32_t longitude, int32_t latitude, int index)
{
    return PointLLToXY({longitude, latitude, 0}, index);
}

bool TSphericalPrj::XYToLL(int x, int y, int index)
{
    const TGlobeProjection& prj = *m_projection;
    const double dx = x - prj.XOrigin();
    const double dy = y - prj.YOrigin();
    const double c = m_radius2 - dx * dx - dy * dy;
    if (c < 0)
        return false;
    const double dz = -std::sqrt(c); // the near side, whatever BackFace says
    const double vx = Dot(m_inverse.r[0], dx, dy, dz);
    const double vy = Dot(m_inverse.r[1], dx, dy, dz);
    const double vz = Dot(m_inverse.r[2], dx, dy, dz);
    const double sine = vy * (1.0 / EARTHRADIUS);
    const double lat = sine >= 1 ? M_PI / 2 : sine <= -1 ? -M_PI / 2 : std::asin(sine);
    ScratchPoints()[index] = QPoint(Round(std::atan2(vx, vz) * GU_FROMRADIANS), Round(lat * GU_FROMRADIANS));
    return true;
}

int TSphericalPrj::PointStoreToXY(TPointStore& store, int /*start*/, bool toRim)
{
    const TGlobeProjection& prj = *m_projection;
    const bool keep = (prj.Globe().GlobeOptions() & GlobeOption(goCache3DPoints)) != 0;
    const std::shared_ptr<const TPoint3DArray> points = store.Point3DArray(keep);
    const TV3D r0 = m_forward.r[0], r1 = m_forward.r[1], r2 = m_forward.r[2];
    const bool back = prj.BackFace;
    const int xo = prj.XOrigin(), yo = prj.YOrigin();
    QPoint* out = ScratchPoints();
    int n = 0;
    bool anyInView = false;
    double lastX = 0, lastY = 0;
    for (const TPoint3D& p : *points) {
        const double px = p.x, py = p.y, pz = p.z;
        double x = Dot(r0, px, py, pz);
        double y = Dot(r1, px, py, pz);
        const double d = Dot(r2, px, py, pz);
        const bool hidden = back ? d <= 0 : d > 0;
        anyInView = anyInView || !hidden;
        if (hidden) {
            if (!toRim)
                continue;
            // Hidden points are pushed radially onto the rim.
            const double len = std::sqrt(x * x + y * y);
            if (len > 0) {
                const double f = m_radius / len;
                x *= f;
                y *= f;
            } else {
                x = m_radius;
                y = 0;
            }
        }
        if (n > 0 && std::abs(x - lastX) <= 1 && std::abs(y - lastY) <= 1)
            continue;
        out[n++] = QPoint(static_cast<int>(std::lrint(x)) + xo, static_cast<int>(std::lrint(y)) + yo);
        lastX = x;
        lastY = y;
        if (n == ScratchPointCount)
            break;
    }
    // A ring wholly behind the globe would be drawn as a sliver along the
    // rim (rings never hold more than the half of the globe they lie in).
    if (!anyInView)
        return 0;
    return n;
}

std::vector<QPoint> TSphericalPrj::PaintSurface()
{
    const TGlobeProjection& prj = *m_projection;
    std::vector<QPoint> polygon;
    polygon.reserve(90);
    const double r = m_radius;
    for (int i = 0; i < 90; ++i) {
        const double a = i * 0.0698131700797731;
        polygon.emplace_back(Round(r * std::cos(a)) + prj.XOrigin(), Round(r * std::sin(a)) + prj.YOrigin());
    }
    return polygon;
}
