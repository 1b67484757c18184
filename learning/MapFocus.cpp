#include "learning/MapFocus.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

FocusBackAfterMapUse::FocusBackAfterMapUse(QWidget& canvas, std::function<QWidget*()> typingTarget)
    : QObject(&canvas), m_canvas(canvas), m_typingTarget(std::move(typingTarget))
{
    canvas.installEventFilter(this);
}

bool FocusBackAfterMapUse::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_canvas)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_pressedAt = static_cast<QMouseEvent*>(event)->position().toPoint();
        m_dragged = false;
        break;
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (move->buttons() != Qt::NoButton
            && (move->position().toPoint() - m_pressedAt).manhattanLength() >= QApplication::startDragDistance())
            m_dragged = true;
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_dragged)
            giveBack();
        m_dragged = false;
        break;
    case QEvent::Wheel:
        giveBack();
        break;
    default:
        break;
    }
    return false;
}

void FocusBackAfterMapUse::giveBack()
{
    // After the canvas has handled the event, which may have taken the focus.
    QPointer<QWidget> target = m_typingTarget ? m_typingTarget() : nullptr;
    if (!target)
        return;
    QTimer::singleShot(0, target, [target] {
        if (target && target->isVisible() && target->isEnabled())
            target->setFocus(Qt::OtherFocusReason);
    });
}
