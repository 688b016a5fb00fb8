#include "app/Startup.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(StartupLogic, VideoLogNameAndOpeningLine) {
    const QDateTime at(QDate(2026, 12, 7), QTime(9, 4, 3));
    EXPECT_EQ(measurementLogNameFor(at.date()), QStringLiteral("JumpMeasurementLog120726.txt"));
    EXPECT_EQ(
        videoLogOpeningLine(at),
        QStringLiteral("12-07-2026    09:04:03      Zentrak Measurement Session started  \r\n"));
}

TEST(StartupLogic, FolderTextLosesOneTrailingSeparator) {
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("C:\\Video\\")), QStringLiteral("C:\\Video"));
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("C:\\Video\\\\")),
              QStringLiteral("C:\\Video\\"));
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("/data/video/")),
              QStringLiteral("/data/video"));
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(withoutTrailingSeparator(QString()), QString());
    // Spaces are not trimmed by the change of the box, only at start-up.
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("/v/ ")), QStringLiteral("/v/ "));
    EXPECT_EQ(videoDirOfBox(QStringLiteral("  /v/  ")), QStringLiteral("/v"));
}

TEST(StartupLogic, FrameRateClassCaption) {
    const QString design = QStringLiteral("Currently Configured for R");
    const QString custom = QStringLiteral("something else");
    EXPECT_EQ(frameRateClassCaption(3, custom), custom);
    EXPECT_EQ(frameRateClassCaption(4.99, custom), custom);
    EXPECT_EQ(frameRateClassCaption(5, custom),
              QStringLiteral("Currently Configured for Normal/C"));
    EXPECT_EQ(frameRateClassCaption(14.9, custom),
              QStringLiteral("Currently Configured for Normal/C"));
    EXPECT_EQ(frameRateClassCaption(15, custom), QStringLiteral("Currently Configured for L"));
    EXPECT_EQ(frameRateClassCaption(20, design), QStringLiteral("Currently Configured for L"));
    EXPECT_EQ(frameRateClassCaption(25, custom), design);
    EXPECT_EQ(frameRateClassCaption(30, custom), design);
}

TEST(StartupLogic, CommasBecomeSpaces) {
    EXPECT_EQ(commasToSpaces(QStringLiteral("Smith,John,USA")), QStringLiteral("Smith John USA"));
    EXPECT_EQ(commasToSpaces(QStringLiteral("Smith, John")), QStringLiteral("Smith  John"));
    EXPECT_EQ(commasToSpaces(QStringLiteral(",,")), QStringLiteral("  "));
}

TEST(StartupLogic, WindowPlacement) {
    const QRect screen(0, 0, 1920, 1080);
    // Both fit: the main window stays, the capture window goes to its right.
    WindowPlacement p = placeWindows(QRect(100, 50, 800, 600), 700, screen);
    EXPECT_EQ(p.main, QPoint(100, 50));
    EXPECT_EQ(p.capture, QPoint(900, 50));
    // They do not fit: the main window moves to the left edge.
    p = placeWindows(QRect(600, 50, 800, 600), 700, screen);
    EXPECT_EQ(p.main, QPoint(0, 50));
    EXPECT_EQ(p.capture, QPoint(800, 50));
    // A main window wider than the screen pushes the capture window back to x = 0.
    p = placeWindows(QRect(0, 0, 2000, 600), 700, screen);
    EXPECT_EQ(p.capture, QPoint(0, 0));
    // A second screen to the right: its left edge counts as x = 0.
    p = placeWindows(QRect(2500, 10, 800, 600), 700, QRect(1920, 0, 1280, 1024));
    EXPECT_EQ(p.main, QPoint(1920, 10));
    // The capture window would end past the right edge: it ends on it.
    EXPECT_EQ(p.capture, QPoint(3200 - 700, 10));
    p = placeWindows(QRect(0, 0, 710, 600), 980, QRect(0, 0, 1280, 800));
    EXPECT_EQ(p.capture, QPoint(300, 0));
    // Wider than the screen: from its left edge.
    p = placeWindows(QRect(0, 0, 300, 600), 1400, QRect(0, 0, 1280, 800));
    EXPECT_EQ(p.capture, QPoint(0, 0));
}
