// The rules of the frame selection screen: clip names, the frame record and
// side file, free space, the looped playback, fixing the skier's name and
// what the video-keeping policy does with a clip.

#include "video/FrameSelection.h"

#include "app/ClipCaption.h"
#include "capture/CaptureScreenView.h"
#include "support/TestEnv.h"
#include "video/FrameNumber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {

const QDateTime at(QDate(2026, 12, 8), QTime(13, 5, 9));

class FakeCapture : public CaptureScreenView {
public:
    QString name = QStringLiteral("SMITH1");
    QString jump = QStringLiteral("3");
    QString skierName() const override { return name; }
    void setSkierName(const QString& n) override { name = n; }
    QString jumpNumberText() const override { return jump; }
    void setJumpNumberText(const QString& t) override { jump = t; }
    QString recordedClipPath() const override { return {}; }
    bool skierNameNoticeShown() const override { return true; }
    void hideSkierNameNotice() override {}
};

} // namespace

TEST(FrameSelectionRules, ClipNamePartsFollowTheCaptureNaming) {
    const auto parts = clipNameParts(QStringLiteral("C:\\video\\SKIERjump1.avi"));
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->skier, QStringLiteral("SKIER"));
    EXPECT_EQ(parts->jump, QStringLiteral("1"));
    const auto unix = clipNameParts(QStringLiteral("/v/jump.x/Ann Lee jump123.avi"));
    ASSERT_TRUE(unix);
    EXPECT_EQ(unix->skier, QStringLiteral("Ann Lee "));
    EXPECT_EQ(unix->jump, QStringLiteral("123"));
    EXPECT_TRUE(clipNameParts(QStringLiteral("Bjump1.avi"))); // "jump" near the path's start
    // A phone's clip named the same way, its extension in any case.
    const auto phone = clipNameParts(QStringLiteral("/v/ZOEjump12.MOV"));
    ASSERT_TRUE(phone);
    EXPECT_EQ(phone->skier, QStringLiteral("ZOE"));
    EXPECT_EQ(phone->jump, QStringLiteral("12"));
    EXPECT_EQ(clipNameParts(QStringLiteral("/v/ZOEjump3.mkv"))->jump, QStringLiteral("3"));
    EXPECT_FALSE(clipNameParts(QStringLiteral("/v/IMG_0001.mp4")));
    EXPECT_FALSE(clipNameParts(QStringLiteral("/v/ZOEjump1234.mp4")));

    // Four characters after "jump", another case, or no ".avi": not standard.
    for (const char* path : {"/v/SKIERjump1234.avi", "/v/SKIERJump1.avi", "/v/SKIERjump1.AVI",
                             "/v/SKIERjump1", "/v/clip.avi", ""})
        EXPECT_FALSE(clipNameParts(QString::fromLatin1(path))) << path;
}

TEST(FrameSelectionRules, FrameRecordLineIsByteExact) {
    const auto line = frameRecordLine(at, QStringLiteral("C:\\v\\SKIERjump1.avi"), 80);
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, QStringLiteral("12-08-2026    13:05:09      Skier: SKIER  Jump: 1       "
                                    "Contact Frame: 80           File: C:\\v\\SKIERjump1.avi\r\n"));
    EXPECT_FALSE(frameRecordLine(at, QStringLiteral("/v/SKIERjump1234.avi"), 80));
}

TEST(FrameSelectionRules, RecordingTwiceAppendsTwoLinesAndReplacesTheSideFile) {
    TestEnv env;
    const QString log = env.path(QStringLiteral("log.txt"));
    const QString clip = env.path(QStringLiteral("Ann,Bjump2.avi"));
    EXPECT_TRUE(recordFrame(env.dialogs(), log, at, clip, 12));
    EXPECT_TRUE(recordFrame(env.dialogs(), log, at.addSecs(60), clip, 14));
    EXPECT_EQ(readAll(infoPathOf(clip)), (clip + QStringLiteral(",14\r\n")).toLatin1());
    EXPECT_EQ(measuredFrameText(clip), QStringLiteral("14")); // the path's comma is no field end
    EXPECT_EQ(
        readAll(log),
        (*frameRecordLine(at, clip, 12) + *frameRecordLine(at.addSecs(60), clip, 14)).toLatin1());
    EXPECT_TRUE(env.dialogs().messages().isEmpty());
    EXPECT_FALSE(measuredFrameText(env.path(QStringLiteral("other.avi"))));
}

TEST(FrameSelectionRules, NonStandardClipGetsTheWarningAndNoRecord) {
    TestEnv env;
    const QString log = env.path(QStringLiteral("log.txt"));
    const QString clip = env.path(QStringLiteral("SKIERjump1234.avi"));
    EXPECT_FALSE(recordFrame(env.dialogs(), log, at, clip, 12));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("Warning, this is not a  standard QVX file so it will not be saved "
                             "in the Log for future reference"));
    EXPECT_EQ(env.dialogs().messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(QFileInfo::exists(log));
    EXPECT_FALSE(QFileInfo::exists(infoPathOf(clip)));
}

TEST(FrameSelectionRules, UnwritableVideoLogIsToldWithItsPath) {
    TestEnv env;
    const QString log = env.path(QStringLiteral("missing/log.txt"));
    EXPECT_TRUE(recordFrame(env.dialogs(), log, at, env.path(QStringLiteral("Ajump1.avi")), 3));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(log));
    EXPECT_FALSE(readAll(env.path(QStringLiteral("Ajump1.avi.info"))).isEmpty());
}

TEST(FrameSelectionRules, FreeSpaceBelow200MBWarns) {
    const auto bytes = [](long long b) {
        return [b](const QString&) { return std::optional<long long>(b); };
    };
    const DiskSpace low = diskSpaceOf(QStringLiteral("C:\\video"), bytes(199999999));
    EXPECT_EQ(low.caption, QStringLiteral("Disk Space Available C:"));
    EXPECT_EQ(low.amount, QStringLiteral("199 MB"));
    EXPECT_TRUE(low.low);
    const DiskSpace enough = diskSpaceOf(QStringLiteral("C:\\video"), bytes(200000000));
    EXPECT_EQ(enough.amount, QStringLiteral("200 MB"));
    EXPECT_FALSE(enough.low);
    // A folder without a drive letter: the mount point of its file system.
    const DiskSpace here =
        diskSpaceOf(QDir::tempPath(), [](const QString&) { return std::nullopt; });
    EXPECT_TRUE(here.caption.startsWith(QStringLiteral("Disk Space Available /")));
    EXPECT_TRUE(here.low);
    EXPECT_TRUE(systemFreeSpace()(QDir::tempPath()).value_or(-1) > 0);
}

TEST(FrameSelectionRules, LoopBeforeTheMarkedFrame) {
    const LoopPlan early = loopPlan(40, 2, 25);
    EXPECT_EQ(early.selectionStart, 0);
    EXPECT_EQ(early.selectionEnd, 40);
    EXPECT_EQ(early.intervalMs, 1900);
    EXPECT_EQ(early.intervalText, QStringLiteral("2300"));
    const LoopPlan later = loopPlan(100, 2, 25);
    EXPECT_EQ(later.selectionStart, 50);
    EXPECT_EQ(later.selectionEnd, 100);
    EXPECT_EQ(later.intervalMs, 2300);
    EXPECT_EQ(loopPlan(0, 2, 25).selectionEnd, 1);
    EXPECT_EQ(loopPlan(0, 2, 0).intervalMs, 2300); // no frame rate: no division by it
}

TEST(FrameSelectionRules, TakenFrameSecondsBoxAndKeyCodes) {
    EXPECT_EQ(takenFrame(0), 1);
    EXPECT_EQ(takenFrame(80), 80);
    EXPECT_EQ(takenFrame(2.5), 2);
    EXPECT_EQ(takenFrame(3.5), 4);
    EXPECT_EQ(boundedSecondsText(QStringLiteral("0")), QStringLiteral("1"));
    EXPECT_EQ(boundedSecondsText(QString()), QStringLiteral("1"));
    EXPECT_EQ(boundedSecondsText(QStringLiteral("5.5")), QStringLiteral("5"));
    EXPECT_FALSE(boundedSecondsText(QStringLiteral("3")));
    EXPECT_EQ(playerKeyCode(Qt::Key_4, true), keyCodeStepBack);
    EXPECT_EQ(playerKeyCode(Qt::Key_6, true), keyCodeStepForward);
    EXPECT_EQ(playerKeyCode(Qt::Key_4, false), 52);
    EXPECT_EQ(playerKeyCode(Qt::Key_Left, false), keyCodeLeft);
    EXPECT_EQ(playerKeyCode(Qt::Key_Right, false), keyCodeRight);
    EXPECT_EQ(playerKeyCode(Qt::Key_F1, false), 0);
}

TEST(FrameSelectionRules, FixTheNameAcceptedUnchangedRenamesNothing) {
    TestEnv env;
    const QString clip = clipPathFor(env.videoDir() + QLatin1Char('/'), QStringLiteral("SMITH1"),
                                     QStringLiteral("1"));
    writeAll(clip, "clip");
    FakeCapture capture;
    EXPECT_EQ(fixSkierName(env.dialogs(), capture, clip, env.videoDir()), clip);
    EXPECT_EQ(readAll(clip), QByteArray("clip"));
    ASSERT_EQ(env.dialogs().recorded().size(), 1);
    EXPECT_EQ(env.dialogs().recorded()[0].title, QStringLiteral("Fix the skier's name"));
    EXPECT_EQ(env.dialogs().recorded()[0].defaultText, QStringLiteral("SMITH1"));
    EXPECT_EQ(capture.jump, QStringLiteral("2"));
}

TEST(FrameSelectionRules, FixTheNameAsksAgainAndNeverOverwritesAnotherClip) {
    TestEnv env;
    const QString dir = env.videoDir();
    const QString clip = clipPathFor(dir, QStringLiteral("SMITH1"), QStringLiteral("1"));
    writeAll(clip, "new");
    writeAll(clipPathFor(dir, QStringLiteral("SMITH"), QStringLiteral("1")), "old");
    FakeCapture capture;
    env.dialogs().answerText(QString());               // empty: must input a name
    env.dialogs().answerText(QStringLiteral("SMITH")); // its jump 1 exists
    env.dialogs().answerText(QStringLiteral("SMITH")); // now with jump 3
    const QString renamed = fixSkierName(env.dialogs(), capture, clip, dir);
    EXPECT_EQ(renamed, clipPathFor(dir, QStringLiteral("SMITH"), QStringLiteral("3")));
    EXPECT_EQ(readAll(renamed), QByteArray("new"));
    EXPECT_EQ(readAll(clipPathFor(dir, QStringLiteral("SMITH"), QStringLiteral("1"))),
              QByteArray("old"));
    EXPECT_FALSE(QFileInfo::exists(clip));
    EXPECT_EQ(capture.name, QStringLiteral("SMITH"));
    const QStringList prompts = env.dialogs().prompts();
    ASSERT_EQ(prompts.size(), 3);
    EXPECT_EQ(prompts[1], QStringLiteral("You must input a name. Please try again "));
    EXPECT_EQ(prompts[2], QStringLiteral("I am sorry, there is an existing file using that name "
                                         "and jump.  Please try again "));

    // Cancelled: the clip keeps its name.
    env.dialogs().answerCancel();
    EXPECT_EQ(fixSkierName(env.dialogs(), capture, renamed, dir), renamed);
    EXPECT_TRUE(QFileInfo::exists(renamed));
}

TEST(FrameSelectionRules, VideoPolicyAndDeletingAClip) {
    TestEnv env;
    Dialogs& d = env.dialogs();
    EXPECT_EQ(clipActionFor(d, QStringLiteral("Save")), ClipAction::Record);
    EXPECT_EQ(clipActionFor(d, QStringLiteral("NoSave")), ClipAction::Keep);
    EXPECT_EQ(clipActionFor(d, QString()), ClipAction::Keep);
    EXPECT_TRUE(env.dialogs().messages().isEmpty());
    env.dialogs().answer(MsgAnswer::Yes);
    EXPECT_EQ(clipActionFor(d, QStringLiteral("Ask")), ClipAction::Record);
    env.dialogs().answer(MsgAnswer::No);
    EXPECT_EQ(clipActionFor(d, QStringLiteral("Ask")), ClipAction::Delete);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("Do you want to save this video capture?"));
    EXPECT_EQ(env.dialogs().messages()[0].buttons, MsgButtons::YesNo);

    const QString clip = env.path(QStringLiteral("Ajump1.avi"));
    writeAll(clip, "x");
    QFile::setPermissions(clip, QFileDevice::ReadOwner); // read-only
    EXPECT_TRUE(deleteClip(clip));
    EXPECT_FALSE(QFileInfo::exists(clip));
    const FileResult missing = deleteClip(clip);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.error.contains(clip));
    QDir().mkpath(env.path(QStringLiteral("folder.avi")));
    EXPECT_FALSE(deleteClip(env.path(QStringLiteral("folder.avi"))));
}

TEST(FrameSelectionRules, TypedFrameNumbersAndJumpKeysStayWithinTheClip) {
    EXPECT_EQ(typedFrame(QStringLiteral("85"), 120), 85);
    EXPECT_EQ(typedFrame(QStringLiteral(" 85 frames"), 120), 85); // the leading number
    EXPECT_EQ(typedFrame(QStringLiteral("84.5"), 120), 84);       // halves to even
    EXPECT_EQ(typedFrame(QStringLiteral("119.6"), 120), 119);
    EXPECT_EQ(typedFrame(QStringLiteral("1e300"), 120), 119);
    EXPECT_EQ(typedFrame(QStringLiteral("-3"), 120), 0);
    EXPECT_EQ(typedFrame(QStringLiteral("frame"), 120), std::nullopt);
    EXPECT_EQ(typedFrame(QString(), 120), std::nullopt);
    EXPECT_EQ(typedFrame(QStringLiteral("5"), 0), std::nullopt); // no clip

    EXPECT_EQ(frameForKey(Qt::Key_PageDown, 85, 120), 95);
    EXPECT_EQ(frameForKey(Qt::Key_PageDown, 115, 120), 119);
    EXPECT_EQ(frameForKey(Qt::Key_PageUp, 85, 120), 75);
    EXPECT_EQ(frameForKey(Qt::Key_PageUp, 4, 120), 0);
    EXPECT_EQ(frameForKey(Qt::Key_Home, 85, 120), 0);
    EXPECT_EQ(frameForKey(Qt::Key_End, 0, 120), 119);
    EXPECT_EQ(frameForKey(Qt::Key_End, 0, 0), 0);
    EXPECT_EQ(frameForKey(Qt::Key_A, 5, 120), std::nullopt);

    EXPECT_EQ(clipFrameCaption(QStringLiteral("/v/DEMOjump3.avi"), 85),
              QStringLiteral("DEMOjump3.avi, frame 85"));
    EXPECT_EQ(clipFrameCaption(QStringLiteral("C:\\v\\A jump1.avi"), 1),
              QStringLiteral("A jump1.avi, frame 1"));
    EXPECT_EQ(clipFrameCaption(QString(), 3), QString());
    EXPECT_EQ(measureTitle(QString()), QStringLiteral("Measure"));
}
