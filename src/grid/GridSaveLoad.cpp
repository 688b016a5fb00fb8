#include "grid/GridSaveLoad.h"

#include "app/Dialogs.h"
#include "app/FileUtils.h"
#include "app/MainScreenView.h"
#include "app/ResultsFile.h"
#include "app/SettingsStore.h"
#include "app/TextFormat.h"
#include "grid/GridAgreement.h"
#include "grid/GridPatches.h"
#include "measure/MeasureView.h"

#include <cmath>

namespace zt {

namespace {

size_t u(int i) {
    return static_cast<size_t>(i);
}

const QString invalidSetupPath = QStringLiteral("Invalid path, change in configuration screen");

const QString missingCheckBuoyMessage =
    QStringLiteral("I cannot find a  check  buoy file for this setup.  That means ") +
    QStringLiteral("you are inputting an old set-up file that does not") +
    QStringLiteral(" have a check buoy.  To complete the set up correctly,") +
    QStringLiteral(" you must have a check buoy input to the set up.");

QString endedEarlyMessage(const QString& path) {
    return QStringLiteral("The grid setup file ends before all its values and was not loaded: ") +
           path;
}

// A grid whose coefficients cannot be inverted, or do not agree with its
// own buoy and check buoy marks, would give every landing mark a distance
// that is not the jump's: it loads but never becomes ready.
bool tellIfGridCannotMeasure(GridFileContext& ctx, const QString& path) {
    const GridVerdict verdict = judgeGrid(ctx.state.coefficients(), gridMarksOf(ctx.state));
    if (verdict.ready())
        return false;
    ctx.dialogs.error(gridNotReadyMessage(path, verdict));
    return true;
}

// A file that could not be opened, or holds a value that is no number:
// told with the path and line, and nothing of it is applied.
bool tellIfUnreadable(GridFileContext& ctx, const GridLoadOutcome& outcome) {
    if (outcome.setupStatus != GridFileStatus::Unreadable &&
        outcome.setupStatus != GridFileStatus::BadValue)
        return false;
    ctx.dialogs.error(QStringLiteral("The grid setup file could not be read: ") + outcome.error);
    return true;
}

void log(GridFileContext& ctx, const QString& text) {
    if (ctx.log)
        ctx.log(text);
}

void showMeasureDescription(GridFileContext& ctx, const QString& description) {
    if (ctx.measureScreen)
        ctx.measureScreen->setGridDescription(description);
}

void showMainDescription(GridFileContext& ctx, int g, const QString& description) {
    if (ctx.mainScreen)
        ctx.mainScreen->setGridDescription(g, description);
}

void showMainGridState(GridFileContext& ctx, int g, bool ready) {
    if (ctx.mainScreen)
        ctx.mainScreen->showGridState(g, ready);
}

// Asks for a grid number until it names a grid in use; 0 when the operator
// cancels, so the question can always be left.
int askGridNumber(GridFileContext& ctx, const QString& prompt) {
    const int count = static_cast<int>(ctx.state.gridCount);
    for (;;) {
        const auto answer = ctx.dialogs.input(prompt, QStringLiteral("Grid Number"));
        if (!answer)
            return 0;
        const double n = readNumber(*answer);
        if (n >= 1 && n <= count && n == std::floor(n))
            return static_cast<int>(n);
    }
}

// The grid setup file chosen in the setup files folder; nullopt when the
// folder is not usable (the operator is told) or the dialog is cancelled.
std::optional<QString> chooseGridFile(GridFileContext& ctx, const QString& filter, bool saving) {
    if (!pathExists(ctx.setupFilesPath, PathFolder)) {
        ctx.dialogs.warn(invalidSetupPath);
        return std::nullopt;
    }
    FileDialogRequest request;
    request.filter = filter;
    request.filterIndex = 3;
    request.startDir = ctx.setupFilesPath;
    request.allowNewFile = saving;
    auto chosen = ctx.dialogs.openFile(request);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return chosen;
}

void appendLoadRecord(GridFileContext& ctx, GridFileView& view, SetupRecordKind kind, int g) {
    const SetupRecordInput in = setupRecordInput(ctx.state, view.boxTexts(), view.fileNameText(),
                                                 view.descriptionText(), g, ctx.now);
    appendToResultsFile(ctx.dialogs, ctx.resultsPath, setupRecordText(kind, in));
}

// Shows what a setup file gave: file name, description, boxes and markers.
void showLoadedGrid(GridFileContext& ctx, GridFileView& view, int g, const QString& path,
                    bool checkBuoyFound) {
    GridBoxTexts boxes = boxTextsFromState(ctx.state);
    if (!checkBuoyFound)
        clearCheckBuoyBoxes(boxes);
    view.setFileNameText(path);
    view.setDescriptionText(ctx.state.gridDescription[u(g)]);
    showMeasureDescription(ctx, ctx.state.gridDescription[u(g)]);
    view.setBoxTexts(boxes);
    view.setMarkersFromState();
}

// The working state holds the active grid, which another screen (the
// measure screen's grid button) may have changed since this screen's
// button was captioned: the button names it again before it is used.
void followActiveGrid(GridFileContext& ctx, GridFileView& view) {
    const double g = ctx.state.currentGrid;
    if (g == 1 || g == 2 || g == 3)
        view.setGridButtonCaption(gridCaption(activeGridNumber(ctx.state)));
}

// A load that leaves grid g without a full setup or a check buoy takes back
// whatever readiness an earlier load gave it: measuring must not go on with
// the half-loaded values.
void markGridNotReady(GridFileContext& ctx, GridFileView& view, int g) {
    ctx.state.setGridReady(g, false);
    ctx.state.gridsReady = 0;
    view.showGridNotReady();
    showMainGridState(ctx, g, false);
}

} // namespace

QString gridCaption(int g) {
    return QStringLiteral("Grid %1").arg(g);
}

int activeGridNumber(const GridState& s) {
    const double g = s.currentGrid;
    return g == 2 ? 2 : g == 3 ? 3 : 1;
}

SetupRecordInput setupRecordInput(const GridState& s, const GridBoxTexts& boxes,
                                  const QString& fileName, const QString& description, int g,
                                  const QDateTime& when) {
    SetupRecordInput in;
    fillSetupRecordFromState(in, s);
    in.when = when;
    in.fileNameText = fileName;
    in.descriptionText = description;
    in.gridNumber = g;
    for (int i = 1; i <= 4; ++i) {
        in.screenXText[u(i)] = boxes.screenX[u(i)];
        in.screenYText[u(i)] = boxes.screenY[u(i)];
        in.surveyXText[u(i)] = boxes.surveyX[u(i)];
        in.surveyYText[u(i)] = boxes.surveyY[u(i)];
    }
    in.jumpXText = boxes.jumpX;
    in.jumpYText = boxes.jumpY;
    in.checkScreenXText = boxes.checkXpix;
    in.checkScreenYText = boxes.checkYpix;
    in.checkSurveyXText = boxes.checkX;
    in.checkSurveyYText = boxes.checkY;
    return in;
}

GridBoxTexts boxTextsFromState(const GridState& s) {
    GridBoxTexts b;
    for (int i = 1; i <= 4; ++i) {
        b.screenX[u(i)] = numberText(s.buoyScreenX[u(i)]);
        b.screenY[u(i)] = numberText(s.buoyScreenY[u(i)]);
        b.surveyX[u(i)] = numberText(s.buoySurveyX[u(i)]);
        b.surveyY[u(i)] = numberText(s.buoySurveyY[u(i)]);
    }
    b.jumpX = numberText(s.jumpX);
    b.jumpY = numberText(s.jumpY);
    b.checkX = numberText(s.checkSurveyX);
    b.checkY = numberText(s.checkSurveyY);
    b.checkXpix = numberText(s.checkPixX);
    b.checkYpix = numberText(s.checkPixY);
    return b;
}

void clearCheckBuoyBoxes(GridBoxTexts& boxes) {
    boxes.checkX.clear();
    boxes.checkY.clear();
    boxes.checkXpix = QStringLiteral("auto");
    boxes.checkYpix = QStringLiteral("auto");
}

QString gridFileRefusal(const GridState& s, const QString& path, const GridLoadOutcome& outcome) {
    if (outcome.setupStatus == GridFileStatus::Unreadable ||
        outcome.setupStatus == GridFileStatus::BadValue)
        return QStringLiteral("The grid setup file could not be read: ") + outcome.error;
    if (!outcome.complete())
        return endedEarlyMessage(path);
    if (const GridVerdict v = judgeGrid(s.coefficients(), gridMarksOf(s)); !v.ready())
        return gridNotReadyMessage(path, v);
    if (!outcome.checkBuoyError.isEmpty())
        return QStringLiteral("The check buoy file could not be read: ") + outcome.checkBuoyError;
    if (!outcome.checkBuoyFound || !(s.checkMarkX > 0))
        return missingCheckBuoyMessage;
    return QString();
}

void updateGridsReady(GridFileContext& ctx) {
    if (!ctx.state.allGridsInUseReady())
        return;
    ctx.state.gridsReady = 1;
    const int count = static_cast<int>(ctx.state.gridCount);
    log(ctx,
        count == 1 ? QStringLiteral("1 grid - OK") : QStringLiteral("%1 grids - OK").arg(count));
}

void gridSave(GridFileContext& ctx, GridFileView& view) {
    view.unlockGrid();
    followActiveGrid(ctx, view);
    const auto path = chooseGridFile(ctx, gridSaveFilter, true);
    if (!path)
        return;
    int g = activeGridNumber(ctx.state);
    const QString caption = gridCaption(g);
    const QString description = ctx.dialogs
                                    .input(QStringLiteral("Enter descriptive line about grid"),
                                           QStringLiteral("Grid Description"))
                                    .value_or(QString());
    if (!ctx.dialogs.askYesNo(QStringLiteral("Save ") + caption, QStringLiteral("Current Grid"),
                              MsgIcon::None)) {
        g = askGridNumber(ctx, QStringLiteral("What grid are you saving?"));
        if (g == 0)
            return;
        ctx.state.currentGrid = g;
    }
    ctx.state.gridDescription[u(g)] = description;
    showMeasureDescription(ctx, description);
    showMainDescription(ctx, g, description);
    log(ctx, QStringLiteral("save grid %1").arg(g));
    view.setFileNameText(*path);
    view.setDescriptionText(description);

    const GridBoxTexts boxes = view.boxTexts();
    const FileResult r =
        saveGridFiles(ctx.state, {g, *path, description, boxes.checkX, boxes.checkY});
    if (!r) {
        // The next start loads the grid from its setting: it keeps naming
        // the last file that was written whole.
        ctx.dialogs.error(QStringLiteral("The grid could not be saved: ") + r.error);
        return;
    }
    ctx.settings.set(setting::gridFile(g), *path);
    // The camera-moved guard's patches beside it; the grid is saved either way.
    if (const QString e = vision::keepGridPatches(*path, view.setupPicture()); !e.isEmpty())
        log(ctx, QStringLiteral("No camera guard for grid %1: ").arg(g) + e);
}

void gridLoad(GridFileContext& ctx, GridFileView& view) {
    view.unlockGrid();
    followActiveGrid(ctx, view);
    int g = 1;
    if (ctx.state.gridCount > 1) {
        const int active = activeGridNumber(ctx.state);
        if (ctx.dialogs.askYesNo(QStringLiteral("Load ") + gridCaption(active),
                                 QStringLiteral("Current Grid"), MsgIcon::None))
            g = active;
        else
            g = askGridNumber(ctx, QStringLiteral("What grid are you loading?"));
        if (g == 0)
            return;
    }
    const auto path = chooseGridFile(ctx, gridLoadFilter, false);
    if (!path)
        return;
    log(ctx, QStringLiteral("load grid %1").arg(g));
    ctx.state.gridLoading = true;

    const GridLoadOutcome outcome = loadGridFiles(ctx.state, g, *path);
    if (tellIfUnreadable(ctx, outcome)) {
        ctx.state.gridLoading = false;
        return;
    }
    if (!outcome.complete()) {
        ctx.state.gridLoading = false;
        ctx.dialogs.error(endedEarlyMessage(*path));
        return;
    }
    ctx.state.currentGrid = g; // the working state now holds grid g
    const bool cannotMeasure = tellIfGridCannotMeasure(ctx, *path);
    if (!outcome.checkBuoyError.isEmpty())
        ctx.dialogs.error(QStringLiteral("The check buoy file could not be read: ") +
                          outcome.checkBuoyError);
    else if (!outcome.checkBuoyFound)
        ctx.dialogs.error(missingCheckBuoyMessage);
    showLoadedGrid(ctx, view, g, *path, outcome.checkBuoyFound);
    appendLoadRecord(ctx, view, SetupRecordKind::AfterLoad, g);
    ctx.state.gridLoading = false;
    view.clearDrawing();
    view.gridCheck();

    if (cannotMeasure || !(ctx.state.checkMarkX > 0)) {
        // The grid\'s values were replaced by ones that are not set up.
        markGridNotReady(ctx, view, g);
        return;
    }
    view.showGridReady();
    log(ctx, QStringLiteral("Load grid file names on main page below"));
    ctx.state.setGridReady(g, true);
    view.setGridButtonCaption(gridCaption(g));
    ctx.settings.set(setting::gridFile(g), *path);
    showMainGridState(ctx, g, true);
    showMainDescription(ctx, g, ctx.state.gridDescription[u(g)]);
    log(ctx, QStringLiteral("Load grid %1").arg(g));
    log(ctx, QStringLiteral("Grid load message above"));
    updateGridsReady(ctx);
    log(ctx, QStringLiteral("Number of grids loaded message above"));
}

void loadGridAtStartup(GridFileContext& ctx, GridFileView& view, const QString& file, int g) {
    const GridLoadOutcome outcome = loadGridFiles(ctx.state, g, file);
    if (tellIfUnreadable(ctx, outcome))
        return;
    if (!outcome.complete()) {
        ctx.dialogs.error(endedEarlyMessage(file));
        return;
    }
    ctx.state.currentGrid = g; // only a complete read puts grid g in the working state
    view.setDescriptionText(ctx.state.gridDescription[u(g)]);
    showMeasureDescription(ctx, ctx.state.gridDescription[u(g)]);
    showMainDescription(ctx, g, ctx.state.gridDescription[u(g)]);
    if (tellIfGridCannotMeasure(ctx, file)) {
        markGridNotReady(ctx, view, g);
        return;
    }
    if (!outcome.checkBuoyFound) {
        ctx.dialogs.inform(
            QStringLiteral("Error in load - no check buoy found - setup grid again"));
        return;
    }
    showLoadedGrid(ctx, view, g, file, true);
    appendLoadRecord(ctx, view, SetupRecordKind::AfterStartupLoad, g);
    view.showGridReady();
    view.setGridButtonCaption(gridCaption(g));
    ctx.settings.set(setting::gridFile(g), file);
    showMainGridState(ctx, g, true);
    ctx.state.setGridReady(g, true);
    if (ctx.state.allGridsInUseReady())
        ctx.state.gridsReady = 1;
}

} // namespace zt
