#include "app/FileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cerrno>
#include <utility>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zt {

namespace {

QString limitText(qint64 limit) {
    if (limit >= readLimit::mb && limit % readLimit::mb == 0)
        return QString::number(limit / readLimit::mb) + QStringLiteral(" MB");
    if (limit >= readLimit::kb && limit % readLimit::kb == 0)
        return QString::number(limit / readLimit::kb) + QStringLiteral(" KB");
    return QString::number(limit) + QStringLiteral(" bytes");
}

FileRead readFailure(const QString& path, const QString& reason, bool missing = false) {
    FileRead r;
    r.missing = missing;
    r.error = path + reason;
    return r;
}

QString notAFileText(const QString& kind) {
    return QStringLiteral(" is ") + kind + QStringLiteral(", not a file");
}

#ifndef Q_OS_WIN

QString kindOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return QString();
    if (S_ISLNK(mode))
        return QStringLiteral("a link");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a regular file");
}

QString errnoText(int e) {
    return qt_error_string(e);
}

// Closes the descriptor on every way out.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
    int release() { return std::exchange(fd, -1); }
};

// Opens for reading without waiting on a pipe or a device and checks on the
// open file that it is a regular one. -1 with *error set otherwise.
int openRegularFd(const QString& path, QString* error, bool* missing, struct stat* st) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        *missing = e == ENOENT;
        *error = QStringLiteral(": ") + errnoText(e);
        return -1;
    }
    if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
        *error = notAFileText(kindOfMode(st->st_mode));
        ::close(fd);
        return -1;
    }
    // Regular files never block; reads go on in the ordinary way.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Writes everything or says why not.
QString writeAll(int fd, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != ENOSPC && errno != EDQUOT && errno != EFBIG)
            return errnoText(errno);
        if (n <= 0)
            return QStringLiteral("the disk is full (%1 of %2 bytes could be written)")
                .arg(done)
                .arg(bytes.size());
        done += n;
    }
    return QString();
}

QByteArray tempNameBeside(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray dir = slash < 0 ? QByteArray(".") : path.left(slash + 1);
    const QByteArray base = slash < 0 ? path : path.mid(slash + 1);
    return dir + '.' + base + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) +
           ".tmp";
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArray(".");
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

// Writes bytes into fd, with the replaced file's permissions, and waits
// until they are on the disk.
QString fillTemporary(int fd, const QByteArray& bytes, const struct stat* old) {
    QString reason = writeAll(fd, bytes);
    if (reason.isEmpty() && old)
        ::fchmod(fd, old->st_mode & 07777); // the replaced file's permissions stay
    if (reason.isEmpty() && ::fsync(fd) != 0)
        reason = errnoText(errno);
    return reason;
}

// The system's unnamed temporary file, given a name once it is whole:
// nothing half written ever shows in the folder. False when the system or
// the file system has none (then a named one is used); *reason set when
// the write itself failed.
bool writeUnnamed(const QByteArray& path, const QByteArray& bytes, const struct stat* old,
                  QByteArray* temp, QString* reason) {
#ifdef O_TMPFILE
    const int fd = ::open(folderOf(path).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    Fd file(fd);
    if (*reason = fillTemporary(fd, bytes, old); !reason->isEmpty())
        return true;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int tries = 0; tries < 20; ++tries) {
        *temp = tempNameBeside(path);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temp->constData(), AT_SYMLINK_FOLLOW) ==
            0)
            return true;
        if (errno != EEXIST)
            break;
    }
    temp->clear();
    return false;
#else
    Q_UNUSED(path)
    , Q_UNUSED(bytes)
    , Q_UNUSED(old)
    , Q_UNUSED(temp)
    , Q_UNUSED(reason);
    return false;
#endif
}

// A temporary file beside path holding bytes, on the disk, under its name
// in *temp; the reason when it cannot be made.
QString writeTemporary(const QByteArray& path, const QByteArray& bytes, const struct stat* old,
                       QByteArray* temp) {
    QString reason;
    if (writeUnnamed(path, bytes, old, temp, &reason))
        return reason;
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 20; ++tries) {
        *temp = tempNameBeside(path);
        fd = ::open(temp->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return errnoText(errno);
    }
    if (fd < 0)
        return errnoText(EEXIST);
    Fd file(fd);
    reason = fillTemporary(fd, bytes, old);
    if (!reason.isEmpty()) {
        ::unlink(temp->constData());
        temp->clear();
    }
    return reason;
}

#endif

} // namespace

FileResult notAFileFailure(const QString& path, const QString& kind) {
    return {false, path + notAFileText(kind) + QStringLiteral(": remove it")};
}

#ifndef Q_OS_WIN

FileRead readRegularFile(const QString& path, qint64 limit) {
    if (path.isEmpty())
        return readFailure(QStringLiteral("(no file name)"), QStringLiteral(": no file is named"),
                           true);
    QString error;
    bool missing = false;
    struct stat st {};
    Fd fd(openRegularFd(path, &error, &missing, &st));
    if (fd.fd < 0)
        return readFailure(path, error, missing);
    const QString tooLarge = QStringLiteral(" is too large to be read (more than ") +
                             limitText(limit) + QStringLiteral(")");
    if (st.st_size > limit)
        return readFailure(path, tooLarge);
    FileRead r;
    // One byte more than the limit tells a file that grew past it since.
    r.bytes.resize(qsizetype(qMin<qint64>(st.st_size, limit) + 1));
    qint64 done = 0;
    while (done < r.bytes.size()) {
        const ssize_t n = ::read(fd.fd, r.bytes.data() + done, size_t(r.bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return readFailure(path, QStringLiteral(": ") + errnoText(errno));
        if (n == 0)
            break;
        done += n;
        if (done == r.bytes.size() && done <= limit)
            r.bytes.resize(qsizetype(qMin<qint64>(done * 2, limit + 1)));
    }
    if (done > limit)
        return readFailure(path, tooLarge);
    r.bytes.resize(qsizetype(done));
    r.ok = true;
    return r;
}

FileResult openRegularForReading(QFile& file, const QString& path) {
    QString error;
    bool missing = false;
    struct stat st {};
    const int fd = openRegularFd(path, &error, &missing, &st);
    if (fd < 0)
        return {false, path + error};
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileResult::failure(path, file.errorString());
    }
    return {};
}

bool pathTaken(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool makeOwnerWritable(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    Fd file(fd);
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
           ((st.st_mode & S_IWUSR) != 0 || ::fchmod(fd, (st.st_mode & 07777) | S_IWUSR) == 0);
}

QString nonFileKind(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();
    return kindOfMode(st.st_mode);
}

namespace detail {

FileResult openForAppend(QFile& file, const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    // Read as well, for the last byte already in the file; a file only
    // writable is appended to all the same.
    const int flags = O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    bool readable = true;
    int fd = ::open(name.constData(), O_RDWR | flags, 0666);
    if (fd < 0 && errno == EACCES) {
        readable = false;
        fd = ::open(name.constData(), O_WRONLY | flags, 0666);
    }
    if (fd < 0) {
        const int e = errno;
        const QString kind = nonFileKind(path);
        return kind.isEmpty() ? FileResult::failure(path, errnoText(e))
                              : notAFileFailure(path, kind);
    }
    Fd owned(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return notAFileFailure(path, kindOfMode(st.st_mode));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    // Unbuffered: nothing held back that a later close could still write.
    const auto mode = (readable ? QIODevice::ReadWrite : QIODevice::WriteOnly) | QIODevice::Append |
                      QIODevice::Unbuffered;
    if (!file.open(owned.fd, mode, QFileDevice::AutoCloseHandle))
        return FileResult::failure(path, file.errorString());
    owned.release();
    return {};
}

FileResult replaceRegular(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    struct stat old {};
    const bool hadFile = ::lstat(name.constData(), &old) == 0;
    if (hadFile && !S_ISREG(old.st_mode))
        return notAFileFailure(path, kindOfMode(old.st_mode));
    QByteArray temp;
    if (const QString reason = writeTemporary(name, bytes, hadFile ? &old : nullptr, &temp);
        !reason.isEmpty())
        return FileResult::failure(path, reason);
    // The rename replaces the name itself: whatever was put there meanwhile
    // is replaced, never written through.
    if (::rename(temp.constData(), name.constData()) != 0) {
        const int e = errno;
        ::unlink(temp.constData());
        return FileResult::failure(path, errnoText(e));
    }
    return {};
}

} // namespace detail

#else // Windows: links and pipes are not found in these folders there.

FileRead readRegularFile(const QString& path, qint64 limit) {
    QFile f;
    if (const FileResult opened = openRegularForReading(f, path); !opened) {
        FileRead r;
        r.missing = !QFileInfo::exists(path);
        r.error = opened.error;
        return r;
    }
    if (f.size() > limit)
        return readFailure(path, QStringLiteral(" is too large to be read (more than ") +
                                     limitText(limit) + QStringLiteral(")"));
    FileRead r;
    r.bytes = f.read(limit + 1);
    if (r.bytes.size() > limit)
        return readFailure(path, QStringLiteral(" is too large to be read (more than ") +
                                     limitText(limit) + QStringLiteral(")"));
    r.ok = true;
    return r;
}

FileResult openRegularForReading(QFile& file, const QString& path) {
    if (const QString kind = nonFileKind(path); !kind.isEmpty())
        return {false, path + notAFileText(kind)};
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::failure(path, file.errorString());
    return {};
}

bool pathTaken(const QString& path) {
    return !path.isEmpty() && (QFileInfo::exists(path) || QFileInfo(path).isSymLink());
}

bool makeOwnerWritable(const QString& path) {
    if (QFileInfo(path).isSymLink())
        return false;
    QFile f(path);
    return f.setPermissions(f.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

QString nonFileKind(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("a link");
    if (info.isDir())
        return QStringLiteral("a folder");
    if (info.exists() && !info.isFile())
        return QStringLiteral("not a regular file");
    return QString();
}

namespace detail {

FileResult openForAppend(QFile& file, const QString& path) {
    if (const QString kind = nonFileKind(path); !kind.isEmpty())
        return notAFileFailure(path, kind);
    file.setFileName(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered) &&
        !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return FileResult::failure(path, file.errorString());
    return {};
}

FileResult replaceRegular(const QString& path, const QByteArray& bytes) {
    if (const QString kind = nonFileKind(path); !kind.isEmpty())
        return notAFileFailure(path, kind);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FileResult::failure(path, f.errorString());
    if (f.write(bytes) != bytes.size()) {
        const QString reason = f.errorString();
        f.cancelWriting();
        return FileResult::failure(path, reason);
    }
    if (!f.commit())
        return FileResult::failure(path, f.errorString());
    return {};
}

} // namespace detail

#endif

} // namespace zt
