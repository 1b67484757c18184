#pragma once

#include <QToolButton>

// A flat toolbar button with a glyph beside its caption; it shows a frame
// only under the mouse, when pressed or when it is the down button of a
// group, and a dotted frame while it has the keyboard.
class FlatButton : public QToolButton {
public:
    explicit FlatButton(const QString& objectName, const QIcon& glyph, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool Hovered() const;
    bool m_hover = false;
};
