#pragma once

#include <QImage>
#include <QPoint>

// Fills the 4-connected area of the seed pixel's colour with `fill`, in
// place, scan line by scan line. The picture must be 32 bits a pixel
// (RGB32 or ARGB32); colours compare exactly. A seed outside the picture,
// or one already of the fill colour, fills nothing. Returns the number of
// pixels filled.
qsizetype FloodFill(QImage& image, QPoint seed, QRgb fill);
