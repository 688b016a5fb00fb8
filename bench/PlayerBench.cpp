// The frame selection player, offscreen, at 1280x720: the time from a step
// command to the new frame painted, stepping as fast as the frames come and
// at the pace of a held arrow key (ten steps a second), and the time of
// taking the frame on display. The clips are written on first use into
// $TMPDIR/zentrak-bench.
//
// Counters: median_ms and worst_ms of a step (command to paint), behind: the
// steps commanded while the one before was not painted yet (a held key
// running ahead of the picture), worst_at: the frame of the worst step,
// held_MB: the most decoded pictures the
// clip held at once, load: the load average at the end. extract: frame 200
// to a bitmap by zentrak-tool and by the ffmpeg command as processes, the
// wall time ratio and both peak memories.

#include "BenchMain.h"
#include "ClipWriter.h"
#include "app/Dialogs.h"
#include "video/ui/MediaPlayer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int clipFrames = 330; // 11 s at 30 fps
constexpr int64_t low = 10, high = 310;

// The clips: our recordings' MJPEG, H.264 in AVI, and what phones and
// action cameras make (H.264 and HEVC in MP4, a variable-rate MP4), all
// with keyframes 250 frames apart and B-frames.
enum Kind { Mjpeg, H264Avi, H264Mp4, HevcMp4, VfrMp4 };

QString benchDir() {
    const QString dir = QDir::tempPath() + QStringLiteral("/zentrak-bench");
    QDir().mkpath(dir);
    return dir;
}

// The ffmpeg command's run; throws when it fails.
void ffmpeg(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-nostdin", "-y", "-v", "error"} + args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        throw std::runtime_error("ffmpeg failed: " + args.join(' ').toStdString() + "\n" +
                                 p.readAllStandardError().toStdString());
}

QString aviClip(bool h264) {
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
    const QString path = benchDir() + QLatin1Char('/') + name;
    if (!QFileInfo::exists(path) && !zt::test::writeClip(path, params))
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

QString clipFor(Kind kind) {
    if (kind == Mjpeg || kind == H264Avi)
        return aviClip(kind == H264Avi);
    const QString names[] = {
        {}, {}, "player-h264-720.mp4", "player-hevc-720.mp4", "player-h264-vfr-720.mp4"};
    const QString path = benchDir() + QLatin1Char('/') + names[kind];
    if (QFileInfo::exists(path))
        return path;
    // From the MJPEG recording: the same painted frames.
    QStringList args = {"-i", aviClip(false)};
    if (kind == VfrMp4) // every fifth frame followed by a pause of two frame times
        args << "-vf"
             << "setpts='(N+floor(N/5)*2)/(30*TB)'"
             << "-fps_mode"
             << "passthrough";
    if (kind == HevcMp4)
        args << "-c:v"
             << "libx265"
             << "-preset"
             << "fast"
             << "-x265-params"
             << "log-level=error:keyint=250:min-keyint=250:bframes=3";
    else
        args << "-c:v"
             << "libx264"
             << "-g"
             << "250"
             << "-bf"
             << "3";
    args << "-pix_fmt"
         << "yuv420p" << path;
    ffmpeg(args);
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
void step(benchmark::State& state, Kind kind, int direction, int paceMs) {
    for (auto _ : state) {
        Stage stage(clipFor(kind));
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
        const auto worst = std::max_element(times.begin(), times.end()) - times.begin();
        report(state, times, behind);
        state.counters["worst_at"] = double(direction > 0 ? low + 1 + worst : high - 1 - worst);
        std::sort(stage.paintTimes.begin(), stage.paintTimes.end());
        state.counters["paint_ms"] = stage.paintTimes[stage.paintTimes.size() / 2];
        state.counters["held_MB"] = double(stage.player->peakHeldBytes()) / 1e6;
    }
}

using zt::SilentDialogs;

// Taking frame 200 once it is on display: converted and written.
void take(benchmark::State& state, Kind kind) {
    Stage stage(clipFor(kind));
    stage.player->setPosition(200);
    stage.waitPainted(200);
    SilentDialogs dialogs;
    const QString out = benchDir() + QStringLiteral("/currentcapture.bmp");
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

// A whole process: wall seconds and peak resident megabytes.
struct Run {
    double seconds = 0;
    double peakMB = 0;
};

// Processes are started by a launcher forked before the bench grew: a
// child's peak memory (wait4's ru_maxrss) starts from the size of the
// process it was forked from, which for the bench itself is hundreds of
// megabytes of decoded pictures.
struct Launcher {
    int toChild = -1, fromChild = -1;
};

Launcher& launcher() {
    static Launcher l;
    return l;
}

bool readAll(int fd, void* data, size_t size) {
    auto* p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, p, size);
        if (n <= 0)
            return false;
        p += n, size -= size_t(n);
    }
    return true;
}

[[noreturn]] void launcherLoop(int in, int out) {
    for (;;) {
        uint32_t size = 0;
        if (!readAll(in, &size, sizeof size))
            _exit(0);
        std::string line(size, '\0');
        if (!readAll(in, line.data(), size))
            _exit(0);
        std::vector<std::string> args;
        for (size_t from = 0; from < line.size();) {
            const size_t end = line.find('\0', from);
            args.push_back(line.substr(from, end - from));
            from = end + 1;
        }
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        timespec t0{}, t1{};
        clock_gettime(CLOCK_MONOTONIC, &t0);
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            dup2(null, 1), dup2(null, 2);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        const bool ok = pid > 0 && wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) &&
                        WEXITSTATUS(status) == 0;
        clock_gettime(CLOCK_MONOTONIC, &t1);
        const double reply[3] = {
            ok ? 1.0 : 0.0, double(t1.tv_sec - t0.tv_sec) + double(t1.tv_nsec - t0.tv_nsec) / 1e9,
            double(usage.ru_maxrss) / 1024.0};
        if (::write(out, reply, sizeof reply) != sizeof reply)
            _exit(0);
    }
}

void startLauncher() {
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0)
        return;
    if (fork() == 0) {
        close(down[1]), close(up[0]);
        launcherLoop(down[0], up[1]);
    }
    close(down[0]), close(up[1]);
    launcher() = {down[1], up[0]};
}

Run runProcess(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& a : args)
        line += a + '\0';
    const uint32_t size = uint32_t(line.size());
    double reply[3] = {};
    const Launcher& l = launcher();
    if (::write(l.toChild, &size, sizeof size) != sizeof size ||
        ::write(l.toChild, line.data(), size) != ssize_t(size) ||
        !readAll(l.fromChild, reply, sizeof reply) || reply[0] != 1.0)
        throw std::runtime_error("failed: " + args.front());
    return {reply[1], reply[2]};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Frame 200 to a bitmap by zentrak-tool and by the ffmpeg command, whole
// processes, side by side: median of 5 pairs, taken in turns.
void extract(benchmark::State& state, Kind kind) {
    const std::string clip = clipFor(kind).toStdString();
    const std::string ours = (benchDir() + QStringLiteral("/extract-ours.bmp")).toStdString();
    const std::string theirs = (benchDir() + QStringLiteral("/extract-ffmpeg.bmp")).toStdString();
    std::vector<double> ourTimes, theirTimes, ourMB, theirMB;
    for (auto _ : state) {
        for (int pair = 0; pair < 5; ++pair) {
            const Run a = runProcess({ZENTRAK_TOOL_PATH, "extract-frame", clip, "200", ours});
            const Run b = runProcess({"ffmpeg", "-nostdin", "-y", "-v", "error", "-i", clip, "-vf",
                                      "select=eq(n\\,200)", "-frames:v", "1", theirs});
            ourTimes.push_back(a.seconds), ourMB.push_back(a.peakMB);
            theirTimes.push_back(b.seconds), theirMB.push_back(b.peakMB);
        }
    }
    state.counters["ours_s"] = median(ourTimes);
    state.counters["ffmpeg_s"] = median(theirTimes);
    state.counters["ratio"] = median(ourTimes) / median(theirTimes);
    state.counters["ours_MB"] = median(ourMB);
    state.counters["ffmpeg_MB"] = median(theirMB);
    state.counters["load"] = loadAverage();
}

#define PLAYER_STEPS(name, kind)                                                                   \
    BENCHMARK_CAPTURE(step, name##_forward, kind, +1, 0)                                           \
        ->Iterations(1)                                                                            \
        ->Unit(benchmark::kMillisecond);                                                           \
    BENCHMARK_CAPTURE(step, name##_backward, kind, -1, 0)                                          \
        ->Iterations(1)                                                                            \
        ->Unit(benchmark::kMillisecond);                                                           \
    BENCHMARK_CAPTURE(step, name##_forward_held, kind, +1, 100)                                    \
        ->Iterations(1)                                                                            \
        ->Unit(benchmark::kMillisecond);                                                           \
    BENCHMARK_CAPTURE(step, name##_backward_held, kind, -1, 100)                                   \
        ->Iterations(1)                                                                            \
        ->Unit(benchmark::kMillisecond);                                                           \
    BENCHMARK_CAPTURE(take, name, kind)->Iterations(20)->Unit(benchmark::kMillisecond);            \
    BENCHMARK_CAPTURE(extract, name, kind)->Iterations(1)->Unit(benchmark::kMillisecond)

PLAYER_STEPS(mjpeg_avi, Mjpeg);
PLAYER_STEPS(h264_avi, H264Avi);
PLAYER_STEPS(h264_mp4, H264Mp4);
PLAYER_STEPS(hevc_mp4, HevcMp4);
PLAYER_STEPS(vfr_h264_mp4, VfrMp4);

} // namespace

int main(int argc, char** argv) {
    startLauncher();
    return zt::bench::runOffscreen<QApplication>(argc, argv);
}
