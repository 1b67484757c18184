#pragma once

// Pens, brushes and fonts in engine units, and the canvas the globe draws on:
// a 32-bit back buffer, polygon clipping and the drawing of point chains.

#include "globe/GlobeRasterThreads.h"
#include "globe/GlobeRoot.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <array>
#include <functional>
#include <memory>
#include <utility>

class TCustomGlobeView;
class TGlobeCanvas;
class TChainStore;
class TPointStore;
struct TBoundingCap;
struct TMER;

// Colours stay 0xBBGGRR integers; this is the one place they become QColor.
QColor ColorFromBGR(uint32_t bgr);
// A colour whose top bit is set names a system colour by the index in its
// low byte (5 window, 8 window text, 13 highlight, 15 button face …); it
// becomes the matching colour of the desktop's current palette, unknown
// indexes black. Other colours as ColorFromBGR.
bool IsSystemColor(uint32_t color);
QColor SystemColorTranslated(uint32_t color);

class TGlobeAttribute : public TGlobeRoot {
public:
    // Makes the device object for the canvas, if needed, and selects it.
    virtual void RenderAttribute(TGlobeCanvas& canvas, bool selected);
    virtual void CreateHandle() = 0;
    virtual void DestroyHandle() { m_hasHandle = false; }
    virtual bool Equals(const TGlobeAttribute& other) const = 0;

    bool HasHandle() const { return m_hasHandle; }
    TGlobeCanvas* Canvas() const { return m_canvas; }
    // The change handler of the owner (the globe redraws on it).
    std::function<void()> OnChange;

protected:
    // A setter stores, remakes an existing handle and tells the owner.
    void Changed();

    TGlobeCanvas* m_canvas = nullptr;
    bool m_hasHandle = false;
};

class TGlobePen : public TGlobeAttribute {
public:
    TGlobePen() = default;
    TGlobePen(uint32_t color, int style, int width, TGlobeUnitTypes unit)
        : m_color(color), m_style(style), m_width(width), m_unit(unit) {}
    QString ClassName() const override { return QStringLiteral("TGlobePen"); }
    void Assign(const TGlobeRoot& source) override;
    void CreateHandle() override;
    bool Equals(const TGlobeAttribute& other) const override;
    void RenderAttribute(TGlobeCanvas& canvas, bool selected) override;
    void Define(uint32_t color, int style, int width, TGlobeUnitTypes unit);

    uint32_t PenColor() const { return m_color; }
    int PenStyle() const { return m_style; }
    int PenWidth() const { return m_width; }
    TGlobeUnitTypes PenUnit() const { return m_unit; }
    void SetPenColor(uint32_t c) { m_color = c; Changed(); }
    void SetPenStyle(int s) { m_style = s; Changed(); }
    void SetPenWidth(int w) { m_width = w; Changed(); }
    void SetPenUnit(TGlobeUnitTypes u) { m_unit = u; Changed(); }
    const QPen& Handle() const { return m_pen; }
    // The device pen this attribute describes, without a canvas.
    QPen MakePen() const;

private:
    uint32_t m_color = 0;
    int m_style = 0;
    int m_width = 0;
    TGlobeUnitTypes m_unit = Degree;
    QPen m_pen;
};

class TGlobeBrush : public TGlobeAttribute {
public:
    TGlobeBrush() = default;
    TGlobeBrush(uint32_t color, int style) : m_color(color), m_style(style) {}
    QString ClassName() const override { return QStringLiteral("TGlobeBrush"); }
    void Assign(const TGlobeRoot& source) override;
    void CreateHandle() override;
    bool Equals(const TGlobeAttribute& other) const override;
    void RenderAttribute(TGlobeCanvas& canvas, bool selected) override;
    void Define(uint32_t color, int style);

    uint32_t BrushColor() const { return m_color; }
    int BrushStyle() const { return m_style; }
    void SetBrushColor(uint32_t c) { m_color = c; Changed(); }
    void SetBrushStyle(int s) { m_style = s; Changed(); }
    const QBrush& Handle() const { return m_brush; }
    QBrush MakeBrush() const;

private:
    uint32_t m_color = 0;
    int m_style = 0;
    QBrush m_brush;
};

enum TGlobeFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TGlobeFont : public TGlobeAttribute {
public:
    TGlobeFont() = default;
    QString ClassName() const override { return QStringLiteral("TGlobeFont"); }
    void Assign(const TGlobeRoot& source) override;
    void CreateHandle() override;
    bool Equals(const TGlobeAttribute& other) const override;
    void RenderAttribute(TGlobeCanvas& canvas, bool selected) override;
    void Define(const QString& name, uint32_t color, int size, TGlobeUnitTypes unit, int angle, uint8_t style);

    TGlobeUnitTypes FontUnit() const { return m_unit; }
    uint32_t FontColor() const { return m_color; }
    int FontSize() const { return m_size; }
    int FontAngle() const { return m_angle; }
    uint8_t FontStyle() const { return m_style; }
    const QString& FontName() const { return m_name; }
    void SetFontUnit(TGlobeUnitTypes u) { m_unit = u; Changed(); }
    void SetFontColor(uint32_t c) { m_color = c; Changed(); }
    void SetFontSize(int s) { m_size = s; Changed(); }
    void SetFontAngle(int a) { m_angle = a; Changed(); }
    void SetFontStyle(uint8_t s) { m_style = s; Changed(); }
    void SetFontName(const QString& n) { m_name = n; Changed(); }
    int32_t AltitudeStamp = 0;
    // False when the text would be smaller than the globe draws.
    bool Drawable() const { return m_drawable; }
    const QFont& Handle() const { return m_font; }

private:
    TGlobeUnitTypes m_unit = Degree;
    uint32_t m_color = 0;
    int m_size = 0;
    int m_angle = 0;
    uint8_t m_style = 0;
    QString m_name;
    QFont m_font;
    bool m_drawable = false;
};

class TGlobeCanvas {
public:
    explicit TGlobeCanvas(TCustomGlobeView& globe);
    ~TGlobeCanvas();
    TGlobeCanvas(const TGlobeCanvas&) = delete;
    TGlobeCanvas& operator=(const TGlobeCanvas&) = delete;
    std::unique_ptr<TGlobeCanvas> Clone() const;

    TCustomGlobeView& Globe() const { return m_globe; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int RenderDPI = 96;
    int ScreenDPI = 96;
    // Antialiased drawing (the default): smoother coastlines; vertices sit
    // on pixel centres so that 1-pixel borders stay one pixel wide.
    bool Antialiased = true;
    // A pass into an image has its pixels set on the raster threads while
    // this thread projects the next objects, a pass into the back buffer in
    // one band of the picture for each raster thread (the default); false
    // sets them here.
    bool UseRasterThreads = true;

    TGlobePen Pen{0, 0, 1, Pixel};
    TGlobeBrush Brush{0xFFFFFF, 0};
    TGlobeFont SymbolFont;
    TGlobeFont TextFont;
    QImage BackBuffer;

    // Draws on the painter until End; the painter stays the caller's.
    void Begin(QPainter& painter);
    void End();
    // Returns when everything drawn so far is on the painter's device.
    void Flush();
    QPainter* Painter() const { return m_painter; }
    bool Drawing() const { return m_painter != nullptr; }

    // Resizes the surface and the back buffer; refused below 1 × 1.
    bool SizeBMP(int w, int h, int dpi);
    // Gives the back buffer the pixel format of the window it is copied to;
    // true when it changed (and must be drawn again).
    bool FollowWindowFormat(QImage::Format format);
    // Gives the back buffer the window's device pixel ratio, so that a dense
    // screen shows the globe at its own resolution; true when it changed.
    bool FollowPixelRatio(double ratio);
    // Stores a new surface size and follows it with the view.
    bool ResizeProjection(int w, int h);

    int ScaleUnitsToDevice(int n, TGlobeUnitTypes unit) const;
    int32_t GlobeUnitsFrom(TGlobeUnitTypes unit, double x) const;
    int FontRenderHeight(int size, TGlobeUnitTypes unit) const;
    void RefreshDC();

    // The device state that attributes select.
    void SelectPen(const QPen& pen);
    void SelectBrush(const QBrush& brush);
    void SelectFont(const QFont& font, uint32_t color, bool drawable);
    const QPen& CurrentPen() const { return m_currentPen; }
    int CurrentPenWidth() const { return m_currentPen.width(); }

    // Drawing with the selected pen, brush and font; rectangles and
    // ellipses exclude their right and bottom edge.
    void Polygon(const QPoint* points, int n);
    void Polyline(const QPoint* points, int n);
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void SetPixel(int x, int y, uint32_t bgr);
    void FillSurface(uint32_t bgr);
    void TileImage(const QImage& image);
    void DrawImage(const QRect& target, const QImage& image);
    // Text whose top-left corner (or baseline start) is at (x, y).
    void TextOut(int x, int y, const QString& text, int angleTenths = 0);
    QSize TextExtent(const QString& text) const;
    int TextAscent() const;
    bool FontDrawable() const { return m_fontDrawable; }

    // The chains of an object in the globe's view.
    void RenderChainStore(TChainStore& chains, TGlobeObjectState state, int margin);
    // An open line seen from both faces, when its rectangle (with its cap,
    // when known) is in view, clipped with a margin of the pen's width.
    void RenderLine(TChainStore& chains, const TMER& mer, const TBoundingCap* cap);
    // Draws the first n ScratchPoints, clipped to the surface grown by margin.
    void DrawClippedPoly(int n, TGlobeObjectState state, int margin);
    // Clips in place; returns the points left in ScratchPoints.
    int ClipPoly(int n, TGlobeObjectState state, int margin);

private:
    // Runs a painter operation now, or queues it for the raster threads.
    template <class Operation> void Paint(Operation&& operation);
    // As Paint, for an operation on a copy of the points.
    template <class Operation> void PaintPoints(const QPoint* points, int n, Operation&& operation);
    // Runs a painter operation on this thread, on every painter of the pass,
    // after everything queued before it.
    template <class Operation> void PaintHere(Operation&& operation);
    // A painter for each raster thread on its band of the back buffer, when
    // the pass draws on the back buffer as it is.
    bool BeginBands(QPainter& painter);
    void EndBands();
    void RenderOpenChain(TPointStore& chain, TGlobeObjectState state, int margin);
    void DrawRun(const QPoint* points, int n, TGlobeObjectState state, int margin);
    void ApplyHints();
    // A black back buffer of the surface's size and pixel ratio, once the
    // raster threads no longer draw into the old one.
    void NewBackBuffer();

    TCustomGlobeView& m_globe;
    int m_width = 150;
    int m_height = 150;
    QImage::Format m_bufferFormat = QImage::Format_RGB32;
    double m_pixelRatio = 1;
    QPainter* m_painter = nullptr;
    bool m_deferred = false;
    TGlobeRasterThreads::TTarget m_target;
    struct TBand {
        QImage Image;
        std::unique_ptr<QPainter> Painter;
    };
    std::array<TBand, TGlobeRasterThreads::kMaxThreads> m_bands;
    QPen m_currentPen;
    QBrush m_currentBrush;
    QFont m_currentFont;
    QColor m_textColor;
    bool m_fontDrawable = true;
};
