// Capture devices on macOS: cameras and microphones through AVFoundation,
// opened by libavdevice's avfoundation input by index ("VIDEO:AUDIO").

#include "capture/CaptureBackend.h"

namespace zt {

namespace {

class AvfCaptureBackend : public CaptureBackend {
public:
    QList<CaptureDevice> videoDevices() override {
        QList<CaptureDevice> devices = listInputSources("avfoundation", false);
        if (devices.isEmpty())
            devices.append({QStringLiteral("Default camera"), "0"});
        return devices;
    }

    QList<CaptureDevice> audioDevices() override {
        QList<CaptureDevice> devices = listInputSources("avfoundation", true);
        if (devices.isEmpty())
            devices.append({QStringLiteral("Default microphone"), "0"});
        return devices;
    }

    DeviceModes videoModes(const CaptureDevice&) override {
        DeviceModes modes;
        modes.resolutions = {{1280, 720}, {640, 480}, {1920, 1080}};
        modes.colorFormats = {{QStringLiteral("UYVY"), "uyvy422"},
                              {QStringLiteral("NV12"), "nv12"}};
        modes.frameRates = {15, 25, 30, 60};
        return modes;
    }

    InputSetup videoInput(const CaptureDevice& device, const VideoRequest& r) override {
        InputSetup setup{"avfoundation", device.id + ":none", {}, {}};
        if (r.size.isValid())
            setup.set("video_size", sizeOption(r.size));
        if (!r.colorFormat.isEmpty())
            setup.set("pixel_format", r.colorFormat);
        setup.set("framerate", QByteArray::number(qMax(1, r.frameRate)));
        return setup;
    }

    InputSetup audioInput(const CaptureDevice& device, const AudioFormat&) override {
        return {"avfoundation", "none:" + device.id, {}, {}};
    }
};

} // namespace

std::unique_ptr<CaptureBackend> createPlatformBackend() {
    return std::make_unique<AvfCaptureBackend>();
}

} // namespace zt
