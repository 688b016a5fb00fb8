// The calibration line: the conversion of its end points and the lines the
// assistant draws on the measure and grid setup screens.

#include "grid/ui/Grid_Setup.h"
#include "measure/CalibrationLine.h"
#include "measure/ui/Calibrate.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "support/GridFixtures.h"
#include "support/TestEnv.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace zt;

namespace {

std::vector<CanvasPrimitive> lines(const PictureCanvas& c) {
    std::vector<CanvasPrimitive> out;
    for (const CanvasPrimitive& p : c.displayList())
        if (p.kind == CanvasPrimitive::Line)
            out.push_back(p);
    return out;
}

const QColor eraseColor(255, 0, 255);

} // namespace

TEST(CalibrationLine, ConvertsEitherWay) {
    GridState s = zt::test::solvedTestGrid();
    // "Actual" with the two surveyed upper buoys: the twips are the markers.
    CalibrationBoxes b;
    b.actualX1 = QStringLiteral("30"), b.actualY1 = QStringLiteral("15");
    b.actualX2 = QStringLiteral("60"), b.actualY2 = QStringLiteral("15");
    auto out = convertCalibrationLine(s, b, true);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->twipsX1, QStringLiteral("3100"));
    EXPECT_EQ(out->twipsY1, QStringLiteral("2450"));
    EXPECT_EQ(out->twipsX2, QStringLiteral("9000"));
    EXPECT_EQ(out->twipsY2, QStringLiteral("2500"));
    EXPECT_EQ(calibrationSegment(*out), (CalibrationSegment{3100, 2450, 9000, 2500}));

    // "Screen" with the marks of the lower right and upper left buoys: the
    // meters are their survey, X and Y each in its own box.
    CalibrationBoxes m;
    m.twipsX1 = QStringLiteral("9700"), m.twipsY1 = QStringLiteral("6000");
    m.twipsX2 = QStringLiteral("3100"), m.twipsY2 = QStringLiteral("2450");
    out = convertCalibrationLine(s, m, false);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->actualX1, QStringLiteral("60"));
    EXPECT_EQ(out->actualY1, QStringLiteral("0"));
    EXPECT_EQ(out->actualX2, QStringLiteral("30"));
    EXPECT_EQ(out->actualY2, QStringLiteral("15"));

    // "Screen" with both points equal: a line of no length, equal pairs.
    CalibrationBoxes p;
    p.twipsX1 = p.twipsX2 = QStringLiteral("6000");
    p.twipsY1 = p.twipsY2 = QStringLiteral("4000");
    out = convertCalibrationLine(s, p, false);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->actualX1, out->actualX2);
    EXPECT_EQ(out->actualY1, out->actualY2);
    EXPECT_FALSE(out->actualX1.isEmpty());
    EXPECT_EQ(calibrationSegment(*out), (CalibrationSegment{6000, 4000, 6000, 4000}));

    // No grid: nothing converts, the registers stay.
    GridState none;
    none.screenX = 7;
    EXPECT_FALSE(convertCalibrationLine(none, b, true));
    EXPECT_EQ(none.screenX, 7);
}

TEST(CalibrationLine, WaterBehindTheCameraIsNotDrawn) {
    // The inverse gives a point behind the camera a screen place too, on
    // the far side of the horizon: nothing the camera saw.
    GridState s = zt::test::solvedTestGrid();
    CalibrationBoxes b;
    b.actualX1 = QStringLiteral("30"), b.actualY1 = QStringLiteral("15");
    b.actualX2 = QStringLiteral("45"), b.actualY2 = QStringLiteral("-10000");
    const GridState before = s;
    EXPECT_FALSE(convertCalibrationLine(s, b, true));
    EXPECT_EQ(s.screenX, before.screenX);
    b.actualY2 = QStringLiteral("0");
    EXPECT_TRUE(convertCalibrationLine(s, b, true));
}

TEST(CalibrationScreen, DrawsOnBothScreensAndErasesTheLastLine) {
    test::TestEnv env;
    App& app = env.app();
    zt::test::markTestGrid(app.state);
    Calibrate& c = app.calibrate();
    PictureCanvas& measure = app.measure().canvas();
    PictureCanvas& setup = app.gridSetup().canvas();
    measure.clearDrawing();
    setup.clearDrawing();

    c.CalibrationLineXActual->setText(QStringLiteral("30"));
    c.CalibrationLineYActual->setText(QStringLiteral("15"));
    c.CalibrationLineXActual2->setText(QStringLiteral("60"));
    c.CalibrationLineYActual2->setText(QStringLiteral("15"));
    c.CalibrateLineDrawCommand->click();
    EXPECT_EQ(c.CalibrationLineXTwips2->text(), QStringLiteral("9000"));
    for (PictureCanvas* canvas : {&measure, &setup}) {
        const auto l = lines(*canvas);
        ASSERT_EQ(l.size(), 2u);
        // First the last line (none yet: zero length at 0, 0) in the eraseColor colour.
        EXPECT_EQ(l[0].color, eraseColor);
        EXPECT_EQ(l[0].x1, 0);
        EXPECT_EQ(l[0].x2, 0);
        EXPECT_EQ(l[1].color, QColor(Qt::white));
        EXPECT_EQ(l[1].x1, 3100);
        EXPECT_EQ(l[1].y2, 2500);
    }

    // "Erase" twice draws the same eraseColor line twice; the next "Draw" erases
    // it once more first.
    c.CalibrationLineErase->click();
    c.CalibrationLineErase->click();
    c.CalibrationLineUnitsSelect->click();
    EXPECT_EQ(c.CalibrationLineUnitsSelect->text(), QStringLiteral("Screen"));
    c.CalibrationLineXTwips->setText(QStringLiteral("4000"));
    c.CalibrateLineDrawCommand->click();
    const auto l = lines(measure);
    ASSERT_EQ(l.size(), 6u);
    for (size_t i : {2u, 3u, 4u}) {
        EXPECT_EQ(l[i].color, eraseColor);
        EXPECT_EQ(l[i].x1, 3100);
    }
    EXPECT_EQ(l[5].x1, 4000);
    EXPECT_NE(c.CalibrationLineXActual->text(), QStringLiteral("30"));
    EXPECT_EQ(c.lastLine().x1, 4000);
}

TEST(CalibrationScreen, ALineTheGridCannotConvertChangesNothing) {
    test::TestEnv env;
    App& app = env.app(); // no grid: every coefficient 0
    Calibrate& c = app.calibrate();
    app.measure().canvas().clearDrawing();
    c.CalibrationLineXActual->setText(QStringLiteral("30"));
    c.CalibrationLineXTwips->setText(QStringLiteral("123"));
    c.CalibrateLineDrawCommand->click();
    EXPECT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(c.CalibrationLineXTwips->text(), QStringLiteral("123"));
    EXPECT_TRUE(lines(app.measure().canvas()).empty());
    EXPECT_EQ(c.lastLine(), CalibrationSegment{});
}
