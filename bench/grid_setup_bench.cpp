// The grid setup screen's heavy moments: the accuracy check (49 mesh points,
// three distances each, and the accuracy file's text) and redrawing the
// markers over a 1920 x 1080 picture (the display list and the painting of
// the picture area, as a repaint does).

#include "BenchGrid.h"
#include "BenchMain.h"
#include "grid/AccuracyCheck.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"

#include <QApplication>
#include <QRadioButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace zt;

namespace {

class StillClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9)); }
};

// The accuracy check's line question is answered with line 4.
class LineFourDialogs : public SilentDialogs {
public:
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return QStringLiteral("4");
    }
};

GridState benchGrid() {
    GridState s;
    bench::markBenchGrid(s);
    solve_grid(s);
    s.jumpX = 0, s.jumpY = -10;
    return s;
}

void BM_AccuracyCheck(benchmark::State& state) {
    GridState s = benchGrid();
    const AccuracyMesh mesh = accuracyMesh({2500, 1900}, {9800, 2100}, {900, 8400}, {11000, 8200});
    AccuracyHeader header;
    for (auto _ : state) {
        const AccuracyResult r = runAccuracyCheck(s, mesh, false, false);
        benchmark::DoNotOptimize(accuracyFileText(header, r));
    }
}
BENCHMARK(BM_AccuracyCheck);

struct Screen {
    QTemporaryDir dir;
    std::unique_ptr<App> app;
    Screen() {
        Services services;
        services.paths.appDir = dir.path();
        services.paths.exchangeDir = dir.path();
        services.settings = std::make_unique<MemorySettingsStore>();
        services.dialogs = std::make_unique<LineFourDialogs>();
        services.clock = std::make_unique<StillClock>();
        app = std::make_unique<App>(std::move(services));
        app->state = AppState{};
        static_cast<GridState&>(app->state) = benchGrid();
        app->state.videoDir = dir.path();
        Grid_Setup& gs = app->gridSetup();
        QImage picture(1920, 1080, QImage::Format_RGB32);
        picture.fill(QColor(30, 80, 120));
        gs.canvas().setPicture(picture);
        gs.setMarkersFromState();
    }
};

void BM_MarkerRedraw1080p(benchmark::State& state) {
    Screen s;
    Grid_Setup& gs = s.app->gridSetup();
    for (auto _ : state) {
        gs.Show_grid();
        benchmark::DoNotOptimize(gs.canvas().render());
    }
}
BENCHMARK(BM_MarkerRedraw1080p)->Unit(benchmark::kMillisecond);

void BM_AccuracyCheckOnScreen(benchmark::State& state) {
    Screen s;
    Grid_Setup& gs = s.app->gridSetup();
    gs.optAdvancedAccuracy->click(); // no question: every label shown
    for (auto _ : state)
        gs.btnAccuracyCheck_Click();
}
BENCHMARK(BM_AccuracyCheckOnScreen)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return zt::bench::runOffscreen<QApplication>(argc, argv);
}
