// Trovecart tests - fitting and bilinear resampling, checked against values worked out by hand.
#include <QColor>

#include <gtest/gtest.h>

#include "common/picture_fit.h"

namespace {

QImage Filled(int width, int height, QImage::Format format, QColor color) {
    QImage image(width, height, format);
    image.fill(color);
    return image;
}

TEST(PictureFit, SizesTouchTheBox) {
    QImage target;
    FitPicture(Filled(400, 200, QImage::Format_RGB32, Qt::red), target, 100, 100, false);
    EXPECT_EQ(target.size(), QSize(100, 50));
    FitPicture(Filled(50, 25, QImage::Format_RGB32, Qt::red), target, 100, 100, false);
    EXPECT_EQ(target.size(), QSize(100, 50));
    FitPicture(Filled(30, 90, QImage::Format_RGB32, Qt::red), target, 60, 200, false);
    EXPECT_EQ(target.size(), QSize(20, 60));
    FitPicture(Filled(1000, 1, QImage::Format_RGB32, Qt::red), target, 100, 100, false);
    EXPECT_EQ(target.size(), QSize(100, 1));
    FitPicture(QImage(), target, 100, 100, false);
    EXPECT_TRUE(target.isNull());
}

TEST(PictureFit, ResampleMatchesHandWorkedBilinearValues) {
    // 2x2 red channel 0, 90 / 30, 120 grows to 3x3: scale 3, positions 0, 1/3, 2/3.
    QImage source(2, 2, QImage::Format_RGB888);
    source.setPixelColor(0, 0, QColor(0, 10, 0));
    source.setPixelColor(1, 0, QColor(90, 10, 0));
    source.setPixelColor(0, 1, QColor(30, 10, 0));
    source.setPixelColor(1, 1, QColor(120, 10, 255));
    const QImage result = ResamplePicture(source, 3, 3);
    ASSERT_EQ(result.format(), QImage::Format_RGB888);
    const int expectedRed[3][3] = {{0, 30, 60}, {10, 40, 70}, {20, 50, 80}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(result.pixelColor(x, y).red(), expectedRed[y][x]) << x << "," << y;
            EXPECT_EQ(result.pixelColor(x, y).green(), 10);
        }
    }
    // Blue is 255 * fx * fy at (1,1): 255 / 9 = 28.33 rounds to 28; at (2,2): 255 * 4 / 9 = 113.3.
    EXPECT_EQ(result.pixelColor(1, 1).blue(), 28);
    EXPECT_EQ(result.pixelColor(2, 2).blue(), 113);
    EXPECT_EQ(result.pixelColor(2, 1).blue(), 57);
}

TEST(PictureFit, AlphaKeptOnlyForPng) {
    QImage source = Filled(4, 2, QImage::Format_ARGB32, QColor(0, 0, 255, 0));
    QImage target;
    FitPicture(source, target, 2, 8, true);
    ASSERT_EQ(target.format(), QImage::Format_RGBA8888);
    EXPECT_EQ(target.size(), QSize(4, 2));
    EXPECT_EQ(target.pixelColor(0, 0).alpha(), 0);

    FitPicture(source, target, 2, 8, false);
    ASSERT_EQ(target.format(), QImage::Format_RGB888);
    EXPECT_EQ(target.pixelColor(1, 1), QColor(Qt::white)) << "transparent parts become white";
}

TEST(PictureFit, OnePixelSourcesAreRepeated) {
    const QImage result = ResamplePicture(Filled(1, 1, QImage::Format_RGB888, QColor(7, 8, 9)), 3, 2);
    EXPECT_EQ(result.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(result.pixelColor(x, y), QColor(7, 8, 9));
}

} // namespace
