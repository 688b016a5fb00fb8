#include "app/DiagnosticLog.h"

#include "app/Clock.h"
#include "app/Dialogs.h"
#include "app/FileUtils.h"
#include "app/TextFormat.h"

namespace zt {

DiagnosticLog::DiagnosticLog(QString path, const Clock& clock, Dialogs& dialogs)
    : path_(std::move(path)), clock_(clock), dialogs_(dialogs) {}

QString DiagnosticLog::lineFor(const QString& text) const {
    return PrintLine().item(timeText(clock_.now().time())).item(text).line();
}

void DiagnosticLog::startDiagnosticLog() {
    write(QStringLiteral("Debug Log Session Started"), true);
}

void DiagnosticLog::appendDiagnosticLine(const QString& text) {
    write(text, false);
}

void DiagnosticLog::write(const QString& text, bool truncate) {
    // A new session's log replaces the old one whole (the old one stays
    // when the new cannot be written); lines are appended.
    const QString line = lineFor(text);
    const FileResult r = truncate ? replaceText(path_, line) : appendText(path_, line);
    if (!r)
        dialogs_.warn(
            QStringLiteral("Error occurred while trying to close file, please retry.\r\n") +
            r.error);
}

} // namespace zt
