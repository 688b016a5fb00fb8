#pragma once
// One pass over a clip whose frame count cannot be trusted (no index: a
// recording cut short or a recorder that was killed): the frames a player
// can show, up to the last one that decodes whole, and the damaged ones
// among them.

#include "video/VideoDecoder.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

namespace zt {

struct ClipScan {
    int64_t frames = 0;           // frames 0 .. frames-1 are offered
    std::vector<int64_t> damaged; // below frames, ascending
};

// nullopt when the clip cannot be opened or the scan was cancelled.
std::optional<ClipScan> scanClip(const ClipInput& input, const std::atomic<bool>* cancel = nullptr);

} // namespace zt
