#pragma once
// The application context: the shared state, the services and the screens.
// Screens are created the first time anything touches them, then hidden and
// shown, never destroyed while the program runs.

#include "app/AppState.h"
#include "app/DiagnosticLog.h"
#include "app/Services.h"

#include <QObject>
#include <memory>

namespace zt {

class MainForm;
class Config;
class Grid_Setup;
class Measure;

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

    MainForm& mainForm();
    Config& config();
    Grid_Setup& gridSetup();
    Measure& measure();

private:
    Services services_;
    DiagnosticLog diagnosticLog_;
    std::unique_ptr<MainForm> mainForm_;
    std::unique_ptr<Config> config_;
    std::unique_ptr<Grid_Setup> gridSetup_;
    std::unique_ptr<Measure> measure_;
};

} // namespace zt
