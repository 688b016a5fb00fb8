#pragma once
// Frame n of a clip, exactly: n is the 0-based sample number of an AVI
// clip's video stream, or the n-th frame in presentation order of an MP4,
// MOV or MKV clip (VideoDecoder). The clip is opened once; decoded frames
// are kept in a cache so that stepping backwards through a long-GOP clip
// costs about as much as stepping forwards: a backward miss decodes a
// window of frames below n, and a walk backwards has the next window
// decoded ahead of time on a worker thread, started while a margin of
// frames is still left below. Everything held (the cache, the frame held
// back, the worker's window) stays within cacheFrames and 256 MB of
// decoded pictures: 176 frames of a 720p clip, about 80 of a 1080p one. A
// picture the clip says to turn for display (a phone held upright) is
// given turned: width() and height() are those of the turned picture. Frame numbers come from
// timestamps, never from counting decoded frames, so a frame dropped at capture (an empty chunk)
// keeps the timeline and shows the frame before it, however long the run
// of dropped frames; a frame before the clip's first picture has none.
//
// Errors are results: a truncated or hostile file gives an error code, never
// an exception, a crash or a hang. Not thread-safe: one user at a time.

#include "video/ClipScan.h"
#include "video/FrameError.h"
#include "video/VideoDecoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

struct AVFrame;
struct SwsContext;

namespace zt {

class FramePrefetch;

class FrameSource {
public:
    struct Options {
        // Decoded frames held at most (cache and worker together); a
        // backward miss refills up to this many.
        std::size_t cacheFrames = 192;
        // Walking backwards, decode the frames below on a worker ahead of time.
        bool prefetch = true;
    };

    static std::unique_ptr<FrameSource> open(const QString& path, FrameError* error = nullptr);
    static std::unique_ptr<FrameSource> open(const QString& path, const Options& options,
                                             FrameError* error = nullptr);
    // A clip from its file or from bytes in memory.
    static std::unique_ptr<FrameSource> open(const ClipInput& input, const Options& options,
                                             FrameError* error = nullptr);
    // For one frame and out (an extraction): no cache, no worker; the frame
    // is decoded from the keyframe before it.
    static Options oneFrame() { return {1, false}; }
    ~FrameSource();
    FrameSource(const FrameSource&) = delete;
    FrameSource& operator=(const FrameSource&) = delete;

    // Size of the decoded picture (not what the file's headers claim).
    int width() const { return width_; }
    int height() const { return height_; }
    // Frames in the video stream; -1 when the file does not say.
    int64_t frameCount() const { return frameCount_; }
    // Frames per second of the stream (rate / scale; the average of a
    // variable-rate clip).
    double frameRate() const;
    bool variableRate() const { return timeline_.variableRate; }
    int rotation() const { return decoder_.rotation(); }
    QString containerName() const { return decoder_.containerName(); }
    QString codecName() const { return decoder_.codecName(); }
    // The file's frame count cannot be trusted (none given, or no index):
    // the frames a player offers come from a scan (ClipScan).
    bool lengthUncertain() const { return lengthUncertain_; }
    // The scan's findings: the frames offered and the damaged ones.
    void applyScan(const ClipScan& scan);
    // Frame n was reported damaged by the decoder: the picture given for
    // it is the last whole frame before it.
    bool isDamaged(int64_t n) const;

    // Frame n as a packed 24-bit bottom-up bitmap at the decoded size: the
    // 40-byte info header followed by the rows, each padded to a multiple
    // of 4 bytes. The frame on display is kept decoded, so asking for it
    // again only converts it.
    std::optional<QByteArray> packedDib(int64_t n, FrameError* error = nullptr);
    // Frame n for display.
    QImage image(int64_t n, FrameError* error = nullptr);
    // Decodes frame n ahead of its request when that costs one frame (the
    // next of the run going on, or any frame of an intra-only clip), so
    // that asking for it then only converts it. The frame asked for last
    // stays the position.
    void prepare(int64_t n);
    // Number of the first frame that has a picture: 0 unless the clip's
    // first chunks are empty or cannot be decoded.
    int64_t firstPicture() const { return timeline_.firstPicture; }
    // The frame actually shown by the last successful request: n, or the
    // frame before a dropped one.
    int64_t shownFrame() const { return shown_; }

    std::size_t cachedFrames() const { return cache_.size(); }
    std::size_t cacheBytes() const;
    // Decoded pictures held now: the cache, the frame held back and the
    // worker's window (the decoders' own reference pictures not counted).
    std::size_t heldFrames() const;
    std::size_t heldBytes() const;
    // The most frames held at once (cacheFrames, or fewer for large
    // pictures and intra-only clips).
    std::size_t frameBudget() const { return options_.cacheFrames; }

private:
    struct Entry {
        AVFrame* frame = nullptr;
        int64_t coversTo = 0; // last frame number this picture stands for
    };

    FrameSource() = default;
    FrameError start(const ClipInput& input);
    const AVFrame* frame(int64_t n, FrameError* error);
    const AVFrame* lookup(int64_t n);
    bool decodeUntil(int64_t n, int64_t keepFrom);
    void keep(int64_t number, int64_t previous, const AVFrame* f, int64_t keepFrom);
    void store(int64_t number, AVFrame* frame, int64_t coversTo);
    void dropPending();
    void endRun();
    void evict();
    std::size_t cacheLimit() const;
    std::size_t prefetchWindow() const;
    const AVFrame* seekAndDecode(int64_t n, FrameError* error);
    bool forwardWithinReach(int64_t n) const;
    void takePrefetched(bool wait);
    void planPrefetch(int64_t n);
    void prefetchBelowSeek(int64_t n);
    int64_t prefetchMargin() const;
    int64_t coveredFrom(int64_t n) const;
    FrameError convert(const AVFrame* f, uint8_t* dst, int stride);
    void turn(const uint8_t* src, int srcStride, int width, int height, uint8_t* dst, int stride);

    ClipInput input_;
    Options options_;
    VideoDecoder decoder_;
    Timeline timeline_;
    std::unique_ptr<FramePrefetch> prefetch_;
    SwsContext* sws_ = nullptr;
    int width_ = 0, height_ = 0;
    int64_t frameCount_ = -1;
    bool lengthUncertain_ = false;
    std::set<int64_t> scannedDamaged_; // found by a scan or the prefetch worker
    std::map<int64_t, Entry> cache_;
    // The last frame decoded below the window being kept; it joins the
    // cache when the next frame shows that it stands for frames inside.
    Entry pending_;
    int64_t pendingNumber_ = -1;
    std::vector<uint8_t> scratch_; // conversion rows for narrow or turned pictures
    int64_t position_ = 0;         // the frame asked for last
    int direction_ = 1;            // +1 stepping forwards, -1 backwards
    int64_t shown_ = -1;
};

} // namespace zt
