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

// One 8-bit channel in which an orange, red or yellow buoy stands out and
// the bluish water with its light ripples stays nearly flat: mostly red
// above blue, a little brightness so that other marks keep some shape.
cv::Mat buoyChannelOf(const QImage& picture, QRect rect);

} // namespace zt::vision
