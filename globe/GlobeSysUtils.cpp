#include "globe/GlobeSysUtils.h"

#include <algorithm>
#include <cstdlib>

int64_t MulDivRound(int64_t a, int64_t b, int64_t c)
{
    const int64_t product = a * b;
    const int64_t divisor = std::llabs(c);
    const int64_t magnitude = (std::llabs(product) + divisor / 2) / divisor;
    return ((product < 0) != (c < 0)) ? -magnitude : magnitude;
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    const int64_t q = MulDivRound(a, b, c);
    if (q > std::numeric_limits<int32_t>::max() || q < std::numeric_limits<int32_t>::min())
        return -1;
    return static_cast<int32_t>(q);
}

double Mod180Float(double degrees)
{
    if (degrees > 180)
        return degrees - 360;
    if (degrees < -180)
        return degrees + 360;
    return degrees;
}

int32_t LongDiff(int32_t a, int32_t b)
{
    int64_t d = std::llabs(static_cast<int64_t>(b) - a);
    if (d > 971999999)
        d = GU_360_DEGREE - d;
    if (d == 0)
        return 1;
    return static_cast<int32_t>(d);
}

bool PointLLinMER(const TPointLL& p, const TMER& m)
{
    const int64_t south = m.Lat;
    const int64_t north = south + m.Height;
    if (!(south < p.Lat && p.Lat < north))
        return false;
    const int64_t west = m.Long;
    const int64_t east = west + m.Width;
    if (west < p.Long && p.Long < east)
        return true;
    const int64_t wrapped = static_cast<int64_t>(p.Long) + GU_360_DEGREE;
    return east > GU_180_DEGREE && west < wrapped && wrapped < east;
}

bool MERinMER(const TMER& a, const TMER& b)
{
    return PointLLinMER(PointLL(a.Long, a.Lat), b)
        && PointLLinMER(PointLL(static_cast<int64_t>(a.Long) + a.Width,
                                static_cast<int32_t>(static_cast<int64_t>(a.Lat) + a.Height)),
                        b);
}

TMER UnionMER(const TMER& a, const TMER& b)
{
    TMER r;
    r.Lat = std::min(a.Lat, b.Lat);
    r.Height = static_cast<int32_t>(
        std::max(static_cast<int64_t>(a.Lat) + a.Height, static_cast<int64_t>(b.Lat) + b.Height) - r.Lat);
    // The two longitude ranges are arcs of a circle: the union starts where
    // one of them starts and runs east over the other, whichever way round
    // is narrower. Rectangles across 180° thus stay small.
    auto eastwardWidth = [](const TMER& from, const TMER& over) {
        int64_t start = over.Long;
        while (start < from.Long)
            start += GU_360_DEGREE;
        while (start >= int64_t{from.Long} + GU_360_DEGREE)
            start -= GU_360_DEGREE;
        return std::max<int64_t>(from.Width, start - from.Long + over.Width);
    };
    const int64_t fromA = eastwardWidth(a, b);
    const int64_t fromB = eastwardWidth(b, a);
    const TMER& west = fromA <= fromB ? a : b;
    const int64_t width = std::min(fromA, fromB);
    if (width >= GU_360_DEGREE - 2) {
        r.Long = -971999999; // the whole way round, as for a ring round a pole
        r.Width = 1943999998;
    } else {
        r.Long = west.Long;
        r.Width = static_cast<int32_t>(width);
    }
    return r;
}

TPoint3D Point3D(const TPointLL& p)
{
    const double lambda = p.Long * GU_TORADIANS;
    const double phi = p.Lat * GU_TORADIANS;
    const double r = static_cast<double>(EARTHRADIUS) + p.Height;
    const double c = r * std::cos(phi);
    return {Round(c * std::sin(lambda)), Round(r * std::sin(phi)), Round(c * std::cos(lambda))};
}

namespace {
struct UnitInfo {
    double factor;
    const char* name;
};
constexpr UnitInfo kUnits[GlobeUnitCount] = {
    {5400000, "D"},
    {90000, "MN"},
    {90000, "NM"},
    {48596.11231101512, "KM"},
    {78157.89483968144, "MI"},
    {1500, "S"},
    {250, "T"},
    {15, "H"},
    {1, "T"},
    {48.59611231101512, "M"},
    {0.48596112311015116, "CM"},
    {88.8157895905471, "F"},
    {44.40789479527355, "YD"},
    {14.802631598424515, "FT"},
    {1.233552633202043, "IN"},
    {1, "GU"},
    {0, "PI"}, // device dependent: the canvas converts pixels
};

const UnitInfo& Info(TGlobeUnitTypes unit)
{
    const int index = static_cast<int>(unit);
    return kUnits[(index >= 0 && index < GlobeUnitCount) ? index : static_cast<int>(GlobeUnit)];
}
} // namespace

double GlobeUnitsPer(TGlobeUnitTypes unit) { return Info(unit).factor; }

int32_t GlobeUnitsFrom(TGlobeUnitTypes unit, double value) { return Round(value * Info(unit).factor); }

double GlobeUnitsTo(int32_t gu, TGlobeUnitTypes unit)
{
    const double factor = Info(unit).factor;
    return factor == 0 ? 0.0 : gu / factor;
}

QString UnitsToStr(TGlobeUnitTypes unit) { return QString::fromLatin1(Info(unit).name); }

TGlobeUnitTypes StrToUnits(const QString& text)
{
    for (int i = 0; i < GlobeUnitCount; ++i)
        if (text.compare(QLatin1String(kUnits[i].name), Qt::CaseInsensitive) == 0)
            return static_cast<TGlobeUnitTypes>(i);
    throw EGlobeException(QStringLiteral("StrToUnits: Unknown Unit %1").arg(text));
}

int32_t DecimalToGlobeUnits(double degrees)
{
    // Map files convert every coordinate: within any sensible range the
    // truncations are integer casts and the rounding the 2^52 trick, both
    // exactly what trunc and nearbyint give, without the library calls.
    if (std::abs(degrees) < 1e6) {
        constexpr double kRound = 6755399441055744.0; // 1.5 × 2^52
        const auto whole = static_cast<int64_t>(degrees);
        const double minutesF = (degrees - static_cast<double>(whole)) * 60;
        const auto minutes = static_cast<int64_t>(minutesF);
        const double secondsF = (minutesF - static_cast<double>(minutes)) * 60;
        const auto seconds = static_cast<int64_t>(secondsF);
        const double fraction = (secondsF - static_cast<double>(seconds)) * GU_SECOND;
        const double rounded = (fraction + kRound) - kRound; // not reassociated without fast-math
        return Round(static_cast<double>(whole) * GU_DEGREE + static_cast<double>(minutes) * GU_MINUTE
                     + static_cast<double>(seconds) * GU_SECOND + rounded);
    }
    const double whole = std::trunc(degrees);
    const double minutesF = (degrees - whole) * 60;
    const double minutes = std::trunc(minutesF);
    const double secondsF = (minutesF - minutes) * 60;
    const double seconds = std::trunc(secondsF);
    const double gu = whole * GU_DEGREE + minutes * GU_MINUTE + seconds * GU_SECOND
        + std::nearbyint((secondsF - seconds) * GU_SECOND);
    return Round(gu);
}

double GlobeUnitsToDecimal(int32_t gu) { return gu / static_cast<double>(GU_DEGREE); }
