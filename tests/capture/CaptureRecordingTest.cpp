// The recording pipeline on the test camera: what it writes must be read
// back by our own frame source with every frame where its capture time
// puts it, through device drops, time limits, a camera pulled out, a full
// disk and a recorder that is killed.

#include "capture/CaptureSession.h"
#include "capture/TestCamera.h"
#include "support/CaptureFixtures.h"
#include "support/QtPrinters.h"
#include "video/AviFile.h"
#include "video/FrameSource.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <mutex>

using namespace zt;
using namespace zt::test;

namespace {

class Recorder : public CaptureSession::Listener {
public:
    void pictureReady() override { ++pictures; }
    void recordingMustEnd(RecordingEnd::Kind k, const QString& why) override {
        std::lock_guard lock(mutex);
        ended = true;
        kind = k;
        reason = why;
    }
    void inputEnded(const QString&) override { inputGone = true; }
    void statusText(const QString&) override {}
    bool hasEnded() {
        std::lock_guard lock(mutex);
        return ended;
    }

    std::atomic<int> pictures{0};
    std::atomic<bool> inputGone{false};
    std::mutex mutex;
    bool ended = false;
    RecordingEnd::Kind kind = RecordingEnd::Stopped;
    QString reason;
};

struct Camera {
    TestCameraBackend backend;
    Recorder listener;
    std::unique_ptr<CaptureSession> session;

    bool open(QSize size, int rate, bool audio = false) {
        CaptureSession::Options o;
        o.video = backend.videoInput(backend.videoDevices().first(), {size, {}, 0, rate});
        o.frameRate = rate;
        if (audio)
            o.audio = backend.audioInput(backend.audioDevices().first(), {2, 16, 22050});
        QString error;
        session = CaptureSession::open(o, &listener, &error);
        EXPECT_TRUE(session) << error.toStdString();
        return session != nullptr;
    }
    bool start(const QString& path, Compression c, int rate, bool audio = false, int limit = 0) {
        ClipSettings s;
        s.path = path;
        s.frameRate = rate;
        s.compression = c;
        s.audio = audio;
        s.audioFormat = {2, 16, 22050};
        s.timeLimitSeconds = limit;
        QString error;
        const bool ok = session->startRecording(s, &error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }
};

void sleepMs(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

} // namespace

TEST(CaptureRecording, EveryCompressorKeepsEveryFrameInOrder) {
    QTemporaryDir dir;
    const struct {
        Compression compression;
        const char* name;
    } cases[] = {{Compression::None, "none.avi"},
                 {Compression::Mjpeg, "mjpeg.avi"},
                 {Compression::Ffv1, "ffv1.avi"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Camera cam;
        ASSERT_TRUE(cam.open({320, 240}, 30, true));
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(cam.start(path, c.compression, 30, true));
        sleepMs(1500);
        const RecordingEnd end = cam.session->stopRecording();
        EXPECT_EQ(end.kind, RecordingEnd::Stopped);
        EXPECT_EQ(end.counters.framesDropped, 0);
        // How many frames and samples 1.5 s give depends on how busy the
        // machine is: some of each.
        EXPECT_GT(end.counters.framesRecorded, 0);
        EXPECT_GT(end.counters.samples, 0);

        const ClipCodes clip = clipCodes(path);
        ASSERT_TRUE(clip.opened);
        EXPECT_EQ(clip.frameCount, end.counters.framesRecorded);
        ASSERT_EQ(static_cast<long long>(clip.codes.size()), end.counters.framesRecorded);
        EXPECT_NE(clip.codes.front(), -1);
        EXPECT_EQ(counterBreaks(clip.codes), 0);
    }
}

TEST(CaptureRecording, ClipsDeclareTheRateTheyWereRecordedAt) {
    QTemporaryDir dir;
    for (int rate : {25, 30, 50, 60}) {
        SCOPED_TRACE(rate);
        Camera cam;
        ASSERT_TRUE(cam.open({320, 240}, rate));
        const QString path = dir.filePath(QStringLiteral("rate%1.avi").arg(rate));
        // A time limit of 1 s: exactly one second of frames, however busy
        // the machine is.
        ASSERT_TRUE(cam.start(path, Compression::Mjpeg, rate, false, 1));
        ASSERT_TRUE(waitUntil([&] { return cam.listener.hasEnded(); }, 20000));
        const RecordingEnd end = cam.session->stopRecording();
        EXPECT_EQ(end.counters.framesRecorded, rate);
        const auto headers = readAviHeaders(path);
        ASSERT_TRUE(headers);
        EXPECT_EQ(frameRateOf(headers->info), rate);
        auto source = FrameSource::open(path);
        ASSERT_TRUE(source);
        EXPECT_DOUBLE_EQ(source->frameRate(), rate);
        EXPECT_EQ(source->frameCount(), rate);
    }
}

TEST(CaptureRecording, FramesTheCameraMissesLeaveGapsThatKeepTheTimeline) {
    QTemporaryDir dir;
    Camera cam;
    cam.backend.setDroppedFrames(10, 2); // frames 8 and 9 of every 10 never come
    ASSERT_TRUE(cam.open({320, 240}, 30));
    const QString path = dir.filePath(QStringLiteral("gaps.avi"));
    ASSERT_TRUE(cam.start(path, Compression::Mjpeg, 30));
    sleepMs(1500);
    const RecordingEnd end = cam.session->stopRecording();
    EXPECT_GE(end.counters.framesDropped, 6);

    const ClipCodes clip = clipCodes(path);
    ASSERT_TRUE(clip.opened);
    const long long frames = static_cast<long long>(clip.codes.size());
    // The file counts the missed frames: its frame numbers are capture times.
    EXPECT_GE(frames, end.counters.framesRecorded + end.counters.framesDropped - 2);
    int shownBefore = 0;
    for (long long n = 1; n < frames; ++n) {
        const int code = clip.codes[static_cast<std::size_t>(n)];
        const int first = clip.codes.front();
        if (code == first + n)
            continue;
        // A missed frame shows the one before it, never a later one.
        EXPECT_EQ(code, clip.codes[static_cast<std::size_t>(n - 1)]) << "frame " << n;
        EXPECT_GE((first + n) % 10, 8) << "frame " << n;
        ++shownBefore;
    }
    EXPECT_EQ(shownBefore, end.counters.framesDropped);
}

TEST(CaptureRecording, TimeLimitEndsTheRecordingOnItsOwn) {
    QTemporaryDir dir;
    Camera cam;
    ASSERT_TRUE(cam.open({320, 240}, 25));
    const QString path = dir.filePath(QStringLiteral("limit.avi"));
    ASSERT_TRUE(cam.start(path, Compression::Mjpeg, 25, false, 1));
    ASSERT_TRUE(waitUntil([&] { return cam.listener.hasEnded(); }, 10000));
    EXPECT_EQ(cam.listener.kind, RecordingEnd::TimeLimit);
    const RecordingEnd end = cam.session->stopRecording();
    EXPECT_EQ(end.counters.framesRecorded, 25);
    EXPECT_EQ(clipCodes(path).codes.size(), 25u);
}

TEST(CaptureRecording, CameraPulledOutKeepsTheClipSoFar) {
    QTemporaryDir dir;
    Camera cam;
    cam.backend.setStopAfter(1.0);
    ASSERT_TRUE(cam.open({320, 240}, 30));
    const QString path = dir.filePath(QStringLiteral("unplugged.avi"));
    ASSERT_TRUE(cam.start(path, Compression::Mjpeg, 30));
    ASSERT_TRUE(waitUntil([&] { return cam.listener.hasEnded(); }, 10000));
    EXPECT_EQ(cam.listener.kind, RecordingEnd::InputLost);
    EXPECT_TRUE(cam.listener.reason.contains(QStringLiteral("stopped delivering")));
    EXPECT_TRUE(waitUntil([&] { return cam.listener.inputGone.load(); }, 5000));
    const RecordingEnd end = cam.session->stopRecording();
    EXPECT_GT(end.counters.framesRecorded, 10);
    const ClipCodes clip = clipCodes(path);
    EXPECT_EQ(static_cast<long long>(clip.codes.size()), end.counters.framesRecorded);
    EXPECT_EQ(counterBreaks(clip.codes), 0);
}

TEST(CaptureRecording, AFolderThatCannotTakeTheClipIsToldWithItsPath) {
    QTemporaryDir dir;
    Camera cam;
    ASSERT_TRUE(cam.open({320, 240}, 30));
    const QString path = dir.filePath(QStringLiteral("gone/clip.avi"));
    ClipSettings s;
    s.path = path;
    QString error;
    EXPECT_FALSE(cam.session->startRecording(s, &error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_FALSE(cam.session->recording());
    // The camera goes on: a recording into a good folder works.
    ASSERT_TRUE(cam.start(dir.filePath(QStringLiteral("ok.avi")), Compression::Mjpeg, 30));
    sleepMs(300);
    EXPECT_GT(cam.session->stopRecording().counters.framesRecorded, 0);
}

TEST(CaptureRecording, LivePicturesKeepComingWhileRecording) {
    QTemporaryDir dir;
    Camera cam;
    ASSERT_TRUE(cam.open({320, 240}, 30));
    cam.session->setPreview(true);
    ASSERT_TRUE(cam.start(dir.filePath(QStringLiteral("p.avi")), Compression::Mjpeg, 30));
    int taken = 0;
    QImage last;
    waitUntil(
        [&] {
            if (cam.listener.pictures > taken) {
                last = cam.session->picture();
                ++taken;
            }
            return taken >= 10;
        },
        5000);
    cam.session->stopRecording();
    EXPECT_GE(taken, 10);
    EXPECT_EQ(last.size(), QSize(320, 240));
    EXPECT_TRUE(readFrameCode(last).has_value());
    QString error;
    const auto still = cam.session->grabStill(&error);
    ASSERT_TRUE(still) << error.toStdString();
    EXPECT_EQ(still->size(), QSize(320, 240));
}

TEST(CaptureRecording, FullDiskStopsTheRecordingAndKeepsAReadableClip) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.avi"));
    // Uncompressed 320x240 frames are 230 kB: the limit is reached in a second.
    const ToolRun run = runTool(
        {QStringLiteral("record"), QStringLiteral("--device"), QStringLiteral("test"),
         QStringLiteral("--seconds"), QStringLiteral("10"), QStringLiteral("--size"),
         QStringLiteral("320x240"), QStringLiteral("--compression"), QStringLiteral("none"), path},
        3'000'000);
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("the disk is full"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(path));
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("frames recorded: "))) << run.out.toStdString();
    EXPECT_LE(QFileInfo(path).size(), 3'000'000);
    const ClipCodes clip = clipCodes(path);
    ASSERT_TRUE(clip.opened);
    EXPECT_GE(clip.codes.size(), 8u);
    EXPECT_EQ(counterBreaks(clip.codes), 0);
    // The count told is what a player shows: a frame cut by the full disk
    // is not counted.
    const QString told = run.out.section(QLatin1Char('\n'), 0, 0).mid(17).trimmed();
    EXPECT_EQ(told.toLongLong(), static_cast<long long>(clip.codes.size()))
        << run.out.toStdString();
    EXPECT_EQ(wholeVideoFrames(path), static_cast<long long>(clip.codes.size()));
}

TEST(CaptureRecording, AKilledRecorderLeavesAClipOurPlayerReads) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("killed.avi"));
    const ToolRun run =
        runTool({QStringLiteral("record"), QStringLiteral("--device"), QStringLiteral("test"),
                 QStringLiteral("--seconds"), QStringLiteral("60"), QStringLiteral("--size"),
                 QStringLiteral("320x240"), path},
                0, path, 400'000);
    EXPECT_TRUE(run.killed);
    ClipCodes clip = clipCodes(path);
    ASSERT_TRUE(clip.opened);
    ASSERT_GE(clip.codes.size(), 10u);
    EXPECT_NE(clip.codes.front(), -1);
    // The last chunk may be cut in the middle of its picture.
    clip.codes.pop_back();
    EXPECT_EQ(counterBreaks(clip.codes), 0);
}

TEST(CaptureRecording, MjpegFromTheCameraIsCopiedAsItComes) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("camera.avi"));
    {
        Camera cam;
        ASSERT_TRUE(cam.open({320, 240}, 30));
        ASSERT_TRUE(cam.start(source, Compression::Mjpeg, 30));
        sleepMs(700);
        cam.session->stopRecording();
    }
    const ClipCodes before = clipCodes(source);
    ASSERT_GE(before.codes.size(), 15u);
    // A camera that delivers MJPEG: the clip read as an input.
    Recorder listener;
    CaptureSession::Options o;
    o.video = {"avi", source.toUtf8(), {}, {}};
    QString error;
    auto session = CaptureSession::open(o, &listener, &error);
    ASSERT_TRUE(session) << error.toStdString();
    EXPECT_TRUE(session->deliversMjpeg());
    const QString copy = dir.filePath(QStringLiteral("copy.avi"));
    ClipSettings s;
    s.path = copy;
    s.compression = Compression::Mjpeg;
    ASSERT_TRUE(session->startRecording(s, &error)) << error.toStdString();
    ASSERT_TRUE(waitUntil([&] { return listener.hasEnded(); }, 10000));
    const RecordingEnd end = session->stopRecording();
    // The file delivers from the moment it is opened, so on a busy machine
    // the first frames may pass before the recording starts; every frame
    // from then on is in the copy, in order, none dropped.
    const ClipCodes after = clipCodes(copy);
    ASSERT_GE(after.codes.size(), before.codes.size() - 3);
    EXPECT_EQ(end.counters.framesRecorded, static_cast<long long>(after.codes.size()));
    EXPECT_EQ(end.counters.framesDropped, 0);
    EXPECT_TRUE(std::equal(after.codes.rbegin(), after.codes.rend(), before.codes.rbegin()));
    // The pictures are not compressed again: the file is as large, frame
    // for frame.
    const double expected = static_cast<double>(QFileInfo(source).size()) *
                            static_cast<double>(after.codes.size()) /
                            static_cast<double>(before.codes.size());
    EXPECT_NEAR(static_cast<double>(QFileInfo(copy).size()), expected, expected * 0.05);
}

TEST(TestCamera, GraphHoldsOnlyWholeNumbers) {
    // FFmpeg reads a decimal in a graph with the C library, so under a
    // comma locale "0.6" or "1.5" would not open at all.
    TestPattern p;
    p.stopAfter = 1.5;
    p.dropPeriod = 10;
    p.dropCount = 2;
    const QByteArray graph = testPatternGraph(p);
    EXPECT_FALSE(graph.contains('.')) << graph.constData();
    EXPECT_TRUE(graph.contains("duration=1500ms"));
    EXPECT_FALSE(testToneGraph({2, 16, 22050}).contains('.'));
}

TEST(TestCamera, FrameCodeReadsBackAndRefusesOtherPictures) {
    QImage plain(320, 240, QImage::Format_RGB888);
    plain.fill(Qt::gray);
    EXPECT_FALSE(readFrameCode(plain).has_value());
    EXPECT_FALSE(readFrameCode(QImage()).has_value());
    Camera cam;
    ASSERT_TRUE(cam.open({640, 480}, 30));
    QString error;
    const auto still = cam.session->grabStill(&error);
    ASSERT_TRUE(still) << error.toStdString();
    EXPECT_EQ(still->size(), QSize(640, 480));
    EXPECT_TRUE(readFrameCode(*still).has_value());
}
