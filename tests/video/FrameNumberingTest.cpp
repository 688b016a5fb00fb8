// Frame numbers from the capture times of real cameras: clocks that jitter,
// cameras faster or slower than the clip, and clocks that jump.

#include "video/FrameNumbering.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace zt;

namespace {

struct Numbered {
    std::vector<int64_t> frames; // in the order recorded
    int64_t missed = 0;
    int skipped = 0; // pictures not recorded
};

Numbered numberAll(FrameNumbering& f, const std::vector<double>& times) {
    Numbered out;
    for (double t : times) {
        const int64_t n = f.next(t);
        if (n < 0) {
            ++out.skipped;
            continue;
        }
        out.missed += f.take(n);
        out.frames.push_back(n);
    }
    return out;
}

// Every frame from 0 on exactly once, in order.
void expectEveryFrameOnce(const Numbered& n, int64_t count) {
    ASSERT_EQ(static_cast<int64_t>(n.frames.size()), count);
    for (int64_t i = 0; i < count; ++i)
        ASSERT_EQ(n.frames[static_cast<size_t>(i)], i) << "picture " << i;
}

} // namespace

TEST(FrameNumbering, JitteringClockGivesEveryFrameOnce) {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> jitter(-0.4, 0.4);
    for (int rate : {25, 30, 50, 60}) {
        FrameNumbering f;
        f.start(rate);
        std::vector<double> times;
        const double base = 1234.5; // a camera's clock does not start at 0
        times.push_back(base);
        for (int i = 1; i < 300; ++i)
            times.push_back(base + (i + jitter(rng)) / rate);
        const Numbered n = numberAll(f, times);
        expectEveryFrameOnce(n, 300);
        EXPECT_EQ(n.missed, 0) << rate;
        EXPECT_EQ(n.skipped, 0) << rate;
    }
}

TEST(FrameNumbering, FasterCameraRecordsOnePicturePerFrame) {
    // 60 pictures a second into a 30 fps clip for 4 s (241 pictures from
    // 0 to 4 s): 121 frames, each once, every other picture left out.
    FrameNumbering f;
    f.start(30);
    std::vector<double> times;
    for (int i = 0; i <= 240; ++i)
        times.push_back(10.0 + i / 60.0);
    const Numbered n = numberAll(f, times);
    expectEveryFrameOnce(n, 121);
    EXPECT_EQ(n.skipped, 120);
    EXPECT_EQ(n.missed, 0);
}

TEST(FrameNumbering, SlowerCameraLeavesCountedGaps) {
    // 15 pictures a second into a 30 fps clip: every other frame missed.
    FrameNumbering f;
    f.start(30);
    std::vector<double> times;
    for (int i = 0; i < 30; ++i)
        times.push_back(i / 15.0);
    const Numbered n = numberAll(f, times);
    ASSERT_EQ(n.frames.size(), 30u);
    EXPECT_EQ(n.frames.back(), 58);
    EXPECT_EQ(n.missed, 29);
}

TEST(FrameNumbering, ClockJumpGoesOnFromTheLastFrame) {
    // 50 frames, then the camera's clock jumps an hour ahead or back, then
    // 50 more frames: 100 frames in all, each once, none counted as missed.
    for (double jump : {3600.0, -3600.0, 6.0}) {
        FrameNumbering f;
        f.start(30);
        std::vector<double> times;
        for (int i = 0; i < 50; ++i)
            times.push_back(i / 30.0);
        for (int i = 0; i < 50; ++i)
            times.push_back(50 / 30.0 + jump + i / 30.0);
        const Numbered n = numberAll(f, times);
        expectEveryFrameOnce(n, 100);
        EXPECT_EQ(n.missed, 0) << jump;
    }
    // A gap shorter than the jump limit is frames missed, not a jump.
    FrameNumbering f;
    f.start(30);
    EXPECT_EQ(f.next(0.0), 0);
    f.take(0);
    EXPECT_EQ(f.next(2.0), 60);
    EXPECT_EQ(f.take(60), 59);
}

TEST(FrameNumbering, StartBeginsANewClip) {
    FrameNumbering f;
    f.start(30);
    f.take(f.next(100.0));
    f.take(f.next(100.0 + 1 / 30.0));
    f.start(25);
    EXPECT_FALSE(f.started());
    EXPECT_EQ(f.next(500.0), 0);
    EXPECT_TRUE(f.started());
    EXPECT_EQ(f.take(0), 0);
    EXPECT_EQ(f.next(500.0 + 1 / 25.0), 1);
    f.start(0); // a rate of 0 is taken as 1
    EXPECT_EQ(f.rate(), 1);
}
