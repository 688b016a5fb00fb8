// RIFF/AVI header reader on a clip's bytes, and the file information lines
// built on it.

#include "FuzzSupport.h"
#include "video/AviFile.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    QBuffer buffer;
    buffer.setData(fuzz::bytesOf(data, size));
    buffer.open(QIODevice::ReadOnly);
    if (const auto h = readAviHeaders(buffer)) {
        (void)fileTypeText(h->info);
        (void)frameRateOf(h->info);
    }
    // The queries as the screens use them, through the file.
    SilentDialogs dialogs;
    if (size >= 12 && size < 4096)
        (void)aviInfoLines(dialogs, fuzz::scratchFile(data, size, "clip.avi"));
    return 0;
}
