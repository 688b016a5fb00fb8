#include "video/MediaFileOpen.h"

#include "app/Dialogs.h"
#include "app/FileAccess.h"
#include "video/AviFile.h"
#include "video/FrameSource.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace zt {

ClipKind clipKindOfName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("mp4") || suffix == QLatin1String("mov"))
        return ClipKind::Mp4;
    if (suffix == QLatin1String("mkv"))
        return ClipKind::Mkv;
    return ClipKind::Avi;
}

QString clipFileFilter() {
    return QStringLiteral("Video clips|*.avi;*.mp4;*.mov;*.mkv|");
}

bool isValidClip(Dialogs& dialogs, const QString& path) {
    const ClipKind kind = clipKindOfName(path);
    if (kind == ClipKind::Avi)
        return isValidAvi(dialogs, path);
    QFile file;
    if (!openMediaFile(dialogs, path, file))
        return false;
    const QByteArray head = file.read(12);
    if (kind == ClipKind::Mkv)
        return head.startsWith(QByteArray::fromHex("1a45dfa3"));
    const QByteArray box = head.mid(4, 4);
    for (const char* known : {"ftyp", "moov", "mdat", "wide", "free", "skip", "pnot"})
        if (box == known)
            return true;
    return false;
}

ClipFacts factsOf(const FrameSource& source) {
    ClipFacts f;
    f.container = source.containerName();
    f.codec = source.codecName();
    f.width = source.width();
    f.height = source.height();
    f.frames = std::max<int64_t>(source.frameCount(), 0);
    f.frameRate = source.frameRate();
    f.variableRate = source.variableRate();
    f.rotation = source.rotation();
    return f;
}

QStringList clipInfoLines(const QString& path, const ClipFacts& facts) {
    const double rate = std::round(facts.frameRate * 100) / 100;
    return {QStringLiteral("Filename: ") + path,
            QStringLiteral("File Type: ") + facts.container + QStringLiteral(", ") + facts.codec,
            QStringLiteral("Height: ") + QString::number(facts.height),
            QStringLiteral("Width: ") + QString::number(facts.width),
            QStringLiteral("Length: ") + QString::number(facts.frames) + QStringLiteral(" frames"),
            QStringLiteral("Rate: ") + QString::number(rate) + QStringLiteral("fps") +
                (facts.variableRate ? QStringLiteral(" (variable; frames numbered in order)")
                                    : QString()),
            QStringLiteral("Rotation: ") + QString::number(facts.rotation) +
                QStringLiteral(" degrees")};
}

bool openMediaFile(Dialogs& dialogs, const QString& path, QFile& file) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir()) {
        dialogs.error(QStringLiteral("File does not exist:\r\n") + path);
        return false;
    }
    // A named pipe or a device would block the open or never end; the
    // type is checked on the file opened.
    if (const FileResult opened = openRegularForReading(file, path); !opened) {
        if (!info.isFile())
            dialogs.inform(QStringLiteral("Not a regular file:\r\n") + path, QString(),
                           MsgIcon::Information);
        else if (!info.isReadable())
            dialogs.error(QStringLiteral("File is locked - cannot access:\r\n") + path);
        else
            dialogs.inform(opened.error, QString(), MsgIcon::Information);
        return false;
    }
    return true;
}

} // namespace zt
