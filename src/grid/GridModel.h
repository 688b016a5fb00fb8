#pragma once
// The grid of one camera: four surveyed buoys and where they were marked on
// the picture, the eight-coefficient projective transform from picture
// (twips) to water (meters), its inverse, and the jump distance.
//
//   D = c4*a + c5*b + 1,  X = (c1 + c2*a + c3*b) / D,  Y = (c6 + c7*a + c8*b) / D
//
// Buoy index in every array: 1 upper right, 2 lower right, 3 upper left,
// 4 lower left. Index 0 is unused so the numbers read as the operators say
// them.

#include <QString>
#include <array>
#include <optional>

namespace zt {

struct Coefficients {
    std::array<double, 9> c{}; // c[1..8]
    double& operator[](int n) { return c[static_cast<size_t>(n)]; }
    double operator[](int n) const { return c[static_cast<size_t>(n)]; }
};

struct PlanePoint {
    double x = 0;
    double y = 0;
};

// Forward transform of screen point (a, b); nullopt when the denominator is
// zero or any step overflows or is not a number.
std::optional<PlanePoint> forwardTransform(const Coefficients& c, double a, double b,
                                           double* denominator = nullptr);
// Inverse transform of water point (X, Y), the exact inverse of the forward.
std::optional<PlanePoint> inverseTransform(const Coefficients& c, double x, double y,
                                           double* denominator = nullptr);

// How far c1..c8 are from a transform that cannot be inverted: |det| of the
// matrix H = [[c2, c3, c1], [c7, c8, c6], [c4, c5, 1]] (the transform in
// homogeneous coordinates) after its rows and columns have been balanced to
// unit length. The units of the picture (twips, pixels) and of the water
// (meters, feet) only scale rows and columns of H, so balancing takes them
// out and the measure depends on the shape of the transform alone. With
// unit rows |det| is at most 1 (Hadamard); 0 means singular, and a matrix
// below minTransformRegularity has a condition number above about 5e9.
// 0 for coefficients that are not all finite.
double transformRegularity(const Coefficients& c);

// Below this a grid cannot measure: rounding its coefficients to the 15
// significant digits of a grid setup file could already move a landing
// point by millimeters, and singular sets (all zero, two proportional rows)
// land at about 1e-16 or exactly 0. Real camera grids lie near 1e-3..1.
constexpr double minTransformRegularity = 1e-9;

// True when c1..c8 form an invertible transform from picture to water, so
// that a grid with them can measure. Otherwise *why (when given) says why
// in words for the operator.
bool transformInvertible(const Coefficients& c, QString* why = nullptr);

// The correction added to a jump's straight-line distance: none for
// barefoot, 2.1 m for a normal jump, 1.9 m for sit-ski.
double tournamentCorrection(bool barefootJump, bool sitSkiJump);

constexpr int gridStoreSlots = 41;
using GridStoreRow = std::array<double, gridStoreSlots>;

// Slots of the per-grid store.
namespace slot {
constexpr int screenX(int buoy) {
    return 3 + 4 * (buoy - 1);
}
constexpr int screenY(int buoy) {
    return 4 + 4 * (buoy - 1);
}
constexpr int surveyX(int buoy) {
    return 5 + 4 * (buoy - 1);
}
constexpr int surveyY(int buoy) {
    return 6 + 4 * (buoy - 1);
}
constexpr int coefficient(int n) {
    return 18 + n;
}
constexpr int jumpX = 27;
constexpr int jumpY = 28;
constexpr int constant10 = 29;
constexpr int constant2 = 30;
constexpr int gridNumber = 31;
constexpr int checkScreenX = 32;
constexpr int checkScreenY = 33;
constexpr int checkSurveyX = 34;
constexpr int checkSurveyY = 35;
} // namespace slot

enum class SolveStatus { Ok, NoUniqueSolution, Overflow };

// Working state of the active grid, the per-grid store and the scratch
// values through which the transform operations pass their inputs and
// outputs.
struct GridState {
    double currentGrid = 1;
    double gridCount = 1;
    std::array<double, 5> buoyScreenX{}, buoyScreenY{}, buoySurveyX{}, buoySurveyY{};
    std::array<std::array<double, 11>, 11> solveMatrix{};
    double jumpX = 0, jumpY = 0;
    double savedJumpX = 0, savedJumpY = 0;
    double checkMarkX = 0, checkMarkY = 0;
    double checkPixX = 0, checkPixY = 0;
    double checkSurveyX = 0, checkSurveyY = 0;
    std::array<QString, 4> gridFileName, gridDescription; // [1..3]
    bool grid1Ready = false, grid2Ready = false, grid3Ready = false;
    double gridsReady = 0;
    double gridDirection = 1;
    bool gridLoading = false;

    // Scratch values.
    double screenX = 0, screenY = 0, waterX = 0, waterY = 0;
    double checkScreenX = 0, checkScreenY = 0, checkWaterX = 0, checkWaterY = 0;
    double transformDenominator = 0;
    double jumpDistance = 0;

    std::array<GridStoreRow, 4> gridStore{}; // [1..3][0..40]

    // Active coefficients c1..c8, held in column 9 of the solve matrix.
    Coefficients coefficients() const;
    void setCoefficients(const Coefficients& c);

    bool gridReady(int g) const;
    void setGridReady(int g, bool ready);
    // True when every grid in use (1..gridCount) is ready.
    bool allGridsInUseReady() const;
};

// Gauss-Jordan solve of the eight coefficients from the four buoys, with the
// first non-zero pivot of each column taken as it comes. A solve that fails
// leaves solveMatrix, and so the active coefficients, as they were.
SolveStatus solve_grid(GridState& s);
// screenX, screenY -> transformDenominator, waterX, waterY.
bool water_from_screen(GridState& s);
// checkScreenX, checkScreenY -> checkWaterX, checkWaterY.
bool check_water_from_screen(GridState& s);
// waterX, waterY -> transformDenominator, screenX, screenY.
bool screen_from_water(GridState& s);
// Forward transform of screenX, screenY, then the corrected distance from
// the jump point into jumpDistance. False leaves jumpDistance unchanged.
bool distance_calculation(GridState& s, bool barefootJump, bool sitSkiJump);

// +1 when the upper right buoy's survey X is smaller than the upper left's.
double gridDirectionOf(const GridState& s);

// True when screen point (a, b) shows the water in front of the camera:
// the transform's denominator has there the sign it has at the buoy marks.
// A water point behind the camera also has a screen point through the
// inverse, on the far side of the horizon; it is nothing the camera saw.
bool inFrontOfCamera(const GridState& s, double a, double b);

// Copies the working grid into gridStore row g (slots 3..35; slots 29..31
// take 10, 2 and g) and back.
void storeWorkingGrid(GridState& s, int g);
void loadWorkingGrid(GridState& s, int g);

} // namespace zt
