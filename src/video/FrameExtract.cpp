#include "video/FrameExtract.h"

#include "app/Paths.h"
#include "video/AviFile.h"
#include "video/Dib.h"
#include "video/FrameSource.h"
#include "video/MediaFileOpen.h"

#include <cstdlib>

namespace zt {

namespace {

void fileError(Dialogs& dialogs, const QString& clip) {
    dialogs.inform(QStringLiteral("There was an error working with the file:\r\n") + clip,
                   QString(), MsgIcon::Information);
}

void noPicture(Dialogs& dialogs, const QString& clip) {
    dialogs.inform(QStringLiteral("This clip has no picture to show:\r\n") + clip, QString(),
                   MsgIcon::Information);
}

void noPictureYet(Dialogs& dialogs, const QString& clip, int64_t n) {
    dialogs.inform(QStringLiteral("Frame ") + QString::number(n) +
                       QStringLiteral(" comes before the first picture of the clip:\r\n") + clip,
                   QString(), MsgIcon::Information);
}

// The picture size the headers promise: the video stream's frame
// rectangle, or the bitmap header's size when the rectangle is empty.
// Computed wide, so that no header value can overflow it.
void promisedSize(const AviHeaders& h, int64_t* width, int64_t* height) {
    *width = int64_t(h.frame.right) - h.frame.left;
    *height = int64_t(h.frame.bottom) - h.frame.top;
    if (*width <= 0 || *height <= 0) {
        *width = h.bmpWidth;
        *height = std::llabs(int64_t(h.bmpHeight));
    }
}

} // namespace

void tellClipOpenError(Dialogs& dialogs, const QString& clip, FrameError error) {
    if (error == FrameError::NoDecoder)
        dialogs.inform(QStringLiteral("No suitable decompressor found for this video stream!"),
                       QString(), MsgIcon::Information);
    else if (error == FrameError::NoPicture)
        noPicture(dialogs, clip);
    else
        fileError(dialogs, clip);
}

bool writeFrameBitmap(Dialogs& dialogs, FrameSource& source, const QString& clip, int64_t n,
                      const QString& bmpPath) {
    FrameError error = FrameError::None;
    const auto packed = source.packedDib(n, &error);
    if (!packed) {
        if (error == FrameError::NoPicture)
            noPictureYet(dialogs, clip, n);
        else if (error == FrameError::TooLarge)
            fileError(dialogs, clip);
        return false; // otherwise no frame came back: nothing is written
    }
    if (source.isDamaged(n)) {
        // The picture given is an earlier frame's: it is not frame n.
        dialogs.inform(QStringLiteral("Frame ") + QString::number(n) +
                           QStringLiteral(" of the clip is damaged and has no picture:\r\n") + clip,
                       QString(), MsgIcon::Information);
        return false;
    }
    Dib dib;
    if (!dib.CreateFromPackedDIBPointer(packed->constData(), std::size_t(packed->size())))
        return false;
    if (!dib.WriteToFile(bmpPath)) {
        dialogs.error(QStringLiteral("Unable to write the frame to:\r\n") + bmpPath);
        return false;
    }
    return true;
}

bool extractFrameTo(Dialogs& dialogs, const QString& clip, int64_t n, const QString& bmpPath) {
    if (clipKindOfName(clip) == ClipKind::Avi) {
        const auto headers = readAviHeaders(clip);
        if (!headers || !headers->hasVideo) {
            fileError(dialogs, clip);
            return false;
        }
        // A header promising a picture larger than any decoder here
        // delivers is damaged or hostile: refused before anything is
        // decoded. Within the bounds the headers' size is not used; the
        // picture is written at the size the decoder delivers. Other
        // containers are held to the same bound by the decoder itself.
        int64_t width = 0, height = 0;
        promisedSize(*headers, &width, &height);
        if (width <= 0 || height <= 0 || width > maxPictureSide || height > maxPictureSide) {
            fileError(dialogs, clip);
            return false;
        }
    }
    // One frame: decoded from the keyframe before it, nothing else kept.
    FrameError error = FrameError::None;
    const auto source = FrameSource::open(clip, FrameSource::oneFrame(), &error);
    if (!source) {
        tellClipOpenError(dialogs, clip, error);
        return false;
    }
    // Frames past the last whole one of a clip cut short are not there.
    if (source->lengthUncertain())
        if (const auto scan = scanClip(ClipInput::file(clip)))
            source->applyScan(*scan);
    return writeFrameBitmap(dialogs, *source, clip, n, bmpPath);
}

bool extractFrame(Dialogs& dialogs, const QString& appDir, const QString& clip, int64_t n) {
    return extractFrameTo(dialogs, clip, n, joinPath(appDir, currentCaptureName()));
}

} // namespace zt
