#include "video/FrameSource.h"

#include "Fixtures.h"
#include "support/TestEnv.h"
#include "video/Dib.h"

#include <QFile>
#include <gtest/gtest.h>
#include <random>

using namespace zt;
using namespace zt::test;

namespace {

// Frame numbers asked in an order that mixes steps, jumps and reversals.
std::vector<int64_t> accessOrder(int64_t count) {
    std::vector<int64_t> order;
    for (int64_t n = 0; n < std::min<int64_t>(count, 8); ++n)
        order.push_back(n);
    for (int64_t n = count - 1; n >= count - 6; --n)
        order.push_back(n);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int64_t> pick(0, count - 1);
    for (int i = 0; i < 40; ++i)
        order.push_back(pick(rng));
    for (int64_t n = count / 2; n >= std::max<int64_t>(0, count / 2 - 14); --n)
        order.push_back(n);
    return order;
}

void expectExactFrames(const QString& path, size_t cacheFrames) {
    FrameError error = FrameError::None;
    FrameSource::Options options;
    options.cacheFrames = cacheFrames;
    auto source = FrameSource::open(path, options, &error);
    ASSERT_TRUE(source) << int(error);
    ASSERT_GT(source->frameCount(), 0);
    for (const int64_t n : accessOrder(source->frameCount())) {
        const QImage img = source->image(n, &error);
        ASSERT_EQ(error, FrameError::None) << path.toStdString() << " frame " << n;
        EXPECT_EQ(frameNumberOf(img), n) << path.toStdString();
        EXPECT_EQ(source->shownFrame(), n);
        EXPECT_LE(source->cachedFrames(), cacheFrames);
    }
}

} // namespace

TEST(FrameSource, RandomAccessGivesExactlyTheFrameAskedFor) {
    for (const QString& path : {mjpegClip(), rawClip(), mpeg4BClip(), h264Clip()}) {
        SCOPED_TRACE(path.toStdString());
        expectExactFrames(path, 64);
        expectExactFrames(path, 4); // a small cache must not change the answers
    }
}

TEST(FrameSource, SteppingBackThroughLongGopIsExact) {
    // Small caches make the worker decode ahead many times on the way down.
    for (const size_t cacheFrames : {64, 8, 12}) {
        FrameSource::Options options;
        options.cacheFrames = cacheFrames;
        for (const QString& path : {h264Clip(), mpeg4BClip()}) {
            auto source = FrameSource::open(path, options);
            ASSERT_TRUE(source);
            const int64_t count = source->frameCount();
            EXPECT_EQ(count, 60);
            for (int64_t n = count - 1; n >= 0; --n)
                ASSERT_EQ(frameNumberOf(source->image(n)), n) << cacheFrames;
            EXPECT_LE(source->cachedFrames(), cacheFrames);
            for (int64_t n = 0; n < count; n += 3)
                ASSERT_EQ(frameNumberOf(source->image(n)), n);
        }
    }
}

TEST(FrameSource, ClosingWhileTheWorkerDecodes) {
    FrameSource::Options options;
    options.cacheFrames = 8;
    for (int round = 0; round < 5; ++round) {
        auto source = FrameSource::open(h264Clip(), options);
        ASSERT_TRUE(source);
        for (int64_t n = 50; n > 50 - round * 2; --n)
            EXPECT_EQ(frameNumberOf(source->image(n)), n);
    }
}

TEST(FrameSource, DroppedFrameShowsThePreviousOneAndKeepsTheTimeline) {
    auto source = FrameSource::open(droppedClip());
    ASSERT_TRUE(source);
    EXPECT_EQ(source->frameCount(), 30);
    const std::vector<std::pair<int64_t, int64_t>> expected = {
        {4, 4}, {5, 4}, {6, 4}, {7, 7}, {19, 19}, {20, 19}, {21, 21}, {29, 29}, {6, 4}, {0, 0}};
    for (const auto& [asked, shown] : expected) {
        EXPECT_EQ(frameNumberOf(source->image(asked)), shown) << asked;
        EXPECT_EQ(source->shownFrame(), shown);
    }
}

TEST(FrameSource, OutOfRangeAndUnreadableFilesAreResults) {
    auto source = FrameSource::open(mjpegClip());
    ASSERT_TRUE(source);
    FrameError error = FrameError::None;
    EXPECT_FALSE(source->packedDib(-1, &error));
    EXPECT_EQ(error, FrameError::OutOfRange);
    EXPECT_TRUE(source->image(30, &error).isNull());
    EXPECT_EQ(error, FrameError::OutOfRange);
    EXPECT_EQ(frameNumberOf(source->image(29, &error)), 29);

    EXPECT_FALSE(FrameSource::open(writeBytes("text.avi", "just text, no video"), &error));
    EXPECT_EQ(error, FrameError::CannotOpen);
    EXPECT_FALSE(FrameSource::open(QStringLiteral("/no/such/clip.avi"), &error));
    EXPECT_EQ(error, FrameError::CannotOpen);
}

TEST(FrameSource, PackedBitmapIsBottomUpAndMatchesTheImage) {
    auto source = FrameSource::open(rawClip());
    ASSERT_TRUE(source);
    const QImage img = source->image(13);
    const auto packed = source->packedDib(13);
    ASSERT_TRUE(packed);
    const BmpInfoHeader h =
        BmpInfoHeader::fromBytes(reinterpret_cast<const unsigned char*>(packed->constData()));
    EXPECT_EQ(h.width, 160);
    EXPECT_EQ(h.height, 120);
    EXPECT_EQ(h.bitCount, 24);
    EXPECT_EQ(h.sizeImage, 480u * 120u);
    ASSERT_EQ(packed->size(), 40 + 480 * 120);
    for (const QPoint p : {QPoint(0, 0), QPoint(159, 0), QPoint(80, 60), QPoint(3, 119)}) {
        const auto* px = reinterpret_cast<const unsigned char*>(packed->constData()) + 40 +
                         (119 - p.y()) * 480 + p.x() * 3;
        const QRgb rgb = img.pixel(p);
        EXPECT_EQ(px[0], qBlue(rgb));
        EXPECT_EQ(px[1], qGreen(rgb));
        EXPECT_EQ(px[2], qRed(rgb));
    }
}

// Truncated and damaged copies of real clips must give results, not
// crashes or hangs; every frame request must come back.
TEST(FrameSource, HostileFilesNeverCrash) {
    for (const QString& path : {mjpegClip(), mpeg4BClip()}) {
        const QByteArray good = readAll(path);
        std::mt19937 rng(11);
        for (int round = 0; round < 12; ++round) {
            QByteArray bad = good;
            if (round % 2 == 0) {
                bad.truncate(qsizetype(rng() % size_t(good.size())));
            } else {
                for (int k = 0; k < 40; ++k)
                    bad[qsizetype(rng() % size_t(bad.size()))] = char(rng());
            }
            auto source = FrameSource::open(writeBytes("hostile.avi", bad));
            if (!source)
                continue;
            const int64_t last = std::max<int64_t>(source->frameCount(), 5);
            for (const int64_t n : {int64_t(0), last - 1, int64_t(2), last / 2, int64_t(1)})
                source->image(n);
        }
    }
}

// A recorder that is killed leaves no index and a length of 0; the frames
// are still there and must still be exact.
TEST(FrameSource, ClipWithoutIndexOrLength) {
    for (const auto& [path, length] : {std::pair{mjpegClip(), 30}, std::pair{h264Clip(), 60}}) {
        QByteArray bytes = readAll(path);
        const qsizetype idx1 = bytes.lastIndexOf("idx1");
        ASSERT_GT(idx1, 0);
        bytes.truncate(idx1);
        const qsizetype strh = bytes.indexOf("strh");
        ASSERT_GT(strh, 0);
        std::fill_n(bytes.data() + strh + 8 + 32, 4, '\0'); // strh.dwLength
        const QString killed = writeBytes("killed.avi", bytes);
        auto source = FrameSource::open(killed);
        ASSERT_TRUE(source);
        FrameError error = FrameError::None;
        for (const int64_t n : {59, 3, 40, 39, 38, 12, 0, 29, 30, 31, 5000, 1}) {
            const QImage img = source->image(n, &error);
            if (n < length)
                EXPECT_EQ(frameNumberOf(img), n) << path.toStdString() << " " << n;
            else
                EXPECT_EQ(error, FrameError::OutOfRange) << path.toStdString() << " " << n;
        }
        EXPECT_EQ(source->frameCount(), length);
    }
}

// Runs towards a window far from their keyframe skip the frames no other
// frame refers to; the frames given are still exactly FFmpeg's, whichever
// way the window is reached (a seek, decoding on, the worker).
TEST(FrameSource, LongRunsToAWindowGiveExactFrames) {
    ClipParams avi;
    avi.encoder = QStringLiteral("libx264");
    avi.frames = 120, avi.gop = 250, avi.bFrames = 3;
    const QString aviPath = tryClip(QStringLiteral("h264-gop250.avi"), avi);
    const QString mp4Path =
        phoneClip(QStringLiteral("h264-gop250.mp4"), {"-c:v", "libx264", "-g", "250", "-bf", "3"});
    for (const QString& path : {aviPath, mp4Path}) {
        if (path.isEmpty())
            continue;
        SCOPED_TRACE(path.toStdString());
        const std::vector<QImage> reference = referencePictures(path);
        for (const size_t cacheFrames : {1, 4, 9}) {
            FrameSource::Options options;
            options.cacheFrames = cacheFrames;
            auto source = FrameSource::open(path, options);
            ASSERT_TRUE(source);
            const int64_t count = source->frameCount();
            ASSERT_EQ(size_t(count), reference.size());
            std::vector<int64_t> order = {count - 1, 0, count / 2 + 20, count / 2};
            for (int64_t n = count - 2; n >= 0; n -= (n > count / 2 ? 1 : 7))
                order.push_back(n);
            for (const int64_t n : order) {
                const QImage img = source->image(n);
                ASSERT_EQ(frameNumberOf(img), n) << cacheFrames;
                ASSERT_EQ(img, reference[size_t(n)]) << "frame " << n;
            }
        }
    }
}

// A frame decoded ahead of its request (a held key) is the frame asked
// for then, and the frame shown stays the one asked for last.
TEST(FrameSource, FramesDecodedAheadAreTheFramesAskedNext) {
    for (const QString& path : {mjpegClip(), h264Clip()}) {
        SCOPED_TRACE(path.toStdString());
        auto source = FrameSource::open(path);
        ASSERT_TRUE(source);
        const int64_t count = source->frameCount();
        for (int64_t n = 0; n < count; ++n) {
            ASSERT_EQ(frameNumberOf(source->image(n)), n);
            source->prepare(n + 1);
            EXPECT_EQ(source->shownFrame(), n);
        }
        for (int64_t n = count - 1; n >= 0; --n) {
            ASSERT_EQ(frameNumberOf(source->image(n)), n);
            source->prepare(n - 1);
        }
    }
}
