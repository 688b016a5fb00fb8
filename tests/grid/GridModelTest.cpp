#include "grid/GridModel.h"

#include "support/GridFixtures.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zt;

using zt::test::setBuoy;

namespace {

// A camera looking at the water at an angle: upper buoys far away.
GridState perspectiveGrid() {
    GridState s;
    setBuoy(s, 1, 9800, 2100, 20, 60);  // upper right
    setBuoy(s, 2, 11000, 8200, 20, 30); // lower right
    setBuoy(s, 3, 2500, 1900, -20, 60); // upper left
    setBuoy(s, 4, 900, 8400, -20, 30);  // lower left
    return s;
}

} // namespace

TEST(GridModel, IdentityExampleDividesByHundred) {
    GridState s;
    setBuoy(s, 1, 12000, 0, 120, 0);
    setBuoy(s, 2, 12000, 9000, 120, 90);
    setBuoy(s, 3, 0, 0, 0, 0);
    setBuoy(s, 4, 0, 9000, 0, 90);
    ASSERT_EQ(solve_grid(s), SolveStatus::Ok);
    const Coefficients c = s.coefficients();
    for (int n = 1; n <= 8; ++n)
        EXPECT_NEAR(c[n], (n == 2 || n == 8) ? 0.01 : 0.0, 1e-15) << "c" << n;
    s.screenX = 4321, s.screenY = 876;
    ASSERT_TRUE(water_from_screen(s));
    EXPECT_NEAR(s.waterX, 43.21, 1e-12);
    EXPECT_NEAR(s.waterY, 8.76, 1e-12);
}

TEST(GridModel, SolvedGridMapsEveryBuoyAndInverseReturnsThePoint) {
    GridState s = perspectiveGrid();
    ASSERT_EQ(solve_grid(s), SolveStatus::Ok);
    for (int i = 1; i <= 4; ++i) {
        const auto k = static_cast<size_t>(i);
        s.screenX = s.buoyScreenX[k], s.screenY = s.buoyScreenY[k];
        ASSERT_TRUE(water_from_screen(s));
        EXPECT_NEAR(s.waterX, s.buoySurveyX[k], 1e-9);
        EXPECT_NEAR(s.waterY, s.buoySurveyY[k], 1e-9);
    }
    for (double a : {100.0, 6000.0, 11900.0})
        for (double b : {300.0, 4500.0, 8900.0}) {
            s.screenX = a, s.screenY = b;
            ASSERT_TRUE(water_from_screen(s));
            ASSERT_TRUE(screen_from_water(s));
            EXPECT_NEAR(s.screenX, a, 1e-7);
            EXPECT_NEAR(s.screenY, b, 1e-7);
        }
    s.checkScreenX = 6000, s.checkScreenY = 5000;
    ASSERT_TRUE(check_water_from_screen(s));
    s.screenX = 6000, s.screenY = 5000;
    ASSERT_TRUE(water_from_screen(s));
    EXPECT_EQ(s.checkWaterX, s.waterX);
    EXPECT_EQ(s.checkWaterY, s.waterY);
}

TEST(GridModel, SameScreenXOnTheRightStillSolves) {
    GridState s = perspectiveGrid();
    s.buoyScreenX[2] = s.buoyScreenX[1]; // A(2,2) becomes 0 after the first step
    ASSERT_EQ(solve_grid(s), SolveStatus::Ok);
    s.screenX = s.buoyScreenX[2], s.screenY = s.buoyScreenY[2];
    ASSERT_TRUE(water_from_screen(s));
    EXPECT_NEAR(s.waterX, 20, 1e-9);
    EXPECT_NEAR(s.waterY, 30, 1e-9);
}

TEST(GridModel, DegenerateBuoysHaveNoUniqueSolution) {
    GridState s = perspectiveGrid();
    ASSERT_EQ(solve_grid(s), SolveStatus::Ok);
    const auto solved = s.solveMatrix;
    setBuoy(s, 2, 9800, 2100, 20, 60); // same as buoy 1
    EXPECT_EQ(solve_grid(s), SolveStatus::NoUniqueSolution);
    // A failed solve leaves the coefficients that measured before it, not
    // a half-eliminated system.
    EXPECT_EQ(s.solveMatrix, solved);
    GridState zero; // nothing marked yet
    EXPECT_EQ(solve_grid(zero), SolveStatus::NoUniqueSolution);
    GridState huge = perspectiveGrid();
    ASSERT_EQ(solve_grid(huge), SolveStatus::Ok);
    setBuoy(huge, 1, 1e300, 1e300, 1e300, 1e300);
    EXPECT_NE(solve_grid(huge), SolveStatus::Ok);
    EXPECT_EQ(huge.solveMatrix, solved);
}

TEST(GridModel, DistanceAndTournamentCorrection) {
    GridState s;
    Coefficients c;
    c[2] = 1, c[8] = 1; // water = screen
    s.setCoefficients(c);
    s.screenX = 3, s.screenY = 4;
    ASSERT_TRUE(distance_calculation(s, true, false));
    EXPECT_DOUBLE_EQ(s.jumpDistance, 5);
    ASSERT_TRUE(distance_calculation(s, false, false));
    EXPECT_DOUBLE_EQ(s.jumpDistance, 7.1);
    ASSERT_TRUE(distance_calculation(s, false, true));
    EXPECT_DOUBLE_EQ(s.jumpDistance, 6.9);
    EXPECT_DOUBLE_EQ(tournamentCorrection(true, true), 0); // barefoot wins
    // From a jump point off the origin, each axis against its own.
    s.jumpX = 10, s.jumpY = -2;
    s.screenX = 13, s.screenY = 2;
    ASSERT_TRUE(distance_calculation(s, true, false));
    EXPECT_DOUBLE_EQ(s.jumpDistance, 5);
}

TEST(GridModel, VanishingLineAndOverflowAreFailuresNotNumbers) {
    GridState s;
    Coefficients c;
    c[2] = 1, c[8] = 1, c[4] = -0.001; // D = 0 at screen x = 1000
    s.setCoefficients(c);
    s.waterX = s.waterY = 17;
    s.jumpDistance = 42;
    s.screenX = 1000, s.screenY = 50;
    EXPECT_FALSE(water_from_screen(s));
    EXPECT_FALSE(distance_calculation(s, false, false));
    EXPECT_EQ(s.jumpDistance, 42); // untouched
    EXPECT_EQ(s.waterX, 17);
    c[4] = 0, c[3] = 10; // b * c3 overflows
    s.setCoefficients(c);
    s.screenX = 1, s.screenY = 1e308;
    EXPECT_FALSE(water_from_screen(s));
    s.screenX = std::nan(""), s.screenY = 0;
    EXPECT_FALSE(water_from_screen(s));

    GridState zero; // all coefficients 0: the inverse has D = 0
    EXPECT_FALSE(screen_from_water(zero));
}

namespace {

Coefficients coefficientsOf(std::initializer_list<double> values) {
    Coefficients c;
    int n = 1;
    for (double v : values)
        c[n++] = v;
    return c;
}

} // namespace

TEST(GridModel, OnlyAnInvertibleTransformCanMeasure) {
    QString why;
    EXPECT_FALSE(transformInvertible(Coefficients{}, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("all eight coefficients are 0"))) << why.toStdString();
    // Water Y is twice water X for every picture point: a line, not the water.
    const Coefficients singular = coefficientsOf({1, 2, 3, 0, 0, 2, 4, 6});
    EXPECT_EQ(transformRegularity(singular), 0);
    EXPECT_FALSE(transformInvertible(singular, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("singular"))) << why.toStdString();
    // Singular but for the last digits: as unusable.
    EXPECT_FALSE(transformInvertible(coefficientsOf({1, 2, 3, 0, 0, 2, 4, 6 + 1e-12})));
    // Only the constant terms: every point lands on (c1, c6).
    EXPECT_FALSE(transformInvertible(coefficientsOf({30, 0, 0, 0, 0, 15, 0, 0})));
    EXPECT_FALSE(transformInvertible(coefficientsOf({0, 1, 0, 0, 0, 0, std::nan(""), 1}), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("c7"))) << why.toStdString();

    // Real grids are far from the limit, whatever their position and units.
    GridState camera = perspectiveGrid();
    ASSERT_EQ(solve_grid(camera), SolveStatus::Ok);
    const Coefficients c = camera.coefficients();
    EXPECT_TRUE(transformInvertible(c, &why));
    EXPECT_TRUE(why.isEmpty());
    EXPECT_GT(transformRegularity(c), 1e-3);
    EXPECT_TRUE(transformInvertible(zt::test::solvedTestGrid().coefficients()));
    EXPECT_NEAR(transformRegularity(coefficientsOf({0, 0.01, 0, 0, 0, 0, 0, 0.01})), 1, 1e-12);
    EXPECT_TRUE(transformInvertible(coefficientsOf({5000, 0.01, 0, 0, 0, -800, 0, 0.01})));
    // Pixels instead of twips (x15) and feet instead of meters (x3.28).
    Coefficients other = c;
    for (int n : {2, 3, 4, 5, 7, 8})
        other[n] *= 15;
    for (int n : {1, 2, 3, 6, 7, 8})
        other[n] *= 3.28;
    EXPECT_NEAR(transformRegularity(other), transformRegularity(c), transformRegularity(c) * 1e-6);
}

TEST(GridModel, StoreRowRoundTripAndDirection) {
    GridState s = perspectiveGrid();
    ASSERT_EQ(solve_grid(s), SolveStatus::Ok);
    s.savedJumpX = 1.5, s.savedJumpY = -2;
    s.checkPixX = 6000, s.checkPixY = 4000, s.checkSurveyX = 3, s.checkSurveyY = 45;
    storeWorkingGrid(s, 2);
    const GridStoreRow& row = s.gridStore[2];
    EXPECT_EQ(row[3], 9800); // buoy 1 screen x
    EXPECT_EQ(row[18], 30);  // buoy 4 survey Y
    EXPECT_EQ(row[19], s.coefficients()[1]);
    EXPECT_EQ(row[29], 10);
    EXPECT_EQ(row[30], 2);
    EXPECT_EQ(row[31], 2);
    EXPECT_EQ(row[35], 45);

    GridState t;
    t.gridStore = s.gridStore;
    loadWorkingGrid(t, 2);
    EXPECT_EQ(t.buoyScreenX, s.buoyScreenX);
    EXPECT_EQ(t.coefficients().c, s.coefficients().c);
    EXPECT_EQ(t.buoyScreenY, s.buoyScreenY);
    EXPECT_EQ(t.buoySurveyX, s.buoySurveyX);
    EXPECT_EQ(t.buoySurveyY, s.buoySurveyY);
    EXPECT_EQ(t.jumpX, 1.5);
    EXPECT_EQ(t.jumpY, -2);
    EXPECT_EQ(t.savedJumpX, 1.5);
    EXPECT_EQ(t.savedJumpY, -2);
    EXPECT_EQ(t.checkMarkX, 6000);
    EXPECT_EQ(t.checkMarkY, 4000);
    EXPECT_EQ(t.checkPixX, 6000);
    EXPECT_EQ(t.checkPixY, 4000);
    EXPECT_EQ(t.checkSurveyX, 3);
    EXPECT_EQ(t.checkSurveyY, 45);
    EXPECT_EQ(gridDirectionOf(t), -1); // upper right X 20 is not below upper left X -20
    std::swap(t.buoySurveyX[1], t.buoySurveyX[3]);
    EXPECT_EQ(gridDirectionOf(t), 1);
}

TEST(GridModel, ReadyFlagsFollowTheGridsInUse) {
    GridState s;
    s.gridCount = 2;
    s.setGridReady(1, true);
    EXPECT_FALSE(s.allGridsInUseReady());
    s.setGridReady(2, true);
    EXPECT_TRUE(s.allGridsInUseReady());
    s.gridCount = 3;
    EXPECT_FALSE(s.allGridsInUseReady());
}
