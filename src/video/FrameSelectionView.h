#pragma once
// What the capture screen hands to the frame selection screen: the clip to
// open (its clip path box).

#include <QString>

namespace zt {

class FrameSelectionView {
public:
    virtual ~FrameSelectionView() = default;

    virtual QString clipPath() const = 0;
    virtual void setClipPath(const QString& path) = 0;
};

} // namespace zt
