// The view operations of the globe control: zooming to a rectangle,
// panning, centring, saved positions, pictures of the view for other
// painters, and the scroll bars that follow the view.

#include "globe/GlobeView.h"

#include "globe/GlobeLayerStore.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobeProjections.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdlib>
#include <utility>

void TGlobeView::SetViewRect(int32_t left, int32_t top, int32_t width, int32_t height)
{
    TGlobeProjection& prj = *m_projection;
    if (width == 0 || height == 0) {
        prj.SetScaleFactor(0);
        return;
    }
    const QSize surface = SurfaceSize();
    const int W = surface.width(), H = surface.height();
    const double S = prj.ScaleFactor();
    double a = std::min(W / static_cast<double>(width), H / static_cast<double>(height));
    a = std::min(a, 3.0);
    const int64_t dx = Round(a * (prj.XOrigin() / S - (int64_t{left} + width / 2)));
    const int64_t dy = Round(a * (prj.YOrigin() / S - (int64_t{top} + height / 2)));
    const int32_t x0 = TGlobeProjection::ClampOrigin(dx + W / 2);
    const int32_t y0 = TGlobeProjection::ClampOrigin(dy + H / 2);
    if (std::max(W, H) / a > 2147483647.0)
        a = std::max(W, H) / 2147483647.0;
    if (a == S)
        return;
    try {
        m_viewRect = QRect(0, 0, Round(W / a), Round(H / a));
        // The scale's own change is told, and the finished zoom once more.
        prj.SetScaleFactor(a);
        prj.SetIntegerProp(ppXOrigin, x0);
        prj.SetIntegerProp(ppYOrigin, y0);
        DoZoomed();
    } catch (const std::exception&) {
        // What was set so far stays.
    }
}

void TGlobeView::PanViewXY(int32_t dx, int32_t dy)
{
    if (dx != 0 || dy != 0) {
        TGlobeProjection& prj = *m_projection;
        const double s = prj.ScaleFactor();
        prj.SetIntegerProp(ppXOrigin, TGlobeProjection::ClampOrigin(int64_t{prj.XOrigin()} - Round(dx * s)));
        prj.SetIntegerProp(ppYOrigin, TGlobeProjection::ClampOrigin(int64_t{prj.YOrigin()} - Round(dy * s)));
        DoPanned();
    }
    UpdateScrollBars();
    RedrawLayers();
}

void TGlobeView::LocateToLL(int32_t longitude, int32_t latitude)
{
    m_projection->SetCenterLongitude(Mod180(longitude) / static_cast<double>(GU_DEGREE));
    m_projection->SetCenterLatitude(latitude / static_cast<double>(GU_DEGREE));
}

void TGlobeView::LocateToObject(TGlobeObject* object)
{
    if (!object)
        return;
    const TMER m = object->ObjectMER();
    LocateToLL(static_cast<int32_t>(int64_t{m.Long} + m.Width / 2), static_cast<int32_t>(int64_t{m.Lat} + m.Height / 2));
}

TGlobePOZ TGlobeView::GetPOZ() const
{
    const TGlobeProjection& prj = *m_projection;
    const QPoint centre = prj.GetGlobeCenterXY();
    return {prj.ScaleFactor(),
            centre.x(),
            centre.y(),
            Round(prj.XRotation() * GU_DEGREE),
            Round(prj.YRotation() * GU_DEGREE),
            Round(prj.ZRotation() * GU_DEGREE)};
}

void TGlobeView::SetPOZ(const TGlobePOZ& poz)
{
    TGlobeProjection& prj = *m_projection;
    prj.SetScaleFactor(poz.ScaleFactor);
    prj.SetFloatProp(ppXRotation, poz.XRotation / static_cast<double>(GU_DEGREE));
    prj.SetFloatProp(ppYRotation, poz.YRotation / static_cast<double>(GU_DEGREE));
    prj.SetFloatProp(ppZRotation, poz.ZRotation / static_cast<double>(GU_DEGREE));
    prj.SetGlobeCenterXY(QPoint(poz.CenterX, poz.CenterY));
}

void TGlobeView::RenderToCanvas(QPainter& target, const QRect& rect)
{
    if (m_rendering)
        return;
    m_rendering = true;
    std::unique_ptr<TGlobeProjection> savedProjection = std::move(m_projection);
    std::unique_ptr<TGlobeCanvas> savedCanvas = std::move(m_canvas);
    m_projection = savedProjection->Clone();
    m_canvas = savedCanvas->Clone();
    const TGlobeOptionsSet savedOptions = m_options;
    m_options &= static_cast<TGlobeOptionsSet>(~(GlobeOption(goDoubleBuffered) | GlobeOption(goInterruptable)));
    const bool savedRedraw = m_redrawNeeded;
    // A picture for another painter never shows progress in the window.
    QPainter* const savedWindowPainter = std::exchange(m_windowPainter, nullptr);
    target.save();
    auto restore = [&] {
        target.restore();
        target.save();
        target.setRenderHint(QPainter::Antialiasing, false);
        target.setPen(QPen(Qt::black, 1));
        target.setBrush(Qt::NoBrush);
        // One pixel outside the rectangle on every side.
        target.drawRect(rect.adjusted(-1, -1, 0, 0));
        target.restore();
        m_canvas = std::move(savedCanvas);
        m_projection = std::move(savedProjection);
        m_redrawNeeded = savedRedraw;
        m_windowPainter = savedWindowPainter;
        SetGlobeOptions(savedOptions);
        m_rendering = false;
    };
    try {
        const int dpi = target.device() ? target.device()->logicalDpiX() : ScreenDPI();
        target.translate(rect.topLeft());
        target.setClipRect(QRect(QPoint(0, 0), rect.size()));
        m_canvas->ResizeProjection(rect.width(), rect.height());
        m_canvas->RenderDPI = dpi;
        DrawPicture(target);
        m_canvas->Begin(target);
        m_layers->Render(true);
        m_canvas->End();
        if (OnPaint)
            OnPaint(this);
    } catch (...) {
        m_canvas->End();
        restore();
        throw;
    }
    restore();
}

void TGlobeView::ZoomAbout(double factor, const QPoint& at)
{
    TGlobeProjection& prj = *m_projection;
    const double before = prj.ScaleFactor();
    const QPoint origin = prj.GetGlobeCenterXY();
    prj.SetScaleFactor(before * factor);
    const double f = prj.ScaleFactor() / before;
    if (f == 1)
        return;
    prj.SetGlobeCenterXY(QPoint(Round(at.x() - f * (at.x() - origin.x())), Round(at.y() - f * (at.y() - origin.y()))));
}

// --- scroll bars ---

void TGlobeView::UpdateScrollBars()
{
    if (m_rendering || !parentWidget())
        return;
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical})
        if (m_scrollBars.Shown(orientation))
            UpdateScrollBar(orientation);
}

void TGlobeView::UpdateScrollBar(Qt::Orientation orientation)
{
    TGlobeProjection& prj = *m_projection;
    const bool horizontal = orientation == Qt::Horizontal;
    const TExtents e = prj.ExtentsLL();
    // The half and the whole of the range the bar can cover, in GU.
    const int64_t halfRange = horizontal ? GU_180_DEGREE : GU_90_DEGREE;
    const int64_t wholeRange = horizontal ? GU_360_DEGREE : GU_180_DEGREE;
    constexpr int64_t kLimit = 1073741823;
    const int64_t lo = std::max<int64_t>(Round(prj.FloatProp(horizontal ? ppMinLongitude : ppMinLatitude) * GU_DEGREE),
                                         horizontal ? e.Left : e.Top);
    const int64_t hi = std::min<int64_t>(Round(prj.FloatProp(horizontal ? ppMaxLongitude : ppMaxLatitude) * GU_DEGREE),
                                         horizontal ? e.Right : e.Bottom);
    const int64_t page = std::min<int64_t>(wholeRange, horizontal ? m_viewRect.width() : m_viewRect.height());
    const int64_t half = page / 2;
    const int64_t minimum = lo <= -halfRange ? -halfRange : -std::min<int64_t>(std::llabs(lo - page), kLimit);
    const int64_t maximum = hi >= halfRange ? halfRange : std::min<int64_t>(std::llabs(page + hi), kLimit);

    // The view may not leave the range: the origin is pulled back.
    const double scale = prj.ScaleFactor();
    const int surface = horizontal ? m_canvas->Width() : m_canvas->Height();
    double s = ((horizontal ? prj.XOrigin() : prj.YOrigin()) - surface / 2) / scale;
    if (s - half < minimum)
        s = static_cast<double>(minimum + half);
    if (s + half > maximum)
        s = static_cast<double>(maximum - half);
    prj.SetIntegerProp(horizontal ? ppXOrigin : ppYOrigin,
                       TGlobeProjection::ClampOrigin(int64_t{Round(s * scale)} + surface / 2));

    // The framework's maximum is the last position, the page not included.
    QScrollBar& bar = m_scrollBars.Bar(orientation);
    const QSignalBlocker quiet(bar);
    bar.setRange(static_cast<int>(minimum), static_cast<int>(std::max(minimum, maximum - page + 1)));
    bar.setPageStep(static_cast<int>(page));
    bar.setSingleStep(static_cast<int>(std::max<int64_t>(1, page / 20)));
    bar.setValue(-Round(s + half));
    bar.setEnabled(maximum - minimum + 1 > page);
}

void TGlobeView::ScrollAction(Qt::Orientation orientation, int action)
{
    QScrollBar& bar = m_scrollBars.Bar(orientation);
    const int page = bar.pageStep();
    // The framework moves the bar to its slider position after this; the
    // bar stays where the view puts it.
    int64_t d = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: d = -page / 20; break;
    case QAbstractSlider::SliderSingleStepAdd: d = page / 20; break;
    case QAbstractSlider::SliderPageStepSub: d = -page / 2; break;
    case QAbstractSlider::SliderPageStepAdd: d = page / 2; break;
    case QAbstractSlider::SliderMove: d = int64_t{bar.sliderPosition()} - bar.value(); break;
    default: // other moves of the bar are ignored
        bar.setSliderPosition(bar.value());
        return;
    }
    const auto step = static_cast<int32_t>(std::clamp<int64_t>(d, INT32_MIN, INT32_MAX));
    if (orientation == Qt::Horizontal)
        PanViewXY(step, 0);
    else
        PanViewXY(0, step);
    bar.setSliderPosition(bar.value());
}
