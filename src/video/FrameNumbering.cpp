#include "video/FrameNumbering.h"

#include <algorithm>
#include <cmath>

namespace zt {

void FrameNumbering::start(int rate) {
    rate_ = std::max(1, rate);
    started_ = false;
    t0_ = 0;
    last_ = -1;
}

int64_t FrameNumbering::next(double t) {
    if (!started_) {
        started_ = true;
        t0_ = t;
    }
    int64_t n = std::llround((t - t0_) * rate_);
    if (std::abs(static_cast<double>(n - last_)) > clockJump * rate_) {
        // The clock jumped, ahead or back: go on from the last frame.
        n = last_ + 1;
        t0_ = t - static_cast<double>(n) / rate_;
    }
    if (n <= last_)
        return -1; // a second picture for one frame: the camera is faster than the clip
    return n;
}

int64_t FrameNumbering::take(int64_t n) {
    const int64_t missed = n - last_ - 1;
    last_ = n;
    return missed;
}

} // namespace zt
