// The mouse and the keys of the globe control: selection, object clicks,
// rotation, rectangle and wheel zoom.

#include "globe/GlobeView.h"

#include "globe/GlobeLayerStore.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobeProjections.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {
TGlobeMouseButton FromQt(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return mzbLeft;
    case Qt::RightButton: return mzbRight;
    case Qt::MiddleButton: return mzbMiddle;
    default: return mzbNone;
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers)
{
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    return s;
}
} // namespace

void TGlobeView::MouseDown(TGlobeMouseButton button, TShiftState shift, int x, int y)
{
    if (m_zoomDragging) {
        m_zoomDragging = false;
        update();
        return;
    }
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
    TGlobeObject* hit = m_layers->ObjectAtXY(x, y);
    if ((m_options & GlobeOption(goMultiSelect)) && (shift & ssCtrl) && button == MouseSelectButton && hit)
        hit->SetSelected(!hit->Selected());
    if (shift & (ssShift | ssAlt | ssCtrl | ssDouble))
        return;
    if (button == MouseZoomButton) {
        m_zoomRect.setCoords(x, y, x + 1, y + 1);
        m_zoomDragging = true;
    }
    if (button == MouseSelectButton)
        m_layers->SetSelectedObject(hit);
    if (button == MouseRotateButton && m_projection->DeviceXYToLL(x, y, m_dragStart))
        m_rotating = true;
    if (hit && OnObjectClick)
        OnObjectClick(this, hit);
}

void TGlobeView::MouseMove(TShiftState shift, int x, int y)
{
    const bool interruptable = (m_options & GlobeOption(goInterruptable)) != 0;
    if (m_zoomDragging) {
        m_zoomRect.setRight(x);
        m_zoomRect.setBottom(y);
        update();
        if (interruptable)
            m_abort = true;
    }
    TPointLL c;
    if (m_rotating && m_projection->DeviceXYToLL(x, y, c)) {
        TGlobeProjection& prj = *m_projection;
        prj.SetFloatProp(ppXRotation, prj.XRotation() + (m_dragStart.Lat - c.Lat) / static_cast<double>(GU_DEGREE));
        prj.SetFloatProp(ppYRotation,
                         prj.YRotation() + Mod180(int64_t{m_dragStart.Long} - c.Long) / static_cast<double>(GU_DEGREE));
        if (interruptable)
            m_abort = true;
    }
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TGlobeView::MouseUp(TGlobeMouseButton button, TShiftState shift, int x, int y)
{
    if (m_zoomDragging) {
        m_zoomDragging = false;
        const QRect r = m_zoomRect;
        if (r.right() - r.left() < 10 || r.bottom() - r.top() < 10) {
            update();
        } else {
            const double s = m_projection->ScaleFactor();
            const int32_t l = Round(r.left() / s), t = Round(r.top() / s);
            SetViewRect(l, t, Round(r.right() / s) - l, Round(r.bottom() / s) - t);
            RedrawLayers();
        }
    }
    m_rotating = false;
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TGlobeView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseDown(FromQt(event->button()), ShiftOf(event->modifiers()), p.x(), p.y());
}

void TGlobeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseDown(FromQt(event->button()), ShiftOf(event->modifiers()) | ssDouble, p.x(), p.y());
}

void TGlobeView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseMove(ShiftOf(event->modifiers()), p.x(), p.y());
}

void TGlobeView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseUp(FromQt(event->button()), ShiftOf(event->modifiers()), p.x(), p.y());
}

void TGlobeView::wheelEvent(QWheelEvent* event)
{
    // Zooming with the wheel is allowed where zooming with the mouse is.
    if (MouseZoomButton == mzbNone || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    ZoomAbout(std::pow(1.25, event->angleDelta().y() / 120.0), event->position().toPoint());
    event->accept();
}

void TGlobeView::keyPressEvent(QKeyEvent* event)
{
    TGlobeProjection& prj = *m_projection;
    const bool rotate = MouseRotateButton != mzbNone;
    const bool zoom = MouseZoomButton != mzbNone;
    // A tenth of the visible width per key, at most 15°.
    const double step = std::clamp(width() / prj.ScaleFactor() / GU_DEGREE / 10, 0.01, 15.0);
    const QPoint centre(width() / 2, height() / 2);
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!rotate)
            break;
        prj.SetFloatProp(ppYRotation, prj.YRotation() + (event->key() == Qt::Key_Left ? -step : step));
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!rotate)
            break;
        prj.SetFloatProp(ppXRotation, prj.XRotation() + (event->key() == Qt::Key_Up ? step : -step));
        return;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if (!zoom)
            break;
        ZoomAbout(event->key() == Qt::Key_Plus ? 1.25 : 0.8, centre);
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TGlobeView::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TGlobeView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave(this);
}
