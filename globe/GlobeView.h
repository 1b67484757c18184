#pragma once

// The globe window control: owns the projection, the canvas, the layers and
// every object source, runs the paint cycle and turns mouse and keys into
// selection, rotation and zooming.

#include "globe/CustomGlobeView.h"
#include "globe/GlobeCanvas.h"
#include "globe/GlobeGraticule.h"
#include "globe/GlobeGreatCircle.h"
#include "globe/GlobeScrollBars.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class TGlobeLayer;
class TGlobeObjectSource;

enum TGlobeMouseButton { mzbLeft, mzbRight, mzbMiddle, mzbNone };
enum TGraticuleDraw { gdNone, gdBehind, gdInFront };
// Modifier keys and the second press of a double click.
enum TShiftFlag : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssDouble = 8 };
using TShiftState = uint8_t;

// A saved view: scale, origin and the three rotations in GU.
struct TGlobePOZ {
    double ScaleFactor = 0;
    int32_t CenterX = 0;
    int32_t CenterY = 0;
    int32_t XRotation = 0;
    int32_t YRotation = 0;
    int32_t ZRotation = 0;
};

class TGlobeView : public QWidget, public TCustomGlobeView {
    Q_OBJECT
public:
    explicit TGlobeView(QWidget* parent = nullptr);
    ~TGlobeView() override;

    // --- the engine's side ---
    TGlobeProjection& Projection() override { return *m_projection; }
    TGlobeLayerStore& GlobeLayers() override { return *m_layers; }
    TGlobeOptionsSet GlobeOptions() const override { return m_options; }
    QSize SurfaceSize() const override;
    int RenderDPI() const override;
    int ScreenDPI() const override;
    QString DataDirectory() const override { return m_dataDirectory; }
    TSaveMetaDataLocation SaveMetaDataLocation() const override { return m_saveMetaDataLocation; }
    int32_t NextMRU() override { return ++m_mruCounter; }
    void Notify(TGlobeNotification kind, TGlobeRoot* item) override;
    void RedrawLayers() override;
    void UpdateScrollBars() override;
    void LocateToLL(int32_t longitude, int32_t latitude) override;
    int32_t CacheUsedDelta(int32_t delta) override;
    void RenderLine(const TPointLL& from, const TPointLL& to, int steps) override;
    void AssignViewRect(const QRect& rect) override { m_viewRect = rect; }
    void DoPanned() override;
    void DoZoomed() override;
    void DoObjectCreate(TGlobeObject* object) override;
    TGlobeCanvas& GlobeCanvas() override { return *m_canvas; }
    TGlobePen& SelectedPen() override { return m_selectedPen; }
    TGlobeBrush& SelectedBrush() override { return m_selectedBrush; }
    TGlobePen& TransparentPen() override { return m_transparentPen; }
    TGlobeBrush& TransparentBrush() override { return m_transparentBrush; }
    int32_t GetMinTextHeight() const override;
    int32_t GetMaxTextHeight() const override;
    bool DoObjectRender(TGlobeObject& object, TGlobeObjectState state) override;
    bool RenderCheckpoint(bool noInterrupt) override;
    int32_t PeriodicUpdateTime() const override { return m_periodicUpdateTime; }
    void ShowProgress() override;

    // --- drawing ---
    void PaintWindowBackground();
    void PaintGraticule();
    void RenderLayers();
    // Draws the whole picture into the back buffer now, as a paint would.
    void RenderBackBuffer();
    void RenderPolygon(const TPointLL* points, int n);
    void RenderPolyLine(const TPointLL* points, int n);
    void RenderTextOut(int32_t longitude, int32_t latitude, const QString& text);
    // The circle of all points radius GU away from centre, as a polygon of
    // segments corners (at least 3).
    void RenderCircle(const TPointLL& centre, int32_t radius, int segments);
    // The shorter arc of the great circle through both points; with kind
    // gcFull the whole great circle.
    void RenderGreatCircleLine(const TPointLL& from, const TPointLL& to, TGreatCircleKind kind = gcShortArc);

    // --- view operations ---
    void SetViewRect(int32_t left, int32_t top, int32_t width, int32_t height);
    void PanViewXY(int32_t dx, int32_t dy);
    void LocateToObject(TGlobeObject* object);
    TGlobePOZ GetPOZ() const;
    void SetPOZ(const TGlobePOZ& poz);
    // Draws the current view into rect of another painter, framed in black.
    void RenderToCanvas(QPainter& target, const QRect& rect);
    void Clear();

    // The mouse as the engine sees it; the Qt handlers call these.
    void MouseDown(TGlobeMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TGlobeMouseButton button, TShiftState shift, int x, int y);

    // --- memory account of loaded objects ---
    int32_t UpdateTotalMemoryInUse();
    int32_t ReduceCacheMemory(int32_t target);
    int32_t GetCacheMemoryUsed() const { return m_cacheUsed; }

    QString ResolveFilename(const QString& name) const override;
    bool ProgressMessage(TProgressMessage kind, const QString& text) override;

    // --- properties ---
    int32_t CacheCapacity = 10240; // kilobytes
    void SetPeriodicUpdateTime(int32_t milliseconds) { m_periodicUpdateTime = milliseconds; }
    QString EnvironmentFile;
    TGlobeMouseButton MouseZoomButton = mzbRight;
    TGlobeMouseButton MouseSelectButton = mzbLeft;
    TGlobeMouseButton MouseRotateButton = mzbLeft;

    void SetGlobeOptions(TGlobeOptionsSet options);
    int GraticuleLatitudeStep() const { return m_latitudeStep; }
    int GraticuleLongitudeStep() const { return m_longitudeStep; }
    void SetLatitudeStep(int degrees);
    void SetLongitudeStep(int degrees);
    void SetMinTextHeight(int32_t pixels);
    void SetMaxTextHeight(int32_t pixels);
    // Takes the new projection and hands back the old one.
    std::unique_ptr<TGlobeProjection> SetProjection(std::unique_ptr<TGlobeProjection> projection);
    TScrollStyle ScrollBars() const { return m_scrollBars.Style(); }
    void SetScrollBars(TScrollStyle style);
    // The bars themselves, for tests and keyboard-less callers.
    QScrollBar& ScrollBar(Qt::Orientation orientation) const { return m_scrollBars.Bar(orientation); }
    TGlobePen& GraticulePen() { return m_graticulePen; }
    const QImage& BackgroundImage() const { return m_backgroundImage; }
    void SetBackgroundBitmap(const QImage& image);
    uint32_t Color() const { return m_color; }
    void SetColor(uint32_t color);
    void SetDataDirectory(const QString& directory);
    void SetSaveMetaDataLocation(TSaveMetaDataLocation location) { m_saveMetaDataLocation = location; }
    TGraticuleDraw GraticuleDrawMode() const { return m_graticuleDrawMode; }
    void SetGraticuleDrawMode(TGraticuleDraw mode);
    uint32_t SurfaceColor() const { return m_surfaceColor; }
    void SetSurfaceColor(uint32_t color);

    // State seen by tests and the developer viewer.
    bool RedrawNeeded() const { return m_redrawNeeded; }
    bool Rotating() const { return m_rotating; }
    bool ZoomDragging() const { return m_zoomDragging; }
    QRect ZoomRect() const { return m_zoomRect; }
    QRect ViewRect() const { return m_viewRect; }
    bool Aborted() const { return m_abort; }
    const std::vector<TGlobeObjectSource*>& Sources() const { return m_sources; }
    // Live globes of the process; the shared point arrays follow it.
    static int InstanceCount(int delta = 0);

    // --- events ---
    std::function<void(TGlobeView*)> OnPanned, OnZoomed, OnRender, OnPaint, OnPaintGraticule,
        OnReduceCacheMemory, OnMouseEnter, OnMouseLeave;
    std::function<void(TGlobeView*, TGlobeLayer*)> OnLayerCreate, OnLayerFree;
    std::function<void(TGlobeView*, TGlobeObjectSource*)> OnObjectSourceCreate, OnObjectSourceActiveChange,
        OnObjectSourceFree;
    std::function<void(TGlobeView*, TGlobeObject*)> OnObjectClick, OnObjectCreate;
    std::function<void(TGlobeView*, TGlobeObject*, TGlobeObjectState)> OnObjectRender;
    std::function<void(TGlobeView*, TProgressMessage, const QString&, bool&)> OnProgress;
    // The framework's mouse events.
    std::function<void(TGlobeView*, TGlobeMouseButton, TShiftState, int, int)> OnMouseDown, OnMouseUp;
    std::function<void(TGlobeView*, TShiftState, int, int)> OnMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void DrawPicture(QPainter& painter);
    void FinishPaint(QPainter& window, bool doubleBuffered);
    // The drawing surface follows the client area left by the scroll bars.
    void SizeSurface();
    // Applies a size that came while a pass was drawing.
    void TakePendingSize();
    // One bar's range, page and position from the view (horizontal: the
    // longitudes and XOrigin; vertical: the latitudes and YOrigin).
    void UpdateScrollBar(Qt::Orientation orientation);
    void ScrollAction(Qt::Orientation orientation, int action);
    // Zooms by factor keeping the device point under the pointer in place.
    void ZoomAbout(double factor, const QPoint& at);

    std::unique_ptr<TGlobeCanvas> m_canvas;
    std::unique_ptr<TGlobeLayerStore> m_layers;
    std::unique_ptr<TGlobeProjection> m_projection;
    std::vector<TGlobeObjectSource*> m_sources; // owned
    TGlobePen m_selectedPen{0x0000FF, 0, 0, Pixel};
    TGlobeBrush m_selectedBrush{0x00FFFF, 0};
    TGlobePen m_transparentPen{0x808080, 0, 0, Pixel};
    TGlobeBrush m_transparentBrush{0xC0C0C0, 0};
    TGlobePen m_graticulePen{0xC0C0C0, 0, 0, Pixel};
    TGlobeBrush m_surfaceBrush{0xFFFF00, 0};
    QImage m_backgroundImage;
    TGraticule m_graticule;

    TGlobeOptionsSet m_options = GlobeOption(goCache3DPoints) | GlobeOption(goDoubleBuffered);
    int m_latitudeStep = 15;
    int m_longitudeStep = 15;
    int32_t m_minTextHeight = 5;
    int32_t m_maxTextHeight = 0;
    int32_t m_periodicUpdateTime = 0;
    uint32_t m_color = 0;
    uint32_t m_surfaceColor = 0xFFFF00;
    QString m_dataDirectory;
    TSaveMetaDataLocation m_saveMetaDataLocation = smdInDataDirectory;
    TGraticuleDraw m_graticuleDrawMode = gdBehind;

    int32_t m_cacheUsed = 0;
    int32_t m_mruCounter = 0;
    QRect m_viewRect;
    bool m_redrawNeeded = false;
    bool m_painting = false;
    bool m_sizePending = false; // a resize came while a pass was drawing
    bool m_abort = false;
    bool m_rendering = false;
    bool m_rotating = false;
    bool m_zoomDragging = false;
    bool m_destroying = false;
    QRect m_zoomRect; // left, top and the dragged corner, not normalised
    TPointLL m_dragStart;
    // The window's painter while a paint runs, for progressive displays.
    QPainter* m_windowPainter = nullptr;
    TGlobeScrollBars m_scrollBars;
};
