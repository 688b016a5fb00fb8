// The whole road on the demo lake, as a new user walks it and through the
// screens' own handlers: the grid set up on the demo's setup picture from its
// survey, a jump recorded from the demo camera on the capture screen, the
// contact frame found on frame selection and the landing clicked on the
// measure screen. The recorded distance is held against the scene's truth.

#include "app/TextFormat.h"
#include "capture/CaptureControl.h"
#include "capture/DeviceCaptureControl.h"
#include "capture/TestCamera.h"
#include "capture/ui/PreviewForm.h"
#include "config/ui/Config.h"
#include "demo/DemoCamera.h"
#include "grid/AccuracyCheck.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/CaptureFixtures.h"
#include "support/TestEnv.h"
#include "video/FrameSelectionView.h"
#include "video/FrameSource.h"
#include "video/ui/MediaPlayer.h"
#include "video/ui/frmSetStart.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

using namespace zt;
using zt::test::readAll;
using zt::test::TestEnv;

namespace {

const QSize pictureSize(640, 480);

// "key: v1 v2" lines, the values read with the point.
using KeyValues = QMap<QString, QList<double>>;
KeyValues readKeyValues(const QString& path) {
    KeyValues values;
    for (const QString& line : QString::fromUtf8(readAll(path)).split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon < 0)
            continue;
        QList<double>& v = values[line.left(colon)];
        for (const QString& word : line.mid(colon + 2).split(QLatin1Char(' ')))
            v.push_back(readNumber(word));
    }
    return values;
}

QPoint wholePixel(QPointF twips) {
    return {static_cast<int>(std::lround(twips.x() / 15)),
            static_cast<int>(std::lround(twips.y() / 15))};
}

// The distance shown in the results line and in the exchange file.
double resultsLineDistance(const QByteArray& results) {
    const QString last =
        QString::fromLatin1(results).trimmed().split(QStringLiteral("\r\n")).last();
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral(" jump \\d+ - (\\d+\\.?\\d*)m ")).match(last);
    return m.hasMatch() ? readNumber(m.captured(1)) : -1;
}
double exchangeDistance(const QByteArray& dst) {
    const QList<QByteArray> fields = dst.split(',');
    return fields.size() >= 2 && fields[0] == "OK" ? readNumber(QString::fromLatin1(fields[1]))
                                                   : -1;
}

struct DemoRoad {
    TestEnv env;
    unsigned seed;
    QString demoDir = env.path(QStringLiteral("demo"));
    KeyValues survey, truth;
    DemoLake lake;
    std::shared_ptr<test::SteppedFrameClock> clock = std::make_shared<test::SteppedFrameClock>();
    App* app = nullptr;

    DemoRoad(unsigned demoSeed, int grids) : seed(demoSeed), lake(pictureSize, demoSeed) {
        env.services().demo = true;
        env.services().demoLake = true;
        env.services().demoSeed = seed;
        env.services().demoClock = clock;
        env.settings().write(QStringLiteral("logpath"), env.videoDir());
        env.settings().write(QStringLiteral("VideoResolution"), QStringLiteral("1")); // 640x480
        env.settings().write(QStringLiteral("compression"), QStringLiteral("1"));
        env.settings().write(QStringLiteral("grids"), QString::number(grids));
        env.settings().write(QStringLiteral("WSTIMS"), QStringLiteral("1"));
        EXPECT_EQ(writeDemoFiles(demoDir, pictureSize, 30, seed), QString());
        survey = readKeyValues(demoDir + QStringLiteral("/demo-survey.txt"));
        truth = readKeyValues(demoDir + QStringLiteral("/demo-truth.txt"));
        app = &env.app();
        app->start(); // a first start: the program asks to reset and to check its settings
        app->config().mnuExit_Click();
        env.dialogs().clear();
    }

    QPoint truthPixel(const char* key) const {
        const QList<double> v = truth.value(QLatin1String(key));
        return v.size() == 2 ? wholePixel({v[0], v[1]}) : QPoint(-1, -1);
    }

    void type(QLineEdit* box, const char* key, int index) {
        box->selectAll();
        QTest::keyClicks(box, numberText(survey.value(QLatin1String(key)).value(index)));
    }
    void typeSurvey(QLineEdit* x, QLineEdit* y, const char* key) {
        type(x, key, 0);
        type(y, key, 1);
    }
    void clickPoint(Grid_Setup& gs, QRadioButton* option, const char* key) {
        option->click();
        gs.canvas().setZoomAbout(Zoom::Actual, {0, 0});
        QTest::mouseClick(gs.canvas().surface(), Qt::LeftButton, {}, truthPixel(key));
    }

    // The picture loaded, the survey typed, the five points clicked on the
    // truth rounded to whole pixels, Complete (it validates), the accuracy
    // check for the middle line.
    void setUpGrid(Grid_Setup& gs) {
        env.dialogs().answerText(demoDir + QStringLiteral("/demo-setup.bmp"));
        gs.mnuLoadPicture_Click();
        ASSERT_EQ(gs.canvas().picture().size(), pictureSize);
        typeSurvey(gs.ul_survey_x, gs.ul_survey_y, "upper left");
        typeSurvey(gs.ur_survey_x, gs.ur_survey_y, "upper right");
        typeSurvey(gs.ll_survey_x, gs.ll_survey_y, "lower left");
        typeSurvey(gs.lr_survey_x, gs.lr_survey_y, "lower right");
        typeSurvey(gs.txtCheckX, gs.txtCheckY, "check buoy");
        typeSurvey(gs.jump_x, gs.jump_y, "jump");
        clickPoint(gs, gs.upper_left_button, "upper left");
        clickPoint(gs, gs.upper_right_button, "upper right");
        clickPoint(gs, gs.lower_left_button, "lower left");
        clickPoint(gs, gs.lower_right_button, "lower right");
        clickPoint(gs, gs.optCheckBuoy, "check buoy");
        gs.Load->click();
        ASSERT_TRUE(env.dialogs().messages().isEmpty())
            << env.dialogs().messages().first().prompt.toStdString();
        ASSERT_TRUE(gs.btnAccuracyCheck->isEnabled());
        env.dialogs().answerText(QStringLiteral("4"));
        gs.btnAccuracyCheck->click();
        EXPECT_TRUE(env.dialogs().messages().isEmpty());
    }

    void setUpGrids(int grids) {
        app->mainForm().cmdSetup_Click();
        Grid_Setup& gs = app->gridSetup();
        ASSERT_TRUE(gs.isVisible());
        for (int g = 1; g <= grids; ++g) {
            if (g > 1)
                gs.grid_select->click();
            ASSERT_EQ(app->state.currentGrid, g);
            setUpGrid(gs);
        }
        EXPECT_EQ(app->state.gridsReady, 1);
        gs.gridExit_Click();
        ASSERT_TRUE(app->mainForm().isVisible());
    }

    // Records from the demo camera, started half a second before the first
    // take-off. The camera is stepped: each frame is let through once the
    // one before is recorded and the encoder is no more than a few frames
    // behind (its queue never fills, so no frame is dropped), up to a few
    // frames past the contact, and the recording is ended there as with End
    // Capture (the countdown runs on the wall clock). The jump it holds.
    std::optional<DemoJump> recordJump() {
        app->mainForm().cmdGoCapture_Click();
        PreviewForm& f = app->previewForm();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        EXPECT_TRUE(test::waitUntil([&] { return app->state.screenMode.isEmpty(); }, 30000));
        f.txtSkierName->setText(QStringLiteral("DEMO"));
        f.captureTimeValue->setCurrentRow(3); // 6.0 s
        f.captureTimeValue_Click();
        const auto& cc = dynamic_cast<const DeviceCaptureControl&>(app->captureControl());
        const double fps = cc.frameRate();
        const DemoJump jump = lake.jump(0);
        const int64_t first = std::lround((jump.takeoffTime - 0.5) * fps);
        clock->allow(first - 1);
        if (!test::waitUntil([&] { return clock->waitsFor(first); }, 60000)) {
            ADD_FAILURE() << "the camera did not reach frame " << first << " waiting "
                          << clock->waiting();
            return std::nullopt;
        }
        f.cmdStartCapture->click();
        if (!f.recording())
            return std::nullopt;
        f.Timer40.stop();
        const int64_t last = DemoLake::contactFrame(jump, fps) + 5;
        constexpr long long inFlight = 4; // the encoder's threads hold a frame or two
        for (int64_t n = first; n <= last; ++n) {
            clock->allow(n);
            if (!test::waitUntil(
                    [&] {
                        return clock->waitsFor(n + 1) &&
                               cc.framesRecorded() - cc.framesWritten() <= inFlight;
                    },
                    60000)) {
                ADD_FAILURE() << "frame " << n << ": the camera waits for " << clock->waiting()
                              << ", recorded " << cc.framesRecorded() << ", written "
                              << cc.framesWritten();
                return std::nullopt;
            }
        }
        EXPECT_EQ(cc.framesRecorded(), last - first + 1);
        f.cmdEndCapture->click();
        if (!test::waitUntil([&] { return app->frmSetStart().isVisible() && !f.isVisible(); },
                             60000))
            return std::nullopt;
        return jump;
    }

    // Steps frame selection to the frame whose stream number is the truth's
    // contact frame and takes it.
    void takeContactFrame(const DemoJump& jump) {
        const int contact = DemoLake::contactFrame(jump, app->captureControl().frameRate());
        const QString clip = app->frameSelectionView().clipPath();
        const test::ClipCodes codes = test::clipCodes(clip);
        const auto it = std::find(codes.codes.begin(), codes.codes.end(), contact);
        ASSERT_NE(it, codes.codes.end()) << "contact frame " << contact << " not recorded";
        const auto index = static_cast<int64_t>(it - codes.codes.begin());
        ASSERT_GT(index, 0);
        EXPECT_EQ(codes.codes[static_cast<size_t>(index - 1)], contact - 1);

        frmSetStart& fs = app->frmSetStart();
        MediaPlayer& player = *fs.MediaPlayer1;
        ASSERT_TRUE(test::waitUntil([&] { return player.shownPosition() >= 0; }, 5000));
        while (player.position() < index)
            fs.Command4_Click();
        while (player.position() > index)
            fs.Command1_Click();
        EXPECT_EQ(fs.Text9->text(), QString::number(index));
        ASSERT_TRUE(test::waitUntil([&] { return player.shownPosition() == index; }, 5000));
        EXPECT_EQ(readFrameCode(player.picture()), contact);
        env.dialogs().answer(MsgAnswer::Yes); // keep the clip
        fs.cmdMarkStart_Click();
        ASSERT_TRUE(app->measure().isVisible());
    }

    // The accuracy delta of the grid in use at the landing point.
    double deltaAt(QPointF twips) const {
        GridState g = app->state;
        const QPointF p = twips;
        return runAccuracyCheck(g, accuracyMesh(p, p, p, p), false, false).points[0].delta;
    }

    // Clicks the landing on the measure screen, records and checks the
    // results line and the exchange file against the truth.
    void measureAndCheck(const DemoJump& jump) {
        Measure& m = app->measure();
        const QPointF landing = lake.twipsOf(jump.landing);
        m.canvas().setZoomAbout(Zoom::Actual, {0, 0});
        QTest::mouseClick(m.canvas().surface(), Qt::LeftButton, {}, wholePixel(landing));
        QTest::mouseClick(m.Record, Qt::LeftButton);
        const double measured = resultsLineDistance(readAll(app->state.logFilePath));
        const double truthDistance = jump.distance + tournamentCorrection(false, false);
        EXPECT_NEAR(measured, truthDistance, deltaAt(landing) + 0.05)
            << "seed " << seed << ", grid " << app->state.currentGrid;
        EXPECT_EQ(exchangeDistance(readAll(env.exchangeDir() + QStringLiteral("/ztresult.dst"))),
                  measured);
    }
};

void walkTheRoad(unsigned seed, int grids) {
    DemoRoad road(seed, grids);
    ASSERT_EQ(road.app->captureControl().deviceName(0), QStringLiteral("Demo lake"));
    road.setUpGrids(grids);
    const std::optional<DemoJump> jump = road.recordJump();
    ASSERT_TRUE(jump.has_value()) << "no jump recorded for seed " << seed;
    road.takeContactFrame(*jump);
    road.measureAndCheck(*jump);
    if (grids > 1) { // the same landing with the second grid
        QTest::mouseClick(road.app->measure().Set_grid, Qt::LeftButton);
        ASSERT_EQ(road.app->state.currentGrid, 2);
        road.measureAndCheck(*jump);
    }
    for (const auto& message : road.env.dialogs().messages())
        if (message.prompt != QStringLiteral("Do you want to save this video capture?"))
            ADD_FAILURE() << message.prompt.toStdString();
}

} // namespace

TEST(DemoRoad, SeedOneMeasuresTheTruth) {
    walkTheRoad(1, 1);
}

TEST(DemoRoad, SeedSevenMeasuresTheTruth) {
    walkTheRoad(7, 1);
}

TEST(DemoRoad, SeedTwelveWithTwoGridsMeasuresTheTruth) {
    walkTheRoad(12, 2);
}

TEST(DemoFiles, SurveyTruthAndTheClipAgree) {
    TestEnv env;
    const QString folder = env.path(QStringLiteral("demo"));
    ASSERT_EQ(writeDemoFiles(folder, pictureSize, 25, 5), QString());
    EXPECT_EQ(readAll(folder + QStringLiteral("/demo-survey.txt")),
              QByteArray("upper right: 59 6\nlower right: 59 -6\nupper left: 25 6\n"
                         "lower left: 25 -6\ncheck buoy: 45 1.5\njump: 0 0\n"));
    const KeyValues truth = readKeyValues(folder + QStringLiteral("/demo-truth.txt"));
    EXPECT_EQ(
        truth.keys(),
        QStringList({"check buoy", "contact frame", "distance", "distance normal", "landing screen",
                     "landing water", "lower left", "lower right", "upper left", "upper right"}));
    const DemoLake lake(pictureSize, 5);
    const DemoJump jump = lake.jump(0);
    EXPECT_EQ(truth.value(QStringLiteral("contact frame")),
              QList<double>{double(DemoLake::contactFrame(jump, 25))});
    EXPECT_NEAR(truth.value(QStringLiteral("distance")).value(0), jump.distance, 1e-9);

    // The clip: every frame in order, the contact frame among them.
    const test::ClipCodes codes = test::clipCodes(folder + QStringLiteral("/DEMOjump1.avi"));
    ASSERT_TRUE(codes.opened);
    const int contact = DemoLake::contactFrame(jump, 25);
    ASSERT_GT(static_cast<int>(codes.codes.size()), contact);
    EXPECT_EQ(codes.codes[static_cast<size_t>(contact)], contact);
    EXPECT_EQ(test::counterBreaks(codes.codes), 0);

    // The setup picture shows no skier: the same as the scene without one.
    const QImage setup(folder + QStringLiteral("/demo-setup.bmp"));
    EXPECT_EQ(setup.size(), pictureSize);
    EXPECT_EQ(setup.convertToFormat(QImage::Format_RGB888),
              lake.render(0.2, false).convertToFormat(QImage::Format_RGB888));
}

TEST(DemoFiles, AFolderThatCannotBeMadeIsNamed) {
    TestEnv env;
    const QString file = env.path(QStringLiteral("plain"));
    test::writeAll(file, "x");
    const QString error = writeDemoFiles(file + QStringLiteral("/demo"), pictureSize, 30, 1);
    EXPECT_TRUE(error.contains(file)) << error.toStdString();
}
