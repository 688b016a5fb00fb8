#pragma once
// How a picture sits in the window that shows it: the zoom step (fit, 1:1,
// 2x, 4x, 8x), the scrolled offset, and the mapping between the view's
// pixels and positions on the picture in twips (15 a picture pixel).
//
// A view pixel stands for the picture point under its centre. So at every
// step a picture pixel keeps the position it has at 1:1 (15 twips times its
// number), and the view pixels over it share it out: at 4x the four view
// pixels across picture pixel p give 15p - 5.625, - 1.875, + 1.875 and
// + 5.625 twips, 3.75 twips apart. At 1:1 view pixel n is exactly 15n.
//
// "Content" coordinates are those of the whole picture at the view's
// scale (a scrolled surface); "viewport" coordinates those of the visible
// window onto it: content = viewport + scroll.

#include <QPoint>
#include <QPointF>
#include <QSize>

namespace zt {

enum class Zoom { Fit, Actual, Two, Four, Eight };

class PictureView {
public:
    static constexpr double twipsPerPixel = 15;

    void setPictureSize(QSize pixels);
    void setViewportSize(QSize pixels);
    QSize pictureSize() const { return picture_; }
    QSize viewportSize() const { return viewport_; }

    Zoom zoom() const { return zoom_; }
    // View pixels per picture pixel: the fit never enlarges past 1:1.
    double scale() const;
    static double scaleOf(Zoom zoom);
    static double fitScale(QSize picture, QSize viewport);

    // The picture at the view's scale, in whole view pixels.
    QSize contentSize() const;
    // The content pixel at the viewport's top-left, kept within the
    // content.
    QPoint scroll() const { return scroll_; }
    void setScroll(QPoint scroll);
    QPoint maximumScroll() const;

    // Picture position in twips of a content point, and back (the content
    // point being where a view pixel's number would be).
    QPointF twipsOfContent(QPointF content) const;
    QPointF contentOfTwips(QPointF twips) const;
    QPointF twipsOfViewport(QPointF viewport) const;
    QPointF viewportOfTwips(QPointF twips) const;
    // A length on the picture (twips) in view pixels.
    double viewLength(double twips) const;

    // Changes the step keeping the picture point under the viewport point
    // where it is (as far as the scroll range allows).
    void zoomAbout(Zoom zoom, QPointF viewportPoint);
    // The next step up or down from the one shown: fit, then the first
    // whole step larger than the fit; 8x is the last, fit the first. False
    // when there is none.
    bool zoomIn(QPointF viewportPoint);
    bool zoomOut(QPointF viewportPoint);

private:
    void clampScroll();

    QSize picture_;
    QSize viewport_;
    Zoom zoom_ = Zoom::Fit;
    QPoint scroll_;
};

} // namespace zt
