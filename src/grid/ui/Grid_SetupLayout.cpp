// The grid setup screen's controls and where they sit: the picture on the
// left, the boxes and commands in a panel on the right, the draggable tool
// groups floating over the picture area's right side.

#include "app/ui/AppContext.h"
#include "app/ui/Widgets.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/DragGroup.h"
#include "measure/ui/PictureCanvas.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace zt {

namespace {

constexpr int panelWidth = 430;
constexpr int toolWidth = 180;

QLineEdit* box(QWidget* parent, const char* name, const QString& text = QString()) {
    auto* b = ui::edit(parent, name, text);
    b->setMinimumWidth(64);
    return b;
}

QRadioButton* option(QWidget* parent, const char* name, const QString& caption) {
    return ui::named(new QRadioButton(caption, parent), name);
}

QToolButton* arrow(QWidget* parent, const char* name, Qt::ArrowType type) {
    auto* b = ui::named(new QToolButton(parent), name);
    b->setArrowType(type);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    return b;
}

} // namespace

void Grid_Setup::buildControls() {
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(4, 4, 4, 4);
    canvas_ = ui::named(new PictureCanvas(central), "picture");
    canvas_->setFocusPolicy(Qt::NoFocus);
    row->addWidget(canvas_, 1);
    auto* scroll = new QScrollArea(central);
    scroll->setWidget(buildPanel());
    scroll->setWidgetResizable(true);
    scroll->setFixedWidth(panelWidth);
    scroll->setFrameShape(QFrame::NoFrame);
    row->addWidget(scroll);
    setCentralWidget(central);
    buildToolGroups();
    buildAccuracyLabels();
    keyTimer = ui::named(new QTimer(this), "keyTimer");
    keyTimer->setInterval(100);
}

QWidget* Grid_Setup::buildPanel() {
    auto* panel = new QWidget;
    auto* v = new QVBoxLayout(panel);
    auto* top = new QHBoxLayout;
    grid_select = ui::button(panel, "grid_select", QStringLiteral("Grid 1"));
    grid_state_icon = ui::label(panel, "grid_state_icon", QString());
    Load = ui::button(panel, "Load", QStringLiteral("Complete"));
    show_alignment = ui::button(panel, "show_alignment", QStringLiteral("Draw Buoys"));
    top->addWidget(grid_select);
    top->addWidget(grid_state_icon);
    top->addStretch();
    top->addWidget(show_alignment);
    top->addWidget(Load);
    v->addLayout(top);
    v->addWidget(buildPointOptions(panel));
    v->addWidget(buildBoxes(panel));
    v->addWidget(buildAccuracyControls(panel));
    v->addStretch();
    return panel;
}

QWidget* Grid_Setup::buildPointOptions(QWidget* parent) {
    fmPointSelection = ui::named(new QGroupBox(QStringLiteral("Grid Point Selection"), parent),
                                 "fmPointSelection");
    auto* g = new QGridLayout(fmPointSelection);
    upper_left_button = option(fmPointSelection, "upper_left_button", QStringLiteral("upper left"));
    upper_right_button =
        option(fmPointSelection, "upper_right_button", QStringLiteral("upper right"));
    lower_left_button = option(fmPointSelection, "lower_left_button", QStringLiteral("lower left"));
    lower_right_button =
        option(fmPointSelection, "lower_right_button", QStringLiteral("lower right"));
    optCheckBuoy = option(fmPointSelection, "optCheckBuoy", QStringLiteral("Check Buoy"));
    chkboxGridLock =
        ui::checkBox(fmPointSelection, "chkboxGridLock", QStringLiteral("Lock Grid Buoys"));
    g->addWidget(upper_left_button, 0, 0);
    g->addWidget(upper_right_button, 0, 1);
    g->addWidget(lower_left_button, 1, 0);
    g->addWidget(lower_right_button, 1, 1);
    g->addWidget(optCheckBuoy, 2, 0);
    g->addWidget(chkboxGridLock, 2, 1);
    return fmPointSelection;
}

QWidget* Grid_Setup::buildBoxes(QWidget* parent) {
    auto* frame = new QWidget(parent);
    auto* g = new QGridLayout(frame);
    g->setContentsMargins(0, 0, 0, 0);
    const QString input = QStringLiteral("input"), autoText = QStringLiteral("auto");
    ul_survey_x = box(frame, "ul_survey_x", input), ul_survey_y = box(frame, "ul_survey_y", input);
    ur_survey_x = box(frame, "ur_survey_x", input), ur_survey_y = box(frame, "ur_survey_y", input);
    ll_survey_x = box(frame, "ll_survey_x", input), ll_survey_y = box(frame, "ll_survey_y", input);
    lr_survey_x = box(frame, "lr_survey_x", input), lr_survey_y = box(frame, "lr_survey_y", input);
    upper_left_x = box(frame, "upper_left_x", autoText);
    upper_left_y = box(frame, "upper_left_y", autoText);
    upper_right_x = box(frame, "upper_right_x", autoText);
    upper_right_y = box(frame, "upper_right_y", autoText);
    lower_left_x = box(frame, "lower_left_x", autoText);
    lower_left_y = box(frame, "lower_left_y", autoText);
    lower_right_x = box(frame, "lower_right_x", autoText);
    lower_right_y = box(frame, "lower_right_y", autoText);
    jump_x = box(frame, "jump_x", QStringLiteral("jump x"));
    jump_y = box(frame, "jump_y", QStringLiteral("jump y"));
    txtCheckX = box(frame, "txtCheckX", QStringLiteral("CheckX"));
    txtCheckY = box(frame, "txtCheckY", QStringLiteral("CheckY"));
    txtCheckXpix = box(frame, "txtCheckXpix");
    txtCheckYpix = box(frame, "txtCheckYpix");
    const QStringList heads = {QString(), QStringLiteral("Picture x"), QStringLiteral("Picture y"),
                               QStringLiteral("Survey X (m)"), QStringLiteral("Survey Y (m)")};
    for (int c = 0; c < heads.size(); ++c)
        g->addWidget(new QLabel(heads[c], frame), 0, c);
    const QStringList rowNames = {QStringLiteral("Upper left"), QStringLiteral("Upper right"),
                                  QStringLiteral("Lower left"), QStringLiteral("Lower right")};
    const int buoyOfRow[] = {3, 1, 4, 2};
    for (int row = 0; row < 4; ++row) {
        g->addWidget(new QLabel(rowNames[row], frame), row + 1, 0);
        int col = 1;
        for (QLineEdit* b : boxesOf(buoyOfRow[row]))
            g->addWidget(b, row + 1, col++);
    }
    g->addWidget(new QLabel(QStringLiteral("Check buoy"), frame), 5, 0);
    g->addWidget(txtCheckXpix, 5, 1);
    g->addWidget(txtCheckYpix, 5, 2);
    g->addWidget(txtCheckX, 5, 3);
    g->addWidget(txtCheckY, 5, 4);
    g->addWidget(new QLabel(QStringLiteral("Jump point"), frame), 6, 0);
    g->addWidget(jump_x, 6, 3);
    g->addWidget(jump_y, 6, 4);
    ipt_file_description = box(frame, "ipt_file_description", QStringLiteral("No File"));
    ipt_file_description_2 = box(frame, "ipt_file_description_2");
    txtPicWidth = box(frame, "txtPicWidth");
    txtPicHeight = box(frame, "txtPicHeight");
    g->addWidget(new QLabel(QStringLiteral("File"), frame), 7, 0);
    g->addWidget(ipt_file_description, 7, 1, 1, 4);
    g->addWidget(new QLabel(QStringLiteral("Description"), frame), 8, 0);
    g->addWidget(ipt_file_description_2, 8, 1, 1, 4);
    g->addWidget(new QLabel(QStringLiteral("Picture (twips)"), frame), 9, 0);
    g->addWidget(txtPicWidth, 9, 1, 1, 2);
    g->addWidget(txtPicHeight, 9, 3, 1, 2);
    return frame;
}

QWidget* Grid_Setup::buildAccuracyControls(QWidget* parent) {
    auto* frame = new QWidget(parent);
    auto* g = new QGridLayout(frame);
    g->setContentsMargins(0, 0, 0, 0);
    btnAccuracyCheck = ui::button(frame, "btnAccuracyCheck", QStringLiteral("Accuracy"));
    fmAccuracyDisplay =
        ui::named(new QGroupBox(QStringLiteral("Accuracy "), frame), "fmAccuracyDisplay");
    auto* modes = new QVBoxLayout(fmAccuracyDisplay);
    optStandardAccuracy =
        option(fmAccuracyDisplay, "optStandardAccuracy", QStringLiteral("Standard"));
    optAdvancedAccuracy =
        option(fmAccuracyDisplay, "optAdvancedAccuracy", QStringLiteral("Advanced"));
    modes->addWidget(optStandardAccuracy);
    modes->addWidget(optAdvancedAccuracy);
    fmAccuracyConfig =
        ui::named(new QGroupBox(QStringLiteral("Display"), frame), "fmAccuracyConfig");
    auto* shows = new QVBoxLayout(fmAccuracyConfig);
    optDisplayDistance = option(fmAccuracyConfig, "optDisplayDistance", QStringLiteral("Distance"));
    optDetailMeasurement =
        option(fmAccuracyConfig, "optDetailMeasurement", QStringLiteral("Detail "));
    optHomolgationLevel =
        option(fmAccuracyConfig, "optHomolgationLevel", QStringLiteral("Hom.Lvl"));
    for (QRadioButton* r : {optDisplayDistance, optDetailMeasurement, optHomolgationLevel})
        shows->addWidget(r);
    chkAccuracyMap = ui::checkBox(frame, "chkAccuracyMap", QStringLiteral("Show accuracy map"));
    g->addWidget(btnAccuracyCheck, 0, 0);
    g->addWidget(chkAccuracyMap, 0, 1);
    g->addWidget(fmAccuracyDisplay, 1, 0);
    g->addWidget(fmAccuracyConfig, 1, 1);
    return frame;
}

void Grid_Setup::buildToolGroups() {
    QWidget* over = canvas_->viewport();
    CrossSizeLabel =
        ui::label(over, "CrossSizeLabel", QStringLiteral("Marker Icon Size (drag-it)"));
    Setup_Cross_size = ui::named(new QScrollBar(Qt::Horizontal, over), "Setup_Cross_size");
    Setup_Cross_size->setRange(15, 150);
    Setup_Cross_size->setSingleStep(15);
    Setup_Cross_size->setPageStep(15);
    Setup_Cross_size->setValue(60);
    AdjustmentLabel = ui::label(over, "AdjustmentLabel", QStringLiteral("Micro-Adjust (drag-it)"));
    AdjustUp = arrow(over, "AdjustUp", Qt::UpArrow);
    AdjustDown = arrow(over, "AdjustDown", Qt::DownArrow);
    AdjustLeft = arrow(over, "AdjustLeft", Qt::LeftArrow);
    AdjustRight = arrow(over, "AdjustRight", Qt::RightArrow);
    gridLockedLabel = ui::label(over, "gridLockedLabel", QStringLiteral("GRID LOCKED!"));
    gridLockedLabel->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    lblGridDragIt = ui::label(over, "lblGridDragIt", QStringLiteral("(drag-it)"));
    for (QLabel* l : {CrossSizeLabel, AdjustmentLabel, gridLockedLabel, lblGridDragIt}) {
        l->setAutoFillBackground(true);
        l->setCursor(Qt::SizeAllCursor);
        l->installEventFilter(this);
    }
    new DragGroup(CrossSizeLabel, {Setup_Cross_size});
    new DragGroup(AdjustmentLabel, {AdjustUp, AdjustDown, AdjustLeft, AdjustRight});
    new DragGroup(gridLockedLabel, {lblGridDragIt});
    new DragGroup(lblGridDragIt, {gridLockedLabel});
    lblCB = ui::label(canvas_->surface(), "lblCB", QStringLiteral("<-Check Buoy Should Be Here"));
    lblCB->setStyleSheet(QStringLiteral("color: white; background: rgba(0,0,0,120)"));
}

// At the picture area's right side; below the fitted picture when the
// window leaves room there, so that they cover none of it.
void Grid_Setup::placeToolGroups() {
    if (toolsDragged_)
        return;
    constexpr int toolsHeight = 214;
    const QSize seen = canvas_->viewport()->size();
    const QSize picture = canvas_->picture().size();
    const int fitted = static_cast<int>(picture.height() * PictureView::fitScale(picture, seen));
    const int x = qMax(8, seen.width() - toolWidth - 8);
    const int y = seen.height() - fitted - 8 >= toolsHeight + 8 ? fitted + 8 : 0;
    CrossSizeLabel->setGeometry(x, y + 8, toolWidth, 20);
    Setup_Cross_size->setGeometry(x, y + 30, toolWidth, 18);
    AdjustmentLabel->setGeometry(x, y + 60, toolWidth, 20);
    const int mid = x + toolWidth / 2 - 12;
    AdjustUp->setGeometry(mid, y + 84, 24, 24);
    AdjustLeft->setGeometry(mid - 26, y + 110, 24, 24);
    AdjustRight->setGeometry(mid + 26, y + 110, 24, 24);
    AdjustDown->setGeometry(mid, y + 136, 24, 24);
    gridLockedLabel->setGeometry(x, y + 172, toolWidth, 20);
    lblGridDragIt->setGeometry(x, y + 194, toolWidth, 20);
}

void Grid_Setup::buildAccuracyLabels() {
    QWidget* surface = canvas_->surface();
    for (size_t i = 0; i < LineLabel.size(); ++i) {
        LineLabel[i] = new QLabel(QString::number(i + 1), surface);
        LineLabel[i]->setObjectName(QStringLiteral("LineLabel_%1").arg(i));
        LineLabel[i]->hide();
    }
    for (size_t i = 0; i < AccuracyIndicator.size(); ++i) {
        AccuracyIndicator[i] = new QLabel(surface);
        AccuracyIndicator[i]->setObjectName(QStringLiteral("AccuracyIndicator_%1").arg(i));
        AccuracyIndicator[i]->hide();
    }
}

void Grid_Setup::buildMenus() {
    mnuSetupPicture = menuBar()->addMenu(QStringLiteral("Setup &Picture"));
    mnuSetupPicture->setObjectName(QStringLiteral("mnuSetupPicture"));
    mnuLoadPicture =
        ui::named(mnuSetupPicture->addAction(QStringLiteral("Load &Picture")), "mnuLoadPicture");
    mnuClearPicture =
        ui::named(mnuSetupPicture->addAction(QStringLiteral("&Clear Picture")), "mnuClearPicture");
    mnuPaste =
        ui::named(mnuSetupPicture->addAction(QStringLiteral("P&aste from Clipboard")), "mnuPaste");
    mnuMeasurePic = ui::named(mnuSetupPicture->addAction(QStringLiteral("Paste from &Measure")),
                              "mnuMeasurePic");
    mnuFindBuoys =
        ui::named(mnuSetupPicture->addAction(QStringLiteral("&Find Buoys")), "mnuFindBuoys");
    gridLoad = ui::menuCommand(menuBar(), "gridLoad", QStringLiteral("&Load File"));
    gridSave = ui::menuCommand(menuBar(), "gridSave", QStringLiteral("&Save"));
    mnuCalibrate = ui::menuCommand(menuBar(), "mnuCalibrate", QStringLiteral("&Calibrate"));
    gridExit = ui::menuCommand(menuBar(), "gridExit", QStringLiteral("E&xit"));
}

std::array<QLineEdit*, 4> Grid_Setup::boxesOf(int buoy) const {
    switch (buoy) {
    case 1:
        return {upper_right_x, upper_right_y, ur_survey_x, ur_survey_y};
    case 2:
        return {lower_right_x, lower_right_y, lr_survey_x, lr_survey_y};
    case 3:
        return {upper_left_x, upper_left_y, ul_survey_x, ul_survey_y};
    default:
        return {lower_left_x, lower_left_y, ll_survey_x, ll_survey_y};
    }
}

void Grid_Setup::connectHandlers() {
    for (int buoy = 1; buoy <= 4; ++buoy) {
        const auto b = boxesOf(buoy);
        const std::pair<QLineEdit*, SetupBox> kinds[] = {{b[0], SetupBox::Other},
                                                         {b[1], SetupBox::Other},
                                                         {b[2], SetupBox::SurveyX},
                                                         {b[3], SetupBox::SurveyY}};
        for (const auto& [edit, kind] : kinds)
            connect(edit, &QLineEdit::textChanged, this,
                    [this, kind, buoy](const QString& t) { valueEdited(kind, buoy, t); });
    }
    const std::pair<QLineEdit*, SetupBox> others[] = {
        {jump_x, SetupBox::JumpX},           {jump_y, SetupBox::JumpY},
        {txtCheckX, SetupBox::CheckSurveyX}, {txtCheckY, SetupBox::CheckSurveyY},
        {txtCheckXpix, SetupBox::Other},     {txtCheckYpix, SetupBox::Other}};
    for (const auto& [edit, kind] : others)
        connect(edit, &QLineEdit::textChanged, this,
                [this, kind](const QString& t) { valueEdited(kind, 0, t); });
    connect(txtPicWidth, &QLineEdit::textChanged, this,
            [this](const QString& t) { app_.state.pictureWidthText = t; });
    connect(txtPicHeight, &QLineEdit::textChanged, this,
            [this](const QString& t) { app_.state.pictureHeightText = t; });
    connect(canvas_, &PictureCanvas::mousePressed, this,
            [this](double x, double y) { Form_MouseDown(x, y); });
    connect(canvas_, &PictureCanvas::viewChanged, this, &Grid_Setup::placeToolGroups);
    for (QRadioButton* r : {upper_left_button, upper_right_button, lower_left_button,
                            lower_right_button, optCheckBuoy})
        connect(r, &QRadioButton::clicked, this, &Grid_Setup::pointOption_Click);
    connect(chkboxGridLock, &QCheckBox::clicked, this, &Grid_Setup::chkboxGridLock_Click);
    connect(AdjustUp, &QToolButton::clicked, this, &Grid_Setup::AdjustUp_Click);
    connect(AdjustDown, &QToolButton::clicked, this, &Grid_Setup::AdjustDown_Click);
    connect(AdjustLeft, &QToolButton::clicked, this, &Grid_Setup::AdjustLeft_Click);
    connect(AdjustRight, &QToolButton::clicked, this, &Grid_Setup::AdjustRight_Click);
    connect(keyTimer, &QTimer::timeout, this, &Grid_Setup::keyTimer_Timer);
    connect(Setup_Cross_size, &QScrollBar::valueChanged, this,
            &Grid_Setup::Setup_Cross_size_Change);
    connect(show_alignment, &QPushButton::clicked, this, &Grid_Setup::show_alignment_Click);
    connect(Load, &QPushButton::clicked, this, &Grid_Setup::Load_Click);
    connect(grid_select, &QPushButton::clicked, this, &Grid_Setup::grid_select_Click);
    connect(btnAccuracyCheck, &QPushButton::clicked, this, &Grid_Setup::btnAccuracyCheck_Click);
    connect(optStandardAccuracy, &QRadioButton::clicked, this,
            &Grid_Setup::optStandardAccuracy_Click);
    connect(optAdvancedAccuracy, &QRadioButton::clicked, this,
            &Grid_Setup::optAdvancedAccuracy_Click);
    connect(chkAccuracyMap, &QCheckBox::clicked, this, &Grid_Setup::chkAccuracyMap_Click);
    connect(mnuLoadPicture, &QAction::triggered, this, &Grid_Setup::mnuLoadPicture_Click);
    connect(mnuClearPicture, &QAction::triggered, this, &Grid_Setup::mnuClearPicture_Click);
    connect(mnuPaste, &QAction::triggered, this, &Grid_Setup::mnuPaste_Click);
    connect(mnuMeasurePic, &QAction::triggered, this, &Grid_Setup::mnuMeasurePic_Click);
    connect(mnuFindBuoys, &QAction::triggered, this, &Grid_Setup::mnuFindBuoys_Click);
    connect(mnuCalibrate, &QAction::triggered, this, &Grid_Setup::mnuCalibrate_Click);
    connect(gridLoad, &QAction::triggered, this, &Grid_Setup::gridLoad_Click);
    connect(gridSave, &QAction::triggered, this, &Grid_Setup::gridSave_Click);
    connect(gridExit, &QAction::triggered, this, &Grid_Setup::gridExit_Click);
}

} // namespace zt
