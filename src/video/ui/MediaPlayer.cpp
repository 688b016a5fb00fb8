#include "video/ui/MediaPlayer.h"

#include "video/FrameExtract.h"
#include "video/FrameSelection.h"
#include "video/ui/MarkedSlider.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

namespace zt {

namespace {

constexpr double fallbackFrameRate = 30;

} // namespace

MediaPlayer::MediaPlayer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MediaPlayer1"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 260);
    setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    slider_ = new MarkedSlider(this);
    slider_->setObjectName(QStringLiteral("slider"));
    // Keys belong to the player and the screen's key timer, not the slider.
    slider_->setFocusPolicy(Qt::NoFocus);
    slider_->setEnabled(false);
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("positionCaption"));
    caption_->setAlignment(Qt::AlignCenter);
    layout->addWidget(slider_);
    layout->addWidget(caption_);
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (value != position_)
            setPosition(value);
    });
    connect(slider_, &MarkedSlider::markClicked, this, [this](int value) { setPosition(value); });
    connect(&loader_, &FrameLoader::pictureReady, this, &MediaPlayer::showPicture);
    connect(&loader_, &FrameLoader::lengthKnown, this, &MediaPlayer::lengthKnown);
    connect(&playTimer_, &QTimer::timeout, this, &MediaPlayer::playTick);
    playTimer_.setTimerType(Qt::PreciseTimer);
    updateCaption();
}

MediaPlayer::~MediaPlayer() = default;

FrameError MediaPlayer::setFile(const QString& path) {
    stop();
    loader_.release();
    picture_ = QImage();
    position_ = requested_ = 0;
    shownPosition_ = -1;
    shownDamaged_ = false;
    selectionStart_ = 0;
    selectionEnd_ = -1;
    FrameError error = FrameError::None;
    if (!path.isEmpty())
        error = loader_.open(path);
    setSliderRange();
    slider_->setEnabled(loader_.isOpen());
    if (loader_.isOpen())
        loader_.request(0);
    updateCaption();
    update();
    emit positionChanged(position_);
    return error;
}

void MediaPlayer::setSliderRange() {
    const int64_t last = std::max<int64_t>(loader_.frameCount() - 1, 0);
    const QSignalBlocker block(slider_);
    slider_->setRange(0, int(std::min<int64_t>(last, INT32_MAX)));
    slider_->setValue(int(std::min<int64_t>(position_, last)));
}

// The scan of a clip without a trustworthy count is done: its frames are
// offered, a position past them moves back to the last.
void MediaPlayer::lengthKnown() {
    setSliderRange();
    // The frame asked for last, held back while the length was not known.
    setPosition(requested_);
    updateCaption();
}

void MediaPlayer::setMark(int64_t frame) {
    slider_->setMark(frame >= 0 && frame <= INT32_MAX ? int(frame) : -1);
}

int64_t MediaPlayer::mark() const {
    return slider_->mark();
}

void MediaPlayer::setPosition(int64_t frame) {
    if (!loader_.isOpen())
        return;
    requested_ = frame;
    const int64_t last = std::max<int64_t>(loader_.frameCount() - 1, 0);
    position_ = std::clamp<int64_t>(frame, 0, last);
    {
        const QSignalBlocker block(slider_);
        slider_->setValue(int(position_));
    }
    loader_.request(position_);
    emit positionChanged(position_);
}

void MediaPlayer::showPicture(const FramePicture& picture) {
    if (!loader_.isOpen())
        return;
    picture_ = picture.error == FrameError::None ? picture.image : QImage();
    shownPosition_ = picture.frame;
    shownDamaged_ = picture.error == FrameError::None && picture.damaged;
    paintPending_ = true;
    updateCaption();
    update();
}

void MediaPlayer::updateCaption() {
    if (!loader_.isOpen()) {
        caption_->setText(QStringLiteral("No clip"));
        return;
    }
    QString text = QStringLiteral("Frame ") +
                   (shownPosition_ < 0 ? QStringLiteral("-") : QString::number(shownPosition_));
    if (loader_.countingFrames())
        text += QStringLiteral("     Length: counting the frames...");
    else
        text += QStringLiteral("     Length: ") + QString::number(loader_.frameCount()) +
                QStringLiteral(" frames (0 to ") +
                QString::number(std::max<int64_t>(loader_.frameCount() - 1, 0)) + QLatin1Char(')');
    if (shownPosition_ >= 0 && (picture_.isNull() || shownDamaged_))
        text += QStringLiteral(" (no picture)");
    caption_->setText(text);
}

QRect MediaPlayer::pictureRect() const {
    const QRect area(0, 0, width(), std::max(0, slider_->geometry().top() - 2));
    if (picture_.isNull() || area.isEmpty())
        return area;
    QSize size = picture_.size();
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area.size(), Qt::KeepAspectRatio);
    QRect r(QPoint(0, 0), size);
    r.moveCenter(area.center());
    return r;
}

void MediaPlayer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect area(0, 0, width(), std::max(0, slider_->geometry().top() - 2));
    p.fillRect(area, Qt::black);
    if (!picture_.isNull()) {
        const QRect target = pictureRect();
        if (target.size() == picture_.size()) {
            p.drawImage(target.topLeft(), picture_);
        } else {
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(target, picture_);
        }
    }
    if (paintPending_) {
        paintPending_ = false;
        emit framePainted(shownPosition_);
    }
}

// ---- Playback ----

void MediaPlayer::play() {
    if (!loader_.isOpen())
        return;
    const double fps = loader_.frameRate() > 0 ? loader_.frameRate() : fallbackFrameRate;
    playTimer_.setInterval(std::max(1, int(std::lround(1000.0 / fps))));
    setPosition(std::max<int64_t>(selectionStart_, 0));
    playTimer_.start();
}

void MediaPlayer::stop() {
    playTimer_.stop();
}

// One frame on, once the one before is on the screen: frame by frame, in
// order, never skipping one.
void MediaPlayer::playTick() {
    if (loader_.busy() || shownPosition_ != position_)
        return;
    const int64_t last = std::max<int64_t>(loader_.frameCount() - 1, 0);
    const int64_t end =
        selectionEnd_ < selectionStart_ ? last : std::min<int64_t>(selectionEnd_, last);
    if (position_ >= end) {
        stop();
        return;
    }
    setPosition(position_ + 1);
}

// ---- Display, keys and the frame on display ----

void MediaPlayer::setDisplaySize(int size) {
    const int wanted = size == 3 ? 3 : 0;
    if (wanted == displaySize_)
        return;
    displaySize_ = wanted;
    if (wanted == 3) {
        setWindowFlag(Qt::Window, true);
        showFullScreen();
        takeFocus();
    } else {
        setWindowFlag(Qt::Window, false);
        showNormal();
        show();
    }
}

void MediaPlayer::takeFocus() {
    setFocus(Qt::OtherFocusReason);
}

void MediaPlayer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && displaySize_ == 3)
        setDisplaySize(0);
    const int code = playerKeyCode(event->key(), event->modifiers().testFlag(Qt::KeypadModifier));
    if (code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    emit keyDown(code);
}

void MediaPlayer::mousePressEvent(QMouseEvent* event) {
    takeFocus();
    if (displaySize_ == 3)
        emit fullScreenClicked();
    QWidget::mousePressEvent(event);
}

void MediaPlayer::settle() {
    loader_.settle();
}

bool MediaPlayer::writeFrame(Dialogs& dialogs, int64_t n, const QString& bmpPath) {
    bool written = false;
    loader_.withSource([&](FrameSource& source) {
        written = writeFrameBitmap(dialogs, source, loader_.path(), n, bmpPath);
    });
    return written;
}

} // namespace zt
