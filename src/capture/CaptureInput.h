#pragma once
// One opened libavdevice input (a camera, a microphone, the test camera)
// and its first stream. A blocking read ends when the abort flag given at
// the opening becomes true.

#include "capture/CaptureTypes.h"

#include <atomic>
#include <cstdint>
#include <memory>

struct AVFormatContext;
struct AVIOContext;
struct AVPacket;
struct AVStream;

namespace zt {

class CaptureInput {
public:
    // nullptr when it cannot be opened; error then says why.
    static std::unique_ptr<CaptureInput> open(const InputSetup& setup,
                                              const std::atomic<bool>* abort, QString* error);
    ~CaptureInput();
    CaptureInput(const CaptureInput&) = delete;
    CaptureInput& operator=(const CaptureInput&) = delete;

    // The next packet of the stream; 0 or an FFmpeg error (AVERROR_EOF at
    // the end, AVERROR(EAGAIN) when nothing is ready yet). A clip file given
    // as a camera delivers its pictures at their own pace, as a camera would,
    // not all at once.
    int read(AVPacket* packet);
    AVStream* stream() const { return stream_; }
    // A packet time in seconds (its pts in the stream's time base).
    double seconds(long long pts) const;

private:
    CaptureInput() = default;
    static std::unique_ptr<CaptureInput>
    openGenerated(const InputSetup& setup, const std::atomic<bool>* abort, QString* error);

    void keepPace(const AVPacket* packet);
    struct Generated;
    static int readGenerated(void* opaque, uint8_t* buffer, int size);

    AVFormatContext* format_ = nullptr;
    AVStream* stream_ = nullptr;
    const std::atomic<bool>* abort_ = nullptr;
    std::unique_ptr<Generated> generated_; // pictures the program makes
    AVIOContext* io_ = nullptr;
    bool paced_ = false;      // a file, not a device
    double firstTime_ = -1;   // seconds of the first packet
    long long startedAt_ = 0; // steady clock, microseconds
};

// FFmpeg's text of an error number.
QString ffmpegErrorText(int error);

// Registers libavdevice's inputs once.
void registerCaptureDevices();

} // namespace zt
