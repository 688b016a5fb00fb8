#pragma once
// Clips shared by the video tests, written once per test run.

#include "ClipWriter.h"

#include <QImage>
#include <QString>
#include <QStringList>

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

// A clip as phones and action cameras make them: 48 painted frames of
// 320x240 at 30 fps (ClipWriter's, so each carries its number), re-encoded
// by the ffmpeg command with args (codec, container options) into name,
// whose extension picks the container. Empty when this machine's ffmpeg
// cannot make it.
QString phoneClip(const QString& name, const QStringList& args);
constexpr int phoneClipFrames = 48;
// The clip from with its streams copied, not re-encoded, under the ffmpeg
// command's args (such as a rotation for display, which only a copy keeps).
QString copiedClip(const QString& name, const QString& from, const QStringList& args);
// The picture the ffmpeg command itself shows for frame n (its n-th frame
// in presentation order, turned as the clip says), as BGR888 of the given
// displayed size; null when it cannot.
QImage ffmpegPicture(const QString& path, int n, int width, int height);

// Whole content of a file; writes bytes to a new file in the shared folder.
QString writeBytes(const QString& name, const QByteArray& bytes);

} // namespace zt::test
