#pragma once
// Whether a grid can measure: its coefficients form an invertible transform
// and agree with the grid's own marks. Each buoy mark must map to its
// surveyed point, and the check buoy's mark must lie where the coefficients
// put its surveyed point. A grid file whose coefficients were altered, or
// whose marks were moved and saved without Complete, fails here: measuring
// with it would record a distance that is not the jump's.
//
// Complete, every load of a grid file and zentrak-tool decide readiness by
// this one rule.

#include "grid/GridModel.h"

#include <QString>
#include <array>

namespace zt {

// How far a buoy mark may map from its survey (meters).
inline constexpr double buoyAgreementTolerance = 0.01;
// How far the check buoy mark may lie from its predicted place, per axis
// (twips, 1.5 pixels): the same limit as the check buoy validation.
inline constexpr double checkAgreementTolerance = 22.5;

struct GridMarks {
    std::array<PlanePoint, 5> buoyScreen{}, buoySurvey{}; // [1..4]
    bool hasCheckBuoy = false;
    PlanePoint checkScreen, checkSurvey;
};

// The marks of the working state; the check buoy is the check marker and
// its surveyed position (none when no marker is placed).
GridMarks gridMarksOf(const GridState& s);

enum class GridFault {
    None,
    NotInvertible, // the coefficients cannot measure at all
    BuoyOff,       // a buoy mark does not map to its survey
    CheckBuoyOff,  // the check buoy mark is not where the grid puts it
};

struct GridVerdict {
    GridFault fault = GridFault::None;
    QString why; // for the operator: what disagrees, and by how much
    bool ready() const { return fault == GridFault::None; }
};

// The rule. Without a check buoy only the coefficients and the buoys are
// judged; a grid also needs a check buoy to be ready, which its callers
// tell with their own message.
GridVerdict judgeGrid(const Coefficients& c, const GridMarks& marks);

// "The grid in FILE does not agree with its buoy marks: ... Set the grid up
// again and Complete it." (or "cannot measure: ..." for coefficients that
// cannot be inverted).
QString gridNotReadyMessage(const QString& file, const GridVerdict& verdict);

// gridsReady from the grids in use: 1 when each has its ready flag and
// the active grid's working values still pass the rule (an edit since
// Complete leaves the flag set but the marks off the coefficients).
void recountGridsReady(GridState& s);

// Name of buoy 1..4 as the operator knows it ("upper right" ...).
QString buoyName(int buoy);

} // namespace zt
