// The frame selection player, offscreen, at 1280x720: the time from a step
// command to the new frame painted, stepping as fast as the frames come and
// at the pace of a held arrow key (ten steps a second), and the time of
// taking the frame on display. The clips are written on first use into
// $TMPDIR/zentrak-bench.
//
// Counters: median_ms and worst_ms of a step (command to paint), behind: the
// steps commanded while the one before was not painted yet (a held key
// running ahead of the picture), load: the load average at the end.

#include "BenchMain.h"
#include "ClipWriter.h"
#include "app/Dialogs.h"
#include "video/ui/MediaPlayer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <stdexcept>
#include <vector>

namespace {

constexpr int clipFrames = 330; // 11 s at 30 fps
constexpr int64_t low = 10, high = 310;

QString clipFor(bool h264) {
    const QString dir = QDir::tempPath() + QStringLiteral("/zentrak-bench");
    QDir().mkpath(dir);
    zt::test::ClipParams params;
    params.width = 1280, params.height = 720, params.frames = clipFrames, params.fps = 30;
    QString name = QStringLiteral("player-mjpeg720.avi");
    if (h264) {
        params.encoder = zt::test::haveEncoder(QStringLiteral("libx264"))
                             ? QStringLiteral("libx264")
                             : QStringLiteral("mpeg4");
        params.gop = 250, params.bFrames = 3;
        name = QStringLiteral("player-") + params.encoder + QStringLiteral("-bframes-720.avi");
    }
    const QString path = dir + QLatin1Char('/') + name;
    if (!QFileInfo::exists(path) && !zt::test::writeClip(path, params))
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

double loadAverage() {
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return f.readAll().split(' ').value(0).toDouble();
}

// The player as the frame selection screen holds it.
struct Stage : QObject {
    QWidget screen;
    zt::MediaPlayer* player = new zt::MediaPlayer(&screen);
    int64_t painted = -1;
    QElapsedTimer paintClock;
    std::vector<double> paintTimes; // paint event to the frame painted
    QEventLoop* waiting = nullptr;
    explicit Stage(const QString& clip) {
        screen.resize(1280, 800);
        player->setGeometry(8, 8, 880, 600);
        screen.show();
        player->installEventFilter(this);
        QObject::connect(player, &zt::MediaPlayer::framePainted, [this](int64_t n) {
            painted = n;
            paintTimes.push_back(double(paintClock.nsecsElapsed()) / 1e6);
            if (waiting)
                waiting->quit();
        });
        if (player->setFile(clip) != zt::FrameError::None)
            throw std::runtime_error("cannot open " + clip.toStdString());
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            paintClock.start();
        return false;
    }
    // Runs the event loop (no busy waiting: the decoder has the cores)
    // until frame n is painted.
    void waitPainted(int64_t n) {
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, [&] { loop.exit(1); });
        waiting = &loop;
        while (painted != n)
            if (loop.exec() == 1)
                throw std::runtime_error("frame never painted");
        waiting = nullptr;
    }
    // Runs the event loop for ms milliseconds.
    static void idle(int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

void report(benchmark::State& state, std::vector<double> times, int behind) {
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["worst_ms"] = times.back();
    state.counters["steps"] = double(times.size());
    state.counters["behind"] = behind;
    state.counters["load"] = loadAverage();
}

// 300 steps from one end to the other; paceMs > 0: a step every paceMs
// whether or not the last one is painted (a held key polled by Timer2).
void step(benchmark::State& state, bool h264, int direction, int paceMs) {
    for (auto _ : state) {
        Stage stage(clipFor(h264));
        int64_t n = direction > 0 ? low : high;
        const int64_t end = direction > 0 ? high : low;
        stage.player->setPosition(n);
        stage.waitPainted(n);
        std::vector<double> times;
        int behind = 0;
        QElapsedTimer clock;
        while (n != end) {
            n += direction;
            if (paceMs > 0) {
                Stage::idle(paceMs);
                if (stage.painted != n - direction)
                    ++behind;
            }
            clock.start();
            stage.player->setPosition(n);
            stage.waitPainted(n);
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        report(state, times, behind);
        std::sort(stage.paintTimes.begin(), stage.paintTimes.end());
        state.counters["paint_ms"] = stage.paintTimes[stage.paintTimes.size() / 2];
    }
}

using zt::SilentDialogs;

// Taking frame 200 once it is on display: converted and written.
void take(benchmark::State& state, bool h264) {
    Stage stage(clipFor(h264));
    stage.player->setPosition(200);
    stage.waitPainted(200);
    SilentDialogs dialogs;
    const QString out = QDir::tempPath() + QStringLiteral("/zentrak-bench/currentcapture.bmp");
    std::vector<double> times;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (!stage.player->writeFrame(dialogs, 200, out))
            throw std::runtime_error("not written");
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    report(state, times, 0);
}

} // namespace

BENCHMARK_CAPTURE(step, mjpeg_forward, false, +1, 0)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, mjpeg_backward, false, -1, 0)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, mjpeg_forward_held, false, +1, 100)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, mjpeg_backward_held, false, -1, 100)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_forward, true, +1, 0)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_backward, true, -1, 0)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_forward_held, true, +1, 100)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_backward_held, true, -1, 100)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(take, mjpeg, false)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(take, h264, true)->Iterations(20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return zt::bench::runOffscreen<QApplication>(argc, argv);
}
