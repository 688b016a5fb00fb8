#include "measure/Pictures.h"

#include "app/FileAccess.h"
#include "app/Paths.h"
#include "app/ResultsFile.h"
#include "app/TextFormat.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <filesystem>
#include <system_error>

namespace zt {

namespace {

std::filesystem::path fsPath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

MoveResult moveFailure(const QString& from, const QString& to, const QString& reason) {
    return {false,
            from + QStringLiteral(" could not be moved to ") + to + QStringLiteral(": ") + reason,
            false};
}

bool samePath(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

QString folderShown(const QString& folder) {
    return folder.isEmpty() ? QStringLiteral("(none set)") : folder;
}

// True when the picture to save is there; otherwise *missing says why.
bool sourceIsThere(const ShownPicture& shown, QString* missing) {
    switch (shown.source) {
    case PictureSource::None:
        *missing = QStringLiteral("There is no picture on the screen to save.");
        return false;
    case PictureSource::CaptureFrame:
    case PictureSource::File:
        if (QFileInfo(shown.path).isFile())
            return true;
        *missing = QStringLiteral("There is no picture to save: ") + shown.path +
                   QStringLiteral(" does not exist (a picture saved already has been moved "
                                  "away).");
        return false;
    case PictureSource::Memory:
        return true;
    }
    return false;
}

// Puts the shown picture at path; the error names both places.
QString placePicture(const ShownPicture& shown, const QString& path) {
    switch (shown.source) {
    case PictureSource::CaptureFrame: {
        const MoveResult moved = movePicture(shown.path, path);
        return moved.ok ? QString() : moved.error;
    }
    case PictureSource::File: {
        const FileResult copied = copyPictureFile(shown.path, path);
        return copied ? QString()
                      : shown.path + QStringLiteral(" could not be copied to ") + path +
                            QStringLiteral(": ") + copied.error;
    }
    case PictureSource::Memory: {
        const FileResult written = writePictureFile(shown.image, path);
        return written ? QString()
                       : QStringLiteral("The picture on the screen could not be written to ") +
                             written.error;
    }
    case PictureSource::None:
        break;
    }
    return QStringLiteral("There is no picture on the screen.");
}

// Checks made before anything is shown or written. False when the save
// does not go ahead (the operator was told or declined).
bool readyToSave(const PictureSaveContext& ctx, const ShownPicture& shown, const QString& file,
                 SaveOutcome* outcome) {
    *outcome = SaveOutcome::Failed;
    QString missing;
    if (!sourceIsThere(shown, &missing)) {
        ctx.dialogs.warn(missing + QStringLiteral("\nNothing was saved as ") + file +
                         QLatin1Char('.'));
        return false;
    }
    if (!pathExists(ctx.pictureDir, PathFolder)) {
        ctx.dialogs.warn(QStringLiteral("The picture folder ") + folderShown(ctx.pictureDir) +
                         QStringLiteral(" does not exist, so the picture cannot be saved as ") +
                         file +
                         QStringLiteral(".\nSet the captures path in the configuration screen."));
        return false;
    }
    if (shown.source == PictureSource::File && samePath(shown.path, file)) {
        ctx.dialogs.inform(QStringLiteral("The picture on the screen is already saved as ") + file +
                           QLatin1Char('.'));
        *outcome = SaveOutcome::Declined;
        return false;
    }
    if (QFileInfo::exists(file) &&
        !ctx.dialogs.askYesNo(file + QStringLiteral(" already exists.\nDo you want to replace it?"),
                              QStringLiteral("Picture Already Saved"), MsgIcon::Exclamation,
                              true)) {
        *outcome = SaveOutcome::Declined;
        return false;
    }
    return true;
}

// The results line, the side file and the video log line of a saved
// picture; each failure is told with its file.
void writePictureRecords(const PictureSaveContext& ctx, const PictureSaveValues& v,
                         const QString& file) {
    const QDateTime now = ctx.clock.now();
    appendToResultsFile(ctx.dialogs, ctx.resultsPath,
                        pictureResultsLine(now, PictureEvent::Saved, file));
    const FileResult side = replaceText(
        pictureSideFilePath(file), pictureSideFileText(file, v.skierName, v.jumpNumber.trimmed()));
    if (!side)
        ctx.dialogs.warn(QStringLiteral("The picture's side file could not be written: ") +
                         side.error);
    const FileResult logged =
        appendText(ctx.videoLogPath, pictureVideoLogLine(now, v.skierName, v.jumpNumber.trimmed(),
                                                         v.distanceText, file));
    if (!logged)
        ctx.dialogs.warn(QStringLiteral("The picture line could not be written to the video "
                                        "log: ") +
                         logged.error);
}

} // namespace

QString pictureFilePath(const QString& pictureDir, const QString& skierName,
                        const QString& jumpNumber, const QString& pictureExt) {
    QString dir = pictureDir;
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QLatin1Char('\\')))
        dir += QLatin1Char('/');
    return dir + skierName + QStringLiteral("jump") + jumpNumber.trimmed() + pictureExt;
}

QString pictureSideFilePath(const QString& pictureFile) {
    return pictureFile + QStringLiteral(".info");
}

QString pictureSideFileText(const QString& pictureFile, const QString& skierName,
                            const QString& jumpNumber) {
    return pictureFile + QStringLiteral(", ") + skierName + QStringLiteral(", ") + jumpNumber +
           QStringLiteral("\r\n");
}

QString pictureResultsLine(const QDateTime& at, PictureEvent event, const QString& path) {
    const QString what = event == PictureEvent::Saved ? QStringLiteral("Saved picture: ")
                                                      : QStringLiteral("Loaded picture: ");
    return dateText(at.date()) + QLatin1Char(' ') + timeText(at.time()) + QLatin1Char(' ') + what +
           path + QStringLiteral("\r\n");
}

QString pictureVideoLogLine(const QDateTime& at, const QString& skierName,
                            const QString& jumpNumber, const QString& distanceText,
                            const QString& pictureFile) {
    return PrintLine()
        .item(dateText(at.date()))
        .item(timeText(at.time()))
        .item(QStringLiteral("Skier: ") + skierName)
        .item(QStringLiteral("Jump: ") + jumpNumber)
        .item(QStringLiteral("Distance: ") + distanceText)
        .item(QStringLiteral("File: ") + pictureFile)
        .line();
}

int pictureFilterIndex(const QString& pictureExt) {
    if (pictureExt == QLatin1String(".gif"))
        return 3;
    if (pictureExt == QLatin1String(".bmp"))
        return 4;
    if (pictureExt == QLatin1String(".jpg"))
        return 5;
    return 1;
}

MoveResult movePicture(const QString& from, const QString& to) {
    if (!QFileInfo(from).isFile())
        return moveFailure(from, to, QStringLiteral("the file does not exist"));
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    if (!ec)
        return {true, {}, false};
    if (ec == std::errc::cross_device_link)
        return copyThenDelete(from, to);
    return moveFailure(from, to, QString::fromLocal8Bit(ec.message()));
}

MoveResult copyThenDelete(const QString& from, const QString& to) {
    const FileResult copied = copyPictureFile(from, to);
    if (!copied)
        return moveFailure(from, to, copied.error);
    if (!QFile::remove(from))
        return {true, {}, true};
    return {true, {}, false};
}

FileResult copyPictureFile(const QString& from, const QString& to) {
    const FileRead read = readRegularFile(from, readLimit::picture);
    if (!read)
        return {false, read.error};
    return replaceFile(to, read.bytes);
}

FileResult writePictureFile(const QImage& image, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "BMP"))
        return FileResult::failure(path, QStringLiteral("the picture cannot be written"));
    return replaceFile(path, bytes);
}

SaveOutcome savePicture(const PictureSaveContext& ctx, const PictureSaveValues& values,
                        ShownPicture& shown) {
    const QString file =
        pictureFilePath(ctx.pictureDir, values.skierName, values.jumpNumber, ctx.pictureExt);
    SaveOutcome outcome = SaveOutcome::Failed;
    if (!readyToSave(ctx, shown, file, &outcome))
        return outcome;
    ctx.dialogs.inform(file);
    ctx.log(QStringLiteral("save ") + file);
    const QString error = placePicture(shown, file);
    if (!error.isEmpty()) {
        ctx.dialogs.error(QStringLiteral("The picture could not be saved as ") + file +
                          QStringLiteral(".\n") + error +
                          QStringLiteral("\nNothing was written for it; the picture stays on the "
                                         "screen."));
        return SaveOutcome::Failed;
    }
    ctx.log(QStringLiteral("Picture actually Saved"));
    writePictureRecords(ctx, values, file);
    shown = {PictureSource::File, file, QImage(), true};
    return SaveOutcome::Saved;
}

bool pictureSavingOnLeave(LeaveBy by, bool withFrame, const QString& policy, bool pictureToSave,
                          Dialogs& dialogs, const std::function<SaveOutcome()>& save) {
    auto ask = [&dialogs](const QString& question) {
        return dialogs.askYesNo(question, QString(), MsgIcon::Question);
    };
    if (withFrame) {
        if (!pictureToSave || policy == QLatin1String("NoSave"))
            return true;
        if (policy != QLatin1String("Save") && !ask(picture::saveQuestion))
            return true;
        return save() != SaveOutcome::Failed;
    }
    if (by == LeaveBy::Exit)
        return true;
    if (pictureToSave && ask(picture::saveQuestion) && save() == SaveOutcome::Failed)
        return false;
    return !ask(picture::remainQuestion);
}

} // namespace zt
