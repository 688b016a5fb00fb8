#pragma once
// Clips shared by the video tests, written once per test run.

#include "ClipWriter.h"

#include <QString>

namespace zt::test {

// The clip of the given params under a name; written on first use.
QString clip(const QString& name, const ClipParams& params);

// The same, but an empty path when this FFmpeg cannot write it (an
// encoder that is missing or does not take the size).
QString tryClip(const QString& name, const ClipParams& params);

// Usual clips.
QString mjpegClip();   // 160x120, 30 frames, 25 fps
QString rawClip();     // 160x120 bgr24, 20 frames
QString mpeg4BClip();  // mpeg4, GOP 12, 2 B-frames, 60 frames
QString h264Clip();    // libx264 with B-frames (mpeg4 with B-frames without it)
QString droppedClip(); // MJPEG with frames 5, 6 and 20 dropped at capture

// Whole content of a file; writes bytes to a new file in the shared folder.
QString writeBytes(const QString& name, const QByteArray& bytes);

} // namespace zt::test
