// Manuals and name files that are not what they seem: too deep, too large,
// not files at all.

#include "app/FileAccess.h"
#include "logs/Manual.h"
#include "logs/RtfReader.h"
#include "logs/SkierNames.h"
#include "logs/VideoLog.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace zt;
using zt::test::readAll;
using zt::test::writeAll;

TEST(PlantedLogFiles, NestingBombEndsTheReadingWithTheTextBefore) {
    // 30 MB of braces once kept one group state each (close to 1 GB).
    QByteArray bomb("{\\rtf1 Before\\par ");
    bomb += QByteArray(30 * 1024 * 1024, '{');
    bool complete = true;
    EXPECT_EQ(RtfReader::toPlainText(bomb, &complete), QStringLiteral("Before\n"));
    EXPECT_FALSE(complete);

    QByteArray deep("{\\rtf1 ");
    for (int i = 1; i < RtfReader::maxNesting; ++i)
        deep += '{';
    deep += "deep";
    EXPECT_EQ(RtfReader::toPlainText(deep, &complete), QStringLiteral("deep"));
    EXPECT_TRUE(complete); // as deep as is allowed

    QTextDocument doc;
    EXPECT_FALSE(fillDocumentFromRtf(doc, bomb));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Before\n"));
    EXPECT_TRUE(manualTooDeepWarning().contains(QStringLiteral("1000")));

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("names.rtf"));
    const QString target = dir.filePath(QStringLiteral("SkierNames.txt"));
    writeAll(source, bomb.left(64 * 1024));
    writeAll(target, "Kept\r\n");
    const SkierImportResult r = importSkierNames(source, target);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, source + QStringLiteral(" nests its groups deeper than 1000 levels"));
    EXPECT_EQ(readAll(target), QByteArray("Kept\r\n"));
}

#ifndef Q_OS_WIN
TEST(PlantedLogFiles, PipesAndDevicesAreToldNotWaitedOn) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("ZT05Manual.rtf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const ManualText shown = loadManual(dir.path(), "{\\rtf1 delivered\\par}");
    EXPECT_TRUE(shown.warning.contains(pipe + QStringLiteral(" is a pipe, not a file")))
        << shown.warning.toStdString();
    EXPECT_EQ(shown.rtf, QByteArray("{\\rtf1 delivered\\par}"));
    EXPECT_FALSE(shown.copied); // the pipe is left for the operator

    const QString target = dir.filePath(QStringLiteral("SkierNames.txt"));
    SkierImportResult r = importSkierNames(QStringLiteral("/dev/zero"), target);
    EXPECT_EQ(r.error, QStringLiteral("/dev/zero is a device, not a file"));
    EXPECT_FALSE(readLogLines(pipe, LogLines::Clips));

    // A video log past the limit of a day's text is refused, not loaded.
    const QString log = dir.filePath(QStringLiteral("JumpMeasurementLog120826.txt"));
    QFile big(log);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(readLimit::text + 1));
    big.close();
    EXPECT_FALSE(readLogLines(log, LogLines::Clips));
    EXPECT_EQ(readRegularFile(log, readLimit::text).error,
              log + QStringLiteral(" is too large to be read (more than 8 MB)"));
}
#endif
