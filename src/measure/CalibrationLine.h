#pragma once
// The calibration line: a straight line given by its two end points in
// water coordinates ("Actual") or in screen twips ("Screen"), converted to
// the other system through the active grid, so the operator can compare the
// line drawn over the picture with what the picture shows.

#include "grid/GridModel.h"

#include <QString>
#include <optional>

namespace zt {

// The eight boxes of the calibration assistant.
struct CalibrationBoxes {
    QString actualX1, actualY1, actualX2, actualY2; // water, meters
    QString twipsX1, twipsY1, twipsX2, twipsY2;     // screen, twips
};

struct CalibrationSegment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // twips
    bool operator==(const CalibrationSegment&) const = default;
};

// "Draw": from the Actual boxes (actualInput) or the Screen boxes, fills the
// other pair of each end point through the active grid: twips as whole
// numbers, meters to 0.01. nullopt, with the registers as they were, when
// the transform cannot be evaluated at an end point.
std::optional<CalibrationBoxes> convertCalibrationLine(GridState& s, const CalibrationBoxes& boxes,
                                                       bool actualInput);
// The line the four Twips boxes give (leading numbers; no number reads 0).
CalibrationSegment calibrationSegment(const CalibrationBoxes& boxes);

} // namespace zt
