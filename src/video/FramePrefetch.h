#pragma once
// Decodes a range of frames on a worker thread with its own decoder, so that
// a walk backwards through a long-GOP clip finds the frames below it already
// decoded. One job at a time; the owner takes the frames when they are done.

#include "video/VideoDecoder.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

struct AVFrame;

namespace zt {

struct DecodedFrame {
    int64_t number = 0;
    int64_t coversTo = 0; // last frame number the picture stands for
    AVFrame* frame = nullptr;
};

class FramePrefetch {
public:
    FramePrefetch(const ClipInput& input, const Timeline& timeline);
    ~FramePrefetch();
    FramePrefetch(const FramePrefetch&) = delete;
    FramePrefetch& operator=(const FramePrefetch&) = delete;

    // Starts decoding frames from..to; false while a job runs or its
    // frames wait to be taken.
    bool request(int64_t from, int64_t to);
    // A running or finished job holds frame n.
    bool covers(int64_t n) const;
    // The frames of the finished job (waiting for a running one when wait
    // is set); the caller frees them.
    std::vector<DecodedFrame> take(bool wait);
    // The frames its decoder found damaged so far (passed over, as dropped).
    std::set<int64_t> damaged() const;
    // A job runs or its frames wait to be taken: it may hold up to its
    // range's frames.
    bool holding() const;
    // Decoded frames the worker holds now (its window so far, or the
    // finished job's frames).
    std::size_t heldFrames() const { return held_; }

private:
    void work();
    void decodeRange(int64_t from, int64_t to, std::vector<DecodedFrame>* out);

    const ClipInput input_;
    const Timeline timeline_;
    std::unique_ptr<VideoDecoder> decoder_; // worker thread only
    bool broken_ = false;                   // worker thread only

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    int64_t from_ = 0, to_ = -1;
    bool running_ = false;
    bool ready_ = false;
    bool stop_ = false;
    std::atomic<bool> cancel_{false};
    std::atomic<std::size_t> held_{0};
    std::vector<DecodedFrame> results_;
    std::set<int64_t> damaged_;
    std::thread thread_;
};

void freeFrames(std::vector<DecodedFrame>* frames);

} // namespace zt
