#pragma once
// AVI file information read from the RIFF headers (avih, strh, strf, the
// OpenDML header and the idx1 index), and the file queries built on it.
// The reader trusts no size field: every read is bounded by the file and by
// the enclosing chunk, so a truncated or hostile file is simply unreadable.

#include "app/Dialogs.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace zt {

// Capability bits of the file information record.
enum AviCaps : uint32_t {
    AviCapCanRead = 0x01,
    AviCapCanWrite = 0x02,
    AviCapAllKeyFrames = 0x10,
    AviCapNoCompression = 0x20,
};

// Flag bits of the main AVI header (avih.dwFlags).
enum AviFlags : uint32_t {
    AviFlagHasIndex = 0x10,
    AviFlagMustUseIndex = 0x20,
    AviFlagInterleaved = 0x100,
    AviFlagCaptureFile = 0x10000,
    AviFlagCopyrighted = 0x20000,
};

// The file information record (the fields of AVIFILEINFO).
struct AviFileInfo {
    uint32_t maxBytesPerSec = 0;
    uint32_t flags = 0;
    uint32_t caps = 0;
    uint32_t streams = 0;
    uint32_t suggestedBufferSize = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t scale = 0;
    uint32_t rate = 0;
    uint32_t length = 0;
    uint32_t editCount = 0;
    char fileType[64] = {};
};

struct AviRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Everything the reader finds in the headers.
struct AviHeaders {
    AviFileInfo info;
    bool hasVideo = false;
    int videoStreamIndex = -1;
    uint32_t videoHandler = 0; // strh.fccHandler
    uint32_t videoStart = 0;   // strh.dwStart
    uint32_t videoLength = 0;  // strh.dwLength
    uint32_t odmlTotalFrames = 0;
    bool openDml = false;
    AviRect frame;        // strh.rcFrame of the video stream
    int32_t bmpWidth = 0; // strf (BITMAPINFOHEADER) of the video stream
    int32_t bmpHeight = 0;
    uint16_t bmpBitCount = 0;
    uint32_t bmpCompression = 0;
    bool hasIdx1 = false;
    bool hasStreamIndex = false; // an OpenDML index (indx) for some stream
    uint32_t videoIndexEntries = 0;
    uint32_t videoKeyEntries = 0;
};

enum class AviReadStatus { Ok, CannotOpen, BadHeaders };

// Reads the headers; status tells why nothing came back.
std::optional<AviHeaders> readAviHeaders(const QString& path, AviReadStatus* status = nullptr);
// The same from a device open for reading that can seek (a clip in memory).
std::optional<AviHeaders> readAviHeaders(QIODevice& device, AviReadStatus* status = nullptr);

// The video frames whose chunks lie whole in the file: what a player can
// show of a clip whose recording was cut (a full disk, a killed recorder).
// -1 when the file is no AVI with video.
long long wholeVideoFrames(const QString& path);

// File type text of the record up to its first NUL; empty without one.
QString fileTypeText(const AviFileInfo& info);

// --- File queries. Each opens the file anew and reports its problems
// through the dialogs service. ---

// The file exists, can be opened, and starts with "RIFF" ... "AVI ".
bool isValidAvi(Dialogs& dialogs, const QString& path);
bool getAviInfo(Dialogs& dialogs, const QString& path, AviFileInfo* info);

int aviWidth(Dialogs& dialogs, const QString& path);
int aviHeight(Dialogs& dialogs, const QString& path);
int aviLength(Dialogs& dialogs, const QString& path);
// rate / scale to the nearest integer, halves to even; 0 without a scale.
int aviFrameRate(Dialogs& dialogs, const QString& path);
QString aviFileType(Dialogs& dialogs, const QString& path);

bool aviCompressed(Dialogs& dialogs, const QString& path);
bool aviAllKeyFrames(Dialogs& dialogs, const QString& path);
bool aviCanRead(Dialogs& dialogs, const QString& path);
bool aviCanWrite(Dialogs& dialogs, const QString& path);
bool aviHasIndex(Dialogs& dialogs, const QString& path);
bool aviMustUseIndex(Dialogs& dialogs, const QString& path);
bool aviInterleaved(Dialogs& dialogs, const QString& path);
bool aviCaptureFile(Dialogs& dialogs, const QString& path);
bool aviRightsFlag(Dialogs& dialogs, const QString& path);

// Frame rate of a record (rate / scale, halves to even).
int frameRateOf(const AviFileInfo& info);

// The file information lines shown when a clip is browsed, flags as
// True/False. Reads the file once; nullopt (with the message shown once)
// when it cannot be read.
std::optional<QStringList> aviInfoLines(Dialogs& dialogs, const QString& path);

} // namespace zt
