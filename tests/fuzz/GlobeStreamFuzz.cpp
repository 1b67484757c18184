// The globe data file (any bytes) read record by record as the globe map
// reads the objects of a lesson, then drawn on a globe and clicked at.

#include "FuzzSupport.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeStream.h"
#include "globe/GlobeView.h"

#include <memory>

namespace {
// Records of a lesson are a few hundred; a few dozen show every path.
constexpr int kMaxRecords = 64;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::EnsureApplication();
    TGlobeView globe;
    globe.resize(240, 240);
    auto* layer = new TGlobeLayer(globe); // the globe's layer store owns it
    // Presenters of the ids the lessons use; other ids draw with the canvas's pens.
    auto areas = std::make_unique<TPolygonPresenter>(globe, 1);
    areas->PolyBrush.Define(0x9FD7F5, 0);
    areas->PolyPen.Define(0x000000, 0, 1, Pixel);
    layer->Presenters().Add(std::move(areas));
    layer->Presenters().Add(std::make_unique<TPolylinePresenter>(globe, 2));
    auto points = std::make_unique<TPointPresenter>(globe, 3);
    points->PointType = ppSquare;
    points->PointSize = 8;
    points->PointUnit = Pixel;
    layer->Presenters().Add(std::move(points));

    TGlobeStreamReader reader(Fuzz::Bytes(data, size));
    for (int i = 0; i < kMaxRecords && reader.Remaining() > 0; ++i) {
        const int64_t start = reader.Position();
        // Read into a loose object first, as the map does: a record that
        // breaks off half-way never joins the layer.
        auto object = std::make_unique<TGeoDataObject>(nullptr);
        try {
            reader.BeginRecord();
            object->ReadProperties(reader);
        } catch (const EGlobeException&) {
            break;
        }
        if (reader.Position() <= start || reader.Position() > static_cast<int64_t>(size))
            Fuzz::Violation("a record was read from outside the data");
        const TPointLL centre = object->GetCentroid();
        object->ObjectMER();
        object->LLInObject(centre, 0);
        object.release()->SetParent(&layer->GetObjects());
    }
    layer->GetLayerMER();
    globe.RedrawLayers();
    globe.grab();
    layer->ObjectAtXY(120, 120);
    layer->ObjectAtXY(0, 0);
    return 0;
}
