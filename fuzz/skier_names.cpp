// Skier names: a names file imported from plain text or RTF, the skier
// list's entries, and a name list file's fields.

#include "FuzzSupport.h"
#include "logs/SkierNames.h"
#include "measure/ExchangeFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    (void)skierListEntries(plainTextOfBytes(bytes));
    (void)namesOfNameList(bytes);
    return 0;
}
