// The demo lake against its own truth: the grid solved from its buoys gives
// the true landing distance, and the pictures show what the truth says.

#include "demo/DemoLake.h"

#include "grid/AccuracyCheck.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zt;

namespace {

void setBuoy(GridState& s, int i, QPointF twips, PlanePoint survey) {
    const auto k = static_cast<size_t>(i);
    s.buoyScreenX[k] = twips.x(), s.buoyScreenY[k] = twips.y();
    s.buoySurveyX[k] = survey.x, s.buoySurveyY[k] = survey.y;
}

// The grid an official would set up on the demo picture, the buoys marked
// exactly or rounded to whole pixels.
GridState demoGrid(const DemoLake& lake, bool wholePixels) {
    const DemoSurvey& v = lake.survey();
    auto at = [&](PlanePoint p) {
        QPointF t = lake.twipsOf(p);
        if (wholePixels)
            t = QPointF(std::round(t.x() / 15) * 15, std::round(t.y() / 15) * 15);
        return t;
    };
    GridState s;
    setBuoy(s, 1, at(v.upperRight), v.upperRight);
    setBuoy(s, 2, at(v.lowerRight), v.lowerRight);
    setBuoy(s, 3, at(v.upperLeft), v.upperLeft);
    setBuoy(s, 4, at(v.lowerLeft), v.lowerLeft);
    s.jumpX = v.jump.x, s.jumpY = v.jump.y;
    EXPECT_EQ(solve_grid(s), SolveStatus::Ok);
    return s;
}

} // namespace

TEST(DemoLake, TheSolvedGridMeasuresTheTruth) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const DemoLake lake(QSize(1280, 720), seed);
        const DemoJump j = lake.jump(0);
        EXPECT_GE(j.distance, 25);
        EXPECT_LE(j.distance, 60);
        const QPointF landing = lake.twipsOf(j.landing);

        GridState exact = demoGrid(lake, false);
        exact.screenX = landing.x(), exact.screenY = landing.y();
        ASSERT_TRUE(distance_calculation(exact, true, false));
        EXPECT_NEAR(exact.jumpDistance, j.distance, 0.001) << seed;

        // Marked on whole pixels, and the landing too: within the accuracy
        // delta there.
        GridState marked = demoGrid(lake, true);
        marked.screenX = std::round(landing.x() / 15) * 15;
        marked.screenY = std::round(landing.y() / 15) * 15;
        ASSERT_TRUE(distance_calculation(marked, true, false));
        const AccuracyMesh one =
            accuracyMesh({landing.x(), landing.y()}, {landing.x(), landing.y()},
                         {landing.x(), landing.y()}, {landing.x(), landing.y()});
        GridState forDelta = marked;
        const double delta = runAccuracyCheck(forDelta, one, false, false).points[0].delta;
        EXPECT_NEAR(marked.jumpDistance, j.distance, delta) << seed;
    }
}

TEST(DemoLake, PicturesShowTheBuoysAndTheSplashWhereTheTruthSays) {
    const DemoLake lake(QSize(1280, 720), 3);
    const QImage setup = lake.render(0.2, false);
    const DemoSurvey& v = lake.survey();
    for (PlanePoint b : {v.upperLeft, v.upperRight, v.lowerLeft, v.lowerRight, v.checkBuoy}) {
        const QPointF px = lake.twipsOf(b) / 15;
        ASSERT_TRUE(QRectF(0, 0, 1280, 720).contains(px));
        EXPECT_EQ(setup.pixelColor(static_cast<int>(px.x()), static_cast<int>(px.y())),
                  DemoLake::buoyColor())
            << b.x << "," << b.y;
    }
    for (int k : {0, 1, 2}) {
        const DemoJump j = lake.jump(k);
        const int contact = DemoLake::contactFrame(j, 30);
        EXPECT_GE(contact / 30.0, j.landingTime);
        EXPECT_LT((contact - 1) / 30.0, j.landingTime);
        const QPointF px = lake.twipsOf(j.landing) / 15;
        const QPoint at(static_cast<int>(px.x()), static_cast<int>(px.y()));
        EXPECT_EQ(lake.render(contact / 30.0).pixelColor(at), DemoLake::splashColor(j)) << k;
        EXPECT_NE(lake.render((contact - 1) / 30.0).pixelColor(at), DemoLake::splashColor(j)) << k;
    }
    // The water is not a flat colour: it moves.
    EXPECT_NE(lake.render(0.2, false), lake.render(0.7, false));
}
