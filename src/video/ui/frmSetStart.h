#pragma once
// The frame selection screen: steps through a clip to its contact frame.

#include "video/FrameSelectionView.h"

#include <QMainWindow>

class QPushButton;

namespace zt {

class App;

class frmSetStart : public QMainWindow, public FrameSelectionView {
    Q_OBJECT
public:
    explicit frmSetStart(App& app);

    QPushButton* cmdMarkStart;   // "Use displayed frame to measure jump"
    QPushButton* btnGoToSetup;   // "Use displayed frame to set up Grid"
    QPushButton* cmdViewLog;     // "View Log File"
    QPushButton* cmdGoToCapture; // "Go To Record Next Jump Pass"
    QPushButton* cmdGoToSetup;   // "Go Back To Main Screen"

    // FrameSelectionView.
    QString clipPath() const override { return clipPath_; }
    void setClipPath(const QString& path) override { clipPath_ = path; }

public slots:
    void cmdGoToCapture_Click();
    void cmdGoToSetup_Click();
    void cmdViewLog_Click();

protected:
    // Closing the window goes back to the main screen.
    void closeEvent(QCloseEvent* event) override;

private:
    App& app_;
    QString clipPath_; // the clip path box (Text6)
};

} // namespace zt
