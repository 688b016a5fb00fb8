#pragma once
// Plain values shared by the capture backends, the recording pipeline and
// the capture control: devices, their modes, how to open them, what to
// record and the counters of a recording.

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

class QImage;

namespace zt {

// When the frames of a generated video are due, in place of real time: a
// test steps it so that what is recorded does not hang on how fast the
// machine is.
class FrameClock {
public:
    virtual ~FrameClock() = default;
    // Blocks until frame n may be made; false when abort is set.
    virtual bool waitForFrame(int64_t n, const std::atomic<bool>* abort) = 0;
};

// Pictures made by the program itself (the demo lake), delivered in real
// time as a camera would deliver them, or by a frame clock when it has one.
class VideoGenerator {
public:
    virtual ~VideoGenerator() = default;
    virtual QSize size() const = 0;
    virtual int frameRate() const = 0;
    // Frame n (from 0) as an RGB32 picture of size().
    virtual QImage frame(int64_t n) const = 0;
    virtual FrameClock* clock() const { return nullptr; }
};

// Makes the demo lake's pictures at a size and frame rate. The demo lake
// lives above capture; whoever offers it (the shell) hands its maker down.
using DemoVideoMaker = std::function<std::shared_ptr<VideoGenerator>(QSize size, int frameRate)>;

// How libavdevice opens an input: the input format ("v4l2", "alsa",
// "lavfi", ...), the URL and the options; or pictures the program makes
// (generated set: format and URL are then not used).
struct InputSetup {
    QByteArray format;
    QByteArray url;
    QList<std::pair<QByteArray, QByteArray>> options;
    std::shared_ptr<const VideoGenerator> generated;

    void set(const char* key, const QByteArray& value) { options.append({key, value}); }
};

// A capture device as a backend lists it: the name shown to the operator
// and what the backend needs to open it.
struct CaptureDevice {
    QString name;
    QByteArray id; // a path, URL or index the backend understands
    bool operator==(const CaptureDevice& o) const { return name == o.name && id == o.id; }
};

// A colour format of a video device: the name shown and the FFmpeg name of
// the pixel format or codec the device is asked for ("yuyv422", "mjpeg").
struct ColorFormat {
    QString name;
    QByteArray ffmpegName;
};

// What a video device offers.
struct DeviceModes {
    QList<QSize> resolutions;
    QList<ColorFormat> colorFormats;
    QStringList inputs;       // empty: the device has a single input
    QList<double> frameRates; // the rates the device reports (may be empty)
};

// The settings a video device is opened with.
struct VideoRequest {
    QSize size;
    QByteArray colorFormat; // FFmpeg name; empty: the device's choice
    int input = 0;
    int frameRate = 30;
};

struct AudioFormat {
    int channels = 1;
    int bits = 16;
    int sampleRate = 44100;
    bool operator==(const AudioFormat&) const = default;
};

// Video compressors of a recording: entry 0 of the compression list is
// "None" (uncompressed frames).
enum class Compression { None, Mjpeg, Ffv1 };

// What one recording writes.
struct ClipSettings {
    QString path;
    int frameRate = 30;
    Compression compression = Compression::Mjpeg;
    int mjpegQuality = 3; // quantiser scale, 2 (best) .. 31 (smallest)
    bool audio = false;
    AudioFormat audioFormat;
    int timeLimitSeconds = 0; // 0: no limit
};

// The counters of a recording as the capture device reports them.
struct CaptureCounters {
    long long framesRecorded = 0;
    long long framesDropped = 0;
    long long framesWritten = 0; // of those recorded, the frames in the file so far
    long long samples = 0;
    long long elapsedMs = 0;
};

// How a recording ended.
struct RecordingEnd {
    enum Kind { Stopped, TimeLimit, WriteFailed, InputLost } kind = Stopped;
    QString path;
    QString reason; // plain words; empty when stopped normally
    CaptureCounters counters;
};

} // namespace zt
