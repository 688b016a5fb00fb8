// The frame-exact player: pictures decoded off the screen's thread, newest
// request first, never out of order, playback frame by frame, keys, full
// screen, the clip let go, and the frame on display written as a bitmap.

#include "video/ui/MediaPlayer.h"

#include "Fixtures.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {

// Runs events until done() or 10 s have passed.
bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qSleep(1);
    }
    return done();
}

// Every picture painted, with the number the player showed under it.
struct Painted {
    std::vector<int64_t> numbers;
    std::vector<int> carried; // the frame number drawn into the picture
    explicit Painted(MediaPlayer& p) {
        QObject::connect(&p, &MediaPlayer::framePainted, [this, &p](int64_t n) {
            numbers.push_back(n);
            carried.push_back(frameNumberOf(p.picture()));
        });
    }
};

struct Player : ::testing::Test {
    QWidget screen; // the player sits in a screen, as on frmSetStart
    MediaPlayer player;
    void SetUp() override {
        player.setParent(&screen);
        screen.resize(420, 360);
        player.resize(400, 340);
        screen.show();
    }
    void load(const QString& clip) {
        ASSERT_EQ(player.setFile(clip), FrameError::None);
        ASSERT_TRUE(waitFor([&] { return player.shownPosition() == 0; }));
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(Player, NewestRequestWinsAndPicturesNeverComeOutOfOrder) {
    load(h264Clip());
    Painted painted(player);
    for (int64_t n = 0; n < 60; ++n)
        player.setPosition(n); // a burst, as a flood of key repeats gives
    ASSERT_TRUE(waitFor([&] { return !painted.numbers.empty() && painted.numbers.back() == 59; }));
    EXPECT_LT(painted.numbers.size(), 10u);
    EXPECT_TRUE(std::is_sorted(painted.numbers.begin(), painted.numbers.end()));
    for (size_t i = 0; i < painted.numbers.size(); ++i)
        EXPECT_EQ(painted.carried[i], painted.numbers[i]);

    // Back and forth with the screen running between the steps.
    painted.numbers.clear();
    painted.carried.clear();
    for (const int64_t n : {58, 57, 30, 31, 12, 11, 10, 59, 0, 1}) {
        player.setPosition(n);
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(waitFor([&] { return player.shownPosition() == 1 && !painted.numbers.empty(); }));
    ASSERT_TRUE(waitFor([&] { return painted.numbers.back() == 1; }));
    for (size_t i = 0; i < painted.numbers.size(); ++i)
        EXPECT_EQ(painted.carried[i], painted.numbers[i]);
}

TEST_F(Player, PositionStaysWithinTheClip) {
    load(mjpegClip());
    player.setPosition(-5);
    EXPECT_EQ(player.position(), 0);
    player.setPosition(1000);
    EXPECT_EQ(player.position(), player.frameCount() - 1);
    player.settle();
    EXPECT_EQ(player.shownPosition(), player.frameCount() - 1);
    EXPECT_EQ(frameNumberOf(player.picture()), player.frameCount() - 1);
}

TEST_F(Player, PlayShowsEveryFrameOfTheSelectionInOrder) {
    load(mjpegClip());
    Painted painted(player);
    player.setSelectionStart(10);
    player.setSelectionEnd(20);
    player.play();
    EXPECT_TRUE(player.isPlaying());
    ASSERT_TRUE(waitFor([&] { return !player.isPlaying(); }));
    QCoreApplication::processEvents();
    std::vector<int64_t> want;
    for (int64_t n = 10; n <= 20; ++n)
        want.push_back(n);
    EXPECT_EQ(painted.numbers, want);
    EXPECT_EQ(std::vector<int>(painted.carried.begin(), painted.carried.end()),
              std::vector<int>(want.begin(), want.end()));
    EXPECT_EQ(player.position(), 20);
}

TEST_F(Player, ReleasingTheFileLetsItGo) {
    TestEnv env;
    const QString copy = env.path(QStringLiteral("copy.avi"));
    ASSERT_TRUE(QFile::copy(h264Clip(), copy));
    load(copy);
    for (int64_t n = 59; n > 40; --n) // backwards: the decoder's worker runs too
        player.setPosition(n);
    player.settle();
    EXPECT_EQ(player.setFile(QString()), FrameError::None);
    EXPECT_FALSE(player.hasClip());
    EXPECT_TRUE(player.file().isEmpty());
    EXPECT_TRUE(player.picture().isNull());
    player.setPosition(5); // nothing to show, nothing happens
    EXPECT_EQ(player.position(), 0);
    EXPECT_TRUE(QFile::remove(copy));

    EXPECT_EQ(player.setFile(env.path(QStringLiteral("missing.avi"))), FrameError::CannotOpen);
    EXPECT_FALSE(player.hasClip());
}

TEST_F(Player, OddWidthsShowEveryPixel) {
    for (const int width : {322, 161, 7}) {
        ClipParams p;
        p.encoder = QStringLiteral("rawvideo");
        p.pixelFormat = QStringLiteral("bgr24");
        p.width = width;
        p.height = 242;
        p.frames = 3;
        const QString clip = tryClip(QStringLiteral("player-raw-%1.avi").arg(width), p);
        ASSERT_FALSE(clip.isEmpty());
        load(clip);
        const std::vector<QImage> reference = referencePictures(clip);
        ASSERT_EQ(reference.size(), 3u);
        player.setPosition(2);
        player.settle();
        EXPECT_EQ(player.picture().convertToFormat(QImage::Format_RGB888),
                  reference[2].convertToFormat(QImage::Format_RGB888))
            << width;
    }
}

TEST_F(Player, KeysAreReportedByTheirCodesAndEscLeavesFullScreen) {
    load(mjpegClip());
    QSignalSpy keys(&player, &MediaPlayer::keyDown);
    QTest::keyClick(&player, Qt::Key_4, Qt::KeypadModifier);
    QTest::keyClick(&player, Qt::Key_6, Qt::KeypadModifier);
    QTest::keyClick(&player, Qt::Key_Left);
    QTest::keyClick(&player, Qt::Key_Right);
    ASSERT_EQ(keys.size(), 4);
    EXPECT_EQ(keys[0][0].toInt(), 100);
    EXPECT_EQ(keys[1][0].toInt(), 102);
    EXPECT_EQ(keys[2][0].toInt(), 37);
    EXPECT_EQ(keys[3][0].toInt(), 39);

    player.setDisplaySize(3);
    EXPECT_TRUE(player.isWindow());
    EXPECT_TRUE(player.windowState().testFlag(Qt::WindowFullScreen));
    QSignalSpy clicked(&player, &MediaPlayer::fullScreenClicked);
    QTest::mouseClick(&player, Qt::LeftButton);
    EXPECT_EQ(clicked.size(), 1);
    QTest::keyClick(&player, Qt::Key_Escape);
    EXPECT_EQ(player.displaySize(), 0);
    EXPECT_FALSE(player.isWindow());
}

TEST_F(Player, WritesTheFrameOnDisplayAndTellsAFailedWrite) {
    TestEnv env;
    load(mjpegClip());
    player.setPosition(7);
    player.settle();
    const QString bmp = env.path(QStringLiteral("frame.bmp"));
    EXPECT_TRUE(player.writeFrame(env.dialogs(), 7, bmp));
    EXPECT_EQ(frameNumberOf(QImage(bmp)), 7);
    EXPECT_EQ(QImage(bmp).convertToFormat(QImage::Format_RGB888),
              referencePictures(mjpegClip())[7].convertToFormat(QImage::Format_RGB888));
    EXPECT_EQ(player.shownPosition(), 7); // the display is not disturbed

    const QString nowhere = env.path(QStringLiteral("missing/frame.bmp"));
    EXPECT_FALSE(player.writeFrame(env.dialogs(), 7, nowhere));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(nowhere));
}

TEST_F(Player, CaptionNamesTheFrameOnDisplayAndTheClipsLength) {
    load(mjpegClip());
    player.setPosition(12);
    player.settle();
    const auto* caption = player.findChild<QLabel*>(QStringLiteral("positionCaption"));
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->text(), QStringLiteral("Frame 12     Length: 30 frames (0 to 29)"));
    player.setFile(QString());
    EXPECT_EQ(caption->text(), QStringLiteral("No clip"));
}
