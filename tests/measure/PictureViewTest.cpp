// The picture view's mapping between view pixels and picture twips at
// every zoom step, zooming about a point and the order of the steps.

#include "measure/PictureView.h"

#include <gtest/gtest.h>

using namespace zt;

namespace {

PictureView viewOf(QSize picture, QSize viewport, Zoom zoom, QPointF about = {0, 0}) {
    PictureView v;
    v.setPictureSize(picture);
    v.setViewportSize(viewport);
    v.zoomAbout(zoom, about);
    return v;
}

const QSize frame(1280, 720);
const QSize window(1000, 700);

} // namespace

TEST(PictureView, EveryStepMapsViewPixelsToTwipsAndBack) {
    struct Step {
        Zoom zoom;
        double scale;
        QSize content;
    } steps[] = {{Zoom::Fit, 1000.0 / 1280, {1000, 562}},
                 {Zoom::Actual, 1, {1280, 720}},
                 {Zoom::Two, 2, {2560, 1440}},
                 {Zoom::Four, 4, {5120, 2880}},
                 {Zoom::Eight, 8, {10240, 5760}}};
    for (const Step& step : steps) {
        PictureView v = viewOf(frame, window, step.zoom);
        SCOPED_TRACE(step.scale);
        EXPECT_DOUBLE_EQ(v.scale(), step.scale);
        EXPECT_EQ(v.contentSize(), step.content);
        v.setScroll({137, 59});
        const QPoint scroll = v.scroll();
        for (const QPointF p :
             {QPointF(0, 0), QPointF(3, 7), QPointF(411, 299), QPointF(999, 699)}) {
            const QPointF t = v.twipsOfViewport(p);
            EXPECT_NEAR(v.viewportOfTwips(t).x(), p.x(), 1e-9);
            EXPECT_NEAR(v.viewportOfTwips(t).y(), p.y(), 1e-9);
            EXPECT_EQ(v.twipsOfContent(p + QPointF(scroll)), t);
        }
        // One view pixel is 15 / scale twips.
        const QPointF a = v.twipsOfContent({40, 40}), b = v.twipsOfContent({41, 42});
        EXPECT_NEAR(b.x() - a.x(), 15 / step.scale, 1e-9);
        EXPECT_NEAR(b.y() - a.y(), 30 / step.scale, 1e-9);
        EXPECT_NEAR(v.viewLength(300), 20 * step.scale, 1e-9);
    }
}

TEST(PictureView, ViewPixelsShareOutThePicturePixelUnderThem) {
    // 1:1: view pixel n is 15 n twips, as a click has always given.
    const PictureView one = viewOf(frame, window, Zoom::Actual);
    EXPECT_EQ(one.twipsOfContent({288, 20}), QPointF(4320, 300));
    EXPECT_EQ(one.contentOfTwips({4320, 300}), QPointF(288, 20));
    EXPECT_EQ(one.twipsOfContent({0.5, 0}), QPointF(7.5, 0));

    // 4x: the four view pixels over picture pixel 100 are 3.75 twips apart
    // around its 1500 twips; the next picture pixel's start 3.75 further.
    const PictureView four = viewOf(frame, window, Zoom::Four);
    const double expected[] = {1494.375, 1498.125, 1501.875, 1505.625, 1509.375};
    for (int i = 0; i < 5; ++i)
        EXPECT_DOUBLE_EQ(four.twipsOfContent({400.0 + i, 0}).x(), expected[i]);
    // Picture pixel 100 is drawn over view pixels 400..403: its position
    // lies in their middle.
    EXPECT_DOUBLE_EQ(four.contentOfTwips({1500, 0}).x(), 401.5);

    const PictureView two = viewOf(frame, window, Zoom::Two);
    EXPECT_DOUBLE_EQ(two.twipsOfContent({200, 0}).x(), 1496.25);
    EXPECT_DOUBLE_EQ(two.twipsOfContent({201, 0}).x(), 1503.75);
    const PictureView eight = viewOf(frame, window, Zoom::Eight);
    EXPECT_DOUBLE_EQ(eight.twipsOfContent({803, 0}).x(), 1499.0625);
    EXPECT_DOUBLE_EQ(eight.twipsOfContent({804, 0}).x(), 1500.9375);
}

TEST(PictureView, ZoomingKeepsThePointUnderTheMouse) {
    PictureView v = viewOf(frame, QSize(640, 360), Zoom::Fit); // fitted at 0.5
    const QPointF mouse(400, 200);
    const QPointF held = v.twipsOfViewport(mouse);
    for (Zoom z : {Zoom::Actual, Zoom::Two, Zoom::Four, Zoom::Eight, Zoom::Two, Zoom::Fit}) {
        const QPointF before = v.twipsOfViewport(mouse);
        v.zoomAbout(z, mouse);
        // Within half a view pixel (the scroll is whole pixels).
        EXPECT_NEAR(v.twipsOfViewport(mouse).x(), before.x(), 7.5 / v.scale() + 1e-9);
        EXPECT_NEAR(v.twipsOfViewport(mouse).y(), before.y(), 7.5 / v.scale() + 1e-9);
    }
    EXPECT_EQ(v.twipsOfViewport(mouse), held); // fitted again, nothing scrolled
    // Near the edge the scroll stops at the picture's border.
    v.zoomAbout(Zoom::Eight, {0, 0});
    v.zoomAbout(Zoom::Four, {639, 359});
    EXPECT_EQ(v.scroll(), QPoint(0, 0));
    v.setScroll({100000, -5});
    EXPECT_EQ(v.scroll(), QPoint(5120 - 640, 0));
    v.zoomAbout(Zoom::Fit, {500, 300});
    EXPECT_EQ(v.scroll(), QPoint(0, 0)); // the fitted picture does not scroll
}

TEST(PictureView, StepsRunFromTheFitTo8x) {
    PictureView v = viewOf(frame, window, Zoom::Fit);
    Zoom seen[4];
    for (Zoom& z : seen) {
        ASSERT_TRUE(v.zoomIn({10, 10}));
        z = v.zoom();
    }
    EXPECT_EQ(seen[0], Zoom::Actual);
    EXPECT_EQ(seen[3], Zoom::Eight);
    EXPECT_FALSE(v.zoomIn({10, 10}));
    for (Zoom back : {Zoom::Four, Zoom::Two, Zoom::Actual, Zoom::Fit}) {
        ASSERT_TRUE(v.zoomOut({10, 10}));
        EXPECT_EQ(v.zoom(), back);
    }
    EXPECT_FALSE(v.zoomOut({10, 10}));

    // A picture smaller than the window is never enlarged by the fit: the
    // fit is 1:1 and the first step in is 2x.
    PictureView small = viewOf(QSize(320, 240), window, Zoom::Fit);
    EXPECT_EQ(small.scale(), 1);
    EXPECT_EQ(small.twipsOfContent({100, 10}), QPointF(1500, 150));
    ASSERT_TRUE(small.zoomIn({0, 0}));
    EXPECT_EQ(small.zoom(), Zoom::Two);
    ASSERT_TRUE(small.zoomOut({0, 0}));
    EXPECT_EQ(small.zoom(), Zoom::Fit);

    // No picture or no window: 1:1, nothing to scroll.
    const PictureView none = viewOf(QSize(), QSize(), Zoom::Fit);
    EXPECT_EQ(none.scale(), 1);
    EXPECT_EQ(none.contentSize(), QSize(0, 0));
    EXPECT_EQ(none.maximumScroll(), QPoint(0, 0));
}
