// Cost of the texts computed while the operator works the measure screen:
// the verify-mode readout on every mouse move, the official distance and
// the record line at "Record Jump", and reading a grid setup file.

#include "BenchGrid.h"
#include "grid/GridFiles.h"
#include "measure/DistanceText.h"
#include "measure/JumpRecord.h"

#include <benchmark/benchmark.h>

using namespace zt;

namespace {

GridState perspectiveGrid() {
    GridState s;
    bench::markBenchGrid(s);
    solve_grid(s);
    s.jumpX = 0, s.jumpY = 10;
    return s;
}

void BM_LiveReadout(benchmark::State& state) {
    GridState s = perspectiveGrid();
    double x = 0;
    for (auto _ : state) {
        x = x > 3000 ? 0 : x + 15;
        benchmark::DoNotOptimize(liveReadout(s, 4000 + x, 4500, {}));
    }
}
BENCHMARK(BM_LiveReadout);

void BM_RecordTexts(benchmark::State& state) {
    GridState s = perspectiveGrid();
    JumpRecordInput in;
    in.when = QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9));
    in.skierName = QStringLiteral("Skier One");
    in.jumpNumber = QStringLiteral("2");
    for (auto _ : state) {
        const auto d = distanceOfMark(s, 6000, 4500, {});
        in.metersText = d->metersShown, in.feetText = d->feetShown;
        in.waterX = s.waterX, in.waterY = s.waterY, in.screenX = s.screenX, in.screenY = s.screenY;
        in.lastDistanceText = d->lastDistanceText;
        benchmark::DoNotOptimize(jumpRecordLine(in));
    }
}
BENCHMARK(BM_RecordTexts);

void BM_ParseGridFile(benchmark::State& state) {
    const GridState s = perspectiveGrid();
    const QString text = gridSetupFileText(QStringLiteral("C:\\grids\\g1.ipt"),
                                           gridFileFromState(s, 1, QStringLiteral("bench")));
    for (auto _ : state)
        benchmark::DoNotOptimize(parseGridSetupFile(text));
}
BENCHMARK(BM_ParseGridFile);

} // namespace

BENCHMARK_MAIN();
