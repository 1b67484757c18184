#pragma once

#include "globe/GlobeLayerStore.h"
#include "globe/GlobeView.h"

#include <QPoint>

// A pixel of the globe where a click meets the object, or (-1, -1) when it
// shows nowhere. Any pixel of it will do: the centroid of a bent country
// may lie outside it.
inline QPoint GlobePixelOf(TGlobeView& globe, const TGlobeObject* object)
{
    for (int y = 0; y < globe.height(); y += 2)
        for (int x = 0; x < globe.width(); x += 2)
            if (globe.GlobeLayers().ObjectAtXY(x, y) == object)
                return {x, y};
    return {-1, -1};
}
