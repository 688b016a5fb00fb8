// The camera-moved guard on the demo lake: the setup picture against later
// pictures from a camera shifted by known amounts.

#include "vision/CameraGuard.h"

#include "Seeds.h"
#include "demo/DemoLake.h"
#include "grid/GridFiles.h"
#include "grid/GridPatches.h"

#include <QFile>
#include <QLineF>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <numbers>
#include <random>

using namespace zt;
using namespace zt::vision;

namespace {

std::vector<GuardMark> marksOf(const DemoLake& lake) {
    const DemoSurvey& v = lake.survey();
    std::vector<GuardMark> marks;
    for (const auto& [name, b] : {std::pair{"upper right", v.upperRight},
                                  {"lower right", v.lowerRight},
                                  {"upper left", v.upperLeft},
                                  {"lower left", v.lowerLeft},
                                  {"check buoy", v.checkBuoy}}) {
        // Marked as an official clicks: on a whole pixel.
        const QPointF at = *lake.project(b.x, b.y);
        marks.push_back({QString::fromLatin1(name),
                         QPointF(std::floor(at.x()) + 0.5, std::floor(at.y()) + 0.5)});
    }
    return marks;
}

struct Scene {
    DemoLake lake;
    CameraGuard guard;
    explicit Scene(unsigned seed, QSize size = QSize(1280, 720))
        : lake(size, seed), guard(lake.render(0.2, false), marksOf(lake)) {}
    // A later picture, with the skier, from a camera moved by shift.
    CameraCheck checkAt(QPointF shift, double t) {
        lake.setCameraShift(shift);
        const CameraCheck c = guard.check(lake.render(t));
        lake.setCameraShift(QPointF());
        return c;
    }
};

} // namespace

TEST(CameraGuard, SilentUpToHalfAPixelWarnsFromOneAndAHalfAndMeasuresTheShift) {
    const unsigned seed = zt::test::runSeed("camera guard");
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> angle(0, 2 * std::numbers::pi), time(0, 40);
    constexpr double clearlySeen = 0.93;
    double worst = 0, lowestScore = 1;
    for (int run = 0; run < 4; ++run) {
        Scene scene(random(), run % 2 ? QSize(1280, 720) : QSize(960, 540));
        ASSERT_FALSE(scene.guard.empty());
        for (const double length : {0.0, 0.5, 1.5, 3.0, 9.0}) {
            SCOPED_TRACE(testing::Message() << "run " << run << " shift " << length);
            const double a = angle(random);
            const QPointF shift(length * std::cos(a), length * std::sin(a));
            const CameraCheck c = scene.checkAt(shift, time(random));
            ASSERT_EQ(c.buoys.size(), 5u);
            EXPECT_EQ(c.moved, length > 1);
            int found = 0;
            for (const BuoyShift& b : c.buoys) {
                if (!b.found) // the skier or the splash in front of it
                    continue;
                ++found;
                lowestScore = std::min(lowestScore, b.score);
                // A buoy the skier or the splash half covers still counts as
                // found, but its shift is only as good as what is left of
                // it: the bound holds for the buoys seen clearly.
                if (b.score < clearlySeen)
                    continue;
                const double error = std::hypot(b.dx - shift.x(), b.dy - shift.y());
                worst = std::max(worst, error);
                EXPECT_LT(error, 0.3)
                    << b.name.toStdString() << " " << b.dx << "," << b.dy << " score " << b.score
                    << " truth " << shift.x() << "," << shift.y();
            }
            // The skier and its splash may hide two buoys at once; the
            // verdict stands on more than half of them.
            EXPECT_GE(found, 3);
        }
    }
    std::cout << "largest shift error " << worst << " px, lowest score found " << lowestScore
              << std::endl;
}

TEST(CameraGuard, HiddenBuoysAndFarMovesAndTheWarningText) {
    Scene scene(11);
    // One buoy behind a wave: not found, the others still say steady.
    QImage picture = scene.lake.render(3);
    const QPointF hidden = marksOf(scene.lake)[2].at;
    QPainter(&picture).fillRect(QRectF(hidden - QPointF(18, 18), QSizeF(36, 36)),
                                QColor(40, 80, 110));
    CameraCheck c = scene.guard.check(picture);
    EXPECT_FALSE(c.buoys[2].found);
    EXPECT_FALSE(c.moved);
    // Further than the search reaches: the buoys are not found, which is a move.
    c = scene.checkAt(QPointF(30, -20), 2);
    EXPECT_TRUE(c.moved);
    // A picture smaller than the setup's: nothing found, moved.
    EXPECT_TRUE(scene.guard.check(QImage(320, 200, QImage::Format_RGB32)).moved);

    c = scene.checkAt(QPointF(2.4, 0), 0.5);
    ASSERT_TRUE(c.moved);
    c.buoys[4].found = false;
    const QString text = cameraMovedText(2, c);
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("The camera has moved since grid 2 was set up: upper right buoy 2.4 px, ")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(
        QStringLiteral(", check buoy not found. Set the grid up again before measuring.")))
        << text.toStdString();
}

TEST(CameraGuard, PatchesKeptInAFileCheckAsTheOriginal) {
    Scene scene(4, QSize(960, 540));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.ipt.patches"));
    QString error;
    ASSERT_TRUE(scene.guard.save(path, &error)) << error.toStdString();
    const CameraGuard loaded = CameraGuard::load(path, &error);
    ASSERT_FALSE(loaded.empty()) << error.toStdString();
    scene.lake.setCameraShift(QPointF(1.7, -0.6));
    const QImage picture = scene.lake.render(5);
    const CameraCheck a = scene.guard.check(picture), b = loaded.check(picture);
    ASSERT_EQ(a.buoys.size(), b.buoys.size());
    for (size_t i = 0; i < a.buoys.size(); ++i) {
        EXPECT_EQ(a.buoys[i].name, b.buoys[i].name);
        EXPECT_DOUBLE_EQ(a.buoys[i].dx, b.buoys[i].dx);
        EXPECT_DOUBLE_EQ(a.buoys[i].dy, b.buoys[i].dy);
    }
    // Missing, not a picture, or a strip that does not match its marks.
    EXPECT_TRUE(CameraGuard::load(dir.filePath(QStringLiteral("none")), &error).empty());
    QImage strip(64, 32, QImage::Format_Grayscale8);
    strip.fill(0);
    strip.setText(QStringLiteral("marks"), QStringLiteral("upper right,10,10"));
    ASSERT_TRUE(strip.save(path, "PNG"));
    EXPECT_TRUE(CameraGuard::load(path, &error).empty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(CameraGuard().save(path, &error));
}

TEST(CameraGuard, PatchesBesideASavedGridWarnOnAShiftedFrameAndGoWithAResave) {
    DemoLake lake(QSize(960, 540), 6);
    QTemporaryDir dir;
    const QString grid = dir.filePath(QStringLiteral("lake.ipt"));
    GridSetupFile file;
    const std::vector<GuardMark> marks = marksOf(lake); // upper right, lower right, ...
    for (size_t i = 1; i <= 4; ++i) {
        file.buoys[i].screenX = marks[i - 1].at.x() * 15;
        file.buoys[i].screenY = marks[i - 1].at.y() * 15;
    }
    ASSERT_TRUE(writeGridSetupFile(grid, file));
    ASSERT_EQ(keepGridPatches(grid, lake.render(0.2, false)), QString());
    ASSERT_TRUE(QFile::exists(patchesPathOf(grid)));

    lake.setCameraShift(QPointF(0, 2.2));
    FrameCameraCheck c = checkFrameForGrid(grid, 3, lake.render(4));
    EXPECT_TRUE(c.checked);
    EXPECT_TRUE(c.moved);
    EXPECT_TRUE(c.warning.startsWith(QStringLiteral("The camera has moved since grid 3")));
    EXPECT_TRUE(c.logLine.startsWith(QStringLiteral("Camera check: upper right ")));
    lake.setCameraShift(QPointF(0.3, 0));
    c = checkFrameForGrid(grid, 3, lake.render(4));
    EXPECT_FALSE(c.moved);
    EXPECT_TRUE(c.warning.isEmpty());

    // Saved again without a picture: the old patches go, nothing is checked.
    EXPECT_EQ(keepGridPatches(grid, QImage()), QString());
    EXPECT_FALSE(QFile::exists(patchesPathOf(grid)));
    EXPECT_FALSE(checkFrameForGrid(grid, 3, lake.render(4)).checked);
    EXPECT_FALSE(checkFrameForGrid(QString(), 1, lake.render(4)).checked);
}
