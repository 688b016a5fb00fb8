#include "FileFaults.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zt::test {

FileSizeLimit::FileSizeLimit(long long limit) {
    handler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &before_);
    rlimit now = before_;
    now.rlim_cur = rlim_t(limit);
    setrlimit(RLIMIT_FSIZE, &now);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &before_);
    std::signal(SIGXFSZ, handler_);
}

namespace {

bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

bool canCreateIn(const QString& folder) {
    QFile probe(folder + QStringLiteral("/.write-probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.remove();
    return true;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const QString& folder) {
    QStringList paths;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        paths << folder + QLatin1Char('/') + name;
    paths << folder;
    // Immutable first: it holds for root too, where permission bits do not.
    immutable_ = true;
    for (const QString& p : paths) {
        if (!setImmutable(p, true)) {
            immutable_ = false;
            break;
        }
        changed_ << p;
    }
    if (!immutable_) {
        for (const QString& p : changed_)
            setImmutable(p, false);
        changed_.clear();
        for (const QString& p : paths) {
            QFile::setPermissions(p,
                                  QFile::permissions(p) & ~(QFile::WriteOwner | QFile::WriteUser |
                                                            QFile::WriteGroup | QFile::WriteOther));
            changed_ << p;
        }
    }
    ok_ = !canCreateIn(folder);
}

ReadOnlyFolder::~ReadOnlyFolder() {
    for (const QString& p : changed_) {
        if (immutable_)
            setImmutable(p, false);
        else
            QFile::setPermissions(p, QFile::permissions(p) | QFile::WriteOwner | QFile::WriteUser);
    }
}

} // namespace zt::test
