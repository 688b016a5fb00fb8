// Frame n is the stream's sample n: runs of dropped frames, variable-rate
// clips and clips whose first chunks hold no picture.

#include "Fixtures.h"
#include "video/FrameSource.h"

#include <gtest/gtest.h>
#include <random>

using namespace zt;
using namespace zt::test;

namespace {

// The picture frame n shows: the last sample at or before n that has one;
// -1 before the first.
int expectedPicture(const std::vector<int>& samples, int64_t n) {
    auto it = std::upper_bound(samples.begin(), samples.end(), n);
    return it == samples.begin() ? -1 : *std::prev(it);
}

std::vector<int> samplesOf(const ClipParams& p) {
    if (!p.samples.empty())
        return p.samples;
    std::vector<int> s;
    for (int n = 0; n < p.frames; ++n)
        if (!p.dropped.count(n) && !p.damaged.count(n))
            s.push_back(n);
    return s;
}

std::vector<int64_t> forwardBackwardRandom(int64_t count) {
    std::vector<int64_t> order;
    for (int64_t n = 0; n < count; ++n)
        order.push_back(n);
    for (int64_t n = count - 1; n >= 0; --n)
        order.push_back(n);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int64_t> pick(0, count - 1);
    for (int i = 0; i < 200; ++i)
        order.push_back(pick(rng));
    return order;
}

// Every frame number of the clip, walked forwards, backwards and at random,
// with caches large and small, shows the right picture.
void expectEveryFrame(const QString& name, const ClipParams& params, int64_t length) {
    SCOPED_TRACE(name.toStdString());
    const QString path = clip(name, params);
    const std::vector<int> samples = samplesOf(params);
    for (const std::size_t cacheFrames : {64, 4, 1}) {
        SCOPED_TRACE(cacheFrames);
        FrameSource::Options options;
        options.cacheFrames = cacheFrames;
        FrameError error = FrameError::None;
        auto source = FrameSource::open(path, options, &error);
        ASSERT_TRUE(source) << int(error);
        ASSERT_EQ(source->frameCount(), length);
        EXPECT_EQ(source->firstPicture(), samples.front());
        for (const int64_t n : forwardBackwardRandom(length)) {
            const int expected = expectedPicture(samples, n);
            const QImage img = source->image(n, &error);
            if (expected < 0) {
                ASSERT_EQ(error, FrameError::NoPicture) << "frame " << n;
                ASSERT_TRUE(img.isNull());
                continue;
            }
            ASSERT_EQ(error, FrameError::None) << "frame " << n;
            ASSERT_EQ(frameNumberOf(img), expected) << "frame " << n;
            ASSERT_EQ(source->shownFrame(), expected) << "frame " << n;
        }
    }
}

} // namespace

TEST(FrameTimeline, EveryFrameInARunOfDroppedFramesShowsTheLastRealOne) {
    ClipParams mjpeg;
    mjpeg.frames = 60;
    for (int n = 10; n <= 14; ++n)
        mjpeg.dropped.insert(n);
    expectEveryFrame(QStringLiteral("run-mjpeg.avi"), mjpeg, 60);

    // A long gap in a long-GOP clip: far more dropped frames than the cache.
    ClipParams mpeg4;
    mpeg4.encoder = QStringLiteral("mpeg4");
    mpeg4.frames = 120;
    mpeg4.gop = 250;
    for (int n = 10; n <= 89; ++n)
        mpeg4.dropped.insert(n);
    expectEveryFrame(QStringLiteral("run-mpeg4.avi"), mpeg4, 120);

    // Dropped frames at the end keep the length: they show the last picture.
    ClipParams tail;
    tail.frames = 20;
    tail.dropped = {15, 16, 17, 18, 19};
    expectEveryFrame(QStringLiteral("run-tail.avi"), tail, 20);
}

// A variable-rate recording on a millisecond time base: most samples are
// empty chunks between pictures some 33 to 40 ms apart.
TEST(FrameTimeline, VariableRateClipOnAMillisecondTimeBase) {
    ClipParams vfr;
    vfr.fps = 1000;
    std::mt19937 rng(9);
    for (int t = 0; t < 1200; t += 33 + int(rng() % 8))
        vfr.samples.push_back(t);
    expectEveryFrame(QStringLiteral("vfr.avi"), vfr, vfr.samples.back() + 1);
}

TEST(FrameTimeline, FramesCountFromTheStreamStartNotTheFirstPicture) {
    ClipParams firstEmpty;
    firstEmpty.dropped = {0};
    expectEveryFrame(QStringLiteral("first-empty.avi"), firstEmpty, 30);

    ClipParams threeEmpty;
    threeEmpty.dropped = {0, 1, 2};
    expectEveryFrame(QStringLiteral("three-empty.avi"), threeEmpty, 30);

    ClipParams zeroedJpeg; // the first chunk is there but cannot be decoded
    zeroedJpeg.damaged = {0};
    expectEveryFrame(QStringLiteral("first-zeroed.avi"), zeroedJpeg, 30);

    // A codec with predicted frames.
    ClipParams mpeg4;
    mpeg4.encoder = QStringLiteral("mpeg4");
    mpeg4.frames = 40;
    mpeg4.dropped = {0, 1};
    expectEveryFrame(QStringLiteral("first-empty-mpeg4.avi"), mpeg4, 40);
}
