#pragma once
// The application context: the shared state, the services and the screens.
// Screens are created the first time anything touches them, then hidden and
// shown, never destroyed while the program runs. The log viewers and the
// skier list are created anew at each opening and go when closed.

#include "app/ui/AppContext.h"
#include "grid/GridSaveLoad.h"
#include "video/FrameSelectionView.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace zt {

class Calibrate;
class Config;
class Grid_Setup;
class MainForm;
class Measure;
class PreviewForm;
class Results;
class frmManual;
class frmSetStart;

class App : public QObject, public AppContext {
    Q_OBJECT
public:
    explicit App(Services services);
    ~App() override;

    // Runs the start-up: the main screen's load, which ends on the
    // configuration screen.
    void start();
    // Ends the program at once.
    void quit();

    MainForm& mainForm();
    zt::Config& config();
    Grid_Setup& gridSetup();
    zt::Measure& measure();
    zt::Calibrate& calibrate();
    PreviewForm& previewForm();
    zt::frmSetStart& frmSetStart();
    zt::Results& results();
    zt::frmManual& frmManual();
    // The capture device; its events go to the capture screen's handlers.
    CaptureControl& captureControl() override;

    void showScreen(Screen screen) override;
    void hideScreen(Screen screen) override;
    void handOver(Screen screen) override;
    void handOverFreshClip(const FreshClip& clip) override;

    MainScreenView& mainView() override;
    MeasureView& measureView() override;
    GridSetupView& gridSetupView() override;
    CaptureScreenView& captureView() override;
    CaptureStatusView& captureStatusView() override;
    FrameSelectionView& frameSelectionView() override;

    GridFileContext gridFileContext() override;

    // The main screen where it fits on its screen, the capture screen at
    // its right edge (at start-up, and each time the capture screen opens).
    void placeMainAndCaptureWindows();

    LogView* openLogView(QWidget* owner) override;
    PictureLogView* openPictureLogView(QWidget* owner) override;
    frmSelectSkier* openSelectSkier(QWidget* owner) override;

signals:
    void quitRequested();

private:
    QWidget& screenWidget(Screen screen);
    bool isMade(Screen screen) const;

    void routeCaptureEvents();

    std::unique_ptr<CaptureControl> captureControl_;
    std::unique_ptr<MainForm> mainForm_;
    std::unique_ptr<zt::Config> config_;
    std::unique_ptr<Grid_Setup> gridSetup_;
    std::unique_ptr<zt::Measure> measure_;
    std::unique_ptr<zt::Calibrate> calibrate_;
    std::unique_ptr<PreviewForm> previewForm_;
    std::unique_ptr<zt::frmSetStart> frmSetStart_;
    std::unique_ptr<zt::Results> results_;
    std::unique_ptr<zt::frmManual> frmManual_;
    QPointer<LogView> logView_;
    QPointer<PictureLogView> pictureLogView_;
};

} // namespace zt
