#include "widgets/NoteBox.h"

#include <QLabel>
#include <QPainter>

namespace {
constexpr int kShadow = 6;
constexpr int kRadius = 10;
constexpr int kPadding = 10;
} // namespace

NoteBox::NoteBox(const QString& labelName, QWidget* parent) : QWidget(parent), m_label(new QLabel(this))
{
    m_label->setObjectName(labelName);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void NoteBox::resizeEvent(QResizeEvent*)
{
    m_label->setGeometry(kPadding, kPadding, width() - kShadow - 2 * kPadding, height() - kShadow - 2 * kPadding);
}

void NoteBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF paper(0.5, 0.5, width() - kShadow - 1.0, height() - kShadow - 1.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xC0, 0xC0, 0xC0));
    painter.drawRoundedRect(paper.translated(kShadow, kShadow), kRadius, kRadius);
    painter.setBrush(QColor(0xFF, 0xFF, 0xCC)); // 0xCCFFFF as the files write it
    painter.setPen(QColor(0xA0, 0xA0, 0x80));
    painter.drawRoundedRect(paper, kRadius, kRadius);
}
