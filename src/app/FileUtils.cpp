#include "app/FileUtils.h"

#include "app/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zt {

namespace {

bool isDrive(const QString& path) {
#ifdef Q_OS_WIN
    QString p = path;
    if (p.size() == 2 && p[1] == QLatin1Char(':'))
        p += QLatin1Char('\\');
    if (p.size() != 3 || p[1] != QLatin1Char(':'))
        return false;
    return QFileInfo(p).isDir();
#else
    const QFileInfo info(path);
    if (!info.isDir())
        return false;
    const QStorageInfo storage(path);
    return storage.isValid() &&
           QDir::cleanPath(storage.rootPath()) == QDir::cleanPath(info.absoluteFilePath());
#endif
}

// Waits until the file's data is on the disk, so a line reported written
// survives the program or the computer stopping right after.
bool syncToDisk(QFile& f) {
#ifdef Q_OS_WIN
    return _commit(f.handle()) == 0;
#else
    return ::fsync(f.handle()) == 0;
#endif
}

// Why a write of wanted bytes failed: a write that stopped short sets no
// error of its own (Qt says "Unknown error"), which the operator could not
// act upon.
QString writeFailure(const QFileDevice& f, qint64 written, qint64 wanted) {
    if (written >= 0 && written < wanted)
        return QStringLiteral("the disk is full (%1 of %2 bytes could be written)")
            .arg(written)
            .arg(wanted);
    return f.errorString();
}

// Whether the file of the given size is empty or ends with a line end. A
// program stopped in the middle of a write (killed, the power gone) can
// leave the start of a line without its end; what is appended next must
// not run on in that line. A file that cannot be read counts as ending well.
bool endsWithLineEnd(QFile& f, qint64 size) {
    if (size <= 0 || !f.isReadable() || !f.seek(size - 1))
        return true;
    char last = '\n';
    return f.read(&last, 1) != 1 || last == '\n';
}

} // namespace

bool pathExists(const QString& path, int kind) {
    if (path.isEmpty())
        return false;
    switch (kind) {
    case PathFile:
        // A regular file: a pipe or a device at a file's name is no file.
        return QFileInfo(path).isFile();
    case PathFolder:
        return QFileInfo(path).isDir();
    case PathDrive:
        return isDrive(path);
    default:
        return false;
    }
}

bool fileExists(const QString& path) {
    // Only a regular file: opening a named pipe would wait for a writer.
    QFile f;
    return !path.isEmpty() && openRegularForReading(f, path) && f.size() >= 0;
}

QByteArray fileBytes(const QString& text) {
    QStringEncoder enc(QStringConverter::Latin1);
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return text.toUtf8();
    return enc(text);
}

QString textOfFileBytes(const QByteArray& bytes) {
    auto dec = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = dec(bytes);
    if (!dec.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

FileResult appendText(const QString& path, const QString& text) {
    QFile f;
    // Never through a link, never into a pipe or a device.
    if (FileResult opened = detail::openForAppend(f, path); !opened)
        return opened;
    const qint64 before = f.size();
    QByteArray bytes = fileBytes(text);
    if (!bytes.isEmpty() && !endsWithLineEnd(f, before))
        bytes.prepend("\r\n");
    QString reason;
    if (const qint64 written = f.write(bytes); written != bytes.size())
        reason = writeFailure(f, written, bytes.size());
    else if (!f.flush())
        reason = f.errorString();
    else if (!syncToDisk(f))
        reason = qt_error_string(errno);
    if (!reason.isEmpty()) {
        // All or nothing: a part of the text left at the end (the disk
        // full halfway) would run into the next line appended.
        f.resize(before);
        return FileResult::failure(path, reason);
    }
    f.close();
    return {};
}

FileResult replaceFile(const QString& path, const QByteArray& bytes) {
    return detail::replaceRegular(path, bytes);
}

FileResult replaceText(const QString& path, const QString& text) {
    return replaceFile(path, fileBytes(text));
}

std::optional<QByteArray> readFileBytes(const QString& path, qint64 limit) {
    FileRead r = readRegularFile(path, limit);
    if (!r)
        return std::nullopt;
    return std::move(r.bytes);
}

std::optional<QString> chooseFileToOpen(Dialogs& dialogs, const QString& filter, int filterIndex,
                                        const QString& startDir, const QString& title) {
    FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.filterIndex = filterIndex;
    request.startDir = startDir;
    auto chosen = dialogs.openFile(request);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace zt
