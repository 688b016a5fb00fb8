// The capture control on the test camera (its operations, device changes
// and configuration dialogs) and the main screen's capture device panel
// filled from it.

#include "capture/DeviceCaptureControl.h"
#include "capture/TestCamera.h"
#include "capture/ui/CapturePanel.h"
#include "capture/ui/PreviewForm.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/CaptureFixtures.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace zt;
using zt::test::ScriptedDialogs;
using zt::test::TestEnv;

namespace {

quint32 le32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData() + at));
}
quint16 le16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData() + at));
}

QImage nextPicture(CaptureControl& cc) {
    QImage picture;
    test::waitUntil(
        [&] {
            picture = cc.currentFrame();
            return !picture.isNull();
        },
        5000);
    return picture;
}

const QString videoList = QStringLiteral("Video Capture Sources");
const QString noDevice = QStringLiteral("No MCI capture devices are installed on this system");

} // namespace

TEST(CaptureDevice, ListsConnectsPreviewsAndSwitchesResolution) {
    ScriptedDialogs dialogs;
    DeviceCaptureControl cc({false, true}, dialogs);
    ASSERT_EQ(cc.deviceCount(), 1);
    EXPECT_EQ(cc.deviceName(0), TestCameraBackend::cameraName());
    EXPECT_EQ(cc.audioDevices().names, QStringList{TestCameraBackend::toneName()});
    EXPECT_EQ(cc.videoCompressors().names, (QStringList{"MJPEG", "FFV1"}));
    const CaptureResult bad = cc.connectDevice(1);
    EXPECT_EQ(bad.code, capture_error::badIndex);
    EXPECT_TRUE(cc.currentFrame().isNull());
    EXPECT_EQ(cc.setResolution(1).code, capture_error::notConnected);

    QSignalSpy status(&cc, &CaptureControl::status);
    ASSERT_TRUE(cc.connectDevice(0));
    EXPECT_TRUE(cc.isConnected());
    EXPECT_EQ(status.count(), 1);
    EXPECT_EQ(cc.resolutions().names, (QStringList{"640x480", "1280x720", "320x240", "1920x1080"}));
    EXPECT_EQ(cc.videoInputs().names, QStringList{"Camera"});
    cc.setPreview(true);
    EXPECT_EQ(nextPicture(cc).size(), QSize(640, 480));

    ASSERT_TRUE(cc.setResolution(2));
    EXPECT_EQ(cc.resolutions().current, 2);
    EXPECT_EQ(nextPicture(cc).size(), QSize(320, 240));
    EXPECT_EQ(cc.setResolution(4).code, capture_error::badIndex);
    EXPECT_EQ(cc.resolutions().current, 2);
    // The counter in the picture moves on.
    const int first = readFrameCode(nextPicture(cc)).value_or(-1);
    test::waitUntil([&] { return readFrameCode(cc.currentFrame()).value_or(-1) > first; }, 3000);
    EXPECT_GT(readFrameCode(cc.currentFrame()).value_or(-1), first);

    // No effects: measurement pictures are never altered.
    EXPECT_EQ(cc.effectCount(videoEffectSlot()), 0);
    EXPECT_TRUE(cc.applyEffect(videoEffectSlot(), -1));
    EXPECT_FALSE(cc.applyEffect(videoEffectSlot(), 0));

    cc.disconnectDevice();
    EXPECT_FALSE(cc.preview());
    EXPECT_TRUE(cc.currentFrame().isNull());
}

TEST(CaptureDevice, SavesAStillFrameAsA24BitBitmap) {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    DeviceCaptureControl cc({false, true}, dialogs);
    cc.setStillFile(dir.filePath(QStringLiteral("currentcapture.bmp")));
    EXPECT_EQ(cc.saveStill().code, capture_error::notConnected);
    ASSERT_TRUE(cc.connectDevice(0));
    ASSERT_TRUE(cc.setResolution(2)); // 320x240
    const CaptureResult r = cc.saveStill();
    ASSERT_TRUE(r) << r.description.toStdString();
    const QByteArray bmp = test::readAll(cc.stillFile());
    ASSERT_GE(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), "BM");
    EXPECT_EQ(le32(bmp, 2), static_cast<quint32>(bmp.size()));
    EXPECT_EQ(le32(bmp, 18), 320u);
    EXPECT_EQ(le32(bmp, 22), 240u); // positive height: bottom-up rows
    EXPECT_EQ(le16(bmp, 28), 24);
    EXPECT_EQ(bmp.size(), 54 + 320 * 3 * 240);
    // The picture is the camera's: its counter reads back from the file.
    EXPECT_TRUE(readFrameCode(QImage(cc.stillFile())).has_value());

    cc.setStillFile(dir.filePath(QStringLiteral("no/such/folder/x.bmp")));
    const CaptureResult failed = cc.saveStill();
    EXPECT_EQ(failed.code, capture_error::fileError);
    EXPECT_TRUE(failed.description.contains(QStringLiteral("x.bmp")));
}

TEST(CaptureDevice, CamerasComingAndGoingAreTold) {
    ScriptedDialogs dialogs;
    DeviceCaptureControl cc({false, true}, dialogs);
    QSignalSpy changes(&cc, &CaptureControl::deviceChange);
    QSignalSpy lost(&cc, &CaptureControl::connectionLost);
    QSignalSpy warnings(&cc, &CaptureControl::warning);
    ASSERT_TRUE(cc.connectDevice(0));
    cc.testCamera()->setPresent(false);
    cc.rescanDevices();
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][0].toString(), videoList);
    EXPECT_EQ(changes[0][1].toInt(), 1);
    EXPECT_EQ(changes[0][2].toInt(), 0);
    EXPECT_EQ(cc.deviceCount(), 0);
    EXPECT_FALSE(cc.isConnected());
    EXPECT_EQ(lost.count(), 1);
    ASSERT_EQ(warnings.count(), 1);
    EXPECT_TRUE(warnings[0][0].toString().contains(TestCameraBackend::cameraName()));

    cc.testCamera()->setPresent(true);
    cc.rescanDevices();
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes[1][1].toInt(), 0);
    EXPECT_EQ(changes[1][3].toString(), TestCameraBackend::cameraName());
    cc.rescanDevices(); // nothing new
    EXPECT_EQ(changes.count(), 2);
}

TEST(CaptureDevice, ConfigurationDialogsChangeWhatTheyShow) {
    ScriptedDialogs dialogs;
    DeviceCaptureControl cc({false, true}, dialogs);
    EXPECT_FALSE(cc.dialogAvailable(capture_dialog::videoSource));
    EXPECT_EQ(cc.showDialog(capture_dialog::videoSource).code, capture_error::notSupported);
    ASSERT_TRUE(cc.connectDevice(0));
    cc.setPreview(true);
    ASSERT_TRUE(cc.dialogAvailable(capture_dialog::videoSource));

    // Video source: resolution, colour format, input, frame rate.
    dialogs.answerChoices(QList<int>{2, 1, 0, 0});
    ASSERT_TRUE(cc.showDialog(capture_dialog::videoSource));
    const test::Recorded& form = dialogs.recorded().last();
    EXPECT_EQ(form.kind, test::Recorded::Choice);
    ASSERT_EQ(form.form.fields.size(), 4);
    EXPECT_EQ(form.form.fields[3].entries, (QStringList{"15", "25", "30", "50", "60"}));
    EXPECT_EQ(form.form.fields[3].current, 2);
    EXPECT_EQ(cc.resolutions().current, 2);
    EXPECT_EQ(cc.colorFormats().current, 1);
    EXPECT_EQ(cc.frameRate(), 15);
    EXPECT_EQ(nextPicture(cc).size(), QSize(320, 240));
    dialogs.answerChoices(std::nullopt); // cancel: nothing changes
    ASSERT_TRUE(cc.showDialog(capture_dialog::videoSource));
    EXPECT_EQ(cc.frameRate(), 15);

    // The compressor's quality only for MJPEG.
    EXPECT_FALSE(cc.dialogAvailable(capture_dialog::videoCompression));
    ASSERT_TRUE(cc.setVideoCompressor(0));
    dialogs.answerChoices(QList<int>{8});
    ASSERT_TRUE(cc.showDialog(capture_dialog::videoCompression));
    EXPECT_EQ(cc.videoQuality(), 10);

    // The audio format once an audio device is chosen.
    EXPECT_FALSE(cc.dialogAvailable(capture_dialog::audioFormat));
    ASSERT_TRUE(cc.setAudioDevice(0));
    dialogs.answerChoices(QList<int>{1, 1, 1});
    ASSERT_TRUE(cc.showDialog(capture_dialog::audioFormat));
    EXPECT_EQ(cc.audioFormat(), (AudioFormat{2, 16, 22050}));
    EXPECT_TRUE(cc.isConnected());
}

TEST(CaptureDevice, SettingsCannotChangeWhileRecording) {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    DeviceCaptureControl cc({false, true}, dialogs);
    ASSERT_TRUE(cc.connectDevice(0));
    EXPECT_EQ(cc.startCapture().code, capture_error::fileError); // no file given
    cc.setCaptureFile(dir.filePath(QStringLiteral("busy.avi")));
    ASSERT_TRUE(cc.startCapture());
    test::waitUntil([] { return false; }, 300);
    EXPECT_EQ(cc.startCapture().code, capture_error::busy);
    EXPECT_EQ(cc.setResolution(1).code, capture_error::busy);
    EXPECT_EQ(cc.setVideoCompressor(1).code, capture_error::busy);
    EXPECT_EQ(cc.resolutions().current, 0);
    QSignalSpy progress(&cc, &CaptureControl::progress);
    ASSERT_TRUE(cc.stopCapture());
    ASSERT_GE(progress.count(), 2);
    EXPECT_EQ(progress.last()[0].toInt(), capture_progress::recordingStopped);
    EXPECT_GT(cc.framesRecorded(), 0);
    // The recording ran at least the 300 ms waited above, and a camera paced
    // at the clip's rate gives no more frames than that time holds (half a
    // second of pictures may wait in its queue when the recording starts).
    EXPECT_GE(cc.elapsedMs(), 300);
    EXPECT_LE(cc.framesRecorded(), (cc.elapsedMs() + 500) * cc.frameRate() / 1000);
}

TEST(CaptureAudio, AttributeListAndFormatText) {
    const QStringList entries = audioAttributeEntries();
    ASSERT_EQ(entries.size(), 16);
    EXPECT_EQ(entries[0], QStringLiteral("11.025 Khz, 8 Bit, Mono"));
    EXPECT_EQ(entries[7], QStringLiteral("22.050 Khz, 16 Bit, Stereo"));
    EXPECT_EQ(entries[15], QStringLiteral("44.100 Khz, 16 Bit, Stereo"));
    EXPECT_EQ(audioFormatOfEntry(7), (AudioFormat{2, 16, 22050}));
    EXPECT_EQ(audioFormatText({1, 16, 44100}), QStringLiteral("44.100 Khz, 16 bit, Mono"));
    // Every entry's text gives the format its number gives; an added entry
    // for a format past the sixteen reads from its text.
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(audioFormatOfEntryText(entries[i]), audioFormatOfEntry(i)) << i;
    EXPECT_EQ(audioFormatOfEntryText(QStringLiteral("48.000 Khz, 16 bit, Stereo")),
              (AudioFormat{2, 16, 48000}));
}

TEST(CapturePanel, FilledFromTheControlAndConnectToggles) {
    TestEnv env;
    App& app = env.app();
    CapturePanel& p = *app.mainForm().capturePanel;
    p.fillFromCaptureControl();
    EXPECT_EQ(p.CaptureType->currentText(), QStringLiteral("Streams"));
    EXPECT_EQ(p.CmdPreview->text(), QStringLiteral("Preview On"));
    EXPECT_EQ(p.AudioDevice->count(), 2);
    EXPECT_EQ(p.AudioDevice->currentText(), QStringLiteral("None"));
    EXPECT_EQ(p.Effect->count(), 1);
    EXPECT_FALSE(p.Effect->isEnabled());
    // 44 100 Hz, 16 bits, one channel: found although the text spells "bit".
    EXPECT_EQ(p.ComboAttrib->currentText(), QStringLiteral("44.100 Khz, 16 Bit, Mono"));
    EXPECT_EQ(p.ComboAttrib->count(), 16);

    p.CmdConnect_Click();
    EXPECT_EQ(p.CmdConnect->text(), QStringLiteral("Disconnect"));
    EXPECT_EQ(p.ResolutionCombo->count(), 4);
    EXPECT_EQ(p.VideoInput->currentText(), QStringLiteral("Camera"));
    EXPECT_FALSE(p.Channel->isEnabled());
    EXPECT_TRUE(p.VideoConfig->isEnabled());
    EXPECT_TRUE(p.CmdCap->isEnabled());

    app.previewForm().show();
    app.state.previewActive = true;
    p.CmdConnect_Click();
    EXPECT_EQ(p.CmdConnect->text(), QStringLiteral("Connect"));
    EXPECT_FALSE(app.captureControl().isConnected());
    EXPECT_EQ(p.ResolutionCombo->count(), 0);
    EXPECT_FALSE(p.ResolLabel->isEnabled());
    EXPECT_FALSE(p.CmdPreview->isEnabled());
    EXPECT_FALSE(app.previewForm().isVisible());
    EXPECT_FALSE(app.state.previewActive);
    EXPECT_TRUE(env.dialogs().messages().isEmpty());
}

TEST(CapturePanel, ReportsNoDeviceAndConnectFailures) {
    TestEnv env;
    App& app = env.app();
    CapturePanel& p = *app.mainForm().capturePanel;
    p.fillFromCaptureControl();
    // A list entry the control does not know: its error number in hexadecimal.
    p.Combo1->addItem(QStringLiteral("Gone"));
    p.Combo1->setCurrentIndex(1);
    p.CmdConnect_Click();
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("Eror code: 80040202 There is no capture device number 1"));
    EXPECT_EQ(env.dialogs().messages()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(p.CmdConnect->text(), QStringLiteral("Connect"));

    TestEnv noCamera;
    Services s = noCamera.takeServices();
    s.testCamera = false;
    App plain(std::move(s));
    CapturePanel& q = *plain.mainForm().capturePanel;
    q.fillFromCaptureControl();
    EXPECT_EQ(q.Combo1->count(), 1);
    EXPECT_EQ(q.Combo1->currentText(), QStringLiteral("No Capture Devices"));
    q.CmdConnect_Click();
    ASSERT_EQ(noCamera.dialogs().messages().size(), 1);
    EXPECT_EQ(noCamera.dialogs().messages()[0].prompt, noDevice);
}

TEST(CapturePanel, CaptureEventsReachTheMainScreen) {
    TestEnv env;
    App& app = env.app();
    CapturePanel& p = *app.mainForm().capturePanel;
    CaptureControl& cc = app.captureControl();
    emit cc.status(QStringLiteral("Connected"));
    EXPECT_EQ(p.LblStatus->text(), QStringLiteral("Connected"));
    emit cc.progress(capture_progress::counters, QStringLiteral("counting"));
    EXPECT_EQ(p.LblFrames->text(), QStringLiteral("0"));
    EXPECT_EQ(p.LblTime->text(), QStringLiteral("0"));
    EXPECT_EQ(p.LblStatus->text(), QStringLiteral("counting"));
    emit cc.warning(QStringLiteral("disk nearly full"));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt, QStringLiteral("Warning: disk nearly full"));
}

TEST(CapturePanel, ListChoicesApplyAndAreKept) {
    TestEnv env;
    App& app = env.app();
    CapturePanel& p = *app.mainForm().capturePanel;
    QLabel caption(QStringLiteral("Currently Configured for R"));
    p.setFrameRateLabel(&caption);
    p.fillFromCaptureControl();
    p.CmdConnect_Click();
    CaptureControl& cc = app.captureControl();

    p.ResolutionCombo->setCurrentIndex(2);
    EXPECT_EQ(cc.resolutions().current, 2);
    EXPECT_EQ(env.settings().read(QStringLiteral("videoresolution")), QStringLiteral("2"));
    p.ColorFormatCombo->setCurrentIndex(1);
    EXPECT_EQ(cc.colorFormats().current, 1);
    EXPECT_EQ(env.settings().read(QStringLiteral("ColorFormat")), QStringLiteral("1"));
    p.CompressionCombo->setCurrentIndex(2);
    EXPECT_EQ(cc.videoCompressors().current, 1);
    EXPECT_EQ(env.settings().read(QStringLiteral("compression")), QStringLiteral("2"));
    EXPECT_FALSE(p.ComprConfig->isEnabled()); // FFV1 has nothing to set
    p.CompressionCombo->setCurrentIndex(1);
    EXPECT_TRUE(p.ComprConfig->isEnabled());

    // Frame rate classes; below 5 the caption stays.
    p.EdtRate->setText(QStringLiteral("20"));
    EXPECT_EQ(caption.text(), QStringLiteral("Currently Configured for L"));
    EXPECT_EQ(cc.frameRate(), 20);
    p.EdtRate->setText(QStringLiteral("30"));
    EXPECT_EQ(caption.text(), QStringLiteral("Currently Configured for R"));
    p.EdtRate->setText(QStringLiteral("4"));
    EXPECT_EQ(caption.text(), QStringLiteral("Currently Configured for R"));
    EXPECT_EQ(env.settings().read(QStringLiteral("framerate")), QStringLiteral("4"));

    // Audio: the device, then entry 7 of the attributes.
    p.AudioDevice->setCurrentIndex(1);
    EXPECT_EQ(cc.audioDevices().current, 0);
    EXPECT_TRUE(p.ComboAttrib->isEnabled());
    EXPECT_TRUE(p.AudioConfig->isEnabled());
    p.ComboAttrib->setCurrentIndex(7);
    EXPECT_EQ(cc.audioFormat(), (AudioFormat{2, 16, 22050}));
    EXPECT_TRUE(env.dialogs().messages().isEmpty());

    // The video source dialog: the lists show what the device now uses.
    env.dialogs().answerChoices(QList<int>{1, 0, 0, 1}); // rates 4, 15, 25, ...
    p.VideoConfig_Click();
    EXPECT_EQ(p.ResolutionCombo->currentIndex(), 1);
    EXPECT_EQ(p.ColorFormatCombo->currentIndex(), 0);
    EXPECT_EQ(p.EdtRate->text(), QStringLiteral("15"));

    // The compressor's quality is kept for the next start.
    env.dialogs().answerChoices(QList<int>{0});
    p.ComprConfig_Click();
    EXPECT_EQ(env.settings().read(QStringLiteral("mjpegquality")), QStringLiteral("2"));
}

TEST(CapturePanel, FramesAndStreamsCaptureIntoTheVideoFolder) {
    TestEnv env;
    App& app = env.app();
    app.state.videoDir = env.videoDir();
    CapturePanel& p = *app.mainForm().capturePanel;
    p.fillFromCaptureControl();
    p.CmdConnect_Click();
    p.CaptureType->setCurrentIndex(0);
    EXPECT_EQ(p.CmdCap->text(), QStringLiteral("Capture Frame"));
    EXPECT_FALSE(p.FrmOptions->isHidden());
    EXPECT_TRUE(p.StrmOptions->isHidden());
    p.EdtFile->setText(QStringLiteral("still.bmp"));
    p.CmdCap_Click();
    EXPECT_TRUE(QImage(env.videoDir() + QStringLiteral("/still.bmp")).size().isValid());

    p.CaptureType->setCurrentIndex(1);
    EXPECT_EQ(p.CmdCap->text(), QStringLiteral("Capture Stream"));
    EXPECT_TRUE(p.FrmOptions->isHidden());
    p.EdtFile->setText(QStringLiteral("testvid.avi"));
    p.EdtLimit->setText(QStringLiteral("1"));
    p.CmdCap_Click();
    EXPECT_EQ(p.CmdCap->text(), QStringLiteral("End Capture"));
    // The time limit ends the capture: the button offers a new one.
    ASSERT_TRUE(test::waitUntil([&] { return p.CmdCap->text() == QLatin1String("Capture Stream"); },
                                10000));
    EXPECT_EQ(p.LblFrames->text(), QStringLiteral("30"));
    EXPECT_EQ(test::clipCodes(env.videoDir() + QStringLiteral("/testvid.avi")).codes.size(), 30u);
    EXPECT_TRUE(env.dialogs().messages().isEmpty());
}

TEST(CapturePanel, DeviceListFollowsCamerasComingAndGoing) {
    TestEnv env;
    App& app = env.app();
    CapturePanel& p = *app.mainForm().capturePanel;
    auto& cc = static_cast<DeviceCaptureControl&>(app.captureControl());
    cc.testCamera()->setPresent(false);
    cc.rescanDevices();
    p.fillFromCaptureControl();
    EXPECT_EQ(p.Combo1->currentText(), QStringLiteral("No Capture Devices"));

    // The first camera takes the place of the no-device entry.
    cc.testCamera()->setPresent(true);
    cc.rescanDevices();
    ASSERT_EQ(p.Combo1->count(), 1);
    EXPECT_EQ(p.Combo1->currentText(), TestCameraBackend::cameraName());
    p.CmdConnect_Click();
    EXPECT_TRUE(cc.isConnected());

    // Pulled out while connected: the operator is told, the panel offers
    // Connect and the list says there is no device.
    env.dialogs().clear();
    cc.testCamera()->setPresent(false);
    cc.rescanDevices();
    EXPECT_EQ(p.CmdConnect->text(), QStringLiteral("Connect"));
    EXPECT_EQ(p.Combo1->count(), 1);
    EXPECT_EQ(p.Combo1->currentText(), noDevice);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(
        env.dialogs().messages()[0].prompt.startsWith(QStringLiteral("Warning: The camera")));
    cc.testCamera()->setPresent(true);
    cc.rescanDevices();
    EXPECT_EQ(p.Combo1->currentText(), TestCameraBackend::cameraName());
    p.CmdConnect_Click();
    EXPECT_TRUE(cc.isConnected());

    // Another camera while none is connected: the operator is asked.
    p.CmdConnect_Click();
    env.dialogs().clear();
    env.dialogs().answer(MsgAnswer::No);
    p.showDeviceChange(videoList, 0, 1, QStringLiteral("USB Camera"));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("USB Camera is plugged into your computer. Do you want to use it?"));
    EXPECT_EQ(env.dialogs().messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(p.Combo1->count(), 2);
    EXPECT_EQ(p.Combo1->currentIndex(), 0);
}
