// The camera-moved guard on the capture screen's live picture: the grid in
// use against one picture at a time, off the screen's thread, its patches
// read again when the grid is set up again; the short warning shown while
// the camera has moved, and the log told once of a move and of its end.

#include "capture/ui/PreviewForm.h"
#include "demo/DemoLake.h"
#include "grid/GridFiles.h"
#include "grid/LiveCameraGuard.h"
#include "shell/App.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {

struct LiveCamera : ::testing::Test {
    TestEnv env;
    DemoLake lake{QSize(640, 480), 9};
    QString grid = env.path(QStringLiteral("demo.ipt"));

    // Grid 1's file holds the demo buoys, its patches cut from a setup
    // picture taken with the camera shifted by setupShift.
    void saveDemoGrid(QPointF setupShift = QPointF()) {
        GridSetupFile file;
        const DemoSurvey& v = lake.survey();
        const PlanePoint buoys[] = {{}, v.upperRight, v.lowerRight, v.upperLeft, v.lowerLeft};
        lake.setCameraShift(QPointF());
        for (size_t i = 1; i <= 4; ++i) {
            const QPointF at = *lake.project(buoys[i].x, buoys[i].y) + setupShift;
            file.buoys[i].screenX = std::floor(at.x()) * 15;
            file.buoys[i].screenY = std::floor(at.y()) * 15;
        }
        ASSERT_TRUE(writeGridSetupFile(grid, file));
        lake.setCameraShift(setupShift);
        ASSERT_EQ(vision::keepGridPatches(grid, lake.render(0.2, false)), QString());
    }
    QImage liveFrame(QPointF shift) {
        lake.setCameraShift(shift);
        return lake.render(2);
    }
};

} // namespace

TEST_F(LiveCamera, TheGuardTellsAMovedCameraAndReadsTheGridAgainWhenItIsSetUpAgain) {
    saveDemoGrid();
    vision::LiveCameraGuard guard(nullptr);
    const vision::FrameCameraCheck steady = guard.check(grid, 1, liveFrame(QPointF(0.4, -0.3)));
    EXPECT_TRUE(steady.checked);
    EXPECT_FALSE(steady.moved);
    EXPECT_TRUE(steady.warning.isEmpty());

    const vision::FrameCameraCheck moved = guard.check(grid, 1, liveFrame(QPointF(2.5, 0)));
    EXPECT_TRUE(moved.moved);
    EXPECT_EQ(moved.warning, QStringLiteral("The camera has moved since grid 1 was set up."));
    EXPECT_TRUE(moved.logLine.contains(QStringLiteral("upper right")))
        << moved.logLine.toStdString();

    // The grid set up again with the camera where it is now: that picture
    // is steady against the new patches.
    saveDemoGrid(QPointF(2.5, 0));
    QFile patches(vision::patchesPathOf(grid));
    ASSERT_TRUE(patches.open(QIODevice::ReadWrite));
    patches.setFileTime(QDateTime::currentDateTime().addSecs(10),
                        QFileDevice::FileModificationTime);
    patches.close();
    EXPECT_FALSE(guard.check(grid, 1, liveFrame(QPointF(2.5, 0))).moved);

    // No patches (a grid set up before the guard): nothing checked.
    QFile::remove(vision::patchesPathOf(grid));
    EXPECT_FALSE(guard.check(grid, 1, liveFrame(QPointF(3, 3))).checked);
    EXPECT_FALSE(guard.check(QString(), 1, liveFrame(QPointF(3, 3))).checked);
}

TEST_F(LiveCamera, OneCheckRunsAtATimeOffTheCallersThread) {
    saveDemoGrid();
    std::atomic<int> done{0};
    std::atomic<bool> moved{false};
    vision::LiveCameraGuard guard([&](const vision::FrameCameraCheck& c) {
        moved = c.moved;
        ++done;
    });
    ASSERT_TRUE(guard.start(grid, 1, liveFrame(QPointF(0, 2))));
    ASSERT_TRUE(waitUntil([&] { return !guard.busy(); }));
    EXPECT_EQ(done.load(), 1);
    EXPECT_TRUE(moved.load());
    ASSERT_TRUE(guard.start(grid, 1, liveFrame(QPointF())));
    ASSERT_TRUE(waitUntil([&] { return !guard.busy(); }));
    EXPECT_EQ(done.load(), 2);
    EXPECT_FALSE(moved.load());
}

TEST_F(LiveCamera, TheCaptureScreenShowsTheWarningWhileTheCameraIsMovedAndLogsEachChangeOnce) {
    saveDemoGrid();
    App& app = env.app();
    app.state.gridsReady = 1;
    app.state.currentGrid = 1;
    app.state.gridFileName[1] = grid;
    PreviewForm& f = app.previewForm();
    const QString log = env.exchangeDir() + QStringLiteral("/DebugLog.txt");
    auto logged = [&] { return readAll(log).count("Capture screen camera check: "); };

    f.checkLivePicture(liveFrame(QPointF(0, 2.5)));
    ASSERT_TRUE(waitUntil([&] { return !f.cameraMoved->isHidden(); }));
    EXPECT_EQ(f.cameraMoved->text(),
              QStringLiteral("The camera has moved since grid 1 was set up."));
    EXPECT_EQ(logged(), 1);
    if (const QByteArray shot = qgetenv("ZENTRAK_SCREENSHOT"); !shot.isEmpty())
        f.grab().save(QString::fromLocal8Bit(shot));
    // Still moved: the warning stays, the log is not told again.
    f.checkLivePicture(liveFrame(QPointF(0, 2.5)));
    ASSERT_TRUE(waitUntil([&] { return !f.cameraCheckRunning(); }));
    QCoreApplication::processEvents(); // the result handed to the screen's thread
    EXPECT_FALSE(f.cameraMoved->isHidden());
    EXPECT_EQ(logged(), 1);

    f.checkLivePicture(liveFrame(QPointF()));
    ASSERT_TRUE(waitUntil([&] { return f.cameraMoved->isHidden(); }));
    EXPECT_EQ(logged(), 2);

    // A grid that is not ready is not checked.
    app.state.gridsReady = 0;
    f.checkLivePicture(liveFrame(QPointF(0, 2.5)));
    EXPECT_FALSE(f.cameraCheckRunning());
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.cameraMoved->isHidden());
}
