#pragma once

// What the three map file targets share: a small globe with a layer of the
// file, every object loaded and the layer drawn and clicked at.

#include "FuzzSupport.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobeFileLayer.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobeView.h"

namespace Fuzz {

// Opens the file as a layer; a reader's error is an answer, not a fault.
inline void ShowMapFile(const QString& file)
{
    EnsureApplication();
    TGlobeView globe;
    globe.resize(160, 160);
    globe.SetSaveMetaDataLocation(smdDiscard);
    int index = -1;
    try {
        index = CreateFileLayer(globe, file);
    } catch (const EGlobeException&) {
        return;
    }
    if (index < 0)
        Violation("an existing map file was not found");
    TGlobeLayer& layer = *globe.GlobeLayers().GetLayer(index);
    TGlobeObjectSource& source = *layer.Objects();
    try {
        for (int i = 0; i < source.Count() && i < 256; ++i) {
            TGlobeObject* object = source.GetObject(i);
            object->LLInObject(object->GetCentroid(), 0);
            source.GetMER(i);
        }
        layer.GetLayerMER();
        globe.RedrawLayers();
        globe.grab();
        layer.ObjectAtXY(80, 80);
    } catch (const EGlobeException&) {
    }
}

} // namespace Fuzz
