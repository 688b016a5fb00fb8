#pragma once
// The capture control: live preview, recording, still frames and device
// settings of a capture device, as named operations and Qt signals.
//
// A backend may capture and encode on its own threads; the operations are
// called from the user-interface thread and the signals are delivered to it
// (queued when a backend emits them from a worker).

#include "capture/CaptureTypes.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QImage;

namespace zt {

class Dialogs;

// Outcome of an operation that can fail: an error number and its text.
struct CaptureResult {
    bool ok = true;
    long code = 0;
    QString description;
    explicit operator bool() const { return ok; }
    static CaptureResult failure(long code, const QString& description) {
        return {false, code, description};
    }
};

// Error numbers of the capture control.
namespace capture_error {
constexpr long notConnected = 0x80040201;
constexpr long badIndex = 0x80040202;
constexpr long notSupported = 0x80040203;
constexpr long fileError = 0x80040204;
constexpr long busy = 0x80040205;
constexpr long deviceFailed = 0x80040206;
} // namespace capture_error

// Options of still-frame capture.
struct StillOptions {
    bool progressiveJpeg = false;
    bool autoSave = false;
    bool autoIncrement = false;
    int chromFactor = 0;
    int lumFactor = 0;
    QString password;
    int interval = 0;
    int captionLeft = 0;
    int captionTop = 0;
    QString caption;
};

// An indexed list of choices with the one in use (-1: none).
struct CaptureChoices {
    QStringList names;
    int current = -1;
    int count() const { return static_cast<int>(names.size()); }
};

// Numbers of the configuration dialogs a control may offer.
namespace capture_dialog {
constexpr int videoSource = 35;
constexpr int videoCompression = 256;
constexpr int audioFormat = 1032;
constexpr int videoEffect = 4096; // + effect number
} // namespace capture_dialog

// Progress codes.
namespace capture_progress {
constexpr int recordingStopped = 301;
constexpr int counters = 510;
} // namespace capture_progress

class CaptureControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~CaptureControl() override = default;

    // Devices.
    virtual int deviceCount() const = 0;
    virtual QString deviceName(int index) const = 0;
    virtual CaptureResult connectDevice(int index) = 0;
    virtual void disconnectDevice() = 0;
    virtual bool isConnected() const = 0;
    virtual int currentDevice() const = 0;
    virtual CaptureResult setCurrentDevice(int index) = 0;

    // Live picture.
    virtual bool preview() const = 0;
    virtual void setPreview(bool on) = 0;
    // The latest picture of the device (null when there is none).
    virtual QImage currentFrame() const = 0;

    // Recording.
    virtual QString captureFile() const = 0;
    virtual void setCaptureFile(const QString& path) = 0;
    virtual CaptureResult startCapture() = 0;
    virtual CaptureResult stopCapture() = 0;
    virtual bool isCapturing() const = 0;
    virtual int frameRate() const = 0;
    virtual CaptureResult setFrameRate(int framesPerSecond) = 0;
    virtual int timeLimit() const = 0;
    virtual void setTimeLimit(int seconds) = 0;
    virtual long framesRecorded() const = 0;
    virtual long framesDropped() const = 0;
    virtual long samples() const = 0;
    virtual long elapsedMs() const = 0;

    // Still frames.
    virtual QString stillFile() const = 0;
    virtual void setStillFile(const QString& path) = 0;
    // Saves the current picture to the still file as a 24-bit bitmap.
    virtual CaptureResult saveStill() = 0;
    virtual StillOptions stillOptions() const = 0;
    virtual void setStillOptions(const StillOptions& options) = 0;

    // Device settings; each list holds names and the one in use.
    virtual CaptureChoices resolutions() const = 0;
    virtual CaptureResult setResolution(int index) = 0;
    virtual CaptureChoices colorFormats() const = 0;
    virtual CaptureResult setColorFormat(int index) = 0;
    virtual CaptureChoices videoInputs() const = 0;
    virtual CaptureResult setVideoInput(int index) = 0;
    virtual bool hasTuner() const = 0;
    virtual int channel() const = 0;
    virtual CaptureResult setChannel(int channel) = 0;
    virtual int lowestChannel() const = 0;
    virtual int highestChannel() const = 0;
    virtual CaptureChoices videoCompressors() const = 0;
    virtual CaptureResult setVideoCompressor(int index) = 0;
    // MJPEG quantiser scale, 2 (best) to 31 (smallest files).
    virtual int videoQuality() const = 0;
    virtual CaptureResult setVideoQuality(int quality) = 0;
    virtual CaptureChoices audioDevices() const = 0;
    virtual CaptureResult setAudioDevice(int index) = 0;
    virtual CaptureChoices audioCompressors() const = 0;
    virtual CaptureResult setAudioCompressor(int index) = 0;
    virtual AudioFormat audioFormat() const = 0;
    virtual CaptureResult setAudioFormat(const AudioFormat& format) = 0;

    // Configuration dialogs of the device.
    virtual bool dialogAvailable(int dialog) const = 0;
    virtual CaptureResult showDialog(int dialog) = 0;

    // Video effects, by effect slot ("Video Effect 1").
    virtual int effectCount(const QString& slot) const = 0;
    virtual QString effectName(const QString& slot, int index) const = 0;
    virtual int currentEffect(const QString& slot) const = 0;
    // Index of an effect name; negative when the control does not know it.
    virtual int effectIndex(const QString& slot, const QString& name) const = 0;
    virtual CaptureResult applyEffect(const QString& slot, int index) = 0;

    virtual bool listen() const = 0;
    virtual void setListen(bool on) = 0;

signals:
    void status(const QString& text);
    void progress(int code, const QString& text);
    void warning(const QString& text);
    // kind 0: added, 1: removed; list is "Video Capture Sources" or
    // "Audio Capture Sources".
    void deviceChange(const QString& list, int kind, int index, const QString& name);
    // A new live picture is ready (currentFrame).
    void frameAvailable();
    // The connected device stopped delivering (unplugged): the control is no
    // longer connected.
    void connectionLost(const QString& reason);
};

// The capture control of this run: the platform's cameras and microphones
// (when platformDevices), then the test camera and test tone (when
// testCamera) and the demo lake's camera (when demoVideo is given). Its
// configuration dialogs go through dialogs.
struct CaptureControlOptions {
    bool platformDevices = true;
    bool testCamera = false;
    DemoVideoMaker demoVideo = {}; // the demo lake's camera with the test camera
    bool demoFirst = false;        // listed first (the demo runs with it)
};
std::unique_ptr<CaptureControl> createCaptureControl(const CaptureControlOptions& options,
                                                     Dialogs& dialogs, QObject* parent = nullptr);

// Text of an audio format as the attribute list spells it, e.g.
// "44.100 Khz, 16 bit, Mono".
QString audioFormatText(const AudioFormat& format);
// The sixteen entries of the audio attribute list: entry i has the rate
// 11 025, 22 050, 32 000 or 44 100 Hz for i div 4, 16 bits when bit 1 of i
// is set (else 8), two channels when bit 0 is set (else one).
QStringList audioAttributeEntries();
AudioFormat audioFormatOfEntry(int entry);
// The format an attribute list entry spells ("22.050 Khz, 16 Bit, Stereo"):
// the rate before the first space times 1000, 8 or 16 bits, Mono or Stereo.
AudioFormat audioFormatOfEntryText(const QString& entry);

// "Eror code: " + the error number (hexadecimal or decimal) + " " + the
// description, as the capture handlers report a failure.
QString captureErrorText(const CaptureResult& result, bool hex);

// The effect slot the program uses.
inline QString videoEffectSlot() {
    return QStringLiteral("Video Effect 1");
}

} // namespace zt
