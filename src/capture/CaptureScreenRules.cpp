#include "capture/CaptureScreenRules.h"

#include "app/TextFormat.h"

namespace zt {

int middleFrameHint(double frameRate, double captureTime) {
    return static_cast<int>(toWholeNumber(frameRate * captureTime / 2));
}

CountdownTick countdownTick(double secondsLeft) {
    const double left = secondsLeft - 1;
    return {left, left <= 0};
}

} // namespace zt
