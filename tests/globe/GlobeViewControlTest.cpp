// The globe control's scroll bars and its long drawing passes: progressive
// display and interruption by a drag.

#include "ViewFixture.h"

#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <thread>

namespace {
// A globe inside a parent window, where its scroll bars show.
struct Bars : ::testing::Test {
    QWidget parent;
    TGlobeView* globe = new TGlobeView(&parent);
    TGlobeProjection& prj = globe->Projection();
    QScrollBar& horizontal = globe->ScrollBar(Qt::Horizontal);
    QScrollBar& vertical = globe->ScrollBar(Qt::Vertical);

    void SetUp() override
    {
        parent.resize(300, 260);
        globe->setGeometry(0, 0, 300, 260);
        parent.show();
        QCoreApplication::processEvents();
        prj.SetScaleFactor(90.0 / EARTHRADIUS);
        prj.SetGlobeCenterXY(QPoint(globe->SurfaceSize().width() / 2, globe->SurfaceSize().height() / 2));
    }
};
} // namespace

TEST_F(Bars, BarsTakeTheirRoomFromTheSurfaceAsTheStyleSays)
{
    const int across = vertical.width(), down = horizontal.height();
    ASSERT_GT(across, 0);
    EXPECT_EQ(globe->SurfaceSize(), QSize(300 - across, 260 - down));
    EXPECT_TRUE(horizontal.isVisible() && vertical.isVisible());

    globe->SetScrollBars(ssVertical);
    EXPECT_EQ(globe->SurfaceSize(), QSize(300 - across, 260));
    EXPECT_FALSE(horizontal.isVisible());
    globe->SetScrollBars(ssNone);
    EXPECT_EQ(globe->SurfaceSize(), QSize(300, 260));
    EXPECT_FALSE(vertical.isVisible());

    // Without a parent there are no bars at all.
    TGlobeView alone;
    alone.resize(200, 200);
    alone.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(alone.SurfaceSize(), QSize(200, 200));
}

TEST_F(Bars, BarsShowTheViewAndPanItByTheirSteps)
{
    // The page is the window's width in GU; the centred globe puts the
    // thumb in the middle of the range.
    const int width = globe->SurfaceSize().width();
    EXPECT_EQ(horizontal.pageStep(), globe->ViewRect().width());
    EXPECT_NEAR(horizontal.value() + horizontal.pageStep() / 2.0,
                (horizontal.minimum() + horizontal.maximum() + horizontal.pageStep() - 1) / 2.0, 2);

    const int page = horizontal.pageStep();
    const int origin = prj.XOrigin();
    horizontal.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_NEAR(prj.XOrigin(), origin - (page / 20) * prj.ScaleFactor(), 1) << "a line is a twentieth of the page";
    horizontal.triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_NEAR(prj.XOrigin(), origin - (page / 20 - page / 2) * prj.ScaleFactor(), 1);
    EXPECT_NEAR(horizontal.value(), -Round((prj.XOrigin() - width / 2) / prj.ScaleFactor() + page / 2), 1)
        << "the bar follows the view";

    // Dragging the thumb pans by the distance it was dragged.
    const int before = prj.YOrigin();
    const int step = vertical.pageStep() / 10;
    vertical.setSliderDown(true);
    vertical.setSliderPosition(vertical.value() + step);
    vertical.setSliderDown(false);
    EXPECT_NEAR(prj.YOrigin(), before - step * prj.ScaleFactor(), 1);

    // The view never leaves the range: the globe's centre stays within the
    // globe's radius and half a window of the window's centre.
    for (int i = 0; i < 40; ++i)
        horizontal.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_LE(std::abs(prj.XOrigin() - width / 2), 90 + width / 2 + 1);
    EXPECT_NEAR(horizontal.value(), horizontal.maximum(), 1);
}

TEST_F(View, ZoomingToARectangleTellsTheScaleChangeAndTheZoom)
{
    int zoomed = 0;
    globe.OnZoomed = [&](TGlobeView*) { ++zoomed; };
    const QRect view = globe.ViewRect();
    globe.SetViewRect(view.width() / 4, view.height() / 4, view.width() / 2, view.height() / 2);
    EXPECT_EQ(zoomed, 2);
    EXPECT_NEAR(prj.ScaleFactor(), 180.0 / EARTHRADIUS, 1e-12);
}

TEST_F(View, ADenseScreenGetsTheGlobeAtItsOwnResolution)
{
    Box(Source(), -30, -20, 30, 20);
    const QImage plain = Draw().copy();
    TGlobeCanvas& canvas = globe.GlobeCanvas();
    ASSERT_TRUE(canvas.FollowPixelRatio(2));
    EXPECT_FALSE(canvas.FollowPixelRatio(2));
    const QImage dense = Draw().copy();
    ASSERT_EQ(dense.size(), QSize(400, 400));
    EXPECT_EQ(dense.devicePixelRatio(), 2);
    EXPECT_EQ(globe.SurfaceSize(), QSize(200, 200));
    // Every part of the picture is where it is at a ratio of 1, twice as fine.
    for (const QPoint p : {Device(0, 0), Device(0, 40), Device(60, 0), QPoint(2, 2)})
        EXPECT_EQ(At(dense, 2 * p.x(), 2 * p.y()), At(plain, p.x(), p.y())) << p.x() << "," << p.y();
    const QPoint edge = Device(30, 0);
    int border = 0;
    for (int x = 2 * edge.x() - 3; x <= 2 * edge.x() + 3; ++x)
        border += Near(At(dense, x, 2 * edge.y()), kBorder);
    EXPECT_GE(border, 1);
    // The bands of the raster threads meet without a seam at this ratio too.
    canvas.UseRasterThreads = false;
    EXPECT_EQ(Draw(), dense);
}

namespace {
// A layer of 1,024 objects drawn by the render event, each one pixel of its
// own: object k at (10 + k % 180, top + 2 · (k / 180)).
struct LongPass : View {
    int drawn = 0;
    int top = 10;
    std::function<void(int)> during = [](int) {};

    QPoint PixelOf(int k) const { return {10 + k % 180, top + 2 * (k / 180)}; }
    void SetUp() override
    {
        View::SetUp();
        for (int k = 0; k < 1024; ++k) {
            auto* object = new TGeoDataObject(&Source());
            object->SetCentroid({0, 0, 0});
        }
        globe.OnObjectRender = [this](TGlobeView* g, TGlobeObject*, TGlobeObjectState) {
            const QPoint p = PixelOf(drawn);
            g->GlobeCanvas().SetPixel(p.x(), p.y(), 0x0000FF);
            during(drawn++);
        };
    }
    bool ShownRed(const QImage& shown, int k) const
    {
        const QPoint p = PixelOf(k);
        return At(shown, p.x(), p.y()) == 0x0000FF;
    }
    // A paint as the window system asks for it.
    void Paint()
    {
        drawn = 0;
        globe.RedrawLayers();
        globe.repaint();
    }
    // What the window shows at this moment.
    QImage Shown() { return globe.screen()->grabWindow(globe.winId()).toImage(); }
};
} // namespace

TEST_F(LongPass, ALongPassShowsWhatItHasDrawnAtTheInterval)
{
    for (int period : {0, 10}) {
        globe.SetPeriodicUpdateTime(period);
        top = period == 0 ? 10 : 40; // each pass draws where the other did not
        QImage shown;
        during = [&](int k) {
            if (k == 300) // the pass gets slow here
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
            if (k == 600)
                shown = Shown();
        };
        Paint();
        ASSERT_EQ(drawn, 1024);
        ASSERT_FALSE(shown.isNull());
        // With an interval the window got the picture at the check after
        // object 511; object 520 came later.
        const bool progressive = period > 0;
        EXPECT_EQ(ShownRed(shown, 100), progressive) << period;
        EXPECT_EQ(ShownRed(shown, 511), progressive) << period;
        EXPECT_FALSE(ShownRed(shown, 520)) << period;
        EXPECT_TRUE(ShownRed(Shown(), 1023)) << "the finished picture shows";
    }
}

TEST_F(LongPass, ADragStopsAnInterruptablePassAndAsksForAnotherRedraw)
{
    for (bool interruptable : {false, true}) {
        TGlobeOptionsSet options = GlobeOption(goCache3DPoints) | GlobeOption(goDoubleBuffered);
        if (interruptable)
            options |= GlobeOption(goInterruptable);
        globe.SetGlobeOptions(options);
        globe.MouseDown(mzbLeft, 0, 100, 100); // starts turning the globe
        const double rotation = prj.YRotation();
        during = [&](int k) {
            if (k == 10) {
                auto* move = new QMouseEvent(QEvent::MouseMove, QPointF(130, 100), QPointF(130, 100),
                                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::postEvent(&globe, move);
            }
        };
        Paint();
        if (interruptable) {
            EXPECT_EQ(drawn, 256) << "stopped at the first check after the move";
            EXPECT_NE(prj.YRotation(), rotation) << "the move was handled inside the pass";
            EXPECT_TRUE(globe.RedrawNeeded()) << "a new picture is asked for";
        } else {
            EXPECT_EQ(drawn, 1024);
            EXPECT_EQ(prj.YRotation(), rotation) << "the move waits for the paint";
        }
        QCoreApplication::processEvents();
        globe.MouseUp(mzbLeft, 0, 130, 100);
        prj.SetYRotation(0);
    }
}

TEST_F(LongPass, AResizeDuringAnInterruptablePassWaitsForItsEnd)
{
    // The pass lets events run; a resize among them (the window manager's,
    // the user's) must not pull the back buffer from under the painters
    // still drawing into it.
    globe.SetGlobeOptions(GlobeOption(goCache3DPoints) | GlobeOption(goDoubleBuffered) | GlobeOption(goInterruptable));
    during = [&](int k) {
        if (k == 10)
            globe.resize(260, 240);
    };
    Paint();
    EXPECT_TRUE(globe.RedrawNeeded()) << "the new size asks for a new picture";
    during = [](int) {};
    QCoreApplication::processEvents();
    EXPECT_EQ(globe.SurfaceSize(), QSize(260, 240));
    Paint();
    EXPECT_EQ(globe.GlobeCanvas().BackBuffer.size(), QSize(260, 240));
    EXPECT_TRUE(ShownRed(globe.GlobeCanvas().BackBuffer, 1000)) << "the pass at the new size drew everything";
}
