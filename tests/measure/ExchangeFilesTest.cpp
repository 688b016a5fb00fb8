// Files shared with the scoring system and the picture producer.

#include "measure/ExchangeFiles.h"

#include "app/FieldReader.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace zt;
using test::readAll;
using test::writeAll;

TEST(ExchangeFiles, FieldRules) {
    EXPECT_EQ(firstField(QStringLiteral("\"SKIER, ONE\",USA\r\n")), QStringLiteral("SKIER, ONE"));
    EXPECT_EQ(firstField(QStringLiteral("SKIER, ONE\r\n")), QStringLiteral("SKIER"));
    EXPECT_EQ(firstField(QStringLiteral("   Ready   \r\n")), QStringLiteral("Ready"));
    EXPECT_EQ(firstField(QStringLiteral("\r\n  Late Line")), QStringLiteral("Late Line"));
    EXPECT_EQ(firstField(QStringLiteral(",second")), QString());
    EXPECT_FALSE(firstField(QString()));
    EXPECT_FALSE(firstField(QStringLiteral(" \r\n\r\n  ")));

    // A list: quoted fields keep commas, a comma at the line end makes no
    // empty field, blank lines are skipped, LF alone ends a line too.
    const QStringList expected = {QStringLiteral("Smith, John"), QStringLiteral("USA"),
                                  QStringLiteral("Jones"),       QString(),
                                  QStringLiteral("Lee"),         QStringLiteral("Brown")};
    EXPECT_EQ(allFields(QStringLiteral("\"Smith, John\",USA\r\nJones,,Lee,\r\n\r\n Brown \n")),
              expected);
    // Whole lines as they stand.
    FieldReader lines(QStringLiteral(" a, b \r\n\r\nlast"));
    EXPECT_EQ(lines.readLine(), QStringLiteral(" a, b "));
    EXPECT_EQ(lines.readLine(), QString());
    EXPECT_EQ(lines.readLine(), QStringLiteral("last"));
    EXPECT_FALSE(lines.readLine());
}

TEST(ExchangeFiles, SkierNameFiles) {
    test::TestEnv env;
    const QString dir = env.exchangeDir();
    NameRead r = readWstimsSkierName(dir);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("ztskier.nam")));
    EXPECT_EQ(exchangeReadErrorMessage(r),
              QStringLiteral("Error while reading WSTIMS name file: ") + r.error);
    // Nothing, blank lines or empty fields: no name in the file.
    for (const char* none : {"", "\r\n\r\n", ",,,", ",,,\r\n", "  ,Late"}) {
        writeAll(dir + QStringLiteral("/ztskier.nam"), none);
        r = readWstimsSkierName(dir);
        EXPECT_FALSE(r.ok) << none;
        EXPECT_TRUE(r.error.endsWith(QStringLiteral("the file holds no name"))) << none;
    }
    writeAll(dir + QStringLiteral("/ztskier.nam"), "\"SKIER, ONE\",12,M\r\n");
    r = readWstimsSkierName(dir);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.name, QStringLiteral("SKIER, ONE"));

    // The configuration's skier list.
    const QString list = env.path(QStringLiteral("names.txt"));
    writeAll(list, "\"Smith, John\",USA\r\n");
    NameListRead names = readSkierNameList(list);
    EXPECT_TRUE(names.opened);
    EXPECT_EQ(names.names, (QStringList{QStringLiteral("Smith, John"), QStringLiteral("USA")}));
    EXPECT_FALSE(readSkierNameList(env.path(QStringLiteral("none.txt"))).opened);
    EXPECT_FALSE(readSkierNameList(env.videoDir()).opened); // a folder is no list
    writeAll(list, "");
    names = readSkierNameList(list);
    EXPECT_TRUE(names.opened);
    EXPECT_TRUE(names.names.isEmpty());
}

// A binary file named as the skier list gave names with control characters
// that went into the results line (found by the random operator): every
// control character and line end in a name becomes a space.
TEST(ExchangeFiles, SkierListNamesHoldNoControlCharacters) {
    const QStringList names = namesOfNameList(QByteArray("\"Two\r\nLines\",A\x01"
                                                         "B,C\x1b[1m\x7f,\"D\tE\"\r\n"));
    for (const QString& name : names)
        for (QChar c : name)
            EXPECT_NE(c.category(), QChar::Other_Control) << name.toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("A B"))) << names.join('|').toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("C [1m "))) << names.join('|').toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("D E"))) << names.join('|').toStdString();
}

TEST(ExchangeFiles, ResultLines) {
    EXPECT_EQ(resultKindOfComment(QStringLiteral("Fall")), ResultKind::Fall);
    EXPECT_EQ(resultKindOfComment(QStringLiteral("Pass")), ResultKind::Pass);
    EXPECT_EQ(resultKindOfComment(QStringLiteral("fall")), ResultKind::Ok);
    EXPECT_EQ(exchangeResultLine(ResultKind::Fall, QString(), QString(), QStringLiteral("3")),
              QStringLiteral("Fall, 0, 0,3"));
    EXPECT_EQ(exchangeResultLine(ResultKind::Pass, QStringLiteral("45.3"), QStringLiteral("149"),
                                 QStringLiteral("4")),
              QStringLiteral("Pass, 0, 0,4"));
    EXPECT_EQ(exchangeResultLine(ResultKind::Ok, QStringLiteral("45.3"), QStringLiteral("149"),
                                 QStringLiteral("2")),
              QStringLiteral("OK, 45.3, 149, 2"));
    EXPECT_EQ(exchangeResultLine(ResultKind::Ok, QStringLiteral("30"), QStringLiteral(" 98"),
                                 QStringLiteral("2")),
              QStringLiteral("OK, 30,  98, 2"));
    EXPECT_EQ(exchangeResultLine(ResultKind::Ok, QString(), QString(), QStringLiteral("2")),
              QStringLiteral("OK, , , 2"));
    EXPECT_EQ(exchangeRawLine(QTime(14, 3, 22), QStringLiteral("SKIER, ONE"),
                              QStringLiteral("OK, 45.3, 149, 2")),
              QStringLiteral("14:03:22 ,SKIER,OK, 45.3, 149, 2"));
    EXPECT_EQ(rawSkierName(QStringLiteral("SKIER")), QStringLiteral("SKIER"));
}

TEST(ExchangeFiles, ResultReplacedRawAppended) {
    test::TestEnv env;
    const QString dir = env.exchangeDir();
    ExchangeResult first{ResultKind::Ok,      QStringLiteral("45.3"),       QStringLiteral("149"),
                         QStringLiteral("2"), QStringLiteral("SKIER, ONE"), QTime(14, 3, 22)};
    ASSERT_TRUE(writeExchangeResult(dir, first));
    ExchangeResult second{
        ResultKind::Fall, QString(), QString(), QStringLiteral("3"), QStringLiteral("SKIER, ONE"),
        QTime(14, 5, 1)};
    ASSERT_TRUE(writeExchangeResult(dir, second));
    EXPECT_EQ(readAll(dir + QStringLiteral("/ztresult.dst")), QByteArray("Fall, 0, 0,3\r\n"));
    EXPECT_EQ(readAll(dir + QStringLiteral("/ztraw.dst")),
              QByteArray("14:03:22 ,SKIER,OK, 45.3, 149, 2\r\n"
                         "14:05:01 ,SKIER,Fall, 0, 0,3\r\n"));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 2); // no temporary file left

    // No exchange folder: the failure names it, nothing is created.
    const QString missing = env.path(QStringLiteral("nowhere"));
    const FileResult r = writeExchangeResult(missing, first);
    EXPECT_FALSE(r);
    EXPECT_TRUE(exchangeWriteErrorMessage(r).startsWith(
        QStringLiteral("Error while writing WSTIMS result: ") + missing));
    EXPECT_FALSE(QFileInfo::exists(missing));

    // The raw file cannot be appended (a folder in its place): the result
    // file is written, the error names the raw file.
    QFile::remove(dir + QStringLiteral("/ztraw.dst"));
    QDir(dir).mkdir(QStringLiteral("ztraw.dst"));
    const FileResult raw = writeExchangeResult(dir, first);
    EXPECT_FALSE(raw);
    EXPECT_TRUE(raw.error.contains(QStringLiteral("ztraw.dst")));
    EXPECT_EQ(readAll(dir + QStringLiteral("/ztresult.dst")), QByteArray("OK, 45.3, 149, 2\r\n"));
}

TEST(ExchangeFiles, ClipFlagAndPictures) {
    test::TestEnv env;
    const QString dir = env.exchangeDir();
    const QString flag = dir + QStringLiteral("/clipflag.txt");
    EXPECT_FALSE(clipFlagReady(dir));
    writeAll(flag, "Ready   \r\n");
    EXPECT_TRUE(clipFlagReady(dir));
    resetClipFlag(dir);
    EXPECT_EQ(readAll(flag), QByteArray("  \r\n"));
    EXPECT_FALSE(clipFlagReady(dir));
    writeAll(flag, "\"Ready\"\r\n");
    EXPECT_TRUE(clipFlagReady(dir));
    resetClipFlag(env.path(QStringLiteral("nowhere"))); // ignored, nothing created
    EXPECT_FALSE(QFileInfo::exists(env.path(QStringLiteral("nowhere"))));

    writeAll(dir + QStringLiteral("/snapshot.bmp"), "BM");
    writeAll(dir + QStringLiteral("/OTHER.BMP"), "BM");
    writeAll(dir + QStringLiteral("/keep.txt"), "x");
    EXPECT_EQ(deleteExchangePictures(dir), 2);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files),
              (QStringList{QStringLiteral("clipflag.txt"), QStringLiteral("keep.txt")}));
    EXPECT_EQ(deleteExchangePictures(dir), 0);
    EXPECT_EQ(deleteExchangePictures(env.path(QStringLiteral("nowhere"))), 0);
}
