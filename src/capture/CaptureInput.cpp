#include "capture/CaptureInput.h"

#include "capture/CaptureBackend.h"

#include <QImage>

extern "C" {
#include <libavdevice/avdevice.h>
#include <libavformat/avformat.h>
}

#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

namespace zt {

namespace {

int interrupted(void* opaque) {
    const auto* abort = static_cast<const std::atomic<bool>*>(opaque);
    return abort && abort->load() ? 1 : 0;
}

} // namespace

void registerCaptureDevices() {
    static std::once_flag once;
    std::call_once(once, [] {
        avdevice_register_all();
        // Devices and filters chat at the info level (fonts, formats);
        // errors are still told.
        if (av_log_get_level() > AV_LOG_ERROR)
            av_log_set_level(AV_LOG_ERROR);
    });
}

QString ffmpegErrorText(int error) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, buf, sizeof buf);
    return QString::fromLocal8Bit(buf);
}

// Pictures the program makes, as a stream of raw BGRA frames read by
// FFmpeg's rawvideo input: each frame is made when its time has come.
struct CaptureInput::Generated {
    std::shared_ptr<const VideoGenerator> source;
    const std::atomic<bool>* abort = nullptr;
    int64_t next = 0;     // the frame to make next
    QByteArray frame;     // the frame being read
    qsizetype offset = 0; // bytes of it read
    long long startedAt = -1;
};

namespace {

long long steadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Waits until the time at, in short steps so that closing is not held up;
// false when aborted.
bool waitUntil(long long at, const std::atomic<bool>* abort) {
    for (;;) {
        if (abort && abort->load())
            return false;
        const long long left = at - steadyMicroseconds();
        if (left <= 0)
            return true;
        std::this_thread::sleep_for(std::chrono::microseconds(std::min(left, 20000LL)));
    }
}

} // namespace

int CaptureInput::readGenerated(void* opaque, uint8_t* buffer, int size) {
    auto* g = static_cast<Generated*>(opaque);
    if (g->offset >= g->frame.size()) {
        if (FrameClock* clock = g->source->clock()) {
            if (!clock->waitForFrame(g->next, g->abort))
                return AVERROR_EXIT;
        } else {
            const long long now = steadyMicroseconds();
            if (g->startedAt < 0)
                g->startedAt = now;
            const long long due =
                g->startedAt + g->next * 1000000LL / std::max(1, g->source->frameRate());
            if (!waitUntil(due, g->abort))
                return AVERROR_EXIT;
        }
        const QImage picture = g->source->frame(g->next++).convertToFormat(QImage::Format_RGB32);
        g->frame =
            QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
        g->offset = 0;
    }
    const int n = static_cast<int>(std::min<qsizetype>(size, g->frame.size() - g->offset));
    std::memcpy(buffer, g->frame.constData() + g->offset, static_cast<size_t>(n));
    g->offset += n;
    return n;
}

std::unique_ptr<CaptureInput> CaptureInput::open(const InputSetup& setup,
                                                 const std::atomic<bool>* abort, QString* error) {
    registerCaptureDevices();
    if (setup.generated)
        return openGenerated(setup, abort, error);
    const AVInputFormat* format = av_find_input_format(setup.format.constData());
    if (!format) {
        *error = QStringLiteral("This program was built without the input ") +
                 QString::fromLatin1(setup.format);
        return nullptr;
    }
    std::unique_ptr<CaptureInput> input(new CaptureInput);
    input->format_ = avformat_alloc_context();
    input->format_->interrupt_callback = {interrupted, const_cast<std::atomic<bool>*>(abort)};
    AVDictionary* options = nullptr;
    for (const auto& [key, value] : setup.options)
        av_dict_set(&options, key.constData(), value.constData(), 0);
    const int r = avformat_open_input(&input->format_, setup.url.constData(), format, &options);
    av_dict_free(&options);
    if (r < 0) {
        input->format_ = nullptr; // freed by the failed open
        *error = ffmpegErrorText(r);
        return nullptr;
    }
    if (input->format_->nb_streams < 1) {
        *error = QStringLiteral("The device delivers no stream");
        return nullptr;
    }
    input->stream_ = input->format_->streams[0];
    input->abort_ = abort;
    input->paced_ = !(format->flags & AVFMT_NOFILE);
    return input;
}

std::unique_ptr<CaptureInput> CaptureInput::openGenerated(const InputSetup& setup,
                                                          const std::atomic<bool>* abort,
                                                          QString* error) {
    std::unique_ptr<CaptureInput> input(new CaptureInput);
    input->generated_ = std::make_unique<Generated>();
    input->generated_->source = setup.generated;
    input->generated_->abort = abort;
    constexpr int bufferSize = 1 << 16;
    auto* buffer = static_cast<unsigned char*>(av_malloc(bufferSize));
    input->io_ = avio_alloc_context(buffer, bufferSize, 0, input->generated_.get(),
                                    &CaptureInput::readGenerated, nullptr, nullptr);
    input->format_ = avformat_alloc_context();
    input->format_->pb = input->io_;
    input->format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    input->format_->interrupt_callback = {interrupted, const_cast<std::atomic<bool>*>(abort)};
    const QSize size = setup.generated->size();
    AVDictionary* options = nullptr;
    av_dict_set(&options, "video_size", sizeOption(size).constData(), 0);
    av_dict_set(&options, "pixel_format", "bgra", 0);
    av_dict_set(&options, "framerate",
                QByteArray::number(std::max(1, setup.generated->frameRate())).constData(), 0);
    const int r =
        avformat_open_input(&input->format_, nullptr, av_find_input_format("rawvideo"), &options);
    av_dict_free(&options);
    if (r < 0) {
        input->format_ = nullptr; // freed by the failed open
        *error = ffmpegErrorText(r);
        return nullptr;
    }
    input->stream_ = input->format_->streams[0];
    input->abort_ = abort;
    return input;
}

CaptureInput::~CaptureInput() {
    if (format_)
        avformat_close_input(&format_);
    if (io_) {
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
}

int CaptureInput::read(AVPacket* packet) {
    const int r = av_read_frame(format_, packet);
    if (r == 0 && paced_)
        keepPace(packet);
    return r;
}

void CaptureInput::keepPace(const AVPacket* packet) {
    const long long pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (pts == AV_NOPTS_VALUE)
        return;
    const double t = seconds(pts);
    if (firstTime_ < 0) {
        firstTime_ = t;
        startedAt_ = steadyMicroseconds();
        return;
    }
    waitUntil(startedAt_ + static_cast<long long>((t - firstTime_) * 1e6), abort_);
}

double CaptureInput::seconds(long long pts) const {
    return static_cast<double>(pts) * av_q2d(stream_->time_base);
}

QList<CaptureDevice> listInputSources(const char* formatName, bool audio) {
    registerCaptureDevices();
    QList<CaptureDevice> devices;
    const AVInputFormat* format = av_find_input_format(formatName);
    if (!format)
        return devices;
    AVDeviceInfoList* list = nullptr;
    if (avdevice_list_input_sources(format, nullptr, nullptr, &list) < 0 || !list) {
        avdevice_free_list_devices(&list);
        return devices;
    }
    for (int i = 0; i < list->nb_devices; ++i) {
        const AVDeviceInfo* d = list->devices[i];
        bool hasAudio = false, hasVideo = false;
        for (int m = 0; m < d->nb_media_types; ++m) {
            hasAudio |= d->media_types[m] == AVMEDIA_TYPE_AUDIO;
            hasVideo |= d->media_types[m] == AVMEDIA_TYPE_VIDEO;
        }
        // Inputs that say nothing of their media are taken as asked.
        if (d->nb_media_types > 0 && (audio ? !hasAudio : !hasVideo))
            continue;
        const QString description = QString::fromUtf8(d->device_description).section('\n', 0, 0);
        const QString id = QString::fromUtf8(d->device_name);
        devices.append({description.isEmpty() ? id : description + QStringLiteral(" (") + id + ')',
                        QByteArray(d->device_name)});
    }
    avdevice_free_list_devices(&list);
    return devices;
}

} // namespace zt
