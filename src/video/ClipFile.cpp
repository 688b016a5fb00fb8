#include "video/ClipFile.h"

#include <QFile>
#include <QString>
#include <cerrno>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zt {

namespace {

constexpr int bufferSize = 256 * 1024;

struct ClipFd {
    int fd = -1;
};

#ifdef Q_OS_WIN
int sysWrite(int fd, const void* p, unsigned n) {
    return _write(fd, p, n);
}
int64_t sysSeek(int fd, int64_t at, int whence) {
    return _lseeki64(fd, at, whence);
}
int sysClose(int fd) {
    return _close(fd);
}
int64_t sysSize(int fd) {
    struct _stat64 st {};
    return _fstat64(fd, &st) == 0 ? st.st_size : -1;
}
int openNew(const QByteArray& name) {
    return _open(name.constData(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                 _S_IREAD | _S_IWRITE);
}
#else
ssize_t sysWrite(int fd, const void* p, size_t n) {
    return ::write(fd, p, n);
}
off_t sysSeek(int fd, off_t at, int whence) {
    return ::lseek(fd, at, whence);
}
int sysClose(int fd) {
    return ::close(fd);
}
int64_t sysSize(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? st.st_size : -1;
}
int openNew(const QByteArray& name) {
    return ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}
#endif

#if LIBAVFORMAT_VERSION_MAJOR >= 61
int writePacket(void* opaque, const uint8_t* buf, int size) {
#else
int writePacket(void* opaque, uint8_t* buf, int size) {
#endif
    const int fd = static_cast<ClipFd*>(opaque)->fd;
    int done = 0;
    while (done < size) {
        const auto n = sysWrite(fd, buf + done, static_cast<unsigned>(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return AVERROR(errno);
        if (n == 0)
            return AVERROR(ENOSPC);
        done += static_cast<int>(n);
    }
    return done;
}

int64_t seekTo(void* opaque, int64_t offset, int whence) {
    const int fd = static_cast<ClipFd*>(opaque)->fd;
    if (whence & AVSEEK_SIZE) {
        const int64_t size = sysSize(fd);
        return size < 0 ? AVERROR(errno) : size;
    }
    const int64_t at = sysSeek(fd, offset, whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : at;
}

} // namespace

int openNewClipFile(const QString& path, AVIOContext** pb) {
    *pb = nullptr;
    const int fd = openNew(QFile::encodeName(path));
    if (fd < 0)
        return AVERROR(errno);
    auto* opaque = new ClipFd{fd};
    auto* buffer = static_cast<unsigned char*>(av_malloc(bufferSize));
    AVIOContext* ctx =
        buffer ? avio_alloc_context(buffer, bufferSize, 1, opaque, nullptr, writePacket, seekTo)
               : nullptr;
    if (!ctx) {
        av_free(buffer);
        sysClose(fd);
        delete opaque;
        return AVERROR(ENOMEM);
    }
    *pb = ctx;
    return 0;
}

int closeClipFile(AVIOContext** pb) {
    AVIOContext* ctx = *pb;
    if (!ctx)
        return 0;
    avio_flush(ctx);
    int error = ctx->error;
    auto* opaque = static_cast<ClipFd*>(ctx->opaque);
    if (sysClose(opaque->fd) != 0 && error == 0)
        error = AVERROR(errno);
    delete opaque;
    av_freep(&ctx->buffer);
    avio_context_free(pb);
    return error;
}

} // namespace zt
