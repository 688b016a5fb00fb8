#include "app/FileUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QStringEncoder>

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

} // namespace

bool pathExists(const QString& path, int kind) {
    if (path.isEmpty())
        return false;
    switch (kind) {
    case PathFile: {
        const QFileInfo info(path);
        return info.exists() && !info.isDir();
    }
    case PathFolder:
        return QFileInfo(path).isDir();
    case PathDrive:
        return isDrive(path);
    default:
        return false;
    }
}

QString absolutePathText(const QString& typed) {
    const QString path = typed.trimmed();
    if (path.isEmpty() || !QDir::isRelativePath(path))
        return typed;
    return QDir::current().absoluteFilePath(path);
}

bool fileExists(const QString& path) {
    // Only a regular file: opening a named pipe would wait for a writer.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.size() >= 0;
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
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return FileResult::failure(path, f.errorString());
    const QByteArray bytes = fileBytes(text);
    if (f.write(bytes) != bytes.size() || !f.flush())
        return FileResult::failure(path, f.errorString());
    f.close();
    return {};
}

FileResult replaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return FileResult::failure(path, f.errorString());
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return FileResult::failure(path, f.errorString());
    }
    if (!f.commit())
        return FileResult::failure(path, f.errorString());
    return {};
}

FileResult replaceText(const QString& path, const QString& text) {
    return replaceFile(path, fileBytes(text));
}

std::optional<QByteArray> readFileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
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
