#include "TestGlobe.h"

#include <gtest/gtest.h>

TEST(GlobeLongitude, Mod180WrapsOnceOutsideTheBounds)
{
    const struct { int64_t in; int32_t out; } cases[] = {
        {972000001, 972000001},   {-972000001, -972000001}, {972000002, -971999998},
        {-972000002, 971999998},  {0, 0},                   {1944000000 + 5, 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Mod180(c.in), c.out) << c.in;
    EXPECT_DOUBLE_EQ(Mod180Float(190), -170);
    EXPECT_DOUBLE_EQ(Mod180Float(-180), -180);
}

TEST(GlobeLongitude, LongDiffTakesTheShortWayAndIsNeverZero)
{
    EXPECT_EQ(LongDiff(Deg(170), Deg(-170)), Deg(20));
    EXPECT_EQ(LongDiff(Deg(10), Deg(30)), Deg(20));
    EXPECT_EQ(LongDiff(5, 5), 1);
}

TEST(GlobeRectangle, PointInRectangleAcross180AndStrictEdges)
{
    const TMER across = MER(Deg(170), Deg(-10), Deg(20), Deg(20));
    EXPECT_TRUE(PointLLinMER(PointLL(Deg(-175), 0), across));
    EXPECT_TRUE(PointLLinMER(PointLL(Deg(175), 0), across));
    EXPECT_FALSE(PointLLinMER(PointLL(Deg(-165), 0), across));
    const TMER plain = MER(0, 0, Deg(10), Deg(10));
    EXPECT_FALSE(PointLLinMER(PointLL(0, Deg(5)), plain)) << "edges are outside";
    EXPECT_FALSE(PointLLinMER(PointLL(Deg(5), Deg(10)), plain));
    EXPECT_TRUE(MERinMER(MER(Deg(1), Deg(1), Deg(2), Deg(2)), plain));
}

// Unions take the narrower way round, so that parts on both sides of 180°
// (Fiji, Russia, Kiribati) give a small rectangle, not the whole globe.
TEST(GlobeMER, UnionsGoTheNarrowWayRound)
{
    const struct {
        const char* name;
        TMER a, b, union_;
    } cases[] = {
        {"plain", MER(Deg(10), 0, Deg(10), Deg(10)), MER(Deg(-5), Deg(2), Deg(1), Deg(20)),
         MER(Deg(-5), 0, Deg(25), Deg(22))},
        {"Fiji: both sides of 180°", MER(Deg(177), Deg(-19), Deg(3), Deg(3)), MER(Deg(-180), Deg(-20), Deg(2), Deg(4)),
         MER(Deg(177), Deg(-20), Deg(5), Deg(4))},
        {"one already across 180°", MER(Deg(170), 0, Deg(20), Deg(1)), MER(Deg(-175), 0, Deg(10), Deg(1)),
         MER(Deg(170), 0, Deg(25), Deg(1))},
        {"inside the other", MER(Deg(-20), 0, Deg(40), Deg(1)), MER(Deg(-5), 0, Deg(1), Deg(1)),
         MER(Deg(-20), 0, Deg(40), Deg(1))},
        {"round a pole stays whole", MER(-971999999, Deg(80), 1943999998, Deg(10)), MER(Deg(5), Deg(70), Deg(1), Deg(1)),
         MER(-971999999, Deg(70), 1943999998, Deg(20))},
        {"all round", MER(Deg(-170), 0, Deg(200), Deg(1)), MER(Deg(20), 0, Deg(170), Deg(1)),
         MER(-971999999, 0, 1943999998, Deg(1))},
        {"a gap of 10°", MER(Deg(-170), 0, Deg(200), Deg(1)), MER(Deg(40), 0, Deg(160), Deg(1)),
         MER(Deg(40), 0, Deg(350), Deg(1))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnionMER(c.a, c.b), c.union_) << c.name;
        EXPECT_EQ(UnionMER(c.b, c.a), c.union_) << c.name << ", the other way";
    }
}

TEST(GlobeUnits, ConversionsNamesAndUnknownUnit)
{
    EXPECT_EQ(GlobeUnitsFrom(NauticalMile, 1000), 90000000);
    EXPECT_EQ(GlobeUnitsFrom(Kilometer, 1), 48596);
    EXPECT_DOUBLE_EQ(GlobeUnitsTo(5400000, Degree), 1.0);
    EXPECT_EQ(UnitsToStr(Inch), "IN");
    EXPECT_EQ(StrToUnits("t"), Third) << "the first match in table order";
    EXPECT_EQ(StrToUnits("gu"), GlobeUnit);
    try {
        StrToUnits("parsec");
        FAIL();
    } catch (const EGlobeException& e) {
        EXPECT_EQ(e.message(), "StrToUnits: Unknown Unit parsec");
    }
}

TEST(GlobeUnits, DecimalDegreesToUnits)
{
    EXPECT_EQ(DecimalToGlobeUnits(10.5), 10 * GU_DEGREE + 30 * GU_MINUTE);
    EXPECT_EQ(DecimalToGlobeUnits(-0.25), -15 * GU_MINUTE);
    EXPECT_EQ(DecimalToGlobeUnits(1 + 1.0 / 3600 / 2), GU_DEGREE + 750);
    EXPECT_DOUBLE_EQ(GlobeUnitsToDecimal(-GU_90_DEGREE), -90);
}

TEST(GlobeUnits, MulDivRoundsToNearestAndRefusesZero)
{
    EXPECT_EQ(MulDiv(7, 1, 2), 4);
    EXPECT_EQ(MulDiv(-7, 1, 2), -4);
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}
