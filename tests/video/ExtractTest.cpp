#include "Fixtures.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"
#include "video/FrameExtract.h"
#include "video/VideoDialogs.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {

// A copy of a clip whose video codec no decoder here knows.
QString unknownCodecClip() {
    QByteArray bytes = readAll(mjpegClip());
    bytes.replace("MJPG", "ZQZQ");
    return writeBytes("unknown-codec.avi", bytes);
}

struct ToolRun {
    QString out, err;
    int exitCode = -1;
};

ToolRun runTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZENTRAK_TOOL_PATH), args);
    p.waitForFinished(60000);
    return {QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError()), p.exitCode()};
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
    ToolRun out = runTool({QStringLiteral("avi-info"), path});
    EXPECT_EQ(out.exitCode, 0);
    const QStringList lines = out.out.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 19);
    EXPECT_EQ(lines[0], QStringLiteral("Filename: ") + path);
    EXPECT_EQ(lines[4], QStringLiteral("Length: 30 frames"));
    EXPECT_EQ(lines[5], QStringLiteral("Rate: 25fps"));
    EXPECT_EQ(lines[18], QStringLiteral("Interleaved: True"));

    const QString text = writeBytes("tool-text.avi", "hello");
    out = runTool({QStringLiteral("avi-info"), text});
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_TRUE(out.out.isEmpty());
    EXPECT_TRUE(out.err.contains(QStringLiteral("Unable to open file:")));

    TestEnv env;
    const QString bmp = env.path("out.bmp");
    out = runTool({QStringLiteral("extract-frame"), h264Clip(), QStringLiteral("33"), bmp});
    EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
    EXPECT_EQ(frameNumberOf(QImage(bmp)), 33);
    out = runTool({QStringLiteral("extract-frame"), text, QStringLiteral("0"), bmp});
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_TRUE(out.err.contains(QStringLiteral("There was an error working with the file:")));
    EXPECT_EQ(runTool({QStringLiteral("extract-frame"), path, QStringLiteral("x"), bmp}).exitCode,
              2);
}
