#pragma once
// What the measure screen does, without widgets: the landing mark and its
// nudges, the splash indicator, the grid overlay, grid switching, and the
// recording of jumps, rerides and comments on the screen's fields. The
// screen copies its controls into MeasureFields, runs one of these
// operations and shows the result.

#include "app/AppState.h"
#include "app/Clock.h"
#include "app/Dialogs.h"
#include "grid/GridModel.h"
#include "measure/DistanceText.h"
#include "measure/Recording.h"

#include <QDateTime>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace zt {

class KeyState;

// The texts and choices of the measure screen's controls.
struct MeasureFields {
    QString distance = QStringLiteral("M");
    QString distanceFt = QStringLiteral("FT");
    QString skierName;
    QString jumpNo = QStringLiteral("Jump");
    QString comment;
    bool commentVisible = true;
    // Result kind (one group): optJumpOK, Pass, Fall; all three may be off.
    bool jumpOK = true, pass = false, fall = false;
    // Second group: O_reride, M_Reride, Other_Grid, Make_comment.
    bool oReride = false, mReride = false, otherGrid = false, makeComment = false;
    bool verifyMode = false; // caption of verify is "Verify off"
    bool pictureFrozen = false;
    bool feetToTenths = false; // barefoot_indicator visible
};

// The landing mark and the splash indicator, in twips.
struct MarkState {
    double clickX = 0, clickY = 0;
    double lastMarkX = 0, lastMarkY = 0;
    double splashMarkX = 0, splashMarkY = 0;
    bool placed = false; // a landing mark is on the screen ("Clear" takes it away)
};

struct Segment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const Segment&) const = default;
};

// The three lines of a drawn mark.
struct ImpactMarkLines {
    Segment horizontal, vertical, splash;
};

// The mark at (x, y) with cross size s: the arm points right of the point
// when rightToLeft, else left; the bar runs s above and below; the splash
// indicator rises 1000 twips from the corrected point mapped back to the
// screen. Updates the mark and leaves the transform registers as the
// drawing does (corrected water point, splash screen point). nullopt, with
// the mark and registers unchanged, when the transform cannot be evaluated.
std::optional<ImpactMarkLines> placeImpactMark(GridState& s, MarkState& mark, double x, double y,
                                               double crossSize, bool rightToLeft,
                                               const DistanceOptions& options);

enum class NudgeDirection { Left, Up, Right, Down };
// One pixel (15 twips) from the last drawn position; the other coordinate
// of the click stays.
void nudgeClick(MarkState& mark, NudgeDirection direction);
// The arrow keys held, or pressed since the last look, as nudges: one per
// key, in the order left, up, right, down.
std::vector<NudgeDirection> arrowNudges(KeyState& keys);

// Grid overlay of the active grid.
struct OverlayShape {
    enum Kind { Line, Circle, Point } kind = Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, radius = 0;
};
struct OverlayLabel {
    double x = 0, y = 0; // left, top in twips
    QString text;
    QPointF buoy; // the marker it names (twips); the label keeps its offset on screen
};
struct GridOverlay {
    std::vector<OverlayShape> shapes;
    OverlayLabel maxbuoy, minbuoy, maxbuoym, minbuoym;
};
struct OverlayOptions {
    double crossSize = 100;
    bool crossMarkers = false; // buoyMarker "cross"
    bool boxLineOff = false;
};
GridOverlay gridOverlay(const GridState& s, const OverlayOptions& options);
// One buoy marker at (x, y): a cross with arms of the cross size, or a
// circle of twice that radius with a dot at the marker and 5 twips above,
// below, left and right of it.
void addBuoyMarker(std::vector<OverlayShape>& shapes, double x, double y,
                   const OverlayOptions& options);

// Grid cycle of the grid button from the active grid: 1 -> 2 -> (3 with
// three grids) -> 1, with the caption "&Grid 1".."&Grid 3".
struct GridSwitch {
    QString caption;
    int grid = 1;
};
GridSwitch nextGridSwitch(int activeGrid, int gridCount);
// The measure screen's grid button caption, "&Grid 1" .. "&Grid 3".
QString measureGridCaption(int grid);
// Makes grid g the active grid: working copy from the store, direction.
void activateGrid(GridState& s, int g);

// Everything recording needs besides the fields.
class SettingsStore;

// What a record needs of the state and the settings: the results file, the
// exchange folder, whether the exchange files are in use (the
// configuration's WSTIMS box writes its state to the store on every change)
// and the kind of jump.
RecordSettings recordSettingsOf(const AppState& s, const SettingsStore& settings,
                                const QString& exchangeDir, bool feetToTenths);

struct MeasureEnvironment {
    Dialogs& dialogs;
    const Clock& clock;
    RecordSettings settings; // feetToTenths is taken from the fields
    QString appDir;
};

// "Record Jump" on the screen's fields: the official distance or the fall,
// pass or other-grid entry, the record line, the exchange files and the
// jump number rules. lastDistanceText is the 4-decimal
// distance of the last official jump. Nothing changes unless Recorded.
RecordStatus recordOnScreen(MeasureFields& f, GridState& s, const MarkState& mark,
                            QString& lastDistanceText, const MeasureEnvironment& env);

// Option clicks of the result kinds and the second group.
void fallClicked(MeasureFields& f);
void passClicked(MeasureFields& f);
void otherGridClicked(MeasureFields& f);
void manualRerideClicked(MeasureFields& f, const MeasureEnvironment& env);
void optionalRerideClicked(MeasureFields& f, const MeasureEnvironment& env);
void makeCommentClicked(MeasureFields& f, const MeasureEnvironment& env);

// The field part of "Clear": distances, jump number, choices, comment,
// frozen state.
void clearFields(MeasureFields& f);
// Another skier: jump 1, no distance shown.
void skierChanged(MeasureFields& f);
// A mouse-down: the shown distance is removed.
void markStarted(MeasureFields& f);

} // namespace zt
