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

class FrameClock;

struct Services {
    Paths paths;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Clock> clock;
    bool testCamera = false;               // the built-in test camera is offered
    bool demoLake = false;                 // the demo lake's camera is offered with it
    bool demo = false;                     // the demo runs: the demo lake first, no other camera
    unsigned demoSeed = 1;                 // chooses the demo's landing distances
    std::shared_ptr<FrameClock> demoClock; // paces the demo lake in tests (null: real time)
    bool platformCapture = true;           // the computer's cameras and microphones are offered
};

} // namespace zt
