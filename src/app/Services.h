#pragma once
// The services the program runs with: real ones in the program, test
// doubles in the tests.

#include "app/Clock.h"
#include "app/DiagnosticLog.h"
#include "app/Dialogs.h"
#include "app/Paths.h"
#include "app/SettingsStore.h"

#include <memory>

namespace zt {

struct Services {
    Paths paths;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Clock> clock;
    bool testCamera = false;     // the built-in test camera is offered
    bool platformCapture = true; // the computer's cameras and microphones are offered
};

} // namespace zt
