#include "app/DiagnosticLog.h"

#include "app/Clock.h"
#include "app/Dialogs.h"
#include "app/FileUtils.h"
#include "app/TextFormat.h"

#include <QFile>

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
    const QString line = lineFor(text);
    bool ok = false;
    if (truncate) {
        QFile f(path_);
        ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
             f.write(fileBytes(line)) == fileBytes(line).size() && f.flush();
    } else {
        ok = appendText(path_, line).ok;
    }
    if (!ok)
        dialogs_.warn(QStringLiteral("Error occurred while trying to close file, please retry."));
}

} // namespace zt
