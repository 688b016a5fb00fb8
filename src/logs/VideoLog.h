#pragma once
// Reading the day's video log for the log viewers: which lines are clip
// lines and which picture lines, the file path a line names, the longest
// entry of a list. The viewers change no file.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace zt {

namespace videolog {
// Filter of the viewers' "select a log file" dialogs.
inline const QString selectFilter = QStringLiteral("*.txt|JumpMeasurementLog*.txt|");
} // namespace videolog

// Clip lines end in "avi"; picture lines in "bmp", "gif" or "jpg" (the
// three picture endings the configuration offers). Exact, lower case.
bool isClipLine(const QString& line);
bool isPictureLine(const QString& line);

enum class LogLines { Clips, Pictures };

// The file's lines of the kind, in file order; nullopt when the file
// cannot be read. Lines end at CR LF, LF or CR.
std::optional<QStringList> readLogLines(const QString& path, LogLines kind);
// The same of a log's bytes.
QStringList logLinesOf(const QByteArray& bytes, LogLines kind);

// The path a line names: the text from six characters after the first
// "File:" to the end of the line; empty without "File:".
QString pathOfLogLine(const QString& line);

// Index of the first entry with the greatest number of characters; -1 for
// an empty list.
int longestEntryIndex(const QStringList& entries);

} // namespace zt
