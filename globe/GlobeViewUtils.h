#pragma once

// Zooming a globe onto a rectangle of the earth, a layer or objects.

#include "globe/GlobeSysUtils.h"

class TGlobeView;
class TGlobeLayer;
class TGlobeObject;

void ZoomToMER(TGlobeView& globe, const TMER& mer);
// Does nothing when no object is selected.
void ZoomToSelectedObjects(TGlobeView& globe);
void ZoomToLayer(TGlobeView& globe, TGlobeLayer& layer);
void ZoomToObject(TGlobeView& globe, TGlobeObject& object);
