// The jump record and event lines, field by field, and the other-grid entry.

#include "measure/JumpRecord.h"

#include "measure/DistanceText.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace zt;

namespace {

JumpRecordInput officialJump() {
    JumpRecordInput in;
    in.when = QDateTime(QDate(2026, 12, 7), QTime(14, 3, 22));
    in.skierName = QStringLiteral("Skier One");
    in.jumpNumber = QStringLiteral("2");
    in.metersText = QStringLiteral("45.3m");
    in.feetText = QStringLiteral("149ft");
    in.waterX = 123.4567, in.waterY = 45.6789;
    in.screenX = 5432.9, in.screenY = 3210.2;
    in.lastDistanceText = QStringLiteral("45.3421");
    return in;
}

} // namespace

TEST(JumpRecord, LinesFieldByField) {
    JumpRecordInput in = officialJump();
    EXPECT_EQ(jumpRecordLine(in), QStringLiteral("12-07-2026 14:03:22 Skier One  jump 2 - 45.3m  "
                                                 "(IWSF)149ft  (AWSA) (123.457/45.679) "
                                                 "(5432/3210) (45.3421)\r\n"));

    // Barefoot 20.123 m: " BAREFOOT " right after the AWSA field.
    const OfficialDistance d = officialDistanceTexts(20.123, true);
    in.metersText = d.metersShown, in.feetText = d.feetShown;
    in.lastDistanceText = d.lastDistanceText;
    in.barefootJump = true;
    in.waterX = -1.0005, in.waterY = 0;
    in.screenX = -0.5, in.screenY = 0;
    EXPECT_EQ(jumpRecordLine(in), QStringLiteral("12-07-2026 14:03:22 Skier One  jump 2 - 20.1m  "
                                                 "(IWSF)66ft  (AWSA) BAREFOOT  (-1/0) (-1/0) "
                                                 "(20.123)\r\n"));

    // Verify mode marker before the comment; a fall has empty distances.
    in = officialJump();
    in.metersText.clear(), in.feetText.clear();
    in.verifyMode = true;
    in.comment = comments::fall;
    EXPECT_EQ(jumpRecordLine(in), QStringLiteral("12-07-2026 14:03:22 Skier One  jump 2 -   "
                                                 "(IWSF)  (AWSA) UNOFFICIAL JUMP - verify mode "
                                                 "Fall (123.457/45.679) (5432/3210) "
                                                 "(45.3421)\r\n"));

    // Other grid: entered texts, no coordinate groups.
    in = officialJump();
    in.otherGrid = true;
    in.metersText = QStringLiteral("30m");
    in.feetText = QStringLiteral(" 98ft");
    in.comment = comments::otherGrid;
    EXPECT_EQ(jumpRecordLine(in),
              QStringLiteral("12-07-2026 14:03:22 Skier One  jump 2 - 30m  "
                             "(IWSF) 98ft  (AWSA)Distance from other grid\r\n"));

    // Event lines; a cancelled comment leaves date, time and two blanks.
    const QDateTime t(QDate(2026, 12, 8), QTime(9, 4, 5));
    EXPECT_EQ(eventLine(t, comments::mandatoryReride),
              QStringLiteral("12-08-2026 09:04:05 Mandatory Reride - disregard last jump\r\n"));
    EXPECT_EQ(eventLine(t, QString()), QStringLiteral("12-08-2026 09:04:05 \r\n"));
}

TEST(JumpRecord, JumpNumbersAndConsistency) {
    EXPECT_EQ(nextJumpNumberText(QStringLiteral("Jump")), QStringLiteral("1"));
    EXPECT_EQ(nextJumpNumberText(QStringLiteral("2")), QStringLiteral("3"));
    EXPECT_EQ(nextJumpNumberText(QStringLiteral(" 9x")), QStringLiteral("10"));

    // 30 m = 98.424 ft; 2 ft either way.
    EXPECT_FALSE(otherGridDistancesMatch(QStringLiteral("30m"), QStringLiteral(" 101ft")));
    EXPECT_TRUE(otherGridDistancesMatch(QStringLiteral("30m"), QStringLiteral(" 98ft")));
    EXPECT_TRUE(otherGridDistancesMatch(QStringLiteral("30m"), QStringLiteral(" 100.4ft")));
    EXPECT_FALSE(otherGridDistancesMatch(QStringLiteral("30m"), QStringLiteral(" 96ft")));
    EXPECT_TRUE(otherGridDistancesMatch(QStringLiteral("m"), QStringLiteral(" ft")));
    EXPECT_FALSE(otherGridDistancesMatch(QStringLiteral("abc m"), QStringLiteral(" 5ft")));
}

TEST(JumpRecord, OtherGridEntryRepeatsUntilTheDistancesMatch) {
    test::ScriptedDialogs dialogs;
    dialogs.answer(MsgAnswer::Yes);
    dialogs.answerText(QStringLiteral("30"));
    dialogs.answerText(QStringLiteral("101"));
    dialogs.answer(MsgAnswer::OK);
    dialogs.answer(MsgAnswer::Yes);
    dialogs.answerText(QStringLiteral("30"));
    dialogs.answerText(QStringLiteral("98"));
    OtherGridEntry e = askOtherGridDistance(dialogs);
    EXPECT_TRUE(dialogs.queueEmpty());
    EXPECT_TRUE(e.recorded);
    EXPECT_EQ(e.metersText, QStringLiteral("30"));
    EXPECT_EQ(e.feetText, QStringLiteral(" 98"));
    EXPECT_EQ(e.metersShown, QStringLiteral("30m"));
    EXPECT_EQ(e.feetShown, QStringLiteral(" 98ft"));
    EXPECT_TRUE(e.comment.isEmpty());
    const QStringList expected = {
        QStringLiteral("Is there a distance to be recorded in the other grid?"),
        QStringLiteral("Enter distance in meters from other screen"),
        QStringLiteral("Enter distance in feet from other screen"),
        QStringLiteral("The meter distance and the foot distance you entered did not match, "
                       "please enter them again"),
        QStringLiteral("Is there a distance to be recorded in the other grid?"),
        QStringLiteral("Enter distance in meters from other screen"),
        QStringLiteral("Enter distance in feet from other screen")};
    EXPECT_EQ(dialogs.prompts(), expected);
    EXPECT_EQ(dialogs.messages().first().title, QStringLiteral("Message"));
    EXPECT_EQ(dialogs.messages().first().buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.recorded()[1].title, QStringLiteral("Other Grid Measurement"));

    // No: nothing recorded, the comment says so.
    test::ScriptedDialogs no;
    no.answer(MsgAnswer::No);
    e = askOtherGridDistance(no);
    EXPECT_FALSE(e.recorded);
    EXPECT_TRUE(e.metersShown.isEmpty());
    EXPECT_TRUE(e.feetText.isEmpty());
    EXPECT_EQ(e.comment, comments::otherGridNone);

    // A decimal comma would split the scoring system's comma-separated
    // result line (OK, 30,5, 100, 2): such an entry is asked again.
    test::ScriptedDialogs comma;
    comma.answer(MsgAnswer::Yes);
    comma.answerText(QStringLiteral("30,5"));
    comma.answerText(QStringLiteral("100"));
    comma.answer(MsgAnswer::OK);
    comma.answer(MsgAnswer::Yes);
    comma.answerText(QStringLiteral("30.5"));
    comma.answerText(QStringLiteral("100"));
    e = askOtherGridDistance(comma);
    EXPECT_TRUE(comma.queueEmpty());
    EXPECT_TRUE(e.recorded);
    EXPECT_EQ(e.metersText, QStringLiteral("30.5"));
    ASSERT_EQ(comma.messages().size(), 3);
    EXPECT_EQ(comma.messages()[1].prompt, otherGridCommaMessage);
    test::ScriptedDialogs feetComma;
    feetComma.answer(MsgAnswer::Yes);
    feetComma.answerText(QStringLiteral("30"));
    feetComma.answerText(QStringLiteral("98,4"));
    feetComma.answer(MsgAnswer::OK);
    feetComma.answer(MsgAnswer::No);
    e = askOtherGridDistance(feetComma);
    EXPECT_TRUE(feetComma.queueEmpty());
    EXPECT_FALSE(e.recorded);

    // Cancelled input boxes give empty texts, which pass the check.
    test::ScriptedDialogs cancel;
    cancel.answer(MsgAnswer::Yes);
    cancel.answerCancel();
    cancel.answerCancel();
    e = askOtherGridDistance(cancel);
    EXPECT_TRUE(e.recorded);
    EXPECT_EQ(e.metersShown, QStringLiteral("m"));
    EXPECT_EQ(e.feetShown, QStringLiteral(" ft"));
}
