#include "video/Dib.h"

#include "app/FileUtils.h"
#include "video/MediaFileOpen.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>

namespace zt {

namespace {

template <typename T> T le(const unsigned char* p) {
    return qFromLittleEndian<T>(p);
}

template <typename T> void put(QByteArray& out, T v) {
    unsigned char b[sizeof(T)];
    qToLittleEndian<T>(v, b);
    out.append(reinterpret_cast<const char*>(b), sizeof(T));
}

BmpFileHeader fileHeaderFrom(const unsigned char* p) {
    BmpFileHeader h;
    h.type = le<uint16_t>(p);
    h.size = le<uint32_t>(p + 2);
    h.reserved1 = le<uint16_t>(p + 6);
    h.reserved2 = le<uint16_t>(p + 8);
    h.offBits = le<uint32_t>(p + 10);
    return h;
}

void notSupported(Dialogs& dialogs, const QString& path) {
    dialogs.inform(QStringLiteral("File is not a supported bitmap format:\r\n") + path, QString(),
                   MsgIcon::Information);
}

} // namespace

BmpInfoHeader BmpInfoHeader::fromBytes(const unsigned char* p) {
    BmpInfoHeader h;
    h.size = le<uint32_t>(p);
    h.width = le<int32_t>(p + 4);
    h.height = le<int32_t>(p + 8);
    h.planes = le<uint16_t>(p + 12);
    h.bitCount = le<uint16_t>(p + 14);
    h.compression = le<uint32_t>(p + 16);
    h.sizeImage = le<uint32_t>(p + 20);
    h.xPelsPerMeter = le<int32_t>(p + 24);
    h.yPelsPerMeter = le<int32_t>(p + 28);
    h.clrUsed = le<uint32_t>(p + 32);
    h.clrImportant = le<uint32_t>(p + 36);
    return h;
}

QByteArray BmpInfoHeader::toBytes() const {
    QByteArray out;
    put(out, size);
    put(out, width);
    put(out, height);
    put(out, planes);
    put(out, bitCount);
    put(out, compression);
    put(out, sizeImage);
    put(out, xPelsPerMeter);
    put(out, yPelsPerMeter);
    put(out, clrUsed);
    put(out, clrImportant);
    return out;
}

int64_t rowBytes24(int64_t width) {
    constexpr int64_t widest = int64_t(1) << 40; // far beyond any bitmap; keeps the sum exact
    return width <= 0 ? 0 : (std::min(width, widest) * 3 + 3) / 4 * 4;
}

BmpInfoHeader frameFormat24(int width, int height) {
    BmpInfoHeader h;
    h.size = BmpInfoHeader::byteSize;
    h.width = width;
    h.height = height;
    h.planes = 1;
    h.bitCount = 24;
    h.compression = 0;
    const int64_t image = rowBytes24(width) * std::max(height, 0);
    h.sizeImage = image <= int64_t(UINT32_MAX) ? static_cast<uint32_t>(image) : 0;
    return h;
}

bool Dib::CreateFromPackedDIBPointer(const void* packed, std::size_t length) {
    if (!packed || length < BmpInfoHeader::byteSize)
        return false;
    const auto* p = static_cast<const unsigned char*>(packed);
    info_ = BmpInfoHeader::fromBytes(p);
    if (info_.bitCount <= 15 || info_.sizeImage == 0 ||
        info_.sizeImage > length - BmpInfoHeader::byteSize)
        return false;
    bits_ = QByteArray(reinterpret_cast<const char*>(p + BmpInfoHeader::byteSize),
                       static_cast<qsizetype>(info_.sizeImage));
    bitmapInfo_ = QByteArray(reinterpret_cast<const char*>(p), BmpInfoHeader::byteSize);
    file_ = {bmpType, fileHeaderSize + BmpInfoHeader::byteSize + info_.sizeImage, 0, 0,
             fileHeaderSize + BmpInfoHeader::byteSize};
    return true;
}

QByteArray Dib::fileBytes() const {
    QByteArray out;
    put(out, file_.type);
    put(out, file_.size);
    put(out, file_.reserved1);
    put(out, file_.reserved2);
    put(out, file_.offBits);
    return out + bitmapInfo_ + bits_;
}

bool Dib::WriteToFile(const QString& path) const {
    return bool(replaceFile(path, fileBytes()));
}

bool Dib::CreateFromFile(Dialogs& dialogs, const QString& path) {
    QFile f(path);
    if (!openMediaFile(dialogs, path, f))
        return false;
    const qint64 size = f.size();
    const QByteArray head = f.read(fileHeaderSize + BmpInfoHeader::byteSize);
    const auto* p = reinterpret_cast<const unsigned char*>(head.constData());
    if (head.size() < fileHeaderSize || fileHeaderFrom(p).type != bmpType) {
        notSupported(dialogs, path);
        return false;
    }
    const BmpFileHeader fh = fileHeaderFrom(p);
    // Every part must lie within the file; a short or inconsistent file is
    // refused rather than read past its end.
    if (head.size() < fileHeaderSize + BmpInfoHeader::byteSize ||
        fh.offBits < fileHeaderSize + BmpInfoHeader::byteSize) {
        notSupported(dialogs, path);
        return false;
    }
    const BmpInfoHeader ih = BmpInfoHeader::fromBytes(p + fileHeaderSize);
    if (qint64(fh.offBits) + qint64(ih.sizeImage) > size) {
        notSupported(dialogs, path);
        return false;
    }
    f.seek(fh.offBits);
    const QByteArray bits = f.read(ih.sizeImage);
    f.seek(fileHeaderSize);
    const QByteArray info = f.read(fh.offBits - fileHeaderSize);
    if (bits.size() != qsizetype(ih.sizeImage) || info.size() != qsizetype(fh.offBits) - 14) {
        notSupported(dialogs, path);
        return false;
    }
    file_ = fh;
    info_ = ih;
    bits_ = bits;
    bitmapInfo_ = info;
    return true;
}

} // namespace zt
