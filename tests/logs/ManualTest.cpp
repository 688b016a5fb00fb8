// The manual screen and the manual itself: shipped with the program, put
// into the application folder, read through our RTF reader, and naming
// every screen and the messages an operator meets.

#include "logs/Manual.h"

#include "capture/ui/PreviewForm.h"
#include "config/ui/Config.h"
#include "grid/ui/Grid_Setup.h"
#include "logs/RtfReader.h"
#include "logs/ui/LogView.h"
#include "logs/ui/frmManual.h"
#include "logs/ui/frmSelectSkier.h"
#include "measure/ui/Calibrate.h"
#include "measure/ui/Measure.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"
#include "video/ui/frmSetStart.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace zt;
using test::readAll;
using test::writeAll;

namespace {

QString manualText() {
    return RtfReader::toPlainText(frmManual::deliveredManual());
}

} // namespace

TEST(ManualScreen, DoneShowsTheMainScreenAgain) {
    test::TestEnv env;
    App& app = env.app();
    MainForm& main = app.mainForm();
    main.show();
    main.munManual_Click();
    frmManual& manual = app.frmManual();
    EXPECT_TRUE(manual.isVisible());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(manual.windowTitle(), QStringLiteral("Zentrak 2005 Manual"));
    // The delivered manual, put into the application folder and shown.
    const QString copy = env.appDir() + QStringLiteral("/ZT05Manual.rtf");
    EXPECT_EQ(readAll(copy), frmManual::deliveredManual());
    EXPECT_EQ(manual.RichTextBox1->toPlainText().trimmed(), manualText().trimmed());
    EXPECT_TRUE(env.dialogs().recorded().isEmpty());

    QTest::mouseClick(manual.cmdDone, Qt::LeftButton);
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(manual.isVisible());
}

TEST(ManualScreen, TheApplicationFoldersManualIsTheOneShown) {
    test::TestEnv env;
    const QString copy = env.appDir() + QStringLiteral("/ZT05Manual.rtf");
    writeAll(copy, "{\\rtf1 {\\b Club notes}\\par Buoys at 30 m\\par}");
    App& app = env.app();
    app.showScreen(Screen::Manual);
    EXPECT_EQ(app.frmManual().RichTextBox1->toPlainText(),
              QStringLiteral("Club notes\nBuoys at 30 m\n"));
    EXPECT_EQ(readAll(copy), QByteArray("{\\rtf1 {\\b Club notes}\\par Buoys at 30 m\\par}"));

    // A manual that cannot be put into the folder is shown all the same.
    QTemporaryDir dir;
    const ManualText shown = loadManual(dir.filePath("no-such-folder"), "{\\rtf1 x\\par}");
    EXPECT_FALSE(shown.copied);
    EXPECT_FALSE(shown.copyError.isEmpty());
    EXPECT_EQ(shown.rtf, QByteArray("{\\rtf1 x\\par}"));
}

TEST(ManualScreen, HeadingsListsAndIndentsAreRendered) {
    QTextDocument doc;
    fillDocumentFromRtf(doc, "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\sb240\\sa120\\b\\fs32 "
                             "Pictures\\b0\\fs22\\par\\pard\\li360\\fi-240 \\bullet  one\\par "
                             "\\pard plain\\par}");
    const QTextBlock heading = doc.begin();
    EXPECT_EQ(heading.text(), QStringLiteral("Pictures"));
    EXPECT_EQ(heading.begin().fragment().charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(heading.begin().fragment().charFormat().fontPointSize(), 16);
    EXPECT_EQ(heading.blockFormat().topMargin(), 16);
    const QTextBlock item = heading.next();
    EXPECT_EQ(item.text(), QStringLiteral("\u2022 one"));
    EXPECT_EQ(item.blockFormat().leftMargin(), 24);
    EXPECT_EQ(item.blockFormat().textIndent(), -16);
    EXPECT_EQ(item.next().blockFormat().leftMargin(), 0);
}

// The manual names every screen by its caption.
TEST(Manual, MentionsEveryScreenByItsCaption) {
    test::TestEnv env;
    App& app = env.app();
    const QString text = manualText();
    ASSERT_FALSE(text.isEmpty());
    LogView video(app, nullptr);
    PictureLogView pictures(app, nullptr);
    frmSelectSkier skiers(app, nullptr);
    const QList<QWidget*> screens = {&app.mainForm(),    &app.config(),    &app.gridSetup(),
                                     &app.measure(),     &app.calibrate(), &app.previewForm(),
                                     &app.frmSetStart(), &app.frmManual(), &video,
                                     &pictures,          &skiers};
    for (QWidget* screen : screens)
        EXPECT_TRUE(text.contains(screen->windowTitle())) << screen->windowTitle().toStdString();
}

// The messages an operator meets most, each with what to do about it.
TEST(Manual, ListsTheOperatorsMessages) {
    const QString text = manualText();
    const char* messages[] = {
        "Please Verify all Setup Parameters",
        "You entered an invalid path - try  again",
        "The Log File Folder you specified does not exist.",
        "At least one measurement grid that you have specified has not been set up.",
        "Error occurred while trying to close file, please retry.",
        "Invalid path, change in configuration screen",
        "No Unique Solution - Re-enter data",
        "Check Buoy Does not Validate",
        "Setup of Check Buoy is Mandatory",
        "Warning - Not all parameters have been set up on grid",
        "Warning! Field of View is",
        "Setup is not valid, Field of View is",
        "which is less than 80% of screen width.",
        "Grid is greater than 75% so continue",
        "Invalid Configurations allowed for test",
        "Zoom camera in until front is > 85%",
        "Cannot Lock Grid Until buoy positions have been entered",
        "Do you want to leave the grid setup with all configured grids not setup?",
        "I cannot find a  check  buoy file for this setup.",
        "Error in load - no check buoy found - setup grid again",
        "The grid could not be saved: ",
        "cannot measure: ",
        "Pick the line number that best represents where the skier will land",
        "Error while reading WSTIMS name file: ",
        "Error while writing WSTIMS result: ",
        "The results file cannot be written: ",
        "The meter distance and the foot distance you entered did not match",
        "The distance cannot be computed at this mark.",
        "Warning, snapshot file has not been saved in the \\ztio directory",
        "Do you want to save this picture?",
        "Do you want to remain on this form?",
        "already exists.",
        "The picture could not be saved as",
        "The picture could not be loaded:",
        "There is no picture to save: ",
        "The results file cannot be read: ",
        "Sorry, you cannot use the \",\" character in this box",
        "No file of skier names called SkierNames.txt exists in the application directory",
        "Warning, the pass number was changed because a file for that pass already existed.",
        "Warning, the jump number is greater than 3.",
        "One or more grids are not configured.",
        "Do you want to save this video capture?",
        "Warning, this is not a  standard QVX file",
        "File already measured - contact frame is ",
        "Not a valid avi file",
        "No suitable decompressor found for this video stream!",
        "There was an error working with the file:",
        "No MCI capture devices are installed on this system",
        "Eror code: ",
        "Names not loaded, check file name and path",
        "Enter valid path and filename for results file",
        "Caution, WSTIMS requires ZTIO directory to exist",
        "The setting could not be saved: ",
        "Zentrak is already running with the application folder ",
    };
    for (const char* message : messages)
        EXPECT_TRUE(text.contains(QString::fromLatin1(message))) << message;
}
