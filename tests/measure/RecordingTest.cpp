// "Record Jump" from the measure screen's values to the results file and
// the exchange files.

#include "measure/Recording.h"

#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace zt;
using test::readAll;
using test::writeAll;

namespace {

struct RecordingFixture : ::testing::Test {
    test::TestEnv env;
    GridState grid;
    MeasureRecordState screen;
    RecordSettings settings;

    void SetUp() override {
        Coefficients c; // X = a / 100, Y = b / 100
        c[2] = 0.01;
        c[8] = 0.01;
        grid.setCoefficients(c);
        screen.skierName = QStringLiteral("SKIER, ONE");
        screen.jumpNumber = QStringLiteral("2");
        screen.distanceText = QStringLiteral("m");
        screen.distanceFtText = QStringLiteral("ft");
        screen.clickX = 4326, screen.clickY = 0;
        screen.pictureFrozen = true;
        settings.resultsPath = env.path(QStringLiteral("results.txt"));
        settings.exchangeDir = env.exchangeDir();
        settings.wstims = true;
    }
    RecordOutcome record() {
        return recordJump(grid, screen, settings, env.dialogs(), env.clock());
    }
    QByteArray results() const { return readAll(settings.resultsPath); }
    QByteArray exchange(const char* name) const {
        return readAll(env.exchangeDir() + QLatin1Char('/') + QLatin1String(name));
    }
};

} // namespace

TEST_F(RecordingFixture, OfficialJumpThenFall) {
    writeAll(env.exchangeDir() + QStringLiteral("/snapshot.bmp"), "BM");
    RecordOutcome out = record();
    ASSERT_EQ(out.status, RecordStatus::Recorded);
    EXPECT_EQ(results(), QByteArray("12-08-2026 13:05:09 SKIER, ONE  jump 2 - 45.4m  (IWSF)149ft "
                                    " (AWSA) (43.26/0) (4326/0) (45.36)\r\n"));
    EXPECT_EQ(exchange("ztresult.dst"), QByteArray("OK, 45.4, 149, 2\r\n"));
    EXPECT_EQ(exchange("ztraw.dst"), QByteArray("13:05:09 ,SKIER,OK, 45.4, 149, 2\r\n"));
    EXPECT_FALSE(QFileInfo::exists(env.exchangeDir() + QStringLiteral("/snapshot.bmp")));
    EXPECT_EQ(screen.distanceText, QStringLiteral("45.4m"));
    EXPECT_EQ(screen.distanceFtText, QStringLiteral("149ft"));
    EXPECT_EQ(screen.lastDistanceText, QStringLiteral("45.36"));
    EXPECT_EQ(screen.jumpNumber, QStringLiteral("2")); // "Clear" raises it on a still picture
    EXPECT_FALSE(screen.commentVisible);
    EXPECT_TRUE(env.dialogs().recorded().isEmpty());

    // A fall for jump 3 on a still picture: empty distances, the
    // registers and the last distance as they stand, Fall stays selected.
    screen.jumpNumber = QStringLiteral("3");
    screen.fallSelected = true;
    screen.comment = QStringLiteral("Fall");
    grid.screenX = 1234.5; // the last mouse move
    out = record();
    ASSERT_EQ(out.status, RecordStatus::Recorded);
    EXPECT_EQ(out.line, QStringLiteral("12-08-2026 13:05:09 SKIER, ONE  jump 3 -   (IWSF)  (AWSA)"
                                       "Fall (43.26/0) (1234/0) (45.36)\r\n"));
    EXPECT_EQ(exchange("ztresult.dst"), QByteArray("Fall, 0, 0,3\r\n"));
    EXPECT_EQ(exchange("ztraw.dst"), QByteArray("13:05:09 ,SKIER,OK, 45.4, 149, 2\r\n"
                                                "13:05:09 ,SKIER,Fall, 0, 0,3\r\n"));
    EXPECT_TRUE(screen.fallSelected);
    EXPECT_EQ(screen.jumpNumber, QStringLiteral("3"));
    EXPECT_TRUE(screen.distanceText.isEmpty());
    EXPECT_TRUE(screen.comment.isEmpty());
}

TEST_F(RecordingFixture, PassWithoutStillPictureAdvancesAtOnce) {
    screen.pictureFrozen = false;
    screen.passSelected = true;
    screen.comment = QStringLiteral("Pass");
    screen.verifyMode = true;
    settings.wstims = false;
    writeAll(env.exchangeDir() + QStringLiteral("/x.bmp"), "BM");
    ASSERT_EQ(record().status, RecordStatus::Recorded);
    EXPECT_EQ(results(), QByteArray("12-08-2026 13:05:09 SKIER, ONE  jump 2 -   (IWSF)  (AWSA) "
                                    "UNOFFICIAL JUMP - verify mode Pass (0/0) (0/0) ()\r\n"));
    EXPECT_EQ(screen.jumpNumber, QStringLiteral("3"));
    EXPECT_FALSE(screen.passSelected);
    EXPECT_FALSE(screen.fallSelected);
    // Exchange off: no result files, but the pictures still go.
    EXPECT_EQ(QDir(env.exchangeDir()).entryList(QDir::Files), QStringList());
}

TEST_F(RecordingFixture, OtherGridEntry) {
    screen.otherGridOn = true;
    screen.comment = QStringLiteral("Distance from other grid");
    settings.barefootJump = true;
    env.dialogs().answer(MsgAnswer::Yes);
    env.dialogs().answerText(QStringLiteral("30"));
    env.dialogs().answerText(QStringLiteral("98"));
    ASSERT_EQ(record().status, RecordStatus::Recorded);
    EXPECT_EQ(results(), QByteArray("12-08-2026 13:05:09 SKIER, ONE  jump 2 - 30m  (IWSF) 98ft  "
                                    "(AWSA) BAREFOOT Distance from other grid\r\n"));
    EXPECT_EQ(exchange("ztresult.dst"), QByteArray("OK, 30,  98, 2\r\n"));
    EXPECT_FALSE(screen.otherGridOn);
    EXPECT_EQ(screen.jumpNumber, QStringLiteral("2"));

    // No distance, without a still picture.
    screen.otherGridOn = true;
    screen.pictureFrozen = false;
    settings.barefootJump = false;
    env.dialogs().answer(MsgAnswer::No);
    const RecordOutcome out = record();
    EXPECT_EQ(out.line, QStringLiteral("12-08-2026 13:05:09 SKIER, ONE  jump 2 -   (IWSF)  (AWSA)"
                                       "Other Grid - no distance recorded\r\n"));
    EXPECT_EQ(exchange("ztresult.dst"), QByteArray("OK, , , 2\r\n"));
    EXPECT_EQ(screen.jumpNumber, QStringLiteral("3"));
}

TEST_F(RecordingFixture, FailuresLeaveTheScreenForAnotherTry) {
    // Results file in a folder that does not exist: told with the path,
    // no exchange file, nothing on the screen changed.
    settings.resultsPath = env.path(QStringLiteral("nowhere/results.txt"));
    screen.pictureFrozen = false;
    screen.fallSelected = true;
    screen.comment = QStringLiteral("Fall");
    const MeasureRecordState before = screen;
    EXPECT_EQ(record().status, RecordStatus::ResultsNotWritten);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(settings.resultsPath));
    EXPECT_TRUE(screen.fallSelected);
    EXPECT_EQ(screen.jumpNumber, before.jumpNumber);
    EXPECT_EQ(screen.comment, before.comment);
    EXPECT_EQ(screen.distanceText, before.distanceText);
    EXPECT_FALSE(QFileInfo::exists(env.exchangeDir() + QStringLiteral("/ztresult.dst")));

    // The exchange cannot be written: the message, and recording goes on.
    env.dialogs().clear();
    settings.resultsPath = env.path(QStringLiteral("results.txt"));
    settings.exchangeDir = env.path(QStringLiteral("no-ztio"));
    const RecordOutcome out = record();
    EXPECT_EQ(out.status, RecordStatus::Recorded);
    EXPECT_FALSE(out.exchangeWritten);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_EQ(env.dialogs().messages()[0].prompt,
              QStringLiteral("Error while writing WSTIMS result: ") + out.exchangeError);
    EXPECT_EQ(screen.jumpNumber, QStringLiteral("3"));
    EXPECT_FALSE(results().isEmpty());

    // A mark on the vanishing line: no line, no change.
    env.dialogs().clear();
    Coefficients c = grid.coefficients();
    c[4] = -0.001;
    grid.setCoefficients(c);
    screen.fallSelected = false;
    screen.comment.clear();
    screen.clickX = 1000;
    const QByteArray written = results();
    EXPECT_EQ(record().status, RecordStatus::DistanceUnavailable);
    EXPECT_EQ(results(), written);
    EXPECT_EQ(env.dialogs().messages().size(), 1);
}

TEST(RecordingEvents, EventLines) {
    test::TestEnv env;
    const QString results = env.path(QStringLiteral("results.txt"));
    EXPECT_TRUE(recordEvent(results, QStringLiteral("Optional Reride on previous jump"),
                            env.dialogs(), env.clock()));
    EXPECT_TRUE(recordEvent(results, QString(), env.dialogs(), env.clock()));
    EXPECT_EQ(readAll(results),
              QByteArray("12-08-2026 13:05:09 Optional Reride on previous jump\r\n"
                         "12-08-2026 13:05:09 \r\n"));
    const QString bad = env.path(QStringLiteral("nowhere/r.txt"));
    EXPECT_FALSE(recordEvent(bad, QStringLiteral("x"), env.dialogs(), env.clock()));
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(bad));
}
