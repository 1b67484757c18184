#include "globe/GlobePointStore.h"

#include <algorithm>
#include <cmath>

namespace {
// Longitude band -2 … 2 of the rectangle walk.
inline int Band(int32_t longitude) { return longitude / GU_90_DEGREE; }

// The shorter way round from one longitude to another, in (-180°, 180°].
inline int64_t LongitudeStep(int64_t from, int64_t to)
{
    int64_t step = to - from;
    while (step > GU_180_DEGREE)
        step -= GU_360_DEGREE;
    while (step <= -GU_180_DEGREE)
        step += GU_360_DEGREE;
    return step;
}
} // namespace

void TPointStore::SetCount(int n)
{
    if (n < 0)
        throw EGlobeException(QStringLiteral("DynArraySetLength: Invalid Parameter"));
    m_cache3D.reset();
    m_points.resize(static_cast<size_t>(n) * Stride(), 0);
}

TPointLL TPointStore::GetLL(int i) const
{
    if (!Valid(i))
        return {};
    const int32_t* p = m_points.data() + static_cast<size_t>(i) * Stride();
    return {p[0], p[1], GetHeightFlag() ? p[2] : 0};
}

void TPointStore::PutLL(int i, const TPointLL& p)
{
    if (!Valid(i))
        return;
    m_cache3D.reset();
    int32_t* q = m_points.data() + static_cast<size_t>(i) * Stride();
    q[0] = p.Long;
    q[1] = p.Lat;
    if (GetHeightFlag())
        q[2] = p.Height;
}

void TPointStore::Add(const TPointLL& p)
{
    m_cache3D.reset();
    m_points.push_back(p.Long);
    m_points.push_back(p.Lat);
    if (GetHeightFlag())
        m_points.push_back(p.Height);
}

void TPointStore::Insert(int i, const TPointLL& p)
{
    if (i < 0 || i > GetCount())
        return;
    m_cache3D.reset();
    const int32_t values[3] = {p.Long, p.Lat, p.Height};
    m_points.insert(m_points.begin() + static_cast<ptrdiff_t>(i) * Stride(), values, values + Stride());
}

void TPointStore::Delete(int i)
{
    if (!Valid(i))
        return;
    m_cache3D.reset();
    const auto first = m_points.begin() + static_cast<ptrdiff_t>(i) * Stride();
    m_points.erase(first, first + Stride());
}

void TPointStore::SetHeightFlag(bool on)
{
    if (on == GetHeightFlag())
        return;
    // The point size changes, so the points cannot stay.
    SetCount(0);
    Flags = on ? (Flags | psHeight) : (Flags & ~psHeight);
}

void TPointStore::Translate(int32_t dLong, int32_t dLat, int32_t dHeight)
{
    m_cache3D.reset();
    const int stride = Stride();
    for (size_t i = 0; i < m_points.size(); i += stride) {
        m_points[i] += dLong;
        m_points[i + 1] += dLat;
        if (stride == 3)
            m_points[i + 2] += dHeight;
    }
}

TPointLL TPointStore::Centroid() const
{
    const int n = GetCount();
    if (n == 0)
        return {0, 0, 0};
    long double sum[3] = {0, 0, 0};
    const int stride = Stride();
    for (size_t i = 0; i < m_points.size(); i += stride)
        for (int k = 0; k < stride; ++k)
            sum[k] += m_points[i + k];
    return {Round(static_cast<double>(sum[0] / n)), Round(static_cast<double>(sum[1] / n)),
            Round(static_cast<double>(sum[2] / n))};
}

TPointStore::AreaCentre TPointStore::AreaCentroid() const
{
    const int n = GetCount();
    const int stride = Stride();
    const int32_t* p = m_points.data();
    if (n < 3)
        return {Centroid(), 0};
    // The ring unrolled the short way round from its first point, so that
    // one across 180° stays in one piece.
    long double twiceArea = 0, sumX = 0, sumY = 0, height = 0;
    int64_t x = 0, turn = 0;
    for (int i = 0; i < n; ++i) {
        const int32_t* a = p + static_cast<size_t>(i) * stride;
        const int32_t* b = p + static_cast<size_t>((i + 1) % n) * stride;
        const int64_t step = LongitudeStep(a[0], b[0]);
        const long double ax = x, ay = a[1], bx = x + step, by = b[1];
        const long double cross = ax * by - bx * ay;
        twiceArea += cross;
        sumX += (ax + bx) * cross;
        sumY += (ay + by) * cross;
        if (stride == 3)
            height += a[2];
        x += step;
        turn += step;
    }
    // A ring round a pole has no plain area in this unrolled picture.
    if (turn >= GU_180_DEGREE || turn <= -GU_180_DEGREE || std::fabs(static_cast<double>(twiceArea)) < 1.0)
        return {Centroid(), 0};
    const long double cx = sumX / (3 * twiceArea);
    const long double cy = sumY / (3 * twiceArea);
    const TPointLL centre{Mod180(p[0] + static_cast<int64_t>(std::llround(static_cast<double>(cx)))),
                          Round(static_cast<double>(cy)), Round(static_cast<double>(height / n))};
    // Degrees of longitude shrink toward the poles.
    const double weight = std::fabs(static_cast<double>(twiceArea)) / 2 * std::cos(centre.Lat * GU_TORADIANS);
    return {centre, weight};
}

TMER TPointStore::PointStoreMER() const
{
    const int n = GetCount();
    if (n == 0)
        return {0, 0, 0, 0};
    const int stride = Stride();
    const int32_t* p = m_points.data();
    int32_t minLat = p[1], maxLat = p[1], minLong = p[0], maxLong = p[0];
    int32_t minPositive = std::numeric_limits<int32_t>::max();
    int32_t maxNegative = std::numeric_limits<int32_t>::min();
    int crossings = 0;
    int previous = Band(p[static_cast<size_t>(n - 1) * stride]);
    for (int i = 0; i < n; ++i, p += stride) {
        const int32_t longitude = p[0];
        const int32_t latitude = p[1];
        const int band = Band(longitude);
        if ((previous > 0 && band < 0) || (previous < 0 && band > 0))
            ++crossings;
        previous = band;
        minLat = std::min(minLat, latitude);
        maxLat = std::max(maxLat, latitude);
        minLong = std::min(minLong, longitude);
        maxLong = std::max(maxLong, longitude);
        if (longitude >= 0)
            minPositive = std::min(minPositive, longitude);
        else
            maxNegative = std::max(maxNegative, longitude);
    }
    TMER m;
    if (crossings % 2 == 1) { // the ring encloses a pole
        m.Long = -971999999;
        m.Width = 1943999998;
    } else if (crossings == 0) {
        m.Long = minLong;
        m.Width = static_cast<int32_t>(static_cast<int64_t>(maxLong) - minLong);
    } else { // the ring crosses the 180° meridian
        m.Long = minPositive;
        m.Width = static_cast<int32_t>(static_cast<int64_t>(maxNegative) - minPositive + GU_360_DEGREE);
    }
    m.Lat = minLat;
    m.Height = static_cast<int32_t>(static_cast<int64_t>(maxLat) - minLat);
    return m;
}

// Even-odd rule with a ray along the meridian from the point to the north
// pole: every edge is taken the short way round, so a ring may cross 0° and
// 180° anywhere, and the crossing latitude is interpolated exactly. A ring
// that goes once round a pole holds that pole, which flips the count.
bool TPointStore::PointInPolygon(int32_t x, int32_t y) const
{
    const int n = GetCount();
    if (n < 3)
        return false;
    const int stride = Stride();
    const int32_t* pts = m_points.data();
    bool inside = false;
    int64_t turn = 0; // sum of the longitude steps round the ring
    int64_t latitudeSum = 0;
    const int32_t* a = pts + static_cast<size_t>(n - 1) * stride;
    for (int i = 0; i < n; ++i) {
        const int32_t* b = pts + static_cast<size_t>(i) * stride;
        const int64_t step = LongitudeStep(a[0], b[0]);
        turn += step;
        latitudeSum += b[1];
        // Longitudes relative to the point's meridian, along the edge.
        const int64_t ra = LongitudeStep(x, a[0]);
        const int64_t rb = ra + step;
        if ((ra <= 0 && 0 < rb) || (rb <= 0 && 0 < ra)) {
            // Latitude on the meridian: a + (b - a) * (0 - ra) / (rb - ra),
            // compared with y without dividing.
            const __int128 dx = rb - ra;
            const __int128 lhs = static_cast<__int128>(a[1] - static_cast<int64_t>(y)) * dx
                                 - static_cast<__int128>(b[1] - static_cast<int64_t>(a[1])) * ra;
            if (dx > 0 ? lhs > 0 : lhs < 0)
                inside = !inside;
        }
        a = b;
    }
    // A ring once round the globe holds the pole it lies nearer to; only the
    // north pole lies on the ray.
    const bool aroundAPole = turn >= GU_180_DEGREE || turn <= -GU_180_DEGREE;
    if (aroundAPole && latitudeSum >= 0)
        inside = !inside;
    return inside;
}

namespace {
// Each axis on its own; a segment whose ends share a coordinate puts no
// limit on that axis.
bool PointOnLine(int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (x1 != x2 && (x < std::min(x1, x2) || x > std::max(x1, x2)))
        return false;
    if (y1 != y2 && (y < std::min(y1, y2) || y > std::max(y1, y2)))
        return false;
    return true;
}
} // namespace

bool TPointStore::PointOnPolyline(int32_t x, int32_t y, int32_t /*tolerance*/) const
{
    const int n = GetCount();
    const int stride = Stride();
    for (int i = 1; i < n; ++i) {
        const int32_t* a = m_points.data() + static_cast<size_t>(i - 1) * stride;
        const int32_t* b = a + stride;
        if (PointOnLine(x, y, a[0], a[1], b[0], b[1]))
            return true;
    }
    return false;
}

std::shared_ptr<const TPoint3DArray> TPointStore::Point3DArray(bool keep)
{
    if (!keep)
        m_cache3D.reset();
    if (m_cache3D)
        return m_cache3D;
    auto points = std::make_shared<TPoint3DArray>();
    const int n = GetCount();
    points->reserve(n);
    for (int i = 0; i < n; ++i)
        points->push_back(Point3D(GetLL(i)));
    if (keep)
        m_cache3D = points;
    return points;
}

std::unique_ptr<TPointStore> TPointStore::Clone() const
{
    auto copy = std::make_unique<TPointStore>();
    copy->Flags = Flags;
    copy->m_points = m_points;
    return copy;
}

int64_t TPointStore::ObjectInstanceSize() const
{
    return static_cast<int64_t>(sizeof(TPointStore)) + static_cast<int64_t>(GetCount()) * 4 * Stride()
        + (m_cache3D ? 12 * static_cast<int64_t>(m_cache3D->size()) : 0);
}

// --- TChainStore ---

void TChainStore::SetCount(int n)
{
    if (n < 0)
        throw EGlobeException(QStringLiteral("DynArraySetLength: Invalid Parameter"));
    m_chains.resize(static_cast<size_t>(n));
}

TPointStore& TChainStore::GetChain(int i)
{
    if (i < 0)
        throw EGlobeException(QStringLiteral("DynArraySetLength: Invalid Parameter"));
    if (i >= GetCount())
        m_chains.resize(static_cast<size_t>(i) + 1);
    auto& slot = m_chains[static_cast<size_t>(i)];
    if (!slot)
        slot = std::make_unique<TPointStore>();
    return *slot;
}

const TPointStore* TChainStore::Chain(int i) const
{
    return (i >= 0 && i < GetCount()) ? m_chains[static_cast<size_t>(i)].get() : nullptr;
}

void TChainStore::SetChain(int i, std::unique_ptr<TPointStore> store)
{
    if (i < 0)
        throw EGlobeException(QStringLiteral("DynArraySetLength: Invalid Parameter"));
    if (i >= GetCount())
        m_chains.resize(static_cast<size_t>(i) + 1);
    m_chains[static_cast<size_t>(i)] = std::move(store);
}

void TChainStore::Add(std::unique_ptr<TPointStore> store) { m_chains.push_back(std::move(store)); }

void TChainStore::Insert(int i, std::unique_ptr<TPointStore> store)
{
    if (i < 0 || i > GetCount())
        return;
    m_chains.insert(m_chains.begin() + i, std::move(store));
}

void TChainStore::Delete(int i)
{
    if (i >= 0 && i < GetCount())
        m_chains.erase(m_chains.begin() + i);
}

void TChainStore::Move(int from, int to)
{
    if (from < 0 || to < 0 || from >= GetCount() || to >= GetCount() || from == to)
        return;
    auto store = std::move(m_chains[static_cast<size_t>(from)]);
    m_chains.erase(m_chains.begin() + from);
    m_chains.insert(m_chains.begin() + to, std::move(store));
}

TPointLL TChainStore::Centroid() const
{
    if (m_chains.empty())
        return {0, 0, 0};
    long double sum[3] = {0, 0, 0};
    for (const auto& chain : m_chains) {
        const TPointLL c = chain ? chain->Centroid() : TPointLL{};
        sum[0] += c.Long;
        sum[1] += c.Lat;
        sum[2] += c.Height;
    }
    const auto n = static_cast<long double>(m_chains.size());
    return {Round(static_cast<double>(sum[0] / n)), Round(static_cast<double>(sum[1] / n)),
            Round(static_cast<double>(sum[2] / n))};
}

TPointLL TChainStore::CentreOfLargestPart() const
{
    TPointStore::AreaCentre largest{Centroid(), 0};
    for (const auto& chain : m_chains) {
        if (!chain)
            continue;
        const TPointStore::AreaCentre part = chain->AreaCentroid();
        if (part.weight > largest.weight)
            largest = part;
    }
    return largest.centre;
}

TMER TChainStore::ChainStoreMER() const
{
    if (m_chains.empty())
        return {0, 0, 0, 0};
    TMER m = m_chains[0] ? m_chains[0]->PointStoreMER() : TMER{};
    for (size_t i = 1; i < m_chains.size(); ++i)
        if (m_chains[i] && m_chains[i]->GetCount() > 0)
            m = UnionMER(m, m_chains[i]->PointStoreMER());
    return m;
}

void TChainStore::Translate(int32_t dLong, int32_t dLat, int32_t dHeight)
{
    for (auto& chain : m_chains)
        if (chain)
            chain->Translate(dLong, dLat, dHeight);
}

void TChainStore::Refresh()
{
    for (auto& chain : m_chains)
        if (chain)
            chain->Refresh();
}

std::unique_ptr<TChainStore> TChainStore::Clone() const
{
    auto copy = std::make_unique<TChainStore>();
    for (const auto& chain : m_chains)
        copy->m_chains.push_back(chain ? chain->Clone() : nullptr);
    return copy;
}

int64_t TChainStore::ObjectInstanceSize() const
{
    int64_t size = sizeof(TChainStore);
    for (const auto& chain : m_chains)
        if (chain)
            size += chain->ObjectInstanceSize();
    return size;
}
