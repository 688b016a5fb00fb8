#include "measure/ui/MeasurePictures.h"

#include "app/Paths.h"
#include "app/ResultsFile.h"
#include "app/TextFormat.h"
#include "app/ui/AppContext.h"
#include "capture/CaptureScreenView.h"
#include "measure/ExchangeFiles.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zt {

namespace {

const QString selectFrameMode = QStringLiteral("SelectFrame");

QImage clipboardPicture() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->image() : QImage();
}

} // namespace

MeasurePictures::MeasurePictures(Measure& screen, AppContext& app) : m_(screen), app_(app) {}

void MeasurePictures::showPictureSize() {
    const QSizeF size = m_.canvas().pictureSizeTwips();
    app_.state.pictureWidthText = numberText(size.width());
    app_.state.pictureHeightText = numberText(size.height());
}

void MeasurePictures::showSource(const QString& text, const QPoint& at) {
    m_.gif_file_name->setText(text);
    m_.gif_file_name->setCursorPosition(0);
    m_.gif_file_name->move(at);
    m_.gif_file_name->show();
}

std::optional<QImage> MeasurePictures::readOrTell(const QString& path) {
    const PictureRead read = readWholePicture(path);
    if (read.ok())
        return read.image;
    app_.dialogs().warn(pictureNotLoadedMessage(read));
    return std::nullopt;
}

void MeasurePictures::showHandedOverFrame() {
    const QString path = app_.paths().inApp(picture::captureFile);
    const auto image = readOrTell(path);
    if (!image)
        return;
    m_.canvas().setPicture(*image);
    showPictureSize();
    shown_ = {PictureSource::CaptureFrame, path, QImage(), false};
}

void MeasurePictures::loadPicture() {
    AppState& s = app_.state;
    if (!pathExists(s.pictureDir, PathFolder)) {
        app_.dialogs().warn(picture::invalidFolderMessage);
        return;
    }
    FileDialogRequest request;
    request.title = QStringLiteral("Load Picture");
    request.filter = picture::openFilter;
    request.filterIndex = pictureFilterIndex(s.pictureExt);
    request.startDir = s.pictureDir;
    const auto chosen = app_.dialogs().openFile(request);
    if (!chosen || chosen->isEmpty())
        return; // cancelled: the screen and the results file stay as they are
    const auto image = readOrTell(*chosen);
    if (!image)
        return;
    m_.canvas().setPicture(*image);
    m_.canvas().setBackgroundColor(Qt::black);
    showPictureSize();
    m_.show_the_grid();
    const QRect box = m_.grid_description->geometry();
    showSource(*chosen, QPoint(box.left(), box.top() + box.height()));
    appendToResultsFile(app_.dialogs(), s.logFilePath,
                        pictureResultsLine(app_.clock().now(), PictureEvent::Loaded, *chosen));
    s.screenMode = QStringLiteral("PictureLoadMenu");
    shown_ = {PictureSource::File, *chosen, QImage(), false};
}

bool MeasurePictures::showLoggedPicture(const QString& path) {
    const auto image = readOrTell(path);
    if (!image)
        return false;
    m_.canvas().setPicture(*image);
    m_.show_the_grid();
    const QRect box = m_.grid_description->geometry();
    showSource(path, QPoint(box.left() + box.width(), box.top()));
    app_.state.screenMode = QStringLiteral("PictureLog");
    shown_ = {PictureSource::File, path, QImage(), false};
    return true;
}

void MeasurePictures::showStill(const QImage& image, const ShownPicture& shown,
                                const QString& sourceText) {
    m_.setPictureFrozen(true);
    m_.FrozenSign->show();
    m_.distance->clear();
    m_.distance_ft->clear();
    m_.Show_grid->setFocus();
    m_.canvas().setPicture(image);
    m_.show_the_grid();
    showSource(sourceText, m_.gif_file_name->pos());
    shown_ = shown;
}

void MeasurePictures::paste() {
    const QString path = app_.paths().inApp(picture::captureFile);
    if (const auto image = readOrTell(path))
        showStill(*image, {PictureSource::CaptureFrame, path, QImage(), false},
                  picture::fromClipboard);
}

void MeasurePictures::clipboardSnapshot() {
    const QImage image = clipboardPicture();
    if (image.isNull()) {
        app_.dialogs().warn(QStringLiteral("There is no picture on the clipboard.\nThe picture on "
                                           "the screen stays as it was."));
        return;
    }
    showStill(image, {PictureSource::Memory, QString(), image, false}, picture::fromClipboard);
}

void MeasurePictures::fileSnapshot() {
    const QString path = app_.paths().inExchange(picture::snapshotFile);
    const PictureRead read = readWholePicture(path);
    if (!read.ok()) {
        app_.dialogs().warn(picture::snapshotWarning);
        return;
    }
    // Kept in memory: the exchange pictures are deleted after each record.
    showStill(read.image, {PictureSource::Memory, QString(), read.image, false}, path);
}

void MeasurePictures::autoLoadTick() {
    const QString exchangeDir = app_.paths().exchangeDir;
    const ClipFlagRead flag = readClipFlag(exchangeDir);
    tellClipFlagProblem(flag.problem);
    if (!flag.ready)
        return;
    const QImage image = clipboardPicture();
    if (image.isNull())
        return; // not there yet: the flag stays for the next tick
    m_.canvas().setPicture(image);
    m_.show_the_grid();
    showSource(picture::fromClipboard, m_.gif_file_name->pos());
    shown_ = {PictureSource::Memory, QString(), image, false};
    const FileResult reset = resetClipFlag(exchangeDir);
    tellClipFlagProblem(reset.error);
}

void MeasurePictures::tellClipFlagProblem(const QString& problem) {
    if (problem == clipFlagTold_)
        return;
    clipFlagTold_ = problem;
    if (!problem.isEmpty())
        app_.dialogs().warn(QStringLiteral("The clip flag of the scoring system cannot be used; "
                                           "pictures are not loaded by it:\n") +
                            problem);
}

PictureSaveContext MeasurePictures::saveContext() {
    const AppState& s = app_.state;
    return {app_.dialogs(),
            app_.clock(),
            [this](const QString& line) { app_.log(line); },
            app_.paths().appDir,
            s.pictureDir,
            s.pictureExt,
            s.logFilePath,
            joinPath(s.videoDir, s.measurementLogName)};
}

SaveOutcome MeasurePictures::savePicture() {
    const PictureSaveValues values{m_.Skier_name->currentText(), m_.Jump_no->text(),
                                   m_.distance->text()};
    return zt::savePicture(saveContext(), values, shown_);
}

bool MeasurePictures::beforeLeaving(LeaveBy by) {
    const AppState& s = app_.state;
    return pictureSavingOnLeave(by, s.screenMode == selectFrameMode, s.pictureSavePolicy,
                                shown_.canBeSaved(), app_.dialogs(),
                                [this] { return savePicture(); });
}

} // namespace zt
