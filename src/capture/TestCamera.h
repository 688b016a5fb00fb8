#pragma once
// The built-in test camera and test tone: a capture backend that needs no
// hardware. Its pictures come from FFmpeg's lavfi input (a moving test
// pattern at the chosen size and rate, paced in real time) with a running
// frame counter and the time drawn in, and along the bottom edge the frame
// counter as sixteen black or white blocks that a test can read back from a
// recorded clip. Its tone is a 440 Hz sine. Pictures and tone go through
// the same recording pipeline as a real camera.
//
// For tests it can be plugged in and out, made to stop delivering pictures
// after a while (a camera pulled out while recording) and made to drop
// frames at the source (a device that misses frames).

#include "capture/CaptureBackend.h"

#include <QImage>
#include <optional>

namespace zt {

class TestCameraBackend : public CaptureBackend {
public:
    static QString cameraName() { return QStringLiteral("Zentrak Test Camera"); }
    static QString toneName() { return QStringLiteral("Zentrak Test Tone (440 Hz)"); }
    // The demo lake's camera (see DemoCamera), offered with the test camera.
    static QString demoName() { return QStringLiteral("Demo lake"); }

    QList<CaptureDevice> videoDevices() override;
    QList<CaptureDevice> audioDevices() override;
    DeviceModes videoModes(const CaptureDevice& device) override;
    InputSetup videoInput(const CaptureDevice& device, const VideoRequest& request) override;
    InputSetup audioInput(const CaptureDevice& device, const AudioFormat& format) override;

    // Plugged in (listed) or not.
    void setPresent(bool present) { present_ = present; }
    bool present() const { return present_; }
    // Inputs opened from now on end after this many seconds (0: never).
    void setStopAfter(double seconds) { stopAfter_ = seconds; }
    // Inputs opened from now on leave out `count` frames of every `period`.
    void setDroppedFrames(int period, int count) { dropPeriod_ = period, dropCount_ = count; }
    // The demo lake offered too (after the test camera, or first when the
    // demo runs), its pictures made by maker.
    void offerDemo(DemoVideoMaker maker, bool first = false) {
        demoVideo_ = std::move(maker), demoFirst_ = first;
    }

private:
    DemoVideoMaker demoVideo_; // none: the demo lake is not offered
    bool demoFirst_ = false;
    bool present_ = true;
    double stopAfter_ = 0;
    int dropPeriod_ = 0;
    int dropCount_ = 0;
};

struct TestPattern {
    QSize size{640, 480};
    int frameRate = 30;
    QByteArray pixelFormat = "yuv420p";
    double stopAfter = 0; // seconds; 0: runs until closed
    int dropPeriod = 0;   // with dropCount: frames left out at the source
    int dropCount = 0;
    bool drawText = true; // counter and time as text (needs a font)
};

// The lavfi graph of the test camera's pictures.
QByteArray testPatternGraph(const TestPattern& pattern);
// The lavfi graph of the test tone in a format.
QByteArray testToneGraph(const AudioFormat& format);

// The frame counter coded along the bottom edge of a test camera picture
// (16 bits); nullopt when the picture carries no readable code.
std::optional<int> readFrameCode(const QImage& picture);
// Draws that code into a picture (the demo lake's camera).
void paintFrameCode(QImage& picture, int code);

} // namespace zt
