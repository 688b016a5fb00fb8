#include "Fixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

namespace zt::test {

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

} // namespace

QString clip(const QString& name, const ClipParams& params) {
    const QString path = folder().filePath(name);
    if (QFileInfo::exists(path))
        return path;
    QString error;
    if (!writeClip(path, params, &error))
        throw std::runtime_error(("cannot write fixture " + name + ": " + error).toStdString());
    return path;
}

QString tryClip(const QString& name, const ClipParams& params) {
    const QString path = folder().filePath(name);
    if (QFileInfo::exists(path))
        return path;
    if (writeClip(path, params))
        return path;
    QFile::remove(path);
    return QString();
}

QString mjpegClip() {
    return clip(QStringLiteral("mjpeg.avi"), ClipParams{});
}

QString rawClip() {
    ClipParams s;
    s.encoder = QStringLiteral("rawvideo");
    s.frames = 20;
    return clip(QStringLiteral("raw.avi"), s);
}

QString mpeg4BClip() {
    ClipParams s;
    s.encoder = QStringLiteral("mpeg4");
    s.frames = 60;
    s.gop = 12;
    s.bFrames = 2;
    return clip(QStringLiteral("mpeg4b.avi"), s);
}

QString h264Clip() {
    ClipParams s;
    s.encoder = haveEncoder(QStringLiteral("libx264")) ? QStringLiteral("libx264")
                                                       : QStringLiteral("mpeg4");
    s.frames = 60;
    s.gop = 25;
    s.bFrames = 3;
    return clip(QStringLiteral("h264.avi"), s);
}

QString droppedClip() {
    ClipParams s;
    s.frames = 30;
    s.dropped = {5, 6, 20};
    return clip(QStringLiteral("dropped.avi"), s);
}

QString writeBytes(const QString& name, const QByteArray& bytes) {
    const QString path = folder().filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

} // namespace zt::test
