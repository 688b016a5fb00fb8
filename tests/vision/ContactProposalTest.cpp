// The proposed contact frame on demo lake jumps of many looks: splashes
// small and large, white and grey, calm water and strong ripples.

#include "vision/ContactProposal.h"

#include "Seeds.h"
#include "demo/DemoCamera.h"
#include "demo/DemoLake.h"
#include "vision/ContactWorker.h"

#include <QTemporaryDir>
#include <future>
#include <gtest/gtest.h>
#include <iostream>
#include <random>

using namespace zt;
using namespace zt::vision;

namespace {

QPolygonF areaOf(const DemoLake& lake) {
    const DemoSurvey& v = lake.survey();
    auto at = [&](PlanePoint p) { return *lake.project(p.x, p.y); };
    return landingArea(at(v.upperLeft), at(v.upperRight), at(v.lowerRight), at(v.lowerLeft));
}

// The frames of jump k from a second before its contact, as a clip of
// that jump would show them; the proposal as a frame of the demo.
int proposedFrame(const DemoLake& lake, int k, double fps) {
    const int contact = DemoLake::contactFrame(lake.jump(k), fps);
    const int first = contact - static_cast<int>(fps);
    ContactDetector detector(areaOf(lake));
    for (int n = first; n < contact + static_cast<int>(fps); ++n)
        if (detector.add(lake.render(n / fps)))
            return first + detector.proposed();
    return -1;
}

} // namespace

TEST(ContactProposal, FindsTheContactFrameOfDemoJumps) {
    std::mt19937 random(zt::test::runSeed("contact proposal"));
    std::uniform_int_distribution<unsigned> seeds(1, 1000000);
    int hits = 0, runs = 0;
    for (int i = 0; i < 12; ++i) {
        const unsigned seed = seeds(random);
        const DemoLake lake(i % 2 ? QSize(640, 360) : QSize(960, 540), seed);
        const int k = i % 3;
        const int truth = DemoLake::contactFrame(lake.jump(k), 30);
        const int proposed = proposedFrame(lake, k, 30);
        ++runs;
        hits += proposed == truth ? 1 : 0;
        EXPECT_LE(std::abs(proposed - truth), 2) << "lake seed " << seed << " jump " << k
                                                 << ": proposed " << proposed << " truth " << truth;
    }
    std::cout << "contact frame hits " << hits << " of " << runs << std::endl;
    EXPECT_GE(hits, runs - 1);
}

TEST(ContactProposal, ProposesNothingOnWaterWithoutAJump) {
    const DemoLake lake(QSize(640, 360), 8);
    ContactDetector detector(areaOf(lake));
    for (int n = 0; n < 40; ++n) // before the first take-off
        EXPECT_FALSE(detector.add(lake.render(n / 30.0, false)));
    EXPECT_EQ(detector.proposed(), -1);
    // A picture of another size or an empty area does no harm.
    ContactDetector empty{QPolygonF()};
    EXPECT_FALSE(empty.add(QImage(320, 200, QImage::Format_RGB32)));
    EXPECT_FALSE(detector.add(QImage(100, 50, QImage::Format_RGB32)));
}

TEST(ContactProposal, TheWorkerProposesOnItsThreadAndStopsWhenDestroyed) {
    QTemporaryDir dir;
    const unsigned seed = 4;
    ASSERT_EQ(writeDemoFiles(dir.path(), QSize(640, 360), 15, seed), QString());
    const DemoLake lake(QSize(640, 360), seed);
    const DemoSurvey& v = lake.survey();
    std::array<double, 5> x{}, y{};
    const PlanePoint buoys[] = {{}, v.upperRight, v.lowerRight, v.upperLeft, v.lowerLeft};
    for (size_t i = 1; i <= 4; ++i)
        x[i] = lake.twipsOf(buoys[i]).x(), y[i] = lake.twipsOf(buoys[i]).y();
    const QPolygonF area = landingAreaOfBuoys(x, y);
    ASSERT_EQ(area.size(), 4);
    const QString clip = dir.filePath(QStringLiteral("DEMOjump1.avi"));

    std::promise<int> proposed;
    {
        ContactWorker worker(clip, area,
                             [&](const ContactProposal& p) { proposed.set_value(p.frame); });
        auto result = proposed.get_future();
        ASSERT_EQ(result.wait_for(std::chrono::seconds(120)), std::future_status::ready);
        EXPECT_EQ(result.get(), DemoLake::contactFrame(lake.jump(0), 15));
    }
    // Destroyed at once: it stops without hanging.
    {
        ContactWorker early(clip, area, [](const ContactProposal&) {});
    }
    // Buoys not marked: no area.
    EXPECT_TRUE(landingAreaOfBuoys({}, {}).isEmpty());
}
