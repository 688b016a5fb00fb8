#pragma once
// The frame selection screen: steps through a clip to the frame of first
// contact, takes it as "currentcapture.bmp", keeps or deletes the clip by
// the video-keeping policy, and hands over to the measure or grid setup
// screen. Its rules live in video/FrameSelection.

#include "video/FrameSelection.h"
#include "video/FrameSelectionView.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zt {

namespace vision {
class ContactWorker;
}
class AppContext;
class KeyState;
class MediaPlayer;

class frmSetStart : public QMainWindow, public FrameSelectionView {
    Q_OBJECT
public:
    explicit frmSetStart(AppContext& app);
    ~frmSetStart() override;

    MediaPlayer* MediaPlayer1;
    QPushButton* Command1;   // "<"
    QPushButton* Command4;   // ">"
    QLineEdit* Text9;        // the position after each step
    QPushButton* Command5;   // "Play before start -->"
    QLineEdit* Text4;        // seconds before the marked frame, 1..5
    QLineEdit* txtStartLoop; // repetitions
    QCheckBox* cbFullScreen;
    QPushButton* cmdMarkStart; // "Use displayed frame to measure jump"
    QPushButton* btnGoToSetup; // "Use displayed frame to set up Grid"
    QPushButton* Command6;     // "..."
    QLabel* Label3;
    QListWidget* lstFileInfo;
    QLabel* Label5;
    QLabel* Label10;
    QLabel* lblDiskSpace;
    QLabel* Label11;
    QLabel* Label9;
    QPushButton* cmdViewLog;     // "View Log File"
    QPushButton* cmdGoToCapture; // "Go To Record Next Jump Pass"
    QPushButton* cmdGoToSetup;   // "Go Back To Main Screen"
    QLineEdit* Text5;            // Timer1's interval
    QLineEdit* Text1;            // last key code
    QLineEdit* Text2;            // last key code of the player
    QLabel* Label8;              // "Key Down"
    QLabel* lblClipFrame;        // the clip's file name and the frame shown
    QLabel* proposedContact;     // "Proposed contact: frame N (P to go there)"
    QTimer Timer1;               // looped playback
    QTimer Timer2;               // arrow keys, 100 ms

    // Tests give their own keys and free space.
    void setKeyState(KeyState& keys) { keys_ = &keys; }
    void setFreeSpaceSource(FreeSpaceSource source) { freeSpace_ = std::move(source); }

    long markedFrame() const { return markedFrame_; }
    bool viewHandled() const { return viewHandled_; }
    bool playingBeforeStart() const { return playingBeforeStart_; }

    // FrameSelectionView: the clip shown (Text6) and the fresh recording.
    QString clipPath() const override { return clipPath_; }
    void takeFreshClip(const FreshClip& clip) override;
    // The clip the video-keeping policy applies to once its frame is
    // taken: the capture screen's fresh one while it is shown, else none.
    QString freshClipPath() const { return freshClipPath_; }

public slots:
    // The arrival: App runs it at each hand-over to this screen.
    void Form_Paint();
    void Command1_Click();
    void Command4_Click();
    void Timer2_Timer();
    void Command5_Click();
    void Timer1_Timer();
    void Text4_Change();
    void cmdMarkStart_Click();
    void btnGoToSetup_Click();
    void Command6_Click();
    void cmdGoToCapture_Click();
    void cmdGoToSetup_Click();
    void cmdViewLog_Click();
    void MediaPlayer1_KeyDown(int code);
    // A frame number typed into Text9 and Enter.
    void Text9_Enter();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Closing the window goes back to the main screen.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void connectControls();
    void showDiskSpace();
    void showPosition(int64_t frame);
    bool jumpByKey(int qtKey);
    void arriveFromCapture();
    void arriveForView();
    // The clip's contact frame proposed off this thread, shown when found.
    void proposeContact();
    void showProposedContact(int frame);
    bool loadClip();
    void enableTaking(bool on);
    void readyForStepping();
    void takeFrame();
    void applyClipPolicy(const QString& clip);
    void recordViewedClip(const QString& clip);
    void passSkierToMeasure(const QString& clip);
    void arriveWithoutClip();
    void handOver();
    void leave();

    AppContext& app_;
    KeyState* keys_;
    FreeSpaceSource freeSpace_;
    QString clipPath_; // Text6

    double clipFps_ = 0;
    long markedFrame_ = 0;
    bool startLocked_ = false;
    bool startTaken_ = false;
    long loopsLeft_ = 0;
    bool playingBeforeStart_ = false;
    QString fixedSkierName_;
    bool viewHandled_ = false;
    bool setupRequested_ = false;
    FreshClip handedOver_;  // the next "Capture" arrival's clip
    QString freshClipPath_; // the clip the keeping policy applies to
    std::unique_ptr<vision::ContactWorker> contactWorker_;
    int proposedFrame_ = -1;
};

} // namespace zt
