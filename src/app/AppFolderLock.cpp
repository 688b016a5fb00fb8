#include "app/AppFolderLock.h"

#include "app/Paths.h"

#include <cstdio>

namespace zt {

AppFolderLock::AppFolderLock(const QString& appDir)
    : appDir_(appDir), lock_(std::make_unique<QLockFile>(joinPath(appDir, fileName()))) {
    // Held for as long as the program runs: never stale by age, only when
    // its process is gone.
    lock_->setStaleLockTime(0);
}

bool AppFolderLock::acquire() {
    if (lock_->tryLock(0))
        return true;
    // A folder where no lock can be made (not writable) cannot be shared
    // either; its writes tell their own faults.
    if (lock_->error() != QLockFile::LockFailedError)
        return true;
    qint64 pid = 0;
    QString host, app;
    holder_ = lock_->getLockInfo(&pid, &host, &app) ? pid : 0;
    return false;
}

QString alreadyRunningText(const QString& appDir, qint64 process) {
    return QStringLiteral("Zentrak is already running with the application folder ") + appDir +
           QStringLiteral(" (process ") + QString::number(process) +
           QStringLiteral("). Close it first.");
}

bool lockAppFolder(AppFolderLock& lock, Dialogs& dialogs) {
    if (lock.acquire())
        return true;
    const QString text = alreadyRunningText(lock.appDir(), lock.holder());
    // Also on the error output, for a start from a terminal or a script.
    std::fprintf(stderr, "zentrak: %s\n", qPrintable(text));
    std::fflush(stderr);
    dialogs.message({text, QString(), MsgIcon::Critical, MsgButtons::OK, 1});
    return false;
}

} // namespace zt
