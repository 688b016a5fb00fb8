// The exchange folder is shared with the scoring system, often over the
// network: what is found there in place of its files is told, never
// followed, never waited on.

#include "app/FileAccess.h"
#include "measure/ExchangeFiles.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTime>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>

using namespace zt;
using zt::test::readAll;
using zt::test::writeAll;

TEST(PlantedExchangeFiles, ResultFilesLinkedElsewhereAreRefusedAndTold) {
    test::TestEnv env;
    const QString dir = env.exchangeDir();
    const QString bashrc = env.path(QStringLiteral("bashrc"));
    writeAll(bashrc, "export PATH\n");
    const QString raw = dir + QStringLiteral("/ztraw.dst");
    ASSERT_TRUE(QFile::link(bashrc, raw));
    const ExchangeResult jump{
        ResultKind::Ok,      QStringLiteral("37.7"),           QStringLiteral("124"),
        QStringLiteral("1"), QStringLiteral("$(touch PWNED)"), QTime(3, 32, 1)};
    FileResult r = writeExchangeResult(dir, jump);
    EXPECT_EQ(exchangeWriteErrorMessage(r),
              QStringLiteral("Error while writing WSTIMS result: ") + raw +
                  QStringLiteral(" is a link, not a file: remove it"));
    EXPECT_EQ(readAll(bashrc), QByteArray("export PATH\n"));

    const QString notes = env.path(QStringLiteral("notes.txt"));
    writeAll(notes, "notes");
    QFile::remove(dir + QStringLiteral("/ztresult.dst"));
    ASSERT_TRUE(QFile::link(notes, dir + QStringLiteral("/ztresult.dst")));
    r = writeExchangeResult(dir, jump);
    EXPECT_TRUE(r.error.startsWith(dir + QStringLiteral("/ztresult.dst is a link")));
    EXPECT_EQ(readAll(notes), QByteArray("notes"));
    EXPECT_EQ(readAll(bashrc), QByteArray("export PATH\n"));

    // The clip flag reset leaves a linked flag's target alone.
    const QString flag = dir + QStringLiteral("/clipflag.txt");
    writeAll(notes, "Ready\r\n");
    ASSERT_TRUE(QFile::link(notes, flag));
    const ClipFlagRead read = readClipFlag(dir);
    EXPECT_FALSE(read.ready);
    EXPECT_EQ(read.problem, flag + QStringLiteral(" is a link, not a file: remove it"));
    EXPECT_EQ(resetClipFlag(dir).error, read.problem);
    EXPECT_EQ(readAll(notes), QByteArray("Ready\r\n"));
}

TEST(PlantedExchangeFiles, NameAndFlagFilesThatArePipesOrDevicesAreNotWaitedOn) {
    test::TestEnv env;
    const QString dir = env.exchangeDir();
    const QString names = dir + QStringLiteral("/ztskier.nam");
    const QString flag = dir + QStringLiteral("/clipflag.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(names).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(flag).constData(), 0600), 0);
    NameRead r = readWstimsSkierName(dir);
    EXPECT_EQ(exchangeReadErrorMessage(r),
              QStringLiteral("Error while reading WSTIMS name file: ") + names +
                  QStringLiteral(" is a pipe, not a file"));
    EXPECT_EQ(readClipFlag(dir).problem, flag + QStringLiteral(" is a pipe, not a file"));

    QFile::remove(names);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), names));
    r = readWstimsSkierName(dir);
    EXPECT_EQ(r.error, names + QStringLiteral(" is a device, not a file"));

    // A name file far longer than any name is refused as a whole.
    QFile::remove(names);
    writeAll(names, "\"SKIER\"," + QByteArray(int(readLimit::flag), 'x'));
    r = readWstimsSkierName(dir);
    EXPECT_EQ(r.error, names + QStringLiteral(" is too large to be read (more than 4 KB)"));
    EXPECT_FALSE(readSkierNameList(flag).opened);
}
#endif
