#include "app/PictureFile.h"

#include "app/FileAccess.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cstdint>

namespace zt {

namespace {

uint32_t le32(const QByteArray& b, int at) {
    const auto byte = [&](int i) { return static_cast<uint32_t>(static_cast<uint8_t>(b[at + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

uint16_t le16(const QByteArray& b, int at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1])
                                                                   << 8);
}

// Qt refuses pictures whose decoded size passes its allocation limit (128
// MB by default, less than an 8000 x 6000 picture). The limit is raised so
// that the largest picture taken decodes, with room for one conversion.
void allowLargestPicture() {
    constexpr qint64 bytes = qint64(maxPictureFileSide) * maxPictureFileSide * 4;
    const int megabytes = static_cast<int>(2 * bytes / (1024 * 1024));
    if (QImageReader::allocationLimit() < megabytes)
        QImageReader::setAllocationLimit(megabytes);
}

QString failure(const QString& path, const QString& reason) {
    return path + QStringLiteral(": ") + reason;
}

} // namespace

qint64 bmpExpectedFileSize(const QByteArray& h) {
    if (h.size() < 26 || h[0] != 'B' || h[1] != 'M')
        return 0;
    const qint64 offBits = le32(h, 10);
    const uint32_t infoSize = le32(h, 14);
    qint64 width = 0, height = 0, bitCount = 0, compression = 0, sizeImage = 0;
    if (infoSize == 12) { // the old core header
        width = le16(h, 18), height = le16(h, 20), bitCount = le16(h, 24);
    } else if (infoSize >= 40 && h.size() >= 38) {
        width = static_cast<int32_t>(le32(h, 18));
        height = static_cast<int32_t>(le32(h, 22));
        bitCount = le16(h, 28);
        compression = le32(h, 30);
        sizeImage = le32(h, 34);
    } else {
        return 0;
    }
    height = height < 0 ? -height : height;
    constexpr uint32_t rgb = 0, bitfields = 3, alphaBitfields = 6;
    if (compression == rgb || compression == bitfields || compression == alphaBitfields) {
        if (width <= 0 || bitCount <= 0 || bitCount > 32)
            return 0;
        const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
        return offBits + rowBytes * height;
    }
    // Run-length and embedded pictures tell their own size, when they do.
    return sizeImage > 0 ? offBits + sizeImage : 0;
}

PictureRead readWholePicture(const QString& path) {
    PictureRead r;
    // A regular file only, read once: what is checked is what is decoded.
    const FileRead file = readRegularFile(path, readLimit::picture);
    if (!file) {
        r.error =
            file.missing ? failure(path, QStringLiteral("the file does not exist")) : file.error;
        return r;
    }
    const qint64 expected = bmpExpectedFileSize(file.bytes.left(54));
    if (expected > 0 && file.bytes.size() < expected) {
        r.error = failure(path, QStringLiteral("the file is cut off"));
        return r;
    }
    allowLargestPicture();
    QBuffer buffer;
    buffer.setData(file.bytes);
    buffer.open(QIODevice::ReadOnly);
    // Read by its content: a saved frame is a bitmap whatever the
    // configured ending.
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.width() > maxPictureFileSide || size.height() > maxPictureFileSide) {
        r.error = failure(path, QStringLiteral("the picture is too large (%1 x %2 pixels, at "
                                               "most %3 x %3)")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(maxPictureFileSide));
        return r;
    }
    r.image = reader.read();
    if (r.image.isNull())
        r.error = failure(path, reader.errorString());
    return r;
}

QString pictureNotLoadedMessage(const PictureRead& failure) {
    return QStringLiteral("The picture could not be loaded: ") + failure.error;
}

} // namespace zt
