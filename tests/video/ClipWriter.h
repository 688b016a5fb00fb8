#pragma once
// Writes small AVI clips with FFmpeg's libraries for tests and benchmarks.
// Every picture carries its frame number as a row of black and white
// blocks, so a decoded frame can tell which frame it is.

#include <QImage>
#include <QString>
#include <set>

namespace zt::test {

struct ClipParams {
    QString encoder = QStringLiteral("mjpeg"); // mjpeg, rawvideo, mpeg4, libx264
    int width = 160;
    int height = 120;
    int frames = 30;
    int fps = 25;
    int gop = 12;
    int bFrames = 0;
    std::set<int> dropped; // frame numbers never written (capture drops)
};

// True when the clip was written; error tells why not.
bool writeClip(const QString& path, const ClipParams& params, QString* error = nullptr);
// True when FFmpeg here has the encoder.
bool haveEncoder(const QString& name);

// The frame number carried by a decoded picture; -1 when unreadable.
int frameNumberOf(const QImage& image);

} // namespace zt::test
