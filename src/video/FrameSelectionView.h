#pragma once
// What other screens hand to the frame selection screen.

#include <QString>

namespace zt {

class FrameSelectionView {
public:
    virtual ~FrameSelectionView() = default;

    // The clip to show on the next "Capture" arrival (the fresh recording).
    virtual QString clipPath() const = 0;
    virtual void setClipPath(const QString& path) = 0;
};

} // namespace zt
