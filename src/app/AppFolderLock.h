#pragma once
// One program at a time on an application folder: a lock file in it, held
// while the program runs. Two programs on one folder would each rewrite the
// settings from their own copy and append to the same logs.

#include "app/Dialogs.h"

#include <QLockFile>
#include <QString>
#include <memory>

namespace zt {

class AppFolderLock {
public:
    explicit AppFolderLock(const QString& appDir);

    // Takes the lock; a lock left by a program that is no longer running is
    // taken over. False when another running program holds it; true also
    // when the folder takes no lock file at all.
    bool acquire();
    // The process holding the lock after a refused acquire (0: not known).
    qint64 holder() const { return holder_; }
    const QString& appDir() const { return appDir_; }

    static QString fileName() { return QStringLiteral("zentrak.lock"); }

private:
    QString appDir_;
    std::unique_ptr<QLockFile> lock_;
    qint64 holder_ = 0;
};

// "Zentrak is already running with the application folder PATH (process N).
// Close it first."
QString alreadyRunningText(const QString& appDir, qint64 process);

// Takes the lock of the folder or tells the operator through dialogs that
// another program uses it; false then, and the program must end without
// writing anything.
bool lockAppFolder(AppFolderLock& lock, Dialogs& dialogs);

} // namespace zt
