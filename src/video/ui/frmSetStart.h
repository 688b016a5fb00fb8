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
class App;
class KeyState;
class MediaPlayer;

class frmSetStart : public QMainWindow, public FrameSelectionView {
    Q_OBJECT
public:
    explicit frmSetStart(App& app);
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
    QLabel* proposedContact;     // "Proposed contact: frame N (P to go there)"
    QTimer Timer1;               // looped playback
    QTimer Timer2;               // arrow keys, 100 ms

    // Tests give their own keys and free space.
    void setKeyState(KeyState& keys) { keys_ = &keys; }
    void setFreeSpaceSource(FreeSpaceSource source) { freeSpace_ = std::move(source); }

    long markedFrame() const { return markedFrame_; }
    bool viewHandled() const { return viewHandled_; }
    bool playingBeforeStart() const { return playingBeforeStart_; }

    // FrameSelectionView: the clip shown (Text6).
    QString clipPath() const override { return clipPath_; }
    void setClipPath(const QString& path) override { clipPath_ = path; }

public slots:
    // The arrival: runs each time the screen is shown.
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

protected:
    void showEvent(QShowEvent* event) override;
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
    void handOver();
    void leave();

    App& app_;
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
    bool arrivedFromCapture_ = false;
    std::unique_ptr<vision::ContactWorker> contactWorker_;
    int proposedFrame_ = -1;
};

} // namespace zt
