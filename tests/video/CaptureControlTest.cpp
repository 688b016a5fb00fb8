// The capture control's test camera and the capture device panel filled
// from it.

#include "app/ui/App.h"
#include "app/ui/MainForm.h"
#include "support/TestEnv.h"
#include "video/TestCamera.h"
#include "video/ui/CapturePanel.h"
#include "video/ui/PreviewForm.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace zt;
using zt::test::TestEnv;

namespace {

quint32 le32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData() + at));
}
quint16 le16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData() + at));
}

} // namespace

TEST(TestCamera, ListsConnectsAndPreviewsAMovingPicture) {
    TestCamera hidden(false);
    EXPECT_EQ(hidden.deviceCount(), 0);
    EXPECT_FALSE(hidden.connectDevice(0));

    TestCamera cam(true);
    ASSERT_EQ(cam.deviceCount(), 1);
    EXPECT_EQ(cam.deviceName(0), TestCamera::cameraName());
    const CaptureResult bad = cam.connectDevice(1);
    EXPECT_FALSE(bad);
    EXPECT_EQ(bad.code, capture_error::badIndex);
    EXPECT_TRUE(cam.currentFrame().isNull());

    QSignalSpy status(&cam, &CaptureControl::status);
    ASSERT_TRUE(cam.connectDevice(0));
    EXPECT_TRUE(cam.isConnected());
    EXPECT_EQ(status.count(), 1);
    cam.setPreview(true);
    EXPECT_TRUE(cam.preview());
    QSignalSpy frames(&cam, &CaptureControl::frameAvailable);
    const QImage first = cam.currentFrame();
    EXPECT_EQ(first.size(), QSize(640, 480));
    cam.tick();
    EXPECT_EQ(frames.count(), 1);
    EXPECT_NE(cam.currentFrame(), first); // the picture moves
    ASSERT_TRUE(cam.setResolution(2));
    EXPECT_EQ(cam.currentFrame().size(), QSize(320, 240));
    EXPECT_FALSE(cam.setResolution(3));
    EXPECT_EQ(cam.resolutions().current, 2);

    // The grey effect leaves no colour.
    ASSERT_EQ(cam.effectIndex(videoEffectSlot(), QStringLiteral("Grey")), 0);
    EXPECT_LT(cam.effectIndex(videoEffectSlot(), QStringLiteral("Sepia")), 0);
    ASSERT_TRUE(cam.applyEffect(videoEffectSlot(), 0));
    EXPECT_TRUE(cam.currentFrame().allGray());

    // Recording is not offered yet and says so.
    EXPECT_FALSE(cam.startCapture());
    cam.disconnectDevice();
    EXPECT_FALSE(cam.preview());
    EXPECT_TRUE(cam.currentFrame().isNull());
}

TEST(TestCamera, SavesAStillFrameAsA24BitBitmap) {
    QTemporaryDir dir;
    TestCamera cam(true);
    cam.setStillFile(dir.filePath(QStringLiteral("currentcapture.bmp")));
    EXPECT_EQ(cam.saveStill().code, capture_error::notConnected);
    ASSERT_TRUE(cam.connectDevice(0));
    ASSERT_TRUE(cam.setResolution(2)); // 320x240
    const CaptureResult r = cam.saveStill();
    ASSERT_TRUE(r) << r.description.toStdString();
    const QByteArray bmp = test::readAll(cam.stillFile());
    ASSERT_GE(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), "BM");
    EXPECT_EQ(le32(bmp, 2), static_cast<quint32>(bmp.size()));
    EXPECT_EQ(le32(bmp, 18), 320u);
    EXPECT_EQ(le32(bmp, 22), 240u); // positive height: bottom-up rows
    EXPECT_EQ(le16(bmp, 28), 24);
    EXPECT_EQ(bmp.size(), 54 + 320 * 3 * 240);
    // The bottom row comes first: it matches the picture's last row.
    const QImage shown = cam.currentFrame().convertToFormat(QImage::Format_RGB888);
    const uchar* last = shown.constScanLine(239);
    EXPECT_EQ(static_cast<uchar>(bmp[54]), last[2]); // blue first
    EXPECT_EQ(static_cast<uchar>(bmp[56]), last[0]);

    cam.setStillFile(dir.filePath(QStringLiteral("no/such/folder/x.bmp")));
    const CaptureResult failed = cam.saveStill();
    EXPECT_EQ(failed.code, capture_error::fileError);
    EXPECT_TRUE(failed.description.contains(QStringLiteral("x.bmp")));
}

TEST(TestCamera, DeviceArrivalAndRemovalAreSignalled) {
    TestCamera cam(false);
    QSignalSpy changes(&cam, &CaptureControl::deviceChange);
    cam.plugIn();
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][0].toString(), QStringLiteral("Video Capture Sources"));
    EXPECT_EQ(changes[0][1].toInt(), 0);
    EXPECT_EQ(changes[0][3].toString(), TestCamera::cameraName());
    ASSERT_TRUE(cam.connectDevice(0));
    cam.unplug();
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(changes[1][1].toInt(), 1);
    EXPECT_FALSE(cam.isConnected());
}

TEST(CaptureAudio, AttributeListAndFormatText) {
    const QStringList entries = audioAttributeEntries();
    ASSERT_EQ(entries.size(), 16);
    EXPECT_EQ(entries[0], QStringLiteral("11.025 Khz, 8 Bit, Mono"));
    EXPECT_EQ(entries[7], QStringLiteral("22.050 Khz, 16 Bit, Stereo"));
    EXPECT_EQ(entries[15], QStringLiteral("44.100 Khz, 16 Bit, Stereo"));
    const AudioFormat f = audioFormatOfEntry(7);
    EXPECT_EQ(f.sampleRate, 22050);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.bits, 16);
    EXPECT_EQ(audioFormatText({1, 16, 44100}), QStringLiteral("44.100 Khz, 16 bit, Mono"));
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
    EXPECT_EQ(p.Effect->count(), 3);
    EXPECT_TRUE(p.Effect->isEnabled());
    // 44 100 Hz, 16 bits, one channel: found although the text spells "bit".
    EXPECT_EQ(p.ComboAttrib->currentText(), QStringLiteral("44.100 Khz, 16 Bit, Mono"));
    EXPECT_EQ(p.ComboAttrib->count(), 16);

    p.CmdConnect_Click();
    EXPECT_EQ(p.CmdConnect->text(), QStringLiteral("Disconnect"));
    EXPECT_EQ(p.ResolutionCombo->count(), 3);
    EXPECT_EQ(p.VideoInput->currentText(), QStringLiteral("Camera"));
    EXPECT_FALSE(p.Channel->isEnabled());
    EXPECT_FALSE(p.VideoConfig->isEnabled());
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
    EXPECT_EQ(noCamera.dialogs().messages()[0].prompt,
              QStringLiteral("No MCI capture devices are installed on this system"));
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
    p.CmdCap->setText(QStringLiteral("End Capture"));
    emit cc.progress(capture_progress::recordingStopped, QStringLiteral("stopped"));
    EXPECT_EQ(p.CmdCap->text(), QStringLiteral("Capture Stream"));
    EXPECT_EQ(p.LblStatus->text(), QStringLiteral("counting"));
    emit cc.warning(QStringLiteral("disk nearly full"));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt, QStringLiteral("Warning: disk nearly full"));
}
