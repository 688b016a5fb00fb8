#pragma once
// The set-up record appended to the results file when a grid is completed
// or loaded, so the results show under which setup the following jumps
// were measured. Three variants differ in their labels and in how the
// check buoy is written:
//   AfterComplete     "Pixels" labels; check buoy values always written
//   AfterLoad         "Twips" labels; "Check Buoyt X,Y Survey: " or
//                     "No check buoy for this set up" when checkPixX <= 0
//   AfterStartupLoad  "Twips" labels; check buoy box texts always written

#include "app/FileUtils.h"
#include "grid/GridModel.h"

#include <QDateTime>
#include <QString>
#include <array>

namespace zt {

enum class SetupRecordKind { AfterComplete, AfterLoad, AfterStartupLoad };

// Box texts of the grid setup screen, buoy index 1 upper right, 2 lower
// right, 3 upper left, 4 lower left.
struct SetupRecordInput {
    QDateTime when;
    QString fileNameText;    // file name box
    QString descriptionText; // description box
    double gridNumber = 1;
    std::array<QString, 5> screenXText, screenYText, surveyXText, surveyYText; // [1..4]
    QString jumpXText, jumpYText;
    // Check buoy values (after Complete and after a load).
    double checkPixX = 0, checkPixY = 0, checkSurveyX = 0, checkSurveyY = 0;
    // Check buoy box texts (start-up load).
    QString checkScreenXText, checkScreenYText, checkSurveyXText, checkSurveyYText;
};

// The whole record, every line ending in CR LF.
QString setupRecordText(SetupRecordKind kind, const SetupRecordInput& input);

// Fills the buoy, jump and check buoy parts of the input from the working
// state, with the texts the setup screen shows for them (shortest number
// text); the caller adds time, file name, description and grid number.
void fillSetupRecordFromState(SetupRecordInput& input, const GridState& s);

FileResult appendSetupRecord(const QString& resultsPath, SetupRecordKind kind,
                             const SetupRecordInput& input);

} // namespace zt
