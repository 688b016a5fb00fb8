// Clips cut short (a full disk, a copy stopped halfway, a recorder killed):
// the frames offered are those that decode whole, found by one scan; a
// damaged frame never shows a splice of two pictures.

#include "ClipWriter.h"
#include "support/CaptureFixtures.h"
#include "support/TestEnv.h"
#include "video/ClipScan.h"
#include "video/FrameExtract.h"
#include "video/FrameSource.h"
#include "video/ui/MediaPlayer.h"

#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {

// The clip cut in the middle of frame `at`'s chunk: frames 0..at-1 whole.
QString cutClip(TestEnv& env, int at, QString* full = nullptr) {
    ClipParams p;
    p.frames = 40;
    p.fps = 30;
    p.width = 320;
    p.height = 240;
    const QString path = env.path(QStringLiteral("Cutjump1.avi"));
    const QString whole = env.path(QStringLiteral("Wholejump1.avi"));
    EXPECT_TRUE(writeClip(whole, p));
    const QByteArray bytes = readAll(whole);
    qsizetype chunk = bytes.indexOf("movi");
    for (int n = 0; n <= at; ++n)
        chunk = bytes.indexOf("00dc", chunk + 4);
    const qsizetype size = qFromLittleEndian<quint32>(bytes.constData() + chunk + 4);
    writeAll(path, bytes.left(chunk + 8 + size / 2));
    if (full)
        *full = whole;
    return path;
}

} // namespace

TEST(CutClip, OneScanFindsTheWholeFramesAndTheDamagedOneIsNoSplice) {
    TestEnv env;
    QString whole;
    const QString path = cutClip(env, 25, &whole);
    const auto scan = scanClip(ClipInput::file(path));
    ASSERT_TRUE(scan);
    EXPECT_EQ(scan->frames, 25);
    EXPECT_TRUE(scan->damaged.empty());
    EXPECT_EQ(scanClip(ClipInput::file(whole))->frames, 40);
    EXPECT_FALSE(scanClip(ClipInput::file(env.path(QStringLiteral("none.avi")))));

    // Unscanned, the file claims 40 frames; the cut one shows the whole
    // frame before it, exactly, and says it is damaged.
    FrameError error = FrameError::None;
    auto source = FrameSource::open(path, &error);
    ASSERT_TRUE(source) << int(error);
    EXPECT_TRUE(source->lengthUncertain());
    const QImage cut = source->image(25, &error);
    ASSERT_EQ(error, FrameError::None);
    EXPECT_EQ(frameNumberOf(cut), 24);
    EXPECT_EQ(cut.convertToFormat(QImage::Format_RGB888),
              referencePictures(whole)[24].convertToFormat(QImage::Format_RGB888));
    EXPECT_TRUE(source->isDamaged(25));
    EXPECT_FALSE(source->isDamaged(24));
    const QString bmp = env.path(QStringLiteral("frame.bmp"));
    EXPECT_FALSE(writeFrameBitmap(env.dialogs(), *source, path, 25, bmp));
    EXPECT_FALSE(QFileInfo::exists(bmp));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(QStringLiteral("damaged")));
    // Scanned, nothing past the last whole frame is offered.
    source->applyScan(*scan);
    EXPECT_EQ(source->frameCount(), 25);
    source->image(30, &error);
    EXPECT_EQ(error, FrameError::OutOfRange);
    EXPECT_EQ(frameNumberOf(source->image(24, &error)), 24);
}

TEST(CutClip, ThePlayerLearnsTheLengthFromTheScan) {
    TestEnv env;
    const QString path = cutClip(env, 12);
    MediaPlayer player;
    ASSERT_EQ(player.setFile(path), FrameError::None);
    player.setPosition(9); // asked for at once: the frame once the length is known
    auto* caption = player.findChild<QLabel*>(QStringLiteral("positionCaption"));
    ASSERT_TRUE(waitUntil([&] { return player.frameCount() == 12; }, 20000));
    EXPECT_EQ(player.position(), 9);
    player.setPosition(30);
    EXPECT_EQ(player.position(), 11);
    ASSERT_TRUE(waitUntil([&] { return player.shownPosition() == 11; }, 20000));
    EXPECT_EQ(frameNumberOf(player.picture()), 11);
    EXPECT_FALSE(player.shownDamaged());
    EXPECT_EQ(caption->text(), QStringLiteral("Frame 11     Length: 12 frames (0 to 11)"));
    player.setFile(QString()); // a scan under way or done: nothing is left holding the file
}

TEST(CutClip, FramesPastTheCutAreNotExtracted) {
    TestEnv env;
    const QString path = cutClip(env, 25);
    const QString bmp = env.path(QStringLiteral("frame.bmp"));
    EXPECT_FALSE(extractFrameTo(env.dialogs(), path, 30, bmp));
    EXPECT_FALSE(QFileInfo::exists(bmp));
    ASSERT_TRUE(extractFrameTo(env.dialogs(), path, 24, bmp));
    EXPECT_EQ(frameNumberOf(QImage(bmp)), 24);
}
