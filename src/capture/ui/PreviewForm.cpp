#include "capture/ui/PreviewForm.h"

#include "app/FileUtils.h"
#include "app/Startup.h"
#include "app/TextFormat.h"
#include "app/ui/AppContext.h"
#include "app/ui/Widgets.h"
#include "capture/CaptureControl.h"
#include "capture/CaptureScreenRules.h"
#include "capture/ui/CaptureView.h"
#include "grid/LiveCameraGuard.h"
#include "logs/SkierNames.h"
#include "measure/ExchangeFiles.h"
#include "measure/MeasureView.h"
#include "video/FrameExtract.h"
#include "video/FrameSelectionView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>

namespace zt {

namespace {

constexpr int escapeKey = 27;

// The key code of a key as the screen shows it: letters and digits as
// their characters, the usual control keys by their old numbers.
int keyCodeOf(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Escape:
        return escapeKey;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    default:
        return qtKey < 0x01000000 ? qtKey : 0;
    }
}

QLabel* caption(QWidget* parent, const QString& text) {
    return new QLabel(text, parent);
}

} // namespace

PreviewForm::PreviewForm(AppContext& app) : app_(app) {
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Zentrak 2005 Capture Screen"));
    CapturePRO1 = &app.captureControl();
    buildControls();
    connectHandlers();
    resize(980, 600);
    cameraGuard_ =
        std::make_unique<vision::LiveCameraGuard>([this](const vision::FrameCameraCheck& c) {
            QMetaObject::invokeMethod(
                this, [this, c] { showCameraCheck(c); }, Qt::QueuedConnection);
        });
    cameraCheckTimer.setObjectName(QStringLiteral("cameraCheckTimer"));
    cameraCheckTimer.start(3000);
    Form_Load();
}

PreviewForm::~PreviewForm() = default;

void PreviewForm::buildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* row = new QHBoxLayout(central);
    videoView = ui::named(new CaptureView(*CapturePRO1, central), "videoView");
    row->addWidget(videoView, 1);
    row->addWidget(buildSideColumn(central));
    mnuStart = ui::menuCommand(menuBar(), "mnuStart", QStringLiteral("&Start Recording"));
    mnuResults = ui::menuCommand(menuBar(), "mnuResults", QStringLiteral("&Results"));
    Timer40.setObjectName(QStringLiteral("Timer40"));
}

QWidget* PreviewForm::buildSideColumn(QWidget* parent) {
    auto* side = new QWidget(parent);
    side->setFixedWidth(330);
    auto* g = new QGridLayout(side);
    g->setContentsMargins(0, 0, 0, 0);
    int r = 0;
    g->addWidget(txtSkierName = ui::edit(side, "txtSkierName", QStringLiteral("SkierName")), r, 0);
    g->addWidget(cmdSelect = ui::button(side, "cmdSelect", QStringLiteral("Select Name")), r++, 1);
    g->addWidget(btnGetName = ui::button(side, "btnGetName", QStringLiteral("Get WSTIMS name")),
                 r++, 0, 1, 2);
    g->addWidget(caption(side, QStringLiteral("Attempt Number")), r, 0);
    g->addWidget(txtPass = ui::edit(side, "txtPass", QStringLiteral("1")), r++, 1);
    g->addWidget(caption(side, QStringLiteral("Length of time to record")), r, 0);
    g->addWidget(captureTimeValue = ui::named(new QListWidget(side), "captureTimeValue"), r++, 1);
    captureTimeValue->addItems({QStringLiteral("3.0"), QStringLiteral("4.0"), QStringLiteral("5.0"),
                                QStringLiteral("6.0")});
    captureTimeValue->setFixedHeight(78);
    g->addWidget(cmdStartCapture =
                     ui::button(side, "cmdStartCapture",
                                QStringLiteral("Start Recording     (skier hits ramp)")),
                 r++, 0, 1, 2);
    g->addWidget(cmdStartTimer = ui::button(side, "cmdStartTimer", QStringLiteral("Contact")), r,
                 0);
    g->addWidget(lblStartFrame = ui::label(side, "lblStartFrame", QStringLiteral(" ")), r++, 1);
    g->addWidget(
        cmdEndCapture = ui::button(side, "cmdEndCapture", QStringLiteral("Stop Recording")), r, 0);
    g->addWidget(caption(side, QStringLiteral("Hit ESC to stop recording")), r++, 1);
    g->addWidget(caption(side, QStringLiteral("Capture Time Left")), r, 0);
    g->addWidget(captime = ui::label(side, "captime", QStringLiteral("5")), r++, 1);
    g->addWidget(caption(side, QStringLiteral("Frames Recorded")), r, 0);
    g->addWidget(LblFrame = ui::label(side, "LblFrame", QStringLiteral("0")), r++, 1);
    g->addWidget(caption(side, QStringLiteral("Frames Dropped")), r, 0);
    g->addWidget(LblFrmDrop = ui::label(side, "LblFrmDrop", QStringLiteral("0")), r++, 1);
    g->addWidget(Label4 = ui::label(side, "Label4", QString()), r++, 0, 1, 2);
    Label4->setWordWrap(true);
    Label4->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    g->addWidget(cameraMoved = ui::label(side, "cameraMoved", QString()), r++, 0, 1, 2);
    cameraMoved->setWordWrap(true);
    cameraMoved->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    g->addWidget(btnCaptureFrame =
                     ui::button(side, "btnCaptureFrame", QStringLiteral("Capture Frame")),
                 r++, 0, 1, 2);
    g->addWidget(cmdGoToTimer = ui::button(side, "cmdGoToTimer",
                                           QStringLiteral("View Already Recorded Jumps")),
                 r++, 0, 1, 2);
    g->addWidget(cmdGoSetup =
                     ui::button(side, "cmdGoSetup", QStringLiteral("Go Back To Main Screen")),
                 r++, 0, 1, 2);
    g->addWidget(Text1 = ui::edit(side, "Text1"), r++, 0);
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    g->setRowStretch(r, 1);
    cmdStartTimer->setEnabled(false);
    cmdEndCapture->setEnabled(false);
    Label4->hide();
    cameraMoved->hide();
    return side;
}

void PreviewForm::connectHandlers() {
    connect(txtSkierName, &QLineEdit::textChanged, this, &PreviewForm::txtSkierName_Change);
    txtSkierName->installEventFilter(this);
    connect(cmdSelect, &QPushButton::clicked, this, &PreviewForm::cmdSelect_Click);
    connect(btnGetName, &QPushButton::clicked, this, &PreviewForm::btnGetName_Click);
    connect(captureTimeValue, &QListWidget::itemClicked, this,
            &PreviewForm::captureTimeValue_Click);
    connect(cmdStartCapture, &QPushButton::clicked, this, &PreviewForm::cmdStartCapture_Click);
    connect(mnuStart, &QAction::triggered, this, &PreviewForm::cmdStartCapture_Click);
    connect(cmdStartTimer, &QPushButton::clicked, this, &PreviewForm::cmdStartTimer_Click);
    connect(cmdEndCapture, &QPushButton::clicked, this, &PreviewForm::cmdEndCapture_Click);
    connect(&Timer40, &QTimer::timeout, this, &PreviewForm::Timer40_Timer);
    connect(&cameraCheckTimer, &QTimer::timeout, this, &PreviewForm::cameraCheckTimer_Timer);
    connect(btnCaptureFrame, &QPushButton::clicked, this, &PreviewForm::btnCaptureFrame_Click);
    connect(cmdGoSetup, &QPushButton::clicked, this, &PreviewForm::cmdGoSetup_Click);
    connect(cmdGoToTimer, &QPushButton::clicked, this, &PreviewForm::cmdGoToTimer_Click);
    connect(mnuResults, &QAction::triggered, this, &PreviewForm::mnuResults_Click);
    // Esc stops a recording wherever the focus is on this screen.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, [this] { Form_KeyDown(escapeKey); });
}

void PreviewForm::Form_Load() {
    paintHandled = false;
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
            txtSkierName->setText(safeSkierName(first));
    } else {
        txtSkierName->setText(QStringLiteral("Skier Name"));
    }
}

void PreviewForm::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (!paintHandled) {
        paintHandled = true;
        // Messages are not shown from inside a paint.
        QTimer::singleShot(0, this, &PreviewForm::Form_FirstPaint);
    }
}

void PreviewForm::Form_FirstPaint() {
    paintHandled = true;
    secondsLeft_ = captureTime;
    captime->setText(numberText(captureTime));
    AppState& st = app_.state;
    // A recording started before the first paint has its clip named already.
    if (recording_ ||
        (st.screenMode != QLatin1String("Setup") && st.screenMode != QLatin1String("Timer")))
        return;
    hideSkierNameNotice();
    const JumpNumber j = jumpNumberPastClips(st.videoDir, txtSkierName->text(), txtPass->text());
    if (j.raised) {
        txtPass->setText(j.text);
        app_.dialogs().warn(QStringLiteral("Warning, the pass number was changed because a file "
                                           "for that pass already existed.  You may need to "
                                           "change the skier name"),
                            QStringLiteral("Duplicate File Warning"));
    }
    if (readNumber(txtPass->text()) > 3)
        app_.dialogs().warn(QStringLiteral("Warning, the jump number is greater than 3.  You may "
                                           "need to change the skier name"),
                            QStringLiteral("Possible Name Change Warning"));
    st.screenMode.clear();
}

void PreviewForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void PreviewForm::Form_Activate() {
    if (app_.state.previewActive)
        cmdStartCapture->setFocus();
    app_.log(QStringLiteral("Capture Video Form Activated"));
}

void PreviewForm::keyPressEvent(QKeyEvent* event) {
    Form_KeyDown(keyCodeOf(event->key()));
    QMainWindow::keyPressEvent(event);
}

bool PreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtSkierName && event->type() == QEvent::MouseButtonDblClick)
        txtSkierName_DblClick();
    return QMainWindow::eventFilter(watched, event);
}

// Esc stops a running recording; other keys only show their code. (Esc
// with no recording running leaves the screen as it is: there is no new
// clip to hand on.)
void PreviewForm::Form_KeyDown(int keyCode) {
    Text1->setText(QString::number(keyCode));
    if (keyCode != escapeKey || !recording_)
        return;
    Timer40.stop();
    app_.log(QStringLiteral("ESC pressed"));
    cmdEndCapture_Click();
}

void PreviewForm::txtSkierName_Change() {
    txtPass->setText(QStringLiteral("1"));
    const QString name = txtSkierName->text();
    if (name.contains(QLatin1Char(',')))
        app_.dialogs().message(
            {QStringLiteral("Sorry, you cannot use the \",\" character in this box"),
             QStringLiteral("Input Error"), MsgIcon::None, MsgButtons::OK, 1});
    else if (hasUnsafeNameCharacter(name))
        app_.dialogs().message(
            {QStringLiteral("Sorry, a skier's name cannot hold / \\ < > : \" | ? *, \"..\" or "
                            "control characters in this box; they are changed to spaces"),
             QStringLiteral("Input Error"), MsgIcon::None, MsgButtons::OK, 1});
    else
        return;
    txtSkierName->setText(safeSkierName(name));
}

void PreviewForm::txtSkierName_DblClick() {
    showSkierList();
}

void PreviewForm::cmdSelect_Click() {
    if (app_.settings().get(setting::WSTIMS))
        btnGetName_Click();
    else
        showSkierList();
}

void PreviewForm::showSkierList() {
    if (!pathExists(app_.paths().inApp(QStringLiteral("SkierNames.txt")), PathFile)) {
        app_.dialogs().inform(QStringLiteral(
            "No file of skier names called SkierNames.txt exists in the application directory"));
        return;
    }
    app_.openSelectSkier(this);
}

void PreviewForm::btnGetName_Click() {
    const NameRead r = readWstimsSkierName(app_.paths().exchangeDir);
    if (!r.ok) {
        app_.dialogs().inform(exchangeReadErrorMessage(r));
        return;
    }
    // The scoring system's name names the clip too: made safe for a file.
    const QString name = safeSkierName(r.name);
    app_.state.wstimsSkierName = name;
    app_.measureView().setSkierName(name);
    txtSkierName->setText(name);
}

void PreviewForm::captureTimeValue_Click() {
    const QListWidgetItem* item = captureTimeValue->currentItem();
    if (!item)
        return;
    app_.settings().set(setting::captureTime, item->text());
    captureTime = readNumber(item->text());
    secondsLeft_ = captureTime;
    captime->setText(numberText(captureTime));
}

void PreviewForm::cmdStartCapture_Click() {
    if (recording_)
        return;
    btnCaptureFrame->setEnabled(false);
    lblStartFrame->setText(QStringLiteral(" "));
    contactMarked_ = false;
    ui::WaitCursor wait;
    app_.log(QStringLiteral("Start Capture"));
    AppState& st = app_.state;
    st.videoDir = withoutTrailingSeparator(st.videoDir);
    const ClipName clip = clipNameKeepingClips(st.videoDir, txtSkierName->text(), txtPass->text());
    capturePath = clip.path;
    nameAltered = clip.altered;
    if (nameAltered) {
        const QSignalBlocker keepJumpNumber(txtSkierName);
        txtSkierName->setText(clip.skierName);
        Label4->setText(QStringLiteral("WARNING! Skier Name has been changed to ") +
                        clip.skierName + QStringLiteral(" to prevent duplicate files"));
        Label4->show();
        nameNoticeShown_ = true;
    }
    app_.measureView().setSkierName(txtSkierName->text());
    app_.measureView().setJumpNumber(txtPass->text());
    app_.log(QStringLiteral("Capture File: ") + capturePath);
    app_.captureStatusView().SetCaptureValues();
    CapturePRO1->setCaptureFile(capturePath);
    const CaptureResult started = CapturePRO1->startCapture();
    if (!started) {
        reportCaptureError(started.code, started.description);
        btnCaptureFrame->setEnabled(true);
        return;
    }
    recording_ = true;
    Timer40.start(1000);
    secondsLeft_ = captureTime;
    captime->setText(numberText(captureTime));
    setRecordingControls(true);
    cmdStartTimer->setFocus();
}

void PreviewForm::setRecordingControls(bool on) {
    cmdStartCapture->setEnabled(!on);
    mnuStart->setEnabled(!on);
    cmdStartTimer->setEnabled(on);
    cmdEndCapture->setEnabled(on);
    cmdGoToTimer->setEnabled(!on);
    cmdGoSetup->setEnabled(!on);
    btnCaptureFrame->setEnabled(!on);
}

void PreviewForm::reportCaptureError(long code, const QString& description) {
    app_.dialogs().message({captureErrorText(CaptureResult::failure(code, description), true),
                            QStringLiteral("Error"), MsgIcon::None, MsgButtons::OK, 1});
}

void PreviewForm::cmdStartTimer_Click() {
    const long frames = CapturePRO1->framesRecorded();
    lblStartFrame->setText(QString::number(frames));
    app_.state.startFrameHint = static_cast<int>(frames);
    contactFrame_ = frames;
    contactMarked_ = true;
}

long PreviewForm::proposedStartFrame() const {
    if (contactMarked_)
        return contactFrame_;
    return middleFrameHint(app_.captureStatusView().frameRateBoxValue(), captureTime);
}

void PreviewForm::Timer40_Timer() {
    LblFrame->setText(QString::number(CapturePRO1->framesRecorded()));
    LblFrmDrop->setText(QString::number(CapturePRO1->framesDropped()));
    const CountdownTick tick = countdownTick(secondsLeft_);
    secondsLeft_ = tick.secondsLeft;
    captime->setText(numberText(secondsLeft_));
    if (!tick.stop)
        return;
    Timer40.stop();
    secondsLeft_ = captureTime;
    captime->setText(numberText(captureTime));
    cmdEndCapture_Click();
}

void PreviewForm::cmdEndCapture_Click() {
    if (!recording_)
        return;
    recording_ = false;
    Timer40.stop();
    // Decided before the recording stops: the device's "stopped" event may
    // come at once, and every way to the end opens the clip at this frame.
    const long startFrame = proposedStartFrame();
    CapturePRO1->stopCapture();
    const long frames = CapturePRO1->framesRecorded();
    app_.captureStatusView().showCaptureCounters(
        {frames, CapturePRO1->framesDropped(), CapturePRO1->samples(), CapturePRO1->elapsedMs()});
    LblFrame->setText(QString::number(frames));
    LblFrmDrop->setText(QString::number(CapturePRO1->framesDropped()));
    setRecordingControls(false);
    if (frames <= 0) {
        // Nothing was recorded (the operator was told why): no clip to hand on.
        app_.log(QStringLiteral("Capture Failed: ") + capturePath);
        return;
    }
    txtPass->setText(nextJumpNumber(txtPass->text()));
    app_.log(QStringLiteral("Capture Complete"));
    hide();
    app_.state.previewActive = false;
    app_.handOverFreshClip({capturePath, startFrame, double(CapturePRO1->frameRate())});
}

void PreviewForm::btnCaptureFrame_Click() {
    CapturePRO1->setStillFile(app_.paths().inApp(currentCaptureName()));
    const CaptureResult saved = CapturePRO1->saveStill();
    if (!saved) {
        // The measure screen would show an older picture: stay here.
        reportCaptureError(saved.code, saved.description);
        return;
    }
    app_.state.screenMode = QStringLiteral("SelectFrame");
    app_.hideScreen(Screen::FrameSelection);
    hide();
    app_.state.previewActive = false;
    if (app_.state.gridsReady != 1.0) {
        app_.dialogs().warn(QStringLiteral("One or more grids are not configured.  You may not "
                                           "use the Measure Screen until all listed grids are "
                                           "configured"));
        app_.handOver(Screen::GridSetup);
        return;
    }
    app_.measureView().setSkierName(txtSkierName->text());
    app_.measureView().setJumpNumber(txtPass->text());
    app_.handOver(Screen::Measure);
}

void PreviewForm::cmdGoSetup_Click() {
    app_.state.screenMode = QStringLiteral("Capture");
    hide();
    app_.state.previewActive = false;
    app_.showScreen(Screen::Main);
}

// ---- The camera-moved guard on the live picture ----

void PreviewForm::cameraCheckTimer_Timer() {
    if (isVisible() && CapturePRO1->preview())
        checkLivePicture(CapturePRO1->currentFrame());
}

void PreviewForm::checkLivePicture(const QImage& frame) {
    const AppState& s = app_.state;
    const int g = static_cast<int>(s.currentGrid);
    if (s.gridsReady != 1 || g < 1 || g > 3 || frame.isNull())
        return;
    cameraGuard_->start(s.gridFileName[static_cast<size_t>(g)], g, frame);
}

bool PreviewForm::cameraCheckRunning() const {
    return cameraGuard_->busy();
}

void PreviewForm::showCameraCheck(const vision::FrameCameraCheck& check) {
    if (!check.checked)
        return;
    // The log hears of a move, and of its end, once each.
    if (check.moved != cameraMovedShown_)
        app_.log(QStringLiteral("Capture screen camera check: ") + check.logLine);
    cameraMovedShown_ = check.moved;
    cameraMoved->setText(check.warning);
    cameraMoved->setVisible(check.moved);
}

void PreviewForm::cmdGoToTimer_Click() {
    hide();
    app_.state.previewActive = false;
    app_.state.screenMode = QStringLiteral("CaptureGoToTimer");
    app_.handOver(Screen::FrameSelection);
}

void PreviewForm::mnuResults_Click() {
    app_.showScreen(Screen::Results); // the results file as it is now
}

QString PreviewForm::skierName() const {
    return txtSkierName->text();
}

void PreviewForm::setSkierName(const QString& name) {
    txtSkierName->setText(safeSkierName(name));
}

QString PreviewForm::jumpNumberText() const {
    return txtPass->text();
}

void PreviewForm::setJumpNumberText(const QString& text) {
    txtPass->setText(text);
}

void PreviewForm::hideSkierNameNotice() {
    Label4->hide();
    nameNoticeShown_ = false;
}

// A recording in progress is finished and handed on; otherwise the window
// goes back to the main screen.
void PreviewForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (recording_)
        cmdEndCapture_Click();
    else
        cmdGoSetup_Click();
}

void PreviewForm::CapturePRO1_Status(const QString& text) {
    app_.captureStatusView().showCaptureStatus(text);
}

void PreviewForm::CapturePRO1_Progress(int code, const QString& text) {
    CaptureStatusView& panel = app_.captureStatusView();
    if (code == capture_progress::recordingStopped) {
        panel.showStreamStopped();
        // The device ended the recording (time limit, fault): hand it on.
        if (recording_)
            cmdEndCapture_Click();
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

void PreviewForm::CapturePRO1_DeviceChange(const QString& list, int kind, int index,
                                           const QString& name) {
    app_.captureStatusView().showDeviceChange(list, kind, index, name);
}

void PreviewForm::CapturePRO1_ConnectionLost(const QString&) {
    app_.captureStatusView().showConnectionLost();
}

} // namespace zt
