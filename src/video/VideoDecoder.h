#pragma once
// One demuxer and decoder on a clip, delivering frames in display order with
// their frame numbers (timestamp minus the first frame's timestamp). Used by
// FrameSource on the caller's thread and by its prefetch worker.

#include "video/FrameError.h"

#include <QString>
#include <cstdint>
#include <limits>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace zt {

// Where a clip's frame numbers start and where seeking can go.
struct Timeline {
    int64_t offset = 0;             // timestamp of frame 0
    int64_t firstTimestamp = 0;     // of the first packet: the beginning
    std::vector<int64_t> keyframes; // frame numbers, ascending
};

class VideoDecoder {
public:
    static constexpr int64_t rewind = std::numeric_limits<int64_t>::min();

    VideoDecoder() = default;
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    FrameError open(const QString& path);
    // Reads the keyframes and the first frame's timestamp; decodes frame 0,
    // which current() then holds.
    FrameError readTimeline(const QString& path, Timeline* timeline);
    const AVFrame* current() const { return decoded_; }
    void setTimeline(const Timeline& timeline) { timeline_ = timeline; }

    // The next frame with a place on the timeline after the last one of this
    // run; null at the end. previous is the number of the frame before it in
    // this run (-1 at the start of a run). The frame is valid until the next
    // call.
    const AVFrame* next(int64_t* number, int64_t* previous);
    // Seek to the keyframe at or before frame number (or rewind); starts a
    // new run.
    bool seekTo(int64_t number);

    int64_t runLast() const { return runLast_; }
    bool ended() const { return ended_; }
    bool running() const { return running_; }
    const Timeline& timeline() const { return timeline_; }
    int width() const;
    int height() const;
    int64_t declaredFrames() const;
    double frameRate() const;
    bool intraOnly() const;

private:
    AVFrame* decodeNext();

    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVFrame* decoded_ = nullptr;
    AVPacket* packet_ = nullptr;
    int stream_ = -1;
    Timeline timeline_;
    int64_t runLast_ = -1;
    bool running_ = true; // decoding from the start or a seek, not yet ended
    bool draining_ = false;
    bool ended_ = false;
};

// Start points to reach frame n: the keyframes at or before it, latest
// first (a few, for open GOPs), then the beginning.
std::vector<int64_t> seekStarts(const std::vector<int64_t>& keyframes, int64_t n);

} // namespace zt
