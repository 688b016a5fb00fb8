// The accuracy check's mesh, classes, file lines and map, and the setup
// screen's point logic.

#include "grid/AccuracyCheck.h"

#include "grid/GridSetupLogic.h"
#include "support/GridFixtures.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace zt;

namespace {

// survey = screen / 100, jump point at the origin.
GridState flatGrid() {
    GridState s;
    zt::test::setBuoy(s, 3, 0, 0, 0, 0);
    zt::test::setBuoy(s, 1, 12000, 0, 120, 0);
    zt::test::setBuoy(s, 4, 0, 9000, 0, 90);
    zt::test::setBuoy(s, 2, 12000, 9000, 120, 90);
    EXPECT_EQ(solve_grid(s), SolveStatus::Ok);
    return s;
}

} // namespace

TEST(AccuracyCheck, MeshClassesAndDeltas) {
    const AccuracyMesh m = accuracyMesh({600, 600}, {6600, 600}, {0, 3600}, {7200, 3600});
    EXPECT_EQ(m.at[0][0], QPointF(600, 600));
    EXPECT_EQ(m.at[6][6], QPointF(7200, 3600));
    EXPECT_EQ(m.at[0][3], QPointF(300, 2100));  // left edge halfway down
    EXPECT_EQ(m.at[3][3], QPointF(3600, 2100)); // middle of that row
    EXPECT_EQ(m.at[3][0], QPointF(3600, 600));

    for (const auto& [delta, cls] :
         {std::pair{0.1, "R"}, std::pair{0.1000001, "L"}, std::pair{0.15, "L"},
          std::pair{0.1500001, "C"}, std::pair{0.2, "C"}, std::pair{0.2000001, "NH"}})
        EXPECT_EQ(homologationText(homologationClass(delta)), QLatin1String(cls)) << delta;

    GridState s = flatGrid();
    const AccuracyResult r = runAccuracyCheck(
        s, accuracyMesh({0, 0}, {12000, 0}, {0, 9000}, {12000, 9000}), true, false);
    ASSERT_TRUE(r.complete);
    ASSERT_EQ(r.points.size(), 49u);
    // Order: across index a, then down index d.
    EXPECT_EQ(r.points[1].a, 0);
    EXPECT_EQ(r.points[1].d, 1);
    EXPECT_EQ(r.points[7].a, 1);
    // On the diagonal from the jump point the two changes are equal; the
    // horizontal one is taken.
    const AccuracyPoint& diag = *r.point(3, 3); // (6000, 4500) twips = (60, 45) m
    EXPECT_DOUBLE_EQ(diag.distance, 75);
    EXPECT_DOUBLE_EQ(diag.delta, std::abs(diag.horizontal - diag.distance));
    EXPECT_NEAR(diag.delta, 0.12, 0.001);
    EXPECT_EQ(diag.homClass, HomClass::L);
    EXPECT_EQ(accuracyLabelText(diag, AccuracyDisplay::HomologationLevel), QStringLiteral("L"));
    EXPECT_EQ(accuracyLabelText(diag, AccuracyDisplay::Distance), QStringLiteral("75"));
    EXPECT_EQ(accuracyLabelText(diag, AccuracyDisplay::Detail), QStringLiteral("0.12"));
    // The line gives the point one pixel lower as its water point.
    EXPECT_EQ(accuracyPointLine(diag),
              QStringLiteral("xpix: 6000  ypix: 4500  x: 60  y: 45.15  distance: 75  v inc: "
                             "75.09  h inc: 75.12  delta: 0.12"));
    // With the normal correction every distance grows by 2.1 m.
    GridState n = flatGrid();
    const AccuracyResult normal = runAccuracyCheck(n, r.mesh, false, false);
    EXPECT_DOUBLE_EQ(normal.point(3, 3)->distance, 77.1);
}

TEST(AccuracyCheck, AFailingTransformStopsTheCheckWithThePointsSoFar) {
    GridState s = flatGrid();
    Coefficients c = s.coefficients();
    c[5] = -1.0 / 4500; // the denominator vanishes on the picture row y = 4500
    s.setCoefficients(c);
    const AccuracyResult r = runAccuracyCheck(
        s, accuracyMesh({0, 0}, {12000, 0}, {0, 9000}, {12000, 9000}), true, false);
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.points.size(), 3u); // a = 0, d = 0..2; d = 3 lies on that row
    AccuracyHeader h;
    const QString text = accuracyFileText(h, r);
    EXPECT_EQ(text.count(QStringLiteral("xpix: ")), 3);
    EXPECT_FALSE(text.contains(QStringLiteral("Accuracy Check Complete")));
}

TEST(AccuracyCheck, FileNameAndMapColoursByTheWorstCorner) {
    EXPECT_EQ(accuracyFileName(QDate(2026, 6, 15)), QStringLiteral("acc0615.txt"));
    GridState s = flatGrid();
    AccuracyResult r =
        runAccuracyCheck(s, accuracyMesh({0, 0}, {1500, 0}, {0, 1500}, {1500, 1500}), true, false);
    ASSERT_TRUE(r.complete);
    // Every delta of this small grid is at most 0.15 m ("L" or better);
    // one corner made worse turns its four cells red.
    r.points[static_cast<size_t>(3 * meshSize + 3)].delta = 0.5;
    QImage image(120, 120, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        paintAccuracyMap(p, r);
    }
    const QColor nearWorst = image.pixelColor(48, 48); // a cell touching (3, 3)
    const QColor farCell = image.pixelColor(8, 8);     // cell (0, 0)
    EXPECT_GT(nearWorst.red(), 80);
    EXPECT_LT(nearWorst.green(), 20);
    EXPECT_GT(farCell.green(), 60);
    EXPECT_EQ(image.pixelColor(110, 110), QColor(Qt::black)); // outside the grid
}

TEST(GridSetupLogic, PlacingStepsLockAndBoxes) {
    GridState s;
    SetupMarks m;
    m[SetupPoint::UpperLeft] = {1000, 1000};
    m[SetupPoint::UpperRight] = {5000, 1000};
    m[SetupPoint::LowerLeft] = {800, 4000};
    m[SetupPoint::LowerRight] = {5200, 4000};
    m[SetupPoint::CheckBuoy] = {3000, 2500};
    // Unlocked: only the selected point.
    auto moves = placeSetupPoint(s, m, SetupPoint::LowerLeft, {810, 3990}, false);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].from, QPointF(800, 4000));
    EXPECT_EQ(s.buoyScreenX[4], 810);
    // Locked with "upper right": all five move by its offset, in click order.
    moves = placeSetupPoint(s, m, SetupPoint::UpperRight, {5030, 985}, true);
    ASSERT_EQ(moves.size(), 5u);
    EXPECT_EQ(moves[0].point, SetupPoint::UpperLeft);
    EXPECT_EQ(m[SetupPoint::UpperLeft], QPointF(1030, 985));
    EXPECT_EQ(m[SetupPoint::LowerLeft], QPointF(840, 3975));
    EXPECT_EQ(m[SetupPoint::CheckBuoy], QPointF(3030, 2485));
    EXPECT_EQ(s.checkMarkX, 3030);
    EXPECT_EQ(s.buoyScreenY[2], 3985);
    // One pixel steps.
    stepSetupPoint(s, m, SetupPoint::CheckBuoy, SetupStep::Right, false);
    stepSetupPoint(s, m, SetupPoint::CheckBuoy, SetupStep::Up, false);
    EXPECT_EQ(m[SetupPoint::CheckBuoy], QPointF(3045, 2470));

    storeSetupBox(s, SetupBox::SurveyX, 3, QStringLiteral("30.5m"));
    storeSetupBox(s, SetupBox::JumpY, 0, QStringLiteral("-1.5"));
    storeSetupBox(s, SetupBox::CheckSurveyX, 0, QStringLiteral("abc"));
    EXPECT_EQ(s.buoySurveyX[3], 30.5);
    EXPECT_EQ(s.jumpY, -1.5);
    EXPECT_EQ(s.savedJumpY, -1.5);
    EXPECT_EQ(s.checkSurveyX, 0);

    EXPECT_EQ(nextSetupGrid(1, 2), 2);
    EXPECT_EQ(nextSetupGrid(2, 2), 1);
    EXPECT_EQ(nextSetupGrid(2, 3), 3);
    EXPECT_EQ(nextSetupGrid(3, 3), 1);
    EXPECT_EQ(nextSetupGrid(1, 1), 1);
    EXPECT_EQ(gridChangeLine(2, 1), QStringLiteral("Changed from grid 2 to grid 1"));
}
