#include "grid/GridFiles.h"
#include "support/CommaLocale.h"
#include "support/GridFixtures.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"
#include "tool/Commands.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <cmath>
#include <gtest/gtest.h>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using zt::tool::run;

namespace {

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

struct ToolRun {
    QByteArray out, err;
    int exitCode = -1;
};

// zentrak-tool as its own process, under the given locale.
ToolRun runTool(const QStringList& args, const QString& locale) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZENTRAK_TOOL_PATH), args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.readAllStandardOutput(), p.readAllStandardError(), p.exitCode()};
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
    // What measure prints, with units and the correction in the distance.
    for (const char* said : {"water X in meters", "water Y in meters", "jump distance in meters",
                             "from the jump point", "2.1 m normal", "1.9 m", "0 barefoot"})
        EXPECT_TRUE(help.out.simplified().contains(QLatin1String(said))) << said;
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

TEST(Tool, CommaLocaleStillPrintsAndReadsThePoint) {
    if (!zt::test::commaLocaleAvailable())
        GTEST_SKIP() << zt::test::commaLocaleName << " is not installed";
    const QString comma = QString::fromLatin1(zt::test::commaLocaleName);
    const QStringList solveArgs = words("solve 9000 2500 60 15 9700 6000 60 0 "
                                        "3100 2450 30 15 2300 6050 30 0");
    const ToolRun solved = runTool(solveArgs, comma);
    EXPECT_EQ(solved.exitCode, 0) << solved.err.toStdString();
    EXPECT_EQ(QString::fromLatin1(solved.out), run(solveArgs).out);
    EXPECT_TRUE(solved.out.contains("E-")) << solved.out.toStdString();
    EXPECT_FALSE(solved.out.contains(','));

    // A grid file with decimals and exponents measures as under the C locale.
    zt::test::TestEnv env;
    zt::GridState s = zt::test::solvedTestGrid();
    s.jumpX = 1.5, s.jumpY = 30.5;
    const QString path = env.path(QStringLiteral("grid.ipt"));
    ASSERT_TRUE(zt::saveGridFiles(
        s, {1, path, QStringLiteral("g"), QStringLiteral("45.5"), QStringLiteral("12")}));
    const QStringList measureArgs = {QStringLiteral("measure"), QStringLiteral("--grid"), path,
                                     QStringLiteral("6120.5"), QStringLiteral("4230")};
    const ToolRun measured = runTool(measureArgs, comma);
    EXPECT_EQ(measured.exitCode, 0) << measured.err.toStdString();
    EXPECT_EQ(QString::fromLatin1(measured.out), run(measureArgs).out);
    EXPECT_EQ(measured.out.count(' '), 2);
    EXPECT_FALSE(measured.out.contains(','));
    const ToolRun byArgs =
        runTool(words("measure --coefficients 0,1.5,0,0,0,0,0,1 --jump 0.5,0 2.5 4"), comma);
    EXPECT_EQ(byArgs.out, QByteArray("3.75 4 7.2538820320220765\n"));
}

namespace {

// The test camera's grid saved with a check buoy marked where the grid
// predicts it (within a pixel).
QString savedTestGrid(zt::test::TestEnv& env, double checkOffset = 0) {
    zt::GridState s;
    EXPECT_TRUE(zt::test::markTestGrid(s));
    const auto at = zt::inverseTransform(s.coefficients(), 45.5, 12);
    s.checkMarkX = std::round(at->x) + checkOffset, s.checkMarkY = std::round(at->y);
    const QString path = env.path(QStringLiteral("north.ipt"));
    EXPECT_TRUE(zt::saveGridFiles(s, {1, path, QStringLiteral("north camera"),
                                      QStringLiteral("45.5"), QStringLiteral("12")}));
    return path;
}

} // namespace

TEST(Tool, ValidatePrintsWhatCompleteLogsAndShows) {
    zt::test::TestEnv env;
    const QString grid = savedTestGrid(env);
    auto out = run({QStringLiteral("validate"), QStringLiteral("--grid"), grid,
                    QStringLiteral("--picture-width"), QStringLiteral("9700")});
    EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
    EXPECT_EQ(out.out,
              QStringLiteral("check buoy x = 45.5\ncheck buoy y = 12\n"
                             "check buoy on screen x = 45.4999467748123\n"
                             "check buoy on screen y = 11.9995706025004\n"
                             "left angle= -14.7626169692944 degrees\nleft position = 2300\n"
                             "right angle= 13.7184599461678 degrees\nright position = 9700\n"
                             "Field of view  = 28.5 degrees\nScreen width of Grid  = 76%\n"
                             "Screen width  = 9700\n"
                             "message: Warning - Grid is 76% which is less than 80% of screen "
                             "width.  Zoom your camera until the grid nearly fills the screen.\n"
                             "message: Grid is greater than 75% so continue\n"
                             "grid 1 OK and loaded - not saved\n"
                             "Check if Setup OK\n1 grid - all loaded on OK\n"
                             "If setup is OK there should be a message above this saying so "
                             "otherwise - not OK\n"
                             "Front set-up ratio = 76.2886597938144\n"
                             "Back set-up ratio = 60.8247422680412\n"
                             "message: Front ratio is 76%  Zoom camera in until front is > 85%\n"
                             "ready\n"));
    EXPECT_FALSE(QFile::exists(env.path(QStringLiteral("results.txt"))));

    // On a wider picture the grid is too narrow: the warning, the stop.
    out = run({QStringLiteral("validate"), QStringLiteral("--grid"), grid,
               QStringLiteral("--picture-width"), QStringLiteral("12000")});
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_TRUE(out.out.endsWith(
        QStringLiteral("Screen width  = 12000\nmessage: Warning - Grid is 61% which is less than "
                       "80% of screen width.  Zoom your camera until the grid nearly fills the "
                       "screen.\nnot ready\n")))
        << out.out.toStdString();
    out = run({QStringLiteral("validate"), QStringLiteral("--grid"), grid,
               QStringLiteral("--picture-width"), QStringLiteral("12000"),
               QStringLiteral("--allow-invalid")});
    EXPECT_EQ(out.exitCode, 0);
    EXPECT_TRUE(out.out.contains(QStringLiteral(
        "message: Invalid Configurations allowed for test\ngrid 1 OK and loaded - not saved\n")));
    EXPECT_TRUE(out.out.contains(QStringLiteral(
        "message: Front ratio is 61%  Zoom camera in until front is > 85%\nready\n")));

    // A check buoy marked two pixels off: the file's coefficients do not
    // agree with it, as a load finds; nothing is re-solved after that stop.
    const QString off = savedTestGrid(env, 30);
    out = run({QStringLiteral("validate"), QStringLiteral("--grid"), off,
               QStringLiteral("--picture-width"), QStringLiteral("9700")});
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_TRUE(out.out.startsWith(QStringLiteral("message: The grid in ") + off +
                                   QStringLiteral(" does not agree with its buoy marks: the "
                                                  "check buoy mark is 30 twips from where the "
                                                  "grid puts its survey.")))
        << out.out.toStdString();
    EXPECT_FALSE(out.out.contains(QStringLiteral("Front set-up ratio")));
    EXPECT_TRUE(out.out.endsWith(QStringLiteral("not ready\n")));

    out = run({QStringLiteral("validate"), QStringLiteral("--grid"),
               env.path(QStringLiteral("no.ipt")), QStringLiteral("--picture-width"),
               QStringLiteral("9000")});
    EXPECT_EQ(out.exitCode, 2);
    out = run(words("validate --grid x.ipt"));
    EXPECT_EQ(out.exitCode, 2);
}

#ifndef Q_OS_WIN
// Each as a process: a read that waited on the pipe or filled the memory
// from /dev/zero would never end, and the run reports no exit code.
TEST(Tool, PipesAndDevicesForFilesEndAtOnceWithTheirName) {
    zt::test::TestEnv env;
    const QString pipe = env.path(QStringLiteral("grid.pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ToolRun r = runTool({QStringLiteral("measure"), QStringLiteral("--grid"), pipe,
                         QStringLiteral("100"), QStringLiteral("200")},
                        QStringLiteral("C"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, (QStringLiteral("The grid setup file could not be read: ") + pipe +
                      QStringLiteral(" is a pipe, not a file\n"))
                         .toLocal8Bit());
    r = runTool({QStringLiteral("measure"), QStringLiteral("--grid"), QStringLiteral("/dev/zero"),
                 QStringLiteral("100"), QStringLiteral("200")},
                QStringLiteral("C"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err,
              QByteArray("The grid setup file could not be read: /dev/zero is a device, not a "
                         "file\n"));

    const QString grid = savedTestGrid(env);
    QFile::remove(grid + QStringLiteral(".cb"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(grid + QStringLiteral(".cb")).constData(), 0600), 0);
    r = runTool({QStringLiteral("validate"), QStringLiteral("--grid"), grid,
                 QStringLiteral("--picture-width"), QStringLiteral("9000")},
                QStringLiteral("C"));
    EXPECT_NE(r.exitCode, -1); // ended
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE((r.out + r.err).contains(".cb is a pipe, not a file")) << r.err.toStdString();
}
#endif

TEST(Tool, AnOptionGivenTwiceIsAUsageError) {
    auto out = run(words("measure --grid a.ipt --grid b.ipt 1 2"));
    EXPECT_EQ(out.exitCode, 2);
    EXPECT_TRUE(out.err.startsWith(QStringLiteral("zentrak-tool: --grid is given twice\n")));
    out = run(words("measure --coefficients 0,1,0,0,0,0,0,1 --jump 0,0 --type sitski "
                    "--type normal 3 4"));
    EXPECT_EQ(out.exitCode, 2);
    EXPECT_TRUE(out.out.isEmpty());
}

TEST(Tool, AccuracyPrintsTheMeshAndClassesAndDrawsTheMap) {
    zt::test::TestEnv env;
    const QString grid = savedTestGrid(env);
    const QString png = env.path(QStringLiteral("map.png"));
    const auto out = run(
        {QStringLiteral("accuracy"), QStringLiteral("--grid"), grid, QStringLiteral("--png"), png});
    EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
    const QStringList lines = out.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 49 + 1 + 7 + 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("xpix: 3100  ypix: 2450  x: ")));
    EXPECT_TRUE(lines[48].startsWith(QStringLiteral("xpix: 9700  ypix: 6000  x: ")));
    EXPECT_EQ(lines[49], QString());
    for (int d = 0; d < 7; ++d)
        EXPECT_EQ(lines[50 + d].split(QLatin1Char(' ')).size(), 7) << lines[50 + d].toStdString();
    // This camera resolves 7.5 cm per pixel or better all over its grid.
    EXPECT_EQ(lines[50], QStringLiteral("R R R R R R R"));
    const QImage map(png);
    ASSERT_FALSE(map.isNull());
    EXPECT_GE(map.width(), 800);
    // Inside the grid the water colour is shaded.
    EXPECT_NE(map.pixelColor(400, 280), QColor(40, 70, 100));
}

TEST(Tool, DevicesListsCamerasThenMicrophones) {
    const auto out = run(words("devices --test-camera"));
    EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
    const QStringList lines = out.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    // Whatever this computer has, every video line comes before every audio line.
    qsizetype firstAudio = lines.size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].startsWith(QLatin1String("video: ")) ||
                    lines[i].startsWith(QLatin1String("audio: ")))
            << lines[i].toStdString();
        if (lines[i].startsWith(QLatin1String("audio: ")))
            firstAudio = qMin(firstAudio, i);
        else
            EXPECT_LT(i, firstAudio) << lines[i].toStdString();
    }
    EXPECT_TRUE(lines.contains(QStringLiteral("video: Zentrak Test Camera")));
    EXPECT_TRUE(lines.contains(QStringLiteral("audio: Zentrak Test Tone (440 Hz)")));
    EXPECT_EQ(run(words("devices --all")).exitCode, 2);
}

TEST(Tool, RecordPrintsItsCountersAndRefusesBadArguments) {
    zt::test::TestEnv env;
    const QString clip = env.path(QStringLiteral("tool.avi"));
    const auto out = run(words("record --device test --seconds 1 --size 320x240 --rate 25 "
                               "--compression ffv1 --audio test") +
                         QStringList{clip});
    ASSERT_EQ(out.exitCode, 0) << out.err.toStdString();
    const QStringList lines = out.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    const char* names[] = {"frames recorded: ", "frames dropped: ", "samples: ", "time (ms): "};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(lines[i].startsWith(QLatin1String(names[i]))) << lines[i].toStdString();
    EXPECT_NEAR(lines[0].section(QLatin1Char(' '), 2).toInt(), 25, 2);
    EXPECT_EQ(lines[1], QStringLiteral("frames dropped: 0"));
    EXPECT_NEAR(lines[2].section(QLatin1Char(' '), 1).toInt(), 44100, 8000);
    const auto info = run(QStringList{QStringLiteral("avi-info"), clip});
    EXPECT_TRUE(info.out.contains(QStringLiteral("Width: 320"))) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("Rate: 25fps")));

    for (const char* bad :
         {"record", "record out.avi", "record --device test",
          "record --device test --size 9x9 a.avi", "record --device test --rate 0 a.avi",
          "record --device test --compression h264 a.avi",
          "record --device test --seconds -1 a.avi", "record --device test a.avi b.avi",
          "record --device test --frobnicate 1 a.avi"}) {
        const auto r = run(words(bad));
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage"))) << bad;
    }
    const auto noCamera = run(words("record --device NoSuchCamera a.avi"));
    EXPECT_EQ(noCamera.exitCode, 1);
    EXPECT_TRUE(noCamera.err.contains(QStringLiteral("NoSuchCamera")));
    const auto help = run(words("--help"));
    for (const char* said : {"devices", "record --device test|NAME", "frames recorded: N",
                             "time (ms): T", "exits 1 with the reason"})
        EXPECT_TRUE(help.out.simplified().contains(QLatin1String(said))) << said;
}
