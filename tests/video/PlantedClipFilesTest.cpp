// Links left in the video folder at a clip's name, and the recorder that
// writes only new files.

#include "capture/CaptureScreenRules.h"
#include "support/CaptureFixtures.h"
#include "support/TestEnv.h"
#include "video/FrameSelection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>

using namespace zt;
using namespace zt::test;

TEST(PlantedClipFiles, ALinkAtTheClipsNameIsTakenAndItsTargetLeftAlone) {
    TestEnv env;
    const QString dir = env.videoDir();
    const QString elsewhere = env.path(QStringLiteral("elsewhere.avi"));
    // A link leading nowhere: the recording would have created its target.
    ASSERT_TRUE(QFile::link(elsewhere, dir + QStringLiteral("/SMITHjump1.avi")));
    const ClipName name = clipNameKeepingClips(dir, QStringLiteral("SMITH"), QStringLiteral("1"));
    EXPECT_TRUE(name.altered);
    EXPECT_EQ(name.path, dir + QStringLiteral("/SMITHXjump1.avi"));

    // Deleting a linked clip removes the link; the file it led to keeps
    // its content and its permissions.
    const QString target = env.path(QStringLiteral("target.avi"));
    writeAll(target, "kept");
    ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner));
    const QString linked = dir + QStringLiteral("/linked.avi");
    ASSERT_TRUE(QFile::link(target, linked));
    EXPECT_TRUE(deleteClip(linked));
    EXPECT_FALSE(QFileInfo(linked).isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0400u);
    EXPECT_EQ(readAll(target), QByteArray("kept"));
    // A dangling link is deleted too, not reported missing.
    EXPECT_TRUE(deleteClip(dir + QStringLiteral("/SMITHjump1.avi")));
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
}

TEST(PlantedClipFiles, TheRecorderWritesOnlyANewFile) {
    TestEnv env;
    const QString target = env.path(QStringLiteral("target.avi"));
    const QString link = env.videoDir() + QStringLiteral("/SMITHjump1.avi");
    ASSERT_TRUE(QFile::link(target, link));
    const QStringList args{QStringLiteral("record"), QStringLiteral("--device"),
                           QStringLiteral("test"),   QStringLiteral("--seconds"),
                           QStringLiteral("0.2"),    QStringLiteral("--size"),
                           QStringLiteral("64x48"),  link};
    ToolRun run = runTool(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(link + QStringLiteral(" cannot be created: something of "
                                                       "that name (a file or a link) is already "
                                                       "there")))
        << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(target));

    // Nor is a file already there truncated.
    const QString kept = env.videoDir() + QStringLiteral("/kept.avi");
    writeAll(kept, "earlier clip");
    run = runTool(QStringList(args.mid(0, 7)) << kept);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(readAll(kept), QByteArray("earlier clip"));
}
#endif
