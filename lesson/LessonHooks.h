#pragma once

#include <functional>

class TGeoItem;

// Process-wide hooks of the lesson model. Each is one function; its target
// (the learning view, the globe) is captured by whoever installs it.
namespace LessonHooks {

// Told about every state change of an item. Set by the learning view,
// cleared whenever a lesson view is created.
using StateObserver = std::function<void(TGeoItem& item)>;
void SetStateObserver(StateObserver observer);
void ClearStateObserver();
void NotifyStateObserver(TGeoItem& item);

// Spelling tolerance of the answer check, set together with the program
// option.
void SetSpellingTolerance(bool tolerant);
bool SpellingTolerance();

// Redraws the globe after a category's colours changed; installed by the
// globe map constructed last.
using GlobeRedraw = std::function<void()>;
void SetGlobeRedrawHook(GlobeRedraw redraw);
void RedrawGlobe();

} // namespace LessonHooks
