#include "shell/App.h"

#include "app/Startup.h"
#include "capture/CaptureControl.h"
#include "capture/ui/CapturePanel.h"
#include "capture/ui/PreviewForm.h"
#include "config/ui/Config.h"
#include "demo/DemoCamera.h"
#include "grid/ui/Grid_Setup.h"
#include "logs/ui/LogView.h"
#include "logs/ui/Results.h"
#include "logs/ui/frmManual.h"
#include "logs/ui/frmSelectSkier.h"
#include "measure/ui/Calibrate.h"
#include "measure/ui/Measure.h"
#include "shell/MainForm.h"
#include "video/ui/frmSetStart.h"

#include <QCoreApplication>
#include <QScreen>

namespace zt {

namespace {

template <class Screen> Screen& screen(std::unique_ptr<Screen>& slot, App& app) {
    if (!slot)
        slot = std::make_unique<Screen>(app);
    return *slot;
}

} // namespace

App::App(Services services) : AppContext(std::move(services)) {}

App::~App() {
    // The capture device's last events go to nobody; the screens go (the
    // main screen first, as it owns the open viewers), then the device,
    // which closes a clip still being recorded.
    if (captureControl_)
        captureControl_->disconnect(this);
    mainForm_.reset();
    config_.reset();
    gridSetup_.reset();
    measure_.reset();
    calibrate_.reset();
    frmSetStart_.reset();
    results_.reset();
    frmManual_.reset();
    previewForm_.reset();
    captureControl_.reset();
}

void App::start() {
    mainForm().Form_Load();
}

void App::quit() {
    emit quitRequested();
    QCoreApplication::exit(0);
}

MainForm& App::mainForm() {
    return screen(mainForm_, *this);
}
zt::Config& App::config() {
    return screen(config_, *this);
}
Grid_Setup& App::gridSetup() {
    return screen(gridSetup_, *this);
}
zt::Measure& App::measure() {
    return screen(measure_, *this);
}
zt::Calibrate& App::calibrate() {
    return screen(calibrate_, *this);
}
PreviewForm& App::previewForm() {
    return screen(previewForm_, *this);
}
zt::frmSetStart& App::frmSetStart() {
    return screen(frmSetStart_, *this);
}
zt::Results& App::results() {
    return screen(results_, *this);
}
zt::frmManual& App::frmManual() {
    return screen(frmManual_, *this);
}

CaptureControl& App::captureControl() {
    if (!captureControl_) {
        CaptureControlOptions options;
        options.platformDevices = services_.platformCapture && !services_.demo;
        options.testCamera = services_.testCamera || services_.demo;
        if (services_.demoLake || services_.demo) {
            options.demoVideo = [seed = services_.demoSeed,
                                 clock = services_.demoClock](QSize size, int frameRate) {
                return std::make_shared<DemoLakeVideo>(size, frameRate, seed, clock);
            };
        }
        options.demoFirst = services_.demo;
        captureControl_ = createCaptureControl(options, dialogs());
        captureControl_->setObjectName(QStringLiteral("CapturePRO1"));
        routeCaptureEvents();
    }
    return *captureControl_;
}

// The capture screen handles the device's events (it is made when the
// first one comes).
void App::routeCaptureEvents() {
    CaptureControl* c = captureControl_.get();
    connect(c, &CaptureControl::status, this,
            [this](const QString& text) { previewForm().CapturePRO1_Status(text); });
    connect(c, &CaptureControl::progress, this, [this](int code, const QString& text) {
        previewForm().CapturePRO1_Progress(code, text);
    });
    connect(c, &CaptureControl::warning, this,
            [this](const QString& text) { previewForm().CapturePRO1_Warning(text); });
    connect(c, &CaptureControl::deviceChange, this,
            [this](const QString& list, int kind, int index, const QString& name) {
                previewForm().CapturePRO1_DeviceChange(list, kind, index, name);
            });
    connect(c, &CaptureControl::connectionLost, this,
            [this](const QString& reason) { previewForm().CapturePRO1_ConnectionLost(reason); });
}

QWidget& App::screenWidget(Screen which) {
    switch (which) {
    case Screen::Main:
        return mainForm();
    case Screen::Config:
        return config();
    case Screen::GridSetup:
        return gridSetup();
    case Screen::Measure:
        return measure();
    case Screen::Calibrate:
        return calibrate();
    case Screen::Capture:
        return previewForm();
    case Screen::FrameSelection:
        return frmSetStart();
    case Screen::Results:
        return results();
    case Screen::Manual:
        return frmManual();
    }
    return mainForm();
}

void App::showScreen(Screen which) {
    // The capture screen opens at the main screen's right edge, placed from
    // the frames the windows really have (the main screen has been shown by
    // now), not from the sizes Qt gives windows that were never shown.
    if (which == Screen::Capture)
        placeMainAndCaptureWindows();
    // The results viewer always shows the results file as it is now.
    if (which == Screen::Results) {
        results().showResultsFile(state.logFilePath);
        return;
    }
    QWidget& w = screenWidget(which);
    w.show();
    // The arrival is run here, not from a show event: a screen that is on
    // screen already gets no show event, yet its hand-over must be acted on.
    switch (which) {
    case Screen::FrameSelection:
        frmSetStart().Form_Paint();
        break;
    case Screen::Measure:
        measure().Form_Activate();
        break;
    case Screen::GridSetup:
        gridSetup().Form_Activate();
        break;
    default:
        break;
    }
}

bool App::isMade(Screen which) const {
    switch (which) {
    case Screen::Main:
        return bool(mainForm_);
    case Screen::Config:
        return bool(config_);
    case Screen::GridSetup:
        return bool(gridSetup_);
    case Screen::Measure:
        return bool(measure_);
    case Screen::Calibrate:
        return bool(calibrate_);
    case Screen::Capture:
        return bool(previewForm_);
    case Screen::FrameSelection:
        return bool(frmSetStart_);
    case Screen::Results:
        return bool(results_);
    case Screen::Manual:
        return bool(frmManual_);
    }
    return false;
}

void App::handOver(Screen which) {
    for (Screen other : {Screen::Main, Screen::Capture, Screen::FrameSelection, Screen::Measure,
                         Screen::GridSetup}) {
        if (other == which || !isMade(other))
            continue;
        if (other == Screen::Capture) {
            if (previewForm_->recording())
                continue; // a recording under way stays in sight
            if (previewForm_->isVisible())
                state.previewActive = false;
        }
        screenWidget(other).hide();
    }
    showScreen(which);
    QWidget& w = screenWidget(which);
    w.raise();
    w.activateWindow();
}

void App::handOverFreshClip(const FreshClip& clip) {
    frameSelectionView().takeFreshClip(clip);
    state.startFrameHint = static_cast<int>(clip.startFrame);
    state.captureFrameRate = clip.frameRate;
    state.screenMode = QStringLiteral("Capture");
    handOver(Screen::FrameSelection);
}

void App::hideScreen(Screen which) {
    screenWidget(which).hide();
}

MainScreenView& App::mainView() {
    return mainForm();
}
MeasureView& App::measureView() {
    return measure();
}
GridSetupView& App::gridSetupView() {
    return gridSetup();
}
CaptureScreenView& App::captureView() {
    return previewForm();
}
CaptureStatusView& App::captureStatusView() {
    return *mainForm().capturePanel;
}
FrameSelectionView& App::frameSelectionView() {
    return frmSetStart();
}

GridFileContext App::gridFileContext() {
    GridFileContext ctx{state,
                        settings(),
                        dialogs(),
                        [this](const QString& line) { log(line); },
                        clock().now(),
                        state.setupFilesPath,
                        state.logFilePath};
    ctx.mainScreen = &mainView();
    ctx.measureScreen = &measureView();
    return ctx;
}

void App::placeMainAndCaptureWindows() {
    MainForm& main = mainForm();
    QScreen* s = main.screen();
    if (!s)
        return;
    PreviewForm& capture = previewForm();
    // A window never shown has Qt's default size until it is laid out.
    for (QWidget* w : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&capture)})
        if (!w->testAttribute(Qt::WA_Resized))
            w->adjustSize();
    const WindowPlacement p =
        placeWindows(main.frameGeometry(), capture.frameGeometry().width(), s->availableGeometry());
    main.move(p.main);
    capture.move(p.capture);
}

namespace {

// The viewer open already comes to the front, beside its new owner.
template <class Viewer> Viewer* openViewer(QPointer<Viewer>& slot, App& app, QWidget* owner) {
    // A viewer closed is on its way out (deleted later).
    if (slot && !slot->isVisible()) {
        slot->deleteLater();
        slot.clear();
    }
    if (!slot) {
        slot = new Viewer(app, owner);
    } else if (slot->parentWidget() != owner) {
        const QRect place = slot->geometry();
        slot->setParent(owner, Qt::Window);
        slot->setGeometry(place);
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot.data();
}

} // namespace

LogView* App::openLogView(QWidget* owner) {
    return openViewer(logView_, *this, owner);
}
PictureLogView* App::openPictureLogView(QWidget* owner) {
    return openViewer(pictureLogView_, *this, owner);
}
frmSelectSkier* App::openSelectSkier(QWidget* owner) {
    auto* list = new frmSelectSkier(*this, owner);
    if (!list->Form_Load()) {
        delete list; // told; back to the calling screen
        return nullptr;
    }
    list->show();
    return list;
}

} // namespace zt
