// The measure screen's work without widgets: the landing mark, nudges, the
// splash indicator, the grid overlay, grid switching, and the fields that
// recording, rerides and "Clear" change.

#include "measure/MeasureLogic.h"

#include "support/GridFixtures.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <gtest/gtest.h>

using namespace zt;
using test::readAll;

using zt::test::setBuoy;

namespace {

// X = a / 100, Y = b / 100 (meters from twips), jump point at the origin.
GridState flatGrid() {
    GridState s;
    setBuoy(s, 1, 12000, 0, 120, 0);
    setBuoy(s, 2, 12000, 9000, 120, 90);
    setBuoy(s, 3, 0, 0, 0, 0);
    setBuoy(s, 4, 0, 9000, 0, 90);
    Coefficients c;
    c[2] = 0.01;
    c[8] = 0.01;
    s.setCoefficients(c);
    s.gridDirection = 1;
    return s;
}

} // namespace

TEST(MeasureLogic, NudgesStartFromTheLastDrawnPosition) {
    GridState s = flatGrid();
    MarkState m;
    ASSERT_TRUE(placeImpactMark(s, m, 3000, 2000, 100, false, {}));
    for (int i = 0; i < 2; ++i) {
        nudgeClick(m, NudgeDirection::Right);
        ASSERT_TRUE(placeImpactMark(s, m, m.clickX, m.clickY, 100, false, {}));
    }
    EXPECT_EQ(m.lastMarkX, 3030); // two nudges = 30 twips
    EXPECT_EQ(m.lastMarkY, 2000);

    // Without a drawing in between, a nudge does not add up: it starts from
    // the last drawn position again.
    nudgeClick(m, NudgeDirection::Up);
    nudgeClick(m, NudgeDirection::Up);
    EXPECT_EQ(m.clickY, 1985);
    EXPECT_EQ(m.clickX, 3030);
    nudgeClick(m, NudgeDirection::Left);
    EXPECT_EQ(m.clickX, 3015);
    nudgeClick(m, NudgeDirection::Down);
    EXPECT_EQ(m.clickY, 2015);
}

TEST(MeasureLogic, ImpactMarkArmAndSplashFollowDirection) {
    GridState s = flatGrid();
    MarkState m;
    // Normal jump: correction 2.1 m = 210 twips, against X x direction.
    auto lines = placeImpactMark(s, m, 5000, 3000, 100, false, {});
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->horizontal, (Segment{5000, 3000, 4900, 3000}));
    EXPECT_EQ(lines->vertical, (Segment{5000, 2900, 5000, 3100}));
    EXPECT_NEAR(lines->splash.x1, 4790, 1e-9);
    EXPECT_NEAR(lines->splash.y1, 3000, 1e-9);
    EXPECT_NEAR(lines->splash.y2, 2000, 1e-9);
    EXPECT_NEAR(s.waterX, 47.9, 1e-12); // the corrected point stays in the registers
    EXPECT_NEAR(m.splashMarkX, 4790, 1e-9);

    // Right to left: arm to the right, splash further along +X.
    lines = placeImpactMark(s, m, 5000, 3000, 60, true, {});
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->horizontal, (Segment{5000, 3000, 5060, 3000}));
    EXPECT_NEAR(lines->splash.x1, 5210, 1e-9);

    // The grid's direction turns it round; sit-ski corrects by 1.9 m.
    s.gridDirection = -1;
    lines = placeImpactMark(s, m, 5000, 3000, 60, true, {false, true, true});
    ASSERT_TRUE(lines);
    EXPECT_NEAR(lines->splash.x1, 4810, 1e-9);

    // Barefoot: no correction, the indicator stands under the mark.
    lines = placeImpactMark(s, m, 5000, 3000, 60, false, {true, false, true});
    ASSERT_TRUE(lines);
    EXPECT_NEAR(lines->splash.x1, 5000, 1e-9);
}

TEST(MeasureLogic, MarkThatCannotBeTransformedChangesNothing) {
    GridState s = flatGrid();
    MarkState m;
    ASSERT_TRUE(placeImpactMark(s, m, 1000, 1000, 100, false, {}));
    const MarkState before = m;
    const double waterX = s.waterX, screenX = s.screenX;

    // A point on the vanishing line: forward denominator 0.
    Coefficients c = s.coefficients();
    c[4] = -0.001;
    s.setCoefficients(c);
    EXPECT_FALSE(placeImpactMark(s, m, 1000, 500, 100, false, {}));
    // No grid at all: the inverse has no denominator.
    GridState none;
    EXPECT_FALSE(placeImpactMark(none, m, 1000, 500, 100, false, {}));

    EXPECT_EQ(m.clickX, before.clickX);
    EXPECT_EQ(m.lastMarkY, before.lastMarkY);
    EXPECT_EQ(m.splashMarkX, before.splashMarkX);
    EXPECT_EQ(s.waterX, waterX);
    EXPECT_EQ(s.screenX, screenX);
}

TEST(MeasureLogic, GridOverlay) {
    GridState s = flatGrid();
    s.jumpX = 0, s.jumpY = -30;
    setBuoy(s, 3, 2000, 1500, 0, 10);  // upper left: 40 m from the jump
    setBuoy(s, 1, 9000, 1200, 30, 10); // upper right: 50 m
    OverlayOptions o;
    o.crossSize = 45;
    GridOverlay g = gridOverlay(s, o);
    // Four circles of radius 2s with five points each, then the two sides.
    ASSERT_EQ(g.shapes.size(), 4u * 6 + 2);
    EXPECT_EQ(g.shapes[0].kind, OverlayShape::Circle);
    EXPECT_EQ(g.shapes[0].x1, 2000); // upper left first
    EXPECT_EQ(g.shapes[0].radius, 90);
    EXPECT_EQ(g.shapes[2].kind, OverlayShape::Point);
    EXPECT_EQ(g.shapes[2].y1, 1495); // 5 twips above
    EXPECT_EQ(g.shapes[6].x1, 9000); // then upper right
    const OverlayShape right = g.shapes[24], left = g.shapes[25];
    EXPECT_EQ(right.x1, 12000); // lower right to upper right
    EXPECT_EQ(right.x2, 9000);
    EXPECT_EQ(left.x1, 0); // lower left to upper left
    EXPECT_EQ(left.y2, 1500);
    EXPECT_EQ(g.maxbuoy.text, QStringLiteral("131 feet"));
    EXPECT_EQ(g.maxbuoy.x, 1900);
    EXPECT_EQ(g.maxbuoy.y, 1100);
    EXPECT_EQ(g.maxbuoym.text, QStringLiteral("40 meters"));
    EXPECT_EQ(g.maxbuoym.y, 900);
    EXPECT_EQ(g.minbuoy.text, QStringLiteral("164 feet"));
    EXPECT_EQ(g.minbuoym.text, QStringLiteral("50 meters"));
    EXPECT_EQ(g.minbuoym.x, 8900);

    o.crossMarkers = true;
    o.boxLineOff = true;
    g = gridOverlay(s, o);
    ASSERT_EQ(g.shapes.size(), 8u);
    EXPECT_EQ(g.shapes[0].kind, OverlayShape::Line);
    EXPECT_EQ(g.shapes[0].x1, 1955);
    EXPECT_EQ(g.shapes[0].x2, 2045);
    EXPECT_EQ(g.shapes[1].y1, 1455);
}

TEST(MeasureLogic, GridSwitching) {
    EXPECT_EQ(nextGridSwitch(1, 2).caption, QStringLiteral("&Grid 2"));
    EXPECT_EQ(nextGridSwitch(2, 2).caption, QStringLiteral("&Grid 1"));
    EXPECT_EQ(nextGridSwitch(2, 2).grid, 1);
    EXPECT_EQ(nextGridSwitch(2, 3).grid, 3);
    EXPECT_EQ(nextGridSwitch(3, 3).grid, 1);

    // The working copy comes from the store, with its own direction.
    GridState s = flatGrid();
    s.savedJumpX = 5, s.savedJumpY = -7;
    storeWorkingGrid(s, 2);
    setBuoy(s, 1, 100, 100, -10, 0); // grid 1 looks the other way
    setBuoy(s, 3, 200, 100, 10, 0);
    s.savedJumpX = -4, s.savedJumpY = 3;
    storeWorkingGrid(s, 1);
    activateGrid(s, 2);
    EXPECT_EQ(s.currentGrid, 2);
    EXPECT_EQ(s.jumpX, 5);
    EXPECT_EQ(s.jumpY, -7);
    EXPECT_EQ(s.buoyScreenX[1], 12000);
    EXPECT_EQ(s.gridDirection, -1);
    activateGrid(s, 1);
    EXPECT_EQ(s.jumpX, -4);
    EXPECT_EQ(s.jumpY, 3);
    EXPECT_EQ(s.buoyScreenX[1], 100);
    EXPECT_EQ(s.gridDirection, 1);
}

TEST(MeasureLogic, EachGridMeasuresWithItsOwnTransformAndJump) {
    // Two cameras: the same landing seen by each, each grid with its own
    // transform and its own surveyed jump point. After every switch the
    // distance is the one of the grid switched to.
    GridState s = test::solvedTestGrid(); // jump (10.25, 7.5)
    s.savedJumpX = s.jumpX, s.savedJumpY = s.jumpY;
    storeWorkingGrid(s, 1);
    GridState other;
    test::setBuoy(other, 1, 1000, 1000, 60, 15);
    test::setBuoy(other, 2, 1000, 7000, 60, 0);
    test::setBuoy(other, 3, 7000, 1000, 30, 15);
    test::setBuoy(other, 4, 7000, 7000, 30, 0);
    ASSERT_EQ(solve_grid(other), SolveStatus::Ok);
    other.savedJumpX = 0, other.savedJumpY = 20;
    other.gridStore = s.gridStore;
    storeWorkingGrid(other, 2);
    s.gridStore = other.gridStore;
    s.gridCount = 2;

    // The water point (45, 7.5): on grid 1 where its transform puts it, on
    // grid 2 at the middle of its square.
    const auto distanceAt = [&s](int grid, double a, double b) {
        activateGrid(s, grid);
        s.screenX = a, s.screenY = b;
        EXPECT_TRUE(distance_calculation(s, false, false));
        return s.jumpDistance;
    };
    const auto p1 = inverseTransform(test::solvedTestGrid().coefficients(), 45, 7.5);
    ASSERT_TRUE(p1);
    const double truth1 = std::hypot(45 - 10.25, 7.5 - 7.5) + 2.1;
    const double truth2 = std::hypot(45 - 0.0, 7.5 - 20) + 2.1;
    for (int round = 0; round < 2; ++round) {
        EXPECT_NEAR(distanceAt(2, 4000, 4000), truth2, 1e-9);
        EXPECT_NEAR(distanceAt(1, p1->x, p1->y), truth1, 1e-9);
    }
}

namespace {

struct ScreenFixture : ::testing::Test {
    test::TestEnv env;
    GridState grid = flatGrid();
    MarkState mark;
    MeasureFields f;
    QString lastDistance;

    ScreenFixture() {
        f.skierName = QStringLiteral("SKIER, ONE");
        f.jumpNo = QStringLiteral("2");
        mark.clickX = 4326;
        mark.placed = true;
    }
    MeasureEnvironment environment() {
        RecordSettings settings;
        settings.resultsPath = env.path(QStringLiteral("results.txt"));
        settings.exchangeDir = env.exchangeDir();
        settings.wstims = true;
        return {env.dialogs(), env.clock(), settings, env.appDir()};
    }
    QByteArray results() const { return readAll(env.path(QStringLiteral("results.txt"))); }
};

} // namespace

TEST_F(ScreenFixture, RecordingTakesAndGivesBackTheFields) {
    const QString before = QDir::currentPath();
    f.verifyMode = true;
    ASSERT_EQ(recordOnScreen(f, grid, mark, lastDistance, environment()), RecordStatus::Recorded);
    EXPECT_EQ(results(), QByteArray("12-08-2026 13:05:09 SKIER, ONE  jump 2 - 45.4m  (IWSF)149ft  "
                                    "(AWSA) UNOFFICIAL JUMP - verify mode  (43.26/0) (4326/0) "
                                    "(45.36)\r\n"));
    EXPECT_EQ(f.distance, QStringLiteral("45.4m"));
    EXPECT_EQ(f.distanceFt, QStringLiteral("149ft"));
    EXPECT_EQ(f.jumpNo, QStringLiteral("2")); // raised by "Clear"
    EXPECT_FALSE(f.commentVisible);
    EXPECT_EQ(lastDistance, QStringLiteral("45.36"));
    EXPECT_EQ(QDir::currentPath(), before); // every path is absolute

    // A pass without a still picture: number at once, no result choice left.
    f.jumpOK = false;
    f.pass = true;
    passClicked(f);
    ASSERT_EQ(recordOnScreen(f, grid, mark, lastDistance, environment()), RecordStatus::Recorded);
    EXPECT_EQ(f.jumpNo, QStringLiteral("3"));
    EXPECT_FALSE(f.pass || f.fall || f.jumpOK);
    EXPECT_TRUE(f.distance.isEmpty());
    EXPECT_TRUE(f.comment.isEmpty());
    EXPECT_EQ(readAll(env.exchangeDir() + QStringLiteral("/ztresult.dst")),
              QByteArray("Pass, 0, 0,2\r\n"));
}

TEST_F(ScreenFixture, JumpWithoutALandingMarkIsNotRecorded) {
    // After "Clear" (or before any click) the old mark must not be measured
    // as the new jump's distance.
    MarkState cleared = mark;
    cleared.placed = false;
    const MeasureFields before = f;
    EXPECT_EQ(recordOnScreen(f, grid, cleared, lastDistance, environment()),
              RecordStatus::NoLandingMark);
    EXPECT_TRUE(results().isEmpty());
    EXPECT_FALSE(QFile::exists(env.exchangeDir() + QStringLiteral("/ztresult.dst")));
    EXPECT_EQ(f.jumpNo, before.jumpNo);
    EXPECT_EQ(f.distance, before.distance);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].icon, MsgIcon::Critical);

    // A fall needs no mark.
    f.fall = true;
    f.jumpOK = false;
    fallClicked(f);
    EXPECT_EQ(recordOnScreen(f, grid, cleared, lastDistance, environment()),
              RecordStatus::Recorded);

    // Placing a mark makes a jump recordable again.
    MarkState fresh;
    ASSERT_TRUE(placeImpactMark(grid, fresh, 4326, 0, 100, false, {}));
    EXPECT_TRUE(fresh.placed);
}

TEST_F(ScreenFixture, FailedRecordLeavesTheFieldsForAnotherTry) {
    RecordSettings bad;
    bad.resultsPath = env.path(QStringLiteral("missing/results.txt"));
    f.fall = true;
    f.jumpOK = false;
    fallClicked(f);
    const MeasureFields before = f;
    MeasureEnvironment e{env.dialogs(), env.clock(), bad, env.appDir()};
    EXPECT_EQ(recordOnScreen(f, grid, mark, lastDistance, e), RecordStatus::ResultsNotWritten);
    EXPECT_TRUE(f.fall);
    EXPECT_EQ(f.comment, before.comment);
    EXPECT_EQ(f.jumpNo, before.jumpNo);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(bad.resultsPath));

    // A typed comment that cannot be written is reported with the path and
    // goes, as the box is emptied.
    env.dialogs().answerText(QStringLiteral("wind gust"));
    makeCommentClicked(f, e);
    EXPECT_TRUE(f.comment.isEmpty());
    ASSERT_EQ(env.dialogs().messages().size(), 2);
    EXPECT_TRUE(env.dialogs().messages()[1].prompt.contains(bad.resultsPath));
}

TEST_F(ScreenFixture, NoCommentTheOperatorCannotSeeGoesIntoARecord) {
    // The first record hides the comment box.
    ASSERT_EQ(recordOnScreen(f, grid, mark, lastDistance, environment()), RecordStatus::Recorded);
    ASSERT_FALSE(f.commentVisible);
    clearFields(f);
    ASSERT_TRUE(placeImpactMark(grid, mark, 4326, 0, 100, false, {}));

    // A comment "Pass" could not be written while the results file was gone.
    RecordSettings bad;
    bad.resultsPath = env.path(QStringLiteral("missing/results.txt"));
    env.dialogs().answerText(QStringLiteral("Pass"));
    makeCommentClicked(f, {env.dialogs(), env.clock(), bad, env.appDir()});
    qsizetype before = results().size();
    ASSERT_EQ(recordOnScreen(f, grid, mark, lastDistance, environment()), RecordStatus::Recorded);
    EXPECT_TRUE(results().mid(before).contains("(AWSA) (43.26/0)")) << results().toStdString();
    EXPECT_EQ(readAll(env.exchangeDir() + QStringLiteral("/ztresult.dst")),
              QByteArray("OK, 45.4, 149, 3\r\n"));

    // Fall chosen, then the operator goes back to "Jump OK": the hidden box
    // still says "Fall".
    clearFields(f);
    f.fall = true, f.jumpOK = false;
    fallClicked(f);
    f.fall = false, f.jumpOK = true;
    before = results().size();
    ASSERT_EQ(recordOnScreen(f, grid, mark, lastDistance, environment()), RecordStatus::Recorded);
    EXPECT_TRUE(results().mid(before).contains("(AWSA) (43.26/0)")) << results().toStdString();
    EXPECT_EQ(readAll(env.exchangeDir() + QStringLiteral("/ztresult.dst")),
              QByteArray("OK, 45.4, 149, 4\r\n"));

    // A fall chosen now records as a fall.
    clearFields(f);
    f.fall = true, f.jumpOK = false;
    fallClicked(f);
    ASSERT_EQ(recordOnScreen(f, grid, mark, lastDistance, environment()), RecordStatus::Recorded);
    EXPECT_TRUE(results().endsWith(QByteArray("(AWSA)Fall (43.26/0) (4326/0) (45.36)\r\n")))
        << results().toStdString();
}

TEST_F(ScreenFixture, ReridesCommentsAndClear) {
    f.distance = QStringLiteral("45.4m");
    f.mReride = true;
    manualRerideClicked(f, environment());
    EXPECT_FALSE(f.mReride);
    EXPECT_TRUE(f.distance.isEmpty());
    EXPECT_TRUE(f.comment.isEmpty());

    f.distance = QStringLiteral("45.4m");
    f.pictureFrozen = true;
    f.oReride = true;
    optionalRerideClicked(f, environment());
    EXPECT_TRUE(f.oReride); // stays on a still picture
    EXPECT_EQ(f.distance, QStringLiteral("45.4m"));

    env.dialogs().answerCancel();
    f.makeComment = true;
    makeCommentClicked(f, environment());
    EXPECT_FALSE(f.makeComment);
    EXPECT_EQ(results(), QByteArray("12-08-2026 13:05:09 Mandatory Reride - disregard last jump\r\n"
                                    "12-08-2026 13:05:09 Optional Reride on previous jump\r\n"
                                    "12-08-2026 13:05:09 \r\n"));
    ASSERT_EQ(env.dialogs().recorded().size(), 1);
    EXPECT_EQ(env.dialogs().recorded()[0].prompt,
              QStringLiteral("What comment would you like to add?"));

    f.jumpNo = QStringLiteral("Jump");
    f.pass = true, f.jumpOK = false, f.otherGrid = true, f.comment = QStringLiteral("Pass");
    clearFields(f);
    EXPECT_EQ(f.jumpNo, QStringLiteral("1"));
    EXPECT_EQ(f.distance, QStringLiteral("m"));
    EXPECT_EQ(f.distanceFt, QStringLiteral("ft"));
    EXPECT_TRUE(f.jumpOK);
    EXPECT_FALSE(f.pass || f.otherGrid || f.oReride || f.pictureFrozen);
    EXPECT_TRUE(f.comment.isEmpty());

    skierChanged(f);
    EXPECT_EQ(f.jumpNo, QStringLiteral("1"));
    EXPECT_TRUE(f.distance.isEmpty());
}
