#pragma once
// File tests and the small file operations every part of the program uses.

#include "app/Dialogs.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace zt {

enum PathKind { PathFile = 0, PathFolder = 1, PathDrive = 2 };

// kind 0: a file exists; 1: a folder exists; 2: a drive exists (on Windows a
// drive root such as "C:" or "C:\", elsewhere a mount point). Any other kind,
// or an empty path, answers false. Never fails.
bool pathExists(const QString& path, int kind);

// True when the file's length can be obtained.
bool fileExists(const QString& path);

// Result of a file operation; error names the file and the reason.
struct FileResult {
    bool ok = true;
    QString error;
    explicit operator bool() const { return ok; }
    static FileResult failure(const QString& path, const QString& reason) {
        return {false, path + QStringLiteral(": ") + reason};
    }
};

// Opens, appends and closes; creates a missing file. Text is written as
// Latin-1 where it can be, as the other programs expect. The text is on the
// disk (fsync) when this returns success; on failure none of it stays in
// the file (a part written before the disk filled is cut off again). A
// file whose last line has no line end (cut by a program stopped while
// writing it) gets one first, so the text starts on a line of its own.
FileResult appendText(const QString& path, const QString& text);

// Replaces the file as a whole: written to a temporary file in the same
// folder, flushed to the disk and renamed over the old one, so no reader
// sees half a file; on failure the old file stays as it was. Only a
// regular file is replaced: a link, a folder, a pipe or a device at the
// path is refused ("PATH is a link, not a file: remove it"), as it is by
// appendText.
FileResult replaceFile(const QString& path, const QByteArray& bytes);
FileResult replaceText(const QString& path, const QString& text);

// Reads a whole regular file of at most limit bytes (8 MB unless told);
// nullopt when it cannot be read. readRegularFile (FileAccess.h) says why.
std::optional<QByteArray> readFileBytes(const QString& path, qint64 limit = 8 * 1024 * 1024);

// Bytes of a text as it goes into the files other programs read.
QByteArray fileBytes(const QString& text);
QString textOfFileBytes(const QByteArray& bytes);

// Choose a file to open. filter is "Label|pattern|...|", filterIndex counts
// from 1. Returns the chosen path; nullopt on cancel (the caller ends its
// handler without change when cancelling counts as an error).
std::optional<QString> chooseFileToOpen(Dialogs& dialogs, const QString& filter, int filterIndex,
                                        const QString& startDir, const QString& title = QString());

} // namespace zt
