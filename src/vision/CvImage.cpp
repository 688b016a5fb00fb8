#include "vision/CvImage.h"

#include <opencv2/imgproc.hpp>

namespace zt::vision {

namespace {

// A view of rect inside a 32-bit picture; the picture must outlive it.
cv::Mat view32(const QImage& image, QRect rect) {
    const cv::Mat whole(image.height(), image.width(), CV_8UC4, const_cast<uchar*>(image.bits()),
                        static_cast<size_t>(image.bytesPerLine()));
    return whole(cv::Rect(rect.x(), rect.y(), rect.width(), rect.height()));
}

QImage as32(const QImage& picture) {
    if (picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace

cv::Mat grayOf(const QImage& picture, QRect rect) {
    rect &= picture.rect();
    if (rect.isEmpty())
        return {};
    const QImage image = as32(picture);
    cv::Mat gray;
    cv::cvtColor(view32(image, rect), gray, cv::COLOR_BGRA2GRAY);
    return gray;
}

cv::Mat bgrOf(const QImage& picture, QRect rect) {
    rect &= picture.rect();
    if (rect.isEmpty())
        return {};
    const QImage image = as32(picture);
    cv::Mat bgr;
    cv::cvtColor(view32(image, rect), bgr, cv::COLOR_BGRA2BGR);
    return bgr;
}

cv::Mat buoyChannelOf(const QImage& picture, QRect rect) {
    const cv::Mat bgr = bgrOf(picture, rect);
    if (bgr.empty())
        return {};
    // v = (R - B) / 2.5 + grey / 8 + 110: 8 to 244 over all colours.
    const cv::Matx14f weights(-0.4f + 0.114f / 8, 0.587f / 8, 0.4f + 0.299f / 8, 110.0f);
    cv::Mat channel;
    cv::transform(bgr, channel, weights);
    return channel;
}

} // namespace zt::vision
