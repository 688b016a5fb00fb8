#pragma once
// QImage to OpenCV matrices, for the vision code only: nothing outside
// src/vision sees an OpenCV type.

#include <QImage>
#include <QRect>
#include <opencv2/core.hpp>

namespace zt::vision {

// The part rect of the picture (clipped to it) as 8-bit grey.
cv::Mat grayOf(const QImage& picture, QRect rect);
// The same as three 8-bit channels blue, green, red.
cv::Mat bgrOf(const QImage& picture, QRect rect);

} // namespace zt::vision
