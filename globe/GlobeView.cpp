#include "globe/GlobeView.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobeGraticule.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobeProjections.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {
int g_instanceCount = 0;

// A chain of points in longitude and latitude, for the drawing primitives.
std::unique_ptr<TChainStore> ChainOf(const TPointLL* points, int n)
{
    auto chains = std::make_unique<TChainStore>();
    TPointStore& chain = chains->GetChain(0);
    for (int i = 0; i < n; ++i)
        if (points[i].Height != 0)
            chain.SetHeightFlag(true);
    for (int i = 0; i < n; ++i)
        chain.Add(points[i]);
    return chains;
}
} // namespace

int TGlobeView::InstanceCount(int delta)
{
    g_instanceCount += delta;
    return g_instanceCount;
}

TGlobeView::TGlobeView(QWidget* parent)
    : QWidget(parent), m_scrollBars(*this, [this](Qt::Orientation o, int action) { ScrollAction(o, action); })
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    if (InstanceCount(+1) == 1) {
        ScratchPoints();
        ClipPoints();
    }
    resize(150, 150);
    m_canvas = std::make_unique<TGlobeCanvas>(*this);
    m_canvas->RenderDPI = m_canvas->ScreenDPI = ScreenDPI();
    m_layers = std::make_unique<TGlobeLayerStore>(*this);
    m_projection = std::make_unique<TGlobeProjection>(*this);
    m_canvas->SizeBMP(150, 150, m_canvas->ScreenDPI);
    for (TGlobeAttribute* attribute : std::initializer_list<TGlobeAttribute*>{
             &m_selectedPen, &m_selectedBrush, &m_transparentPen, &m_transparentBrush, &m_graticulePen})
        attribute->OnChange = [this] { RedrawLayers(); };
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    setFont(font);
    m_redrawNeeded = true;
}

TGlobeView::~TGlobeView()
{
    m_destroying = true;
    m_layers.reset();
    // Each source is taken off the list before it is freed, so that its
    // farewell notification finds nothing left to remove.
    while (!m_sources.empty()) {
        TGlobeObjectSource* source = m_sources.back();
        m_sources.pop_back();
        delete source;
    }
    m_canvas.reset();
    m_projection.reset();
    if (InstanceCount(-1) == 0)
        FreeSharedPointArrays();
}

QSize TGlobeView::SurfaceSize() const
{
    return m_canvas ? QSize(m_canvas->Width(), m_canvas->Height()) : size();
}

int TGlobeView::ScreenDPI() const
{
    if (m_canvas)
        return m_canvas->ScreenDPI;
    const QScreen* s = screen();
    return s ? std::max(1, qRound(s->logicalDotsPerInchY())) : 96;
}

int TGlobeView::RenderDPI() const { return m_canvas ? m_canvas->RenderDPI : ScreenDPI(); }

// --- notifications and redraws ---

void TGlobeView::Notify(TGlobeNotification kind, TGlobeRoot* item)
{
    if (!m_layers)
        return;
    switch (kind) {
    case gnLayerCreate:
        m_layers->Add(static_cast<TGlobeLayer*>(item));
        if (OnLayerCreate)
            OnLayerCreate(this, static_cast<TGlobeLayer*>(item));
        break;
    case gnLayerFree:
        if (OnLayerFree)
            OnLayerFree(this, static_cast<TGlobeLayer*>(item));
        m_layers->Delete(static_cast<TGlobeLayer*>(item));
        break;
    case gnObjectSourceCreate:
        m_sources.push_back(static_cast<TGlobeObjectSource*>(item));
        if (OnObjectSourceCreate && !m_destroying)
            OnObjectSourceCreate(this, static_cast<TGlobeObjectSource*>(item));
        break;
    case gnObjectSourceActiveChange:
        if (OnObjectSourceActiveChange && !m_destroying)
            OnObjectSourceActiveChange(this, static_cast<TGlobeObjectSource*>(item));
        break;
    case gnObjectSourceFree:
        if (OnObjectSourceFree && !m_destroying)
            OnObjectSourceFree(this, static_cast<TGlobeObjectSource*>(item));
        m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), item), m_sources.end());
        break;
    }
    RedrawLayers();
}

void TGlobeView::RedrawLayers()
{
    m_redrawNeeded = true;
    if (!m_destroying)
        update();
}

void TGlobeView::DoPanned()
{
    if (OnPanned)
        OnPanned(this);
}

void TGlobeView::DoZoomed()
{
    if (OnZoomed)
        OnZoomed(this);
}

void TGlobeView::DoObjectCreate(TGlobeObject* object)
{
    if (OnObjectCreate)
        OnObjectCreate(this, object);
}

bool TGlobeView::DoObjectRender(TGlobeObject& object, TGlobeObjectState state)
{
    if (!OnObjectRender)
        return false;
    OnObjectRender(this, &object, state);
    return true;
}

bool TGlobeView::RenderCheckpoint(bool noInterrupt)
{
    if (QCoreApplication::closingDown())
        return true;
    if (noInterrupt)
        return false;
    if (m_options & GlobeOption(goInterruptable))
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    return m_abort;
}

void TGlobeView::ShowProgress()
{
    // Only a paint has a window painter; the back buffer's picture so far
    // goes to the window and the window to the screen.
    if (!m_windowPainter)
        return;
    if (m_options & GlobeOption(goDoubleBuffered)) {
        m_canvas->Flush();
        m_windowPainter->save();
        m_windowPainter->setCompositionMode(QPainter::CompositionMode_Source);
        m_windowPainter->drawImage(0, 0, m_canvas->BackBuffer);
        m_windowPainter->restore();
    }
    QWidget* top = window();
    QBackingStore* store = backingStore();
    if (store && top->windowHandle())
        store->flush(QRegion(QRect(mapTo(top, QPoint(0, 0)), SurfaceSize())), top->windowHandle());
}

// --- properties ---

void TGlobeView::SetGlobeOptions(TGlobeOptionsSet options)
{
    const TGlobeOptionsSet transparent = GlobeOption(goTransparentBackground);
    if ((options & transparent) != (m_options & transparent)) {
        if (m_options & transparent)
            m_backgroundImage = QImage();
        setAttribute(Qt::WA_TranslucentBackground, (options & transparent) != 0);
    }
    m_options = options;
    RedrawLayers();
}

void TGlobeView::SetLatitudeStep(int degrees)
{
    if (degrees < 0 || degrees > 89)
        return;
    m_latitudeStep = degrees;
    RedrawLayers();
}

void TGlobeView::SetLongitudeStep(int degrees)
{
    if (degrees < 0 || degrees > 179)
        return;
    m_longitudeStep = degrees;
    RedrawLayers();
}

int32_t TGlobeView::GetMinTextHeight() const { return MulDiv(m_minTextHeight, RenderDPI(), ScreenDPI()); }
int32_t TGlobeView::GetMaxTextHeight() const { return MulDiv(m_maxTextHeight, RenderDPI(), ScreenDPI()); }

void TGlobeView::SetMinTextHeight(int32_t pixels)
{
    if (pixels == m_minTextHeight)
        return;
    m_minTextHeight = pixels;
    RedrawLayers();
}

void TGlobeView::SetMaxTextHeight(int32_t pixels)
{
    if (pixels == m_maxTextHeight)
        return;
    m_maxTextHeight = pixels;
    RedrawLayers();
}

std::unique_ptr<TGlobeProjection> TGlobeView::SetProjection(std::unique_ptr<TGlobeProjection> projection)
{
    if (!projection)
        return nullptr;
    std::swap(projection, m_projection);
    RedrawLayers();
    return projection;
}

void TGlobeView::SetBackgroundBitmap(const QImage& image)
{
    m_backgroundImage = image.copy();
    RedrawLayers();
}

void TGlobeView::SetColor(uint32_t color)
{
    m_color = color;
    RedrawLayers();
}

void TGlobeView::SetDataDirectory(const QString& directory)
{
    m_dataDirectory = directory;
    if (!directory.isEmpty() && !directory.endsWith(QLatin1Char('/')) && !directory.endsWith(QLatin1Char('\\')))
        m_dataDirectory += QLatin1Char('/');
}

void TGlobeView::SetGraticuleDrawMode(TGraticuleDraw mode)
{
    if (mode == m_graticuleDrawMode)
        return;
    m_graticuleDrawMode = mode;
    RedrawLayers();
}

void TGlobeView::SetSurfaceColor(uint32_t color)
{
    m_surfaceColor = color;
    m_surfaceBrush.SetBrushColor(color);
    RedrawLayers();
}

QString TGlobeView::ResolveFilename(const QString& name) const
{
    if (name.isEmpty())
        return {};
    if (QFileInfo::exists(name))
        return name;
    const QString file = QFileInfo(name).fileName();
    if (!m_dataDirectory.isEmpty() && QFileInfo::exists(m_dataDirectory + file))
        return m_dataDirectory + file;
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + file;
    return QFileInfo::exists(beside) ? beside : QString();
}

bool TGlobeView::ProgressMessage(TProgressMessage kind, const QString& text)
{
    bool abort = false;
    if (OnProgress)
        OnProgress(this, kind, text, abort);
    return abort;
}

// --- memory account ---

int32_t TGlobeView::CacheUsedDelta(int32_t delta)
{
    m_cacheUsed += delta;
    const int64_t capacity = int64_t{CacheCapacity} * 1024;
    if (m_cacheUsed > capacity) {
        if (OnReduceCacheMemory)
            OnReduceCacheMemory(this);
        const int64_t target = capacity - MulDivRound(capacity, 25, 100);
        m_cacheUsed = ReduceCacheMemory(static_cast<int32_t>(std::clamp<int64_t>(target, 0, INT32_MAX)));
    }
    return m_cacheUsed;
}

int32_t TGlobeView::UpdateTotalMemoryInUse()
{
    int64_t total = 0;
    for (TGlobeObjectSource* source : m_sources)
        total += source->ObjectInstanceSize();
    m_cacheUsed = static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
    return CacheUsedDelta(0);
}

int32_t TGlobeView::ReduceCacheMemory(int32_t target)
{
    int64_t total = 0;
    std::vector<TObjectData*> entries;
    for (TGlobeObjectSource* source : m_sources) {
        total += source->ObjectInstanceSize();
        source->ListActiveObjects(entries);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TObjectData* a, const TObjectData* b) { return a->MRU < b->MRU; });
    for (TObjectData* entry : entries) {
        TGlobeObject* object = std::exchange(entry->Object, nullptr);
        total -= object->ObjectInstanceSize();
        entry->State = object->State();
        entry->PresenterID = object->PresenterID();
        delete object;
        if (total < target)
            break;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(total, 0, INT32_MAX));
}

void TGlobeView::Clear()
{
    EnvironmentFile.clear();
    m_layers->Clear();
}

// --- paint cycle ---

void TGlobeView::PaintWindowBackground()
{
    TGlobeCanvas& canvas = *m_canvas;
    if (!m_backgroundImage.isNull())
        canvas.TileImage(m_backgroundImage);
    else
        canvas.FillSurface(m_color);
    if (m_options & GlobeOption(goTransparentGlobe))
        return;
    canvas.Brush.SetBrushColor(m_surfaceColor);
    canvas.Pen.SetPenColor(m_surfaceColor);
    canvas.Pen.RenderAttribute(canvas, false);
    m_surfaceBrush.RenderAttribute(canvas, false);
    const std::vector<QPoint> disc = m_projection->ProjectionModel().PaintSurface();
    const int n = static_cast<int>(std::min<size_t>(disc.size(), ScratchPointCount));
    std::copy(disc.begin(), disc.begin() + n, ScratchPoints());
    canvas.DrawClippedPoly(n, Bit(osClosed) | osAllClip, 1);
}

void TGlobeView::PaintGraticule()
{
    TGlobePen& pen = m_projection->BackFace ? m_transparentPen : m_graticulePen;
    pen.RenderAttribute(*m_canvas, false);
    m_canvas->RefreshDC();
    if (OnPaintGraticule) {
        OnPaintGraticule(this);
        return;
    }
    auto* model = dynamic_cast<TProjectionModel*>(&m_projection->ProjectionModel());
    if (!model)
        return;
    // The lines stay from paint to paint with their 3D points, as objects do.
    if (m_options & GlobeOption(goCache3DPoints))
        m_graticule.Render(*m_canvas, model->GraticuleLines(m_longitudeStep, m_latitudeStep));
    else
        model->PaintGraticule(m_longitudeStep, m_latitudeStep);
}

void TGlobeView::RenderLayers()
{
    if (m_options & GlobeOption(goTransparentGlobe)) {
        m_projection->BackFace = true;
        try {
            m_layers->Render(false);
            if (m_graticuleDrawMode != gdNone)
                PaintGraticule();
        } catch (...) {
            m_projection->BackFace = false;
            throw;
        }
        m_projection->BackFace = false;
    }
    if (m_graticuleDrawMode == gdBehind)
        PaintGraticule();
    m_layers->Render(false);
    if (m_graticuleDrawMode == gdInFront)
        PaintGraticule();
}

void TGlobeView::DrawPicture(QPainter& painter)
{
    m_canvas->Begin(painter);
    try {
        PaintWindowBackground();
        RenderLayers();
        if (!m_abort && OnRender)
            OnRender(this);
    } catch (...) {
        m_canvas->End();
        throw;
    }
    m_canvas->End();
}

void TGlobeView::RenderBackBuffer()
{
    {
        QPainter painter(&m_canvas->BackBuffer);
        DrawPicture(painter);
    }
    m_redrawNeeded = false;
    TakePendingSize();
}

void TGlobeView::TakePendingSize()
{
    if (!m_sizePending)
        return;
    m_sizePending = false;
    SizeSurface();
}

void TGlobeView::paintEvent(QPaintEvent* /*event*/)
{
    if (m_painting)
        return;
    m_painting = true;
    m_abort = false;
    QPainter window(this);
    m_windowPainter = &window;
    const bool doubleBuffered = (m_options & GlobeOption(goDoubleBuffered)) != 0;
    if (QBackingStore* store = backingStore())
        if (const auto* image = dynamic_cast<const QImage*>(store->paintDevice());
            image && m_canvas->FollowWindowFormat(image->format()))
            m_redrawNeeded = true;
    if (m_canvas->FollowPixelRatio(devicePixelRatioF()))
        m_redrawNeeded = true;
    try {
        if (!doubleBuffered) {
            DrawPicture(window);
        } else if (m_redrawNeeded) {
            QPainter buffer(&m_canvas->BackBuffer);
            DrawPicture(buffer);
        }
    } catch (const std::exception&) {
        // A failed drawing pass still shows what was drawn; the next
        // change draws again.
    }
    FinishPaint(window, doubleBuffered);
}

void TGlobeView::FinishPaint(QPainter& window, bool doubleBuffered)
{
    if (doubleBuffered) {
        window.setCompositionMode(QPainter::CompositionMode_Source);
        window.drawImage(0, 0, m_canvas->BackBuffer);
        window.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (m_zoomDragging) {
        QPen pen(Qt::white, 1, Qt::DotLine);
        window.setPen(pen);
        window.setBrush(Qt::NoBrush);
        window.drawRect(m_zoomRect.normalized());
    }
    try {
        m_canvas->Begin(window);
        m_layers->Render(true);
    } catch (const std::exception&) {
    }
    m_canvas->End();
    if (!m_abort && OnPaint)
        OnPaint(this);
    m_redrawNeeded = false;
    m_painting = false;
    m_windowPainter = nullptr;
    TakePendingSize();
    if (!m_abort)
        UpdateTotalMemoryInUse();
    else
        RedrawLayers();
}

void TGlobeView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_scrollBars.Place();
    if (m_painting || m_canvas->Drawing()) {
        // A pass that lets events run still draws into the back buffer: the
        // new size waits for its end, and the pass stops early.
        m_sizePending = true;
        m_abort = true;
        return;
    }
    SizeSurface();
}

void TGlobeView::SizeSurface()
{
    const QSize client = m_scrollBars.ClientSize();
    m_canvas->SizeBMP(client.width(), client.height(), m_canvas->ScreenDPI);
    RedrawLayers();
    UpdateScrollBars();
}

void TGlobeView::SetScrollBars(TScrollStyle style)
{
    if (style == m_scrollBars.Style())
        return;
    m_scrollBars.SetStyle(style);
    SizeSurface();
}

void TGlobeView::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        // System colours of brushes follow the new palette.
        RedrawLayers();
        break;
    case QEvent::ParentChange:
        // The scroll bars show only inside a parent.
        m_scrollBars.Place();
        SizeSurface();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

// --- drawing primitives ---

void TGlobeView::RenderLine(const TPointLL& from, const TPointLL& to, int steps)
{
    const std::unique_ptr<TChainStore> chains = LineChain(from, to, steps);
    m_canvas->RenderLine(*chains, chains->ChainStoreMER(), nullptr);
}

void TGlobeView::RenderPolygon(const TPointLL* points, int n)
{
    m_canvas->RenderChainStore(*ChainOf(points, n), Bit(osClosed) | osAllClip, m_canvas->CurrentPenWidth());
}

void TGlobeView::RenderPolyLine(const TPointLL* points, int n)
{
    m_canvas->RenderChainStore(*ChainOf(points, n), osAllClip, m_canvas->CurrentPenWidth());
}

void TGlobeView::RenderCircle(const TPointLL& centre, int32_t radius, int segments)
{
    const std::vector<TPointLL> corners = CirclePoints(centre, radius, segments);
    if (!corners.empty())
        RenderPolygon(corners.data(), static_cast<int>(corners.size()));
}

void TGlobeView::RenderGreatCircleLine(const TPointLL& from, const TPointLL& to, TGreatCircleKind kind)
{
    // A point every degree keeps the curve smooth at any zoom that shows
    // the whole arc; the far side is cut off at the horizon.
    const std::vector<TPointLL> points = GreatCirclePoints(from, to, kind);
    if (points.size() > 1)
        RenderPolyLine(points.data(), static_cast<int>(points.size()));
}

void TGlobeView::RenderTextOut(int32_t longitude, int32_t latitude, const QString& text)
{
    QPoint p;
    if (m_projection->LLToDeviceXY(longitude, latitude, p))
        m_canvas->TextOut(p.x(), p.y(), text);
}
