// BMP reader: the input as a bitmap file, and as a packed bitmap (info
// header and pixels) handed over in memory; what is read is written back
// as a file's bytes.

#include "FuzzSupport.h"
#include "video/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    SilentDialogs dialogs;
    Dib file;
    if (file.CreateFromFile(dialogs, fuzz::scratchFile(data, size, "picture.bmp")))
        (void)file.fileBytes();
    Dib packed;
    if (packed.CreateFromPackedDIBPointer(data, size))
        (void)packed.fileBytes();
    return 0;
}
