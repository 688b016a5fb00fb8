// Reading of a grid setup file for `zentrak-tool measure --grid FILE`: the
// coefficients and the jump point, by the same reading rules as the program.

#include "app/TextFormat.h"
#include "grid/GridFiles.h"
#include "grid/GridModel.h"

namespace zt::tool {

bool readGridForMeasure(const QString& path, Coefficients* c, double* jumpX, double* jumpY,
                        QString* error) {
    const GridSetupFileRead read = readGridSetupFile(path);
    if (read.status == GridFileStatus::Unreadable) {
        *error = read.error;
        return false;
    }
    if (!read.has(gridItem::jumpY)) {
        *error = path + QStringLiteral(": the grid setup file ends before its jump point");
        return false;
    }
    *c = read.content.coefficients;
    *jumpX = read.content.jumpX;
    *jumpY = read.content.jumpY;
    return true;
}

} // namespace zt::tool
