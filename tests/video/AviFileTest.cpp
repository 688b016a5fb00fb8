#include "video/AviFile.h"

#include "Fixtures.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"
#include "video/Dib.h"
#include "video/FrameExtract.h"
#include "video/FrameSource.h"

#include <QDir>
#include <QtEndian>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

using namespace zt;
using namespace zt::test;

namespace {

QByteArray le32(uint32_t v) {
    QByteArray b(4, '\0');
    qToLittleEndian<uint32_t>(v, b.data());
    return b;
}

QByteArray le16(uint16_t v) {
    QByteArray b(2, '\0');
    qToLittleEndian<uint16_t>(v, b.data());
    return b;
}

QByteArray chunk(const char* id, const QByteArray& data) {
    QByteArray c = QByteArray(id, 4) + le32(uint32_t(data.size())) + data;
    if (data.size() % 2)
        c += '\0';
    return c;
}

QByteArray list(const char* type, const QByteArray& content) {
    return chunk("LIST", QByteArray(type, 4) + content);
}

// A header-only AVI file built field by field.
struct AviBuild {
    uint32_t flags = 0x910;
    uint32_t width = 320, height = 240;
    uint32_t scale = 1, rate = 25, length = 10;
    uint32_t compression = 0x47504A4D; // "MJPG"
    int16_t rect[4] = {0, 0, 320, 240};
    uint32_t odmlTotal = 0;           // 0: no OpenDML header
    std::vector<uint32_t> indexFlags; // one idx1 video entry each; empty: no idx1
    int junkChunks = 0;               // empty JUNK chunks before the headers
    bool riffSizeZero = false;        // as recorders write it while recording

    QByteArray bytes() const {
        QByteArray avih = le32(40000) + le32(0) + le32(0) + le32(flags) + le32(length) + le32(0) +
                          le32(1) + le32(0) + le32(width) + le32(height) + QByteArray(16, '\0');
        QByteArray strh = QByteArray("vids") + QByteArray("MJPG") + le32(0) + le32(0) + le32(0) +
                          le32(scale) + le32(rate) + le32(0) + le32(length) + le32(0) + le32(0) +
                          le32(0);
        for (int16_t r : rect)
            strh += le16(uint16_t(r));
        const QByteArray strf = le32(40) + le32(width) + le32(height) + le16(1) + le16(24) +
                                le32(compression) + QByteArray(20, '\0');
        QByteArray hdrl =
            chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf));
        if (odmlTotal)
            hdrl += list("odml", chunk("dmlh", le32(odmlTotal) + QByteArray(244, '\0')));
        QByteArray body = QByteArray(8 * junkChunks, '\0');
        for (int i = 0; i < junkChunks; ++i)
            std::memcpy(body.data() + 8 * i, "JUNK", 4);
        body += list("hdrl", hdrl) + list("movi", chunk("00dc", "frame!"));
        if (!indexFlags.empty()) {
            QByteArray idx;
            for (uint32_t f : indexFlags)
                idx += QByteArray("00dc") + le32(f) + le32(4) + le32(6);
            idx += QByteArray("01wb") + le32(0) + le32(4) + le32(6); // audio: not counted
            body += chunk("idx1", idx);
        }
        return QByteArray("RIFF") + le32(riffSizeZero ? 0 : uint32_t(body.size() + 4)) +
               QByteArray("AVI ") + body;
    }
};

QString build(const AviBuild& b, const QString& name = QStringLiteral("built.avi")) {
    return writeBytes(name, b.bytes());
}

} // namespace

TEST(AviFile, QueriesOfARealClip) {
    ScriptedDialogs d;
    const QString path = mjpegClip();
    EXPECT_TRUE(isValidAvi(d, path));
    EXPECT_EQ(aviWidth(d, path), 160);
    EXPECT_EQ(aviHeight(d, path), 120);
    EXPECT_EQ(aviLength(d, path), 30);
    EXPECT_EQ(aviFrameRate(d, path), 25);
    EXPECT_FALSE(aviFileType(d, path).isEmpty());
    EXPECT_TRUE(aviCompressed(d, path));
    EXPECT_TRUE(aviAllKeyFrames(d, path));
    EXPECT_TRUE(aviCanRead(d, path));
    EXPECT_FALSE(aviCanWrite(d, path));
    EXPECT_TRUE(aviHasIndex(d, path));
    EXPECT_FALSE(aviMustUseIndex(d, path));
    EXPECT_TRUE(aviInterleaved(d, path));
    EXPECT_FALSE(aviCaptureFile(d, path));
    EXPECT_FALSE(aviRightsFlag(d, path));
    EXPECT_TRUE(d.recorded().isEmpty());

    // Uncompressed RGB and a long-GOP codec.
    EXPECT_FALSE(aviCompressed(d, rawClip()));
    EXPECT_TRUE(aviAllKeyFrames(d, rawClip()));
    EXPECT_FALSE(aviAllKeyFrames(d, mpeg4BClip()));
    // Dropped frames are empty chunks: they keep the length and do not
    // count against "all key frames".
    EXPECT_EQ(aviLength(d, droppedClip()), 30);
    EXPECT_TRUE(aviAllKeyFrames(d, droppedClip()));
    EXPECT_TRUE(d.recorded().isEmpty());
}

TEST(AviFile, HeaderFieldsAndFlags) {
    ScriptedDialogs d;
    AviBuild b;
    b.scale = 100, b.rate = 2997;
    EXPECT_EQ(aviFrameRate(d, build(b)), 30);
    b.scale = 1, b.rate = 25;
    EXPECT_EQ(aviFrameRate(d, build(b)), 25);
    b.scale = 2, b.rate = 25; // 12.5: halves go to the even neighbour
    EXPECT_EQ(aviFrameRate(d, build(b)), 12);
    b.scale = 0;
    EXPECT_EQ(aviFrameRate(d, build(b)), 0);

    b = AviBuild{};
    b.flags = 0x10 | 0x20 | 0x10000 | 0x20000;
    const QString flagged = build(b, QStringLiteral("flagged.avi"));
    EXPECT_TRUE(aviHasIndex(d, flagged));
    EXPECT_TRUE(aviMustUseIndex(d, flagged));
    EXPECT_FALSE(aviInterleaved(d, flagged));
    EXPECT_TRUE(aviCaptureFile(d, flagged));
    EXPECT_TRUE(aviRightsFlag(d, flagged));
    EXPECT_FALSE(aviAllKeyFrames(d, flagged)); // no index to tell

    b.indexFlags = {0x10, 0x10, 0x10};
    EXPECT_TRUE(aviAllKeyFrames(d, build(b)));
    b.indexFlags = {0x10, 0x00, 0x10};
    EXPECT_FALSE(aviAllKeyFrames(d, build(b)));

    // OpenDML: the total of the whole file wins over the first part's count.
    b.odmlTotal = 40000;
    const QString odml = build(b, QStringLiteral("odml.avi"));
    EXPECT_EQ(aviLength(d, odml), 40000);
    EXPECT_NE(aviFileType(d, odml), aviFileType(d, flagged));
    EXPECT_TRUE(d.recorded().isEmpty());
}

TEST(AviFile, ValidityAndItsMessages) {
    ScriptedDialogs d;
    const QString wave = writeBytes("sound.wav", QByteArray("RIFF") + le32(4) + "WAVEfmt ");
    EXPECT_FALSE(isValidAvi(d, wave));
    EXPECT_TRUE(d.recorded().isEmpty());
    EXPECT_FALSE(isValidAvi(d, writeBytes("short.avi", "RIFF")));
    EXPECT_TRUE(d.recorded().isEmpty());

    const QString missing = QStringLiteral("/no/such/folder/clip.avi");
    EXPECT_FALSE(isValidAvi(d, missing));
    ASSERT_EQ(d.messages().size(), 1);
    EXPECT_EQ(d.messages()[0].prompt, QStringLiteral("File does not exist:\r\n") + missing);
    EXPECT_EQ(d.messages()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(d.messages()[0].title.isEmpty());
    d.clear();

    // Each query reads the file anew and tells its problem each time.
    EXPECT_EQ(aviWidth(d, wave), 0);
    EXPECT_EQ(aviFileType(d, wave), QString());
    EXPECT_FALSE(aviCanRead(d, wave));
    ASSERT_EQ(d.messages().size(), 3);
    EXPECT_EQ(d.messages()[2].prompt, QStringLiteral("Unable to open file:\r\n") + wave);
    EXPECT_EQ(d.messages()[2].icon, MsgIcon::Critical);
    d.clear();

    // A RIFF AVI without its main header.
    const QString headless = writeBytes("headless.avi", QByteArray("RIFF") + le32(16) + "AVI " +
                                                            list("movi", "00dc") + "00dc");
    EXPECT_TRUE(isValidAvi(d, headless));
    EXPECT_EQ(aviLength(d, headless), 0);
    ASSERT_EQ(d.messages().size(), 1);
    EXPECT_EQ(d.messages()[0].prompt,
              QStringLiteral("Unable to read AVI file info from:\r\n") + headless);
}

TEST(AviFile, InfoLinesForTheBrowsedClip) {
    ScriptedDialogs d;
    AviBuild b;
    b.flags = 0x10 | 0x100 | 0x10000;
    b.indexFlags = {0x10, 0x10};
    const QString path = build(b);
    const auto lines = aviInfoLines(d, path);
    ASSERT_TRUE(lines);
    const QStringList expected = {QStringLiteral("Filename: ") + path,
                                  QStringLiteral("File Type: AVI file (RIFF)"),
                                  "Height: 240",
                                  "Width: 320",
                                  "Length: 10 frames",
                                  "Rate: 25fps",
                                  "",
                                  "=== dwCaps ===",
                                  "Compressed: True",
                                  "All Key Frames: True",
                                  "Can Read: True",
                                  "Can Write: False",
                                  "",
                                  "=== dwFlags ===",
                                  "Contains Copyright Info: False",
                                  "Capture File: True",
                                  "Has Index: True",
                                  "Must Use Index: False",
                                  "Interleaved: True"};
    EXPECT_EQ(*lines, expected);
    b.compression = 0;
    EXPECT_EQ(aviInfoLines(d, build(b))->at(8), QStringLiteral("Compressed: False"));
    EXPECT_FALSE(aviInfoLines(d, QStringLiteral("/no/such.avi")));
    EXPECT_EQ(d.messages().size(), 1); // one message, not one per line
}

// Size fields are never trusted: cut or garbled headers are unreadable,
// never a crash, a read past the end or a hang.
TEST(AviFile, TruncatedAndHostileHeaders) {
    AviBuild b;
    b.indexFlags = {0x10, 0x10};
    const QByteArray good = b.bytes();
    for (qsizetype cut = 0; cut < good.size(); ++cut) {
        const auto h = readAviHeaders(writeBytes("cut.avi", good.left(cut)));
        if (h) { // whatever is read must stay within what was there
            EXPECT_LE(h->videoIndexEntries, 2u);
        }
    }
    std::mt19937 rng(3);
    const QByteArray real = readAll(mjpegClip()).left(6000);
    for (int round = 0; round < 300; ++round) {
        QByteArray bad = round % 2 ? real : good;
        for (int k = 0; k < 6; ++k) {
            const qsizetype at = qsizetype(rng() % size_t(bad.size() - 4));
            qToLittleEndian<uint32_t>(rng() % 3 ? 0xFFFFFFFFu : uint32_t(rng()), bad.data() + at);
        }
        readAviHeaders(writeBytes("bad.avi", bad));
    }
    // A list nested in itself, and a chunk claiming 4 GB.
    QByteArray nested = QByteArray("RIFF") + le32(0xFFFFFFF0u) + "AVI ";
    for (int i = 0; i < 200; ++i)
        nested += QByteArray("LIST") + le32(0xFFFFFFF0u) + "hdrl";
    EXPECT_FALSE(readAviHeaders(writeBytes("nested.avi", nested)));
}

// Files that recorders and other writers leave: a RIFF size of 0 while
// recording, thousands of JUNK chunks before the headers.
TEST(AviFile, RiffSizeZeroAndManyJunkChunksAreReadable) {
    ScriptedDialogs d;
    AviBuild b;
    b.riffSizeZero = true;
    EXPECT_EQ(aviLength(d, build(b, QStringLiteral("recording.avi"))), 10);
    b = AviBuild{};
    b.junkChunks = 20000;
    EXPECT_EQ(aviWidth(d, build(b, QStringLiteral("junk.avi"))), 320);
    EXPECT_TRUE(d.recorded().isEmpty());

    // A real clip still being recorded: its frames can be taken as well.
    QByteArray bytes = readAll(mjpegClip());
    qToLittleEndian<uint32_t>(0, bytes.data() + 4);
    const QString recording = writeBytes("recording-real.avi", bytes);
    EXPECT_EQ(aviLength(d, recording), 30);
    TestEnv env;
    QDir().mkpath(env.appDir());
    EXPECT_TRUE(extractFrame(d, env.appDir(), recording, 12));
    EXPECT_TRUE(d.recorded().isEmpty());

    // The work stays capped: a file that is nothing but millions of tiny
    // chunks is not walked to its end.
    b.junkChunks = 3 << 20;
    EXPECT_FALSE(readAviHeaders(build(b, QStringLiteral("all-junk.avi"))));
}

// A named pipe given as a clip or picture is refused at once: opening it
// would wait for a writer that never comes.
TEST(AviFile, NamedPipeIsRefusedWithoutWaiting) {
    TestEnv env;
    const QString fifo = env.path("clip.avi");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    ScriptedDialogs& d = env.dialogs();
    EXPECT_FALSE(isValidAvi(d, fifo));
    EXPECT_EQ(aviLength(d, fifo), 0);
    Dib dib;
    EXPECT_FALSE(dib.CreateFromFile(d, fifo));
    ASSERT_EQ(d.messages().size(), 3);
    EXPECT_EQ(d.messages()[0].prompt, QStringLiteral("Not a regular file:\r\n") + fifo);
    EXPECT_EQ(d.messages()[1].prompt, QStringLiteral("Unable to open file:\r\n") + fifo);
    EXPECT_EQ(d.messages()[2].prompt, QStringLiteral("Not a regular file:\r\n") + fifo);
    FrameError error = FrameError::None;
    EXPECT_FALSE(FrameSource::open(fifo, &error));
    EXPECT_EQ(error, FrameError::CannotOpen);
}
