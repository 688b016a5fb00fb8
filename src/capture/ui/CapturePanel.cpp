#include "capture/ui/CapturePanel.h"

#include "app/Dialogs.h"
#include "app/Paths.h"
#include "app/SettingsStore.h"
#include "app/Startup.h"
#include "app/TextFormat.h"
#include "app/ui/AppContext.h"
#include "app/ui/Widgets.h"
#include "capture/CaptureControl.h"
#include "video/VideoDialogs.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QSignalBlocker>

namespace zt {

namespace {

const QString noDeviceText = QStringLiteral("No MCI capture devices are installed on this system");
const QString videoSources = QStringLiteral("Video Capture Sources");
const QString audioSources = QStringLiteral("Audio Capture Sources");

void addRow(QGridLayout* g, QWidget* a, QWidget* b = nullptr, QWidget* c = nullptr) {
    const int row = g->rowCount();
    g->addWidget(a, row, 0);
    if (b)
        g->addWidget(b, row, 1);
    if (c)
        g->addWidget(c, row, 2);
}

int wholeNumber(const QLineEdit* box) {
    return static_cast<int>(
        qBound(-2147483647LL, toWholeNumber(readNumber(box->text())), 2147483647LL));
}

} // namespace

void fillWithNone(QComboBox* list, const CaptureChoices& choices) {
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItem(QStringLiteral("None"));
    list->addItems(choices.names);
    list->setCurrentIndex(choices.count() > 0 ? qBound(0, choices.current + 1, choices.count())
                                              : 0);
}

CapturePanel::CapturePanel(AppContext& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("VideoConfigPanel"));
    buildDeviceControls();
    buildAudioControls();
    buildCaptureControls();
    layoutControls();
    connectHandlers();
}

void CapturePanel::buildDeviceControls() {
    Combo1 = ui::combo(this, "Combo1");
    CmdConnect = ui::button(this, "CmdConnect", QStringLiteral("Connect"));
    CmdPreview = ui::button(this, "CmdPreview", QStringLiteral("Preview On"));
    ResolutionCombo = ui::combo(this, "ResolutionCombo");
    ResolLabel = ui::label(this, "ResolLabel", QStringLiteral("Resolution:"));
    ColorFormatCombo = ui::combo(this, "ColorFormatCombo");
    ColorLabel = ui::label(this, "ColorLabel", QStringLiteral("Color Format:"));
    VideoInput = ui::combo(this, "VideoInput");
    InputLabel = ui::label(this, "InputLabel", QStringLiteral("Input:"));
    Channel = ui::combo(this, "Channel");
    ChannelLabel = ui::label(this, "ChannelLabel", QStringLiteral("Channel:"));
    VideoConfig = ui::button(this, "VideoConfig", QStringLiteral("Configure..."));
    Effect = ui::combo(this, "Effect");
    EdtRate = ui::edit(this, "EdtRate");
    EdtLimit = ui::edit(this, "EdtLimit");
    CompressionCombo = ui::combo(this, "CompressionCombo");
    ComprConfig = ui::button(this, "ComprConfig", QStringLiteral("Configure..."));
    for (QWidget* w : {static_cast<QWidget*>(CmdPreview), static_cast<QWidget*>(VideoConfig),
                       static_cast<QWidget*>(ComprConfig)})
        w->setEnabled(false);
}

void CapturePanel::buildAudioControls() {
    AudioDevice = ui::combo(this, "AudioDevice");
    AudioConfig = ui::button(this, "AudioConfig", QStringLiteral("Configure..."));
    AttribLabel = ui::label(this, "AttribLabel", QStringLiteral("Attributes:"));
    ComboAttrib = ui::combo(this, "ComboAttrib", audioAttributeEntries());
    AudioComprLabel = ui::label(this, "AudioComprLabel", QStringLiteral("Compression:"));
    AudioCompr = ui::combo(this, "AudioCompr");
    Check1 = ui::checkBox(this, "Check1", QStringLiteral("Listen"));
}

void CapturePanel::buildCaptureControls() {
    CaptureType =
        ui::combo(this, "CaptureType", {QStringLiteral("Frames"), QStringLiteral("Streams")});
    EdtFile = ui::edit(this, "EdtFile", QStringLiteral("testvid.avi"));
    CmdCapFN = ui::button(this, "CmdCapFN", QStringLiteral("..."));
    CmdCap = ui::button(this, "CmdCap", QStringLiteral("Capture Frame"));
    CmdCap->setEnabled(false);
    FrmOptions = ui::named(new QGroupBox(QStringLiteral("Options"), this), "FrmOptions");
    buildFrameOptions();
    StrmOptions = ui::named(new QGroupBox(QStringLiteral("Options"), this), "StrmOptions");
    auto* so = new QGridLayout(StrmOptions);
    so->addWidget(
        new QLabel(QStringLiteral("Frame rate, time limit and audio as set above"), StrmOptions));
    LblFrames = ui::label(this, "LblFrames", QStringLiteral("Total Frames"));
    LblFrmDrop = ui::label(this, "LblFrmDrop", QStringLiteral("Frames Dropped"));
    LblSamples = ui::label(this, "LblSamples", QStringLiteral("Total Samples"));
    LblTime = ui::label(this, "LblTime", QStringLiteral("Time (ms)"));
    LblStatus = ui::label(this, "LblStatus", QString());
    LblStatus->setWordWrap(true);
}

QWidget* CapturePanel::buildFrameOptions() {
    auto* fo = new QGridLayout(FrmOptions);
    fo->addWidget(ChkProg = ui::checkBox(FrmOptions, "ChkProg", QStringLiteral("Progressive JPG")),
                  0, 0);
    fo->addWidget(ChkAutoSave = ui::checkBox(FrmOptions, "ChkAutoSave", QStringLiteral("AutoSave")),
                  0, 1);
    fo->addWidget(
        ChkAutoInc = ui::checkBox(FrmOptions, "ChkAutoInc", QStringLiteral("AutoIncrement")), 0, 2);
    const struct {
        QLineEdit** box;
        const char* name;
        const char* caption;
    } boxes[] = {
        {&EdtLum, "EdtLum", "LumFactor:"},          {&EdtChrom, "EdtChrom", "ChromFactor:"},
        {&EdtInterval, "EdtInterval", "Interval:"}, {&EdtPass, "EdtPass", "Password:"},
        {&EdtCaption, "EdtCaption", "Caption:"},    {&EdtCapLeft, "EdtCapLeft", "CaptionLeft:"},
        {&EdtCapTop, "EdtCapTop", "CaptionTop:"}};
    int row = 1;
    for (const auto& b : boxes) {
        fo->addWidget(new QLabel(QString::fromLatin1(b.caption), FrmOptions), row, 0);
        fo->addWidget(*b.box = ui::edit(FrmOptions, b.name), row++, 1, 1, 2);
    }
    return FrmOptions;
}

void CapturePanel::layoutControls() {
    auto* g = new QGridLayout(this);
    g->setContentsMargins(0, 0, 0, 0);
    addRow(g, new QLabel(QStringLiteral("Video Device:"), this), Combo1, CmdConnect);
    addRow(g, ResolLabel, ResolutionCombo, CmdPreview);
    addRow(g, ColorLabel, ColorFormatCombo, VideoConfig);
    addRow(g, InputLabel, VideoInput);
    addRow(g, ChannelLabel, Channel);
    addRow(g, new QLabel(QStringLiteral("Effect:"), this), Effect);
    addRow(g, new QLabel(QStringLiteral("Frame Rate (fps)"), this), EdtRate);
    addRow(g, new QLabel(QStringLiteral("Time Limit (sec)"), this), EdtLimit);
    addRow(g, new QLabel(QStringLiteral("Video Compression:"), this), CompressionCombo,
           ComprConfig);
    addRow(g, new QLabel(QStringLiteral("Audio Device:"), this), AudioDevice, AudioConfig);
    addRow(g, AttribLabel, ComboAttrib, Check1);
    addRow(g, AudioComprLabel, AudioCompr);
    addRow(g, CaptureType, EdtFile, CmdCapFN);
    addRow(g, CmdCap);
    g->addWidget(FrmOptions, g->rowCount(), 0, 1, 3);
    g->addWidget(StrmOptions, g->rowCount(), 0, 1, 3);
    addRow(g, LblFrames, LblFrmDrop);
    addRow(g, LblSamples, LblTime);
    g->addWidget(LblStatus, g->rowCount(), 0, 1, 3);
    g->setRowStretch(g->rowCount(), 1);
    for (QComboBox* c : {Combo1, AudioDevice})
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->setMinimumContentsLength(22);
    AudioDevice->setMinimumContentsLength(22);
}

void CapturePanel::connectHandlers() {
    const auto onChoice = [this](QComboBox* list, void (CapturePanel::*handler)()) {
        connect(list, &QComboBox::currentIndexChanged, this, handler);
    };
    connect(CmdConnect, &QPushButton::clicked, this, &CapturePanel::CmdConnect_Click);
    connect(CmdPreview, &QPushButton::clicked, this, &CapturePanel::CmdPreview_Click);
    onChoice(ResolutionCombo, &CapturePanel::ResolutionCombo_Click);
    onChoice(ColorFormatCombo, &CapturePanel::ColorFormatCombo_Click);
    onChoice(VideoInput, &CapturePanel::VideoInput_Click);
    onChoice(Channel, &CapturePanel::Channel_Click);
    onChoice(CompressionCombo, &CapturePanel::CompressionCombo_Click);
    onChoice(AudioDevice, &CapturePanel::AudioDevice_Click);
    onChoice(AudioCompr, &CapturePanel::AudioCompr_Click);
    onChoice(ComboAttrib, &CapturePanel::ComboAttrib_Click);
    onChoice(Effect, &CapturePanel::Effect_Click);
    onChoice(CaptureType, &CapturePanel::CaptureType_Click);
    connect(VideoConfig, &QPushButton::clicked, this, &CapturePanel::VideoConfig_Click);
    connect(ComprConfig, &QPushButton::clicked, this, &CapturePanel::ComprConfig_Click);
    connect(AudioConfig, &QPushButton::clicked, this, &CapturePanel::AudioConfig_Click);
    connect(CmdCap, &QPushButton::clicked, this, &CapturePanel::CmdCap_Click);
    connect(CmdCapFN, &QPushButton::clicked, this, &CapturePanel::CmdCapFN_Click);
    connect(ChkAutoSave, &QCheckBox::clicked, this, &CapturePanel::ChkAutoSave_Click);
    connect(EdtRate, &QLineEdit::textChanged, this, &CapturePanel::EdtRate_Change);
    connect(Check1, &QCheckBox::clicked, this, &CapturePanel::Check1_Click);
}

CaptureControl& CapturePanel::control() {
    return app_.captureControl();
}

void CapturePanel::selectQuietly(QComboBox* list, int index) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index);
}

void CapturePanel::fillFromCaptureControl() {
    CaptureControl& cc = control();
    selectQuietly(CaptureType, 1);
    CaptureType_Click();
    previewOn_ = cc.preview();
    CmdPreview->setText(previewOn_ ? QStringLiteral("Preview Off") : QStringLiteral("Preview On"));
    const QSignalBlocker quiet(Combo1);
    Combo1->clear();
    const int devices = cc.deviceCount();
    noDevice_ = devices < 1;
    if (!noDevice_) {
        for (int i = 0; i < devices; ++i)
            Combo1->addItem(cc.deviceName(i));
        const long long stored = app_.settings().get(setting::device);
        Combo1->setCurrentIndex(stored < 0 || stored >= devices ? 0 : static_cast<int>(stored));
    } else {
        Combo1->addItem(QStringLiteral("No Capture Devices"));
        Combo1->setCurrentIndex(0);
    }
    fillWithNone(AudioDevice, cc.audioDevices());
    fillWithNone(CompressionCombo, cc.videoCompressors());
    fillWithNone(AudioCompr, cc.audioCompressors());
    const QSignalBlocker quietEffect(Effect);
    Effect->clear();
    Effect->addItem(QStringLiteral("None"));
    const int effects = cc.effectCount(videoEffectSlot());
    Effect->setEnabled(effects >= 1);
    for (int i = 1; i <= effects; ++i)
        Effect->addItem(cc.effectName(videoEffectSlot(), i - 1));
    Effect->setCurrentIndex(
        effects >= 1 ? qBound(0, cc.currentEffect(videoEffectSlot()) + 1, effects) : 0);
    EdtFile->setText(cc.stillFile());
    const StillOptions o = cc.stillOptions();
    ChkProg->setChecked(o.progressiveJpeg);
    ChkAutoSave->setChecked(o.autoSave);
    ChkAutoInc->setChecked(o.autoIncrement);
    EdtChrom->setText(QString::number(o.chromFactor));
    EdtLum->setText(QString::number(o.lumFactor));
    EdtPass->setText(o.password);
    EdtInterval->setText(QString::number(o.interval));
    EdtCapLeft->setText(QString::number(o.captionLeft));
    EdtCapTop->setText(QString::number(o.captionTop));
    EdtCaption->setText(o.caption);
    Check1->setChecked(cc.listen());
    cc.setVideoQuality(static_cast<int>(app_.settings().get(setting::mjpegQuality)));
    InitAudioSettings();
    double rate = app_.settings().get(setting::framerate);
    if (rate < 1)
        rate = cc.frameRate();
    EdtRate->setText(numberText(rate));
    EdtLimit->setText(QString::number(cc.timeLimit()));
}

void CapturePanel::selectStoredCompression() {
    const long long stored = app_.settings().get(setting::compression);
    CompressionCombo->setCurrentIndex(
        stored < 0 || stored >= CompressionCombo->count() ? 0 : static_cast<int>(stored));
    CompressionCombo_Click();
}

void CapturePanel::hideOptions() {
    FrmOptions->hide();
    StrmOptions->hide();
    LblStatus->hide();
}

// ---- Connecting ----

void CapturePanel::CmdConnect_Click() {
    ui::WaitCursor wait;
    CaptureControl& cc = control();
    if (cc.deviceCount() < 1) {
        app_.dialogs().inform(noDeviceText);
    } else if (cc.isConnected()) {
        cc.disconnectDevice();
        OnDisconnect();
    } else {
        connectDevice();
    }
    if (CaptureType->currentIndex() == 1) {
        EnableAudioConfig();
        EnableVideoCompressionConfig();
    }
}

void CapturePanel::connectDevice() {
    CaptureControl& cc = control();
    const int device = qMax(0, Combo1->currentIndex());
    const CaptureResult r = cc.connectDevice(device);
    if (!r) {
        reportError(r, true);
        return;
    }
    app_.settings().set(setting::device, device);
    CmdPreview->setEnabled(true);
    fillSetting(ResolutionCombo, ResolLabel, cc.resolutions(), setting::VideoResolution);
    fillSetting(ColorFormatCombo, ColorLabel, cc.colorFormats(), setting::ColorFormat);
    fillInputs();
    fillTuner();
    EdtRate->setText(QString::number(cc.frameRate()));
    EdtLimit->setText(QString::number(cc.timeLimit()));
    CmdCap->setEnabled(true);
    VideoConfig->setEnabled(cc.dialogAvailable(capture_dialog::videoSource));
    CmdConnect->setText(QStringLiteral("Disconnect"));
    InitAudioSettings();
    if (previewOn_) {
        cc.setPreview(true);
        app_.state.previewActive = true;
    }
}

// The list filled from the control with its entry in use; then the stored
// entry, which is applied as a choice of the operator would be.
void CapturePanel::fillSetting(QComboBox* list, QLabel* label, const CaptureChoices& choices,
                               const WholeSetting& stored) {
    list->setEnabled(true);
    label->setEnabled(true);
    {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(choices.names);
        list->setCurrentIndex(choices.current);
    }
    const long long index = app_.settings().get(stored);
    if (index >= 0 && index < list->count())
        list->setCurrentIndex(static_cast<int>(index));
}

void CapturePanel::fillInputs() {
    const CaptureChoices inputs = control().videoInputs();
    const bool any = inputs.count() > 0;
    {
        const QSignalBlocker quiet(VideoInput);
        VideoInput->clear();
        VideoInput->addItems(inputs.names);
        VideoInput->setCurrentIndex(inputs.current);
    }
    VideoInput->setEnabled(any);
    InputLabel->setEnabled(any);
    if (!any)
        return;
    const long long stored = app_.settings().get(setting::VideoInput);
    VideoInput->setCurrentIndex(stored < 0 || stored >= inputs.count() ? 0
                                                                       : static_cast<int>(stored));
}

void CapturePanel::fillTuner() {
    CaptureControl& cc = control();
    const bool tuner = cc.hasTuner();
    const QSignalBlocker quiet(Channel);
    Channel->clear();
    Channel->setEnabled(tuner);
    ChannelLabel->setEnabled(tuner);
    if (!tuner)
        return;
    for (int c = cc.lowestChannel(); c <= cc.highestChannel(); ++c)
        Channel->addItem(QString::number(c));
    Channel->setCurrentIndex(cc.channel() - cc.lowestChannel());
}

void CapturePanel::OnDisconnect() {
    showDisconnectedControls();
    app_.hideScreen(Screen::Capture);
    app_.state.previewActive = false;
}

void CapturePanel::showDisconnectedControls() {
    CmdConnect->setText(QStringLiteral("Connect"));
    for (QWidget* w : {static_cast<QWidget*>(CmdCap), static_cast<QWidget*>(CmdPreview),
                       static_cast<QWidget*>(VideoConfig)})
        w->setEnabled(false);
    for (QComboBox* list : {ResolutionCombo, ColorFormatCombo, Channel, VideoInput}) {
        const QSignalBlocker quiet(list);
        list->clear();
        list->setEnabled(false);
    }
    for (QLabel* l : {ResolLabel, ColorLabel, ChannelLabel, InputLabel})
        l->setEnabled(false);
}

// The device stopped delivering while the operator may be on any screen:
// the panel shows it is not connected and leaves the screens as they are.
void CapturePanel::showConnectionLost() {
    showDisconnectedControls();
    EnableAudioConfig();
    EnableVideoCompressionConfig();
}

void CapturePanel::CmdPreview_Click() {
    CaptureControl& cc = control();
    if (cc.preview()) {
        cc.setPreview(false);
        app_.hideScreen(Screen::Capture);
        app_.state.previewActive = false;
    } else {
        app_.showScreen(Screen::Capture);
        cc.setPreview(true);
        app_.state.previewActive = true;
        app_.hideScreen(Screen::Main);
    }
    previewOn_ = cc.preview();
    CmdPreview->setText(previewOn_ ? QStringLiteral("Preview Off") : QStringLiteral("Preview On"));
}

// ---- Lists ----

// A device list's entry applied when it differs from the one in use, and
// kept; a failure is told and the list shows what the device uses.
void CapturePanel::applyDeviceChoice(QComboBox* list,
                                     CaptureChoices (CaptureControl::*choices)() const,
                                     CaptureResult (CaptureControl::*choose)(int),
                                     const WholeSetting& stored) {
    CaptureControl& cc = control();
    const int i = list->currentIndex();
    if (i < 0 || i == (cc.*choices)().current)
        return;
    if (const CaptureResult r = (cc.*choose)(i); !r) {
        reportError(r, false);
        selectQuietly(list, (cc.*choices)().current);
        return;
    }
    app_.settings().set(stored, i);
}

void CapturePanel::ResolutionCombo_Click() {
    applyDeviceChoice(ResolutionCombo, &CaptureControl::resolutions, &CaptureControl::setResolution,
                      setting::VideoResolution);
}

void CapturePanel::ColorFormatCombo_Click() {
    applyDeviceChoice(ColorFormatCombo, &CaptureControl::colorFormats,
                      &CaptureControl::setColorFormat, setting::ColorFormat);
}

void CapturePanel::VideoInput_Click() {
    applyDeviceChoice(VideoInput, &CaptureControl::videoInputs, &CaptureControl::setVideoInput,
                      setting::VideoInput);
}

void CapturePanel::Channel_Click() {
    const int i = Channel->currentIndex();
    CaptureControl& cc = control();
    if (i < 0 || cc.lowestChannel() + i == cc.channel())
        return;
    if (const CaptureResult r = cc.setChannel(cc.lowestChannel() + i); !r)
        app_.dialogs().message({QStringLiteral("Error code: ") + QString::number(r.code) +
                                    QLatin1Char(' ') + r.description,
                                QStringLiteral("Error"), MsgIcon::None, MsgButtons::OK, 1});
}

void CapturePanel::CompressionCombo_Click() {
    const int entry = CompressionCombo->currentIndex();
    if (entry < 0)
        return;
    if (entry - 1 != control().videoCompressors().current) {
        if (const CaptureResult r = control().setVideoCompressor(entry - 1); !r) {
            reportError(r, false);
            selectQuietly(CompressionCombo, control().videoCompressors().current + 1);
            return;
        }
    }
    EnableVideoCompressionConfig();
    app_.settings().set(setting::compression, entry);
}

void CapturePanel::AudioDevice_Click() {
    const int entry = AudioDevice->currentIndex();
    if (entry < 0 || entry - 1 == control().audioDevices().current)
        return;
    if (const CaptureResult r = control().setAudioDevice(entry - 1); !r) {
        reportError(r, false);
        selectQuietly(AudioDevice, control().audioDevices().current + 1);
        return;
    }
    EnableAudioConfig();
    if (control().isConnected())
        InitAudioSettings();
}

void CapturePanel::AudioCompr_Click() {
    const int entry = AudioCompr->currentIndex();
    if (entry < 0 || entry - 1 == control().audioCompressors().current)
        return;
    if (const CaptureResult r = control().setAudioCompressor(entry - 1); !r) {
        reportError(r, false);
        selectQuietly(AudioCompr, control().audioCompressors().current + 1);
    }
}

// The entry's own text gives the format (an entry added for the device's
// format may stand past the sixteen).
void CapturePanel::ComboAttrib_Click() {
    if (ComboAttrib->currentIndex() < 0)
        return;
    const AudioFormat f = audioFormatOfEntryText(ComboAttrib->currentText());
    if (f == control().audioFormat())
        return;
    if (const CaptureResult r = control().setAudioFormat(f); !r) {
        reportError(r, false);
        InitAudioSettings();
    }
}

void CapturePanel::Effect_Click() {
    const int entry = Effect->currentIndex();
    CaptureControl& cc = control();
    if (entry <= 0) {
        cc.applyEffect(videoEffectSlot(), -1);
        return;
    }
    const QString name = Effect->currentText();
    const int index = cc.effectIndex(videoEffectSlot(), name);
    if (index < 0) {
        app_.dialogs().inform(QStringLiteral("Cannot find ") + name + QStringLiteral(" effect"));
        selectQuietly(Effect, 0);
        cc.applyEffect(videoEffectSlot(), -1);
        return;
    }
    if (const CaptureResult r = cc.applyEffect(videoEffectSlot(), index); !r)
        reportError(r, false);
}

void CapturePanel::InitAudioSettings() {
    const QSignalBlocker quiet(ComboAttrib);
    ComboAttrib->setCurrentIndex(0);
    const QString text = audioFormatText(control().audioFormat());
    for (int i = 0; i < ComboAttrib->count(); ++i) {
        if (ComboAttrib->itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
            ComboAttrib->setCurrentIndex(i);
            return;
        }
    }
    ComboAttrib->addItem(text);
    ComboAttrib->setCurrentIndex(ComboAttrib->count() - 1);
}

void CapturePanel::EnableVideoCompressionConfig() {
    CaptureControl& cc = control();
    ComprConfig->setEnabled(CompressionCombo->currentIndex() > 0 && cc.isConnected() &&
                            cc.dialogAvailable(capture_dialog::videoCompression));
}

void CapturePanel::EnableAudioConfig() {
    CaptureControl& cc = control();
    const bool on = AudioDevice->currentIndex() > 0 && cc.isConnected();
    for (QWidget* w : {static_cast<QWidget*>(AudioConfig), static_cast<QWidget*>(AttribLabel),
                       static_cast<QWidget*>(ComboAttrib), static_cast<QWidget*>(AudioComprLabel),
                       static_cast<QWidget*>(AudioCompr)})
        w->setEnabled(on);
    if (on)
        AudioConfig->setEnabled(cc.dialogAvailable(capture_dialog::audioFormat));
}

void CapturePanel::EdtRate_Change() {
    app_.settings().set(setting::framerate, EdtRate->text());
    const double rate = readNumber(EdtRate->text());
    // A box being typed in may read 0 for a moment; the device keeps its rate.
    const long long whole = toWholeNumber(rate);
    if (whole >= 1) {
        const CaptureResult r = control().setFrameRate(static_cast<int>(qMin(whole, 1000LL)));
        if (!r)
            reportError(r, false);
    }
    if (frameRateLabel_)
        frameRateLabel_->setText(frameRateClassCaption(rate, frameRateLabel_->text()));
}

double CapturePanel::frameRateBoxValue() const {
    return readNumber(EdtRate->text());
}

void CapturePanel::Check1_Click() {
    control().setListen(Check1->isChecked());
}

// ---- Configuration dialogs ----

void CapturePanel::VideoConfig_Click() {
    CaptureControl& cc = control();
    const int effect = Effect->currentIndex();
    const int dialog =
        effect > 0 ? capture_dialog::videoEffect + effect : capture_dialog::videoSource;
    if (const CaptureResult r = cc.showDialog(dialog); !r)
        reportError(r, true);
    reselectFromControl();
}

// After the device's own dialog: the lists show what the device now uses.
void CapturePanel::reselectFromControl() {
    CaptureControl& cc = control();
    selectQuietly(ResolutionCombo, cc.resolutions().current);
    selectQuietly(ColorFormatCombo, cc.colorFormats().current);
    if (cc.hasTuner())
        selectQuietly(Channel, cc.channel() - cc.lowestChannel());
    if (VideoInput->isEnabled())
        selectQuietly(VideoInput, cc.videoInputs().current);
    {
        const QSignalBlocker quiet(EdtRate);
        EdtRate->setText(QString::number(cc.frameRate()));
    }
    app_.settings().set(setting::framerate, EdtRate->text());
    if (frameRateLabel_)
        frameRateLabel_->setText(frameRateClassCaption(cc.frameRate(), frameRateLabel_->text()));
}

void CapturePanel::ComprConfig_Click() {
    if (const CaptureResult r = control().showDialog(capture_dialog::videoCompression); !r)
        reportError(r, true);
    app_.settings().set(setting::mjpegQuality, control().videoQuality());
}

void CapturePanel::AudioConfig_Click() {
    if (const CaptureResult r = control().showDialog(capture_dialog::audioFormat); !r)
        reportError(r, true);
    InitAudioSettings();
}

// ---- The panel's own capture ----

void CapturePanel::CaptureType_Click() {
    CaptureControl& cc = control();
    const bool frames = CaptureType->currentIndex() == 0;
    CmdCap->setText(frames ? QStringLiteral("Capture Frame") : QStringLiteral("Capture Stream"));
    EdtFile->setText(frames ? cc.stillFile() : cc.captureFile());
    FrmOptions->setVisible(frames);
    StrmOptions->setVisible(!frames);
    if (!frames) {
        EnableAudioConfig();
        EnableVideoCompressionConfig();
    }
}

// A file name without a folder goes into the video folder.
QString CapturePanel::panelFilePath() const {
    const QString text = EdtFile->text().trimmed();
    if (text.isEmpty() || QDir::isAbsolutePath(text))
        return text;
    return joinPath(app_.state.videoDir, text);
}

void CapturePanel::SetCaptureValues() {
    CaptureControl& cc = control();
    if (CaptureType->currentIndex() == 0) {
        StillOptions o;
        o.progressiveJpeg = ItoB(ChkProg->isChecked());
        o.autoSave = ItoB(ChkAutoSave->isChecked());
        o.autoIncrement = ItoB(ChkAutoInc->isChecked());
        o.lumFactor = wholeNumber(EdtLum);
        o.chromFactor = wholeNumber(EdtChrom);
        o.interval = wholeNumber(EdtInterval);
        o.captionLeft = wholeNumber(EdtCapLeft);
        o.captionTop = wholeNumber(EdtCapTop);
        o.password = EdtPass->text();
        o.caption = EdtCaption->text();
        cc.setStillOptions(o);
        cc.setStillFile(panelFilePath());
        return;
    }
    cc.setCaptureFile(panelFilePath());
    if (const int rate = wholeNumber(EdtRate); rate >= 1)
        cc.setFrameRate(rate);
    cc.setTimeLimit(qMax(0, wholeNumber(EdtLimit)));
    if (ComboAttrib->currentIndex() >= 0)
        cc.setAudioFormat(audioFormatOfEntryText(ComboAttrib->currentText()));
}

void CapturePanel::CmdCap_Click() {
    ui::WaitCursor wait;
    CaptureControl& cc = control();
    CaptureResult r;
    if (CaptureType->currentIndex() == 0) {
        SetCaptureValues();
        r = cc.saveStill();
    } else if (!streamRecording_) {
        SetCaptureValues();
        r = cc.startCapture();
        if (r) {
            streamRecording_ = true;
            CmdCap->setText(QStringLiteral("End Capture"));
        }
    } else {
        streamRecording_ = false;
        r = cc.stopCapture();
        showCaptureCounters(
            {cc.framesRecorded(), cc.framesDropped(), cc.samples(), cc.elapsedMs()});
        CmdCap->setText(QStringLiteral("Capture Stream"));
    }
    if (!r)
        reportError(r, true);
}

void CapturePanel::CmdCapFN_Click() {
    EdtFile->setText(showSaveDialog(app_.dialogs(), EdtFile->text(), 0));
}

void CapturePanel::ChkAutoSave_Click() {
    SetCaptureValues();
}

// ---- Events of the device ----

void CapturePanel::showCaptureStatus(const QString& text) {
    LblStatus->setText(text);
}

void CapturePanel::showCaptureCounters(const CaptureCounters& c) {
    LblFrames->setText(QString::number(c.framesRecorded));
    LblFrmDrop->setText(QString::number(c.framesDropped));
    LblSamples->setText(QString::number(c.samples));
    LblTime->setText(QString::number(c.elapsedMs));
}

void CapturePanel::showStreamStopped() {
    if (!streamRecording_)
        return;
    streamRecording_ = false;
    CmdCap->setText(QStringLiteral("Capture Stream"));
}

void CapturePanel::showDeviceChange(const QString& list, int kind, int index, const QString& name) {
    if (list == videoSources)
        videoDeviceChange(kind, index, name);
    else if (list == audioSources)
        audioDeviceChange(kind, index, name);
}

// Combo1 follows the control's list: a device that came is added (the
// first one replaces the no-device entry), one that went is taken out.
void CapturePanel::videoDeviceChange(int kind, int index, const QString& name) {
    CaptureControl& cc = control();
    const QSignalBlocker quiet(Combo1);
    if (kind == 0 && noDevice_ && index == 0) {
        Combo1->clear();
        Combo1->addItem(name);
        Combo1->setCurrentIndex(0);
        noDevice_ = false;
        cc.setCurrentDevice(0);
        return;
    }
    if (kind == 0) {
        Combo1->addItem(name);
        if (!cc.isConnected() && cc.currentDevice() != index &&
            app_.dialogs().askYesNo(name + QStringLiteral(" is plugged into your computer. Do you "
                                                          "want to use it?"),
                                    QString()))
            cc.setCurrentDevice(index);
    } else if (index >= 0 && index < Combo1->count() && !noDevice_) {
        Combo1->removeItem(index);
    }
    if (cc.deviceCount() >= 1) {
        Combo1->setCurrentIndex(cc.currentDevice());
    } else {
        Combo1->clear();
        Combo1->addItem(noDeviceText);
        noDevice_ = true;
    }
}

void CapturePanel::audioDeviceChange(int kind, int index, const QString& name) {
    const QSignalBlocker quiet(AudioDevice);
    if (kind == 0)
        AudioDevice->addItem(name);
    else if (index + 1 < AudioDevice->count())
        AudioDevice->removeItem(index + 1);
    AudioDevice->setCurrentIndex(control().audioDevices().current + 1);
    EnableAudioConfig();
}

void CapturePanel::reportError(const CaptureResult& result, bool hex) {
    app_.dialogs().message(
        {captureErrorText(result, hex), QStringLiteral("Error"), MsgIcon::None, MsgButtons::OK, 1});
}

} // namespace zt
