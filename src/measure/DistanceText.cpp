#include "measure/DistanceText.h"

#include "app/TextFormat.h"

#include <cmath>

namespace zt {

namespace {

double straightDistance(double ax, double ay, double bx, double by) {
    const double dx = ax - bx, dy = ay - by;
    return std::sqrt(dx * dx + dy * dy);
}

QString intText(double v) {
    return numberText(std::floor(v));
}

// The transform registers as they stood, put back when a transform fails so
// that a failed evaluation leaves no half-changed values behind.
struct Registers {
    explicit Registers(const GridState& s)
        : screenX(s.screenX), screenY(s.screenY), waterX(s.waterX), waterY(s.waterY),
          denominator(s.transformDenominator) {}
    void restore(GridState& s) const {
        s.screenX = screenX, s.screenY = screenY, s.waterX = waterX, s.waterY = waterY;
        s.transformDenominator = denominator;
    }
    double screenX, screenY, waterX, waterY, denominator;
};

} // namespace

OfficialDistance officialDistanceTexts(double d, bool feetToTenths) {
    OfficialDistance r;
    r.distance = d;
    r.distanceText = numberText(d);
    // Later values are taken from the distance box's text.
    const double shown = readNumber(r.distanceText);
    r.lastDistanceText = numberText(roundTo(shown, 4));
    r.metersText = numberText(roundTo(shown, 1));
    if (feetToTenths)
        r.feetText = numberText(std::floor(shown / 0.03048 + 0.5) / 10);
    else
        r.feetText = numberText(std::floor(shown / 0.3048 + 0.5));
    r.metersShown = r.metersText + QLatin1Char('m');
    r.feetShown = r.feetText + QStringLiteral("ft");
    return r;
}

std::optional<OfficialDistance> distanceOfMark(GridState& s, double clickX, double clickY,
                                               const DistanceOptions& options) {
    const Registers before(s);
    s.screenX = clickX;
    s.screenY = clickY;
    const bool ok = water_from_screen(s);
    const double d = straightDistance(s.jumpX, s.jumpY, s.waterX, s.waterY) +
                     tournamentCorrection(options.barefootJump, options.sitSkiJump);
    if (!ok || !std::isfinite(d)) {
        before.restore(s);
        return std::nullopt;
    }
    return officialDistanceTexts(d, options.feetToTenths);
}

QString verifyDistanceText(double d) {
    return numberText(roundTo(d, 1)) + QStringLiteral("m ") + intText(d * 3.28 + 0.5) +
           QStringLiteral("ft");
}

std::optional<LiveReadout> liveReadout(GridState& s, double x, double y,
                                       const DistanceOptions& options) {
    s.screenX = x;
    s.screenY = y;
    const auto w = forwardTransform(s.coefficients(), x, y, &s.transformDenominator);
    if (!w)
        return std::nullopt;
    const double d = straightDistance(s.jumpX, s.jumpY, w->x, w->y) +
                     tournamentCorrection(options.barefootJump, options.sitSkiJump);
    if (!std::isfinite(d))
        return std::nullopt;
    LiveReadout r;
    r.xtwips = intText(x);
    r.ytwips = intText(y);
    r.xposition = numberText(roundTo(w->x, 2));
    r.yposition = numberText(roundTo(w->y, 2));
    r.verifyDistance = verifyDistanceText(d);
    return r;
}

QString buoyFeetLabel(double d) {
    return intText(d * 3.28 + 0.5) + QStringLiteral(" feet");
}

QString buoyMetersLabel(double d) {
    return numberText(roundTo(d, 1)) + QStringLiteral(" meters");
}

double buoyDistance(const GridState& s, int buoy) {
    if (buoy < 1 || buoy > 4)
        return 0;
    const auto i = static_cast<size_t>(buoy);
    return straightDistance(s.jumpX, s.jumpY, s.buoySurveyX[i], s.buoySurveyY[i]);
}

std::optional<PlanePoint> splashPoint(GridState& s, double x, double y, bool rightToLeft,
                                      const DistanceOptions& options) {
    const Registers before(s);
    s.screenX = x;
    s.screenY = y;
    if (!water_from_screen(s)) {
        before.restore(s);
        return std::nullopt;
    }
    if (!options.barefootJump) {
        const double k = tournamentCorrection(false, options.sitSkiJump);
        s.waterX += (rightToLeft ? k : -k) * s.gridDirection;
    }
    if (!screen_from_water(s)) {
        before.restore(s);
        return std::nullopt;
    }
    return PlanePoint{s.screenX, s.screenY};
}

} // namespace zt
