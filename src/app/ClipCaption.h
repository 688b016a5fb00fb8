#pragma once
// Which clip and frame a picture on the screen comes from, as the frame
// selection and measure screens show it beside the picture:
// "DEMOjump3.avi, frame 85". Only the file name of the clip; empty without
// a clip.

#include <QString>
#include <cstdint>

namespace zt {

QString clipFrameCaption(const QString& clipPath, int64_t frame);

// The measure screen's title: "Measure" and, for a frame taken from a
// clip, the caption above.
QString measureTitle(const QString& clipCaption);

} // namespace zt
