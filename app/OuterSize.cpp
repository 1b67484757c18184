#include "app/OuterSize.h"

#include <QEvent>
#include <QWidget>

OuterSizeRestorer::OuterSizeRestorer(QWidget& window, QSize outer) : QObject(&window), m_window(window), m_outer(outer)
{
    m_window.resize(outer.expandedTo(m_window.minimumSize()));
    m_window.installEventFilter(this);
}

bool OuterSizeRestorer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_window || !m_pending)
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize)
        return false;
    if (m_window.isMaximized() || m_window.isFullScreen()) {
        m_pending = false; // its size is the screen's
        return false;
    }
    const QSize frame = m_window.frameGeometry().size() - m_window.size();
    if (frame.width() > 0 || frame.height() > 0) {
        m_pending = false;
        m_window.resize((m_outer - frame).expandedTo(m_window.minimumSize()));
    }
    return false;
}
