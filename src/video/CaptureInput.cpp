#include "video/CaptureInput.h"

#include "video/CaptureBackend.h"

extern "C" {
#include <libavdevice/avdevice.h>
#include <libavformat/avformat.h>
}

#include <chrono>
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

std::unique_ptr<CaptureInput> CaptureInput::open(const InputSpec& spec,
                                                 const std::atomic<bool>* abort, QString* error) {
    registerCaptureDevices();
    const AVInputFormat* format = av_find_input_format(spec.format.constData());
    if (!format) {
        *error = QStringLiteral("This program was built without the input ") +
                 QString::fromLatin1(spec.format);
        return nullptr;
    }
    std::unique_ptr<CaptureInput> input(new CaptureInput);
    input->format_ = avformat_alloc_context();
    input->format_->interrupt_callback = {interrupted, const_cast<std::atomic<bool>*>(abort)};
    AVDictionary* options = nullptr;
    for (const auto& [key, value] : spec.options)
        av_dict_set(&options, key.constData(), value.constData(), 0);
    const int r = avformat_open_input(&input->format_, spec.url.constData(), format, &options);
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

CaptureInput::~CaptureInput() {
    if (format_)
        avformat_close_input(&format_);
}

int CaptureInput::read(AVPacket* packet) {
    const int r = av_read_frame(format_, packet);
    if (r == 0 && paced_)
        keepPace(packet);
    return r;
}

void CaptureInput::keepPace(const AVPacket* packet) {
    using namespace std::chrono;
    const long long now =
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    const long long pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (pts == AV_NOPTS_VALUE)
        return;
    const double t = seconds(pts);
    if (firstTime_ < 0) {
        firstTime_ = t;
        startedAt_ = now;
        return;
    }
    const long long due = startedAt_ + static_cast<long long>((t - firstTime_) * 1e6);
    // Wait in short steps so that closing the device is not held up.
    while (!(abort_ && abort_->load())) {
        const long long left =
            due - duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
        if (left <= 0)
            break;
        std::this_thread::sleep_for(microseconds(std::min(left, 20000LL)));
    }
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
