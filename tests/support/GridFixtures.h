#pragma once
// A grid as a camera across the landing area sees it: the far buoys sit
// closer together on the picture, so the transform has a real perspective
// part. Used wherever a test needs a solved grid.

#include "grid/GridModel.h"

namespace zt::test {

// Buoy i (1..4) at screen (a, b) twips and survey (x, y) meters.
void setBuoy(GridState& s, int i, double a, double b, double x, double y);

// Marks the four buoys of the test camera into s, solves, and sets the jump
// point (10.25, 7.5) and the mark of a check buoy surveyed at (45.5, 12),
// at (6185, 3066). False when the solve fails.
bool markTestGrid(GridState& s);

// A fresh state holding that grid.
GridState solvedTestGrid();

} // namespace zt::test
