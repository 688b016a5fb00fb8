#pragma once
// Writes one decoded frame of a clip as a 24-bit BMP file.

#include "app/Dialogs.h"
#include "video/FrameError.h"

#include <QString>
#include <cstdint>

namespace zt {

class FrameSource;

inline const QString& currentCaptureName() {
    static const QString name = QStringLiteral("currentcapture.bmp");
    return name;
}

// Frame n (0-based sample number) of the clip into "currentcapture.bmp" of
// the application folder. Problems are told through the dialogs service;
// true when the file was written. A frame number past the clip's end
// writes nothing and tells nothing.
bool extractFrame(Dialogs& dialogs, const QString& appDir, const QString& clip, int64_t n);

// The same into any file.
bool extractFrameTo(Dialogs& dialogs, const QString& clip, int64_t n, const QString& bmpPath);

// Tells why a clip could not be opened for its frames, as the extraction
// tells it ("No suitable decompressor found ...", "This clip has no picture
// to show:", "There was an error working with the file:").
void tellClipOpenError(Dialogs& dialogs, const QString& clip, FrameError error);

// Frame n of a clip already open (the frame on display is already decoded:
// this only converts and writes it). Problems are told as extractFrameTo
// tells them; clip names the clip in the messages.
bool writeFrameBitmap(Dialogs& dialogs, FrameSource& source, const QString& clip, int64_t n,
                      const QString& bmpPath);

} // namespace zt
