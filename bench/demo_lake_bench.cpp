// The demo lake's cost per frame: the demo camera must render every picture
// within a frame time (33 ms at 30 fps) to stream in real time.

#include "BenchMain.h"
#include "demo/DemoCamera.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

using namespace zt;

namespace {

void BM_DemoFrame(benchmark::State& state) {
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const DemoLakeVideo video(size, 30, 1);
    int64_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(video.frame(n++ % 210)); // a whole jump period
}
BENCHMARK(BM_DemoFrame)
    ->Args({640, 480})
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return zt::bench::runOffscreen<QGuiApplication>(argc, argv);
}
