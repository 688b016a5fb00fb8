#pragma once
// A device-independent bitmap in memory: the BMP file header, the info
// header, the pixel bytes and the header bytes as found in the file.

#include "app/Dialogs.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace zt {

struct BmpFileHeader {
    uint16_t type = 0;
    uint32_t size = 0;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t offBits = 0;
};

struct BmpInfoHeader {
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;

    static constexpr int byteSize = 40;
    static BmpInfoHeader fromBytes(const unsigned char* p);
    QByteArray toBytes() const;
};

// The 24-bit bottom-up format asked of the decoder for a frame of the
// given size: rows padded to a multiple of 4 bytes. A size whose image
// would not fit the 32-bit image size gets an image size of 0, which no
// bitmap here takes.
BmpInfoHeader frameFormat24(int width, int height);
// Bytes of one 24-bit row padded to a multiple of 4 (0 for no width).
int64_t rowBytes24(int64_t width);

class Dib {
public:
    static constexpr uint16_t bmpType = 19778; // "BM"
    static constexpr int fileHeaderSize = 14;

    // Reads a BMP file; problems are told through the dialogs service.
    bool CreateFromFile(Dialogs& dialogs, const QString& path);
    // Takes a packed bitmap (info header followed by the pixels, no colour
    // table) of length bytes; only 16 bits per pixel and more are taken.
    bool CreateFromPackedDIBPointer(const void* packed, std::size_t length);
    // Creates or replaces the file; false when it could not be written.
    bool WriteToFile(const QString& path) const;

    int BitCount() const { return info_.bitCount; }
    int Height() const { return info_.height; }
    int Width() const { return info_.width; }
    uint32_t Compression() const { return info_.compression; }
    uint32_t SizeInfoHeader() const { return info_.size; }
    uint32_t SizeImage() const { return info_.sizeImage; }
    int Planes() const { return info_.planes; }
    uint32_t ClrImportant() const { return info_.clrImportant; }
    uint32_t ClrUsed() const { return info_.clrUsed; }
    int XPPM() const { return info_.xPelsPerMeter; }
    int YPPM() const { return info_.yPelsPerMeter; }
    int FileType() const { return file_.type; }
    uint32_t SizeFileHeader() const { return file_.size; }
    uint32_t BitOffset() const { return file_.offBits; }
    const unsigned char* PointerToBits() const {
        return reinterpret_cast<const unsigned char*>(bits_.constData());
    }
    const unsigned char* PointerToBitmapInfo() const {
        return reinterpret_cast<const unsigned char*>(bitmapInfo_.constData());
    }
    int SizeBitmapInfo() const { return static_cast<int>(bitmapInfo_.size()); }

    const QByteArray& bits() const { return bits_; }
    const QByteArray& bitmapInfo() const { return bitmapInfo_; }
    // The whole BMP file as WriteToFile writes it.
    QByteArray fileBytes() const;

private:
    BmpFileHeader file_;
    BmpInfoHeader info_;
    QByteArray bits_;
    QByteArray bitmapInfo_;
};

} // namespace zt
