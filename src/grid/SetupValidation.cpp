#include "grid/SetupValidation.h"

#include "app/Dialogs.h"
#include "app/TextFormat.h"
#include "grid/GridAgreement.h"

#include <cmath>
#include <numbers>

namespace zt {

namespace {

size_t u(int i) {
    return static_cast<size_t>(i);
}

QString wholeText(double value) {
    return QString::number(static_cast<long long>(std::floor(value)));
}

void log(ValidationEnv& env, const QString& text) {
    if (env.log)
        env.log(text);
}

void tellCannotCompute(ValidationEnv& env, const QString& what) {
    env.dialogs.error(QStringLiteral("The grid cannot be completed: ") + what +
                      QStringLiteral(" Check the buoy marks and the survey values, then press "
                                     "Complete again."));
}

// A screen point of the setup's boxes.
struct BoxPoint {
    double x = 0, y = 0;
};

BoxPoint boxPoint(const GridBoxTexts& b, int buoy) {
    return {readNumber(b.screenX[u(buoy)]), readNumber(b.screenY[u(buoy)])};
}

// The angle (degrees) of the picture's vertical at screen point p, seen on
// the water: p and the point 45 twips above it, both transformed.
std::optional<double> sideAngle(GridState& s, BoxPoint p) {
    const auto a = forwardTransform(s.coefficients(), p.x, p.y);
    const auto b = forwardTransform(s.coefficients(), p.x, p.y - 45);
    if (!a || !b || b->y == a->y)
        return std::nullopt;
    const double angle = std::atan((b->x - a->x) / (b->y - a->y)) * 180 / std::numbers::pi;
    if (!std::isfinite(angle))
        return std::nullopt;
    s.screenX = p.x, s.screenY = p.y - 45;
    s.waterX = b->x, s.waterY = b->y;
    return angle;
}

bool solveStep(GridState& s, ValidationEnv& env, CompleteCheck& r) {
    const auto before = s.solveMatrix;
    const SolveStatus solved = solve_grid(s);
    if (solved == SolveStatus::NoUniqueSolution) {
        env.dialogs.message({QStringLiteral("No Unique Solution - Re-enter data"),
                             QStringLiteral("Error Message"), MsgIcon::Exclamation, MsgButtons::OK,
                             1});
        r.status = CompleteStatus::NoUniqueSolution;
        return false;
    }
    QString why;
    if (solved == SolveStatus::Overflow)
        why = QStringLiteral("the buoy values are too large to solve the grid.");
    else if (!transformInvertible(s.coefficients(), &why))
        why = QStringLiteral("the four buoys do not give a grid that can measure (") + why +
              QStringLiteral(").");
    if (why.isEmpty())
        return true;
    s.solveMatrix = before; // the active coefficients stay as they were
    tellCannotCompute(env, why);
    r.status = CompleteStatus::CannotCompute;
    return false;
}

bool checkBuoyStep(GridState& s, const GridBoxTexts& b, ValidationEnv& env, CompleteCheck& r) {
    s.waterX = readNumber(b.checkX);
    s.waterY = readNumber(b.checkY);
    log(env, QStringLiteral("check buoy x = ") + b.checkX);
    log(env, QStringLiteral("check buoy y = ") + b.checkY);
    if (!screen_from_water(s)) {
        tellCannotCompute(env, QStringLiteral("the check buoy's survey position lies on the "
                                              "grid's horizon, so its place on the picture "
                                              "cannot be predicted."));
        r.status = CompleteStatus::CannotCompute;
        return false;
    }
    r.predictedCheckX = s.screenX;
    r.predictedCheckY = s.screenY;
    s.checkScreenX = readNumber(b.checkXpix);
    s.checkScreenY = readNumber(b.checkYpix);
    if (!check_water_from_screen(s)) {
        tellCannotCompute(env, QStringLiteral("the marked check buoy lies on the grid's "
                                              "horizon, so its water position cannot be "
                                              "computed."));
        r.status = CompleteStatus::CannotCompute;
        return false;
    }
    log(env, QStringLiteral("check buoy on screen x = ") + numberText(s.checkWaterX));
    log(env, QStringLiteral("check buoy on screen y = ") + numberText(s.checkWaterY));
    if (std::abs(s.checkScreenX - r.predictedCheckX) <= checkBuoyTolerance &&
        std::abs(s.checkScreenY - r.predictedCheckY) <= checkBuoyTolerance)
        return true;
    env.dialogs.inform(QStringLiteral("Check Buoy Does not Validate"));
    log(env, QStringLiteral("measured x: ") + numberText(s.checkScreenX) +
                 QStringLiteral(" Actual: ") + numberText(r.predictedCheckX));
    log(env, QStringLiteral("measured y: ") + numberText(s.checkScreenY) +
                 QStringLiteral(" Actual: ") + numberText(r.predictedCheckY));
    r.status = CompleteStatus::CheckBuoyInvalid;
    return false;
}

// The solved grid judged by the rule every load applies, so that a grid
// completed here also loads ready: the buoys as solved, the check buoy as
// the boxes give it.
bool agreementStep(GridState& s, const GridBoxTexts& b, ValidationEnv& env, CompleteCheck& r) {
    GridMarks marks = gridMarksOf(s);
    marks.hasCheckBuoy = true;
    marks.checkScreen = {readNumber(b.checkXpix), readNumber(b.checkYpix)};
    marks.checkSurvey = {readNumber(b.checkX), readNumber(b.checkY)};
    const GridVerdict verdict = judgeGrid(s.coefficients(), marks);
    if (verdict.ready())
        return true;
    tellCannotCompute(env, QStringLiteral("the solved grid does not agree with its marks (") +
                               verdict.why + QStringLiteral(")."));
    r.status = CompleteStatus::Disagrees;
    return false;
}

// Every buoy and the check buoy on the picture: a mark beside it was
// placed on nothing the camera saw.
bool marksOnPicture(const GridBoxTexts& b, double width, double height) {
    auto inside = [&](double x, double y) {
        return x >= 0 && x <= width && y >= 0 && (!(height > 0) || y <= height);
    };
    for (int i = 1; i <= 4; ++i)
        if (!inside(boxPoint(b, i).x, boxPoint(b, i).y))
            return false;
    return inside(readNumber(b.checkXpix), readNumber(b.checkYpix));
}

// The message allowing an invalid setup to go on; false when it may not.
bool goOnIfAllowed(bool allowInvalidSetup, ValidationEnv& env) {
    if (!allowInvalidSetup)
        return false;
    env.dialogs.error(QStringLiteral("Invalid Configurations allowed for test"));
    return true;
}

bool fieldOfViewStep(GridState& s, const GridBoxTexts& b, bool allowInvalid, ValidationEnv& env,
                     CompleteCheck& r) {
    const BoxPoint ul = boxPoint(b, 3), ll = boxPoint(b, 4);
    const BoxPoint ur = boxPoint(b, 1), lr = boxPoint(b, 2);
    const BoxPoint left = ul.x > ll.x ? ll : ul;
    const BoxPoint right = ur.x < lr.x ? lr : ur;
    const auto leftAngle = sideAngle(s, left);
    const auto rightAngle = leftAngle ? sideAngle(s, right) : std::nullopt;
    if (!leftAngle || !rightAngle) {
        tellCannotCompute(env, QStringLiteral("the field of view cannot be computed at the "
                                              "outer buoys."));
        r.status = CompleteStatus::CannotCompute;
        return false;
    }
    log(env, QStringLiteral("left angle= ") + numberText(*leftAngle) + QStringLiteral(" degrees"));
    log(env, QStringLiteral("left position = ") + numberText(left.x));
    log(env,
        QStringLiteral("right angle= ") + numberText(*rightAngle) + QStringLiteral(" degrees"));
    log(env, QStringLiteral("right position = ") + numberText(right.x));
    r.leftPosition = left.x;
    r.rightPosition = right.x;
    r.fieldOfView = roundTo(std::abs(*rightAngle - *leftAngle), 1);
    const QString fov = numberText(r.fieldOfView);
    if (r.fieldOfView > fieldOfViewDesired && r.fieldOfView <= fieldOfViewMaximum)
        env.dialogs.inform(
            QStringLiteral("Warning! Field of View is ") + fov +
            QStringLiteral(" degrees where the maximum allowed is 35 degrees ") +
            QStringLiteral("and the desired is less than 30 degrees. If your grid is not taking "
                           "up as much of the screen ") +
            QStringLiteral(" as possible then your fov is even greater and may lead to "
                           "inaccurate readings. ") +
            QStringLiteral("You should consider moving the camera further away or making the "
                           "measurement grid shorter."));
    if (r.fieldOfView > fieldOfViewMaximum) {
        env.dialogs.inform(QStringLiteral("Setup is not valid, Field of View is ") + fov +
                           QStringLiteral(" degrees where the maximum allowed is 35 degrees.") +
                           QStringLiteral("You either need to move the camera further away or "
                                          "make the measurement grid shorter."));
        if (!goOnIfAllowed(allowInvalid, env)) {
            r.status = CompleteStatus::FieldOfViewTooWide;
            return false;
        }
    }
    log(env, QStringLiteral("Field of view  = ") + fov + QStringLiteral(" degrees"));
    return true;
}

bool widthStep(const GridBoxTexts& b, const SetupPicture& picture, bool allowInvalid,
               ValidationEnv& env, CompleteCheck& r) {
    const QString& pictureWidthText = picture.widthText;
    const double width = readNumber(pictureWidthText);
    if (!(width > 0)) {
        tellCannotCompute(env, QStringLiteral("the picture has no width (") + pictureWidthText +
                                   QStringLiteral(" twips)."));
        r.status = CompleteStatus::CannotCompute;
        return false;
    }
    r.gridWidthPercent = std::abs(r.leftPosition - r.rightPosition) * 100 / width;
    if (r.gridWidthPercent > 100 || !marksOnPicture(b, width, readNumber(picture.heightText))) {
        tellCannotCompute(env, QStringLiteral("a buoy mark lies outside the picture."));
        r.status = CompleteStatus::MarkOutsidePicture;
        return false;
    }
    const QString percent = wholeText(r.gridWidthPercent);
    log(env, QStringLiteral("Screen width of Grid  = ") + percent + QStringLiteral("%"));
    log(env, QStringLiteral("Screen width  = ") + pictureWidthText);
    if (r.gridWidthPercent >= gridWidthDesired)
        return true;
    env.dialogs.error(QStringLiteral("Warning - Grid is ") + percent +
                      QStringLiteral("% which is less than 80% of screen width.  Zoom your "
                                     "camera until the grid nearly fills the screen."));
    if (r.gridWidthPercent > gridWidthMinimum) {
        env.dialogs.inform(QStringLiteral("Grid is greater than 75% so continue"));
        return true;
    }
    if (goOnIfAllowed(allowInvalid, env))
        return true;
    r.status = CompleteStatus::GridTooNarrow;
    return false;
}

} // namespace

MissingInput missingSetupInput(const GridBoxTexts& b) {
    const QString autoText = QStringLiteral("auto"), input = QStringLiteral("input");
    for (int i = 1; i <= 4; ++i)
        if (b.screenX[u(i)] == autoText || b.screenY[u(i)] == autoText)
            return MissingInput::Parameters;
    for (int i = 1; i <= 4; ++i)
        if (b.surveyX[u(i)] == input || b.surveyY[u(i)] == input)
            return MissingInput::Parameters;
    if (b.jumpX == QLatin1String("jump x") || b.jumpY == QLatin1String("jump y") ||
        b.checkX == QLatin1String("CheckX") || b.checkY == QLatin1String("CheckY"))
        return MissingInput::Parameters;
    if (readNumber(b.checkXpix) == 0)
        return MissingInput::CheckBuoy;
    return MissingInput::None;
}

CompleteCheck validateSetup(GridState& s, const GridBoxTexts& boxes, const SetupPicture& picture,
                            bool allowInvalidSetup, ValidationEnv& env) {
    CompleteCheck r;
    if (solveStep(s, env, r) && checkBuoyStep(s, boxes, env, r) &&
        agreementStep(s, boxes, env, r) && fieldOfViewStep(s, boxes, allowInvalidSetup, env, r))
        widthStep(boxes, picture, allowInvalidSetup, env, r);
    return r;
}

void markGridComplete(GridState& s, int g, const QString& fileName, const QString& description,
                      ValidationEnv& env) {
    s.setGridReady(g, true);
    s.currentGrid = g;
    log(env, QStringLiteral("grid %1 OK and loaded - not saved").arg(g));
    s.gridFileName[u(g)] = fileName;
    s.gridDescription[u(g)] = description;
    storeWorkingGrid(s, g);
    // The check buoy as marked goes with the stored setup.
    s.gridStore[u(g)][slot::checkScreenX] = s.checkMarkX;
    s.gridStore[u(g)][slot::checkScreenY] = s.checkMarkY;
    log(env, QStringLiteral("Check if Setup OK"));
    if (s.allGridsInUseReady()) {
        s.gridsReady = 1;
        const int count = static_cast<int>(s.gridCount);
        log(env, count == 1 ? QStringLiteral("1 grid - all loaded on OK")
                            : QStringLiteral("%1 grids - all loaded on OK").arg(count));
    }
    log(env, QStringLiteral("If setup is OK there should be a message above this saying so "
                            "otherwise - not OK"));
    s.gridDirection = gridDirectionOf(s);
}

SetupRatios gridCheck(const GridBoxTexts& b, const QString& pictureWidthText, ValidationEnv& env) {
    SetupRatios r;
    const double width = readNumber(pictureWidthText);
    if (width != 0) {
        r.front = std::abs(readNumber(b.screenX[2]) - readNumber(b.screenX[4])) * 100 / width;
        r.back = std::abs(readNumber(b.screenX[1]) - readNumber(b.screenX[3])) * 100 / width;
    }
    log(env, QStringLiteral("Front set-up ratio = ") + numberText(r.front));
    log(env, QStringLiteral("Back set-up ratio = ") + numberText(r.back));
    if (r.front < frontRatioDesired)
        env.dialogs.inform(QStringLiteral("Front ratio is ") + wholeText(r.front) +
                           QStringLiteral("%  Zoom camera in until front is > 85%"));
    return r;
}

CompleteRun completeFromSolve(GridState& s, const GridBoxTexts& boxes, const SetupPicture& picture,
                              bool allowInvalidSetup, int g, const QString& fileName,
                              const QString& description, ValidationEnv& env,
                              const std::function<void()>& appendRecord) {
    CompleteRun run;
    run.check = validateSetup(s, boxes, picture, allowInvalidSetup, env);
    if (run.check.status == CompleteStatus::Ready)
        markGridComplete(s, g, fileName, description, env);
    if (!run.check.recordsSetup())
        return run;
    if (appendRecord)
        appendRecord();
    run.ratios = gridCheck(boxes, picture.widthText, env);
    run.ratiosChecked = true;
    return run;
}

void logSetupStatus(const GridState& s, ValidationEnv& env) {
    log(env, QStringLiteral("status on exit of grid setup"));
    for (int g = 1; g <= 3; ++g)
        if (s.gridReady(g))
            log(env, QStringLiteral("Grid %1 is loaded").arg(g));
    if (s.gridsReady == 1)
        log(env, QStringLiteral("setup is OK"));
    log(env, QStringLiteral("end of status"));
}

} // namespace zt
