#pragma once
// File-system faults for tests: a disk that fills (a file size limit on
// this process), a folder that turns read-only (immutable, where the file
// system and the user allow it; permission bits otherwise).

#include <QString>
#include <QStringList>
#include <sys/resource.h>

namespace zt::test {

// While it lives, no file of this process grows past limit bytes: a write
// beyond stops there and fails (SIGXFSZ ignored), as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long long limit);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit before_{};
    void (*handler_)(int) = nullptr;
};

// Makes a folder and the files in it read-only until it goes; ok() is
// false when this machine cannot (then nothing was changed).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool ok() const { return ok_; }

private:
    QStringList changed_;
    bool immutable_ = false;
    bool ok_ = false;
};

} // namespace zt::test
