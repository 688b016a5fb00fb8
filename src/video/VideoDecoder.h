#pragma once
// One demuxer and decoder on a clip, delivering frames in display order with
// their frame numbers. In an AVI clip frame n is the stream's sample n,
// counted from the stream's own start: a clip whose first chunks are empty
// or cannot be decoded has no picture for those samples. In the other
// containers (MP4, MOV, MKV: phones and action cameras) frame n is the n-th
// frame in presentation order, whatever its time, so a variable-rate clip
// is numbered by its frames. The decoder runs frame and slice threads on
// the cores. Used by FrameSource on the caller's thread and by its prefetch
// worker.

#include "video/FrameError.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <limits>
#include <memory>
#include <set>
#include <vector>

struct AVFormatContext;
struct AVIOContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace zt {

// Largest picture side taken from a decoder; a larger frame is refused.
constexpr int maxPictureSide = 8192;

// Where a clip's frame numbers start and where seeking can go.
struct Timeline {
    // A decoded frame's number is its best-effort timestamp minus offset.
    // That timestamp can run ahead of the frame's own sample by the
    // decoder's reordering delay (B-frames in AVI carry no pts).
    int64_t offset = 0;
    int64_t start = 0;              // timestamp of sample 0 (index, seeking)
    int64_t firstPicture = 0;       // number of the first frame that decodes
    int64_t firstTimestamp = 0;     // of the first packet: the beginning
    std::vector<int64_t> keyframes; // frame numbers, ascending
    // Containers other than AVI: the presentation timestamps of every frame,
    // ascending (frame n has presentation[n]), and for each keyframe the
    // timestamp a seek to it is made with (parallel to keyframes).
    std::vector<int64_t> presentation;
    std::vector<int64_t> keySeek;
    bool variableRate = false; // the frames' durations differ
    bool byPresentation() const { return !presentation.empty(); }
};

// Where a clip is read from: its file, or its bytes in memory (a clip handed
// over whole, as the fuzz tests do); the bytes are shared, never copied.
struct ClipInput {
    QString path;
    std::shared_ptr<const QByteArray> bytes; // when set, read from here
    static ClipInput file(const QString& path) { return {path, nullptr}; }
    static ClipInput memory(QByteArray bytes) {
        return {QString(), std::make_shared<const QByteArray>(std::move(bytes))};
    }
};

class VideoDecoder {
public:
    static constexpr int64_t rewind = std::numeric_limits<int64_t>::min();

    VideoDecoder() = default;
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // Refuses anything but a regular file (a named pipe would block).
    FrameError open(const ClipInput& input);
    // Reads the keyframes and the stream's start and decodes the first
    // picture, which current() then holds (number timeline.firstPicture).
    // NoPicture when nothing in the clip decodes.
    FrameError readTimeline(Timeline* timeline);
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
    // For this run: frames that no other frame refers to are not decoded
    // until the run comes near frame until (a run towards a window further
    // on: only the frames inside it are wanted). Frames given out before
    // until, well short of it, come with previous -1.
    void passOverBefore(int64_t until);

    // A frame the decoder reported as damaged (a cut or corrupt chunk) is
    // no picture: next() passes over it, as over a frame dropped at
    // capture, and remembers its number here.
    bool isDamaged(const AVFrame* frame) const;
    const std::set<int64_t>& damaged() const { return damaged_; }

    int64_t runLast() const { return runLast_; }
    bool ended() const { return ended_; }
    bool running() const { return running_; }
    const Timeline& timeline() const { return timeline_; }
    int64_t declaredFrames() const;
    // An AVI file without an index (a recorder killed or the file cut).
    bool aviWithoutIndex() const;
    double frameRate() const;
    bool intraOnly() const;
    // Degrees clockwise the picture is turned for display (0, 90, 180 or
    // 270): a phone held upright records its picture on its side.
    int rotation() const { return rotation_; }
    // Short names of the container and the codec ("mov,mp4,...", "h264").
    QString containerName() const;
    QString codecName() const;

private:
    struct PacketStamp {
        int64_t pos = -1;
        int64_t timestamp = 0;
    };

    AVFrame* decodeNext();
    bool listPresentation();
    int64_t numberOf(int64_t timestamp) const;
    int64_t firstPictureSample(const AVFrame* first) const;
    static int readMemory(void* opaque, uint8_t* buf, int size);
    static int64_t seekMemory(void* opaque, int64_t offset, int whence);

    ClipInput input_;
    int64_t memoryPos_ = 0; // read position in input_.bytes
    AVIOContext* memoryIo_ = nullptr;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVFrame* decoded_ = nullptr;
    AVPacket* packet_ = nullptr;
    int stream_ = -1;
    int rotation_ = 0;
    bool avi_ = true;
    int64_t seekKey_ = -1;   // the keyframe the run started at (-1: the beginning)
    int64_t passUntil_ = -1; // passOverBefore's frame while frames are passed over
    // Frames before this one were perhaps passed over: they are given
    // without a frame before them (a gap is no run of dropped frames).
    int64_t reportFrom_ = -1;
    Timeline timeline_;
    std::set<int64_t> damaged_;
    std::set<int64_t> cutPackets_; // file positions of packets read short
    int64_t runLast_ = -1;
    bool running_ = true; // decoding from the start or a seek, not yet ended
    bool draining_ = false;
    bool ended_ = false;
    // While the first picture is sought: where each packet lay and its
    // timestamp, to tell which packet that picture came from.
    bool stamping_ = false;
    std::vector<PacketStamp> stamps_;
};

// Start points to reach frame n: the keyframes at or before it, latest
// first (a few, for open GOPs), then the beginning.
std::vector<int64_t> seekStarts(const std::vector<int64_t>& keyframes, int64_t n);

} // namespace zt
