#pragma once
// The grid every benchmark measures with: a camera looking at the water at
// an angle, the upper buoys far away.

#include "grid/GridModel.h"

namespace zt::bench {

// Marks the four buoys into s (not solved).
inline void markBenchGrid(GridState& s) {
    const double buoys[4][4] = {
        {9800, 2100, 20, 60}, {11000, 8200, 20, 30}, {2500, 1900, -20, 60}, {900, 8400, -20, 30}};
    for (size_t i = 1; i <= 4; ++i) {
        s.buoyScreenX[i] = buoys[i - 1][0], s.buoyScreenY[i] = buoys[i - 1][1];
        s.buoySurveyX[i] = buoys[i - 1][2], s.buoySurveyY[i] = buoys[i - 1][3];
    }
}

} // namespace zt::bench
