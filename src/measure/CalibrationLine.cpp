#include "measure/CalibrationLine.h"

#include "app/TextFormat.h"

#include <cmath>

namespace zt {

namespace {

QString wholeTwips(double v) {
    return QString::number(static_cast<long long>(std::floor(v + 0.5)));
}

// One end point: water to screen or screen to water, on a copy of the
// registers.
bool convertEnd(GridState& s, bool actualInput, const QString& ax, const QString& ay,
                const QString& tx, const QString& ty, QString* outA, QString* outB) {
    if (actualInput) {
        s.waterX = readNumber(ax);
        s.waterY = readNumber(ay);
        if (!screen_from_water(s) || !inFrontOfCamera(s, s.screenX, s.screenY))
            return false; // behind the camera: nowhere on the picture
        *outA = wholeTwips(s.screenX);
        *outB = wholeTwips(s.screenY);
        return true;
    }
    s.screenX = readNumber(tx);
    s.screenY = readNumber(ty);
    if (!water_from_screen(s))
        return false;
    *outA = numberText(roundTo(s.waterX, 2));
    *outB = numberText(roundTo(s.waterY, 2));
    return true;
}

} // namespace

std::optional<CalibrationBoxes> convertCalibrationLine(GridState& s, const CalibrationBoxes& in,
                                                       bool actualInput) {
    GridState work = s;
    CalibrationBoxes out = in;
    QString* first[2] = {actualInput ? &out.twipsX1 : &out.actualX1,
                         actualInput ? &out.twipsY1 : &out.actualY1};
    QString* second[2] = {actualInput ? &out.twipsX2 : &out.actualX2,
                          actualInput ? &out.twipsY2 : &out.actualY2};
    if (!convertEnd(work, actualInput, in.actualX1, in.actualY1, in.twipsX1, in.twipsY1, first[0],
                    first[1]) ||
        !convertEnd(work, actualInput, in.actualX2, in.actualY2, in.twipsX2, in.twipsY2, second[0],
                    second[1]))
        return std::nullopt;
    s = work;
    return out;
}

CalibrationSegment calibrationSegment(const CalibrationBoxes& b) {
    return {readNumber(b.twipsX1), readNumber(b.twipsY1), readNumber(b.twipsX2),
            readNumber(b.twipsY2)};
}

} // namespace zt
