// A grid file measures only when its coefficients agree with its own marks,
// and its numbers read whole: the files that once loaded ready and measured
// wrongly, through the load, the setup screen and zentrak-tool as a process.

#include "grid/GridAgreement.h"

#include "app/PictureFile.h"
#include "grid/GridFiles.h"
#include "grid/GridSaveLoad.h"
#include "support/GridFixtures.h"
#include "support/TestEnv.h"
#include "support/ToolProcess.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>

using namespace zt;

namespace {

// The test grid saved whole by the program, check buoy where it shows.
QString saveGood(test::TestEnv& env, const QString& name) {
    GridState s = test::solvedTestGrid();
    const QString path = env.path(name);
    EXPECT_TRUE(saveGridFiles(
        s, {1, path, QStringLiteral("good"), QStringLiteral("45.5"), QStringLiteral("12")}));
    return path;
}

// The file with line `line` (from 1) replaced.
QString withLine(test::TestEnv& env, const QString& from, int line, const QString& text,
                 const QString& name) {
    QStringList lines = QString::fromLatin1(test::readAll(from)).split(QStringLiteral("\r\n"));
    lines[line - 1] = text;
    const QString path = env.path(name);
    test::writeAll(path, lines.join(QStringLiteral("\r\n")).toLatin1());
    QFile::copy(checkBuoyFilePath(from), checkBuoyFilePath(path));
    return path;
}

QString refusalOf(const QString& path) {
    GridState s;
    const GridLoadOutcome outcome = loadGridFiles(s, 1, path);
    return gridFileRefusal(s, path, outcome);
}

} // namespace

TEST(GridAgreement, FilesThatOnceMeasuredWronglyAreRefusedEverywhere) {
    test::TestEnv env;
    const QString good = saveGood(env, QStringLiteral("good.ipt"));
    EXPECT_EQ(refusalOf(good), QString());
    const QString c2 = QString::fromLatin1(test::readAll(good)).split(QStringLiteral("\r\n"))[7];
    QString typo = c2;
    // One digit of c2 changed: the coefficients no longer give the marks.
    const qsizetype digit = typo.indexOf(QRegularExpression(QStringLiteral("[1-8]")));
    typo[digit] = QChar(typo[digit].unicode() + 1);

    struct Case {
        QString name;
        int line;
        QString text;
        QString says;
    };
    const Case cases[] = {
        {QStringLiteral("typo.ipt"), 8, typo, QStringLiteral("does not agree with its buoy marks")},
        {QStringLiteral("overflow.ipt"), 8, QStringLiteral(" 1e400 "),
         QStringLiteral("line 8: \"1e400\" is not a number")},
        {QStringLiteral("text.ipt"), 8, QStringLiteral("x.000270816846918141"),
         QStringLiteral("line 8: \"x.000270816846918141\" is not a number")},
        {QStringLiteral("empty.ipt"), 5, QStringLiteral(" 3100 , , 30 , 15 "),
         QStringLiteral("line 5: a number is missing")},
        {QStringLiteral("semicolon.ipt"), 3, QStringLiteral(" 9000 ; 2500 , 60 , 15 "),
         QStringLiteral("is not a number")},
        {QStringLiteral("three.ipt"), 4, QStringLiteral(" 9700 , 6000 , 60 "),
         QStringLiteral("line 4: a buoy line holds four numbers")},
    };
    for (const Case& c : cases) {
        const QString path = withLine(env, good, c.line, c.text, c.name);
        const QString why = refusalOf(path);
        EXPECT_TRUE(why.contains(c.says) && why.contains(path)) << why.toStdString();
        const test::ToolProcess measured =
            test::runToolProcess({QStringLiteral("measure"), QStringLiteral("--grid"), path,
                                  QStringLiteral("6000"), QStringLiteral("4000")});
        EXPECT_EQ(measured.exitCode, 2) << c.name.toStdString();
        EXPECT_TRUE(measured.out.isEmpty()) << measured.out.toStdString();
        EXPECT_TRUE(measured.err.contains(c.says)) << measured.err.toStdString();
        const test::ToolProcess validated =
            test::runToolProcess({QStringLiteral("validate"), QStringLiteral("--grid"), path,
                                  QStringLiteral("--picture-width"), QStringLiteral("9700")});
        EXPECT_NE(validated.exitCode, 0) << c.name.toStdString();
    }
    // The good file measures and validates.
    const test::ToolProcess measured =
        test::runToolProcess({QStringLiteral("measure"), QStringLiteral("--grid"), good,
                              QStringLiteral("6000"), QStringLiteral("4000")});
    EXPECT_EQ(measured.exitCode, 0) << measured.err.toStdString();
    // The typo says which buoy and how far, as the operator sees it.
    const QString typoWhy = refusalOf(env.path(QStringLiteral("typo.ipt")));
    EXPECT_TRUE(typoWhy.contains(QStringLiteral(" buoy is ")) &&
                typoWhy.endsWith(
                    QStringLiteral(" m from its survey. Set the grid up again and Complete it.")))
        << typoWhy.toStdString();
}

TEST(GridAgreement, MarksMovedAndSavedWithoutCompleteDoNotLoadReady) {
    test::TestEnv env;
    GridState s = test::solvedTestGrid();
    for (int i = 1; i <= 4; ++i) // all marks 20 pixels right, as a locked grid moves
        s.buoyScreenX[static_cast<size_t>(i)] += 300;
    s.checkMarkX += 300;
    const QString path = env.path(QStringLiteral("moved.ipt"));
    ASSERT_TRUE(saveGridFiles(
        s, {1, path, QStringLiteral("moved"), QStringLiteral("45.5"), QStringLiteral("12")}));
    const QString why = refusalOf(path);
    EXPECT_TRUE(why.contains(QStringLiteral("does not agree with its buoy marks")))
        << why.toStdString();
    // Within the limits the grid is ready: a check buoy a pixel off passes.
    GridState near = test::solvedTestGrid();
    GridMarks marks = gridMarksOf(near);
    marks.checkSurvey = {45.5, 12};
    EXPECT_TRUE(judgeGrid(near.coefficients(), marks).ready());
    marks.checkScreen.x += 40;
    EXPECT_EQ(judgeGrid(near.coefficients(), marks).fault, GridFault::CheckBuoyOff);
}

TEST(GridAgreement, GridsReadyFollowsTheGridsInUse) {
    GridState s = test::solvedTestGrid();
    s.checkSurveyX = 45.5, s.checkSurveyY = 12;
    s.setGridReady(1, true);
    s.gridCount = 3;
    recountGridsReady(s);
    EXPECT_EQ(s.gridsReady, 0); // grids 2 and 3 are not set up
    s.gridCount = 1;
    recountGridsReady(s);
    EXPECT_EQ(s.gridsReady, 1);
    s.buoyScreenX[1] += 300; // an edit since Complete
    recountGridsReady(s);
    EXPECT_EQ(s.gridsReady, 0);
}

TEST(PictureFile, CutOffBitmapIsRefusedAndLargePicturesLoad) {
    test::TestEnv env;
    QImage picture(640, 360, QImage::Format_RGB32);
    picture.fill(QColor(20, 90, 140));
    const QString whole = env.path(QStringLiteral("setup.bmp"));
    ASSERT_TRUE(picture.save(whole, "BMP"));
    EXPECT_TRUE(readWholePicture(whole).ok());
    const QString half = env.path(QStringLiteral("half.bmp"));
    test::writeAll(half, test::readAll(whole).left(100000));
    const PictureRead cut = readWholePicture(half);
    EXPECT_FALSE(cut.ok());
    EXPECT_EQ(pictureNotLoadedMessage(cut), QStringLiteral("The picture could not be loaded: ") +
                                                half + QStringLiteral(": the file is cut off"));

    // 6000 x 6000 (144 MB decoded) is past Qt's default allocation limit, yet loads.
    QImage large(6000, 6000, QImage::Format_RGB888);
    large.fill(Qt::gray);
    const QString big = env.path(QStringLiteral("big.bmp"));
    ASSERT_TRUE(large.save(big, "BMP"));
    const PictureRead read = readWholePicture(big);
    EXPECT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.image.size(), QSize(6000, 6000));
}

TEST(GridAgreement, AccuracyPngIsWrittenByTheToolProcess) {
    test::TestEnv env;
    const QString good = saveGood(env, QStringLiteral("good.ipt"));
    const QString png = env.path(QStringLiteral("map.png"));
    const test::ToolProcess r = test::runToolProcess(
        {QStringLiteral("accuracy"), QStringLiteral("--grid"), good, QStringLiteral("--png"), png});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage map(png);
    EXPECT_FALSE(map.isNull());
}
