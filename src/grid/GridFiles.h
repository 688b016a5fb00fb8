#pragma once
// Grid setup files and their check buoy files: the file contents, writing
// them byte-exact (each file replaced as a whole through a temporary file),
// reading them by the field rules, and moving their values in and out of
// the grid working state and the per-grid store.
//
// Setup file, 19 lines ending in CR LF:
//   1      "Initialization Points for file: " + the file's full path
//   2      description
//   3..6   buoy 1..4: screen x, screen y, survey X, survey Y (commas between)
//   7..14  c1..c8
//   15,16  jump X, jump Y
//   17..19 10, 2, the grid number the file was saved under
// Check buoy file (setup path + ".cb"), 4 lines: screen x, screen y, and the
// survey X and Y as the operator typed them; each line reads as one number.

#include "app/FileUtils.h"
#include "grid/GridModel.h"

#include <QString>
#include <array>

namespace zt {

struct GridFileBuoy {
    double screenX = 0, screenY = 0, surveyX = 0, surveyY = 0;
};

struct GridSetupFile {
    QString description;
    std::array<GridFileBuoy, 5> buoys{}; // [1..4]
    Coefficients coefficients;           // c1..c8
    double jumpX = 0, jumpY = 0;
    double constant10 = 10, constant2 = 2;
    double gridNumber = 1;
};

// Values of a setup file in reading order: line 1, line 2, the 16 buoy
// numbers, c1..c8, jump X, jump Y, 10, 2, grid number.
namespace gridItem {
// Items 3..31 sit where the same values sit in a gridStore row.
constexpr int header = 1;
constexpr int description = 2;
constexpr int buoyValue(int buoy, int k) { // k 0..3: screen x, screen y, survey X, survey Y
    return slot::screenX(buoy) + k;
}
constexpr int coefficient(int n) {
    return slot::coefficient(n);
}
constexpr int jumpX = slot::jumpX;
constexpr int jumpY = slot::jumpY;
constexpr int constant10 = slot::constant10;
constexpr int constant2 = slot::constant2;
constexpr int gridNumber = slot::gridNumber;
constexpr int count = gridNumber;
} // namespace gridItem

enum class GridFileStatus {
    Complete,
    Incomplete, // the file ended early; a load applies none of it
    Unreadable, // the file could not be opened; nothing was read
    BadValue    // a value is no number or a line holds the wrong count of
                // values; a load applies none of it
};

struct GridSetupFileRead {
    GridFileStatus status = GridFileStatus::Unreadable;
    int itemsRead = 0; // how many values (gridItem order) the file held
    QString header;    // line 1 as it stands
    GridSetupFile content;
    QString error; // Unreadable, BadValue: the path (line) and the reason
    bool has(int item) const { return itemsRead >= item; }
};

struct CheckBuoyValues {
    double screenX = 0, screenY = 0, surveyX = 0, surveyY = 0;
};

struct CheckBuoyFileRead {
    GridFileStatus status = GridFileStatus::Unreadable;
    int itemsRead = 0; // 0..4
    CheckBuoyValues values;
    QString error; // Unreadable, BadValue: the path (line) and the reason
};

// Check buoy file of a setup file: the full name with ".cb" appended.
QString checkBuoyFilePath(const QString& setupPath);

// File texts with CR LF line ends. Line breaks inside the description or
// the typed check buoy texts become spaces, so one value stays one line.
QString gridSetupFileText(const QString& path, const GridSetupFile& file);
QString checkBuoyFileText(double screenX, double screenY, const QString& surveyXText,
                          const QString& surveyYText);

FileResult writeGridSetupFile(const QString& path, const GridSetupFile& file);
FileResult writeCheckBuoyFile(const QString& path, double screenX, double screenY,
                              const QString& surveyXText, const QString& surveyYText);

// Every number must read whole ("x.5", "1e400" and an empty field are
// errors, never 0) and each buoy line hold its four values, every other
// value a line of its own. The errors name the line; the read functions put
// the path in front.
GridSetupFileRead parseGridSetupFile(const QString& text);
GridSetupFileRead readGridSetupFile(const QString& path);
// The screen lines read whole, the typed survey lines as the check buoy
// boxes read them; a line without a number is an error, except the survey
// lines of a file saved before the check buoy was placed (mark x 0).
CheckBuoyFileRead parseCheckBuoyFile(const QString& text);
CheckBuoyFileRead readCheckBuoyFile(const QString& path);

// --- Working state and per-grid store ----------------------------------

// The setup file content of the working state for grid g: buoy arrays,
// coefficients (solve matrix column 9), saved jump point, 10, 2, g.
GridSetupFile gridFileFromState(const GridState& s, int g, const QString& description);

// The setup file content held in store row g (slots 3..31), for a grid
// that is not the active one.
GridSetupFile gridFileFromStore(const GridState& s, int g, const QString& description);

// Store row g slots 3..31 take the file's values.
void storeGridFileValues(GridState& s, int g, const GridSetupFile& file);

// Puts the values a read delivered into the working state and store row g:
// description and file name of grid g, buoy arrays, coefficients, saved
// jump point, slots 3..31. Only the values the file held are applied.
void applyGridFileRead(GridState& s, int g, const QString& path, const GridSetupFileRead& read);

// Check buoy of a read: checkPixX/Y, checkSurveyX/Y, the check marker and
// store slots 32..35 of row g (only the values the file held).
void applyCheckBuoyRead(GridState& s, int g, const CheckBuoyFileRead& read);

// No check buoy for grid g: position, marker, survey values and store
// slots 32..35 become 0, so no check buoy of an earlier file stays behind.
void clearCheckBuoy(GridState& s, int g);

// Saving grid g to path: gridDescription(g), saved jump point = jump
// point, the setup file, store slots 3..31, then the check buoy file (check
// marker and the typed survey texts), slots 32..35 and gridFileName(g).
// Stops at the first file that cannot be written; the state changes made
// before it stay, and gridFileName(g) keeps the last file written whole.
struct GridSaveInput {
    int grid = 1;
    QString path;
    QString description;
    QString checkSurveyXText, checkSurveyYText;
};
FileResult saveGridFiles(GridState& s, const GridSaveInput& input);

// Loading path into grid g: the setup file (applied only when complete),
// then the check buoy file or, when it is missing, cannot be read or ends
// before its four values, no check buoy; the jump point and the grid
// direction follow the loaded values.
struct GridLoadOutcome {
    GridFileStatus setupStatus = GridFileStatus::Unreadable;
    bool checkBuoyFound = false; // found and read whole
    GridFileStatus checkBuoyStatus = GridFileStatus::Unreadable;
    QString error;          // unreadable setup file
    QString checkBuoyError; // a check buoy file there but not usable: path and reason
    bool complete() const { return setupStatus == GridFileStatus::Complete; }
};
GridLoadOutcome loadGridFiles(GridState& s, int g, const QString& path);

} // namespace zt
