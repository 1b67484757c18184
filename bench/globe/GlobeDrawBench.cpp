// Drawing figures of the globe control: a full redraw of the world's
// countries with lakes, rivers and the graticule, a repaint without changes,
// and a rotation drag; on the source GeoJSON and on the globe data the
// program ships. Missing or unreadable data stops the run with an error:
// figures of an empty globe would look like very good ones.

#include "globe/GlobeClasses.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeView.h"
#include "tools/globe-viewer/SampleData.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {
const QString kSources = QDir::cleanPath(QStringLiteral(ORBILO_SOURCE_DIR "/../shared/geosrc/naturalearth")) + u'/';
// The program folder's Data as it ships.
const QString kShipped = QStringLiteral(ORBILO_SOURCE_DIR "/data/Data");

// Ends the whole run: a benchmark without its data measures nothing.
[[noreturn]] void Fail(const QString& message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "globe_draw_bench: %s\n", qPrintable(message));
    std::exit(EXIT_FAILURE);
}

// One presenter for every object of the layer.
void Present(TGlobeView& globe, TGlobeLayer& layer, bool polygons, uint32_t fill)
{
    TGlobeObjectSource& source = layer.GetObjects();
    std::unique_ptr<TPolyPresenter> p;
    if (polygons)
        p = std::make_unique<TPolygonPresenter>(globe, 1);
    else
        p = std::make_unique<TPolylinePresenter>(globe, 1);
    p->PolyPen.Define(polygons && fill != 0xE0B080 ? 0x000000 : 0xC08040, 0, 1, Pixel);
    p->PolyBrush.Define(fill, 0);
    layer.Presenters().Add(std::move(p));
    for (int i = 0; i < source.Count(); ++i)
        source.GetObject(i)->SetPresenterID(1);
}

void AddLayer(TGlobeView& globe, const QString& file, bool polygons, uint32_t fill)
{
    auto* layer = new TGlobeLayer(globe);
    const int read = LoadGeoJson(kSources + file, layer->GetObjects());
    if (read < 1)
        Fail(QStringLiteral("no objects in %1%2").arg(kSources, file) +
             (read < 0 ? QStringLiteral(" (cannot read the file)") : QString()));
    Present(globe, *layer, polygons, fill);
}

// The world of the program's globe lessons: countries, lakes, rivers.
void World(TGlobeView& globe)
{
    AddLayer(globe, QStringLiteral("ne_50m_admin_0_countries.json"), true, 0x9FD7F5);
    AddLayer(globe, QStringLiteral("ne_50m_lakes.json"), true, 0xE0B080);
    AddLayer(globe, QStringLiteral("ne_50m_rivers_lake_centerlines.json"), false, 0);
}

// A layer of the objects of one section of the shipped index, read from the
// shipped globe data as the globe map reads them.
void AddShippedLayer(TGlobeView& globe, const QString& section, bool polygons, uint32_t fill)
{
    auto* layer = new TGlobeLayer(globe);
    QString error;
    if (LoadIndexSection(kShipped, section, layer->GetObjects(), error) < 1)
        Fail(error);
    Present(globe, *layer, polygons, fill);
}

// The same world from the data the program ships: its countries, lakes and
// rivers as the lessons show them.
void ShippedWorld(TGlobeView& globe)
{
    AddShippedLayer(globe, QStringLiteral("Land"), true, 0x9FD7F5);
    AddShippedLayer(globe, QStringLiteral("See"), true, 0xE0B080);
    AddShippedLayer(globe, QStringLiteral("Fluss"), false, 0);
}

using WorldLoader = void (*)(TGlobeView&);

// 250 closed outlines of 400 points each, spread over the globe.
void Generated(TGlobeView& globe)
{
    auto* layer = new TGlobeLayer(globe);
    TGlobeObjectSource& source = layer->GetObjects();
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> wobble(-2, 2);
    for (int k = 0; k < 250; ++k) {
        auto* country = new TGeoDataObject(&source);
        TPointStore& ring = country->Chains().GetChain(0);
        const int32_t lon = (k % 25) * 14 * GU_DEGREE - 175 * GU_DEGREE, lat = (k / 25) * 16 * GU_DEGREE - 75 * GU_DEGREE;
        int r = 350;
        for (int i = 0; i < 400; ++i) {
            r = std::clamp(r + wobble(rng), 175, 700);
            const double a = 2 * M_PI * i / 400;
            ring.Add({lon + static_cast<int32_t>(std::lround(r * std::cos(a))) * GU_MINUTE,
                      lat + static_cast<int32_t>(std::lround(r * std::sin(a))) * GU_MINUTE, 0});
        }
        country->SetClosed(true);
    }
    auto p = std::make_unique<TPolygonPresenter>(globe, 1);
    p->PolyPen.Define(0, 0, 1, Pixel);
    p->PolyBrush.Define(0x9FD7F5, 0);
    layer->Presenters().Add(std::move(p));
    for (int i = 0; i < source.Count(); ++i)
        source.GetObject(i)->SetPresenterID(1);
}

// Figures before and after the pixels moved to the raster threads: the
// last argument of a run is 0 for pixels set on the window thread, 1 for
// the raster threads.
void Prepare(TGlobeView& globe, int size, bool antialiased, bool rasterThread = true)
{
    globe.resize(size, size);
    globe.show();
    QCoreApplication::processEvents();
    if (globe.SurfaceSize() != QSize(size, size))
        Fail(QStringLiteral("the globe did not take its size of %1 x %1").arg(size));
    globe.GlobeCanvas().Antialiased = antialiased;
    globe.GlobeCanvas().UseRasterThreads = rasterThread;
    globe.Projection().SetXRotation(40);
    globe.Projection().SetYRotation(20);
    globe.RenderBackBuffer(); // fills the 3D point caches
}

void FullRedraw(benchmark::State& state, WorldLoader world)
{
    TGlobeView globe;
    world(globe);
    Prepare(globe, 1000, state.range(0) != 0, state.range(1) != 0);
    for (auto _ : state)
        globe.RenderBackBuffer();
    state.SetLabel(std::string(state.range(0) ? "antialiased" : "aliased") +
                   (state.range(1) ? ", raster threads" : ", window thread"));
}
void BM_FullRedrawWorld(benchmark::State& state) { FullRedraw(state, World); }
void BM_FullRedrawShipped(benchmark::State& state) { FullRedraw(state, ShippedWorld); }
BENCHMARK(BM_FullRedrawWorld)->ArgsProduct({{1, 0}, {0, 1}})->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_FullRedrawShipped)->ArgsProduct({{1, 0}, {0, 1}})->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The share of each layer in a full redraw: bit 0 countries, 1 lakes,
// 2 rivers, 3 the graticule.
void BM_Parts(benchmark::State& state)
{
    TGlobeView globe;
    const int m = state.range(0);
    if (m & 1) AddLayer(globe, QStringLiteral("ne_50m_admin_0_countries.json"), true, 0x9FD7F5);
    if (m & 2) AddLayer(globe, QStringLiteral("ne_50m_lakes.json"), true, 0xE0B080);
    if (m & 4) AddLayer(globe, QStringLiteral("ne_50m_rivers_lake_centerlines.json"), false, 0);
    if (!(m & 8)) globe.SetGraticuleDrawMode(gdNone);
    Prepare(globe, 1000, true);
    for (auto _ : state)
        globe.RenderBackBuffer();
}
BENCHMARK(BM_Parts)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullRedrawGenerated(benchmark::State& state)
{
    TGlobeView globe;
    Generated(globe);
    Prepare(globe, 1000, state.range(0) != 0);
    for (auto _ : state)
        globe.RenderBackBuffer();
    state.SetLabel(state.range(0) ? "antialiased" : "aliased");
}
BENCHMARK(BM_FullRedrawGenerated)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Zoomed in on Europe: most points fall outside the window.
void FullRedrawZoomed(benchmark::State& state, WorldLoader world)
{
    TGlobeView globe;
    world(globe);
    Prepare(globe, 1000, true);
    globe.LocateToLL(10 * GU_DEGREE, 50 * GU_DEGREE);
    globe.Projection().SetScaleFactor(globe.Projection().ScaleFactor() * 8);
    globe.RenderBackBuffer();
    for (auto _ : state)
        globe.RenderBackBuffer();
}
void BM_FullRedrawZoomed(benchmark::State& state) { FullRedrawZoomed(state, World); }
void BM_FullRedrawZoomedShipped(benchmark::State& state) { FullRedrawZoomed(state, ShippedWorld); }
BENCHMARK(BM_FullRedrawZoomed)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_FullRedrawZoomedShipped)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// A paint without changes: one block copy of the back buffer to the window.
void BM_RepaintUnchanged(benchmark::State& state)
{
    TGlobeView globe;
    World(globe);
    Prepare(globe, 1000, true);
    int paints = 0;
    globe.OnPaint = [&](TGlobeView*) { ++paints; };
    for (auto _ : state)
        globe.repaint();
    if (paints < state.iterations())
        Fail(QStringLiteral("repaint did not paint (%1 paints in %2 repaints)").arg(paints).arg(state.iterations()));
}
BENCHMARK(BM_RepaintUnchanged)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->UseRealTime();

// One frame of a rotation drag at 800 × 800: the move and the paint it asks for.
void RotationDragFrame(benchmark::State& state, WorldLoader world)
{
    TGlobeView globe;
    world(globe);
    Prepare(globe, 800, true, state.range(0) != 0);
    globe.MouseDown(mzbLeft, 0, 400, 400);
    int step = 0;
    int paints = 0;
    globe.OnRender = [&](TGlobeView*) { ++paints; };
    for (auto _ : state) {
        const int dx = (step++ % 40) - 20;
        globe.MouseMove(0, 400 + dx, 400 + dx / 2);
        globe.repaint();
    }
    globe.MouseUp(mzbLeft, 0, 400, 400);
    if (paints < state.iterations())
        Fail(QStringLiteral("a drag frame did not redraw (%1 redraws in %2 frames)").arg(paints).arg(state.iterations()));
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(state.range(0) ? "raster threads" : "window thread");
}
void BM_RotationDragFrame(benchmark::State& state) { RotationDragFrame(state, World); }
void BM_RotationDragFrameShipped(benchmark::State& state) { RotationDragFrame(state, ShippedWorld); }
BENCHMARK(BM_RotationDragFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_RotationDragFrameShipped)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
} // namespace

