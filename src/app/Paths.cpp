#include "app/Paths.h"

#include <QDir>
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

Paths Paths::defaults() {
    Paths p;
    p.appDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (p.appDir.isEmpty())
        p.appDir = QDir::homePath() + QStringLiteral("/.zentrak");
    QDir().mkpath(p.appDir);
    p.exchangeDir = exchangeDirFor(p.appDir);
    p.settingsFile = joinPath(p.appDir, QStringLiteral("zt05-settings.ini"));
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
