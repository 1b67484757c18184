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
    auto square = Ring({{10, 10}, {20, 10}, {20, 20}, {10, 20}});
    EXPECT_TRUE(square->PointInPolygon(Deg(15), Deg(15)));
    EXPECT_FALSE(square->PointInPolygon(Deg(25), Deg(15)));
    EXPECT_FALSE(square->PointInPolygon(Deg(-15), Deg(15)));

    // A ring across 180° (split on the meridian): each side is tested on its own.
    auto across = Ring({{170, 0}, {180, 0}, {-180, 0}, {-170, 0}, {-170, 10}, {-180, 10}, {180, 10}, {170, 10}});
    EXPECT_TRUE(across->PointInPolygon(Deg(175), Deg(5)));
    EXPECT_TRUE(across->PointInPolygon(Deg(-175), Deg(5)));
    EXPECT_FALSE(across->PointInPolygon(Deg(0), Deg(5)));
    EXPECT_FALSE(across->PointInPolygon(Deg(-160), Deg(5)));
    EXPECT_FALSE(Ring({})->PointInPolygon(0, 0));
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
