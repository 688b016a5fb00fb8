#pragma once
// The capture screen: holds the capture control (CapturePRO1) and its live
// picture; records a jump's clip.

#include "video/CaptureScreenView.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zt {

class App;
class CaptureControl;
class CaptureView;

class PreviewForm : public QMainWindow, public CaptureScreenView {
    Q_OBJECT
public:
    explicit PreviewForm(App& app);
    ~PreviewForm() override;

    CaptureControl* CapturePRO1;
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
    QPushButton* btnCaptureFrame;
    QPushButton* cmdGoToTimer;
    QPushButton* cmdGoSetup;
    QLineEdit* Text1;
    QAction* mnuResults;
    QAction* mnuStart;
    QTimer Timer40;

    double captureTime = 0;
    QString capturePath;

    // CaptureScreenView.
    QString skierName() const override;
    void setSkierName(const QString& name) override;
    QString jumpNumberText() const override;
    void setJumpNumberText(const QString& text) override;
    bool nameAltered() const override { return nameAltered_; }
    void clearNameAltered() override;

public slots:
    void Form_Load();
    void cmdGoSetup_Click();
    void cmdGoToTimer_Click();
    // Events of the capture control.
    void CapturePRO1_Status(const QString& text);
    void CapturePRO1_Progress(int code, const QString& text);
    void CapturePRO1_Warning(const QString& text);

protected:
    // Closing the window goes back to the main screen.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();

    App& app_;
    std::unique_ptr<CaptureControl> control_;
    bool nameAltered_ = false; // the skier name was extended to keep a clip
};

} // namespace zt
