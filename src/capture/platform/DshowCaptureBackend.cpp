// Capture devices on Windows: cameras and microphones through DirectShow,
// listed and opened by libavdevice's dshow input. DirectShow tells sizes
// and formats only when a device is opened, so the usual ones are offered
// and the device keeps the nearest it has.

#include "capture/CaptureBackend.h"

namespace zt {

namespace {

class DshowCaptureBackend : public CaptureBackend {
public:
    QList<CaptureDevice> videoDevices() override { return listInputSources("dshow", false); }
    QList<CaptureDevice> audioDevices() override { return listInputSources("dshow", true); }

    DeviceModes videoModes(const CaptureDevice&) override {
        DeviceModes modes;
        modes.resolutions = {{640, 480}, {1280, 720}, {1920, 1080}, {320, 240}};
        modes.colorFormats = {{QStringLiteral("MJPG"), "mjpeg"},
                              {QStringLiteral("YUY2"), "yuyv422"}};
        modes.frameRates = {15, 25, 30, 50, 60};
        return modes;
    }

    InputSetup videoInput(const CaptureDevice& device, const VideoRequest& r) override {
        InputSetup setup{"dshow", "video=" + device.id, {}, {}};
        if (r.size.isValid())
            setup.set("video_size", sizeOption(r.size));
        if (r.colorFormat == "mjpeg")
            setup.set("vcodec", "mjpeg");
        else if (!r.colorFormat.isEmpty())
            setup.set("pixel_format", r.colorFormat);
        setup.set("framerate", QByteArray::number(qMax(1, r.frameRate)));
        setup.set("rtbufsize", "256M");
        return setup;
    }

    InputSetup audioInput(const CaptureDevice& device, const AudioFormat& f) override {
        InputSetup setup{"dshow", "audio=" + device.id, {}, {}};
        setup.set("sample_rate", QByteArray::number(f.sampleRate));
        setup.set("channels", QByteArray::number(f.channels));
        setup.set("sample_size", QByteArray::number(f.bits));
        return setup;
    }
};

} // namespace

std::unique_ptr<CaptureBackend> createPlatformBackend() {
    return std::make_unique<DshowCaptureBackend>();
}

} // namespace zt
