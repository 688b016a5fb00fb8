// The measure screen against the camera-moved guard: a frame handed over
// from a camera that moved since the grid was saved shows the warning and
// logs the shifts; a steady one shows nothing.

#include "MeasureFixture.h"
#include "demo/DemoLake.h"
#include "grid/GridFiles.h"
#include "grid/GridPatches.h"

#include <QLabel>

using namespace zt;
using namespace zt::test;

namespace {

struct MeasureCameraMoved : MeasureScreen {
    DemoLake lake{QSize(640, 480), 9};
    QString grid;

    // Grid 1's file holds the demo buoys, its patches cut from the setup picture.
    void saveDemoGrid() {
        grid = env.path(QStringLiteral("demo.ipt"));
        GridSetupFile file;
        const DemoSurvey& v = lake.survey();
        const PlanePoint buoys[] = {{}, v.upperRight, v.lowerRight, v.upperLeft, v.lowerLeft};
        for (size_t i = 1; i <= 4; ++i) {
            const QPointF at = *lake.project(buoys[i].x, buoys[i].y);
            file.buoys[i].screenX = std::floor(at.x()) * 15;
            file.buoys[i].screenY = std::floor(at.y()) * 15;
        }
        ASSERT_TRUE(writeGridSetupFile(grid, file));
        ASSERT_EQ(vision::keepGridPatches(grid, lake.render(0.2, false)), QString());
        app->state.gridFileName[1] = grid;
    }
    void handOver(QPointF shift) {
        lake.setCameraShift(shift);
        ASSERT_TRUE(
            lake.render(2).save(env.appDir() + QStringLiteral("/currentcapture.bmp"), "BMP"));
        app->state.screenMode = QStringLiteral("SelectFrame");
    }
};

} // namespace

TEST_F(MeasureCameraMoved, AMovedCameraIsShownAndLoggedASteadyOneIsNot) {
    saveDemoGrid();
    handOver(QPointF(2.5, 0));
    Measure& m = screen();
    m.show();
    m.Form_Activate();
    EXPECT_FALSE(m.cameraMoved->isHidden());
    EXPECT_TRUE(m.cameraMoved->text().startsWith(
        QStringLiteral("The camera has moved since grid 1 was set up: upper right buoy 2.5 px")))
        << m.cameraMoved->text().toStdString();
    EXPECT_TRUE(
        readAll(env.exchangeDir() + QStringLiteral("/DebugLog.txt")).contains("Camera check: "));
    if (const QByteArray shot = qgetenv("ZENTRAK_SCREENSHOT"); !shot.isEmpty())
        m.grab().save(QString::fromLocal8Bit(shot));

    handOver(QPointF(0.4, -0.3));
    m.Form_Activate();
    EXPECT_TRUE(m.cameraMoved->isHidden());
    // A grid without patches: no guard, nothing shown.
    QFile::remove(vision::patchesPathOf(grid));
    handOver(QPointF(3, 3));
    m.Form_Activate();
    EXPECT_TRUE(m.cameraMoved->isHidden());
}
