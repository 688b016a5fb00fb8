// Saving and loading a grid from the grid setup screen: the questions and
// messages, the settings, the diagnostic lines, the boxes, the store and
// the set-up record, with scripted dialogs and temporary folders.

#include "grid/GridSaveLoad.h"

#include "app/ui/PictureLabel.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/Measure.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/GridFixtures.h"
#include "support/QtPrinters.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace zt;
using zt::test::readAll;
using zt::test::Recorded;
using zt::test::TestEnv;

namespace {

struct GridScreen {
    TestEnv env;
    App& app = env.app();
    Grid_Setup& gs = app.gridSetup();
    QString folder = env.path(QStringLiteral("grids"));
    QString results = env.path(QStringLiteral("results.txt"));

    GridScreen() {
        QDir().mkpath(folder);
        app.state.setupFilesPath = folder;
        app.state.logFilePath = results;
        // A picture the test grid's near buoys span well (front ratio above
        // 80%), so loads give no zoom warning.
        gs.txtPicWidth->setText(QStringLiteral("9000"));
    }

    // A solved grid with a check buoy marked, as after Complete.
    void markGrid() {
        GridState& s = app.state;
        ASSERT_TRUE(zt::test::markTestGrid(s));
        gs.txtCheckX->setText(QStringLiteral("45.5"));
        gs.txtCheckY->setText(QStringLiteral("12"));
    }

    // Forgets the grid, as a fresh run would.
    void forgetGrid() {
        GridState& s = app.state;
        s.buoyScreenX = s.buoyScreenY = s.buoySurveyX = s.buoySurveyY = {};
        s.setCoefficients(Coefficients{});
        s.jumpX = s.jumpY = s.savedJumpX = s.savedJumpY = 0;
        s.checkMarkX = s.checkMarkY = s.checkPixX = s.checkPixY = 0;
        s.gridStore = {};
        s.gridDescription = {};
    }

    void save(const QString& path, const QString& description, bool sameGrid = true) {
        env.dialogs().answerText(path);
        env.dialogs().answerText(description);
        env.dialogs().answer(sameGrid ? MsgAnswer::Yes : MsgAnswer::No);
        gs.gridSave_Click();
    }

    // Saves the marked test grid as "good.ipt" and loads it: grid 1 ready.
    QString loadReadyGrid() {
        markGrid();
        const QString good = folder + QStringLiteral("/good.ipt");
        save(good, QStringLiteral("good"));
        env.dialogs().answerText(good);
        gs.gridLoad_Click();
        return good;
    }

    QStringList diagnosticTexts() {
        QStringList out;
        const QString log = QString::fromLatin1(readAll(app.diagnosticLog().path()));
        for (const QString& line : log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            out << line.mid(line.indexOf(QStringLiteral("      ")) + 6);
        return out;
    }
};

QString loadRecord(const QString& path, const QString& description, const QString& checkLines) {
    return QStringLiteral("12-08-2026 13:05:09 New Set-up now in place\r\n") + path +
           QStringLiteral("\r\n") + description +
           QStringLiteral("\r\nGrid Number:  1 \r\n \r\n"
                          "Upper Left X,Y Twips: 3100  2450\r\n"
                          "Upper Left X,Y Survey: 30  15\r\n \r\n"
                          "Lower Left X,Y Twips: 2300  6050\r\n"
                          "Lower Left X,Y Survey: 30  0\r\n \r\n"
                          "Upper Right X,Y Twips: 9000  2500\r\n"
                          "Upper Right X,Y Survey: 60  15\r\n \r\n"
                          "Lower Right X,Y Twips: 9700  6000\r\n"
                          "Lower Right X,Y Survey: 60  0\r\n \r\n"
                          "Jump X,Y Survey: 10.25  7.5\r\n \r\n") +
           checkLines;
}

} // namespace

TEST(GridSaveLoad, SaveThenLoadGivesBackTheGridAndMakesItReady) {
    GridScreen t;
    t.markGrid();
    t.gs.chkboxGridLock->setChecked(true);
    t.gs.gridLockedLabel->show();
    const Coefficients before = t.app.state.coefficients();
    const QString path = t.folder + QStringLiteral("/north.ipt");
    const QString description = QStringLiteral("Dock camera, 3rd pole, wide");
    t.save(path, description);

    const QList<Recorded>& r = t.env.dialogs().recorded();
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r[0].kind, Recorded::OpenFile);
    EXPECT_EQ(r[0].file.filter, gridSaveFilter);
    EXPECT_EQ(r[0].file.filterIndex, 3);
    EXPECT_EQ(r[0].file.startDir, t.folder);
    EXPECT_TRUE(r[0].file.allowNewFile);
    EXPECT_EQ(r[1].prompt, QStringLiteral("Enter descriptive line about grid"));
    EXPECT_EQ(r[1].title, QStringLiteral("Grid Description"));
    EXPECT_EQ(r[2].message.prompt, QStringLiteral("Save Grid 1"));
    EXPECT_EQ(r[2].message.title, QStringLiteral("Current Grid"));
    EXPECT_EQ(r[2].message.buttons, MsgButtons::YesNo);

    EXPECT_FALSE(t.gs.chkboxGridLock->isChecked());
    EXPECT_TRUE(t.gs.gridLockedLabel->isHidden());
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File")), path);
    EXPECT_EQ(t.gs.ipt_file_description->text(), path);
    EXPECT_EQ(t.gs.ipt_file_description_2->text(), description);
    EXPECT_EQ(t.app.measure().grid_description->text(), description);
    EXPECT_EQ(t.app.mainForm().txtGridDescription[0]->text(), description);
    EXPECT_EQ(t.app.state.gridStore[1][slot::coefficient(5)], before[5]);
    EXPECT_EQ(t.app.state.gridStore[1][slot::checkSurveyX], 45.5);
    EXPECT_TRUE(t.diagnosticTexts().contains(QStringLiteral("save grid 1")));
    EXPECT_EQ(readAll(path + QStringLiteral(".cb")),
              QByteArray(" 6185 \r\n 3066 \r\n45.5\r\n12\r\n"));

    // A new day: the grid comes back from the file.
    t.forgetGrid();
    t.gs.ipt_file_description_2->clear();
    t.env.dialogs().clear();
    t.env.dialogs().answerText(path);
    t.gs.gridLoad_Click();
    ASSERT_EQ(t.env.dialogs().recorded().size(), 1); // one grid in use: no question
    EXPECT_EQ(t.env.dialogs().recorded()[0].file.filter, gridLoadFilter);
    EXPECT_FALSE(t.env.dialogs().recorded()[0].file.allowNewFile);

    const Coefficients after = t.app.state.coefficients();
    for (int n = 1; n <= 8; ++n)
        EXPECT_NEAR(after[n], before[n], std::fabs(before[n]) * 1e-14) << "c" << n;
    EXPECT_EQ(t.app.state.gridDescription[1], description);
    EXPECT_EQ(t.gs.ipt_file_description_2->text(), description);
    EXPECT_EQ(t.gs.upper_left_x->text(), QStringLiteral("3100"));
    EXPECT_EQ(t.gs.lr_survey_x->text(), QStringLiteral("60"));
    EXPECT_EQ(t.gs.jump_x->text(), QStringLiteral("10.25"));
    EXPECT_EQ(t.gs.txtCheckX->text(), QStringLiteral("45.5"));
    EXPECT_EQ(t.gs.txtCheckXpix->text(), QStringLiteral("6185"));
    EXPECT_EQ(t.gs.ulMarkX, 3100);
    EXPECT_EQ(t.app.state.checkMarkX, 6185);
    EXPECT_EQ(t.app.state.jumpX, 10.25);
    EXPECT_FALSE(t.app.state.gridLoading);

    EXPECT_TRUE(t.app.state.grid1Ready);
    EXPECT_EQ(t.app.state.gridsReady, 1);
    EXPECT_EQ(t.gs.grid_select->text(), QStringLiteral("Grid 1"));
    EXPECT_EQ(pictureNameOf(t.gs.grid_state_icon), QStringLiteral("face02.ico"));
    EXPECT_TRUE(t.gs.btnAccuracyCheck->isEnabled());
    EXPECT_EQ(pictureNameOf(t.app.mainForm().ImageGrid1), readyGridPicture);
    const QStringList diag = t.diagnosticTexts();
    const qsizetype at = diag.indexOf(QStringLiteral("load grid 1"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(diag.mid(at),
              QStringList({QStringLiteral("load grid 1"),
                           QStringLiteral("Front set-up ratio = 82.2222222222222"),
                           QStringLiteral("Back set-up ratio = 65.5555555555556"),
                           QStringLiteral("Load grid file names on main page below"),
                           QStringLiteral("Load grid 1"), QStringLiteral("Grid load message above"),
                           QStringLiteral("1 grid - OK"),
                           QStringLiteral("Number of grids loaded message above")}));

    EXPECT_EQ(QString::fromLatin1(readAll(t.results)),
              loadRecord(path, description,
                         QStringLiteral("Check Buoy X,Y Twips:  6185    3066 \r\n"
                                        "Check Buoyt X,Y Survey:  45.5    12 \r\n \r\n")));
}

TEST(GridSaveLoad, SavingTwiceReplacesBothFiles) {
    GridScreen t;
    t.markGrid();
    const QString path = t.folder + QStringLiteral("/twice.ipt");
    t.save(path, QStringLiteral("first"));
    t.app.state.checkMarkX = 7000;
    t.gs.txtCheckX->setText(QStringLiteral("50"));
    t.save(path, QStringLiteral("second"));
    EXPECT_TRUE(QString::fromLatin1(readAll(path)).contains(QStringLiteral("\r\nsecond\r\n")));
    EXPECT_EQ(readAll(path + QStringLiteral(".cb")),
              QByteArray(" 7000 \r\n 3066 \r\n50\r\n12\r\n"));
    // No temporary file stays behind.
    EXPECT_EQ(QDir(t.folder).entryList(QDir::Files).size(), 2);
}

TEST(GridSaveLoad, FileSavedForGridTwoLoadsIntoGridOne) {
    GridScreen t;
    t.app.state.gridCount = 2;
    t.markGrid();
    const QString path = t.folder + QStringLiteral("/cam2.ipt");
    // "Save Grid 1"? No: grid 5 is not in use, so the question comes again.
    t.env.dialogs().answerText(path);
    t.env.dialogs().answerText(QStringLiteral("camera two"));
    t.env.dialogs().answer(MsgAnswer::No);
    t.env.dialogs().answerText(QStringLiteral("5"));
    t.env.dialogs().answerText(QStringLiteral("2"));
    t.gs.gridSave_Click();
    EXPECT_EQ(t.env.dialogs().prompts().mid(3),
              QStringList({QStringLiteral("What grid are you saving?"),
                           QStringLiteral("What grid are you saving?")}));
    EXPECT_EQ(t.app.state.currentGrid, 2);
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid2File")), path);
    // Not named by the save (typing the check buoy only cleared it).
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File")), QString());
    EXPECT_TRUE(
        QString::fromLatin1(readAll(path)).endsWith(QStringLiteral(" 10 \r\n 2 \r\n 2 \r\n")));
    EXPECT_EQ(t.app.mainForm().txtGridDescription[1]->text(), QStringLiteral("camera two"));

    t.forgetGrid();
    t.app.state.currentGrid = 1; // grid 1 made active again
    t.env.dialogs().clear();
    t.env.dialogs().answer(MsgAnswer::Yes); // "Load Grid 1"
    t.env.dialogs().answerText(path);
    t.gs.gridLoad_Click();
    EXPECT_EQ(t.env.dialogs().prompts().value(0), QStringLiteral("Load Grid 1"));
    EXPECT_EQ(t.app.state.gridStore[1][slot::gridNumber], 2);
    EXPECT_EQ(t.app.state.gridDescription[1], QStringLiteral("camera two"));
    EXPECT_TRUE(t.app.state.grid1Ready);
    EXPECT_FALSE(t.app.state.grid2Ready);
    EXPECT_EQ(t.app.state.gridsReady, 0); // two grids in use, one ready
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File")), path);
    EXPECT_FALSE(t.diagnosticTexts().contains(QStringLiteral("2 grids - OK")));
}

TEST(GridSaveLoad, OldFileWithoutCheckBuoyLoadsButIsNotReady) {
    GridScreen t;
    t.markGrid();
    const QString path = t.folder + QStringLiteral("/old.ipt");
    t.save(path, QStringLiteral("old grid"));
    QFile::remove(path + QStringLiteral(".cb"));
    t.forgetGrid();
    t.app.state.checkMarkX = 500; // from another grid
    t.env.dialogs().clear();
    t.env.dialogs().answerText(path);
    t.gs.gridLoad_Click();

    const QList<MessageRequest> m = t.env.dialogs().messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].prompt,
              QStringLiteral("I cannot find a  check  buoy file for this setup.  That means you "
                             "are inputting an old set-up file that does not have a check buoy.  "
                             "To complete the set up correctly, you must have a check buoy input "
                             "to the set up."));
    EXPECT_EQ(m[0].icon, MsgIcon::Critical);
    EXPECT_EQ(t.gs.txtCheckX->text(), QString());
    EXPECT_EQ(t.gs.txtCheckY->text(), QString());
    EXPECT_EQ(t.gs.txtCheckXpix->text(), QStringLiteral("auto"));
    EXPECT_EQ(t.gs.txtCheckYpix->text(), QStringLiteral("auto"));
    EXPECT_EQ(t.app.state.checkMarkX, 0);
    EXPECT_FALSE(t.app.state.grid1Ready);
    EXPECT_EQ(pictureNameOf(t.gs.grid_state_icon), QStringLiteral("msgbox03.ico"));
    EXPECT_EQ(QString::fromLatin1(readAll(t.results)),
              loadRecord(path, QStringLiteral("old grid"),
                         QStringLiteral("No check buoy for this set up\r\n \r\n")));
}

TEST(GridSaveLoad, CutOffCheckBuoyFileIsReportedAndLeavesNoCheckBuoy) {
    // A check buoy file holding only the screen position would otherwise
    // make the grid ready with a check buoy surveyed at (0, 0).
    GridScreen t;
    t.markGrid();
    const QString path = t.folder + QStringLiteral("/cut.ipt");
    t.save(path, QStringLiteral("cut"));
    const QString cb = path + QStringLiteral(".cb");
    test::writeAll(cb, " 5100 \r\n 2700 \r\n");
    t.forgetGrid();
    t.env.dialogs().clear();
    t.env.dialogs().answerText(path);
    t.gs.gridLoad_Click();
    const QList<MessageRequest> m = t.env.dialogs().messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(m[0].prompt.contains(cb)) << m[0].prompt.toStdString();
    EXPECT_FALSE(t.app.state.grid1Ready);
    EXPECT_EQ(t.app.state.checkMarkX, 0);
    EXPECT_EQ(t.gs.txtCheckXpix->text(), QStringLiteral("auto"));
    EXPECT_TRUE(QString::fromLatin1(readAll(t.results))
                    .endsWith(QStringLiteral("No check buoy for this set up\r\n \r\n")));
}

TEST(GridSaveLoad, LoadWithoutCheckBuoyOverAReadyGridMakesItNotReady) {
    // The loaded values replace the ready grid's, so the measure screen
    // must not stay open to them as if the grid were still set up.
    GridScreen t;
    const QString good = t.loadReadyGrid();
    ASSERT_TRUE(t.app.state.grid1Ready);
    ASSERT_EQ(t.app.state.gridsReady, 1);

    const QString old = t.folder + QStringLiteral("/old.ipt");
    t.save(old, QStringLiteral("old"));
    QFile::remove(old + QStringLiteral(".cb"));
    t.env.dialogs().answerText(old);
    t.gs.gridLoad_Click();
    EXPECT_FALSE(t.app.state.grid1Ready);
    EXPECT_EQ(t.app.state.gridsReady, 0);
    // The screens say so too, and the measure screen stays closed.
    EXPECT_EQ(pictureNameOf(t.gs.grid_state_icon), QStringLiteral("msgbox03.ico"));
    EXPECT_EQ(pictureNameOf(t.app.mainForm().ImageGrid1), notReadyGridPicture);
    t.env.dialogs().clear();
    t.app.mainForm().ccmdGoToMeasure_Click();
    EXPECT_TRUE(t.app.measure().isHidden());
    EXPECT_EQ(t.env.dialogs().messages().size(), 1);
}

TEST(GridSaveLoad, SaveNamesTheActiveGridAfterASwitchElsewhere) {
    // Grid 2 made active on the measure screen while this screen's button
    // still reads Grid 1: "Save Grid 1" would write grid 2's values over
    // grid 1's store row and file setting.
    GridScreen t;
    t.app.state.gridCount = 2;
    t.markGrid();
    storeWorkingGrid(t.app.state, 1);
    const auto grid1 = t.app.state.gridStore[1];
    ASSERT_EQ(t.gs.grid_select->text(), QStringLiteral("Grid 1"));
    t.app.state.currentGrid = 2; // the working state now holds grid 2
    const QString path = t.folder + QStringLiteral("/two.ipt");
    t.save(path, QStringLiteral("two"));
    EXPECT_EQ(t.env.dialogs().prompts().value(2), QStringLiteral("Save Grid 2"));
    EXPECT_EQ(t.app.state.gridStore[1], grid1);
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid2File")), path);
    // Not named by the save (typing the check buoy only cleared it).
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File")), QString());
}

TEST(GridSaveLoad, LoadedGridIsTheActiveGridAlsoWhenNotReady) {
    // The working state holds the file's grid after a load, so the active
    // grid number must name it even without a check buoy.
    GridScreen t;
    t.app.state.gridCount = 2;
    t.markGrid();
    const QString path = t.folder + QStringLiteral("/old.ipt");
    t.save(path, QStringLiteral("old grid"));
    QFile::remove(path + QStringLiteral(".cb"));
    t.app.state.currentGrid = 1;
    t.env.dialogs().clear();
    t.env.dialogs().answer(MsgAnswer::No); // "Load Grid 1"
    t.env.dialogs().answerText(QStringLiteral("2"));
    t.env.dialogs().answerText(path);
    t.gs.gridLoad_Click();
    EXPECT_FALSE(t.app.state.grid2Ready);
    EXPECT_EQ(t.app.state.currentGrid, 2);
}

TEST(GridSaveLoad, NothingHappensWithoutFolderOrWhenCancelled) {
    GridScreen t;
    t.markGrid();
    t.app.state.setupFilesPath = t.env.path(QStringLiteral("missing"));
    t.gs.gridSave_Click();
    ASSERT_EQ(t.env.dialogs().recorded().size(), 1);
    EXPECT_EQ(t.env.dialogs().messages()[0].prompt,
              QStringLiteral("Invalid path, change in configuration screen"));
    EXPECT_EQ(t.env.dialogs().messages()[0].icon, MsgIcon::Exclamation);
    t.gs.gridLoad_Click();
    EXPECT_EQ(t.env.dialogs().recorded().size(), 2);

    // A cancelled dialog ends both silently.
    t.app.state.setupFilesPath = t.folder;
    t.env.dialogs().clear();
    t.env.dialogs().answerCancel();
    t.gs.gridSave_Click();
    t.env.dialogs().answerCancel();
    t.gs.gridLoad_Click();
    EXPECT_EQ(t.env.dialogs().recorded().size(), 2);
    EXPECT_TRUE(t.env.dialogs().messages().isEmpty());

    // Cancelling the grid number question ends the load before the dialog.
    t.app.state.gridCount = 3;
    t.env.dialogs().clear();
    t.env.dialogs().answer(MsgAnswer::No);
    t.env.dialogs().answerCancel();
    t.gs.gridLoad_Click();
    EXPECT_EQ(t.env.dialogs().recorded().size(), 2);
    EXPECT_TRUE(QDir(t.folder).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(QFile::exists(t.results));
    // Not named by the save (typing the check buoy only cleared it).
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File")), QString());
}

TEST(GridSaveLoad, FileEndingEarlyIsReportedAndLeavesTheGridAsItWas) {
    // A ready grid must not be left with the buoys of a cut-off file and
    // the coefficients of the grid before it.
    GridScreen t;
    const QString good = t.loadReadyGrid();
    ASSERT_TRUE(t.app.state.grid1Ready);
    ASSERT_EQ(t.app.state.gridsReady, 1);
    QFile::remove(t.results);
    const GridState before = t.app.state;

    const QString path = t.folder + QStringLiteral("/short.ipt");
    test::writeAll(path, "Initialization Points for file: x\r\nshort one\r\n"
                         " 9000 , 2500 , 60 , 15 \r\n 9700 , 6000 , 60 , 0 \r\n");
    t.env.dialogs().clear();
    t.env.dialogs().answerText(path);
    t.gs.gridLoad_Click();
    const QList<MessageRequest> m = t.env.dialogs().messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(m[0].prompt.contains(path)) << m[0].prompt.toStdString();
    EXPECT_EQ(t.app.state.coefficients().c, before.coefficients().c);
    EXPECT_EQ(t.app.state.buoyScreenX, before.buoyScreenX);
    EXPECT_EQ(t.app.state.gridStore, before.gridStore);
    EXPECT_EQ(t.app.state.gridDescription[1], QStringLiteral("good"));
    EXPECT_EQ(t.gs.ipt_file_description->text(), good);
    EXPECT_FALSE(t.app.state.gridLoading);
    EXPECT_TRUE(t.app.state.grid1Ready);
    EXPECT_FALSE(QFile::exists(t.results));
}

TEST(GridSaveLoad, UnwritableResultsFileIsReportedAndTheLoadGoesOn) {
    GridScreen t;
    t.markGrid();
    const QString path = t.folder + QStringLiteral("/g.ipt");
    t.save(path, QStringLiteral("g"));
    t.app.state.logFilePath = t.env.path(QStringLiteral("no-such-folder/results.txt"));
    t.env.dialogs().clear();
    t.env.dialogs().answerText(path);
    t.gs.gridLoad_Click();
    const QList<MessageRequest> m = t.env.dialogs().messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_TRUE(m[0].prompt.contains(t.app.state.logFilePath)) << m[0].prompt.toStdString();
    EXPECT_TRUE(t.app.state.grid1Ready);
}

TEST(GridSaveLoad, FileThatCannotBeWrittenIsReported) {
    GridScreen t;
    const QString before = QDir::currentPath();
    t.markGrid();
    const QString path = t.folder + QStringLiteral("/gone/g.ipt");
    t.save(path, QStringLiteral("g"));
    const QList<MessageRequest> m = t.env.dialogs().messages();
    ASSERT_EQ(m.size(), 2); // "Save Grid 1", then the failure
    EXPECT_EQ(m[1].icon, MsgIcon::Critical);
    EXPECT_TRUE(m[1].prompt.contains(path)) << m[1].prompt.toStdString();
    // The setting and the grid's file name keep the last file written
    // whole (none here): the next start must not look for a file that is
    // not there.
    EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File")), QString());
    EXPECT_EQ(t.app.state.gridFileName[1], QString());
    EXPECT_EQ(t.app.state.gridDescription[1], QStringLiteral("g"));
    // The dialog started in the setup files folder; the process's current
    // folder is nobody's business.
    const auto& asked = t.env.dialogs().recorded();
    const auto dialog = std::find_if(asked.begin(), asked.end(), [](const auto& r) {
        return r.kind == zt::test::Recorded::OpenFile;
    });
    ASSERT_NE(dialog, asked.end());
    EXPECT_EQ(dialog->file.startDir, t.folder);
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST(GridSaveLoad, GridThatCannotMeasureLoadsButIsNeverReady) {
    // All eight coefficients 0 (saved before Complete) and a singular set,
    // each with its check buoy file: every mark would "measure" 2.1 m.
    for (const Coefficients& c : {Coefficients{}, Coefficients{{0, 1, 2, 3, 0, 0, 2, 4, 6}}}) {
        GridScreen t;
        const QString good = t.loadReadyGrid();
        ASSERT_TRUE(t.app.state.grid1Ready);
        t.app.state.setCoefficients(c);
        const QString bad = t.folder + QStringLiteral("/bad.ipt");
        t.save(bad, QStringLiteral("bad"));
        ASSERT_TRUE(QFile::exists(bad + QStringLiteral(".cb")));
        t.env.dialogs().clear();
        t.env.dialogs().answerText(bad);
        t.gs.gridLoad_Click();

        const QList<MessageRequest> m = t.env.dialogs().messages();
        ASSERT_EQ(m.size(), 1);
        EXPECT_EQ(m[0].icon, MsgIcon::Critical);
        EXPECT_TRUE(m[0].prompt.startsWith(QStringLiteral("The grid in ") + bad +
                                           QStringLiteral(" cannot measure: ")))
            << m[0].prompt.toStdString();
        EXPECT_EQ(t.app.state.coefficients().c, c.c); // loaded, to be set up again
        EXPECT_FALSE(t.app.state.grid1Ready);
        EXPECT_EQ(t.app.state.gridsReady, 0);
        EXPECT_EQ(pictureNameOf(t.gs.grid_state_icon), QStringLiteral("msgbox03.ico"));
        EXPECT_EQ(pictureNameOf(t.app.mainForm().ImageGrid1), notReadyGridPicture);
        EXPECT_EQ(t.env.settings().read(QStringLiteral("grid1File")), bad);     // as saved
        EXPECT_EQ(t.diagnosticTexts().count(QStringLiteral("Load grid 1")), 1); // the good one
    }
}
