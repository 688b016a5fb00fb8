#pragma once
// Writes small AVI clips with FFmpeg's libraries for tests and benchmarks.
// Every picture carries its frame number (its sample on the clip's
// timeline) as a row of black and white blocks, so a decoded frame can tell
// which frame it is.

#include <QImage>
#include <QString>
#include <cstdint>
#include <set>
#include <vector>

namespace zt::test {

struct ClipParams {
    QString encoder = QStringLiteral("mjpeg"); // mjpeg, rawvideo, mpeg4, libx264, ffv1, ...
    QString pixelFormat;                       // empty: the usual one for the encoder
    int width = 160;
    int height = 120;
    int frames = 30;
    int fps = 25; // the time base is 1/fps: a sample is 1/fps seconds
    int gop = 12;
    int bFrames = 0;
    std::set<int> dropped; // frame numbers never written (capture drops)
    // When set, the only samples that get a picture, ascending (frames and
    // dropped are then unused): a variable-rate clip on a fine time base.
    std::vector<int> samples;
    std::set<int> damaged; // samples whose chunk is written as zeros
    bool bottomUp = false; // raw RGB rows stored bottom-up (positive height)
};

// True when the clip was written; error tells why not.
bool writeClip(const QString& path, const ClipParams& params, QString* error = nullptr);
// True when FFmpeg here has the encoder.
bool haveEncoder(const QString& name);

// The frame number carried by a decoded picture; -1 when unreadable.
int frameNumberOf(const QImage& image);

// The picture written for frame number, exactly (RGB888).
QImage paintedPicture(int width, int height, int number);

// Every picture of a clip as FFmpeg's own decoder and converter give it
// (BGR888, in display order), without the program's frame source.
std::vector<QImage> referencePictures(const QString& path);

} // namespace zt::test
