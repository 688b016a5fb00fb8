#include "grid/GridModel.h"

#include <cmath>

namespace zt {

namespace {

bool finite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

size_t u(int i) {
    return static_cast<size_t>(i);
}

} // namespace

std::optional<PlanePoint> forwardTransform(const Coefficients& c, double a, double b,
                                           double* denominator) {
    const double d = a * c[4] + b * c[5] + 1;
    if (denominator)
        *denominator = d;
    if (!std::isfinite(d) || d == 0)
        return std::nullopt;
    const double x = (a * c[2] + c[1] + b * c[3]) / d;
    const double y = (a * c[7] + c[6] + b * c[8]) / d;
    if (!finite({x, y}))
        return std::nullopt;
    return PlanePoint{x, y};
}

std::optional<PlanePoint> inverseTransform(const Coefficients& c, double x, double y,
                                           double* denominator) {
    const double d = (c[7] * c[5] - c[8] * c[4]) * x + (c[4] * c[3] - c[5] * c[2]) * y +
                     (c[2] * c[8] - c[3] * c[7]);
    if (denominator)
        *denominator = d;
    if (!std::isfinite(d) || d == 0)
        return std::nullopt;
    const double sx =
        ((c[8] - c[6] * c[5]) * x + (c[5] * c[1] - c[3]) * y + (c[3] * c[6] - c[1] * c[8])) / d;
    const double sy =
        ((c[6] * c[4] - c[7]) * x + (c[2] - c[4] * c[1]) * y + (c[1] * c[7] - c[2] * c[6])) / d;
    if (!finite({sx, sy}))
        return std::nullopt;
    return PlanePoint{sx, sy};
}

double transformRegularity(const Coefficients& c) {
    double m[3][3] = {{c[2], c[3], c[1]}, {c[7], c[8], c[6]}, {c[4], c[5], 1}};
    for (const auto& row : m)
        if (!finite({row[0], row[1], row[2]}))
            return 0;
    const auto scaleRows = [&m]() {
        for (auto& row : m) {
            const double n = std::hypot(row[0], row[1], row[2]);
            if (n == 0)
                return false;
            for (double& v : row)
                v /= n;
        }
        return true;
    };
    const auto scaleColumns = [&m]() {
        for (int k = 0; k < 3; ++k) {
            const double n = std::hypot(m[0][k], m[1][k], m[2][k]);
            if (n == 0)
                return false;
            for (auto& row : m)
                row[k] /= n;
        }
        return true;
    };
    // Alternate scaling converges to a balanced matrix within a few rounds
    // for a 3 x 3 matrix; the rows are scaled last so |det| stays at most 1.
    for (int round = 0; round < 40; ++round)
        if (!scaleRows() || !scaleColumns())
            return 0;
    if (!scaleRows())
        return 0;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    return std::isfinite(det) ? std::fabs(det) : 0;
}

bool transformInvertible(const Coefficients& c, QString* why) {
    const auto say = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    bool allZero = true;
    for (int n = 1; n <= 8; ++n) {
        if (!std::isfinite(c[n]))
            return say(QStringLiteral("coefficient c%1 is not a finite number").arg(n));
        allZero = allZero && c[n] == 0;
    }
    if (allZero)
        return say(
            QStringLiteral("all eight coefficients are 0, so every picture point lands "
                           "on the same water point, as in a grid saved before it was completed"));
    if (transformRegularity(c) < minTransformRegularity)
        return say(QStringLiteral("its coefficients map the picture onto a line or a point of "
                                  "the water instead of onto the water surface (their transform "
                                  "matrix is singular or nearly so)"));
    if (why)
        why->clear();
    return true;
}

double tournamentCorrection(bool barefootJump, bool sitSkiJump) {
    if (barefootJump)
        return 0;
    const double s = sitSkiJump ? -1 : 0;
    return s * 0.2 + 2.1;
}

Coefficients GridState::coefficients() const {
    Coefficients c;
    for (int n = 1; n <= 8; ++n)
        c[n] = solveMatrix[u(n)][9];
    return c;
}

void GridState::setCoefficients(const Coefficients& c) {
    for (int n = 1; n <= 8; ++n)
        solveMatrix[u(n)][9] = c[n];
}

bool GridState::gridReady(int g) const {
    return g == 1 ? grid1Ready : g == 2 ? grid2Ready : g == 3 ? grid3Ready : false;
}

void GridState::setGridReady(int g, bool ready) {
    if (g == 1)
        grid1Ready = ready;
    else if (g == 2)
        grid2Ready = ready;
    else if (g == 3)
        grid3Ready = ready;
}

bool GridState::allGridsInUseReady() const {
    const int count = static_cast<int>(gridCount);
    for (int g = 1; g <= count && g <= 3; ++g)
        if (!gridReady(g))
            return false;
    return count >= 1;
}

namespace {

void fillSystem(GridState& s) {
    auto& A = s.solveMatrix;
    for (auto& row : A)
        row.fill(0);
    for (int r = 5; r <= 8; ++r)
        A[u(r)][6] = 1;
    for (int r = 1; r <= 4; ++r)
        A[u(r)][1] = 1;
    for (int i = 1; i <= 4; ++i) {
        const double a = s.buoyScreenX[u(i)], b = s.buoyScreenY[u(i)];
        const double X = s.buoySurveyX[u(i)], Y = s.buoySurveyY[u(i)];
        auto& rx = A[u(i)];
        rx[2] = a, rx[3] = b, rx[4] = -a * X, rx[5] = -b * X, rx[9] = X;
        auto& ry = A[u(i + 4)];
        ry[4] = -a * Y, ry[5] = -b * Y, ry[7] = a, ry[8] = b, ry[9] = Y;
    }
}

} // namespace

namespace {

SolveStatus eliminate(GridState& s) {
    constexpr int n = 8;
    fillSystem(s);
    auto& A = s.solveMatrix;
    for (int k = 1; k <= n; ++k) {
        int p = k;
        while (p <= n && A[u(p)][u(k)] == 0)
            ++p;
        if (p > n)
            return SolveStatus::NoUniqueSolution;
        for (int c = 1; c <= n + 1; ++c)
            std::swap(A[u(k)][u(c)], A[u(p)][u(c)]);
        const double inv = 1 / A[u(k)][u(k)];
        if (!std::isfinite(inv))
            return SolveStatus::Overflow;
        for (int c = 1; c <= n + 1; ++c)
            A[u(k)][u(c)] *= inv;
        for (int r = 1; r <= n; ++r) {
            if (r == k)
                continue;
            const double f = -A[u(r)][u(k)];
            for (int c = 1; c <= n + 1; ++c) {
                A[u(r)][u(c)] = A[u(k)][u(c)] * f + A[u(r)][u(c)];
                if (!std::isfinite(A[u(r)][u(c)]))
                    return SolveStatus::Overflow;
            }
        }
    }
    return SolveStatus::Ok;
}

} // namespace

SolveStatus solve_grid(GridState& s) {
    // A failed solve keeps the coefficients that were active before it.
    const auto before = s.solveMatrix;
    const SolveStatus status = eliminate(s);
    if (status != SolveStatus::Ok)
        s.solveMatrix = before;
    return status;
}

bool water_from_screen(GridState& s) {
    const auto w =
        forwardTransform(s.coefficients(), s.screenX, s.screenY, &s.transformDenominator);
    if (!w)
        return false;
    s.waterX = w->x;
    s.waterY = w->y;
    return true;
}

bool check_water_from_screen(GridState& s) {
    const auto w =
        forwardTransform(s.coefficients(), s.checkScreenX, s.checkScreenY, &s.transformDenominator);
    if (!w)
        return false;
    s.checkWaterX = w->x;
    s.checkWaterY = w->y;
    return true;
}

bool screen_from_water(GridState& s) {
    const auto p = inverseTransform(s.coefficients(), s.waterX, s.waterY, &s.transformDenominator);
    if (!p)
        return false;
    s.screenX = p->x;
    s.screenY = p->y;
    return true;
}

bool distance_calculation(GridState& s, bool barefootJump, bool sitSkiJump) {
    if (!water_from_screen(s))
        return false;
    const double dx = s.jumpX - s.waterX, dy = s.jumpY - s.waterY;
    const double d = std::sqrt(dx * dx + dy * dy) + tournamentCorrection(barefootJump, sitSkiJump);
    if (!std::isfinite(d))
        return false;
    s.jumpDistance = d;
    return true;
}

double gridDirectionOf(const GridState& s) {
    return s.buoySurveyX[1] < s.buoySurveyX[3] ? 1 : -1;
}

void storeWorkingGrid(GridState& s, int g) {
    if (g < 1 || g > 3)
        return;
    GridStoreRow& row = s.gridStore[u(g)];
    for (int i = 1; i <= 4; ++i) {
        row[u(slot::screenX(i))] = s.buoyScreenX[u(i)];
        row[u(slot::screenY(i))] = s.buoyScreenY[u(i)];
        row[u(slot::surveyX(i))] = s.buoySurveyX[u(i)];
        row[u(slot::surveyY(i))] = s.buoySurveyY[u(i)];
    }
    for (int n = 1; n <= 8; ++n)
        row[u(slot::coefficient(n))] = s.solveMatrix[u(n)][9];
    row[slot::jumpX] = s.savedJumpX;
    row[slot::jumpY] = s.savedJumpY;
    row[slot::constant10] = 10;
    row[slot::constant2] = 2;
    row[slot::gridNumber] = g;
    row[slot::checkScreenX] = s.checkPixX;
    row[slot::checkScreenY] = s.checkPixY;
    row[slot::checkSurveyX] = s.checkSurveyX;
    row[slot::checkSurveyY] = s.checkSurveyY;
}

void loadWorkingGrid(GridState& s, int g) {
    if (g < 1 || g > 3)
        return;
    const GridStoreRow& row = s.gridStore[u(g)];
    for (int i = 1; i <= 4; ++i) {
        s.buoyScreenX[u(i)] = row[u(slot::screenX(i))];
        s.buoyScreenY[u(i)] = row[u(slot::screenY(i))];
        s.buoySurveyX[u(i)] = row[u(slot::surveyX(i))];
        s.buoySurveyY[u(i)] = row[u(slot::surveyY(i))];
    }
    for (int n = 1; n <= 8; ++n)
        s.solveMatrix[u(n)][9] = row[u(slot::coefficient(n))];
    s.savedJumpX = row[slot::jumpX];
    s.savedJumpY = row[slot::jumpY];
    s.jumpX = s.savedJumpX;
    s.jumpY = s.savedJumpY;
    s.checkPixX = row[slot::checkScreenX];
    s.checkPixY = row[slot::checkScreenY];
    s.checkSurveyX = row[slot::checkSurveyX];
    s.checkSurveyY = row[slot::checkSurveyY];
    s.checkMarkX = s.checkPixX;
    s.checkMarkY = s.checkPixY;
}

bool inFrontOfCamera(const GridState& s, double a, double b) {
    const Coefficients c = s.coefficients();
    double buoySide = 0;
    for (int i = 1; i <= 4; ++i)
        buoySide += c[4] * s.buoyScreenX[u(i)] + c[5] * s.buoyScreenY[u(i)] + 1 > 0 ? 1 : -1;
    const double here = c[4] * a + c[5] * b + 1;
    return std::isfinite(here) && here != 0 && (here > 0) == (buoySide >= 0);
}

} // namespace zt
