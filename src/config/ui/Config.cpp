#include "config/ui/Config.h"

#include "app/FileUtils.h"
#include "app/MainScreenView.h"
#include "app/ResultsFile.h"
#include "app/TextFormat.h"
#include "app/ui/AppContext.h"
#include "config/ConfigLogic.h"
#include "grid/GridAgreement.h"
#include "grid/GridSaveLoad.h"
#include "grid/GridSetupView.h"
#include "measure/ExchangeFiles.h"
#include "measure/MeasureView.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zt {

namespace {

const QString findFilter =
    QStringLiteral("All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.ipt)|*.ipt|");

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    new QVBoxLayout(box);
    return box;
}

} // namespace

Config::Config(AppContext& app) : app_(app), loupe_(app.paths().appDir) {
    setObjectName(QStringLiteral("Config"));
    setWindowTitle(QStringLiteral("System Configuration Parameters"));
    buildControls();
    connectHandlers();
}

Config::~Config() = default;

// --- Controls ----------------------------------------------------------

QRadioButton* Config::option(QGroupBox* box, const char* name, const QString& caption,
                             void (Config::*handler)()) {
    auto* b = new QRadioButton(caption, box);
    b->setObjectName(QLatin1String(name));
    box->layout()->addWidget(b);
    connect(b, &QRadioButton::toggled, this, [this, handler](bool on) {
        if (on)
            (this->*handler)();
    });
    return b;
}

QCheckBox* Config::checkBox(const char* name, const QString& caption, void (Config::*handler)()) {
    auto* b = new QCheckBox(caption, this);
    b->setObjectName(QLatin1String(name));
    connect(b, &QCheckBox::toggled, this, [this, handler](bool) { (this->*handler)(); });
    return b;
}

void Config::buildControls() {
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 1); // the path boxes grow with the window
    columns->addLayout(right);

    auto* form = new QFormLayout;
    TournamentName = textBox(central, "TournamentName", QStringLiteral("Default"));
    ResultsPathName = textBox(central, "ResultsPathName", QStringLiteral("Default.txt"));
    CapturesPathName = textBox(central, "CapturesPathName", QString());
    SetupFilesPathName = textBox(central, "SetupFilesPathName", QString());
    SkierNameFile = textBox(central, "SkierNameFile", QString());
    btnFindResults = new QPushButton(QStringLiteral("find"), central);
    btnFindResults->setObjectName(QStringLiteral("btnFindResults"));
    btnFindNames = new QPushButton(QStringLiteral("find"), central);
    btnFindNames->setObjectName(QStringLiteral("btnFindNames"));
    auto withButton = [central](QLineEdit* box, QPushButton* button) {
        auto* row = new QWidget(central);
        auto* h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(box);
        h->addWidget(button);
        return row;
    };
    // Room for a 60-character path; the whole text is also the tooltip.
    const int pathWidth = TournamentName->fontMetrics().averageCharWidth() * 62;
    for (QLineEdit* box : {ResultsPathName, CapturesPathName, SetupFilesPathName, SkierNameFile}) {
        box->setMinimumWidth(pathWidth);
        connect(box, &QLineEdit::textChanged, box,
                [box](const QString& text) { box->setToolTip(text); });
    }
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(QStringLiteral("Tournament"), TournamentName);
    form->addRow(QStringLiteral("Results file"), withButton(ResultsPathName, btnFindResults));
    form->addRow(QStringLiteral("Captures path"), CapturesPathName);
    form->addRow(QStringLiteral("Setup files path"), SetupFilesPathName);
    form->addRow(QStringLiteral("Skier name file"), withButton(SkierNameFile, btnFindNames));
    left->addLayout(form);

    gridframe = frame(central, "gridframe", QStringLiteral("Number of Grids"));
    Opt1Grid = option(gridframe, "Opt1Grid", QStringLiteral("1"), &Config::Opt1Grid_Click);
    Opt2grid = option(gridframe, "Opt2grid", QStringLiteral("2"), &Config::Opt2grid_Click);
    Opt3grid = option(gridframe, "Opt3grid", QStringLiteral("3"), &Config::Opt3grid_Click);
    Jump_direction = frame(central, "Jump_direction", QStringLiteral("Jump Direction"));
    left_to_right_button =
        option(Jump_direction, "left_to_right_button", QStringLiteral("Jump Left to Right"),
               &Config::left_to_right_button_Click);
    right_to_left_button =
        option(Jump_direction, "right_to_left_button", QStringLiteral("Jump Right to Left"),
               &Config::right_to_left_button_Click);
    line_control_check = checkBox("line_control_check", QStringLiteral("Check for line control on"),
                                  &Config::line_control_check_Click);
    Barefoot_box = checkBox("Barefoot_box", QStringLiteral("Check if barefoot jumping"),
                            &Config::Barefoot_box_Click);
    SitSki_box =
        checkBox("SitSki_box", QStringLiteral("Check if Sit Ski"), &Config::SitSki_box_Click);
    left->addWidget(gridframe);
    left->addWidget(Jump_direction);
    left->addWidget(line_control_check);
    left->addWidget(Barefoot_box);
    left->addWidget(SitSki_box);

    WSTIMS = checkBox("WSTIMS", QStringLiteral("WSTIMS Interface"), &Config::WSTIMS_Click);
    ZTIOLabel =
        new QLabel(QStringLiteral("Caution, WSTIMS requires ZTIO directory to exist"), central);
    ZTIOLabel->setObjectName(QStringLiteral("ZTIOLabel"));
    ZTIOLabel->hide();
    chkLoupe = checkBox("chkLoupe", QStringLiteral("Use Screen Loupe"), &Config::chkLoupe_Click);
    cmdLoupe = new QPushButton(QStringLiteral("Restart Screen Loupe if you exited it"), central);
    cmdLoupe->setObjectName(QStringLiteral("cmdLoupe"));
    chkBadSetup =
        checkBox("chkBadSetup", QStringLiteral("Allow Invalid Setup"), &Config::chkBadSetup_Click);
    left->addWidget(WSTIMS);
    left->addWidget(ZTIOLabel);
    left->addWidget(chkLoupe);
    left->addWidget(cmdLoupe);
    left->addWidget(chkBadSetup);
    left->addStretch();

    message_colors = frame(central, "message_colors", QStringLiteral("Select Message Color"));
    default_color = option(message_colors, "default_color", QStringLiteral("Default"),
                           &Config::default_color_Click);
    white_color =
        option(message_colors, "white_color", QStringLiteral("White"), &Config::white_color_Click);
    black_color =
        option(message_colors, "black_color", QStringLiteral("Black"), &Config::black_color_Click);
    yellow_color = option(message_colors, "yellow_color", QStringLiteral("Yellow"),
                          &Config::yellow_color_Click);
    Frame4 = frame(central, "Frame4", QStringLiteral("Impact Marker Color"));
    OptImpactRed =
        option(Frame4, "OptImpactRed", QStringLiteral("Red"), &Config::OptImpactRed_Click);
    OptImpactYellow =
        option(Frame4, "OptImpactYellow", QStringLiteral("Yellow"), &Config::OptImpactYellow_Click);
    OptImpactBlack =
        option(Frame4, "OptImpactBlack", QStringLiteral("Black"), &Config::OptImpactBlack_Click);
    OptImpactWhite =
        option(Frame4, "OptImpactWhite", QStringLiteral("White"), &Config::OptImpactWhite_Click);
    Frame1 = frame(central, "Frame1", QStringLiteral("Marker Style"));
    OptCross = option(Frame1, "OptCross", QStringLiteral("Cross"), &Config::OptCross_Click);
    OptCircle = option(Frame1, "OptCircle", QStringLiteral("Circle"), &Config::OptCircle_Click);
    Frame3 = frame(central, "Frame3",
                   QStringLiteral("How to deal with individual contact point pictures"));
    OptPictureAsk =
        option(Frame3, "OptPictureAsk", QStringLiteral("Ask if you want to save each time"),
               &Config::OptPictureAsk_Click);
    OptPictureNoSave = option(Frame3, "OptPictureNoSave", QStringLiteral("Never Save"),
                              &Config::OptPictureNoSave_Click);
    OptPictureSave = option(Frame3, "OptPictureSave", QStringLiteral("Always Save without asking"),
                            &Config::OptPictureSave_Click);
    Frame2 = frame(central, "Frame2", QStringLiteral("How  to deal  with captured video files"));
    OptVideoAsk = option(Frame2, "OptVideoAsk", QStringLiteral("Ask if you want to save each time"),
                         &Config::OptVideoAsk_Click);
    OptVideoNoSave = option(Frame2, "OptVideoNoSave", QStringLiteral("Never Save "),
                            &Config::OptVideoNoSave_Click);
    OptVideoSave = option(Frame2, "OptVideoSave", QStringLiteral("Always Save without asking"),
                          &Config::OptVideoSave_Click);
    for (QGroupBox* box : {message_colors, Frame4, Frame1, Frame3, Frame2})
        right->addWidget(box);
    right->addStretch();
    setCentralWidget(central);

    mnuExit = menuBar()->addAction(QStringLiteral("E&xit and Save Parameters"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
}

void Config::connectHandlers() {
    connect(TournamentName, &QLineEdit::textChanged, this, &Config::TournamentName_Change);
    connect(ResultsPathName, &QLineEdit::textChanged, this, &Config::ResultsPathName_Change);
    connect(CapturesPathName, &QLineEdit::textChanged, this, &Config::CapturesPathName_Change);
    connect(SetupFilesPathName, &QLineEdit::textChanged, this, &Config::SetupFilesPathName_Change);
    // A typed relative path is made absolute once the box is left.
    for (QLineEdit* box : {ResultsPathName, CapturesPathName, SetupFilesPathName, SkierNameFile})
        connect(box, &QLineEdit::editingFinished, this,
                [this, box] { box->setText(app_.paths().absolute(box->text())); });
    connect(btnFindResults, &QPushButton::clicked, this, &Config::btnFindResults_Click);
    connect(btnFindNames, &QPushButton::clicked, this, &Config::btnFindNames_Click);
    connect(cmdLoupe, &QPushButton::clicked, this, &Config::cmdLoupe_Click);
    connect(mnuExit, &QAction::triggered, this, &Config::mnuExit_Click);
}

void Config::select(QRadioButton* button) {
    if (button->isChecked()) {
        // Already selected: the click handler still runs.
        button->toggled(true);
        return;
    }
    button->setChecked(true);
}

void Config::setBox(QCheckBox* box, bool ticked) {
    if (box->isChecked() == ticked)
        box->toggled(ticked);
    else
        box->setChecked(ticked);
}

void Config::setBoxText(QLineEdit* box, const QString& text) {
    if (box->text() == text)
        box->textChanged(text);
    else
        box->setText(text);
}

// --- Load --------------------------------------------------------------

void Config::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    Form_Load();
}

void Config::closeEvent(QCloseEvent* event) {
    event->ignore();
    mnuExit_Click();
}

void Config::Form_Load() {
    if (loaded_)
        return;
    loaded_ = true;
    loading_ = true;
    SettingsStore& settings = app_.settings();
    setBoxText(TournamentName, settings.get(setting::TournamentName));
    loadFolders();
    app_.state.pictureExt = QStringLiteral(".bmp");
    loadColors();
    loadGridCount();
    showGridIndicators();
    loadGrids();
    loadChoices();
    loadPolicies();
    loading_ = false;
}

void Config::loadFolders() {
    const QString folder = app_.mainView().videoFolderText();
    setBoxText(ResultsPathName, defaultResultsPath(folder, app_.clock().now().date()));
    setBoxText(CapturesPathName, app_.state.videoDir);
    setBoxText(SetupFilesPathName, app_.paths().absolute(app_.settings().get(setting::SetupFiles)));
}

void Config::loadColors() {
    const QString labelColor = app_.settings().get(setting::labelcolor);
    colorName_ = labelColor;
    if (labelColor == QLatin1String("white"))
        select(white_color);
    else if (labelColor == QLatin1String("black"))
        select(black_color);
    else if (labelColor == QLatin1String("yellow"))
        select(yellow_color);
    else
        select(default_color);

    const QString impact = app_.settings().get(setting::impactcolor);
    if (impact == QLatin1String("black"))
        select(OptImpactBlack);
    else if (impact == QLatin1String("yellow"))
        select(OptImpactYellow);
    else if (impact == QLatin1String("red"))
        select(OptImpactRed);
    else
        select(OptImpactWhite);
}

void Config::loadGridCount() {
    switch (gridCountChoice(app_.settings())) {
    case 2:
        select(Opt2grid);
        break;
    case 3:
        select(Opt3grid);
        break;
    default:
        select(Opt1Grid);
    }
}

void Config::showGridIndicators() {
    const int count = static_cast<int>(app_.state.gridCount);
    MainScreenView& main = app_.mainView();
    main.showGridIndicator(1, true);
    main.showGridIndicator(2, false);
    main.showGridIndicator(3, false);
    if (count >= 2)
        main.showGridIndicator(2, true);
    if (count == 3)
        main.showGridIndicator(3, true);
    for (int g = 1; g <= 3; ++g)
        main.showGridState(g, pathExists(storedGridFile(g), PathFile));
}

QString Config::storedGridFile(int g) const {
    return app_.paths().absolute(app_.settings().get(setting::gridFile(g)));
}

void Config::loadGrids() {
    GridSetupView& setup = app_.gridSetupView();
    app_.state.gridLoading = true;
    for (int g = 3; g >= 1; --g) {
        const QString file = storedGridFile(g);
        if (!pathExists(file, PathFile))
            continue;
        GridFileContext ctx = app_.gridFileContext();
        loadGridAtStartup(ctx, setup, file, g);
    }
    app_.state.gridLoading = false;
}

void Config::loadChoices() {
    SettingsStore& settings = app_.settings();
    select(settings.get(setting::right2left) ? right_to_left_button : left_to_right_button);
    setBox(line_control_check, !settings.get(setting::boxlineoff));
    const QString type = settings.get(setting::tournamentType);
    setBox(Barefoot_box, type == QLatin1String("barefoot"));
    setBox(SitSki_box, type == QLatin1String("sitski"));
    setBox(WSTIMS, settings.get(setting::WSTIMS));
    if (settings.get(setting::Loupe))
        setBox(chkLoupe, true);
    app_.measureView().hideUnofficialJump();
    app_.gridSetupView().hideGridLockedLabel();
    select(settings.get(setting::buoymarker) == QLatin1String("cross") ? OptCross : OptCircle);
}

void Config::loadPolicies() {
    SettingsStore& settings = app_.settings();
    const QString picture = settings.get(setting::PictureSave);
    select(picture == QLatin1String("Save")     ? OptPictureSave
           : picture == QLatin1String("NoSave") ? OptPictureNoSave
                                                : OptPictureAsk);
    const QString video = settings.get(setting::VideoSave);
    select(video == QLatin1String("Save")     ? OptVideoSave
           : video == QLatin1String("NoSave") ? OptVideoNoSave
                                              : OptVideoAsk);
    app_.state.pictureSavePolicy = settings.get(setting::PictureSave);
    app_.state.videoSavePolicy = settings.get(setting::VideoSave);
}

// --- Text boxes and file choosers --------------------------------------

void Config::TournamentName_Change() {
    app_.state.tournamentName = TournamentName->text();
}

// A relative name is in the application folder from the first key on: the
// box is made absolute only once it is left, and a menu leaves no box.
void Config::ResultsPathName_Change() {
    app_.state.logFilePath = app_.paths().absolute(ResultsPathName->text());
    if (ResultsPathName->text().isEmpty())
        app_.dialogs().inform(QStringLiteral("Enter valid path and filename for results file"));
}

void Config::CapturesPathName_Change() {
    app_.state.pictureDir = app_.paths().absolute(CapturesPathName->text());
}

void Config::SetupFilesPathName_Change() {
    app_.state.setupFilesPath = app_.paths().absolute(SetupFilesPathName->text());
    app_.settings().set(setting::SetupFiles, SetupFilesPathName->text());
}

void Config::chooseFileInto(QLineEdit* box, const QString& startDir) {
    if (auto chosen = chooseFileToOpen(app_.dialogs(), findFilter, 2, startDir))
        box->setText(*chosen);
}

void Config::btnFindResults_Click() {
    // Where the results file is now; the application folder when that
    // folder is gone.
    const QString folder = QFileInfo(ResultsPathName->text().trimmed()).absolutePath();
    chooseFileInto(ResultsPathName,
                   !ResultsPathName->text().trimmed().isEmpty() && pathExists(folder, PathFolder)
                       ? folder
                       : app_.paths().appDir);
}

void Config::btnFindNames_Click() {
    chooseFileInto(SkierNameFile, app_.paths().appDir);
}

// --- Options -----------------------------------------------------------

void Config::setGridCount(int count) {
    app_.state.gridCount = count;
    recountGridsReady(app_.state); // the measure screen's gate follows the grids in use
    for (int g = 1; g <= 3; ++g)
        app_.mainView().showGridIndicator(g, g <= count);
    app_.settings().set(setting::grids, count);
}

void Config::Opt1Grid_Click() {
    setGridCount(1);
}

void Config::Opt2grid_Click() {
    setGridCount(2);
}

void Config::Opt3grid_Click() {
    setGridCount(3);
}

void Config::left_to_right_button_Click() {
    app_.state.rightToLeft = false;
    app_.settings().set(setting::right2left, false);
}

void Config::right_to_left_button_Click() {
    app_.state.rightToLeft = true;
    app_.settings().set(setting::right2left, true);
}

void Config::line_control_check_Click() {
    app_.state.boxLineOff = !line_control_check->isChecked();
    app_.settings().set(setting::boxlineoff, app_.state.boxLineOff);
}

void Config::showTournamentIndicator(const QString& text, bool visible) {
    app_.measureView().showTournamentIndicator(text, visible);
}

void Config::Barefoot_box_Click() {
    AppState& s = app_.state;
    if (Barefoot_box->isChecked()) {
        s.barefootJump = true;
        showTournamentIndicator(QStringLiteral("Barefoot Jump"), true);
        SitSki_box->setChecked(false);
        app_.settings().set(setting::tournamentType, QStringLiteral("barefoot"));
        return;
    }
    s.barefootJump = false;
    if (!s.sitSkiJump) {
        showTournamentIndicator(QString(), false);
        app_.settings().set(setting::tournamentType, QStringLiteral("normal"));
    }
}

void Config::SitSki_box_Click() {
    AppState& s = app_.state;
    if (SitSki_box->isChecked()) {
        s.sitSkiJump = true;
        showTournamentIndicator(QStringLiteral("Sit Ski Jump"), true);
        Barefoot_box->setChecked(false);
        app_.settings().set(setting::tournamentType, QStringLiteral("sitski"));
        return;
    }
    s.sitSkiJump = false;
    if (!s.barefootJump) {
        showTournamentIndicator(QString(), false);
        app_.settings().set(setting::tournamentType, QStringLiteral("normal"));
    }
}

void Config::applyMessageColor(std::optional<long> rgb) {
    app_.measureView().applyMessageColor(rgb);
}

void Config::setMessageColor(long rgb, const QString& name) {
    app_.state.gridColor = rgb;
    applyMessageColor(rgb);
    app_.state.gridColorName = name;
    colorName_ = name;
    app_.settings().set(setting::labelcolor, name);
}

void Config::default_color_Click() {
    applyMessageColor(std::nullopt);
    app_.state.gridColorName = QStringLiteral("default");
    colorName_ = QStringLiteral("default");
    app_.settings().set(setting::labelcolor, QStringLiteral("default"));
}

void Config::white_color_Click() {
    setMessageColor(rgbWhite, QStringLiteral("white"));
}

void Config::black_color_Click() {
    setMessageColor(rgbBlack, QStringLiteral("black"));
}

void Config::yellow_color_Click() {
    setMessageColor(rgbYellow, QStringLiteral("yellow"));
}

void Config::OptImpactRed_Click() {
    app_.state.impactColor = rgbRed;
    app_.settings().set(setting::impactcolor, QStringLiteral("red"));
}

void Config::OptImpactYellow_Click() {
    app_.state.impactColor = rgbYellow;
    app_.settings().set(setting::impactcolor, QStringLiteral("yellow"));
}

void Config::OptImpactWhite_Click() {
    app_.state.impactColor = rgbWhite;
    app_.settings().set(setting::impactcolor, QStringLiteral("white"));
}

void Config::OptImpactBlack_Click() {
    app_.state.impactColor = rgbBlack;
    app_.settings().set(setting::impactcolor, QStringLiteral("black"));
}

void Config::OptCircle_Click() {
    app_.state.buoyMarker = QStringLiteral("circle");
    app_.settings().set(setting::buoymarker, app_.state.buoyMarker);
}

void Config::OptCross_Click() {
    app_.state.buoyMarker = QStringLiteral("cross");
    app_.settings().set(setting::buoymarker, app_.state.buoyMarker);
}

void Config::OptPictureAsk_Click() {
    app_.settings().set(setting::PictureSave, QStringLiteral("Ask"));
}

void Config::OptPictureNoSave_Click() {
    app_.settings().set(setting::PictureSave, QStringLiteral("NoSave"));
}

void Config::OptPictureSave_Click() {
    app_.settings().set(setting::PictureSave, QStringLiteral("Save"));
}

void Config::OptVideoAsk_Click() {
    app_.settings().set(setting::VideoSave, QStringLiteral("Ask"));
}

void Config::OptVideoNoSave_Click() {
    app_.settings().set(setting::VideoSave, QStringLiteral("NoSave"));
}

void Config::OptVideoSave_Click() {
    app_.settings().set(setting::VideoSave, QStringLiteral("Save"));
}

void Config::WSTIMS_Click() {
    ZTIOLabel->setVisible(WSTIMS->isChecked());
    app_.settings().set(setting::WSTIMS, WSTIMS->isChecked());
}

void Config::chkLoupe_Click() {
    if (chkLoupe->isChecked())
        loupe_.start();
    else
        loupe_.close();
    app_.settings().set(setting::Loupe, chkLoupe->isChecked());
}

void Config::cmdLoupe_Click() {
    loupe_.start();
}

void Config::appendResultsLine(const QString& line) {
    appendToResultsFile(app_.dialogs(), app_.state.logFilePath, line);
}

void Config::chkBadSetup_Click() {
    const bool allowed = chkBadSetup->isChecked();
    app_.state.allowInvalidSetup = allowed;
    app_.log(allowed ? QStringLiteral("Warning - Bad Setups allowed")
                     : QStringLiteral("Bad Setups restricted again"));
    appendResultsLine(configurationLine(allowed ? invalidAllowedPrefix : onlyValidPrefix,
                                        app_.clock().now(), app_.state.tournamentName));
}

// --- Exit --------------------------------------------------------------

void Config::mnuExit_Click() {
    app_.settings().set(setting::TournamentName, TournamentName->text());
    app_.settings().set(setting::labelcolor, colorName_);
    app_.state.pictureDir = pictureDirOnExit(app_.state.pictureDir);
    setBoxText(CapturesPathName, app_.state.pictureDir);
    hide();
    appendResultsLine(
        configurationLine(newConfigurationPrefix, app_.clock().now(), app_.state.tournamentName));
    if (!SkierNameFile->text().isEmpty())
        loadSkierNames();
    app_.showScreen(Screen::Main);
}

void Config::loadSkierNames() {
    const NameListRead read = readSkierNameList(SkierNameFile->text());
    app_.measureView().setSkierNames(read.names);
    if (read.names.isEmpty())
        app_.dialogs().inform(QStringLiteral("Names not loaded, check file name and path"));
}

} // namespace zt
