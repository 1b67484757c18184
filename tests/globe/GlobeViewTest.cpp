#include "ViewFixture.h"

#include "globe/GlobePresenters.h"
#include "globe/GlobeView.h"
#include "globe/GlobeViewUtils.h"

#include <QApplication>
#include <QBackingStore>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <gtest/gtest.h>

TEST_F(View, DefaultsOfANewControl)
{
    TGlobeView fresh;
    EXPECT_EQ(fresh.size(), QSize(150, 150));
    EXPECT_EQ(fresh.CacheCapacity, 10240);
    EXPECT_EQ(fresh.GlobeOptions(), GlobeOption(goCache3DPoints) | GlobeOption(goDoubleBuffered));
    EXPECT_EQ(fresh.GraticuleLatitudeStep(), 15);
    EXPECT_EQ(fresh.GetMinTextHeight(), 5);
    EXPECT_EQ(fresh.SelectedPen().PenColor(), 0x0000FFu);
    EXPECT_EQ(fresh.SelectedBrush().BrushColor(), 0x00FFFFu);
    EXPECT_EQ(fresh.TransparentPen().PenColor(), 0x808080u);
    EXPECT_EQ(fresh.TransparentBrush().BrushColor(), 0xC0C0C0u);
    EXPECT_EQ(fresh.GraticulePen().PenColor(), 0xC0C0C0u);
    EXPECT_EQ(fresh.SurfaceColor(), 0xFFFF00u);
    EXPECT_EQ(fresh.MouseZoomButton, mzbRight);
    EXPECT_EQ(fresh.MouseSelectButton, mzbLeft);
    EXPECT_EQ(fresh.MouseRotateButton, mzbLeft);
    EXPECT_EQ(fresh.GraticuleDrawMode(), gdBehind);
    EXPECT_EQ(fresh.GlobeLayers().GlobalPresenters().ByID(-1, false)->ClassName(), "TPointPresenter");
    EXPECT_EQ(fresh.GlobeLayers().GlobalPresenters().ByID(-2, false)->ClassName(), "TPolyPresenter");
}

TEST_F(View, PropertiesRefuseOutOfRangeValues)
{
    globe.SetLatitudeStep(90);
    globe.SetLongitudeStep(180);
    EXPECT_EQ(globe.GraticuleLatitudeStep(), 15);
    EXPECT_EQ(globe.GraticuleLongitudeStep(), 15);
    globe.SetLatitudeStep(89);
    EXPECT_EQ(globe.GraticuleLatitudeStep(), 89);
    globe.SetDataDirectory("/data/geo");
    EXPECT_EQ(globe.DataDirectory(), "/data/geo/");
    globe.SetDataDirectory("");
    EXPECT_EQ(globe.DataDirectory(), "");
}

TEST_F(View, PolygonHalfBehindTheGlobeIsClosedAlongTheRimAndALineIsCut)
{
    // 60°E to 120°E: the part beyond 90°E is on the far side.
    Box(Source(), 60, -20, 120, 20);
    const QImage& image = Draw();
    const QPoint rim(100 + 88, 100); // just inside the rim at the equator
    EXPECT_EQ(At(image, rim.x(), rim.y()), kFill) << "filled up to the rim";
    EXPECT_EQ(At(image, 100 + 84, 100 - 25), kFill) << "the rim closes the polygon";
    EXPECT_EQ(At(image, 100 + 40, 100), kSurface) << "west of 60°E stays sea";

    UsePresenter(std::make_unique<TPolylinePresenter>(globe, 1));
    const QImage& lines = Draw();
    EXPECT_EQ(At(lines, rim.x(), rim.y()), kSurface) << "no fill";
    EXPECT_EQ(At(lines, 100 + 86, 100 - 10), kSurface) << "no line along the rim";
    const QPoint west = Device(60, 0);
    EXPECT_TRUE(Near(At(lines, west.x(), west.y()), kBorder)) << "the visible side is drawn";
}

TEST_F(View, RingsWhollyBehindTheGlobeLeaveTheRimAlone)
{
    // An island near 0° makes the object visible; its other island lies
    // behind the rim at 100°E to 110°E and must not leave a sliver there.
    TGeoDataObject* islands = Box(Source(), -5, -5, 5, 5);
    const QImage nearOnly = Draw().copy();
    TPointStore& far = islands->Chains().GetChain(1);
    for (auto [lon, lat] : {std::pair{100, -10}, {110, -10}, {110, 10}, {100, 10}})
        far.Add({Deg(lon), Deg(lat), 0});
    islands->RedrawObject();
    EXPECT_EQ(Draw(), nearOnly);
}

TEST_F(View, BackBufferTakesTheWindowsPixelFormat)
{
    TGlobeCanvas& canvas = globe.GlobeCanvas();
    Box(Source(), -20, -20, 20, 20);
    const QImage before = Draw().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(canvas.FollowWindowFormat(QImage::Format_ARGB32_Premultiplied));
    EXPECT_FALSE(canvas.FollowWindowFormat(QImage::Format_ARGB32_Premultiplied)) << "already";
    EXPECT_FALSE(canvas.FollowWindowFormat(QImage::Format_Mono)) << "not a format to draw in";
    EXPECT_EQ(canvas.BackBuffer.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(Draw().convertToFormat(QImage::Format_RGB32), before) << "the same pixels";
    // The window's own format comes back with the next paint.
    globe.repaint();
    QImage::Format window = QImage::Format_Invalid;
    if (auto* image = dynamic_cast<QImage*>(globe.backingStore()->paintDevice()))
        window = image->format();
    if (window == QImage::Format_RGB32 || window == QImage::Format_ARGB32_Premultiplied)
        EXPECT_EQ(canvas.BackBuffer.format(), window);
}

TEST_F(View, SelectedPolygonUsesTheSelectionColours)
{
    TGeoDataObject* box = Box(Source(), -20, -20, 20, 20);
    const QPoint corner = Device(-20, 0);
    EXPECT_EQ(At(Draw(), 100, 100), kFill);
    globe.GlobeLayers().SetSelectedObject(box);
    const QImage& image = Draw();
    EXPECT_EQ(At(image, 100, 100), 0x00FFFFu) << "SelectedBrush";
    EXPECT_TRUE(Near(At(image, corner.x(), corner.y()), 0x0000FF)) << "SelectedPen";
}

TEST_F(View, SquarePointIsEightPixelsAndHitsAnEightPixelSquare)
{
    auto points = std::make_unique<TPointPresenter>(globe, 2);
    points->PointType = ppSquare;
    points->PointSize = 8;
    points->PointPen.Define(0x0000FF, 0, 0, Pixel);
    points->PointBrush.Define(0x0000FF, 0);
    TPointPresenter* square = points.get();
    layer->Presenters().Add(std::move(points));
    auto* city = new TGeoDataObject(&Source());
    city->SetCentroid({0, 0, 0});
    city->SetPresenterID(2);
    const QImage& image = Draw();
    int inside = 0;
    for (int y = 90; y < 110; ++y)
        for (int x = 90; x < 110; ++x)
            inside += At(image, x, y) == 0x0000FFu;
    EXPECT_EQ(inside, 64);
    EXPECT_EQ(At(image, 96, 96), 0x0000FFu);
    EXPECT_EQ(At(image, 103, 103), 0x0000FFu);
    EXPECT_EQ(At(image, 104, 100), kSurface);

    const int32_t half = Round(4 / prj.ScaleFactor());
    EXPECT_TRUE(square->LLInObject(globe, {half - 2, 0, 0}, 0, *city));
    EXPECT_FALSE(square->LLInObject(globe, {half + 2, 0, 0}, 0, *city));
}

TEST_F(View, TinyObjectsAreOneGreyPixelAndZoomRangesAreKept)
{
    // Smaller than two pixels each way.
    const double d = 1.0 / (prj.ScaleFactor() * GU_DEGREE);
    Box(Source(), 10, 10, 10 + d, 10 + d);
    const QPoint sw = Device(10, 10);
    const QImage& image = Draw();
    EXPECT_EQ(At(image, sw.x(), sw.y()), 0x808080u);

    TGeoDataObject* big = Box(Source(), -30, -30, -10, -10);
    big->SetZoomMin(prj.Altitude() + 1);
    big->SetZoomMax(prj.Altitude() + 100);
    const QPoint centre = Device(-20, -20);
    EXPECT_EQ(At(Draw(), centre.x(), centre.y()), kSurface) << "outside its zoom range";
    big->SetZoomMin(0);
    big->SetZoomMax(0);
    EXPECT_EQ(At(Draw(), centre.x(), centre.y()), kFill) << "0 and 0 mean every altitude";
}

TEST_F(View, ObjectsWithPartsOnBothSidesOf180AreDrawn)
{
    // Parts on either side of 180° give a rectangle that runs past 180°,
    // the narrow way round.
    TGeoDataObject* object = Box(Source(), -20, -20, 20, 20);
    auto east = std::make_unique<TPointStore>();
    for (auto [lon, lat] : {std::pair{170.0, 0.0}, {180.0, 0.0}, {180.0, 5.0}})
        east->Add({Deg(lon), Deg(lat), 0});
    object->Chains().Add(std::move(east));
    auto west = std::make_unique<TPointStore>();
    for (auto [lon, lat] : {std::pair{-180.0, 0.0}, {-170.0, 0.0}, {-170.0, 5.0}})
        west->Add({Deg(lon), Deg(lat), 0});
    object->Chains().Add(std::move(west));
    const TMER mer = object->ObjectMER();
    EXPECT_EQ(mer.Long, Deg(-20));
    EXPECT_EQ(mer.Width, Deg(210));
    EXPECT_EQ(At(Draw(), 100, 100), kFill);
}

TEST_F(View, TransparentGlobeDrawsTheFarSideFirst)
{
    Box(Source(), 160, -10, 200, 10); // around 180°, hidden behind
    globe.SetGlobeOptions(globe.GlobeOptions() | GlobeOption(goTransparentGlobe));
    globe.SetColor(0x000000);
    const QImage& image = Draw();
    EXPECT_EQ(At(image, 100, 100), 0xC0C0C0u) << "the far side in the transparent brush";
    EXPECT_EQ(At(image, 100, 40), 0x000000u) << "no surface disc";
}

TEST_F(View, TitlesBelowTheMinimumTextHeightAreNotDrawn)
{
    TGeoDataObject* box = Box(Source(), -40, -5, 40, 5);
    box->SetTitle("WWWWWW");
    presenter->PolyBrush.SetBrushColor(0xFFFFFF);
    presenter->PolyPen.SetPenColor(0xFFFFFF);
    presenter->TitleAlignment = taCenter;
    presenter->TitleFont.Define("Arial", 0x000000, 4, Pixel, 0, fsBold);
    auto darkPixels = [&] {
        const QImage& image = Draw();
        int n = 0;
        for (int y = 96; y < 105; ++y)
            for (int x = 60; x < 140; ++x)
                n += At(image, x, y) != 0xFFFFFFu && At(image, x, y) != kSurface;
        return n;
    };
    EXPECT_EQ(darkPixels(), 0);
    presenter->TitleFont.SetFontSize(14);
    EXPECT_GT(darkPixels(), 30);
}

TEST_F(View, DegenerateObjectsDrawWithoutHarm)
{
    TGlobeObjectSource& source = Source();
    new TGeoDataObject(&source);                                   // no chains
    Ring(source, {{10, 10}}, true);                                // one point
    Ring(source, {{5, 5}, {5, 5}, {5, 5}}, true);                  // all points equal
    Ring(source, {{-180, -60}, {-90, -60}, {0, -60}, {90, -60}, {180, -60}}, true); // round a pole
    auto* zigzag = Ring(source, {}, false);                        // across 180° many times
    for (int i = 0; i < 200; ++i)
        zigzag->Chains().GetChain(0).Add({Deg(i % 2 ? 179 : -179), Deg(i * 0.3 - 30), 0});
    auto* huge = Ring(source, {}, true);                           // more points than the arrays hold
    for (int i = 0; i < ScratchPointCount + 100; ++i)
        huge->Chains().GetChain(0).Add({Deg(-50 + (i % 2) * 100), Deg(-60 + 120.0 * i / ScratchPointCount), 0});
    prj.SetScaleFactor(prj.ScaleFactor() * 3);
    for (double y : {0.0, 90.0, 179.0}) {
        prj.SetYRotation(y);
        EXPECT_NO_THROW(Draw());
    }
    prj.SetXRotation(-80);
    EXPECT_NO_THROW(Draw());
}

TEST_F(View, RedrawRequestsMergeIntoOnePaint)
{
    int renders = 0, paints = 0;
    globe.OnRender = [&](TGlobeView*) { ++renders; };
    globe.OnPaint = [&](TGlobeView*) { ++paints; };
    globe.repaint();
    renders = paints = 0;
    for (int i = 0; i < 5; ++i)
        globe.RedrawLayers();
    globe.repaint();
    globe.repaint();
    EXPECT_EQ(renders, 1) << "one full drawing";
    EXPECT_EQ(paints, 2) << "the second paint only copies the back buffer";
    EXPECT_FALSE(globe.RedrawNeeded());
}

// --- mouse ---

namespace {
struct Mouse : View {
    TGeoDataObject* box = nullptr;
    std::vector<TGlobeObject*> clicks;
    int downs = 0;
    void SetUp() override
    {
        View::SetUp();
        box = Box(Source(), -20, -20, 20, 20);
        globe.OnObjectClick = [this](TGlobeView*, TGlobeObject* o) { clicks.push_back(o); };
        globe.OnMouseDown = [this](TGlobeView*, TGlobeMouseButton, TShiftState, int, int) { ++downs; };
    }
};
} // namespace

TEST_F(Mouse, PressesSelectClickAndRotateByTheirButtons)
{
    struct Case {
        TGlobeMouseButton select;
        TGlobeMouseButton button;
        TShiftState shift;
        bool selected, clicked, rotating;
    } cases[] = {
        {mzbLeft, mzbLeft, 0, true, true, true},
        {mzbNone, mzbLeft, 0, false, true, true},
        {mzbNone, mzbRight, 0, false, true, false},
        {mzbLeft, mzbLeft, ssShift, false, false, false},
        {mzbLeft, mzbLeft, ssDouble, false, false, false},
    };
    for (const Case& c : cases) {
        globe.GlobeLayers().SetSelectedObject(nullptr);
        clicks.clear();
        globe.MouseSelectButton = c.select;
        globe.MouseDown(c.button, c.shift, 110, 100);
        EXPECT_EQ(box->Selected(), c.selected) << c.button << "/" << int(c.shift);
        EXPECT_EQ(clicks.size(), c.clicked ? 1u : 0u) << c.button << "/" << int(c.shift);
        EXPECT_EQ(globe.Rotating(), c.rotating) << c.button << "/" << int(c.shift);
        globe.MouseUp(c.button, 0, 100, 100);
    }
    globe.MouseDown(mzbLeft, 0, 2, 2);
    EXPECT_FALSE(globe.Rotating()) << "off the globe";
    EXPECT_EQ(globe.GlobeLayers().SelectedObject(), nullptr);
}

TEST_F(Mouse, CtrlTogglesTheSelectionWithMultiSelect)
{
    globe.SetGlobeOptions(globe.GlobeOptions() | GlobeOption(goMultiSelect));
    globe.MouseDown(mzbLeft, ssCtrl, 110, 100);
    EXPECT_TRUE(box->Selected());
    EXPECT_TRUE(clicks.empty());
    globe.MouseDown(mzbLeft, ssCtrl, 110, 100);
    EXPECT_FALSE(box->Selected());
}

TEST_F(Mouse, DraggingTurnsTheGlobeAndStopsOffTheGlobe)
{
    globe.MouseDown(mzbLeft, 0, 100, 100);
    globe.MouseMove(0, 130, 100);
    const double turned = prj.YRotation();
    EXPECT_LT(turned, -15) << "the point grabbed follows the mouse eastwards";
    const QPoint grabbed = Device(0, 0);
    EXPECT_NEAR(grabbed.x(), 130, 1);
    globe.MouseMove(0, 199, 1);
    EXPECT_EQ(prj.YRotation(), turned) << "off the globe nothing turns";
    globe.MouseUp(mzbLeft, 0, 199, 1);
    EXPECT_FALSE(globe.Rotating());
}

TEST_F(Mouse, ZoomDragFillsTheControlWithTheRectangle)
{
    globe.MouseSelectButton = mzbNone;
    const double before = prj.ScaleFactor();
    // Too small, and dragged up and to the left: only a repaint.
    for (QPoint end : {QPoint(105, 150), QPoint(60, 60)}) {
        globe.MouseDown(mzbRight, 0, 100, 100);
        globe.MouseMove(0, end.x(), end.y());
        globe.MouseUp(mzbRight, 0, end.x(), end.y());
        EXPECT_EQ(prj.ScaleFactor(), before);
    }
    // A press during the drag cancels it without any other effect.
    globe.MouseDown(mzbRight, 0, 100, 100);
    clicks.clear();
    downs = 0;
    globe.MouseDown(mzbLeft, 0, 100, 100);
    EXPECT_FALSE(globe.ZoomDragging());
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(downs, 0);
    globe.MouseUp(mzbLeft, 0, 100, 100);
    EXPECT_EQ(prj.ScaleFactor(), before);

    TPointLL centre;
    prj.DeviceXYToLL(125, 110, centre);
    globe.MouseDown(mzbRight, 0, 100, 100);
    globe.MouseMove(0, 150, 120);
    globe.MouseUp(mzbRight, 0, 150, 120);
    EXPECT_NEAR(prj.ScaleFactor() / before, 4.0, 0.05) << "50 × 20 pixels fill 200 × 200";
    TPointLL now;
    prj.DeviceXYToLL(100, 100, now);
    EXPECT_NEAR(now.Long, centre.Long, Deg(0.5));
    EXPECT_NEAR(now.Lat, centre.Lat, Deg(0.5));
    // The scale stops at 3.
    globe.SetViewRect(0, 0, 1, 1);
    EXPECT_DOUBLE_EQ(prj.ScaleFactor(), 3.0);
    const QImage& image = Draw();
    EXPECT_FALSE(image.isNull());
}

TEST_F(Mouse, WheelAndKeysFollowTheMouseButtonRules)
{
    const double scale = prj.ScaleFactor();
    QWheelEvent wheel(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&globe, &wheel);
    EXPECT_NEAR(prj.ScaleFactor() / scale, 1.25, 1e-9);
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(&globe, &left);
    EXPECT_LT(prj.YRotation(), 0);

    globe.MouseZoomButton = mzbNone;
    globe.MouseRotateButton = mzbNone;
    const double rotation = prj.YRotation();
    const double zoomed = prj.ScaleFactor();
    QApplication::sendEvent(&globe, &wheel);
    QApplication::sendEvent(&globe, &left);
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier);
    QApplication::sendEvent(&globe, &plus);
    EXPECT_EQ(prj.ScaleFactor(), zoomed);
    EXPECT_EQ(prj.YRotation(), rotation);
}

// --- view operations ---

TEST_F(View, ViewRectPanAndPositions)
{
    int zoomed = 0, panned = 0;
    globe.OnZoomed = [&](TGlobeView*) { ++zoomed; };
    globe.OnPanned = [&](TGlobeView*) { ++panned; };
    const TGlobePOZ start = globe.GetPOZ();

    const QRect view = globe.ViewRect();
    globe.SetViewRect(0, 0, view.width(), view.height());
    EXPECT_EQ(zoomed, 0) << "the same scale changes nothing";
    globe.SetViewRect(0, 0, 0, 10);
    EXPECT_NEAR(prj.ScaleFactor(), 200.0 / (2.0 * EARTHRADIUS), 1e-12) << "fits the whole globe";
    EXPECT_EQ(zoomed, 1) << "only the scale's own change";

    globe.PanViewXY(0, 0);
    EXPECT_EQ(panned, 0);
    EXPECT_TRUE(globe.RedrawNeeded());
    globe.PanViewXY(Round(10 / prj.ScaleFactor()), 0);
    EXPECT_EQ(prj.XOrigin(), 90);
    EXPECT_EQ(panned, 1);

    globe.LocateToLL(Deg(30), Deg(40));
    EXPECT_NEAR(prj.CenterLongitude(), 30, 1e-3);
    EXPECT_NEAR(prj.CenterLatitude(), 40, 1e-3);

    globe.SetPOZ(start);
    const TGlobePOZ back = globe.GetPOZ();
    EXPECT_DOUBLE_EQ(back.ScaleFactor, start.ScaleFactor);
    EXPECT_EQ(back.CenterX, start.CenterX);
    EXPECT_EQ(back.YRotation, start.YRotation);
    EXPECT_EQ(back.XRotation, start.XRotation);
}

TEST_F(View, ZoomToSelectedObjects)
{
    ZoomToSelectedObjects(globe); // nothing selected: nothing happens
    auto* city = new TGeoDataObject(&Source());
    city->SetCentroid({Deg(40), Deg(10), 0});
    globe.GlobeLayers().SetSelectedObject(city);
    prj.SetScaleFactor(1e-5);
    ZoomToSelectedObjects(globe);
    EXPECT_NEAR(prj.ScaleFactor(), 200.0 / (2.0 * EARTHRADIUS), 1e-12) << "a point fits the whole globe";
    EXPECT_NEAR(prj.CenterLongitude(), 40, 1e-3);
    EXPECT_NEAR(prj.CenterLatitude(), 10, 1e-3);

    TGeoDataObject* box = Box(Source(), -10, -5, 10, 5);
    globe.GlobeLayers().SetSelectedObject(box);
    ZoomToSelectedObjects(globe);
    EXPECT_NEAR(prj.ScaleFactor(), 200.0 / Deg(20), 1e-12) << "20° fill the width";
}

TEST_F(View, RenderToCanvasCopiesTheViewWithAFrame)
{
    Box(Source(), -20, -20, 20, 20);
    const QImage window = Draw().copy();
    QImage target(220, 220, QImage::Format_RGB32);
    target.fill(Qt::white);
    int nested = 0;
    globe.OnPaint = [&](TGlobeView* g) {
        ++nested;
        QPainter inner(&target);
        g->RenderToCanvas(inner, QRect(0, 0, 10, 10)); // does nothing while rendering
    };
    {
        QPainter painter(&target);
        globe.RenderToCanvas(painter, QRect(10, 10, 200, 200));
    }
    EXPECT_EQ(nested, 1);
    int differences = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            differences += target.pixel(x + 10, y + 10) != window.pixel(x, y);
    EXPECT_EQ(differences, 0);
    for (QPoint p : {QPoint(9, 9), QPoint(210, 100), QPoint(100, 210), QPoint(9, 150)})
        EXPECT_EQ(At(target, p.x(), p.y()), 0x000000u) << p.x() << "," << p.y();
    EXPECT_EQ(At(target, 8, 8), 0xFFFFFFu);
    EXPECT_EQ(globe.SurfaceSize(), QSize(200, 200)) << "the control's own canvas is back";
}

// --- memory account ---

namespace {
// Loads a 1,000-point outline for every entry, as a file reader would.
class LoadingSource : public TGlobeObjectSource {
public:
    LoadingSource(TCustomGlobeView& globe, int count) : TGlobeObjectSource(globe) { SetCount(count); }
    TGlobeObject* LoadObject(int i, bool) override
    {
        auto* object = new TGeoDataObject(this);
        TPointStore& ring = object->Chains().GetChain(0);
        for (int k = 0; k < 1000; ++k)
            ring.Add({Deg(i % 90) + k * 100, Deg(k % 10), 0});
        return object;
    }
};
} // namespace

TEST_F(View, CacheIsTrimmedBelowThreeQuartersOfItsCapacity)
{
    globe.CacheCapacity = 500;
    auto* source = new LoadingSource(globe, 200); // the globe owns it
    int reductions = 0;
    globe.OnReduceCacheMemory = [&](TGlobeView*) { ++reductions; };
    int64_t peak = 0;
    for (int i = 0; i < source->Count(); ++i) {
        source->GetObject(i);
        peak = std::max<int64_t>(peak, globe.GetCacheMemoryUsed());
    }
    EXPECT_GT(reductions, 0);
    EXPECT_LE(peak, 512000 + 9000) << "never far above the capacity (one object)";
    EXPECT_LT(globe.GetCacheMemoryUsed(), 512000);
    EXPECT_LE(globe.UpdateTotalMemoryInUse(), 512000);
    EXPECT_EQ(source->GetDataPtr(0).Object, nullptr) << "the oldest went first";
    EXPECT_NE(source->GetDataPtr(source->Count() - 1).Object, nullptr);
    globe.ReduceCacheMemory(384000);
    EXPECT_LT(globe.UpdateTotalMemoryInUse(), 384000);
}

TEST(GlobeViewLife, SharedArraysLiveWithTheGlobesAndSourcesAreFreed)
{
    {
        TGlobeView a;
        {
            TGlobeView b;
            new TGlobeObjectSource(b);
            new TGlobeObjectSource(b);
            EXPECT_EQ(b.Sources().size(), 2u);
        }
        EXPECT_TRUE(SharedPointArraysAllocated()) << "one globe is still alive";
    }
    EXPECT_FALSE(SharedPointArraysAllocated());
    TGlobeView c;
    EXPECT_TRUE(SharedPointArraysAllocated());
}
