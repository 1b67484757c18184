// The shipped world drawn by the globe's fast paths (3D points kept from
// paint to paint for open lines and the graticule, visibility from bounding
// caps, pixels set in bands on the raster threads) must give the very pixels
// of the plain paths: points converted from longitude and latitude on every
// paint, rectangles sampled every 15°, everything drawn on the window thread.

#include "globe/GlobeLayer.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeSphericalPrj.h"
#include "globe/GlobeView.h"
#include "tools/globe-viewer/SampleData.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

const QString kShipped = QStringLiteral(ORBILO_SOURCE_DIR "/data/Data");

// The sphere with the rectangle test of the plain path.
class TSampledSphere : public TSphericalPrj {
public:
    using TSphericalPrj::TSphericalPrj;
    bool VisibleMER(const TMER& mer, const TBoundingCap&, TGlobeObjectState& state) override
    {
        return TProjectionModel::VisibleMER(mer, state);
    }
};

// Countries, lakes and rivers of the shipped data in the colours of a
// globe lesson, on a globe of the map's look.
struct World {
    TGlobeView globe;

    World(bool plain, QSize size)
    {
        globe.resize(size);
        globe.show();
        QCoreApplication::processEvents();
        globe.SetSurfaceColor(0x804000);
        globe.GraticulePen().SetPenColor(0x6A3500);
        // A label drawn last must stay on top of everything queued before it.
        globe.OnRender = [](TGlobeView* g) { g->RenderTextOut(10 * GU_DEGREE, 50 * GU_DEGREE, QStringLiteral("Europa")); };
        if (plain) {
            globe.GlobeCanvas().UseRasterThreads = false;
            globe.SetGlobeOptions(globe.GlobeOptions() & ~GlobeOption(goCache3DPoints));
            globe.Projection().SetProjectionModel(std::make_unique<TSampledSphere>(globe.Projection()));
        }
        Add(QStringLiteral("Land"), true, 0x9FD7F5, 0x000000);
        Add(QStringLiteral("See"), true, 0xE0B080, 0xE0B080);
        Add(QStringLiteral("Fluss"), false, 0, 0xFF4646);
    }

    void Add(const QString& section, bool polygons, uint32_t fill, uint32_t line)
    {
        auto* layer = new TGlobeLayer(globe);
        QString error;
        ASSERT_GT(LoadIndexSection(kShipped, section, layer->GetObjects(), error), 0) << qPrintable(error);
        std::unique_ptr<TPolyPresenter> p;
        if (polygons)
            p = std::make_unique<TPolygonPresenter>(globe, 1);
        else
            p = std::make_unique<TPolylinePresenter>(globe, 1);
        p->PolyPen.Define(line, 0, 1, Pixel);
        p->PolyBrush.Define(fill, 0);
        layer->Presenters().Add(std::move(p));
        TGlobeObjectSource& source = layer->GetObjects();
        for (int i = 0; i < source.Count(); ++i)
            source.GetObject(i)->SetPresenterID(1);
    }

    // Two paints: the first fills the caches, the second draws from them.
    QImage Draw()
    {
        globe.RenderBackBuffer();
        globe.RenderBackBuffer();
        return globe.GlobeCanvas().BackBuffer.convertToFormat(QImage::Format_RGB32);
    }
};

struct View {
    const char* name;
    double xRotation, yRotation, zoom;
    bool antialiased = true;
    bool transparent = false;
};

int DifferentPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

TEST(GlobeDrawIdentity, FastPathsDrawThePixelsOfThePlainOnes)
{
    const View views[] = {
        {"tilted", 40, 20, 1},
        {"aliased", 40, 20, 1, false},
        {"Pacific across 180 degrees", 10, 180, 1},
        {"from the north pole", 90, 0, 1},
        {"from the south pole", -90, 0, 1},
        {"zoomed on Europe", 50, 10, 8},
        {"zoomed on the Bering Strait", 65, -170, 6},
        {"transparent globe", 30, 60, 1, true, true},
    };
    World fast(false, {500, 500});
    World plain(true, {500, 500});
    for (const View& view : views) {
        QImage pictures[2];
        int k = 0;
        for (World* world : {&fast, &plain}) {
            TGlobeView& g = world->globe;
            g.GlobeCanvas().Antialiased = view.antialiased;
            TGlobeOptionsSet options = g.GlobeOptions() & ~GlobeOption(goTransparentGlobe);
            if (view.transparent)
                options |= GlobeOption(goTransparentGlobe);
            g.SetGlobeOptions(options);
            TGlobeProjection& prj = g.Projection();
            prj.SetScaleFactor(0);
            prj.SetXRotation(view.xRotation);
            prj.SetYRotation(view.yRotation);
            prj.SetScaleFactor(prj.ScaleFactor() * view.zoom);
            pictures[k++] = world->Draw();
        }
        if (qEnvironmentVariableIsSet("ORBILO_TEST_PNG"))
            pictures[0].save(QStringLiteral("/tmp/identity-%1.png").arg(QString::fromLatin1(view.name).replace(u' ', u'_')));
        EXPECT_EQ(DifferentPixels(pictures[0], pictures[1]), 0) << view.name;
    }
}

TEST(GlobeDrawIdentity, MovedPointsAreDrawnWhereTheyNowAre)
{
    // A river moved after its 3D points were kept must not be drawn from them.
    World fast(false, {300, 300});
    World plain(true, {300, 300});
    for (World* world : {&fast, &plain}) {
        world->Draw();
        TGlobeLayer& rivers = *world->globe.GlobeLayers().GetLayer(2);
        auto& river = dynamic_cast<TGeoDataObject&>(*rivers.GetObjects().GetObject(0));
        const TPointLL c = river.GetCentroid();
        river.SetCentroid({c.Long + 20 * GU_DEGREE, c.Lat, c.Height});
        auto& country = dynamic_cast<TGeoDataObject&>(*world->globe.GlobeLayers().GetLayer(0)->GetObjects().GetObject(3));
        const TPointLL d = country.GetCentroid();
        country.SetCentroid({d.Long - 30 * GU_DEGREE, d.Lat - 10 * GU_DEGREE, d.Height});
    }
    EXPECT_EQ(DifferentPixels(fast.Draw(), plain.Draw()), 0);
}

} // namespace
