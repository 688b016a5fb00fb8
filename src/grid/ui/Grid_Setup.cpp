#include "grid/ui/Grid_Setup.h"

#include "app/FileUtils.h"
#include "app/KeyState.h"
#include "app/MainScreenView.h"
#include "app/PictureFile.h"
#include "app/ResultsFile.h"
#include "app/TextFormat.h"
#include "app/ui/AppContext.h"
#include "app/ui/PictureLabel.h"
#include "grid/SetupRecord.h"
#include "measure/MeasureView.h"
#include "measure/ui/PictureCanvas.h"
#include "vision/BuoyFinder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <cmath>

namespace zt {

namespace {

size_t u(int i) {
    return static_cast<size_t>(i);
}

const QColor magenta(255, 0, 255);

const QString pictureFilter =
    QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Jump Picture Files (*.gif)|*.gif|"
                   "Jump Picture Files (*.bmp)|*.bmp|Jump Picture Files (*.jpg)|*.jpg|");

} // namespace

Grid_Setup::Grid_Setup(AppContext& app) : app_(app) {
    setObjectName(QStringLiteral("Grid_Setup"));
    setWindowTitle(QStringLiteral("Grid Setup"));
    keys_ = &applicationKeyState();
    buildControls();
    buildMenus();
    connectHandlers();

    // Opening: the grid of currentGrid, nothing marked, not ready.
    optStandardAccuracy->setChecked(true);
    optHomolgationLevel->setChecked(true);
    shownGrid_ = activeGridNumber(app_.state);
    setGridButtonCaption(gridCaption(shownGrid_));
    markerRadius = 2 * markerSize();
    showStateIcon(false);
    btnAccuracyCheck->hide();
    fmAccuracyDisplay->hide();
    fmAccuracyConfig->hide();
    chkAccuracyMap->hide();
    clear_accuracy_indicator();
    lblCB->hide();
    gridLockedLabel->hide();
    lblGridDragIt->hide();
    txtPicWidth->setText(QStringLiteral("12000"));
    txtPicHeight->setText(QStringLiteral("9000"));
    app_.state.gridsReady = 0;
    // The whole display, also where nothing maximizes windows.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    resize(area.size());
    move(area.topLeft());
    setWindowState(Qt::WindowMaximized);
}

Grid_Setup::~Grid_Setup() = default;

// ---- Activation, focus, leaving ----

// App runs the arrival at each hand-over, on screen already or not; a
// window the window manager brings back arrives too.
void Grid_Setup::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        Form_Activate();
}

void Grid_Setup::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeToolGroups();
}

void Grid_Setup::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible())
        return;
    if (isActiveWindow())
        keyTimer->start();
    else
        keyTimer->stop();
}

bool Grid_Setup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        toolsDragged_ = true; // a tool group is being moved: it stays where put
    return QMainWindow::eventFilter(watched, event);
}

void Grid_Setup::Form_Activate() {
    AppState& s = app_.state;
    if (activeGridNumber(s) != shownGrid_)
        showActiveGrid(); // another screen switched grids meanwhile
    if (s.screenMode == QLatin1String("SelectFrame")) {
        loadPictureFile(app_.paths().inApp(QStringLiteral("currentcapture.bmp")));
    }
    placeToolGroups();
    keyTimer->start();
}

void Grid_Setup::showActiveGrid() {
    AppState& s = app_.state;
    const int g = activeGridNumber(s);
    const bool wasLoading = s.gridLoading;
    s.gridLoading = true;
    shownGrid_ = g;
    setGridButtonCaption(gridCaption(g));
    setBoxTexts(boxTextsFromState(s));
    setFileNameText(s.gridFileName[u(g)].isEmpty() ? QStringLiteral("No File")
                                                   : s.gridFileName[u(g)]);
    setDescriptionText(s.gridDescription[u(g)]);
    setMarkersFromState();
    s.gridLoading = wasLoading;
    if (s.gridReady(g))
        showGridReady();
    if (s.allGridsInUseReady())
        s.gridsReady = 1;
}

void Grid_Setup::closeEvent(QCloseEvent* event) {
    event->ignore();
    gridExit_Click();
}

void Grid_Setup::leaveScreen() {
    hide();
    keyTimer->stop();
    app_.showScreen(Screen::Main);
}

// ---- Points ----

std::optional<SetupPoint> Grid_Setup::selectedPoint() const {
    const std::pair<QRadioButton*, SetupPoint> options[] = {
        {upper_left_button, SetupPoint::UpperLeft},
        {upper_right_button, SetupPoint::UpperRight},
        {lower_left_button, SetupPoint::LowerLeft},
        {lower_right_button, SetupPoint::LowerRight},
        {optCheckBuoy, SetupPoint::CheckBuoy}};
    for (const auto& [button, point] : options)
        if (button->isChecked())
            return point;
    return std::nullopt;
}

double Grid_Setup::markerSize() const {
    return Setup_Cross_size->value();
}

SetupMarks Grid_Setup::marks() const {
    SetupMarks m;
    m[SetupPoint::UpperLeft] = {ulMarkX, ulMarkY};
    m[SetupPoint::UpperRight] = {urMarkX, urMarkY};
    m[SetupPoint::LowerLeft] = {llMarkX, llMarkY};
    m[SetupPoint::LowerRight] = {lrMarkX, lrMarkY};
    m[SetupPoint::CheckBuoy] = {app_.state.checkMarkX, app_.state.checkMarkY};
    return m;
}

void Grid_Setup::setMarks(const SetupMarks& m) {
    ulMarkX = m[SetupPoint::UpperLeft].x(), ulMarkY = m[SetupPoint::UpperLeft].y();
    urMarkX = m[SetupPoint::UpperRight].x(), urMarkY = m[SetupPoint::UpperRight].y();
    llMarkX = m[SetupPoint::LowerLeft].x(), llMarkY = m[SetupPoint::LowerLeft].y();
    lrMarkX = m[SetupPoint::LowerRight].x(), lrMarkY = m[SetupPoint::LowerRight].y();
    app_.state.checkMarkX = m[SetupPoint::CheckBuoy].x();
    app_.state.checkMarkY = m[SetupPoint::CheckBuoy].y();
}

QLineEdit* Grid_Setup::screenBoxX(SetupPoint p) const {
    return p == SetupPoint::CheckBuoy ? txtCheckXpix : boxesOf(buoyOf(p))[0];
}

QLineEdit* Grid_Setup::screenBoxY(SetupPoint p) const {
    return p == SetupPoint::CheckBuoy ? txtCheckYpix : boxesOf(buoyOf(p))[1];
}

void Grid_Setup::drawShapes(const std::vector<OverlayShape>& shapes, const QColor& color) {
    canvas_->drawShapes(shapes, color);
}

void Grid_Setup::movePoints(const std::vector<MarkMove>& moves) {
    if (moves.empty())
        return;
    canvas_->setDrawWidth(2);
    for (const MarkMove& m : moves) {
        if (!m.from.isNull()) // a point never placed has no old marker to cover
            drawShapes(oldMarkerShapes(m.from, markerRadius, markerSize()), magenta);
        screenBoxX(m.point)->setText(numberText(m.to.x()));
        screenBoxY(m.point)->setText(numberText(m.to.y()));
        drawShapes(crossShapes(m.to, markerSize()), Qt::black);
    }
    noteEdit(); // a moved marker is an edit even where a box kept its text
}

void Grid_Setup::Form_MouseDown(double x, double y) {
    const auto selected = selectedPoint();
    if (!selected || !onPicture(canvas_->pictureSizeTwips(), x, y))
        return; // beside the picture there is nothing to mark
    // The picture position of the screen pixel under the mouse: a whole
    // picture pixel at 1:1, a share of one when zoomed in.
    clickX = x;
    clickY = y;
    SetupMarks m = marks();
    const auto moves = placeSetupPoint(app_.state, m, *selected, QPointF(clickX, clickY),
                                       chkboxGridLock->isChecked());
    setMarks(m);
    movePoints(moves);
}

// The buoys found on the picture, each mark placed as a click on its pixel.
void Grid_Setup::mnuFindBuoys_Click() {
    const std::vector<QPointF> found = vision::findBuoys(canvas_->picture());
    const auto p = vision::proposeBuoys(found);
    if (!p) {
        app_.dialogs().inform(QStringLiteral("Found %1 buoys on the picture; the marks are placed "
                                             "only when exactly five are found.")
                                  .arg(found.size()));
        return;
    }
    SetupMarks m = marks();
    std::vector<MarkMove> moves;
    for (const auto& [point, at] : {std::pair{SetupPoint::UpperLeft, p->upperLeft},
                                    {SetupPoint::UpperRight, p->upperRight},
                                    {SetupPoint::LowerLeft, p->lowerLeft},
                                    {SetupPoint::LowerRight, p->lowerRight},
                                    {SetupPoint::CheckBuoy, p->check}}) {
        const QPointF click(std::floor(at.x()) * twipsPerPixel, std::floor(at.y()) * twipsPerPixel);
        for (const MarkMove& move : placeSetupPoint(app_.state, m, point, click, false))
            moves.push_back(move);
    }
    setMarks(m);
    movePoints(moves);
}

void Grid_Setup::stepPoint(SetupStep step) {
    const auto selected = selectedPoint();
    if (!selected)
        return;
    SetupMarks m = marks();
    const auto moves = stepSetupPoint(app_.state, m, *selected, step, chkboxGridLock->isChecked());
    setMarks(m);
    movePoints(moves);
}

void Grid_Setup::AdjustUp_Click() {
    stepPoint(SetupStep::Up);
}

void Grid_Setup::AdjustDown_Click() {
    stepPoint(SetupStep::Down);
}

void Grid_Setup::AdjustLeft_Click() {
    stepPoint(SetupStep::Left);
}

void Grid_Setup::AdjustRight_Click() {
    stepPoint(SetupStep::Right);
}

void Grid_Setup::keyTimer_Timer() {
    const std::pair<int, void (Grid_Setup::*)()> keys[] = {
        {Qt::Key_Left, &Grid_Setup::AdjustLeft_Click},
        {Qt::Key_Up, &Grid_Setup::AdjustUp_Click},
        {Qt::Key_Right, &Grid_Setup::AdjustRight_Click},
        {Qt::Key_Down, &Grid_Setup::AdjustDown_Click}};
    for (const auto& [key, step] : keys)
        if (keys_->query(key))
            (this->*step)();
}

void Grid_Setup::pointOption_Click() {
    // The arrow keys then move the marker, not the option.
    ipt_file_description->setFocus();
}

void Grid_Setup::chkboxGridLock_Click() {
    const bool locked = chkboxGridLock->isChecked();
    if (locked) {
        const GridBoxTexts b = boxTexts();
        bool missing = b.checkX == QLatin1String("CheckX");
        for (int i = 1; i <= 4; ++i)
            missing = missing || b.screenX[u(i)] == QLatin1String("auto");
        if (missing) {
            app_.dialogs().inform(QStringLiteral("Cannot Lock Grid Until buoy positions have been "
                                                 "entered for all four buoys and check buoy"));
            chkboxGridLock->setChecked(false);
            return;
        }
    }
    gridLockedLabel->setVisible(locked);
    lblGridDragIt->setVisible(locked);
}

// ---- Drawing ----

QColor Grid_Setup::gridDrawColor() const {
    const AppState& s = app_.state;
    return s.gridColorName == QLatin1String("default") ? QColor(Qt::white)
                                                       : colorOfBgr(s.gridColor);
}

void Grid_Setup::Show_grid() {
    canvas_->clearDrawing();
    canvas_->setDrawWidth(2);
    drawShapes(setupMarkerShapes(marks(), markerSize()), gridDrawColor());
    markerRadius = 2 * markerSize();
}

void Grid_Setup::show_alignment_Click() {
    Show_grid();
}

void Grid_Setup::Setup_Cross_size_Change() {
    Show_grid();
}

void Grid_Setup::drawCalibrationLine(const CalibrationSegment& line, bool erase) {
    canvas_->drawLine(line.x1, line.y1, line.x2, line.y2, erase ? magenta : QColor(Qt::white));
}

// ---- Edits ----

void Grid_Setup::valueEdited(SetupBox box, int buoy, const QString& text) {
    if (!app_.state.gridLoading) // the program's own filling stores nothing again
        storeSetupBox(app_.state, box, buoy, text);
    noteEdit();
}

void Grid_Setup::noteEdit() {
    AppState& s = app_.state;
    showStateIcon(false);
    if (!s.gridLoading) {
        const int g = activeGridNumber(s);
        app_.mainView().showGridState(g, false);
        app_.settings().set(setting::gridFile(g), QString());
    }
    btnAccuracyCheck->setEnabled(false);
    fmAccuracyDisplay->hide();
    fmAccuracyConfig->hide();
    chkAccuracyMap->hide();
    clear_accuracy_indicator();
    s.gridsReady = 0;
}

// ---- Complete ----

// The picture of this screen, as its boxes show it: a picture loaded on
// the measure screen has a size of its own.
SetupPicture Grid_Setup::setupPictureSize() const {
    return {txtPicWidth->text(), txtPicHeight->text()};
}

ValidationEnv Grid_Setup::validationEnv() {
    return {app_.dialogs(), [this](const QString& line) { app_.log(line); }};
}

void Grid_Setup::Load_Click() {
    AppState& s = app_.state;
    ValidationEnv env = validationEnv();
    const MissingInput missing = missingSetupInput(boxTexts());
    if (missing != MissingInput::None) {
        if (missing == MissingInput::CheckBuoy)
            app_.dialogs().inform(QStringLiteral("Setup of Check Buoy is Mandatory"));
        app_.dialogs().message({QStringLiteral("Warning - Not all parameters have been set up on "
                                               "grid"),
                                QStringLiteral("Error Message"), MsgIcon::Exclamation,
                                MsgButtons::OK, 1});
        appendCompleteRecord();
        return;
    }
    app_.log(QStringLiteral("Record Grid Setup"));
    btnAccuracyCheck->setEnabled(true);
    btnAccuracyCheck->show();
    fmAccuracyDisplay->show();
    fmAccuracyConfig->setVisible(optAdvancedAccuracy->isChecked());
    canvas_->clearDrawing();
    lblCB->hide();

    const int g = activeGridNumber(s);
    const CompleteRun run =
        completeFromSolve(s, boxTexts(), setupPictureSize(), s.allowInvalidSetup, g, fileNameText(),
                          descriptionText(), env, [this] { appendSetupRecord(); });
    if (run.ratiosChecked)
        ratios_ = run.ratios;
    switch (run.check.status) {
    case CompleteStatus::Ready:
        showStateIcon(true);
        app_.mainView().showGridState(g, true);
        app_.mainView().setGridDescription(g, QStringLiteral("not saved"));
        Show_grid(); // the markers of the completed grid
        break;
    case CompleteStatus::CheckBuoyInvalid:
        showCheckBuoyPrediction(run.check);
        break;
    case CompleteStatus::NoUniqueSolution:
    case CompleteStatus::CannotCompute:
        btnAccuracyCheck->setEnabled(false); // nothing solved to check
        break;
    default:
        break;
    }
}

void Grid_Setup::appendSetupRecord() {
    AppState& s = app_.state;
    const SetupRecordInput in = setupRecordInput(s, boxTexts(), fileNameText(), descriptionText(),
                                                 activeGridNumber(s), app_.clock().now());
    appendToResultsFile(app_.dialogs(), s.logFilePath,
                        setupRecordText(SetupRecordKind::AfterComplete, in));
}

void Grid_Setup::appendCompleteRecord() {
    appendSetupRecord();
    gridCheck();
}

void Grid_Setup::showCheckBuoyPrediction(const CompleteCheck& check) {
    Show_grid();
    const double x = check.predictedCheckX, y = check.predictedCheckY;
    canvas_->setDrawWidth(2);
    canvas_->drawPoint(x, y, Qt::white);
    canvas_->drawCircle(x, y, 4 * markerSize(), Qt::white);
    canvas_->drawLine(x, y, x + 100, y, Qt::white);
    lblCB->adjustSize();
    canvas_->pinToPicture(lblCB, x + 15, y - 105);
    lblCB->show();
    lblCB->raise();
}

void Grid_Setup::gridCheck() {
    ValidationEnv env = validationEnv();
    ratios_ = zt::gridCheck(boxTexts(), txtPicWidth->text(), env);
}

// ---- Grids ----

void Grid_Setup::grid_select_Click() {
    AppState& s = app_.state;
    const int from = activeGridNumber(s);
    const int to = nextSetupGrid(from, static_cast<int>(s.gridCount));
    if (to == from)
        return; // one grid in use: nothing to switch to
    canvas_->clearDrawing();
    s.gridLoading = true;
    app_.log(gridChangeLine(from, to));
    activateGrid(s, to);
    showActiveGrid();
    s.gridLoading = false;
}

void Grid_Setup::gridSave_Click() {
    GridFileContext ctx = app_.gridFileContext();
    zt::gridSave(ctx, *this);
}

void Grid_Setup::gridLoad_Click() {
    GridFileContext ctx = app_.gridFileContext();
    zt::gridLoad(ctx, *this);
    shownGrid_ = activeGridNumber(app_.state);
}

void Grid_Setup::gridExit_Click() {
    AppState& s = app_.state;
    ValidationEnv env = validationEnv();
    if (s.gridsReady != 1) {
        if (app_.dialogs().askYesNo(QStringLiteral("Do you want to leave the grid setup with all "
                                                   "configured grids not setup?"),
                                    QStringLiteral("Grid Setup Error"), MsgIcon::None))
            leaveScreen();
        logSetupStatus(s, env);
        return;
    }
    leaveScreen();
    // Grid 1 is the one measured with first.
    s.gridLoading = true; // the program's own filling of the boxes is no operator edit
    activateGrid(s, 1);
    showActiveGrid();
    s.gridLoading = false;
    canvas_->clearDrawing();
    canvas_->setDrawWidth(2);
    const SetupMarks m = marks();
    for (const QPointF& at : m.at)
        drawShapes(crossShapes(at, 100), gridDrawColor());
    canvas_->drawLine(m[SetupPoint::UpperRight].x(), m[SetupPoint::UpperRight].y(),
                      m[SetupPoint::LowerRight].x(), m[SetupPoint::LowerRight].y(),
                      gridDrawColor());
    canvas_->drawLine(m[SetupPoint::UpperLeft].x(), m[SetupPoint::UpperLeft].y(),
                      m[SetupPoint::LowerLeft].x(), m[SetupPoint::LowerLeft].y(), gridDrawColor());
    app_.measureView().showGridGeometry();
    app_.measureView().setGridDescription(s.gridDescription[1]);
    s.gridsReady = 1;
    showStateIcon(true);
    logSetupStatus(s, env);
}

// ---- Pictures ----

bool Grid_Setup::setPictureFrom(const QImage& picture) {
    if (picture.isNull())
        return false;
    canvas_->setPicture(picture);
    const QSizeF size = canvas_->pictureSizeTwips();
    txtPicWidth->setText(numberText(size.width()));
    txtPicHeight->setText(numberText(size.height()));
    txtPicWidth->home(false); // the whole number from its start
    txtPicHeight->home(false);
    return true;
}

void Grid_Setup::loadPictureFile(const QString& path) {
    const PictureRead read = readWholePicture(path);
    if (!read.ok() || !setPictureFrom(read.image))
        app_.dialogs().warn(pictureNotLoadedMessage(read)); // the picture shown stays
}

void Grid_Setup::mnuLoadPicture_Click() {
    const QString folder = app_.state.pictureDir;
    if (!pathExists(folder, PathFolder)) {
        app_.dialogs().warn(QStringLiteral("Invalid path, change in configuration screen"));
        return;
    }
    const auto chosen = chooseFileToOpen(app_.dialogs(), pictureFilter, 4, folder);
    if (!chosen || chosen->isEmpty())
        return;
    loadPictureFile(*chosen);
}

void Grid_Setup::mnuClearPicture_Click() {
    canvas_->clearPicture();
}

void Grid_Setup::mnuPaste_Click() {
    if (!setPictureFrom(QApplication::clipboard()->image()))
        app_.dialogs().warn(QStringLiteral("There is no picture on the clipboard."));
}

void Grid_Setup::mnuMeasurePic_Click() {
    loadPictureFile(app_.paths().inApp(QStringLiteral("currentcapture.bmp")));
}

void Grid_Setup::mnuCalibrate_Click() {
    app_.showScreen(Screen::Calibrate);
}

// ---- GridSetupView ----

void Grid_Setup::showStateIcon(bool ready) {
    showPictureFile(grid_state_icon, app_.paths().appDir,
                    ready ? QStringLiteral("face02.ico") : QStringLiteral("msgbox03.ico"));
}

void Grid_Setup::hideGridLockedLabel() {
    gridLockedLabel->hide();
}

void Grid_Setup::unlockGrid() {
    chkboxGridLock->setChecked(false);
    gridLockedLabel->hide();
    lblGridDragIt->hide();
}

void Grid_Setup::setGridButtonCaption(const QString& caption) {
    grid_select->setText(caption);
}

QString Grid_Setup::fileNameText() const {
    return ipt_file_description->text();
}

void Grid_Setup::setFileNameText(const QString& text) {
    ipt_file_description->setText(text);
}

QString Grid_Setup::descriptionText() const {
    return ipt_file_description_2->text();
}

void Grid_Setup::setDescriptionText(const QString& text) {
    ipt_file_description_2->setText(text);
}

QImage Grid_Setup::setupPicture() const {
    return canvas_->picture();
}

GridBoxTexts Grid_Setup::boxTexts() const {
    GridBoxTexts b;
    for (int i = 1; i <= 4; ++i) {
        const auto boxes = boxesOf(i);
        b.screenX[u(i)] = boxes[0]->text();
        b.screenY[u(i)] = boxes[1]->text();
        b.surveyX[u(i)] = boxes[2]->text();
        b.surveyY[u(i)] = boxes[3]->text();
    }
    b.jumpX = jump_x->text();
    b.jumpY = jump_y->text();
    b.checkX = txtCheckX->text();
    b.checkY = txtCheckY->text();
    b.checkXpix = txtCheckXpix->text();
    b.checkYpix = txtCheckYpix->text();
    return b;
}

void Grid_Setup::setBoxTexts(const GridBoxTexts& b) {
    for (int i = 1; i <= 4; ++i) {
        const auto boxes = boxesOf(i);
        boxes[0]->setText(b.screenX[u(i)]);
        boxes[1]->setText(b.screenY[u(i)]);
        boxes[2]->setText(b.surveyX[u(i)]);
        boxes[3]->setText(b.surveyY[u(i)]);
    }
    jump_x->setText(b.jumpX);
    jump_y->setText(b.jumpY);
    txtCheckX->setText(b.checkX);
    txtCheckY->setText(b.checkY);
    txtCheckXpix->setText(b.checkXpix);
    txtCheckYpix->setText(b.checkYpix);
}

void Grid_Setup::setMarkersFromState() {
    setMarks(setupMarksOf(app_.state));
    shownGrid_ = activeGridNumber(app_.state);
}

void Grid_Setup::clearDrawing() {
    canvas_->clearDrawing();
    // Labels and map of an accuracy check belong to the grid before.
    chkAccuracyMap->hide();
    clear_accuracy_indicator();
}

void Grid_Setup::showGridReady() {
    showStateIcon(true);
    btnAccuracyCheck->setEnabled(true);
    btnAccuracyCheck->show();
    fmAccuracyDisplay->show();
    fmAccuracyConfig->setVisible(optAdvancedAccuracy->isChecked());
}

void Grid_Setup::showGridNotReady() {
    showStateIcon(false);
}

} // namespace zt
