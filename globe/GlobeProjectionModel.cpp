#include "globe/GlobeProjectionModel.h"

#include "globe/CustomGlobeView.h"
#include "globe/GlobePointStore.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeSphericalPrj.h"

#include <algorithm>
#include <array>

namespace {
// Both shared arrays are made zero-filled on first use.
std::unique_ptr<QPoint[]> g_scratchPoints;
std::unique_ptr<QPoint[]> g_clipPoints;

QPoint* Shared(std::unique_ptr<QPoint[]>& array)
{
    if (!array)
        array = std::make_unique<QPoint[]>(ScratchPointCount);
    return array.get();
}
} // namespace

QPoint* ScratchPoints() { return Shared(g_scratchPoints); }
QPoint* ClipPoints() { return Shared(g_clipPoints); }

void FreeSharedPointArrays()
{
    g_scratchPoints.reset();
    g_clipPoints.reset();
}

bool SharedPointArraysAllocated() { return g_scratchPoints || g_clipPoints; }

std::unique_ptr<TCustomProjectionModel> TCustomProjectionModel::Clone(TGlobeProjection& projection) const
{
    auto copy = Create(projection);
    copy->PropertyChanged(ppScaleFactor);
    return copy;
}

std::unique_ptr<TCustomProjectionModel> CreateProjectionModel(const QString& className, TGlobeProjection& projection)
{
    if (className.compare(QLatin1String("TSphericalPrj"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TSphericalPrj>(projection);
    if (className.compare(QLatin1String("TCartesianPrj"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TCartesianPrj>(projection);
    throw EGlobeException(QStringLiteral("Class %1 does not inherit from TProjectionModel").arg(className));
}

void TCustomProjectionModel::ChainPointsToXY(TPointStore& store, std::vector<QPoint>& points, std::vector<char>& visible)
{
    const int count = store.GetCount();
    points.resize(static_cast<size_t>(count));
    visible.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        visible[static_cast<size_t>(i)] = PointLLToXY(store.GetLL(i), 0);
        points[static_cast<size_t>(i)] = ScratchPoints()[0];
    }
}

// --- TProjectionModel ---

int TProjectionModel::PointStoreToXY(TPointStore& store, int start, bool /*toRim*/)
{
    QPoint* out = ScratchPoints();
    int n = std::max(start, 0);
    const int count = store.GetCount();
    QPoint last;
    bool any = false;
    for (int i = 0; i < count && n < ScratchPointCount; ++i) {
        if (!PointLLToXY(store.GetLL(i), n))
            continue;
        const QPoint p = out[n];
        if (!any || std::abs(p.x() - last.x()) > 1 || std::abs(p.y() - last.y()) > 1) {
            last = p;
            any = true;
            ++n;
        }
    }
    return n;
}

TExtents TProjectionModel::ExtentsLL() const
{
    return {-GU_180_DEGREE, -GU_90_DEGREE, GU_180_DEGREE, GU_90_DEGREE};
}

bool TProjectionModel::XYListVisible(int count, TGlobeObjectState& state)
{
    if (count < 2)
        return false;
    const QSize size = m_projection->Globe().SurfaceSize();
    const QPoint* p = ScratchPoints();
    int minX = p[0].x(), maxX = p[0].x(), minY = p[0].y(), maxY = p[0].y();
    for (int i = 1; i < count; ++i) {
        minX = std::min(minX, p[i].x());
        maxX = std::max(maxX, p[i].x());
        minY = std::min(minY, p[i].y());
        maxY = std::max(maxY, p[i].y());
    }
    if (maxX < 0 || minX > size.width() || maxY < 0 || minY > size.height())
        return false;
    auto outsideX = [&](int x) { return x < 0 || x > size.width(); };
    auto outsideY = [&](int y) { return y < 0 || y > size.height(); };
    SetBit(state, osClipTop, outsideY(minY));
    SetBit(state, osClipLeft, outsideX(minX));
    SetBit(state, osClipRight, outsideX(maxX));
    SetBit(state, osClipBottom, outsideY(maxY));
    return true;
}

bool TProjectionModel::VisiblePart(int32_t west, int32_t south, int32_t east, int32_t north, TGlobeObjectState& state)
{
    constexpr int32_t step = 81000000; // 15°
    int n = 0;
    int visible = 0;
    auto sample = [&](int64_t longitude, int64_t latitude) {
        if (n >= ScratchPointCount)
            return;
        if (LLToXY(static_cast<int32_t>(longitude), static_cast<int32_t>(latitude), n))
            ++visible;
        ++n;
    };
    sample(west, south);
    sample(west, north);
    sample(east, north);
    sample(east, south);
    for (int64_t x = int64_t{west} + step; x < east; x += step) {
        sample(x, south);
        sample(x, north);
    }
    for (int64_t y = int64_t{south} + step; y < north; y += step) {
        sample(west, y);
        sample(east, y);
    }
    if (visible == 0)
        return false;
    TGlobeObjectState clip = state;
    if (!XYListVisible(n, clip))
        return false;
    state |= clip & osAllClip;
    const bool back = m_projection->BackFace;
    if (visible < n)
        Include(state, back ? osFace : osBackFace);
    Include(state, back ? osBackFace : osFace);
    return true;
}

bool TProjectionModel::VisibleMER(const TMER& mer, TGlobeObjectState& state)
{
    state &= static_cast<TGlobeObjectState>(~(Bit(osBackFace) | Bit(osFace) | osAllClip));
    // A rectangle all the way round (an object on both sides of 180°) is seen
    // on both faces and may reach any edge; without the face bits no layer
    // would ever draw it.
    if (mer.Width >= GU_360_DEGREE) {
        state |= Bit(osFace) | Bit(osBackFace) | osAllClip;
        return true;
    }
    const int64_t east = int64_t{mer.Long} + mer.Width;
    const int32_t south = mer.Lat;
    const auto north = static_cast<int32_t>(int64_t{mer.Lat} + mer.Height);
    if (east > GU_180_DEGREE) {
        const bool eastPart = VisiblePart(mer.Long, south, GU_180_DEGREE, north, state);
        const bool westPart = VisiblePart(-GU_180_DEGREE, south, Mod180(east), north, state);
        return eastPart || westPart;
    }
    return VisiblePart(mer.Long, south, static_cast<int32_t>(east), north, state);
}

std::vector<TGraticuleLine> TProjectionModel::GraticuleLines(int longitudeStep, int latitudeStep) const
{
    std::vector<TGraticuleLine> lines;
    const TGlobeProjection& prj = *m_projection;
    constexpr int32_t lat89 = 480600000;
    if (longitudeStep > 0) {
        const int steps = std::max(2, prj.MeridianSegments);
        for (int64_t l = -GU_180_DEGREE; l < GU_180_DEGREE; l += int64_t{longitudeStep} * GU_DEGREE)
            lines.push_back({PointLL(l, lat89), PointLL(l, -lat89), steps});
    }
    if (latitudeStep > 0) {
        const int steps = std::max(2, prj.ParallelSegments);
        for (int64_t f = 0; f < 459000000; f += int64_t{latitudeStep} * GU_DEGREE) {
            for (const int64_t phi : {f, -f}) {
                const auto lat = static_cast<int32_t>(phi);
                lines.push_back({PointLL(971999999, lat), PointLL(0, lat), steps});
                lines.push_back({PointLL(0, lat), PointLL(-971999999, lat), steps});
            }
        }
    }
    return lines;
}

void TProjectionModel::PaintGraticule(int longitudeStep, int latitudeStep)
{
    for (const TGraticuleLine& line : GraticuleLines(longitudeStep, latitudeStep))
        m_projection->Globe().RenderLine(line.From, line.To, line.Steps);
}

// --- TCartesianPrj ---

TCartesianPrj::TCartesianPrj(TGlobeProjection& projection) : TProjectionModel(projection)
{
    projection.MeridianSegments = 72;
    projection.ParallelSegments = 144;
    projection.ProjectionFlags = pfTextureMap;
}

bool TCartesianPrj::LLToXY(int32_t longitude, int32_t latitude, int index)
{
    const TGlobeProjection& prj = *m_projection;
    const int32_t centre = Round(prj.CentralMeridian() * GU_DEGREE);
    const int32_t relative = Mod180(int64_t{longitude} - centre);
    const double s = prj.ScaleFactor();
    ScratchPoints()[index] = QPoint(Round(relative * s) + prj.XOrigin(), prj.YOrigin() - Round(latitude * s));
    return latitude >= -GU_90_DEGREE && latitude <= GU_90_DEGREE;
}

bool TCartesianPrj::XYToLL(int x, int y, int index)
{
    const TGlobeProjection& prj = *m_projection;
    const double s = prj.ScaleFactor();
    const double longitude = (x - prj.XOrigin()) / s + prj.CentralMeridian() * GU_DEGREE;
    const double latitude = -(y - prj.YOrigin()) / s;
    const double relative = (x - prj.XOrigin()) / s;
    if (std::abs(relative) > GU_180_DEGREE || std::abs(latitude) > GU_90_DEGREE)
        return false;
    ScratchPoints()[index] = QPoint(Mod180(Round(longitude)), Round(latitude));
    return true;
}

void TCartesianPrj::PropertyChanged(int property)
{
    // The flat map follows a turn of the globe by moving its central
    // meridian or parallel when asked to.
    TGlobeProjection& prj = *m_projection;
    if (property == ppYRotation && prj.YAxisChanges() == yaCentralMeridian)
        prj.SetFloatProp(ppCentralMeridian, prj.YRotation());
    else if (property == ppXRotation && prj.XAxisChanges() == xaCentralParallel)
        prj.SetFloatProp(ppCentralParallel, prj.XRotation());
}
