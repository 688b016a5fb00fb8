#include "Fixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
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

namespace {

QString runFfmpeg(const QString& name, const QString& sourcePath, const QStringList& args) {
    const QString path = folder().filePath(name);
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-nostdin", "-y", "-v", "error", "-i", sourcePath} + args +
                     QStringList{path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        QFile::remove(path);
        return QString();
    }
    return path;
}

} // namespace

QString phoneClip(const QString& name, const QStringList& args) {
    const QString path = folder().filePath(name);
    if (QFileInfo::exists(path))
        return path;
    ClipParams source;
    source.encoder =
        haveEncoder(QStringLiteral("ffv1")) ? QStringLiteral("ffv1") : QStringLiteral("rawvideo");
    source.width = 320, source.height = 240, source.frames = phoneClipFrames, source.fps = 30;
    return runFfmpeg(name, clip(QStringLiteral("phone-source.avi"), source), args);
}

QString copiedClip(const QString& name, const QString& from, const QStringList& args) {
    const QString path = folder().filePath(name);
    if (QFileInfo::exists(path) || from.isEmpty())
        return from.isEmpty() ? QString() : path;
    return runFfmpeg(name, from, QStringList{"-c", "copy"} + args);
}

QImage ffmpegPicture(const QString& path, int n, int width, int height) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "error", "-i", path, "-vf",
                                            QStringLiteral("select=eq(n\\,%1)").arg(n), "-frames:v",
                                            "1", "-f", "rawvideo", "-pix_fmt", "bgr24", "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return QImage();
    const QByteArray bytes = ffmpeg.readAllStandardOutput();
    if (bytes.size() != qsizetype(width) * height * 3)
        return QImage();
    QImage img(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        std::memcpy(img.scanLine(y), bytes.constData() + qsizetype(y) * width * 3,
                    size_t(width) * 3);
    return img;
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
