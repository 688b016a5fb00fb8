// Capture devices on Linux: cameras through Video4Linux2 (/dev/video*
// that can capture), microphones through ALSA and, where a server runs,
// PulseAudio. The device files are asked directly for their names,
// formats, sizes, rates and inputs; libavdevice opens them.

#include "capture/CaptureBackend.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zt {

namespace {

// Pixel formats of V4L2 and the names libavdevice's v4l2 input takes.
struct FourccName {
    uint32_t fourcc;
    const char* ffmpeg;
};
const FourccName fourccNames[] = {
    {V4L2_PIX_FMT_YUYV, "yuyv422"}, {V4L2_PIX_FMT_UYVY, "uyvy422"},   {V4L2_PIX_FMT_MJPEG, "mjpeg"},
    {V4L2_PIX_FMT_JPEG, "mjpeg"},   {V4L2_PIX_FMT_YUV420, "yuv420p"}, {V4L2_PIX_FMT_NV12, "nv12"},
    {V4L2_PIX_FMT_RGB24, "rgb24"},  {V4L2_PIX_FMT_BGR24, "bgr24"},    {V4L2_PIX_FMT_GREY, "gray"},
    {V4L2_PIX_FMT_H264, "h264"},
};

const char* ffmpegName(uint32_t fourcc) {
    for (const auto& f : fourccNames)
        if (f.fourcc == fourcc)
            return f.ffmpeg;
    return nullptr;
}

int xioctl(int fd, unsigned long request, void* arg) {
    int r;
    do {
        r = ioctl(fd, request, arg);
    } while (r == -1 && errno == EINTR);
    return r;
}

// An open device file, closed on leaving.
struct DeviceFile {
    explicit DeviceFile(const QByteArray& path)
        : fd(::open(path.constData(), O_RDWR | O_NONBLOCK)) {}
    ~DeviceFile() {
        if (fd >= 0)
            ::close(fd);
    }
    DeviceFile(const DeviceFile&) = delete;
    DeviceFile& operator=(const DeviceFile&) = delete;
    int fd;
};

void addSize(QList<QSize>& sizes, QSize s) {
    if (!sizes.contains(s))
        sizes.append(s);
}

void addRate(QList<double>& rates, const v4l2_fract& interval) {
    if (interval.numerator == 0)
        return;
    const double rate = static_cast<double>(interval.denominator) / interval.numerator;
    if (!rates.contains(rate))
        rates.append(rate);
}

void readRates(int fd, uint32_t fourcc, QSize size, QList<double>& rates) {
    v4l2_frmivalenum iv{};
    iv.pixel_format = fourcc;
    iv.width = static_cast<uint32_t>(size.width());
    iv.height = static_cast<uint32_t>(size.height());
    for (iv.index = 0; xioctl(fd, VIDIOC_ENUM_FRAMEINTERVALS, &iv) == 0; ++iv.index) {
        if (iv.type == V4L2_FRMIVAL_TYPE_DISCRETE) {
            addRate(rates, iv.discrete);
        } else {
            addRate(rates, iv.stepwise.min);
            addRate(rates, iv.stepwise.max);
            break;
        }
    }
}

void readSizes(int fd, uint32_t fourcc, DeviceModes& modes) {
    static const QList<QSize> common = {{320, 240},  {640, 480},   {800, 600},
                                        {1280, 720}, {1920, 1080}, {2560, 1440}};
    v4l2_frmsizeenum fs{};
    fs.pixel_format = fourcc;
    for (fs.index = 0; xioctl(fd, VIDIOC_ENUM_FRAMESIZES, &fs) == 0; ++fs.index) {
        if (fs.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            const QSize s(static_cast<int>(fs.discrete.width),
                          static_cast<int>(fs.discrete.height));
            addSize(modes.resolutions, s);
            readRates(fd, fourcc, s, modes.frameRates);
            continue;
        }
        // A range: the usual sizes that fall in it.
        for (const QSize& s : common)
            if (s.width() >= static_cast<int>(fs.stepwise.min_width) &&
                s.width() <= static_cast<int>(fs.stepwise.max_width) &&
                s.height() >= static_cast<int>(fs.stepwise.min_height) &&
                s.height() <= static_cast<int>(fs.stepwise.max_height))
                addSize(modes.resolutions, s);
        break;
    }
}

bool canCapture(int fd, QString* card) {
    v4l2_capability cap{};
    if (xioctl(fd, VIDIOC_QUERYCAP, &cap) != 0)
        return false;
    const uint32_t caps =
        (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
    *card = QString::fromUtf8(reinterpret_cast<const char*>(cap.card)).trimmed();
    return (caps & V4L2_CAP_VIDEO_CAPTURE) != 0;
}

int deviceNumber(const QString& name) {
    return name.mid(5).toInt(); // "videoN"
}

class LinuxCaptureBackend : public CaptureBackend {
public:
    QList<CaptureDevice> videoDevices() override {
        QStringList names = QDir(QStringLiteral("/dev"))
                                .entryList({QStringLiteral("video*")}, QDir::System | QDir::Files);
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return deviceNumber(a) < deviceNumber(b);
        });
        QList<CaptureDevice> devices;
        for (const QString& name : names) {
            const QByteArray path = "/dev/" + name.toUtf8();
            DeviceFile dev(path);
            QString card;
            if (dev.fd >= 0 && canCapture(dev.fd, &card))
                devices.append({(card.isEmpty() ? name : card) + QStringLiteral(" (") +
                                    QString::fromUtf8(path) + ')',
                                path});
        }
        return devices;
    }

    QList<CaptureDevice> audioDevices() override {
        QList<CaptureDevice> devices;
        for (const CaptureDevice& d : listInputSources("alsa", true))
            if (d.id != "null") // silence, no microphone
                devices.append({d.name, "alsa:" + d.id});
        for (const CaptureDevice& d : listInputSources("pulse", true))
            devices.append({d.name, "pulse:" + d.id});
        return devices;
    }

    DeviceModes videoModes(const CaptureDevice& device) override {
        DeviceModes modes;
        DeviceFile dev(device.id);
        if (dev.fd < 0)
            return modes;
        v4l2_fmtdesc fmt{};
        fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        for (fmt.index = 0; xioctl(dev.fd, VIDIOC_ENUM_FMT, &fmt) == 0; ++fmt.index) {
            const char* name = ffmpegName(fmt.pixelformat);
            if (!name)
                continue;
            modes.colorFormats.append(
                {QString::fromUtf8(reinterpret_cast<const char*>(fmt.description)), name});
            readSizes(dev.fd, fmt.pixelformat, modes);
        }
        v4l2_input input{};
        for (input.index = 0; xioctl(dev.fd, VIDIOC_ENUMINPUT, &input) == 0; ++input.index)
            modes.inputs.append(QString::fromUtf8(reinterpret_cast<const char*>(input.name)));
        return modes;
    }

    InputSetup videoInput(const CaptureDevice& device, const VideoRequest& r) override {
        InputSetup setup{"v4l2", device.id, {}, {}};
        if (r.size.isValid())
            setup.set("video_size", sizeOption(r.size));
        if (!r.colorFormat.isEmpty())
            setup.set("input_format", r.colorFormat);
        setup.set("framerate", QByteArray::number(qMax(1, r.frameRate)));
        if (r.input > 0)
            setup.set("channel", QByteArray::number(r.input));
        return setup;
    }

    InputSetup audioInput(const CaptureDevice& device, const AudioFormat& f) override {
        const int colon = device.id.indexOf(':');
        InputSetup setup{device.id.left(colon), device.id.mid(colon + 1), {}, {}};
        setup.set("sample_rate", QByteArray::number(f.sampleRate));
        setup.set("channels", QByteArray::number(f.channels));
        return setup;
    }

    QStringList watchedFolders() const override {
        QStringList folders;
        for (const QString& f : {QStringLiteral("/dev"), QStringLiteral("/dev/snd")})
            if (QFileInfo(f).isDir())
                folders << f;
        return folders;
    }
};

} // namespace

std::unique_ptr<CaptureBackend> createPlatformBackend() {
    return std::make_unique<LinuxCaptureBackend>();
}

} // namespace zt
