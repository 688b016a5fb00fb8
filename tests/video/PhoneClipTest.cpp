// Clips as phones and action cameras make them, made by the ffmpeg command:
// H.264 and HEVC with B-frames and short keyframe intervals in MP4, MOV and
// MKV, a variable-rate clip and clips to be turned for display. Frame n is
// the n-th frame in presentation order, equal to FFmpeg's own decode of it.

#include "Fixtures.h"
#include "app/Dialogs.h"
#include "support/TestEnv.h"
#include "video/FrameExtract.h"
#include "video/FrameSource.h"
#include "video/MediaFileOpen.h"

#include <QTransform>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

using namespace zt;
using namespace zt::test;

namespace {

const QStringList h264Args = {"-c:v", "libx264", "-g", "12", "-bf", "3", "-pix_fmt", "yuv420p"};
const QStringList hevcArgs = {"-c:v",         "libx265",
                              "-x265-params", "log-level=error:keyint=12:bframes=3",
                              "-pix_fmt",     "yuv420p"};

struct Made {
    QString path;
    const char* what;
};

std::vector<Made> phoneClips() {
    return {{phoneClip(QStringLiteral("h264.mp4"), h264Args), "H.264 MP4"},
            {phoneClip(QStringLiteral("h264.mov"), h264Args), "H.264 MOV"},
            {phoneClip(QStringLiteral("h264.mkv"), h264Args), "H.264 MKV"},
            {phoneClip(QStringLiteral("hevc.mp4"), hevcArgs), "HEVC MP4 (open GOP)"}};
}

// Steps, jumps and a walk backwards over the whole clip.
std::vector<int64_t> accessOrder() {
    std::vector<int64_t> order = {0, 1, 2, 3, 47, 46, 45, 13, 12, 11, 24, 25};
    std::mt19937 rng(11);
    std::uniform_int_distribution<int64_t> pick(0, phoneClipFrames - 1);
    for (int i = 0; i < 24; ++i)
        order.push_back(pick(rng));
    for (int64_t n = phoneClipFrames - 1; n >= 0; --n)
        order.push_back(n);
    return order;
}

QImage upright(const QImage& stored, int rotation) {
    return rotation == 0 ? stored : stored.transformed(QTransform().rotate(rotation));
}

// Mean difference per channel; FFmpeg's command converts with other filters
// than ours, so its pictures are near, not equal.
double meanDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 255;
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(int(x.scanLine(row)[i]) - int(y.scanLine(row)[i]));
    return sum / (double(x.width()) * x.height() * 3);
}

} // namespace

TEST(PhoneClips, EveryFrameIsFfmpegsOwnDecodeOfThatFrame) {
    for (const Made& made : phoneClips()) {
        if (made.path.isEmpty())
            GTEST_SKIP() << "this ffmpeg cannot make " << made.what;
        SCOPED_TRACE(made.what);
        const std::vector<QImage> reference = referencePictures(made.path);
        ASSERT_EQ(reference.size(), size_t(phoneClipFrames));
        // A small cache sends the walk back through the worker many times.
        for (const size_t cacheFrames : {192, 10}) {
            FrameSource::Options options;
            options.cacheFrames = cacheFrames;
            FrameError error = FrameError::None;
            auto source = FrameSource::open(made.path, options, &error);
            ASSERT_TRUE(source) << int(error);
            EXPECT_EQ(source->frameCount(), phoneClipFrames);
            EXPECT_FALSE(source->lengthUncertain());
            EXPECT_NEAR(source->frameRate(), 30, 0.01);
            EXPECT_FALSE(source->variableRate());
            for (const int64_t n : accessOrder()) {
                const QImage img = source->image(n, &error);
                ASSERT_EQ(error, FrameError::None) << "frame " << n;
                ASSERT_EQ(img, reference[size_t(n)]) << "frame " << n;
                ASSERT_EQ(frameNumberOf(img), n);
                ASSERT_LE(source->heldFrames(), source->frameBudget() + 1);
            }
        }
    }
}

TEST(PhoneClips, VariableRateClipIsNumberedByItsFramesNotItsTime) {
    // Every fifth frame is followed by a pause of two frame times.
    const QString path =
        phoneClip(QStringLiteral("vfr.mp4"), QStringList{"-vf", "setpts='(N+floor(N/5)*2)/(30*TB)'",
                                                         "-fps_mode", "passthrough"} +
                                                 h264Args);
    if (path.isEmpty())
        GTEST_SKIP() << "this ffmpeg cannot make a variable-rate clip";
    const std::vector<QImage> reference = referencePictures(path);
    ASSERT_EQ(reference.size(), size_t(phoneClipFrames));
    auto source = FrameSource::open(path);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->frameCount(), phoneClipFrames);
    EXPECT_TRUE(source->variableRate());
    // The average over its time: 48 frames in 66 frame times.
    EXPECT_NEAR(source->frameRate(), 30.0 * 48 / 66, 0.5);
    for (const int64_t n : accessOrder()) {
        const QImage img = source->image(n);
        ASSERT_EQ(frameNumberOf(img), n);
        ASSERT_EQ(img, reference[size_t(n)]) << "frame " << n;
    }
    const ClipFacts facts = factsOf(*source);
    const QStringList lines = clipInfoLines(path, facts);
    EXPECT_TRUE(lines.contains(QStringLiteral("Length: 48 frames")));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("Rate: 21.82fps (variable; frames numbered in order)")))
        << lines.join(QLatin1Char('|')).toStdString();
}

TEST(PhoneClips, TurnedClipShowsUprightAsFfmpegShowsIt) {
    for (const int tag : {90, 180, 270}) {
        const QString path = copiedClip(QStringLiteral("turned%1.mp4").arg(tag),
                                        phoneClip(QStringLiteral("h264.mp4"), h264Args),
                                        {"-metadata:s:v:0", QStringLiteral("rotate=%1").arg(tag)});
        if (path.isEmpty())
            GTEST_SKIP() << "this ffmpeg cannot tag a rotation";
        SCOPED_TRACE(tag);
        auto source = FrameSource::open(path);
        ASSERT_TRUE(source);
        const int rotation = source->rotation();
        ASSERT_NE(rotation, 0);
        const bool sideways = rotation != 180;
        EXPECT_EQ(source->width(), sideways ? 240 : 320);
        EXPECT_EQ(source->height(), sideways ? 320 : 240);
        const std::vector<QImage> reference = referencePictures(path);
        ASSERT_EQ(reference.size(), size_t(phoneClipFrames));
        for (const int64_t n : {int64_t(5), int64_t(30), int64_t(4)}) {
            const QImage img = source->image(n);
            // Exactly the decoder's picture, turned; turned the way the
            // ffmpeg command turns it (a wrong way differs by far more).
            ASSERT_EQ(img, upright(reference[size_t(n)], rotation));
            const QImage theirs = ffmpegPicture(path, int(n), img.width(), img.height());
            ASSERT_FALSE(theirs.isNull());
            EXPECT_LT(meanDifference(img, theirs), 4.0);
            EXPECT_EQ(frameNumberOf(upright(img, 360 - rotation)), n);
        }
        // The bitmap taken is turned too.
        TestEnv env;
        SilentDialogs dialogs;
        const QString bmp = env.path(QStringLiteral("taken.bmp"));
        ASSERT_TRUE(extractFrameTo(dialogs, path, 30, bmp));
        EXPECT_EQ(QImage(bmp).convertToFormat(QImage::Format_RGB888),
                  upright(reference[30], rotation).convertToFormat(QImage::Format_RGB888));
    }
}

TEST(PhoneClips, ExtractionWritesTheFrameOfEachFormat) {
    TestEnv env;
    SilentDialogs dialogs;
    for (const Made& made : phoneClips()) {
        if (made.path.isEmpty())
            continue;
        SCOPED_TRACE(made.what);
        const std::vector<QImage> reference = referencePictures(made.path);
        for (const int n : {0, 23, 47}) {
            const QString bmp = env.path(QStringLiteral("frame.bmp"));
            ASSERT_TRUE(extractFrameTo(dialogs, made.path, n, bmp));
            EXPECT_EQ(QImage(bmp).convertToFormat(QImage::Format_RGB888),
                      reference[size_t(n)].convertToFormat(QImage::Format_RGB888));
        }
        // Past the end nothing is written and nothing told.
        EXPECT_FALSE(extractFrameTo(dialogs, made.path, phoneClipFrames,
                                    env.path(QStringLiteral("none.bmp"))));
    }
}

TEST(PhoneClips, FilesAreTakenByTheirContentNotOnlyTheirName) {
    TestEnv env;
    SilentDialogs dialogs;
    const QString mp4 = phoneClip(QStringLiteral("h264.mp4"), h264Args);
    const QString mkv = phoneClip(QStringLiteral("h264.mkv"), h264Args);
    if (mp4.isEmpty() || mkv.isEmpty())
        GTEST_SKIP() << "this ffmpeg cannot make the clips";
    EXPECT_TRUE(isValidClip(dialogs, mp4));
    EXPECT_TRUE(isValidClip(dialogs, mkv));
    const QString fake = env.path(QStringLiteral("notes.mp4"));
    writeAll(fake, "this is a text file, not a clip");
    EXPECT_FALSE(isValidClip(dialogs, fake));
    const QString mp4AsMkv = env.path(QStringLiteral("clip.MKV"));
    QFile::copy(mp4, mp4AsMkv);
    EXPECT_FALSE(isValidClip(dialogs, mp4AsMkv));
    EXPECT_EQ(clipKindOfName(QStringLiteral("/v/IMG_0001.MOV")), ClipKind::Mp4);
    EXPECT_EQ(clipKindOfName(QStringLiteral("/v/Annjump2.avi")), ClipKind::Avi);
    EXPECT_EQ(clipKindOfName(QStringLiteral("/v/noext")), ClipKind::Avi);
}
