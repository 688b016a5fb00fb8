// Cost of solving a grid and of the transforms run on every mouse move.

#include "BenchGrid.h"
#include "grid/GridModel.h"

#include <benchmark/benchmark.h>

using namespace zt;

namespace {

GridState perspectiveGrid() {
    GridState s;
    bench::markBenchGrid(s);
    return s;
}

void BM_Solve(benchmark::State& state) {
    GridState s = perspectiveGrid();
    for (auto _ : state) {
        benchmark::DoNotOptimize(solve_grid(s));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Solve);

void BM_ForwardAndDistance(benchmark::State& state) {
    GridState s = perspectiveGrid();
    solve_grid(s);
    double x = 0;
    for (auto _ : state) {
        s.screenX = 6000 + x, s.screenY = 4500;
        x = x > 100 ? 0 : x + 1;
        benchmark::DoNotOptimize(distance_calculation(s, false, false));
        benchmark::DoNotOptimize(s.jumpDistance);
    }
}
BENCHMARK(BM_ForwardAndDistance);

void BM_Inverse(benchmark::State& state) {
    GridState s = perspectiveGrid();
    solve_grid(s);
    for (auto _ : state) {
        s.waterX = 3, s.waterY = 45;
        benchmark::DoNotOptimize(screen_from_water(s));
    }
}
BENCHMARK(BM_Inverse);

} // namespace

BENCHMARK_MAIN();
