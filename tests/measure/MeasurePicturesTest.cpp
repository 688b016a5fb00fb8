// Pictures on the measure screen: "Load Picture", "Save Picture", "Paste",
// the clipboard and file snapshots, "Auto Load" and the saving policy when
// the screen is left.

#include "capture/ui/PreviewForm.h"
#include "measure/MeasureFixture.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace zt;
using test::bitmapOf;
using test::filled;
using test::MeasurePictureScreen;
using test::readAll;
using test::writeAll;

TEST_F(MeasurePictureScreen, LoadPictureByContentWithItsFilterAndLine) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    // A bitmap saved under ".jpg" while pictures are saved as ".bmp".
    const QString jpg = pictureDir() + QStringLiteral("old jump.jpg");
    writeAll(jpg, bitmapOf(filled(Qt::red, 200, 100)));
    env.dialogs().answerText(jpg);
    m.LoadPict->trigger();

    const test::Recorded& dialog = env.dialogs().recorded().at(0);
    EXPECT_EQ(dialog.kind, test::Recorded::OpenFile);
    EXPECT_EQ(dialog.file.filter, picture::openFilter);
    EXPECT_EQ(dialog.file.filterIndex, 4); // ".bmp"
    EXPECT_EQ(dialog.file.startDir, pictureDir());
    EXPECT_EQ(m.canvas().picture().size(), QSize(200, 100));
    EXPECT_EQ(pictureAt(m, 10, 10), QColor(Qt::red));
    EXPECT_EQ(m.gif_file_name->text(), jpg);
    EXPECT_FALSE(m.gif_file_name->isHidden());
    const QRect box = m.grid_description->geometry();
    EXPECT_EQ(m.gif_file_name->pos(), QPoint(box.left(), box.bottom() + 1));
    EXPECT_EQ(app->state.screenMode, QStringLiteral("PictureLoadMenu"));
    EXPECT_EQ(app->state.pictureWidthText, QStringLiteral("2995.47169811321"));
    EXPECT_EQ(readAll(app->state.logFilePath),
              fileBytes("12-08-2026 13:05:09 Loaded picture: " + jpg + "\r\n"));

    // ".gif" preselects the third filter; a cancel changes nothing.
    app->state.pictureExt = QStringLiteral(".gif");
    env.dialogs().clear();
    env.dialogs().answerCancel();
    m.LoadPict->trigger();
    EXPECT_EQ(env.dialogs().recorded().at(0).file.filterIndex, 3);
    EXPECT_EQ(pictureAt(m, 10, 10), QColor(Qt::red));
    EXPECT_EQ(readAll(app->state.logFilePath).count("Loaded picture"), 1);
}

TEST_F(MeasurePictureScreen, APictureThatCannotBeLoadedIsToldAndTheOldOneStays) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    const QColor frame = pictureAt(m, 5, 5);
    const QString broken = pictureDir() + QStringLiteral("SKIERjump1.bmp");
    writeAll(broken, "BM but no picture");
    env.dialogs().answerText(broken);
    m.LoadPict->trigger();
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(broken));
    EXPECT_EQ(pictureAt(m, 5, 5), frame);
    EXPECT_EQ(app->state.screenMode, QStringLiteral("SelectFrame"));
    EXPECT_TRUE(readAll(app->state.logFilePath).isEmpty());

    // No picture folder: told, no dialog.
    app->state.pictureDir = env.path(QStringLiteral("gone/"));
    env.dialogs().clear();
    m.LoadPict->trigger();
    ASSERT_EQ(env.dialogs().recorded().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("Invalid path, change in configuration screen"));
    EXPECT_EQ(env.dialogs().messages()[0].icon, MsgIcon::Exclamation);
}

TEST_F(MeasurePictureScreen, PasteAndSnapshotsFreezeAStillPicture) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    m.distance->setText(QStringLiteral("45.4m"));
    writeAll(framePath(), bitmapOf(filled(Qt::blue)));
    m.mnuPaste->trigger();
    EXPECT_TRUE(m.pictureFrozen());
    EXPECT_FALSE(m.FrozenSign->isHidden());
    EXPECT_TRUE(m.distance->text().isEmpty());
    EXPECT_TRUE(m.distance_ft->text().isEmpty());
    EXPECT_EQ(pictureAt(m, 1, 1), QColor(Qt::blue));
    EXPECT_EQ(m.gif_file_name->text(), QStringLiteral("Picture from Clipboard"));

    QApplication::clipboard()->setImage(filled(Qt::yellow));
    QTest::mouseClick(m.ClipSnapShot, Qt::LeftButton);
    EXPECT_EQ(pictureAt(m, 1, 1), QColor(Qt::yellow));
    EXPECT_EQ(m.shownPicture().source, PictureSource::Memory);

    const QString snapshot = env.exchangeDir() + QStringLiteral("/snapshot.bmp");
    writeAll(snapshot, bitmapOf(filled(Qt::green)));
    QTest::mouseClick(m.ImgSnapShot, Qt::LeftButton);
    EXPECT_EQ(pictureAt(m, 1, 1), QColor(Qt::green));
    EXPECT_EQ(m.gif_file_name->text(), snapshot);
    EXPECT_TRUE(env.dialogs().recorded().isEmpty());

    QFile::remove(snapshot);
    QTest::mouseClick(m.ImgSnapShot, Qt::LeftButton);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("Warning, snapshot file has not been saved in the \\ztio directory"));
    EXPECT_EQ(env.dialogs().messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(pictureAt(m, 1, 1), QColor(Qt::green));

    // "Clear" takes the picture and its frozen state away.
    QTest::mouseClick(m.Unfreeze, Qt::LeftButton);
    EXPECT_FALSE(m.pictureFrozen());
    EXPECT_TRUE(m.FrozenSign->isHidden());
    EXPECT_TRUE(m.gif_file_name->isHidden());
    EXPECT_EQ(m.shownPicture().source, PictureSource::None);
}

TEST_F(MeasurePictureScreen, AutoLoadTakesTheClipboardOnceTheFlagSaysReady) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    m.cbAutoLoadClipboard->setChecked(true);
    EXPECT_TRUE(m.loadTimer->isActive());
    EXPECT_EQ(m.loadTimer->interval(), 1000);
    const QString flag = env.exchangeDir() + QStringLiteral("/clipflag.txt");
    QApplication::clipboard()->setImage(filled(Qt::magenta));
    m.loadTimer_Timer(); // no flag yet
    EXPECT_NE(pictureAt(m, 1, 1), QColor(Qt::magenta));

    writeAll(flag, "Ready   \r\n");
    m.loadTimer_Timer();
    EXPECT_EQ(pictureAt(m, 1, 1), QColor(Qt::magenta));
    EXPECT_EQ(readAll(flag), QByteArray("  \r\n"));
    QApplication::clipboard()->setImage(filled(Qt::cyan));
    m.loadTimer_Timer(); // nothing on the second tick
    EXPECT_EQ(pictureAt(m, 1, 1), QColor(Qt::magenta));
    EXPECT_TRUE(env.dialogs().recorded().isEmpty());

    m.cbAutoLoadClipboard->setChecked(false);
    EXPECT_FALSE(m.loadTimer->isActive());
}

#ifndef Q_OS_WIN
TEST_F(MeasurePictureScreen, AClipFlagThatIsAPipeIsToldOnceAndNeverWaitedOn) {
    Measure& m = screen();
    m.show();
    m.cbAutoLoadClipboard->setChecked(true);
    const QString flag = env.exchangeDir() + QStringLiteral("/clipflag.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(flag).constData(), 0600), 0);
    QApplication::clipboard()->setImage(filled(Qt::magenta));
    m.loadTimer_Timer();
    m.loadTimer_Timer(); // every second: told once
    EXPECT_EQ(env.dialogs().prompts(),
              QStringList{QStringLiteral("The clip flag of the scoring system cannot be used; "
                                         "pictures are not loaded by it:\n") +
                          flag + QStringLiteral(" is a pipe, not a file")});
    EXPECT_NE(pictureAt(m, 1, 1), QColor(Qt::magenta));
    m.cbAutoLoadClipboard->setChecked(false);
}
#endif

TEST_F(MeasurePictureScreen, ExitSavesTheFrameByPolicyAndAFailedSaveStays) {
    app->state.pictureSavePolicy = QStringLiteral("Save");
    Measure& m = screen();
    app->showScreen(Screen::Measure); // the hand-over of the frame just taken
    m.Skier_name->setEditText(QStringLiteral("SKIER"));
    m.Jump_no->setText(QStringLiteral("2"));
    const QByteArray frame = readAll(framePath());

    // A picture of that name exists and is kept (default No): nothing is
    // saved, the operator leaves.
    const QString file = pictureDir() + QStringLiteral("SKIERjump2.bmp");
    writeAll(file, "earlier");
    app->state.pictureDir = env.path(QStringLiteral("gone/"));
    m.Exit->trigger(); // the folder is missing: told, stays
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.canvas().hasPicture());
    EXPECT_TRUE(env.dialogs().prompts().last().contains(env.path(QStringLiteral("gone/"))));

    app->state.pictureDir = pictureDir();
    env.dialogs().clear();
    m.Exit->trigger();
    EXPECT_EQ(env.dialogs().prompts(),
              QStringList{file + QStringLiteral(" already exists.\nDo you want to replace it?")});
    EXPECT_FALSE(m.isVisible());
    EXPECT_EQ(readAll(file), QByteArray("earlier"));
    EXPECT_EQ(readAll(framePath()), frame);
}

TEST_F(MeasurePictureScreen, NextJumpAsksBothQuestionsOffAFrameAndMayStay) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    QApplication::clipboard()->setImage(filled(Qt::yellow));
    QTest::mouseClick(m.ClipSnapShot, Qt::LeftButton);
    app->state.screenMode.clear(); // not the frame of frame selection
    m.Skier_name->setEditText(QStringLiteral("SKIER"));
    m.Jump_no->setText(QStringLiteral("3"));

    env.dialogs().answer(MsgAnswer::Yes); // save
    env.dialogs().answer(MsgAnswer::OK);  // the picture's name
    env.dialogs().answer(MsgAnswer::Yes); // remain
    QTest::mouseClick(m.btnNextJump, Qt::LeftButton);
    const QString file = pictureDir() + QStringLiteral("SKIERjump3.bmp");
    EXPECT_EQ(env.dialogs().prompts(),
              (QStringList{picture::saveQuestion, file, picture::remainQuestion}));
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.canvas().hasPicture());
    const PictureRead saved = readWholePicture(file);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved.image.pixelColor(3, 3), QColor(Qt::yellow));

    // Saved already: only whether to stay is asked.
    env.dialogs().clear();
    env.dialogs().answer(MsgAnswer::No);
    m.mnuCapture->trigger();
    EXPECT_EQ(env.dialogs().prompts(), QStringList{picture::remainQuestion});
    EXPECT_FALSE(m.isVisible());
    EXPECT_TRUE(app->previewForm().isVisible());
}

TEST_F(MeasurePictureScreen, ACutOffBitmapIsRefusedAndTheFrameStays) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    const QColor frame = pictureAt(m, 5, 5);
    QImage picture(320, 240, QImage::Format_RGB888);
    picture.fill(Qt::green);
    const QString whole = pictureDir() + QStringLiteral("whole.bmp");
    ASSERT_TRUE(picture.save(whole, "BMP"));
    const QString cut = pictureDir() + QStringLiteral("SKIERjump2.bmp");
    writeAll(cut, readAll(whole).left(100000));
    env.dialogs().answerText(cut);
    m.LoadPict->trigger();
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("The picture could not be loaded: ") + cut +
                  QStringLiteral(": the file is cut off"));
    EXPECT_EQ(pictureAt(m, 5, 5), frame);
    EXPECT_TRUE(readAll(app->state.logFilePath).isEmpty());
}
