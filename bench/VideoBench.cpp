// Frame stepping latency, extraction time and cache memory at 1280x720.
// The clips are written on first use into $TMPDIR/zentrak-bench.
//
// Counters: median_ms and worst_ms of one step (decode and conversion to
// a 24-bit bitmap), cache_MB after the sweep.

#include "ClipWriter.h"
#include "app/Dialogs.h"
#include "video/FrameExtract.h"
#include "video/FrameSource.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int clipFrames = 300; // 10 s at 30 fps
constexpr int64_t sweepFrom = 40;
constexpr int64_t sweepTo = 290;

enum Codec { Mjpeg, Mpeg4Gop250, H264BFrames };

QString clipFor(Codec codec) {
    const QString dir = QDir::tempPath() + QStringLiteral("/zentrak-bench");
    QDir().mkpath(dir);
    zt::test::ClipParams params;
    params.width = 1280, params.height = 720, params.frames = clipFrames, params.fps = 30;
    QString name;
    switch (codec) {
    case Mjpeg:
        name = QStringLiteral("mjpeg720.avi");
        break;
    case Mpeg4Gop250:
        params.encoder = QStringLiteral("mpeg4"), params.gop = 250;
        name = QStringLiteral("mpeg4-gop250-720.avi");
        break;
    case H264BFrames:
        params.encoder = zt::test::haveEncoder(QStringLiteral("libx264"))
                             ? QStringLiteral("libx264")
                             : QStringLiteral("mpeg4");
        params.gop = 250, params.bFrames = 3;
        name = params.encoder + QStringLiteral("-bframes-720.avi");
        break;
    }
    const QString path = dir + QLatin1Char('/') + name;
    if (!QFileInfo::exists(path) && !zt::test::writeClip(path, params))
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void report(benchmark::State& state, std::vector<double> times, const zt::FrameSource& source) {
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["worst_ms"] = times.back();
    state.counters["mean_ms"] = [&] {
        double s = 0;
        for (double t : times)
            s += t;
        return s / double(times.size());
    }();
    state.counters["cache_MB"] = double(source.cacheBytes()) / 1e6;
    state.counters["cached"] = double(source.cachedFrames());
}

// One sweep of single steps; the first request (a seek) is not counted.
// pace: milliseconds between steps (an operator holding an arrow key),
// not counted either.
void step(benchmark::State& state, Codec codec, int direction, bool prefetch = true, int pace = 0) {
    const QString path = clipFor(codec);
    zt::FrameSource::Options options;
    options.prefetch = prefetch;
    for (auto _ : state) {
        auto source = zt::FrameSource::open(path, options);
        if (!source)
            throw std::runtime_error("cannot open " + path.toStdString());
        int64_t n = direction > 0 ? sweepFrom : sweepTo;
        const int64_t end = direction > 0 ? sweepTo : sweepFrom;
        if (!source->packedDib(n))
            throw std::runtime_error("no frame");
        std::vector<double> times;
        while (n != end) {
            n += direction;
            if (pace > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(pace));
            const auto t0 = Clock::now();
            const auto dib = source->packedDib(n);
            times.push_back(ms(Clock::now() - t0));
            if (!dib || source->shownFrame() != n)
                throw std::runtime_error("wrong frame");
        }
        report(state, times, *source);
    }
}

using zt::SilentDialogs;

void extract(benchmark::State& state, Codec codec) {
    const QString path = clipFor(codec);
    const QString out = QDir::tempPath() + QStringLiteral("/zentrak-bench/currentcapture.bmp");
    SilentDialogs dialogs;
    for (auto _ : state)
        if (!zt::extractFrameTo(dialogs, path, 200, out))
            throw std::runtime_error("extraction failed");
}

} // namespace

BENCHMARK_CAPTURE(step, mjpeg_forward, Mjpeg, +1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, mjpeg_backward, Mjpeg, -1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, mpeg4_gop250_forward, Mpeg4Gop250, +1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, mpeg4_gop250_backward, Mpeg4Gop250, -1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_bframes_forward, H264BFrames, +1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_bframes_backward, H264BFrames, -1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, mpeg4_gop250_backward_no_worker, Mpeg4Gop250, -1, false)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_bframes_backward_no_worker, H264BFrames, -1, false)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
// At 30 steps a second, the pace of a held arrow key.
BENCHMARK_CAPTURE(step, mpeg4_gop250_forward_paced, Mpeg4Gop250, +1, true, 33)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, mpeg4_gop250_backward_paced, Mpeg4Gop250, -1, true, 33)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_bframes_forward_paced, H264BFrames, +1, true, 33)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_bframes_backward_paced, H264BFrames, -1, true, 33)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(step, h264_bframes_backward_paced_no_worker, H264BFrames, -1, false, 33)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(extract, mjpeg, Mjpeg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(extract, mpeg4_gop250, Mpeg4Gop250)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(extract, h264_bframes, H264BFrames)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
