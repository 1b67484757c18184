#include "results/GeoChart.h"

#include "results/ChartBar.h"

#include <QPainter>
#include <algorithm>

TGeoChart::TGeoChart(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void TGeoChart::SetRows(const std::vector<TResultRow>* rows)
{
    m_rows = rows;
    update();
}

void TGeoChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

void TGeoChart::Paint(QPainter& painter) const
{
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(0xB5, 0xB5, 0xB5));
    for (const int y : {h / 2, h / 4, (h / 4) * 3})
        painter.drawLine(0, y, w - 1, y);
    DrawSunkenFrame(painter, w, h);
    if (!m_rows || m_rows->empty())
        return;

    const int count = static_cast<int>(m_rows->size());
    const int first = std::max(0, count - std::max(0, Capacity()));
    int x = 3;
    painter.setPen(Qt::black);
    for (int i = first; i < count; ++i) {
        // Rates beyond 0..100 come only from edited files; keep them inside.
        const int p = std::clamp((*m_rows)[i].Percent, 0, 100);
        const double barHeight = p == 0 ? 0.0 : (h - 2) / (100.0 / p);
        const int bottom = h - 2;
        const int top = std::min(bottom, h - static_cast<int>(barHeight));
        const QRect bar(QPoint(x, top), QPoint(x + kBarWidth - 1, bottom));
        painter.fillRect(bar, i == count - 1 ? QColor(0xFF, 0xFF, 0x00) : QColor(0x00, 0x80, 0x00));
        painter.drawRect(bar.adjusted(0, 0, -1, -1));
        x += kBarStep;
    }
}
