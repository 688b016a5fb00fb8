#pragma once
// The measure screen as the operator meets it after frame selection: grid 1
// loaded (X = a / 100, Y = b / 100 meters from twips, jump point at the
// origin), a 640 x 480 frame handed over as "currentcapture.bmp", the
// results file in the temporary folder and WSTIMS in use. With pictures:
// a picture folder, the day's video log and ready grids as well.

#include "app/KeyState.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "support/GridFixtures.h"
#include "support/TestEnv.h"

#include <QBuffer>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace zt::test {

struct MeasureScreen : ::testing::Test {
    TestEnv env;
    App* app = nullptr;
    KeyState keys;

    void SetUp() override {
        app = &env.app();
        AppState& s = app->state;
        setBuoy(s, 1, 9000, 1500, 90, 15);
        setBuoy(s, 2, 9000, 6000, 90, 60);
        setBuoy(s, 3, 3000, 1500, 30, 15);
        setBuoy(s, 4, 3000, 6000, 30, 60);
        Coefficients c;
        c[2] = 0.01;
        c[8] = 0.01;
        s.setCoefficients(c);
        s.gridDirection = 1;
        s.gridCount = 1;
        storeWorkingGrid(s, 1);
        s.logFilePath = env.path(QStringLiteral("results.txt"));
        env.settings().write(QStringLiteral("WSTIMS"), QStringLiteral("1"));
        QImage frame(640, 480, QImage::Format_RGB32);
        frame.fill(Qt::darkGray);
        ASSERT_TRUE(frame.save(env.appDir() + QStringLiteral("/currentcapture.bmp"), "BMP"));
        s.screenMode = QStringLiteral("SelectFrame");
    }

    Measure& screen() {
        Measure& m = app->measure();
        m.setKeyState(keys);
        return m;
    }
    // A click on the picture at pixel p (15 twips each) at 1:1.
    static void clickPicture(Measure& m, QPoint p) {
        showActualSize(m);
        QTest::mouseClick(m.canvas().surface(), Qt::LeftButton, {}, p);
    }
    // The picture 1:1 from its top-left corner, as it was always shown.
    static void showActualSize(Measure& m) { m.canvas().setZoomAbout(Zoom::Actual, {0, 0}); }
    QByteArray exchange(const char* name) const {
        return readAll(env.exchangeDir() + QLatin1Char('/') + QLatin1String(name));
    }
    bool markShown(Measure& m) const {
        return m.canvas().lineObject(m.lineHorizontalImpact()).visible &&
               m.canvas().lineObject(m.lineVerticalImpact()).visible &&
               m.canvas().lineObject(m.lineSplashIndicator()).visible;
    }
};

// A picture of one colour.
inline QImage filled(QColor color, int width = 320, int height = 240) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// The bytes of a picture saved as a bitmap.
inline QByteArray bitmapOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

struct MeasurePictureScreen : MeasureScreen {
    QString pictureDir() const { return env.path(QStringLiteral("pics")) + QLatin1Char('/'); }
    QString framePath() const { return env.appDir() + QStringLiteral("/currentcapture.bmp"); }
    QString videoLog() const {
        return env.videoDir() + QStringLiteral("/JumpMeasurementLog120826.txt");
    }

    void SetUp() override {
        MeasureScreen::SetUp();
        QDir().mkpath(pictureDir());
        AppState& s = app->state;
        s.pictureDir = pictureDir();
        s.pictureExt = QStringLiteral(".bmp");
        s.videoDir = env.videoDir();
        s.measurementLogName = QStringLiteral("JumpMeasurementLog120826.txt");
        s.gridsReady = 1;
    }
    // What the canvas shows at a picture pixel.
    static QColor pictureAt(Measure& m, int x, int y) {
        return m.canvas().picture().pixelColor(x, y);
    }
};

} // namespace zt::test
