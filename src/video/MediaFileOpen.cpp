#include "video/MediaFileOpen.h"

#include "app/Dialogs.h"
#include "app/FileUtils.h"

#include <QFile>
#include <QFileInfo>

namespace zt {

bool openMediaFile(Dialogs& dialogs, const QString& path, QFile& file) {
    if (!pathExists(path, PathFile)) {
        dialogs.error(QStringLiteral("File does not exist:\r\n") + path);
        return false;
    }
    // A named pipe or a device would block the open or never end.
    if (!QFileInfo(path).isFile()) {
        dialogs.inform(QStringLiteral("Not a regular file:\r\n") + path, QString(),
                       MsgIcon::Information);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo(path).isReadable())
            dialogs.error(QStringLiteral("File is locked - cannot access:\r\n") + path);
        else
            dialogs.inform(file.errorString(), QString(), MsgIcon::Information);
        return false;
    }
    return true;
}

} // namespace zt
