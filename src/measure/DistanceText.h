#pragma once
// The distance texts of the measure screen: the official distance of the
// landing mark (what is recorded), the live readout of verify mode, the
// buoy distance labels, and the splash indicator's position.
//
// The official distance converts with 0.3048 m per foot; the live readout
// and the labels with 3.28 ft per meter.

#include "grid/GridModel.h"

#include <QString>
#include <optional>

namespace zt {

struct OfficialDistance {
    double distance = 0;      // full precision, correction included (meters)
    QString distanceText;     // the full-precision text the distance box holds first
    QString lastDistanceText; // meters to 4 decimals
    QString metersText;       // record value: meters to one decimal ("45.4")
    QString feetText;         // record value: whole feet, or to one decimal ("149")
    QString metersShown;      // metersText + "m"
    QString feetShown;        // feetText + "ft"
};

// Texts of a distance d; feetToTenths when the barefoot / sit-ski
// indicator is visible.
OfficialDistance officialDistanceTexts(double d, bool feetToTenths);

struct DistanceOptions {
    bool barefootJump = false;
    bool sitSkiJump = false;
    bool feetToTenths = false; // barefoot / sit-ski indicator visible
};

// Distance of the mark at (clickX, clickY): screenX/Y = the mark,
// waterX/Y = its water point (no correction), distance from the jump point
// plus the tournament correction. nullopt when the transform cannot be
// evaluated at that point; the transform registers are then left as they were.
std::optional<OfficialDistance> distanceOfMark(GridState& s, double clickX, double clickY,
                                               const DistanceOptions& options);

struct LiveReadout {
    QString xtwips, ytwips, xposition, yposition, verifyDistance; // "45.4m 149ft"
};

// Live readout at mouse position (x, y): screenX/Y take the position, the
// transform's denominator goes to transformDenominator; waterX/Y stay.
// nullopt when the transform cannot be evaluated.
std::optional<LiveReadout> liveReadout(GridState& s, double x, double y,
                                       const DistanceOptions& options);
QString verifyDistanceText(double d);

// Buoy distance labels: Int(D * 3.28 + 0.5) " feet" and
// Int(D * 10 + 0.5) / 10 " meters".
QString buoyFeetLabel(double d);
QString buoyMetersLabel(double d);
// Straight surveyed distance from the jump point to buoy index 1..4.
double buoyDistance(const GridState& s, int buoy);

// Splash indicator of a mark at (x, y): the water point moved by the
// correction along X times gridDirection (forwards when rightToLeft, else
// backwards; none for barefoot), mapped back to the screen. Leaves the
// corrected water point in waterX/Y and the screen point in screenX/Y.
std::optional<PlanePoint> splashPoint(GridState& s, double x, double y, bool rightToLeft,
                                      const DistanceOptions& options);

} // namespace zt
