// Complete's checks at their exact limits, grid_check and the exit status,
// on grids whose geometry the test controls.

#include "grid/SetupValidation.h"

#include "app/TextFormat.h"
#include "support/GridFixtures.h"
#include "support/ScriptedDialogs.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace zt;
using zt::test::ScriptedDialogs;

namespace {

// A grid whose picture verticals fan out on the water: with
// X = 0.01 (a - a0) / D, Y = 0.01 b / D and D = 1 + k b, the vertical at
// screen x a is seen at atan(-(a - a0) k) degrees, so the buoys at aL and
// aR give a field of view of 2 atan(k (aR - aL) / 2).
struct FanGrid {
    GridState s;
    GridBoxTexts boxes;
    Coefficients c;

    FanGrid(double aL, double aR, double fieldOfView) {
        const double a0 = (aL + aR) / 2;
        const double k = std::tan(fieldOfView / 2 * std::numbers::pi / 180) / ((aR - aL) / 2);
        c[1] = -0.01 * a0, c[2] = 0.01, c[5] = k, c[8] = 0.01;
        mark(3, aL, 2000), mark(4, aL, 6000), mark(1, aR, 2000), mark(2, aR, 6000);
        s.jumpX = s.savedJumpX = 0, s.jumpY = s.savedJumpY = -10;
        const auto check = forwardTransform(c, a0, 4000);
        s.checkMarkX = a0, s.checkMarkY = 4000;
        boxes = boxTextsFromState(s);
        boxes.checkX = numberText(check->x), boxes.checkY = numberText(check->y);
        boxes.checkXpix = numberText(a0), boxes.checkYpix = QStringLiteral("4000");
    }
    void mark(int buoy, double a, double b) {
        const auto w = forwardTransform(c, a, b);
        zt::test::setBuoy(s, buoy, a, b, w->x, w->y);
    }
};

struct Checker {
    ScriptedDialogs dialogs;
    QStringList log;
    ValidationEnv env{dialogs, [this](const QString& l) { log << l; }};

    CompleteCheck validate(FanGrid& g, const QString& width = QStringLiteral("10000"),
                           bool allowInvalid = false) {
        return validateSetup(g.s, g.boxes, width, allowInvalid, env);
    }
    QStringList prompts() const { return dialogs.prompts(); }
};

} // namespace

TEST(SetupValidation, MissingValuesAreFoundByTheirInitialTexts) {
    FanGrid g(2000, 10000, 20);
    EXPECT_EQ(missingSetupInput(g.boxes), MissingInput::None);
    for (QString* box :
         {&g.boxes.surveyY[2], &g.boxes.screenX[4], &g.boxes.jumpY, &g.boxes.checkX}) {
        const QString kept = *box;
        *box = box == &g.boxes.surveyY[2]   ? QStringLiteral("input")
               : box == &g.boxes.screenX[4] ? QStringLiteral("auto")
               : box == &g.boxes.jumpY      ? QStringLiteral("jump y")
                                            : QStringLiteral("CheckX");
        EXPECT_EQ(missingSetupInput(g.boxes), MissingInput::Parameters);
        *box = QStringLiteral(" ") + *box; // the comparison is exact
        EXPECT_EQ(missingSetupInput(g.boxes), MissingInput::None);
        *box = kept;
    }
    for (const QString& text : {QStringLiteral("0"), QString(), QStringLiteral("none")}) {
        g.boxes.checkXpix = text;
        EXPECT_EQ(missingSetupInput(g.boxes), MissingInput::CheckBuoy) << text.toStdString();
    }
}

TEST(SetupValidation, CheckBuoyOffByHalfAPixelAndAHairMore) {
    // A grid that solves exactly: survey = screen / 64, every value a
    // binary fraction, so the predicted check buoy is exactly (4096, 2048).
    GridState s;
    zt::test::setBuoy(s, 3, 1024, 1024, 16, 16);
    zt::test::setBuoy(s, 1, 8192, 1024, 128, 16);
    zt::test::setBuoy(s, 4, 1024, 6144, 16, 96);
    zt::test::setBuoy(s, 2, 8192, 6144, 128, 96);
    GridBoxTexts b = boxTextsFromState(s);
    b.checkX = QStringLiteral("64"), b.checkY = QStringLiteral("32");
    b.checkYpix = QStringLiteral("2048");
    const std::pair<const char*, bool> marks[] = {
        {"4118.5", true}, {"4073.5", true}, {"4118.6", false}, {"4073.4", false}};
    for (const auto& [x, valid] : marks) {
        Checker r;
        b.checkXpix = QLatin1String(x);
        GridState work = s;
        const CompleteCheck c = validateSetup(work, b, QStringLiteral("9000"), false, r.env);
        EXPECT_EQ(c.predictedCheckX, 4096);
        EXPECT_EQ(c.predictedCheckY, 2048);
        EXPECT_EQ(c.status == CompleteStatus::CheckBuoyInvalid, !valid) << x;
        EXPECT_EQ(r.prompts().contains(QStringLiteral("Check Buoy Does not Validate")), !valid);
        if (!valid) {
            EXPECT_TRUE(r.log.contains(QStringLiteral("measured x: ") + QLatin1String(x) +
                                       QStringLiteral(" Actual: 4096")))
                << r.log.join(QLatin1Char('|')).toStdString();
        }
    }
}

TEST(SetupValidation, FieldOfViewLimits) {
    const QString warning = QStringLiteral("Warning! Field of View is ");
    const QString invalid = QStringLiteral("Setup is not valid, Field of View is ");
    const struct {
        double fov;
        bool warns, invalid;
    } cases[] = {
        {30.0, false, false}, {30.1, true, false}, {35.0, true, false}, {35.1, false, true}};
    for (const auto& c : cases) {
        FanGrid g(2000, 10000, c.fov);
        Checker r;
        const CompleteCheck check = r.validate(g);
        EXPECT_DOUBLE_EQ(check.fieldOfView, c.fov);
        const QStringList p = r.prompts();
        const bool warned = !p.filter(warning).isEmpty(), refused = !p.filter(invalid).isEmpty();
        EXPECT_EQ(warned, c.warns) << c.fov;
        EXPECT_EQ(refused, c.invalid) << c.fov;
        EXPECT_EQ(check.status,
                  c.invalid ? CompleteStatus::FieldOfViewTooWide : CompleteStatus::Ready);
        EXPECT_EQ(r.log.contains(QStringLiteral("Field of view  = ") + numberText(c.fov) +
                                 QStringLiteral(" degrees")),
                  !c.invalid);
    }
    // 35.1 degrees quoted whole in the refusal.
    FanGrid g(2000, 10000, 35.1);
    Checker r;
    r.validate(g);
    EXPECT_EQ(r.prompts()[0],
              QStringLiteral("Setup is not valid, Field of View is 35.1 degrees where the maximum "
                             "allowed is 35 degrees.You either need to move the camera further "
                             "away or make the measurement grid shorter."));
}

TEST(SetupValidation, InvalidSetupAllowedGoesOnWithBothMessages) {
    FanGrid g(2000, 10000, 40);
    Checker r;
    const CompleteCheck check = r.validate(g, QStringLiteral("10000"), true);
    EXPECT_EQ(check.status, CompleteStatus::Ready);
    const QList<MessageRequest> m = r.dialogs.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_TRUE(m[0].prompt.startsWith(QStringLiteral("Setup is not valid, Field of View is 40")));
    EXPECT_EQ(m[1].prompt, QStringLiteral("Invalid Configurations allowed for test"));
    EXPECT_EQ(m[1].icon, MsgIcon::Critical);
}

TEST(SetupValidation, GridWidthLimits) {
    const struct {
        double aR;
        const char* percent; // of a 10000-twip picture
        CompleteStatus status;
        int messages;
    } cases[] = {{10000, "80", CompleteStatus::Ready, 0},
                 {9990, "79", CompleteStatus::Ready, 2},
                 {9500, "75", CompleteStatus::GridTooNarrow, 1}};
    for (const auto& c : cases) {
        FanGrid g(2000, c.aR, 10);
        Checker r;
        const CompleteCheck check = r.validate(g);
        EXPECT_EQ(check.status, c.status) << c.percent;
        const QList<MessageRequest> m = r.dialogs.messages();
        ASSERT_EQ(m.size(), c.messages) << c.percent;
        EXPECT_TRUE(r.log.contains(QStringLiteral("Screen width of Grid  = ") +
                                   QLatin1String(c.percent) + QStringLiteral("%")));
        EXPECT_TRUE(r.log.contains(QStringLiteral("Screen width  = 10000")));
        if (c.messages == 0)
            continue;
        EXPECT_EQ(m[0].prompt, QStringLiteral("Warning - Grid is ") + QLatin1String(c.percent) +
                                   QStringLiteral("% which is less than 80% of screen width.  "
                                                  "Zoom your camera until the grid nearly fills "
                                                  "the screen."));
        EXPECT_EQ(m[0].icon, MsgIcon::Critical);
        if (c.messages == 2) {
            EXPECT_EQ(m[1].prompt, QStringLiteral("Grid is greater than 75% so continue"));
        }
    }
}

TEST(SetupValidation, NoUniqueSolutionAndGridsThatCannotMeasure) {
    FanGrid g(2000, 10000, 20);
    g.s.buoyScreenX[2] = g.s.buoyScreenX[1], g.s.buoyScreenY[2] = g.s.buoyScreenY[1];
    g.s.buoySurveyX[2] = g.s.buoySurveyX[1], g.s.buoySurveyY[2] = g.s.buoySurveyY[1];
    const Coefficients before = g.s.coefficients();
    Checker r;
    EXPECT_EQ(r.validate(g).status, CompleteStatus::NoUniqueSolution);
    ASSERT_EQ(r.dialogs.messages().size(), 1);
    EXPECT_EQ(r.dialogs.messages()[0].prompt, QStringLiteral("No Unique Solution - Re-enter data"));
    EXPECT_EQ(r.dialogs.messages()[0].title, QStringLiteral("Error Message"));
    // The failed solve keeps the coefficients that were there before it.
    EXPECT_EQ(g.s.coefficients().c, before.c);
    EXPECT_FALSE(g.s.gridReady(1));
    EXPECT_TRUE(r.validate(g).recordsSetup()); // the set-up record is still written

    // A check buoy whose survey lies on the grid's horizon: its place on the
    // picture cannot be predicted. The operator is told; the values stay.
    FanGrid h(2048, 10240, 20);
    Checker r2;
    GridBoxTexts boxes = h.boxes;
    const double horizonY = h.c[8] / h.c[5]; // D = c2 (c8 - c5 Y) = 0
    boxes.checkY = numberText(horizonY);
    h.boxes = boxes;
    const CompleteCheck check = r2.validate(h);
    if (check.status == CompleteStatus::CannotCompute) {
        ASSERT_EQ(r2.dialogs.messages().size(), 1);
        EXPECT_TRUE(r2.dialogs.messages()[0].prompt.contains(QStringLiteral("horizon")));
    } else {
        // Rounding left the denominator a hair off zero: the predicted place
        // is then far off the picture and the check buoy does not validate.
        EXPECT_EQ(check.status, CompleteStatus::CheckBuoyInvalid);
    }
    EXPECT_FALSE(h.s.gridReady(1));
    EXPECT_EQ(h.s.buoyScreenX[3], 2048);

    // A picture without width: told in plain words, nothing ready.
    FanGrid w(2000, 10000, 20);
    Checker r3;
    EXPECT_EQ(r3.validate(w, QStringLiteral("0")).status, CompleteStatus::CannotCompute);
    ASSERT_EQ(r3.dialogs.messages().size(), 1);
    EXPECT_TRUE(r3.dialogs.messages()[0].prompt.startsWith(
        QStringLiteral("The grid cannot be completed: the picture has no width")));
    EXPECT_FALSE(w.s.gridReady(1));
}

TEST(SetupValidation, CompleteMarksTheGridAndLogsInOrder) {
    FanGrid g(2000, 10000, 20);
    g.s.gridCount = 2;
    Checker r;
    ASSERT_EQ(r.validate(g).status, CompleteStatus::Ready);
    markGridComplete(g.s, 2, QStringLiteral("/g/two.ipt"), QStringLiteral("camera two"), r.env);
    EXPECT_TRUE(g.s.grid2Ready);
    EXPECT_EQ(g.s.currentGrid, 2);
    EXPECT_EQ(g.s.gridsReady, 0); // grid 1 is not ready
    EXPECT_EQ(g.s.gridDescription[2], QStringLiteral("camera two"));
    EXPECT_EQ(g.s.gridStore[2][slot::checkScreenX], g.s.checkMarkX);
    EXPECT_EQ(r.log.mid(r.log.indexOf(QStringLiteral("grid 2 OK and loaded - not saved"))),
              QStringList({QStringLiteral("grid 2 OK and loaded - not saved"),
                           QStringLiteral("Check if Setup OK"),
                           QStringLiteral("If setup is OK there should be a message above this "
                                          "saying so otherwise - not OK")}));
    g.s.setGridReady(1, true);
    r.log.clear();
    markGridComplete(g.s, 2, {}, {}, r.env);
    EXPECT_EQ(g.s.gridsReady, 1);
    EXPECT_TRUE(r.log.contains(QStringLiteral("2 grids - all loaded on OK")));

    r.log.clear();
    logSetupStatus(g.s, r.env);
    EXPECT_EQ(r.log,
              QStringList({QStringLiteral("status on exit of grid setup"),
                           QStringLiteral("Grid 1 is loaded"), QStringLiteral("Grid 2 is loaded"),
                           QStringLiteral("setup is OK"), QStringLiteral("end of status")}));
}

TEST(SetupValidation, SetupRatiosWarnBelowEightyPercentInFront) {
    GridBoxTexts b;
    b.screenX[3] = QStringLiteral("1000"), b.screenX[1] = QStringLiteral("8000");
    b.screenX[4] = QStringLiteral("500"), b.screenX[2] = QStringLiteral("8500");
    Checker r;
    SetupRatios ratios = gridCheck(b, QStringLiteral("10000"), r.env);
    EXPECT_EQ(ratios.front, 80);
    EXPECT_EQ(ratios.back, 70);
    EXPECT_TRUE(r.dialogs.messages().isEmpty());
    EXPECT_EQ(r.log, QStringList({QStringLiteral("Front set-up ratio = 80"),
                                  QStringLiteral("Back set-up ratio = 70")}));
    b.screenX[2] = QStringLiteral("8490");
    ratios = gridCheck(b, QStringLiteral("10000"), r.env);
    ASSERT_EQ(r.dialogs.messages().size(), 1);
    EXPECT_EQ(r.dialogs.messages()[0].prompt,
              QStringLiteral("Front ratio is 79%  Zoom camera in until front is > 85%"));
}
