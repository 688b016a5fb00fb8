#include "support/CaptureFixtures.h"

#include "capture/TestCamera.h"
#include "video/FrameSource.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <sys/resource.h>

namespace zt::test {

bool SteppedFrameClock::waitForFrame(int64_t n, const std::atomic<bool>* abort) {
    std::unique_lock lock(mutex_);
    waiting_ = n;
    while (n > last_) {
        if (abort && abort->load())
            return false;
        allowed_.wait_for(lock, std::chrono::milliseconds(20));
    }
    return true;
}

void SteppedFrameClock::allow(int64_t last) {
    {
        std::lock_guard lock(mutex_);
        last_ = last;
    }
    allowed_.notify_all();
}

bool SteppedFrameClock::waitsFor(int64_t n) const {
    std::lock_guard lock(mutex_);
    return waiting_ == n && n > last_;
}

int64_t SteppedFrameClock::waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

ClipCodes clipCodes(const QString& path) {
    ClipCodes c;
    // A clip cut short has no length in its header: read until the end.
    auto source = FrameSource::open(path);
    if (!source)
        return c;
    c.opened = true;
    c.frameCount = source->frameCount();
    const long long last = c.frameCount > 0 ? c.frameCount : 100000;
    for (long long n = 0; n < last; ++n) {
        FrameError error = FrameError::None;
        const QImage picture = source->image(n, &error);
        if (picture.isNull())
            break;
        c.codes.push_back(readFrameCode(picture).value_or(-1));
    }
    return c;
}

int counterBreaks(const std::vector<int>& codes) {
    int breaks = 0;
    for (std::size_t i = 1; i < codes.size(); ++i)
        if (codes[i] != codes[i - 1] + 1)
            ++breaks;
    return breaks;
}

ToolRun runTool(const QStringList& args, long long fileSizeLimit, const QString& killAfterBytesOf,
                long long killBytes) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    if (fileSizeLimit > 0) {
        p.setChildProcessModifier([fileSizeLimit] {
            // A write past the limit fails with EFBIG instead of a signal.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    p.start(QStringLiteral(ZENTRAK_TOOL_PATH), args);
    ToolRun run;
    if (!p.waitForStarted(10000))
        return run;
    if (!killAfterBytesOf.isEmpty()) {
        waitUntil(
            [&] {
                return QFileInfo(killAfterBytesOf).size() >= killBytes ||
                       p.state() == QProcess::NotRunning;
            },
            60000);
        p.kill();
        run.killed = true;
    }
    p.waitForFinished(120000);
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(p.readAllStandardError());
    return run;
}

} // namespace zt::test
