#pragma once

// A small globe window with one layer, shared by the tests of the window
// control: pixels are named as the engine names colours.

#include "TestGlobe.h"

#include "globe/GlobePresenters.h"
#include "globe/GlobeView.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace globe_view_fixture {
constexpr uint32_t kSurface = 0x804000;
constexpr uint32_t kFill = 0x00C000;
constexpr uint32_t kBorder = 0x000000;

// 0xBBGGRR of a pixel, the engine's way of naming colours.
inline uint32_t At(const QImage& image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return static_cast<uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
}

// Antialiased lines off the pixel grid blend a little with what lies beside.
inline bool Near(uint32_t bgr, uint32_t expected, int tolerance = 0x50)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int((bgr >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

inline TGeoDataObject* Ring(TGlobeObjectSource& source, std::initializer_list<std::pair<double, double>> points, bool closed)
{
    auto* object = new TGeoDataObject(&source);
    TPointStore& ring = object->Chains().GetChain(0);
    for (auto [lon, lat] : points)
        ring.Add({Deg(lon), Deg(lat), 0});
    object->SetClosed(closed);
    object->SetPresenterID(1);
    return object;
}

// A rectangle with a point every degree, as dense as real outlines.
inline TGeoDataObject* Box(TGlobeObjectSource& source, double west, double south, double east, double north)
{
    TGeoDataObject* object = Ring(source, {}, true);
    TPointStore& ring = object->Chains().GetChain(0);
    auto edge = [&](double x0, double y0, double x1, double y1) {
        const int steps = std::max(1, static_cast<int>(std::max(std::abs(x1 - x0), std::abs(y1 - y0))));
        for (int i = 0; i < steps; ++i)
            ring.Add({Deg(x0 + (x1 - x0) * i / steps), Deg(y0 + (y1 - y0) * i / steps), 0});
    };
    edge(west, south, east, south);
    edge(east, south, east, north);
    edge(east, north, west, north);
    edge(west, north, west, south);
    return object;
}

// A 200 × 200 globe of radius 90 pixels with the point (0°, 0°) in the middle,
// no graticule, and one layer whose presenter 1 fills green with black borders.
struct View : ::testing::Test {
    TGlobeView globe;
    TGlobeLayer* layer = nullptr;
    TPolyPresenter* presenter = nullptr;
    TGlobeProjection& prj = globe.Projection();

    void SetUp() override
    {
        globe.resize(200, 200);
        globe.show();
        QCoreApplication::processEvents();
        ASSERT_EQ(globe.SurfaceSize(), QSize(200, 200));
        globe.SetSurfaceColor(kSurface);
        globe.SetGraticuleDrawMode(gdNone);
        prj.SetXRotation(0);
        prj.SetScaleFactor(90.0 / EARTHRADIUS);
        layer = new TGlobeLayer(globe);
        UsePresenter(std::make_unique<TPolyPresenter>(globe, 1));
    }
    void UsePresenter(std::unique_ptr<TPolyPresenter> p)
    {
        p->PolyPen.Define(kBorder, 0, 1, Pixel);
        p->PolyBrush.Define(kFill, 0);
        presenter = p.get();
        layer->Presenters().Clear();
        layer->Presenters().Add(std::move(p));
    }
    TGlobeObjectSource& Source() { return layer->GetObjects(); }
    // With ORBILO_TEST_PNG set, every picture is saved for looking at.
    const QImage& Draw()
    {
        globe.RenderBackBuffer();
        const QImage& image = globe.GlobeCanvas().BackBuffer;
        if (qEnvironmentVariableIsSet("ORBILO_TEST_PNG"))
            image.save(QStringLiteral("/tmp/%1-%2.png")
                           .arg(::testing::UnitTest::GetInstance()->current_test_info()->name())
                           .arg(++m_pictures));
        return image;
    }
    int m_pictures = 0;
    QPoint Device(double lon, double lat)
    {
        QPoint p;
        prj.LLToDeviceXY(Deg(lon), Deg(lat), p);
        return p;
    }
};
} // namespace globe_view_fixture
using namespace globe_view_fixture;
