// zentrak-tool find-buoys and camera-check as processes, on the demo
// lake's files with a shifted camera.

#include "grid/GridFiles.h"
#include "support/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QLineF>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using namespace zt;

namespace {

// "key: x y" lines.
std::map<QString, QPointF> pointsOf(const QString& text) {
    std::map<QString, QPointF> points;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        const QStringList v = line.mid(colon + 2).split(QLatin1Char(' '));
        if (colon > 0 && v.size() == 2)
            points[line.left(colon)] = QPointF(v[0].toDouble(), v[1].toDouble());
    }
    return points;
}

class VisionTool : public testing::Test {
protected:
    void SetUp() override {
        const test::ToolProcess demo = test::runToolProcess(
            {QStringLiteral("demo"), QStringLiteral("--out"), folder(), QStringLiteral("--size"),
             QStringLiteral("640x360"), QStringLiteral("--rate"), QStringLiteral("10"),
             QStringLiteral("--camera-shift"), QStringLiteral("2.5,-1")});
        ASSERT_EQ(demo.exitCode, 0) << demo.err.toStdString();
        QFile f(file(QStringLiteral("demo-truth.txt")));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        truth = pointsOf(QString::fromLatin1(f.readAll()));
        ASSERT_TRUE(truth.count(QStringLiteral("camera shift")));
    }
    QString folder() const { return dir.path(); }
    QString file(const QString& name) const { return dir.filePath(name); }

    // The grid an official sets up on the demo setup picture, or one in
    // the sky.
    QString writeGrid(bool inTheSky = false) {
        GridSetupFile g;
        const char* names[] = {"", "upper right", "lower right", "upper left", "lower left"};
        for (size_t i = 1; i <= 4; ++i) {
            const QPointF t = truth.at(QString::fromLatin1(names[i]));
            g.buoys[i].screenX = std::round(t.x() / 15) * 15;
            g.buoys[i].screenY = std::round(t.y() / 15) * 15;
            if (inTheSky)
                g.buoys[i].screenY = 150 + (i % 2) * 300;
        }
        const QString path = file(QStringLiteral("demo.ipt"));
        EXPECT_TRUE(writeGridSetupFile(path, g));
        const QPointF c = truth.at(QStringLiteral("check buoy"));
        EXPECT_TRUE(writeCheckBuoyFile(checkBuoyFilePath(path), c.x(), c.y(), QStringLiteral("45"),
                                       QStringLiteral("1.5")));
        return path;
    }

    QTemporaryDir dir;
    std::map<QString, QPointF> truth;
};

} // namespace

TEST_F(VisionTool, FindBuoysProposesTheTruth) {
    const test::ToolProcess r = test::runToolProcess(
        {QStringLiteral("find-buoys"), file(QStringLiteral("demo-setup.bmp"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(QLatin1Char('\n')), 10) << r.out.toStdString();
    const auto found = pointsOf(r.out);
    for (const char* name :
         {"upper right", "lower right", "upper left", "lower left", "check buoy"})
        EXPECT_LT(QLineF(found.at(QString::fromLatin1(name)), truth.at(QString::fromLatin1(name)))
                      .length(),
                  7.5)
            << name;
    const test::ToolProcess none =
        test::runToolProcess({QStringLiteral("find-buoys"), file(QStringLiteral("nothing"))});
    EXPECT_EQ(none.exitCode, 2);
}

TEST_F(VisionTool, CameraCheckSaysMovedForTheShiftedClipAndSteadyOnTheSetup) {
    const QString grid = writeGrid();
    const QString frame = file(QStringLiteral("frame.bmp"));
    ASSERT_EQ(
        test::runToolProcess({QStringLiteral("extract-frame"),
                              file(QStringLiteral("DEMOjump1.avi")), QStringLiteral("3"), frame})
            .exitCode,
        0);
    const QString setup = file(QStringLiteral("demo-setup.bmp"));
    const test::ToolProcess moved =
        test::runToolProcess({QStringLiteral("camera-check"), QStringLiteral("--grid"), grid,
                              QStringLiteral("--setup"), setup, frame});
    EXPECT_EQ(moved.exitCode, 1) << moved.out.toStdString() << moved.err.toStdString();
    EXPECT_TRUE(moved.out.endsWith(QLatin1String("\nmoved\n"))) << moved.out.toStdString();
    const auto shifts = pointsOf(QString(moved.out).replace(
        QRegularExpression(QStringLiteral(" [0-9.]+\n")), QStringLiteral("\n")));
    ASSERT_EQ(shifts.size(), 5u) << moved.out.toStdString();
    for (const auto& [name, s] : shifts) // the clip is compressed
        EXPECT_LT(QLineF(s, QPointF(2.5, -1)).length(), 0.5) << name.toStdString();

    const test::ToolProcess steady =
        test::runToolProcess({QStringLiteral("camera-check"), QStringLiteral("--grid"), grid,
                              QStringLiteral("--setup"), setup, setup});
    EXPECT_EQ(steady.exitCode, 0);
    EXPECT_TRUE(steady.out.startsWith(QLatin1String("upper right: 0.00 ")));
    EXPECT_TRUE(steady.out.endsWith(QLatin1String(" 1.000\nsteady\n"))) << steady.out.toStdString();
    // No patches beside the grid and no setup picture: nothing to check.
    const test::ToolProcess none = test::runToolProcess(
        {QStringLiteral("camera-check"), QStringLiteral("--grid"), grid, frame});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_FALSE(none.err.isEmpty());
}

TEST_F(VisionTool, ProposeContactFindsTheSplashOfTheClip) {
    QFile f(file(QStringLiteral("demo-truth.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString truthText = QString::fromLatin1(f.readAll());
    const qsizetype at = truthText.indexOf(QLatin1String("contact frame: "));
    ASSERT_GE(at, 0);
    const int contact = truthText.mid(at + 15).section(QLatin1Char('\n'), 0, 0).toInt();
    const QString clip = file(QStringLiteral("DEMOjump1.avi"));
    const test::ToolProcess r = test::runToolProcess(
        {QStringLiteral("propose-contact"), QStringLiteral("--grid"), writeGrid(), clip});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("contact frame: ") + QString::number(contact) + '\n');
    const test::ToolProcess sky = test::runToolProcess(
        {QStringLiteral("propose-contact"), QStringLiteral("--grid"), writeGrid(true), clip});
    EXPECT_EQ(sky.exitCode, 1);
    EXPECT_TRUE(sky.err.startsWith(QLatin1String("No contact frame proposed: ")));
    const test::ToolProcess noClip =
        test::runToolProcess({QStringLiteral("propose-contact"), QStringLiteral("--grid"),
                              writeGrid(), file(QStringLiteral("none.avi"))});
    EXPECT_EQ(noClip.exitCode, 1);
}
