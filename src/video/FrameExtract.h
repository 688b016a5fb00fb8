#pragma once
// Writes one decoded frame of a clip as a 24-bit BMP file.

#include "app/Dialogs.h"

#include <QString>
#include <cstdint>

namespace zt {

inline const QString& currentCaptureName() {
    static const QString name = QStringLiteral("currentcapture.bmp");
    return name;
}

// Frame n (0-based sample number) of the clip into "currentcapture.bmp" of
// the application folder. Problems are told through the dialogs service;
// true when the file was written.
bool extractFrame(Dialogs& dialogs, const QString& appDir, const QString& clip, int64_t n);

// The same into any file.
bool extractFrameTo(Dialogs& dialogs, const QString& clip, int64_t n, const QString& bmpPath);

} // namespace zt
