#include "measure/ui/PictureCanvas.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
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
    EXPECT_EQ(canvas.zoom(), Zoom::Fit); // a new picture opens fitted
    canvas.setZoomAbout(Zoom::Actual, {0, 0});
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

TEST(PictureCanvas, FitsZoomsAboutTheMouseAndPlacesClicksFinerThanAPixel) {
    PictureCanvas canvas;
    canvas.resize(330, 250);
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::black);
    canvas.setPicture(picture);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    // Fitted: the whole picture in the window, aspect kept.
    const QSize seen = canvas.viewport()->size();
    EXPECT_LE(canvas.surface()->width(), seen.width());
    EXPECT_LE(canvas.surface()->height(), seen.height());
    EXPECT_EQ(canvas.horizontalScrollBar()->maximum(), 0);
    EXPECT_NEAR(canvas.view().scale(), std::min(seen.width() / 640.0, seen.height() / 480.0),
                1e-12);

    // The wheel over a point zooms to 1:1 about it.
    QSignalSpy pressed(&canvas, &PictureCanvas::mousePressed);
    const QPointF under(150, 90);
    const QPointF held = canvas.twipsOfSurface(under);
    QWheelEvent up(under, canvas.surface()->mapToGlobal(under), {}, {0, 120}, Qt::NoButton, {},
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas.surface(), &up);
    ASSERT_EQ(canvas.zoom(), Zoom::Actual);
    // The fitted picture did not scroll: the point stays under the mouse,
    // within half a screen pixel.
    EXPECT_GT(canvas.horizontalScrollBar()->maximum(), 0);
    EXPECT_NEAR(canvas.view().twipsOfViewport(under).x(), held.x(), 7.5 + 1e-9);
    EXPECT_NEAR(canvas.view().twipsOfViewport(under).y(), held.y(), 7.5 + 1e-9);

    // At 4x neighbouring screen pixels are a quarter of a picture pixel,
    // 3.75 twips, apart, centred on the picture pixel.
    canvas.zoomTo(Zoom::Four, 1500, 750);
    ASSERT_EQ(canvas.zoom(), Zoom::Four);
    const QPoint at = canvas.surfacePointOf(1500, 750); // picture pixel (100, 50)
    EXPECT_EQ(at, QPoint(402, 202));                    // 401.5 rounded
    QTest::mouseClick(canvas.surface(), Qt::LeftButton, {}, at);
    QTest::mouseClick(canvas.surface(), Qt::LeftButton, {}, at - QPoint(1, 2));
    ASSERT_EQ(pressed.size(), 2);
    EXPECT_EQ(pressed[0][0].toDouble(), 1501.875);
    EXPECT_EQ(pressed[0][1].toDouble(), 751.875);
    EXPECT_EQ(pressed[1][0].toDouble(), 1498.125);
    EXPECT_EQ(pressed[1][1].toDouble(), 744.375);

    // Keys: 1 for 1:1, 0 for the fit, + and - step.
    EXPECT_TRUE(canvas.viewKey(Qt::Key_1));
    EXPECT_EQ(canvas.zoom(), Zoom::Actual);
    EXPECT_TRUE(canvas.viewKey(Qt::Key_Plus));
    EXPECT_EQ(canvas.zoom(), Zoom::Two);
    EXPECT_TRUE(canvas.viewKey(Qt::Key_Minus));
    EXPECT_EQ(canvas.zoom(), Zoom::Actual);
    EXPECT_TRUE(canvas.viewKey(Qt::Key_0));
    EXPECT_EQ(canvas.zoom(), Zoom::Fit);
    EXPECT_FALSE(canvas.viewKey(Qt::Key_A));

    // The middle button pans and places nothing.
    canvas.zoomTo(Zoom::Two, 4800, 3600);
    const int before = canvas.horizontalScrollBar()->value();
    QTest::mousePress(canvas.surface(), Qt::MiddleButton, {}, QPoint(500, 400));
    QMouseEvent drag(QEvent::MouseMove, QPointF(470, 400),
                     canvas.surface()->mapToGlobal(QPointF(470, 400)), Qt::NoButton,
                     Qt::MiddleButton, {});
    QApplication::sendEvent(canvas.surface(), &drag);
    QTest::mouseRelease(canvas.surface(), Qt::MiddleButton, {}, QPoint(470, 400));
    EXPECT_EQ(canvas.horizontalScrollBar()->value(), before + 30);
    EXPECT_EQ(pressed.size(), 2);
}

TEST(PictureCanvas, DrawingAndPinnedLabelsFollowTheViewsScale) {
    PictureCanvas canvas;
    canvas.resize(700, 500);
    QImage black(200, 100, QImage::Format_RGB32);
    black.fill(Qt::black);
    canvas.setPicture(black);
    canvas.show();
    QWidget label(canvas.surface());
    canvas.pinToPicture(&label, 1500, 750); // picture pixel (100, 50)
    EXPECT_EQ(label.pos(), QPoint(100, 50));
    canvas.setDrawWidth(2);
    canvas.drawLine(150, 300, 1500, 300, Qt::red); // picture row 20
    canvas.drawCircle(1500, 750, 300, Qt::green);  // radius 20 pixels

    canvas.setZoomAbout(Zoom::Four, {0, 0});
    EXPECT_EQ(label.pos(), QPoint(402, 202));
    const QImage shot = canvas.renderView();
    // The line: row 20 is drawn over view rows 80..83, the pen 2 screen
    // pixels wide in their middle.
    EXPECT_EQ(shot.pixelColor(200, 81), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(200, 82), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(200, 79), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(200, 84), QColor(Qt::black));
    // The circle: 80 view pixels around the centre (401.5, 201.5).
    int green = 0;
    for (int x = 476; x <= 486; ++x)
        green += shot.pixelColor(x, 201) == QColor(Qt::green);
    EXPECT_GT(green, 0);
    EXPECT_LE(green, 3); // a 2-pixel pen, not a 4x one
    EXPECT_EQ(shot.pixelColor(461, 201), QColor(Qt::black));
    // The 1:1 rendering is unchanged by the zoom.
    const QImage actual = canvas.render();
    EXPECT_EQ(actual.size(), QSize(200, 100));
    EXPECT_EQ(actual.pixelColor(50, 20), QColor(Qt::red));
}
