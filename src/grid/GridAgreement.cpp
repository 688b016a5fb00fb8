#include "grid/GridAgreement.h"

#include "app/TextFormat.h"

#include <cmath>

namespace zt {

namespace {

size_t u(int i) {
    return static_cast<size_t>(i);
}

QString metersText(double m) {
    return QString::number(m, 'f', 2) + QStringLiteral(" m");
}

GridVerdict fault(GridFault f, const QString& why) {
    return {f, why};
}

// The buoy whose mark maps farthest from its survey, when past the limit.
GridVerdict judgeBuoys(const Coefficients& c, const GridMarks& m) {
    int worst = 0;
    double worstOff = 0;
    for (int i = 1; i <= 4; ++i) {
        const PlanePoint at = m.buoyScreen[u(i)];
        const auto water = forwardTransform(c, at.x, at.y);
        if (!water)
            return fault(GridFault::BuoyOff, QStringLiteral("the ") + buoyName(i) +
                                                 QStringLiteral(" buoy mark lies on the grid's "
                                                                "horizon"));
        const double off =
            std::hypot(water->x - m.buoySurvey[u(i)].x, water->y - m.buoySurvey[u(i)].y);
        if (!(off <= worstOff)) // a NaN distance is the worst of all
            worst = i, worstOff = off;
    }
    if (worst == 0 || worstOff <= buoyAgreementTolerance)
        return {};
    return fault(GridFault::BuoyOff, QStringLiteral("the ") + buoyName(worst) +
                                         QStringLiteral(" buoy is ") + metersText(worstOff) +
                                         QStringLiteral(" from its survey"));
}

GridVerdict judgeCheckBuoy(const Coefficients& c, const GridMarks& m) {
    const auto predicted = inverseTransform(c, m.checkSurvey.x, m.checkSurvey.y);
    if (!predicted)
        return fault(GridFault::CheckBuoyOff,
                     QStringLiteral("the check buoy's survey lies on the grid's horizon"));
    const double dx = m.checkScreen.x - predicted->x, dy = m.checkScreen.y - predicted->y;
    if (std::abs(dx) <= checkAgreementTolerance && std::abs(dy) <= checkAgreementTolerance)
        return {};
    const double off = std::hypot(dx, dy);
    return fault(
        GridFault::CheckBuoyOff,
        QStringLiteral("the check buoy mark is ") +
            (std::isfinite(off) ? QString::number(std::llround(off)) : QStringLiteral("far")) +
            QStringLiteral(" twips from where the grid puts its survey"));
}

} // namespace

QString buoyName(int buoy) {
    switch (buoy) {
    case 1:
        return QStringLiteral("upper right");
    case 2:
        return QStringLiteral("lower right");
    case 3:
        return QStringLiteral("upper left");
    default:
        return QStringLiteral("lower left");
    }
}

GridMarks gridMarksOf(const GridState& s) {
    GridMarks m;
    for (int i = 1; i <= 4; ++i) {
        m.buoyScreen[u(i)] = {s.buoyScreenX[u(i)], s.buoyScreenY[u(i)]};
        m.buoySurvey[u(i)] = {s.buoySurveyX[u(i)], s.buoySurveyY[u(i)]};
    }
    m.hasCheckBuoy = s.checkMarkX > 0;
    m.checkScreen = {s.checkMarkX, s.checkMarkY};
    m.checkSurvey = {s.checkSurveyX, s.checkSurveyY};
    return m;
}

GridVerdict judgeGrid(const Coefficients& c, const GridMarks& marks) {
    QString why;
    if (!transformInvertible(c, &why))
        return fault(GridFault::NotInvertible, why);
    if (GridVerdict v = judgeBuoys(c, marks); !v.ready())
        return v;
    if (marks.hasCheckBuoy)
        return judgeCheckBuoy(c, marks);
    return {};
}

void recountGridsReady(GridState& s) {
    bool ready = s.allGridsInUseReady();
    if (ready && s.currentGrid <= s.gridCount)
        ready = s.checkMarkX > 0 && judgeGrid(s.coefficients(), gridMarksOf(s)).ready();
    s.gridsReady = ready ? 1 : 0;
}

QString gridNotReadyMessage(const QString& file, const GridVerdict& verdict) {
    const QString again = QStringLiteral(". Set the grid up again and Complete it.");
    if (verdict.fault == GridFault::NotInvertible)
        return QStringLiteral("The grid in ") + file + QStringLiteral(" cannot measure: ") +
               verdict.why + again;
    return QStringLiteral("The grid in ") + file +
           QStringLiteral(" does not agree with its buoy marks: ") + verdict.why + again;
}

} // namespace zt
