#pragma once

#include <QColor>

class QWidget;

// The light grey behind every panel of the program.
inline const QColor kPanelGrey(0xEE, 0xEE, 0xEE);

// Paints the widget's own background in one colour.
void FillBackground(QWidget* widget, const QColor& colour = kPanelGrey);
