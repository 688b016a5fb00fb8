#pragma once
// The capture screen's rules without its widgets: the clip's name (see
// ClipNames), the countdown and the frame proposed when no contact was
// marked.

#include "video/ClipNames.h"

#include <QString>

namespace zt {

// The middle of a clip of captureTime seconds at the frame-rate box's
// value, as a whole frame number (halves to even).
int middleFrameHint(double frameRate, double captureTime);

// One second of the countdown: the seconds left and whether the recording
// stops now. It stops at 0 or below, so a time that is not a whole number
// of seconds stops too.
struct CountdownTick {
    double secondsLeft = 0;
    bool stop = false;
};
CountdownTick countdownTick(double secondsLeft);

} // namespace zt
