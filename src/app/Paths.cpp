#include "app/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace zt {

QString joinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return name;
    QString f = folder;
    if (f.endsWith(QLatin1Char('/')) || f.endsWith(QDir::separator()))
        f.chop(1);
    return f + QLatin1Char('/') + name;
}

QString Paths::exchangeDirFor(const QString& dir) {
    QString root = QStorageInfo(dir).rootPath();
    if (root.isEmpty())
        root = QDir::rootPath();
    return joinPath(root, QStringLiteral("ztio"));
}

QString Paths::defaultFolderProblem() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty()) {
        if (QDir::isRelativePath(dataHome))
            return QStringLiteral("XDG_DATA_HOME is not an absolute folder: ") + dataHome;
        return QString();
    }
#endif
#ifndef Q_OS_WIN
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty())
        return QStringLiteral("HOME is not set");
    if (QDir::isRelativePath(home))
        return QStringLiteral("HOME is not an absolute folder: ") + home;
#endif
    return QString();
}

namespace {

// Makes the folder and its parents; why not, in words, when it cannot.
QString makeFolder(const QString& dir) {
    const QFileInfo info(dir);
    if (info.isDir())
        return QString();
    if (info.exists() || info.isSymLink())
        return QStringLiteral("something that is not a folder is there");
    if (!QDir().mkpath(dir) || !QFileInfo(dir).isDir())
        return QStringLiteral("it cannot be made (its name, its place or the permissions)");
    return QString();
}

} // namespace

Paths Paths::locate(const QString& appDirGiven, const QString& exchangeDirGiven, QString* error) {
    Paths p;
    QString dir;
    if (!appDirGiven.isEmpty()) {
        dir = QDir::cleanPath(QDir::current().absoluteFilePath(appDirGiven));
    } else {
        if (const QString problem = defaultFolderProblem(); !problem.isEmpty()) {
            *error = problem +
                     QStringLiteral(": the application folder cannot be found. Set it, or give "
                                    "the folder with --app-dir DIR.");
            return p;
        }
        dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (dir.isEmpty()) {
            *error = QStringLiteral("The platform names no folder for the program's data: give "
                                    "the folder with --app-dir DIR.");
            return p;
        }
    }
    if (const QString why = makeFolder(dir); !why.isEmpty()) {
        *error = QStringLiteral("The application folder ") + dir +
                 QStringLiteral(" cannot be used: ") + why + QLatin1Char('.');
        return p;
    }
    p.appDir = dir;
    p.exchangeDir = exchangeDirGiven.isEmpty()
                        ? exchangeDirFor(dir)
                        : QDir::cleanPath(QDir::current().absoluteFilePath(exchangeDirGiven));
    p.settingsFile = joinPath(dir, QStringLiteral("zt05-settings.ini"));
    return p;
}

QString Paths::inApp(const QString& name) const {
    return joinPath(appDir, name);
}

QString Paths::absolute(const QString& text) const {
    const QString path = text.trimmed();
    if (path.isEmpty() || !QDir::isRelativePath(path))
        return text;
    return QDir::cleanPath(joinPath(appDir, path));
}

QString Paths::inExchange(const QString& name) const {
    return joinPath(exchangeDir, name);
}

} // namespace zt
