#include "video/VideoDialogs.h"

#include <algorithm>

namespace zt {

namespace {

// The folder part of a path: everything before its last separator.
QString initialFolder(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? QString() : path.left(cut);
}

// A name typed without an extension gets the kind's default one.
QString withDefaultExtension(const QString& chosen, int kind) {
    const qsizetype cut =
        std::max(chosen.lastIndexOf(QLatin1Char('\\')), chosen.lastIndexOf(QLatin1Char('/')));
    if (chosen.mid(cut + 1).contains(QLatin1Char('.')))
        return chosen;
    return chosen + QLatin1Char('.') + dialogDefaultExtension(kind);
}

template <typename Ask> QString ask(const QString& path, int kind, Ask askDialog) {
    if (kind < 0 || kind > 2)
        return path;
    FileDialogRequest request;
    request.filter = dialogFilter(kind);
    request.filterIndex = 1;
    request.startDir = initialFolder(path);
    const std::optional<QString> chosen = askDialog(request);
    if (!chosen || chosen->isEmpty())
        return path;
    return withDefaultExtension(*chosen, kind);
}

} // namespace

QString dialogFilter(int kind) {
    switch (kind) {
    case 0:
        return QStringLiteral("All Supported Types|*.bmp;*.jpg;*.pic|BMP Files|*.bmp|"
                              "JPEG Files|*.jpg|ePIC Files|*.pic|");
    case 1:
        return QStringLiteral("AVI File|*.avi|");
    case 2:
        return QStringLiteral("CapturePro 3.0 profile (.cpf)|*.cpf|");
    default:
        return QString();
    }
}

QString dialogDefaultExtension(int kind) {
    switch (kind) {
    case 0:
        return QStringLiteral("jpg");
    case 1:
        return QStringLiteral("avi");
    case 2:
        return QStringLiteral("cpf");
    default:
        return QString();
    }
}

QString showOpenDialog(Dialogs& dialogs, const QString& path, int kind) {
    return ask(path, kind, [&](const FileDialogRequest& r) { return dialogs.openFile(r); });
}

QString showSaveDialog(Dialogs& dialogs, const QString& path, int kind) {
    return ask(path, kind, [&](const FileDialogRequest& r) { return dialogs.saveFile(r); });
}

} // namespace zt
