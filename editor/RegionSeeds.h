#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <vector>

// The region of a picture question: seed points "x1&y1&x2&y2...", from each
// of which the map fills the connected area of the seed's colour.
namespace RegionSeeds {

// The seed points of a region text; a pair that is not decimal is left
// out, and so is an odd last field.
std::vector<QPoint> Parse(const QString& region);
QString Format(const std::vector<QPoint>& seeds);

// The black lines between the areas of a map picture (and the dark grey
// ones a converted photograph gives them): a seed there would fill the
// whole net of borders.
bool IsBorder(QRgb pixel);

enum class Click { Added, Removed, OnBorder, Outside };

// A click at `point` on the picture (as it is without fills): inside an
// area that holds seeds of the region it takes them out, elsewhere it adds
// the point. Seeds on a border and points outside the picture are refused
// and leave the region as it was.
Click Toggle(const QImage& picture, QString& region, QPoint point);

} // namespace RegionSeeds
