// The developer viewer: shows globe data on a globe control so that the
// engine can be looked at and timed before globe lessons exist.
//
//   globe-viewer [files... | data folder] [--shot out.png] [--size WxH] [--rotate X,Y]
//                [--zoom factor] [--select title] [--aliased]
//
// Files ending in .json are read as GeoJSON (polygons, lines, points), a
// folder as a program's Data folder (its countries, lakes and rivers from
// the geographic index), any other file as a stream of globe object records. Without files the
// Natural Earth countries, lakes and rivers of the shared sources are shown.
// With --shot the picture is saved and the viewer quits.

#include "SampleData.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeView.h"
#include "globe/GlobeViewUtils.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

namespace {
const QString kSources = QStringLiteral(ORBILO_SOURCE_DIR "/../shared/geosrc/naturalearth/");

// Pastel fills in 0xBBGGRR, so that neighbours differ.
constexpr uint32_t kFills[] = {0x9FD7F5, 0xA8E6B8, 0xE6C8A8, 0xC8B4F0, 0xB4E6E6, 0xD2D2A0, 0xA0C8F0};

TGlobeLayer& AddLayer(TGlobeView& globe, const QString& file, int kind, const QString& section = {})
{
    auto* layer = new TGlobeLayer(globe); // the globe's layer store owns it
    layer->SetName(QFileInfo(file).baseName());
    TGlobeObjectSource& source = layer->GetObjects();
    int n = 0;
    QString error;
    if (section.isEmpty())
        n = file.endsWith(QLatin1String(".json"), Qt::CaseInsensitive) ? LoadGeoJson(file, source)
                                                                       : LoadGlobeStream(file, source);
    else
        n = LoadIndexSection(file, section, source, error);
    QTextStream(stderr) << file << section << ": " << n << " objects " << error << "\n";
    if (kind == 0) {
        // Countries: one presenter per fill colour, thin black borders.
        for (int c = 0; c < int(std::size(kFills)); ++c) {
            auto p = std::make_unique<TPolygonPresenter>(globe, c + 1);
            p->PolyPen.Define(0x000000, 0, 1, Pixel);
            p->PolyBrush.Define(kFills[c], 0);
            p->TitleAlignment = taCenter;
            layer->Presenters().Add(std::move(p));
        }
        for (int i = 0; i < source.Count(); ++i)
            source.GetObject(i)->SetPresenterID(i % int(std::size(kFills)) + 1);
        layer->SetShowTitles(false);
    } else {
        std::unique_ptr<TPolyPresenter> p;
        if (kind == 1)
            p = std::make_unique<TPolygonPresenter>(globe, 1);
        else
            p = std::make_unique<TPolylinePresenter>(globe, 1);
        p->PolyPen.Define(0xC08040, 0, 1, Pixel);
        p->PolyBrush.Define(0xE0B080, 0);
        layer->Presenters().Add(std::move(p));
        for (int i = 0; i < source.Count(); ++i)
            source.GetObject(i)->SetPresenterID(1);
    }
    return *layer;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("GeoJSON or globe stream files"));
    const QCommandLineOption shot(QStringLiteral("shot"), QStringLiteral("save a picture and quit"), QStringLiteral("png"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("window size"), QStringLiteral("WxH"), QStringLiteral("800x800"));
    const QCommandLineOption rotate(QStringLiteral("rotate"), QStringLiteral("x,y rotation in degrees"), QStringLiteral("x,y"));
    const QCommandLineOption zoom(QStringLiteral("zoom"), QStringLiteral("scale relative to the fitted globe"), QStringLiteral("factor"));
    const QCommandLineOption select(QStringLiteral("select"), QStringLiteral("select and centre an object"), QStringLiteral("title"));
    const QCommandLineOption aliased(QStringLiteral("aliased"), QStringLiteral("draw without antialiasing"));
    parser.addOptions({shot, sizeOption, rotate, zoom, select, aliased});
    parser.addHelpOption();
    parser.process(app);

    TGlobeView globe;
    globe.SetScrollBars(ssNone);
    globe.SetSurfaceColor(0x804000);
    globe.GraticulePen().SetPenColor(0x6A3500);
    globe.GlobeCanvas().Antialiased = !parser.isSet(aliased);
    const QStringList size = parser.value(sizeOption).split(QLatin1Char('x'));
    globe.resize(size.value(0).toInt(), size.value(1).toInt());

    QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        AddLayer(globe, kSources + QStringLiteral("ne_50m_admin_0_countries.json"), 0);
        AddLayer(globe, kSources + QStringLiteral("ne_50m_lakes.json"), 1);
        AddLayer(globe, kSources + QStringLiteral("ne_50m_rivers_lake_centerlines.json"), 2);
    } else if (files.size() == 1 && QFileInfo(files[0]).isDir()) {
        AddLayer(globe, files[0], 0, QStringLiteral("Land"));
        AddLayer(globe, files[0], 1, QStringLiteral("See"));
        AddLayer(globe, files[0], 2, QStringLiteral("Fluss"));
    } else {
        for (int i = 0; i < files.size(); ++i)
            AddLayer(globe, files[i], i == 0 ? 0 : 2);
    }

    QElapsedTimer timer;
    globe.OnRender = [&](TGlobeView* g) {
        g->window()->setWindowTitle(QStringLiteral("Globe viewer — %1 ms").arg(timer.nsecsElapsed() / 1e6, 0, 'f', 2));
    };
    globe.OnPaint = [&](TGlobeView*) { timer.start(); };
    globe.OnObjectClick = [](TGlobeView*, TGlobeObject* object) {
        QTextStream(stderr) << "clicked " << object->Title() << "\n";
    };
    globe.show();

    TGlobeProjection& prj = globe.Projection();
    if (parser.isSet(rotate)) {
        const QStringList r = parser.value(rotate).split(QLatin1Char(','));
        prj.SetXRotation(r.value(0).toDouble());
        prj.SetYRotation(r.value(1).toDouble());
    }
    if (parser.isSet(select)) {
        if (TGlobeObject* object = globe.GlobeLayers().ObjectByTitle(parser.value(select))) {
            globe.GlobeLayers().SetSelectedObject(object);
            ZoomToSelectedObjects(globe);
            prj.SetScaleFactor(prj.ScaleFactor() * 5 / 6);
        }
    }
    if (parser.isSet(zoom))
        prj.SetScaleFactor(prj.ScaleFactor() * parser.value(zoom).toDouble());

    if (parser.isSet(shot)) {
        timer.start();
        globe.RenderBackBuffer();
        QTextStream(stderr) << "full redraw " << timer.nsecsElapsed() / 1e6 << " ms\n";
        return globe.grab().save(parser.value(shot)) ? 0 : 1;
    }
    return app.exec();
}
