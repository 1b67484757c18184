#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

// A panel painted as a vertical gradient (the toolbars and bottom bars).
class GradientPanel : public QWidget {
public:
    explicit GradientPanel(QWidget* parent = nullptr, QColor top = QColor(0xEE, 0xEE, 0xEE),
                           QColor bottom = QColor(0xB5, 0xB5, 0xB5));

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_top;
    QColor m_bottom;
};

// The font of the program's windows (Arial, or its metric twin).
QFont ProgramFont();
