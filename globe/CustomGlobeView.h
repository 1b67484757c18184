#pragma once

// The globe control as the engine sees it. Every engine class refers to its
// globe through this interface; the window control implements it.

#include "globe/GlobeSysUtils.h"

#include <QRect>
#include <QSize>

class TGlobeRoot;
class TGlobeObject;
class TGlobeProjection;
class TGlobeLayerStore;
class TGlobeCanvas;
class TGlobePen;
class TGlobeBrush;

enum TGlobeOption : uint8_t {
    goCache3DPoints, goDoubleBuffered, goInterruptable, goMultiSelect, goTransparentGlobe,
    goTransparentBackground, goConstantScaleOnResize, goFixedCenterXYOnResize
};
// One byte, bit n for option n.
using TGlobeOptionsSet = uint8_t;
constexpr TGlobeOptionsSet GlobeOption(TGlobeOption o) { return static_cast<TGlobeOptionsSet>(1u << o); }

enum TGlobeNotification {
    gnLayerCreate, gnLayerFree, gnObjectSourceCreate, gnObjectSourceActiveChange, gnObjectSourceFree
};

enum TSaveMetaDataLocation { smdInDataDirectory, smdWithDataFile, smdWithExeFile, smdDiscard };
enum TProgressMessage { pmMessage, pmStart, pmEnd, pmPercent, pmError };

class TCustomGlobeView {
public:
    virtual ~TCustomGlobeView() = default;

    // Owned parts and settings of the control.
    virtual TGlobeProjection& Projection() = 0;
    virtual TGlobeLayerStore& GlobeLayers() = 0;
    virtual TGlobeOptionsSet GlobeOptions() const = 0;
    // Width × height of the drawing surface in pixels.
    virtual QSize SurfaceSize() const = 0;
    virtual int RenderDPI() const = 0;
    virtual int ScreenDPI() const = 0;
    // Ends in a path separator unless empty.
    virtual QString DataDirectory() const = 0;
    virtual TSaveMetaDataLocation SaveMetaDataLocation() const = 0;
    // The file itself, else its name in DataDirectory, else beside the
    // program; empty when none of them exists.
    virtual QString ResolveFilename(const QString& name) const = 0;
    // Tells the globe's progress handler; true asks the caller to stop.
    virtual bool ProgressMessage(TProgressMessage kind, const QString& text) = 0;

    // A new last-use stamp for a source entry.
    virtual int32_t NextMRU() = 0;
    // Layers and sources announce their birth, death and activation here.
    virtual void Notify(TGlobeNotification kind, TGlobeRoot* item) = 0;
    // Marks the picture for a full redraw; requests merge until the paint.
    virtual void RedrawLayers() = 0;
    virtual void UpdateScrollBars() = 0;
    // Turns the globe so that the point lies under the surface centre.
    virtual void LocateToLL(int32_t longitude, int32_t latitude) = 0;
    // Accounts for loaded discardable objects; returns the bytes in use.
    virtual int32_t CacheUsedDelta(int32_t delta) = 0;
    // Draws a line between two points in steps (the graticule uses it).
    virtual void RenderLine(const TPointLL& from, const TPointLL& to, int steps) = 0;

    // Stores the window's size in GU after a scale change (no zooming).
    virtual void AssignViewRect(const QRect& rect) = 0;
    // Raise OnPanned, OnZoomed and OnObjectCreate; the control leaves the
    // first two out while it is being loaded.
    virtual void DoPanned() = 0;
    virtual void DoZoomed() = 0;
    virtual void DoObjectCreate(TGlobeObject* object) = 0;

    // Drawing: the canvas and the styles that override a presenter's.
    virtual TGlobeCanvas& GlobeCanvas() = 0;
    virtual TGlobePen& SelectedPen() = 0;
    virtual TGlobeBrush& SelectedBrush() = 0;
    virtual TGlobePen& TransparentPen() = 0;
    virtual TGlobeBrush& TransparentBrush() = 0;
    // Text limits in render pixels (0 = no upper limit).
    virtual int32_t GetMinTextHeight() const = 0;
    virtual int32_t GetMaxTextHeight() const = 0;
    // Raises OnObjectRender for an object without presenter; false when no
    // handler is assigned.
    virtual bool DoObjectRender(TGlobeObject& object, TGlobeObjectState state) = 0;
    // Called every 256 objects of a layer pass: may handle pending input or
    // show the picture so far; true stops the pass.
    virtual bool RenderCheckpoint(bool noInterrupt) = 0;
    // Milliseconds between progressive displays of a long layer pass; 0
    // shows the picture only when it is complete.
    virtual int32_t PeriodicUpdateTime() const = 0;
    // Shows the picture drawn so far in the window.
    virtual void ShowProgress() = 0;
};
