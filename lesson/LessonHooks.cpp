#include "lesson/LessonHooks.h"

namespace LessonHooks {
namespace {
StateObserver g_observer;
bool g_tolerant = true;
GlobeRedraw g_redraw;
} // namespace

void SetStateObserver(StateObserver observer) { g_observer = std::move(observer); }
void ClearStateObserver() { g_observer = nullptr; }

void NotifyStateObserver(TGeoItem& item)
{
    // A copy, so that an observer that replaces itself does not destroy the
    // function while it runs.
    if (StateObserver observer = g_observer)
        observer(item);
}

void SetSpellingTolerance(bool tolerant) { g_tolerant = tolerant; }
bool SpellingTolerance() { return g_tolerant; }

void SetGlobeRedrawHook(GlobeRedraw redraw) { g_redraw = std::move(redraw); }

void RedrawGlobe()
{
    if (GlobeRedraw redraw = g_redraw)
        redraw();
}

} // namespace LessonHooks
