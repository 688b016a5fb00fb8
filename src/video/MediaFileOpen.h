#pragma once
// Opening a clip or picture file for reading, with the operator told why
// when it cannot be opened.

#include <QString>
#include <QStringList>
#include <cstdint>

class QFile;

namespace zt {

class Dialogs;
class FrameSource;

// The clips frame selection opens: AVI (what this program records) and
// the MP4, MOV and MKV clips of phones and action cameras.
enum class ClipKind { Avi, Mp4, Mkv };
// By the file's name: ".mp4" and ".mov" (any case) are Mp4, ".mkv" Mkv,
// any other name Avi (its headers then decide).
ClipKind clipKindOfName(const QString& path);
// The browse dialog's filter: one entry, AVI first.
QString clipFileFilter();
// The file is a clip of its kind: an AVI file as isValidAvi tells it; an
// MP4 or MOV file starts with an ISO box ("ftyp", "moov", ...), an MKV file
// with the EBML mark. Problems opening the file are told as openMediaFile
// tells them; a file of the wrong content is not told.
bool isValidClip(Dialogs& dialogs, const QString& path);

// What the file information list shows of a clip that is not an AVI file.
struct ClipFacts {
    QString container, codec;
    int width = 0, height = 0; // as displayed (turned by the rotation)
    int64_t frames = 0;
    double frameRate = 0; // nominal: the average of a variable-rate clip
    bool variableRate = false;
    int rotation = 0;
};
ClipFacts factsOf(const FrameSource& source);
QStringList clipInfoLines(const QString& path, const ClipFacts& facts);

// Opens file (already named path) read-only. A missing file shows "File does
// not exist:", a locked one "File is locked - cannot access:", anything else
// the system's reason; each with the path. Anything but a regular file (a
// named pipe, a device) is refused without being opened.
bool openMediaFile(Dialogs& dialogs, const QString& path, QFile& file);

} // namespace zt
