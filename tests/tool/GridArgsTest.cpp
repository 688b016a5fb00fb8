// zentrak-tool measure --grid FILE: the grid comes from a setup file.

#include "grid/GridFiles.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"
#include "tool/Commands.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(ToolMeasure, TakesTheGridFromASetupFile) {
    test::TestEnv env;
    // X = a / 100, Y = b / 100; jump point at the origin.
    GridSetupFile f;
    f.coefficients[2] = 0.01;
    f.coefficients[8] = 0.01;
    f.jumpX = 0, f.jumpY = 0;
    // Buoys and check buoy where X = a / 100 puts them: the grid is ready.
    for (int i = 1; i <= 4; ++i)
        f.buoys[static_cast<size_t>(i)] = {100.0 * i, 200.0 * i, 1.0 * i, 2.0 * i};
    const QString path = env.path(QStringLiteral("grid.ipt"));
    ASSERT_TRUE(writeGridSetupFile(path, f));
    ASSERT_TRUE(writeCheckBuoyFile(checkBuoyFilePath(path), 500, 600, QStringLiteral("5"),
                                   QStringLiteral("6")));
    const tool::Output viaFile = tool::run({QStringLiteral("measure"), QStringLiteral("--grid"),
                                            path, QStringLiteral("4326"), QStringLiteral("0")});
    EXPECT_EQ(viaFile.exitCode, 0) << viaFile.err.toStdString();
    const tool::Output viaArgs =
        tool::run({QStringLiteral("measure"), QStringLiteral("--coefficients"),
                   QStringLiteral("0,0.01,0,0,0,0,0,0.01"), QStringLiteral("--jump"),
                   QStringLiteral("0,0"), QStringLiteral("4326"), QStringLiteral("0")});
    EXPECT_EQ(viaFile.out, viaArgs.out);
    EXPECT_EQ(viaFile.out, QStringLiteral("43.259999999999998 0 45.359999999999999\n"));

    // The historic hand-written form: LF ends, no leading zeros, exponents.
    const QString old = env.path(QStringLiteral("old.ipt"));
    test::writeAll(old, "Initialization Points for file: old.ipt\nold\n"
                        "100,200,1,2\n300,400,3,4\n500,600,5,6\n700,800,7,8\n"
                        "0\n.01\n0\n0E+00\n-0E-05\n0\n0\n1E-02\n10\n0\n10\n2\n1\n");
    test::writeAll(old + QStringLiteral(".cb"), "450\n300\n4.5\n3\n");
    const tool::Output viaOld = tool::run({QStringLiteral("measure"), QStringLiteral("--grid"), old,
                                           QStringLiteral("--type"), QStringLiteral("barefoot"),
                                           QStringLiteral("1000"), QStringLiteral("0")});
    EXPECT_EQ(viaOld.exitCode, 0) << viaOld.err.toStdString();
    EXPECT_EQ(viaOld.out, QStringLiteral("10 0 0\n"));

    // A missing file and a file ending early are refused as the program
    // refuses them: exit 2 with the path.
    const QString missing = env.path(QStringLiteral("none.ipt"));
    const tool::Output noFile = tool::run({QStringLiteral("measure"), QStringLiteral("--grid"),
                                           missing, QStringLiteral("1"), QStringLiteral("2")});
    EXPECT_EQ(noFile.exitCode, 2);
    EXPECT_TRUE(noFile.err.contains(missing));
    const QString shortFile = env.path(QStringLiteral("short.ipt"));
    test::writeAll(shortFile, "Initialization Points\r\nx\r\n1,2,3,4\r\n");
    const tool::Output early = tool::run({QStringLiteral("measure"), QStringLiteral("--grid"),
                                          shortFile, QStringLiteral("1"), QStringLiteral("2")});
    EXPECT_EQ(early.exitCode, 2);
    EXPECT_TRUE(early.err.contains(QStringLiteral("ends before")));
}

TEST(ToolMeasure, GridThatCannotMeasureIsRefusedWithTheReason) {
    test::TestEnv env;
    GridSetupFile zero; // all eight coefficients 0, as saved before Complete
    zero.jumpX = 1.5;
    const QString path = env.path(QStringLiteral("zero.ipt"));
    ASSERT_TRUE(writeGridSetupFile(path, zero));
    const tool::Output viaFile = tool::run({QStringLiteral("measure"), QStringLiteral("--grid"),
                                            path, QStringLiteral("4800"), QStringLiteral("3975")});
    EXPECT_EQ(viaFile.exitCode, 2); // a file the program refuses
    EXPECT_TRUE(viaFile.out.isEmpty()) << viaFile.out.toStdString();
    EXPECT_TRUE(viaFile.err.contains(path)) << viaFile.err.toStdString();
    EXPECT_TRUE(viaFile.err.contains(QStringLiteral("all eight coefficients are 0")))
        << viaFile.err.toStdString();

    const tool::Output singular =
        tool::run({QStringLiteral("measure"), QStringLiteral("--coefficients"),
                   QStringLiteral("1,2,3,0,0,2,4,6"), QStringLiteral("--jump"),
                   QStringLiteral("0,0"), QStringLiteral("4800"), QStringLiteral("3975")});
    EXPECT_EQ(singular.exitCode, 1);
    EXPECT_TRUE(singular.out.isEmpty());
    EXPECT_TRUE(singular.err.contains(QStringLiteral("cannot measure")))
        << singular.err.toStdString();
    EXPECT_TRUE(singular.err.contains(QStringLiteral("singular"))) << singular.err.toStdString();
}
