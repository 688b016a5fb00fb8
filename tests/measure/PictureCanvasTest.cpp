#include "measure/ui/PictureCanvas.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace zt;

TEST(PictureCanvas, PictureSizeByTheHimetricRule) {
    EXPECT_EQ(himetricOfPixels(640), 16933); // 16933.33 rounded
    EXPECT_EQ(himetricOfPixels(1), 26);      // 26.46 rounded
    EXPECT_EQ(himetricOfPixels(3), 79);      // 79.375 rounded
    EXPECT_DOUBLE_EQ(twipsOfHimetric(26500), 15000);

    PictureCanvas canvas;
    EXPECT_EQ(canvas.pictureSizeTwips(), QSizeF(0, 0));
    canvas.setPicture(QImage(640, 480, QImage::Format_RGB32));
    EXPECT_NEAR(canvas.pictureSizeTwips().width(), 9584.716981132, 1e-6);
    EXPECT_NEAR(canvas.pictureSizeTwips().height(), 7188.679245283, 1e-6);
    EXPECT_FALSE(canvas.loadPicture(QStringLiteral("/nonexistent/picture.bmp")));
    EXPECT_TRUE(canvas.hasPicture()); // a failed load keeps the picture
    canvas.clearPicture();
    EXPECT_FALSE(canvas.hasPicture());
}

TEST(PictureCanvas, DisplayListAndLineObjectsDrawInTwips) {
    PictureCanvas canvas;
    canvas.resize(300, 200);
    QImage black(200, 100, QImage::Format_RGB32);
    black.fill(Qt::black);
    canvas.setPicture(black);
    canvas.show();

    canvas.setDrawWidth(2);
    canvas.drawLine(150, 300, 1500, 300, Qt::red); // pixels (10, 20) to (100, 20)
    canvas.drawCircle(1500, 750, 300, Qt::green);  // centre (100, 50), radius 20
    canvas.drawPoint(2700, 1200, Qt::blue);        // pixel (180, 80)
    ASSERT_EQ(canvas.displayList().size(), 3u);
    EXPECT_EQ(canvas.displayList()[0].width, 2);
    const int mark = canvas.addLineObject({750, 150, 750, 1350, Qt::yellow, 2, false});

    QImage shot = canvas.render();
    EXPECT_EQ(shot.pixelColor(50, 20), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(120, 50), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(180, 80), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(50, 60), QColor(Qt::black));  // hidden line object
    EXPECT_EQ(shot.pixelColor(100, 50), QColor(Qt::black)); // circles are not filled

    canvas.setLineVisible(mark, true);
    EXPECT_EQ(canvas.render().pixelColor(50, 60), QColor(Qt::yellow));
    canvas.setLine(mark, 1050, 150, 1050, 1350);
    shot = canvas.render();
    EXPECT_EQ(shot.pixelColor(50, 60), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(70, 60), QColor(Qt::yellow));

    canvas.clearDrawing(); // the picture and the line objects stay
    shot = canvas.render();
    EXPECT_TRUE(canvas.displayList().empty());
    EXPECT_EQ(shot.pixelColor(50, 20), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(70, 60), QColor(Qt::yellow));
}

TEST(PictureCanvas, MouseInTwipsAndScrollingLargePictures) {
    PictureCanvas canvas;
    canvas.resize(200, 150);
    canvas.setPicture(QImage(800, 600, QImage::Format_RGB32));
    canvas.show();
    QSignalSpy pressed(&canvas, &PictureCanvas::mousePressed);
    QSignalSpy moved(&canvas, &PictureCanvas::mouseMoved);
    QTest::mouseClick(canvas.surface(), Qt::LeftButton, {}, QPoint(20, 30));
    ASSERT_EQ(pressed.size(), 1);
    EXPECT_EQ(pressed[0][0].toDouble(), 300);
    EXPECT_EQ(pressed[0][1].toDouble(), 450);
    QTest::mouseMove(canvas.surface(), QPoint(7, 9));
    ASSERT_FALSE(moved.isEmpty());
    EXPECT_EQ(moved.last()[0].toDouble(), 105);
    EXPECT_EQ(moved.last()[1].toDouble(), 135);

    // Larger than the window: scroll bars, and positions stay on the picture.
    EXPECT_GT(canvas.horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(canvas.verticalScrollBar()->maximum(), 0);
    canvas.horizontalScrollBar()->setValue(100);
    QTest::mouseClick(canvas.surface(), Qt::LeftButton, {}, QPoint(150, 30));
    EXPECT_EQ(pressed.last()[0].toDouble(), 2250);
    EXPECT_EQ(PictureCanvas::pixelOfTwips(2250, 450), QPoint(150, 30));
    EXPECT_EQ(colorOfBgr(0x0000FF), QColor(255, 0, 0)); // &HBBGGRR
    EXPECT_EQ(colorOfBgr(0xFF0000), QColor(0, 0, 255));
}
