#include "tool/Commands.h"

#include <QProcess>
#include <gtest/gtest.h>

using zt::tool::run;

namespace {

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

TEST(Tool, SolvePrintsCoefficientsInGridFileForm) {
    const auto out = run(words("solve 12000 0 120 0 12000 9000 120 90 0 0 0 0 0 9000 0 90"));
    EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
    EXPECT_EQ(out.out, QStringLiteral(" 0 \n .01 \n 0 \n 0 \n 0 \n 0 \n 0 \n .01 \n"));
}

TEST(Tool, SolveReportsNoUniqueSolution) {
    const auto out = run(words("solve 100 100 1 1 100 100 1 1 0 0 0 0 0 9000 0 90"));
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_EQ(out.err, QStringLiteral("No Unique Solution - Re-enter data\n"));
    EXPECT_TRUE(out.out.isEmpty());
}

TEST(Tool, MeasureAppliesTheTournamentCorrection) {
    const char* base = "measure --coefficients 0,1,0,0,0,0,0,1 --jump 0,0";
    auto out = run(words(base) + words("3 4"));
    EXPECT_EQ(out.out, QStringLiteral("3 4 7.0999999999999996\n"));
    out = run(words(base) + words("--type barefoot 3 4"));
    EXPECT_EQ(out.out, QStringLiteral("3 4 5\n"));
    out = run(words(base) + words("--type sitski -3 -4"));
    EXPECT_EQ(out.out, QStringLiteral("-3 -4 6.9000000000000004\n"));
}

TEST(Tool, MeasureFailsOnTheVanishingLine) {
    const auto out = run(words("measure --coefficients 0,1,0,-0.001,0,0,0,1 --jump 0,0 1000 5"));
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_FALSE(out.err.isEmpty());
    EXPECT_TRUE(out.out.isEmpty());
}

TEST(Tool, BadArgumentsGiveUsageAndExitTwo) {
    for (const char* bad : {"", "frobnicate", "solve 1 2 3",
                            "solve 1 2 3 4 5 6 7 8 9 10 11 12 13 "
                            "14 15 x",
                            "measure --coefficients 1,2 --jump 0,0 1 2",
                            "measure --coefficients 0,1,0,0,0,0,0,1 --jump 0,0 1",
                            "measure --coefficients 0,1,0,0,0,0,0,1 --jump 0,0 --type wet 1 2"}) {
        const auto out = run(words(bad));
        EXPECT_EQ(out.exitCode, 2) << bad;
        EXPECT_TRUE(out.err.contains(QStringLiteral("usage"))) << bad;
    }
    const auto help = run(words("--help"));
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("solve")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("measure")));
}

TEST(Tool, RealProcessNegativeNumbersAndExitCodes) {
    QProcess p;
    p.start(QStringLiteral(ZENTRAK_TOOL_PATH),
            words("solve 12000 0 -120 0 12000 9000 -120 -90 0 0 0 0 0 9000 0 -90"));
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput(),
              QByteArray(" 0 \n-.01 \n 0 \n 0 \n 0 \n 0 \n 0 \n-.01 \n"));
    p.start(QStringLiteral(ZENTRAK_TOOL_PATH), words("measure"));
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 2);
}
