#pragma once
// Reading a picture file whole or not at all. Qt's readers hand back an
// image for a bitmap whose file was cut short, with the missing rows never
// filled: whatever memory held before shows as the picture, and buoys or a
// landing could be marked on it. Every picture the program shows is read
// here, so such a file is refused with its reason and the picture shown
// before stays.

#include <QImage>
#include <QString>

namespace zt {

// Pictures up to this many pixels a side load; larger ones are refused.
inline constexpr int maxPictureFileSide = 8192;

struct PictureRead {
    QImage image;
    QString error; // names the file and the reason
    bool ok() const { return !image.isNull(); }
};

// The picture in path, read by its content (a bitmap named ".jpg" reads as
// a bitmap), or the reason it cannot be: "PATH: the file is cut off",
// "PATH: the picture is too large (...)" or Qt's own reason.
PictureRead readWholePicture(const QString& path);

// "The picture could not be loaded: " + the reason.
QString pictureNotLoadedMessage(const PictureRead& failure);

// Bytes a BMP file must hold for the pixel data its headers promise; 0
// when the headers are not a bitmap's or give no size to check.
qint64 bmpExpectedFileSize(const QByteArray& headerBytes);

} // namespace zt
