#pragma once
// What a screen sees of the application: the shared state, the services,
// the road between screens and the small interfaces through which screens
// hand values to one another. `App` (src/shell) is the one implementation;
// screens know only this, so that nothing below the shell depends on the
// screens it makes.

#include "app/AppState.h"
#include "app/DiagnosticLog.h"
#include "app/Services.h"

class QWidget;

namespace zt {

class CaptureControl;
class CaptureScreenView;
class CaptureStatusView;
class FrameSelectionView;
class GridSetupView;
class LogView;
class MainScreenView;
class MeasureView;
class PictureLogView;
class frmSelectSkier;
struct FreshClip;
struct GridFileContext;

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

class AppContext {
public:
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;
    virtual ~AppContext() = default;

    AppState state;

    SettingsStore& settings() { return *services_.settings; }
    Dialogs& dialogs() { return *services_.dialogs; }
    const Clock& clock() const { return *services_.clock; }
    const Paths& paths() const { return services_.paths; }
    DiagnosticLog& diagnosticLog() { return diagnosticLog_; }
    bool testCameraEnabled() const { return services_.testCamera; }

    // Shorthand for the diagnostic log.
    void log(const QString& text) { diagnosticLog_.appendDiagnosticLine(text); }

    // Navigation: shows or hides a screen (created on first use). Only the
    // shell knows the screens; the others name them. The results viewer is
    // shown on the results file (logFilePath) read anew. The frame
    // selection, measure and grid setup screens run their arrival each time
    // they are asked for, on screen already or not.
    virtual void showScreen(Screen screen) = 0;
    virtual void hideScreen(Screen screen) = 0;
    // A hand-over along the road of a jump: the screen arrives (as
    // showScreen) and is the one screen of the road in front afterwards;
    // the others are hidden, the capture screen only while it is not
    // recording.
    virtual void handOver(Screen screen) = 0;
    // The capture screen's fresh recording to frame selection.
    virtual void handOverFreshClip(const FreshClip& clip) = 0;

    // What screens hand to one another, each through the small interface
    // the receiving screen implements (created on first use).
    virtual MainScreenView& mainView() = 0;
    virtual MeasureView& measureView() = 0;
    virtual GridSetupView& gridSetupView() = 0;
    virtual CaptureScreenView& captureView() = 0;
    virtual CaptureStatusView& captureStatusView() = 0;
    virtual FrameSelectionView& frameSelectionView() = 0;

    // The context of a grid save or load: state, services and the screens
    // that show a grid's description and state.
    virtual GridFileContext gridFileContext() = 0;

    // The capture device, owned for the whole run (created on first use).
    virtual CaptureControl& captureControl() = 0;

    // The viewers, one of each kind: made anew beside their owner (and
    // owned by it) when none is open, else the open one brought to front;
    // they delete themselves when closed. The skier list is not shown
    // (nullptr) when the names file cannot be read; the operator has been
    // told.
    virtual LogView* openLogView(QWidget* owner) = 0;
    virtual PictureLogView* openPictureLogView(QWidget* owner) = 0;
    virtual frmSelectSkier* openSelectSkier(QWidget* owner) = 0;

protected:
    explicit AppContext(Services services)
        : services_(std::move(services)),
          diagnosticLog_(services_.paths.inExchange(QStringLiteral("DebugLog.txt")),
                         *services_.clock, *services_.dialogs) {}

    Services services_;
    DiagnosticLog diagnosticLog_;
};

} // namespace zt
