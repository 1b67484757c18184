#include "platform/FloodFill.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A white picture with a black frame line splitting it into a left and a
// right area, and a diagonal gap that 4-connected filling must not cross.
QImage twoAreas()
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 20; ++y)
        image.setPixel(20, y, qRgb(0, 0, 0));
    return image;
}

TEST(FloodFill, FillsTheConnectedAreaOfTheSeedColourOnly)
{
    QImage image = twoAreas();
    EXPECT_EQ(FloodFill(image, {5, 5}, qRgb(255, 0, 0)), 20 * 20);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(19, 19), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(20, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(21, 5), qRgb(255, 255, 255));
}

TEST(FloodFill, DiagonalNeighboursAreNotConnected)
{
    QImage image(3, 3, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setPixel(0, 0, qRgb(255, 255, 255));
    image.setPixel(1, 1, qRgb(255, 255, 255));
    EXPECT_EQ(FloodFill(image, {0, 0}, qRgb(0, 255, 0)), 1);
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
}

TEST(FloodFill, SpiralAndConcaveShapesFillCompletely)
{
    // Comb teeth hanging from the top: every tooth must be reached.
    QImage image(31, 12, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 1; x < 31; x += 2)
        for (int y = 0; y < 10; ++y)
            image.setPixel(x, y, qRgb(0, 0, 0));
    const qsizetype expected = 31 * 12 - 15 * 10;
    EXPECT_EQ(FloodFill(image, {0, 0}, qRgb(0, 0, 255)), expected);
    for (int x = 0; x < 31; x += 2)
        EXPECT_EQ(image.pixel(x, 0), qRgb(0, 0, 255)) << x;
}

TEST(FloodFill, SeedsOutsideOrOfTheFillColourFillNothing)
{
    QImage image = twoAreas();
    for (QPoint seed : {QPoint(-1, 0), QPoint(40, 0), QPoint(0, 20), QPoint(0, -5)})
        EXPECT_EQ(FloodFill(image, seed, qRgb(1, 2, 3)), 0);
    EXPECT_EQ(FloodFill(image, {5, 5}, qRgb(255, 255, 255)), 0);
    QImage indexed(4, 4, QImage::Format_Indexed8);
    EXPECT_EQ(FloodFill(indexed, {1, 1}, qRgb(1, 2, 3)), 0) << "only 32-bit pictures";
}

} // namespace
