#pragma once
// The application context: the shared state, the services and the screens.
// Screens are created the first time anything touches them, then hidden and
// shown, never destroyed while the program runs. The log viewers and the
// skier list are created anew at each opening and go when closed.

#include "app/AppState.h"
#include "app/DiagnosticLog.h"
#include "app/Services.h"

#include <QObject>
#include <memory>

class QWidget;

namespace zt {

class CaptureControl;
class Calibrate;
class Config;
class Grid_Setup;
class LogView;
class MainForm;
class Measure;
class PictureLogView;
class PreviewForm;
class Results;
class frmManual;
class frmSelectSkier;
class frmSetStart;

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
    // The capture screen's capture control (creates the capture screen).
    CaptureControl& captureControl();

    // New viewers, owned by the screen they open beside; they delete
    // themselves when closed.
    LogView* openLogView(QWidget* owner);
    PictureLogView* openPictureLogView(QWidget* owner);
    frmSelectSkier* openSelectSkier(QWidget* owner);

signals:
    void quitRequested();

private:
    Services services_;
    DiagnosticLog diagnosticLog_;
    std::unique_ptr<MainForm> mainForm_;
    std::unique_ptr<zt::Config> config_;
    std::unique_ptr<Grid_Setup> gridSetup_;
    std::unique_ptr<zt::Measure> measure_;
    std::unique_ptr<zt::Calibrate> calibrate_;
    std::unique_ptr<PreviewForm> previewForm_;
    std::unique_ptr<zt::frmSetStart> frmSetStart_;
    std::unique_ptr<zt::Results> results_;
    std::unique_ptr<zt::frmManual> frmManual_;
};

} // namespace zt
