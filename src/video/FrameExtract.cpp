#include "video/FrameExtract.h"

#include "app/Paths.h"
#include "video/AviFile.h"
#include "video/Dib.h"
#include "video/FrameSource.h"

#include <cstdlib>

namespace zt {

namespace {

void fileError(Dialogs& dialogs, const QString& clip) {
    dialogs.inform(QStringLiteral("There was an error working with the file:\r\n") + clip,
                   QString(), MsgIcon::Information);
}

// Size of the frame rectangle of the video stream; the bitmap header's
// size when the rectangle is empty.
void frameSize(const AviHeaders& h, int* width, int* height) {
    *width = h.frame.right - h.frame.left;
    *height = h.frame.bottom - h.frame.top;
    if (*width <= 0 || *height <= 0) {
        *width = h.bmpWidth;
        *height = std::abs(h.bmpHeight);
    }
}

} // namespace

bool extractFrameTo(Dialogs& dialogs, const QString& clip, int64_t n, const QString& bmpPath) {
    const auto headers = readAviHeaders(clip);
    if (!headers || !headers->hasVideo) {
        fileError(dialogs, clip);
        return false;
    }
    int width = 0, height = 0;
    frameSize(*headers, &width, &height);
    FrameError error = FrameError::None;
    const auto source = FrameSource::open(clip, &error);
    if (error == FrameError::CannotOpen || error == FrameError::NoVideoStream) {
        fileError(dialogs, clip);
        return false;
    }
    if (!source || width <= 0 || height <= 0) {
        dialogs.inform(QStringLiteral("No suitable decompressor found for this video stream!"),
                       QString(), MsgIcon::Information);
        return false;
    }
    const auto packed = source->packedDib(n, &error, width, height);
    if (!packed)
        return false; // no frame came back: nothing is written
    Dib dib;
    if (!dib.CreateFromPackedDIBPointer(packed->constData(), std::size_t(packed->size())))
        return false;
    if (!dib.WriteToFile(bmpPath)) {
        dialogs.error(QStringLiteral("Unable to write the frame to:\r\n") + bmpPath);
        return false;
    }
    return true;
}

bool extractFrame(Dialogs& dialogs, const QString& appDir, const QString& clip, int64_t n) {
    return extractFrameTo(dialogs, clip, n, joinPath(appDir, currentCaptureName()));
}

} // namespace zt
