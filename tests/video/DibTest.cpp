#include "video/Dib.h"

#include "Fixtures.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QtEndian>
#include <gtest/gtest.h>
#include <limits>

using namespace zt;
using namespace zt::test;

namespace {

QByteArray packed(int width, int height, int bitCount = 24) {
    BmpInfoHeader h = frameFormat24(width, height);
    h.bitCount = uint16_t(bitCount);
    QByteArray p = h.toBytes();
    for (uint32_t i = 0; i < h.sizeImage; ++i)
        p += char(i * 7 + 1);
    return p;
}

uint32_t at32(const QByteArray& b, int offset) {
    return qFromLittleEndian<uint32_t>(b.constData() + offset);
}

} // namespace

TEST(Dib, FrameFormatSizes) {
    EXPECT_EQ(frameFormat24(320, 240).sizeImage, 230400u);
    EXPECT_EQ(rowBytes24(322), 968);
    EXPECT_EQ(rowBytes24(1), 4);
    EXPECT_EQ(rowBytes24(4), 12);
    const BmpInfoHeader h = frameFormat24(322, 2);
    EXPECT_EQ(h.sizeImage, 1936u);
    EXPECT_EQ(h.toBytes().size(), 40);
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.compression, 0u);
    // Sizes whose image cannot be told in 32 bits get none, rather than a
    // wrapped size that a bitmap would then be cut to.
    EXPECT_EQ(frameFormat24(70000, 70000).sizeImage, 0u);
    EXPECT_EQ(frameFormat24(32767, 65535).sizeImage, 0u);
    EXPECT_EQ(frameFormat24(8192, 8192).sizeImage, 8192u * 3u * 8192u);
    EXPECT_EQ(rowBytes24(std::numeric_limits<int>::max()), 6442450944);
    EXPECT_EQ(rowBytes24(-5), 0);
    const QByteArray huge = frameFormat24(70000, 70000).toBytes() + QByteArray(64, 'x');
    Dib dib;
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(huge.constData(), size_t(huge.size())));
}

TEST(Dib, PackedBitmapWrittenByteExact) {
    TestEnv env;
    const QByteArray p = packed(320, 240);
    Dib dib;
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(p.constData(), size_t(p.size())));
    EXPECT_EQ(dib.FileType(), 19778);
    EXPECT_EQ(dib.SizeFileHeader(), 230454u);
    EXPECT_EQ(dib.BitOffset(), 54u);
    EXPECT_EQ(dib.SizeBitmapInfo(), 40);
    EXPECT_EQ(dib.Width(), 320);
    EXPECT_EQ(dib.Height(), 240);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.SizeImage(), 230400u);
    EXPECT_EQ(dib.PointerToBits()[5], static_cast<unsigned char>(p[45]));

    const QString path = env.path("frame.bmp");
    ASSERT_TRUE(dib.WriteToFile(path));
    const QByteArray file = readAll(path);
    ASSERT_EQ(file.size(), 230454);
    EXPECT_EQ(file.left(2), QByteArray("BM"));
    EXPECT_EQ(at32(file, 2), 230454u);
    EXPECT_EQ(at32(file, 6), 0u); // both reserved words
    EXPECT_EQ(at32(file, 10), 54u);
    EXPECT_EQ(file.mid(14), p); // header and rows exactly as received

    // Read back: same headers and pixels, and other readers agree.
    Dib again;
    ScriptedDialogs d;
    ASSERT_TRUE(again.CreateFromFile(d, path));
    EXPECT_EQ(again.fileBytes(), file);
    EXPECT_EQ(again.XPPM(), 0);
    EXPECT_EQ(again.ClrUsed(), 0u);
    EXPECT_FALSE(QImage(path).isNull());
    EXPECT_TRUE(d.recorded().isEmpty());
}

TEST(Dib, RefusesWhatItCannotCarry) {
    Dib dib;
    const QByteArray eight = packed(16, 16, 8);
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(eight.constData(), size_t(eight.size())));
    EXPECT_EQ(dib.BitCount(), 8); // only the info header was taken
    EXPECT_EQ(dib.SizeBitmapInfo(), 0);
    // Never read past the bytes given.
    const QByteArray p = packed(16, 16);
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(p.constData(), size_t(p.size() - 1)));
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(p.constData(), 20));
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(nullptr, 0));
    QByteArray empty = p.left(40);
    qToLittleEndian<uint32_t>(0, empty.data() + 20);
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(empty.constData(), size_t(empty.size())));
}

TEST(Dib, WriteFailureIsReported) {
    const QByteArray p = packed(4, 4);
    Dib dib;
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(p.constData(), size_t(p.size())));
    EXPECT_FALSE(dib.WriteToFile(QStringLiteral("/no/such/folder/frame.bmp")));
}

TEST(Dib, ReadingFilesAndTheirMessages) {
    TestEnv env;
    ScriptedDialogs& d = env.dialogs();
    Dib dib;
    const QString missing = env.path("missing.bmp");
    EXPECT_FALSE(dib.CreateFromFile(d, missing));
    const QString jpeg = env.path("picture.jpg");
    writeAll(jpeg, QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(100, 'x'));
    EXPECT_FALSE(dib.CreateFromFile(d, jpeg));
    ASSERT_EQ(d.messages().size(), 2);
    EXPECT_EQ(d.messages()[0].prompt, QStringLiteral("File does not exist:\r\n") + missing);
    EXPECT_EQ(d.messages()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(d.messages()[1].prompt,
              QStringLiteral("File is not a supported bitmap format:\r\n") + jpeg);
    EXPECT_EQ(d.messages()[1].icon, MsgIcon::Information);

    // A bitmap with a colour table keeps it in the header bytes; a cut
    // file is refused instead of read past its end.
    QImage img(5, 3, QImage::Format_Indexed8);
    img.setColorCount(2);
    img.setColor(0, qRgb(0, 0, 0));
    img.setColor(1, qRgb(255, 255, 255));
    img.fill(1);
    const QString indexed = env.path("indexed.bmp");
    ASSERT_TRUE(img.save(indexed, "BMP"));
    ASSERT_TRUE(dib.CreateFromFile(d, indexed));
    const int bitCount = dib.BitCount();
    EXPECT_LE(bitCount, 8);
    EXPECT_EQ(dib.SizeBitmapInfo(), int(dib.BitOffset()) - 14);
    EXPECT_GE(dib.SizeBitmapInfo(), 40 + 2 * 4);
    const QString cut = env.path("cut.bmp");
    writeAll(cut, readAll(indexed).left(60));
    d.clear();
    EXPECT_FALSE(dib.CreateFromFile(d, cut));
    EXPECT_EQ(d.messages().size(), 1);
    EXPECT_EQ(dib.BitCount(), bitCount); // unchanged by the refused file
}
