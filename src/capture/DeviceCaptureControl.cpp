#include "capture/DeviceCaptureControl.h"

#include "app/Dialogs.h"
#include "app/FileUtils.h"
#include "capture/CaptureBackend.h"
#include "capture/CaptureDialogs.h"
#include "capture/TestCamera.h"
#include "video/ClipScan.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>

namespace zt {

namespace {

const QString videoList = QStringLiteral("Video Capture Sources");
const QString audioList = QStringLiteral("Audio Capture Sources");

CaptureResult notConnected() {
    return CaptureResult::failure(capture_error::notConnected,
                                  QStringLiteral("No device is connected"));
}

CaptureResult badIndex(const QString& what, int index) {
    return CaptureResult::failure(capture_error::badIndex, what + QString::number(index));
}

QString sizeName(QSize s) {
    return QString::number(s.width()) + QLatin1Char('x') + QString::number(s.height());
}

Compression compressionOf(int compressor) {
    return compressor == 0   ? Compression::Mjpeg
           : compressor == 1 ? Compression::Ffv1
                             : Compression::None;
}

} // namespace

QString recordingFaultText(const QString& path, const QString& reason, long long frames) {
    if (frames <= 0)
        return QStringLiteral("The recording stopped because ") + reason +
               QStringLiteral(". Nothing could be recorded into ") + path + QLatin1Char('.');
    return QStringLiteral("The recording stopped because ") + reason +
           QStringLiteral(". The clip recorded so far is kept in ") + path + QStringLiteral(" (") +
           QString::number(frames) + QStringLiteral(" frames).");
}

std::unique_ptr<CaptureControl> createCaptureControl(const CaptureControlOptions& options,
                                                     Dialogs& dialogs, QObject* parent) {
    return std::make_unique<DeviceCaptureControl>(options, dialogs, parent);
}

DeviceCaptureControl::DeviceCaptureControl(const CaptureControlOptions& options, Dialogs& dialogs,
                                           QObject* parent)
    : CaptureControl(parent), dialogs_(dialogs) {
    if (options.platformDevices)
        platform_ = createPlatformBackend();
    if (options.testCamera || options.demoVideo) {
        testOwned_ = std::make_unique<TestCameraBackend>();
        test_ = testOwned_.get();
        test_->offerDemo(options.demoVideo, options.demoFirst);
    }
    video_ = scan(false);
    audio_ = scan(true);
    connect(&rescanSoon_, &QTimer::timeout, this, &DeviceCaptureControl::rescanDevices);
    const QStringList folders = platform_ ? platform_->watchedFolders() : QStringList();
    if (!folders.isEmpty()) {
        // Device files come and go in a burst: look once it has settled.
        rescanSoon_.setSingleShot(true);
        rescanSoon_.setInterval(500);
        watcher_.addPaths(folders);
        connect(&watcher_, &QFileSystemWatcher::directoryChanged, &rescanSoon_,
                qOverload<>(&QTimer::start));
    } else if (platform_) {
        rescanSoon_.setInterval(1000);
        rescanSoon_.start();
    }
    counterTimer_.setInterval(1000);
    connect(&counterTimer_, &QTimer::timeout, this, [this] {
        emit progress(capture_progress::counters, QStringLiteral("Recording: ") +
                                                      QString::number(framesRecorded()) +
                                                      QStringLiteral(" frames"));
    });
}

DeviceCaptureControl::~DeviceCaptureControl() {
    // Closes a running recording and ends the worker threads before the
    // object goes.
    session_.reset();
}

QList<DeviceCaptureControl::Listed> DeviceCaptureControl::scan(bool audio) const {
    QList<Listed> list;
    for (CaptureBackend* b : {platform_.get(), static_cast<CaptureBackend*>(test_)}) {
        if (!b)
            continue;
        for (const CaptureDevice& d : audio ? b->audioDevices() : b->videoDevices())
            list.append({d, b});
    }
    return list;
}

void DeviceCaptureControl::rescanDevices() {
    updateList(video_, scan(false), videoList, &current_);
    int audioDevice = settings_.audioDevice;
    updateList(audio_, scan(true), audioList, &audioDevice);
    if (audioDevice != settings_.audioDevice) {
        Settings s = settings_;
        s.audioDevice = audioDevice;
        if (!isCapturing())
            applySettings(s);
        else
            settings_.audioDevice = audioDevice;
    }
}

void DeviceCaptureControl::updateList(QList<Listed>& list, const QList<Listed>& now,
                                      const QString& listName, int* current) {
    const bool video = &list == &video_;
    const auto contains = [](const QList<Listed>& l, const CaptureDevice& d) {
        return std::any_of(l.begin(), l.end(), [&](const Listed& x) { return x.device == d; });
    };
    for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
        if (contains(now, list[i].device))
            continue;
        const QString name = list[i].device.name;
        if (video && connected_ == i)
            loseInput(QStringLiteral("the camera was unplugged"));
        list.removeAt(i);
        if (video && connected_ > i)
            --connected_;
        if (*current == i)
            *current = video ? 0 : -1;
        else if (*current > i)
            --*current;
        emit deviceChange(listName, 1, i, name);
    }
    for (const Listed& d : now) {
        if (contains(list, d.device))
            continue;
        list.append(d);
        emit deviceChange(listName, 0, static_cast<int>(list.size()) - 1, d.device.name);
    }
}

QString DeviceCaptureControl::deviceName(int index) const {
    return index >= 0 && index < video_.size() ? video_[index].device.name : QString();
}

CaptureResult DeviceCaptureControl::setCurrentDevice(int index) {
    if (index < 0 || index >= deviceCount())
        return badIndex(QStringLiteral("There is no capture device number "), index);
    current_ = index;
    return {};
}

CaptureResult DeviceCaptureControl::connectDevice(int index) {
    if (index < 0 || index >= deviceCount())
        return badIndex(QStringLiteral("There is no capture device number "), index);
    if (const CaptureResult busy = refuseWhileRecording(); !busy)
        return busy;
    const Listed& d = video_[index];
    DeviceModes modes = d.backend->videoModes(d.device);
    Settings s = settings_;
    if (connected_ != index) {
        // Another device: its own lists, its first entries unless told.
        s.resolution = 0;
        s.colorFormat = 0;
        s.input = 0;
    }
    modes_ = std::move(modes);
    const CaptureResult r = openSession(index, s);
    if (!r)
        return r;
    current_ = index;
    emit status(QStringLiteral("Connected to ") + d.device.name);
    return {};
}

CaptureResult DeviceCaptureControl::openSession(int device, const Settings& s) {
    session_.reset();
    ++generation_;
    connected_ = -1;
    lastPicture_ = QImage();
    const Listed& d = video_[device];
    VideoRequest request;
    request.size = modes_.resolutions.value(s.resolution);
    request.colorFormat = modes_.colorFormats.value(s.colorFormat).ffmpegName;
    request.input = s.input;
    request.frameRate = s.frameRate;
    CaptureSession::Options options;
    options.video = d.backend->videoInput(d.device, request);
    options.frameRate = s.frameRate;
    if (s.audioDevice >= 0 && s.audioDevice < audio_.size()) {
        const Listed& a = audio_[s.audioDevice];
        options.audio = a.backend->audioInput(a.device, s.audio);
    }
    QString error;
    std::unique_ptr<CaptureSession> session = CaptureSession::open(options, this, &error);
    if (!session)
        return CaptureResult::failure(capture_error::deviceFailed,
                                      QStringLiteral("The device ") + d.device.name +
                                          QStringLiteral(" cannot be opened: ") + error);
    session->setPreview(preview_);
    session->setListen(listen_);
    session_ = std::move(session);
    connected_ = device;
    settings_ = s;
    return {};
}

// New settings: a connected device is opened again with them; when that
// fails it goes back to the settings it had.
CaptureResult DeviceCaptureControl::applySettings(const Settings& s) {
    if (!session_) {
        settings_ = s;
        return {};
    }
    if (const CaptureResult busy = refuseWhileRecording(); !busy)
        return busy;
    const Settings before = settings_;
    const int device = connected_;
    const CaptureResult r = openSession(device, s);
    if (!r && !openSession(device, before)) {
        // Not even as it was: the device is no longer connected.
        preview_ = false;
        emit status(QStringLiteral("Disconnected: ") + r.description);
        emit connectionLost(r.description);
    }
    return r;
}

CaptureResult DeviceCaptureControl::refuseWhileRecording() const {
    if (isCapturing())
        return CaptureResult::failure(capture_error::busy,
                                      QStringLiteral("Not possible while recording"));
    return {};
}

void DeviceCaptureControl::disconnectDevice() {
    if (!session_)
        return;
    if (isCapturing())
        finishRecording(RecordingEnd::Stopped, QString());
    session_.reset();
    ++generation_;
    connected_ = -1;
    preview_ = false;
    emit status(QStringLiteral("Disconnected"));
}

void DeviceCaptureControl::setPreview(bool on) {
    preview_ = on && session_;
    if (session_)
        session_->setPreview(preview_);
}

QImage DeviceCaptureControl::currentFrame() const {
    if (!session_)
        return {};
    const QImage latest = session_->picture();
    if (!latest.isNull())
        lastPicture_ = latest;
    return lastPicture_;
}

void DeviceCaptureControl::setListen(bool on) {
    listen_ = on;
    if (session_)
        session_->setListen(on);
}

CaptureResult DeviceCaptureControl::startCapture() {
    if (!session_)
        return notConnected();
    if (const CaptureResult busy = refuseWhileRecording(); !busy)
        return busy;
    if (captureFile_.isEmpty())
        return CaptureResult::failure(capture_error::fileError,
                                      QStringLiteral("No file was given for the recording"));
    ClipSettings rs;
    rs.path = captureFile_;
    rs.frameRate = settings_.frameRate;
    rs.compression = compressionOf(compressor_);
    rs.mjpegQuality = quality_;
    rs.audio = session_->hasAudio();
    rs.audioFormat = settings_.audio;
    rs.timeLimitSeconds = timeLimit_;
    QString error;
    if (!session_->startRecording(rs, &error))
        return CaptureResult::failure(capture_error::fileError, error);
    lastCounters_ = {};
    counterTimer_.start();
    emit status(QStringLiteral("Recording to ") + captureFile_);
    return {};
}

CaptureResult DeviceCaptureControl::stopCapture() {
    if (isCapturing())
        finishRecording(RecordingEnd::Stopped, QString());
    return {};
}

// Closes the clip and tells how the recording ended: a fault as a warning
// with the path, then the counters and the end.
void DeviceCaptureControl::finishRecording(RecordingEnd::Kind kind, const QString& reason) {
    counterTimer_.stop();
    RecordingEnd end = session_->stopRecording();
    lastCpu_ = session_->cpuTimes();
    lastCounters_ = end.counters;
    QString why = reason;
    if (end.kind == RecordingEnd::WriteFailed) {
        kind = end.kind;
        why = end.reason;
    }
    if (!QFileInfo::exists(end.path)) {
        kind = RecordingEnd::WriteFailed;
        why = QStringLiteral("the clip file is gone: its folder was removed or renamed while "
                             "recording");
        lastCounters_.framesRecorded = 0;
    }
    const bool fault = kind == RecordingEnd::WriteFailed || kind == RecordingEnd::InputLost;
    // A clip cut short: the frames a player will show, not those written,
    // the last of which may be cut in half.
    if (fault && lastCounters_.framesRecorded > 0)
        if (const auto scan = scanClip(ClipInput::file(end.path)))
            lastCounters_.framesRecorded = scan->frames;
    emit progress(capture_progress::counters, QStringLiteral("Recorded ") +
                                                  QString::number(lastCounters_.framesRecorded) +
                                                  QStringLiteral(" frames"));
    if (fault)
        emit warning(recordingFaultText(end.path, why, lastCounters_.framesRecorded));
    emit status(fault ? QStringLiteral("Recording stopped: ") + why
                      : QStringLiteral("Recorded ") + end.path);
    emit progress(capture_progress::recordingStopped, QStringLiteral("Recording stopped"));
}

void DeviceCaptureControl::loseInput(const QString& reason) {
    if (!session_)
        return;
    const QString name = deviceName(connected_);
    if (isCapturing())
        finishRecording(RecordingEnd::InputLost, reason);
    else
        emit warning(QStringLiteral("The camera ") + name +
                     QStringLiteral(" is no longer "
                                    "connected: ") +
                     reason +
                     QStringLiteral(". Plug it in and connect it "
                                    "again (main screen, Show Video Configuration, Connect)."));
    session_.reset();
    ++generation_;
    connected_ = -1;
    preview_ = false;
    emit status(QStringLiteral("Disconnected: ") + reason);
    emit connectionLost(reason);
}

long DeviceCaptureControl::framesRecorded() const {
    return static_cast<long>(isCapturing() ? session_->counters().framesRecorded
                                           : lastCounters_.framesRecorded);
}
long long DeviceCaptureControl::framesWritten() const {
    return isCapturing() ? session_->counters().framesWritten : lastCounters_.framesWritten;
}
long DeviceCaptureControl::framesDropped() const {
    return static_cast<long>(isCapturing() ? session_->counters().framesDropped
                                           : lastCounters_.framesDropped);
}
long DeviceCaptureControl::samples() const {
    return static_cast<long>(isCapturing() ? session_->counters().samples : lastCounters_.samples);
}
long DeviceCaptureControl::elapsedMs() const {
    return static_cast<long>(isCapturing() ? session_->counters().elapsedMs
                                           : lastCounters_.elapsedMs);
}

CaptureResult DeviceCaptureControl::saveStill() {
    if (!session_)
        return notConnected();
    if (stillFile_.isEmpty())
        return CaptureResult::failure(capture_error::fileError,
                                      QStringLiteral("No file was given for the still frame"));
    QString error;
    const std::optional<QImage> picture = session_->grabStill(&error);
    if (!picture)
        return CaptureResult::failure(capture_error::deviceFailed, error);
    const QString suffix = QFileInfo(stillFile_).suffix().toLower();
    const bool jpeg = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, jpeg ? "JPEG" : "BMP");
    if (jpeg) {
        const int lum = stillOptions_.lumFactor;
        writer.setQuality(lum >= 1 && lum <= 100 ? lum : 90);
        writer.setProgressiveScanWrite(stillOptions_.progressiveJpeg);
    }
    if (!writer.write(*picture))
        return CaptureResult::failure(capture_error::fileError,
                                      QStringLiteral("Cannot make the picture for ") + stillFile_);
    const FileResult written = replaceFile(stillFile_, bytes);
    if (!written)
        return CaptureResult::failure(capture_error::fileError,
                                      QStringLiteral("Cannot write ") + written.error);
    return {};
}

CaptureChoices DeviceCaptureControl::resolutions() const {
    CaptureChoices c;
    if (!session_)
        return c;
    for (QSize s : modes_.resolutions)
        c.names << sizeName(s);
    c.current = settings_.resolution;
    return c;
}

// One of the connected device's lists: entry index of count, applied
// when it differs from the one in use.
CaptureResult DeviceCaptureControl::chooseMode(int Settings::*field, int index, qsizetype count) {
    if (!session_)
        return notConnected();
    if (index < 0 || index >= count)
        return badIndex(QStringLiteral("Invalid index "), index);
    if (index == settings_.*field)
        return {};
    Settings s = settings_;
    s.*field = index;
    return applySettings(s);
}

CaptureResult DeviceCaptureControl::setResolution(int index) {
    return chooseMode(&Settings::resolution, index, modes_.resolutions.size());
}

CaptureChoices DeviceCaptureControl::colorFormats() const {
    CaptureChoices c;
    if (!session_)
        return c;
    for (const ColorFormat& f : modes_.colorFormats)
        c.names << f.name;
    c.current = settings_.colorFormat;
    return c;
}

CaptureResult DeviceCaptureControl::setColorFormat(int index) {
    return chooseMode(&Settings::colorFormat, index, modes_.colorFormats.size());
}

CaptureChoices DeviceCaptureControl::videoInputs() const {
    if (!session_)
        return {};
    return {modes_.inputs, modes_.inputs.isEmpty() ? -1 : settings_.input};
}

CaptureResult DeviceCaptureControl::setVideoInput(int index) {
    return chooseMode(&Settings::input, index, modes_.inputs.size());
}

CaptureResult DeviceCaptureControl::setChannel(int) {
    return CaptureResult::failure(capture_error::notSupported,
                                  QStringLiteral("The device has no tuner"));
}

CaptureResult DeviceCaptureControl::setFrameRate(int fps) {
    if (fps < 1 || fps > 240)
        return CaptureResult::failure(capture_error::badIndex,
                                      QStringLiteral("Frame rate out of range: ") +
                                          QString::number(fps));
    if (fps == settings_.frameRate)
        return {};
    Settings s = settings_;
    s.frameRate = fps;
    return applySettings(s);
}

CaptureChoices DeviceCaptureControl::videoCompressors() const {
    return {{QStringLiteral("MJPEG"), QStringLiteral("FFV1")}, compressor_};
}

CaptureResult DeviceCaptureControl::setVideoCompressor(int index) {
    if (index < -1 || index > 1)
        return badIndex(QStringLiteral("Invalid index "), index);
    if (const CaptureResult busy = refuseWhileRecording(); !busy)
        return busy;
    compressor_ = index;
    return {};
}

CaptureResult DeviceCaptureControl::setVideoQuality(int quality) {
    if (quality < 2 || quality > 31)
        return badIndex(QStringLiteral("Invalid quality "), quality);
    quality_ = quality;
    return {};
}

CaptureChoices DeviceCaptureControl::audioDevices() const {
    CaptureChoices c;
    for (const Listed& l : audio_)
        c.names << l.device.name;
    c.current = settings_.audioDevice;
    return c;
}

CaptureResult DeviceCaptureControl::setAudioDevice(int index) {
    if (index < -1 || index >= audio_.size())
        return badIndex(QStringLiteral("Invalid index "), index);
    if (index == settings_.audioDevice)
        return {};
    Settings s = settings_;
    s.audioDevice = index;
    return applySettings(s);
}

CaptureChoices DeviceCaptureControl::audioCompressors() const {
    return {{QStringLiteral("PCM")}, audioCompressor_};
}

CaptureResult DeviceCaptureControl::setAudioCompressor(int index) {
    if (index < -1 || index > 0)
        return badIndex(QStringLiteral("Invalid index "), index);
    audioCompressor_ = index;
    return {};
}

CaptureResult DeviceCaptureControl::setAudioFormat(const AudioFormat& f) {
    if ((f.channels != 1 && f.channels != 2) || (f.bits != 8 && f.bits != 16) ||
        f.sampleRate < 8000 || f.sampleRate > 192000)
        return CaptureResult::failure(capture_error::notSupported,
                                      QStringLiteral("Unsupported audio format"));
    if (f == settings_.audio)
        return {};
    Settings s = settings_;
    s.audio = f;
    return settings_.audioDevice >= 0 ? applySettings(s) : (settings_ = s, CaptureResult{});
}

CaptureResult DeviceCaptureControl::applyEffect(const QString& slot, int index) {
    if (slot == videoEffectSlot() && index == -1)
        return {};
    return badIndex(QStringLiteral("Invalid effect "), index);
}

bool DeviceCaptureControl::dialogAvailable(int dialog) const {
    switch (dialog) {
    case capture_dialog::videoSource:
        return isConnected();
    case capture_dialog::videoCompression:
        return compressor_ == 0;
    case capture_dialog::audioFormat:
        return settings_.audioDevice >= 0;
    default:
        return false;
    }
}

CaptureResult DeviceCaptureControl::showDialog(int dialog) {
    if (!dialogAvailable(dialog))
        return CaptureResult::failure(capture_error::notSupported,
                                      QStringLiteral("The device has no dialog ") +
                                          QString::number(dialog));
    switch (dialog) {
    case capture_dialog::videoSource:
        return showVideoSourceDialog();
    case capture_dialog::videoCompression:
        return showCompressionDialog();
    default:
        return showAudioFormatDialog();
    }
}

CaptureResult DeviceCaptureControl::showVideoSourceDialog() {
    const VideoSourceForm form = videoSourceForm(resolutions(), colorFormats(), videoInputs(),
                                                 modes_.frameRates, settings_.frameRate);
    const auto chosen = dialogs_.chooseFromLists(form.form);
    if (!chosen)
        return {};
    Settings s = settings_;
    const VideoSourceChoice c = form.read(*chosen);
    s.resolution = c.resolution;
    s.colorFormat = c.colorFormat;
    s.input = qMax(0, c.input);
    s.frameRate = c.frameRate;
    return applySettings(s);
}

CaptureResult DeviceCaptureControl::showCompressionDialog() {
    const auto chosen = dialogs_.chooseFromLists(compressionForm(quality_));
    if (!chosen)
        return {};
    return setVideoQuality(qualityOfChoice(*chosen));
}

CaptureResult DeviceCaptureControl::showAudioFormatDialog() {
    const auto chosen = dialogs_.chooseFromLists(audioFormatForm(settings_.audio));
    if (!chosen)
        return {};
    return setAudioFormat(audioFormatOfChoice(*chosen));
}

template <class F> void DeviceCaptureControl::onOwnThread(F&& f) {
    QMetaObject::invokeMethod(this, std::forward<F>(f), Qt::QueuedConnection);
}

void DeviceCaptureControl::pictureReady() {
    const int g = generation_;
    onOwnThread([this, g] {
        if (g == generation_)
            emit frameAvailable();
    });
}

void DeviceCaptureControl::recordingMustEnd(RecordingEnd::Kind kind, const QString& reason) {
    const int g = generation_;
    onOwnThread([this, g, kind, reason] {
        if (g == generation_ && isCapturing())
            finishRecording(kind, reason);
    });
}

void DeviceCaptureControl::inputEnded(const QString& reason) {
    const int g = generation_;
    onOwnThread([this, g, reason] {
        if (g == generation_)
            loseInput(reason);
    });
}

void DeviceCaptureControl::statusText(const QString& text) {
    onOwnThread([this, text] { emit status(text); });
}

} // namespace zt
