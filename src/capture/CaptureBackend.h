#pragma once
// A source of capture devices: the platform's cameras and microphones
// (v4l2 and ALSA/PulseAudio on Linux, DirectShow on Windows, AVFoundation
// on macOS) or the built-in test camera. A backend lists its devices, says
// what a video device offers and how libavdevice opens it; recording is
// the same pipeline for every backend (CaptureSession).

#include "capture/CaptureTypes.h"

#include <memory>

namespace zt {

class CaptureBackend {
public:
    virtual ~CaptureBackend() = default;

    virtual QList<CaptureDevice> videoDevices() = 0;
    virtual QList<CaptureDevice> audioDevices() = 0;
    virtual DeviceModes videoModes(const CaptureDevice& device) = 0;
    virtual InputSetup videoInput(const CaptureDevice& device, const VideoRequest& request) = 0;
    virtual InputSetup audioInput(const CaptureDevice& device, const AudioFormat& format) = 0;
    // Folders whose changes mean a device came or went (watched instead of
    // polling); empty: the device lists are polled.
    virtual QStringList watchedFolders() const { return {}; }
};

// "WxH", as libavdevice's video_size option takes a size.
inline QByteArray sizeOption(QSize size) {
    return QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
}

// The backend of the platform this program was built for (one source file
// per platform, chosen by the build).
std::unique_ptr<CaptureBackend> createPlatformBackend();

// Devices an input format of libavdevice lists (empty when it lists none
// or cannot list).
QList<CaptureDevice> listInputSources(const char* format, bool audio);

} // namespace zt
