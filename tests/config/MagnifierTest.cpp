// The loupe's enlarged picture and where its window goes.

#include "config/Magnifier.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(Magnifier, EnlargesEachPixelIntoABlockAroundTheCentre) {
    // A 40x40 screen picture whose pixels all differ.
    QImage screen(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            screen.setPixel(x, y, qRgb(x * 6, y * 6, 100));
    const QPoint origin(100, 200); // where the picture lies on the screen
    const QPoint center(120, 220); // its pixel 20,20
    const QSize view(60, 60);
    const QRect area = magnifiedSourceRect(center, view, 4);
    EXPECT_EQ(area.size(), QSize(15, 15));
    EXPECT_EQ(area.center(), center);

    const QImage out = magnifyAround(screen, origin, center, view, 4);
    ASSERT_EQ(out.size(), view);
    // Pixel 22,17 of the picture (two right, three up of the centre) is a
    // 4x4 block; the view's centre block is at 28..31.
    const QRgb want = screen.pixel(22, 17);
    for (int by = 0; by < 4; ++by)
        for (int bx = 0; bx < 4; ++bx)
            EXPECT_EQ(out.pixel(28 + 8 + bx, 28 - 12 + by), want);
    // The crosshair outlines the centre block but leaves the pixel itself.
    EXPECT_EQ(out.pixel(29, 29), screen.pixel(20, 20));
    EXPECT_EQ(out.pixel(27, 27), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(30, 2), qRgb(255, 0, 0));

    // Outside the picture is black; a zoom below 4 is taken as 4.
    const QImage edge = magnifyAround(screen, origin, QPoint(100, 200), view, 2);
    EXPECT_EQ(edge.pixel(2, 10), qRgb(0, 0, 0));
    EXPECT_EQ(edge.pixel(40, 40), screen.pixel(3, 3));
}

TEST(Magnifier, WindowStaysBesideTheCursorInsideTheScreen) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize w(240, 240);
    EXPECT_EQ(loupeWindowPosition(QPoint(500, 400), w, screen, 24), QPoint(524, 424));
    EXPECT_EQ(loupeWindowPosition(QPoint(1900, 1070), w, screen, 24), QPoint(1636, 806));
    const QPoint p = loupeWindowPosition(QPoint(1900, 10), w, screen, 24);
    EXPECT_FALSE(QRect(p, w).contains(QPoint(1900, 10)));
}
