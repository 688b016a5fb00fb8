#pragma once
// Appending lines to the results file with the operator told when they
// cannot be written (a folder that does not exist, a locked file), so a
// lost line never goes unnoticed and the program keeps running.

#include "app/FileUtils.h"

namespace zt {

class Dialogs;

// Appends text to the results file at path; on failure shows a warning
// naming the file and the reason. True when the text was written.
bool appendToResultsFile(Dialogs& dialogs, const QString& path, const QString& text);

// The warning shown for a results file that cannot be written.
QString resultsWriteFailureMessage(const QString& path, const QString& reason);

} // namespace zt
