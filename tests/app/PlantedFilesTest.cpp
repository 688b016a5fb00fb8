// Links, folders, pipes and devices put where the program keeps its files.

#include "app/CommandLine.h"
#include "app/FileAccess.h"
#include "app/Paths.h"
#include "app/SettingsStore.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>

using namespace zt;
using zt::test::readAll;
using zt::test::writeAll;

namespace {

void makeLink(const QString& target, const QString& link) {
    ASSERT_TRUE(QFile::link(target, link)) << link.toStdString();
}

void makePipe(const QString& path) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// The write is refused with the path and what is there, and the link's
// target (when it has one) stays as it was.
void expectRefused(const FileResult& r, const QString& path, const char* kind) {
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, path + QStringLiteral(" is ") + QLatin1String(kind) +
                           QStringLiteral(", not a file: remove it"));
}

// Sets an environment variable for the scope of a test.
class EnvVar {
public:
    EnvVar(const char* name, const QByteArray* value) : name_(name) {
        had_ = qEnvironmentVariableIsSet(name);
        old_ = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~EnvVar() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    QByteArray old_;
};

} // namespace

TEST(PlantedFiles, WritesNeverGoThroughALink) {
    QTemporaryDir dir;
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    writeAll(notes, "mine\n");
    const QString result = dir.filePath(QStringLiteral("ztresult.dst"));
    const QString raw = dir.filePath(QStringLiteral("ztraw.dst"));
    makeLink(notes, result);
    makeLink(notes, raw);
    expectRefused(replaceText(result, QStringLiteral("OK, 37.7\r\n")), result, "a link");
    expectRefused(appendText(raw, QStringLiteral("$(touch PWNED)\r\n")), raw, "a link");
    EXPECT_EQ(readAll(notes), QByteArray("mine\n"));
    EXPECT_TRUE(QFileInfo(result).isSymLink()); // left for the operator to remove

    // A link leading nowhere: its target is never created.
    const QString evil = dir.filePath(QStringLiteral("autostart-evil.desktop"));
    const QString log = dir.filePath(QStringLiteral("DebugLog.txt"));
    makeLink(evil, log);
    expectRefused(replaceText(log, QStringLiteral("x")), log, "a link");
    expectRefused(appendText(log, QStringLiteral("x")), log, "a link");
    EXPECT_FALSE(QFileInfo::exists(evil));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 4);
}

TEST(PlantedFiles, WritesRefuseFoldersPipesAndDevicesWithoutWaiting) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("clipflag.txt"));
    ASSERT_TRUE(QDir().mkpath(folder));
    expectRefused(replaceText(folder, QStringLiteral("x")), folder, "a folder");
    expectRefused(appendText(folder, QStringLiteral("x")), folder, "a folder");

    // No reader on the pipe: an open that waited would never return.
    const QString pipe = dir.filePath(QStringLiteral("ztraw.dst"));
    makePipe(pipe);
    expectRefused(appendText(pipe, QStringLiteral("x")), pipe, "a pipe");
    expectRefused(replaceText(pipe, QStringLiteral("x")), pipe, "a pipe");
    const QString null = QStringLiteral("/dev/null");
    expectRefused(appendText(null, QStringLiteral("x")), null, "a device");
}

TEST(PlantedFiles, ReplaceKeepsThePermissionsAndLeavesNoTemporary) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    writeAll(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(replaceText(path, QStringLiteral("new")));
    EXPECT_EQ(readAll(path), QByteArray("new"));
    EXPECT_EQ(modeOf(path), mode_t(0640));
    const QString fresh = dir.filePath(QStringLiteral("fresh.txt"));
    ASSERT_TRUE(replaceText(fresh, QStringLiteral("1")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{QStringLiteral("fresh.txt"), QStringLiteral("settings.ini")}));
}

TEST(PlantedFiles, ReadsTakeRegularFilesUpToTheirLimit) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("ztskier.nam"));
    makePipe(pipe);
    FileRead r = readRegularFile(pipe, readLimit::flag);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, pipe + QStringLiteral(" is a pipe, not a file"));
    EXPECT_FALSE(readFileBytes(pipe));

    // A link to a device is read as what it leads to.
    const QString zero = dir.filePath(QStringLiteral("zero.nam"));
    makeLink(QStringLiteral("/dev/zero"), zero);
    r = readRegularFile(zero, readLimit::text);
    EXPECT_EQ(r.error, zero + QStringLiteral(" is a device, not a file"));

    const QString flag = dir.filePath(QStringLiteral("clipflag.txt"));
    writeAll(flag, QByteArray(int(readLimit::flag), 'R'));
    r = readRegularFile(flag, readLimit::flag);
    ASSERT_TRUE(r) << r.error.toStdString();
    EXPECT_EQ(r.bytes.size(), readLimit::flag);
    writeAll(flag, QByteArray(int(readLimit::flag) + 1, 'R'));
    r = readRegularFile(flag, readLimit::flag);
    EXPECT_EQ(r.error, flag + QStringLiteral(" is too large to be read (more than 4 KB)"));

    const QString empty = dir.filePath(QStringLiteral("empty.txt"));
    writeAll(empty, QByteArray());
    EXPECT_TRUE(readRegularFile(empty, readLimit::flag));
    r = readRegularFile(dir.filePath(QStringLiteral("missing.txt")), readLimit::flag);
    EXPECT_TRUE(r.missing);
    EXPECT_TRUE(r.error.startsWith(dir.filePath(QStringLiteral("missing.txt")) + ": "));
    EXPECT_FALSE(pathExists(pipe, PathFile));
    EXPECT_FALSE(fileExists(zero));
}

TEST(PlantedFiles, LinksAreTakenNamesAndKeepTheirTargetsPermissions) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.avi"));
    writeAll(target, "clip");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0400), 0);
    const QString link = dir.filePath(QStringLiteral("linked.avi"));
    makeLink(target, link);
    const QString dangling = dir.filePath(QStringLiteral("dangling.avi"));
    makeLink(dir.filePath(QStringLiteral("nowhere.avi")), dangling);
    EXPECT_TRUE(pathTaken(link));
    EXPECT_TRUE(pathTaken(dangling));
    EXPECT_FALSE(pathTaken(dir.filePath(QStringLiteral("free.avi"))));
    EXPECT_FALSE(makeOwnerWritable(link));
    EXPECT_EQ(modeOf(target), mode_t(0400));
    EXPECT_TRUE(makeOwnerWritable(target));
    EXPECT_EQ(modeOf(target), mode_t(0600));
}

TEST(PlantedFiles, SettingsFileThatIsAPipeOrALinkIsToldNotWaitedOn) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zt05-settings.ini"));
    makePipe(path);
    FileSettingsStore pipeStore(path);
    EXPECT_EQ(pipeStore.loadError(), path + QStringLiteral(" is a pipe, not a file"));

    QFile::remove(path);
    const QString other = dir.filePath(QStringLiteral("other.ini"));
    writeAll(other, "[Settings]\nVideoDir=/v\n");
    makeLink(other, path);
    FileSettingsStore store(path);
    EXPECT_TRUE(store.loadError().isEmpty()); // read through the link, as before
    QStringList told;
    store.setErrorHandler([&](const QString& what) { told << what; });
    EXPECT_FALSE(store.write(QStringLiteral("VideoDir"), QStringLiteral("/w")));
    EXPECT_EQ(told, QStringList{path + QStringLiteral(" is a link, not a file: remove it")});
    EXPECT_EQ(readAll(other), QByteArray("[Settings]\nVideoDir=/v\n"));
    FileSettingsStore missing(dir.filePath(QStringLiteral("none.ini")));
    EXPECT_TRUE(missing.loadError().isEmpty());
}

TEST(PlantedFiles, TheApplicationFolderIsAbsoluteAndMadeOrAnError) {
    QTemporaryDir home;
    const QByteArray homePath = QFile::encodeName(home.path());
    EnvVar xdg("XDG_DATA_HOME", nullptr);
    {
        EnvVar noHome("HOME", nullptr);
        QString error;
        EXPECT_TRUE(Paths::locate(QString(), QString(), &error).appDir.isEmpty());
        EXPECT_TRUE(error.startsWith(QStringLiteral("HOME is not set"))) << error.toStdString();
        // A folder given needs no home.
        error.clear();
        const Paths given = Paths::locate(home.filePath(QStringLiteral("app")), QString(), &error);
        EXPECT_EQ(given.appDir, home.filePath(QStringLiteral("app"))) << error.toStdString();
    }
    {
        const QByteArray relative("share");
        EnvVar relativeData("XDG_DATA_HOME", &relative);
        QString error;
        EXPECT_TRUE(Paths::locate(QString(), QString(), &error).appDir.isEmpty());
        EXPECT_EQ(error.section(QLatin1Char(':'), 0, 1),
                  QStringLiteral("XDG_DATA_HOME is not an absolute folder: share"));
    }
    EnvVar tempHome("HOME", &homePath);
    const QString tooLong = home.filePath(QString(5000, QLatin1Char('a')));
    QString error;
    EXPECT_TRUE(Paths::locate(tooLong, QString(), &error).appDir.isEmpty());
    EXPECT_TRUE(error.contains(tooLong));
    // The default folder is left alone when a folder is given.
    error.clear();
    const Paths p = Paths::locate(home.filePath(QStringLiteral("given")), QString(), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(p.settingsFile, home.filePath(QStringLiteral("given/zt05-settings.ini")));
    EXPECT_FALSE(QFileInfo::exists(home.filePath(QStringLiteral(".local"))));
    const Paths defaults = Paths::locate(QString(), QString(), &error);
    EXPECT_TRUE(defaults.appDir.startsWith(home.path() + QStringLiteral("/.local/share/")));
    EXPECT_TRUE(QFileInfo(defaults.appDir).isDir());
}

TEST(PlantedFiles, AnOptionGivenTwiceIsAUsageError) {
    const CommandLine cl = parseCommandLine({QStringLiteral("zentrak"), QStringLiteral("--app-dir"),
                                             QStringLiteral("/a"), QStringLiteral("--test-camera"),
                                             QStringLiteral("--app-dir"), QStringLiteral("/b")});
    EXPECT_EQ(cl.error, QStringLiteral("--app-dir is given twice"));
    // The same folder for two options is no repetition.
    EXPECT_TRUE(parseCommandLine({QStringLiteral("zentrak"), QStringLiteral("--app-dir"),
                                  QStringLiteral("/a"), QStringLiteral("--exchange-dir"),
                                  QStringLiteral("/a")})
                    .error.isEmpty());
}

#endif
