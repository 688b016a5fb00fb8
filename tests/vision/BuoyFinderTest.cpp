// Buoys found on demo lake setup pictures of several sizes and camera
// positions, against where the lake put them.

#include "vision/BuoyFinder.h"

#include "Seeds.h"
#include "demo/DemoLake.h"

#include <QLineF>
#include <QPainter>
#include <gtest/gtest.h>
#include <iostream>
#include <random>

using namespace zt;
using namespace zt::vision;

namespace {

QPointF truthOf(const DemoLake& lake, PlanePoint b) {
    return *lake.project(b.x, b.y);
}

double worstError = 0;

void expectNear(QPointF found, QPointF truth, const char* what) {
    worstError = std::max(worstError, QLineF(found, truth).length());
    EXPECT_LT(QLineF(found, truth).length(), 0.5)
        << what << ": found " << found.x() << "," << found.y() << " truth " << truth.x() << ","
        << truth.y();
}

} // namespace

TEST(BuoyFinder, FindsTheFiveDemoBuoysWithinHalfAPixelAndNamesThem) {
    const unsigned seed = zt::test::runSeed("buoy finder");
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> shift(-4, 4), time(0, 30);
    const QSize sizes[] = {QSize(1280, 720), QSize(960, 540), QSize(720, 576)};
    for (int run = 0; run < 6; ++run) {
        SCOPED_TRACE(run);
        DemoLake lake(sizes[run % 3], random());
        lake.setCameraShift(QPointF(shift(random), shift(random)));
        const QImage picture = lake.render(time(random), false);
        const std::vector<QPointF> found = findBuoys(picture);
        ASSERT_EQ(found.size(), 5u);
        const auto p = proposeBuoys(found);
        ASSERT_TRUE(p);
        const DemoSurvey& v = lake.survey();
        expectNear(p->upperRight, truthOf(lake, v.upperRight), "upper right");
        expectNear(p->lowerRight, truthOf(lake, v.lowerRight), "lower right");
        expectNear(p->upperLeft, truthOf(lake, v.upperLeft), "upper left");
        expectNear(p->lowerLeft, truthOf(lake, v.lowerLeft), "lower left");
        expectNear(p->check, truthOf(lake, v.checkBuoy), "check buoy");
    }
    std::cout << "largest centre error " << worstError << " px" << std::endl;
}

TEST(BuoyFinder, ProposesNothingForAnotherCountOrNoBuoyInside) {
    // A buoy hidden by a wave: four found, no proposal.
    const DemoLake lake(QSize(960, 540), 5);
    QImage picture = lake.render(1, false);
    {
        QPainter p(&picture);
        const QPointF at = truthOf(lake, lake.survey().upperLeft);
        p.fillRect(QRectF(at - QPointF(20, 20), QSizeF(40, 40)), QColor(50, 90, 120));
    }
    const std::vector<QPointF> four = findBuoys(picture);
    EXPECT_EQ(four.size(), 4u);
    EXPECT_FALSE(proposeBuoys(four));
    // Five in a row around a ring: none inside the others.
    EXPECT_FALSE(proposeBuoys({{0, 0}, {100, 0}, {120, 60}, {50, 100}, {-20, 60}}));
    // One inside, in any order of the list.
    const auto p = proposeBuoys({{50, 40}, {100, 90}, {0, 0}, {100, 0}, {0, 90}});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->check, QPointF(50, 40));
    EXPECT_EQ(p->upperLeft, QPointF(0, 0));
    EXPECT_EQ(p->upperRight, QPointF(100, 0));
    EXPECT_EQ(p->lowerLeft, QPointF(0, 90));
    EXPECT_EQ(p->lowerRight, QPointF(100, 90));
    EXPECT_TRUE(findBuoys(QImage()).empty());
}
