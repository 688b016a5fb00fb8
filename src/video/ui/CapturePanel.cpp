#include "video/ui/CapturePanel.h"

#include "app/Dialogs.h"
#include "app/SettingsStore.h"
#include "app/Startup.h"
#include "app/TextFormat.h"
#include "app/ui/App.h"
#include "app/ui/Widgets.h"
#include "video/CaptureControl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>

namespace zt {

namespace {

// Shows the wait cursor for the life of the object.
struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

void addRow(QGridLayout* g, QWidget* a, QWidget* b = nullptr, QWidget* c = nullptr) {
    const int row = g->rowCount();
    g->addWidget(a, row, 0);
    if (b)
        g->addWidget(b, row, 1);
    if (c)
        g->addWidget(c, row, 2);
}

} // namespace

void fillWithNone(QComboBox* list, const CaptureChoices& choices) {
    list->clear();
    list->addItem(QStringLiteral("None"));
    list->addItems(choices.names);
    list->setCurrentIndex(choices.count() > 0 ? qBound(0, choices.current + 1, choices.count())
                                              : 0);
}

CapturePanel::CapturePanel(App& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("VideoConfigPanel"));
    auto* g = new QGridLayout(this);
    g->setContentsMargins(0, 0, 0, 0);
    buildDeviceControls();
    buildAudioControls();
    buildCaptureControls();
    auto* layout = g;
    addRow(layout, new QLabel(QStringLiteral("Video Device:"), this), Combo1, CmdConnect);
    addRow(layout, ResolLabel, ResolutionCombo, CmdPreview);
    addRow(layout, ColorLabel, ColorFormatCombo, VideoConfig);
    addRow(layout, InputLabel, VideoInput);
    addRow(layout, ChannelLabel, Channel);
    addRow(layout, new QLabel(QStringLiteral("Effect:"), this), Effect);
    addRow(layout, new QLabel(QStringLiteral("Frame Rate (fps)"), this), EdtRate);
    addRow(layout, new QLabel(QStringLiteral("Time Limit (sec)"), this), EdtLimit);
    addRow(layout, new QLabel(QStringLiteral("Video Compression:"), this), CompressionCombo,
           ComprConfig);
    addRow(layout, new QLabel(QStringLiteral("Audio Device:"), this), AudioDevice, AudioConfig);
    addRow(layout, AttribLabel, ComboAttrib, Check1);
    addRow(layout, AudioComprLabel, AudioCompr);
    addRow(layout, CaptureType, EdtFile, CmdCapFN);
    addRow(layout, CmdCap);
    layout->addWidget(FrmOptions, layout->rowCount(), 0, 1, 3);
    layout->addWidget(StrmOptions, layout->rowCount(), 0, 1, 3);
    addRow(layout, LblFrames, LblFrmDrop);
    addRow(layout, LblSamples, LblTime);
    layout->addWidget(LblStatus, layout->rowCount(), 0, 1, 3);
    connect(CmdConnect, &QPushButton::clicked, this, &CapturePanel::CmdConnect_Click);
    connect(EdtRate, &QLineEdit::textChanged, this, &CapturePanel::EdtRate_Change);
    connect(Check1, &QCheckBox::clicked, this, &CapturePanel::Check1_Click);
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
    StrmOptions = ui::named(new QGroupBox(QStringLiteral("Options"), this), "StrmOptions");
    LblFrames = ui::label(this, "LblFrames", QStringLiteral("Total Frames"));
    LblFrmDrop = ui::label(this, "LblFrmDrop", QStringLiteral("Frames Dropped"));
    LblSamples = ui::label(this, "LblSamples", QStringLiteral("Total Samples"));
    LblTime = ui::label(this, "LblTime", QStringLiteral("Time (ms)"));
    LblStatus = ui::label(this, "LblStatus", QString());
}

CaptureControl& CapturePanel::control() {
    return app_.captureControl();
}

void CapturePanel::fillFromCaptureControl() {
    CaptureControl& cc = control();
    CaptureType->setCurrentIndex(1);
    previewOn_ = cc.preview();
    CmdPreview->setText(previewOn_ ? QStringLiteral("Preview Off") : QStringLiteral("Preview On"));
    Combo1->clear();
    const int devices = cc.deviceCount();
    if (devices >= 1) {
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
}

void CapturePanel::hideOptions() {
    FrmOptions->hide();
    StrmOptions->hide();
    LblStatus->hide();
}

void CapturePanel::CmdConnect_Click() {
    WaitCursor wait;
    CaptureControl& cc = control();
    if (cc.deviceCount() < 1) {
        app_.dialogs().inform(
            QStringLiteral("No MCI capture devices are installed on this system"));
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

void CapturePanel::fillSetting(QComboBox* list, QLabel* label, const CaptureChoices& choices,
                               const WholeSetting& stored) {
    list->setEnabled(true);
    label->setEnabled(true);
    list->clear();
    list->addItems(choices.names);
    list->setCurrentIndex(choices.current);
    const long long index = app_.settings().get(stored);
    if (index >= 0 && index < list->count())
        list->setCurrentIndex(static_cast<int>(index));
}

void CapturePanel::fillInputs() {
    const CaptureChoices inputs = control().videoInputs();
    const bool any = inputs.count() > 0;
    VideoInput->clear();
    VideoInput->setEnabled(any);
    InputLabel->setEnabled(any);
    if (!any)
        return;
    VideoInput->addItems(inputs.names);
    const long long stored = app_.settings().get(setting::VideoInput);
    VideoInput->setCurrentIndex(stored < 0 || stored >= inputs.count() ? 0
                                                                       : static_cast<int>(stored));
}

void CapturePanel::fillTuner() {
    CaptureControl& cc = control();
    const bool tuner = cc.hasTuner();
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
    CmdConnect->setText(QStringLiteral("Connect"));
    for (QWidget* w : {static_cast<QWidget*>(CmdCap), static_cast<QWidget*>(CmdPreview),
                       static_cast<QWidget*>(VideoConfig)})
        w->setEnabled(false);
    for (QComboBox* list : {ResolutionCombo, ColorFormatCombo, Channel, VideoInput}) {
        list->clear();
        list->setEnabled(false);
    }
    for (QLabel* l : {ResolLabel, ColorLabel, ChannelLabel, InputLabel})
        l->setEnabled(false);
    app_.hideScreen(Screen::Capture);
    app_.state.previewActive = false;
}

void CapturePanel::InitAudioSettings() {
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
    CmdCap->setText(QStringLiteral("Capture Stream"));
}

void CapturePanel::Check1_Click() {
    control().setListen(Check1->isChecked());
}

void CapturePanel::reportError(const CaptureResult& result, bool hex) {
    const QString number =
        hex ? QString::number(static_cast<qulonglong>(result.code) & 0xFFFFFFFFu, 16).toUpper()
            : QString::number(result.code);
    app_.dialogs().message(
        {QStringLiteral("Eror code: ") + number + QLatin1Char(' ') + result.description,
         QStringLiteral("Error"), MsgIcon::None, MsgButtons::OK, 1});
}

} // namespace zt
