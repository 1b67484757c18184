#include "globe/GlobeCanvas.h"

#include "globe/CustomGlobeView.h"
#include "globe/GlobePointStore.h"
#include "globe/GlobeProjections.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

QColor ColorFromBGR(uint32_t bgr)
{
    // System colours (high byte set) have no meaning here; their low bytes are used.
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

bool IsSystemColor(uint32_t color) { return (color & 0x80000000u) != 0; }

QColor SystemColorTranslated(uint32_t color)
{
    if (!IsSystemColor(color))
        return ColorFromBGR(color);
    struct Entry {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    using P = QPalette;
    // Indexed by the system colour number.
    static const Entry table[] = {
        {P::Active, P::Button},            // 0 scroll bar
        {P::Active, P::Dark},              // 1 desktop
        {P::Active, P::Highlight},         // 2 active caption
        {P::Inactive, P::Highlight},       // 3 inactive caption
        {P::Active, P::Window},            // 4 menu
        {P::Active, P::Base},              // 5 window
        {P::Active, P::Shadow},            // 6 window frame
        {P::Active, P::WindowText},        // 7 menu text
        {P::Active, P::Text},              // 8 window text
        {P::Active, P::HighlightedText},   // 9 caption text
        {P::Active, P::Window},            // 10 active border
        {P::Inactive, P::Window},          // 11 inactive border
        {P::Active, P::Mid},               // 12 application workspace
        {P::Active, P::Highlight},         // 13 highlight
        {P::Active, P::HighlightedText},   // 14 highlight text
        {P::Active, P::Button},            // 15 button face
        {P::Active, P::Dark},              // 16 button shadow
        {P::Disabled, P::Text},            // 17 grey text
        {P::Active, P::ButtonText},        // 18 button text
        {P::Inactive, P::HighlightedText}, // 19 inactive caption text
        {P::Active, P::Light},             // 20 button highlight
        {P::Active, P::Shadow},            // 21 3D dark shadow
        {P::Active, P::Midlight},          // 22 3D light
        {P::Active, P::ToolTipText},       // 23 info text
        {P::Active, P::ToolTipBase},       // 24 info background
        {P::Active, P::NoRole},            // 25 unused
        {P::Active, P::Link},              // 26 hot-tracked item
        {P::Active, P::Highlight},         // 27 active caption gradient
        {P::Inactive, P::Highlight},       // 28 inactive caption gradient
        {P::Active, P::Highlight},         // 29 menu highlight
        {P::Active, P::Window},            // 30 menu bar
    };
    const uint32_t index = color & 0xFFu;
    if (index >= std::size(table) || table[index].role == P::NoRole)
        return QColor(Qt::black);
    return QGuiApplication::palette().color(table[index].group, table[index].role);
}

// --- attributes ---

void TGlobeAttribute::RenderAttribute(TGlobeCanvas& canvas, bool /*selected*/)
{
    if (&canvas != m_canvas) {
        DestroyHandle();
        m_canvas = &canvas;
    }
    if (!m_hasHandle)
        CreateHandle();
}

void TGlobeAttribute::Changed()
{
    if (m_hasHandle)
        CreateHandle();
    if (OnChange)
        OnChange();
}

QPen TGlobePen::MakePen() const
{
    // The stored styles are those of the files: 0 solid, 1 dash, 2 dot,
    // 3 dash-dot, 4 dash-dot-dot, 5 none, 6 inside frame.
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    const Qt::PenStyle style = (m_style >= 0 && m_style <= 6) ? styles[m_style] : Qt::SolidLine;
    // Width 0 is the thinnest line the device has, as 1. One-pixel lines are
    // cosmetic: the raster engine draws those directly instead of stroking
    // an outline, several times faster for country borders.
    QPen pen(ColorFromBGR(m_color), m_width <= 1 ? 0 : m_width, style, Qt::FlatCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

void TGlobePen::CreateHandle()
{
    m_pen = MakePen();
    m_hasHandle = true;
}

void TGlobePen::Assign(const TGlobeRoot& source)
{
    auto* other = dynamic_cast<const TGlobePen*>(&source);
    if (!other)
        return TGlobeRoot::Assign(source);
    Define(other->m_color, other->m_style, other->m_width, other->m_unit);
}

void TGlobePen::Define(uint32_t color, int style, int width, TGlobeUnitTypes unit)
{
    m_color = color;
    m_style = style;
    m_width = width;
    m_unit = unit;
    Changed();
}

bool TGlobePen::Equals(const TGlobeAttribute& other) const
{
    auto* o = dynamic_cast<const TGlobePen*>(&other);
    return o && o->m_color == m_color && o->m_style == m_style && o->m_width == m_width && o->m_unit == m_unit;
}

void TGlobePen::RenderAttribute(TGlobeCanvas& canvas, bool selected)
{
    TGlobeAttribute::RenderAttribute(canvas, selected);
    canvas.SelectPen(selected ? canvas.Globe().SelectedPen().MakePen() : m_pen);
}

QBrush TGlobeBrush::MakeBrush() const
{
    static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                             Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    if (m_style == 1)
        return QBrush(Qt::NoBrush);
    const int hatch = m_style - 2;
    const Qt::BrushStyle style = (m_style == 0 || hatch < 0 || hatch > 5) ? Qt::SolidPattern : hatches[hatch];
    return QBrush(SystemColorTranslated(m_color), style);
}

void TGlobeBrush::CreateHandle()
{
    m_brush = MakeBrush();
    m_hasHandle = true;
}

void TGlobeBrush::Assign(const TGlobeRoot& source)
{
    auto* other = dynamic_cast<const TGlobeBrush*>(&source);
    if (!other)
        return TGlobeRoot::Assign(source);
    Define(other->m_color, other->m_style);
}

void TGlobeBrush::Define(uint32_t color, int style)
{
    m_color = color;
    m_style = style;
    Changed();
}

bool TGlobeBrush::Equals(const TGlobeAttribute& other) const
{
    auto* o = dynamic_cast<const TGlobeBrush*>(&other);
    return o && o->m_color == m_color && o->m_style == m_style;
}

void TGlobeBrush::RenderAttribute(TGlobeCanvas& canvas, bool selected)
{
    TGlobeAttribute::RenderAttribute(canvas, selected);
    if (selected)
        canvas.SelectBrush(canvas.Globe().SelectedBrush().MakeBrush());
    else
        // A system colour follows the desktop's palette as it is now.
        canvas.SelectBrush(IsSystemColor(m_color) ? MakeBrush() : m_brush);
}

void TGlobeFont::Assign(const TGlobeRoot& source)
{
    auto* other = dynamic_cast<const TGlobeFont*>(&source);
    if (!other)
        return TGlobeRoot::Assign(source);
    Define(other->m_name, other->m_color, other->m_size, other->m_unit, other->m_angle, other->m_style);
}

void TGlobeFont::Define(const QString& name, uint32_t color, int size, TGlobeUnitTypes unit, int angle, uint8_t style)
{
    m_name = name;
    m_color = color;
    m_size = size;
    m_unit = unit;
    m_angle = angle;
    m_style = style;
    Changed();
}

bool TGlobeFont::Equals(const TGlobeAttribute& other) const
{
    auto* o = dynamic_cast<const TGlobeFont*>(&other);
    return o && o->m_name == m_name && o->m_color == m_color && o->m_size == m_size && o->m_unit == m_unit
        && o->m_angle == m_angle && o->m_style == m_style;
}

void TGlobeFont::CreateHandle()
{
    if (!m_canvas)
        return;
    TCustomGlobeView& globe = m_canvas->Globe();
    AltitudeStamp = globe.Projection().Altitude();
    int h = m_canvas->FontRenderHeight(m_size, m_unit);
    m_drawable = h >= globe.GetMinTextHeight();
    if (globe.GetMaxTextHeight() > 0 && h > globe.GetMaxTextHeight())
        h = globe.GetMaxTextHeight();
    m_font = QFont(m_name);
    m_font.setPixelSize(std::max(h, 1));
    m_font.setBold((m_style & fsBold) != 0);
    m_font.setItalic((m_style & fsItalic) != 0);
    m_font.setUnderline((m_style & fsUnderline) != 0);
    m_font.setStrikeOut((m_style & fsStrikeOut) != 0);
    m_hasHandle = true;
}

void TGlobeFont::RenderAttribute(TGlobeCanvas& canvas, bool selected)
{
    // The size follows the zoom for fonts in earth units.
    if (m_hasHandle && &canvas == m_canvas && AltitudeStamp != canvas.Globe().Projection().Altitude())
        DestroyHandle();
    TGlobeAttribute::RenderAttribute(canvas, selected);
    canvas.SelectFont(m_font, selected ? canvas.Globe().SelectedPen().PenColor() : m_color, m_drawable);
}

// --- canvas ---

TGlobeCanvas::TGlobeCanvas(TCustomGlobeView& globe) : m_globe(globe)
{
    SymbolFont.Define(QStringLiteral("WingDings"), 0, 9, Pixel, 0, 0);
    TextFont.Define(QStringLiteral("Arial"), 0, 9, Pixel, 0, 0);
    m_currentPen = Pen.MakePen();
    m_currentBrush = Brush.MakeBrush();
}

TGlobeCanvas::~TGlobeCanvas()
{
    // Nothing queued may outlive the pass it belongs to.
    Flush();
}

std::unique_ptr<TGlobeCanvas> TGlobeCanvas::Clone() const
{
    auto copy = std::make_unique<TGlobeCanvas>(m_globe);
    copy->m_width = m_width;
    copy->m_height = m_height;
    copy->RenderDPI = RenderDPI;
    copy->ScreenDPI = ScreenDPI;
    copy->Antialiased = Antialiased;
    copy->UseRasterThreads = UseRasterThreads;
    copy->Pen.Assign(Pen);
    copy->Brush.Assign(Brush);
    copy->SymbolFont.Assign(SymbolFont);
    copy->TextFont.Assign(TextFont);
    return copy;
}

template <class Operation> void TGlobeCanvas::Paint(Operation&& operation)
{
    if (!m_deferred) {
        operation(*m_painter);
        return;
    }
    TGlobeRasterThreads::Instance().Post(
        m_target, [operation = std::forward<Operation>(operation)](QPainter& painter, const QPoint*, const QRect&) {
            operation(painter);
        });
}

template <class Operation> void TGlobeCanvas::PaintPoints(const QPoint* points, int n, Operation&& operation)
{
    if (!m_deferred) {
        operation(*m_painter, points, n);
        return;
    }
    // A band that the points with the pen's width and the smoothing do not
    // reach skips them: the operations drawing points leave the painter as
    // they found it. Without bands every operation runs.
    int top = 0, bottom = -1;
    if (!m_target.Bands[0].isNull()) {
        const auto [low, high] = std::minmax_element(points, points + n, [](const QPoint& a, const QPoint& b) {
            return a.y() < b.y();
        });
        const int reach = std::max(1, m_currentPen.width()) + 2;
        top = low->y() - reach;
        bottom = high->y() + reach;
    }
    // The caller's points are scratch space that the next object reuses.
    TGlobeRasterThreads& raster = TGlobeRasterThreads::Instance();
    const TGlobeRasterThreads::TPoints copy = raster.CopyPoints(points, n);
    raster.Post(m_target, [copy, top, bottom, operation = std::forward<Operation>(operation)](
                              QPainter& painter, const QPoint* batch, const QRect& band) {
        if (band.isNull() || (bottom >= band.top() && top <= band.bottom()))
            operation(painter, batch + copy.Offset, copy.Count);
    });
}

template <class Operation> void TGlobeCanvas::PaintHere(Operation&& operation)
{
    if (!m_deferred) {
        operation(*m_painter);
        return;
    }
    Flush();
    for (QPainter* painter : m_target.Painters)
        if (painter)
            operation(*painter);
}

void TGlobeCanvas::Begin(QPainter& painter)
{
    m_painter = &painter;
    m_target = {};
    // Window painters stay on this thread.
    m_deferred = UseRasterThreads && painter.device() && painter.device()->devType() == QInternal::Image;
    if (m_deferred && !BeginBands(painter))
        m_target.Painters[0] = &painter;
    Paint([](QPainter& p) { p.save(); });
    ApplyHints();
    RefreshDC();
}

bool TGlobeCanvas::BeginBands(QPainter& painter)
{
    const int bands = TGlobeRasterThreads::Instance().Threads();
    const int h = m_height;
    // Bands meet on whole pixels only at whole pixel ratios.
    if (bands < 2 || painter.device() != &BackBuffer || painter.hasClipping() || !painter.transform().isIdentity() ||
        h < 16 * bands || m_pixelRatio != std::floor(m_pixelRatio))
        return false;
    // Each band's painter sees the whole back buffer and is clipped to its
    // rows: lines are then stepped from the same ends as in one painter, so
    // the bands set the very pixels one painter sets.
    uchar* const bits = BackBuffer.bits();
    for (int k = 0; k < bands; ++k) {
        const int top = h * k / bands, bottom = h * (k + 1) / bands;
        TBand& band = m_bands[k];
        band.Image = QImage(bits, BackBuffer.width(), BackBuffer.height(), BackBuffer.bytesPerLine(),
                            BackBuffer.format());
        band.Image.setDevicePixelRatio(m_pixelRatio);
        band.Painter = std::make_unique<QPainter>(&band.Image);
        m_target.Bands[k] = QRect(0, top, m_width, bottom - top);
        band.Painter->setClipRect(m_target.Bands[k]);
        m_target.Painters[k] = band.Painter.get();
    }
    return true;
}

void TGlobeCanvas::EndBands()
{
    for (TBand& band : m_bands) {
        band.Painter.reset();
        band.Image = QImage();
    }
}

void TGlobeCanvas::End()
{
    if (m_painter)
        Paint([](QPainter& p) { p.restore(); });
    Flush();
    EndBands();
    m_deferred = false;
    m_target = {};
    m_painter = nullptr;
}

void TGlobeCanvas::Flush()
{
    if (m_deferred)
        TGlobeRasterThreads::Instance().Finish();
}

void TGlobeCanvas::ApplyHints()
{
    Paint([antialiased = Antialiased](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, antialiased);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        // Integer device points are pixel centres: lines of one pixel cover
        // one pixel instead of smearing over two.
        if (antialiased)
            p.translate(0.5, 0.5);
    });
}

bool TGlobeCanvas::SizeBMP(int w, int h, int dpi)
{
    if (!ResizeProjection(w, h))
        return false;
    RenderDPI = dpi;
    NewBackBuffer();
    return true;
}

bool TGlobeCanvas::FollowWindowFormat(QImage::Format format)
{
    // Copying between two formats converts every pixel, three times slower
    // than a plain copy; both formats draw the same opaque pixels.
    if (format == m_bufferFormat || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied))
        return false;
    m_bufferFormat = format;
    NewBackBuffer();
    return true;
}

bool TGlobeCanvas::FollowPixelRatio(double ratio)
{
    if (ratio <= 0 || ratio == m_pixelRatio)
        return false;
    m_pixelRatio = ratio;
    NewBackBuffer();
    return true;
}

void TGlobeCanvas::NewBackBuffer()
{
    Flush();
    // The surface keeps its size in window units; on a dense screen the
    // back buffer holds as many pixels as the screen shows there.
    BackBuffer = QImage(static_cast<int>(std::ceil(m_width * m_pixelRatio)),
                        static_cast<int>(std::ceil(m_height * m_pixelRatio)), m_bufferFormat);
    BackBuffer.setDevicePixelRatio(m_pixelRatio);
    BackBuffer.fill(Qt::black);
}

bool TGlobeCanvas::ResizeProjection(int w, int h)
{
    if (w < 1 || h < 1)
        return false;
    TGlobeProjection& prj = m_globe.Projection();
    const int oldW = m_width, oldH = m_height;
    TPointLL corner;
    const bool cornerOnGlobe = prj.DeviceXYToLL(oldW, oldH, corner);
    const TGlobeOptionsSet options = m_globe.GlobeOptions();
    const bool fixed = (options & GlobeOption(goFixedCenterXYOnResize)) != 0;
    int32_t x0 = TGlobeProjection::ClampOrigin(int64_t{prj.XOrigin()} * w / oldW);
    int32_t y0 = TGlobeProjection::ClampOrigin(int64_t{prj.YOrigin()} * h / oldH);
    m_width = w;
    m_height = h;
    if (!fixed) {
        prj.SetIntegerProp(ppXOrigin, x0);
        prj.SetIntegerProp(ppYOrigin, y0);
    }
    if (!(options & GlobeOption(goConstantScaleOnResize)))
        prj.SetScaleFactor(prj.ScaleFactor() * std::hypot(w, h) / std::hypot(oldW, oldH));
    if (fixed)
        return true;
    x0 = prj.XOrigin();
    y0 = prj.YOrigin();
    if (cornerOnGlobe) {
        QPoint q;
        prj.PointLLToXY(corner, q);
        x0 = TGlobeProjection::ClampOrigin(int64_t{x0} + w - q.x());
        y0 = TGlobeProjection::ClampOrigin(int64_t{y0} + h - q.y());
    }
    prj.SetIntegerProp(ppXOrigin, x0);
    prj.SetIntegerProp(ppYOrigin, y0);
    return true;
}

int TGlobeCanvas::ScaleUnitsToDevice(int n, TGlobeUnitTypes unit) const
{
    if (unit == Pixel)
        return static_cast<int>(MulDivRound(n, RenderDPI, std::max(ScreenDPI, 1)));
    return Round(::GlobeUnitsFrom(unit, n) * m_globe.Projection().ScaleFactor());
}

int32_t TGlobeCanvas::GlobeUnitsFrom(TGlobeUnitTypes unit, double x) const
{
    if (unit == Pixel)
        return Round(x / m_globe.Projection().ScaleFactor());
    return ::GlobeUnitsFrom(unit, x);
}

int TGlobeCanvas::FontRenderHeight(int size, TGlobeUnitTypes unit) const
{
    if (unit == Pixel)
        return static_cast<int>(int64_t{size} * RenderDPI / std::max(ScreenDPI, 1));
    return Round(size * static_cast<double>(::GlobeUnitsFrom(unit, 1)) * m_globe.Projection().ScaleFactor());
}

void TGlobeCanvas::RefreshDC()
{
    if (!m_painter)
        return;
    Paint([pen = m_currentPen, brush = m_currentBrush, font = m_currentFont](QPainter& p) {
        p.setPen(pen);
        p.setBrush(brush);
        p.setFont(font);
    });
}

void TGlobeCanvas::SelectPen(const QPen& pen)
{
    m_currentPen = pen;
    if (m_painter)
        Paint([pen](QPainter& p) { p.setPen(pen); });
}

void TGlobeCanvas::SelectBrush(const QBrush& brush)
{
    m_currentBrush = brush;
    if (m_painter)
        Paint([brush](QPainter& p) { p.setBrush(brush); });
}

void TGlobeCanvas::SelectFont(const QFont& font, uint32_t color, bool drawable)
{
    m_currentFont = font;
    m_textColor = ColorFromBGR(color);
    m_fontDrawable = drawable;
    if (m_painter)
        Paint([font](QPainter& p) { p.setFont(font); });
}

void TGlobeCanvas::Polygon(const QPoint* points, int n)
{
    if (!m_painter || n <= 1)
        return;
    // Under an outline the fill's smoothed edge is never seen: filling
    // without smoothing and smoothing only the outline costs far less.
    if (!Antialiased || m_currentPen.style() == Qt::NoPen || m_currentBrush.style() == Qt::NoBrush) {
        PaintPoints(points, n, [](QPainter& p, const QPoint* at, int count) {
            p.drawPolygon(at, count, Qt::OddEvenFill);
        });
        return;
    }
    PaintPoints(points, n, [pen = m_currentPen, brush = m_currentBrush](QPainter& p, const QPoint* at, int count) {
        p.setPen(Qt::NoPen);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawPolygon(at, count, Qt::OddEvenFill);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawPolygon(at, count, Qt::OddEvenFill);
        p.setBrush(brush);
    });
}

void TGlobeCanvas::Polyline(const QPoint* points, int n)
{
    if (m_painter && n > 1)
        PaintPoints(points, n, [](QPainter& p, const QPoint* at, int count) { p.drawPolyline(at, count); });
}

void TGlobeCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!m_painter || right <= left || bottom <= top)
        return;
    // Upright rectangles sit on whole pixels; smoothing would only blur
    // their corners.
    Paint([shifted = Antialiased, r = QRect(left, top, right - left - 1, bottom - top - 1)](QPainter& p) {
        p.save();
        if (shifted) {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.translate(-0.5, -0.5);
        }
        p.drawRect(r);
        p.restore();
    });
}

void TGlobeCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (m_painter && right > left && bottom > top)
        Paint([r = QRectF(left, top, right - left - 1, bottom - top - 1)](QPainter& p) { p.drawEllipse(r); });
}

namespace {
// Rectangles of whole pixels, whatever the painter's half-pixel shift.
QRectF PixelRect(const QRect& r, bool shifted)
{
    return shifted ? QRectF(r).translated(-0.5, -0.5) : QRectF(r);
}
} // namespace

void TGlobeCanvas::SetPixel(int x, int y, uint32_t bgr)
{
    if (m_painter)
        Paint([r = PixelRect(QRect(x, y, 1, 1), Antialiased), c = ColorFromBGR(bgr)](QPainter& p) { p.fillRect(r, c); });
}

void TGlobeCanvas::FillSurface(uint32_t bgr)
{
    if (m_painter)
        Paint([r = PixelRect(QRect(0, 0, m_width, m_height), Antialiased), c = ColorFromBGR(bgr)](QPainter& p) {
            p.fillRect(r, c);
        });
}

void TGlobeCanvas::TileImage(const QImage& image)
{
    if (!m_painter || image.isNull())
        return;
    // Pixmaps belong to this thread.
    const QPixmap tile = QPixmap::fromImage(image);
    PaintHere([r = PixelRect(QRect(0, 0, m_width, m_height), Antialiased), &tile](QPainter& p) {
        p.drawTiledPixmap(r, tile);
    });
}

void TGlobeCanvas::DrawImage(const QRect& target, const QImage& image)
{
    if (m_painter && !image.isNull())
        Paint([r = PixelRect(target, Antialiased), image](QPainter& p) { p.drawImage(r, image); });
}

void TGlobeCanvas::TextOut(int x, int y, const QString& text, int angleTenths)
{
    if (!m_painter || !m_fontDrawable || text.isEmpty())
        return;
    const qreal shift = Antialiased ? -0.5 : 0.0;
    const QFontMetrics metrics(m_currentFont);
    // Text is rare on the globe; fonts stay on this thread.
    PaintHere([&](QPainter& p) {
        p.save();
        p.setPen(m_textColor);
        p.translate(x + shift, y + shift);
        if (angleTenths != 0)
            p.rotate(-angleTenths / 10.0);
        p.drawText(QPointF(0, metrics.ascent()), text);
        p.restore();
    });
}

QSize TGlobeCanvas::TextExtent(const QString& text) const
{
    const QFontMetrics metrics(m_currentFont);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

int TGlobeCanvas::TextAscent() const { return QFontMetrics(m_currentFont).ascent(); }

// --- chains and clipping ---

void TGlobeCanvas::RenderChainStore(TChainStore& chains, TGlobeObjectState state, int margin)
{
    TGlobeProjection& prj = m_globe.Projection();
    if (prj.BackFace) {
        m_globe.TransparentBrush().RenderAttribute(*this, false);
        m_globe.TransparentPen().RenderAttribute(*this, false);
    }
    TCustomProjectionModel& model = prj.ProjectionModel();
    const bool closed = Has(state, osClosed);
    if ((prj.ProjectionFlags & pfContinuous) && closed) {
        for (int i = 0; i < chains.GetCount(); ++i) {
            const TPointStore* chain = chains.Chain(i);
            if (!chain || chain->GetCount() == 0)
                continue;
            const int n = model.PointStoreToXY(chains.GetChain(i), 0, true);
            DrawClippedPoly(n, state | osAllClip, margin);
        }
        return;
    }
    // Closed objects on flat models would need the seam pieces joined into
    // polygons; the program draws none, so they are drawn as open lines.
    for (int i = 0; i < chains.GetCount(); ++i)
        if (const TPointStore* chain = chains.Chain(i); chain && chain->GetCount() > 1)
            RenderOpenChain(chains.GetChain(i), state & static_cast<TGlobeObjectState>(~Bit(osClosed)), margin);
}

void TGlobeCanvas::RenderLine(TChainStore& chains, const TMER& mer, const TBoundingCap* cap)
{
    TCustomProjectionModel& model = m_globe.Projection().ProjectionModel();
    const TGlobeObjectState faces = Bit(osBackFace) | Bit(osFace);
    TGlobeObjectState state = faces;
    if (cap ? model.VisibleMER(mer, *cap, state) : model.VisibleMER(mer, state))
        // Clipped like any object: zoomed in, graticule points lie far outside.
        RenderChainStore(chains, faces | (state & osAllClip), CurrentPenWidth());
}

void TGlobeCanvas::RenderOpenChain(TPointStore& chain, TGlobeObjectState state, int margin)
{
    TGlobeProjection& prj = m_globe.Projection();
    TCustomProjectionModel& model = prj.ProjectionModel();
    const int32_t central = Round(prj.CentralMeridian() * GU_DEGREE);
    const int32_t seam = Mod180(int64_t{central} + GU_180_DEGREE);
    auto band = [central](const TPointLL& p) { return Mod180(int64_t{p.Long} - central) / GU_90_DEGREE; };

    // Device points of the current run of visible points; runs are copied to
    // the shared array only to be clipped and drawn.
    static thread_local std::vector<QPoint> run;
    static thread_local std::vector<QPoint> device;
    static thread_local std::vector<char> visible;
    run.clear();
    auto flush = [&] {
        if (run.size() > 1)
            DrawRun(run.data(), static_cast<int>(run.size()), state, margin);
        run.clear();
    };
    auto add = [&](const QPoint& q, bool onVisibleSide) {
        if (!onVisibleSide)
            flush();
        else if (run.empty() || std::abs(q.x() - run.back().x()) > 1 || std::abs(q.y() - run.back().y()) > 1)
            run.push_back(q);
    };
    auto addLL = [&](const TPointLL& p) {
        const bool onVisibleSide = model.PointLLToXY(p, 0);
        add(ScratchPoints()[0], onVisibleSide);
    };

    model.ChainPointsToXY(chain, device, visible);
    const int count = chain.GetCount();
    TPointLL previous = chain.GetLL(0);
    int32_t previousBand = band(previous);
    add(device[0], visible[0]);
    for (int i = 1; i < count; ++i) {
        const TPointLL p = chain.GetLL(i);
        const int32_t b = band(p);
        if ((previousBand > 0 && b < 0) || (previousBand < 0 && b > 0)) {
            // Damaged files may hold latitudes beyond the poles; the seam
            // point stays on the globe whatever they say.
            const int64_t crossing = int64_t{previous.Lat}
                + MulDivRound(int64_t{p.Lat} - previous.Lat, LongDiff(previous.Long, seam),
                              LongDiff(previous.Long, p.Long));
            const auto lat = static_cast<int32_t>(std::clamp<int64_t>(crossing, -GU_90_DEGREE, GU_90_DEGREE));
            addLL(PointLL(int64_t{seam} - 2 * previousBand, lat));
            flush();
            addLL(PointLL(int64_t{seam} + 2 * previousBand, lat));
        }
        add(device[static_cast<size_t>(i)], visible[static_cast<size_t>(i)]);
        previous = p;
        previousBand = b;
    }
    flush();
}

void TGlobeCanvas::DrawRun(const QPoint* points, int n, TGlobeObjectState state, int margin)
{
    // A run longer than the shared array is drawn in parts that share their
    // end points, so nothing is written past it.
    QPoint* scratch = ScratchPoints();
    int start = 0;
    while (start < n - 1) {
        const int part = std::min(n - start, ScratchPointCount);
        std::copy(points + start, points + start + part, scratch);
        DrawClippedPoly(part, state, margin);
        start += part - 1;
    }
}

namespace {
enum Edge { Top, Right, Bottom, Left };

inline bool Inside(const QPoint& p, Edge edge, int e)
{
    switch (edge) {
    case Top: return p.y() >= e;
    case Right: return p.x() <= e;
    case Bottom: return p.y() <= e;
    case Left: return p.x() >= e;
    }
    return true;
}

inline int Clamp32(int64_t v)
{
    return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Where the segment from a to b crosses the edge.
inline QPoint Crossing(const QPoint& a, const QPoint& b, Edge edge, int e)
{
    if (edge == Top || edge == Bottom)
        return {Clamp32(b.x() + MulDivRound(int64_t{e} - b.y(), int64_t{a.x()} - b.x(), int64_t{a.y()} - b.y())), e};
    return {e, Clamp32(b.y() + MulDivRound(int64_t{e} - b.x(), int64_t{a.y()} - b.y(), int64_t{a.x()} - b.x()))};
}

// One Sutherland-Hodgman pass; never writes more than the shared array holds.
int ClipEdge(const QPoint* src, int n, QPoint* dst, Edge edge, int e, bool closed)
{
    int out = 0;
    auto put = [&](const QPoint& p) {
        if (out < ScratchPointCount)
            dst[out++] = p;
    };
    QPoint s = closed ? src[n - 1] : src[0];
    bool sIn = Inside(s, edge, e);
    for (int i = 0; i < n; ++i) {
        const QPoint& p = src[i];
        const bool pIn = Inside(p, edge, e);
        if (pIn) {
            if (!sIn)
                put(Crossing(s, p, edge, e));
            put(p);
        } else if (sIn) {
            put(Crossing(s, p, edge, e));
        }
        s = p;
        sIn = pIn;
    }
    return out;
}
} // namespace

int TGlobeCanvas::ClipPoly(int n, TGlobeObjectState state, int margin)
{
    const bool closed = Has(state, osClosed);
    // Two pixels more than asked for keep the edges that clipping adds (and
    // their antialiased fringe) out of sight even for pens of width 0 or 1.
    margin = std::max(margin, 0) + 2;
    const struct { TGlobeObjectStateBit bit; Edge edge; int e; } edges[] = {
        {osClipTop, Top, -margin},
        {osClipRight, Right, m_width + margin},
        {osClipBottom, Bottom, m_height + margin},
        {osClipLeft, Left, -margin},
    };
    QPoint* src = ScratchPoints();
    QPoint* dst = ClipPoints();
    for (const auto& edge : edges) {
        if (!Has(state, edge.bit) || n < 2)
            continue;
        n = ClipEdge(src, n, dst, edge.edge, edge.e, closed);
        std::swap(src, dst);
    }
    if (src != ScratchPoints())
        std::copy(src, src + n, ScratchPoints());
    return n;
}

void TGlobeCanvas::DrawClippedPoly(int n, TGlobeObjectState state, int margin)
{
    n = std::min(n, ScratchPointCount);
    if (n > 1 && (state & osAllClip))
        n = ClipPoly(n, state, margin);
    if (n <= 1)
        return;
    if (Has(state, osClosed))
        Polygon(ScratchPoints(), n);
    else
        Polyline(ScratchPoints(), n);
}
