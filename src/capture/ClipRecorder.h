#pragma once
// Writes one clip into an AVI file: video frames with their frame numbers
// (from capture time, so a number that never comes leaves an empty chunk
// and the file keeps its timeline), or the camera's own MJPEG packets
// copied as they come, and PCM audio. Encoding runs on one thread and
// writing on another; the push operations never wait for either.
//
// A write failure (disk full, folder gone) stops the writing; what was
// written stays a readable clip. finish() writes what is queued, the index
// when it can, and closes the file.

#include "capture/CaptureTypes.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct AVCodecContext;
struct AVCodecParameters;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;
struct SwsContext;

namespace zt {

class ClipRecorder {
public:
    // The video that comes in: decoded frames of a size and pixel format,
    // or packets copied as they are (copyFrom set).
    struct VideoIn {
        int width = 0;
        int height = 0;
        int pixelFormat = -1; // AVPixelFormat of the frames
        const AVCodecParameters* copyFrom = nullptr;
    };
    // The audio that comes in, as decoded frames.
    struct AudioIn {
        int sampleRate = 44100;
        int channels = 1;
        int sampleFormat = -1; // AVSampleFormat
    };
    // Called once, on the writing thread, when a write fails.
    using FailureHandler = std::function<void(const QString& reason)>;

    static std::unique_ptr<ClipRecorder> open(const ClipSettings& settings, const VideoIn& video,
                                              const std::optional<AudioIn>& audio,
                                              FailureHandler onFailure, QString* error);
    ~ClipRecorder();
    ClipRecorder(const ClipRecorder&) = delete;
    ClipRecorder& operator=(const ClipRecorder&) = delete;

    // Frame number n of the clip; false when the encoder's queue is full
    // (the frame is dropped, its number stays an empty chunk).
    bool pushFrame(const AVFrame* frame, int64_t n);
    bool pushPacket(const AVPacket* packet, int64_t n);
    // Audio samples in the input format; returns the samples taken.
    long long pushAudio(const AVFrame* frame);

    // Writes what is queued and closes the file. Returns the frames written.
    long long finish();

    bool failed() const { return failed_.load(); }
    QString failure() const;
    long long framesWritten() const { return framesWritten_.load(); }
    const QString& path() const { return path_; }
    // CPU seconds of the encoding and writing threads (known after finish).
    double encoderCpuSeconds() const { return encoderCpu_.load(); }
    double writerCpuSeconds() const { return writerCpu_.load(); }

private:
    struct Item {
        AVFrame* frame = nullptr;
        AVPacket* packet = nullptr;
        int64_t n = 0;
        bool end = false;
    };

    ClipRecorder() = default;
    bool openOutput(const ClipSettings& settings, const VideoIn& video,
                    const std::optional<AudioIn>& audio, QString* error);
    bool openVideoEncoder(const ClipSettings& settings, const VideoIn& video, QString* error);
    bool openAudio(const ClipSettings& settings, const AudioIn& audio, QString* error);
    bool enqueue(Item item, bool bounded);
    void encodeLoop();
    void writeLoop();
    bool encode(const Item& item);
    bool prepareScaler(const AVFrame* in);
    void drainEncoder(bool flush);
    void toWriter(AVPacket* packet, AVStream* stream, int timeBaseDen, int timeBaseNum);
    void fail(const QString& reason);
    void freeAll();

    QString path_;
    FailureHandler onFailure_;
    AVFormatContext* out_ = nullptr;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    AVCodecContext* videoEncoder_ = nullptr;
    AVCodecContext* audioEncoder_ = nullptr;
    SwsContext* sws_ = nullptr;
    SwrContext* swr_ = nullptr;
    VideoIn videoIn_;
    int frameRate_ = 30;
    long long audioSamples_ = 0;
    std::mutex audioMutex_;

    // Frames waiting for the encoder.
    std::mutex encodeMutex_;
    std::condition_variable encodeReady_;
    std::deque<Item> encodeQueue_;
    std::size_t encodeBytes_ = 0;
    std::size_t encodeCapacity_ = 0;
    std::size_t encodeByteCapacity_ = 0;

    // Packets waiting to be written.
    std::mutex writeMutex_;
    std::condition_variable writeReady_;
    std::condition_variable writeRoom_;
    std::deque<AVPacket*> writeQueue_;
    std::size_t writeBytes_ = 0;
    bool encoderDone_ = false;

    std::thread encoder_;
    std::thread writer_;
    std::atomic<bool> failed_{false};
    mutable std::mutex failureMutex_;
    QString failure_;
    std::atomic<long long> framesWritten_{0};
    std::atomic<double> encoderCpu_{0};
    std::atomic<double> writerCpu_{0};
    bool finished_ = false;
};

// The operator's words for an error of writing a file.
QString writeErrorText(int ffmpegError);

} // namespace zt
