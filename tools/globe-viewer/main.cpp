// The developer viewer: shows globe data on a globe control so that the
// engine can be looked at and timed before globe lessons exist.
//
//   globe-viewer [files... | data folder] [--shot out.png] [--size WxH] [--rotate X,Y]
//                [--zoom factor] [--select title] [--aliased]
//                [--title-column n] [--save-lyr out.lyr]
//                [--great-circle lon,lat,lon,lat]... [--circle lon,lat,radius]...
//                [--scroll-bars] [--progressive ms]
//
// Map files (.lyr, .shp with its .dbf, .mif with its .mid) are opened with
// the engine's readers; files ending in .json are read as GeoJSON (polygons,
// lines, points), a folder as a program's Data folder (its countries, lakes
// and rivers from the geographic index), any other file as a stream of
// globe object records.
// File > Open adds map files. Without files the Natural Earth countries,
// lakes and rivers of the shared sources are shown. With --shot the picture
// is saved and the viewer quits; --save-lyr saves the first layer as a layer
// file. Great-circle lines and circles (degrees) are drawn in red over the
// layers; --scroll-bars shows the control's own bars, --progressive shows
// long passes every ms milliseconds and lets a drag interrupt them.

#include "SampleData.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobeFileLayer.h"
#include "globe/GlobeLYRReader.h"
#include "globe/GlobeMIFReader.h"
#include "globe/GlobeSHPReader.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeView.h"
#include "globe/GlobeViewUtils.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QTextStream>
#include <array>
#include <vector>

namespace {
const QString kSources = QStringLiteral(ORBILO_SOURCE_DIR "/../shared/geosrc/naturalearth/");

// Pastel fills in 0xBBGGRR, so that neighbours differ.
constexpr uint32_t kFills[] = {0x9FD7F5, 0xA8E6B8, 0xE6C8A8, 0xC8B4F0, 0xB4E6E6, 0xD2D2A0, 0xA0C8F0};

// Styles a layer of loose objects by its kind: 0 countries in pastel fills,
// 1 areas, 2 lines.
void StyleLayer(TGlobeView& globe, TGlobeLayer& layer, int kind)
{
    TGlobeObjectSource& source = layer.GetObjects();
    if (kind == 0) {
        // Countries: one presenter per fill colour, thin black borders.
        for (int c = 0; c < int(std::size(kFills)); ++c) {
            auto p = std::make_unique<TPolygonPresenter>(globe, c + 1);
            p->PolyPen.Define(0x000000, 0, 1, Pixel);
            p->PolyBrush.Define(kFills[c], 0);
            p->TitleAlignment = taCenter;
            layer.Presenters().Add(std::move(p));
        }
        for (int i = 0; i < source.Count(); ++i)
            source.GetObject(i)->SetPresenterID(i % int(std::size(kFills)) + 1);
        layer.SetShowTitles(false);
    } else {
        std::unique_ptr<TPolyPresenter> p;
        if (kind == 1)
            p = std::make_unique<TPolygonPresenter>(globe, 1);
        else
            p = std::make_unique<TPolylinePresenter>(globe, 1);
        p->PolyPen.Define(0xC08040, 0, 1, Pixel);
        p->PolyBrush.Define(0xE0B080, 0);
        layer.Presenters().Add(std::move(p));
        for (int i = 0; i < source.Count(); ++i)
            source.GetObject(i)->SetPresenterID(1);
    }
}

bool IsMapFile(const QString& file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == QLatin1String("lyr") || suffix == QLatin1String("shp") || suffix == QLatin1String("mif");
}

// A shapefile has no styles of its own: areas get pastel fills, lines a
// river blue, points a red dot, and the layer's title column is chosen.
void StyleShapes(TGlobeView& globe, TGlobeLayer& layer, int titleColumn)
{
    auto& shapes = dynamic_cast<TGlobeSHPReader&>(*layer.Objects());
    shapes.SetTitleColumn(titleColumn);
    for (int c = 0; c < int(std::size(kFills)); ++c) {
        auto p = std::make_unique<TPolyPresenter>(globe, c + 1);
        p->PolyPen.Define(c == 0 ? 0xC08040 : 0x000000, 0, 1, Pixel);
        p->PolyBrush.Define(kFills[c], 0);
        layer.Presenters().Add(std::move(p));
    }
    auto dot = std::make_unique<TPointPresenter>(globe, 100);
    dot->PointType = ppCircle;
    dot->PointSize = 4;
    dot->PointPen.Define(0x000080, 0, 1, Pixel);
    dot->PointBrush.Define(0x0000FF, 0);
    dot->TitleAlignment = taRight;
    layer.Presenters().Add(std::move(dot));
    for (int i = 0; i < shapes.Count(); ++i) {
        auto& object = dynamic_cast<TGeoDataObject&>(*shapes.GetObject(i));
        const int id = object.Chains().GetCount() == 0 ? 100 : object.Closed() ? i % (int(std::size(kFills)) - 1) + 2 : 1;
        object.SetPresenterID(id);
    }
    layer.SetShowTitles(shapes.Count() <= 300);
}

// Adds a layer of any file the viewer reads; false with a message on stderr
// (and in a box when asked) when the file cannot be read.
bool AddLayer(TGlobeView& globe, const QString& file, int kind, int titleColumn, QWidget* messages = nullptr,
              const QString& indexSection = {})
{
    try {
        if (IsMapFile(file)) {
            const int index = CreateFileLayer(globe, file);
            if (index < 0)
                throw EGlobeException(QStringLiteral("%1 not found").arg(file));
            TGlobeLayer& layer = *globe.GlobeLayers().GetLayer(index);
            if (layer.Objects()->ClassName() == QLatin1String("TGlobeSHPReader"))
                StyleShapes(globe, layer, titleColumn);
            else if (auto* mif = dynamic_cast<TGlobeMIFReader*>(layer.Objects()))
                mif->TitleColumn = titleColumn;
            QTextStream(stderr) << file << ": " << layer.Objects()->Count() << " objects\n";
            return true;
        }
        auto* layer = new TGlobeLayer(globe); // the globe's layer store owns it
        layer->SetName(QFileInfo(file).baseName());
        TGlobeObjectSource& source = layer->GetObjects();
        int n = 0;
        QString error;
        if (!indexSection.isEmpty())
            n = LoadIndexSection(file, indexSection, source, error);
        else
            n = file.endsWith(QLatin1String(".json"), Qt::CaseInsensitive) ? LoadGeoJson(file, source)
                                                                            : LoadGlobeStream(file, source);
        QTextStream(stderr) << file << indexSection << ": " << n << " objects " << error << "\n";
        StyleLayer(globe, *layer, kind);
        return true;
    } catch (const EGlobeException& e) {
        QTextStream(stderr) << e.message() << "\n";
        if (messages)
            QMessageBox::warning(messages, QStringLiteral("Globe viewer"), e.message());
        return false;
    }
}
// The curves given on the command line, drawn after the layers.
struct Curves {
    std::vector<std::array<double, 4>> greatCircles;
    std::vector<std::array<double, 3>> circles;

    template <size_t N> static bool Parse(const QString& text, std::array<double, N>& values)
    {
        const QStringList parts = text.split(QLatin1Char(','));
        if (parts.size() != static_cast<int>(N))
            return false;
        bool ok = true;
        for (size_t i = 0; i < N && ok; ++i)
            values[i] = parts[static_cast<int>(i)].toDouble(&ok);
        return ok;
    }
    void Draw(TGlobeView& globe) const
    {
        TGlobeCanvas& canvas = globe.GlobeCanvas();
        canvas.Pen.Define(0x0000FF, 0, 2, Pixel);
        canvas.Brush.Define(0x0000FF, 6); // a cross hatch: the land stays visible
        canvas.Pen.RenderAttribute(canvas, false);
        canvas.Brush.RenderAttribute(canvas, false);
        auto gu = [](double degrees) { return DecimalToGlobeUnits(degrees); };
        for (const auto& c : circles)
            globe.RenderCircle({gu(c[0]), gu(c[1]), 0}, gu(c[2]), 90);
        for (const auto& g : greatCircles)
            globe.RenderGreatCircleLine({gu(g[0]), gu(g[1]), 0}, {gu(g[2]), gu(g[3]), 0});
    }
};
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
    const QCommandLineOption titleColumn(QStringLiteral("title-column"), QStringLiteral("attribute column of the titles"), QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption saveLyr(QStringLiteral("save-lyr"), QStringLiteral("save the first layer as a layer file"), QStringLiteral("lyr"));
    const QCommandLineOption greatCircle(QStringLiteral("great-circle"), QStringLiteral("draw the great circle between two places"), QStringLiteral("lon,lat,lon,lat"));
    const QCommandLineOption circle(QStringLiteral("circle"), QStringLiteral("draw a circle of radius degrees"), QStringLiteral("lon,lat,radius"));
    const QCommandLineOption scrollBars(QStringLiteral("scroll-bars"), QStringLiteral("show the control's scroll bars"));
    const QCommandLineOption progressive(QStringLiteral("progressive"), QStringLiteral("show long passes every ms, interruptable"), QStringLiteral("ms"));
    parser.addOptions({shot, sizeOption, rotate, zoom, select, aliased, titleColumn, saveLyr, greatCircle, circle,
                       scrollBars, progressive});
    parser.addHelpOption();
    parser.process(app);

    Curves curves;
    for (const QString& text : parser.values(greatCircle))
        if (!Curves::Parse(text, curves.greatCircles.emplace_back()))
            parser.showHelp(2);
    for (const QString& text : parser.values(circle))
        if (!Curves::Parse(text, curves.circles.emplace_back()))
            parser.showHelp(2);

    QMainWindow window; // before the globe, which leaves it first
    TGlobeView globe;
    if (!parser.isSet(scrollBars))
        globe.SetScrollBars(ssNone);
    if (parser.isSet(progressive)) {
        globe.SetPeriodicUpdateTime(parser.value(progressive).toInt());
        globe.SetGlobeOptions(globe.GlobeOptions() | GlobeOption(goInterruptable));
    }
    globe.SetSurfaceColor(0x804000);
    globe.GraticulePen().SetPenColor(0x6A3500);
    globe.GlobeCanvas().Antialiased = !parser.isSet(aliased);
    const QStringList size = parser.value(sizeOption).split(QLatin1Char('x'));
    globe.resize(size.value(0).toInt(), size.value(1).toInt());

    const int column = parser.value(titleColumn).toInt();
    QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        AddLayer(globe, kSources + QStringLiteral("ne_50m_admin_0_countries.json"), 0, column);
        AddLayer(globe, kSources + QStringLiteral("ne_50m_lakes.json"), 1, column);
        AddLayer(globe, kSources + QStringLiteral("ne_50m_rivers_lake_centerlines.json"), 2, column);
    } else if (files.size() == 1 && QFileInfo(files[0]).isDir()) {
        AddLayer(globe, files[0], 0, column, nullptr, QStringLiteral("Land"));
        AddLayer(globe, files[0], 1, column, nullptr, QStringLiteral("See"));
        AddLayer(globe, files[0], 2, column, nullptr, QStringLiteral("Fluss"));
    } else {
        for (int i = 0; i < files.size(); ++i)
            if (!AddLayer(globe, files[i], i == 0 ? 0 : 2, column) && parser.isSet(shot))
                return 1;
    }
    if (parser.isSet(saveLyr) && globe.GlobeLayers().Count() > 0) {
        try {
            WriteLayerToLYRfile(*globe.GlobeLayers().GetLayer(0), parser.value(saveLyr));
        } catch (const OrbiloError& e) {
            QTextStream(stderr) << e.message() << "\n";
            return 1;
        }
    }

    QElapsedTimer timer;
    globe.OnRender = [&](TGlobeView* g) {
        curves.Draw(*g);
        g->window()->setWindowTitle(QStringLiteral("Globe viewer — %1 ms").arg(timer.nsecsElapsed() / 1e6, 0, 'f', 2));
    };
    globe.OnPaint = [&](TGlobeView*) { timer.start(); };
    globe.OnObjectClick = [](TGlobeView*, TGlobeObject* object) {
        QTextStream(stderr) << "clicked " << object->Title() << "\n";
    };
    if (parser.isSet(shot)) {
        globe.show();
    } else {
        QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
        file->addAction(QStringLiteral("&Open…"), QKeySequence::Open, [&] {
            const QStringList chosen = QFileDialog::getOpenFileNames(
                &window, QStringLiteral("Open map files"), QString(),
                QStringLiteral("Map files (*.lyr *.shp *.mif *.LYR *.SHP *.MIF);;All files (*)"));
            for (const QString& f : chosen)
                AddLayer(globe, f, 2, column, &window);
            globe.RedrawLayers();
        });
        file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, &app, &QApplication::quit);
        window.setCentralWidget(&globe);
        window.resize(globe.size() + QSize(0, window.menuBar()->sizeHint().height()));
        window.show();
    }

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
