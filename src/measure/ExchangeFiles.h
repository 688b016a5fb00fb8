#pragma once
// Files shared with the scoring system and the picture producer in the
// exchange directory "ztio": the skier name the scoring system announces
// ("ztskier.nam"), the result of each record ("ztresult.dst", replaced;
// "ztraw.dst", appended), the clip flag ("clipflag.txt") and the exchange
// pictures ("*.bmp"). Also the reading of skier name list files.

#include "app/FileUtils.h"

#include <QString>
#include <QStringList>
#include <QTime>

namespace zt {

namespace exchange {
inline const QString skierNameFile = QStringLiteral("ztskier.nam");
inline const QString resultFile = QStringLiteral("ztresult.dst");
inline const QString rawFile = QStringLiteral("ztraw.dst");
inline const QString clipFlagFile = QStringLiteral("clipflag.txt");
} // namespace exchange

// First field of a text: leading blanks skipped; a quoted field runs to the
// closing quote (commas kept, quotes dropped); otherwise the field ends at
// the first comma or line end, trailing blanks dropped. nullopt when the
// text holds no field.
std::optional<QString> firstField(const QString& text);

struct NameRead {
    bool ok = false;
    QString name;
    QString error; // description for "Error while reading WSTIMS name file: "
};

// The skier the scoring system names, from "ztskier.nam" in exchangeDir.
NameRead readWstimsSkierName(const QString& exchangeDir);
// The name a name file's bytes hold (its first field); nullopt for none,
// also when that field is empty (",,,").
std::optional<QString> nameOfNameFile(const QByteArray& bytes);

enum class ResultKind { Ok, Fall, Pass };

// "Fall" and "Pass" comments make falls and passes; anything else is an
// ordinary result.
ResultKind resultKindOfComment(const QString& comment);

// The line of "ztresult.dst" without its line end:
//   "Fall, 0, 0," + jump, "Pass, 0, 0," + jump, "OK, " m ", " ft ", " jump.
QString exchangeResultLine(ResultKind kind, const QString& metersText, const QString& feetText,
                           const QString& jumpNumber);
// The skier name up to its first comma.
QString rawSkierName(const QString& skierName);
// The line of "ztraw.dst" without its line end: time " ," name "," result.
QString exchangeRawLine(const QTime& time, const QString& skierName, const QString& resultLine);

struct ExchangeResult {
    ResultKind kind = ResultKind::Ok;
    QString metersText, feetText, jumpNumber, skierName;
    QTime time;
};

// Replaces "ztresult.dst" (through a temporary file in the exchange
// directory) and appends to "ztraw.dst". Stops at the first failure; the
// error names the file (shown after "Error while writing WSTIMS result: ").
FileResult writeExchangeResult(const QString& exchangeDir, const ExchangeResult& result);

// Message shown for an exchange write failure.
QString exchangeWriteErrorMessage(const FileResult& failure);
// Message shown for a name file read failure.
QString exchangeReadErrorMessage(const NameRead& failure);

// True when "clipflag.txt" exists and its first field is "Ready". Never
// fails.
bool clipFlagReady(const QString& exchangeDir);
// The same, with why something at the flag's name cannot be read (a pipe,
// a device, a file far too large) in problem; empty when it was read or
// is missing.
struct ClipFlagRead {
    bool ready = false;
    QString problem;
};
ClipFlagRead readClipFlag(const QString& exchangeDir);
// Whether a clip flag file's bytes say "Ready".
bool clipFlagSaysReady(const QByteArray& bytes);
// Replaces "clipflag.txt" by one line of two blanks. Without the exchange
// folder nothing is done; a failure (a link in the flag's place) names the
// file.
FileResult resetClipFlag(const QString& exchangeDir);

// Deletes every "*.bmp" file of the exchange directory; errors (no such
// file, no directory) are ignored. Returns how many were deleted.
int deleteExchangePictures(const QString& exchangeDir);

struct NameListRead {
    bool opened = false;
    QStringList names;
};

// Every field of a skier name list file (commas or line ends between the
// fields, a quoted field keeps its commas). A missing or unreadable file
// gives no names.
NameListRead readSkierNameList(const QString& path);
// The names of a name list file's bytes.
QStringList namesOfNameList(const QByteArray& bytes);

} // namespace zt
