#include "video/FramePrefetch.h"

#include <limits>

extern "C" {
#include <libavutil/frame.h>
}

namespace zt {

void freeFrames(std::vector<DecodedFrame>* frames) {
    for (DecodedFrame& f : *frames)
        av_frame_free(&f.frame);
    frames->clear();
}

FramePrefetch::FramePrefetch(const ClipInput& input, const Timeline& timeline)
    : input_(input), timeline_(timeline), thread_([this] { work(); }) {}

FramePrefetch::~FramePrefetch() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        cancel_ = true;
    }
    wake_.notify_all();
    thread_.join();
    freeFrames(&results_);
    held_ = 0;
}

bool FramePrefetch::request(int64_t from, int64_t to) {
    {
        std::lock_guard lock(mutex_);
        if (running_ || ready_ || from > to)
            return false;
        from_ = from, to_ = to;
        running_ = true;
    }
    wake_.notify_all();
    return true;
}

bool FramePrefetch::covers(int64_t n) const {
    std::lock_guard lock(mutex_);
    return (running_ || ready_) && n >= from_ && n <= to_;
}

std::vector<DecodedFrame> FramePrefetch::take(bool wait) {
    std::unique_lock lock(mutex_);
    if (wait)
        finished_.wait(lock, [this] { return !running_; });
    std::vector<DecodedFrame> out;
    if (ready_) {
        out.swap(results_);
        ready_ = false;
        held_ = 0;
    }
    return out;
}

bool FramePrefetch::holding() const {
    std::lock_guard lock(mutex_);
    return running_ || ready_;
}

std::set<int64_t> FramePrefetch::damaged() const {
    std::lock_guard lock(mutex_);
    return damaged_;
}

void FramePrefetch::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || running_; });
        if (stop_)
            return;
        const int64_t from = from_, to = to_;
        lock.unlock();
        std::vector<DecodedFrame> frames;
        decodeRange(from, to, &frames);
        lock.lock();
        if (decoder_)
            damaged_ = decoder_->damaged();
        held_ = frames.size();
        results_ = std::move(frames);
        running_ = false;
        ready_ = true;
        finished_.notify_all();
    }
}

void FramePrefetch::decodeRange(int64_t from, int64_t to, std::vector<DecodedFrame>* out) {
    if (!decoder_ && !broken_) {
        decoder_ = std::make_unique<VideoDecoder>();
        broken_ = decoder_->open(input_) != FrameError::None;
        decoder_->setTimeline(timeline_);
    }
    if (broken_)
        return;
    for (const int64_t start : seekStarts(timeline_.keyframes, from)) {
        freeFrames(out);
        if (!decoder_->seekTo(start))
            continue;
        decoder_->passOverBefore(from);
        int64_t number = 0, previous = -1;
        // The last frame below from; it stands for from itself when the
        // frames after it were dropped.
        DecodedFrame below;
        bool overshot = false;
        while (const AVFrame* f = decoder_->next(&number, &previous)) {
            if (cancel_) {
                av_frame_free(&below.frame);
                return freeFrames(out);
            }
            if (previous < 0 && number > from) {
                overshot = true; // open GOP: start further back
                break;
            }
            if (!out->empty() && out->back().number == previous)
                out->back().coversTo = number - 1;
            if (number < from) {
                av_frame_free(&below.frame);
                below = {number, number, av_frame_clone(f)};
                continue;
            }
            if (below.frame && below.number == previous && number > from) {
                below.coversTo = number - 1;
                out->push_back(below);
                below.frame = nullptr;
            }
            av_frame_free(&below.frame);
            if (number <= to)
                if (AVFrame* copy = av_frame_clone(f))
                    out->push_back({number, number, copy});
            held_ = out->size() + 1;
            if (number >= to)
                return;
        }
        if (overshot) {
            av_frame_free(&below.frame);
            continue;
        }
        // The clip ended before to: its last frame stands for all after it.
        if (below.frame) {
            below.coversTo = std::numeric_limits<int64_t>::max();
            out->push_back(below);
        } else if (!out->empty() && out->back().number == decoder_->runLast()) {
            out->back().coversTo = std::numeric_limits<int64_t>::max();
        }
        return;
    }
}

} // namespace zt
