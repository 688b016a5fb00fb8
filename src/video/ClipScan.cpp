#include "video/ClipScan.h"

namespace zt {

std::optional<ClipScan> scanClip(const ClipInput& input, const std::atomic<bool>* cancel) {
    VideoDecoder decoder;
    if (decoder.open(input) != FrameError::None)
        return std::nullopt;
    Timeline timeline;
    ClipScan scan;
    if (decoder.readTimeline(&timeline) != FrameError::None)
        return scan; // nothing in it decodes
    int64_t lastWhole = decoder.isDamaged(decoder.current()) ? -1 : timeline.firstPicture;
    int64_t number = 0, previous = -1;
    while (decoder.next(&number, &previous)) {
        if (cancel && cancel->load())
            return std::nullopt;
        lastWhole = number; // next() passes over damaged frames
    }
    scan.frames = lastWhole + 1;
    for (const int64_t n : decoder.damaged())
        if (n < scan.frames)
            scan.damaged.push_back(n);
    return scan;
}

} // namespace zt
