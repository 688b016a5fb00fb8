#include "grid/ui/Grid_Setup.h"

#include "app/ui/App.h"
#include "app/ui/PictureLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace zt {

namespace {

size_t u(int i) {
    return static_cast<size_t>(i);
}

QLineEdit* box(QWidget* parent, const char* name, const QString& text = QString()) {
    auto* b = new QLineEdit(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

Grid_Setup::Grid_Setup(App& app) : app_(app) {
    setObjectName(QStringLiteral("Grid_Setup"));
    setWindowTitle(QStringLiteral("Grid Setup"));
    buildBoxes();
    buildMenus();

    // Opening: the grid of currentGrid, nothing marked, not ready.
    setGridButtonCaption(gridCaption(activeGridNumber(app_.state)));
    showStateIcon(false);
    btnAccuracyCheck->hide();
    fmAccuracyDisplay->hide();
    txtPicWidth->setText(QStringLiteral("12000"));
    txtPicHeight->setText(QStringLiteral("9000"));
    app_.state.gridsReady = 0;
}

void Grid_Setup::buildBoxes() {
    auto* central = new QWidget(this);
    auto* layout = new QGridLayout(central);
    const QString input = QStringLiteral("input");
    const QString autoText = QStringLiteral("auto");
    ul_survey_x = box(central, "ul_survey_x", input);
    ul_survey_y = box(central, "ul_survey_y", input);
    ur_survey_x = box(central, "ur_survey_x", input);
    ur_survey_y = box(central, "ur_survey_y", input);
    ll_survey_x = box(central, "ll_survey_x", input);
    ll_survey_y = box(central, "ll_survey_y", input);
    lr_survey_x = box(central, "lr_survey_x", input);
    lr_survey_y = box(central, "lr_survey_y", input);
    upper_left_x = box(central, "upper_left_x", autoText);
    upper_left_y = box(central, "upper_left_y", autoText);
    upper_right_x = box(central, "upper_right_x", autoText);
    upper_right_y = box(central, "upper_right_y", autoText);
    lower_left_x = box(central, "lower_left_x", autoText);
    lower_left_y = box(central, "lower_left_y", autoText);
    lower_right_x = box(central, "lower_right_x", autoText);
    lower_right_y = box(central, "lower_right_y", autoText);
    jump_x = box(central, "jump_x", QStringLiteral("jump x"));
    jump_y = box(central, "jump_y", QStringLiteral("jump y"));
    txtCheckX = box(central, "txtCheckX", QStringLiteral("CheckX"));
    txtCheckY = box(central, "txtCheckY", QStringLiteral("CheckY"));
    txtCheckXpix = box(central, "txtCheckXpix");
    txtCheckYpix = box(central, "txtCheckYpix");
    ipt_file_description = box(central, "ipt_file_description", QStringLiteral("No File"));
    ipt_file_description_2 = box(central, "ipt_file_description_2");
    txtPicWidth = box(central, "txtPicWidth");
    txtPicHeight = box(central, "txtPicHeight");

    const QStringList rowNames = {QStringLiteral("upper left"), QStringLiteral("upper right"),
                                  QStringLiteral("lower left"), QStringLiteral("lower right")};
    const int buoyOfRow[] = {3, 1, 4, 2};
    for (int row = 0; row < 4; ++row) {
        layout->addWidget(new QLabel(rowNames[row], central), row, 0);
        int col = 1;
        for (QLineEdit* b : boxesOf(buoyOfRow[row]))
            layout->addWidget(b, row, col++);
    }
    layout->addWidget(new QLabel(QStringLiteral("Jump"), central), 4, 0);
    layout->addWidget(jump_x, 4, 3);
    layout->addWidget(jump_y, 4, 4);
    layout->addWidget(new QLabel(QStringLiteral("Check Buoy"), central), 5, 0);
    layout->addWidget(txtCheckXpix, 5, 1);
    layout->addWidget(txtCheckYpix, 5, 2);
    layout->addWidget(txtCheckX, 5, 3);
    layout->addWidget(txtCheckY, 5, 4);
    layout->addWidget(ipt_file_description, 6, 0, 1, 3);
    layout->addWidget(ipt_file_description_2, 6, 3, 1, 2);
    layout->addWidget(txtPicWidth, 7, 1);
    layout->addWidget(txtPicHeight, 7, 2);

    grid_select = new QPushButton(central);
    grid_select->setObjectName(QStringLiteral("grid_select"));
    grid_state_icon = new QLabel(central);
    grid_state_icon->setObjectName(QStringLiteral("grid_state_icon"));
    chkboxGridLock = new QCheckBox(QStringLiteral("Lock Grid Buoys"), central);
    chkboxGridLock->setObjectName(QStringLiteral("chkboxGridLock"));
    gridLockedLabel = new QLabel(QStringLiteral("GRID LOCKED!"), central);
    gridLockedLabel->setObjectName(QStringLiteral("gridLockedLabel"));
    gridLockedLabel->hide();
    btnAccuracyCheck = new QPushButton(QStringLiteral("Accuracy"), central);
    btnAccuracyCheck->setObjectName(QStringLiteral("btnAccuracyCheck"));
    fmAccuracyDisplay = new QGroupBox(QStringLiteral("Accuracy "), central);
    fmAccuracyDisplay->setObjectName(QStringLiteral("fmAccuracyDisplay"));
    layout->addWidget(grid_select, 8, 0);
    layout->addWidget(grid_state_icon, 8, 1);
    layout->addWidget(chkboxGridLock, 8, 2);
    layout->addWidget(gridLockedLabel, 8, 3);
    layout->addWidget(btnAccuracyCheck, 9, 0);
    layout->addWidget(fmAccuracyDisplay, 9, 1, 1, 3);
    setCentralWidget(central);
}

void Grid_Setup::buildMenus() {
    gridLoad = menuBar()->addAction(QStringLiteral("&Load File"));
    gridLoad->setObjectName(QStringLiteral("gridLoad"));
    gridSave = menuBar()->addAction(QStringLiteral("&Save"));
    gridSave->setObjectName(QStringLiteral("gridSave"));
    connect(gridLoad, &QAction::triggered, this, &Grid_Setup::gridLoad_Click);
    connect(gridSave, &QAction::triggered, this, &Grid_Setup::gridSave_Click);
    gridExit = menuBar()->addAction(QStringLiteral("E&xit"));
    gridExit->setObjectName(QStringLiteral("gridExit"));
    connect(gridExit, &QAction::triggered, this, &Grid_Setup::gridExit_Click);
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

void Grid_Setup::gridSave_Click() {
    GridFileContext ctx = app_.gridFileContext();
    zt::gridSave(ctx, *this);
}

void Grid_Setup::gridLoad_Click() {
    GridFileContext ctx = app_.gridFileContext();
    zt::gridLoad(ctx, *this);
}

void Grid_Setup::gridExit_Click() {
    hide();
    app_.showScreen(Screen::Main);
}

void Grid_Setup::closeEvent(QCloseEvent* event) {
    event->ignore();
    gridExit_Click();
}

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
    const GridState& s = app_.state;
    urMarkX = s.buoyScreenX[1], urMarkY = s.buoyScreenY[1];
    lrMarkX = s.buoyScreenX[2], lrMarkY = s.buoyScreenY[2];
    ulMarkX = s.buoyScreenX[3], ulMarkY = s.buoyScreenY[3];
    llMarkX = s.buoyScreenX[4], llMarkY = s.buoyScreenY[4];
}

void Grid_Setup::clearDrawing() {
    // The picture area draws nothing yet.
}

void Grid_Setup::gridCheck() {
    // The set-up ratio check comes with the setup validation.
}

void Grid_Setup::showGridReady() {
    showStateIcon(true);
    btnAccuracyCheck->setEnabled(true);
    btnAccuracyCheck->show();
    fmAccuracyDisplay->show();
}

void Grid_Setup::showGridNotReady() {
    showStateIcon(false);
}

} // namespace zt
