#pragma once
// Shared by the fuzz targets: the input as bytes, and a scratch file for
// the readers that only take a path (SilentDialogs, in app/Dialogs.h,
// answers their boxes).

#include "app/Dialogs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace zt::fuzz {

inline QByteArray bytesOf(const uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A file of this process in the temporary folder holding the input; the
// same path for every run, removed at exit.
inline QString scratchFile(const uint8_t* data, std::size_t size, const char* name) {
    static const QString path = QDir::tempPath() + QStringLiteral("/zentrak-fuzz-") +
                                QString::number(getpid()) + QLatin1Char('-') +
                                QString::fromLatin1(name);
    static const bool removeAtExit = [] {
        std::atexit([] { QFile::remove(path); });
        return true;
    }();
    (void)removeAtExit;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    f.close();
    return path;
}

} // namespace zt::fuzz
