#pragma once
// What the grid setup screen does with its points, without widgets: the
// five points (four buoys and the check buoy) placed with the mouse or
// moved a pixel at a time, alone or all together when the grid is locked;
// the values the boxes store in the working state; the marker drawing; the
// grid button's cycle.

#include "grid/GridModel.h"
#include "measure/MeasureLogic.h"

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <array>
#include <vector>

namespace zt {

// The point options, in the order a click moves them.
enum class SetupPoint { UpperLeft, UpperRight, LowerLeft, LowerRight, CheckBuoy };
inline constexpr std::array<SetupPoint, 5> setupPoints = {
    SetupPoint::UpperLeft, SetupPoint::UpperRight, SetupPoint::LowerLeft, SetupPoint::LowerRight,
    SetupPoint::CheckBuoy};

// Buoy index of a buoy point (1 upper right, 2 lower right, 3 upper left,
// 4 lower left); 0 for the check buoy.
int buoyOf(SetupPoint point);

// Where the five markers are (twips).
struct SetupMarks {
    std::array<QPointF, 5> at{}; // indexed as setupPoints
    QPointF& operator[](SetupPoint p) { return at[static_cast<size_t>(p)]; }
    QPointF operator[](SetupPoint p) const { return at[static_cast<size_t>(p)]; }
};
SetupMarks setupMarksOf(const GridState& s);

// True when the click (twips) falls on the picture of the given size; with
// no picture, on the empty picture area of 12000 by 9000 twips.
bool onPicture(QSizeF pictureTwips, double x, double y);

struct MarkMove {
    SetupPoint point;
    QPointF from, to;
};

// A click at `click` with `selected` chosen: the selected point goes there;
// when locked every other point moves by the same offset. Moves the marks
// and the working state (buoyScreenX/Y, the check buoy marker) and returns
// the moves in click order.
std::vector<MarkMove> placeSetupPoint(GridState& s, SetupMarks& marks, SetupPoint selected,
                                      QPointF click, bool locked);

enum class SetupStep { Left, Up, Right, Down };
// One pixel (15 twips) for the selected point, or all five when locked.
std::vector<MarkMove> stepSetupPoint(GridState& s, SetupMarks& marks, SetupPoint selected,
                                     SetupStep step, bool locked);

// The markers as "Draw Buoys" draws them: a circle of twice the marker size
// and five dots at each of the five points.
std::vector<OverlayShape> setupMarkerShapes(const SetupMarks& marks, double markerSize);
// A marker being moved: its old circle and cross (for the overdraw), the new cross.
std::vector<OverlayShape> oldMarkerShapes(QPointF at, double markerRadius, double markerSize);
std::vector<OverlayShape> crossShapes(QPointF at, double armLength);

// The value boxes that store into the working state when edited.
enum class SetupBox {
    SurveyX, // of a buoy
    SurveyY,
    JumpX,
    JumpY,
    CheckSurveyX,
    CheckSurveyY,
    Other, // buoy and check buoy screen boxes store nothing
};
// Stores an edited box's numeric value (the leading number of its text):
// survey boxes into buoySurveyX/Y of buoy, jump boxes into jumpX/Y and
// savedJumpX/Y, check buoy boxes into checkSurveyX/Y.
void storeSetupBox(GridState& s, SetupBox box, int buoy, const QString& text);

// The grid button: "Grid 1" -> "Grid 2" (two or three grids in use) ->
// "Grid 3" (three grids) -> "Grid 1". Same grid when only one is in use.
int nextSetupGrid(int current, int gridCount);
// "Changed from grid 1 to grid 2" and the others.
QString gridChangeLine(int from, int to);

} // namespace zt
