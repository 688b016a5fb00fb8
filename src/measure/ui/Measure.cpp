#include "measure/ui/Measure.h"

#include "app/ClipCaption.h"
#include "app/FileUtils.h"
#include "app/KeyState.h"
#include "app/Paths.h"
#include "app/TextFormat.h"
#include "app/ui/AppContext.h"
#include "config/ConfigLogic.h"
#include "grid/GridPatches.h"
#include "grid/GridSaveLoad.h"
#include "measure/ExchangeFiles.h"
#include "measure/ui/DragGroup.h"
#include "measure/ui/MeasurePictures.h"
#include "measure/ui/PictureCanvas.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zt {

namespace {

const QString verifyOn = QStringLiteral("Verify");
const QString verifyOff = QStringLiteral("Verify off");

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* textBox(const QString& name, const QString& text = QString()) {
    auto* box = named(new QLineEdit(text), name);
    return box;
}

QToolButton* arrowButton(const QString& name, Qt::ArrowType arrow) {
    auto* b = named(new QToolButton, name);
    b->setArrowType(arrow);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

Measure::Measure(AppContext& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    setObjectName(QStringLiteral("Measure"));
    setWindowTitle(QStringLiteral("Measure"));
    keys_ = &applicationKeyState();
    pictures_ = std::make_unique<MeasurePictures>(*this, app);
    buildControls();
    buildMenus();
    connectHandlers();
    formLoad();
}

void Measure::buildControls() {
    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    canvas_ = named(new PictureCanvas, QStringLiteral("picture"));
    canvas_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(canvas_, 1);
    layout->addWidget(buildPanel());
    setCentralWidget(central);

    CanvasLine mark;
    mark.width = 2;
    mark.visible = false;
    lineHorizontal_ = canvas_->addLineObject(mark);
    lineVertical_ = canvas_->addLineObject(mark);
    lineSplash_ = canvas_->addLineObject(mark);

    maxbuoy = named(new QLabel(canvas_->surface()), QStringLiteral("maxbuoy"));
    minbuoy = named(new QLabel(canvas_->surface()), QStringLiteral("minbuoy"));
    maxbuoym = named(new QLabel(canvas_->surface()), QStringLiteral("maxbuoym"));
    minbuoym = named(new QLabel(canvas_->surface()), QStringLiteral("minbuoym"));
    buildFloatingGroups();

    keyTimer = named(new QTimer(this), QStringLiteral("keyTimer"));
    keyTimer->setInterval(100);
    loadTimer = named(new QTimer(this), QStringLiteral("loadTimer"));
    loadTimer->setInterval(1000);
    // The whole display, also where nothing maximizes windows.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    resize(area.size());
    move(area.topLeft());
    setWindowState(Qt::WindowMaximized);
}

QWidget* Measure::buildPanel() {
    auto* panel = new QWidget;
    panel->setFixedWidth(240);
    auto* v = new QVBoxLayout(panel);
    IWSFlabel =
        named(new QLabel(QStringLiteral("IWSF Official Distance")), QStringLiteral("IWSFlabel"));
    distance = textBox(QStringLiteral("distance"), QStringLiteral("M"));
    AWSAlabel =
        named(new QLabel(QStringLiteral("AWSA Official Distance")), QStringLiteral("AWSAlabel"));
    distance_ft = textBox(QStringLiteral("distance_ft"), QStringLiteral("FT"));
    barefoot_indicator = textBox(QStringLiteral("barefoot_indicator"));
    barefoot_indicator->hide();
    Skier_name = named(new QComboBox, QStringLiteral("Skier_name"));
    Skier_name->setEditable(true);
    Skier_name->setEditText(QStringLiteral("Skier Name"));
    Skier_name->installEventFilter(this);
    Jump_no = textBox(QStringLiteral("Jump_no"), QStringLiteral("Jump"));
    Set_grid = named(new QPushButton(measureGridCaption(1)), QStringLiteral("Set_grid"));
    Show_grid = named(new QPushButton(QStringLiteral("Show Grid")), QStringLiteral("Show_grid"));
    Unfreeze = named(new QPushButton(QStringLiteral("Clear")), QStringLiteral("Unfreeze"));
    Record = named(new QPushButton(QStringLiteral("Record &Jump")), QStringLiteral("Record"));
    btnNextJump =
        named(new QPushButton(QStringLiteral("Capture Next Jump")), QStringLiteral("btnNextJump"));
    for (QWidget* w : {static_cast<QWidget*>(IWSFlabel), static_cast<QWidget*>(distance),
                       static_cast<QWidget*>(AWSAlabel), static_cast<QWidget*>(distance_ft),
                       static_cast<QWidget*>(barefoot_indicator), static_cast<QWidget*>(Skier_name),
                       static_cast<QWidget*>(Jump_no), static_cast<QWidget*>(Set_grid),
                       static_cast<QWidget*>(Show_grid), static_cast<QWidget*>(Unfreeze),
                       static_cast<QWidget*>(Record), static_cast<QWidget*>(btnNextJump)})
        v->addWidget(w);

    Frame1 = named(new QGroupBox, QStringLiteral("Frame1"));
    auto* frameLayout = new QVBoxLayout(Frame1);
    optJumpOK = named(new QRadioButton(QStringLiteral("Jump OK")), QStringLiteral("optJumpOK"));
    Pass = named(new QRadioButton(QStringLiteral("Pass")), QStringLiteral("Pass"));
    Fall = named(new QRadioButton(QStringLiteral("Fall")), QStringLiteral("Fall"));
    resultGroup_ = new QButtonGroup(this);
    for (QRadioButton* r : {optJumpOK, Pass, Fall}) {
        frameLayout->addWidget(r);
        resultGroup_->addButton(r);
    }
    v->addWidget(Frame1);

    O_reride = named(new QRadioButton(QStringLiteral("Opt. reride")), QStringLiteral("O_reride"));
    M_Reride = named(new QRadioButton(QStringLiteral("Man. Reride")), QStringLiteral("M_Reride"));
    Other_Grid =
        named(new QRadioButton(QStringLiteral("Other Grid")), QStringLiteral("Other_Grid"));
    Make_comment =
        named(new QRadioButton(QStringLiteral("Comment")), QStringLiteral("Make_comment"));
    extraGroup_ = new QButtonGroup(this);
    for (QRadioButton* r : {O_reride, M_Reride, Other_Grid, Make_comment}) {
        v->addWidget(r);
        extraGroup_->addButton(r);
    }
    for (QRadioButton* r : {optJumpOK, Pass, Fall, O_reride, M_Reride, Other_Grid, Make_comment})
        r->installEventFilter(this); // arrow keys nudge the mark, not the choice

    Comment = textBox(QStringLiteral("Comment"));
    verify = named(new QPushButton(verifyOn), QStringLiteral("verify"));
    UnofficialJump =
        named(new QLabel(QStringLiteral("UNOFFICIAL JUMP")), QStringLiteral("UnofficialJump"));
    UnofficialJump->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    UnofficialJump->hide();
    cameraMoved = named(new QLabel, QStringLiteral("cameraMoved"));
    cameraMoved->setWordWrap(true);
    cameraMoved->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    cameraMoved->hide();
    xtwips = textBox(QStringLiteral("xtwips"));
    ytwips = textBox(QStringLiteral("ytwips"));
    xposition = textBox(QStringLiteral("xposition"));
    yposition = textBox(QStringLiteral("yposition"));
    VerifyDistance = textBox(QStringLiteral("VerifyDistance"));
    cbAutoLoadClipboard =
        named(new QCheckBox(QStringLiteral("Auto Load")), QStringLiteral("cbAutoLoadClipboard"));
    ClipSnapShot = named(new QPushButton(QStringLiteral("Clipboard Snapshot")),
                         QStringLiteral("ClipSnapShot"));
    ImgSnapShot =
        named(new QPushButton(QStringLiteral("Image Snapshot")), QStringLiteral("ImgSnapShot"));
    for (QWidget* w : {static_cast<QWidget*>(Comment), static_cast<QWidget*>(verify),
                       static_cast<QWidget*>(UnofficialJump), static_cast<QWidget*>(xtwips),
                       static_cast<QWidget*>(ytwips), static_cast<QWidget*>(xposition),
                       static_cast<QWidget*>(yposition), static_cast<QWidget*>(VerifyDistance),
                       static_cast<QWidget*>(cbAutoLoadClipboard),
                       static_cast<QWidget*>(ClipSnapShot), static_cast<QWidget*>(ImgSnapShot)})
        v->addWidget(w);
    v->insertWidget(v->indexOf(UnofficialJump) + 1, cameraMoved);
    v->addStretch(1);
    return panel;
}

void Measure::buildFloatingGroups() {
    QWidget* over = canvas_->viewport();
    CrossLabel = named(new QLabel(QStringLiteral("Adjust Cross Size (drag-it)"), over),
                       QStringLiteral("CrossLabel"));
    CrossSize = named(new QScrollBar(Qt::Horizontal, over), QStringLiteral("CrossSize"));
    CrossSize->setRange(15, 120);
    CrossSize->setSingleStep(15);
    CrossSize->setPageStep(15);
    CrossSize->setValue(100);
    CrossLabel->setGeometry(10, 10, 170, 18);
    CrossSize->setGeometry(10, 30, 170, 16);

    AdjustmentLabel = named(new QLabel(QStringLiteral("Micro-Adjust (drag-it)"), over),
                            QStringLiteral("AdjustmentLabel"));
    AdjustUp = arrowButton(QStringLiteral("AdjustUp"), Qt::UpArrow);
    AdjustDown = arrowButton(QStringLiteral("AdjustDown"), Qt::DownArrow);
    AdjustLeft = arrowButton(QStringLiteral("AdjustLeft"), Qt::LeftArrow);
    AdjustRight = arrowButton(QStringLiteral("AdjustRight"), Qt::RightArrow);
    AdjustmentLabel->setGeometry(10, 60, 150, 18);
    const QPoint arrowAt[4] = {{40, 80}, {40, 130}, {15, 105}, {65, 105}};
    QToolButton* arrows[4] = {AdjustUp, AdjustDown, AdjustLeft, AdjustRight};
    for (int i = 0; i < 4; ++i) {
        arrows[i]->setParent(over);
        arrows[i]->setGeometry(QRect(arrowAt[i], QSize(24, 24)));
    }

    gridlabel = named(new QLabel(QStringLiteral("Grid Description (drag-it)"), over),
                      QStringLiteral("gridlabel"));
    grid_description = named(new QLineEdit(over), QStringLiteral("grid_description"));
    gif_file_name = named(new QLineEdit(over), QStringLiteral("gif_file_name"));
    gridlabel->setGeometry(200, 10, 200, 18);
    grid_description->setGeometry(200, 30, 300, 22);
    gif_file_name->setGeometry(200, 54, 300, 22);
    gif_file_name->hide();

    FrozenSign = named(new QLabel(QStringLiteral("FROZEN"), over), QStringLiteral("FrozenSign"));
    // Bold through the font: a style sheet colour would hide the message
    // colour the configuration gives it.
    QFont frozenFont = FrozenSign->font();
    frozenFont.setBold(true);
    FrozenSign->setFont(frozenFont);
    FrozenSign->setGeometry(520, 10, 80, 20);

    buildViewTools();
    new DragGroup(CrossLabel, {CrossSize, btnLoupe});
    new DragGroup(AdjustmentLabel, {AdjustUp, AdjustDown, AdjustLeft, AdjustRight});
    new DragGroup(gridlabel, {grid_description, gif_file_name});
    new DragGroup(FrozenSign, {});
}

void Measure::buildMenus() {
    auto add = [this](const QString& text, const QString& name) {
        auto* a = named(new QAction(text, this), name);
        menuBar()->addAction(a);
        return a;
    };
    SavePict = add(QStringLiteral("&Save Picture"), QStringLiteral("SavePict"));
    LoadPict = add(QStringLiteral("&Load Picture"), QStringLiteral("LoadPict"));
    mnuPaste = add(QStringLiteral("&Paste"), QStringLiteral("mnuPaste"));
    mnuResults = add(QStringLiteral("&Results"), QStringLiteral("mnuResults"));
    mnuCalibrate = add(QStringLiteral("&Calibrate"), QStringLiteral("mnuCalibrate"));
    mnuCapture = add(QStringLiteral("C&apture Next Jump"), QStringLiteral("mnuCapture"));
    mnuViewLog = add(QStringLiteral("&View Log"), QStringLiteral("mnuViewLog"));
    Exit = add(QStringLiteral("E&xit"), QStringLiteral("Exit"));
}

void Measure::connectHandlers() {
    connect(canvas_, &PictureCanvas::mousePressed, this,
            [this](double x, double y, Qt::MouseButton) { Form_MouseDown(x, y); });
    connect(canvas_, &PictureCanvas::mouseMoved, this,
            [this](double x, double y, Qt::MouseButtons) { Form_MouseMove(x, y); });
    connect(AdjustUp, &QToolButton::clicked, this, &Measure::AdjustUp_Click);
    connect(AdjustDown, &QToolButton::clicked, this, &Measure::AdjustDown_Click);
    connect(AdjustLeft, &QToolButton::clicked, this, &Measure::AdjustLeft_Click);
    connect(AdjustRight, &QToolButton::clicked, this, &Measure::AdjustRight_Click);
    connect(keyTimer, &QTimer::timeout, this, &Measure::keyTimer_Timer);
    connect(Set_grid, &QPushButton::clicked, this, &Measure::Set_grid_Click);
    connect(Show_grid, &QPushButton::clicked, this, &Measure::Show_grid_Click);
    connect(verify, &QPushButton::clicked, this, &Measure::verify_Click);
    connect(Unfreeze, &QPushButton::clicked, this, &Measure::Unfreeze_Click);
    connect(Record, &QPushButton::clicked, this, &Measure::Record_Click);
    connect(Fall, &QRadioButton::clicked, this, &Measure::Fall_Click);
    connect(Pass, &QRadioButton::clicked, this, &Measure::Pass_Click);
    connect(Other_Grid, &QRadioButton::clicked, this, &Measure::Other_Grid_Click);
    connect(M_Reride, &QRadioButton::clicked, this, &Measure::M_Reride_Click);
    connect(O_reride, &QRadioButton::clicked, this, &Measure::O_reride_Click);
    connect(Make_comment, &QRadioButton::clicked, this, &Measure::Make_comment_Click);
    connect(Skier_name, &QComboBox::editTextChanged, this, &Measure::Skier_name_Change);
    connect(Skier_name, &QComboBox::activated, this, &Measure::Skier_name_Change);
    connect(CrossSize, &QScrollBar::valueChanged, this, [this] { show_the_grid(); });
    connect(Exit, &QAction::triggered, this, &Measure::Exit_Click);
    connect(mnuCapture, &QAction::triggered, this, &Measure::mnuCapture_Click);
    connect(mnuResults, &QAction::triggered, this, [this] { app_.showScreen(Screen::Results); });
    connect(mnuViewLog, &QAction::triggered, this, [this] { app_.openLogView(this); });
    connect(mnuCalibrate, &QAction::triggered, this,
            [this] { app_.showScreen(Screen::Calibrate); });
    connect(btnNextJump, &QPushButton::clicked, this, &Measure::btnNextJump_Click);
    connect(cbAutoLoadClipboard, &QCheckBox::toggled, this, &Measure::cbAutoLoadClipboard_Click);
    connect(loadTimer, &QTimer::timeout, this, &Measure::loadTimer_Timer);
    connect(SavePict, &QAction::triggered, this, &Measure::SavePict_Click);
    connect(LoadPict, &QAction::triggered, this, &Measure::LoadPict_Click);
    connect(mnuPaste, &QAction::triggered, this, &Measure::mnuPaste_Click);
    connect(ClipSnapShot, &QPushButton::clicked, this, &Measure::ClipSnapShot_Click);
    connect(ImgSnapShot, &QPushButton::clicked, this, &Measure::ImgSnapShot_Click);
}

void Measure::formLoad() {
    Set_grid->setVisible(app_.state.gridCount != 1);
    setRadio(optJumpOK, true);
    Comment->clear();
    mark_.lastMarkX = mark_.lastMarkY = 0;
    mark_.splashMarkX = mark_.splashMarkY = 0;
    for (QWidget* w : {static_cast<QWidget*>(grid_description), static_cast<QWidget*>(xtwips),
                       static_cast<QWidget*>(ytwips), static_cast<QWidget*>(xposition),
                       static_cast<QWidget*>(yposition), static_cast<QWidget*>(VerifyDistance),
                       static_cast<QWidget*>(FrozenSign)})
        w->hide();
    for (int id : {lineHorizontal_, lineVertical_, lineSplash_})
        canvas_->setLineColor(id, Qt::white);
}

// ---- Activation and focus ----

// The arrival (Form_Activate) is run by App at each hand-over, so that a
// screen on display already acts on it too. A window brought back from the
// task bar is no arrival: it keeps its picture (the frame file may have
// been saved and moved away).
void Measure::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
}

void Measure::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible())
        return;
    if (isActiveWindow())
        Form_GotFocus();
    else
        Form_LostFocus();
}

bool Measure::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isArrowKey(static_cast<QKeyEvent*>(event)->key()) &&
        qobject_cast<QRadioButton*>(watched))
        return true;
    if (event->type() == QEvent::FocusIn && watched == Skier_name)
        show_the_grid();
    return QMainWindow::eventFilter(watched, event);
}

void Measure::Form_Activate() {
    AppState& s = app_.state;
    Set_grid->setVisible(s.gridCount != 1);
    // Another screen may have made another grid active meanwhile.
    const int active = static_cast<int>(s.currentGrid);
    if (active >= 1 && active <= 3)
        Set_grid->setText(measureGridCaption(active));
    if (s.screenMode == QStringLiteral("SelectFrame")) {
        showHandedOverFrame();
        checkCamera(active);
    }
    show_the_grid();
    keyTimer->start();
    app_.log(QStringLiteral("Measure form Activated - picture loaded - ") +
             app_.paths().inApp(picture::captureFile));
}

void Measure::checkCamera(int grid) {
    const QString file =
        grid >= 1 && grid <= 3 ? app_.state.gridFileName[static_cast<size_t>(grid)] : QString();
    const vision::FrameCameraCheck c = vision::checkFrameForGrid(file, grid, canvas_->picture());
    cameraMoved->setText(c.warning);
    cameraMoved->setVisible(c.moved);
    if (!c.logLine.isEmpty())
        app_.log(c.logLine);
}

void Measure::Form_GotFocus() {
    show_the_grid();
    keyTimer->start();
}

void Measure::Form_LostFocus() {
    keyTimer->stop();
}

// ---- The landing mark ----

DistanceOptions Measure::distanceOptions() const {
    const AppState& s = app_.state;
    return {s.barefootJump, s.sitSkiJump, feetToTenths_};
}

bool Measure::drawMarkAt(double x, double y) {
    MarkState next = mark_;
    const auto lines = placeImpactMark(app_.state, next, x, y, CrossSize->value(),
                                       app_.state.rightToLeft, distanceOptions());
    if (!lines)
        return false;
    mark_ = next;
    showMarkLines(*lines);
    return true;
}

void Measure::showMarkLines(const ImpactMarkLines& lines) {
    const QColor color = colorOfBgr(app_.state.impactColor);
    const std::pair<int, Segment> all[] = {{lineHorizontal_, lines.horizontal},
                                           {lineVertical_, lines.vertical},
                                           {lineSplash_, lines.splash}};
    for (const auto& [id, seg] : all) {
        canvas_->setLine(id, seg.x1, seg.y1, seg.x2, seg.y2);
        canvas_->setLineColor(id, color);
        canvas_->setLineVisible(id, true);
    }
}

void Measure::DrawImpactMark() {
    canvas_->setDrawWidth(2);
    drawMarkAt(mark_.clickX, mark_.clickY);
}

void Measure::Form_MouseDown(double x, double y) {
    canvas_->setDrawWidth(2);
    if (!drawMarkAt(x, y))
        return; // the transform cannot be evaluated here: nothing changes
    changeFields(markStarted);
    showArrows(true);
}

void Measure::showArrows(bool visible) {
    for (QWidget* w : {static_cast<QWidget*>(AdjustUp), static_cast<QWidget*>(AdjustDown),
                       static_cast<QWidget*>(AdjustLeft), static_cast<QWidget*>(AdjustRight),
                       static_cast<QWidget*>(AdjustmentLabel)})
        w->setVisible(visible);
}

void Measure::nudge(NudgeDirection direction) {
    MarkState next = mark_;
    nudgeClick(next, direction);
    canvas_->setDrawWidth(2);
    drawMarkAt(next.clickX, next.clickY);
}

void Measure::AdjustUp_Click() {
    nudge(NudgeDirection::Up);
}
void Measure::AdjustDown_Click() {
    nudge(NudgeDirection::Down);
}
void Measure::AdjustLeft_Click() {
    nudge(NudgeDirection::Left);
}
void Measure::AdjustRight_Click() {
    nudge(NudgeDirection::Right);
}

void Measure::keyTimer_Timer() {
    for (const NudgeDirection direction : arrowNudges(*keys_))
        nudge(direction);
}

void Measure::Form_MouseMove(double x, double y) {
    showReadout(liveReadout(app_.state, x, y, distanceOptions()));
}

void Measure::showReadout(const std::optional<LiveReadout>& r) {
    xtwips->setText(r ? r->xtwips : QString());
    ytwips->setText(r ? r->ytwips : QString());
    xposition->setText(r ? r->xposition : QString());
    yposition->setText(r ? r->yposition : QString());
    VerifyDistance->setText(r ? r->verifyDistance : QString());
}

// ---- Grid overlay and switching ----

void Measure::show_the_grid() {
    const AppState& s = app_.state;
    canvas_->clearDrawing();
    canvas_->setDrawWidth(2);
    const QColor g =
        s.gridColorName == QStringLiteral("default") ? QColor(Qt::white) : colorOfBgr(s.gridColor);
    OverlayOptions options;
    options.crossSize = CrossSize->value();
    options.crossMarkers = s.buoyMarker == QStringLiteral("cross");
    options.boxLineOff = s.boxLineOff;
    const GridOverlay overlay = gridOverlay(s, options);
    canvas_->drawShapes(overlay.shapes, g);
    showBuoyLabels(overlay);
}

void Measure::showBuoyLabels(const GridOverlay& overlay) {
    const std::pair<QLabel*, OverlayLabel> labels[] = {{maxbuoy, overlay.maxbuoy},
                                                       {minbuoy, overlay.minbuoy},
                                                       {maxbuoym, overlay.maxbuoym},
                                                       {minbuoym, overlay.minbuoym}};
    for (const auto& [label, place] : labels) {
        label->setText(place.text);
        label->adjustSize();
        canvas_->pinToPicture(label, place.buoy.x(), place.buoy.y(),
                              QPointF(place.x, place.y) - place.buoy);
    }
}

void Measure::Show_grid_Click() {
    show_the_grid();
}

void Measure::Set_grid_Click() {
    const GridSwitch next =
        nextGridSwitch(activeGridNumber(app_.state), static_cast<int>(app_.state.gridCount));
    Set_grid->setText(next.caption);
    canvas_->clearDrawing();
    for (QLabel* l : {maxbuoy, minbuoy, maxbuoym, minbuoym})
        l->clear();
    activateGrid(app_.state, next.grid);
    show_the_grid();
}

void Measure::verify_Click() {
    verifyMode_ = !verifyMode_;
    for (QWidget* w : {static_cast<QWidget*>(xtwips), static_cast<QWidget*>(ytwips),
                       static_cast<QWidget*>(xposition), static_cast<QWidget*>(yposition),
                       static_cast<QWidget*>(VerifyDistance)})
        w->setVisible(verifyMode_);
    verify->setText(verifyMode_ ? verifyOff : verifyOn);
    UnofficialJump->setVisible(verifyMode_);
}

// ---- Values handed over by other screens ----

void Measure::setSkierNames(const QStringList& names) {
    Skier_name->clear();
    Skier_name->addItems(names);
}

void Measure::setGridDescription(const QString& text) {
    grid_description->setText(text);
}

void Measure::showTournamentIndicator(const QString& text, bool visible) {
    if (visible)
        barefoot_indicator->setText(text);
    barefoot_indicator->setVisible(visible);
    feetToTenths_ = visible;
}

void Measure::applyMessageColor(std::optional<long> rgb) {
    QWidget* const controls[] = {Make_comment,    Other_Grid, Fall,       Pass,      optJumpOK,
                                 M_Reride,        O_reride,   FrozenSign, IWSFlabel, AWSAlabel,
                                 AdjustmentLabel, CrossLabel, maxbuoy,    maxbuoym,  minbuoy,
                                 minbuoym};
    for (const ColoredControl& c : messageColorControls()) {
        // The controls carry the names the colour table gives them.
        const auto named =
            std::find_if(std::begin(controls), std::end(controls),
                         [&](const QWidget* w) { return w->objectName() == c.name; });
        if (named == std::end(controls))
            continue;
        QWidget* widget = *named;
        const QColor color = colorOfRgbNumber(rgb.value_or(c.defaultColor));
        QPalette pal = widget->palette();
        pal.setColor(QPalette::WindowText, color);
        pal.setColor(QPalette::ButtonText, color);
        pal.setColor(QPalette::Text, color);
        widget->setPalette(pal);
    }
}

void Measure::setSkierName(const QString& skierName) {
    Skier_name->setEditText(skierName);
}

void Measure::setJumpNumber(const QString& jumpNumber) {
    Jump_no->setText(jumpNumber);
}

void Measure::hideUnofficialJump() {
    UnofficialJump->hide();
}

void Measure::showGridGeometry() {
    OverlayOptions options;
    options.crossSize = CrossSize->value();
    showBuoyLabels(gridOverlay(app_.state, options));
}

void Measure::drawCalibrationLine(const CalibrationSegment& line, bool erase) {
    canvas_->drawLine(line.x1, line.y1, line.x2, line.y2,
                      erase ? QColor(255, 0, 255) : QColor(Qt::white));
}

bool Measure::showLoggedPicture(const QString& path) {
    return pictures_->showLoggedPicture(path);
}

// ---- Fields ----

MeasureFields Measure::fields() const {
    MeasureFields f;
    f.distance = distance->text();
    f.distanceFt = distance_ft->text();
    f.skierName = Skier_name->currentText();
    f.jumpNo = Jump_no->text();
    f.comment = Comment->text();
    f.commentVisible = commentVisible_;
    f.jumpOK = optJumpOK->isChecked();
    f.pass = Pass->isChecked();
    f.fall = Fall->isChecked();
    f.oReride = O_reride->isChecked();
    f.mReride = M_Reride->isChecked();
    f.otherGrid = Other_Grid->isChecked();
    f.makeComment = Make_comment->isChecked();
    f.verifyMode = verifyMode_;
    f.pictureFrozen = pictureFrozen_;
    f.feetToTenths = feetToTenths_;
    return f;
}

void Measure::setRadio(QRadioButton* button, bool on) {
    if (button->isChecked() == on)
        return;
    QButtonGroup* group = button->group();
    // An exclusive group cannot switch its last choice off.
    if (group)
        group->setExclusive(false);
    button->setChecked(on);
    if (group)
        group->setExclusive(true);
}

void Measure::showFields(const MeasureFields& f) {
    const QSignalBlocker block(Skier_name);
    distance->setText(f.distance);
    distance_ft->setText(f.distanceFt);
    if (Skier_name->currentText() != f.skierName)
        Skier_name->setEditText(f.skierName);
    Jump_no->setText(f.jumpNo);
    Comment->setText(f.comment);
    commentVisible_ = f.commentVisible;
    Comment->setVisible(commentVisible_);
    // Switch off before on, so an exclusive group never holds two.
    const std::pair<QRadioButton*, bool> radios[] = {
        {optJumpOK, f.jumpOK},        {Pass, f.pass},        {Fall, f.fall},
        {O_reride, f.oReride},        {M_Reride, f.mReride}, {Other_Grid, f.otherGrid},
        {Make_comment, f.makeComment}};
    for (const auto& [button, on] : radios)
        if (!on)
            setRadio(button, false);
    for (const auto& [button, on] : radios)
        if (on)
            setRadio(button, true);
    pictureFrozen_ = f.pictureFrozen;
}

MeasureEnvironment Measure::environment() {
    return {app_.dialogs(), app_.clock(),
            recordSettingsOf(app_.state, app_.settings(), app_.paths().exchangeDir, feetToTenths_),
            app_.paths().appDir};
}

// ---- Recording ----

void Measure::changeFields(const std::function<void(MeasureFields&)>& change) {
    MeasureFields f = fields();
    change(f);
    showFields(f);
}

void Measure::Record_Click() {
    changeFields([&](MeasureFields& f) {
        recordOnScreen(f, app_.state, mark_, lastDistanceText_, environment());
    });
}

void Measure::Fall_Click() {
    changeFields(fallClicked);
}

void Measure::Pass_Click() {
    changeFields(passClicked);
}

void Measure::Other_Grid_Click() {
    changeFields(otherGridClicked);
}

void Measure::M_Reride_Click() {
    changeFields([&](MeasureFields& f) { manualRerideClicked(f, environment()); });
}

void Measure::O_reride_Click() {
    changeFields([&](MeasureFields& f) { optionalRerideClicked(f, environment()); });
}

void Measure::Make_comment_Click() {
    changeFields([&](MeasureFields& f) { makeCommentClicked(f, environment()); });
}

void Measure::Skier_name_Change() {
    changeFields(skierChanged);
}

// ---- Clear and leaving ----

void Measure::Unfreeze_Click() {
    for (int id : {lineHorizontal_, lineVertical_, lineSplash_})
        canvas_->setLineVisible(id, false);
    mark_.placed = false;
    changeFields(clearFields);
    FrozenSign->hide();
    gif_file_name->hide();
    showArrows(false);
    canvas_->setDrawWidth(2);
    canvas_->clearPicture();
    setWindowTitle(measureTitle({}));
    pictures_->cleared();
    show_the_grid();
    deleteExchangePictures(app_.paths().exchangeDir);
}

bool Measure::applyPictureSavingPolicy(LeaveBy by) {
    return pictures_->beforeLeaving(by);
}

bool Measure::leaveScreen(LeaveBy by) {
    if (!applyPictureSavingPolicy(by))
        return false;
    Unfreeze_Click();
    hide();
    keyTimer->stop();
    return true;
}

void Measure::Exit_Click() {
    if (!leaveScreen(LeaveBy::Exit))
        return;
    app_.state.screenMode.clear();
    for (QLabel* l : {minbuoy, maxbuoy, minbuoym, maxbuoym})
        l->clear();
    grid_description->hide();
    app_.showScreen(Screen::Main);
}

void Measure::closeEvent(QCloseEvent* event) {
    event->ignore();
    Exit_Click();
}

void Measure::mnuCapture_Click() {
    if (!leaveScreen(LeaveBy::NextJump))
        return;
    app_.state.screenMode = QStringLiteral("Measure");
    app_.state.previewActive = true;
    app_.showScreen(Screen::Capture);
}

void Measure::btnNextJump_Click() {
    mnuCapture_Click();
}

// ---- Pictures (measure/ui/MeasurePictures) ----

const ShownPicture& Measure::shownPicture() const {
    return pictures_->shown();
}

void Measure::LoadPict_Click() {
    pictures_->loadPicture();
}

void Measure::SavePict_Click() {
    pictures_->savePicture();
}

void Measure::mnuPaste_Click() {
    pictures_->paste();
}

void Measure::ClipSnapShot_Click() {
    pictures_->clipboardSnapshot();
}

void Measure::ImgSnapShot_Click() {
    pictures_->fileSnapshot();
}

void Measure::cbAutoLoadClipboard_Click() {
    if (cbAutoLoadClipboard->isChecked())
        loadTimer->start(1000);
    else
        loadTimer->stop();
}

void Measure::loadTimer_Timer() {
    pictures_->autoLoadTick();
}

} // namespace zt
