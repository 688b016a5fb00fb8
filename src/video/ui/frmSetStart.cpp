#include "video/ui/frmSetStart.h"

#include "app/ClipCaption.h"
#include "app/KeyState.h"
#include "app/MainScreenView.h"
#include "app/Paths.h"
#include "app/TextFormat.h"
#include "app/ui/AppContext.h"
#include "app/ui/Widgets.h"
#include "capture/CaptureScreenView.h"
#include "measure/MeasureView.h"
#include "video/AviFile.h"
#include "video/FrameExtract.h"
#include "video/FrameNumber.h"
#include "video/MediaFileOpen.h"
#include "video/ui/MediaPlayer.h"
#include "vision/ContactWorker.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

namespace zt {

namespace {

const QString& startPositionHint() {
    static const QString text =
        QStringLiteral("Select Start Position using direction buttons and/or slider");
    return text;
}

const QString& alreadyMeasuredTitle() {
    static const QString title = QStringLiteral("Start Already Measured Warning");
    return title;
}

QPushButton* bigButton(QWidget* parent, const char* name, const QString& caption) {
    QPushButton* b = ui::button(parent, name, caption);
    b->setMinimumHeight(40);
    return b;
}

} // namespace

frmSetStart::frmSetStart(AppContext& app) : app_(app), keys_(&applicationKeyState()) {
    setObjectName(QStringLiteral("frmSetStart"));
    setWindowTitle(QStringLiteral("Zentrak 2005 Frame Selection"));
    freeSpace_ = systemFreeSpace();
    buildControls();
    layOutControls();
    connectControls();
    Timer2.setInterval(100);
    enableTaking(false);
    // The whole screen, title bar and all, on the display.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    resize(std::min(1260, area.width() - 20), std::min(720, area.height() - 40));
    move(area.topLeft());
}

frmSetStart::~frmSetStart() = default;

void frmSetStart::buildControls() {
    auto* c = new QWidget(this);
    setCentralWidget(c);
    MediaPlayer1 = new MediaPlayer(c);
    Command1 = ui::button(c, "Command1", QStringLiteral("<"));
    Command4 = ui::button(c, "Command4", QStringLiteral(">"));
    Text9 = ui::edit(c, "Text9", QStringLiteral("0"));
    Command5 = ui::button(c, "Command5", QStringLiteral("Play before start -->"));
    Text4 = ui::edit(c, "Text4", QStringLiteral("2"));
    txtStartLoop = ui::edit(c, "txtStartLoop", QStringLiteral("1"));
    cbFullScreen = ui::checkBox(
        c, "cbFullScreen",
        QStringLiteral("Play using Full Screen, ESC returns Click Mouse to repeat Play"));
    cmdMarkStart =
        bigButton(c, "cmdMarkStart", QStringLiteral("Use displayed frame to measure jump"));
    btnGoToSetup =
        bigButton(c, "btnGoToSetup", QStringLiteral("Use displayed frame to set up Grid"));
    Command6 = ui::button(c, "Command6", QStringLiteral("..."));
    Label3 = ui::label(c, "Label3", QStringLiteral("Browse for File to View -------->"));
    lstFileInfo = ui::named(new QListWidget(c), "lstFileInfo");
    Label5 = ui::label(c, "Label5", startPositionHint());
    proposedContact = ui::label(c, "proposedContact", QString());
    Label10 = ui::label(c, "Label10", QStringLiteral("Disk Free Space Available"));
    lblDiskSpace = ui::label(c, "lblDiskSpace", QStringLiteral("Disk Space"));
    Label11 = ui::label(c, "Label11", QStringLiteral("Warning! Disk Space Low"));
    Label9 = ui::label(c, "Label9", QStringLiteral("Barefoot Mode"));
    cmdViewLog = ui::button(c, "cmdViewLog", QStringLiteral("View Log File"));
    cmdGoToCapture = bigButton(c, "cmdGoToCapture", QStringLiteral("Go To Record Next Jump Pass"));
    cmdGoToSetup = bigButton(c, "cmdGoToSetup", QStringLiteral("Go Back To Main Screen"));
    Text5 = ui::edit(c, "Text5");
    Text1 = ui::edit(c, "Text1");
    Text2 = ui::edit(c, "Text2");
    Label8 = ui::label(c, "Label8", QStringLiteral("Key Down"));
    lblClipFrame = ui::label(c, "lblClipFrame", QString());
    lblClipFrame->setStyleSheet(QStringLiteral("font-weight: bold"));
    Text9->setToolTip(QStringLiteral("Type a frame number and press Enter. Page Up and Page "
                                     "Down step 10 frames, Home and End go to the first and "
                                     "last frame."));
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer2.setObjectName(QStringLiteral("Timer2"));

    // Keys go to the player and the key timer; buttons are clicked.
    for (QPushButton* b : {Command1, Command4, Command5, cmdMarkStart, btnGoToSetup, Command6,
                           cmdViewLog, cmdGoToCapture, cmdGoToSetup})
        b->setFocusPolicy(Qt::NoFocus);
    cbFullScreen->setFocusPolicy(Qt::NoFocus);
    for (QLineEdit* e : {Text5, Text1, Text2})
        e->setReadOnly(true);
    Label11->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    Label9->setStyleSheet(QStringLiteral("color: blue; font-weight: bold"));
    Label11->hide();
    Label9->hide();
    Label8->hide();
}

void frmSetStart::layOutControls() {
    QWidget* c = centralWidget();
    const auto row = [](std::initializer_list<QWidget*> widgets, bool stretch) {
        auto* r = new QHBoxLayout;
        for (QWidget* w : widgets)
            r->addWidget(w);
        if (stretch)
            r->addStretch(1);
        return r;
    };
    const auto caption = [c](const QString& text) { return new QLabel(text, c); };
    Command1->setFixedWidth(48);
    Command4->setFixedWidth(48);
    for (QLineEdit* e : {Text9, Text4, txtStartLoop, Text5, Text1, Text2})
        e->setFixedWidth(60);

    auto* left = new QVBoxLayout;
    left->addWidget(lblClipFrame);
    left->addWidget(MediaPlayer1, 1);
    left->addLayout(row({Command1, Text9, Command4, Label5}, true));
    left->addWidget(proposedContact);
    left->addLayout(row({Command5, caption(QStringLiteral("Seconds before start")), Text4,
                         caption(QStringLiteral("Repeat")), txtStartLoop,
                         caption(QStringLiteral("Interval (ms)")), Text5},
                        true));
    left->addWidget(cbFullScreen);
    left->addLayout(row({cmdMarkStart, btnGoToSetup}, false));

    auto* right = new QVBoxLayout;
    right->addLayout(row({Label3, Command6}, true));
    right->addWidget(lstFileInfo, 1);
    right->addWidget(Label10);
    right->addLayout(row({lblDiskSpace, Label11}, true));
    right->addWidget(Label9);
    right->addLayout(row({caption(QStringLiteral("Key code")), Text1, Text2, Label8}, true));
    right->addWidget(cmdViewLog);
    right->addWidget(cmdGoToCapture);
    right->addWidget(cmdGoToSetup);

    auto* rightPanel = new QWidget(c);
    rightPanel->setLayout(right);
    rightPanel->setFixedWidth(360);
    auto* all = new QHBoxLayout(c);
    all->addLayout(left, 1);
    all->addWidget(rightPanel);
}

void frmSetStart::connectControls() {
    connect(Command1, &QPushButton::clicked, this, &frmSetStart::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &frmSetStart::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmSetStart::Command5_Click);
    connect(cmdMarkStart, &QPushButton::clicked, this, &frmSetStart::cmdMarkStart_Click);
    connect(btnGoToSetup, &QPushButton::clicked, this, &frmSetStart::btnGoToSetup_Click);
    connect(Command6, &QPushButton::clicked, this, &frmSetStart::Command6_Click);
    connect(cmdGoToCapture, &QPushButton::clicked, this, &frmSetStart::cmdGoToCapture_Click);
    connect(cmdGoToSetup, &QPushButton::clicked, this, &frmSetStart::cmdGoToSetup_Click);
    connect(cmdViewLog, &QPushButton::clicked, this, &frmSetStart::cmdViewLog_Click);
    connect(Text4, &QLineEdit::editingFinished, this, &frmSetStart::Text4_Change);
    connect(&Timer1, &QTimer::timeout, this, &frmSetStart::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &frmSetStart::Timer2_Timer);
    connect(MediaPlayer1, &MediaPlayer::keyDown, this, &frmSetStart::MediaPlayer1_KeyDown);
    connect(MediaPlayer1, &MediaPlayer::fullScreenClicked, MediaPlayer1, &MediaPlayer::play);
    connect(MediaPlayer1, &MediaPlayer::positionChanged, this, &frmSetStart::showPosition);
    connect(Text9, &QLineEdit::returnPressed, this, &frmSetStart::Text9_Enter);
}

// ---- Arrival ----

void frmSetStart::takeFreshClip(const FreshClip& clip) {
    handedOver_ = clip;
    clipPath_ = clip.path;
}

// Every hand-over is acted upon, a "View" after a "View" too: the clip the
// operator chose is the one shown and taken.
void frmSetStart::Form_Paint() {
    setupRequested_ = false;
    app_.log(QStringLiteral("SetStart Form painted"));
    Timer2.start();
    showDiskSpace();
    const QString& mode = app_.state.screenMode;
    if (mode == QStringLiteral("Capture")) {
        arriveFromCapture();
    } else if (mode == QStringLiteral("Setup") || mode == QStringLiteral("CaptureGoToTimer")) {
        arriveWithoutClip();
    } else if (mode == QStringLiteral("View")) {
        arriveForView();
    }
    Label9->setVisible(app_.mainView().barefootTimingOn());
}

void frmSetStart::showDiskSpace() {
    const DiskSpace d = diskSpaceOf(app_.mainView().videoFolderText(), freeSpace_);
    Label10->setText(d.caption);
    lblDiskSpace->setText(d.amount);
    Label11->setVisible(d.low);
}

void frmSetStart::arriveWithoutClip() {
    clipPath_.clear(); // no clip: nothing to show or take
    freshClipPath_.clear();
    lstFileInfo->clear();
    loadClip();
    enableTaking(false);
}

void frmSetStart::arriveFromCapture() {
    contactWorker_.reset(); // the clip may be renamed now
    AppState& s = app_.state;
    s.screenMode.clear();
    clipPath_ = handedOver_.path;
    CaptureScreenView& capture = app_.captureView();
    if (capture.skierNameNoticeShown()) {
        capture.hideSkierNameNotice();
        MediaPlayer1->setFile(QString()); // nothing holds the clip being renamed
        clipPath_ = fixSkierName(app_.dialogs(), capture, clipPath_, s.videoDir);
        fixedSkierName_ = capture.skierName();
    }
    freshClipPath_ = clipPath_;
    lstFileInfo->clear();
    loadClip();
    startLocked_ = false;
    cmdMarkStart->show();
    enableTaking(MediaPlayer1->hasClip());
    if (handedOver_.startFrame > 0) {
        markedFrame_ = handedOver_.startFrame;
        MediaPlayer1->setPosition(markedFrame_);
        Text9->setText(QString::number(MediaPlayer1->position()));
        playingBeforeStart_ = false;
        startTaken_ = false;
        Label5->setText(startPositionHint());
    }
    clipFps_ = handedOver_.frameRate > 0 ? handedOver_.frameRate : MediaPlayer1->frameRate();
    proposeContact();
}

void frmSetStart::proposeContact() {
    contactWorker_.reset();
    showProposedContact(-1);
    const QPolygonF area =
        vision::landingAreaOfBuoys(app_.state.buoyScreenX, app_.state.buoyScreenY);
    if (area.isEmpty() || !MediaPlayer1->hasClip())
        return;
    contactWorker_ = std::make_unique<vision::ContactWorker>(
        clipPath_, area, [this](const vision::ContactProposal& p) {
            QMetaObject::invokeMethod(
                this, [this, frame = p.frame] { showProposedContact(frame); },
                Qt::QueuedConnection);
        });
}

void frmSetStart::showProposedContact(int frame) {
    proposedFrame_ = frame;
    MediaPlayer1->setMark(frame);
    proposedContact->setText(
        frame < 0 ? QString()
                  : QStringLiteral("Proposed contact: frame %1 (P to go there)").arg(frame));
}

void frmSetStart::arriveForView() {
    viewHandled_ = true;
    clipPath_ = app_.state.viewFile;
    freshClipPath_.clear(); // a clip opened for viewing is never deleted
    lstFileInfo->clear();
    if (!loadClip()) {
        // Told once; no second box about the same file.
        enableTaking(false);
        readyForStepping();
        return;
    }
    if (const auto measured = measuredFrameText(clipPath_))
        app_.dialogs().message(
            {QStringLiteral("File already measured - contact frame is ") + *measured,
             alreadyMeasuredTitle(), MsgIcon::None, MsgButtons::OK, 1});
    clipFps_ = clipKindOfName(clipPath_) == ClipKind::Avi ? aviFrameRate(app_.dialogs(), clipPath_)
                                                          : MediaPlayer1->frameRate();
    if (clipFps_ <= 0)
        clipFps_ = MediaPlayer1->frameRate();
    enableTaking(MediaPlayer1->hasClip());
    startTaken_ = false;
    Label5->setText(
        QStringLiteral("Select First Contact by using direction buttons and/or slider"));
    proposeContact();
    readyForStepping();
    MediaPlayer1->takeFocus();
}

// Loads Text6 into the player and stops it; a clip that cannot be opened
// is told with its path.
bool frmSetStart::loadClip() {
    const FrameError error = MediaPlayer1->setFile(clipPath_);
    if (!clipPath_.isEmpty()) {
        MediaPlayer1->stop();
        if (error != FrameError::None)
            tellClipOpenError(app_.dialogs(), clipPath_, error);
        MediaPlayer1->takeFocus();
    }
    Text9->setText(QString::number(MediaPlayer1->position()));
    return MediaPlayer1->hasClip();
}

void frmSetStart::enableTaking(bool on) {
    for (QPushButton* b : {Command5, cmdMarkStart, btnGoToSetup})
        b->setEnabled(on);
}

void frmSetStart::readyForStepping() {
    startLocked_ = false;
    cmdMarkStart->show();
    Command1->setEnabled(true);
    Command4->setEnabled(true);
}

// ---- Stepping ----

void frmSetStart::Command1_Click() {
    if (MediaPlayer1->position() >= 1)
        MediaPlayer1->setPosition(MediaPlayer1->position() - 1);
    Text9->setText(QString::number(MediaPlayer1->position()));
}

void frmSetStart::Command4_Click() {
    MediaPlayer1->setPosition(MediaPlayer1->position() + 1);
    Text9->setText(QString::number(MediaPlayer1->position()));
}

// The box and the caption follow the player, the slider too; a number being
// typed into the box stays until Enter.
void frmSetStart::showPosition(int64_t frame) {
    if (!(Text9->hasFocus() && Text9->isModified()))
        Text9->setText(QString::number(frame));
    lblClipFrame->setText(clipFrameCaption(MediaPlayer1->file(), frame));
}

void frmSetStart::Text9_Enter() {
    if (const auto frame = typedFrame(Text9->text(), MediaPlayer1->frameCount()))
        MediaPlayer1->setPosition(*frame);
    Text9->setModified(false);
    Text9->setText(QString::number(MediaPlayer1->position()));
    MediaPlayer1->takeFocus();
}

bool frmSetStart::jumpByKey(int qtKey) {
    if (!MediaPlayer1->hasClip())
        return false;
    const auto frame = frameForKey(qtKey, MediaPlayer1->position(), MediaPlayer1->frameCount());
    if (!frame)
        return false;
    MediaPlayer1->setPosition(*frame);
    Text9->setText(QString::number(MediaPlayer1->position()));
    return true;
}

void frmSetStart::Timer2_Timer() {
    if (keys_->query(Qt::Key_Left) && Command1->isEnabled())
        Command1_Click();
    if (keys_->query(Qt::Key_Right) && Command4->isEnabled())
        Command4_Click();
}

// The arrow keys step through Timer2 (ten steps a second however fast
// the keyboard repeats); the keypad's 4 and 6 step at each key-down.
void frmSetStart::MediaPlayer1_KeyDown(int code) {
    Text1->setText(QString::number(code));
    Text2->setText(QString::number(code));
    Label8->show();
    if (code == keyCodeStepForward)
        Command4_Click();
    else if (code == keyCodeStepBack)
        Command1_Click();
}

void frmSetStart::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_P && proposedFrame_ >= 0) {
        MediaPlayer1->setPosition(proposedFrame_);
        Text9->setText(QString::number(MediaPlayer1->position()));
        event->accept();
        return;
    }
    if (jumpByKey(event->key())) {
        event->accept();
        return;
    }
    const int code = playerKeyCode(event->key(), event->modifiers().testFlag(Qt::KeypadModifier));
    Text1->setText(QString::number(code ? code : event->key()));
    Label8->show();
    QMainWindow::keyPressEvent(event);
}

void frmSetStart::keyReleaseEvent(QKeyEvent* event) {
    Label8->hide();
    QMainWindow::keyReleaseEvent(event);
}

void frmSetStart::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible())
        return;
    if (isActiveWindow())
        Timer2.start();
    else
        Timer2.stop();
}

void frmSetStart::Text4_Change() {
    if (const auto bounded = boundedSecondsText(Text4->text()))
        Text4->setText(*bounded);
}

// ---- "Play before start -->" ----

void frmSetStart::Command5_Click() {
    if (playingBeforeStart_ || !MediaPlayer1->hasClip())
        return;
    Text4_Change();
    if (cbFullScreen->isChecked())
        MediaPlayer1->setDisplaySize(3);
    if (!startLocked_)
        markedFrame_ = static_cast<long>(toWholeNumber(double(MediaPlayer1->position())));
    const LoopPlan plan = loopPlan(markedFrame_, readNumber(Text4->text()), clipFps_);
    Text5->setText(plan.intervalText);
    Timer1.setInterval(int(plan.intervalMs));
    loopsLeft_ = static_cast<long>(wholeNumberOf(txtStartLoop->text()));
    MediaPlayer1->setSelectionStart(plan.selectionStart);
    MediaPlayer1->setSelectionEnd(plan.selectionEnd);
    playingBeforeStart_ = true;
    startTaken_ = true;
    Timer1.start();
    MediaPlayer1->play();
    if (MediaPlayer1->displaySize() != 3)
        MediaPlayer1->takeFocus();
}

void frmSetStart::Timer1_Timer() {
    if (!playingBeforeStart_)
        return;
    if (--loopsLeft_ < 1) {
        Timer1.stop();
        playingBeforeStart_ = false;
        MediaPlayer1->setDisplaySize(0);
        Command5->setFocus();
        return;
    }
    MediaPlayer1->play();
}

// ---- Taking the frame ----

void frmSetStart::cmdMarkStart_Click() {
    takeFrame();
}

void frmSetStart::btnGoToSetup_Click() {
    setupRequested_ = true;
    takeFrame();
}

void frmSetStart::takeFrame() {
    if (!MediaPlayer1->hasClip())
        return;
    Timer1.stop();
    playingBeforeStart_ = false;
    MediaPlayer1->stop();
    MediaPlayer1->setDisplaySize(0);
    // The frame asked for last is the one taken: it is on display first.
    MediaPlayer1->settle();
    if (MediaPlayer1->shownDamaged()) {
        // What is on display is an earlier frame: it is not this one's.
        app_.dialogs().warn(QStringLiteral("Frame ") +
                            QString::number(MediaPlayer1->shownPosition()) +
                            QStringLiteral(" of this clip is damaged and has no picture of its "
                                           "own.  Choose another frame."));
        return;
    }
    startLocked_ = true;
    markedFrame_ = takenFrame(double(MediaPlayer1->position()));
    startTaken_ = true;
    AppState& s = app_.state;
    const QString clip = MediaPlayer1->file();
    s.selectedVideoFile = clip;
    s.selectedFrame = markedFrame_;
    app_.log(QStringLiteral("Frame ") + QString::number(s.selectedFrame) +
             QStringLiteral(" Selected in ") + clip);
    // Failures are told; the flow goes on with whatever the file holds.
    MediaPlayer1->writeFrame(app_.dialogs(), markedFrame_,
                             app_.paths().inApp(currentCaptureName()));
    MediaPlayer1->setFile(QString()); // nothing holds the clip any more
    enableTaking(false);
    // Only the recording just handed over is the policy's to keep or
    // delete; a clip opened to view is the record of a jump already scored.
    if (!freshClipPath_.isEmpty() && clip == freshClipPath_)
        applyClipPolicy(clip);
    else
        recordViewedClip(clip);
    freshClipPath_.clear();
    s.screenMode = QStringLiteral("SelectFrame");
    if (!setupRequested_ && s.gridsReady == 1.0)
        passSkierToMeasure(clip);
    handOver();
}

// A clip opened to view that is measured again gets its frame record and
// side file as a kept clip does; it is never asked about or deleted.
void frmSetStart::recordViewedClip(const QString& clip) {
    const QString& policy = app_.state.videoSavePolicy;
    if (policy != QStringLiteral("Save") && policy != QStringLiteral("Ask"))
        return;
    AppState& s = app_.state;
    recordFrame(app_.dialogs(), joinPath(s.videoDir, s.measurementLogName), app_.clock().now(),
                clip, markedFrame_);
}

// The measure screen measures under the skier and jump of the clip whose
// frame was taken. For a clip not named by the capture screen the operator
// names the skier, the capture screen's name proposed (and kept on cancel).
void frmSetStart::passSkierToMeasure(const QString& clip) {
    MeasureView& measure = app_.measureView();
    if (const auto parts = clipNameParts(clip)) {
        measure.setSkierName(parts->skier);
        measure.setJumpNumber(parts->jump);
        return;
    }
    const QString proposed = app_.captureView().skierName();
    measure.setSkierName(askSkierOfClip(app_.dialogs(), clip, proposed).value_or(proposed));
}

void frmSetStart::applyClipPolicy(const QString& clip) {
    contactWorker_.reset(); // the clip may be deleted or moved now
    AppState& s = app_.state;
    switch (clipActionFor(app_.dialogs(), s.videoSavePolicy)) {
    case ClipAction::Record:
        recordFrame(app_.dialogs(), joinPath(s.videoDir, s.measurementLogName), app_.clock().now(),
                    clip, markedFrame_);
        app_.log(QStringLiteral("Video File ") + clip + QStringLiteral(" Saved"));
        break;
    case ClipAction::Delete:
        if (const FileResult deleted = deleteClip(clip); deleted) {
            app_.log(QStringLiteral("Video File ") + clip + QStringLiteral(" Erased"));
        } else {
            app_.log(QStringLiteral("Video File not erased: ") + deleted.error);
            app_.dialogs().error(QStringLiteral("The clip could not be deleted:\r\n") +
                                 deleted.error);
        }
        break;
    case ClipAction::Keep:
        break;
    }
}

void frmSetStart::handOver() {
    if (app_.state.gridsReady != 1.0) {
        app_.dialogs().warn(QStringLiteral("One or more grids are not configured.  You may not "
                                           "use the Measure Screen until all listed grids are "
                                           "configured"));
        leave();
        app_.handOver(Screen::GridSetup);
    } else if (setupRequested_) {
        leave();
        app_.handOver(Screen::GridSetup);
    } else {
        leave();
        app_.handOver(Screen::Measure);
    }
}

// ---- Browsing ----

void frmSetStart::Command6_Click() {
    Dialogs& dialogs = app_.dialogs();
    const auto chosen = chooseFileToOpen(dialogs, clipFileFilter(), 1, app_.state.videoDir);
    const bool avi = chosen && clipKindOfName(*chosen) == ClipKind::Avi;
    if (chosen && !isValidClip(dialogs, *chosen)) {
        dialogs.warn(avi ? QStringLiteral("Not a valid avi file")
                         : QStringLiteral("Not a valid video clip"));
    } else if (chosen) {
        clipPath_ = *chosen;
        freshClipPath_.clear(); // a clip opened by browsing is never deleted
        if (const auto measured = measuredFrameText(clipPath_))
            dialogs.message({QStringLiteral("File already measured - start frame is ") + *measured,
                             alreadyMeasuredTitle(), MsgIcon::None, MsgButtons::OK, 1});
        startTaken_ = false;
        Label5->setText(startPositionHint());
        clipFps_ = avi ? aviFrameRate(dialogs, clipPath_) : 0;
        lstFileInfo->clear();
        if (avi)
            if (const auto lines = aviInfoLines(dialogs, clipPath_))
                lstFileInfo->addItems(*lines);
    }
    MediaPlayer1->takeFocus();
    // A cancelled or refused choice keeps the clip and the frame on display.
    if (clipPath_ != MediaPlayer1->file())
        loadClip();
    // A phone's clip is described by its decoder, once it is open.
    if (chosen && !avi && clipPath_ == *chosen && MediaPlayer1->hasClip())
        lstFileInfo->addItems(clipInfoLines(clipPath_, MediaPlayer1->facts()));
    if (clipFps_ <= 0)
        clipFps_ = MediaPlayer1->frameRate();
    enableTaking(MediaPlayer1->hasClip());
    readyForStepping();
}

// ---- Leaving ----

// Every way out: playback and the key timer stop, the clip is let go, and
// the next arrival (a later capture too) is acted upon.
void frmSetStart::leave() {
    Timer1.stop();
    Timer2.stop();
    playingBeforeStart_ = false;
    MediaPlayer1->setDisplaySize(0);
    MediaPlayer1->setFile(QString());
    enableTaking(false);
    viewHandled_ = false;
    hide();
}

void frmSetStart::cmdGoToCapture_Click() {
    Command1->setEnabled(true);
    Command4->setEnabled(true);
    app_.showScreen(Screen::Capture);
    app_.state.previewActive = true;
    leave();
    app_.state.screenMode = QStringLiteral("Timer");
}

void frmSetStart::cmdGoToSetup_Click() {
    Command1->setEnabled(true);
    Command4->setEnabled(true);
    app_.showScreen(Screen::Main);
    leave();
    app_.state.screenMode = QStringLiteral("Timer");
}

void frmSetStart::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmdGoToSetup_Click();
}

void frmSetStart::cmdViewLog_Click() {
    viewHandled_ = false;
    app_.openLogView(this);
}

} // namespace zt
