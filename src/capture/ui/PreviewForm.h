#pragma once
// The capture screen: the live picture of the capture device and the
// recording of one jump's clip, named after the skier and the jump number,
// counted down and handed to the frame selection screen.

#include "capture/CaptureScreenView.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zt {

class AppContext;
class CaptureControl;
class CaptureView;
namespace vision {
class LiveCameraGuard;
struct FrameCameraCheck;
} // namespace vision

class PreviewForm : public QMainWindow, public CaptureScreenView {
    Q_OBJECT
public:
    explicit PreviewForm(AppContext& app);
    ~PreviewForm() override;

    CaptureControl* CapturePRO1; // the application's capture device
    CaptureView* videoView;
    QLineEdit* txtSkierName;
    QLineEdit* txtPass;
    QPushButton* cmdSelect;
    QPushButton* btnGetName;
    QListWidget* captureTimeValue;
    QPushButton* cmdStartCapture;
    QPushButton* cmdStartTimer;
    QPushButton* cmdEndCapture;
    QLabel* captime;
    QLabel* LblFrame;
    QLabel* LblFrmDrop;
    QLabel* lblStartFrame;
    QLabel* Label4;
    QLabel* cameraMoved; // the camera-moved guard's short warning
    QPushButton* btnCaptureFrame;
    QPushButton* cmdGoToTimer;
    QPushButton* cmdGoSetup;
    QLineEdit* Text1;
    QAction* mnuResults;
    QAction* mnuStart;
    QTimer Timer40;
    QTimer cameraCheckTimer; // the live picture against the grid in use

    double captureTime = 0;
    QString capturePath;
    bool nameAltered = false;
    bool paintHandled = false;

    bool recording() const { return recording_; }
    double secondsLeft() const { return secondsLeft_; }

    // CaptureScreenView.
    QString skierName() const override;
    void setSkierName(const QString& name) override;
    QString jumpNumberText() const override;
    void setJumpNumberText(const QString& text) override;
    QString recordedClipPath() const override { return capturePath; }
    bool skierNameNoticeShown() const override { return nameNoticeShown_; }
    void hideSkierNameNotice() override;

public slots:
    void Form_Load();
    // The arrival handling of the first paint after the load.
    void Form_FirstPaint();
    void Form_Activate();
    void Form_KeyDown(int keyCode);
    void txtSkierName_Change();
    void txtSkierName_DblClick();
    void cmdSelect_Click();
    void btnGetName_Click();
    void captureTimeValue_Click();
    void cmdStartCapture_Click();
    void cmdStartTimer_Click();
    void Timer40_Timer();
    void cmdEndCapture_Click();
    void btnCaptureFrame_Click();
    void cmdGoSetup_Click();
    void cmdGoToTimer_Click();
    void mnuResults_Click();
    // Every few seconds: the live picture checked against the grid in use
    // (off this thread); the warning shown while the camera has moved.
    void cameraCheckTimer_Timer();
    void checkLivePicture(const QImage& frame);
    bool cameraCheckRunning() const;
    // Events of the capture device.
    void CapturePRO1_Status(const QString& text);
    void CapturePRO1_Progress(int code, const QString& text);
    void CapturePRO1_Warning(const QString& text);
    void CapturePRO1_DeviceChange(const QString& list, int kind, int index, const QString& name);
    void CapturePRO1_ConnectionLost(const QString& reason);

protected:
    // Closing the window goes back to the main screen.
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildSideColumn(QWidget* parent);
    void connectHandlers();
    void showSkierList();
    void reportCaptureError(long code, const QString& description);
    // The frame frame selection opens the clip at: the contact frame when
    // "Contact" was pressed, else the middle of the clip.
    long proposedStartFrame() const;
    void setRecordingControls(bool recording);
    void showCameraCheck(const vision::FrameCameraCheck& check);

    AppContext& app_;
    bool recording_ = false;     // a recording of this screen runs
    bool contactMarked_ = false; // "Contact" was pressed in this recording
    long contactFrame_ = 0;
    bool nameNoticeShown_ = false;
    double secondsLeft_ = 0;
    bool cameraMovedShown_ = false; // the live check found the camera moved
    // Last, so that a check under way ends before the rest goes.
    std::unique_ptr<vision::LiveCameraGuard> cameraGuard_;
};

} // namespace zt
