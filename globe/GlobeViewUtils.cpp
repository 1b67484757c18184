#include "globe/GlobeViewUtils.h"

#include "globe/GlobeLayer.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeView.h"

void ZoomToMER(TGlobeView& globe, const TMER& mer)
{
    globe.Projection().SetGlobeCenterXY(QPoint(globe.width() / 2, globe.height() / 2));
    globe.SetViewRect(0, 0, mer.Width, mer.Height);
    globe.LocateToLL(Mod180(int64_t{mer.Long} + mer.Width / 2),
                     static_cast<int32_t>(int64_t{mer.Lat} + mer.Height / 2));
}

void ZoomToSelectedObjects(TGlobeView& globe)
{
    TGlobeLayerStore& layers = globe.GlobeLayers();
    TGlobeObject* first = layers.GetSelected(0);
    if (!first)
        return;
    TMER m = first->ObjectMER();
    for (int i = 1; TGlobeObject* object = layers.GetSelected(i); ++i)
        m = UnionMER(m, object->ObjectMER());
    ZoomToMER(globe, m);
}

void ZoomToLayer(TGlobeView& globe, TGlobeLayer& layer) { ZoomToMER(globe, layer.GetLayerMER()); }

void ZoomToObject(TGlobeView& globe, TGlobeObject& object) { ZoomToMER(globe, object.ObjectMER()); }
