#pragma once
// The application context: the shared state, the services and the screens.
// Screens are created the first time anything touches them, then hidden and
// shown, never destroyed while the program runs. The log viewers and the
// skier list are created anew at each opening and go when closed.

#include "app/AppState.h"
#include "app/DiagnosticLog.h"
#include "app/Services.h"
#include "grid/GridSaveLoad.h"
#include "video/FrameSelectionView.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace zt {

class CaptureControl;
class CaptureScreenView;
class CaptureStatusView;
class Calibrate;
class Config;
class Grid_Setup;
class GridSetupView;
class LogView;
class MainForm;
class MainScreenView;
class Measure;
class MeasureView;
class PictureLogView;
class PreviewForm;
class Results;
class frmManual;
class frmSelectSkier;
class frmSetStart;

// The screens that come and go by navigation.
enum class Screen {
    Main,
    Config,
    GridSetup,
    Measure,
    Calibrate,
    Capture,
    FrameSelection,
    Results,
    Manual
};

class App : public QObject {
    Q_OBJECT
public:
    explicit App(Services services);
    ~App() override;

    AppState state;

    SettingsStore& settings() { return *services_.settings; }
    Dialogs& dialogs() { return *services_.dialogs; }
    const Clock& clock() const { return *services_.clock; }
    const Paths& paths() const { return services_.paths; }
    DiagnosticLog& diagnosticLog() { return diagnosticLog_; }
    bool testCameraEnabled() const { return services_.testCamera; }

    // Shorthand for the diagnostic log.
    void log(const QString& text) { diagnosticLog_.appendDiagnosticLine(text); }

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
    // The capture device, owned for the whole run (created on first use);
    // its events go to the capture screen's handlers.
    CaptureControl& captureControl();

    // Navigation: shows or hides a screen (created on first use). Only App
    // knows the screens; the others name them. The results viewer is shown
    // on the results file (logFilePath) read anew. The frame selection,
    // measure and grid setup screens run their arrival each time they are
    // asked for, on screen already or not.
    void showScreen(Screen screen);
    void hideScreen(Screen screen);
    // A hand-over along the road of a jump: the screen arrives (as
    // showScreen) and is the one screen of the road in front afterwards;
    // the others are hidden, the capture screen only while it is not
    // recording.
    void handOver(Screen screen);
    // The capture screen's fresh recording to frame selection.
    void handOverFreshClip(const FreshClip& clip);

    // What screens hand to one another, each through the small interface
    // the receiving screen implements (created on first use).
    MainScreenView& mainView();
    MeasureView& measureView();
    GridSetupView& gridSetupView();
    CaptureScreenView& captureView();
    CaptureStatusView& captureStatusView();
    FrameSelectionView& frameSelectionView();

    // The context of a grid save or load: state, services and the screens
    // that show a grid's description and state.
    GridFileContext gridFileContext();

    // The main screen where it fits on its screen, the capture screen at
    // its right edge (at start-up, and each time the capture screen opens).
    void placeMainAndCaptureWindows();

    // The viewers, one of each kind: made anew beside their owner (and
    // owned by it) when none is open, else the open one brought to front;
    // they delete themselves when closed. The skier list is not shown (nullptr) when the
    // names file cannot be read; the operator has been told.
    LogView* openLogView(QWidget* owner);
    PictureLogView* openPictureLogView(QWidget* owner);
    frmSelectSkier* openSelectSkier(QWidget* owner);

signals:
    void quitRequested();

private:
    QWidget& screenWidget(Screen screen);
    bool isMade(Screen screen) const;

    void routeCaptureEvents();

    Services services_;
    DiagnosticLog diagnosticLog_;
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
