#pragma once
// The capture device panel of the main screen: device, resolution, colour
// format, input, channel, frame rate, time limit, compressors, audio,
// effects and still-frame options, applied to the capture device at once
// and kept in the settings; a capture of its own ("Frames" or "Streams");
// the counters and the status of the device; the device lists kept current
// as devices come and go.

#include "app/SettingsTable.h"
#include "capture/CaptureScreenView.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zt {

class AppContext;
class CaptureControl;
struct CaptureChoices;
struct CaptureResult;

class CapturePanel : public QWidget, public CaptureStatusView {
    Q_OBJECT
public:
    CapturePanel(AppContext& app, QWidget* parent);

    // The main screen's frame-rate class caption, kept current by the rate.
    void setFrameRateLabel(QLabel* label) { frameRateLabel_ = label; }

    // Start-up: fills the lists and boxes from the capture control.
    void fillFromCaptureControl();
    // Start-up: selects the stored compression ("None" when negative or
    // unknown).
    void selectStoredCompression();
    // Hides the option panels and the status label.
    void hideOptions();

    static bool ItoB(int value) { return value != 0; }
    static int BtoI(bool value) { return value ? 1 : 0; }

    QComboBox* Combo1;
    QPushButton* CmdConnect;
    QPushButton* CmdPreview;
    QComboBox* ResolutionCombo;
    QLabel* ResolLabel;
    QComboBox* ColorFormatCombo;
    QLabel* ColorLabel;
    QComboBox* VideoInput;
    QLabel* InputLabel;
    QComboBox* Channel;
    QLabel* ChannelLabel;
    QPushButton* VideoConfig;
    QComboBox* Effect;
    QLineEdit* EdtRate;
    QLineEdit* EdtLimit;
    QComboBox* CompressionCombo;
    QPushButton* ComprConfig;
    QComboBox* AudioDevice;
    QPushButton* AudioConfig;
    QLabel* AttribLabel;
    QComboBox* ComboAttrib;
    QLabel* AudioComprLabel;
    QComboBox* AudioCompr;
    QCheckBox* Check1;
    QComboBox* CaptureType;
    QLineEdit* EdtFile;
    QPushButton* CmdCapFN;
    QPushButton* CmdCap;
    QGroupBox* FrmOptions;
    QCheckBox* ChkProg;
    QCheckBox* ChkAutoSave;
    QCheckBox* ChkAutoInc;
    QLineEdit* EdtLum;
    QLineEdit* EdtChrom;
    QLineEdit* EdtInterval;
    QLineEdit* EdtPass;
    QLineEdit* EdtCaption;
    QLineEdit* EdtCapLeft;
    QLineEdit* EdtCapTop;
    QGroupBox* StrmOptions;
    QLabel* LblFrames;
    QLabel* LblFrmDrop;
    QLabel* LblSamples;
    QLabel* LblTime;
    QLabel* LblStatus;

    // CaptureStatusView.
    void showCaptureStatus(const QString& text) override;
    void showCaptureCounters(const CaptureCounters& counters) override;
    void showStreamStopped() override;
    void showDeviceChange(const QString& list, int kind, int index, const QString& name) override;
    void showConnectionLost() override;
    void SetCaptureValues() override;
    double frameRateBoxValue() const override;

public slots:
    void CmdConnect_Click();
    void OnDisconnect();
    void CmdPreview_Click();
    void ResolutionCombo_Click();
    void ColorFormatCombo_Click();
    void VideoInput_Click();
    void Channel_Click();
    void CompressionCombo_Click();
    void AudioDevice_Click();
    void AudioCompr_Click();
    void ComboAttrib_Click();
    void VideoConfig_Click();
    void ComprConfig_Click();
    void AudioConfig_Click();
    void Effect_Click();
    void CaptureType_Click();
    void CmdCap_Click();
    void CmdCapFN_Click();
    void ChkAutoSave_Click();
    void InitAudioSettings();
    void EnableVideoCompressionConfig();
    void EnableAudioConfig();
    void EdtRate_Change();
    void Check1_Click();

private:
    CaptureControl& control();
    void buildDeviceControls();
    void buildAudioControls();
    void buildCaptureControls();
    QWidget* buildFrameOptions();
    void layoutControls();
    void connectHandlers();
    void connectDevice();
    void fillSetting(QComboBox* list, QLabel* label, const CaptureChoices& choices,
                     const WholeSetting& stored);
    void fillInputs();
    void fillTuner();
    void reselectFromControl();
    void showDisconnectedControls();
    void videoDeviceChange(int kind, int index, const QString& name);
    void audioDeviceChange(int kind, int index, const QString& name);
    void selectQuietly(QComboBox* list, int index);
    void applyDeviceChoice(QComboBox* list, CaptureChoices (CaptureControl::*choices)() const,
                           CaptureResult (CaptureControl::*choose)(int),
                           const WholeSetting& stored);
    void reportError(const CaptureResult& result, bool hex);
    QString panelFilePath() const;

    AppContext& app_;
    QLabel* frameRateLabel_ = nullptr;
    bool previewOn_ = false;       // CmdPreview offers "Preview Off"
    bool streamRecording_ = false; // CmdCap offers "End Capture"
    bool noDevice_ = false;        // Combo1 holds only the no-device entry
};

// "None" followed by the names; the entry in use selected ("None" when the
// control has none of that kind).
void fillWithNone(QComboBox* list, const CaptureChoices& choices);
} // namespace zt
