#pragma once

#include <QLabel>
#include <functional>

// A picture that acts as a button: a hand cursor, pressed it moves two
// pixels right and down, released it moves back and reports the click.
class PressablePicture : public QLabel {
public:
    PressablePicture(const QString& objectName, int number, QWidget* parent = nullptr);

    int Number() const { return m_number; }
    std::function<void(PressablePicture&)> OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_number;
    bool m_pressed = false;
};
