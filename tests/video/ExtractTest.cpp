#include "Fixtures.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"
#include "support/ToolProcess.h"
#include "video/FrameExtract.h"
#include "video/FrameSource.h"
#include "video/VideoDialogs.h"

#include <QDir>
#include <QtEndian>
#include <array>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zt;
using namespace zt::test;

namespace {

// A copy of a clip whose video codec no decoder here knows.
QString unknownCodecClip() {
    QByteArray bytes = readAll(mjpegClip());
    bytes.replace("MJPG", "ZQZQ");
    return writeBytes("unknown-codec.avi", bytes);
}

// The MJPEG clip with its frame rectangle and bitmap size replaced (a
// bitmap size of 0 is left as it was).
QString resizedHeaders(const QString& name, std::array<int16_t, 4> rect, int32_t width,
                       int32_t height) {
    QByteArray b = readAll(mjpegClip());
    const qsizetype strh = b.indexOf("strh") + 8, strf = b.indexOf("strf") + 8;
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<int16_t>(rect[size_t(i)], b.data() + strh + 48 + 2 * i);
    if (width)
        qToLittleEndian<int32_t>(width, b.data() + strf + 4);
    if (height)
        qToLittleEndian<int32_t>(height, b.data() + strf + 8);
    return writeBytes(name, b);
}

// Headers claiming pictures of gigabytes.
QStringList hostileHeaderClips() {
    return {resizedHeaders("rect-max.avi", {0, 0, 32767, 32767}, 0, 0),
            resizedHeaders("rect-span.avi", {-32768, -32768, 32767, 32767}, 0, 0),
            resizedHeaders("strf-100k.avi", {0, 0, 0, 0}, 100000, 100000),
            resizedHeaders("strf-70k.avi", {0, 0, 0, 0}, 70000, 70000),
            resizedHeaders("strf-16k.avi", {0, 0, 0, 0}, 16000, 16000)};
}

// A clip whose first chunk is cut short: a known codec, no picture.
QString cutInFirstFrame() {
    QByteArray bytes = readAll(mjpegClip());
    const qsizetype movi = bytes.indexOf("movi");
    const qsizetype first = bytes.indexOf("00dc", movi);
    bytes.truncate(first + 8 + 200);
    return writeBytes("cut-first-frame.avi", bytes);
}

} // namespace

TEST(FrameExtract, WritesTheFrameAsCurrentCapture) {
    TestEnv env;
    QDir().mkpath(env.appDir());
    ClipParams params;
    params.width = 320, params.height = 240, params.frames = 12;
    const QString clip320 = clip(QStringLiteral("clip320.avi"), params);
    ASSERT_TRUE(extractFrame(env.dialogs(), env.appDir(), clip320, 7));
    const QString bmp = env.appDir() + QStringLiteral("/currentcapture.bmp");
    EXPECT_EQ(readAll(bmp).size(), 230454);
    EXPECT_EQ(frameNumberOf(QImage(bmp)), 7);
    // Long-GOP clip with B-frames, any frame.
    ASSERT_TRUE(extractFrame(env.dialogs(), env.appDir(), h264Clip(), 41));
    EXPECT_EQ(frameNumberOf(QImage(bmp)), 41);
    EXPECT_TRUE(env.dialogs().recorded().isEmpty());

    // No frame coming back writes nothing and says nothing.
    QFile::remove(bmp);
    EXPECT_FALSE(extractFrame(env.dialogs(), env.appDir(), clip320, 12));
    EXPECT_FALSE(QFile::exists(bmp));
    EXPECT_TRUE(env.dialogs().recorded().isEmpty());
}

TEST(FrameExtract, ProblemsAreTold) {
    TestEnv env;
    QDir().mkpath(env.appDir());
    ScriptedDialogs& d = env.dialogs();
    const QString text = writeBytes("notes.avi", "not a clip at all");
    EXPECT_FALSE(extractFrame(d, env.appDir(), text, 0));
    const QString unknown = unknownCodecClip();
    EXPECT_FALSE(extractFrame(d, env.appDir(), unknown, 0));
    EXPECT_FALSE(extractFrame(d, QStringLiteral("/no/such/folder"), mjpegClip(), 3));
    ASSERT_EQ(d.messages().size(), 3);
    EXPECT_EQ(d.messages()[0].prompt,
              QStringLiteral("There was an error working with the file:\r\n") + text);
    EXPECT_EQ(d.messages()[0].icon, MsgIcon::Information);
    EXPECT_EQ(d.messages()[1].prompt,
              QStringLiteral("No suitable decompressor found for this video stream!"));
    EXPECT_EQ(d.messages()[1].icon, MsgIcon::Information);
    EXPECT_TRUE(d.messages()[2].prompt.contains(QStringLiteral("currentcapture.bmp")));
    EXPECT_FALSE(QFile::exists(env.appDir() + QStringLiteral("/currentcapture.bmp")));
}

TEST(FrameExtract, HeadersClaimingHugePicturesAreRefused) {
    TestEnv env;
    QDir().mkpath(env.appDir());
    ScriptedDialogs& d = env.dialogs();
    const QString bmp = env.appDir() + QStringLiteral("/currentcapture.bmp");
    for (const QString& path : hostileHeaderClips()) {
        d.clear();
        EXPECT_FALSE(extractFrame(d, env.appDir(), path, 3));
        ASSERT_EQ(d.messages().size(), 1) << path.toStdString();
        EXPECT_EQ(d.messages()[0].prompt,
                  QStringLiteral("There was an error working with the file:\r\n") + path);
        EXPECT_FALSE(QFile::exists(bmp));
    }
    // A rectangle within bounds that disagrees with the picture is not
    // used: the frame is written at the size the decoder delivers.
    d.clear();
    const QString wrongRect = resizedHeaders("rect-wrong.avi", {0, 0, 320, 200}, 0, 0);
    ASSERT_TRUE(extractFrame(d, env.appDir(), wrongRect, 4));
    EXPECT_TRUE(d.recorded().isEmpty());
    EXPECT_EQ(readAll(bmp).size(), 54 + 480 * 120);
    EXPECT_EQ(frameNumberOf(QImage(bmp)), 4);
}

TEST(FrameExtract, ClipsWithoutAPictureSaySo) {
    TestEnv env;
    QDir().mkpath(env.appDir());
    ScriptedDialogs& d = env.dialogs();
    ClipParams none;
    none.frames = 0;
    const QString empty = clip(QStringLiteral("no-frames.avi"), none);
    const QString cut = cutInFirstFrame();
    for (const QString& path : {empty, cut}) {
        d.clear();
        EXPECT_FALSE(extractFrame(d, env.appDir(), path, 0));
        ASSERT_EQ(d.messages().size(), 1) << path.toStdString();
        EXPECT_EQ(d.messages()[0].prompt,
                  QStringLiteral("This clip has no picture to show:\r\n") + path);
        EXPECT_EQ(d.messages()[0].icon, MsgIcon::Information);
    }
    // A frame before the clip's first picture has none to show either.
    ClipParams late;
    late.dropped = {0, 1, 2};
    const QString lateClip = clip(QStringLiteral("late-start.avi"), late);
    d.clear();
    EXPECT_FALSE(extractFrame(d, env.appDir(), lateClip, 1));
    ASSERT_EQ(d.messages().size(), 1);
    EXPECT_EQ(d.messages()[0].prompt,
              QStringLiteral("Frame 1 comes before the first picture of the clip:\r\n") + lateClip);
    EXPECT_FALSE(QFile::exists(env.appDir() + QStringLiteral("/currentcapture.bmp")));
    EXPECT_TRUE(extractFrame(d, env.appDir(), lateClip, 3));
}

// The frame on display is written from the open clip, byte for byte what
// extraction by number writes.
TEST(FrameExtract, FrameOnDisplayWrittenWithoutDecodingAgain) {
    TestEnv env;
    QDir().mkpath(env.appDir());
    const QString path = h264Clip();
    auto source = FrameSource::open(path);
    ASSERT_TRUE(source);
    ASSERT_EQ(frameNumberOf(source->image(37)), 37);
    const QString shown = env.path("shown.bmp");
    ASSERT_TRUE(writeFrameBitmap(env.dialogs(), *source, path, 37, shown));
    ASSERT_TRUE(extractFrame(env.dialogs(), env.appDir(), path, 37));
    EXPECT_EQ(readAll(shown), readAll(env.appDir() + QStringLiteral("/currentcapture.bmp")));
    EXPECT_FALSE(writeFrameBitmap(env.dialogs(), *source, path, 37, env.path("no/such/x.bmp")));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.startsWith(
        QStringLiteral("Unable to write the frame to:")));
}

TEST(VideoDialogs, FiltersFoldersAndCancel) {
    ScriptedDialogs d;
    const QString given = QStringLiteral("C:\\clips\\jump 3.avi");
    d.answerCancel();
    EXPECT_EQ(showOpenDialog(d, given, 1), given);
    ASSERT_EQ(d.recorded().size(), 1);
    EXPECT_EQ(d.recorded()[0].kind, Recorded::OpenFile);
    EXPECT_EQ(d.recorded()[0].file.startDir, QStringLiteral("C:\\clips"));
    EXPECT_TRUE(d.recorded()[0].file.fileName.isEmpty());
    EXPECT_EQ(d.recorded()[0].file.filter, QStringLiteral("AVI File|*.avi|"));

    d.answerText(QStringLiteral("/video/pictures/shot"));
    EXPECT_EQ(showSaveDialog(d, QStringLiteral("/video/x.jpg"), 0),
              QStringLiteral("/video/pictures/shot.jpg"));
    EXPECT_EQ(d.recorded()[1].kind, Recorded::SaveFile);
    EXPECT_EQ(d.recorded()[1].file.startDir, QStringLiteral("/video"));
    const auto entries = parseFilter(d.recorded()[1].file.filter);
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0].label, QStringLiteral("All Supported Types"));
    EXPECT_EQ(entries[0].pattern, QStringLiteral("*.bmp;*.jpg;*.pic"));
    EXPECT_EQ(entries[3].label, QStringLiteral("ePIC Files"));

    d.answerText(QStringLiteral("/p/camera.cpf"));
    EXPECT_EQ(showOpenDialog(d, QStringLiteral("plain"), 2), QStringLiteral("/p/camera.cpf"));
    EXPECT_TRUE(d.recorded()[2].file.startDir.isEmpty());
    EXPECT_EQ(d.recorded()[2].file.filter, QStringLiteral("CapturePro 3.0 profile (.cpf)|*.cpf|"));
    d.answerCancel();
    EXPECT_EQ(showSaveDialog(d, QString(), 2), QString());
}

TEST(Tool, AviInfoAndExtractFrame) {
    const QString path = mjpegClip();
    test::ToolProcess out = test::runToolProcess({QStringLiteral("avi-info"), path});
    EXPECT_EQ(out.exitCode, 0);
    const QStringList lines = out.out.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 19);
    EXPECT_EQ(lines[0], QStringLiteral("Filename: ") + path);
    EXPECT_EQ(lines[4], QStringLiteral("Length: 30 frames"));
    EXPECT_EQ(lines[5], QStringLiteral("Rate: 25fps"));
    EXPECT_EQ(lines[18], QStringLiteral("Interleaved: True"));

    const QString text = writeBytes("tool-text.avi", "hello");
    out = test::runToolProcess({QStringLiteral("avi-info"), text});
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_TRUE(out.out.isEmpty());
    EXPECT_TRUE(out.err.contains(QStringLiteral("Unable to open file:")));

    TestEnv env;
    const QString bmp = env.path("out.bmp");
    out = test::runToolProcess(
        {QStringLiteral("extract-frame"), h264Clip(), QStringLiteral("33"), bmp});
    EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
    EXPECT_EQ(frameNumberOf(QImage(bmp)), 33);
    out = test::runToolProcess({QStringLiteral("extract-frame"), text, QStringLiteral("0"), bmp});
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_TRUE(out.err.contains(QStringLiteral("There was an error working with the file:")));
    EXPECT_EQ(
        test::runToolProcess({QStringLiteral("extract-frame"), path, QStringLiteral("x"), bmp})
            .exitCode,
        2);
}

// Hostile and pictureless files end the tool with 1 and a message, never a
// crash; a named pipe is refused instead of waited on.
TEST(Tool, ExtractFrameOnFilesItCannotUse) {
    TestEnv env;
    const QString bmp = env.path("out.bmp");
    QStringList clips = hostileHeaderClips();
    clips << cutInFirstFrame();
    const QString fifo = env.path("pipe.avi");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    clips << fifo;
    for (const QString& path : clips) {
        const test::ToolProcess out =
            test::runToolProcess({QStringLiteral("extract-frame"), path, QStringLiteral("3"), bmp});
        EXPECT_EQ(out.exitCode, 1) << path.toStdString() << out.err.toStdString();
        EXPECT_TRUE(out.err.contains(path)) << out.err.toStdString();
        EXPECT_FALSE(QFile::exists(bmp));
    }
    const test::ToolProcess info = test::runToolProcess({QStringLiteral("avi-info"), fifo});
    EXPECT_EQ(info.exitCode, 1);
    EXPECT_TRUE(info.err.contains(QStringLiteral("Unable to open file:")));
}
