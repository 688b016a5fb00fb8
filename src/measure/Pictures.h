#pragma once
// Jump pictures without the screen: the saved picture's name, its lines in
// the results file and the video log, its side file, reading a picture
// whatever its name claims, moving and copying picture files without
// losing one, saving the picture the measure screen shows, and the saving
// policy applied when the measure screen is left.
//
// A picture is saved in the picture folder as skier name + "jump" + jump
// number + the configured ending (".bmp", ".gif" or ".jpg"). Whatever the
// ending, the file holds the picture's own bytes (the frame is a bitmap),
// so pictures are always read by their content, never by their name.
// The side file (picture name + ".info") lies beside the picture, in the
// picture folder: nothing here depends on the process's current folder.

#include "app/Clock.h"
#include "app/Dialogs.h"
#include "app/FileUtils.h"
#include "app/PictureFile.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <functional>

namespace zt {

namespace picture {
// The frame handed over by frame selection, in the application folder.
inline const QString captureFile = QStringLiteral("currentcapture.bmp");
// The picture producer's snapshot, in the exchange folder.
inline const QString snapshotFile = QStringLiteral("snapshot.bmp");
// Text of the source box for a pasted or clipboard picture.
inline const QString fromClipboard = QStringLiteral("Picture from Clipboard");
// Filter of the "Load Picture" dialog.
inline const QString openFilter =
    QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Jump Picture Files "
                   "(*.gif)|*.gif|Jump Picture Files (*.bmp)|*.bmp|Jump Picture Files "
                   "(*.jpg)|*.jpg|");
inline const QString invalidFolderMessage =
    QStringLiteral("Invalid path, change in configuration screen");
inline const QString snapshotWarning =
    QStringLiteral("Warning, snapshot file has not been saved in the \\ztio directory");
inline const QString saveQuestion = QStringLiteral("Do you want to save this picture?");
inline const QString remainQuestion = QStringLiteral("Do you want to remain on this form?");
} // namespace picture

// pictureDir + skier name + "jump" + jump number without surrounding blanks
// + ending. A picture folder without a trailing separator gets one.
QString pictureFilePath(const QString& pictureDir, const QString& skierName,
                        const QString& jumpNumber, const QString& pictureExt);

// The side file beside the picture: its path + ".info".
QString pictureSideFilePath(const QString& pictureFile);
// Its one line: picture path, ", ", skier, ", ", jump counter, CR LF (the
// capture screen's skier name and jump counter).
QString pictureSideFileText(const QString& pictureFile, const QString& skierName,
                            const QString& jumpNumber);

// Results file line: date, time, "Loaded picture: " or "Saved picture: ",
// path, CR LF.
enum class PictureEvent { Loaded, Saved };
QString pictureResultsLine(const QDateTime& at, PictureEvent event, const QString& path);

// Video log line in print zones: date; time; "Skier: " + the capture
// screen's skier; "Jump: " + its jump counter minus 1; "Distance: " + the
// shown distance; "File: " + picture path; CR LF.
QString pictureVideoLogLine(const QDateTime& at, const QString& skierName,
                            const QString& jumpNumber, const QString& distanceText,
                            const QString& pictureFile);

// Filter preselected in the "Load Picture" dialog for the ending: 3 for
// ".gif", 4 for ".bmp", 5 for ".jpg" (1, all files, otherwise).
int pictureFilterIndex(const QString& pictureExt);

// Moves a picture file to its new name, replacing a file of that name.
// A rename that cannot cross file systems copies and then deletes; the
// copy goes through a temporary file beside the target, so a failure
// leaves the target as it was and the source in place. sourceLeft: the
// copy succeeded but the source could not be deleted.
struct MoveResult {
    bool ok = false;
    QString error; // names both files and the reason
    bool sourceLeft = false;
};
MoveResult movePicture(const QString& from, const QString& to);
// The copy-then-delete half of movePicture.
MoveResult copyThenDelete(const QString& from, const QString& to);
// Copies a picture file (temporary file + rename), replacing the target.
FileResult copyPictureFile(const QString& from, const QString& to);
// Writes a picture held in memory as a bitmap (temporary file + rename).
FileResult writePictureFile(const QImage& image, const QString& path);

// The picture on the measure screen and where it came from.
enum class PictureSource {
    None,         // no picture
    CaptureFrame, // "currentcapture.bmp" of the application folder
    File,         // a picture file (loaded, from the picture log, or saved)
    Memory        // the clipboard or the snapshot file (deleted after use)
};
struct ShownPicture {
    PictureSource source = PictureSource::None;
    QString path;       // CaptureFrame, File
    QImage image;       // Memory
    bool saved = false; // saved since it was shown
    bool canBeSaved() const { return source != PictureSource::None && !saved; }
};

// Everything a save needs besides the picture.
struct PictureSaveContext {
    Dialogs& dialogs;
    const Clock& clock;
    std::function<void(const QString&)> log; // diagnostic log
    QString appDir;
    QString pictureDir;
    QString pictureExt;
    QString resultsPath;
    QString videoLogPath;
};
// The measure screen's values a save writes: the picture's name, its side
// file and its video log line all name the same skier and jump.
struct PictureSaveValues {
    QString skierName, jumpNumber, distanceText;
};

enum class SaveOutcome {
    Saved,
    Declined, // the operator kept an existing picture of that name
    Failed    // told the operator; nothing written
};

// "Save Picture": forms the name, asks before replacing a picture of that
// name (default No), shows the name, puts the picture there (the frame is
// moved, a file copied, a picture in memory written as a bitmap), then
// writes the results line, the side file and the video log line. Nothing
// is written for a picture that is not there. On Saved the shown picture
// becomes that file.
SaveOutcome savePicture(const PictureSaveContext& ctx, const PictureSaveValues& values,
                        ShownPicture& shown);

// The saving policy on leaving the measure screen. withFrame: the screen
// shows the frame handed over by frame selection (navigation word
// "SelectFrame"). policy: "Save", "NoSave", anything else asks. save runs
// the save. Returns false when the operator stays on the screen: by
// answering so, or because a wanted save failed (the picture stays).
enum class LeaveBy { Exit, NextJump };
bool pictureSavingOnLeave(LeaveBy by, bool withFrame, const QString& policy, bool pictureToSave,
                          Dialogs& dialogs, const std::function<SaveOutcome()>& save);

} // namespace zt
