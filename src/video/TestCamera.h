#pragma once
// The built-in test camera: a capture device that needs no hardware. It
// shows a moving pattern with a frame counter, reports resolutions, colour
// formats, compressors and an audio tone, and saves still frames as 24-bit
// bitmaps. Recording clips comes with the recording backend.

#include "video/CaptureControl.h"

#include <QImage>
#include <QTimer>

namespace zt {

class TestCamera : public CaptureControl {
    Q_OBJECT
public:
    // listed: the test camera appears as a device; otherwise the control
    // has no device at all.
    explicit TestCamera(bool listed, QObject* parent = nullptr);

    static QString cameraName() { return QStringLiteral("Zentrak Test Camera"); }
    // The picture of frame number n at a size, with an effect applied
    // (-1: none, 0: grey, 1: mirror).
    static QImage picture(long frame, QSize size, int effect);

    // Simulates plugging the camera in or pulling it out.
    void plugIn();
    void unplug();
    // Advances the live picture by one frame, as the timer does.
    void tick();

    int deviceCount() const override { return listed_ ? 1 : 0; }
    QString deviceName(int index) const override;
    CaptureResult connectDevice(int index) override;
    void disconnectDevice() override;
    bool isConnected() const override { return connected_; }
    int currentDevice() const override { return current_; }
    CaptureResult setCurrentDevice(int index) override;

    bool preview() const override { return preview_; }
    void setPreview(bool on) override;
    QImage currentFrame() const override;

    QString captureFile() const override { return captureFile_; }
    void setCaptureFile(const QString& path) override { captureFile_ = path; }
    CaptureResult startCapture() override;
    CaptureResult stopCapture() override;
    bool isCapturing() const override { return false; }
    int frameRate() const override { return frameRate_; }
    CaptureResult setFrameRate(int framesPerSecond) override;
    int timeLimit() const override { return timeLimit_; }
    void setTimeLimit(int seconds) override { timeLimit_ = seconds; }
    long framesRecorded() const override { return 0; }
    long framesDropped() const override { return 0; }
    long samples() const override { return 0; }
    long elapsedMs() const override { return 0; }

    QString stillFile() const override { return stillFile_; }
    void setStillFile(const QString& path) override { stillFile_ = path; }
    CaptureResult saveStill() override;
    StillOptions stillOptions() const override { return stillOptions_; }
    void setStillOptions(const StillOptions& options) override { stillOptions_ = options; }

    CaptureChoices resolutions() const override { return resolutions_; }
    CaptureResult setResolution(int index) override;
    CaptureChoices colorFormats() const override { return colorFormats_; }
    CaptureResult setColorFormat(int index) override;
    CaptureChoices videoInputs() const override { return inputs_; }
    CaptureResult setVideoInput(int index) override;
    bool hasTuner() const override { return false; }
    int channel() const override { return 0; }
    CaptureResult setChannel(int channel) override;
    int lowestChannel() const override { return 0; }
    int highestChannel() const override { return 0; }
    CaptureChoices videoCompressors() const override { return compressors_; }
    CaptureResult setVideoCompressor(int index) override;
    CaptureChoices audioDevices() const override { return audioDevices_; }
    CaptureResult setAudioDevice(int index) override;
    CaptureChoices audioCompressors() const override { return audioCompressors_; }
    CaptureResult setAudioCompressor(int index) override;
    AudioFormat audioFormat() const override { return audioFormat_; }
    CaptureResult setAudioFormat(const AudioFormat& format) override;

    bool dialogAvailable(int) const override { return false; }
    CaptureResult showDialog(int dialog) override;

    int effectCount(const QString& slot) const override;
    QString effectName(const QString& slot, int index) const override;
    int currentEffect(const QString& slot) const override;
    int effectIndex(const QString& slot, const QString& name) const override;
    CaptureResult applyEffect(const QString& slot, int index) override;

    bool listen() const override { return listen_; }
    void setListen(bool on) override { listen_ = on; }

private:
    CaptureResult choose(CaptureChoices& choices, int index, bool allowNone);
    QSize frameSize() const;
    void updateTimer();

    bool listed_;
    bool connected_ = false;
    int current_ = 0;
    bool preview_ = false;
    bool listen_ = false;
    int frameRate_ = 30;
    int timeLimit_ = 0;
    long frame_ = 0;
    int effect_ = -1;
    QString captureFile_;
    QString stillFile_;
    StillOptions stillOptions_;
    CaptureChoices resolutions_;
    CaptureChoices colorFormats_;
    CaptureChoices inputs_;
    CaptureChoices compressors_;
    CaptureChoices audioDevices_;
    CaptureChoices audioCompressors_;
    AudioFormat audioFormat_;
    QTimer timer_;
    mutable QImage cached_;
    mutable long cachedFrame_ = -1;
};

} // namespace zt
