// The frame selection screen driven as the operator drives it: a clip
// handed over by the capture screen, stepped by held keys, buttons and the
// player's keys, taken, kept or deleted by the video-keeping policy, and
// handed to the measure or grid setup screen.

#include "ClipWriter.h"
#include "Fixtures.h"
#include "app/KeyState.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/TestEnv.h"
#include "video/FrameSelection.h"
#include "video/ui/MediaPlayer.h"
#include "video/ui/frmSetStart.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTransform>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace zt;
using namespace zt::test;

namespace {

bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qSleep(1);
    }
    return done();
}

// A folder whose entries cannot be deleted, even by root where the file
// system allows it; false when this machine cannot make one.
bool lockFolder(const QString& path, bool locked) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    bool ok = false;
    if (fd >= 0) {
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = locked ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
    }
    if (!ok)
        QFile::setPermissions(path, locked ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                           : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
    QFile probe(path + QStringLiteral("/probe"));
    const bool writable = probe.open(QIODevice::WriteOnly);
    if (writable)
        probe.remove();
    return !locked || !writable;
}

QImage rgb(const QImage& i) {
    return i.convertToFormat(QImage::Format_RGB888);
}

struct FrameSelectionScreen : ::testing::Test {
    TestEnv env;
    App* app = nullptr;
    KeyState keys;
    long long freeBytes = 5000000000LL;
    const QString logName = QStringLiteral("JumpMeasurementLog120826.txt");

    void SetUp() override {
        app = &env.app();
        AppState& s = app->state;
        s.videoDir = env.videoDir();
        s.measurementLogName = logName;
        s.gridsReady = 1;
        s.videoSavePolicy = QStringLiteral("Save");
        app->mainForm().txtVideoDir->setText(env.videoDir());
    }
    void TearDown() override { QCoreApplication::processEvents(); }

    QString clipIn(const QString& folder, const QString& name, int frames = 120) {
        ClipParams p;
        p.frames = frames;
        p.fps = 30;
        p.gop = 1;
        const QString path = folder + QLatin1Char('/') + name;
        QString error;
        EXPECT_TRUE(writeClip(path, p, &error)) << error.toStdString();
        return path;
    }
    QString clip(const QString& name) { return clipIn(env.videoDir(), name); }

    frmSetStart& screen() {
        frmSetStart& f = app->frmSetStart();
        f.setKeyState(keys);
        f.setFreeSpaceSource([this](const QString&) { return std::optional(freeBytes); });
        return f;
    }
    // What the capture screen does when a recording ends.
    void captureHandsOver(const QString& path, int hint) {
        screen();
        app->handOverFreshClip({path, hint, 30});
    }
    bool shows(int64_t n) {
        MediaPlayer& p = *screen().MediaPlayer1;
        return waitFor([&] { return p.shownPosition() == n; }) && frameNumberOf(p.picture()) == n;
    }
    QString videoLog() const { return env.videoDir() + QLatin1Char('/') + logName; }
    QString capturePath() const { return env.appDir() + QStringLiteral("/currentcapture.bmp"); }
};

} // namespace

TEST_F(FrameSelectionScreen, CaptureHandOverSteppedTakenSavedAndMeasured) {
    const QString path = clip(QStringLiteral("SKIERjump1.avi"));
    captureHandsOver(path, 75);
    frmSetStart& f = screen();
    ASSERT_TRUE(f.isVisible());
    EXPECT_TRUE(app->state.screenMode.isEmpty());
    ASSERT_TRUE(shows(75));
    EXPECT_EQ(f.Text9->text(), QStringLiteral("75"));
    EXPECT_TRUE(f.cmdMarkStart->isEnabled());

    // Held right arrow: one step a tick, as long as it is held.
    keys.press(Qt::Key_Right);
    for (int tick = 0; tick < 3; ++tick)
        f.Timer2_Timer();
    keys.release(Qt::Key_Right);
    f.Timer2_Timer();
    EXPECT_EQ(f.MediaPlayer1->position(), 78);
    f.Command4_Click();
    f.Command4_Click();
    f.Command1_Click();
    QTest::keyClick(f.MediaPlayer1, Qt::Key_6, Qt::KeypadModifier); // player's key: forward
    EXPECT_EQ(f.Text1->text(), QStringLiteral("102"));
    EXPECT_EQ(f.Text9->text(), QStringLiteral("80"));
    ASSERT_TRUE(shows(80));
    const QImage shown = f.MediaPlayer1->picture();

    f.cmdMarkStart_Click();
    const QImage taken(capturePath());
    EXPECT_EQ(frameNumberOf(taken), 80);
    EXPECT_EQ(rgb(taken), rgb(referencePictures(path)[80]));
    EXPECT_EQ(rgb(taken), rgb(shown));
    EXPECT_EQ(readAll(videoLog()),
              QByteArray("12-08-2026    13:05:09      Skier: SKIER  Jump: 1       "
                         "Contact Frame: 80           File: ") +
                  path.toLatin1() + "\r\n");
    EXPECT_EQ(readAll(path + QStringLiteral(".info")), path.toLatin1() + ",80\r\n");
    EXPECT_EQ(app->state.selectedFrame, 80);
    EXPECT_EQ(app->state.selectedVideoFile, path);
    EXPECT_EQ(app->state.screenMode, QStringLiteral("SelectFrame"));
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.MediaPlayer1->hasClip());
    EXPECT_TRUE(QFileInfo::exists(path));
    ASSERT_TRUE(app->measure().isVisible());
    EXPECT_EQ(rgb(app->measure().canvas().picture()), rgb(taken));
    EXPECT_TRUE(env.dialogs().messages().isEmpty());
    const QByteArray diagnostic = readAll(env.exchangeDir() + QStringLiteral("/DebugLog.txt"));
    EXPECT_TRUE(diagnostic.contains("Frame 80 Selected in " + path.toLatin1()));
    EXPECT_TRUE(diagnostic.contains("Video File " + path.toLatin1() + " Saved"));

    // The same clip measured again from the log viewer: told, then a second
    // record and the side file replaced.
    app->measure().hide();
    app->state.viewFile = path;
    app->state.screenMode = QStringLiteral("View");
    app->showScreen(Screen::FrameSelection);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("File already measured - contact frame is 80"));
    EXPECT_EQ(env.dialogs().messages()[0].title, QStringLiteral("Start Already Measured Warning"));
    EXPECT_TRUE(f.viewHandled());
    f.MediaPlayer1->setPosition(82);
    f.cmdMarkStart_Click();
    EXPECT_EQ(readAll(path + QStringLiteral(".info")), path.toLatin1() + ",82\r\n");
    EXPECT_EQ(readAll(videoLog()).count("Contact Frame: "), 2);
    EXPECT_FALSE(f.viewHandled()); // left: the next capture is acted upon
}

TEST_F(FrameSelectionScreen, AskNoDeletesExactlyTheClipShown) {
    app->state.videoSavePolicy = QStringLiteral("Ask");
    const QString other = clip(QStringLiteral("ANNjump1.avi"));
    const QString path = clip(QStringLiteral("ANNjump2.avi"));
    captureHandsOver(path, 5);
    ASSERT_TRUE(shows(5));
    env.dialogs().answer(MsgAnswer::No);
    screen().cmdMarkStart_Click();
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(QFileInfo::exists(other));
    EXPECT_EQ(frameNumberOf(QImage(capturePath())), 5);
    EXPECT_FALSE(QFileInfo::exists(videoLog()));
    EXPECT_TRUE(readAll(env.exchangeDir() + QStringLiteral("/DebugLog.txt"))
                    .contains("Video File " + path.toLatin1() + " Erased"));
    EXPECT_TRUE(app->measure().isVisible());
}

TEST_F(FrameSelectionScreen, ClipThatCannotBeDeletedIsToldAndTheFlowGoesOn) {
    app->state.videoSavePolicy = QStringLiteral("Ask");
    const QString folder = env.videoDir() + QStringLiteral("/locked");
    QDir().mkpath(folder);
    const QString path = clipIn(folder, QStringLiteral("BOBjump1.avi"));
    if (!lockFolder(folder, true)) {
        lockFolder(folder, false);
        GTEST_SKIP() << "no folder here can be made undeletable";
    }
    captureHandsOver(path, 3);
    ASSERT_TRUE(shows(3));
    env.dialogs().answer(MsgAnswer::No);
    screen().cmdMarkStart_Click();
    lockFolder(folder, false);
    EXPECT_TRUE(QFileInfo::exists(path));
    const QList<MessageRequest> messages = env.dialogs().messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].prompt.startsWith(QStringLiteral("The clip could not be deleted:")));
    EXPECT_TRUE(messages[1].prompt.contains(path));
    EXPECT_TRUE(app->measure().isVisible());
    EXPECT_EQ(app->state.screenMode, QStringLiteral("SelectFrame"));
}

TEST_F(FrameSelectionScreen, StepBackAtZeroStaysAndTakingAtZeroTakesOne) {
    app->state.videoSavePolicy = QStringLiteral("NoSave");
    const QString path = clip(QStringLiteral("CARLjump1.avi"));
    captureHandsOver(path, 0);
    frmSetStart& f = screen();
    ASSERT_TRUE(shows(0));
    f.Command1_Click();
    QTest::keyClick(f.MediaPlayer1, Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(f.MediaPlayer1->position(), 0);
    EXPECT_EQ(f.Text9->text(), QStringLiteral("0"));
    app->state.gridsReady = 0; // not every grid set up: the grid setup screen
    f.cmdMarkStart_Click();
    EXPECT_EQ(app->state.selectedFrame, 1);
    EXPECT_EQ(frameNumberOf(QImage(capturePath())), 1);
    EXPECT_FALSE(QFileInfo::exists(videoLog()));
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".info")));
    EXPECT_TRUE(QFileInfo::exists(path));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("One or more grids are not configured.  You may not use the Measure "
                             "Screen until all listed grids are configured"));
    EXPECT_TRUE(app->gridSetup().isVisible());
    EXPECT_FALSE(app->measure().isVisible());
}

TEST_F(FrameSelectionScreen, PlayBeforeStartLoopsTheSecondsBeforeTheMarkedFrame) {
    const QString path = clip(QStringLiteral("DEEjump1.avi"));
    captureHandsOver(path, 40);
    frmSetStart& f = screen();
    ASSERT_TRUE(shows(40));
    f.Text4->setText(QStringLiteral("9"));
    f.txtStartLoop->setText(QStringLiteral("2"));
    // 30 fps from the capture screen; 2 seconds back from 40 is before 1.
    f.Command5_Click();
    EXPECT_EQ(f.Text4->text(), QStringLiteral("5"));
    EXPECT_EQ(f.Text5->text(), QStringLiteral("5300"));
    EXPECT_EQ(f.Timer1.interval(), 1633); // 40 / 30 s + 300 ms
    EXPECT_EQ(f.MediaPlayer1->selectionStart(), 0);
    EXPECT_EQ(f.MediaPlayer1->selectionEnd(), 40);
    EXPECT_TRUE(f.playingBeforeStart());
    EXPECT_TRUE(f.MediaPlayer1->isPlaying());
    f.Command5_Click(); // already playing: nothing
    f.Timer1_Timer();
    EXPECT_TRUE(f.playingBeforeStart());
    ASSERT_TRUE(waitFor([&] { return !f.MediaPlayer1->isPlaying(); }));
    EXPECT_EQ(f.MediaPlayer1->shownPosition(), 40);
    f.Timer1_Timer();
    EXPECT_FALSE(f.playingBeforeStart());
    EXPECT_FALSE(f.Timer1.isActive());
    EXPECT_EQ(f.markedFrame(), 40);
}

TEST_F(FrameSelectionScreen, ArrivalFromTheMainScreenShowsNoClipAndTheDiskSpace) {
    freeBytes = 199999999;
    app->state.screenMode = QStringLiteral("Setup");
    frmSetStart& f = screen();
    app->showScreen(Screen::FrameSelection);
    EXPECT_EQ(f.lblDiskSpace->text(), QStringLiteral("199 MB"));
    EXPECT_TRUE(f.Label11->isVisibleTo(&f));
    EXPECT_TRUE(f.Label10->text().startsWith(QStringLiteral("Disk Space Available /")));
    EXPECT_FALSE(f.MediaPlayer1->hasClip());
    EXPECT_FALSE(f.cmdMarkStart->isEnabled());
    EXPECT_TRUE(f.Timer2.isActive());
    f.cmdGoToSetup_Click();
    EXPECT_FALSE(f.Timer2.isActive());
    EXPECT_EQ(app->state.screenMode, QStringLiteral("Timer"));

    freeBytes = 200000000;
    app->showScreen(Screen::FrameSelection);
    EXPECT_EQ(f.lblDiskSpace->text(), QStringLiteral("200 MB"));
    EXPECT_FALSE(f.Label11->isVisibleTo(&f));
}

TEST_F(FrameSelectionScreen, BrowsingShowsTheFileAndRefusesOtherFiles) {
    const QString path = clip(QStringLiteral("EVEjump7.avi"));
    writeAll(path + QStringLiteral(".info"), path.toLatin1() + ",33\r\n");
    const QString notAvi = env.path(QStringLiteral("notes.avi"));
    writeAll(notAvi, "RIFF\0\0\0\0WAVE");
    app->state.screenMode = QStringLiteral("Setup");
    frmSetStart& f = screen();
    app->showScreen(Screen::FrameSelection);

    env.dialogs().answerText(path);
    f.Command6_Click();
    EXPECT_EQ(f.clipPath(), path);
    EXPECT_TRUE(f.MediaPlayer1->hasClip());
    EXPECT_TRUE(f.cmdMarkStart->isEnabled());
    ASSERT_GE(f.lstFileInfo->count(), 6);
    EXPECT_EQ(f.lstFileInfo->item(0)->text(), QStringLiteral("Filename: ") + path);
    EXPECT_EQ(f.lstFileInfo->item(5)->text(), QStringLiteral("Rate: 30fps"));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("File already measured - start frame is 33"));
    const FileDialogRequest asked = env.dialogs().recorded()[0].file;
    EXPECT_EQ(asked.filter, QStringLiteral("Video clips|*.avi;*.mp4;*.mov;*.mkv|"));
    EXPECT_EQ(asked.startDir, env.videoDir());

    f.MediaPlayer1->setPosition(12);
    env.dialogs().answerText(notAvi);
    f.Command6_Click();
    EXPECT_EQ(env.dialogs().messages().last().prompt, QStringLiteral("Not a valid avi file"));
    env.dialogs().answerCancel();
    f.Command6_Click();
    EXPECT_EQ(f.clipPath(), path); // the clip and its frame stay
    EXPECT_EQ(f.MediaPlayer1->position(), 12);
}

// Phone clips through "View" and "...": stepped, taken turned upright,
// recorded and kept or deleted as recorded clips are.
TEST_F(FrameSelectionScreen, PhoneClipsAreViewedBrowsedTakenAndKeptAsRecordedClips) {
    const QStringList h264 = {"-c:v", "libx264", "-g", "12", "-bf", "3", "-pix_fmt", "yuv420p"};
    const QString turned =
        copiedClip(QStringLiteral("screen-turned.mp4"), phoneClip(QStringLiteral("h264.mp4"), h264),
                   {"-metadata:s:v:0", "rotate=90"});
    const QString vfr = phoneClip(
        QStringLiteral("screen-vfr.mp4"),
        QStringList{"-vf", "setpts='(N+floor(N/5)*2)/(30*TB)'", "-fps_mode", "passthrough"} + h264);
    if (turned.isEmpty() || vfr.isEmpty())
        GTEST_SKIP() << "this ffmpeg cannot make phone clips";
    const QString viewed = env.videoDir() + QStringLiteral("/ZOEjump3.mp4");
    const QString browsed = env.videoDir() + QStringLiteral("/ZOEjump4.MOV");
    ASSERT_TRUE(QFile::copy(turned, viewed));
    ASSERT_TRUE(QFile::copy(vfr, browsed));
    // A capture arrived and was taken: from now on the keeping policy
    // applies to every clip taken.
    const QString recorded = clip(QStringLiteral("ZOEjump1.avi"));
    captureHandsOver(recorded, 4);
    ASSERT_TRUE(shows(4));
    frmSetStart& f = screen();
    f.cmdMarkStart_Click();
    app->measure().hide();

    app->state.viewFile = viewed;
    app->state.screenMode = QStringLiteral("View");
    app->showScreen(Screen::FrameSelection);
    ASSERT_TRUE(f.MediaPlayer1->hasClip());
    EXPECT_EQ(f.MediaPlayer1->frameCount(), phoneClipFrames);
    f.MediaPlayer1->setPosition(20);
    ASSERT_TRUE(waitFor([&] { return f.MediaPlayer1->shownPosition() == 20; }));
    const QImage upright = referencePictures(viewed)[20].transformed(
        QTransform().rotate(f.MediaPlayer1->facts().rotation));
    EXPECT_EQ(f.MediaPlayer1->picture().size(), QSize(240, 320));
    EXPECT_EQ(rgb(f.MediaPlayer1->picture()), rgb(upright));
    f.cmdMarkStart_Click();
    EXPECT_EQ(rgb(QImage(capturePath())), rgb(upright));
    EXPECT_EQ(readAll(viewed + QStringLiteral(".info")), viewed.toLatin1() + ",20\r\n");
    EXPECT_TRUE(readAll(videoLog())
                    .contains("Jump: 3       Contact Frame: 20           File: " +
                              viewed.toLatin1() + "\r\n"));
    app->measure().hide();

    // Browsed: the variable-rate clip by its frames, its rate shown; under
    // "Ask" recorded without a question, as a browsed recording is.
    app->state.videoSavePolicy = QStringLiteral("Ask");
    app->state.screenMode = QStringLiteral("Setup");
    app->showScreen(Screen::FrameSelection);
    env.dialogs().answerText(browsed);
    f.Command6_Click();
    ASSERT_TRUE(f.MediaPlayer1->hasClip());
    ASSERT_GE(f.lstFileInfo->count(), 6);
    EXPECT_EQ(f.lstFileInfo->item(0)->text(), QStringLiteral("Filename: ") + browsed);
    EXPECT_EQ(f.lstFileInfo->item(4)->text(), QStringLiteral("Length: 48 frames"));
    EXPECT_TRUE(
        f.lstFileInfo->item(5)->text().startsWith(QStringLiteral("Rate: 21.82fps (variable")));
    f.MediaPlayer1->setPosition(37);
    ASSERT_TRUE(shows(37));
    const qsizetype told = env.dialogs().messages().size();
    f.cmdMarkStart_Click();
    EXPECT_EQ(frameNumberOf(QImage(capturePath())), 37);
    EXPECT_EQ(env.dialogs().messages().size(), told);
    EXPECT_TRUE(QFileInfo::exists(browsed));
    EXPECT_EQ(readAll(browsed + QStringLiteral(".info")), browsed.toLatin1() + ",37\r\n");
    EXPECT_TRUE(readAll(videoLog()).contains("Jump: 4       Contact Frame: 37"));

    // A file named as a clip that is none is refused.
    app->measure().hide();
    app->state.screenMode = QStringLiteral("Setup");
    app->showScreen(Screen::FrameSelection);
    const QString fake = env.videoDir() + QStringLiteral("/notes.mp4");
    writeAll(fake, "not a clip at all");
    env.dialogs().answerText(fake);
    f.Command6_Click();
    EXPECT_EQ(env.dialogs().messages().last().prompt, QStringLiteral("Not a valid video clip"));
}

TEST_F(FrameSelectionScreen, GridSetupButtonTakesTheFrameForTheGrid) {
    const QString path = clip(QStringLiteral("FAYjump1.avi"));
    captureHandsOver(path, 9);
    ASSERT_TRUE(shows(9));
    screen().btnGoToSetup_Click();
    EXPECT_EQ(frameNumberOf(QImage(capturePath())), 9);
    EXPECT_TRUE(app->gridSetup().isVisible());
    EXPECT_FALSE(app->measure().isVisible());
    EXPECT_TRUE(env.dialogs().messages().isEmpty());
}

TEST_F(FrameSelectionScreen, FramesByTypedNumberPageKeysAndTheSliderWithClipAndFrameShown) {
    const QString path = clip(QStringLiteral("SKIERjump2.avi"));
    captureHandsOver(path, 10);
    frmSetStart& f = screen();
    ASSERT_TRUE(shows(10));
    EXPECT_EQ(f.lblClipFrame->text(), QStringLiteral("SKIERjump2.avi, frame 10"));

    // A typed number and Enter; beyond the clip it stops at the last frame.
    f.Text9->setFocus();
    f.Text9->selectAll();
    QTest::keyClicks(f.Text9, QStringLiteral("85"));
    QTest::keyClick(f.Text9, Qt::Key_Return);
    EXPECT_EQ(f.MediaPlayer1->position(), 85);
    EXPECT_EQ(f.Text9->text(), QStringLiteral("85"));
    ASSERT_TRUE(shows(85));
    EXPECT_EQ(f.lblClipFrame->text(), QStringLiteral("SKIERjump2.avi, frame 85"));
    f.Text9->setText(QStringLiteral("5000"));
    f.Text9_Enter();
    EXPECT_EQ(f.MediaPlayer1->position(), 119);
    f.Text9->setText(QStringLiteral("frame"));
    f.Text9_Enter(); // no number: the frame stays
    EXPECT_EQ(f.Text9->text(), QStringLiteral("119"));

    // Ten frames a page, Home and End, on the player's keys.
    QTest::keyClick(f.MediaPlayer1, Qt::Key_Home);
    EXPECT_EQ(f.MediaPlayer1->position(), 0);
    QTest::keyClick(f.MediaPlayer1, Qt::Key_PageDown);
    QTest::keyClick(f.MediaPlayer1, Qt::Key_PageDown);
    EXPECT_EQ(f.MediaPlayer1->position(), 20);
    QTest::keyClick(f.MediaPlayer1, Qt::Key_PageUp);
    EXPECT_EQ(f.Text9->text(), QStringLiteral("10"));
    QTest::keyClick(f.MediaPlayer1, Qt::Key_End);
    EXPECT_EQ(f.MediaPlayer1->position(), 119);

    // The box follows the slider.
    auto* slider = f.MediaPlayer1->findChild<QSlider*>(QStringLiteral("slider"));
    ASSERT_NE(slider, nullptr);
    slider->setValue(42);
    EXPECT_EQ(f.Text9->text(), QStringLiteral("42"));
    ASSERT_TRUE(shows(42));

    // The measure screen names the clip and frame taken.
    f.cmdMarkStart_Click();
    ASSERT_TRUE(app->measure().isVisible());
    EXPECT_EQ(app->measure().windowTitle(), QStringLiteral("Measure - SKIERjump2.avi, frame 42"));
    app->measure().Unfreeze_Click();
    EXPECT_EQ(app->measure().windowTitle(), QStringLiteral("Measure"));
}
