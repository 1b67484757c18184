#include "results/ChartBar.h"

#include <QPainter>
#include <algorithm>

TChartBar::TChartBar(QWidget* parent) : QWidget(parent) {}

void TChartBar::SetPercent(int percent)
{
    m_percent = (percent < 0 || percent > 100) ? 0 : percent;
    update();
}

void TChartBar::SetStartColor(TColor color)
{
    m_startColor = color;
    update();
}

void TChartBar::SetEndColor(TColor color)
{
    m_endColor = color;
    update();
}

void TChartBar::SetMargin(int margin)
{
    m_margin = std::max(0, margin);
    update();
}

void TChartBar::SetShowText(bool show)
{
    m_showText = show;
    update();
}

void TChartBar::SetSegmentCount(int count)
{
    m_segmentCount = std::max(1, count);
    update();
}

void TChartBar::SetGap(int gap)
{
    m_gap = std::max(0, gap);
    update();
}

void TChartBar::SetContinuous(bool continuous)
{
    m_continuous = continuous;
    update();
}

void TChartBar::SetBackground(TColor color)
{
    m_background = ToQColor(color);
    update();
}

void TChartBar::SetSunken(bool sunken)
{
    m_sunken = sunken;
    update();
}

QColor TChartBar::SegmentColor(TColor start, TColor end, int count, int i)
{
    const double f = 100.0 / count * i;
    auto channel = [f](int from, int to) {
        return std::clamp(static_cast<int>(from + (to - from) * f / 100.0), 0, 255);
    };
    const QColor s = ToQColor(start);
    const QColor e = ToQColor(end);
    return QColor(channel(s.red(), e.red()), channel(s.green(), e.green()), channel(s.blue(), e.blue()));
}

void DrawSunkenFrame(QPainter& painter, int width, int height)
{
    const int right = width - 1;
    const int bottom = height - 1;
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(0, bottom, 0, 0);
    painter.drawLine(0, 0, right, 0);
    painter.setPen(Qt::white);
    painter.drawLine(right, 0, right, bottom);
    painter.drawLine(right, bottom, 0, bottom);
}

void TChartBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), m_background.isValid() ? m_background : palette().color(QPalette::Button));
    if (m_sunken)
        DrawSunkenFrame(painter, w, h);

    const int count = m_continuous ? std::max(1, w) : m_segmentCount;
    const int segmentWidth = m_continuous ? 1 : (w - count * m_gap) / count;
    const int top = m_margin + 1;
    const int bottom = m_margin > 2 ? h - 2 * m_margin : h - 3; // exclusive
    // Segments stay inside the margin, so the frame is never painted over.
    painter.setClipRect(QRect(QPoint(top, top), QPoint(w - 1 - top, h - 1 - top)).intersected(rect()));
    int left = m_margin + 1;
    const int n = count * m_percent / 100;
    if (segmentWidth > 0 && bottom > top)
        for (int i = 1; i <= n && left < w; ++i) {
            painter.fillRect(QRect(left, top, segmentWidth, bottom - top),
                             SegmentColor(m_startColor, m_endColor, count, i));
            left += segmentWidth + m_gap;
        }
    painter.setClipping(false);

    if (m_showText) {
        const QString text = QString::number(m_percent) + QStringLiteral(" %");
        const QFontMetrics metrics(font());
        const int x = (w - metrics.horizontalAdvance(text)) / 2;
        const int y = (h - metrics.height()) / 2;
        painter.setFont(font());
        // Black on the empty part, white once the filled part reaches the text.
        painter.setPen(w * m_percent / 100 < x ? Qt::black : Qt::white);
        painter.drawText(x, y + metrics.ascent(), text);
    }
}
