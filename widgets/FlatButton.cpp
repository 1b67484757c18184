#include "widgets/FlatButton.h"

#include <QCursor>
#include <QEnterEvent>
#include <QPainter>
#include <QPen>
#include <QStyleOptionToolButton>

FlatButton::FlatButton(const QString& objectName, const QIcon& glyph, QWidget* parent) : QToolButton(parent)
{
    setObjectName(objectName);
    setIcon(glyph);
    setIconSize(QSize(20, 20));
    setFixedSize(100, 30);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void FlatButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QToolButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QToolButton::leaveEvent(event);
}

void FlatButton::hideEvent(QHideEvent* event)
{
    // A button hidden under the pointer never hears it leave.
    m_hover = false;
    QToolButton::hideEvent(event);
}

bool FlatButton::Hovered() const { return m_hover && isVisible() && rect().contains(mapFromGlobal(QCursor::pos())); }

void FlatButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool down = isDown() || isChecked();
    // Three looks that never mix up: the chosen (or pressed) button sunk and
    // darker, the one under the pointer raised and light, the one with the
    // keyboard a dotted frame inside.
    if (isEnabled() && down) {
        painter.setPen(QColor(0x60, 0x60, 0x60));
        painter.setBrush(QColor(0xB8, 0xB8, 0xB8, 220));
        painter.drawRoundedRect(frame, 3, 3);
    } else if (isEnabled() && Hovered()) {
        painter.setPen(QColor(0x90, 0x90, 0x90));
        painter.setBrush(QColor(0xFF, 0xFF, 0xFF, 110));
        painter.drawRoundedRect(frame, 3, 3);
    }
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
        painter.setRenderHint(QPainter::Antialiasing);
    }
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QPixmap glyph = icon().pixmap(iconSize(), devicePixelRatioF(), mode);
    const int shift = down ? 1 : 0;
    const int glyphTop = (height() - iconSize().height()) / 2 + shift;
    // A glyph without a caption sits in the middle.
    const int glyphLeft = text().isEmpty() ? (width() - iconSize().width()) / 2 : 6;
    painter.drawPixmap(glyphLeft + shift, glyphTop, glyph);
    painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
    QFont textFont = font();
    textFont.setBold(isChecked());
    painter.setFont(textFont);
    const QRect textRect(6 + iconSize().width() + 4 + shift, shift, width() - iconSize().width() - 12, height());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text());
}
