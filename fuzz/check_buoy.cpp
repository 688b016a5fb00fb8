// Check buoy file: four lines, each read as one number, applied to a grid.

#include "FuzzSupport.h"
#include "app/FileUtils.h"
#include "grid/GridFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    const CheckBuoyFileRead read = parseCheckBuoyFile(textOfFileBytes(fuzz::bytesOf(data, size)));
    GridState s;
    applyCheckBuoyRead(s, 2, read);
    s.checkScreenX = s.checkPixX;
    s.checkScreenY = s.checkPixY;
    check_water_from_screen(s);
    return 0;
}
