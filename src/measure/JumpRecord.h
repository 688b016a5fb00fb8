#pragma once
// Lines that recording appends to the results file: the jump record (one
// per "Record Jump") and the event line of rerides and comments; the
// other-grid distance entry with its meter/foot consistency check; the
// jump number rules.
//
// Jump record line, fields in order:
//   date " " time " " skier "  jump " number " - " meters "  (IWSF)" feet
//   "  (AWSA)" [" BAREFOOT "] [" UNOFFICIAL JUMP - verify mode "] comment
//   [" (" X "/" Y ")" " (" x "/" y ")" " (" distance ")"]   CR LF
// The bracketed coordinate groups are left out for other-grid entries.

#include "app/Dialogs.h"

#include <QDateTime>
#include <QString>

namespace zt {

namespace comments {
inline const QString fall = QStringLiteral("Fall");
inline const QString pass = QStringLiteral("Pass");
inline const QString otherGrid = QStringLiteral("Distance from other grid");
inline const QString otherGridNone = QStringLiteral("Other Grid - no distance recorded");
inline const QString mandatoryReride = QStringLiteral("Mandatory Reride - disregard last jump");
inline const QString optionalReride = QStringLiteral("Optional Reride on previous jump");
} // namespace comments

struct JumpRecordInput {
    QDateTime when;
    QString skierName;  // Skier_name
    QString jumpNumber; // Jump_no
    QString metersText; // distance box: "45.3m", " 30m" for other grid, or empty
    QString feetText;   // distance_ft box: "149ft", " 98ft", or empty
    bool barefootJump = false;
    bool verifyMode = false;
    QString comment;
    bool otherGrid = false; // leaves out the coordinate groups
    double waterX = 0, waterY = 0;
    double screenX = 0, screenY = 0;
    QString lastDistanceText;
};

// The record line with its CR LF.
QString jumpRecordLine(const JumpRecordInput& input);

// date " " time " " text CR LF.
QString eventLine(const QDateTime& when, const QString& eventText);

// Text of the jump number plus one; a text without a number counts as 0.
QString nextJumpNumberText(const QString& jumpNumber);

// The consistency of an other-grid entry: meters * 3.2808 within 2 ft of
// the feet, either way. The texts are read leniently (no number is 0).
bool otherGridDistancesMatch(const QString& metersText, const QString& feetText);

struct OtherGridEntry {
    bool recorded = false; // operator answered Yes and the distances matched
    QString metersText;    // record values: the entered meters
    QString feetText;      // " " + the entered feet
    QString metersShown;   // metersText + "m", or empty
    QString feetShown;     // feetText + "ft", or empty
    QString comment;       // set when nothing is recorded
};

// Shown when an entered distance holds a comma, which would split the
// scoring system's comma-separated result line.
inline const QString otherGridCommaMessage =
    QStringLiteral("Please enter the distances with a decimal point and without commas");

// Asks for the distance measured on the other grid until the operator
// answers No or enters matching meters and feet without commas. A
// cancelled input box gives an empty text.
OtherGridEntry askOtherGridDistance(Dialogs& dialogs);

} // namespace zt
