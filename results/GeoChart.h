#pragma once

#include "results/ResultFile.h"

#include <QWidget>
#include <vector>

// The bar chart of the result window: one bar per stored run, its height
// the success rate, the current run (the last row) in yellow.
class TGeoChart : public QWidget {
public:
    static constexpr int kBarWidth = 12;
    static constexpr int kBarStep = 15;

    explicit TGeoChart(QWidget* parent = nullptr);

    // The rows to draw; not owned (the result window's comparison list).
    void SetRows(const std::vector<TResultRow>* rows);
    const std::vector<TResultRow>* Rows() const { return m_rows; }

    // How many bars fit; with more rows only the last ones are drawn.
    int Capacity() const { return (width() - 3) / kBarStep; }

    void Paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const std::vector<TResultRow>* m_rows = nullptr;
};
