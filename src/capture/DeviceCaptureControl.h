#pragma once
// The capture control on real devices: the operation table of the capture
// control over the capture backends (the platform's devices, the test
// camera) and one CaptureSession for the connected device. Device lists
// keep their order while the program runs: a device that comes is added at
// the end, one that goes is taken out, and each is told as a device change.

#include "capture/CaptureControl.h"
#include "capture/CaptureSession.h"

#include <QFileSystemWatcher>
#include <QTimer>
#include <atomic>

namespace zt {

// What the operator is told when a recording stopped on a fault.
QString recordingFaultText(const QString& path, const QString& reason, long long frames);

class CaptureBackend;
class TestCameraBackend;

class DeviceCaptureControl : public CaptureControl, private CaptureSession::Listener {
    Q_OBJECT
public:
    DeviceCaptureControl(const CaptureControlOptions& options, Dialogs& dialogs,
                         QObject* parent = nullptr);
    ~DeviceCaptureControl() override;

    // The test camera's backend (null when the test camera is not enabled).
    TestCameraBackend* testCamera() const { return test_; }
    // Looks at the devices again and tells what came and went.
    void rescanDevices();
    // CPU seconds of the pipeline's threads in the last recording.
    CaptureSession::CpuTimes lastRecordingCpu() const { return lastCpu_; }

    int deviceCount() const override { return static_cast<int>(video_.size()); }
    QString deviceName(int index) const override;
    CaptureResult connectDevice(int index) override;
    void disconnectDevice() override;
    bool isConnected() const override { return session_ != nullptr; }
    int currentDevice() const override { return current_; }
    CaptureResult setCurrentDevice(int index) override;

    bool preview() const override { return preview_; }
    void setPreview(bool on) override;
    QImage currentFrame() const override;

    QString captureFile() const override { return captureFile_; }
    void setCaptureFile(const QString& path) override { captureFile_ = path; }
    CaptureResult startCapture() override;
    CaptureResult stopCapture() override;
    bool isCapturing() const override { return session_ && session_->recording(); }
    int frameRate() const override { return settings_.frameRate; }
    CaptureResult setFrameRate(int framesPerSecond) override;
    int timeLimit() const override { return timeLimit_; }
    void setTimeLimit(int seconds) override { timeLimit_ = qMax(0, seconds); }
    long framesRecorded() const override;
    // Of the frames recorded, those already in the clip file.
    long long framesWritten() const;
    long framesDropped() const override;
    long samples() const override;
    long elapsedMs() const override;

    QString stillFile() const override { return stillFile_; }
    void setStillFile(const QString& path) override { stillFile_ = path; }
    CaptureResult saveStill() override;
    StillOptions stillOptions() const override { return stillOptions_; }
    void setStillOptions(const StillOptions& options) override { stillOptions_ = options; }

    CaptureChoices resolutions() const override;
    CaptureResult setResolution(int index) override;
    CaptureChoices colorFormats() const override;
    CaptureResult setColorFormat(int index) override;
    CaptureChoices videoInputs() const override;
    CaptureResult setVideoInput(int index) override;
    bool hasTuner() const override { return false; }
    int channel() const override { return 0; }
    CaptureResult setChannel(int channel) override;
    int lowestChannel() const override { return 0; }
    int highestChannel() const override { return 0; }
    CaptureChoices videoCompressors() const override;
    CaptureResult setVideoCompressor(int index) override;
    int videoQuality() const override { return quality_; }
    CaptureResult setVideoQuality(int quality) override;
    CaptureChoices audioDevices() const override;
    CaptureResult setAudioDevice(int index) override;
    CaptureChoices audioCompressors() const override;
    CaptureResult setAudioCompressor(int index) override;
    AudioFormat audioFormat() const override { return settings_.audio; }
    CaptureResult setAudioFormat(const AudioFormat& format) override;

    bool dialogAvailable(int dialog) const override;
    CaptureResult showDialog(int dialog) override;

    int effectCount(const QString&) const override { return 0; }
    QString effectName(const QString&, int) const override { return {}; }
    int currentEffect(const QString&) const override { return -1; }
    int effectIndex(const QString&, const QString&) const override { return -1; }
    CaptureResult applyEffect(const QString& slot, int index) override;

    bool listen() const override { return listen_; }
    void setListen(bool on) override;

private:
    struct Listed {
        CaptureDevice device;
        CaptureBackend* backend = nullptr;
    };
    struct Settings {
        int resolution = 0;
        int colorFormat = 0;
        int input = 0;
        int frameRate = 30;
        int audioDevice = -1;
        AudioFormat audio;
    };

    // CaptureSession::Listener, on worker threads.
    void pictureReady() override;
    void recordingMustEnd(RecordingEnd::Kind kind, const QString& reason) override;
    void inputEnded(const QString& reason) override;
    void statusText(const QString& text) override;

    QList<Listed> scan(bool audio) const;
    void updateList(QList<Listed>& list, const QList<Listed>& now, const QString& listName,
                    int* current);
    CaptureResult openSession(int device, const Settings& settings);
    CaptureResult applySettings(const Settings& settings);
    CaptureResult chooseMode(int Settings::*field, int index, qsizetype count);
    CaptureResult refuseWhileRecording() const;
    void finishRecording(RecordingEnd::Kind kind, const QString& reason);
    void loseInput(const QString& reason);
    template <class F> void onOwnThread(F&& f);
    CaptureResult showVideoSourceDialog();
    CaptureResult showCompressionDialog();
    CaptureResult showAudioFormatDialog();

    Dialogs& dialogs_;
    std::unique_ptr<CaptureBackend> platform_;
    std::unique_ptr<TestCameraBackend> testOwned_;
    TestCameraBackend* test_ = nullptr;
    QList<Listed> video_;
    QList<Listed> audio_;
    int current_ = 0;
    int connected_ = -1;
    DeviceModes modes_;
    Settings settings_;
    std::unique_ptr<CaptureSession> session_;
    std::atomic<int> generation_{0};

    bool preview_ = false;
    bool listen_ = false;
    int timeLimit_ = 0;
    int compressor_ = -1;
    int quality_ = 3;
    int audioCompressor_ = -1;
    QString captureFile_;
    QString stillFile_;
    StillOptions stillOptions_;
    CaptureCounters lastCounters_;
    CaptureSession::CpuTimes lastCpu_;
    mutable QImage lastPicture_;

    QFileSystemWatcher watcher_;
    QTimer rescanSoon_;
    QTimer counterTimer_; // counters told every second while recording
};

} // namespace zt
