// zentrak-tool commands on capture devices: the list of devices and a
// recording through the program's own recording pipeline.

#include "capture/CaptureBackend.h"
#include "capture/CaptureSession.h"
#include "capture/DeviceCaptureControl.h"
#include "capture/TestCamera.h"
#include "tool/Commands.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>

namespace zt::tool {

namespace {

Output usageProblem(const QString& what) {
    return {QString(), QStringLiteral("zentrak-tool: ") + what + QStringLiteral("\n") + usage(), 2};
}

struct RecordArgs {
    QString device;
    double seconds = 5;
    QSize size;
    int rate = 30;
    Compression compression = Compression::Mjpeg;
    QString audio = QStringLiteral("none");
    QString out;
};

std::optional<Compression> compressionNamed(const QString& name) {
    if (name == QLatin1String("none"))
        return Compression::None;
    if (name == QLatin1String("mjpeg"))
        return Compression::Mjpeg;
    if (name == QLatin1String("ffv1"))
        return Compression::Ffv1;
    return std::nullopt;
}

// Reads the record arguments; the problem in words, or empty.
QString parseRecordArgs(const QStringList& args, RecordArgs* r) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            if (!r->out.isEmpty())
                return QStringLiteral("unexpected argument: ") + a;
            r->out = a;
            continue;
        }
        if (i + 1 >= args.size())
            return a + QStringLiteral(" needs a value");
        const QString v = args[++i];
        bool ok = true;
        if (a == QLatin1String("--device")) {
            r->device = v;
        } else if (a == QLatin1String("--seconds")) {
            r->seconds = v.toDouble(&ok);
            ok = ok && r->seconds > 0 && r->seconds <= 3600;
        } else if (a == QLatin1String("--size")) {
            const QStringList wh = v.split(QLatin1Char('x'));
            bool okH = false;
            r->size = wh.size() == 2 ? QSize(wh[0].toInt(&ok), wh[1].toInt(&okH)) : QSize();
            ok = ok && okH && r->size.width() >= 16 && r->size.height() >= 16 &&
                 r->size.width() <= 7680 && r->size.height() <= 4320;
        } else if (a == QLatin1String("--rate")) {
            r->rate = v.toInt(&ok);
            ok = ok && r->rate >= 1 && r->rate <= 240;
        } else if (a == QLatin1String("--compression")) {
            const auto c = compressionNamed(v);
            ok = c.has_value();
            if (ok)
                r->compression = *c;
        } else if (a == QLatin1String("--audio")) {
            r->audio = v;
        } else {
            return QStringLiteral("unknown option: ") + a;
        }
        if (!ok)
            return QStringLiteral("not a valid ") + a.mid(2) + QStringLiteral(": ") + v;
    }
    if (r->device.isEmpty())
        return QStringLiteral("record needs --device");
    if (r->out.isEmpty())
        return QStringLiteral("record needs the file to write");
    return QString();
}

const CaptureDevice* findDevice(const QList<CaptureDevice>& devices, const QString& name) {
    for (const CaptureDevice& d : devices)
        if (d.name == name || QString::fromUtf8(d.id) == name)
            return &d;
    return nullptr;
}

// Hears the pipeline on its threads; the command only waits.
class Waiter : public CaptureSession::Listener {
public:
    void pictureReady() override {}
    void recordingMustEnd(RecordingEnd::Kind kind, const QString& why) override {
        std::lock_guard lock(mutex);
        if (ended)
            return;
        ended = true;
        endKind = kind;
        reason = why;
    }
    void inputEnded(const QString& why) override { recordingMustEnd(RecordingEnd::InputLost, why); }
    void statusText(const QString&) override {}

    bool hasEnded() {
        std::lock_guard lock(mutex);
        return ended;
    }

    std::mutex mutex;
    bool ended = false;
    RecordingEnd::Kind endKind = RecordingEnd::Stopped;
    QString reason;
};

} // namespace

Output devicesCommand(const QStringList& args) {
    bool test = false;
    for (const QString& a : args) {
        if (a != QLatin1String("--test-camera"))
            return usageProblem(QStringLiteral("unexpected argument: ") + a);
        test = true;
    }
    QList<CaptureDevice> video, audio;
    const auto platform = createPlatformBackend();
    video = platform->videoDevices();
    audio = platform->audioDevices();
    if (test) {
        TestCameraBackend t;
        video += t.videoDevices();
        audio += t.audioDevices();
    }
    Output out;
    for (const CaptureDevice& d : video)
        out.out += QStringLiteral("video: ") + d.name + QLatin1Char('\n');
    for (const CaptureDevice& d : audio)
        out.out += QStringLiteral("audio: ") + d.name + QLatin1Char('\n');
    return out;
}

Output recordCommand(const QStringList& args) {
    RecordArgs r;
    if (const QString problem = parseRecordArgs(args, &r); !problem.isEmpty())
        return usageProblem(problem);
    const auto platform = createPlatformBackend();
    TestCameraBackend test;
    CaptureBackend* videoBackend = &test;
    CaptureDevice videoDevice{TestCameraBackend::cameraName(), "test-camera"};
    if (r.device != QLatin1String("test")) {
        const CaptureDevice* d = findDevice(platform->videoDevices(), r.device);
        if (!d)
            return {QString(), QStringLiteral("There is no camera named ") + r.device + '\n', 1};
        videoBackend = platform.get();
        videoDevice = *d;
    }
    CaptureSession::Options options;
    options.frameRate = r.rate;
    options.video = videoBackend->videoInput(videoDevice, {r.size, {}, 0, r.rate});
    const AudioFormat audioFormat;
    if (r.audio == QLatin1String("test")) {
        options.audio = test.audioInput(test.audioDevices().first(), audioFormat);
    } else if (r.audio != QLatin1String("none")) {
        const CaptureDevice* d = findDevice(platform->audioDevices(), r.audio);
        if (!d)
            return {QString(), QStringLiteral("There is no microphone named ") + r.audio + '\n', 1};
        options.audio = platform->audioInput(*d, audioFormat);
    }
    Waiter waiter;
    QString error;
    auto session = CaptureSession::open(options, &waiter, &error);
    if (!session)
        return {QString(), QStringLiteral("The camera cannot be opened: ") + error + '\n', 1};
    ClipSettings clip;
    clip.path = r.out;
    clip.frameRate = r.rate;
    clip.compression = r.compression;
    clip.audio = options.audio.has_value();
    clip.audioFormat = audioFormat;
    if (!session->startRecording(clip, &error))
        return {QString(), error + '\n', 1};
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::milliseconds(static_cast<long long>(r.seconds * 1000));
    while (std::chrono::steady_clock::now() < until && !waiter.hasEnded())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const RecordingEnd end = session->stopRecording();
    const CaptureCounters& c = end.counters;
    Output out;
    out.out =
        QStringLiteral("frames recorded: %1\nframes dropped: %2\nsamples: %3\ntime (ms): %4\n")
            .arg(c.framesRecorded)
            .arg(c.framesDropped)
            .arg(c.samples)
            .arg(c.elapsedMs);
    QString fault = end.kind == RecordingEnd::WriteFailed ? end.reason : QString();
    if (fault.isEmpty() && waiter.hasEnded() && waiter.endKind != RecordingEnd::TimeLimit)
        fault = waiter.reason;
    if (!fault.isEmpty()) {
        out.err = recordingFaultText(r.out, fault, c.framesRecorded) + '\n';
        out.exitCode = 1;
    }
    return out;
}

} // namespace zt::tool
