#pragma once
// Opening a clip or picture file for reading, with the operator told why
// when it cannot be opened.

#include <QString>

class QFile;

namespace zt {

class Dialogs;

// Opens file (already named path) read-only. A missing file shows "File does
// not exist:", a locked one "File is locked - cannot access:", anything else
// the system's reason; each with the path. Anything but a regular file (a
// named pipe, a device) is refused without being opened.
bool openMediaFile(Dialogs& dialogs, const QString& path, QFile& file);

} // namespace zt
