#pragma once
// What other screens hand to the frame selection screen.

#include <QString>

namespace zt {

// A clip the capture screen has just recorded, with the frame it proposes
// to start from (the contact frame, or the middle of the clip) and the
// rate it was recorded at. Only such a clip is kept or deleted by the
// video-keeping policy once its frame is taken.
struct FreshClip {
    QString path;
    long startFrame = 0;
    double frameRate = 0;
};

class FrameSelectionView {
public:
    virtual ~FrameSelectionView() = default;

    // The clip shown (or to be shown on the next "Capture" arrival).
    virtual QString clipPath() const = 0;
    // The fresh recording the next "Capture" arrival opens.
    virtual void takeFreshClip(const FreshClip& clip) = 0;
};

} // namespace zt
