#include "widgets/GradientPanel.h"

#include <QLinearGradient>
#include <QPainter>

GradientPanel::GradientPanel(QWidget* parent, QColor top, QColor bottom)
    : QWidget(parent), m_top(top), m_bottom(bottom)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, m_top);
    gradient.setColorAt(1, m_bottom);
    painter.fillRect(rect(), gradient);
}

QFont ProgramFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    return font;
}
