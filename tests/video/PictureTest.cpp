// The pictures a clip gives: every pixel at any size, rows stored either way
// up, and picture sizes that headers cannot inflate.

#include "Fixtures.h"
#include "support/TestEnv.h"
#include "video/AviFile.h"
#include "video/Dib.h"
#include "video/FrameSource.h"

#include <QtEndian>
#include <array>
#include <functional>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {

// Positions of the first differing pixel, or an empty text when equal.
std::string firstDifference(const QImage& got, const QImage& want) {
    if (got.size() != want.size())
        return "size differs";
    const QImage a = got.convertToFormat(QImage::Format_RGB888);
    const QImage b = want.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return {};
}

// The picture held by a packed bottom-up bitmap.
QImage fromPacked(const QByteArray& packed) {
    const auto* p = reinterpret_cast<const unsigned char*>(packed.constData());
    const BmpInfoHeader h = BmpInfoHeader::fromBytes(p);
    const int stride = int(rowBytes24(h.width));
    QImage img(h.width, h.height, QImage::Format_BGR888);
    for (int y = 0; y < h.height; ++y)
        std::copy_n(p + 40 + (h.height - 1 - y) * stride, h.width * 3, img.scanLine(y));
    return img;
}

struct Size {
    int width, height;
};

const Size sizes[] = {{2, 2}, {3, 3}, {7, 5}, {9, 4}, {17, 11}, {64, 48}, {161, 121}, {322, 242}};

// Every frame, as image and as bitmap, equals what it should be.
void expectPictures(const QString& path, int frames, const std::function<QImage(int)>& wanted) {
    auto source = FrameSource::open(path);
    ASSERT_TRUE(source);
    for (int n = frames - 1; n >= 0; --n) {
        const QImage want = wanted(n);
        ASSERT_EQ(firstDifference(source->image(n), want), "") << "frame " << n;
        const auto packed = source->packedDib(n);
        ASSERT_TRUE(packed);
        ASSERT_EQ(packed->size(), 40 + rowBytes24(want.width()) * want.height());
        ASSERT_EQ(firstDifference(fromPacked(*packed), want), "") << "bitmap of frame " << n;
    }
}

QString sizedName(const ClipParams& p) {
    return p.encoder + QLatin1Char('-') + p.pixelFormat + QLatin1Char('-') +
           QString::number(p.width) + QLatin1Char('x') + QString::number(p.height) +
           (p.bottomUp ? QStringLiteral("-bu") : QString()) + QStringLiteral(".avi");
}

} // namespace

// Lossless RGB codecs: the pictures are exactly the ones written.
TEST(Pictures, LosslessRgbClipsGiveEveryPixelAtAnySize) {
    const std::pair<const char*, const char*> codecs[] = {
        {"rawvideo", "bgr24"}, {"ffv1", "bgr0"}, {"utvideo", "gbrp"}, {"huffyuv", "rgb24"}};
    int written = 0;
    for (const auto& [encoder, format] : codecs) {
        if (!haveEncoder(QString::fromLatin1(encoder)))
            continue;
        for (const Size s : sizes) {
            ClipParams p;
            p.encoder = QString::fromLatin1(encoder);
            p.pixelFormat = QString::fromLatin1(format);
            p.width = s.width, p.height = s.height, p.frames = 3;
            const QString path = tryClip(sizedName(p), p);
            if (path.isEmpty())
                continue; // this encoder does not take this size
            ++written;
            SCOPED_TRACE(sizedName(p).toStdString());
            expectPictures(path, p.frames,
                           [&](int n) { return paintedPicture(s.width, s.height, n); });
        }
    }
    EXPECT_GE(written, int(std::size(sizes))); // rawvideo takes every size
}

// Codecs that store YUV: every pixel as FFmpeg's own decoder and converter
// give it. Widths that are not a multiple of 8 lost their right-most
// columns to the converter.
TEST(Pictures, YuvClipsMatchTheDecoderAtOddAndEvenWidths) {
    const std::pair<const char*, const char*> codecs[] = {
        {"mpeg4", "yuv420p"}, {"mjpeg", "yuvj420p"}, {"mjpeg", "yuvj422p"}, {"ffv1", "yuv420p"}};
    for (const auto& [encoder, format] : codecs)
        for (const Size s : {Size{322, 242}, Size{18, 10}, Size{161, 121}, Size{320, 240}}) {
            ClipParams p;
            p.encoder = QString::fromLatin1(encoder);
            p.pixelFormat = QString::fromLatin1(format);
            p.width = s.width, p.height = s.height, p.frames = 4;
            const QString path = tryClip(sizedName(p), p);
            if (path.isEmpty() && (s.width % 2 || s.height % 2))
                continue; // a 4:2:0 encoder may refuse odd sizes
            ASSERT_FALSE(path.isEmpty()) << sizedName(p).toStdString();
            SCOPED_TRACE(sizedName(p).toStdString());
            const std::vector<QImage> reference = referencePictures(path);
            ASSERT_EQ(reference.size(), 4u);
            expectPictures(path, p.frames, [&](int n) { return reference[size_t(n)]; });
        }
}

// Uncompressed RGB rows stored top-down (negative height, as FFmpeg writes
// them) or bottom-up (positive height) both give the picture upright.
TEST(Pictures, UncompressedRowsStoredEitherWayUp) {
    for (const bool bottomUp : {false, true})
        for (const Size s : {Size{160, 120}, Size{161, 121}}) {
            ClipParams p;
            p.encoder = QStringLiteral("rawvideo");
            p.width = s.width, p.height = s.height, p.frames = 5;
            p.bottomUp = bottomUp;
            const QString path = tryClip(sizedName(p), p);
            ASSERT_FALSE(path.isEmpty());
            const auto headers = readAviHeaders(path);
            ASSERT_TRUE(headers);
            EXPECT_EQ(headers->bmpHeight, bottomUp ? s.height : -s.height);
            SCOPED_TRACE(sizedName(p).toStdString());
            expectPictures(path, p.frames,
                           [&](int n) { return paintedPicture(s.width, s.height, n); });
        }
}

// Frame rectangles and bitmap sizes in the headers do not set the size of
// the picture: the decoder does. (MJPEG takes a bitmap height of about
// twice the picture's as a sign of fields stored one by one, and gives
// pictures of twice the height: still no larger than what was decoded.)
TEST(Pictures, HeaderSizesDoNotInflateThePicture) {
    const QByteArray good = readAll(mjpegClip());
    const qsizetype strh = good.indexOf("strh") + 8, strf = good.indexOf("strf") + 8;
    int files = 0;
    const auto patched = [&](std::array<int16_t, 4> rect, int32_t width, int32_t height) {
        QByteArray b = good;
        for (int i = 0; i < 4; ++i)
            qToLittleEndian<int16_t>(rect[size_t(i)], b.data() + strh + 48 + 2 * i);
        if (width)
            qToLittleEndian<int32_t>(width, b.data() + strf + 4);
        if (height)
            qToLittleEndian<int32_t>(height, b.data() + strf + 8);
        return writeBytes(QStringLiteral("inflated%1.avi").arg(++files), b);
    };
    for (const QString& path :
         {patched({0, 0, 32767, 32767}, 0, 0), patched({-32768, -32768, 32767, 32767}, 0, 0)}) {
        auto source = FrameSource::open(path);
        ASSERT_TRUE(source);
        EXPECT_EQ(source->width(), 160);
        EXPECT_EQ(source->height(), 120);
        const auto packed = source->packedDib(7);
        ASSERT_TRUE(packed);
        EXPECT_EQ(packed->size(), 40 + 480 * 120);
        EXPECT_EQ(frameNumberOf(fromPacked(*packed)), 7);
    }
    for (const QString& path :
         {patched({0, 0, 0, 0}, 100000, 100000), patched({0, 0, 0, 0}, 70000, 70000),
          patched({0, 0, 0, 0}, 16000, 16000)}) {
        FrameError error = FrameError::None;
        auto source = FrameSource::open(path, &error);
        if (!source)
            continue; // refusing such a file is as good
        EXPECT_EQ(source->width(), 160);
        EXPECT_LE(source->height(), 240);
        const auto packed = source->packedDib(7, &error);
        ASSERT_TRUE(packed) << int(error);
        EXPECT_EQ(packed->size(), 40 + 480 * source->height());
    }
}
