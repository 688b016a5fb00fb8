#pragma once
// Opening files that others can reach: the exchange folder is shared with
// the scoring system (often over the network), the video and application
// folders with other programs and people. Anything can be put there in
// place of a file: a link to a file elsewhere, a named pipe that never
// answers, a device that never ends. Writes never go through a link and
// never wait on a pipe; reads take regular files only, and no more of
// them than a file of their kind can hold.

#include "app/FileUtils.h"

#include <QByteArray>
#include <QString>

class QFile;

namespace zt {

// The most each kind of file read from outside may hold.
namespace readLimit {
inline constexpr qint64 kb = 1024;
inline constexpr qint64 mb = 1024 * kb;
inline constexpr qint64 flag = 4 * kb;      // clipflag.txt, ztskier.nam
inline constexpr qint64 sideFile = 64 * kb; // grid setup, check buoy and ".info" files
inline constexpr qint64 text = 8 * mb;      // settings, logs, results, name lists
inline constexpr qint64 manual = 32 * mb;   // the manual, pictures inside it included
inline constexpr qint64 picture = 512 * mb; // bitmaps copied or loaded whole
} // namespace readLimit

struct FileRead {
    bool ok = false;
    bool missing = false; // nothing at the path
    QByteArray bytes;
    QString error; // names the file and the reason
    explicit operator bool() const { return ok; }
};

// Reads a whole regular file of at most limit bytes. The open never waits
// (a pipe or a device is refused, not read) and the type is checked on the
// file opened, so nothing can be swapped in between.
FileRead readRegularFile(const QString& path, qint64 limit);

// Opens path for reading into file when it is a regular file, by the same
// rules as readRegularFile but without a size limit (clips, pictures read
// in parts).
FileResult openRegularForReading(QFile& file, const QString& path);

// Whether anything is at the path: a file, a folder, a link (even one
// leading nowhere).
bool pathTaken(const QString& path);

// Lets the owner write the file, changed on the file itself: a link is
// left as it is and its target untouched. False when nothing was changed.
bool makeOwnerWritable(const QString& path);

// What is at the path when it is not a regular file, as the operator is
// told it: "a link", "a folder", "a pipe", "a device"; empty for a regular
// file or nothing.
QString nonFileKind(const QString& path);

// The failure of writing to a path that is not a regular file.
FileResult notAFileFailure(const QString& path, const QString& kind);

// The write primitives behind appendText and replaceFile.
namespace detail {
// Opens file for appending (and reading, where allowed), creating a
// missing file; refuses anything but a regular file.
FileResult openForAppend(QFile& file, const QString& path);
// Writes bytes to a fresh temporary file beside path and renames it over
// path, which must be a regular file or nothing.
FileResult replaceRegular(const QString& path, const QByteArray& bytes);
} // namespace detail

} // namespace zt
