#pragma once
// What other screens set on the grid setup screen: besides what saving and
// loading need (GridFileView), the configuration's load hides its
// "GRID LOCKED!" label and the calibration assistant draws its line.

#include "grid/GridSaveLoad.h"
#include "measure/CalibrationLine.h"

namespace zt {

class GridSetupView : public GridFileView {
public:
    virtual void hideGridLockedLabel() = 0;
    // The calibration line over the picture, in the erase colour (magenta)
    // or in white.
    virtual void drawCalibrationLine(const CalibrationSegment& line, bool erase) = 0;
};

} // namespace zt
