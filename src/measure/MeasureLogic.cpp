#include "measure/MeasureLogic.h"

#include "app/FileUtils.h"
#include "app/KeyState.h"
#include "app/SettingsStore.h"
#include "app/SettingsTable.h"
#include "measure/ExchangeFiles.h"
#include "measure/JumpRecord.h"
#include "measure/Recording.h"

#include <QDir>
#include <QPointF>

namespace zt {

namespace {

constexpr double pixel = 15;
constexpr double splashHeight = 1000;

size_t u(int i) {
    return static_cast<size_t>(i);
}

QPointF buoyScreen(const GridState& s, int buoy) {
    return {s.buoyScreenX[u(buoy)], s.buoyScreenY[u(buoy)]};
}

} // namespace

void addBuoyMarker(std::vector<OverlayShape>& shapes, double x, double y,
                   const OverlayOptions& options) {
    const double size = options.crossSize;
    if (options.crossMarkers) {
        shapes.push_back({OverlayShape::Line, x - size, y, x + size, y, 0});
        shapes.push_back({OverlayShape::Line, x, y - size, x, y + size, 0});
        return;
    }
    shapes.push_back({OverlayShape::Circle, x, y, x, y, 2 * size});
    const double dots[5][2] = {{0, 0}, {0, -5}, {0, 5}, {5, 0}, {-5, 0}};
    for (const auto& d : dots)
        shapes.push_back({OverlayShape::Point, x + d[0], y + d[1], x + d[0], y + d[1], 0});
}

std::optional<ImpactMarkLines> placeImpactMark(GridState& s, MarkState& mark, double x, double y,
                                               double crossSize, bool rightToLeft,
                                               const DistanceOptions& options) {
    const auto splash = splashPoint(s, x, y, rightToLeft, options);
    if (!splash)
        return std::nullopt;
    ImpactMarkLines lines;
    lines.horizontal = {x, y, rightToLeft ? x + crossSize : x - crossSize, y};
    lines.vertical = {x, y - crossSize, x, y + crossSize};
    lines.splash = {splash->x, splash->y, splash->x, splash->y - splashHeight};
    mark.clickX = x;
    mark.clickY = y;
    mark.lastMarkX = x;
    mark.lastMarkY = y;
    mark.splashMarkX = splash->x;
    mark.splashMarkY = splash->y;
    mark.placed = true;
    return lines;
}

void nudgeClick(MarkState& mark, NudgeDirection direction) {
    switch (direction) {
    case NudgeDirection::Left:
        mark.clickX = mark.lastMarkX - pixel;
        break;
    case NudgeDirection::Right:
        mark.clickX = mark.lastMarkX + pixel;
        break;
    case NudgeDirection::Up:
        mark.clickY = mark.lastMarkY - pixel;
        break;
    case NudgeDirection::Down:
        mark.clickY = mark.lastMarkY + pixel;
        break;
    }
}

GridOverlay gridOverlay(const GridState& s, const OverlayOptions& options) {
    GridOverlay o;
    const QPointF ul = buoyScreen(s, 3), ur = buoyScreen(s, 1);
    const QPointF ll = buoyScreen(s, 4), lr = buoyScreen(s, 2);
    for (QPointF m : {ul, ur, ll, lr})
        addBuoyMarker(o.shapes, m.x(), m.y(), options);
    if (!options.boxLineOff) {
        o.shapes.push_back({OverlayShape::Line, lr.x(), lr.y(), ur.x(), ur.y(), 0});
        o.shapes.push_back({OverlayShape::Line, ll.x(), ll.y(), ul.x(), ul.y(), 0});
    }
    const double dMax = buoyDistance(s, 3), dMin = buoyDistance(s, 1);
    o.maxbuoy = {ul.x() - 100, ul.y() - 400, buoyFeetLabel(dMax), ul};
    o.minbuoy = {ur.x() - 100, ur.y() - 400, buoyFeetLabel(dMin), ur};
    o.maxbuoym = {ul.x() - 100, ul.y() - 600, buoyMetersLabel(dMax), ul};
    o.minbuoym = {ur.x() - 100, ur.y() - 600, buoyMetersLabel(dMin), ur};
    return o;
}

QString measureGridCaption(int grid) {
    return QStringLiteral("&Grid %1").arg(grid);
}

GridSwitch nextGridSwitch(int activeGrid, int gridCount) {
    if (activeGrid == 1)
        return {measureGridCaption(2), 2};
    if (activeGrid == 2 && gridCount == 3)
        return {measureGridCaption(3), 3};
    return {measureGridCaption(1), 1};
}

void activateGrid(GridState& s, int g) {
    s.currentGrid = g;
    loadWorkingGrid(s, g);
    s.gridDirection = gridDirectionOf(s);
}

namespace {

MeasureRecordState recordStateOf(const MeasureFields& f, const MarkState& mark,
                                 const QString& lastDistanceText) {
    MeasureRecordState r;
    r.skierName = f.skierName;
    r.jumpNumber = f.jumpNo;
    r.distanceText = f.distance;
    r.distanceFtText = f.distanceFt;
    r.comment = f.comment;
    r.commentVisible = f.commentVisible;
    r.fallSelected = f.fall;
    r.passSelected = f.pass;
    r.otherGridOn = f.otherGrid;
    r.pictureFrozen = f.pictureFrozen;
    r.verifyMode = f.verifyMode;
    r.clickX = mark.clickX;
    r.clickY = mark.clickY;
    r.lastDistanceText = lastDistanceText;
    return r;
}

void takeRecordState(MeasureFields& f, const MeasureRecordState& r) {
    f.jumpNo = r.jumpNumber;
    f.distance = r.distanceText;
    f.distanceFt = r.distanceFtText;
    f.comment = r.comment;
    f.commentVisible = r.commentVisible;
    f.fall = r.fallSelected;
    f.pass = r.passSelected;
    f.otherGrid = r.otherGridOn;
}

// Once the comment box is hidden, a record carries only the comment of a
// choice the operator sees selected (fall, pass, other grid): no text the
// operator cannot see goes into a record or decides its result kind.
QString recordableComment(const MeasureFields& f) {
    if (f.commentVisible)
        return f.comment;
    const std::pair<bool, QString> shown[] = {
        {f.fall, comments::fall}, {f.pass, comments::pass}, {f.otherGrid, comments::otherGrid}};
    for (const auto& [selected, text] : shown)
        if (selected && f.comment == text)
            return f.comment;
    for (const auto& [selected, text] : shown)
        if (selected)
            return text;
    return {};
}

bool appendEvent(const MeasureEnvironment& env, const QString& text) {
    return recordEvent(env.settings.resultsPath, text, env.dialogs, env.clock);
}

} // namespace

RecordStatus recordOnScreen(MeasureFields& f, GridState& s, const MarkState& mark,
                            QString& lastDistanceText, const MeasureEnvironment& env) {
    if (!mark.placed && !f.fall && !f.pass && !f.otherGrid) {
        env.dialogs.error(QStringLiteral("There is no landing mark on the picture. "
                                         "Click the landing point, then record the jump."));
        return RecordStatus::NoLandingMark;
    }
    MeasureRecordState r = recordStateOf(f, mark, lastDistanceText);
    r.comment = recordableComment(f);
    RecordSettings settings = env.settings;
    settings.feetToTenths = f.feetToTenths;
    const RecordOutcome outcome = recordJump(s, r, settings, env.dialogs, env.clock);
    if (outcome.status != RecordStatus::Recorded)
        return outcome.status;
    takeRecordState(f, r);
    lastDistanceText = r.lastDistanceText;
    return outcome.status;
}

void fallClicked(MeasureFields& f) {
    f.comment = comments::fall;
}

void passClicked(MeasureFields& f) {
    f.comment = comments::pass;
}

void otherGridClicked(MeasureFields& f) {
    f.comment = comments::otherGrid;
}

void manualRerideClicked(MeasureFields& f, const MeasureEnvironment& env) {
    f.comment = comments::mandatoryReride;
    appendEvent(env, f.comment);
    f.comment.clear();
    if (!f.pictureFrozen)
        f.mReride = false;
    f.distance.clear();
    f.distanceFt.clear();
}

void optionalRerideClicked(MeasureFields& f, const MeasureEnvironment& env) {
    f.comment = comments::optionalReride;
    appendEvent(env, f.comment);
    f.comment.clear();
    if (!f.pictureFrozen)
        f.oReride = false;
}

void makeCommentClicked(MeasureFields& f, const MeasureEnvironment& env) {
    f.comment = env.dialogs
                    .input(QStringLiteral("What comment would you like to add?"),
                           QStringLiteral("Input Comment"))
                    .value_or(QString());
    // A comment that cannot be written is reported with the path and goes
    // with the box's text: kept, it would ride unseen into the next jump's
    // record (and a comment "Pass" would even make that jump a pass).
    appendEvent(env, f.comment);
    f.comment.clear();
    f.makeComment = false;
}

void clearFields(MeasureFields& f) {
    f.distance = QStringLiteral("m");
    f.distanceFt = QStringLiteral("ft");
    f.jumpNo = nextJumpNumberText(f.jumpNo);
    f.fall = false;
    f.pass = false;
    f.jumpOK = true;
    f.oReride = false;
    f.mReride = false;
    f.otherGrid = false;
    f.makeComment = false;
    f.comment.clear();
    f.pictureFrozen = false;
}

void skierChanged(MeasureFields& f) {
    f.jumpNo = QStringLiteral("1");
    f.distance.clear();
    f.distanceFt.clear();
}

void markStarted(MeasureFields& f) {
    f.distance = QStringLiteral("m");
    f.distanceFt = QStringLiteral("ft");
}

RecordSettings recordSettingsOf(const AppState& s, const SettingsStore& settings,
                                const QString& exchangeDir, bool feetToTenths) {
    RecordSettings r;
    r.resultsPath = s.logFilePath;
    r.exchangeDir = exchangeDir;
    r.wstims = settings.get(setting::WSTIMS);
    r.barefootJump = s.barefootJump;
    r.sitSkiJump = s.sitSkiJump;
    r.feetToTenths = feetToTenths;
    return r;
}

std::vector<NudgeDirection> arrowNudges(KeyState& keys) {
    const std::pair<int, NudgeDirection> arrows[] = {{Qt::Key_Left, NudgeDirection::Left},
                                                     {Qt::Key_Up, NudgeDirection::Up},
                                                     {Qt::Key_Right, NudgeDirection::Right},
                                                     {Qt::Key_Down, NudgeDirection::Down}};
    std::vector<NudgeDirection> nudges;
    for (const auto& [key, direction] : arrows)
        if (keys.query(key))
            nudges.push_back(direction);
    return nudges;
}

} // namespace zt
