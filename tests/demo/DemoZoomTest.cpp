// The demo lake measured as an official would with the zoom: the grid set
// up on the 1280 x 720 setup picture and the landings clicked on the
// measure screen, every click on the screen pixel nearest the truth, once
// at 1:1 and once at 4x. Zoomed in, the clicks fall between the picture's
// pixels, and the distances come out closer to the truth.

#include "demo/DemoLake.h"
#include "grid/GridModel.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>

using namespace zt;
using zt::test::TestEnv;

namespace {

constexpr int jumpsPerSeed = 5;

// The screen pixel nearest a picture position, shown at the step.
void clickNearest(PictureCanvas& canvas, Zoom zoom, QPointF twips) {
    canvas.zoomTo(zoom, twips.x(), twips.y());
    const QPointF at = canvas.view().contentOfTwips(twips);
    QTest::mouseClick(canvas.surface(), Qt::LeftButton, {},
                      QPoint(int(std::lround(at.x())), int(std::lround(at.y()))));
}

void type(QLineEdit* box, double value) {
    box->setText(QString::number(value, 'g', 12));
}

// Mean absolute error in meters of the demo's landings measured at a zoom
// step, the grid set up at the same step.
double meanError(unsigned seed, Zoom zoom) {
    TestEnv env;
    App& app = env.app();
    const DemoLake lake(QSize(1280, 720), seed);
    const DemoSurvey& s = lake.survey();
    app.state.logFilePath = env.path(QStringLiteral("results.txt"));
    app.state.videoDir = env.videoDir();
    app.state.pictureDir = env.path(QStringLiteral("pictures"));
    QDir().mkpath(app.state.pictureDir);
    const QString setupPicture = app.state.pictureDir + QStringLiteral("/setup.bmp");
    EXPECT_TRUE(lake.render(0, false).save(setupPicture, "BMP"));

    Grid_Setup& gs = app.gridSetup();
    gs.show();
    env.dialogs().answerText(setupPicture);
    gs.mnuLoadPicture_Click();
    EXPECT_EQ(gs.canvas().picture().size(), QSize(1280, 720));
    const struct {
        QRadioButton* option;
        QLineEdit *x, *y;
        PlanePoint at;
    } points[] = {{gs.upper_left_button, gs.ul_survey_x, gs.ul_survey_y, s.upperLeft},
                  {gs.upper_right_button, gs.ur_survey_x, gs.ur_survey_y, s.upperRight},
                  {gs.lower_left_button, gs.ll_survey_x, gs.ll_survey_y, s.lowerLeft},
                  {gs.lower_right_button, gs.lr_survey_x, gs.lr_survey_y, s.lowerRight},
                  {gs.optCheckBuoy, gs.txtCheckX, gs.txtCheckY, s.checkBuoy}};
    for (const auto& p : points) {
        type(p.x, p.at.x);
        type(p.y, p.at.y);
    }
    type(gs.jump_x, s.jump.x);
    type(gs.jump_y, s.jump.y);
    for (const auto& p : points) {
        p.option->click();
        clickNearest(gs.canvas(), zoom, lake.twipsOf(p.at));
    }
    gs.Load->click();
    EXPECT_EQ(app.state.gridsReady, 1);
    for (const auto& m : env.dialogs().messages())
        ADD_FAILURE() << m.prompt.toStdString();
    gs.hide();

    const DemoJump first = lake.jump(0);
    EXPECT_TRUE(lake.render(first.landingTime)
                    .save(env.appDir() + QStringLiteral("/currentcapture.bmp"), "BMP"));
    app.state.screenMode = QStringLiteral("SelectFrame");
    Measure& m = app.measure();
    app.showScreen(Screen::Measure);
    EXPECT_EQ(m.canvas().picture().size(), QSize(1280, 720));
    m.Skier_name->setEditText(QStringLiteral("DEMO"));
    double sum = 0;
    for (int k = 0; k < jumpsPerSeed; ++k) {
        const DemoJump jump = lake.jump(k);
        clickNearest(m.canvas(), zoom, lake.twipsOf(jump.landing));
        QTest::mouseClick(m.Record, Qt::LeftButton);
        const double measured = m.lastDistanceText().toDouble();
        sum += std::abs(measured - (jump.distance + tournamentCorrection(false, false)));
    }
    return sum / jumpsPerSeed;
}

} // namespace

TEST(DemoZoom, LandingsClickedAt4xMeasureCloserThanAt1To1) {
    double one = 0, four = 0;
    const unsigned seeds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (unsigned seed : seeds) {
        const double e1 = meanError(seed, Zoom::Actual), e4 = meanError(seed, Zoom::Four);
        std::cout << "seed " << seed << ": mean error 1:1 " << e1 * 100 << " cm, 4x " << e4 * 100
                  << " cm\n";
        one += e1;
        four += e4;
    }
    one /= std::size(seeds);
    four /= std::size(seeds);
    std::cout << "over " << std::size(seeds) << " seeds: 1:1 " << one * 100 << " cm, 4x "
              << four * 100 << " cm\n";
    EXPECT_GT(one, 0.001); // whole pixels are about 3 cm here
    EXPECT_LE(four, one / 3);
}
