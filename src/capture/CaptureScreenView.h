#pragma once
// What other screens hand to the capture screen and to the main screen's
// capture device panel.

#include "capture/CaptureTypes.h"

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
    // The clip being or last recorded (capturePath).
    virtual QString recordedClipPath() const = 0;
    // The notice that the skier name was extended to keep an existing clip
    // (Label4) is shown; hiding it.
    virtual bool skierNameNoticeShown() const = 0;
    virtual void hideSkierNameNotice() = 0;
};

// The capture device panel's status line and counters (main screen).
class CaptureStatusView {
public:
    virtual ~CaptureStatusView() = default;

    virtual void showCaptureStatus(const QString& text) = 0;
    virtual void showCaptureCounters(const CaptureCounters& counters) = 0;
    // The stream capture has ended: its button offers a new one.
    virtual void showStreamStopped() = 0;
    // A device came (kind 0) or went (kind 1) in a device list ("Video
    // Capture Sources" or "Audio Capture Sources").
    virtual void showDeviceChange(const QString& list, int kind, int index,
                                  const QString& name) = 0;
    // The connected device stopped delivering: the panel offers Connect.
    virtual void showConnectionLost() = 0;
    // Pushes the panel's values into the capture control (SetCaptureValues).
    virtual void SetCaptureValues() = 0;
    // The value of the frame-rate box (EdtRate).
    virtual double frameRateBoxValue() const = 0;
};

} // namespace zt
