#include "video/ui/PreviewForm.h"

#include "app/FileUtils.h"
#include "app/Startup.h"
#include "app/TextFormat.h"
#include "app/ui/App.h"
#include "app/ui/Widgets.h"
#include "logs/SkierNames.h"
#include "video/CaptureControl.h"
#include "video/ui/CaptureView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace zt {

PreviewForm::PreviewForm(App& app)
    : app_(app), control_(createCaptureControl(app.testCameraEnabled())) {
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Zentrak 2005 Capture Screen"));
    CapturePRO1 = control_.get();
    CapturePRO1->setObjectName(QStringLiteral("CapturePRO1"));
    buildControls();
    connect(CapturePRO1, &CaptureControl::status, this, &PreviewForm::CapturePRO1_Status);
    connect(CapturePRO1, &CaptureControl::progress, this, &PreviewForm::CapturePRO1_Progress);
    connect(CapturePRO1, &CaptureControl::warning, this, &PreviewForm::CapturePRO1_Warning);
    Form_Load();
}

PreviewForm::~PreviewForm() {
    // Releases the device; its last events go to nobody.
    disconnect(CapturePRO1, nullptr, this, nullptr);
    control_->disconnectDevice();
}

void PreviewForm::buildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* g = new QGridLayout(central);
    videoView = ui::named(new CaptureView(*CapturePRO1, central), "videoView");
    g->addWidget(videoView, 0, 0, 1, 4);
    int row = 1;
    auto add = [&](QWidget* a, QWidget* b = nullptr) {
        g->addWidget(a, row, 0, 1, b ? 1 : 2);
        if (b)
            g->addWidget(b, row, 1);
        ++row;
    };
    add(txtSkierName = ui::edit(central, "txtSkierName", QStringLiteral("SkierName")),
        cmdSelect = ui::button(central, "cmdSelect", QStringLiteral("Select Name")));
    add(new QLabel(QStringLiteral("Attempt Number"), central),
        txtPass = ui::edit(central, "txtPass", QStringLiteral("1")));
    add(btnGetName = ui::button(central, "btnGetName", QStringLiteral("Get WSTIMS name")));
    add(new QLabel(QStringLiteral("Length of time to record"), central),
        captureTimeValue = ui::named(new QListWidget(central), "captureTimeValue"));
    captureTimeValue->addItems({QStringLiteral("3.0"), QStringLiteral("4.0"), QStringLiteral("5.0"),
                                QStringLiteral("6.0")});
    add(cmdStartCapture = ui::button(central, "cmdStartCapture",
                                     QStringLiteral("Start Recording     (skier hits ramp)")));
    add(cmdStartTimer = ui::button(central, "cmdStartTimer", QStringLiteral("Contact")),
        lblStartFrame = ui::label(central, "lblStartFrame", QStringLiteral(" ")));
    add(cmdEndCapture = ui::button(central, "cmdEndCapture", QStringLiteral("Stop Recording")),
        new QLabel(QStringLiteral("Hit ESC to stop recording"), central));
    add(new QLabel(QStringLiteral("Capture Time Left"), central),
        captime = ui::label(central, "captime", QStringLiteral("5")));
    add(new QLabel(QStringLiteral("Frames Recorded"), central),
        LblFrame = ui::label(central, "LblFrame", QStringLiteral("0")));
    add(new QLabel(QStringLiteral("Frames Dropped"), central),
        LblFrmDrop = ui::label(central, "LblFrmDrop", QStringLiteral("0")));
    add(Label4 = ui::label(central, "Label4", QString()));
    add(btnCaptureFrame = ui::button(central, "btnCaptureFrame", QStringLiteral("Capture Frame")),
        cmdGoToTimer =
            ui::button(central, "cmdGoToTimer", QStringLiteral("View Already Recorded Jumps")));
    add(cmdGoSetup = ui::button(central, "cmdGoSetup", QStringLiteral("Go Back To Main Screen")),
        Text1 = ui::edit(central, "Text1"));
    cmdStartTimer->setEnabled(false);
    cmdEndCapture->setEnabled(false);
    Label4->hide();
    mnuStart = ui::menuCommand(menuBar(), "mnuStart", QStringLiteral("&Start Recording"));
    mnuResults = ui::menuCommand(menuBar(), "mnuResults", QStringLiteral("&Results"));
    Timer40.setObjectName(QStringLiteral("Timer40"));
    connect(cmdGoSetup, &QPushButton::clicked, this, &PreviewForm::cmdGoSetup_Click);
    connect(cmdGoToTimer, &QPushButton::clicked, this, &PreviewForm::cmdGoToTimer_Click);
}

void PreviewForm::Form_Load() {
    captureTime = app_.settings().get(setting::captureTime);
    if (captureTime > 0) {
        for (int i = 0; i < captureTimeValue->count(); ++i)
            if (readNumber(captureTimeValue->item(i)->text()) == captureTime)
                captureTimeValue->setCurrentRow(i);
    } else {
        captureTimeValue->setCurrentRow(2);
        captureTime = readNumber(captureTimeValue->item(2)->text());
        app_.settings().set(setting::captureTime, captureTimeValue->item(2)->text());
    }
    const QString names = app_.paths().inApp(QStringLiteral("SkierNames.txt"));
    if (pathExists(names, PathFile)) {
        const QString first = firstLineOf(names);
        if (!first.isEmpty())
            txtSkierName->setText(commasToSpaces(first));
    } else {
        txtSkierName->setText(QStringLiteral("Skier Name"));
    }
}

void PreviewForm::cmdGoSetup_Click() {
    app_.state.screenMode = QStringLiteral("Capture");
    hide();
    app_.state.previewActive = false;
    app_.showScreen(Screen::Main);
}

QString PreviewForm::skierName() const {
    return txtSkierName->text();
}

void PreviewForm::setSkierName(const QString& name) {
    txtSkierName->setText(name);
}

QString PreviewForm::jumpNumberText() const {
    return txtPass->text();
}

void PreviewForm::setJumpNumberText(const QString& text) {
    txtPass->setText(text);
}

void PreviewForm::clearNameAltered() {
    nameAltered_ = false;
    Label4->hide();
}

void PreviewForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmdGoSetup_Click();
}

void PreviewForm::cmdGoToTimer_Click() {
    hide();
    app_.state.previewActive = false;
    app_.state.screenMode = QStringLiteral("CaptureGoToTimer");
    app_.showScreen(Screen::FrameSelection);
}

void PreviewForm::CapturePRO1_Status(const QString& text) {
    app_.captureStatusView().showCaptureStatus(text);
}

void PreviewForm::CapturePRO1_Progress(int code, const QString& text) {
    CaptureStatusView& panel = app_.captureStatusView();
    if (code == capture_progress::recordingStopped) {
        panel.showStreamStopped();
        return;
    }
    if (code == capture_progress::counters)
        panel.showCaptureCounters({CapturePRO1->framesRecorded(), CapturePRO1->framesDropped(),
                                   CapturePRO1->samples(), CapturePRO1->elapsedMs()});
    panel.showCaptureStatus(text);
}

void PreviewForm::CapturePRO1_Warning(const QString& text) {
    app_.dialogs().inform(QStringLiteral("Warning: ") + text);
}

} // namespace zt
