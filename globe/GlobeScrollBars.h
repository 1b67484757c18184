#pragma once

// The globe control's own scroll bars: which of them show, where they sit,
// and the client area they leave to the drawing surface. A bar shows for
// its style once the control sits in a parent; one that is not needed is
// shown disabled.

#include <QSize>
#include <functional>

class QScrollBar;
class QWidget;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TGlobeScrollBars {
public:
    // onAction gets the bar's orientation and its QAbstractSlider action.
    using ActionHandler = std::function<void(Qt::Orientation, int)>;
    TGlobeScrollBars(QWidget& owner, ActionHandler onAction);

    TScrollStyle Style() const { return m_style; }
    void SetStyle(TScrollStyle style);
    // Shows or hides the bars for the style and places them along the
    // right and bottom edges; call after every resize and parent change.
    void Place();
    bool Shown(Qt::Orientation orientation) const;
    QScrollBar& Bar(Qt::Orientation orientation) const;
    // The owner's size without the bars that show.
    QSize ClientSize() const;

private:
    QWidget& m_owner;
    TScrollStyle m_style = ssBoth;
    QScrollBar* m_horizontal;
    QScrollBar* m_vertical;
    QWidget* m_corner;
};
