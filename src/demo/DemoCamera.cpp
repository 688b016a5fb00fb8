#include "demo/DemoCamera.h"

#include "app/FileUtils.h"
#include "app/Paths.h"
#include "app/TextFormat.h"
#include "capture/ClipRecorder.h"
#include "capture/TestCamera.h"
#include "video/Dib.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

#include <QDir>
#include <chrono>
#include <thread>

namespace zt {

namespace {

QString pair(const QString& key, double a, double b) {
    return key + QStringLiteral(": ") + numberText(a) + QLatin1Char(' ') + numberText(b) +
           QLatin1Char('\n');
}

QString twipsPair(const QString& key, const DemoLake& lake, PlanePoint p) {
    const QPointF t = lake.twipsOf(p);
    return pair(key, t.x(), t.y());
}

// A 24-bit bottom-up bitmap of the picture, as the program writes its frames.
bool writeBitmap(const QImage& picture, const QString& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const int w = rgb.width(), h = rgb.height();
    const BmpInfoHeader info = frameFormat24(w, h);
    const int64_t row = rowBytes24(w);
    QByteArray packed = info.toBytes();
    packed.resize(BmpInfoHeader::byteSize + static_cast<qsizetype>(row * h), '\0');
    for (int y = 0; y < h; ++y) {
        const uchar* src = rgb.constScanLine(h - 1 - y);
        char* dst = packed.data() + BmpInfoHeader::byteSize + row * y;
        for (int x = 0; x < w; ++x) { // BMP keeps blue, green, red
            dst[3 * x] = static_cast<char>(src[3 * x + 2]);
            dst[3 * x + 1] = static_cast<char>(src[3 * x + 1]);
            dst[3 * x + 2] = static_cast<char>(src[3 * x]);
        }
    }
    Dib dib;
    return dib.CreateFromPackedDIBPointer(packed.constData(), static_cast<size_t>(packed.size())) &&
           dib.WriteToFile(path);
}

// The clip of jump 0 from the start of the demo until its splash is over.
QString writeDemoClip(const DemoLakeVideo& video, const QString& path, const DemoJump& jump) {
    ClipSettings settings;
    settings.path = path;
    settings.frameRate = video.frameRate();
    settings.compression = Compression::Mjpeg;
    const QSize size = video.size();
    QString error, failure;
    auto recorder = ClipRecorder::open(
        settings, {size.width(), size.height(), AV_PIX_FMT_BGRA, nullptr}, std::nullopt,
        [&failure](const QString& reason) { failure = reason; }, &error);
    if (!recorder)
        return error;
    const int64_t frames = static_cast<int64_t>((jump.landingTime + 2.0) * video.frameRate());
    AVFrame* frame = av_frame_alloc();
    for (int64_t n = 0; n < frames && !recorder->failed(); ++n) {
        const QImage picture = video.frame(n);
        frame->format = AV_PIX_FMT_BGRA;
        frame->width = size.width();
        frame->height = size.height();
        frame->data[0] = const_cast<uchar*>(picture.constBits());
        frame->linesize[0] = static_cast<int>(picture.bytesPerLine());
        // Written as fast as it can be, so the encoder may be behind: wait
        // rather than drop a frame.
        while (!recorder->pushFrame(frame, n) && !recorder->failed())
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    av_frame_free(&frame);
    recorder->finish();
    return recorder->failed() ? recorder->failure() : QString();
}

} // namespace

DemoLakeVideo::DemoLakeVideo(QSize size, int frameRate, unsigned seed,
                             std::shared_ptr<FrameClock> clock, QPointF cameraShift)
    : lake_(size, seed), rate_(std::max(1, frameRate)), clock_(std::move(clock)) {
    lake_.setCameraShift(cameraShift);
}

QImage DemoLakeVideo::frame(int64_t n) const {
    QImage picture = lake_.render(static_cast<double>(n) / rate_);
    paintFrameCode(picture, static_cast<int>(n & 0xFFFF));
    return picture;
}

QString demoSurveyText(const DemoLake& lake) {
    const DemoSurvey& s = lake.survey();
    return pair(QStringLiteral("upper right"), s.upperRight.x, s.upperRight.y) +
           pair(QStringLiteral("lower right"), s.lowerRight.x, s.lowerRight.y) +
           pair(QStringLiteral("upper left"), s.upperLeft.x, s.upperLeft.y) +
           pair(QStringLiteral("lower left"), s.lowerLeft.x, s.lowerLeft.y) +
           pair(QStringLiteral("check buoy"), s.checkBuoy.x, s.checkBuoy.y) +
           pair(QStringLiteral("jump"), s.jump.x, s.jump.y);
}

QString demoTruthText(const DemoLake& lake, const DemoJump& jump, double fps) {
    return demoTruthText(lake, lake, jump, fps);
}

QString demoTruthText(const DemoLake& lake, const DemoLake& clipLake, const DemoJump& jump,
                      double fps) {
    const DemoSurvey& s = lake.survey();
    const QPointF shift = clipLake.cameraShift() - lake.cameraShift();
    return twipsPair(QStringLiteral("upper right"), lake, s.upperRight) +
           twipsPair(QStringLiteral("lower right"), lake, s.lowerRight) +
           twipsPair(QStringLiteral("upper left"), lake, s.upperLeft) +
           twipsPair(QStringLiteral("lower left"), lake, s.lowerLeft) +
           twipsPair(QStringLiteral("check buoy"), lake, s.checkBuoy) +
           QStringLiteral("contact frame: ") + QString::number(DemoLake::contactFrame(jump, fps)) +
           QLatin1Char('\n') + twipsPair(QStringLiteral("landing screen"), clipLake, jump.landing) +
           pair(QStringLiteral("landing water"), jump.landing.x, jump.landing.y) +
           QStringLiteral("distance: ") + numberText(jump.distance) + QLatin1Char('\n') +
           QStringLiteral("distance normal: ") +
           numberText(jump.distance + tournamentCorrection(false, false)) + QLatin1Char('\n') +
           (shift.isNull() ? QString()
                           : pair(QStringLiteral("camera shift"), shift.x(), shift.y()));
}

QString writeDemoFiles(const QString& folder, QSize size, int frameRate, unsigned seed,
                       QPointF cameraShift) {
    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder cannot be made: ") + folder;
    const DemoLakeVideo video(size, frameRate, seed, nullptr, cameraShift);
    const DemoLake lake(size, seed);
    const DemoJump jump = lake.jump(0);
    if (!writeBitmap(lake.render(0.2, false), joinPath(folder, QStringLiteral("demo-setup.bmp"))))
        return QStringLiteral("The setup picture cannot be written into ") + folder;
    if (const QString e =
            writeDemoClip(video, joinPath(folder, QStringLiteral("DEMOjump1.avi")), jump);
        !e.isEmpty())
        return QStringLiteral("The demo clip cannot be written: ") + e;
    for (const auto& [name, text] :
         {std::pair{QStringLiteral("demo-survey.txt"), demoSurveyText(lake)},
          std::pair{QStringLiteral("demo-truth.txt"),
                    demoTruthText(lake, video.lake(), jump, frameRate)}})
        if (const FileResult r = replaceText(joinPath(folder, name), text); !r)
            return r.error;
    return QString();
}

} // namespace zt
