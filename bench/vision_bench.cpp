// The vision aids' cost: the camera-moved guard per frame (it runs on every
// frame taken for measuring and on the live picture), buoys found on a
// setup picture, and the contact proposal over a whole demo clip.

#include "BenchMain.h"
#include "demo/DemoCamera.h"
#include "vision/BuoyFinder.h"
#include "vision/CameraGuard.h"
#include "vision/ContactProposal.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace zt;
using namespace zt::vision;

namespace {

const QSize size720(1280, 720);

std::vector<GuardMark> marksOf(const DemoLake& lake) {
    const DemoSurvey& v = lake.survey();
    std::vector<GuardMark> marks;
    for (PlanePoint b : {v.upperRight, v.lowerRight, v.upperLeft, v.lowerLeft, v.checkBuoy})
        marks.push_back({QStringLiteral("buoy"), *lake.project(b.x, b.y)});
    return marks;
}

QPolygonF areaOf(const DemoLake& lake) {
    const DemoSurvey& v = lake.survey();
    auto at = [&](PlanePoint p) { return *lake.project(p.x, p.y); };
    return landingArea(at(v.upperLeft), at(v.upperRight), at(v.lowerRight), at(v.lowerLeft));
}

void BM_GuardCheck(benchmark::State& state) {
    DemoLake lake(size720, 1);
    const CameraGuard guard(lake.render(0.2, false), marksOf(lake));
    lake.setCameraShift(QPointF(1.3, -0.4));
    const QImage frame = lake.render(3);
    for (auto _ : state)
        benchmark::DoNotOptimize(guard.check(frame));
}
BENCHMARK(BM_GuardCheck)->Unit(benchmark::kMillisecond);

void BM_FindBuoys(benchmark::State& state) {
    const QImage setup = DemoLake(size720, 1).render(0.2, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(proposeBuoys(findBuoys(setup)));
}
BENCHMARK(BM_FindBuoys)->Unit(benchmark::kMillisecond);

// The demo clip of one jump at 720p (MJPEG, about 4 to 6 seconds): the
// proposal, and a whole read when the area holds no splash.
void BM_ProposeContact(benchmark::State& state) {
    QTemporaryDir dir;
    if (!writeDemoFiles(dir.path(), size720, 30, 1).isEmpty()) {
        state.SkipWithError("demo files");
        return;
    }
    const DemoLake lake(size720, 1);
    QPolygonF area = areaOf(lake);
    if (state.range(0) == 1)
        area = QPolygonF({{10, 10}, {200, 10}, {200, 60}, {10, 60}}); // the sky
    const QString clip = dir.filePath(QStringLiteral("DEMOjump1.avi"));
    for (auto _ : state)
        benchmark::DoNotOptimize(proposeContact(clip, area));
}
BENCHMARK(BM_ProposeContact)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return zt::bench::runOffscreen<QGuiApplication>(argc, argv);
}
