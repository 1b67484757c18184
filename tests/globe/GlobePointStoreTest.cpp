#include "TestGlobe.h"

#include "globe/GlobePointStore.h"

#include <gtest/gtest.h>

namespace {
std::unique_ptr<TPointStore> Ring(std::initializer_list<std::pair<double, double>> degrees)
{
    auto store = std::make_unique<TPointStore>();
    for (auto [lon, lat] : degrees)
        store->Add({Deg(lon), Deg(lat), 0});
    return store;
}
} // namespace

TEST(PointStoreMER, MeridianPoleAndPlainRings)
{
    const struct {
        const char* name;
        std::unique_ptr<TPointStore> ring;
        TMER mer;
    } cases[] = {
        {"plain", Ring({{10, 10}, {20, 10}, {20, 30}, {10, 30}}), MER(Deg(10), Deg(10), Deg(10), Deg(20))},
        {"across 180", Ring({{170, 0}, {-170, 0}, {-170, 10}, {170, 10}}), MER(Deg(170), 0, Deg(20), Deg(10))},
        {"around the pole", Ring({{0, 80}, {90, 80}, {180, 80}, {-90, 80}}),
         MER(-971999999, Deg(80), 1943999998, 0)},
        {"empty", Ring({}), MER(0, 0, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.ring->PointStoreMER(), c.mer) << c.name;
    EXPECT_TRUE(PointLLinMER(PointLL(Deg(-175), Deg(5)), cases[1].ring->PointStoreMER()));
}

TEST(PointStoreGeometry, PointInPolygonOnBothSidesOfTheMeridians)
{
    const auto square = Ring({{10, 10}, {20, 10}, {20, 20}, {10, 20}});
    // Across 0° with no vertex on it: a tilted edge must not become a chord.
    const auto acrossZero = Ring({{-3, 10}, {2, 12}, {1, 20}, {-2, 18}});
    // Across 180°, once split on the meridian and once straight over it.
    const auto split = Ring({{170, 0}, {180, 0}, {-180, 0}, {-170, 0}, {-170, 10}, {-180, 10}, {180, 10}, {170, 10}});
    const auto over = Ring({{175, -20}, {-178, -15}, {-176, -19}, {178, -22}});
    // Once round the south pole, and round the north pole.
    const auto south = Ring({{0, -70}, {90, -65}, {180, -70}, {-90, -75}});
    const auto north = Ring({{0, 80}, {90, 80}, {180, 80}, {-90, 80}});
    const struct {
        const char* name;
        const TPointStore& ring;
        double lon, lat;
        bool inside;
    } cases[] = {
        {"square", *square, 15, 15, true},          {"square", *square, 25, 15, false},
        {"square", *square, -15, 15, false},        {"0°, east", *acrossZero, 1.5, 12.5, true},
        {"0°, west", *acrossZero, -2.5, 11, true},  {"0°, on it", *acrossZero, 0, 15, true},
        {"0°, outside", *acrossZero, 1.9, 19, false}, {"0°, outside west", *acrossZero, -2.9, 17, false},
        {"split, east", *split, 175, 5, true},      {"split, west", *split, -175, 5, true},
        {"split, far", *split, 0, 5, false},        {"split, beyond", *split, -160, 5, false},
        {"over, east", *over, 179, -19, true},      {"over, west", *over, -179, -17, true},
        {"over, outside", *over, -179, -12, false}, {"over, antipode", *over, -1, 19, false},
        {"south pole", *south, 45, -85, true},      {"south, ring side", *south, -120, -80, true},
        {"south, north of it", *south, 45, -50, false}, {"north pole", *north, 10, 85, true},
        {"north, south of it", *north, 10, 70, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.ring.PointInPolygon(Deg(c.lon), Deg(c.lat)), c.inside) << c.name << " " << c.lon << "," << c.lat;
    EXPECT_FALSE(Ring({})->PointInPolygon(0, 0));
    EXPECT_FALSE(Ring({{1, 1}, {2, 2}})->PointInPolygon(Deg(1.5), Deg(1.5)));
}

TEST(PointStoreGeometry, PointOnPolylineIsABoundingTestPerSegment)
{
    auto line = Ring({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_TRUE(line->PointOnPolyline(Deg(5), Deg(3), 0)) << "a flat segment limits X only";
    EXPECT_TRUE(line->PointOnPolyline(Deg(10), Deg(5), 0));
    EXPECT_FALSE(line->PointOnPolyline(Deg(11), Deg(11), 0));
}

TEST(PointStore, EditingHeightsCentroidAndCache)
{
    TPointStore store;
    store.Add({Deg(1), Deg(2), 7});
    EXPECT_EQ(store.GetLL(0).Height, 0) << "no heights without psHeight";
    store.SetHeightFlag(true);
    EXPECT_EQ(store.GetCount(), 0) << "a new point size empties the store";
    store.Add({Deg(1), Deg(2), 30});
    store.Add({Deg(3), Deg(4), 0});
    store.Insert(1, {0, 0, 0});
    store.Delete(1);
    store.Delete(99);
    EXPECT_EQ(store.Centroid(), (TPointLL{Deg(2), Deg(3), 15}));
    store.Translate(1, 2, 3);
    EXPECT_EQ(store.GetLL(1), (TPointLL{Deg(3) + 1, Deg(4) + 2, 3}));

    auto kept = store.Point3DArray(true);
    EXPECT_EQ(store.Point3DArray(true), kept) << "the cache is shared";
    EXPECT_EQ(kept->at(0), Point3D(store.GetLL(0)));
    store.PutLL(0, {0, 0, 0});
    EXPECT_FALSE(store.HasCache3D());
    EXPECT_EQ(kept->size(), 2u) << "a reader keeps its array after the store dropped it";
    EXPECT_EQ(store.ObjectInstanceSize(), int64_t(sizeof(TPointStore)) + 2 * 12);
}

TEST(PointStore, Point3DOfKnownPlaces)
{
    EXPECT_EQ(Point3D({0, 0, 0}), (TPoint3D{0, 0, EARTHRADIUS}));
    EXPECT_EQ(Point3D({GU_90_DEGREE, 0, 0}), (TPoint3D{EARTHRADIUS, 0, 0}));
    EXPECT_EQ(Point3D({0, GU_90_DEGREE, 100}), (TPoint3D{0, EARTHRADIUS + 100, 0}));
}

TEST(ChainStore, GetChainGrowsAndCentroidAndMER)
{
    TChainStore chains;
    chains.Add(Ring({{0, 0}, {10, 10}}));
    chains.Add(Ring({{20, 20}, {30, 30}}));
    chains.GetChain(5);
    EXPECT_EQ(chains.GetCount(), 6);
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(chains.GetChain(i).GetCount(), 0);
    EXPECT_EQ(chains.ChainStoreMER(), MER(0, 0, Deg(30), Deg(30))) << "empty chains do not widen it";
    chains.SetCount(2);
    EXPECT_EQ(chains.Centroid(), (TPointLL{Deg(15), Deg(15), 0}));
    chains.Move(0, 1);
    EXPECT_EQ(chains.GetChain(0).GetLL(0).Long, Deg(20));
    EXPECT_THROW(chains.SetCount(-1), EGlobeException);
}
