#pragma once

#include <QObject>
#include <QSize>

class QWidget;

// Gives a top-level window a stored outer size, frame and title bar
// included: the size the window reports when it goes is its outer size, so
// that is what it must come back with. The frame is only known once the
// window manager has decorated the shown window; until then the inner size
// is a guess, corrected at the first show or move that knows the frame.
class OuterSizeRestorer : public QObject {
public:
    OuterSizeRestorer(QWidget& window, QSize outer);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    QSize m_outer;
    bool m_pending = true;
};
