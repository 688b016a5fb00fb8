#pragma once
// The diagnostic log "DebugLog.txt" in the exchange folder: one timestamped
// line per notable step, for support after a tournament day.

#include <QString>

namespace zt {

class Clock;
class Dialogs;

class DiagnosticLog {
public:
    DiagnosticLog(QString path, const Clock& clock, Dialogs& dialogs);

    // Empties the log and writes "Debug Log Session Started".
    void startDiagnosticLog();
    // Appends one line; on failure warns the operator and goes on.
    void appendDiagnosticLine(const QString& text);

    const QString& path() const { return path_; }
    // The line as written: time, six spaces, text, CR LF.
    QString lineFor(const QString& text) const;

private:
    void write(const QString& text, bool truncate);

    QString path_;
    const Clock& clock_;
    Dialogs& dialogs_;
};

} // namespace zt
