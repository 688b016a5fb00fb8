// The configuration screen under the offscreen platform: the load with its
// store normalisation and grid loads, the option handlers, the lines it
// appends to the results file, the exit and the skier names.

#include "config/ui/Config.h"

#include "app/SettingsTable.h"
#include "app/TextFormat.h"
#include "app/ui/PictureLabel.h"
#include "config/ConfigLogic.h"
#include "grid/GridFiles.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/Measure.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/GridFixtures.h"
#include "support/QtPrinters.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace zt;
using zt::test::readAll;
using zt::test::TestEnv;
using zt::test::writeAll;

namespace {

struct ConfigScreen {
    TestEnv env;
    App* appPtr = nullptr;

    App& app() {
        if (!appPtr) {
            appPtr = &env.app();
            appPtr->state.videoDir = env.videoDir();
            appPtr->mainForm().txtVideoDir->setText(env.videoDir());
        }
        return *appPtr;
    }
    Config& load() {
        Config& c = app().config();
        c.Form_Load();
        return c;
    }
    QString results() const {
        return env.videoDir() + QStringLiteral("/JumpMeasurementResults120826.txt");
    }
    QString setting(const char* key) { return env.settings().read(QLatin1String(key)); }

    // A grid setup file with (or without) its check buoy file.
    QString gridFile(const QString& name, int g, bool withCheckBuoy = true) {
        GridState s;
        EXPECT_TRUE(zt::test::markTestGrid(s));
        const QString path = env.path(name);
        EXPECT_TRUE(saveGridFiles(s, {g, path, QStringLiteral("camera %1").arg(g),
                                      QStringLiteral("45.5"), QStringLiteral("12")}));
        if (!withCheckBuoy)
            QFile::remove(path + QStringLiteral(".cb"));
        return path;
    }

    QColor textColor(const char* control) {
        return measureControl(app(), QLatin1String(control))->palette().color(QPalette::WindowText);
    }
};

} // namespace

TEST(ConfigLoad, EmptyStoreIsNormalisedThroughTheHandlers) {
    ConfigScreen t;
    Config& c = t.load();
    EXPECT_EQ(t.setting("labelcolor"), QStringLiteral("default"));
    EXPECT_EQ(t.setting("grids"), QStringLiteral("1"));
    EXPECT_EQ(t.setting("impactcolor"), QStringLiteral("white"));
    EXPECT_EQ(t.setting("right2left"), QStringLiteral("False"));
    EXPECT_EQ(t.setting("boxlineoff"), QStringLiteral("False"));
    EXPECT_EQ(t.setting("tournamentType"), QStringLiteral("normal"));
    EXPECT_EQ(t.setting("WSTIMS"), QStringLiteral("0"));
    EXPECT_EQ(t.setting("buoymarker"), QStringLiteral("circle"));
    EXPECT_EQ(t.setting("PictureSave"), QStringLiteral("Ask"));
    EXPECT_EQ(t.setting("VideoSave"), QStringLiteral("Ask"));
    EXPECT_FALSE(t.env.settings().contains(QStringLiteral("Loupe")));
    EXPECT_TRUE(t.env.dialogs().recorded().isEmpty());

    const AppState& s = t.app().state;
    EXPECT_EQ(c.ResultsPathName->text(), t.results());
    EXPECT_EQ(s.logFilePath, t.results());
    EXPECT_EQ(s.pictureDir, t.env.videoDir());
    EXPECT_EQ(s.pictureExt, QStringLiteral(".bmp"));
    EXPECT_EQ(s.gridCount, 1);
    EXPECT_EQ(s.gridColorName, QStringLiteral("default"));
    EXPECT_EQ(s.impactColor, rgbWhite);
    EXPECT_EQ(s.pictureSavePolicy, QStringLiteral("Ask"));
    EXPECT_TRUE(c.line_control_check->isChecked());
    EXPECT_TRUE(c.ZTIOLabel->isHidden());

    MainForm& m = t.app().mainForm();
    EXPECT_FALSE(m.lblGrid1->isHidden());
    EXPECT_TRUE(m.lblGrid2->isHidden());
    EXPECT_TRUE(m.ImageGrid3->isHidden());
    EXPECT_TRUE(m.txtGridDescription[2]->isHidden());
    EXPECT_EQ(pictureNameOf(m.ImageGrid1), notReadyGridPicture);
    // Default message colours per control.
    EXPECT_EQ(t.textColor("M_Reride"), QColor(255, 0, 0));
    EXPECT_EQ(t.textColor("O_reride"), QColor(255, 255, 0));
    EXPECT_EQ(t.textColor("Fall"), QColor(0, 0, 0));
    EXPECT_EQ(t.textColor("maxbuoy"), QColor(255, 255, 255));
    EXPECT_TRUE(t.app().measure().UnofficialJump->isHidden());
    EXPECT_TRUE(t.app().gridSetup().gridLockedLabel->isHidden());
}

TEST(ConfigLoad, StoredChoicesAreAppliedAndOddValuesNormalised) {
    ConfigScreen t;
    auto& st = t.env.settings();
    st.write(QStringLiteral("grids"), QStringLiteral("5"));
    st.write(QStringLiteral("Loupe"), QStringLiteral("2"));
    st.write(QStringLiteral("right2left"), QStringLiteral("True"));
    st.write(QStringLiteral("labelcolor"), QStringLiteral("yellow"));
    st.write(QStringLiteral("impactcolor"), QStringLiteral("red"));
    st.write(QStringLiteral("boxlineoff"), QStringLiteral("True"));
    st.write(QStringLiteral("buoymarker"), QStringLiteral("cross"));
    st.write(QStringLiteral("PictureSave"), QStringLiteral("NoSave"));
    st.write(QStringLiteral("VideoSave"), QStringLiteral("Save"));
    st.write(QStringLiteral("WSTIMS"), QStringLiteral("1"));
    st.write(QStringLiteral("TournamentName"), QStringLiteral("Spring Open"));
    st.write(QStringLiteral("SetupFiles"), t.env.path(QStringLiteral("grids")));
    Config& c = t.load();
    const AppState& s = t.app().state;

    EXPECT_TRUE(c.Opt1Grid->isChecked());
    EXPECT_EQ(t.setting("grids"), QStringLiteral("1"));
    EXPECT_FALSE(c.chkLoupe->isChecked());
    EXPECT_EQ(c.loupe().starts(), 0);
    EXPECT_TRUE(c.right_to_left_button->isChecked());
    EXPECT_TRUE(s.rightToLeft);
    EXPECT_EQ(s.gridColor, rgbYellow);
    EXPECT_EQ(c.colorName(), QStringLiteral("yellow"));
    EXPECT_EQ(t.textColor("M_Reride"), QColor(255, 255, 0));
    EXPECT_EQ(t.textColor("minbuoym"), QColor(255, 255, 0));
    EXPECT_EQ(s.impactColor, rgbRed);
    EXPECT_FALSE(c.line_control_check->isChecked());
    EXPECT_TRUE(s.boxLineOff);
    EXPECT_EQ(s.buoyMarker, QStringLiteral("cross"));
    EXPECT_TRUE(c.OptPictureNoSave->isChecked());
    EXPECT_EQ(s.pictureSavePolicy, QStringLiteral("NoSave"));
    EXPECT_EQ(s.videoSavePolicy, QStringLiteral("Save"));
    EXPECT_FALSE(c.ZTIOLabel->isHidden());
    EXPECT_EQ(s.tournamentName, QStringLiteral("Spring Open"));
    EXPECT_EQ(s.setupFilesPath, t.env.path(QStringLiteral("grids")));

    // A later change of the save policy is stored but applies at the next start.
    c.OptPictureSave->click();
    EXPECT_EQ(t.setting("PictureSave"), QStringLiteral("Save"));
    EXPECT_EQ(s.pictureSavePolicy, QStringLiteral("NoSave"));
    // Back to default colours; the exit stores the name chosen last.
    c.default_color->click();
    EXPECT_EQ(t.textColor("M_Reride"), QColor(255, 0, 0));
    c.mnuExit_Click();
    EXPECT_EQ(t.setting("labelcolor"), QStringLiteral("default"));
}

TEST(ConfigLoad, LoadsConfiguredGridsThreeFirstAndShowsGridsInUse) {
    ConfigScreen t;
    const QString g1 = t.gridFile(QStringLiteral("one.ipt"), 1);
    const QString g3 = t.gridFile(QStringLiteral("three.ipt"), 3);
    t.env.settings().write(QStringLiteral("grid1File"), g1);
    t.env.settings().write(QStringLiteral("grid3File"), g3);
    t.env.settings().write(QStringLiteral("grids"), QStringLiteral("2"));
    t.load();
    const AppState& s = t.app().state;
    MainForm& m = t.app().mainForm();

    EXPECT_TRUE(s.grid1Ready);
    EXPECT_FALSE(s.grid2Ready);
    EXPECT_TRUE(s.grid3Ready);
    EXPECT_EQ(s.gridsReady, 0);
    EXPECT_FALSE(s.gridLoading);
    EXPECT_EQ(s.gridDescription[3], QStringLiteral("camera 3"));
    EXPECT_EQ(s.gridStore[3][slot::checkScreenX], 6185);
    EXPECT_FALSE(m.lblGrid2->isHidden());
    EXPECT_TRUE(m.lblGrid3->isHidden());
    EXPECT_EQ(pictureNameOf(m.ImageGrid1), readyGridPicture);
    EXPECT_EQ(pictureNameOf(m.ImageGrid2), notReadyGridPicture);
    EXPECT_EQ(m.txtGridDescription[0]->text(), QStringLiteral("camera 1"));
    EXPECT_EQ(m.txtGridDescription[2]->text(), QStringLiteral("camera 3"));
    EXPECT_EQ(t.app().gridSetup().grid_select->text(), QStringLiteral("Grid 1"));
    EXPECT_EQ(t.app().measure().grid_description->text(), QStringLiteral("camera 1"));
    EXPECT_TRUE(t.env.dialogs().recorded().isEmpty());

    const QString results = QString::fromLatin1(readAll(t.results()));
    EXPECT_LT(results.indexOf(QStringLiteral("Grid Number:  3 ")),
              results.indexOf(QStringLiteral("Grid Number:  1 ")));
    const QString grid1Record =
        QStringLiteral("12-08-2026 13:05:09 New Set-up now in place\r\n") + g1 +
        QStringLiteral(
            "\r\ncamera 1\r\nGrid Number:  1 \r\n \r\n"
            "Upper Left X,Y Twips: 3100  2450\r\nUpper Left X,Y Survey: 30  15\r\n \r\n"
            "Lower Left X,Y Twips: 2300  6050\r\nLower Left X,Y Survey: 30  0\r\n \r\n"
            "Upper Right X,Y Twips: 9000  2500\r\nUpper Right X,Y Survey: 60  15\r\n \r\n"
            "Lower Right X,Y Twips: 9700  6000\r\nLower Right X,Y Survey: 60  0\r\n \r\n"
            "Jump X,Y Survey: 10.25  7.5\r\n \r\n"
            "Check Buoy X,Y Twips: 6185  3066\r\n"
            "Check Buoy X,Y Survey: 45.5  12\r\n \r\n");
    EXPECT_TRUE(results.endsWith(grid1Record)) << results.toStdString();

    // With both grids in use and ready, the measure screen opens.
    t.app().config().Opt3grid->click();
    EXPECT_FALSE(m.lblGrid3->isHidden());
    // The gate follows the grids in use, both ways.
    EXPECT_EQ(s.gridsReady, 0); // grid 2 is in use and not set up
    t.app().config().Opt1Grid->click();
    EXPECT_EQ(s.gridsReady, 1); // the one grid in use is ready
    t.app().config().Opt2grid->click();
    EXPECT_EQ(s.gridsReady, 0);
}

TEST(ConfigLoad, GridWhoseCoefficientsDisagreeWithItsMarksIsToldAndNotReady) {
    ConfigScreen t;
    const QString g1 = t.gridFile(QStringLiteral("typo.ipt"), 1);
    GridSetupFileRead read = readGridSetupFile(g1);
    ASSERT_EQ(read.status, GridFileStatus::Complete);
    read.content.coefficients[2] *= 1.1;               // a slip of one digit
    ASSERT_TRUE(writeGridSetupFile(g1, read.content)); // the check buoy file stays
    t.env.settings().write(QStringLiteral("grid1File"), g1);
    t.load();
    const QList<MessageRequest> m = t.env.dialogs().messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_TRUE(m[0].prompt.startsWith(QStringLiteral("The grid in ") + g1 +
                                       QStringLiteral(" does not agree with its buoy marks: ")))
        << m[0].prompt.toStdString();
    EXPECT_FALSE(t.app().state.grid1Ready);
    EXPECT_EQ(t.app().state.gridsReady, 0);
}

TEST(ConfigLoad, GridWithoutCheckBuoyFileIsNotReady) {
    ConfigScreen t;
    const QString g1 = t.gridFile(QStringLiteral("old.ipt"), 1, false);
    t.env.settings().write(QStringLiteral("grid1File"), g1);
    t.env.settings().write(QStringLiteral("grid2File"), t.env.path(QStringLiteral("gone.ipt")));
    t.load();
    const QList<MessageRequest> m = t.env.dialogs().messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].prompt,
              QStringLiteral("Error in load - no check buoy found - setup grid again"));
    EXPECT_EQ(m[0].buttons, MsgButtons::OK);
    EXPECT_FALSE(t.app().state.grid1Ready);
    EXPECT_EQ(t.app().state.gridsReady, 0);
    EXPECT_EQ(t.app().state.gridDescription[1], QStringLiteral("camera 1"));
    EXPECT_FALSE(QFile::exists(t.results()));
    // The file exists, so the main screen shows it as set up.
    EXPECT_EQ(pictureNameOf(t.app().mainForm().ImageGrid1), readyGridPicture);
}

TEST(ConfigLoad, AGridFileCutShortLeavesTheActiveGridOnTheOneThatLoaded) {
    ConfigScreen t;
    const QString g2 = t.gridFile(QStringLiteral("two.ipt"), 2);
    const QString g1 = t.gridFile(QStringLiteral("one.ipt"), 1);
    // Grid 1's file ends at line 12.
    const QList<QByteArray> lines = readAll(g1).split('\n');
    writeAll(g1, lines.mid(0, 11).join('\n') + '\n');
    t.env.settings().write(QStringLiteral("grid1File"), g1);
    t.env.settings().write(QStringLiteral("grid2File"), g2);
    t.env.settings().write(QStringLiteral("grids"), QStringLiteral("2"));
    t.load();
    AppState& s = t.app().state;
    EXPECT_TRUE(s.grid2Ready);
    EXPECT_FALSE(s.grid1Ready);
    // The working state holds grid 2, and so does currentGrid: a save now
    // asks about grid 2, never writes grid 2's values as grid 1.
    EXPECT_EQ(s.currentGrid, 2);
    EXPECT_EQ(t.app().gridSetup().grid_select->text(), QStringLiteral("Grid 2"));
    t.env.dialogs().clear();
    s.setupFilesPath = t.env.path(QString());
    t.env.dialogs().answerText(t.env.path(QStringLiteral("saved.ipt")));
    t.env.dialogs().answerText(QStringLiteral("desc"));
    t.env.dialogs().answer(MsgAnswer::No);
    t.env.dialogs().answerCancel();
    t.app().gridSetup().gridSave_Click();
    EXPECT_TRUE(t.env.dialogs().prompts().contains(QStringLiteral("Save Grid 2")))
        << t.env.dialogs().prompts().join(QLatin1Char('|')).toStdString();
}

TEST(ConfigLoad, GridThatCannotMeasureIsToldAndNotReady) {
    ConfigScreen t;
    const QString g1 = t.gridFile(QStringLiteral("singular.ipt"), 1);
    GridSetupFileRead read = readGridSetupFile(g1);
    ASSERT_EQ(read.status, GridFileStatus::Complete);
    const double singular[9] = {0, 1, 2, 3, 0, 0, 2, 4, 6};
    for (int n = 1; n <= 8; ++n)
        read.content.coefficients[n] = singular[n];
    ASSERT_TRUE(writeGridSetupFile(g1, read.content)); // the check buoy file stays
    t.env.settings().write(QStringLiteral("grid1File"), g1);
    t.load();
    const QList<MessageRequest> m = t.env.dialogs().messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_TRUE(m[0].prompt.contains(g1)) << m[0].prompt.toStdString();
    EXPECT_TRUE(m[0].prompt.contains(QStringLiteral("cannot measure")))
        << m[0].prompt.toStdString();
    EXPECT_EQ(m[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(t.app().state.grid1Ready);
    EXPECT_EQ(t.app().state.gridsReady, 0);
    EXPECT_EQ(pictureNameOf(t.app().mainForm().ImageGrid1), notReadyGridPicture);
    EXPECT_EQ(pictureNameOf(t.app().gridSetup().grid_state_icon), QStringLiteral("msgbox03.ico"));
}

TEST(ConfigHandlers, BarefootAndSitSkiExcludeEachOther) {
    ConfigScreen t;
    t.env.settings().write(QStringLiteral("tournamentType"), QStringLiteral("sitski"));
    Config& c = t.load();
    QLineEdit* indicator = t.app().measure().barefoot_indicator;
    EXPECT_TRUE(c.SitSki_box->isChecked());
    EXPECT_FALSE(indicator->isHidden());
    EXPECT_EQ(indicator->text(), QStringLiteral("Sit Ski Jump"));
    EXPECT_EQ(t.setting("tournamentType"), QStringLiteral("sitski"));

    c.Barefoot_box->click();
    EXPECT_FALSE(c.SitSki_box->isChecked());
    EXPECT_TRUE(t.app().state.barefootJump);
    EXPECT_FALSE(t.app().state.sitSkiJump);
    EXPECT_EQ(indicator->text(), QStringLiteral("Barefoot Jump"));
    EXPECT_FALSE(indicator->isHidden());
    EXPECT_EQ(t.setting("tournamentType"), QStringLiteral("barefoot"));

    c.Barefoot_box->click();
    EXPECT_FALSE(t.app().state.barefootJump);
    EXPECT_TRUE(indicator->isHidden());
    EXPECT_EQ(t.setting("tournamentType"), QStringLiteral("normal"));
}

TEST(ConfigHandlers, AllowInvalidSetupWritesOneLineEachWay) {
    ConfigScreen t;
    Config& c = t.load();
    c.TournamentName->setText(QStringLiteral("Lake Cup"));
    c.chkBadSetup->click();
    EXPECT_TRUE(t.app().state.allowInvalidSetup);
    t.env.clock().advance(61);
    c.chkBadSetup->click();
    EXPECT_FALSE(t.app().state.allowInvalidSetup);
    EXPECT_EQ(
        QString::fromLatin1(readAll(t.results())),
        QStringLiteral("Invalid Configurations Allowed: 12-08-2026  13:05:09 Lake Cup\r\n"
                       "Only valid Configurations Allowed: 12-08-2026  13:06:10 Lake Cup\r\n"));
    const QString diag = QString::fromLatin1(readAll(t.app().diagnosticLog().path()));
    EXPECT_EQ(diag.count(QStringLiteral("Warning - Bad Setups allowed")), 1);
    EXPECT_EQ(diag.count(QStringLiteral("Bad Setups restricted again")), 1);
    EXPECT_FALSE(t.env.settings().contains(QStringLiteral("chkBadSetup")));
}

TEST(ConfigHandlers, BoxesFindButtonsWstimsAndGridCount) {
    ConfigScreen t;
    Config& c = t.load();
    auto& d = t.env.dialogs();
    c.ResultsPathName->clear();
    ASSERT_EQ(d.messages().size(), 1);
    EXPECT_EQ(d.messages()[0].prompt,
              QStringLiteral("Enter valid path and filename for results file"));
    EXPECT_EQ(t.app().state.logFilePath, QString());

    const QString names = t.env.path(QStringLiteral("names.txt"));
    d.answerText(names);
    c.btnFindNames->click();
    d.answerCancel();
    c.btnFindResults->click();
    const auto& r = d.recorded();
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r[1].file.filter,
              QStringLiteral("All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files "
                             "(*.ipt)|*.ipt|"));
    EXPECT_EQ(r[1].file.filterIndex, 2);
    EXPECT_EQ(r[1].file.startDir, t.env.appDir());
    EXPECT_EQ(c.SkierNameFile->text(), names);
    EXPECT_EQ(c.ResultsPathName->text(), QString()); // cancelled: unchanged

    c.SetupFilesPathName->setText(QStringLiteral("/data/grids"));
    EXPECT_EQ(t.setting("SetupFiles"), QStringLiteral("/data/grids"));
    EXPECT_EQ(t.app().state.setupFilesPath, QStringLiteral("/data/grids"));
    c.WSTIMS->click();
    EXPECT_FALSE(c.ZTIOLabel->isHidden());
    EXPECT_EQ(t.setting("WSTIMS"), QStringLiteral("1"));
    c.Opt3grid->click();
    EXPECT_EQ(t.app().state.gridCount, 3);
    EXPECT_EQ(t.setting("grids"), QStringLiteral("3"));
    EXPECT_FALSE(t.app().mainForm().txtGridDescription[2]->isHidden());
    c.Opt2grid->click();
    EXPECT_TRUE(t.app().mainForm().lblGrid3->isHidden());
    c.OptImpactBlack->click();
    EXPECT_EQ(t.setting("impactcolor"), QStringLiteral("black"));
    EXPECT_EQ(t.app().state.impactColor, rgbBlack);
}

// A relative folder or file names a place under the application folder,
// whichever folder the program was started from.
TEST(ConfigHandlers, TypedRelativePathsAreUnderTheApplicationFolder) {
    ConfigScreen t;
    Config& c = t.load();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(t.env.path(QString())));
    c.SetupFilesPathName->setText(QStringLiteral("grids"));
    emit c.SetupFilesPathName->editingFinished();
    c.CapturesPathName->setText(QStringLiteral("pics/"));
    emit c.CapturesPathName->editingFinished();
    c.ResultsPathName->setText(QStringLiteral("day1.txt"));
    emit c.ResultsPathName->editingFinished();
    c.SkierNameFile->setText(QStringLiteral("names.txt"));
    emit c.SkierNameFile->editingFinished();
    QDir::setCurrent(before);
    const QString app = t.env.appDir() + QLatin1Char('/');
    EXPECT_EQ(t.app().state.setupFilesPath, app + QStringLiteral("grids"));
    EXPECT_EQ(t.setting("SetupFiles"), app + QStringLiteral("grids"));
    EXPECT_EQ(t.app().state.pictureDir, app + QStringLiteral("pics"));
    EXPECT_EQ(t.app().state.logFilePath, app + QStringLiteral("day1.txt"));
    EXPECT_EQ(c.SkierNameFile->text(), app + QStringLiteral("names.txt"));
}

// A relative name typed and the screen left by its menu, the box never
// left: the configuration line went into a file in the folder the program
// was started from (found by the random operator, seed 104).
TEST(ConfigHandlers, ARelativeResultsNameIsInTheApplicationFolderBeforeTheBoxIsLeft) {
    ConfigScreen t;
    Config& c = t.load();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(t.env.path(QString())));
    c.ResultsPathName->setText(QStringLiteral("day2.txt"));
    c.CapturesPathName->setText(QStringLiteral("pics2"));
    c.mnuExit_Click();
    QDir::setCurrent(before);
    EXPECT_FALSE(QFileInfo::exists(t.env.path(QStringLiteral("day2.txt"))));
    EXPECT_TRUE(
        readAll(t.env.appDir() + QStringLiteral("/day2.txt")).startsWith("New Configuration: "));
    EXPECT_EQ(t.app().state.pictureDir, t.env.appDir() + QStringLiteral("/pics2/"));
}

TEST(ConfigHandlers, PathBoxesShowWholePathsAndFindStartsAtTheResultsFile) {
    ConfigScreen t;
    Config& c = t.load();
    c.resize(1280, 800);
    c.show();
    QCoreApplication::processEvents();
    const QString path = QStringLiteral("/home/official/tournaments/spring-2026/") +
                         QStringLiteral("JumpResults120826.txt");
    ASSERT_GE(path.size(), 60);
    for (QLineEdit* box :
         {c.ResultsPathName, c.CapturesPathName, c.SetupFilesPathName, c.SkierNameFile}) {
        box->setText(path.left(60));
        EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(path.left(60)))
            << box->objectName().toStdString();
        EXPECT_EQ(box->toolTip(), path.left(60));
    }
    // The boxes grow with the window.
    const int before = c.ResultsPathName->width();
    c.resize(1600, 800);
    QCoreApplication::processEvents();
    EXPECT_GT(c.ResultsPathName->width(), before);

    // "find" for the results file opens where the results file is.
    c.ResultsPathName->setText(t.results());
    t.env.dialogs().clear();
    t.env.dialogs().answerCancel();
    c.btnFindResults->click();
    ASSERT_EQ(t.env.dialogs().recorded().size(), 1);
    EXPECT_EQ(t.env.dialogs().recorded()[0].file.startDir, t.env.videoDir());
}

TEST(ConfigExit, StoresWritesTheLineLoadsSkierNamesAndShowsMain) {
    ConfigScreen t;
    Config& c = t.load();
    c.show();
    c.TournamentName->setText(QStringLiteral("Spring Open"));
    c.CapturesPathName->setText(t.env.videoDir() + QStringLiteral("   "));
    const QString names = t.env.path(QStringLiteral("names.txt"));
    writeAll(names, "\"Smith, John\",USA\r\n");
    c.SkierNameFile->setText(names);
    c.mnuExit_Click();

    EXPECT_EQ(t.setting("TournamentName"), QStringLiteral("Spring Open"));
    EXPECT_EQ(t.setting("labelcolor"), QStringLiteral("default"));
    EXPECT_EQ(t.app().state.pictureDir, t.env.videoDir() + QStringLiteral("/"));
    EXPECT_EQ(c.CapturesPathName->text(), t.env.videoDir() + QStringLiteral("/"));
    EXPECT_EQ(QString::fromLatin1(readAll(t.results())),
              QStringLiteral("New Configuration: 12-08-2026  13:05:09 Spring Open\r\n"));
    QComboBox* list = t.app().measure().Skier_name;
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Smith, John"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("USA"));
    EXPECT_TRUE(t.env.dialogs().messages().isEmpty());
    EXPECT_TRUE(c.isHidden());
    EXPECT_TRUE(t.app().mainForm().isVisible());

    // A names file that is not there: told, the list stays empty.
    c.SkierNameFile->setText(t.env.path(QStringLiteral("missing.txt")));
    c.mnuExit_Click();
    EXPECT_EQ(list->count(), 0);
    ASSERT_EQ(t.env.dialogs().messages().size(), 1);
    EXPECT_EQ(t.env.dialogs().messages()[0].prompt,
              QStringLiteral("Names not loaded, check file name and path"));
}

// What the manual tells of the screen: the results file, captures path and
// skier name file are not stored (the next start begins again from the
// video folder), and a save policy chosen applies from the next start.
TEST(ConfigExit, RunOnlyChoicesAreNotStoredAndPoliciesWaitForTheNextStart) {
    ConfigScreen t;
    Config& c = t.load();
    c.show();
    c.ResultsPathName->setText(t.env.path(QStringLiteral("other.txt")));
    c.CapturesPathName->setText(t.env.path(QStringLiteral("pics")));
    c.SkierNameFile->setText(t.env.path(QStringLiteral("names.txt")));
    c.OptPictureSave->click();
    c.mnuExit_Click();
    t.app().mainForm().cmdConfigure_Click();
    ASSERT_TRUE(c.isVisible());
    EXPECT_EQ(t.app().state.pictureSavePolicy, QStringLiteral("Ask"));
    EXPECT_EQ(t.setting("PictureSave"), QStringLiteral("Save"));
    for (const char* key : setting::allKeys) {
        const QString value = t.setting(key);
        EXPECT_FALSE(value.contains(QStringLiteral("other.txt")) ||
                     value.contains(QStringLiteral("pics")) ||
                     value.contains(QStringLiteral("names.txt")))
            << key << ": " << value.toStdString();
    }
}

TEST(ConfigExit, UnwritableResultsFileIsReportedAndTheExitGoesOn) {
    ConfigScreen t;
    Config& c = t.load();
    const QString bad = t.env.path(QStringLiteral("no-such-folder/results.txt"));
    c.ResultsPathName->setText(bad);
    c.mnuExit_Click();
    const QList<MessageRequest> m = t.env.dialogs().messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_TRUE(m[0].prompt.contains(bad)) << m[0].prompt.toStdString();
    EXPECT_TRUE(t.app().mainForm().isVisible());
}

TEST(ConfigLoupe, StartsTheProgramWhenThereElseTheBuiltInLoupe) {
    ConfigScreen t;
    t.env.settings().write(QStringLiteral("Loupe"), QStringLiteral("1"));
    Config& c = t.load();
    EXPECT_TRUE(c.chkLoupe->isChecked());
    EXPECT_EQ(c.loupe().starts(), 1);
    ASSERT_NE(c.loupe().window(), nullptr);
    EXPECT_TRUE(c.loupe().window()->isVisible());
    EXPECT_GE(c.loupe().window()->zoom(), 4);
    c.chkLoupe->click();
    EXPECT_EQ(t.setting("Loupe"), QStringLiteral("0"));
    QTest::qWait(1); // the closed window goes
    EXPECT_TRUE(c.loupe().window() == nullptr || !c.loupe().window()->isVisible());

    // With the loupe program installed, that program runs instead.
    const QString marker = t.env.path(QStringLiteral("loupe-ran"));
    const QString program = t.env.appDir() + QStringLiteral("/Loupe/Loupe");
    QDir().mkpath(t.env.appDir() + QStringLiteral("/Loupe"));
    writeAll(program, ("#!/bin/sh\ntouch '" + marker + "'\n").toUtf8());
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    EXPECT_EQ(loupeProgramPath(t.env.appDir()), program);
    c.cmdLoupe->click();
    for (int i = 0; i < 100 && !QFile::exists(marker); ++i)
        QTest::qWait(50);
    EXPECT_TRUE(QFile::exists(marker));
}

TEST(ConfigLoupe, BuiltInLoupeIsAWindowTheOperatorCanMoveAndClose) {
    ConfigScreen t;
    Config& c = t.load();
    c.cmdLoupe->click();
    QPointer<LoupeWindow> w = c.loupe().window();
    ASSERT_FALSE(w.isNull());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Screen Loupe"));
    const Qt::WindowFlags flags = w->windowFlags();
    EXPECT_FALSE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w->testAttribute(Qt::WA_TransparentForMouseEvents));

    // It stays where it is while it shows the area around the mouse.
    w->move(100, 120);
    const QPoint at = w->pos();
    w->followCursor(QPoint(600, 400));
    EXPECT_EQ(w->pos(), at);

    // Esc closes it; the restart button brings it back.
    QTest::keyClick(w.data(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull() || !w->isVisible());
    c.cmdLoupe->click();
    ASSERT_NE(c.loupe().window(), nullptr);
    EXPECT_TRUE(c.loupe().window()->isVisible());
    EXPECT_TRUE(c.loupe().window()->close());
}

// Pixels of a widget as painted that are near a colour.
int paintedPixelsNear(QWidget* w, QColor color) {
    const QImage image = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - color.red()) + std::abs(p.green() - color.green()) +
                    std::abs(p.blue() - color.blue()) <
                60)
                ++n;
        }
    return n;
}

// "FROZEN" is painted in the message colour, not only given it in its palette.
TEST(ConfigHandlers, FrozenIsPaintedInTheMessageColour) {
    ConfigScreen t;
    Config& c = t.load();
    QWidget* frozen = measureControl(t.app(), QStringLiteral("FrozenSign"));
    ASSERT_NE(frozen, nullptr);
    frozen->show();
    const QColor red(255, 0, 0);
    for (auto [option, color] : {std::pair{c.yellow_color, QColor(255, 255, 0)},
                                 std::pair{c.black_color, QColor(0, 0, 0)}}) {
        option->click();
        EXPECT_GT(paintedPixelsNear(frozen, color), 20) << color.name().toStdString();
        EXPECT_EQ(paintedPixelsNear(frozen, red), 0) << color.name().toStdString();
    }
}

TEST(ConfigLogic, RulesWithoutScreens) {
    MemorySettingsStore st;
    EXPECT_EQ(gridCountChoice(st), 1);
    for (const auto& [stored, expected] :
         {std::pair{"0", 1}, {"1", 1}, {"2", 2}, {"3", 3}, {"5", 1}, {"2.5", 1}, {"x", 1}}) {
        st.write(QStringLiteral("grids"), QLatin1String(stored));
        EXPECT_EQ(gridCountChoice(st), expected) << stored;
    }
    EXPECT_EQ(defaultResultsPath(QStringLiteral("  /video/day1\\ "), QDate(2026, 7, 4)),
              QStringLiteral("/video/day1/JumpMeasurementResults070426.txt"));
    EXPECT_EQ(pictureDirOnExit(QStringLiteral("/pics  ")), QStringLiteral("/pics/"));
    EXPECT_EQ(pictureDirOnExit(QStringLiteral("C:\\pics\\")), QStringLiteral("C:\\pics\\"));
    EXPECT_EQ(pictureDirOnExit(QString()), QString());
    EXPECT_EQ(colorOfRgbNumber(rgbRed), QColor(255, 0, 0));
    EXPECT_EQ(colorOfRgbNumber(rgbYellow), QColor(255, 255, 0));
    EXPECT_EQ(messageColorOf(QStringLiteral("White")), std::nullopt); // case matters
    EXPECT_EQ(impactColorOf(QString()), rgbWhite);
    EXPECT_EQ(messageColorControls().size(), 16);
}
