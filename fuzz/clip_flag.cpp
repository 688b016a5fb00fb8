// The clip flag "clipflag.txt": whether it says "Ready".

#include "FuzzSupport.h"
#include "measure/ExchangeFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    (void)zt::clipFlagSaysReady(zt::fuzz::bytesOf(data, size));
    return 0;
}
