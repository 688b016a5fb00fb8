#pragma once
// Numbers a camera's pictures as the frames of a clip recorded at a fixed
// rate: frame n is the picture taken n / rate seconds after the first one.
// A camera faster than the clip gives some frames two pictures (the second
// is not recorded); a slower one leaves gaps (frames missed); a jump of the
// camera's clock is no gap, the numbering goes on from the last frame.

#include <cstdint>

namespace zt {

class FrameNumbering {
public:
    // A jump of the camera's clock beyond this many seconds is no gap of
    // missed frames.
    static constexpr double clockJump = 5.0;

    // Starts a new clip at rate frames a second.
    void start(int rate);

    // The frame number of a picture taken at t seconds on the camera's
    // clock, or -1 when it falls on a frame already recorded.
    int64_t next(double t);

    // Takes frame n (from next) as recorded; returns how many frames before
    // it the camera missed.
    int64_t take(int64_t n);

    bool started() const { return started_; }
    int rate() const { return rate_; }

private:
    int rate_ = 30;
    bool started_ = false; // t0 known
    double t0_ = 0;
    int64_t last_ = -1;
};

} // namespace zt
