// The video log, picture log and results viewers: which lines they list,
// the path a line names, the choice of another log, and what a chosen clip
// or picture opens.

#include "app/FileUtils.h"
#include "logs/VideoLog.h"
#include "logs/ui/LogView.h"
#include "logs/ui/Results.h"
#include "measure/Pictures.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"
#include "video/FrameSelection.h"
#include "video/ui/frmSetStart.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace zt;
using test::readAll;
using test::writeAll;

namespace {

const QByteArray opening = "12-08-2026    13:05:09      Zentrak Measurement Session started  \r\n";
const QString clip1 = QStringLiteral("12-08-2026    13:06:10      Skier: Ann Lee  Jump: 1       "
                                     "Contact Frame: 75 File: /video/Ann Leejump1.avi");
const QString clip2 = QStringLiteral("12-08-2026    13:09:41      Skier: Ann Lee  Jump: 2       "
                                     "Contact Frame: 81 File: /video/Ann Leejump2.avi");
const QString capitals = QStringLiteral("12-08-2026    13:11:00      Skier: Bo  Jump: 1       "
                                        "Contact Frame: 80 File: /video/Bojump1.AVI");
const QString pictureLine =
    QStringLiteral("12-08-2026    13:07:02      Skier: Ann Lee  Jump: 1       "
                   "Distance: 45.4m              File: /pics/Ann Leejump1.jpg");

struct Viewers : ::testing::Test {
    test::TestEnv env;
    App* app = nullptr;

    QString dayLog() const {
        return env.videoDir() + QStringLiteral("/JumpMeasurementLog120826.txt");
    }

    void SetUp() override {
        app = &env.app();
        app->state.videoDir = env.videoDir();
        app->state.measurementLogName = QStringLiteral("JumpMeasurementLog120826.txt");
        writeAll(dayLog(), opening + fileBytes(clip1 + "\r\n" + pictureLine + "\r\n" + capitals +
                                               "\r\n" + clip2 + "\r\n"));
    }
    static QStringList entries(const QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
};

} // namespace

TEST(VideoLog, LineKindsAndPaths) {
    EXPECT_TRUE(isClipLine(clip1));
    EXPECT_FALSE(isClipLine(capitals)); // exact, lower case
    EXPECT_FALSE(isClipLine(pictureLine));
    for (const char* end : {".bmp", ".gif", ".jpg"})
        EXPECT_TRUE(isPictureLine(QStringLiteral("File: /p/x") + QLatin1String(end))) << end;
    EXPECT_FALSE(isPictureLine(QStringLiteral("File: /p/x.JPG")));
    EXPECT_FALSE(isPictureLine(QString::fromLatin1(opening).trimmed()));

    EXPECT_EQ(pathOfLogLine(clip1), QStringLiteral("/video/Ann Leejump1.avi"));
    EXPECT_EQ(pathOfLogLine(QStringLiteral("a File: b File: c")), QStringLiteral("b File: c"));
    EXPECT_EQ(pathOfLogLine(QStringLiteral("no path here.avi")), QString());

    EXPECT_EQ(longestEntryIndex({}), -1);
    EXPECT_EQ(longestEntryIndex({"ab", "abcd", "wxyz", "a"}), 1); // the first of the longest
}

TEST_F(Viewers, EachViewerListsItsLinesOfTheDayLog) {
    MainForm& main = app->mainForm();
    QPointer<LogView> video = app->openLogView(&main);
    EXPECT_EQ(video->windowTitle(), QStringLiteral("Log Viewer"));
    EXPECT_EQ(video->txtLogFile->text(), dayLog());
    EXPECT_EQ(entries(video->lstLog), (QStringList{clip1, clip2}));
    EXPECT_EQ(video->horizontalExtent(),
              QFontMetrics(video->lstLog->font()).horizontalAdvance(clip1 + QLatin1Char(' ')));
    video->resize(300, 300);
    video->show();
    QTest::qWait(1);
    EXPECT_GT(video->lstLog->horizontalScrollBar()->maximum(), 0); // the long lines scroll

    QPointer<PictureLogView> pictures = app->openPictureLogView(&main);
    EXPECT_EQ(pictures->windowTitle(), QStringLiteral("Contact Picture Log"));
    EXPECT_EQ(entries(pictures->lstPicLog), QStringList{pictureLine});

    // A click puts exactly the text after "File: " into the box.
    video->lstLog_Click(video->lstLog->item(1));
    EXPECT_EQ(video->txtFileToView->text(), QStringLiteral("/video/Ann Leejump2.avi"));
    QTest::mouseClick(video->cmdDismiss, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(video.isNull());
    pictures->close();
}

TEST_F(Viewers, MissingDayLogGivesAnEmptyList) {
    QFile::remove(dayLog());
    QPointer<LogView> video = app->openLogView(nullptr);
    EXPECT_EQ(video->lstLog->count(), 0);
    EXPECT_TRUE(video->txtLogFile->text().isEmpty());
    video->close();
}

TEST_F(Viewers, AnotherLogIsChosenAndACancelTakesTheChoiceBefore) {
    const QString older = env.videoDir() + QStringLiteral("/JumpMeasurementLog120726.txt");
    writeAll(older, fileBytes(clip2 + "\r\n"));
    QPointer<LogView> video = app->openLogView(nullptr);
    env.dialogs().answerText(older);
    QTest::mouseClick(video->cmdSelectLogFile, Qt::LeftButton);
    const test::Recorded& dialog = env.dialogs().recorded().at(0);
    EXPECT_EQ(dialog.file.filter, QStringLiteral("*.txt|JumpMeasurementLog*.txt|"));
    EXPECT_EQ(dialog.file.startDir, env.videoDir());
    EXPECT_EQ(video->txtLogFile->text(), older);
    EXPECT_EQ(entries(video->lstLog), QStringList{clip2});

    // Cancel: the log chosen before in this viewer, read again.
    writeAll(older, fileBytes(clip2 + "\r\n" + clip1 + "\r\n"));
    env.dialogs().answerCancel();
    QTest::mouseClick(video->cmdSelectLogFile, Qt::LeftButton);
    EXPECT_EQ(video->txtLogFile->text(), older);
    EXPECT_EQ(entries(video->lstLog), (QStringList{clip2, clip1}));
    video->close();

    // A first cancel keeps the day's log the viewer opened with.
    QPointer<PictureLogView> pictures = app->openPictureLogView(nullptr);
    ASSERT_EQ(pictures->lstPicLog->count(), 1);
    env.dialogs().answerCancel();
    QTest::mouseClick(pictures->cmdSelPicLog, Qt::LeftButton);
    EXPECT_EQ(pictures->txtPicLogToView->text(), dayLog());
    EXPECT_EQ(pictures->lstPicLog->count(), 1);
    // A chosen log that does not exist: empty list.
    env.dialogs().answerText(env.videoDir() + QStringLiteral("/JumpMeasurementLog010126.txt"));
    QTest::mouseClick(pictures->cmdSelPicLog, Qt::LeftButton);
    EXPECT_EQ(pictures->lstPicLog->count(), 0);
    pictures->close();
}

TEST_F(Viewers, DoubleClickOpensTheClipOnFrameSelection) {
    MainForm& main = app->mainForm();
    main.show();
    QPointer<LogView> video = app->openLogView(&main);
    video->show();
    QListWidget* list = video->lstLog;
    const QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(video->txtFileToView->text(), QStringLiteral("/video/Ann Leejump2.avi"));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(video.isNull());
    EXPECT_EQ(app->state.screenMode, QStringLiteral("View"));
    EXPECT_EQ(app->state.viewFile, QStringLiteral("/video/Ann Leejump2.avi"));
    EXPECT_TRUE(app->frmSetStart().isVisible());
    EXPECT_FALSE(main.isVisible());

    // "View Selected File" with nothing chosen does nothing.
    QPointer<LogView> again = app->openLogView(nullptr);
    QTest::mouseClick(again->cmdView, Qt::LeftButton);
    EXPECT_FALSE(again.isNull());
    EXPECT_TRUE(again->isVisible());
    again->close();
}

TEST_F(Viewers, PictureViewerKeepsItsPlaceWhenThePictureCannotBeShown) {
    app->state.gridsReady = 1;
    QPointer<PictureLogView> pictures = app->openPictureLogView(nullptr);
    pictures->lstPicLog_DblClick(pictures->lstPicLog->item(0)); // /pics/... is not there
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(
        env.dialogs().messages()[0].prompt.contains(QStringLiteral("/pics/Ann Leejump1.jpg")));
    EXPECT_FALSE(pictures.isNull());
    EXPECT_FALSE(app->measure().isVisible());

    // Grids not ready: the measure screen does not open.
    app->state.gridsReady = 0;
    env.dialogs().clear();
    pictures->txtPictureToView->clear();
    QTest::mouseClick(pictures->cmdViewPicLog, Qt::LeftButton);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.startsWith(
        QStringLiteral("At least one measurement grid")));
    EXPECT_FALSE(app->measure().isVisible());

    // An empty choice with ready grids: the measure screen as it was.
    app->state.gridsReady = 1;
    QTest::mouseClick(pictures->cmdViewPicLog, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(pictures.isNull());
    EXPECT_TRUE(app->measure().isVisible());
    EXPECT_FALSE(app->measure().canvas().hasPicture());
}

TEST_F(Viewers, ResultsViewerShowsTheWholeFile) {
    const QString path = env.path(QStringLiteral("JumpMeasurementResults120826.txt"));
    const QByteArray text =
        "New Configuration: 12-08-2026  13:00:00 Club Cup\r\n"
        "12-08-2026 13:01:00 New Set-up now in place\r\n/grids/g1.ipt\r\nnorth camera\r\n"
        "Grid Number:  1 \r\n \r\n"
        "12-08-2026 13:05:09 Ann Lee  jump 1 - 45.4m  (IWSF)149ft  (AWSA) (43.2/3) (4320/300) "
        "(45.404)\r\n"
        "Invalid Configurations Allowed: 12-08-2026  13:06:00 Club Cup\r\n"
        "12-08-2026 13:07:02 Saved picture: /pics/Ann Leejump1.jpg\r\n";
    writeAll(path, text);
    app->state.logFilePath = QStringLiteral("  ") + path;
    app->showScreen(Screen::Results);
    Results& results = app->results();
    EXPECT_TRUE(results.isVisible());
    EXPECT_EQ(results.windowTitle(), app->state.logFilePath);
    EXPECT_EQ(results.output_box->toPlainText(),
              QString::fromLatin1(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    QTest::mouseClick(results.Exit_results, Qt::LeftButton);
    EXPECT_FALSE(results.isVisible());
    EXPECT_TRUE(results.output_box->toPlainText().isEmpty());
    EXPECT_EQ(readAll(path), text); // viewing changes nothing

    // A file that cannot be read: told with its path, the viewer stays away.
    app->state.logFilePath = env.path(QStringLiteral("missing/results.txt"));
    app->showScreen(Screen::Results);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(app->state.logFilePath));
    EXPECT_FALSE(results.isVisible());
}

// Lines appended in Latin-1 and in UTF-8 on one day: every name reads
// back, in both viewers, in the results viewer and through "View".
TEST_F(Viewers, NamesOfEveryEncodingOnOneDayReadBackEverywhere) {
    app->state.gridsReady = 1;
    const QDateTime at(QDate(2026, 12, 8), QTime(13, 5, 9));
    QStringList clips, pictures;
    QFile::remove(dayLog());
    for (const QString& skier :
         {QStringLiteral("Zo\u00eb Smith"), QStringLiteral("\u0141ukasz Nowak"),
          QStringLiteral("M\u00fcller")}) {
        const QString clip =
            env.videoDir() + QLatin1Char('/') + skier + QStringLiteral("jump1.avi");
        writeAll(clip, "RIFF");
        ASSERT_TRUE(recordFrame(env.dialogs(), dayLog(), at, clip, 12));
        clips << clip;
        const QString picture =
            env.videoDir() + QLatin1Char('/') + skier + QStringLiteral("jump1.bmp");
        QImage image(8, 8, QImage::Format_RGB888);
        image.fill(Qt::blue);
        ASSERT_TRUE(image.save(picture));
        ASSERT_TRUE(appendText(dayLog(), pictureVideoLogLine(at, skier, QStringLiteral("1"),
                                                             QStringLiteral("45.4m"), picture)));
        pictures << picture;
        ASSERT_TRUE(appendText(env.path(QStringLiteral("results.txt")),
                               skier + QStringLiteral(" jump 1 - 45.4m\r\n")));
    }
    ASSERT_TRUE(readAll(dayLog()).contains("Zo\xeb Smith")); // Latin-1 beside UTF-8
    ASSERT_TRUE(readAll(dayLog()).contains("\xc5\x81ukasz"));

    QPointer<LogView> video = app->openLogView(nullptr);
    ASSERT_EQ(video->lstLog->count(), 3);
    for (int i = 0; i < 3; ++i) {
        video->lstLog_Click(video->lstLog->item(i));
        EXPECT_EQ(video->txtFileToView->text(), clips[i]);
    }
    video->lstLog_Click(video->lstLog->item(1));
    video->cmdView_Click();
    EXPECT_EQ(app->state.viewFile, clips[1]);
    EXPECT_EQ(app->frmSetStart().clipPath(), clips[1]);

    QPointer<PictureLogView> picturesView = app->openPictureLogView(nullptr);
    ASSERT_EQ(picturesView->lstPicLog->count(), 3);
    picturesView->lstPicLog_Click(picturesView->lstPicLog->item(1));
    EXPECT_EQ(picturesView->txtPictureToView->text(), pictures[1]);
    env.dialogs().clear();
    picturesView->cmdViewPicLog_Click();
    EXPECT_TRUE(env.dialogs().messages().isEmpty());
    EXPECT_TRUE(app->measure().isVisible());
    EXPECT_TRUE(app->measure().canvas().hasPicture());

    app->state.logFilePath = env.path(QStringLiteral("results.txt"));
    app->showScreen(Screen::Results);
    EXPECT_EQ(app->results().output_box->toPlainText(),
              QStringLiteral("Zo\u00eb Smith jump 1 - 45.4m\n\u0141ukasz Nowak jump 1 - 45.4m\n"
                             "M\u00fcller jump 1 - 45.4m\n"));
}
