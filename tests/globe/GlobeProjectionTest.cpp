#include "TestGlobe.h"

#include "globe/GlobeSphericalPrj.h"

#include <gtest/gtest.h>

namespace {
// A globe of radius 100 pixels in the middle of a 400 × 300 surface.
struct Projected : ::testing::Test {
    TestGlobe globe;
    TGlobeProjection& prj = globe.Projection();
    void SetUp() override
    {
        prj.SetXRotation(0);
        prj.SetScaleFactor(100.0 / EARTHRADIUS);
    }
};
} // namespace

TEST_F(Projected, DefaultsAndFit)
{
    TestGlobe fresh;
    TGlobeProjection& p = fresh.Projection();
    EXPECT_DOUBLE_EQ(p.XRotation(), 23.5);
    EXPECT_DOUBLE_EQ(p.ScaleFactor(), 300.0 / (2.0 * EARTHRADIUS)) << "the globe fits the surface height";
    EXPECT_EQ(p.GetGlobeCenterXY(), QPoint(200, 150));
    EXPECT_EQ(p.ProjectionClass(), "TSphericalPrj");
    EXPECT_EQ(p.MeridianSegments, 36);
    EXPECT_EQ(p.ParallelSegments, 72);
    EXPECT_EQ(p.ProjectionFlags, pfContinuous | pfTextureMap);
    EXPECT_EQ(p.Spheroid, WGS84);
}

TEST_F(Projected, FrontAndBackOfTheEquator)
{
    QPoint front, back, east;
    EXPECT_TRUE(prj.LLToDeviceXY(0, 0, front));
    EXPECT_EQ(front, QPoint(200, 150));
    EXPECT_FALSE(prj.LLToDeviceXY(GU_180_DEGREE, 0, back));
    EXPECT_EQ(back, front);
    EXPECT_TRUE(prj.LLToDeviceXY(Deg(90), 0, east));
    EXPECT_EQ(east, QPoint(300, 150)) << "east is to the right";
    QPoint north;
    prj.LLToDeviceXY(0, Deg(90), north);
    EXPECT_EQ(north, QPoint(200, 50)) << "north is up";
    prj.BackFace = true;
    EXPECT_TRUE(prj.LLToDeviceXY(GU_180_DEGREE, 0, back));
}

TEST_F(Projected, RotationsBringTheirPointToTheCentreAndAreKeptInRange)
{
    const struct { double x, y, lat, lon; } cases[] = {{30, 0, 30, 0}, {0, 45, 0, 45}, {-60, -120, -60, -120}};
    for (const auto& c : cases) {
        prj.SetXRotation(c.x);
        prj.SetYRotation(c.y);
        QPoint p;
        EXPECT_TRUE(prj.LLToDeviceXY(Deg(c.lon), Deg(c.lat), p));
        EXPECT_EQ(p, QPoint(200, 150)) << c.x << "/" << c.y;
        EXPECT_NEAR(prj.CenterLatitude(), c.lat, 1e-6);
        EXPECT_NEAR(prj.CenterLongitude(), c.lon, 1e-6);
    }
    prj.SetGlobeCenterXY(QPoint(230, 170));
    prj.SetCenterLatitude(40);
    prj.SetCenterLongitude(-75);
    EXPECT_EQ(prj.GetGlobeCenterXY(), QPoint(200, 150));
    EXPECT_NEAR(prj.CenterLatitude(), 40, 1e-6);
    EXPECT_NEAR(prj.CenterLongitude(), -75, 1e-6);

    prj.SetXRotation(100);
    EXPECT_DOUBLE_EQ(prj.XRotation(), 90);
    prj.SetYRotation(190);
    EXPECT_DOUBLE_EQ(prj.YRotation(), -170);
    prj.SetZRotation(-200);
    EXPECT_DOUBLE_EQ(prj.ZRotation(), 160);
}

TEST_F(Projected, InverseFindsTheProjectedPoint)
{
    const struct { double xr, yr, zr; TPointLL p; } cases[] = {
        {0, 0, 0, {Deg(10), Deg(20), 0}},
        {23.5, 10, 0, {Deg(30), Deg(40), 0}},
        {-45, 170, 30, {Deg(-175), Deg(-30), 0}},
        {80, -90, -45, {Deg(-60), Deg(70), 0}},
    };
    prj.SetScaleFactor(2e-5); // large enough that a pixel is a few hundred GU
    for (const auto& c : cases) {
        prj.SetXRotation(c.xr);
        prj.SetYRotation(c.yr);
        prj.SetZRotation(c.zr);
        QPoint d;
        ASSERT_TRUE(prj.PointLLToXY(c.p, d));
        TPointLL back;
        ASSERT_TRUE(prj.DeviceXYToLL(d.x(), d.y(), back));
        EXPECT_NEAR(back.Long, c.p.Long, 2 / 2e-5);
        EXPECT_NEAR(back.Lat, c.p.Lat, 2 / 2e-5);
    }
}

TEST_F(Projected, OffTheGlobeGivesTheSentinel)
{
    TPointLL p;
    EXPECT_FALSE(prj.DeviceXYToLL(0, 0, p));
    EXPECT_EQ(p, (TPointLL{GU_180_DEGREE, GU_180_DEGREE, 0}));
    prj.SetIntegerProp(ppXOrigin, -1000);
    EXPECT_EQ(prj.CenterLatitude(), 2147483647.0);
}

TEST_F(Projected, ScaleLimitsFitAndTheCentreStaysPut)
{
    prj.SetScaleFactor(5);
    EXPECT_DOUBLE_EQ(prj.ScaleFactor(), 3);
    prj.SetMaxZoom(5e-5);
    prj.SetScaleFactor(5);
    EXPECT_DOUBLE_EQ(prj.ScaleFactor(), 5e-5);
    EXPECT_EQ(prj.Altitude(), Round(1 / (5e-5 * std::tan(50 * M_PI / 180))));
    EXPECT_EQ(globe.viewRect, QRect(0, 0, 8000000, 6000000));
    prj.SetMaxZoom(0);

    // The point under the window centre stays there when zooming.
    prj.SetScaleFactor(1e-6);
    prj.SetGlobeCenterXY(QPoint(250, 150));
    TPointLL before;
    prj.DeviceXYToLL(200, 150, before);
    prj.SetScaleFactor(2e-6);
    EXPECT_EQ(prj.XOrigin(), 300);
    TPointLL after;
    prj.DeviceXYToLL(200, 150, after);
    EXPECT_NEAR(after.Long, before.Long, 1 / 2e-6);

    prj.SetScaleFactor(0);
    EXPECT_EQ(prj.GetGlobeCenterXY(), QPoint(200, 150));
    EXPECT_DOUBLE_EQ(prj.ScaleFactor(), 300.0 / (2.0 * EARTHRADIUS));
    const double fitted = prj.ScaleFactor();
    prj.SetScaleFactor(-1);
    EXPECT_DOUBLE_EQ(prj.ScaleFactor(), fitted);
    prj.SetAltitude(1000000);
    EXPECT_NEAR(prj.ScaleFactor(), 1 / (std::tan(50 * M_PI / 180) * 1e6), 1e-15);
}

// Origins far off the window, as a long pan or a damaged lesson leaves them:
// zooming, resizing and panning keep them within the range in which device
// points can still be computed, and on the side where they were.
TEST_F(Projected, FarOriginsStayInRangeOnTheirSide)
{
    const int32_t origins[] = {999999999, -999999999, 2147483647, -2147483647 - 1};
    for (const int32_t far : origins) {
        TestGlobe g;
        TGlobeProjection& p = g.Projection();
        TGlobeCanvas& canvas = g.GlobeCanvas();
        ASSERT_TRUE(canvas.ResizeProjection(400, 300));
        p.SetXRotation(0);
        p.SetScaleFactor(1e-6);
        p.SetIntegerProp(ppXOrigin, far);
        p.SetIntegerProp(ppYOrigin, -far / 2);
        const auto check = [&](const char* step) {
            EXPECT_LE(std::abs(int64_t{p.XOrigin()}), TGlobeProjection::MaxOrigin) << far << " " << step;
            EXPECT_LE(std::abs(int64_t{p.YOrigin()}), TGlobeProjection::MaxOrigin) << far << " " << step;
            EXPECT_GT(int64_t{p.XOrigin()} * far, 0) << far << " " << step << ": " << p.XOrigin();
            EXPECT_LT(int64_t{p.YOrigin()} * far, 0) << far << " " << step << ": " << p.YOrigin();
            QPoint centre;
            p.LLToDeviceXY(0, 0, centre);
            EXPECT_EQ(centre, p.GetGlobeCenterXY()) << far << " " << step;
        };
        check("set");
        p.SetScaleFactor(2.5); // zoomed 2.5 million times about the window's centre
        check("zoomed in");
        ASSERT_TRUE(canvas.ResizeProjection(4000, 3000));
        check("ten times the window");
        ASSERT_TRUE(canvas.ResizeProjection(40, 30));
        check("a tenth of it");
        // Zoomed out as far as it goes, the far origin comes to the window's centre.
        p.SetScaleFactor(1e-10);
        EXPECT_LE(std::abs(p.XOrigin() - 200), 1) << far;
        EXPECT_LE(std::abs(p.YOrigin() - 150), 1) << far;
    }
}

TEST_F(Projected, ChainBehindTheGlobeGoesToTheRimOrIsLeftOut)
{
    TPointStore chain;
    for (int lon : {0, 60, 120, 150})
        chain.Add({Deg(lon), Deg(30), 0});
    TSphericalPrj& model = static_cast<TSphericalPrj&>(prj.ProjectionModel());
    ASSERT_EQ(model.PointStoreToXY(chain, 0, true), 4);
    for (int i : {2, 3}) {
        const QPoint p = ScratchPoints()[i] - QPoint(200, 150);
        EXPECT_NEAR(std::hypot(p.x(), p.y()), 100, 1) << "point " << i << " lies on the rim";
    }
    EXPECT_EQ(model.PointStoreToXY(chain, 5, false), 2) << "hidden points are left out";
    EXPECT_EQ(ScratchPoints()[0], QPoint(200, 100)) << "output starts at 0 whatever start says";
    EXPECT_TRUE(chain.HasCache3D()) << "goCache3DPoints keeps the 3D points";
    globe.options = 0;
    model.PointStoreToXY(chain, 0, false);
    EXPECT_FALSE(chain.HasCache3D());

    // Points closer than a pixel merge into one.
    TPointStore dense;
    for (int i = 0; i < 100; ++i)
        dense.Add({i * 10000, 0, 0});
    EXPECT_LT(model.PointStoreToXY(dense, 0, false), 5);
}

TEST_F(Projected, VisibilityOfRectangles)
{
    TGlobeObjectState state = 0;
    EXPECT_TRUE(prj.ProjectionModel().VisibleMER(MER(Deg(-10), Deg(-10), Deg(20), Deg(20)), state));
    EXPECT_TRUE(Has(state, osFace));
    EXPECT_FALSE(Has(state, osBackFace));
    EXPECT_EQ(state & osAllClip, 0);
    state = 0;
    EXPECT_FALSE(prj.ProjectionModel().VisibleMER(MER(Deg(150), Deg(-10), Deg(20), Deg(20)), state));
    state = 0;
    EXPECT_TRUE(prj.ProjectionModel().VisibleMER(MER(Deg(60), Deg(-10), Deg(60), Deg(20)), state));
    EXPECT_TRUE(Has(state, osFace) && Has(state, osBackFace)) << "partly behind the rim";
    state = 0;
    EXPECT_TRUE(prj.ProjectionModel().VisibleMER(MER(0, 0, GU_360_DEGREE, 0), state));

    prj.SetScaleFactor(2e-5); // far larger than the surface
    state = 0;
    EXPECT_TRUE(prj.ProjectionModel().VisibleMER(MER(Deg(-10), Deg(-10), Deg(20), Deg(20)), state));
    EXPECT_EQ(state & osAllClip, osAllClip);
    state = 0;
    EXPECT_FALSE(prj.ProjectionModel().VisibleMER(MER(Deg(40), Deg(-1), Deg(1), Deg(2)), state))
        << "wholly right of the surface";
}

TEST_F(Projected, SurfaceAndGraticule)
{
    const std::vector<QPoint> disc = prj.ProjectionModel().PaintSurface();
    ASSERT_EQ(disc.size(), 90u);
    EXPECT_EQ(disc[0], QPoint(300, 150));
    EXPECT_EQ(disc[45], QPoint(100, 150));
    auto& model = static_cast<TProjectionModel&>(prj.ProjectionModel());
    const auto lines = model.GraticuleLines(15, 15);
    EXPECT_EQ(lines.size(), 24u + 6u * 4u) << "24 meridians, parallels 0…75 both ways in two halves";
    EXPECT_EQ(lines[0].From, PointLL(-GU_180_DEGREE, 480600000));
    EXPECT_EQ(lines[0].Steps, 36);
    model.PaintGraticule(0, 30);
    EXPECT_EQ(globe.lines, 3 * 4);
}

TEST_F(Projected, ModelClassAssignAndClone)
{
    EXPECT_THROW(prj.SetProjectionClass("TGlobeLayer"), EGlobeException);
    try {
        prj.SetProjectionClass("TNothing");
    } catch (const EGlobeException& e) {
        EXPECT_EQ(e.message(), "Class TNothing does not inherit from TProjectionModel");
    }
    prj.SetXRotation(10);
    prj.SetYRotation(20);
    auto copy = prj.Clone();
    EXPECT_DOUBLE_EQ(copy->YRotation(), 20);
    QPoint a, b;
    prj.LLToDeviceXY(Deg(25), Deg(15), a);
    copy->LLToDeviceXY(Deg(25), Deg(15), b);
    EXPECT_EQ(a, b);

    prj.SetProjectionClass("tcartesianprj");
    EXPECT_EQ(prj.ProjectionClass(), "TCartesianPrj");
    EXPECT_EQ(prj.MeridianSegments, 72);
    EXPECT_NE(globe.located, TPointLL{}) << "the view turns back to the old centre";
    TPointLL p;
    prj.SetScaleFactor(1e-6);
    QPoint d;
    prj.LLToDeviceXY(Deg(30), Deg(10), d);
    ASSERT_TRUE(prj.DeviceXYToLL(d.x(), d.y(), p));
    EXPECT_NEAR(p.Long, Deg(30), 1e6);
    EXPECT_NEAR(p.Lat, Deg(10), 1e6);
    prj.SetProjectionModel(nullptr);
    EXPECT_EQ(prj.ProjectionClass(), "TSphericalPrj");
}
