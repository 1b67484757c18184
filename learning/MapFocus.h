#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QWidget;

// Typing goes on after the learner has moved the map: once a drag or a
// wheel turn on the map's canvas ends, the keyboard goes back to where the
// answer is typed. A plain click leaves it on the canvas, whose arrow and
// +/- keys then move and zoom it, as in map programs.
class FocusBackAfterMapUse : public QObject {
public:
    FocusBackAfterMapUse(QWidget& canvas, std::function<QWidget*()> typingTarget);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void giveBack();

    QWidget& m_canvas;
    std::function<QWidget*()> m_typingTarget;
    QPoint m_pressedAt;
    bool m_dragged = false;
};
