#pragma once

#include "lesson/LessonTypes.h"

#include <QColor>
#include <QWidget>

// A percentage bar of coloured segments running from a start colour at 0 %
// towards an end colour at 100 %; the result window and the learning view's
// status line use it. Colours are 0xBBGGRR as everywhere in the model.
class TChartBar : public QWidget {
public:
    explicit TChartBar(QWidget* parent = nullptr);

    int Percent() const { return m_percent; }
    // A value outside 0..100 shows an empty bar.
    void SetPercent(int percent);

    TColor StartColor() const { return m_startColor; }
    TColor EndColor() const { return m_endColor; }
    void SetStartColor(TColor color);
    void SetEndColor(TColor color);

    int Margin() const { return m_margin; }
    void SetMargin(int margin);
    bool ShowText() const { return m_showText; }
    void SetShowText(bool show);
    int SegmentCount() const { return m_segmentCount; }
    void SetSegmentCount(int count);
    int Gap() const { return m_gap; }
    void SetGap(int gap);
    // One-pixel segments, as many as the bar is wide.
    bool Continuous() const { return m_continuous; }
    void SetContinuous(bool continuous);
    void SetBackground(TColor color);
    bool Sunken() const { return m_sunken; }
    void SetSunken(bool sunken);

    // The colour of segment i (1-based) of `count`.
    static QColor SegmentColor(TColor start, TColor end, int count, int i);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_percent = 0;
    TColor m_startColor = 0x0000FF;
    TColor m_endColor = 0x008000;
    int m_segmentCount = 30;
    int m_margin = 1;
    bool m_showText = true;
    int m_gap = 2;
    bool m_continuous = false;
    QColor m_background; // invalid: the button face of the palette
    bool m_sunken = false;
};


// The sunken frame of the chart controls: grey up the left and along the
// top, white down the right and along the bottom.
class QPainter;
void DrawSunkenFrame(QPainter& painter, int width, int height);
