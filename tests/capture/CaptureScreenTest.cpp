// The capture screen: the clip's name and jump number, the countdown, the
// contact mark and the hand-over to frame selection, recorded from the test
// camera; and what the operator sees when a recording goes wrong.

#include "capture/CaptureScreenRules.h"
#include "capture/DeviceCaptureControl.h"
#include "capture/TestCamera.h"
#include "capture/ui/CapturePanel.h"
#include "capture/ui/PreviewForm.h"
#include "config/ui/Config.h"
#include "grid/ui/Grid_Setup.h"
#include "logs/ui/Results.h"
#include "measure/ui/Measure.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/CaptureFixtures.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"
#include "video/AviFile.h"
#include "video/ClipScan.h"
#include "video/FrameSelectionView.h"
#include "video/ui/MediaPlayer.h"
#include "video/ui/frmSetStart.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace zt;
using zt::test::TestEnv;

namespace {

// Starts the program with the video folder set, 320x240 pictures and the
// given compression entry, and goes from the main screen to the capture
// screen.
PreviewForm& openCaptureScreen(TestEnv& env, const char* compression = "1") {
    env.settings().write(QStringLiteral("logpath"), env.videoDir());
    env.settings().write(QStringLiteral("VideoResolution"), QStringLiteral("2"));
    env.settings().write(QStringLiteral("compression"), QString::fromLatin1(compression));
    App& app = env.app();
    app.start();
    app.config().mnuExit_Click();
    app.mainForm().cmdGoCapture_Click();
    PreviewForm& f = app.previewForm();
    // The arrival is handled at the first paint.
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_TRUE(test::waitUntil([&] { return app.state.screenMode.isEmpty(); }, 3000));
    env.dialogs().clear();
    return f;
}

QString clipIn(TestEnv& env, const QString& name) {
    return QDir(env.videoDir()).filePath(name);
}

void touch(const QString& path) {
    test::writeAll(path, "x");
}

void selectCaptureTime(PreviewForm& f, int row) {
    f.captureTimeValue->setCurrentRow(row);
    f.captureTimeValue_Click();
}

bool handedOver(App& app) {
    return app.frmSetStart().isVisible() && !app.previewForm().isVisible();
}

} // namespace

TEST(CaptureScreen, RecordsAClipWithContactAndHandsItToFrameSelection) {
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env);
    App& app = env.app();
    f.txtSkierName->setText(QStringLiteral("Ann Lee"));
    selectCaptureTime(f, 0); // 3.0 s
    EXPECT_EQ(env.settings().read(QStringLiteral("captureTime")), QStringLiteral("3.0"));
    EXPECT_EQ(f.captime->text(), QStringLiteral("3"));

    f.cmdStartCapture->click();
    ASSERT_TRUE(f.recording());
    const QString clip = clipIn(env, QStringLiteral("Ann Leejump1.avi"));
    EXPECT_EQ(f.capturePath, clip);
    EXPECT_FALSE(f.cmdStartCapture->isEnabled());
    EXPECT_FALSE(f.cmdGoSetup->isEnabled());
    EXPECT_FALSE(f.btnCaptureFrame->isEnabled());
    EXPECT_TRUE(f.cmdStartTimer->isEnabled());
    EXPECT_EQ(app.measure().Skier_name->currentText(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(app.measure().Jump_no->text(), QStringLiteral("1"));

    // Some frames in (by the frames recorded, not by the clock).
    ASSERT_TRUE(test::waitUntil([&] { return app.captureControl().framesRecorded() > 20; }, 10000));
    f.cmdStartTimer->click(); // the skier touches the water
    const int contact = f.lblStartFrame->text().toInt();
    EXPECT_GT(contact, 20);
    EXPECT_EQ(app.state.startFrameHint, contact);

    // The countdown stops the recording and hands the clip on.
    ASSERT_TRUE(test::waitUntil([&] { return handedOver(app); }, 10000));
    EXPECT_FALSE(f.recording());
    EXPECT_EQ(app.frameSelectionView().clipPath(), clip);
    // The frame selection screen took the "Capture" arrival and opened the clip.
    EXPECT_TRUE(app.frmSetStart().isVisible());
    EXPECT_EQ(app.state.screenMode, QString());
    EXPECT_EQ(app.state.startFrameHint, contact);
    EXPECT_EQ(app.state.captureFrameRate, 30);
    EXPECT_FALSE(app.state.previewActive);
    EXPECT_EQ(f.txtPass->text(), QStringLiteral("2"));
    EXPECT_TRUE(f.cmdStartCapture->isEnabled());
    EXPECT_TRUE(f.btnCaptureFrame->isEnabled());

    const CaptureControl& cc = app.captureControl();
    EXPECT_EQ(cc.framesDropped(), 0);
    EXPECT_EQ(app.mainForm().capturePanel->LblFrames->text(), QString::number(cc.framesRecorded()));
    const test::ClipCodes codes = test::clipCodes(clip);
    ASSERT_TRUE(codes.opened);
    // How many frames 3 s give depends on how busy the machine is; the clip
    // holds every frame recorded, the contact among them.
    EXPECT_EQ(static_cast<long long>(codes.codes.size()), cc.framesRecorded());
    EXPECT_GT(static_cast<int>(codes.codes.size()), contact);
    EXPECT_EQ(codes.frameCount, static_cast<long long>(codes.codes.size()));
    EXPECT_EQ(test::counterBreaks(codes.codes), 0); // no frame missing or doubled
    EXPECT_TRUE(env.dialogs().messages().isEmpty());

    const QByteArray log = test::readAll(env.exchangeDir() + QStringLiteral("/DebugLog.txt"));
    EXPECT_TRUE(log.contains("Start Capture"));
    EXPECT_TRUE(log.contains(("Capture File: " + clip).toUtf8()));
    EXPECT_TRUE(log.contains("Capture Complete"));
}

TEST(CaptureScreen, ArrivalRaisesTheJumpNumberPastExistingClips) {
    TestEnv env;
    env.settings().write(QStringLiteral("logpath"), env.videoDir());
    App& app = env.app();
    app.state.videoDir = env.videoDir();
    PreviewForm& f = app.previewForm();
    f.txtSkierName->setText(QStringLiteral("A"));
    touch(clipIn(env, QStringLiteral("Ajump1.avi")));
    touch(clipIn(env, QStringLiteral("Ajump2.avi")));
    app.state.screenMode = QStringLiteral("Setup");
    // The arrival comes with the first paint.
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    ASSERT_TRUE(test::waitUntil([&] { return app.state.screenMode.isEmpty(); }, 3000));
    EXPECT_EQ(f.txtPass->text(), QStringLiteral("3"));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    const MessageRequest duplicate = env.dialogs().messages()[0];
    EXPECT_EQ(duplicate.prompt,
              QStringLiteral("Warning, the pass number was changed because a file for that pass "
                             "already existed.  You may need to change the skier name"));
    EXPECT_EQ(duplicate.title, QStringLiteral("Duplicate File Warning"));
    EXPECT_EQ(duplicate.icon, MsgIcon::Exclamation);

    // Only the first paint after the load; called again it raises past a
    // third clip and warns of the jump number too.
    touch(clipIn(env, QStringLiteral("Ajump3.avi")));
    f.txtPass->setText(QStringLiteral("1"));
    app.state.screenMode = QStringLiteral("Timer");
    env.dialogs().clear();
    f.Form_FirstPaint();
    EXPECT_EQ(f.txtPass->text(), QStringLiteral("4"));
    ASSERT_EQ(env.dialogs().messages().size(), 2);
    EXPECT_EQ(env.dialogs().messages()[1].prompt,
              QStringLiteral("Warning, the jump number is greater than 3.  You may need to "
                             "change the skier name"));
    EXPECT_EQ(env.dialogs().messages()[1].title, QStringLiteral("Possible Name Change Warning"));
    // Any other arrival leaves the number alone.
    app.state.screenMode = QStringLiteral("Capture");
    f.txtPass->setText(QStringLiteral("1"));
    f.Form_FirstPaint();
    EXPECT_EQ(f.txtPass->text(), QStringLiteral("1"));
}

TEST(CaptureScreen, ARecordingNeverOverwritesAClip) {
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env);
    App& app = env.app();
    f.txtSkierName->setText(QStringLiteral("A"));
    touch(clipIn(env, QStringLiteral("Ajump1.avi")));
    f.cmdStartCapture_Click();
    ASSERT_TRUE(f.recording());
    EXPECT_EQ(f.txtSkierName->text(), QStringLiteral("AX"));
    EXPECT_EQ(f.txtPass->text(), QStringLiteral("1")); // the jump number stays
    EXPECT_EQ(f.capturePath, clipIn(env, QStringLiteral("AXjump1.avi")));
    EXPECT_TRUE(f.nameAltered);
    EXPECT_TRUE(f.skierNameNoticeShown());
    EXPECT_EQ(
        f.Label4->text(),
        QStringLiteral("WARNING! Skier Name has been changed to AX to prevent duplicate files"));
    test::waitUntil([] { return false; }, 300);
    f.Form_KeyDown(27);
    ASSERT_TRUE(handedOver(app));
    EXPECT_EQ(test::readAll(clipIn(env, QStringLiteral("Ajump1.avi"))), "x");
    EXPECT_GT(QFileInfo(clipIn(env, QStringLiteral("AXjump1.avi"))).size(), 1000);

    app.frmSetStart().cmdGoToCapture_Click();
    f.txtSkierName->setText(QStringLiteral("A"));
    f.cmdStartCapture_Click();
    EXPECT_EQ(f.txtSkierName->text(), QStringLiteral("AXX"));
    EXPECT_EQ(f.capturePath, clipIn(env, QStringLiteral("AXXjump1.avi")));
    f.cmdEndCapture_Click();
}

TEST(CaptureScreen, EscWithoutContactProposesTheMiddleOfTheClip) {
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env);
    App& app = env.app();
    selectCaptureTime(f, 2); // 5.0 s
    app.mainForm().capturePanel->EdtRate->setText(QStringLiteral("30"));
    // With no recording running, Esc only shows its code.
    f.Form_KeyDown(27);
    EXPECT_EQ(f.Text1->text(), QStringLiteral("27"));
    EXPECT_TRUE(f.isVisible());
    f.Form_KeyDown('A');
    EXPECT_EQ(f.Text1->text(), QStringLiteral("65"));

    f.cmdStartCapture_Click();
    test::waitUntil([] { return false; }, 300);
    f.Form_KeyDown(27);
    EXPECT_TRUE(handedOver(app));
    EXPECT_EQ(app.state.startFrameHint, 75);
    EXPECT_TRUE(
        test::readAll(env.exchangeDir() + QStringLiteral("/DebugLog.txt")).contains("ESC pressed"));
}

// The device's "stopped" event comes at once when a recording is stopped;
// the clip still opens at the frame proposed, however the recording ends.
TEST(CaptureScreen, EveryEndOfARecordingOpensTheClipAtTheProposedFrame) {
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env);
    App& app = env.app();
    selectCaptureTime(f, 0); // 3.0 s: the middle is frame 45
    app.mainForm().capturePanel->EdtRate->setText(QStringLiteral("30"));
    const CaptureControl& cc = app.captureControl();
    const auto recordAtLeast = [&](long frames) {
        EXPECT_TRUE(test::waitUntil([&] { return cc.framesRecorded() >= frames; }, 30000));
    };
    const auto openedAt = [&]() -> long {
        EXPECT_TRUE(handedOver(app));
        return long(app.frmSetStart().MediaPlayer1->position());
    };

    // The countdown's end, no contact: the middle frame.
    f.txtSkierName->setText(QStringLiteral("Kim"));
    f.cmdStartCapture_Click();
    recordAtLeast(60);
    for (int tick = 0; tick < 3; ++tick)
        f.Timer40_Timer();
    EXPECT_EQ(openedAt(), 45);
    EXPECT_EQ(app.frmSetStart().markedFrame(), 45);

    // Contact pressed, then the window closed: the contact frame.
    app.frmSetStart().cmdGoToCapture_Click();
    f.cmdStartCapture_Click();
    recordAtLeast(20);
    f.cmdStartTimer_Click();
    const long contact = f.lblStartFrame->text().toLong();
    recordAtLeast(contact + 5);
    f.close();
    EXPECT_EQ(openedAt(), contact);

    // Stop without contact: the middle again, not the last contact.
    app.frmSetStart().cmdGoToCapture_Click();
    f.cmdStartCapture_Click();
    recordAtLeast(60);
    f.cmdEndCapture_Click();
    EXPECT_EQ(openedAt(), 45);
    EXPECT_EQ(app.state.startFrameHint, 45);
}

TEST(CaptureScreen, AFixedSkierNameIsTheOneMeasured) {
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env);
    App& app = env.app();
    app.state.gridsReady = 1;
    app.state.videoSavePolicy = QStringLiteral("NoSave");
    f.txtSkierName->setText(QStringLiteral("Skier Name"));
    touch(clipIn(env, QStringLiteral("Skier Namejump1.avi")));
    f.cmdStartCapture_Click();
    ASSERT_EQ(f.txtSkierName->text(), QStringLiteral("Skier NameX"));
    EXPECT_TRUE(
        test::waitUntil([&] { return app.captureControl().framesRecorded() >= 10; }, 30000));
    env.dialogs().answerText(QStringLiteral("Real Skier"));
    f.Form_KeyDown(27);
    ASSERT_TRUE(handedOver(app));
    EXPECT_EQ(app.frmSetStart().clipPath(), clipIn(env, QStringLiteral("Real Skierjump1.avi")));
    app.frmSetStart().MediaPlayer1->setPosition(4);
    app.frmSetStart().cmdMarkStart_Click();
    EXPECT_EQ(app.measure().Skier_name->currentText(), QStringLiteral("Real Skier"));
    EXPECT_EQ(app.measure().Jump_no->text(), QStringLiteral("1"));
}

TEST(CaptureScreen, SkierNameRules) {
    TestEnv env;
    App& app = env.app();
    PreviewForm& f = app.previewForm();
    EXPECT_EQ(f.txtSkierName->text(), QStringLiteral("Skier Name"));
    f.txtPass->setText(QStringLiteral("3"));
    f.txtSkierName->setText(QStringLiteral("Smith, John"));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("Sorry, you cannot use the \",\" character in this box"));
    EXPECT_EQ(env.dialogs().messages()[0].title, QStringLiteral("Input Error"));
    EXPECT_EQ(f.txtSkierName->text(), QStringLiteral("Smith  John"));
    EXPECT_EQ(f.txtPass->text(), QStringLiteral("1"));

    // Select Name: no names file, then the scoring system's name.
    env.dialogs().clear();
    f.cmdSelect_Click();
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("No file of skier names called SkierNames.txt exists in the "
                             "application directory"));
    env.settings().write(QStringLiteral("WSTIMS"), QStringLiteral("1"));
    test::writeAll(env.exchangeDir() + QStringLiteral("/ztskier.nam"), "Jones Amy,USA,2\r\n");
    f.cmdSelect_Click();
    EXPECT_EQ(f.txtSkierName->text(), QStringLiteral("Jones Amy"));
    // Nothing that names a path goes into the clip's name, however it comes.
    env.dialogs().clear();
    f.txtSkierName->setText(QStringLiteral("../escape"));
    EXPECT_EQ(f.txtSkierName->text(), QStringLiteral("   escape"));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].title, QStringLiteral("Input Error"));
    test::writeAll(env.exchangeDir() + QStringLiteral("/ztskier.nam"), "Ann\\Lee,USA,2\r\n");
    f.cmdSelect_Click();
    EXPECT_EQ(f.txtSkierName->text(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(app.state.wstimsSkierName, QStringLiteral("Ann Lee"));
    test::writeAll(env.exchangeDir() + QStringLiteral("/ztskier.nam"), "Jones Amy,USA,2\r\n");
    f.cmdSelect_Click();
    EXPECT_EQ(app.state.wstimsSkierName, QStringLiteral("Jones Amy"));
    EXPECT_EQ(app.measure().Skier_name->currentText(), QStringLiteral("Jones Amy"));
    QFile::remove(env.exchangeDir() + QStringLiteral("/ztskier.nam"));
    env.dialogs().clear();
    f.btnGetName_Click();
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.startsWith(
        QStringLiteral("Error while reading WSTIMS name file: ")));
}

TEST(CaptureScreen, CountdownStopsAtZeroOrBelow) {
    EXPECT_FALSE(countdownTick(3).stop);
    EXPECT_TRUE(countdownTick(1).stop);
    const CountdownTick half = countdownTick(0.5); // 3.5 s never reaches exactly 0
    EXPECT_TRUE(half.stop);
    EXPECT_EQ(half.secondsLeft, -0.5);
    EXPECT_EQ(middleFrameHint(30, 5.0), 75);
    EXPECT_EQ(middleFrameHint(25, 3.0), 38); // 37.5: halves to even
    EXPECT_EQ(middleFrameHint(15, 3.0), 22); // 22.5
    EXPECT_EQ(clipPathFor(QStringLiteral("/v/"), QStringLiteral("Ann Lee"), QStringLiteral(" 2 ")),
              QDir::toNativeSeparators(QStringLiteral("/v/Ann Leejump2.avi")));
    // Whatever the name holds, the clip is in the video folder.
    EXPECT_EQ(clipPathFor(QStringLiteral("/v"), QStringLiteral("../up"), QStringLiteral("1")),
              QDir::toNativeSeparators(QStringLiteral("/v/   upjump1.avi")));
    const ClipName kept =
        clipNameKeepingClips(QStringLiteral("/v"), QStringLiteral("a/b"), QStringLiteral("1"));
    EXPECT_EQ(kept.skierName, QStringLiteral("a b"));
    EXPECT_EQ(kept.path, QDir::toNativeSeparators(QStringLiteral("/v/a bjump1.avi")));
}

TEST(CaptureScreen, FullDiskStopsTheRecordingTellsThePathAndKeepsTheClip) {
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env, "0"); // uncompressed: the disk fills fast
    App& app = env.app();
    f.txtSkierName->setText(QStringLiteral("Full"));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 3'000'000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    f.cmdStartCapture_Click();
    ASSERT_TRUE(f.recording());
    const bool over = test::waitUntil([&] { return handedOver(app); }, 10000);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, SIG_DFL);
    ASSERT_TRUE(over);

    const QString clip = clipIn(env, QStringLiteral("Fulljump1.avi"));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    const QString told = env.dialogs().messages()[0].prompt;
    EXPECT_TRUE(told.startsWith(
        QStringLiteral("Warning: The recording stopped because the disk is full. The clip "
                       "recorded so far is kept in ") +
        clip))
        << told.toStdString();
    EXPECT_EQ(app.frameSelectionView().clipPath(), clip);
    const test::ClipCodes codes = test::clipCodes(clip);
    ASSERT_TRUE(codes.opened);
    EXPECT_GE(codes.codes.size(), 5u);
    EXPECT_EQ(test::counterBreaks(codes.codes), 0);
    // The frames told are those the player offers.
    const auto scan = scanClip(ClipInput::file(clip));
    ASSERT_TRUE(scan);
    EXPECT_TRUE(told.endsWith(QStringLiteral(" (%1 frames).").arg(scan->frames)))
        << told.toStdString();
    EXPECT_TRUE(test::waitUntil(
        [&] { return app.frmSetStart().MediaPlayer1->frameCount() == scan->frames; }, 20000));

    // The program goes on: the next jump records.
    app.frmSetStart().cmdGoToCapture_Click();
    f.cmdStartCapture_Click();
    test::waitUntil([] { return false; }, 300);
    f.cmdEndCapture_Click();
    EXPECT_GT(QFileInfo(clipIn(env, QStringLiteral("Fulljump2.avi"))).size(), 100'000);
}

TEST(CaptureScreen, CameraPulledOutWhileRecordingKeepsTheClipAndSaysSo) {
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env);
    App& app = env.app();
    auto& cc = static_cast<DeviceCaptureControl&>(app.captureControl());
    CapturePanel& panel = *app.mainForm().capturePanel;
    cc.testCamera()->setStopAfter(1.5);
    panel.CmdConnect_Click(); // disconnect
    panel.CmdConnect_Click(); // connect: this camera stops after 1.5 s
    app.showScreen(Screen::Capture);
    f.txtSkierName->setText(QStringLiteral("Cord"));
    selectCaptureTime(f, 3); // 6.0 s
    f.cmdStartCapture_Click();
    ASSERT_TRUE(f.recording());
    ASSERT_TRUE(test::waitUntil([&] { return handedOver(app); }, 10000));
    const QString clip = clipIn(env, QStringLiteral("Cordjump1.avi"));
    ASSERT_FALSE(env.dialogs().messages().isEmpty());
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.startsWith(
        QStringLiteral("Warning: The recording stopped because the camera stopped delivering "
                       "pictures. The clip recorded so far is kept in ") +
        clip))
        << env.dialogs().messages()[0].prompt.toStdString();
    EXPECT_EQ(panel.CmdConnect->text(), QStringLiteral("Connect"));
    EXPECT_FALSE(cc.isConnected());
    const test::ClipCodes codes = test::clipCodes(clip);
    EXPECT_GE(codes.codes.size(), 20u);
    EXPECT_EQ(test::counterBreaks(codes.codes), 0);
}

TEST(CaptureScreen, AFolderThatIsGoneIsToldAndTheScreenStaysReady) {
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env);
    f.txtSkierName->setText(QStringLiteral("B"));
    ASSERT_TRUE(QDir(env.videoDir()).removeRecursively());
    f.cmdStartCapture_Click();
    EXPECT_FALSE(f.recording());
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    const MessageRequest m = env.dialogs().messages()[0];
    EXPECT_EQ(m.title, QStringLiteral("Error"));
    EXPECT_TRUE(m.prompt.startsWith(QStringLiteral("Eror code: 80040204 The clip file ")));
    EXPECT_TRUE(m.prompt.contains(clipIn(env, QStringLiteral("Bjump1.avi"))));
    EXPECT_TRUE(f.cmdStartCapture->isEnabled());
    EXPECT_TRUE(f.btnCaptureFrame->isEnabled());
    EXPECT_TRUE(f.cmdGoSetup->isEnabled());
    EXPECT_TRUE(f.isVisible());
}

TEST(CaptureScreen, CaptureFrameGoesToMeasureOnlyWithReadyGrids) {
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env);
    App& app = env.app();
    const QString still = env.appDir() + QStringLiteral("/currentcapture.bmp");
    f.btnCaptureFrame_Click();
    EXPECT_EQ(QImage(still).size(), QSize(320, 240));
    EXPECT_EQ(app.state.screenMode, QStringLiteral("SelectFrame"));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("One or more grids are not configured.  You may not use the Measure "
                             "Screen until all listed grids are configured"));
    EXPECT_TRUE(app.gridSetup().isVisible());
    EXPECT_FALSE(f.isVisible());

    app.state.gridsReady = 1;
    app.showScreen(Screen::Capture);
    f.txtSkierName->setText(QStringLiteral("Kim"));
    f.txtPass->setText(QStringLiteral("2"));
    QFile::remove(still);
    f.btnCaptureFrame_Click();
    EXPECT_TRUE(QFileInfo::exists(still));
    EXPECT_TRUE(app.measure().isVisible());
    EXPECT_EQ(app.measure().Skier_name->currentText(), QStringLiteral("Kim"));
    EXPECT_EQ(app.measure().Jump_no->text(), QStringLiteral("2"));
}

TEST(CaptureScreen, ResultsMenuShowsTheResultsFile) {
    TestEnv env;
    App& app = env.app();
    app.state.logFilePath = env.path(QStringLiteral("results.txt"));
    test::writeAll(app.state.logFilePath, "first\r\nsecond\r\n");
    app.previewForm().mnuResults_Click();
    EXPECT_TRUE(app.results().isVisible());
    EXPECT_EQ(app.results().windowTitle(), app.state.logFilePath);
    EXPECT_EQ(app.results().output_box->toPlainText(), QStringLiteral("first\nsecond\n"));
}

TEST(CaptureScreen, ARecordingWithNoFramesHandsNothingOn) {
    // The disk is full before the first frame: nothing to select a frame
    // from, the jump number stays and the screen is ready for the next try.
    TestEnv env;
    PreviewForm& f = openCaptureScreen(env, "0");
    App& app = env.app();
    f.txtSkierName->setText(QStringLiteral("Empty"));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit tiny = before;
    tiny.rlim_cur = 20'000; // the headers fit, no 230 kB frame does
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    f.cmdStartCapture_Click();
    const bool stopped = test::waitUntil([&] { return !f.recording(); }, 10000);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, SIG_DFL);
    ASSERT_TRUE(stopped);
    EXPECT_EQ(app.captureControl().framesRecorded(), 0);
    EXPECT_FALSE(app.frmSetStart().isVisible());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.txtPass->text(), QStringLiteral("1"));
    EXPECT_TRUE(f.cmdStartCapture->isEnabled());
    EXPECT_NE(app.frameSelectionView().clipPath(), clipIn(env, QStringLiteral("Emptyjump1.avi")));
    ASSERT_FALSE(env.dialogs().messages().isEmpty());
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(QStringLiteral("the disk is full")))
        << env.dialogs().messages()[0].prompt.toStdString();
}

TEST(CaptureScreen, AClipRecordedAt25FramesASecondIsSteppedAt25) {
    TestEnv env;
    env.settings().write(QStringLiteral("framerate"), QStringLiteral("25"));
    PreviewForm& f = openCaptureScreen(env);
    App& app = env.app();
    f.txtSkierName->setText(QStringLiteral("Rate"));
    f.cmdStartCapture_Click();
    ASSERT_TRUE(f.recording());
    ASSERT_TRUE(
        test::waitUntil([&] { return app.captureControl().framesRecorded() >= 10; }, 20000));
    f.cmdEndCapture_Click();
    ASSERT_TRUE(test::waitUntil([&] { return handedOver(app); }, 10000));
    EXPECT_EQ(app.state.captureFrameRate, 25);
    EXPECT_EQ(app.frmSetStart().MediaPlayer1->frameRate(), 25);
    const auto headers = readAviHeaders(clipIn(env, QStringLiteral("Ratejump1.avi")));
    ASSERT_TRUE(headers);
    EXPECT_EQ(frameRateOf(headers->info), 25);
}
