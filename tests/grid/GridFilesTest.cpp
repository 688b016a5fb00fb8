// Grid setup and check buoy files: exact bytes written, the reading rules,
// and the way the values move into the working state and the store.

#include "grid/GridFiles.h"

#include "support/CommaLocale.h"
#include "support/GridFixtures.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <QDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace zt;
using zt::test::readAll;
using zt::test::writeAll;

namespace {

size_t u(int i) {
    return static_cast<size_t>(i);
}

// A camera looking across the landing area: the far buoys sit closer
// together on the picture, so the transform has a real perspective part.
GridState solvedGrid() {
    GridState s;
    EXPECT_TRUE(zt::test::markTestGrid(s));
    return s;
}

bool sameTo15Digits(double a, double b) {
    return std::fabs(a - b) <= std::fabs(a) * 1e-14 + 1e-300;
}

QStringList linesOf(const QByteArray& bytes) {
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

TEST(GridFiles, WritesTheNineteenLinesExactly) {
    GridSetupFile f;
    f.description = QStringLiteral("North camera, dock side");
    f.buoys[1] = {9000, 2500.5, 60, 15};
    f.buoys[2] = {10500, 6000, 60, -0.25};
    f.buoys[3] = {3000, 2400, 30, 15};
    f.buoys[4] = {1500, 5800, 30, 0};
    const double c[9] = {0, 12.5, -0.0075, 0.5, -1.5e-5, 2.25e-7, -3, 0.001, 1};
    for (int n = 1; n <= 8; ++n)
        f.coefficients[n] = c[n];
    f.jumpX = 10.25, f.jumpY = -7.5;
    f.gridNumber = 2;
    const QString expected = QStringLiteral(
        "Initialization Points for file: C:\\grids\\north.ipt\r\n"
        "North camera, dock side\r\n"
        " 9000 , 2500.5 , 60 , 15 \r\n"
        " 10500 , 6000 , 60 ,-.25 \r\n"
        " 3000 , 2400 , 30 , 15 \r\n"
        " 1500 , 5800 , 30 , 0 \r\n"
        " 12.5 \r\n-.0075 \r\n .5 \r\n-1.5E-05 \r\n 2.25E-07 \r\n-3 \r\n .001 \r\n 1 \r\n"
        " 10.25 \r\n-7.5 \r\n 10 \r\n 2 \r\n 2 \r\n");
    EXPECT_EQ(gridSetupFileText(QStringLiteral("C:\\grids\\north.ipt"), f), expected);

    // The typed check buoy survey texts are written as typed.
    EXPECT_EQ(checkBuoyFileText(6185, 3066.5, QStringLiteral("45.5"), QStringLiteral("-12")),
              QStringLiteral(" 6185 \r\n 3066.5 \r\n45.5\r\n-12\r\n"));
    // A line break in a typed text would shift every following line.
    f.description = QStringLiteral("two\r\nlines");
    EXPECT_TRUE(
        gridSetupFileText(QStringLiteral("p"), f)
            .startsWith(QStringLiteral("Initialization Points for file: p\r\ntwo lines\r\n")));
    EXPECT_EQ(checkBuoyFilePath(QStringLiteral("/g/grid.ipt")), QStringLiteral("/g/grid.ipt.cb"));
}

TEST(GridFiles, SaveThenLoadGivesBackTheGrid) {
    test::TestEnv env;
    GridState saved = solvedGrid();
    const QString path = env.path(QStringLiteral("grid2.ipt"));
    const QString description = QStringLiteral("Dock camera, 3rd pole, wide");
    ASSERT_TRUE(saveGridFiles(
        saved, {2, path, description, QStringLiteral("45.5"), QStringLiteral("12,5")}));
    EXPECT_EQ(saved.gridDescription[2], description);
    EXPECT_EQ(saved.gridFileName[2], path);
    EXPECT_EQ(saved.savedJumpX, 10.25);
    EXPECT_EQ(saved.gridStore[2][slot::gridNumber], 2);
    EXPECT_EQ(saved.gridStore[2][slot::coefficient(4)], saved.coefficients()[4]);
    EXPECT_EQ(saved.gridStore[2][slot::checkScreenX], 6185);
    EXPECT_EQ(saved.gridStore[2][slot::checkSurveyY], 12); // "12,5" reads as 12
    EXPECT_EQ(gridSetupFileText(path, gridFileFromStore(saved, 2, description)),
              gridSetupFileText(path, gridFileFromState(saved, 2, description)));

    const QStringList lines = linesOf(readAll(path));
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[0], QStringLiteral("Initialization Points for file: ") + path);
    EXPECT_EQ(lines[1], description);
    EXPECT_TRUE(lines[9].contains(QStringLiteral("E-"))) << lines[9].toStdString();   // c4
    EXPECT_TRUE(lines[10].contains(QStringLiteral("E-"))) << lines[10].toStdString(); // c5
    EXPECT_EQ(readAll(path + QStringLiteral(".cb")),
              QByteArray(" 6185 \r\n 3066 \r\n45.5\r\n12,5\r\n"));

    // A file saved for grid 2 loads into grid 1; line 19 only goes to slot 31.
    GridState loaded;
    loaded.checkPixX = 999; // left from an earlier grid
    const GridLoadOutcome out = loadGridFiles(loaded, 1, path);
    ASSERT_TRUE(out.complete());
    EXPECT_TRUE(out.checkBuoyFound);
    const Coefficients a = saved.coefficients(), b = loaded.coefficients();
    for (int n = 1; n <= 8; ++n)
        EXPECT_TRUE(sameTo15Digits(a[n], b[n])) << "c" << n << " " << a[n] << " " << b[n];
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(loaded.buoyScreenX[u(i)], saved.buoyScreenX[u(i)]);
        EXPECT_EQ(loaded.buoySurveyY[u(i)], saved.buoySurveyY[u(i)]);
    }
    EXPECT_EQ(loaded.gridDescription[1], description);
    EXPECT_EQ(loaded.gridFileName[1], path);
    EXPECT_EQ(loaded.jumpX, 10.25);
    EXPECT_EQ(loaded.jumpY, 7.5);
    EXPECT_EQ(loaded.gridDirection, gridDirectionOf(saved));
    EXPECT_EQ(loaded.checkPixX, 6185);
    EXPECT_EQ(loaded.checkMarkY, 3066);
    EXPECT_EQ(loaded.checkSurveyX, 45.5);
    EXPECT_EQ(loaded.checkSurveyY, 12);
    const GridStoreRow& row = loaded.gridStore[1];
    EXPECT_EQ(row[slot::gridNumber], 2);
    EXPECT_EQ(row[slot::constant10], 10);
    EXPECT_EQ(row[slot::constant2], 2);
    EXPECT_EQ(row[slot::jumpY], 7.5);
    EXPECT_EQ(row[slot::checkSurveyX], 45.5);
    EXPECT_EQ(row[slot::screenY(3)], 2450);
    EXPECT_EQ(loaded.gridStore[2][slot::gridNumber], 0); // row 2 untouched
}

TEST(GridFiles, SavingTwiceReplacesBothFiles) {
    test::TestEnv env;
    const QString path = env.path(QStringLiteral("grid.ipt"));
    writeAll(path, QByteArray(5000, 'x')); // a longer old file
    writeAll(path + QStringLiteral(".cb"), QByteArray(500, 'y'));
    GridState s = solvedGrid();
    ASSERT_TRUE(saveGridFiles(
        s, {1, path, QStringLiteral("first"), QStringLiteral("1"), QStringLiteral("2")}));
    s.jumpX = 11;
    s.checkMarkX = 7000;
    ASSERT_TRUE(saveGridFiles(
        s, {1, path, QStringLiteral("second"), QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_EQ(QString::fromLatin1(readAll(path)),
              gridSetupFileText(path, gridFileFromState(s, 1, QStringLiteral("second"))));
    EXPECT_EQ(readAll(path + QStringLiteral(".cb")), QByteArray(" 7000 \r\n 3066 \r\n3\r\n4\r\n"));
    // No temporary file is left beside them.
    EXPECT_EQ(QDir(env.path(QString())).entryList(QDir::Files).size(), 2);

    // A folder that does not exist: the save stops with the path named.
    const QString bad = env.path(QStringLiteral("missing/grid.ipt"));
    const FileResult r = saveGridFiles(s, {1, bad, QStringLiteral("x"), QString(), QString()});
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.error.contains(bad));
}

TEST(GridFiles, ReadsHandWrittenFilesLeniently) {
    // LF line ends, signs, missing leading zeros, exponents in both letters,
    // blanks around fields, a blank line, no final line end.
    const QString text = QStringLiteral("Initialization Points for file: old.ipt\n"
                                        "  Old grid, typed by hand  \n"
                                        "+9000,  -.5 ,1E3,0\n"
                                        "10500,6000,60,0\n"
                                        "\n"
                                        "3000,2400,30,15\n"
                                        "1500,5800,30,0\n"
                                        ".5\n-2\n3\n-1.25e-5\n4D-06\n6\n7\n8\n"
                                        "10.5\n-7\n10\n2\n3");
    const GridSetupFileRead r = parseGridSetupFile(text);
    ASSERT_EQ(r.status, GridFileStatus::Complete);
    EXPECT_EQ(r.itemsRead, gridItem::count);
    EXPECT_EQ(r.header, QStringLiteral("Initialization Points for file: old.ipt"));
    EXPECT_EQ(r.content.description, QStringLiteral("  Old grid, typed by hand  "));
    EXPECT_EQ(r.content.buoys[1].screenX, 9000);
    EXPECT_EQ(r.content.buoys[1].screenY, -0.5);
    EXPECT_EQ(r.content.buoys[1].surveyX, 1000);
    EXPECT_EQ(r.content.buoys[1].surveyY, 0);
    EXPECT_EQ(r.content.buoys[3].screenY, 2400);
    EXPECT_EQ(r.content.coefficients[1], 0.5);
    EXPECT_EQ(r.content.coefficients[4], -1.25e-5);
    EXPECT_EQ(r.content.coefficients[5], 4e-6);
    EXPECT_EQ(r.content.jumpX, 10.5);
    EXPECT_EQ(r.content.gridNumber, 3);

    // Check buoy file: all four lines are numbers.
    const CheckBuoyFileRead cb =
        parseCheckBuoyFile(QStringLiteral(" 6185 \r\n 3066 \r\n45.5\r\n12,5\r\n"));
    EXPECT_EQ(cb.status, GridFileStatus::Complete);
    EXPECT_EQ(cb.values.surveyX, 45.5);
    EXPECT_EQ(cb.values.surveyY, 12);
    // A comma in a typed text stays on its line; empty typed texts read as 0.
    const CheckBuoyFileRead comma =
        parseCheckBuoyFile(QStringLiteral(" 1 \r\n 2 \r\n12,5\r\n7\r\n"));
    EXPECT_EQ(comma.values.surveyX, 12);
    EXPECT_EQ(comma.values.surveyY, 7);
    const CheckBuoyFileRead empty =
        parseCheckBuoyFile(checkBuoyFileText(0, 0, QString(), QString()));
    EXPECT_EQ(empty.status, GridFileStatus::Complete);
    EXPECT_EQ(empty.values.surveyY, 0);
    EXPECT_EQ(parseCheckBuoyFile(QStringLiteral(" 1 \r\n 2 \r\n")).itemsRead, 2);
    EXPECT_EQ(readCheckBuoyFile(QStringLiteral("/no/such.cb")).status, GridFileStatus::Unreadable);
}

TEST(GridFiles, FileEndingEarlyChangesNothing) {
    test::TestEnv env;
    const QString path = env.path(QStringLiteral("short.ipt"));
    // Ends after c3 (line 9): loading it over a working grid must not leave
    // new buoys and c1..c3 beside the old c4..c8.
    writeAll(path, QByteArray("Initialization Points for file: short.ipt\r\nshort one\r\n"
                              " 1 , 2 , 3 , 4 \r\n 5 , 6 , 7 , 8 \r\n 9 , 10 , 11 , 12 \r\n"
                              " 13 , 14 , 15 , 16 \r\n .1 \r\n .2 \r\n .3 \r\n"));
    writeAll(path + QStringLiteral(".cb"), QByteArray(" 100 \r\n 200 \r\n1\r\n2\r\n"));
    GridState s = solvedGrid();
    storeWorkingGrid(s, 3);
    s.gridDescription[3] = QStringLiteral("good one");
    s.checkPixX = 321;
    const GridState before = s;
    const GridLoadOutcome out = loadGridFiles(s, 3, path);
    EXPECT_EQ(out.setupStatus, GridFileStatus::Incomplete);
    EXPECT_EQ(readGridSetupFile(path).itemsRead, gridItem::coefficient(3));
    EXPECT_EQ(s.gridDescription[3], QStringLiteral("good one"));
    EXPECT_EQ(s.buoySurveyY, before.buoySurveyY);
    EXPECT_EQ(s.coefficients().c, before.coefficients().c);
    EXPECT_EQ(s.gridStore, before.gridStore);
    EXPECT_EQ(s.checkPixX, 321);

    // Only one line: nothing but the header was read.
    EXPECT_EQ(parseGridSetupFile(QStringLiteral("Initialization Points")).itemsRead, 1);
    EXPECT_EQ(parseGridSetupFile(QString()).itemsRead, 0);
    const GridSetupFileRead missing = readGridSetupFile(env.path(QStringLiteral("none.ipt")));
    EXPECT_EQ(missing.status, GridFileStatus::Unreadable);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("none.ipt")));
}

TEST(GridFiles, MissingCheckBuoyFileLeavesNoCheckBuoy) {
    test::TestEnv env;
    GridState s = solvedGrid();
    s.savedJumpX = 10.25;
    const QString path = env.path(QStringLiteral("old.ipt"));
    ASSERT_TRUE(writeGridSetupFile(path, gridFileFromState(s, 1, QStringLiteral("old"))));
    GridState loaded;
    loaded.checkPixX = loaded.checkMarkX = 500; // from another grid
    loaded.checkSurveyX = 40;
    loaded.gridStore[2][slot::checkScreenX] = 500;
    const GridLoadOutcome out = loadGridFiles(loaded, 2, path);
    EXPECT_TRUE(out.complete());
    EXPECT_FALSE(out.checkBuoyFound);
    EXPECT_EQ(loaded.checkPixX, 0);
    EXPECT_EQ(loaded.checkMarkX, 0);
    EXPECT_EQ(loaded.checkSurveyX, 0);
    EXPECT_EQ(loaded.gridStore[2][slot::checkScreenX], 0);
    EXPECT_EQ(loaded.jumpX, 10.25);
}

TEST(GridFiles, CommaLocaleWritesAndReadsTheSameFiles) {
    test::TestEnv env;
    GridState s = solvedGrid();
    const QString path = env.path(QStringLiteral("grid.ipt"));
    ASSERT_TRUE(saveGridFiles(
        s, {1, path, QStringLiteral("d"), QStringLiteral("45.5"), QStringLiteral("12")}));
    const QByteArray setupBytes = readAll(path);
    const QByteArray checkBytes = readAll(checkBuoyFilePath(path));

    ZT_UNDER_COMMA_LOCALE(comma);
    // The same bytes as under the C locale: the point, never a comma.
    ASSERT_TRUE(saveGridFiles(
        s, {1, path, QStringLiteral("d"), QStringLiteral("45.5"), QStringLiteral("12")}));
    EXPECT_EQ(readAll(path), setupBytes);
    EXPECT_EQ(readAll(checkBuoyFilePath(path)), checkBytes);
    const QStringList lines = linesOf(setupBytes);
    ASSERT_EQ(lines.size(), 19);
    for (int i = 2; i < 19; ++i)
        EXPECT_EQ(lines[i].count(QLatin1Char(',')), i < 6 ? 3 : 0) << lines[i].toStdString();
    EXPECT_FALSE(checkBytes.contains(','));

    // A file with decimals everywhere reads whole, not cut at the point.
    writeAll(path,
             QByteArray("Initialization Points for file: grid.ipt\r\nd\r\n"
                        " 9000.5 , 2500 , 30.5 , 15.25 \r\n 1 , 2 , 3 , 4 \r\n"
                        " 5 , 6 , 7 , 8 \r\n 9 , 10 , 11 , 12 \r\n"
                        "-52.25 \r\n .0125 \r\n-.003 \r\n 6.5E-08 \r\n-1.5E-05 \r\n"
                        " 2.5 \r\n .001 \r\n .0075 \r\n 1.5 \r\n-7.5 \r\n 10 \r\n 2 \r\n 1 \r\n"));
    writeAll(checkBuoyFilePath(path), QByteArray(" 6185.5 \r\n 3066 \r\n45.5\r\n12.75\r\n"));
    GridState loaded;
    const GridLoadOutcome out = loadGridFiles(loaded, 1, path);
    ASSERT_TRUE(out.complete());
    ASSERT_TRUE(out.checkBuoyFound);
    EXPECT_EQ(loaded.buoyScreenX[1], 9000.5);
    EXPECT_EQ(loaded.buoySurveyX[1], 30.5);
    EXPECT_EQ(loaded.buoySurveyY[1], 15.25);
    const Coefficients c = loaded.coefficients();
    EXPECT_EQ(c[1], -52.25);
    EXPECT_EQ(c[2], 0.0125);
    EXPECT_EQ(c[4], 6.5e-8);
    EXPECT_EQ(c[5], -1.5e-5);
    EXPECT_EQ(loaded.jumpX, 1.5);
    EXPECT_EQ(loaded.jumpY, -7.5);
    EXPECT_EQ(loaded.checkPixX, 6185.5);
    EXPECT_EQ(loaded.checkSurveyY, 12.75);
}
