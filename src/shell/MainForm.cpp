#include "shell/MainForm.h"

#include "app/Dialogs.h"
#include "app/EmergencyReset.h"
#include "app/FileUtils.h"
#include "app/Startup.h"
#include "app/TextFormat.h"
#include "app/ui/PictureLabel.h"
#include "app/ui/Widgets.h"
#include "capture/CaptureControl.h"
#include "capture/CaptureScreenView.h"
#include "capture/ui/CapturePanel.h"
#include "logs/SkierNames.h"
#include "shell/App.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zt {

namespace {

const QString folderTitle = QStringLiteral("Input Save Video Files Path");

} // namespace

MainForm::MainForm(App& app) : app_(app) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zentrak 2005"));
    buildControls();
    connectHandlers();
}

void MainForm::buildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* top = new QHBoxLayout(central);
    top->setContentsMargins(8, 8, 8, 8); // Frame1 sits 120 twips from the left edge
    Frame1 = ui::named(new QGroupBox(QStringLiteral("Zentrak Controls and Configuration"), central),
                       "Frame1");
    top->addWidget(Frame1);
    auto* f = new QVBoxLayout(Frame1);
    f->addWidget(cmdGoCapture = ui::button(Frame1, "cmdGoCapture",
                                           QStringLiteral("Proceed to Capture Video")));
    f->addWidget(cmdGoTimer = ui::button(Frame1, "cmdGoTimer",
                                         QStringLiteral("View Already Recorded Jump Videos")));
    f->addWidget(ccmdGoToMeasure = ui::button(Frame1, "ccmdGoToMeasure",
                                              QStringLiteral("View Already Recorded Jump Pics")));
    f->addWidget(cmdSetup = ui::button(Frame1, "cmdSetup", QStringLiteral("Grid Setup")));
    f->addWidget(cmdConfigure =
                     ui::button(Frame1, "cmdConfigure", QStringLiteral("System Configuration")));
    f->addWidget(cmdImport =
                     ui::button(Frame1, "cmdImport", QStringLiteral("Import Skier Names File")));
    f->addWidget(
        Label2 = ui::label(Frame1, "Label2", QStringLiteral("Save Video Files in this Directory")));
    f->addWidget(txtVideoDir = ui::edit(Frame1, "txtVideoDir"));
    f->addWidget(lblVideodir = ui::label(Frame1, "lblVideodir", QString()));
    f->addWidget(btnChangeDirectory = ui::button(Frame1, "btnChangeDirectory",
                                                 QStringLiteral("Change Video File Directory")));
    f->addWidget(lblConfig =
                     ui::label(Frame1, "lblConfig", QStringLiteral("Currently Configured for R")));
    f->addWidget(
        cb15 = ui::checkBox(Frame1, "cb15", QStringLiteral("Enable Barefoot Timing (15 sec)")));
    f->addWidget(buildGridIndicators(Frame1));
    f->addWidget(List1 = ui::named(new QListWidget(Frame1), "List1"));
    List1->addItems({QStringLiteral("0.5"), QStringLiteral("1.0"), QStringLiteral("1.5"),
                     QStringLiteral("2.0"), QStringLiteral("2.5"), QStringLiteral("3.0")});
    f->addWidget(cmdShowConfig = ui::button(Frame1, "cmdShowConfig",
                                            QStringLiteral("Show Video Configuration")));
    f->addStretch();
    capturePanel = new CapturePanel(app_, central);
    capturePanel->setFrameRateLabel(lblConfig);
    capturePanel->hide();
    top->addWidget(capturePanel);
    RichTextBox1 = ui::named(new QTextEdit(central), "RichTextBox1");
    RichTextBox1->hide();
    mnuViewLog = ui::menuCommand(menuBar(), "mnuViewLog", QStringLiteral("&Video Log"));
    mnuPictureLog = ui::menuCommand(menuBar(), "mnuPictureLog", QStringLiteral("&Picture Log"));
    munManual = ui::menuCommand(menuBar(), "munManual", QStringLiteral("View &Manual"));
    mnuExit = ui::menuCommand(menuBar(), "mnuExit", QStringLiteral("E&xit"));
}

QWidget* MainForm::buildGridIndicators(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    QLabel** labels[] = {&lblGrid1, &lblGrid2, &lblGrid3};
    QLabel** images[] = {&ImageGrid1, &ImageGrid2, &ImageGrid3};
    const char* labelNames[] = {"lblGrid1", "lblGrid2", "lblGrid3"};
    const char* imageNames[] = {"ImageGrid1", "ImageGrid2", "ImageGrid3"};
    const char* descNames[] = {"txtGridDescription_0", "txtGridDescription_1",
                               "txtGridDescription_2"};
    const QString captions[] = {QStringLiteral("Grid 1"), QStringLiteral("Grid 2"),
                                QStringLiteral("Grid3")};
    for (int i = 0; i < 3; ++i) {
        *labels[i] = ui::label(box, labelNames[i], captions[i]);
        *images[i] = ui::label(box, imageNames[i], QString());
        txtGridDescription[i] = ui::edit(box, descNames[i]);
        g->addWidget(*labels[i], i, 0);
        g->addWidget(*images[i], i, 1);
        g->addWidget(txtGridDescription[i], i, 2);
    }
    return box;
}

void MainForm::connectHandlers() {
    connect(cmdGoCapture, &QPushButton::clicked, this, &MainForm::cmdGoCapture_Click);
    connect(cmdGoTimer, &QPushButton::clicked, this, &MainForm::cmdGoTimer_Click);
    connect(ccmdGoToMeasure, &QPushButton::clicked, this, &MainForm::ccmdGoToMeasure_Click);
    connect(cmdSetup, &QPushButton::clicked, this, &MainForm::cmdSetup_Click);
    connect(cmdConfigure, &QPushButton::clicked, this, &MainForm::cmdConfigure_Click);
    connect(cmdImport, &QPushButton::clicked, this, &MainForm::cmdImport_Click);
    connect(btnChangeDirectory, &QPushButton::clicked, this, &MainForm::btnChangeDirectory_Click);
    connect(txtVideoDir, &QLineEdit::textChanged, this, &MainForm::txtVideoDir_Change);
    connect(txtVideoDir, &QLineEdit::editingFinished, this,
            [this] { txtVideoDir->setText(app_.paths().absolute(txtVideoDir->text())); });
    connect(cb15, &QCheckBox::clicked, this, &MainForm::cb15_Click);
    connect(cmdShowConfig, &QPushButton::clicked, this, &MainForm::cmdShowConfig_Click);
    connect(mnuViewLog, &QAction::triggered, this, &MainForm::mnuViewLog_Click);
    connect(mnuPictureLog, &QAction::triggered, this, &MainForm::mnuPictureLog_Click);
    connect(munManual, &QAction::triggered, this, &MainForm::munManual_Click);
    connect(mnuExit, &QAction::triggered, this, &MainForm::mnuExit_Click);
}

void MainForm::Form_Load() {
    app_.diagnosticLog().startDiagnosticLog();
    app_.log(QStringLiteral("MainForm Load"));
    app_.state.videoConfigBusy = false;
    emergencyReset(app_.dialogs(), app_.settings());
    capturePanel->fillFromCaptureControl(); // creates the capture screen
    app_.placeMainAndCaptureWindows();
    capturePanel->CmdConnect_Click();
    capturePanel->selectStoredCompression();
    obtainVideoFolder();
    app_.state.measurementLogName = measurementLogNameFor(app_.clock().now().date());
    openVideoLog();
    lblVideodir->setText(txtVideoDir->text());
    app_.captureControl().setPreview(true);
    cb15->setChecked(app_.settings().get(setting::barefoot));
    capturePanel->EdtFile->setText(QStringLiteral("testvid.avi"));
    capturePanel->hideOptions();
    lblConfig->setText(
        frameRateClassCaption(readNumber(capturePanel->EdtRate->text()), lblConfig->text()));
    app_.dialogs().inform(QStringLiteral("Please Verify all Setup Parameters"));
    app_.showScreen(Screen::Config);
    hide();
}

void MainForm::obtainVideoFolder() {
    const QString logpath = app_.paths().absolute(app_.settings().get(setting::logpath));
    if (!logpath.isEmpty() && pathExists(logpath, PathFolder)) {
        txtVideoDir->setText(logpath);
    } else {
        do {
            const auto answer = app_.dialogs().input(
                QStringLiteral("No Correct Save Video Directory has been set.  Please put in the "
                               "path of the Save Video Directory here."),
                folderTitle);
            txtVideoDir->setText(app_.paths().absolute(answer.value_or(QString())));
            app_.state.videoDir = withoutTrailingSeparator(txtVideoDir->text());
            if (!pathExists(app_.state.videoDir, PathFolder))
                app_.dialogs().inform(QStringLiteral("You entered an invalid path - try  again"));
        } while (!pathExists(app_.state.videoDir, PathFolder));
    }
    app_.settings().set(setting::logpath, txtVideoDir->text());
}

void MainForm::openVideoLog() {
    AppState& st = app_.state;
    st.videoDir = videoDirOfBox(txtVideoDir->text());
    if (st.videoDir.isEmpty())
        return;
    const QString path = joinPath(st.videoDir, st.measurementLogName);
    const FileResult written = appendText(path, videoLogOpeningLine(app_.clock().now()));
    if (!written) {
        app_.log(QStringLiteral("Video log not written: ") + written.error);
        app_.dialogs().warn(QStringLiteral("The video log could not be written. Clip and picture "
                                           "lines will be missing from it until the folder can be "
                                           "written to.\n") +
                            written.error);
    }
    app_.settings().set(setting::logfile, st.measurementLogName);
}

bool MainForm::videoFolderExists() {
    if (pathExists(txtVideoDir->text(), PathFolder))
        return true;
    app_.dialogs().warn(QStringLiteral("The Log File Folder you specified does not exist. ") +
                            QStringLiteral("Please change it to a Folder that does exist."),
                        QStringLiteral("Path Error"));
    return false;
}

void MainForm::cmdGoCapture_Click() {
    if (!videoFolderExists())
        return;
    app_.showScreen(Screen::Capture);
    app_.captureControl().setPreview(true);
    app_.state.screenMode = QStringLiteral("Setup");
    app_.state.previewActive = true;
    hide();
}

void MainForm::cmdGoTimer_Click() {
    if (!videoFolderExists())
        return;
    app_.state.screenMode = QStringLiteral("Setup");
    app_.showScreen(Screen::FrameSelection);
    app_.captureControl().setPreview(true);
    hide();
}

void MainForm::ccmdGoToMeasure_Click() {
    if (app_.state.gridsReady == 1) {
        hide();
        app_.showScreen(Screen::Measure);
        return;
    }
    app_.dialogs().error(gridsNotReadyMessage);
    hide();
    app_.showScreen(Screen::GridSetup);
}

void MainForm::cmdSetup_Click() {
    app_.showScreen(Screen::GridSetup);
    hide();
}

void MainForm::cmdConfigure_Click() {
    app_.showScreen(Screen::Config);
    hide();
}

void MainForm::cmdImport_Click() {
    const auto chosen = chooseFileToOpen(
        app_.dialogs(),
        QStringLiteral(
            "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Rich Text Files (*.rtf)|*.rtf|"),
        1, app_.paths().appDir);
    if (!chosen)
        return;
    const SkierImportResult r =
        importSkierNames(*chosen, app_.paths().inApp(QStringLiteral("SkierNames.txt")));
    if (!r.ok) {
        app_.dialogs().warn(QStringLiteral("The skier names could not be imported.\n") + r.error);
        return;
    }
    app_.log(QStringLiteral("Skier names imported from ") + *chosen);
    app_.captureView().setSkierName(r.firstName);
}

void MainForm::btnChangeDirectory_Click() {
    for (;;) {
        const auto answer = app_.dialogs().input(
            QStringLiteral("Please put in the path of the Save Video Directory here."), folderTitle,
            app_.state.videoDir);
        if (!answer || answer->isEmpty())
            return;
        const QString folder = app_.paths().absolute(*answer);
        if (pathExists(folder, PathFolder)) {
            txtVideoDir->setText(folder);
            lblVideodir->setText(folder);
            return;
        }
        app_.dialogs().warn(QStringLiteral("The folder you entered does not exist"),
                            QStringLiteral("Jump Measurement Alert"));
    }
}

void MainForm::txtVideoDir_Change() {
    app_.state.videoDir = withoutTrailingSeparator(txtVideoDir->text());
    app_.settings().set(setting::logpath, app_.state.videoDir);
}

void MainForm::mnuViewLog_Click() {
    app_.openLogView(this);
}

void MainForm::mnuPictureLog_Click() {
    app_.openPictureLogView(this);
}

void MainForm::munManual_Click() {
    app_.showScreen(Screen::Manual);
    hide();
}

void MainForm::mnuExit_Click() {
    app_.quit();
}

void MainForm::cb15_Click() {
    app_.settings().set(setting::barefoot, cb15->isChecked());
}

void MainForm::cmdShowConfig_Click() {
    videoConfigShown_ = !videoConfigShown_;
    capturePanel->setVisible(videoConfigShown_);
    cmdShowConfig->setText(videoConfigShown_ ? QStringLiteral("Hide Video Configuration")
                                             : QStringLiteral("Show Video Configuration"));
}

void MainForm::showGridIndicator(int g, bool visible) {
    if (g < 1 || g > 3)
        return;
    QLabel* labels[] = {lblGrid1, lblGrid2, lblGrid3};
    QLabel* images[] = {ImageGrid1, ImageGrid2, ImageGrid3};
    const auto i = static_cast<size_t>(g - 1);
    for (QWidget* w : {static_cast<QWidget*>(labels[i]), static_cast<QWidget*>(images[i]),
                       static_cast<QWidget*>(txtGridDescription[i])})
        w->setVisible(visible);
}

void MainForm::showGridState(int g, bool ready) {
    QLabel* images[] = {ImageGrid1, ImageGrid2, ImageGrid3};
    if (g >= 1 && g <= 3)
        showPictureFile(images[g - 1], app_.paths().appDir,
                        ready ? readyGridPicture : notReadyGridPicture);
}

void MainForm::setGridDescription(int g, const QString& text) {
    if (g >= 1 && g <= 3)
        txtGridDescription[static_cast<size_t>(g - 1)]->setText(text);
}

QString MainForm::videoFolderText() const {
    return txtVideoDir->text();
}

bool MainForm::barefootTimingOn() const {
    return cb15->isChecked();
}

void MainForm::paintEvent(QPaintEvent* event) {
    app_.state.screenMode.clear();
    QMainWindow::paintEvent(event);
}

void MainForm::closeEvent(QCloseEvent* event) {
    event->accept();
    app_.quit();
}

} // namespace zt
