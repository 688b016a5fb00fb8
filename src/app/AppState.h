#pragma once
// The process-wide shared state: folders and file names, the navigation
// word, the settings values read into memory, the grid working state with
// its store and transform registers, and the hand-over values between the
// capture, frame selection and measure screens.

#include "grid/GridModel.h"

#include <QString>

namespace zt {

struct AppState : GridState {
    // Folders and files.
    QString videoDir;
    QString measurementLogName;
    QString logFilePath;
    QString setupFilesPath;
    QString tournamentName;

    // Navigation.
    QString screenMode;
    bool previewActive = false;
    bool videoConfigBusy = false;

    // Configuration values.
    QString gridColorName = QStringLiteral("default");
    long gridColor = 16777215;
    long impactColor = 16777215;
    bool rightToLeft = false;
    bool boxLineOff = false;
    bool barefootJump = false;
    bool sitSkiJump = false;
    QString buoyMarker = QStringLiteral("circle");
    QString pictureSavePolicy = QStringLiteral("Ask");
    QString videoSavePolicy = QStringLiteral("Ask");

    // Picture area in twips, as the setup screen shows it.
    QString pictureWidthText = QStringLiteral("12000");
    QString pictureHeightText = QStringLiteral("9000");

    // Hand-over between the capture, frame selection and measure screens
    // and the log viewers.
    int startFrameHint = 0;      // frame proposed by the capture screen (0: none)
    double captureFrameRate = 0; // frames per second of the fresh clip
    QString viewFile;            // clip or picture a log viewer asks to show
    QString selectedVideoFile;   // clip whose frame was taken
    long selectedFrame = 0;      // number of the frame taken (at least 1)
    QString wstimsSkierName;     // skier named by the scoring system

    // Configuration screen.
    QString pictureDir;
    QString pictureExt = QStringLiteral(".bmp");
    bool allowInvalidSetup = false; // "Allow Invalid Setup", never stored
};

} // namespace zt
