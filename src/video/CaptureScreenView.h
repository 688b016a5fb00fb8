#pragma once
// What other screens hand to the capture screen and to the main screen's
// capture device panel.

#include <QString>

namespace zt {

// The capture screen (PreviewForm).
class CaptureScreenView {
public:
    virtual ~CaptureScreenView() = default;

    // The skier name box (txtSkierName).
    virtual QString skierName() const = 0;
    virtual void setSkierName(const QString& name) = 0;
    // The jump number box (txtPass), the capture screen's jump counter.
    virtual QString jumpNumberText() const = 0;
    virtual void setJumpNumberText(const QString& text) = 0;
    // The skier name was extended to avoid overwriting a clip (the notice
    // Label4 is up); clearing hides the notice.
    virtual bool nameAltered() const = 0;
    virtual void clearNameAltered() = 0;
};

// The counters of a recording as the capture device reports them.
struct CaptureCounters {
    long long framesRecorded = 0;
    long long framesDropped = 0;
    long long samples = 0;
    long long elapsedMs = 0;
};

// The capture device panel's status line and counters (main screen).
class CaptureStatusView {
public:
    virtual ~CaptureStatusView() = default;

    virtual void showCaptureStatus(const QString& text) = 0;
    virtual void showCaptureCounters(const CaptureCounters& counters) = 0;
    // The stream capture has ended: its button offers a new one.
    virtual void showStreamStopped() = 0;
};

} // namespace zt
