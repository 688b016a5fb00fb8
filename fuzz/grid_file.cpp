// Grid setup file: read by the field rules, applied to a grid as a load
// does, and, when its coefficients can measure, used to measure its own
// jump point.

#include "FuzzSupport.h"
#include "app/FileUtils.h"
#include "grid/GridFiles.h"
#include "grid/GridModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    const GridSetupFileRead read = parseGridSetupFile(textOfFileBytes(fuzz::bytesOf(data, size)));
    if (read.status != GridFileStatus::Complete)
        return 0;
    GridState s;
    applyGridFileRead(s, 1, QStringLiteral("grid.ipt"), read);
    s.gridDirection = gridDirectionOf(s);
    if (!transformInvertible(s.coefficients()))
        return 0;
    s.screenX = s.savedJumpX;
    s.screenY = s.savedJumpY;
    if (water_from_screen(s))
        distance_calculation(s, false, false);
    return 0;
}
