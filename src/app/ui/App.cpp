#include "app/ui/App.h"

#include "app/ui/MainForm.h"
#include "config/ui/Config.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/Measure.h"

namespace zt {

App::App(Services services)
    : services_(std::move(services)),
      diagnosticLog_(services_.paths.inExchange(QStringLiteral("DebugLog.txt")), *services_.clock,
                     *services_.dialogs) {}

App::~App() {
    // Screens go before the services they use.
    config_.reset();
    gridSetup_.reset();
    measure_.reset();
    mainForm_.reset();
}

MainForm& App::mainForm() {
    if (!mainForm_)
        mainForm_ = std::make_unique<MainForm>(*this);
    return *mainForm_;
}

Config& App::config() {
    if (!config_)
        config_ = std::make_unique<Config>(*this);
    return *config_;
}

Grid_Setup& App::gridSetup() {
    if (!gridSetup_)
        gridSetup_ = std::make_unique<Grid_Setup>(*this);
    return *gridSetup_;
}

Measure& App::measure() {
    if (!measure_)
        measure_ = std::make_unique<Measure>(*this);
    return *measure_;
}

} // namespace zt
