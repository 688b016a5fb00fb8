#pragma once
// Completing a grid ("Complete" on the grid setup screen): the checks around
// the solve that decide whether a setup may measure, the set-up ratio check
// (grid_check) and the status written when the setup screen is left. The
// checks read the setup screen's box texts and the working state; messages
// go through Dialogs and notable steps to the diagnostic log, in the order
// they occur, so the screen and zentrak-tool run the same sequence.

#include "grid/GridModel.h"
#include "grid/GridSaveLoad.h"

#include <QString>
#include <functional>

namespace zt {

class Dialogs;

// Where the checks report.
struct ValidationEnv {
    Dialogs& dialogs;
    std::function<void(const QString&)> log; // diagnostic log line
};

// Limits of a valid setup.
inline constexpr double checkBuoyTolerance = 22.5; // twips, 1.5 pixels per axis
inline constexpr double fieldOfViewDesired = 30;   // degrees
inline constexpr double fieldOfViewMaximum = 35;
inline constexpr double gridWidthDesired = 80; // percent of the picture width
inline constexpr double gridWidthMinimum = 75;
inline constexpr double frontRatioDesired = 80;

// Steps 1 and 2 of Complete: a box still holding its initial text, or no
// check buoy placed.
enum class MissingInput { None, Parameters, CheckBuoy };
MissingInput missingSetupInput(const GridBoxTexts& boxes);

// The picture the marks were placed on: its width and height in twips as
// the setup screen's boxes show them. An empty height is not known (the
// tool is given the width alone) and not checked.
struct SetupPicture {
    SetupPicture(QString width, QString height = QString())
        : widthText(std::move(width)), heightText(std::move(height)) {}
    QString widthText, heightText;
};

enum class CompleteStatus {
    Ready,            // validated: step 10 may mark the grid ready
    NoUniqueSolution, // no pivot in the solve (the record is still written)
    CannotCompute,    // the solve or a transform cannot be evaluated
    CheckBuoyInvalid, // marked check buoy too far from its predicted place
    FieldOfViewTooWide,
    GridTooNarrow,
    MarkOutsidePicture, // a mark beyond the picture, or a grid wider than it
    Disagrees,          // the solved coefficients do not give back the marks
};

struct CompleteCheck {
    CompleteStatus status = CompleteStatus::Ready;
    double predictedCheckX = 0, predictedCheckY = 0; // twips, after the solve
    double leftPosition = 0, rightPosition = 0;      // screen x of the outer buoys
    double fieldOfView = 0;                          // degrees, to one decimal
    double gridWidthPercent = 0;
    // Writes the set-up record and runs grid_check (steps 12 and 13).
    bool recordsSetup() const {
        return status == CompleteStatus::Ready || status == CompleteStatus::NoUniqueSolution;
    }
};

// Steps 4 to 9: solve, check buoy validation, the grid's agreement with
// its marks, field of view and grid width (with every mark on the
// picture), with their messages and log lines. Leaves every value in
// place; marks nothing ready.
CompleteCheck validateSetup(GridState& s, const GridBoxTexts& boxes, const SetupPicture& picture,
                            bool allowInvalidSetup, ValidationEnv& env);

// Steps 10 and 11 on the working state: grid g ready and current, its file
// name and description, the working grid into its store row (the check
// buoy as marked, not as last loaded), gridsReady when every grid in use is
// ready, the direction; with their log lines.
void markGridComplete(GridState& s, int g, const QString& fileName, const QString& description,
                      ValidationEnv& env);

// grid_check: the front and back set-up ratios (percent of the picture
// width spanned by the lower and by the upper buoys, from the boxes), logged
// and warned about.
struct SetupRatios {
    double front = 0, back = 0;
};
SetupRatios gridCheck(const GridBoxTexts& boxes, const QString& pictureWidthText,
                      ValidationEnv& env);

// Complete from the solve on (steps 4 to 12): the checks, a valid grid g
// marked complete with the file name and description given, the set-up
// record (appendRecord, when the steps reach it) and grid_check. The grid
// setup screen and zentrak-tool run this same sequence.
struct CompleteRun {
    CompleteCheck check;
    bool ratiosChecked = false; // grid_check ran
    SetupRatios ratios;
};
CompleteRun completeFromSolve(GridState& s, const GridBoxTexts& boxes, const SetupPicture& picture,
                              bool allowInvalidSetup, int g, const QString& fileName,
                              const QString& description, ValidationEnv& env,
                              const std::function<void()>& appendRecord);

// The status logged when the setup screen is left.
void logSetupStatus(const GridState& s, ValidationEnv& env);

} // namespace zt
