#include "app/ResultsFile.h"

#include "app/Dialogs.h"

namespace zt {

QString resultsWriteFailureMessage(const QString& path, const QString& reason) {
    const QString shown = path.isEmpty() ? QStringLiteral("(no file name)") : path;
    return QStringLiteral("The results file cannot be written: ") + shown + QStringLiteral("\n") +
           reason +
           QStringLiteral("\nThis line is lost. Check the results file in the configuration "
                          "screen.");
}

bool appendToResultsFile(Dialogs& dialogs, const QString& path, const QString& text) {
    if (path.isEmpty()) {
        dialogs.warn(resultsWriteFailureMessage(path, QStringLiteral("No file name is set.")));
        return false;
    }
    const FileResult r = appendText(path, text);
    if (r)
        return true;
    QString reason = r.error;
    if (reason.startsWith(path + QStringLiteral(": ")))
        reason = reason.mid(path.size() + 2);
    dialogs.warn(resultsWriteFailureMessage(path, reason));
    return false;
}

} // namespace zt
