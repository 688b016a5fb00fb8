#pragma once
// The rules of the frame selection screen without its widgets: the parts of
// a clip's name, the frame record of the video log and the clip's ".info"
// side file, the free space of the video folder, the looped playback before
// the marked frame, fixing the skier's name, and what the video-keeping
// policy does with a clip once its frame is taken.

#include "app/Dialogs.h"
#include "app/FileUtils.h"
#include "video/ClipNames.h" // clipPathFor

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

namespace zt {

class CaptureScreenView;

// ---- Clip names and the records of a taken frame ----

// The skier and jump parts of a clip named as the capture screen names its
// clips (skier name + "jump" + jump number + ".avi"); a phone's clip named
// so with ".mp4", ".mov" or ".mkv" counts too. A clip whose "jump" is
// followed by more than three characters before the extension, or a path
// without one of them or "jump", is not a standard clip: nullopt.
struct ClipNameParts {
    QString skier;
    QString jump;
};
std::optional<ClipNameParts> clipNameParts(const QString& clip);

// The frame record of the video log, with CR LF; nullopt for a clip that
// is not a standard clip.
std::optional<QString> frameRecordLine(const QDateTime& at, const QString& clip, long frame);

// The side file marking a clip as measured, and its one line.
QString infoPathOf(const QString& clip);
QString infoLine(const QString& clip, long frame);
// The second field of a clip's side file; nullopt when there is none.
std::optional<QString> measuredFrameText(const QString& clip);
// The same of the side file's bytes.
QString measuredFrameOfSideFile(const QByteArray& bytes);

// Appends the frame record to the video log and replaces the clip's side
// file; a clip that is not standard gets the warning and neither. Files
// that cannot be written are told with their paths. True when the clip is
// standard.
bool recordFrame(Dialogs& dialogs, const QString& videoLog, const QDateTime& at,
                 const QString& clip, long frame);

// ---- Free space ----

// Free bytes of the file system holding a folder; nullopt when unknown.
using FreeSpaceSource = std::function<std::optional<long long>(const QString& folder)>;
FreeSpaceSource systemFreeSpace();

constexpr long long lowDiskSpaceMB = 200;

struct DiskSpace {
    QString caption; // Label10: "Disk Space Available " + the drive
    QString amount;  // lblDiskSpace: whole megabytes + " MB"
    bool low = false;
};
// The drive is the first two characters of the folder text when it starts
// with a drive letter, else the mount point of the folder's file system.
DiskSpace diskSpaceOf(const QString& videoFolderText, const FreeSpaceSource& freeSpace);

// ---- Stepping and looped playback ----

// The frame taken for a player position: the nearest whole frame (halves
// to even), 0 taken as 1.
long takenFrame(double position);

// Text4: the seconds played before the marked frame, kept within 1..5;
// the text to put in the box instead, or nullopt when it may stand.
std::optional<QString> boundedSecondsText(const QString& text);

struct LoopPlan {
    long long selectionStart = 0;
    long long selectionEnd = 0;
    long long intervalMs = 0; // Timer1
    QString intervalText;     // Text5, as first computed
};
LoopPlan loopPlan(long long markedFrame, double secondsBefore, double clipFps);

// The Windows key code of a key press as the player reports it (keypad 4
// is 100, keypad 6 is 102, Left 37, Right 39, Esc 27, letters and digits
// their capitals' codes); 0 for a key without one.
int playerKeyCode(int qtKey, bool keypad);
constexpr int keyCodeLeft = 37;
constexpr int keyCodeRight = 39;
constexpr int keyCodeStepBack = 100;
constexpr int keyCodeStepForward = 102;

// ---- Fixing the skier's name ----

struct FixedName {
    QString name;
    QString path; // the clip's path under that name
};
// Asks the operator for the skier's name of a clip whose name the capture
// screen altered, until the name is given and no other file has the path
// it gives; nullopt when the operator cancels (the clip keeps its name).
std::optional<FixedName> askFixedSkierName(Dialogs& dialogs, const QString& proposedName,
                                           const QString& clip, const QString& videoDir,
                                           const QString& jumpText,
                                           const std::function<bool(const QString&)>& exists);

// The whole of "Fix the skier's name": asks, renames the clip, and tells
// the capture screen the name and the next jump number. The clip's path
// afterwards (the old one when nothing was renamed).
QString fixSkierName(Dialogs& dialogs, CaptureScreenView& capture, const QString& clip,
                     const QString& videoDir);

// The skier of a clip whose name does not tell it, asked of the operator
// with the proposed name given; the name as safe for a file name, or
// nullopt when the operator cancels or gives none.
std::optional<QString> askSkierOfClip(Dialogs& dialogs, const QString& clip,
                                      const QString& proposed);

// ---- The clip once its frame is taken ----

enum class ClipAction { Keep, Record, Delete };
// "Save" records, "Ask" asks and records or deletes, anything else keeps.
ClipAction clipActionFor(Dialogs& dialogs, const QString& policy);

// Clears the clip's read-only attribute and deletes it.
FileResult deleteClip(const QString& clip);
FileResult renameClip(const QString& from, const QString& to);

} // namespace zt
