// Official distance, live readout, buoy labels and splash indicator.

#include "measure/DistanceText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace zt;

namespace {

// X = a / 100, Y = b / 100 (meters from twips); jump point at the origin.
GridState linearGrid() {
    GridState s;
    Coefficients c;
    c[2] = 0.01;
    c[8] = 0.01;
    s.setCoefficients(c);
    return s;
}

} // namespace

TEST(DistanceText, OfficialTexts) {
    // 45.36 m: one decimal 45.4, feet 45.36 / 0.3048 = 148.82 -> 149.
    OfficialDistance d = officialDistanceTexts(45.36, false);
    EXPECT_EQ(d.distanceText, QStringLiteral("45.36"));
    EXPECT_EQ(d.lastDistanceText, QStringLiteral("45.36"));
    EXPECT_EQ(d.metersText, QStringLiteral("45.4"));
    EXPECT_EQ(d.feetText, QStringLiteral("149"));
    EXPECT_EQ(d.metersShown, QStringLiteral("45.4m"));
    EXPECT_EQ(d.feetShown, QStringLiteral("149ft"));

    // Barefoot 20.123 m: feet to tenths give 66.0, written 66.
    d = officialDistanceTexts(20.123, true);
    EXPECT_EQ(d.metersShown, QStringLiteral("20.1m"));
    EXPECT_EQ(d.feetShown, QStringLiteral("66ft"));
    d = officialDistanceTexts(20.18, true); // 662.07 tenths
    EXPECT_EQ(d.feetShown, QStringLiteral("66.2ft"));
    d = officialDistanceTexts(20.18, false);
    EXPECT_EQ(d.feetShown, QStringLiteral("66ft"));

    // Four decimals rounded half up; whole numbers without a point.
    d = officialDistanceTexts(45.342149999, false);
    EXPECT_EQ(d.lastDistanceText, QStringLiteral("45.3421"));
    EXPECT_EQ(officialDistanceTexts(12.34567, false).lastDistanceText, QStringLiteral("12.3457"));
    d = officialDistanceTexts(30, false);
    EXPECT_EQ(d.metersShown, QStringLiteral("30m"));
    EXPECT_EQ(d.feetShown, QStringLiteral("98ft"));
    EXPECT_EQ(d.lastDistanceText, QStringLiteral("30"));
}

TEST(DistanceText, DistanceOfTheMark) {
    GridState s = linearGrid();
    // 43.26 m straight plus 2.1 m for an ordinary jump.
    auto d = distanceOfMark(s, 4326, 0, {});
    ASSERT_TRUE(d);
    EXPECT_EQ(d->metersShown, QStringLiteral("45.4m"));
    EXPECT_EQ(d->feetShown, QStringLiteral("149ft"));
    EXPECT_EQ(s.screenX, 4326);
    EXPECT_DOUBLE_EQ(s.waterX, 43.26); // the water point carries no correction

    // Sit-ski: 1.9 m, feet to tenths; barefoot: none.
    d = distanceOfMark(s, 3000, 4000, {false, true, true});
    EXPECT_EQ(d->distanceText, QStringLiteral("51.9"));
    EXPECT_EQ(d->feetText, QStringLiteral("170.3")); // 51.9 / 0.3048 = 170.28
    d = distanceOfMark(s, 3000, 4000, {true, false, true});
    EXPECT_EQ(d->distanceText, QStringLiteral("50"));

    // On the vanishing line the transform fails: registers stay as they were.
    Coefficients c = s.coefficients();
    c[4] = -0.001; // denominator zero at a = 1000
    s.setCoefficients(c);
    s.screenX = 11, s.screenY = 12, s.waterX = 13, s.waterY = 14;
    EXPECT_FALSE(distanceOfMark(s, 1000, 50, {}));
    EXPECT_EQ(s.screenX, 11);
    EXPECT_EQ(s.screenY, 12);
    EXPECT_EQ(s.waterX, 13);
    EXPECT_EQ(s.waterY, 14);
}

TEST(DistanceText, LiveReadout) {
    GridState s = linearGrid();
    s.waterX = 99;
    auto r = liveReadout(s, 4326.7, 0.4, {});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->xtwips, QStringLiteral("4326"));
    EXPECT_EQ(r->ytwips, QStringLiteral("0"));
    EXPECT_EQ(r->xposition, QStringLiteral("43.27"));
    EXPECT_EQ(r->yposition, QStringLiteral("0"));
    EXPECT_EQ(s.screenX, 4326.7);
    EXPECT_EQ(s.waterX, 99); // the readout leaves the water point alone

    // The same 45.36 m as the official example: 45.4m 149ft (3.28 ft/m).
    r = liveReadout(s, 4326, 0, {});
    EXPECT_EQ(r->verifyDistance, QStringLiteral("45.4m 149ft"));
    EXPECT_EQ(verifyDistanceText(45.3), QStringLiteral("45.3m 149ft"));
    // Barefoot: no correction.
    r = liveReadout(s, 4326, 0, {true, false, true});
    EXPECT_EQ(r->verifyDistance, QStringLiteral("43.3m 142ft"));

    Coefficients c = s.coefficients();
    c[4] = -0.001;
    s.setCoefficients(c);
    EXPECT_FALSE(liveReadout(s, 1000, 0, {}));
}

TEST(DistanceText, BuoyLabelsAndSplash) {
    GridState s = linearGrid();
    s.buoySurveyX[3] = 30, s.buoySurveyY[3] = 40;
    EXPECT_EQ(buoyDistance(s, 3), 50);
    EXPECT_EQ(buoyFeetLabel(50), QStringLiteral("164 feet"));
    EXPECT_EQ(buoyMetersLabel(50), QStringLiteral("50 meters"));
    EXPECT_EQ(buoyMetersLabel(30.46), QStringLiteral("30.5 meters"));

    // The splash lies 2.1 m (210 twips here) back along X for left-to-right
    // jumps, forward for right-to-left, and under the mark for barefoot.
    s.gridDirection = 1;
    auto p = splashPoint(s, 3000, 1000, false, {});
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->x, 2790, 1e-9);
    EXPECT_NEAR(p->y, 1000, 1e-9);
    EXPECT_NEAR(s.waterX, 27.9, 1e-12); // the corrected water point stays
    EXPECT_NEAR(splashPoint(s, 3000, 1000, true, {})->x, 3210, 1e-9);
    EXPECT_NEAR(splashPoint(s, 3000, 1000, false, {false, true, true})->x, 2810, 1e-9);
    EXPECT_NEAR(splashPoint(s, 3000, 1000, false, {true, false, true})->x, 3000, 1e-9);
    s.gridDirection = -1;
    EXPECT_NEAR(splashPoint(s, 3000, 1000, false, {})->x, 3210, 1e-9);

    // No grid loaded: the inverse fails, registers untouched.
    GridState empty;
    empty.screenX = 5;
    EXPECT_FALSE(splashPoint(empty, 100, 100, false, {}));
    EXPECT_EQ(empty.screenX, 5);
}
