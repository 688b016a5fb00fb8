#include "support/GridFixtures.h"

namespace zt::test {

void setBuoy(GridState& s, int i, double a, double b, double x, double y) {
    const auto k = static_cast<size_t>(i);
    s.buoyScreenX[k] = a, s.buoyScreenY[k] = b, s.buoySurveyX[k] = x, s.buoySurveyY[k] = y;
}

bool markTestGrid(GridState& s) {
    const double b[5][4] = {{0, 0, 0, 0},
                            {9000, 2500, 60, 15},
                            {9700, 6000, 60, 0},
                            {3100, 2450, 30, 15},
                            {2300, 6050, 30, 0}};
    for (size_t i = 1; i <= 4; ++i) {
        s.buoyScreenX[i] = b[i][0], s.buoyScreenY[i] = b[i][1];
        s.buoySurveyX[i] = b[i][2], s.buoySurveyY[i] = b[i][3];
    }
    s.jumpX = 10.25, s.jumpY = 7.5;
    s.checkMarkX = 6185, s.checkMarkY = 3066; // where a check buoy surveyed at (45.5, 12) shows
    return solve_grid(s) == SolveStatus::Ok;
}

GridState solvedTestGrid() {
    GridState s;
    markTestGrid(s);
    return s;
}

} // namespace zt::test
