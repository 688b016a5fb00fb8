#pragma once
// Where the program keeps its files.

#include <QString>

namespace zt {

struct Paths {
    QString appDir;      // writable application folder
    QString exchangeDir; // "ztio", shared with the scoring system
    QString settingsFile;

    // Defaults of the platform: the per-user application data folder, and
    // "ztio" at the root of the file system that holds it.
    static Paths defaults();
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
