#include "editor/RegionSeeds.h"

#include "lesson/Geoobj.h"
#include "platform/FloodFill.h"

namespace RegionSeeds {

std::vector<QPoint> Parse(const QString& region)
{
    std::vector<QPoint> seeds;
    if (region.isEmpty())
        return seeds;
    const QStringList fields = SplitFields(region, u'&');
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        bool okX = false, okY = false;
        const int x = fields[i].toInt(&okX);
        const int y = fields[i + 1].toInt(&okY);
        if (okX && okY)
            seeds.emplace_back(x, y);
    }
    return seeds;
}

QString Format(const std::vector<QPoint>& seeds)
{
    QStringList fields;
    for (const QPoint& p : seeds)
        fields << QString::number(p.x()) << QString::number(p.y());
    return fields.join(u'&');
}

bool IsBorder(QRgb pixel) { return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 0x50; }

Click Toggle(const QImage& picture, QString& region, QPoint point)
{
    if (!picture.rect().contains(point))
        return Click::Outside;
    if (IsBorder(picture.pixel(point)))
        return Click::OnBorder;
    // The area the click lies in: a copy filled from the point differs from
    // the picture exactly there.
    QImage area = picture.convertToFormat(QImage::Format_RGB32);
    const QImage original = area.copy();
    FloodFill(area, point, area.pixel(point) ^ 0x00FFFFFFu);
    std::vector<QPoint> seeds = Parse(region);
    const auto inArea = [&](const QPoint& seed) {
        return original.rect().contains(seed) && area.pixel(seed) != original.pixel(seed);
    };
    const auto kept = std::remove_if(seeds.begin(), seeds.end(), inArea);
    if (kept != seeds.end()) {
        seeds.erase(kept, seeds.end());
        region = Format(seeds);
        return Click::Removed;
    }
    seeds.push_back(point);
    region = Format(seeds);
    return Click::Added;
}

} // namespace RegionSeeds
