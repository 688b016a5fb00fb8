#include "app/TextFormat.h"
#include "grid/GridModel.h"

namespace zt::tool {

// Reading of a grid setup file for `measure --grid`; the full reader comes
// with the grid setup files.
bool readGridForMeasure(const QString& path, Coefficients*, double*, double*, QString* error) {
    *error = path + QStringLiteral(": reading grid setup files is not available yet");
    return false;
}

} // namespace zt::tool
