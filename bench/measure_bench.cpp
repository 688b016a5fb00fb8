// Cost of the measure screen's live readout on one mouse move: the
// transform, the distance and the five text boxes, through the screen's
// handler, and the readout computation alone.

#include "BenchGrid.h"
#include "BenchMain.h"
#include "measure/DistanceText.h"
#include "measure/ui/Measure.h"
#include "shell/App.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace zt;

namespace {

class StillClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9)); }
};

void perspectiveGrid(GridState& s) {
    bench::markBenchGrid(s);
    solve_grid(s);
    s.jumpX = 0, s.jumpY = -10;
}

void BM_LiveReadoutHandler(benchmark::State& state) {
    QTemporaryDir dir;
    Services services;
    services.paths.appDir = dir.path();
    services.paths.exchangeDir = dir.path();
    services.settings = std::make_unique<MemorySettingsStore>();
    services.dialogs = std::make_unique<SilentDialogs>();
    services.clock = std::make_unique<StillClock>();
    App app(std::move(services));
    perspectiveGrid(app.state);
    Measure& m = app.measure();
    m.verify_Click(); // readouts visible
    double x = 3000;
    for (auto _ : state) {
        m.Form_MouseMove(x, 4000);
        x = x < 9000 ? x + 15 : 3000;
    }
}
BENCHMARK(BM_LiveReadoutHandler);

void BM_LiveReadoutComputation(benchmark::State& state) {
    GridState s;
    perspectiveGrid(s);
    double x = 3000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(liveReadout(s, x, 4000, {}));
        x = x < 9000 ? x + 15 : 3000;
    }
}
BENCHMARK(BM_LiveReadoutComputation);

} // namespace

int main(int argc, char** argv) {
    return zt::bench::runOffscreen<QApplication>(argc, argv);
}
