#pragma once
// The capture screen's rules without its widgets: the clip's name, the jump
// number raised past existing clips on arrival, the skier name extended so
// that a recording never overwrites a clip, the countdown and the frame
// proposed when no contact was marked.

#include <QString>

namespace zt {

// videoDir (one trailing separator removed) + separator + the skier name
// made safe for a file name + "jump" + the jump number text without surrounding spaces + ".avi".
QString clipPathFor(const QString& videoDir, const QString& skierName, const QString& jumpText);

// The jump number raised by one while a clip exists for it.
struct JumpNumber {
    QString text;
    bool raised = false;
};
JumpNumber jumpNumberPastClips(const QString& videoDir, const QString& skierName,
                               const QString& jumpText);

// The skier name with "X" appended while a clip exists for name and jump.
struct ClipName {
    QString skierName;
    QString path;
    bool altered = false;
};
ClipName clipNameKeepingClips(const QString& videoDir, const QString& skierName,
                              const QString& jumpText);

// The jump number text after a recording: its value + 1.
QString nextJumpNumber(const QString& jumpText);

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
