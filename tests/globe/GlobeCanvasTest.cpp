#include "TestGlobe.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
// A 100 × 100 canvas; clipping keeps two pixels beyond the edges.
struct Clipping : ::testing::Test {
    TestGlobe globe{QSize(100, 100)};
    TGlobeCanvas& canvas = globe.GlobeCanvas();
    void SetUp() override { ASSERT_TRUE(canvas.ResizeProjection(100, 100)); }
    std::vector<QPoint> Clip(std::initializer_list<QPoint> points, TGlobeObjectState state)
    {
        std::copy(points.begin(), points.end(), ScratchPoints());
        const int n = canvas.ClipPoly(static_cast<int>(points.size()), state, 0);
        return {ScratchPoints(), ScratchPoints() + n};
    }
};
} // namespace

TEST_F(Clipping, EdgesCutWhatLiesOutside)
{
    const TGlobeObjectState closed = Bit(osClosed) | osAllClip;
    EXPECT_TRUE(Clip({{10, -50}, {90, -50}, {50, -10}}, closed).empty()) << "all above the top";
    EXPECT_EQ(Clip({{10, 10}, {90, 10}, {50, 90}}, closed).size(), 3u) << "all inside stays";

    // A square sticking out to the right is cut at x = 102.
    const auto square = Clip({{50, 20}, {150, 20}, {150, 80}, {50, 80}}, closed);
    ASSERT_EQ(square.size(), 4u);
    for (const QPoint& p : square)
        EXPECT_LE(p.x(), 102);
    EXPECT_EQ(square[1], QPoint(102, 20));

    // Only the edges asked for are clipped.
    EXPECT_EQ(Clip({{50, 20}, {150, 20}, {150, 80}, {50, 80}}, Bit(osClosed) | Bit(osClipTop)).size(), 4u);
    EXPECT_EQ(Clip({{50, 20}, {150, 20}, {150, 80}, {50, 80}}, Bit(osClosed) | Bit(osClipTop))[1], QPoint(150, 20));

    // An open line leaving and coming back runs along outside the surface.
    const auto line = Clip({{10, 50}, {50, -200}, {90, 50}}, osAllClip);
    for (const QPoint& p : line)
        EXPECT_GE(p.y(), -2);
    EXPECT_EQ(line.front(), QPoint(10, 50));
    EXPECT_EQ(line.back(), QPoint(90, 50));
}

TEST_F(Clipping, CoordinatesFarOutsideNeitherOverflowNorOverrun)
{
    const auto far = Clip({{-900000000, 50}, {900000000, 40}, {900000000, 900000000}}, Bit(osClosed) | osAllClip);
    for (const QPoint& p : far) {
        EXPECT_GE(p.x(), -2);
        EXPECT_LE(p.x(), 102);
    }
    // A zigzag across the edge at every step would double its points; the
    // result stays within the shared arrays.
    QPoint* scratch = ScratchPoints();
    for (int i = 0; i < ScratchPointCount; ++i)
        scratch[i] = QPoint(i % 2 ? 200 : 50, i % 100);
    const int n = canvas.ClipPoly(ScratchPointCount, Bit(osClosed) | Bit(osClipRight), 0);
    EXPECT_LE(n, ScratchPointCount);
    EXPECT_GT(n, ScratchPointCount / 2);
}

TEST(GlobeUnits, CanvasMeasuresFollowDpiAndScale)
{
    TestGlobe globe;
    TGlobeCanvas& canvas = globe.GlobeCanvas();
    globe.Projection().SetScaleFactor(1e-5);
    EXPECT_EQ(canvas.ScaleUnitsToDevice(8, Pixel), 8);
    canvas.RenderDPI = 192;
    EXPECT_EQ(canvas.ScaleUnitsToDevice(8, Pixel), 16) << "printing at twice the screen's resolution";
    EXPECT_EQ(canvas.FontRenderHeight(9, Pixel), 18);
    EXPECT_EQ(canvas.ScaleUnitsToDevice(1, Degree), 54);
    EXPECT_EQ(canvas.GlobeUnitsFrom(Pixel, 8), 800000);
    EXPECT_EQ(canvas.GlobeUnitsFrom(Degree, 1), GU_DEGREE);
}

TEST(Attributes, SettersRedrawAndEqualsComparesValues)
{
    TGlobePen a, b;
    int changes = 0;
    a.OnChange = [&] { ++changes; };
    a.Define(0x123456, 1, 2, Pixel);
    a.SetPenWidth(3);
    EXPECT_EQ(changes, 2);
    b.Assign(a);
    EXPECT_TRUE(a.Equals(b));
    b.SetPenStyle(0);
    EXPECT_FALSE(a.Equals(b));
    EXPECT_FALSE(a.Equals(TGlobeBrush()));
    EXPECT_EQ(a.MakePen().color(), QColor(0x56, 0x34, 0x12)) << "colours are 0xBBGGRR";
    TGlobeBrush hollow(0, 1), hatched(0, 4);
    EXPECT_EQ(hollow.MakeBrush().style(), Qt::NoBrush);
    EXPECT_EQ(hatched.MakeBrush().style(), Qt::FDiagPattern);
}

TEST(Selection, FreeingTheSelectedObjectClearsTheSelection)
{
    TestGlobe globe;
    auto* layer = new TGlobeLayer(globe);
    TGlobeObjectSource& source = layer->GetObjects();
    auto* first = new TGeoDataObject(&source);
    new TGeoDataObject(&source);
    globe.GlobeLayers().SetSelectedObject(first);
    source.SetCount(0); // frees both objects
    EXPECT_EQ(globe.GlobeLayers().SelectedObject(), nullptr);
    // A new object, perhaps at the same address, can be selected again.
    source.SetCount(0);
    auto* again = new TGeoDataObject(&source);
    globe.GlobeLayers().SetSelectedObject(again);
    EXPECT_TRUE(again->Selected());
}
