#pragma once
// A connected capture device: the video input (and an audio input) read on
// worker threads from the moment it opens. The video thread decodes what it
// needs, gives each recorded frame its number from its capture time, keeps
// the latest picture for the live view and grabs still frames; the audio
// thread passes sound to the recording and to the speakers ("listen").
// Recording itself is a ClipRecorder with its own encoding and writing
// threads.
//
// The owner's thread only opens and closes, starts and stops, and reads the
// counters; the Listener hears from the worker threads.

#include "capture/CaptureTypes.h"
#include "video/FrameNumbering.h"

#include <QImage>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace zt {

class CaptureInput;
class ClipRecorder;

class CaptureSession {
public:
    // Called on worker threads.
    class Listener {
    public:
        virtual ~Listener() = default;
        // A new live picture can be taken with picture().
        virtual void pictureReady() = 0;
        // The recording ended on its own (time limit, write failure, lost
        // input); the owner calls stopRecording() to close the clip.
        virtual void recordingMustEnd(RecordingEnd::Kind kind, const QString& reason) = 0;
        // The video input delivers no more (device unplugged).
        virtual void inputEnded(const QString& reason) = 0;
        virtual void statusText(const QString& text) = 0;
    };

    struct Options {
        InputSetup video;
        std::optional<InputSetup> audio;
        int frameRate = 30;
    };

    // CPU seconds of the threads, for the figures of a recording.
    struct CpuTimes {
        double video = 0;
        double audio = 0;
        double encoder = 0;
        double writer = 0;
    };

    static std::unique_ptr<CaptureSession> open(const Options& options, Listener* listener,
                                                QString* error);
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    QSize videoSize() const;
    bool hasAudio() const { return audio_ != nullptr; }
    // The camera delivers MJPEG, which a MJPEG recording copies.
    bool deliversMjpeg() const;

    void setPreview(bool on) { preview_ = on; }
    // The latest live picture; the next one is made once this is taken.
    QImage picture();
    // The next picture of the camera at its full size; waits a moment.
    std::optional<QImage> grabStill(QString* error);

    bool startRecording(const ClipSettings& settings, QString* error);
    RecordingEnd stopRecording();
    bool recording() const { return recording_.load(); }
    CaptureCounters counters() const;
    CpuTimes cpuTimes();

    void setListen(bool on) { listen_ = on; }

private:
    CaptureSession() = default;
    bool openDecoders(QString* error);
    void videoLoop();
    void audioLoop();
    void onVideoPacket(AVPacket* packet);
    AVFrame* decodeVideo(AVPacket* packet);
    int64_t frameNumber(double seconds);
    QImage toImage(const AVFrame* frame);
    void makePicture(const AVFrame* frame);
    void makeStill(const AVFrame* frame);
    void playAudio(AVPacket* packet);
    void endRecordingOnce(RecordingEnd::Kind kind, const QString& reason);

    Listener* listener_ = nullptr;
    int frameRate_ = 30;
    std::atomic<bool> quit_{false};
    std::unique_ptr<CaptureInput> video_;
    std::unique_ptr<CaptureInput> audio_;
    AVCodecContext* videoDecoder_ = nullptr;
    AVCodecContext* audioDecoder_ = nullptr;
    AVFrame* decoded_ = nullptr;
    SwsContext* pictureSws_ = nullptr;
    std::thread videoThread_;
    std::thread audioThread_;

    // Live picture and still frames.
    std::atomic<bool> preview_{false};
    std::atomic<bool> pictureTaken_{true};
    double lastPictureAt_ = -1e9;
    std::mutex pictureMutex_;
    QImage picture_;
    std::mutex stillMutex_;
    std::condition_variable stillReady_;
    bool stillWanted_ = false;
    std::optional<QImage> still_;

    // Recording: the recorder and the numbering, guarded by recordMutex_.
    std::mutex recordMutex_;
    std::unique_ptr<ClipRecorder> recorder_;
    std::atomic<bool> recording_{false};
    bool copyPackets_ = false;
    FrameNumbering numbering_;
    int64_t limitFrames_ = 0;
    bool endSignalled_ = false;
    std::atomic<long long> framesRecorded_{0};
    std::atomic<long long> framesDropped_{0};
    std::atomic<long long> samples_{0};
    std::chrono::steady_clock::time_point startedAt_;
    std::atomic<long long> elapsedMs_{0};
    CpuTimes cpu_; // of the last recording

    // Listening.
    std::atomic<bool> listen_{false};
    AVFormatContext* speakers_ = nullptr;
    bool speakersFailed_ = false;
};

} // namespace zt
