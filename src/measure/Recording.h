#pragma once
// "Record Jump" without the screen: the measure screen hands over the
// values of its controls, recording computes the official distance or asks
// for the other grid's distance, appends the jump record to the results
// file, writes the exchange files and gives back the controls' new values.
// Also the reride and comment event lines.
//
// A results file that cannot be written changes nothing on the screen (the
// operator is told with the path, can correct it and record again) and
// writes no exchange file. A mark whose distance cannot be computed writes
// nothing either. The process's current folder is left alone: every path
// used here is absolute.

#include "app/Clock.h"
#include "app/Dialogs.h"
#include "app/FileUtils.h"
#include "grid/GridModel.h"

#include <QString>

namespace zt {

// The measure screen's values that recording reads and changes.
struct MeasureRecordState {
    QString skierName;             // Skier_name
    QString jumpNumber;            // Jump_no
    QString distanceText;          // distance box
    QString distanceFtText;        // distance_ft box
    QString comment;               // Comment
    bool commentVisible = true;    // Comment shown
    bool fallSelected = false;     // Fall
    bool passSelected = false;     // Pass
    bool otherGridOn = false;      // Other_Grid
    bool pictureFrozen = false;    // a still picture is up
    bool verifyMode = false;       // verify caption reads "Verify off"
    double clickX = 0, clickY = 0; // the landing mark
    QString lastDistanceText;      // distance of the last official jump, 4 decimals
};

struct RecordSettings {
    QString resultsPath; // logFilePath
    QString exchangeDir;
    bool wstims = false; // exchange files in use
    bool barefootJump = false;
    bool sitSkiJump = false;
    bool feetToTenths = false; // barefoot / sit-ski indicator visible
};

enum class RecordStatus {
    Recorded,
    ResultsNotWritten,   // told the operator; nothing changed
    DistanceUnavailable, // the transform fails at the mark; nothing changed
    NoLandingMark        // a jump's distance asked for with no mark placed; nothing changed
};

struct RecordOutcome {
    RecordStatus status = RecordStatus::Recorded;
    QString line; // the jump record line written
    bool exchangeWritten = false;
    QString exchangeError; // set when the exchange write failed (already shown)
};

// Records the current jump. On Recorded the state holds the controls' new
// values; otherwise it is unchanged. Grid registers (waterX/Y, screenX/Y)
// are left as the official distance computation leaves them.
RecordOutcome recordJump(GridState& grid, MeasureRecordState& state, const RecordSettings& settings,
                         Dialogs& dialogs, const Clock& clock);

// Message shown when the results file cannot be written.
QString resultsWriteErrorMessage(const FileResult& failure);

// Appends an event line (reride or comment) to the results file; a failure
// is shown to the operator with the path. Returns whether it was written.
bool recordEvent(const QString& resultsPath, const QString& eventText, Dialogs& dialogs,
                 const Clock& clock);

} // namespace zt
