#include "measure/PictureView.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zt {

namespace {

constexpr std::array<Zoom, 4> wholeSteps = {Zoom::Actual, Zoom::Two, Zoom::Four, Zoom::Eight};

// A content length for a picture length at a scale: whole view pixels, the
// fit's rounding noise not adding one.
int contentLength(int pixels, double scale) {
    return static_cast<int>(std::floor(pixels * scale + 1e-6));
}

} // namespace

void PictureView::setPictureSize(QSize pixels) {
    picture_ = pixels.isValid() ? pixels : QSize();
    clampScroll();
}

void PictureView::setViewportSize(QSize pixels) {
    viewport_ = pixels.isValid() ? pixels : QSize(0, 0);
    clampScroll();
}

double PictureView::scaleOf(Zoom zoom) {
    switch (zoom) {
    case Zoom::Fit:
    case Zoom::Actual:
        return 1;
    case Zoom::Two:
        return 2;
    case Zoom::Four:
        return 4;
    case Zoom::Eight:
        return 8;
    }
    return 1;
}

double PictureView::fitScale(QSize picture, QSize viewport) {
    if (picture.isEmpty() || viewport.isEmpty())
        return 1;
    const double sx = static_cast<double>(viewport.width()) / picture.width();
    const double sy = static_cast<double>(viewport.height()) / picture.height();
    return std::min({1.0, sx, sy});
}

double PictureView::scale() const {
    return zoom_ == Zoom::Fit ? fitScale(picture_, viewport_) : scaleOf(zoom_);
}

QSize PictureView::contentSize() const {
    if (picture_.isEmpty())
        return {0, 0};
    const double s = scale();
    return {contentLength(picture_.width(), s), contentLength(picture_.height(), s)};
}

QPoint PictureView::maximumScroll() const {
    const QSize c = contentSize();
    return {std::max(0, c.width() - viewport_.width()),
            std::max(0, c.height() - viewport_.height())};
}

void PictureView::setScroll(QPoint scroll) {
    scroll_ = scroll;
    clampScroll();
}

void PictureView::clampScroll() {
    const QPoint most = maximumScroll();
    scroll_ = {std::clamp(scroll_.x(), 0, most.x()), std::clamp(scroll_.y(), 0, most.y())};
}

QPointF PictureView::twipsOfContent(QPointF content) const {
    const double s = scale();
    if (s == 1)
        return content * twipsPerPixel;
    return {((content.x() + 0.5) / s - 0.5) * twipsPerPixel,
            ((content.y() + 0.5) / s - 0.5) * twipsPerPixel};
}

QPointF PictureView::contentOfTwips(QPointF twips) const {
    const double s = scale();
    if (s == 1)
        return twips / twipsPerPixel;
    return {(twips.x() / twipsPerPixel + 0.5) * s - 0.5,
            (twips.y() / twipsPerPixel + 0.5) * s - 0.5};
}

QPointF PictureView::twipsOfViewport(QPointF viewport) const {
    return twipsOfContent(viewport + QPointF(scroll_));
}

QPointF PictureView::viewportOfTwips(QPointF twips) const {
    return contentOfTwips(twips) - QPointF(scroll_);
}

double PictureView::viewLength(double twips) const {
    return twips / twipsPerPixel * scale();
}

void PictureView::zoomAbout(Zoom zoom, QPointF viewportPoint) {
    const QPointF held = twipsOfViewport(viewportPoint);
    zoom_ = zoom;
    const QPointF at = contentOfTwips(held) - viewportPoint;
    scroll_ = {static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y()))};
    clampScroll();
}

bool PictureView::zoomIn(QPointF viewportPoint) {
    const double now = scale();
    for (Zoom step : wholeSteps) {
        if (scaleOf(step) > now + 1e-9) {
            zoomAbout(step, viewportPoint);
            return true;
        }
    }
    return false;
}

bool PictureView::zoomOut(QPointF viewportPoint) {
    if (zoom_ == Zoom::Fit)
        return false;
    const double fit = fitScale(picture_, viewport_);
    const double now = scale();
    for (auto it = wholeSteps.rbegin(); it != wholeSteps.rend(); ++it) {
        const double s = scaleOf(*it);
        if (s < now - 1e-9 && s > fit + 1e-9) {
            zoomAbout(*it, viewportPoint);
            return true;
        }
    }
    zoomAbout(Zoom::Fit, viewportPoint);
    return true;
}

} // namespace zt
