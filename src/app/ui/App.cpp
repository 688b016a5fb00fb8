#include "app/ui/App.h"

#include "app/Startup.h"
#include "app/ui/MainForm.h"
#include "config/ui/Config.h"
#include "grid/ui/Grid_Setup.h"
#include "logs/ui/LogView.h"
#include "logs/ui/Results.h"
#include "logs/ui/frmManual.h"
#include "logs/ui/frmSelectSkier.h"
#include "measure/ui/Calibrate.h"
#include "measure/ui/Measure.h"
#include "video/CaptureControl.h"
#include "video/ui/CapturePanel.h"
#include "video/ui/PreviewForm.h"
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

App::App(Services services)
    : services_(std::move(services)),
      diagnosticLog_(services_.paths.inExchange(QStringLiteral("DebugLog.txt")), *services_.clock,
                     *services_.dialogs) {}

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
        captureControl_ = createCaptureControl(
            {services_.platformCapture && !services_.demo, services_.testCamera || services_.demo,
             services_.demoLake || services_.demo, services_.demo, services_.demoSeed,
             services_.demoClock},
            dialogs());
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
    screenWidget(which).show();
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

LogView* App::openLogView(QWidget* owner) {
    auto* view = new LogView(*this, owner);
    view->show();
    return view;
}
PictureLogView* App::openPictureLogView(QWidget* owner) {
    auto* view = new PictureLogView(*this, owner);
    view->show();
    return view;
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
