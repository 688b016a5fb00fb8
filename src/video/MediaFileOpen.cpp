#include "video/MediaFileOpen.h"

#include "app/Dialogs.h"
#include "app/FileAccess.h"

#include <QFile>
#include <QFileInfo>

namespace zt {

bool openMediaFile(Dialogs& dialogs, const QString& path, QFile& file) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir()) {
        dialogs.error(QStringLiteral("File does not exist:\r\n") + path);
        return false;
    }
    // A named pipe or a device would block the open or never end; the
    // type is checked on the file opened.
    if (const FileResult opened = openRegularForReading(file, path); !opened) {
        if (!info.isFile())
            dialogs.inform(QStringLiteral("Not a regular file:\r\n") + path, QString(),
                           MsgIcon::Information);
        else if (!info.isReadable())
            dialogs.error(QStringLiteral("File is locked - cannot access:\r\n") + path);
        else
            dialogs.inform(opened.error, QString(), MsgIcon::Information);
        return false;
    }
    return true;
}

} // namespace zt
