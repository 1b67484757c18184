#include "learning/Flags.h"

#include <QMouseEvent>
#include <QPainter>

TFlag::TFlag(QWidget* parent) : QWidget(parent) { fitWidth(); }

void TFlag::SetPictureFolder(const QString& folder)
{
    if (folder == m_painter.PictureFolder())
        return;
    m_painter.SetPictureFolder(folder);
    m_painter.DropEmblem();
    update();
}

void TFlag::SetFixedRatio(bool on)
{
    if (on == m_painter.FixedRatio())
        return;
    m_painter.SetFixedRatio(on);
    fitWidth();
    update();
}

void TFlag::SetDescription(const QString& description)
{
    if (description == m_description)
        return;
    m_painter.DropEmblem();
    m_description = description;
    m_lastError.clear();
    fitWidth();
    update(); // a no-op until the control is shown
}

int TFlag::FlagWidth() const
{
    try {
        return FlagPainter::FlagWidth(m_description, height(), m_painter.FixedRatio());
    } catch (const OrbiloError&) {
        return (height() / 2) * 3; // the painting reports the error
    }
}

QSize TFlag::sizeHint() const { return {FlagWidth(), height()}; }

void TFlag::fitWidth()
{
    const int w = FlagWidth();
    if (w != width())
        resize(w, height());
    updateGeometry();
}

void TFlag::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (FlagWidth() != width())
        fitWidth();
}

void TFlag::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    m_lastError.clear();
    m_painter.TryPaint(p, m_description, height(), &m_lastError);
}

void TFlag::mousePressEvent(QMouseEvent* event)
{
    if (m_onPress) {
        const QPoint at = event->position().toPoint();
        m_onPress(*this, event->button(), at.x(), at.y(), event->modifiers());
    }
    QWidget::mousePressEvent(event);
}
