#pragma once
// Where the program keeps its files.

#include <QString>

namespace zt {

struct Paths {
    QString appDir;      // writable application folder
    QString exchangeDir; // "ztio", shared with the scoring system
    QString settingsFile;

    // The folders of a run: the application folder given (made absolute
    // against the start folder) or else the platform's per-user application
    // data folder, created when missing; the exchange folder given or else
    // "ztio" derived from it. The default folder is neither looked up nor
    // made when one is given.
    // Empty appDir with *error set (naming the folder or the variable) when
    // the folder cannot be found or made.
    static Paths locate(const QString& appDirGiven, const QString& exchangeDirGiven,
                        QString* error);
    // Why the platform's default folder cannot be trusted (HOME unset, a
    // relative XDG_DATA_HOME), in words; empty when it can.
    static QString defaultFolderProblem();
    // "ztio" at the drive root (Windows) or the mount point holding dir.
    static QString exchangeDirFor(const QString& dir);

    QString inApp(const QString& name) const;
    QString inExchange(const QString& name) const;
    // A folder or file typed or read from the settings, made absolute: a
    // relative text names a place under the application folder, whatever
    // folder the program was started from. Absolute and empty texts stay
    // as they are.
    QString absolute(const QString& text) const;
};

// Joins folder and name with the native separator.
QString joinPath(const QString& folder, const QString& name);

} // namespace zt
