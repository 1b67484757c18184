#include "widgets/PressablePicture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>

PressablePicture::PressablePicture(const QString& objectName, int number, QWidget* parent)
    : QLabel(parent), m_number(number)
{
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAlignment(Qt::AlignCenter);
}

void PressablePicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_pressed)
        return;
    m_pressed = true;
    move(pos() + QPoint(2, 2));
}

void PressablePicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    move(pos() - QPoint(2, 2));
    if (rect().contains(event->position().toPoint()) && OnClick)
        OnClick(*this);
}

void PressablePicture::keyPressEvent(QKeyEvent* event)
{
    // Keyboard users choose a continent with Space or Enter.
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && OnClick) {
        OnClick(*this);
        return;
    }
    QLabel::keyPressEvent(event);
}

void PressablePicture::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // The keyboard's place: a dotted frame round the picture.
    QPainter painter(this);
    QPen pen(QColor(0x40, 0x40, 0x40), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
