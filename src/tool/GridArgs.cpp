// Reading of a grid setup file for `zentrak-tool measure --grid FILE`: the
// file loaded as the program loads it, measured with only when the program
// would make it ready.

#include "grid/GridFiles.h"
#include "grid/GridModel.h"
#include "grid/GridSaveLoad.h"

namespace zt::tool {

bool readGridForMeasure(const QString& path, Coefficients* c, double* jumpX, double* jumpY,
                        QString* error) {
    GridState s;
    const GridLoadOutcome outcome = loadGridFiles(s, 1, path);
    *error = gridFileRefusal(s, path, outcome);
    if (!error->isEmpty())
        return false;
    *c = s.coefficients();
    *jumpX = s.jumpX;
    *jumpY = s.jumpY;
    return true;
}

} // namespace zt::tool
