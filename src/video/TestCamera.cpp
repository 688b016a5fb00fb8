#include "video/TestCamera.h"

#include <QPainter>
#include <QtMath>

namespace zt {

namespace {

const QStringList effectNames = {QStringLiteral("Grey"), QStringLiteral("Mirror")};

CaptureResult notConnected() {
    return CaptureResult::failure(capture_error::notConnected,
                                  QStringLiteral("No device is connected"));
}

} // namespace

TestCamera::TestCamera(bool listed, QObject* parent) : CaptureControl(parent), listed_(listed) {
    resolutions_ = {
        {QStringLiteral("640x480"), QStringLiteral("1280x720"), QStringLiteral("320x240")}, 0};
    colorFormats_ = {{QStringLiteral("RGB24"), QStringLiteral("YUY2"), QStringLiteral("MJPG")}, 0};
    inputs_ = {{QStringLiteral("Camera")}, 0};
    compressors_ = {{QStringLiteral("MJPEG"), QStringLiteral("Uncompressed")}, -1};
    audioDevices_ = {{QStringLiteral("Test Tone (440 Hz)")}, -1};
    audioCompressors_ = {{QStringLiteral("PCM")}, -1};
    connect(&timer_, &QTimer::timeout, this, &TestCamera::tick);
}

QString TestCamera::deviceName(int index) const {
    return listed_ && index == 0 ? cameraName() : QString();
}

CaptureResult TestCamera::connectDevice(int index) {
    if (!listed_ || index != 0)
        return CaptureResult::failure(capture_error::badIndex,
                                      QStringLiteral("There is no capture device number ") +
                                          QString::number(index));
    connected_ = true;
    current_ = 0;
    emit status(QStringLiteral("Connected to ") + cameraName());
    updateTimer();
    return {};
}

void TestCamera::disconnectDevice() {
    if (!connected_)
        return;
    connected_ = false;
    preview_ = false;
    updateTimer();
    emit status(QStringLiteral("Disconnected"));
}

CaptureResult TestCamera::setCurrentDevice(int index) {
    if (index < 0 || index >= deviceCount())
        return CaptureResult::failure(capture_error::badIndex,
                                      QStringLiteral("There is no capture device number ") +
                                          QString::number(index));
    current_ = index;
    return {};
}

void TestCamera::setPreview(bool on) {
    preview_ = on && connected_;
    updateTimer();
}

void TestCamera::updateTimer() {
    if (preview_ && connected_) {
        timer_.start(1000 / qMax(1, frameRate_));
    } else {
        timer_.stop();
    }
}

void TestCamera::tick() {
    ++frame_;
    emit frameAvailable();
}

QSize TestCamera::frameSize() const {
    const QStringList wh = resolutions_.names.value(resolutions_.current).split(QLatin1Char('x'));
    if (wh.size() != 2)
        return {640, 480};
    return {wh[0].toInt(), wh[1].toInt()};
}

QImage TestCamera::currentFrame() const {
    if (!connected_)
        return {};
    if (cachedFrame_ != frame_ || cached_.size() != frameSize()) {
        cached_ = picture(frame_, frameSize(), effect_);
        cachedFrame_ = frame_;
    }
    return cached_;
}

QImage TestCamera::picture(long frame, QSize size, int effect) {
    QImage img(size, QImage::Format_RGB888);
    QPainter p(&img);
    const int w = size.width();
    const int h = size.height();
    static const QColor bars[] = {Qt::white,   Qt::yellow, Qt::cyan, Qt::green,
                                  Qt::magenta, Qt::red,    Qt::blue, Qt::black};
    const int barWidth = qMax(1, w / 8);
    const int shift = static_cast<int>((frame * 4) % w);
    for (int i = -1; i < 9; ++i)
        p.fillRect(i * barWidth + shift % barWidth, 0, barWidth, h * 2 / 3, bars[(i + 8) % 8]);
    p.fillRect(0, h * 2 / 3, w, h - h * 2 / 3, QColor(20, 40, 90));
    const double angle = frame * 2 * M_PI / 90.0;
    const QPointF centre(w / 2 + w / 4 * qCos(angle), h * 5 / 6 + h / 12 * qSin(angle));
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, h / 20.0, h / 20.0);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(qMax(8, h / 12));
    p.setFont(font);
    p.drawText(QRect(0, h * 2 / 3, w, h / 6), Qt::AlignCenter,
               QStringLiteral("Frame %1").arg(frame));
    p.end();
    if (effect == 0)
        img = img.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB888);
    else if (effect == 1)
        img = img.mirrored(true, false);
    return img;
}

CaptureResult TestCamera::startCapture() {
    if (!connected_)
        return notConnected();
    return CaptureResult::failure(capture_error::notSupported,
                                  QStringLiteral("The test camera cannot record clips yet"));
}

CaptureResult TestCamera::stopCapture() {
    return {};
}

CaptureResult TestCamera::setFrameRate(int framesPerSecond) {
    if (framesPerSecond < 1 || framesPerSecond > 120)
        return CaptureResult::failure(capture_error::badIndex,
                                      QStringLiteral("Frame rate out of range: ") +
                                          QString::number(framesPerSecond));
    frameRate_ = framesPerSecond;
    updateTimer();
    return {};
}

CaptureResult TestCamera::saveStill() {
    if (!connected_)
        return notConnected();
    if (stillFile_.isEmpty())
        return CaptureResult::failure(capture_error::fileError,
                                      QStringLiteral("No file was given for the still frame"));
    const QImage frame = currentFrame().convertToFormat(QImage::Format_RGB888);
    if (!frame.save(stillFile_, "BMP"))
        return CaptureResult::failure(capture_error::fileError,
                                      QStringLiteral("Cannot write ") + stillFile_);
    return {};
}

CaptureResult TestCamera::choose(CaptureChoices& choices, int index, bool allowNone) {
    if (index < (allowNone ? -1 : 0) || index >= choices.count())
        return CaptureResult::failure(capture_error::badIndex,
                                      QStringLiteral("Invalid index ") + QString::number(index));
    choices.current = index;
    return {};
}

CaptureResult TestCamera::setResolution(int index) {
    if (!connected_)
        return notConnected();
    return choose(resolutions_, index, false);
}

CaptureResult TestCamera::setColorFormat(int index) {
    if (!connected_)
        return notConnected();
    return choose(colorFormats_, index, false);
}

CaptureResult TestCamera::setVideoInput(int index) {
    return choose(inputs_, index, false);
}

CaptureResult TestCamera::setChannel(int) {
    return CaptureResult::failure(capture_error::notSupported,
                                  QStringLiteral("The device has no tuner"));
}

CaptureResult TestCamera::setVideoCompressor(int index) {
    return choose(compressors_, index, true);
}

CaptureResult TestCamera::setAudioDevice(int index) {
    return choose(audioDevices_, index, true);
}

CaptureResult TestCamera::setAudioCompressor(int index) {
    return choose(audioCompressors_, index, true);
}

CaptureResult TestCamera::setAudioFormat(const AudioFormat& format) {
    if ((format.channels != 1 && format.channels != 2) || (format.bits != 8 && format.bits != 16) ||
        format.sampleRate < 8000 || format.sampleRate > 192000)
        return CaptureResult::failure(capture_error::notSupported,
                                      QStringLiteral("Unsupported audio format"));
    audioFormat_ = format;
    return {};
}

CaptureResult TestCamera::showDialog(int dialog) {
    return CaptureResult::failure(capture_error::notSupported,
                                  QStringLiteral("The device has no dialog ") +
                                      QString::number(dialog));
}

int TestCamera::effectCount(const QString& slot) const {
    return slot == videoEffectSlot() ? static_cast<int>(effectNames.size()) : 0;
}

QString TestCamera::effectName(const QString& slot, int index) const {
    return slot == videoEffectSlot() ? effectNames.value(index) : QString();
}

int TestCamera::currentEffect(const QString& slot) const {
    return slot == videoEffectSlot() ? effect_ : -1;
}

int TestCamera::effectIndex(const QString& slot, const QString& name) const {
    return slot == videoEffectSlot() ? static_cast<int>(effectNames.indexOf(name)) : -1;
}

CaptureResult TestCamera::applyEffect(const QString& slot, int index) {
    if (slot != videoEffectSlot() || index < -1 || index >= effectNames.size())
        return CaptureResult::failure(capture_error::badIndex,
                                      QStringLiteral("Invalid effect ") + QString::number(index));
    effect_ = index;
    cachedFrame_ = -1;
    return {};
}

void TestCamera::plugIn() {
    if (listed_)
        return;
    listed_ = true;
    emit deviceChange(QStringLiteral("Video Capture Sources"), 0, 0, cameraName());
}

void TestCamera::unplug() {
    if (!listed_)
        return;
    disconnectDevice();
    listed_ = false;
    emit deviceChange(QStringLiteral("Video Capture Sources"), 1, 0, cameraName());
}

} // namespace zt
