// The frame source on a clip given as bytes: opened as the player opens a
// clip, then frames asked for as an operator steps: the first picture,
// forwards, the last frame, backwards (with the prefetch worker), each
// converted to the bitmap a taken frame becomes.

#include "FuzzSupport.h"
#include "video/FrameSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    FrameSource::Options options;
    options.cacheFrames = 8;
    auto source = FrameSource::open(ClipInput::memory(fuzz::bytesOf(data, size)), options);
    if (!source)
        return 0;
    const int64_t first = source->firstPicture();
    const int64_t last = source->frameCount() > 0 ? source->frameCount() - 1 : first + 12;
    for (const int64_t n : {first, first + 1, first + 3, last, last - 1, last - 9, first + 2})
        if (n >= 0)
            (void)source->packedDib(n);
    (void)source->image(first);
    (void)source->frameRate();
    return 0;
}
