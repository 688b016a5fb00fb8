#pragma once
// The frame-exact player of the frame selection screen: one clip, a
// position in frame numbers, a slider over the clip, playback of a
// selection at the clip's own rate, full screen, and the keys pressed on it.
// Frames are decoded off the screen's thread (FrameLoader); the picture
// shown and the number under it always belong together.

#include "video/FrameLoader.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>

class QLabel;

namespace zt {

class Dialogs;
class MarkedSlider;

class MediaPlayer : public QWidget {
    Q_OBJECT
public:
    explicit MediaPlayer(QWidget* parent = nullptr);
    ~MediaPlayer() override;

    // Loads a clip at frame 0; "" releases the file. The error of a clip
    // that cannot be opened (the player is then empty).
    FrameError setFile(const QString& path);
    const QString& file() const { return loader_.path(); }
    bool hasClip() const { return loader_.isOpen(); }
    int64_t frameCount() const { return loader_.frameCount(); }
    double frameRate() const { return loader_.frameRate(); }
    const ClipFacts& facts() const { return loader_.facts(); }
    std::size_t peakHeldBytes() const { return loader_.peakHeldBytes(); }

    // The frame asked for last (shown as soon as it is decoded).
    int64_t position() const { return position_; }
    // Kept within the clip.
    void setPosition(int64_t frame);
    // A mark on the slider at a frame (-1: none); a click on it goes there.
    void setMark(int64_t frame);
    int64_t mark() const;
    // The frame whose number is shown under the picture (-1: none yet).
    int64_t shownPosition() const { return shownPosition_; }
    const QImage& picture() const { return picture_; }
    // The frame shown has no whole picture of its own (the decoder found it
    // damaged): the picture is the last whole frame before it. Such a frame
    // is not to be taken.
    bool shownDamaged() const { return shownDamaged_; }

    // The stretch play shows; an end below the start plays to the clip's end.
    void setSelectionStart(int64_t frame) { selectionStart_ = frame; }
    void setSelectionEnd(int64_t frame) { selectionEnd_ = frame; }
    int64_t selectionStart() const { return selectionStart_; }
    int64_t selectionEnd() const { return selectionEnd_; }
    void play();
    void stop();
    bool isPlaying() const { return playTimer_.isActive(); }

    // 3: full screen (Esc returns), 0: in the screen.
    void setDisplaySize(int size);
    int displaySize() const { return displaySize_; }
    void takeFocus();

    // Waits for the frame asked for last and shows it.
    void settle();
    // Writes frame n of the clip as a bitmap from the decoded frame, telling
    // problems as the frame extraction tells them. False when not written.
    bool writeFrame(Dialogs& dialogs, int64_t n, const QString& bmpPath);

signals:
    // A key pressed on the player, as its Windows key code.
    void keyDown(int code);
    // The operator clicked the full-screen picture.
    void fullScreenClicked();
    // The picture of frame n has been painted.
    void framePainted(int64_t n);
    // The frame asked for changed (steps, the slider, a new clip).
    void positionChanged(int64_t n);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void showPicture(const FramePicture& picture);
    void playTick();
    void updateCaption();
    void lengthKnown();
    void setSliderRange();
    QRect pictureRect() const;

    FrameLoader loader_;
    MarkedSlider* slider_;
    QLabel* caption_;
    QImage picture_;
    int64_t position_ = 0;
    int64_t requested_ = 0; // before it was kept within the clip
    int64_t shownPosition_ = -1;
    bool shownDamaged_ = false;
    int64_t selectionStart_ = 0;
    int64_t selectionEnd_ = -1;
    int displaySize_ = 0;
    bool paintPending_ = false;
    QTimer playTimer_;
};

} // namespace zt
