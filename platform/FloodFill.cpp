#include "platform/FloodFill.h"

#include <vector>

qsizetype FloodFill(QImage& image, QPoint seed, QRgb fill)
{
    if (image.depth() != 32 || !image.rect().contains(seed))
        return 0;
    if (image.format() == QImage::Format_RGB32)
        fill |= 0xFF000000u; // the picture's pixels always read with full alpha
    const int width = image.width();
    const int height = image.height();
    auto row = [&image](int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); };
    const QRgb target = row(seed.y())[seed.x()];
    if (target == fill)
        return 0;

    // Spans still to look at: a pixel on a line from which to grow left and right.
    std::vector<QPoint> pending;
    pending.push_back(seed);
    qsizetype filled = 0;
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        QRgb* line = row(p.y());
        if (line[p.x()] != target)
            continue;
        int left = p.x();
        while (left > 0 && line[left - 1] == target)
            --left;
        int right = p.x();
        while (right + 1 < width && line[right + 1] == target)
            ++right;
        for (int x = left; x <= right; ++x)
            line[x] = fill;
        filled += right - left + 1;
        // One seed per run of target pixels above and below the span.
        for (const int y : {p.y() - 1, p.y() + 1}) {
            if (y < 0 || y >= height)
                continue;
            const QRgb* other = row(y);
            int x = left;
            while (x <= right) {
                if (other[x] != target) {
                    ++x;
                    continue;
                }
                pending.emplace_back(x, y);
                while (x <= right && other[x] == target)
                    ++x;
            }
        }
    }
    return filled;
}
