// The measure screen driven as the operator drives it: a loaded grid, the
// frame handed over by frame selection, a click on the landing point,
// "Record Jump", nudges, verify mode, grid switching and "Clear".

#include "app/KeyState.h"
#include "capture/ui/PreviewForm.h"
#include "config/ConfigLogic.h"
#include "measure/MeasureFixture.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/GridFixtures.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>

using namespace zt;
using test::readAll;
using test::writeAll;

using zt::test::MeasureScreen;
using zt::test::setBuoy;

TEST_F(MeasureScreen, ClickAndRecordWriteTheResultAndExchangeFiles) {
    writeAll(env.exchangeDir() + QStringLiteral("/snapshot.bmp"), "BM");
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    ASSERT_TRUE(m.canvas().hasPicture());
    EXPECT_EQ(app->state.pictureWidthText, QStringLiteral("9584.71698113207"));
    EXPECT_EQ(app->state.pictureHeightText, QStringLiteral("7188.67924528302"));
    EXPECT_TRUE(m.keyTimer->isActive());
    EXPECT_EQ(m.keyTimer->interval(), 100);
    EXPECT_TRUE(m.Set_grid->isHidden()); // one grid
    EXPECT_FALSE(m.canvas().displayList().empty());
    EXPECT_EQ(m.maxbuoy->text(), QStringLiteral("110 feet"));
    EXPECT_EQ(m.maxbuoym->text(), QStringLiteral("33.5 meters"));
    // Fitted: beside the upper left buoy, as far from it on the screen as
    // at 1:1, so the labels stay legible.
    const QPointF buoy = m.canvas().view().contentOfTwips({3000, 1500});
    EXPECT_LT(m.canvas().view().scale(), 1);
    EXPECT_EQ(m.maxbuoy->pos(), QPoint(int(std::lround(buoy.x() - 100 / 15.0)),
                                       int(std::lround(buoy.y() - 400 / 15.0))));
    showActualSize(m);
    EXPECT_EQ(m.maxbuoy->pos(), PictureCanvas::pixelOfTwips(2900, 1100));

    m.Skier_name->setEditText(QStringLiteral("SKIER, ONE"));
    EXPECT_EQ(m.Jump_no->text(), QStringLiteral("1")); // another skier starts at 1
    m.Jump_no->setText(QStringLiteral("2"));           // as the capture screen hands it over

    clickPicture(m, QPoint(288, 20)); // twips (4320, 300)
    EXPECT_TRUE(markShown(m));
    EXPECT_EQ(m.mark().clickX, 4320);
    EXPECT_EQ(m.mark().clickY, 300);
    EXPECT_EQ(m.distance->text(), QStringLiteral("m"));
    EXPECT_EQ(m.distance_ft->text(), QStringLiteral("ft"));
    EXPECT_FALSE(m.AdjustUp->isHidden());
    const CanvasLine arm = m.canvas().lineObject(m.lineHorizontalImpact());
    EXPECT_EQ(arm.x2, 4220); // cross size 100, pointing left
    EXPECT_EQ(arm.width, 2);
    EXPECT_NEAR(m.canvas().lineObject(m.lineSplashIndicator()).x1, 4110, 1e-9);

    QTest::mouseClick(m.Record, Qt::LeftButton);
    EXPECT_EQ(readAll(app->state.logFilePath),
              QByteArray("12-08-2026 13:05:09 SKIER, ONE  jump 2 - 45.4m  (IWSF)149ft  (AWSA) "
                         "(43.2/3) (4320/300) (45.404)\r\n"));
    EXPECT_EQ(exchange("ztresult.dst"), QByteArray("OK, 45.4, 149, 2\r\n"));
    EXPECT_EQ(exchange("ztraw.dst"), QByteArray("13:05:09 ,SKIER,OK, 45.4, 149, 2\r\n"));
    EXPECT_FALSE(QFileInfo::exists(env.exchangeDir() + QStringLiteral("/snapshot.bmp")));
    EXPECT_EQ(m.distance->text(), QStringLiteral("45.4m"));
    EXPECT_EQ(m.distance_ft->text(), QStringLiteral("149ft"));
    EXPECT_EQ(m.Jump_no->text(), QStringLiteral("2"));
    EXPECT_TRUE(markShown(m)); // the mark stays after recording
    EXPECT_TRUE(env.dialogs().recorded().isEmpty());

    // "Clear": next jump, nothing on the screen, exchange pictures gone.
    writeAll(env.exchangeDir() + QStringLiteral("/other.bmp"), "BM");
    QTest::mouseClick(m.Unfreeze, Qt::LeftButton);
    EXPECT_FALSE(markShown(m));
    EXPECT_EQ(m.Jump_no->text(), QStringLiteral("3"));
    EXPECT_EQ(m.distance->text(), QStringLiteral("m"));
    EXPECT_FALSE(m.canvas().hasPicture());
    EXPECT_TRUE(m.AdjustUp->isHidden());
    EXPECT_TRUE(m.AdjustmentLabel->isHidden());
    EXPECT_FALSE(QFileInfo::exists(env.exchangeDir() + QStringLiteral("/other.bmp")));
}

TEST_F(MeasureScreen, NudgesByArrowButtonsAndHeldKeys) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    clickPicture(m, QPoint(100, 100)); // twips (1500, 1500)
    QTest::mouseClick(m.AdjustRight, Qt::LeftButton);
    QTest::mouseClick(m.AdjustRight, Qt::LeftButton);
    EXPECT_EQ(m.mark().lastMarkX, 1530); // two nudges, 30 twips
    EXPECT_EQ(m.canvas().lineObject(m.lineVerticalImpact()).x1, 1530);

    keys.press(Qt::Key_Left);
    keys.press(Qt::Key_Up);
    m.keyTimer_Timer(); // one step per key per tick
    m.keyTimer_Timer();
    EXPECT_EQ(m.mark().lastMarkX, 1500);
    EXPECT_EQ(m.mark().lastMarkY, 1470);
    keys.release(Qt::Key_Left);
    keys.release(Qt::Key_Up);
    keys.press(Qt::Key_Down); // a tap between two ticks
    keys.release(Qt::Key_Down);
    m.keyTimer_Timer();
    m.keyTimer_Timer();
    EXPECT_EQ(m.mark().lastMarkX, 1500);
    EXPECT_EQ(m.mark().lastMarkY, 1485);
}

TEST_F(MeasureScreen, VerifyModeShowsTheLiveReadout) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    EXPECT_TRUE(m.VerifyDistance->isHidden());
    QTest::mouseClick(m.verify, Qt::LeftButton);
    EXPECT_EQ(m.verify->text(), QStringLiteral("Verify off"));
    EXPECT_FALSE(m.VerifyDistance->isHidden());
    EXPECT_FALSE(m.xtwips->isHidden());
    EXPECT_FALSE(m.UnofficialJump->isHidden());

    m.Form_MouseMove(4326, 0);
    EXPECT_EQ(m.VerifyDistance->text(), QStringLiteral("45.4m 149ft"));
    // The real mouse, below the floating tool groups, at 1:1.
    showActualSize(m);
    QTest::mouseMove(m.canvas().surface(), QPoint(10, 300));
    QTest::mouseMove(m.canvas().surface(), QPoint(288, 200));
    EXPECT_EQ(m.xtwips->text(), QStringLiteral("4320"));
    EXPECT_EQ(m.ytwips->text(), QStringLiteral("3000"));
    EXPECT_EQ(m.xposition->text(), QStringLiteral("43.2"));
    EXPECT_EQ(m.yposition->text(), QStringLiteral("30"));
    EXPECT_EQ(m.VerifyDistance->text(), QStringLiteral("54.7m 179ft"));

    clickPicture(m, QPoint(288, 20));
    QTest::mouseClick(m.Record, Qt::LeftButton);
    EXPECT_TRUE(readAll(app->state.logFilePath).contains(" UNOFFICIAL JUMP - verify mode "));

    QTest::mouseClick(m.verify, Qt::LeftButton);
    EXPECT_EQ(m.verify->text(), QStringLiteral("Verify"));
    EXPECT_TRUE(m.VerifyDistance->isHidden());
    EXPECT_TRUE(m.UnofficialJump->isHidden());
}

TEST_F(MeasureScreen, TransformFailureLeavesMarkAndScreenAsTheyWere) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    clickPicture(m, QPoint(50, 50));
    ASSERT_TRUE(markShown(m));
    m.distance->setText(QStringLiteral("45.4m"));
    QTest::mouseClick(m.verify, Qt::LeftButton);

    // The vanishing line of this grid runs through x = 1500 twips.
    Coefficients c = app->state.coefficients();
    c[4] = -1.0 / 1500;
    app->state.setCoefficients(c);
    clickPicture(m, QPoint(100, 10));
    EXPECT_EQ(m.mark().clickX, 750);
    EXPECT_EQ(m.canvas().lineObject(m.lineVerticalImpact()).x1, 750);
    EXPECT_EQ(m.distance->text(), QStringLiteral("45.4m"));
    m.Form_MouseMove(1500, 10);
    EXPECT_TRUE(m.VerifyDistance->text().isEmpty());
    EXPECT_TRUE(m.xtwips->text().isEmpty());
}

TEST_F(MeasureScreen, PassWithoutStillPictureClearsTheChoiceAtOnce) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    m.Jump_no->setText(QStringLiteral("4"));
    m.Pass->click();
    EXPECT_EQ(m.Comment->text(), QStringLiteral("Pass"));
    QTest::mouseClick(m.Record, Qt::LeftButton);
    EXPECT_FALSE(m.Pass->isChecked());
    EXPECT_FALSE(m.optJumpOK->isChecked());
    EXPECT_FALSE(m.Fall->isChecked());
    EXPECT_EQ(m.Jump_no->text(), QStringLiteral("5"));
    EXPECT_EQ(exchange("ztresult.dst"), QByteArray("Pass, 0, 0,4\r\n"));

    // On a still picture the choice stays until "Clear".
    m.setPictureFrozen(true);
    m.Fall->click();
    QTest::mouseClick(m.Record, Qt::LeftButton);
    EXPECT_TRUE(m.Fall->isChecked());
    EXPECT_EQ(m.Jump_no->text(), QStringLiteral("5"));
    QTest::mouseClick(m.Unfreeze, Qt::LeftButton);
    EXPECT_TRUE(m.optJumpOK->isChecked());
    EXPECT_FALSE(m.Fall->isChecked());
    EXPECT_EQ(m.Jump_no->text(), QStringLiteral("6"));
    EXPECT_FALSE(m.pictureFrozen());
}

TEST_F(MeasureScreen, ResultsFileErrorKeepsTheScreenForAnotherTry) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    app->state.logFilePath = env.path(QStringLiteral("no-such-folder/results.txt"));
    m.Jump_no->setText(QStringLiteral("2"));
    m.Fall->click();
    QTest::mouseClick(m.Record, Qt::LeftButton);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(app->state.logFilePath));
    EXPECT_TRUE(m.Fall->isChecked());
    EXPECT_EQ(m.Comment->text(), QStringLiteral("Fall"));
    EXPECT_EQ(m.Jump_no->text(), QStringLiteral("2"));
    EXPECT_FALSE(QFileInfo::exists(env.exchangeDir() + QStringLiteral("/ztresult.dst")));

    // Path corrected: the same record goes through.
    app->state.logFilePath = env.path(QStringLiteral("results.txt"));
    QTest::mouseClick(m.Record, Qt::LeftButton);
    EXPECT_EQ(exchange("ztresult.dst"), QByteArray("Fall, 0, 0,2\r\n"));
    EXPECT_EQ(m.Jump_no->text(), QStringLiteral("3"));
}

TEST_F(MeasureScreen, ExchangeErrorIsShownAndRecordingGoesOn) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    QDir(env.exchangeDir()).removeRecursively();
    m.Jump_no->setText(QStringLiteral("2"));
    clickPicture(m, QPoint(288, 20));
    QTest::mouseClick(m.Record, Qt::LeftButton);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.startsWith(
        QStringLiteral("Error while writing WSTIMS result: ")));
    EXPECT_FALSE(readAll(app->state.logFilePath).isEmpty());
    EXPECT_EQ(m.distance->text(), QStringLiteral("45.4m"));
    EXPECT_TRUE(m.Comment->isHidden());
}

TEST_F(MeasureScreen, GridSwitchingKeepsTheMark) {
    AppState& s = app->state;
    s.gridCount = 2;
    setBuoy(s, 1, 8000, 1000, 60, 40); // grid 2: other buoys, same transform
    setBuoy(s, 3, 2000, 1000, 0, 40);
    s.savedJumpX = 0, s.savedJumpY = 0;
    storeWorkingGrid(s, 2);
    loadWorkingGrid(s, 1);
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    EXPECT_FALSE(m.Set_grid->isHidden());
    clickPicture(m, QPoint(288, 20));
    QTest::mouseClick(m.Record, Qt::LeftButton);

    QTest::mouseClick(m.Set_grid, Qt::LeftButton);
    EXPECT_EQ(m.Set_grid->text(), QStringLiteral("&Grid 2"));
    EXPECT_EQ(s.currentGrid, 2);
    EXPECT_EQ(s.buoyScreenX[1], 8000);
    EXPECT_EQ(m.minbuoy->text(), QStringLiteral("237 feet")); // 72.1 m
    EXPECT_EQ(m.minbuoym->text(), QStringLiteral("72.1 meters"));
    EXPECT_TRUE(markShown(m));
    EXPECT_EQ(m.distance->text(), QStringLiteral("45.4m"));
    QTest::mouseClick(m.Set_grid, Qt::LeftButton);
    EXPECT_EQ(m.Set_grid->text(), QStringLiteral("&Grid 1"));
    EXPECT_EQ(s.buoyScreenX[1], 9000);
}

TEST_F(MeasureScreen, GridMadeActiveElsewhereIsNamedOnReturn) {
    // Grid 2 chosen here, then grid 1 loaded on the grid setup screen: the
    // button must not go on naming grid 2 while grid 1 measures.
    AppState& s = app->state;
    s.gridCount = 2;
    setBuoy(s, 1, 8000, 1000, 60, 40);
    storeWorkingGrid(s, 2);
    loadWorkingGrid(s, 1);
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    QTest::mouseClick(m.Set_grid, Qt::LeftButton);
    ASSERT_EQ(m.Set_grid->text(), QStringLiteral("&Grid 2"));
    m.hide();

    loadWorkingGrid(s, 1);
    s.currentGrid = 1;
    app->showScreen(Screen::Measure);
    EXPECT_EQ(m.Set_grid->text(), QStringLiteral("&Grid 1"));
    QTest::mouseClick(m.Set_grid, Qt::LeftButton);
    EXPECT_EQ(m.Set_grid->text(), QStringLiteral("&Grid 2"));
    EXPECT_EQ(s.buoyScreenX[1], 8000);
}

TEST_F(MeasureScreen, LeavingByExitAndByCaptureNextJump) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    clickPicture(m, QPoint(50, 50));
    env.dialogs().answer(MsgAnswer::No); // the frame is not saved
    m.Exit->trigger();
    EXPECT_EQ(env.dialogs().prompts(),
              QStringList{QStringLiteral("Do you want to save this picture?")});
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(m.keyTimer->isActive());
    EXPECT_FALSE(markShown(m));
    EXPECT_TRUE(app->state.screenMode.isEmpty());
    EXPECT_TRUE(m.maxbuoy->text().isEmpty());
    EXPECT_TRUE(m.grid_description->isHidden());
    EXPECT_TRUE(app->mainForm().isVisible());

    app->showScreen(Screen::Measure);
    EXPECT_EQ(m.maxbuoy->text(), QStringLiteral("110 feet"));
    env.dialogs().answer(MsgAnswer::No); // no picture: only whether to stay is asked
    QTest::mouseClick(m.btnNextJump, Qt::LeftButton);
    EXPECT_EQ(env.dialogs().prompts().last(),
              QStringLiteral("Do you want to remain on this form?"));
    EXPECT_FALSE(m.isVisible());
    EXPECT_EQ(app->state.screenMode, QStringLiteral("Measure"));
    EXPECT_TRUE(app->state.previewActive);
    EXPECT_TRUE(app->previewForm().isVisible());
}

TEST_F(MeasureScreen, DragHandlesMoveTheirGroups) {
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    const QPoint label = m.CrossLabel->pos(), bar = m.CrossSize->pos();
    const QPoint arrows = m.AdjustLeft->pos();
    QTest::mousePress(m.CrossLabel, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(25, 15), m.CrossLabel->mapToGlobal(QPointF(25, 15)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m.CrossLabel, &move);
    QTest::mouseRelease(m.CrossLabel, Qt::LeftButton, {}, QPoint(25, 15));
    EXPECT_EQ(m.CrossLabel->pos(), label + QPoint(20, 10));
    EXPECT_EQ(m.CrossSize->pos(), bar + QPoint(20, 10));
    EXPECT_EQ(m.AdjustLeft->pos(), arrows); // another group

    // After the button is up, moving over the handle moves nothing.
    QCoreApplication::sendEvent(m.CrossLabel, &move);
    EXPECT_EQ(m.CrossLabel->pos(), label + QPoint(20, 10));
}

TEST_F(MeasureScreen, MissingHandedOverPictureIsReported) {
    QFile::remove(env.appDir() + QStringLiteral("/currentcapture.bmp"));
    Measure& m = screen();
    app->showScreen(Screen::Measure);
    EXPECT_FALSE(m.canvas().hasPicture());
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(QStringLiteral("currentcapture.bmp")));
    EXPECT_FALSE(m.canvas().displayList().empty()); // the grid is drawn all the same
}

TEST_F(MeasureScreen, TheMessageColourReachesEveryNamedControlAndTheDefaultsReturn) {
    Measure& m = screen();
    m.applyMessageColor(0x00ff00); // green, as the configuration stores it
    const QColor green = colorOfRgbNumber(0x00ff00);
    int coloured = 0;
    for (const ColoredControl& c : messageColorControls()) {
        QWidget* w = m.findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr) << c.name.toStdString();
        EXPECT_EQ(w->palette().color(QPalette::WindowText), green) << c.name.toStdString();
        coloured += w->palette().color(QPalette::ButtonText) == green ? 1 : 0;
    }
    EXPECT_EQ(coloured, messageColorControls().size());
    m.applyMessageColor(std::nullopt);
    EXPECT_EQ(m.M_Reride->palette().color(QPalette::ButtonText), colorOfRgbNumber(rgbRed));
    EXPECT_EQ(m.FrozenSign->palette().color(QPalette::WindowText), colorOfRgbNumber(rgbWhite));
    EXPECT_EQ(m.Fall->palette().color(QPalette::ButtonText), colorOfRgbNumber(rgbBlack));
}
