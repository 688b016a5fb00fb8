#pragma once
// Saving and loading a grid from the grid setup screen ("&Save", "&Load
// File") and the silent load of the configured grids at start-up. The
// questions, messages, settings, diagnostic lines and store effects live
// here; the screens are reached through GridFileView.

#include "grid/GridFiles.h"
#include "grid/SetupRecord.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <array>
#include <functional>

namespace zt {

class Dialogs;
class MainScreenView;
class MeasureView;
class SettingsStore;

// Texts of the grid setup screen's value boxes; buoy index 1 upper right,
// 2 lower right, 3 upper left, 4 lower left.
struct GridBoxTexts {
    std::array<QString, 5> screenX, screenY, surveyX, surveyY; // [1..4]
    QString jumpX, jumpY;
    QString checkX, checkY;       // surveyed check buoy
    QString checkXpix, checkYpix; // check buoy on the picture
};

// The boxes as a load shows the working state (shortest number texts);
// the check buoy boxes show the check buoy position and survey values.
GridBoxTexts boxTextsFromState(const GridState& s);
// Check buoy boxes of a grid without check buoy: survey boxes empty,
// screen boxes "auto".
void clearCheckBuoyBoxes(GridBoxTexts& boxes);

// The set-up record of grid g as the setup screen shows it: the buoy, jump
// and check buoy box texts, the check buoy values of the working state.
SetupRecordInput setupRecordInput(const GridState& s, const GridBoxTexts& boxes,
                                  const QString& fileName, const QString& description, int g,
                                  const QDateTime& when);

// What saving and loading need of the grid setup screen.
class GridFileView {
public:
    virtual ~GridFileView() = default;

    // Lock box cleared, "GRID LOCKED!" hidden.
    virtual void unlockGrid() = 0;
    virtual void setGridButtonCaption(const QString& caption) = 0;
    virtual QString fileNameText() const = 0;
    virtual void setFileNameText(const QString& text) = 0;
    virtual QString descriptionText() const = 0;
    virtual void setDescriptionText(const QString& text) = 0;
    virtual GridBoxTexts boxTexts() const = 0;
    virtual void setBoxTexts(const GridBoxTexts& boxes) = 0;
    // Buoy and check buoy markers from the working state.
    virtual void setMarkersFromState() = 0;
    virtual void clearDrawing() = 0;
    // The set-up ratio check.
    virtual void gridCheck() = 0;
    // Ready face, accuracy button enabled and its frame shown.
    virtual void showGridReady() = 0;
    // Not-ready face.
    virtual void showGridNotReady() = 0;
    // The picture the marks were set on; none by default.
    virtual QImage setupPicture() const { return QImage(); }
};

struct GridFileContext {
    GridState& state;
    SettingsStore& settings;
    Dialogs& dialogs;
    std::function<void(const QString&)> log; // diagnostic log
    QDateTime now;
    QString setupFilesPath;
    QString resultsPath;
    // The other screens that show a grid's description and state; none
    // when null.
    MainScreenView* mainScreen = nullptr;
    MeasureView* measureScreen = nullptr;
};

inline const QString gridSaveFilter =
    QStringLiteral("All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.IPT)|*.IPT|");
inline const QString gridLoadFilter =
    QStringLiteral("All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.ipt)|*.ipt|");

// "Grid 1".."Grid 3", the grid setup screen's grid button.
QString gridCaption(int g);
// currentGrid when it names a grid (1..3), else 1.
int activeGridNumber(const GridState& s);

// The menu commands of the grid setup screen.
void gridSave(GridFileContext& ctx, GridFileView& view);
void gridLoad(GridFileContext& ctx, GridFileView& view);

// The configuration's start-up load of grid g from file: no dialog and no
// question; ready when the check buoy file is there.
void loadGridAtStartup(GridFileContext& ctx, GridFileView& view, const QString& file, int g);

// Why a grid file that loadGridFiles read into s cannot measure, as the
// load tells the operator (the file unreadable or cut short, a value that
// is no number, the coefficients off the marks, no usable check buoy);
// empty when the grid loads ready.
QString gridFileRefusal(const GridState& s, const QString& path, const GridLoadOutcome& outcome);

// gridsReady = 1 when every grid in use is ready, with the diagnostic
// lines "1 grid - OK" .. "3 grids - OK".
void updateGridsReady(GridFileContext& ctx);

} // namespace zt
