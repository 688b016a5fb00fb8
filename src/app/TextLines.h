#pragma once
// Reading the text files the program appends to (the video log, the
// results file, the diagnostic log). Each appended line is written in
// Latin-1 when every character fits and in UTF-8 otherwise, so one file
// may hold both: it is read line by line, each line as UTF-8 when it is
// valid UTF-8 and as Latin-1 otherwise.

#include <QByteArray>
#include <QString>

namespace zt {

// The text of an appended file, line ends kept as they are.
QString textOfAppendedFile(const QByteArray& bytes);

} // namespace zt
