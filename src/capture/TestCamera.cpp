#include "capture/TestCamera.h"

#include "capture/CaptureInput.h"

#include <QColor>
#include <QPainter>

namespace zt {

namespace {

constexpr int codeBits = 16;

const QList<QSize> testResolutions = {{640, 480}, {1280, 720}, {320, 240}, {1920, 1080}};

// Side of one code block: a 24th of the height, at least 8 pixels, and
// the 16 blocks with a margin fit the width.
int codeBlock(QSize size) {
    return qMax(4, qMin(qMax(8, size.height() / 24), size.width() / (codeBits + 2)));
}

// The text filter works when FFmpeg was built with it and finds a font.
bool textFilterWorks() {
    static const bool works = [] {
        InputSetup probe{"lavfi", "testsrc2=size=64x48:rate=5,drawtext=text=1", {}, {}};
        QString error;
        auto input = CaptureInput::open(probe, nullptr, &error);
        return input != nullptr;
    }();
    return works;
}

} // namespace

QList<CaptureDevice> TestCameraBackend::videoDevices() {
    if (!present_)
        return {};
    const CaptureDevice test{cameraName(), "test-camera"}, demo{demoName(), "demo-lake"};
    if (!demoVideo_)
        return {test};
    return demoFirst_ ? QList<CaptureDevice>{demo, test} : QList<CaptureDevice>{test, demo};
}

QList<CaptureDevice> TestCameraBackend::audioDevices() {
    return {{toneName(), "test-tone"}};
}

DeviceModes TestCameraBackend::videoModes(const CaptureDevice& device) {
    DeviceModes m;
    if (device.id == "demo-lake") {
        m.resolutions = {{1280, 720}, {640, 480}, {1920, 1080}};
        m.colorFormats = {{QStringLiteral("RGB32"), "bgra"}};
        m.frameRates = {30, 25, 50, 60};
        return m;
    }
    m.resolutions = testResolutions;
    m.colorFormats = {{QStringLiteral("I420"), "yuv420p"},
                      {QStringLiteral("YUY2"), "yuyv422"},
                      {QStringLiteral("RGB24"), "rgb24"}};
    m.inputs = {QStringLiteral("Camera")};
    m.frameRates = {15, 25, 30, 50, 60};
    return m;
}

InputSetup TestCameraBackend::videoInput(const CaptureDevice& device, const VideoRequest& request) {
    if (device.id == "demo-lake" && demoVideo_) {
        InputSetup setup;
        setup.generated = demoVideo_(request.size.isValid() ? request.size : QSize(1280, 720),
                                     qBound(1, request.frameRate, 240));
        return setup;
    }
    TestPattern p;
    p.size = request.size.isValid() ? request.size : testResolutions.first();
    p.frameRate = qBound(1, request.frameRate, 240);
    if (!request.colorFormat.isEmpty())
        p.pixelFormat = request.colorFormat;
    p.stopAfter = stopAfter_;
    p.dropPeriod = dropPeriod_;
    p.dropCount = dropCount_;
    p.drawText = textFilterWorks();
    return {"lavfi", testPatternGraph(p), {}, {}};
}

InputSetup TestCameraBackend::audioInput(const CaptureDevice&, const AudioFormat& format) {
    return {"lavfi", testToneGraph(format), {}, {}};
}

QByteArray testPatternGraph(const TestPattern& p) {
    const int w = p.size.width();
    const int h = p.size.height();
    const int b = codeBlock(p.size);
    QByteArray g = "testsrc2=size=" + QByteArray::number(w) + 'x' + QByteArray::number(h) +
                   ":rate=" + QByteArray::number(p.frameRate);
    // FFmpeg reads decimals in the graph with the C library, which follows
    // the locale: every number in it is whole.
    if (p.stopAfter > 0)
        g += ":duration=" + QByteArray::number(qRound64(p.stopAfter * 1000)) + "ms";
    const QByteArray y = QByteArray::number(h - b);
    const QByteArray side = QByteArray::number(b);
    g += ",drawbox=x=0:y=" + y + ":w=" + QByteArray::number(b * (codeBits + 1)) + ":h=" + side +
         ":color=black:t=fill";
    for (int k = 0; k < codeBits; ++k)
        g += ",drawbox=x=" + QByteArray::number(k * b) + ":y=" + y + ":w=" + side + ":h=" + side +
             ":color=white:t=fill:enable='mod(floor(n/" + QByteArray::number(1 << k) + "),2)'";
    if (p.drawText) {
        const QByteArray font = QByteArray::number(qMax(10, h / 14));
        g += ",drawtext=text='Frame %{n}   %{pts\\:hms}':x=" + QByteArray::number(w / 20) +
             ":y=" + QByteArray::number(h / 8) + ":fontsize=" + font +
             ":fontcolor=white:box=1:boxcolor=black@0x99";
    }
    if (p.dropPeriod > 0 && p.dropCount > 0)
        g += ",select='lt(mod(n," + QByteArray::number(p.dropPeriod) + ")," +
             QByteArray::number(p.dropPeriod - p.dropCount) + ")'";
    g += ",format=" + p.pixelFormat + ",realtime";
    return g;
}

QByteArray testToneGraph(const AudioFormat& f) {
    return "sine=frequency=440:sample_rate=" + QByteArray::number(f.sampleRate) +
           ",aformat=sample_fmts=s16:channel_layouts=" +
           (f.channels == 2 ? QByteArray("stereo") : QByteArray("mono")) + ",arealtime";
}

void paintFrameCode(QImage& picture, int code) {
    const int b = codeBlock(picture.size());
    const int y = picture.height() - b;
    QPainter p(&picture);
    p.fillRect(QRect(0, y, b * (codeBits + 1), b), Qt::black);
    for (int k = 0; k < codeBits; ++k)
        if (code & (1 << k))
            p.fillRect(QRect(k * b, y, b, b), Qt::white);
}

std::optional<int> readFrameCode(const QImage& picture) {
    if (picture.isNull())
        return std::nullopt;
    const int b = codeBlock(picture.size());
    const int y = picture.height() - b + b / 2;
    int code = 0;
    // Blocks 0..15 are the bits; block 16 is always black.
    for (int k = 0; k <= codeBits; ++k) {
        const int grey = qGray(picture.pixel(k * b + b / 2, y));
        if (grey > 64 && grey < 192)
            return std::nullopt;
        const bool set = grey >= 192;
        if (k == codeBits)
            return set ? std::nullopt : std::optional<int>(code);
        if (set)
            code |= 1 << k;
    }
    return code;
}

} // namespace zt
