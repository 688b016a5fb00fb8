#include "measure/MeasureLogic.h"

#include "app/FileUtils.h"
#include "measure/ExchangeFiles.h"
#include "measure/JumpRecord.h"

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

void addMarker(GridOverlay& o, QPointF m, const OverlayOptions& options) {
    const double x = m.x(), y = m.y(), size = options.crossSize;
    if (options.crossMarkers) {
        o.shapes.push_back({OverlayShape::Line, x - size, y, x + size, y, 0});
        o.shapes.push_back({OverlayShape::Line, x, y - size, x, y + size, 0});
        return;
    }
    o.shapes.push_back({OverlayShape::Circle, x, y, x, y, 2 * size});
    const double dots[5][2] = {{0, 0}, {0, -5}, {0, 5}, {5, 0}, {-5, 0}};
    for (const auto& d : dots)
        o.shapes.push_back({OverlayShape::Point, x + d[0], y + d[1], x + d[0], y + d[1], 0});
}

} // namespace

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
        addMarker(o, m, options);
    if (!options.boxLineOff) {
        o.shapes.push_back({OverlayShape::Line, lr.x(), lr.y(), ur.x(), ur.y(), 0});
        o.shapes.push_back({OverlayShape::Line, ll.x(), ll.y(), ul.x(), ul.y(), 0});
    }
    const double dMax = buoyDistance(s, 3), dMin = buoyDistance(s, 1);
    o.maxbuoy = {ul.x() - 100, ul.y() - 400, buoyFeetLabel(dMax)};
    o.minbuoy = {ur.x() - 100, ur.y() - 400, buoyFeetLabel(dMin)};
    o.maxbuoym = {ul.x() - 100, ul.y() - 600, buoyMetersLabel(dMax)};
    o.minbuoym = {ur.x() - 100, ur.y() - 600, buoyMetersLabel(dMin)};
    return o;
}

QString gridCaption(int grid) {
    return QStringLiteral("&Grid %1").arg(grid);
}

GridSwitch nextGridSwitch(const QString& caption, int gridCount) {
    if (caption == gridCaption(1))
        return {gridCaption(2), 2};
    if (caption == gridCaption(2) && gridCount == 3)
        return {gridCaption(3), 3};
    return {gridCaption(1), 1};
}

void activateGrid(GridState& s, int g) {
    s.currentGrid = g;
    loadWorkingGrid(s, g);
    s.gridDirection = gridDirectionOf(s);
}

bool appendToResults(const RecordEnvironment& env, const QString& line) {
    const FileResult written = appendText(env.resultsPath, line);
    if (written)
        return true;
    env.dialogs.error(QStringLiteral("The results file could not be written: ") + written.error +
                          QStringLiteral("\r\nCorrect the results file path on the configuration "
                                         "screen, then record again."),
                      QStringLiteral("Results File"));
    return false;
}

void resetFolderAndExchangePictures(const RecordEnvironment& env) {
    if (!env.appDir.isEmpty())
        QDir::setCurrent(env.appDir);
    deleteExchangePictures(env.exchangeDir);
}

namespace {

struct RecordValues {
    QString meters, feet;
};

void clearResultKind(MeasureFields& w, bool& advance) {
    if (!w.pictureFrozen) {
        advance = true;
        w.fall = false;
        w.pass = false;
    }
}

void enterOtherGrid(MeasureFields& w, RecordValues& values, bool& advance, Dialogs& dialogs) {
    const OtherGridEntry entry = askOtherGridDistance(dialogs);
    if (entry.recorded) {
        w.distance = entry.metersShown;
        w.distanceFt = entry.feetShown;
        values = {entry.metersText, entry.feetText};
    } else {
        w.comment = comments::otherGridNone;
        w.distance.clear();
        w.distanceFt.clear();
    }
    clearResultKind(w, advance);
}

void writeExchange(const MeasureFields& w, const RecordValues& values,
                   const RecordEnvironment& env) {
    ExchangeResult r;
    r.kind = resultKindOfComment(w.comment);
    r.metersText = values.meters;
    r.feetText = values.feet;
    r.jumpNumber = w.jumpNo;
    r.skierName = w.skierName;
    r.time = env.now.time();
    const FileResult written = writeExchangeResult(env.exchangeDir, r);
    if (!written)
        env.dialogs.message({exchangeWriteErrorMessage(written), QString(), MsgIcon::Exclamation,
                             MsgButtons::OK, 1});
}

} // namespace

RecordOutcome recordJump(MeasureFields& f, GridState& s, const MarkState& mark,
                         QString& lastDistanceText, const RecordEnvironment& env) {
    MeasureFields w = f; // committed only when the record line is written
    QString distanceText = lastDistanceText;
    RecordValues values;
    bool advance = false, special = false;

    if (w.pass || w.fall) {
        w.distance.clear();
        w.distanceFt.clear();
        clearResultKind(w, advance);
        special = true;
    }
    if (w.otherGrid)
        enterOtherGrid(w, values, advance, env.dialogs);
    if (!w.otherGrid && !special) {
        const DistanceOptions options{env.barefootJump, env.sitSkiJump, w.feetToTenths};
        const auto d = distanceOfMark(s, mark.clickX, mark.clickY, options);
        if (!d) {
            env.dialogs.error(QStringLiteral("The distance cannot be computed at this mark with "
                                             "the active grid. Check the grid, mark the landing "
                                             "point again, then record."));
            return RecordOutcome::NotRecorded;
        }
        w.distance = d->metersShown;
        w.distanceFt = d->feetShown;
        values = {d->metersText, d->feetText};
        distanceText = d->lastDistanceText;
    }

    JumpRecordInput in;
    in.when = env.now;
    in.skierName = w.skierName;
    in.jumpNumber = w.jumpNo;
    in.metersText = w.distance;
    in.feetText = w.distanceFt;
    in.barefootJump = env.barefootJump;
    in.verifyMode = w.verifyMode;
    in.comment = w.comment;
    in.otherGrid = w.otherGrid;
    in.waterX = s.waterX;
    in.waterY = s.waterY;
    in.screenX = s.screenX;
    in.screenY = s.screenY;
    in.lastDistanceText = distanceText;
    if (!appendToResults(env, jumpRecordLine(in)))
        return RecordOutcome::NotRecorded;

    if (env.wstims)
        writeExchange(w, values, env);
    w.commentVisible = false;
    if (advance)
        w.jumpNo = nextJumpNumberText(w.jumpNo);
    w.otherGrid = false;
    w.comment.clear();
    resetFolderAndExchangePictures(env);
    f = w;
    lastDistanceText = distanceText;
    return RecordOutcome::Recorded;
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

void manualRerideClicked(MeasureFields& f, const RecordEnvironment& env) {
    f.comment = comments::mandatoryReride;
    appendToResults(env, eventLine(env.now, f.comment));
    f.comment.clear();
    if (!f.pictureFrozen)
        f.mReride = false;
    f.distance.clear();
    f.distanceFt.clear();
}

void optionalRerideClicked(MeasureFields& f, const RecordEnvironment& env) {
    f.comment = comments::optionalReride;
    appendToResults(env, eventLine(env.now, f.comment));
    f.comment.clear();
    if (!f.pictureFrozen)
        f.oReride = false;
}

void makeCommentClicked(MeasureFields& f, const RecordEnvironment& env) {
    f.comment = env.dialogs
                    .input(QStringLiteral("What comment would you like to add?"),
                           QStringLiteral("Input Comment"))
                    .value_or(QString());
    appendToResults(env, eventLine(env.now, f.comment));
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

} // namespace zt
