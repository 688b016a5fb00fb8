// The start-up sequence and the main screen, under the offscreen platform
// with scripted dialogs, temporary folders and the test camera.

#include "app/TextFormat.h"
#include "capture/CaptureControl.h"
#include "capture/ui/CapturePanel.h"
#include "capture/ui/PreviewForm.h"
#include "config/ui/Config.h"
#include "grid/ui/Grid_Setup.h"
#include "logs/ui/LogView.h"
#include "logs/ui/frmManual.h"
#include "measure/ui/Measure.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/TestEnv.h"
#include "video/ui/frmSetStart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace zt;
using zt::test::TestEnv;

namespace {

const QString openingLine =
    QStringLiteral("12-08-2026    13:05:09      Zentrak Measurement Session started  \r\n");
const QString folderPrompt =
    QStringLiteral("No Correct Save Video Directory has been set.  Please put in the path of the "
                   "Save Video Directory here.");
const QString invalidPath = QStringLiteral("You entered an invalid path - try  again");

QString logIn(const QString& folder) {
    return folder + QStringLiteral("/JumpMeasurementLog120826.txt");
}

// Starts the program with a valid stored video folder and the given
// framerate setting (empty: none).
App& startWithFolder(TestEnv& env, const QString& framerate = QString()) {
    env.settings().write(QStringLiteral("logpath"), env.videoDir());
    if (!framerate.isEmpty())
        env.settings().write(QStringLiteral("framerate"), framerate);
    App& app = env.app();
    app.start();
    return app;
}

} // namespace

TEST(Startup, FreshInstallation) {
    TestEnv env;
    auto& d = env.dialogs();
    d.answer(MsgAnswer::Yes);
    d.answer(MsgAnswer::Yes);
    // The eight entries answer with their default (No); then the folder loop.
    d.answerText(env.path(QStringLiteral("no-such-folder")));
    d.answerText(env.videoDir());
    App& app = env.app();
    app.start();

    const QStringList labels = {
        "Logpath = ",   "barefoot = ",    "compression = ", "device = ",
        "framerate = ", "Grid 1 File = ", "Grid 2 File = ", "Grid 3 File = "};
    const auto& rec = d.recorded();
    ASSERT_GE(rec.size(), 10);
    for (int i = 0; i < 10; ++i) {
        const MessageRequest& m = rec[i].message;
        EXPECT_EQ(rec[i].kind, test::Recorded::Message);
        EXPECT_EQ(m.title, QStringLiteral("Emergency Parameter Reset"));
        EXPECT_EQ(m.icon, MsgIcon::Question);
        EXPECT_EQ(m.buttons, MsgButtons::YesNo);
        EXPECT_EQ(m.defaultButton, 2) << i;
        if (i >= 2) {
            EXPECT_EQ(m.prompt, labels[i - 2] + QStringLiteral("0 Clear it?"));
        }
    }
    EXPECT_EQ(rec[0].message.prompt,
              QStringLiteral("Do you want to reset all parameters to install values?"));
    EXPECT_EQ(rec[1].message.prompt,
              QStringLiteral("Are you certain? This means you are crashing and can't operate"));
    // Then: folder question, invalid path, folder question, verify.
    ASSERT_EQ(rec.size(), 14);
    EXPECT_EQ(rec[10].kind, test::Recorded::Input);
    EXPECT_EQ(rec[10].prompt, folderPrompt);
    EXPECT_EQ(rec[10].title, QStringLiteral("Input Save Video Files Path"));
    EXPECT_EQ(rec[11].message.prompt, invalidPath);
    EXPECT_EQ(rec[11].message.buttons, MsgButtons::OK);
    EXPECT_TRUE(rec[11].message.title.isEmpty());
    EXPECT_EQ(rec[12].prompt, folderPrompt);
    EXPECT_EQ(rec[13].message.prompt, QStringLiteral("Please Verify all Setup Parameters"));
    EXPECT_TRUE(rec[13].message.title.isEmpty());

    MainForm& m = app.mainForm();
    CapturePanel& p = *m.capturePanel;
    EXPECT_EQ(p.Combo1->currentIndex(), 0);
    EXPECT_EQ(p.Combo1->currentText(), QStringLiteral("Zentrak Test Camera"));
    EXPECT_EQ(p.CompressionCombo->currentText(), QStringLiteral("None"));
    EXPECT_EQ(p.CmdConnect->text(), QStringLiteral("Disconnect"));
    EXPECT_TRUE(app.captureControl().isConnected());
    EXPECT_TRUE(app.captureControl().preview());
    EXPECT_EQ(p.EdtFile->text(), QStringLiteral("testvid.avi"));
    EXPECT_TRUE(p.FrmOptions->isHidden());
    EXPECT_TRUE(p.LblStatus->isHidden());
    EXPECT_EQ(m.lblConfig->text(), QStringLiteral("Currently Configured for R"));
    EXPECT_EQ(m.lblVideodir->text(), env.videoDir());
    EXPECT_FALSE(m.cb15->isChecked());

    EXPECT_EQ(app.state.videoDir, env.videoDir());
    EXPECT_EQ(app.state.measurementLogName, QStringLiteral("JumpMeasurementLog120826.txt"));
    EXPECT_EQ(test::readAll(logIn(env.videoDir())), openingLine.toLatin1());
    EXPECT_EQ(env.settings().read(QStringLiteral("logpath")), env.videoDir());
    EXPECT_EQ(env.settings().read(QStringLiteral("logfile")),
              QStringLiteral("JumpMeasurementLog120826.txt"));
    EXPECT_EQ(env.settings().read(QStringLiteral("device")), QStringLiteral("0"));

    EXPECT_TRUE(app.config().isVisible());
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(app.previewForm().isVisible());

    const QByteArray debugLog = test::readAll(env.exchangeDir() + QStringLiteral("/DebugLog.txt"));
    EXPECT_TRUE(debugLog.startsWith("13:05:09      Debug Log Session Started\r\n"
                                    "13:05:09      MainForm Load\r\n"))
        << debugLog.constData();
}

TEST(Startup, StoredFolderWithTrailingSeparatorAndEarlierLog) {
    TestEnv env;
    env.settings().write(QStringLiteral("logpath"), env.videoDir() + QStringLiteral("/"));
    env.settings().write(QStringLiteral("barefoot"), QStringLiteral("1"));
    test::writeAll(logIn(env.videoDir()), "earlier line\r\n");
    App& app = env.app();
    app.start();

    EXPECT_FALSE(env.dialogs().prompts().contains(folderPrompt));
    EXPECT_EQ(app.state.videoDir, env.videoDir());
    // Appended, never rewritten.
    EXPECT_EQ(test::readAll(logIn(env.videoDir())), "earlier line\r\n" + openingLine.toLatin1());
    EXPECT_EQ(app.mainForm().txtVideoDir->text(), env.videoDir() + QStringLiteral("/"));
    EXPECT_TRUE(app.mainForm().cb15->isChecked());
}

TEST(Startup, InvalidFolderLoopAcceptsOnlyAnExistingFolder) {
    TestEnv env;
    env.settings().write(QStringLiteral("logpath"), env.path(QStringLiteral("gone")));
    auto& d = env.dialogs();
    d.answerText(QString());
    d.answerCancel();
    d.answerText(env.path(QStringLiteral("missing")));
    d.answerText(env.videoDir() + QStringLiteral("/"));
    App& app = env.app();
    app.start();

    EXPECT_EQ(d.prompts().count(folderPrompt), 4);
    EXPECT_EQ(d.prompts().count(invalidPath), 3);
    EXPECT_EQ(app.state.videoDir, env.videoDir());
    EXPECT_EQ(env.settings().read(QStringLiteral("logpath")), env.videoDir() + QStringLiteral("/"));
    EXPECT_EQ(test::readAll(logIn(env.videoDir())), openingLine.toLatin1());
}

// A relative folder names a folder under the application folder, whichever
// folder the program was started from; it is stored absolute.
TEST(Startup, RelativeVideoFolderIsUnderTheApplicationFolder) {
    TestEnv env;
    const QString clips = env.appDir() + QStringLiteral("/clips");
    ASSERT_TRUE(QDir().mkpath(clips));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(env.path(QString())));
    env.dialogs().answerText(QStringLiteral("clips"));
    App& app = env.app();
    app.start();
    QDir::setCurrent(before);
    EXPECT_EQ(app.state.videoDir, clips);
    EXPECT_EQ(app.mainForm().txtVideoDir->text(), clips);
    EXPECT_EQ(env.settings().read(QStringLiteral("logpath")), clips);
    EXPECT_EQ(test::readAll(logIn(clips)), openingLine.toLatin1());
}

// Folders stored relative (written by hand) are read under the application
// folder too.
TEST(Startup, StoredRelativeFoldersAreUnderTheApplicationFolder) {
    TestEnv env;
    const QString app = env.appDir() + QLatin1Char('/');
    ASSERT_TRUE(QDir().mkpath(app + QStringLiteral("clips")));
    env.settings().write(QStringLiteral("logpath"), QStringLiteral("clips"));
    env.settings().write(QStringLiteral("SetupFiles"), QStringLiteral("grids"));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(env.path(QString())));
    App& a = env.app();
    a.start();
    QDir::setCurrent(before);
    EXPECT_EQ(a.state.videoDir, app + QStringLiteral("clips"));
    EXPECT_FALSE(env.dialogs().prompts().contains(folderPrompt));
    EXPECT_EQ(a.state.setupFilesPath, app + QStringLiteral("grids"));
}

TEST(Startup, FrameRateClassFromStoredRate) {
    const struct {
        const char* stored;
        const char* caption;
    } cases[] = {{"3", "Currently Configured for R"}, // below 5: the design-time caption stays
                 {"10", "Currently Configured for Normal/C"},
                 {"20", "Currently Configured for L"},
                 {"30", "Currently Configured for R"}};
    for (const auto& c : cases) {
        TestEnv env;
        App& app = startWithFolder(env, QString::fromLatin1(c.stored));
        EXPECT_EQ(app.mainForm().lblConfig->text(), QString::fromLatin1(c.caption)) << c.stored;
        EXPECT_EQ(app.mainForm().capturePanel->EdtRate->text(), QString::fromLatin1(c.stored));
        EXPECT_EQ(app.captureControl().frameRate(), QString::fromLatin1(c.stored).toInt());
    }
}

TEST(Startup, StoredDeviceAndCompressionOutOfRange) {
    TestEnv env;
    env.settings().write(QStringLiteral("device"), QStringLiteral("7"));
    env.settings().write(QStringLiteral("compression"), QStringLiteral("9"));
    App& app = startWithFolder(env);
    EXPECT_EQ(app.mainForm().capturePanel->Combo1->currentIndex(), 0);
    EXPECT_EQ(app.mainForm().capturePanel->CompressionCombo->currentText(), QStringLiteral("None"));
    EXPECT_TRUE(app.captureControl().isConnected());

    TestEnv env2;
    env2.settings().write(QStringLiteral("compression"), QStringLiteral("1"));
    env2.settings().write(QStringLiteral("VideoResolution"), QStringLiteral("1"));
    App& app2 = startWithFolder(env2);
    EXPECT_EQ(app2.mainForm().capturePanel->CompressionCombo->currentText(),
              QStringLiteral("MJPEG"));
    EXPECT_EQ(app2.mainForm().capturePanel->ResolutionCombo->currentText(),
              QStringLiteral("1280x720"));
}

TEST(Startup, VideoLogThatCannotBeWrittenStillReachesConfiguration) {
    TestEnv env;
    // A folder where the log file should be: the append fails whoever runs the test.
    QDir().mkpath(logIn(env.videoDir()));
    App& app = startWithFolder(env);

    const auto messages = env.dialogs().messages();
    ASSERT_GE(messages.size(), 2);
    const MessageRequest& told = messages[messages.size() - 2];
    EXPECT_EQ(told.icon, MsgIcon::Exclamation);
    EXPECT_TRUE(told.prompt.contains(logIn(env.videoDir()))) << told.prompt.toStdString();
    EXPECT_EQ(messages.last().prompt, QStringLiteral("Please Verify all Setup Parameters"));
    EXPECT_TRUE(app.config().isVisible());
    EXPECT_FALSE(app.mainForm().isVisible());
}

TEST(MainScreen, ImportSkierNames) {
    TestEnv env;
    App& app = env.app();
    MainForm& m = app.mainForm();
    const QString names = env.appDir() + QStringLiteral("/SkierNames.txt");

    test::writeAll(env.path(QStringLiteral("names.txt")), "Smith,John,USA\nBrown, Ann\n");
    env.dialogs().answerText(env.path(QStringLiteral("names.txt")));
    m.cmdImport_Click();
    EXPECT_EQ(env.dialogs().recorded().last().file.startDir, env.appDir());
    EXPECT_EQ(app.previewForm().txtSkierName->text(), QStringLiteral("Smith John USA"));
    EXPECT_EQ(test::readAll(names), "Smith,John,USA\r\nBrown, Ann\r\n");

    test::writeAll(env.path(QStringLiteral("names.rtf")),
                   "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 M\\'fcller,Eva\\par Lee\\par}");
    env.dialogs().answerText(env.path(QStringLiteral("names.rtf")));
    m.cmdImport_Click();
    EXPECT_EQ(app.previewForm().txtSkierName->text(), QStringLiteral("M\u00fcller Eva"));
    EXPECT_EQ(test::readAll(names), "M\xfcller,Eva\r\nLee\r\n");

    // Cancel changes nothing; an unreadable file is reported and the names file kept.
    env.dialogs().answerCancel();
    m.cmdImport_Click();
    env.dialogs().clear();
    env.dialogs().answerText(env.path(QStringLiteral("nothing-here.txt")));
    m.cmdImport_Click();
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(QStringLiteral("nothing-here.txt")));
    EXPECT_EQ(test::readAll(names), "M\xfcller,Eva\r\nLee\r\n");
    EXPECT_EQ(app.previewForm().txtSkierName->text(), QStringLiteral("M\u00fcller Eva"));
}

TEST(MainScreen, CaptureScreenReadsTheNamesFileAtItsLoad) {
    TestEnv env;
    test::writeAll(env.appDir() + QStringLiteral("/SkierNames.txt"), "Doe,Jane\r\nX\r\n");
    EXPECT_EQ(env.app().previewForm().txtSkierName->text(), QStringLiteral("Doe Jane"));
    TestEnv none;
    EXPECT_EQ(none.app().previewForm().txtSkierName->text(), QStringLiteral("Skier Name"));
    EXPECT_EQ(none.settings().read(QStringLiteral("captureTime")), QStringLiteral("5.0"));
}

TEST(MainScreen, MeasureNeedsAllGridsReady) {
    TestEnv env;
    App& app = env.app();
    MainForm& m = app.mainForm();
    app.state.gridCount = 2;
    app.state.setGridReady(1, true);
    app.state.gridsReady = app.state.allGridsInUseReady() ? 1 : 0;
    m.show();
    m.ccmdGoToMeasure_Click();
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    const MessageRequest msg = env.dialogs().messages()[0];
    EXPECT_EQ(msg.prompt,
              QStringLiteral("At least one measurement grid that you have specified has "
                             "not been set up.  All grids specified must be set up "
                             "correctly before you can use the measurement screen"));
    EXPECT_EQ(msg.icon, MsgIcon::Critical);
    EXPECT_TRUE(msg.title.isEmpty());
    EXPECT_TRUE(app.gridSetup().isVisible());
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(app.measure().isVisible());

    env.dialogs().answer(MsgAnswer::Yes); // leave with a grid not set up
    app.gridSetup().gridExit_Click();
    EXPECT_TRUE(m.isVisible());
    app.state.gridsReady = 1;
    m.ccmdGoToMeasure_Click();
    EXPECT_TRUE(app.measure().isVisible());
    EXPECT_FALSE(m.isVisible());
    EXPECT_EQ(env.dialogs().messages().size(), 2);
}

TEST(MainScreen, CaptureAndFrameSelectionNeedAnExistingFolder) {
    TestEnv env;
    App& app = env.app();
    MainForm& m = app.mainForm();
    m.show();
    m.txtVideoDir->setText(env.path(QStringLiteral("missing")));
    m.cmdGoCapture_Click();
    m.cmdGoTimer_Click();
    ASSERT_EQ(env.dialogs().messages().size(), 2);
    for (const MessageRequest& msg : env.dialogs().messages()) {
        EXPECT_EQ(msg.prompt, QStringLiteral("The Log File Folder you specified does not exist. "
                                             "Please change it to a Folder that does exist."));
        EXPECT_EQ(msg.title, QStringLiteral("Path Error"));
    }
    EXPECT_TRUE(m.isVisible());

    m.txtVideoDir->setText(env.videoDir());
    m.cmdGoCapture_Click();
    EXPECT_TRUE(app.previewForm().isVisible());
    EXPECT_FALSE(m.isVisible());
    EXPECT_EQ(app.state.screenMode, QStringLiteral("Setup"));
    EXPECT_TRUE(app.state.previewActive);
    app.previewForm().cmdGoSetup_Click();
    EXPECT_TRUE(m.isVisible());
    EXPECT_FALSE(app.state.previewActive);
    EXPECT_EQ(app.state.screenMode, QStringLiteral("Capture"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    app.state.screenMode = QStringLiteral("Capture");
    m.repaint(); // a repaint clears the navigation word
    EXPECT_EQ(app.state.screenMode, QString());
}

TEST(MainScreen, CaptureScreenOpensAtTheMainScreensRightEdge) {
    TestEnv env;
    App& app = startWithFolder(env);
    MainForm& m = app.mainForm();
    app.config().mnuExit_Click(); // the main screen is shown
    m.setGeometry(10, 20, 300, 500);
    app.previewForm().resize(250, 400);
    const QRect main = m.frameGeometry();
    ASSERT_LE(main.right() + 250, m.screen()->availableGeometry().right());
    m.cmdGoCapture_Click();
    EXPECT_TRUE(app.previewForm().isVisible());
    EXPECT_EQ(app.previewForm().frameGeometry().topLeft(),
              QPoint(main.x() + main.width(), main.y()));
    EXPECT_EQ(m.frameGeometry().topLeft(), main.topLeft());
}

TEST(MainScreen, ChangeVideoFolder) {
    TestEnv env;
    App& app = env.app();
    MainForm& m = app.mainForm();
    m.txtVideoDir->setText(QStringLiteral("/before"));
    env.dialogs().answerText(env.path(QStringLiteral("missing")));
    env.dialogs().answerText(env.videoDir() + QStringLiteral("/"));
    m.btnChangeDirectory_Click();
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("The folder you entered does not exist"));
    EXPECT_EQ(env.dialogs().messages()[0].title, QStringLiteral("Jump Measurement Alert"));
    EXPECT_EQ(env.dialogs().recorded()[0].prompt,
              QStringLiteral("Please put in the path of the Save Video Directory here."));
    EXPECT_EQ(m.lblVideodir->text(), env.videoDir() + QStringLiteral("/"));
    EXPECT_EQ(app.state.videoDir, env.videoDir());
    EXPECT_EQ(env.settings().read(QStringLiteral("logpath")), env.videoDir());

    env.dialogs().answerCancel();
    m.btnChangeDirectory_Click();
    env.dialogs().answerText(QString());
    m.btnChangeDirectory_Click();
    EXPECT_EQ(app.state.videoDir, env.videoDir());

    // The question starts with the folder in use; a relative answer is made
    // absolute before it is checked and stored.
    env.dialogs().clear();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(env.path(QString())));
    const QString clips = env.appDir() + QStringLiteral("/clips");
    ASSERT_TRUE(QDir().mkpath(clips));
    env.dialogs().answerText(QStringLiteral("clips"));
    m.btnChangeDirectory_Click();
    QDir::setCurrent(before);
    EXPECT_EQ(env.dialogs().recorded()[0].defaultText, env.videoDir());
    EXPECT_EQ(app.state.videoDir, clips);
    EXPECT_EQ(env.settings().read(QStringLiteral("logpath")), clips);
}

TEST(MainScreen, ScreensAreMadeOnceAndOneViewerOfAKindIsOpen) {
    TestEnv env;
    App& app = env.app();
    MainForm& m = app.mainForm();
    EXPECT_EQ(&app.config(), &app.config());
    EXPECT_EQ(&app.mainForm(), &m);
    m.show();
    m.mnuViewLog_Click();
    m.mnuViewLog_Click(); // the open viewer comes to the front
    const auto viewers = m.findChildren<LogView*>();
    ASSERT_EQ(viewers.size(), 1);
    EXPECT_TRUE(viewers[0]->isVisible());
    EXPECT_TRUE(m.isVisible());
    QPointer<LogView> first = viewers[0];
    first->cmdDismiss_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    m.cmdConfigure_Click();
    EXPECT_TRUE(app.config().isVisible());
    EXPECT_FALSE(m.isVisible());
    app.config().mnuExit_Click();
    EXPECT_TRUE(m.isVisible());
    EXPECT_FALSE(app.config().isVisible());

    bool quit = false;
    QObject::connect(&app, &App::quitRequested, [&] { quit = true; });
    m.mnuExit_Click();
    EXPECT_TRUE(quit);
}

TEST(MainScreen, ClosingAScreensWindowGoesBackToTheMainScreen) {
    TestEnv env;
    App& app = env.app();
    MainForm& m = app.mainForm();
    bool quit = false;
    QObject::connect(&app, &App::quitRequested, [&] { quit = true; });

    // The configuration screen's close is its exit: the tournament name is
    // kept and the configuration line written.
    m.cmdConfigure_Click();
    app.config().TournamentName->setText(QStringLiteral("Spring Cup"));
    app.state.logFilePath = env.path(QStringLiteral("results.txt"));
    EXPECT_FALSE(app.config().close());
    EXPECT_TRUE(m.isVisible());
    EXPECT_FALSE(app.config().isVisible());
    EXPECT_EQ(env.settings().read(QStringLiteral("TournamentName")), QStringLiteral("Spring Cup"));
    EXPECT_TRUE(QString::fromLatin1(zt::test::readAll(app.state.logFilePath))
                    .startsWith(QStringLiteral("New Configuration: ")));

    const auto closes = [&](QWidget& screen, const char* name) {
        m.hide();
        screen.show();
        EXPECT_FALSE(screen.close()) << name;
        EXPECT_FALSE(screen.isVisible()) << name;
        EXPECT_TRUE(m.isVisible()) << name;
    };
    closes(app.gridSetup(), "grid setup");
    closes(app.measure(), "measure");
    closes(app.previewForm(), "capture");
    closes(app.frmSetStart(), "frame selection");
    closes(app.frmManual(), "manual");
    QCoreApplication::processEvents();
    EXPECT_FALSE(quit);
}
