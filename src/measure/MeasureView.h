#pragma once
// What other screens hand to the measure screen: the skier list, the active
// grid's description, the tournament-type indicator, the message colour,
// the "UNOFFICIAL JUMP" sign and a picture chosen in the picture log. The measure screen implements
// it; App hands it out, creating the screen on first use.

#include "measure/CalibrationLine.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace zt {

class MeasureView {
public:
    virtual ~MeasureView() = default;

    // The skier list (Skier_name) holds exactly these names.
    virtual void setSkierNames(const QStringList& names) = 0;
    // The grid description box (grid_description).
    virtual void setGridDescription(const QString& text) = 0;
    // barefoot_indicator shown with text, or hidden. While it is shown,
    // distances in feet are given to tenths.
    virtual void showTournamentIndicator(const QString& text, bool visible) = 0;
    // The message colour (an RGB number, red in the low byte) on the
    // screen's labels and choices; nullopt gives each its default colour.
    virtual void applyMessageColor(std::optional<long> rgb) = 0;
    virtual void hideUnofficialJump() = 0;
    // The distances of the upper buoys from the jump point (maxbuoy,
    // maxbuoym, minbuoy, minbuoym), from the active grid.
    virtual void showGridGeometry() = 0;
    // The calibration line over the picture, in the erase colour (magenta)
    // or in white.
    virtual void drawCalibrationLine(const CalibrationSegment& line, bool erase) = 0;
    // The picture log's choice becomes the screen's picture, its path shown
    // beside the grid description, and the navigation word "PictureLog".
    // False when the file cannot be read: the operator is told and the
    // screen keeps its picture.
    virtual bool showLoggedPicture(const QString& path) = 0;
    // The skier name box (Skier_name) and the jump number box (Jump_no).
    virtual void setSkierName(const QString& skierName) = 0;
    virtual void setJumpNumber(const QString& jumpNumber) = 0;
};

} // namespace zt
