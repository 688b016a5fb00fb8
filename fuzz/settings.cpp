// Settings file: its text taken into a store, every key of the settings
// table read in its stored form, and one value written back.

#include "FuzzSupport.h"
#include "app/SettingsStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    MemorySettingsStore store;
    store.readFileText(fuzz::bytesOf(data, size));
    for (const char* key : setting::allKeys) {
        const QString k = QString::fromLatin1(key);
        (void)store.read(k);
        (void)store.readWhole(k, 0);
        (void)store.readDouble(k, 0);
        (void)store.readFlag(k, false);
    }
    (void)store.get(setting::grids);
    (void)store.get(setting::framerate);
    (void)store.get(setting::device);
    store.set(setting::logfile, store.get(setting::logfile));
    return 0;
}
