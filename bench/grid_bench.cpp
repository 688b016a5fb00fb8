// Cost of solving a grid and of the transforms run on every mouse move.

#include "grid/GridModel.h"

#include <benchmark/benchmark.h>

using namespace zt;

namespace {

GridState perspectiveGrid() {
    GridState s;
    const double buoys[4][4] = {
        {9800, 2100, 20, 60}, {11000, 8200, 20, 30}, {2500, 1900, -20, 60}, {900, 8400, -20, 30}};
    for (size_t i = 1; i <= 4; ++i) {
        s.buoyScreenX[i] = buoys[i - 1][0], s.buoyScreenY[i] = buoys[i - 1][1];
        s.buoySurveyX[i] = buoys[i - 1][2], s.buoySurveyY[i] = buoys[i - 1][3];
    }
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
