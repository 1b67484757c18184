// Circles and great circles drawn by the globe control, and brushes in
// system colours.

#include "ViewFixture.h"

#include "globe/GlobeGreatCircle.h"

#include <QPalette>

namespace {
constexpr uint32_t kRed = 0x0000FF;

// True when a pixel within one pixel of (x, y) has the colour.
bool Around(const QImage& image, int x, int y, uint32_t colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (Near(At(image, x + dx, y + dy), colour))
                return true;
    return false;
}

struct Curves : View {
    // Draws with the canvas's own pen and brush from the globe's render event.
    void DrawWith(std::function<void(TGlobeView&)> draw)
    {
        globe.OnRender = [draw](TGlobeView* g) {
            TGlobeCanvas& canvas = g->GlobeCanvas();
            canvas.Pen.Define(kRed, 0, 1, Pixel);
            canvas.Brush.Define(kRed, 0);
            canvas.Pen.RenderAttribute(canvas, false);
            canvas.Brush.RenderAttribute(canvas, false);
            draw(*g);
        };
    }
};
} // namespace

TEST(GreatCircle, PointsLieOnTheCircleAndEndAtThePlaces)
{
    // From the equator at 0° to the north pole: a quarter of a meridian.
    const std::vector<TPointLL> quarter = GreatCirclePoints({0, 0, 0}, {0, Deg(90), 0}, gcShortArc);
    ASSERT_EQ(quarter.size(), 91u) << "a point every degree";
    EXPECT_EQ(quarter.front(), (TPointLL{0, 0, 0}));
    EXPECT_EQ(quarter.back(), (TPointLL{0, Deg(90), 0}));
    EXPECT_NEAR(quarter[45].Lat, Deg(45), 2);
    EXPECT_NEAR(quarter[45].Long, 0, 2);

    // The long way from 10° E to 20° E along the equator passes 180°.
    const std::vector<TPointLL> longWay = GreatCirclePoints({Deg(10), 0, 0}, {Deg(20), 0, 0}, gcLongArc);
    EXPECT_EQ(longWay.size(), 351u);
    EXPECT_NEAR(std::abs(longWay[190].Long), Deg(180), 2);

    // Two places at 30° N, 120° of longitude apart: the arc bulges towards
    // the pole, to atan(tan 30° / cos 60°) = 49.1° halfway.
    const std::vector<TPointLL> bulge = GreatCirclePoints({Deg(-60), Deg(30), 0}, {Deg(60), Deg(30), 0}, gcShortArc);
    const TPointLL middle = bulge[bulge.size() / 2];
    EXPECT_NEAR(middle.Long, 0, Deg(0.01));
    EXPECT_NEAR(middle.Lat / double(GU_DEGREE), 49.1, 0.05);

    EXPECT_EQ(GreatCirclePoints({Deg(5), Deg(5), 0}, {Deg(5), Deg(5), 0}, gcShortArc).size(), 1u);
    // Antipodes: any great circle through both will do; it is half a turn long.
    const std::vector<TPointLL> half = GreatCirclePoints({0, 0, 0}, {Deg(180), 0, 0}, gcShortArc);
    EXPECT_EQ(half.size(), 181u);
    EXPECT_EQ(half.back(), (TPointLL{Deg(180), 0, 0}));
}

TEST(GreatCircle, CircleCornersAreAtTheRadius)
{
    // 10° around the north pole is the parallel at 80° N.
    for (const TPointLL& p : CirclePoints({Deg(30), Deg(90), 0}, Deg(10), 36))
        EXPECT_NEAR(p.Lat, Deg(80), 2);
    const std::vector<TPointLL> around = CirclePoints({0, 0, 0}, Deg(20), 4);
    ASSERT_EQ(around.size(), 4u);
    EXPECT_NEAR(around[0].Lat, Deg(20), 2) << "first corner due north";
    EXPECT_NEAR(around[1].Long, Deg(20), 2) << "then east";
    EXPECT_EQ(CirclePoints({0, 0, 0}, Deg(20), 1).size(), 3u) << "at least a triangle";
    EXPECT_TRUE(CirclePoints({0, 0, 0}, 0, 36).empty());
}

TEST_F(Curves, CircleIsRoundAndClosedAlongTheRimWhereItPassesBehind)
{
    // The globe's radius is 90 pixels around (100, 100): a circle of 30°
    // around the centre is 45 pixels wide; one around 90° E lies half behind.
    DrawWith([](TGlobeView& g) {
        g.RenderCircle({0, 0, 0}, Deg(30), 72);
        g.RenderCircle({Deg(90), 0, 0}, Deg(30), 72);
    });
    const QImage& image = Draw();
    for (QPoint inside : {QPoint(100, 100), QPoint(140, 100), QPoint(100, 60), QPoint(70, 130), QPoint(186, 100),
                          QPoint(184, 112)})
        EXPECT_EQ(At(image, inside.x(), inside.y()), kRed) << inside.x() << "," << inside.y();
    for (QPoint outside : {QPoint(150, 100), QPoint(100, 150), QPoint(165, 60)})
        EXPECT_EQ(At(image, outside.x(), outside.y()), kSurface) << outside.x() << "," << outside.y();
}

TEST_F(Curves, GreatCircleLineIsACurveCutAtTheHorizon)
{
    DrawWith([](TGlobeView& g) {
        g.RenderGreatCircleLine({Deg(-60), Deg(30), 0}, {Deg(60), Deg(30), 0});
        g.RenderGreatCircleLine({Deg(60), Deg(20), 0}, {Deg(170), Deg(20), 0});
    });
    const QImage& image = Draw();
    // Halfway the first arc is at 49.1° N, 90 · sin 49.1° = 68 pixels up;
    // a line along the parallel would pass 45 pixels up.
    EXPECT_TRUE(Around(image, 100, 32, kRed));
    EXPECT_EQ(At(image, 100, 55), kSurface);
    // The second starts at (173, 69) and leaves the visible side at 90° E;
    // its far part (at 115° E, 32.4° N it would show at (169, 52)) is not drawn.
    EXPECT_TRUE(Around(image, 173, 69, kRed));
    EXPECT_EQ(At(image, 169, 52), kSurface);
    EXPECT_EQ(At(image, 115, 69), kSurface);
}

TEST_F(View, BrushesInSystemColoursTakeThePalettesColours)
{
    Box(Source(), -20, -20, 20, 20);
    const QPalette palette = QGuiApplication::palette();
    const struct {
        uint32_t color;
        QColor expected;
    } cases[] = {
        {0x8000000F, palette.color(QPalette::Active, QPalette::Button)},
        {0x80000005, palette.color(QPalette::Active, QPalette::Base)},
        {0x8000000D, palette.color(QPalette::Active, QPalette::Highlight)},
        {0x800000FF, QColor(Qt::black)}, // no such system colour
        {0x00336699, QColor(0x99, 0x66, 0x33)},
    };
    for (const auto& c : cases) {
        presenter->PolyBrush.SetBrushColor(c.color);
        EXPECT_EQ(Draw().pixelColor(100, 100), c.expected) << std::hex << c.color;
    }

    // A changed desktop palette shows at the next paint.
    presenter->PolyBrush.SetBrushColor(0x8000000F);
    Draw();
    QPalette changed = palette;
    changed.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(changed);
    QCoreApplication::processEvents();
    EXPECT_EQ(Draw().pixelColor(100, 100), QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(palette);
}
