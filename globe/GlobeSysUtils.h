#pragma once

// Globe units, the small records every globe class shares, and the
// longitude and rectangle arithmetic on them.

#include "platform/OrbiloError.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <limits>

// Every engine failure: a text the user reads.
class EGlobeException : public OrbiloError {
public:
    using OrbiloError::OrbiloError;
};

// Angles are signed 32-bit integers, 5,400,000 to the degree.
constexpr int32_t GU_DEGREE = 5400000;
constexpr int32_t GU_MINUTE = 90000;
constexpr int32_t GU_SECOND = 1500;
constexpr int32_t GU_90_DEGREE = 486000000;
constexpr int32_t GU_180_DEGREE = 972000000;
constexpr int32_t GU_360_DEGREE = 1944000000;

// Both constants are used as they stand: the conversion factor and the
// slightly larger radius of 3D positions.
constexpr double GU_TORADIANS = 3.2320912073969064e-9;
constexpr double GU_FROMRADIANS = 309397209.37064453;
constexpr int32_t EARTHRADIUS = 309397230;

constexpr int32_t NotComputed = -2147483647;

// Nearest integer, halves to even; clamped so that absurd values cannot
// overflow.
inline int32_t Round(double value)
{
    if (!(value > -2147483648.0))
        return std::numeric_limits<int32_t>::min();
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::nearbyint(value));
}

// a × b / c with a 64-bit product, the quotient rounded to nearest
// (halves away from zero); -1 when c is 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);
// The same in 64 bits, for callers that have ruled out c = 0.
int64_t MulDivRound(int64_t a, int64_t b, int64_t c);

struct TPointLL {
    int32_t Long = 0;
    int32_t Lat = 0;
    int32_t Height = 0;
    friend bool operator==(const TPointLL&, const TPointLL&) = default;
};

// Minimum enclosing rectangle: west and south edge plus extents. Long + Width
// may run past 180° for an object that crosses the meridian there.
struct TMER {
    int32_t Long = 0;
    int32_t Lat = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    friend bool operator==(const TMER&, const TMER&) = default;
};

struct TPoint3D {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    friend bool operator==(const TPoint3D&, const TPoint3D&) = default;
};

struct TV3D {
    double x = 0, y = 0, z = 0;
};
struct TQuaternion {
    double x = 0, y = 0, z = 0, w = 0;
};
// Rows r0, r1, r2.
struct TMatrix {
    TV3D r[3];
};

inline int32_t Mod180(int64_t a)
{
    if (a > 972000001)
        return static_cast<int32_t>(a - GU_360_DEGREE);
    if (a < -972000001)
        return static_cast<int32_t>(a + GU_360_DEGREE);
    return static_cast<int32_t>(a);
}
double Mod180Float(double degrees);

inline TPointLL PointLL(int64_t longitude, int32_t latitude) { return {Mod180(longitude), latitude, 0}; }
inline TPointLL PointLLH(int64_t longitude, int32_t latitude, int32_t height)
{
    return {Mod180(longitude), latitude, height};
}
inline TMER MER(int32_t longitude, int32_t latitude, int32_t width, int32_t height)
{
    return {longitude, latitude, width, height};
}

int32_t LongDiff(int32_t a, int32_t b);
bool PointLLinMER(const TPointLL& p, const TMER& m);
bool MERinMER(const TMER& a, const TMER& b);
TMER UnionMER(const TMER& a, const TMER& b);

// The cached 3D form of a point on the sphere (height added to the radius).
TPoint3D Point3D(const TPointLL& p);

// Units of measure.
enum TGlobeUnitTypes {
    Degree, Minute, NauticalMile, Kilometer, Mile, Second, Third, Hundreth, Thousanth,
    Meter, CentiMeter, Fathom, Yard, Foot, Inch, GlobeUnit, Pixel
};
constexpr int GlobeUnitCount = 17;

double GlobeUnitsPer(TGlobeUnitTypes unit);
int32_t GlobeUnitsFrom(TGlobeUnitTypes unit, double value);
double GlobeUnitsTo(int32_t gu, TGlobeUnitTypes unit);
QString UnitsToStr(TGlobeUnitTypes unit);
TGlobeUnitTypes StrToUnits(const QString& text);
int32_t DecimalToGlobeUnits(double degrees);
double GlobeUnitsToDecimal(int32_t gu);

// Object state, bit n = value n.
enum TGlobeObjectStateBit : uint16_t {
    osNew, osClosed, osHidden, osDiscardable, osBackFace, osFace, osSelected, osValidMER,
    osRedraw, osDeleted, osClipLeft, osClipTop, osClipRight, osClipBottom, osTiny, osVisible
};
using TGlobeObjectState = uint16_t;
constexpr TGlobeObjectState Bit(TGlobeObjectStateBit b) { return static_cast<TGlobeObjectState>(1u << b); }
constexpr TGlobeObjectState osAllClip = Bit(osClipLeft) | Bit(osClipTop) | Bit(osClipRight) | Bit(osClipBottom);
inline bool Has(TGlobeObjectState s, TGlobeObjectStateBit b) { return (s & Bit(b)) != 0; }
inline void Include(TGlobeObjectState& s, TGlobeObjectStateBit b) { s |= Bit(b); }
inline void Exclude(TGlobeObjectState& s, TGlobeObjectStateBit b) { s &= static_cast<TGlobeObjectState>(~Bit(b)); }
inline void SetBit(TGlobeObjectState& s, TGlobeObjectStateBit b, bool on) { on ? Include(s, b) : Exclude(s, b); }

// Flags of an object record in a stream, bit n = value n.
enum TGlobeObjectFlags : uint16_t {
    ofTitle = 1 << 0,
    ofID = 1 << 1,
    ofHeight = 1 << 2,
    of16Bit = 1 << 3,
    ofCompressed = 1 << 4,
    ofSingle = 1 << 5,
    ofLongCount = 1 << 6,
    ofZoomMinMax = 1 << 7,
    ofClosed = 1 << 8,
    ofGreatCircle = 1 << 9,
    ofMultiRing = 1 << 10,
};
