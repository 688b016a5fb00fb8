// The grid setup screen under the offscreen platform, the way an official
// works it: a picture, the survey typed in, the points clicked and nudged,
// Complete, the accuracy check, save, grid switching and exit.

#include "app/KeyState.h"
#include "app/TextFormat.h"
#include "app/ui/PictureLabel.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace zt;
using zt::test::readAll;
using zt::test::TestEnv;

namespace {

// The camera of these tests: X = a / 100 / D, Y = b / 100 / D with
// D = 1 + b / 100000 (a mild perspective); survey values to the centimetre.
QPointF surveyOfPixel(QPoint px) {
    const double a = px.x() * 15.0, b = px.y() * 15.0, d = 1 + b / 100000;
    return {roundTo(a / 100 / d, 2), roundTo(b / 100 / d, 2)};
}

struct SetupScreen {
    TestEnv env;
    App& app = env.app();
    Grid_Setup& gs = app.gridSetup();
    KeyState keys;
    QString folder = env.path(QStringLiteral("grids"));
    QString pictures = env.path(QStringLiteral("pictures"));
    QString results = env.path(QStringLiteral("results.txt"));

    SetupScreen() {
        QDir().mkpath(folder);
        QDir().mkpath(pictures);
        app.state.setupFilesPath = folder;
        app.state.logFilePath = results;
        app.state.videoDir = env.videoDir();
        app.state.pictureDir = pictures;
        gs.setKeyState(keys);
        gs.show();
    }

    void loadPicture() {
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor(30, 80, 120));
        const QString path = pictures + QStringLiteral("/camera.bmp");
        picture.save(path);
        env.dialogs().answerText(path);
        gs.mnuLoadPicture_Click();
    }

    void type(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    void typeSurvey(QLineEdit* x, QLineEdit* y, QPoint px) {
        const QPointF s = surveyOfPixel(px);
        type(x, numberText(s.x()));
        type(y, numberText(s.y()));
    }

    void clickPoint(QRadioButton* option, QPoint px) {
        option->click();
        gs.canvas().setZoomAbout(Zoom::Actual, {0, 0}); // picture pixels as they are
        QTest::mouseClick(gs.canvas().surface(), Qt::LeftButton, {}, px);
    }

    // The five points of the tests' camera, the lower right one nudged two
    // pixels into place with the held right arrow.
    void markAll() {
        typeSurvey(gs.ul_survey_x, gs.ul_survey_y, {150, 120});
        typeSurvey(gs.ur_survey_x, gs.ur_survey_y, {500, 125});
        typeSurvey(gs.ll_survey_x, gs.ll_survey_y, {40, 380});
        typeSurvey(gs.lr_survey_x, gs.lr_survey_y, {600, 375});
        typeSurvey(gs.txtCheckX, gs.txtCheckY, {330, 250});
        type(gs.jump_x, QStringLiteral("10"));
        type(gs.jump_y, QStringLiteral("-20"));
        clickPoint(gs.upper_left_button, {150, 120});
        clickPoint(gs.upper_right_button, {500, 125});
        clickPoint(gs.lower_left_button, {40, 380});
        clickPoint(gs.lower_right_button, {598, 375});
        keys.press(Qt::Key_Right);
        gs.keyTimer_Timer();
        gs.keyTimer_Timer();
        keys.release(Qt::Key_Right);
        gs.keyTimer_Timer(); // released: no step
        clickPoint(gs.optCheckBuoy, {330, 250});
    }
};

} // namespace

TEST(GridSetupScreen, AWholeSetupAsAnOfficialWalksIt) {
    SetupScreen t;
    t.app.state.gridCount = 2;
    t.loadPicture();
    EXPECT_EQ(t.gs.txtPicWidth->text(), QStringLiteral("9584.71698113207"));
    EXPECT_EQ(t.app.state.pictureWidthText, t.gs.txtPicWidth->text());
    EXPECT_EQ(t.gs.canvas().picture().width(), 640);
    t.markAll();
    EXPECT_EQ(t.gs.lower_right_x->text(), QStringLiteral("9000")); // 598 px + 2 nudges
    EXPECT_EQ(t.gs.lrMarkX, 9000);
    EXPECT_EQ(t.app.state.buoyScreenX[2], 9000);
    EXPECT_EQ(t.gs.txtCheckXpix->text(), QStringLiteral("4950"));
    ASSERT_TRUE(t.env.dialogs().recorded().size() == 1); // only the picture dialog so far

    t.gs.Load->click(); // Complete
    EXPECT_TRUE(t.env.dialogs().messages().isEmpty())
        << t.env.dialogs().prompts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(t.app.state.grid1Ready);
    EXPECT_EQ(t.app.state.gridsReady, 0); // grid 2 is in use and not ready
    EXPECT_EQ(pictureNameOf(t.gs.grid_state_icon), QStringLiteral("face02.ico"));
    EXPECT_EQ(pictureNameOf(t.app.mainForm().ImageGrid1), readyGridPicture);
    EXPECT_EQ(t.app.mainForm().txtGridDescription[0]->text(), QStringLiteral("not saved"));
    EXPECT_TRUE(t.gs.btnAccuracyCheck->isEnabled());

    const QString ul = QStringLiteral("Upper Left X,Y Survey: ") +
                       numberText(surveyOfPixel({150, 120}).x()) + QStringLiteral("  ") +
                       numberText(surveyOfPixel({150, 120}).y());
    const QByteArray record =
        QStringLiteral(
            "12-08-2026 13:05:09 New Set-up now in place\r\nNo File\r\n\r\n"
            "Grid Number:  1 \r\n \r\n"
            "Upper Left X,Y Pixels: 2250  1800\r\n%1\r\n \r\n"
            "Lower Left X,Y Pixels: 600  5700\r\nLower Left X,Y Survey: 5.68  53.93\r\n"
            " \r\n"
            "Upper Right X,Y Pixels: 7500  1875\r\nUpper Right X,Y Survey: 73.62  18.4\r\n"
            " \r\n"
            "Lower Right X,Y Pixels: 9000  5625\r\nLower Right X,Y Survey: 85.21  53.25\r\n"
            " \r\nJump X,Y Survey: 10  -20\r\n \r\n"
            "Check Buoy X,Y Pixels:  0    0 \r\nCheck Buoy X,Y Survey:  47.71    36.14 \r\n"
            " \r\n")
            .arg(ul)
            .toLatin1();
    EXPECT_EQ(readAll(t.results), record);

    // Accuracy check, standard mode: the path lines, the question (0, 8 and
    // text ask again) and the chosen line's seven labels.
    for (const char* answer : {"0", "8", "four", "4"})
        t.env.dialogs().answerText(QLatin1String(answer));
    t.gs.btnAccuracyCheck->click();
    EXPECT_EQ(t.env.dialogs().prompts().count(QStringLiteral(
                  "Pick the line number that best represents where the skier will land")),
              4);
    int shown = 0;
    for (size_t i = 0; i < t.gs.AccuracyIndicator.size(); ++i)
        if (!t.gs.AccuracyIndicator[i]->isHidden()) {
            ++shown;
            EXPECT_EQ(i % 7, 3u) << i; // line 4 is down index 3
        }
    EXPECT_EQ(shown, 7);
    for (QLabel* l : t.gs.LineLabel)
        EXPECT_TRUE(l->isHidden());
    const QString accFile = t.env.videoDir() + QStringLiteral("/acc1208.txt");
    const QString acc = QString::fromLatin1(readAll(accFile));
    EXPECT_TRUE(acc.startsWith(
        QStringLiteral("12-08-2026  13:05:09 Accuracy Check\r\nGrid Set-up for accuracy check\r\n"
                       "No File\r\n\r\nGrid Number:  1 \r\n \r\nFront Ratio: 87.6395204630013\r\n"
                       "Back Ratio: 54.7747002893758\r\nUpper Left X,Y Pixels: 2250  1800\r\n")))
        << acc.left(900).toStdString();
    EXPECT_TRUE(acc.contains(QStringLiteral("Jump X,Y Survey: 10  -20\r\n \r\n"
                                            "Check Buoy X,Y Pixels: 4950  3750\r\n"
                                            "Check Buoy X,Y Survey: 47.71  36.14\r\n \r\n"
                                            "xpix: 2250  ypix: 1800  x: ")));
    const QRegularExpression line(QStringLiteral(
        "^xpix: -?\\d+  ypix: -?\\d+  x: \\S+  y: \\S+  distance: \\S+  v inc: \\S+  h inc: \\S+  "
        "delta: \\S+$"));
    EXPECT_EQ(acc.split(QStringLiteral("\r\n")).filter(line).size(), 49);
    EXPECT_TRUE(acc.endsWith(QStringLiteral("\r\nAccuracy Check Complete\r\n\r\n")));
    // The map is there to switch on.
    EXPECT_FALSE(t.gs.chkAccuracyMap->isHidden());
    t.gs.chkAccuracyMap->click();
    EXPECT_TRUE(t.gs.canvas().hasOverlay());

    // A second check the same day appends.
    t.env.dialogs().answerText(QStringLiteral("2"));
    t.gs.btnAccuracyCheck->click();
    EXPECT_EQ(QString::fromLatin1(readAll(accFile)).count(QStringLiteral(" Accuracy Check\r\n")),
              2);

    // Save, switch to grid 2 and back, leave.
    const QString saved = t.folder + QStringLiteral("/camera1.ipt");
    t.env.dialogs().answerText(saved);
    t.env.dialogs().answerText(QStringLiteral("north camera"));
    t.env.dialogs().answer(MsgAnswer::Yes);
    t.gs.gridSave_Click();
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File")), saved);
    ASSERT_TRUE(QFile::exists(saved + QStringLiteral(".cb")));
    EXPECT_EQ(readAll(saved + QStringLiteral(".cb")).left(14), QByteArray(" 4950 \r\n 3750 "));

    t.gs.grid_select->click();
    EXPECT_EQ(t.gs.grid_select->text(), QStringLiteral("Grid 2"));
    EXPECT_EQ(t.gs.upper_left_x->text(), QStringLiteral("0"));
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File")), saved); // no operator edit
    t.gs.grid_select->click();
    EXPECT_EQ(t.gs.grid_select->text(), QStringLiteral("Grid 1"));
    EXPECT_EQ(t.gs.upper_left_x->text(), QStringLiteral("2250"));
    EXPECT_TRUE(t.gs.btnAccuracyCheck->isEnabled());

    t.env.dialogs().answer(MsgAnswer::Yes); // leave with grid 2 not set up
    t.gs.gridExit_Click();
    EXPECT_FALSE(t.gs.isVisible());
    EXPECT_TRUE(t.app.mainForm().isVisible());
}

TEST(GridSetupScreen, PointsNeedAnOptionAndTheLockMovesAllFive) {
    SetupScreen t;
    t.loadPicture();
    QTest::mouseClick(t.gs.canvas().surface(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(t.gs.upper_left_x->text(), QStringLiteral("auto")); // no option: nothing
    EXPECT_TRUE(t.gs.canvas().displayList().empty());

    // The lock needs all four buoys and the check buoy first.
    t.gs.chkboxGridLock->click();
    EXPECT_FALSE(t.gs.chkboxGridLock->isChecked());
    EXPECT_EQ(t.env.dialogs().messages().size(), 1);

    t.markAll();
    t.gs.chkboxGridLock->click();
    ASSERT_TRUE(t.gs.chkboxGridLock->isChecked());
    EXPECT_FALSE(t.gs.gridLockedLabel->isHidden());
    t.clickPoint(t.gs.upper_right_button, {510, 115}); // 10 px right, 10 px up
    EXPECT_EQ(t.gs.upper_left_x->text(), QStringLiteral("2400"));
    EXPECT_EQ(t.gs.upper_left_y->text(), QStringLiteral("1650"));
    EXPECT_EQ(t.gs.lower_right_x->text(), QStringLiteral("9150"));
    EXPECT_EQ(t.gs.txtCheckXpix->text(), QStringLiteral("5100"));
    EXPECT_EQ(t.gs.txtCheckYpix->text(), QStringLiteral("3600"));
    // The old markers overdrawn in magenta, the new crosses in black.
    int magenta = 0, black = 0;
    for (const CanvasPrimitive& p : t.gs.canvas().displayList()) {
        magenta += p.color == QColor(255, 0, 255);
        black += p.color == QColor(Qt::black);
    }
    EXPECT_GE(magenta, 15); // five circles and crosses
    EXPECT_GE(black, 10);
}

TEST(GridSetupScreen, AnEditOfAReadyGridMarksItChangedAndSwitchingCycles) {
    SetupScreen t;
    t.app.state.gridCount = 2;
    t.loadPicture();
    t.markAll();
    t.gs.Load->click();
    ASSERT_TRUE(t.app.state.grid1Ready);
    t.env.settings().write(QStringLiteral("grid1File"), QStringLiteral("/grids/one.ipt"));
    t.app.mainView().showGridState(1, true);
    t.type(t.gs.jump_x, QStringLiteral("11"));
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File"), QStringLiteral("x")), QString());
    EXPECT_EQ(pictureNameOf(t.app.mainForm().ImageGrid1), notReadyGridPicture);
    EXPECT_EQ(pictureNameOf(t.gs.grid_state_icon), QStringLiteral("msgbox03.ico"));
    EXPECT_FALSE(t.gs.btnAccuracyCheck->isEnabled());
    EXPECT_EQ(t.app.state.gridsReady, 0);
    EXPECT_TRUE(t.app.state.grid1Ready); // its own flag stays
    EXPECT_EQ(t.app.state.jumpX, 11);

    // "Grid 2" with two grids in use returns to "Grid 1".
    t.gs.grid_select->click();
    t.gs.grid_select->click();
    EXPECT_EQ(t.gs.grid_select->text(), QStringLiteral("Grid 1"));
    EXPECT_EQ(t.app.state.currentGrid, 1);
    // The stored grid 1 comes back: the jump point as completed.
    EXPECT_EQ(t.gs.jump_x->text(), QStringLiteral("10"));
}

TEST(GridSetupScreen, ACheckBuoyOffItsPlaceIsShownWhereItShouldBe) {
    SetupScreen t;
    t.loadPicture();
    t.markAll();
    t.clickPoint(t.gs.optCheckBuoy, {340, 250}); // 10 px off
    t.gs.Load->click();
    ASSERT_EQ(t.env.dialogs().messages().size(), 1);
    EXPECT_EQ(t.env.dialogs().messages()[0].prompt, QStringLiteral("Check Buoy Does not Validate"));
    EXPECT_FALSE(t.app.state.grid1Ready);
    EXPECT_FALSE(t.gs.lblCB->isHidden());
    EXPECT_NEAR(t.gs.lblCB->x(), 331, 2);      // 15 twips right of the predicted x (330 px)
    EXPECT_TRUE(readAll(t.results).isEmpty()); // nothing logged to the results file
}

TEST(GridSetupScreen, AccuracyFileThatCannotBeWrittenDrawsNothing) {
    SetupScreen t;
    t.loadPicture();
    t.markAll();
    t.gs.Load->click();
    t.app.state.videoDir = t.env.path(QStringLiteral("gone"));
    t.gs.optAdvancedAccuracy->click();
    t.gs.btnAccuracyCheck->click();
    ASSERT_EQ(t.env.dialogs().messages().size(), 1);
    EXPECT_TRUE(t.env.dialogs().messages()[0].prompt.contains(t.app.state.videoDir));
    for (QLabel* l : t.gs.AccuracyIndicator)
        EXPECT_TRUE(l->isHidden());
    EXPECT_TRUE(t.app.state.grid1Ready);
}

TEST(GridSetupScreen, CompleteWithABoxLeftAndLeavingWithAGridNotReady) {
    SetupScreen t;
    t.app.state.gridCount = 2;
    t.loadPicture();
    t.markAll();
    t.type(t.gs.ur_survey_y, QStringLiteral("input"));
    t.gs.Load->click();
    ASSERT_EQ(t.env.dialogs().messages().size(), 1);
    EXPECT_EQ(t.env.dialogs().messages()[0].prompt,
              QStringLiteral("Warning - Not all parameters have been set up on grid"));
    EXPECT_EQ(t.env.dialogs().messages()[0].title, QStringLiteral("Error Message"));
    EXPECT_FALSE(t.app.state.grid1Ready);
    EXPECT_TRUE(QString::fromLatin1(readAll(t.results))
                    .contains(QStringLiteral("Upper Right X,Y Survey: 73.62  input\r\n")));

    // Leaving with a grid not ready asks; No stays, the status is logged.
    t.env.dialogs().clear();
    t.env.dialogs().answer(MsgAnswer::No);
    t.gs.gridExit_Click();
    ASSERT_EQ(t.env.dialogs().messages().size(), 1);
    EXPECT_EQ(t.env.dialogs().messages()[0].prompt,
              QStringLiteral("Do you want to leave the grid setup with all configured grids not "
                             "setup?"));
    EXPECT_EQ(t.env.dialogs().messages()[0].title, QStringLiteral("Grid Setup Error"));
    EXPECT_TRUE(t.gs.isVisible());
    const QString log =
        QString::fromLatin1(readAll(t.env.exchangeDir() + QStringLiteral("/DebugLog.txt")));
    EXPECT_TRUE(log.contains(QStringLiteral("status on exit of grid setup\r\n")));
    EXPECT_TRUE(log.contains(QStringLiteral("end of status\r\n")));
}

TEST(GridSetupScreen, MarksOnlyOnItsOwnWholePicture) {
    SetupScreen t;
    t.loadPicture(); // 640 x 480 pixels
    const QString widthBefore = t.gs.txtPicWidth->text();
    // A click beside the picture places nothing.
    t.clickPoint(t.gs.upper_left_button, {700, 100});
    EXPECT_EQ(t.gs.upper_left_x->text(), QStringLiteral("auto"));
    t.clickPoint(t.gs.upper_left_button, {100, 100});
    EXPECT_NE(t.gs.upper_left_x->text(), QStringLiteral("auto"));

    // A cut-off bitmap is refused with its reason; the picture stays.
    const QString whole = t.pictures + QStringLiteral("/camera.bmp");
    const QString half = t.pictures + QStringLiteral("/half.bmp");
    zt::test::writeAll(half, zt::test::readAll(whole).left(100000));
    t.env.dialogs().clear();
    t.env.dialogs().answerText(half);
    t.gs.mnuLoadPicture_Click();
    ASSERT_EQ(t.env.dialogs().messages().size(), 1);
    EXPECT_EQ(t.env.dialogs().messages()[0].prompt,
              QStringLiteral("The picture could not be loaded: ") + half +
                  QStringLiteral(": the file is cut off"));
    EXPECT_EQ(t.gs.txtPicWidth->text(), widthBefore);
}

TEST(GridSetupScreen, CompleteMeasuresTheGridAgainstItsOwnPicture) {
    // A larger picture loaded on the measure screen in between does not
    // change the grid setup's picture or the width its grid is held to.
    SetupScreen t;
    t.loadPicture(); // 640 x 480 pixels
    t.markAll();
    const QString width = t.gs.txtPicWidth->text();
    const QString other = t.pictures + QStringLiteral("/wide.bmp");
    QImage wide(1920, 1080, QImage::Format_RGB32);
    wide.fill(Qt::darkBlue);
    ASSERT_TRUE(wide.save(other));
    t.app.state.pictureExt = QStringLiteral(".bmp");
    t.app.state.pictureDir = t.pictures + QLatin1Char('/');
    t.gs.hide();
    t.app.showScreen(Screen::Measure);
    t.env.dialogs().answerText(other);
    t.app.measure().LoadPict->trigger();
    ASSERT_EQ(t.app.measure().canvas().picture().width(), 1920);
    t.app.showScreen(Screen::GridSetup);
    EXPECT_EQ(t.gs.txtPicWidth->text(), width);
    EXPECT_EQ(t.gs.canvas().picture().width(), 640);
    t.env.dialogs().clear();
    t.gs.Load->click(); // Complete
    EXPECT_TRUE(t.app.state.grid1Ready)
        << t.env.dialogs().prompts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(t.env.dialogs().messages().isEmpty())
        << t.env.dialogs().prompts().join(QLatin1Char('|')).toStdString();
}
