// One program per application folder: the lock, the refusal through the
// dialogs, and two real programs started on one folder.

#include "app/AppFolderLock.h"

#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace zt;

namespace {

// Every file under a folder with a digest of its bytes.
QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files[path] = f.open(QIODevice::ReadOnly)
                          ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
                          : QByteArray("unreadable");
    }
    return files;
}

// The program on folder app, its diagnostic log in exchange.
struct Program {
    QProcess process;
    QString err;

    Program(const QString& app, const QString& exchange) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(
            QStringLiteral(ZENTRAK_APP_PATH),
            {QStringLiteral("--app-dir"), app, QStringLiteral("--exchange-dir"), exchange});
        process.waitForStarted(30000);
    }
    ~Program() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(30000);
        }
    }
    bool told(const QString& text) {
        err += QString::fromLocal8Bit(process.readAllStandardError());
        return err.contains(text);
    }
};

QByteArray lockHolder(const QString& app) {
    QFile f(app + QLatin1Char('/') + AppFolderLock::fileName());
    return f.open(QIODevice::ReadOnly) ? f.readLine().trimmed() : QByteArray();
}

} // namespace

TEST(AppFolderLock, ASecondProgramOnTheFolderIsToldWhoHoldsIt) {
    QTemporaryDir dir;
    AppFolderLock first(dir.path());
    ASSERT_TRUE(first.acquire());
    test::ScriptedDialogs dialogs;
    AppFolderLock second(dir.path());
    EXPECT_FALSE(lockAppFolder(second, dialogs));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].prompt,
              QStringLiteral("Zentrak is already running with the application folder ") +
                  dir.path() + QStringLiteral(" (process ") +
                  QString::number(QCoreApplication::applicationPid()) +
                  QStringLiteral("). Close it first."));
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Critical);
}

TEST(AppFolderLock, TwoProgramsOnOneFolder) {
    QTemporaryDir root;
    const QString app = root.filePath(QStringLiteral("app"));
    const QString exchange = root.filePath(QStringLiteral("ztio"));
    ASSERT_TRUE(QDir().mkpath(app) && QDir().mkpath(exchange));

    auto first = std::make_unique<Program>(app, exchange);
    const QByteArray firstPid = QByteArray::number(first->process.processId());
    // Started: it holds the lock and waits at its first question.
    ASSERT_TRUE(test::waitUntil([&] {
        QFile log(exchange + QStringLiteral("/DebugLog.txt"));
        return lockHolder(app) == firstPid && log.open(QIODevice::ReadOnly) &&
               log.readAll().contains("MainForm Load");
    })) << first->err.toStdString();
    QThread::msleep(500);
    const QMap<QString, QByteArray> before = contents(root.path());

    {
        // The second start is refused; it writes nothing, not even its
        // diagnostic log in an exchange folder of its own.
        const QString otherExchange = root.filePath(QStringLiteral("other-ztio"));
        Program second(app, otherExchange);
        ASSERT_TRUE(test::waitUntil([&] {
            return second.told(QStringLiteral("Zentrak is already running with the application "
                                              "folder ") +
                               app + QStringLiteral(" (process ") + QString::fromLatin1(firstPid) +
                               QStringLiteral("). Close it first."));
        })) << second.err.toStdString();
        // Waits for the operator to read the message; the folders stay as they were.
        EXPECT_EQ(second.process.state(), QProcess::Running);
    }
    EXPECT_EQ(contents(root.path()), before);

    // A program that was killed leaves its lock behind: the next start takes it over.
    first->process.kill();
    first->process.waitForFinished(30000);
    first.reset();
    Program third(app, exchange);
    const QByteArray thirdPid = QByteArray::number(third.process.processId());
    EXPECT_TRUE(test::waitUntil([&] { return lockHolder(app) == thirdPid; }))
        << third.err.toStdString();
    EXPECT_FALSE(third.told(QStringLiteral("already running")));
}
