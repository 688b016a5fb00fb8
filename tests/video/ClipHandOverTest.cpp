// Which clip is measured, under which skier, and which clip the keeping
// policy may delete: the fresh recording against clips opened to view, the
// hand-overs between frame selection, the viewers and the measure screen
// with screens already on display.

#include "ClipWriter.h"
#include "capture/ui/PreviewForm.h"
#include "logs/ui/LogView.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/CaptureFixtures.h"
#include "support/TestEnv.h"
#include "video/FrameSelection.h"
#include "video/ui/MediaPlayer.h"
#include "video/ui/frmSetStart.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {

struct ClipHandOver : ::testing::Test {
    TestEnv env;
    App* app = nullptr;
    const QString logName = QStringLiteral("JumpMeasurementLog120826.txt");

    void SetUp() override {
        app = &env.app();
        AppState& s = app->state;
        s.videoDir = env.videoDir();
        s.measurementLogName = logName;
        s.gridsReady = 1;
        s.videoSavePolicy = QStringLiteral("Ask");
        app->mainForm().txtVideoDir->setText(env.videoDir());
        app->frmSetStart().setFreeSpaceSource(
            [](const QString&) { return std::optional<long long>(5000000000LL); });
    }
    void TearDown() override { QCoreApplication::processEvents(); }

    QString clip(const QString& name, int frames = 60) {
        ClipParams p;
        p.frames = frames;
        p.fps = 30;
        p.gop = 1;
        const QString path = env.videoDir() + QLatin1Char('/') + name;
        QString error;
        EXPECT_TRUE(writeClip(path, p, &error)) << error.toStdString();
        return path;
    }
    frmSetStart& screen() { return app->frmSetStart(); }
    bool shows(int64_t n) {
        MediaPlayer& p = *screen().MediaPlayer1;
        return waitUntil([&] { return p.shownPosition() == n; }, 10000);
    }
    void view(const QString& path) {
        app->state.viewFile = path;
        app->state.screenMode = QStringLiteral("View");
        app->handOver(Screen::FrameSelection);
    }
    QString capturePicture() const { return env.appDir() + QStringLiteral("/currentcapture.bmp"); }
    QString measuredSkier() { return app->measure().Skier_name->currentText(); }
    QString measuredJump() { return app->measure().Jump_no->text(); }
};

} // namespace

TEST_F(ClipHandOver, OnlyTheFreshRecordingIsEverDeleted) {
    const QString fresh = clip(QStringLiteral("Anna Demojump3.avi"));
    const QString viewed = clip(QStringLiteral("DEMOjump1.avi"));
    // A capture hands its clip over; the operator opens another one instead.
    app->handOverFreshClip({fresh, 10, 30});
    ASSERT_TRUE(shows(10));
    view(viewed);
    ASSERT_TRUE(shows(0));
    EXPECT_TRUE(screen().freshClipPath().isEmpty());
    screen().MediaPlayer1->setPosition(7);
    screen().cmdMarkStart_Click();
    EXPECT_TRUE(env.dialogs().queueEmpty());
    EXPECT_TRUE(QFileInfo::exists(viewed));
    EXPECT_TRUE(QFileInfo::exists(fresh));
    EXPECT_FALSE(env.dialogs().prompts().contains(
        QStringLiteral("Do you want to save this video capture?")));
    // Measured again all the same: its record and side file are written.
    EXPECT_EQ(readAll(viewed + QStringLiteral(".info")), viewed.toLatin1() + ",7\r\n");
    EXPECT_TRUE(readAll(env.videoDir() + QLatin1Char('/') + logName).contains("Contact Frame: 7"));
    // Measured under the skier and jump of the clip taken, not the capture's.
    EXPECT_EQ(measuredSkier(), QStringLiteral("DEMO"));
    EXPECT_EQ(measuredJump(), QStringLiteral("1"));

    // A clip opened by browsing after a capture is not deleted either.
    const QString second = clip(QStringLiteral("Bojump2.avi"));
    app->handOverFreshClip({second, 5, 30});
    ASSERT_TRUE(shows(5));
    env.dialogs().answerText(fresh);
    screen().Command6_Click();
    env.dialogs().answer(MsgAnswer::No);
    screen().cmdMarkStart_Click();
    EXPECT_TRUE(QFileInfo::exists(fresh));
    EXPECT_TRUE(QFileInfo::exists(second));
    EXPECT_EQ(measuredSkier(), QStringLiteral("Anna Demo"));
    EXPECT_EQ(measuredJump(), QStringLiteral("3"));

    // The fresh recording itself is the policy's: No deletes it.
    app->handOverFreshClip({second, 5, 30});
    ASSERT_TRUE(shows(5));
    env.dialogs().answer(MsgAnswer::No);
    screen().cmdMarkStart_Click();
    EXPECT_FALSE(QFileInfo::exists(second));
    EXPECT_TRUE(QFileInfo::exists(fresh));
    EXPECT_TRUE(QFileInfo::exists(viewed));
}

TEST_F(ClipHandOver, ViewerOnScreensOnDisplayHandsOverTheChosenClip) {
    const QString first = clip(QStringLiteral("Annjump1.avi"));
    const QString other = clip(QStringLiteral("Bojump1.avi"));
    writeAll(env.videoDir() + QLatin1Char('/') + logName,
             "12-08-2026    13:06:10      Skier: Bo  Jump: 1       Contact Frame: 9  File: " +
                 other.toLatin1() + "\r\n");
    view(first);
    ASSERT_TRUE(shows(0));
    // "View Log File" on the frame selection screen, which stays on display.
    screen().cmdViewLog_Click();
    QPointer<LogView> viewer = screen().findChild<LogView*>();
    ASSERT_FALSE(viewer.isNull());
    EXPECT_EQ(app->openLogView(&screen()), viewer.data()); // one viewer, brought to front
    viewer->lstLog_Click(viewer->lstLog->item(0));
    viewer->cmdView_Click();
    EXPECT_EQ(screen().clipPath(), other);
    EXPECT_EQ(screen().MediaPlayer1->file(), other);
    ASSERT_TRUE(shows(0));

    // Taken: the measure screen shows it and is the one screen up.
    screen().MediaPlayer1->setPosition(4);
    ASSERT_TRUE(shows(4));
    screen().cmdMarkStart_Click();
    ASSERT_TRUE(app->measure().isVisible());
    EXPECT_FALSE(screen().isVisible());
    EXPECT_EQ(frameNumberOf(app->measure().canvas().picture()), 4);

    // The measure screen's viewer: frame selection comes up alone.
    QPointer<LogView> again = app->openLogView(&app->measure());
    again->lstLog_Click(again->lstLog->item(0));
    again->cmdView_Click();
    EXPECT_TRUE(screen().isVisible());
    EXPECT_FALSE(app->measure().isVisible());
    EXPECT_FALSE(app->mainForm().isVisible());
    screen().MediaPlayer1->setPosition(11);
    ASSERT_TRUE(shows(11));
    // The measure screen, shown again while still up elsewhere, loads the
    // new frame: a hand-over runs its arrival even on a screen on display.
    app->measure().show();
    screen().cmdMarkStart_Click();
    EXPECT_EQ(frameNumberOf(app->measure().canvas().picture()), 11);
}

TEST_F(ClipHandOver, AViewerForgetsTheChosenPathWithItsList) {
    writeAll(env.videoDir() + QLatin1Char('/') + logName,
             "12-08-2026    13:06:10      Skier: Bo  Jump: 1       Contact Frame: 9  File: "
             "/v/Bojump1.avi\r\n");
    const QString otherLog = env.videoDir() + QStringLiteral("/JumpMeasurementLog120726.txt");
    writeAll(otherLog, "no clips on this day\r\n");
    QPointer<LogView> viewer = app->openLogView(nullptr);
    viewer->lstLog_Click(viewer->lstLog->item(0));
    EXPECT_EQ(viewer->txtFileToView->text(), QStringLiteral("/v/Bojump1.avi"));
    env.dialogs().answerText(otherLog);
    viewer->cmdSelectLogFile_Click();
    EXPECT_EQ(viewer->lstLog->count(), 0);
    EXPECT_TRUE(viewer->txtFileToView->text().isEmpty());
    viewer->cmdView_Click(); // nothing chosen: nothing opens
    EXPECT_FALSE(screen().isVisible());
    viewer->close();
}

TEST_F(ClipHandOver, ANameTheClipDoesNotTellIsAskedOfTheOperator) {
    app->previewForm().setSkierName(QStringLiteral("Real Skier"));
    // A clip named otherwise: the operator is asked, the capture's name given.
    const QString odd = clip(QStringLiteral("lake camera.avi"));
    const QString standard = clip(QStringLiteral("Real Skierjump2.avi"));
    view(standard);
    ASSERT_TRUE(shows(0));
    screen().cmdMarkStart_Click();
    EXPECT_EQ(measuredSkier(), QStringLiteral("Real Skier"));
    EXPECT_EQ(measuredJump(), QStringLiteral("2"));
    view(odd);
    ASSERT_TRUE(shows(0));
    env.dialogs().clear();
    env.dialogs().answerText(QStringLiteral("Cy/Dee"));
    screen().cmdMarkStart_Click();
    const QList<Recorded> asked = env.dialogs().recorded();
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(asked.last().kind, Recorded::Input);
    EXPECT_EQ(asked.last().defaultText, QStringLiteral("Real Skier"));
    EXPECT_TRUE(asked.last().prompt.contains(odd));
    EXPECT_EQ(measuredSkier(), QStringLiteral("Cy Dee"));
    EXPECT_TRUE(app->measure().isVisible());
}

TEST_F(ClipHandOver, ArrivalsWithoutAClipClearTheInformationAndABadClipIsToldOnce) {
    const QString path = clip(QStringLiteral("Evejump1.avi"));
    app->state.screenMode = QStringLiteral("Setup");
    app->showScreen(Screen::FrameSelection);
    env.dialogs().answerText(path);
    screen().Command6_Click();
    EXPECT_GT(screen().lstFileInfo->count(), 0);
    app->state.screenMode = QStringLiteral("CaptureGoToTimer");
    app->handOver(Screen::FrameSelection);
    EXPECT_EQ(screen().lstFileInfo->count(), 0);
    EXPECT_FALSE(screen().MediaPlayer1->hasClip());

    const QString broken = env.videoDir() + QStringLiteral("/Brokenjump1.avi");
    writeAll(broken, "RIFF\x10\0\0\0AVI LIST");
    env.dialogs().clear();
    view(broken);
    EXPECT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_FALSE(screen().cmdMarkStart->isEnabled());
}
