#include "app/DiagnosticLog.h"

#include "app/Clock.h"
#include "app/FileUtils.h"
#include "app/Paths.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace zt;
using zt::test::ScriptedDialogs;

TEST(DiagnosticLog, EachRunHoldsOnlyItsOwnLines) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DebugLog.txt"));
    FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9)));
    ScriptedDialogs dialogs;
    DiagnosticLog first(path, clock, dialogs);
    first.startDiagnosticLog();
    first.appendDiagnosticLine(QStringLiteral("old run"));

    DiagnosticLog log(path, clock, dialogs);
    log.startDiagnosticLog();
    log.appendDiagnosticLine(QStringLiteral("MainForm Load"));
    clock.advance(61);
    log.appendDiagnosticLine(QStringLiteral("save grid 1"));
    EXPECT_EQ(zt::test::readAll(path), QByteArray("13:05:09      Debug Log Session Started\r\n"
                                                  "13:05:09      MainForm Load\r\n"
                                                  "13:06:10      save grid 1\r\n"));
    EXPECT_TRUE(dialogs.recorded().isEmpty());
}

TEST(DiagnosticLog, MissingFolderWarnsOncePerLineAndGoesOn) {
    QTemporaryDir dir;
    FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 0, 0)));
    ScriptedDialogs dialogs;
    DiagnosticLog log(dir.filePath(QStringLiteral("ztio/DebugLog.txt")), clock, dialogs);
    log.startDiagnosticLog();
    log.appendDiagnosticLine(QStringLiteral("MainForm Load"));
    const auto msgs = dialogs.messages();
    ASSERT_EQ(msgs.size(), 2);
    EXPECT_EQ(msgs[0].prompt.section(QStringLiteral("\r\n"), 0, 0),
              QStringLiteral("Error occurred while trying to close file, please retry."));
    EXPECT_TRUE(msgs[1].prompt.contains(log.path())); // the file, and why
    EXPECT_EQ(msgs[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(msgs[0].title.isEmpty());                              // the application title
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("ztio"))).exists()); // never created
}

TEST(FileUtils, PathKinds) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.txt"));
    zt::test::writeAll(file, "x");
    EXPECT_TRUE(pathExists(file, PathFile));
    EXPECT_FALSE(pathExists(file, PathFolder));
    EXPECT_TRUE(pathExists(dir.path(), PathFolder));
    EXPECT_FALSE(pathExists(dir.path(), PathFile));
    EXPECT_FALSE(pathExists(QString(), PathFolder));
    EXPECT_FALSE(pathExists(file, 3));
    EXPECT_FALSE(pathExists(dir.filePath(QStringLiteral("missing")), PathFile));
#ifndef Q_OS_WIN
    EXPECT_TRUE(pathExists(QStringLiteral("/"), PathDrive));
    EXPECT_FALSE(pathExists(dir.path(), PathDrive) &&
                 Paths::exchangeDirFor(dir.path()) != dir.filePath(QStringLiteral("ztio")));
#endif
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(fileExists(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(fileExists(QString()));
#ifndef Q_OS_WIN
    // A named pipe is answered at once, not waited on.
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(fileExists(pipe));
#endif
}

TEST(FileUtils, AppendCreatesAndReplaceIsWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.txt"));
    ASSERT_TRUE(appendText(path, QStringLiteral("one\r\n")));
    ASSERT_TRUE(appendText(path, QStringLiteral("caf\u00e9\r\n")));
    EXPECT_EQ(zt::test::readAll(path), QByteArray("one\r\ncaf\xe9\r\n"));
    // A line cut by a program stopped while writing it stays, ended, and
    // the next line starts on its own.
    QTemporaryDir other;
    const QString cut = other.filePath(QStringLiteral("cut.txt"));
    zt::test::writeAll(cut, QByteArray("one\r\ntwo jump 1"));
    ASSERT_TRUE(appendText(cut, QStringLiteral("three\r\n")));
    EXPECT_EQ(zt::test::readAll(cut), QByteArray("one\r\ntwo jump 1\r\nthree\r\n"));
    ASSERT_TRUE(replaceText(path, QStringLiteral("new\r\n")));
    EXPECT_EQ(zt::test::readAll(path), QByteArray("new\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left over

    const FileResult bad = appendText(dir.filePath(QStringLiteral("no/such/r.txt")), QString());
    EXPECT_FALSE(bad);
    EXPECT_TRUE(bad.error.contains(QStringLiteral("no/such/r.txt")));
    EXPECT_FALSE(replaceText(dir.filePath(QStringLiteral("no/such/r.txt")), QString()));
}

TEST(FileUtils, OpenDialogPassesItsRequestAndReportsCancel) {
    ScriptedDialogs dialogs;
    const QString filter = QStringLiteral(
        "All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.ipt)|*.ipt|");
    dialogs.answerText(QStringLiteral("/setups/grid.ipt"));
    EXPECT_EQ(chooseFileToOpen(dialogs, filter, 3, QStringLiteral("/setups")),
              QStringLiteral("/setups/grid.ipt"));
    EXPECT_EQ(chooseFileToOpen(dialogs, filter, 3, QStringLiteral("/setups")), std::nullopt);
    const auto& req = dialogs.recorded().first().file;
    EXPECT_EQ(req.filterIndex, 3);
    EXPECT_EQ(req.startDir, QStringLiteral("/setups"));
    const auto entries = parseFilter(req.filter);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[2].label, QStringLiteral("Parameter Files (*.ipt)"));
    EXPECT_EQ(entries[2].pattern, QStringLiteral("*.ipt"));
}

TEST(Dialogs, DefaultButtonAnswers) {
    EXPECT_EQ(answerForButton(MsgButtons::YesNo, 2), MsgAnswer::No);
    EXPECT_EQ(answerForButton(MsgButtons::YesNoCancel, 3), MsgAnswer::Cancel);
    EXPECT_EQ(answerForButton(MsgButtons::OK, 5), MsgAnswer::OK);
}
