// A clip's ".info" side file as it is read back: the measured frame, the
// field after the last comma of its first line. (A picture's side file is
// only written.)

#include "FuzzSupport.h"
#include "video/FrameSelection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    (void)zt::measuredFrameOfSideFile(zt::fuzz::bytesOf(data, size));
    return 0;
}
