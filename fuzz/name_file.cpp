// The scoring system's name file "ztskier.nam": the skier named by its
// first field.

#include "FuzzSupport.h"
#include "measure/ExchangeFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    if (const auto name = nameOfNameFile(fuzz::bytesOf(data, size)))
        (void)rawSkierName(*name);
    return 0;
}
