#include "video/AviFile.h"

#include "app/FileAccess.h"
#include "app/FileUtils.h"
#include "app/TextFormat.h"
#include "video/MediaFileOpen.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zt {

namespace {

uint32_t u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t u16(const unsigned char* p) {
    return uint16_t(p[0] | p[1] << 8);
}
int16_t s16(const unsigned char* p) {
    return static_cast<int16_t>(u16(p));
}

constexpr uint32_t fourcc(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}

constexpr int maxListDepth = 4;
// Headers hold a few dozen chunks, but some writers put thousands of JUNK
// chunks before them. Each chunk costs one small read from a buffer, so the
// walk is capped at a number of chunks that takes a few milliseconds; a
// file made of millions of tiny chunks is not walked to its end.
constexpr int maxChunks = 1 << 20;
constexpr qint64 indexBlockEntries = 4096;
constexpr qint64 readBufferSize = 64 * 1024;

// Bounded reads from the file: nothing past its end is ever requested.
// Small reads are served from a window of the file, so that walking many
// small chunks does not cost a system call each.
class RiffReader {
public:
    // device is open for reading and can seek.
    explicit RiffReader(QIODevice& device) : file_(device), size_(device.size()) {}
    qint64 size() const { return size_; }

    bool read(qint64 pos, qint64 count, unsigned char* out) {
        if (pos < 0 || count < 0 || pos > size_ || count > size_ - pos)
            return false;
        if (count > readBufferSize)
            return file_.seek(pos) && file_.read(reinterpret_cast<char*>(out), count) == count;
        if (pos < bufferPos_ || pos + count > bufferPos_ + buffer_.size()) {
            if (!file_.seek(pos))
                return false;
            buffer_ = file_.read(std::min(readBufferSize, size_ - pos));
            bufferPos_ = pos;
            if (buffer_.size() < count)
                return false;
        }
        std::memcpy(out, buffer_.constData() + (pos - bufferPos_), size_t(count));
        return true;
    }

private:
    QIODevice& file_;
    qint64 size_ = 0;
    QByteArray buffer_;
    qint64 bufferPos_ = 0;
};

struct StreamHeader {
    uint32_t type = 0;
    uint32_t handler = 0;
    uint32_t scale = 0, rate = 0, start = 0, length = 0;
    AviRect frame;
};

class HeaderParser {
public:
    HeaderParser(RiffReader& reader, AviHeaders& h) : r_(reader), h_(h) {}

    // Walks the chunks in [begin, end); lists are entered up to a small depth.
    void walk(qint64 begin, qint64 end, int depth) {
        qint64 pos = begin;
        while (pos <= end - 8 && chunkBudget_-- > 0) {
            unsigned char head[12];
            if (!r_.read(pos, 8, head))
                return;
            const uint32_t id = u32(head);
            const qint64 dataBegin = pos + 8;
            const qint64 declared = u32(head + 4);
            const qint64 dataEnd = std::min(dataBegin + declared, end);
            if (id == fourcc("LIST") && dataEnd - dataBegin >= 4 && r_.read(dataBegin, 4, head + 8))
                list(u32(head + 8), dataBegin + 4, dataEnd, depth);
            else
                chunk(id, dataBegin, dataEnd);
            pos = dataBegin + declared + (declared & 1);
        }
    }

    bool sawMainHeader = false;
    int streamCount = 0;

private:
    void list(uint32_t type, qint64 begin, qint64 end, int depth) {
        if (type == fourcc("movi") || depth >= maxListDepth)
            return;
        if (type == fourcc("strl"))
            stream_ = StreamHeader{}, inStream_ = true;
        if (type == fourcc("odml"))
            h_.openDml = true;
        walk(begin, end, depth + 1);
        if (type == fourcc("strl")) {
            inStream_ = false;
            finishStream();
        }
    }

    void chunk(uint32_t id, qint64 begin, qint64 end) {
        if (id == fourcc("avih"))
            mainHeader(begin, end);
        else if (id == fourcc("strh") && inStream_)
            streamHeader(begin, end);
        else if (id == fourcc("strf") && inStream_)
            streamFormat(begin, end);
        else if (id == fourcc("dmlh") && end - begin >= 4) {
            unsigned char b[4];
            if (r_.read(begin, 4, b))
                h_.odmlTotalFrames = u32(b);
        } else if (id == fourcc("idx1"))
            index(begin, end);
        else if (id == fourcc("indx") && inStream_)
            h_.hasStreamIndex = true;
    }

    void mainHeader(qint64 begin, qint64 end) {
        unsigned char b[40];
        if (end - begin < 40 || !r_.read(begin, 40, b))
            return;
        AviFileInfo& i = h_.info;
        i.maxBytesPerSec = u32(b + 4);
        i.flags = u32(b + 12);
        i.streams = u32(b + 24);
        i.suggestedBufferSize = u32(b + 28);
        i.width = u32(b + 32);
        i.height = u32(b + 36);
        sawMainHeader = true;
    }

    void streamHeader(qint64 begin, qint64 end) {
        unsigned char b[56];
        if (end - begin < 48 || !r_.read(begin, std::min<qint64>(56, end - begin), b))
            return;
        stream_.type = u32(b);
        stream_.handler = u32(b + 4);
        stream_.scale = u32(b + 20);
        stream_.rate = u32(b + 24);
        stream_.start = u32(b + 28);
        stream_.length = u32(b + 32);
        if (end - begin >= 56)
            stream_.frame = {s16(b + 48), s16(b + 50), s16(b + 52), s16(b + 54)};
        sawStreamHeader_ = true;
    }

    void streamFormat(qint64 begin, qint64 end) {
        if (stream_.type != fourcc("vids") || h_.hasVideo)
            return;
        unsigned char b[20];
        if (end - begin < 20 || !r_.read(begin, 20, b))
            return;
        formatWidth_ = static_cast<int32_t>(u32(b + 4));
        formatHeight_ = static_cast<int32_t>(u32(b + 8));
        formatBitCount_ = u16(b + 14);
        formatCompression_ = u32(b + 16);
    }

    void finishStream() {
        if (!sawStreamHeader_)
            return;
        sawStreamHeader_ = false;
        const int index = streamCount++;
        if (index == 0 || (stream_.type == fourcc("vids") && !h_.hasVideo)) {
            h_.info.scale = stream_.scale;
            h_.info.rate = stream_.rate;
            h_.info.length = stream_.length;
        }
        if (stream_.type != fourcc("vids") || h_.hasVideo)
            return;
        h_.hasVideo = true;
        h_.videoStreamIndex = index;
        h_.videoHandler = stream_.handler;
        h_.videoStart = stream_.start;
        h_.videoLength = stream_.length;
        h_.frame = stream_.frame;
        h_.bmpWidth = formatWidth_;
        h_.bmpHeight = formatHeight_;
        h_.bmpBitCount = formatBitCount_;
        h_.bmpCompression = formatCompression_;
    }

    void index(qint64 begin, qint64 end) {
        h_.hasIdx1 = true;
        idx1Begin_ = begin;
        idx1End_ = end;
    }

public:
    // Counts the video entries of idx1 (once the video stream is known).
    void countIndex() {
        if (!h_.hasIdx1 || !h_.hasVideo || h_.videoStreamIndex > 99)
            return;
        const char d0 = char('0' + h_.videoStreamIndex / 10);
        const char d1 = char('0' + h_.videoStreamIndex % 10);
        std::vector<unsigned char> block(size_t(indexBlockEntries * 16));
        for (qint64 pos = idx1Begin_; pos <= idx1End_ - 16;) {
            const qint64 entries = std::min(indexBlockEntries, (idx1End_ - pos) / 16);
            if (!r_.read(pos, entries * 16, block.data()))
                return;
            for (qint64 e = 0; e < entries; ++e) {
                const unsigned char* p = block.data() + e * 16;
                const bool video =
                    p[0] == d0 && p[1] == d1 && ((p[2] == 'd' && (p[3] == 'c' || p[3] == 'b')));
                if (!video || u32(p + 12) == 0) // empty chunks stand for dropped frames
                    continue;
                ++h_.videoIndexEntries;
                if (u32(p + 4) & 0x10)
                    ++h_.videoKeyEntries;
            }
            pos += entries * 16;
        }
    }

private:
    RiffReader& r_;
    AviHeaders& h_;
    int chunkBudget_ = maxChunks;
    StreamHeader stream_;
    bool inStream_ = false;
    bool sawStreamHeader_ = false;
    int32_t formatWidth_ = 0, formatHeight_ = 0;
    uint16_t formatBitCount_ = 0;
    uint32_t formatCompression_ = 0;
    qint64 idx1Begin_ = 0, idx1End_ = 0;
};

void finishInfo(AviHeaders& h) {
    AviFileInfo& i = h.info;
    if (h.hasVideo && h.odmlTotalFrames > 0)
        i.length = h.odmlTotalFrames;
    if (h.hasVideo && (i.width == 0 || i.height == 0)) {
        i.width = static_cast<uint32_t>(std::max(0, h.bmpWidth));
        i.height = static_cast<uint32_t>(std::abs(h.bmpHeight));
    }
    i.caps = AviCapCanRead;
    if (h.hasVideo && h.videoIndexEntries > 0 && h.videoKeyEntries == h.videoIndexEntries)
        i.caps |= AviCapAllKeyFrames;
    constexpr uint32_t biRgb = 0, biBitfields = 3;
    if (h.hasVideo && (h.bmpCompression == biRgb || h.bmpCompression == biBitfields))
        i.caps |= AviCapNoCompression;
    const char* type = h.openDml ? "AVI file (RIFF, OpenDML)" : "AVI file (RIFF)";
    std::strncpy(i.fileType, type, sizeof i.fileType - 1);
}

bool isRiffAvi(const unsigned char* head) {
    return std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "AVI ", 4) == 0;
}

std::optional<AviFileInfo> infoOrMessage(Dialogs& dialogs, const QString& path) {
    AviFileInfo info;
    if (!getAviInfo(dialogs, path, &info))
        return std::nullopt;
    return info;
}

bool capBit(Dialogs& d, const QString& path, uint32_t bit) {
    const auto i = infoOrMessage(d, path);
    return i && (i->caps & bit) != 0;
}

bool flagBit(Dialogs& d, const QString& path, uint32_t bit) {
    const auto i = infoOrMessage(d, path);
    return i && (i->flags & bit) != 0;
}

QString trueFalse(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

std::optional<AviHeaders> readAviHeaders(const QString& path, AviReadStatus* status) {
    // Only a regular file: a named pipe or a device would block or never end.
    QFile file;
    if (!openRegularForReading(file, path)) {
        if (status)
            *status = AviReadStatus::CannotOpen;
        return std::nullopt;
    }
    return readAviHeaders(file, status);
}

std::optional<AviHeaders> readAviHeaders(QIODevice& device, AviReadStatus* status) {
    auto fail = [status](AviReadStatus s) -> std::optional<AviHeaders> {
        if (status)
            *status = s;
        return std::nullopt;
    };
    RiffReader r(device);
    unsigned char head[12];
    if (!r.read(0, 12, head) || !isRiffAvi(head))
        return fail(AviReadStatus::CannotOpen);
    AviHeaders h;
    HeaderParser parser(r, h);
    // A RIFF size of 0 is written by recorders while they record: the file
    // runs to its end.
    const uint32_t riffSize = u32(head + 4);
    const qint64 riffEnd =
        riffSize == 0 ? r.size() : std::min<qint64>(8 + qint64(riffSize), r.size());
    parser.walk(12, riffEnd, 0);
    if (!parser.sawMainHeader || parser.streamCount == 0)
        return fail(AviReadStatus::BadHeaders);
    parser.countIndex();
    finishInfo(h);
    if (status)
        *status = AviReadStatus::Ok;
    return h;
}

namespace {

// Counts the video chunks of the movi lists whose data lie whole in the
// file. Sizes that a recorder had not written yet (0, or past the end) run
// to the end of the file.
class MoviCounter {
public:
    MoviCounter(RiffReader& reader, int videoStream) : r_(reader) {
        const char digits[3] = {char('0' + videoStream / 10 % 10), char('0' + videoStream % 10), 0};
        dc_ = uint32_t(uint8_t(digits[0])) | uint32_t(uint8_t(digits[1])) << 8 |
              uint32_t('d') << 16 | uint32_t('c') << 24;
        db_ = (dc_ & 0x0000FFFFu) | uint32_t('d') << 16 | uint32_t('b') << 24;
    }

    // Walks [begin, end); inMovi once inside a movi list.
    void walk(qint64 begin, qint64 end, bool inMovi, int depth) {
        qint64 pos = begin;
        while (pos <= end - 8 && budget_-- > 0) {
            unsigned char head[12];
            if (!r_.read(pos, 8, head))
                return;
            const uint32_t id = u32(head);
            const qint64 dataBegin = pos + 8;
            qint64 declared = u32(head + 4);
            const bool container = id == fourcc("RIFF") || id == fourcc("LIST");
            if (container && (declared == 0 || dataBegin + declared > end))
                declared = end - dataBegin;
            const qint64 dataEnd = dataBegin + declared;
            if (container && declared >= 4 && depth < maxListDepth &&
                r_.read(dataBegin, 4, head + 8)) {
                const uint32_t type = u32(head + 8);
                const bool movi = inMovi || type == fourcc("movi");
                walk(dataBegin + 4, dataEnd, movi, depth + 1);
            } else if (inMovi && (id == dc_ || id == db_) && dataEnd <= r_.size()) {
                ++frames;
            }
            pos = dataBegin + declared + (declared & 1);
        }
    }

    long long frames = 0;

private:
    RiffReader& r_;
    uint32_t dc_ = 0, db_ = 0;
    int budget_ = maxChunks;
};

} // namespace

long long wholeVideoFrames(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const auto headers = readAviHeaders(file);
    if (!headers || !headers->hasVideo)
        return -1;
    RiffReader r(file);
    MoviCounter counter(r, headers->videoStreamIndex);
    counter.walk(0, r.size(), false, 0);
    return counter.frames;
}

QString fileTypeText(const AviFileInfo& info) {
    const void* nul = std::memchr(info.fileType, 0, sizeof info.fileType);
    if (!nul)
        return QString();
    return QString::fromLatin1(info.fileType, static_cast<const char*>(nul) - info.fileType);
}

int frameRateOf(const AviFileInfo& info) {
    if (info.scale == 0)
        return 0;
    return static_cast<int>(toWholeNumber(double(info.rate) / double(info.scale)));
}

bool isValidAvi(Dialogs& dialogs, const QString& path) {
    QFile f(path);
    if (!openMediaFile(dialogs, path, f))
        return false;
    const QByteArray head = f.read(12);
    return head.size() == 12 && isRiffAvi(reinterpret_cast<const unsigned char*>(head.data()));
}

bool getAviInfo(Dialogs& dialogs, const QString& path, AviFileInfo* info) {
    AviReadStatus status = AviReadStatus::Ok;
    const auto h = readAviHeaders(path, &status);
    if (status == AviReadStatus::CannotOpen) {
        dialogs.error(QStringLiteral("Unable to open file:\r\n") + path);
        return false;
    }
    if (!h) {
        dialogs.error(QStringLiteral("Unable to read AVI file info from:\r\n") + path);
        return false;
    }
    if (info)
        *info = h->info;
    return true;
}

int aviWidth(Dialogs& d, const QString& path) {
    const auto i = infoOrMessage(d, path);
    return i ? static_cast<int>(i->width) : 0;
}

int aviHeight(Dialogs& d, const QString& path) {
    const auto i = infoOrMessage(d, path);
    return i ? static_cast<int>(i->height) : 0;
}

int aviLength(Dialogs& d, const QString& path) {
    const auto i = infoOrMessage(d, path);
    return i ? static_cast<int>(i->length) : 0;
}

int aviFrameRate(Dialogs& d, const QString& path) {
    const auto i = infoOrMessage(d, path);
    return i ? frameRateOf(*i) : 0;
}

QString aviFileType(Dialogs& d, const QString& path) {
    const auto i = infoOrMessage(d, path);
    return i ? fileTypeText(*i) : QString();
}

bool aviCompressed(Dialogs& d, const QString& path) {
    const auto i = infoOrMessage(d, path);
    return i && (i->caps & AviCapNoCompression) == 0;
}

bool aviAllKeyFrames(Dialogs& d, const QString& p) {
    return capBit(d, p, AviCapAllKeyFrames);
}
bool aviCanRead(Dialogs& d, const QString& p) {
    return capBit(d, p, AviCapCanRead);
}
bool aviCanWrite(Dialogs& d, const QString& p) {
    return capBit(d, p, AviCapCanWrite);
}
bool aviHasIndex(Dialogs& d, const QString& p) {
    return flagBit(d, p, AviFlagHasIndex);
}
bool aviMustUseIndex(Dialogs& d, const QString& p) {
    return flagBit(d, p, AviFlagMustUseIndex);
}
bool aviInterleaved(Dialogs& d, const QString& p) {
    return flagBit(d, p, AviFlagInterleaved);
}
bool aviCaptureFile(Dialogs& d, const QString& p) {
    return flagBit(d, p, AviFlagCaptureFile);
}
bool aviRightsFlag(Dialogs& d, const QString& p) {
    return flagBit(d, p, AviFlagCopyrighted);
}

std::optional<QStringList> aviInfoLines(Dialogs& dialogs, const QString& path) {
    const auto i = infoOrMessage(dialogs, path);
    if (!i)
        return std::nullopt;
    const auto num = [](uint32_t v) { return QString::number(v); };
    return QStringList{
        QStringLiteral("Filename: ") + path,
        QStringLiteral("File Type: ") + fileTypeText(*i),
        QStringLiteral("Height: ") + num(i->height),
        QStringLiteral("Width: ") + num(i->width),
        QStringLiteral("Length: ") + num(i->length) + QStringLiteral(" frames"),
        QStringLiteral("Rate: ") + QString::number(frameRateOf(*i)) + QStringLiteral("fps"),
        QString(),
        QStringLiteral("=== dwCaps ==="),
        QStringLiteral("Compressed: ") + trueFalse((i->caps & AviCapNoCompression) == 0),
        QStringLiteral("All Key Frames: ") + trueFalse(i->caps & AviCapAllKeyFrames),
        QStringLiteral("Can Read: ") + trueFalse(i->caps & AviCapCanRead),
        QStringLiteral("Can Write: ") + trueFalse(i->caps & AviCapCanWrite),
        QString(),
        QStringLiteral("=== dwFlags ==="),
        QStringLiteral("Contains Copyright Info: ") + trueFalse(i->flags & AviFlagCopyrighted),
        QStringLiteral("Capture File: ") + trueFalse(i->flags & AviFlagCaptureFile),
        QStringLiteral("Has Index: ") + trueFalse(i->flags & AviFlagHasIndex),
        QStringLiteral("Must Use Index: ") + trueFalse(i->flags & AviFlagMustUseIndex),
        QStringLiteral("Interleaved: ") + trueFalse(i->flags & AviFlagInterleaved),
    };
}

} // namespace zt
