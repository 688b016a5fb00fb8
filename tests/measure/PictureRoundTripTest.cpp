// A jump measured and recorded on the measure screen, its picture saved,
// then found again through the picture log viewer and shown on the measure
// screen. Every file involved is checked whole, byte by byte.

#include "app/Startup.h"
#include "capture/ui/PreviewForm.h"
#include "logs/ui/LogView.h"
#include "measure/MeasureFixture.h"
#include "shell/MainForm.h"
#include "support/QtPrinters.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

using namespace zt;
using test::MeasurePictureScreen;
using test::readAll;
using test::writeAll;

TEST_F(MeasurePictureScreen, SavedPictureIsFoundAgainThroughThePictureLog) {
    AppState& s = app->state;
    s.pictureExt = QStringLiteral(".jpg"); // the frame keeps its bitmap bytes
    const QByteArray opening = fileBytes(videoLogOpeningLine(env.clock().now()));
    const QByteArray clipLine =
        "12-08-2026    13:04:50      Skier: SKIER  Jump: 2       Contact Frame: 75 "
        "File: /video/SKIERjump2.avi\r\n";
    writeAll(videoLog(), opening + clipLine);
    PreviewForm& capture = app->previewForm();
    // The capture screen has moved on to the next skier: the picture's
    // records still name the skier and jump of the picture.
    capture.txtSkierName->setText(QStringLiteral("NEXT SKIER"));
    capture.txtPass->setText(QStringLiteral("1"));
    const QByteArray frame = readAll(framePath());
    const QImage framePicture = readWholePicture(framePath()).image;

    Measure& m = screen();
    app->showScreen(Screen::Measure);
    m.Skier_name->setEditText(QStringLiteral("SKIER"));
    m.Jump_no->setText(QStringLiteral("2"));
    clickPicture(m, QPoint(288, 20));
    QTest::mouseClick(m.Record, Qt::LeftButton);
    const QByteArray recordLine = "12-08-2026 13:05:09 SKIER  jump 2 - 45.4m  (IWSF)149ft  "
                                  "(AWSA) (43.2/3) (4320/300) (45.404)\r\n";
    ASSERT_EQ(readAll(s.logFilePath), recordLine);

    m.SavePict->trigger();
    const QString file = pictureDir() + QStringLiteral("SKIERjump2.jpg");
    EXPECT_EQ(env.dialogs().prompts(), QStringList{file});
    EXPECT_EQ(readAll(file), frame);
    EXPECT_FALSE(QFileInfo::exists(framePath()));
    EXPECT_EQ(readAll(file + QStringLiteral(".info")), fileBytes(file + ", SKIER, 2\r\n"));
    const QByteArray savedLine = fileBytes("12-08-2026 13:05:09 Saved picture: " + file + "\r\n");
    EXPECT_EQ(readAll(s.logFilePath), recordLine + savedLine);
    const QByteArray pictureLine =
        fileBytes("12-08-2026    13:05:09      Skier: SKIER  Jump: 2       Distance: 45.4m"
                  "             File: " +
                  file + "\r\n");
    EXPECT_EQ(readAll(videoLog()), opening + clipLine + pictureLine);
    const QByteArray debugLog = readAll(env.exchangeDir() + QStringLiteral("/DebugLog.txt"));
    EXPECT_TRUE(debugLog.contains(fileBytes("13:05:09      save " + file + "\r\n" +
                                            "13:05:09      Picture actually Saved\r\n")));

    // Saved already: "Exit" asks nothing more.
    env.dialogs().clear();
    m.Exit->trigger();
    EXPECT_TRUE(env.dialogs().recorded().isEmpty());
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(m.canvas().hasPicture());

    MainForm& main = app->mainForm();
    ASSERT_TRUE(main.isVisible());
    QPointer<PictureLogView> viewer = app->openPictureLogView(&main);
    EXPECT_EQ(viewer->txtPicLogToView->text(), videoLog());
    ASSERT_EQ(viewer->lstPicLog->count(), 1);
    EXPECT_EQ(fileBytes(viewer->lstPicLog->item(0)->text()) + "\r\n", pictureLine);
    viewer->lstPicLog_Click(viewer->lstPicLog->item(0));
    EXPECT_EQ(viewer->txtPictureToView->text(), file);
    QTest::mouseClick(viewer->cmdViewPicLog, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(viewer.isNull());

    EXPECT_TRUE(m.isVisible());
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(m.canvas().picture().convertToFormat(QImage::Format_RGB32) ==
                framePicture.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(m.gif_file_name->text(), file);
    const QRect box = m.grid_description->geometry();
    EXPECT_EQ(m.gif_file_name->pos(), QPoint(box.right() + 1, box.top()));
    EXPECT_EQ(s.screenMode, QStringLiteral("PictureLog"));
    // Looking changes no file.
    EXPECT_EQ(readAll(file), frame);
    EXPECT_EQ(readAll(s.logFilePath), recordLine + savedLine);
    EXPECT_EQ(readAll(videoLog()), opening + clipLine + pictureLine);
    EXPECT_TRUE(env.dialogs().recorded().isEmpty());
}
