#include "widgets/FlatButton.h"

#include <QEnterEvent>
#include <QPainter>
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

void FlatButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool down = isDown() || isChecked();
    if (isEnabled() && (down || m_hover || hasFocus())) {
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.setBrush(down ? QColor(0xC8, 0xC8, 0xC8, 200) : QColor(0xFF, 0xFF, 0xFF, 110));
        painter.drawRoundedRect(frame, 3, 3);
    }
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QPixmap glyph = icon().pixmap(iconSize(), devicePixelRatioF(), mode);
    const int glyphTop = (height() - iconSize().height()) / 2;
    painter.drawPixmap(6, glyphTop, glyph);
    painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
    painter.setFont(font());
    const QRect textRect(6 + iconSize().width() + 4, 0, width() - iconSize().width() - 12, height());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text());
}
