// The recording pipeline on the test camera, 10 s per case, live picture
// on (taken as fast as it comes, as a view that keeps up would): frames
// recorded and dropped, frames the test source did not make in time, CPU
// per frame of each thread of the pipeline and of the whole process, and
// the write rate. The clips go to $TMPDIR/zentrak-bench-capture.
//
// The test source itself (lavfi test pattern, drawn counter and text) runs
// on the video thread, so that thread's figure includes the "camera".

#include "capture/CaptureSession.h"
#include "capture/TestCamera.h"
#include "capture/ThreadCpu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <benchmark/benchmark.h>
#include <thread>

namespace {

class LiveView : public zt::CaptureSession::Listener {
public:
    void pictureReady() override {
        if (session)
            session->picture();
        ++pictures;
    }
    void recordingMustEnd(zt::RecordingEnd::Kind, const QString&) override {}
    void inputEnded(const QString&) override {}
    void statusText(const QString&) override {}

    zt::CaptureSession* session = nullptr;
    std::atomic<int> pictures{0};
};

QString loadAverage() {
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2);
}

void record(benchmark::State& state, int width, int height, int fps, zt::Compression compression,
            const char* name) {
    const QString dir = QDir::tempPath() + QStringLiteral("/zentrak-bench-capture");
    QDir().mkpath(dir);
    const QString path =
        dir + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".avi");
    constexpr int seconds = 10;
    for (auto _ : state) {
        const QString loadBefore = loadAverage();
        zt::TestCameraBackend camera;
        zt::CaptureSession::Options options;
        options.video =
            camera.videoInput(camera.videoDevices().first(), {{width, height}, {}, 0, fps});
        options.frameRate = fps;
        LiveView view;
        QString error;
        auto session = zt::CaptureSession::open(options, &view, &error);
        if (!session) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        view.session = session.get();
        session->setPreview(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the source settles
        zt::ClipSettings clip;
        clip.path = path;
        clip.frameRate = fps;
        clip.compression = compression;
        const double processBefore = zt::cpuSecondsOfProcess();
        if (!session->startRecording(clip, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        const int picturesBefore = view.pictures;
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const zt::RecordingEnd end = session->stopRecording();
        const double process = zt::cpuSecondsOfProcess() - processBefore;
        const zt::CaptureSession::CpuTimes cpu = session->cpuTimes();
        const auto& c = end.counters;
        const double frames = static_cast<double>(qMax(1LL, c.framesRecorded));
        const double expected = c.elapsedMs * fps / 1000.0;
        state.SetIterationTime(c.elapsedMs / 1000.0);
        state.counters["recorded"] = static_cast<double>(c.framesRecorded);
        state.counters["dropped"] = static_cast<double>(c.framesDropped);
        state.counters["source_late"] =
            expected - static_cast<double>(c.framesRecorded + c.framesDropped);
        state.counters["video_ms_per_frame"] = cpu.video * 1000 / frames;
        state.counters["encoder_ms_per_frame"] = cpu.encoder * 1000 / frames;
        state.counters["writer_ms_per_frame"] = cpu.writer * 1000 / frames;
        state.counters["process_ms_per_frame"] = process * 1000 / frames;
        state.counters["live_pictures_per_s"] =
            (view.pictures - picturesBefore) * 1000.0 / c.elapsedMs;
        state.counters["write_MB_per_s"] =
            static_cast<double>(QFileInfo(path).size()) / 1e6 / (c.elapsedMs / 1000.0);
        state.SetLabel(("load " + loadBefore + " -> " + loadAverage()).toStdString());
    }
}

void Mjpeg720p60(benchmark::State& s) {
    record(s, 1280, 720, 60, zt::Compression::Mjpeg, "mjpeg-720p60");
}
void Mjpeg1080p30(benchmark::State& s) {
    record(s, 1920, 1080, 30, zt::Compression::Mjpeg, "mjpeg-1080p30");
}
void None720p30(benchmark::State& s) {
    record(s, 1280, 720, 30, zt::Compression::None, "none-720p30");
}
void Ffv1720p30(benchmark::State& s) {
    record(s, 1280, 720, 30, zt::Compression::Ffv1, "ffv1-720p30");
}

} // namespace

BENCHMARK(Mjpeg720p60)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(Mjpeg1080p30)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(None720p30)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(Ffv1720p30)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
