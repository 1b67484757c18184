#include "maps/PictureControl.h"

#include <QPaintEvent>
#include <QPainter>

PictureControl::PictureControl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide(); // until there is a picture: the map shows only its background
}

void PictureControl::SetBitmap(QImage bitmap)
{
    m_bitmap = std::move(bitmap);
    resize(m_bitmap.size()); // sized from the bitmap once after each load
    setVisible(!m_bitmap.isNull());
    update();
}

void PictureControl::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), m_bitmap, event->rect());
}
