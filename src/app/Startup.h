#pragma once
// Plain pieces of the start-up and the main screen: the video log's name and
// opening line, folder text clean-up, the frame-rate class caption and the
// placement of the main and capture windows.

#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QString>

namespace zt {

// Told when the measure screen is asked for while a grid in use is not set
// up.
inline const QString gridsNotReadyMessage =
    QStringLiteral("At least one measurement grid that you have specified has not been set up.  "
                   "All grids specified must be set up correctly before you can use the "
                   "measurement screen");

// "JumpMeasurementLog" + mmddyy + ".txt".
QString measurementLogNameFor(const QDate& date);

// Date, time and "Zentrak Measurement Session started  " in print zones,
// ending with CR LF.
QString videoLogOpeningLine(const QDateTime& at);

// The text less one trailing folder separator ("\" or "/"). A lone
// separator (the root folder) is kept.
QString withoutTrailingSeparator(const QString& folder);

// The folder box's text as videoDir: spaces at both ends removed, then one
// trailing separator.
QString videoDirOfBox(const QString& boxText);

// Caption of the frame-rate class for a rate: "Normal/C" from 5, "L" from
// 15, "R" from 25; below 5 the current caption stays.
QString frameRateClassCaption(double rate, const QString& current);

// Every comma replaced by one space.
QString commasToSpaces(QString text);

// A skier's name as it may go into a clip's file name and the comma-
// separated files: a comma, a path separator (/ or \), a character file
// systems refuse in names (< > : " | ? *), a control character and each
// dot of "..", become spaces. The clip it names stays in the video folder.
QString safeSkierName(QString name);
// True when safeSkierName changes something other than commas.
bool hasUnsafeNameCharacter(const QString& name);

// Where the main and capture windows go: the main window moves to the left
// edge when both do not fit side by side; the capture window goes to its
// right, or to the left edge when that is off the screen, and moves left as
// far as needed to end on the screen.
struct WindowPlacement {
    QPoint main;
    QPoint capture;
};
WindowPlacement placeWindows(const QRect& mainWindow, int captureWidth, const QRect& screen);

} // namespace zt
