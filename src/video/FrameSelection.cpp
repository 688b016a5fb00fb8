#include "video/FrameSelection.h"

#include "app/FileAccess.h"
#include "app/Paths.h"
#include "app/Startup.h"
#include "app/TextFormat.h"
#include "capture/CaptureScreenView.h"
#include "video/MediaFileOpen.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <cmath>

namespace zt {

namespace {

qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
}

} // namespace

// ---- Clip names and the records of a taken frame ----

// Where the clip's extension starts: the first ".avi" (the clips recorded
// here), else the extension of a phone's or action camera's clip at the
// end (".mp4", ".mov", ".mkv" in any case); -1 without either.
static qsizetype extensionAt(const QString& clip) {
    const qsizetype avi = clip.indexOf(QStringLiteral(".avi"), 0, Qt::CaseSensitive);
    if (avi >= 0)
        return avi;
    return clipKindOfName(clip) == ClipKind::Avi ? -1 : clip.size() - 4;
}

std::optional<ClipNameParts> clipNameParts(const QString& clip) {
    const qsizetype avi = extensionAt(clip);
    if (avi < 0)
        return std::nullopt;
    // "jump" is looked for from 7 characters before the extension: at most
    // three characters of jump number fit between them.
    const qsizetype jump =
        clip.indexOf(QStringLiteral("jump"), std::max<qsizetype>(avi - 7, 0), Qt::CaseSensitive);
    if (jump < 0 || jump + 4 > avi)
        return std::nullopt;
    const qsizetype nameStart = lastSeparator(clip.left(jump)) + 1;
    return ClipNameParts{clip.mid(nameStart, jump - nameStart), clip.mid(jump + 4, avi - jump - 4)};
}

std::optional<QString> frameRecordLine(const QDateTime& at, const QString& clip, long frame) {
    const auto parts = clipNameParts(clip);
    if (!parts)
        return std::nullopt;
    return PrintLine()
        .item(dateText(at.date()))
        .item(timeText(at.time()))
        .item(QStringLiteral("Skier: ") + parts->skier)
        .item(QStringLiteral("Jump: ") + parts->jump)
        .item(QStringLiteral("Contact Frame: ") + QString::number(frame))
        .item(QStringLiteral("File: ") + clip)
        .line();
}

QString infoPathOf(const QString& clip) {
    return clip + QStringLiteral(".info");
}

QString infoLine(const QString& clip, long frame) {
    return clip + QLatin1Char(',') + QString::number(frame) + QStringLiteral("\r\n");
}

std::optional<QString> measuredFrameText(const QString& clip) {
    const auto bytes = readFileBytes(infoPathOf(clip), readLimit::sideFile);
    if (!bytes)
        return std::nullopt;
    return measuredFrameOfSideFile(*bytes);
}

QString measuredFrameOfSideFile(const QByteArray& bytes) {
    QString line = textOfFileBytes(bytes);
    line = line.left(line.indexOf(QLatin1Char('\n'))).remove(QLatin1Char('\r'));
    // The path may hold commas itself: the frame is the field after the last.
    return line.mid(line.lastIndexOf(QLatin1Char(',')) + 1);
}

bool recordFrame(Dialogs& dialogs, const QString& videoLog, const QDateTime& at,
                 const QString& clip, long frame) {
    const auto line = frameRecordLine(at, clip, frame);
    if (!line) {
        dialogs.warn(QStringLiteral("Warning, this is not a  standard QVX file so it will not be "
                                    "saved in the Log for future reference"));
        return false;
    }
    if (const FileResult logged = appendText(videoLog, *line); !logged)
        dialogs.error(
            QStringLiteral("The frame record could not be written to the video log:\r\n") +
            logged.error);
    if (const FileResult info = replaceText(infoPathOf(clip), infoLine(clip, frame)); !info)
        dialogs.error(QStringLiteral("The clip's frame file could not be written:\r\n") +
                      info.error);
    return true;
}

// ---- Free space ----

FreeSpaceSource systemFreeSpace() {
    return [](const QString& folder) -> std::optional<long long> {
        const QStorageInfo storage(folder);
        if (!storage.isValid() || !storage.isReady())
            return std::nullopt;
        return storage.bytesAvailable();
    };
}

DiskSpace diskSpaceOf(const QString& videoFolderText, const FreeSpaceSource& freeSpace) {
    DiskSpace d;
    QString drive;
    if (videoFolderText.size() >= 2 && videoFolderText.at(1) == QLatin1Char(':'))
        drive = videoFolderText.left(2);
    else
        drive = QStorageInfo(videoFolderText).rootPath();
    d.caption = QStringLiteral("Disk Space Available ") + drive;
    const std::optional<long long> bytes = freeSpace ? freeSpace(videoFolderText) : std::nullopt;
    if (!bytes) {
        d.amount = QStringLiteral("unknown");
        d.low = true; // nothing can be promised about a folder we cannot ask
        return d;
    }
    const long long mb = *bytes / 1000000;
    d.amount = QString::number(mb) + QStringLiteral(" MB");
    d.low = mb < lowDiskSpaceMB;
    return d;
}

// ---- Stepping and looped playback ----

long takenFrame(double position) {
    const long frame = static_cast<long>(toWholeNumber(position));
    return frame == 0 ? 1 : frame;
}

std::optional<QString> boundedSecondsText(const QString& text) {
    const double seconds = readNumber(text);
    if (seconds < 1)
        return QStringLiteral("1");
    if (seconds > 5)
        return QStringLiteral("5");
    return std::nullopt;
}

LoopPlan loopPlan(long long markedFrame, double secondsBefore, double clipFps) {
    LoopPlan plan;
    plan.intervalMs = static_cast<long long>(std::floor(secondsBefore * 1000 + 300));
    plan.intervalText = QString::number(plan.intervalMs);
    const double start = double(markedFrame) - secondsBefore * clipFps;
    if (start > 1) {
        plan.selectionStart = static_cast<long long>(std::floor(start));
    } else {
        plan.selectionStart = 0;
        // Only the frames from the clip's start are there to play.
        plan.intervalMs = clipFps > 0 ? toWholeNumber(double(markedFrame) / clipFps * 1000 + 300)
                                      : plan.intervalMs;
    }
    plan.selectionEnd = markedFrame == 0 ? 1 : markedFrame;
    return plan;
}

int playerKeyCode(int qtKey, bool keypad) {
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return 96 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Left:
        return keyCodeLeft;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return keyCodeRight;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    return 0;
}

// ---- Fixing the skier's name ----

namespace {

const QString& fixNameTitle() {
    static const QString title = QStringLiteral("Fix the skier's name");
    return title;
}

// Asks with prompt until a name is given; nullopt on cancel.
std::optional<QString> askName(Dialogs& dialogs, const QString& prompt, const QString& proposed) {
    static const QString again =
        QStringLiteral("You must input a name. ") + QStringLiteral("Please try again ");
    std::optional<QString> name = dialogs.input(prompt, fixNameTitle(), proposed);
    while (name && name->isEmpty())
        name = dialogs.input(again, fixNameTitle(), proposed);
    return name;
}

} // namespace

std::optional<FixedName> askFixedSkierName(Dialogs& dialogs, const QString& proposedName,
                                           const QString& clip, const QString& videoDir,
                                           const QString& jumpText,
                                           const std::function<bool(const QString&)>& exists) {
    std::optional<QString> name = askName(
        dialogs,
        QStringLiteral("The skier's name was changed to prevent overwriting ") +
            QStringLiteral("an existing file. You can change the skier's name here if you want. ") +
            QStringLiteral("Just modify it in the input box to what it should be. "),
        proposedName);
    if (!name)
        return std::nullopt;
    QString path = clipPathFor(videoDir, *name, QStringLiteral("1"));
    // Another clip under the new name is never overwritten.
    while (path != clip && exists(path)) {
        name = askName(dialogs,
                       QStringLiteral("I am sorry, there is ") +
                           QStringLiteral("an existing file using that name and jump.  ") +
                           QStringLiteral("Please try again "),
                       proposedName);
        if (!name)
            return std::nullopt;
        path = clipPathFor(videoDir, *name, jumpText.trimmed());
    }
    return FixedName{safeSkierName(*name), path};
}

QString fixSkierName(Dialogs& dialogs, CaptureScreenView& capture, const QString& clip,
                     const QString& videoDir) {
    const auto fixed =
        askFixedSkierName(dialogs, capture.skierName(), clip, videoDir, capture.jumpNumberText(),
                          [](const QString& path) { return pathTaken(path); });
    if (!fixed)
        return clip;
    if (fixed->path != clip) {
        if (const FileResult renamed = renameClip(clip, fixed->path); !renamed) {
            dialogs.error(QStringLiteral("The clip could not be renamed; it keeps its name:\r\n") +
                          renamed.error);
            return clip;
        }
    }
    capture.setSkierName(fixed->name);
    capture.setJumpNumberText(QStringLiteral("2"));
    return fixed->path;
}

std::optional<QString> askSkierOfClip(Dialogs& dialogs, const QString& clip,
                                      const QString& proposed) {
    const auto name =
        dialogs.input(QStringLiteral("The name of this clip does not tell the skier:\r\n") + clip +
                          QStringLiteral("\r\nWho is the skier of this jump?"),
                      QStringLiteral("Skier of the clip"), proposed);
    if (!name || name->trimmed().isEmpty())
        return std::nullopt;
    return safeSkierName(*name);
}

// ---- The clip once its frame is taken ----

ClipAction clipActionFor(Dialogs& dialogs, const QString& policy) {
    if (policy == QStringLiteral("Save"))
        return ClipAction::Record;
    if (policy != QStringLiteral("Ask"))
        return ClipAction::Keep;
    return dialogs.askYesNo(QStringLiteral("Do you want to save this video capture?"), QString(),
                            MsgIcon::Question)
               ? ClipAction::Record
               : ClipAction::Delete;
}

FileResult deleteClip(const QString& clip) {
    QFile file(clip);
    if (!pathTaken(clip))
        return FileResult::failure(clip, QStringLiteral("the file does not exist"));
    // A read-only clip is made writable to be deleted; a link is removed
    // as it is, and the file it leads to keeps its permissions.
    makeOwnerWritable(clip);
    if (!file.remove())
        return FileResult::failure(clip, file.errorString());
    return {};
}

FileResult renameClip(const QString& from, const QString& to) {
    QFile file(from);
    if (!file.rename(to))
        return FileResult::failure(from, file.errorString());
    return {};
}

} // namespace zt
