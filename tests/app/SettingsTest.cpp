#include "app/EmergencyReset.h"
#include "app/SettingsStore.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace zt;
using zt::test::ScriptedDialogs;

TEST(Settings, KeysIgnoreCaseAndDefaults) {
    MemorySettingsStore s;
    s.write(QStringLiteral("videoresolution"), QStringLiteral("3"));
    EXPECT_EQ(s.read(QStringLiteral("VideoResolution")), QStringLiteral("3"));
    EXPECT_EQ(s.read(QStringLiteral("missing"), QStringLiteral("dflt")), QStringLiteral("dflt"));
    EXPECT_EQ(s.readWhole(QStringLiteral("device"), -1), -1);
    s.write(QStringLiteral("grids"), QStringLiteral("abc")); // corrupt: read as missing
    EXPECT_EQ(s.readWhole(QStringLiteral("grids"), 0), 0);
    EXPECT_EQ(s.readDouble(QStringLiteral("grids"), 0), 0);
    s.write(QStringLiteral("grids"), QStringLiteral("2"));
    EXPECT_EQ(s.readDouble(QStringLiteral("Grids"), 0), 2);
}

TEST(Settings, FlagsAcceptWordsAndNumbers) {
    MemorySettingsStore s;
    EXPECT_FALSE(s.readFlag(QStringLiteral("right2left"), false));
    s.writeFlag(QStringLiteral("right2left"), true);
    EXPECT_EQ(s.read(QStringLiteral("right2left")), QStringLiteral("True"));
    EXPECT_TRUE(s.readFlag(QStringLiteral("right2left"), false));
    s.write(QStringLiteral("right2left"), QStringLiteral("0"));
    EXPECT_FALSE(s.readFlag(QStringLiteral("right2left"), true));
    s.write(QStringLiteral("right2left"), QStringLiteral("-1"));
    EXPECT_TRUE(s.readFlag(QStringLiteral("right2left"), false));
    s.write(QStringLiteral("right2left"), QStringLiteral("maybe"));
    EXPECT_TRUE(s.readFlag(QStringLiteral("right2left"), true));
}

TEST(Settings, FileStoreSurvivesRestartAndKeepsOddTexts) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    const QString odd[] = {QStringLiteral("C:\\Video\\"),
                           QStringLiteral("\\\\server\\share\\new\\t.ipt"),
                           QStringLiteral("a=b; [c] \"d\"  "),
                           QStringLiteral("  leading and trailing  "),
                           QStringLiteral("Coupe d\u00e9t\u00e9 \u2013 Annecy"),
                           QStringLiteral("\\n is not a line break \\"),
                           QString()};
    {
        FileSettingsStore s(path);
        s.write(QStringLiteral("logpath"), QStringLiteral("first"));
        for (int i = 0; i < 7; ++i)
            EXPECT_TRUE(s.write(QStringLiteral("key%1").arg(i), odd[i]));
        s.write(QStringLiteral("LOGPATH"), QStringLiteral("/data/video"));
    }
    FileSettingsStore again(path);
    EXPECT_EQ(again.read(QStringLiteral("logpath")), QStringLiteral("/data/video"));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(again.read(QStringLiteral("KEY%1").arg(i), QStringLiteral("missing")), odd[i]);
    // Each value stands in the file as written, so a person can read and edit it.
    const QByteArray bytes = zt::test::readAll(path);
    EXPECT_TRUE(bytes.contains("\nkey1=\\\\server\\share\\new\\t.ipt\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\nkey3=  leading and trailing  \n")) << bytes.toStdString();
}

TEST(Settings, FileStoreReadsAHandWrittenFileAsWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    zt::test::writeAll(path, "[Other]\r\ngrid1File=wrong\r\n"
                             "[settings]\r\n"
                             "; grids on the D drive\r\n"
                             "grid1File=C:\\grids\\g1.ipt\r\n"
                             "grid2File=D:\\new\\t.ipt\r\n"
                             "TournamentName=Spring Cup  \r\n"
                             "SetupFiles=\\\\club\\setups\r\n"
                             "grids=2");
    FileSettingsStore s(path);
    EXPECT_EQ(s.read(QStringLiteral("grid1File")), QStringLiteral("C:\\grids\\g1.ipt"));
    EXPECT_EQ(s.read(QStringLiteral("grid2file")), QStringLiteral("D:\\new\\t.ipt"));
    EXPECT_EQ(s.read(QStringLiteral("TournamentName")), QStringLiteral("Spring Cup  "));
    EXPECT_EQ(s.read(QStringLiteral("SetupFiles")), QStringLiteral("\\\\club\\setups"));
    EXPECT_EQ(s.read(QStringLiteral("grids")), QStringLiteral("2"));

    // The first write keeps every other value as it was read.
    ASSERT_TRUE(s.write(QStringLiteral("labelcolor"), QStringLiteral("default")));
    FileSettingsStore again(path);
    EXPECT_EQ(again.read(QStringLiteral("grid1File")), QStringLiteral("C:\\grids\\g1.ipt"));
    EXPECT_EQ(again.read(QStringLiteral("grid2File")), QStringLiteral("D:\\new\\t.ipt"));
    EXPECT_EQ(again.read(QStringLiteral("TournamentName")), QStringLiteral("Spring Cup  "));
    EXPECT_EQ(again.read(QStringLiteral("SetupFiles")), QStringLiteral("\\\\club\\setups"));
    EXPECT_TRUE(zt::test::readAll(path).contains("\ngrid2File=D:\\new\\t.ipt\n"));
}

TEST(Settings, FileWrittenByTheEarlierFormLoadsTheSameValues) {
    // Bytes as the program wrote them before values were kept as written:
    // a backslash doubled, and a "; zt05" line first.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zt05-settings.ini"));
    zt::test::writeAll(path, "; zt05\n[Settings]\n"
                             "grid1File=C:\\\\grids\\\\g1.ipt\n"
                             "grid2File=\\\\\\\\server\\\\share\\\\new\\\\t.ipt\n"
                             "grids=2\n"
                             "labelcolor=default\n"
                             "logpath=C:\\\\Video\n"
                             "right2left=True\n"
                             "SetupFiles=D:\\\\new\\\\setups\\\\\n"
                             "TournamentName=Lac d'Annecy = Coupe d\xc3\xa9t\xc3\xa9  \n");
    const auto check = [](const FileSettingsStore& s) {
        EXPECT_EQ(s.read(QStringLiteral("grid1File")), QStringLiteral("C:\\grids\\g1.ipt"));
        EXPECT_EQ(s.read(QStringLiteral("grid2File")),
                  QStringLiteral("\\\\server\\share\\new\\t.ipt"));
        EXPECT_EQ(s.read(QStringLiteral("logpath")), QStringLiteral("C:\\Video"));
        EXPECT_EQ(s.read(QStringLiteral("SetupFiles")), QStringLiteral("D:\\new\\setups\\"));
        EXPECT_EQ(s.read(QStringLiteral("TournamentName")),
                  QStringLiteral("Lac d'Annecy = Coupe d\u00e9t\u00e9  "));
        EXPECT_EQ(s.read(QStringLiteral("grids")), QStringLiteral("2"));
        EXPECT_TRUE(s.readFlag(QStringLiteral("right2left"), false));
    };
    FileSettingsStore s(path);
    check(s);
    // The next write stores the values in the present form, unchanged.
    ASSERT_TRUE(s.write(QStringLiteral("device"), QStringLiteral("0")));
    EXPECT_TRUE(zt::test::readAll(path).contains("\ngrid1File=C:\\grids\\g1.ipt\n"));
    check(FileSettingsStore(path));
    // Edited by hand in that form: a single backslash was never written by
    // the program, so such a value stands as typed.
    zt::test::writeAll(path, "; zt05\n[Settings]\ngrid1File=C:\\grids\\g1.ipt\n"
                             "grid2File=D:\\new\\t.ipt\n");
    FileSettingsStore edited(path);
    EXPECT_EQ(edited.read(QStringLiteral("grid1File")), QStringLiteral("C:\\grids\\g1.ipt"));
    EXPECT_EQ(edited.read(QStringLiteral("grid2File")), QStringLiteral("D:\\new\\t.ipt"));
}

TEST(Settings, ValueWithALineBreakIsRefusedAndReported) {
    QTemporaryDir dir;
    FileSettingsStore s(dir.filePath(QStringLiteral("s.ini")));
    QStringList told;
    s.setErrorHandler([&](const QString& what) { told << what; });
    ASSERT_TRUE(s.write(QStringLiteral("TournamentName"), QStringLiteral("Spring Cup")));
    const QByteArray before = zt::test::readAll(s.path());
    for (const QString& bad : {QStringLiteral("a=b\nsecond line"), QStringLiteral("cr\rinside"),
                               QStringLiteral("ends\r\n")}) {
        EXPECT_FALSE(s.write(QStringLiteral("TournamentName"), bad));
        EXPECT_EQ(s.read(QStringLiteral("TournamentName")), QStringLiteral("Spring Cup"));
    }
    EXPECT_EQ(zt::test::readAll(s.path()), before);
    ASSERT_EQ(told.size(), 3); // each refusal is told
    EXPECT_TRUE(told[0].contains(QStringLiteral("TournamentName"))) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(s.path())) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("line break"))) << told[0].toStdString();
    // A refusal is no failure of the file: the next failure is still told.
    EXPECT_TRUE(s.write(QStringLiteral("grids"), QStringLiteral("1")));
    EXPECT_EQ(told.size(), 3);

    MemorySettingsStore m;
    EXPECT_FALSE(m.write(QStringLiteral("logpath"), QStringLiteral("C:\\a\nb")));
    EXPECT_FALSE(m.contains(QStringLiteral("logpath")));
}

TEST(Settings, FileStoreReportsAWriteThatCannotBeSaved) {
    QTemporaryDir dir;
    FileSettingsStore s(dir.filePath(QStringLiteral("no/such/folder/s.ini")));
    QStringList told;
    s.setErrorHandler([&](const QString& what) { told << what; });
    EXPECT_FALSE(s.write(QStringLiteral("grids"), QStringLiteral("1")));
    EXPECT_FALSE(s.write(QStringLiteral("device"), QStringLiteral("0")));
    ASSERT_EQ(told.size(), 1); // once, not for every setting
    EXPECT_TRUE(told[0].contains(QStringLiteral("s.ini")));
    EXPECT_EQ(s.read(QStringLiteral("grids")), QStringLiteral("1")); // kept for this run

    // Once the folder is back the values are saved; a new failure is told again.
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("no/such/folder"))));
    EXPECT_TRUE(s.write(QStringLiteral("grids"), QStringLiteral("2")));
    EXPECT_EQ(FileSettingsStore(s.path()).read(QStringLiteral("device")), QStringLiteral("0"));
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("no"))).removeRecursively());
    EXPECT_FALSE(s.write(QStringLiteral("grids"), QStringLiteral("3")));
    EXPECT_EQ(told.size(), 2);
}

TEST(EmergencyReset, NoAtFirstOrSecondQuestionChangesNothing) {
    for (int noAt = 0; noAt < 2; ++noAt) {
        ScriptedDialogs d;
        MemorySettingsStore s;
        s.write(QStringLiteral("device"), QStringLiteral("3"));
        if (noAt == 1)
            d.answer(MsgAnswer::Yes);
        d.answer(MsgAnswer::No);
        emergencyReset(d, s);
        EXPECT_EQ(d.messages().size(), noAt + 1);
        EXPECT_EQ(s.read(QStringLiteral("device")), QStringLiteral("3"));
    }
}

TEST(EmergencyReset, AsksEveryKeyWithItsValueAndResetsTheConfirmedOnes) {
    ScriptedDialogs d;
    MemorySettingsStore s;
    s.write(QStringLiteral("logpath"), QStringLiteral("C:\\Video"));
    s.write(QStringLiteral("logfile"), QStringLiteral("JumpMeasurementLog120726.txt"));
    s.write(QStringLiteral("device"), QStringLiteral("2"));
    s.write(QStringLiteral("grid2File"), QStringLiteral("/g/two.ipt"));
    d.answer(MsgAnswer::Yes);
    d.answer(MsgAnswer::Yes);
    // logpath yes, barefoot no, compression no, device yes, framerate no,
    // grid1 no, grid2 yes, grid3 no
    for (MsgAnswer a : {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::No,
                        MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::No})
        d.answer(a);
    emergencyReset(d, s);

    const auto msgs = d.messages();
    ASSERT_EQ(msgs.size(), 10);
    EXPECT_EQ(msgs[0].prompt,
              QStringLiteral("Do you want to reset all parameters to install values?"));
    EXPECT_EQ(msgs[1].prompt,
              QStringLiteral("Are you certain? This means you are crashing and can't operate"));
    EXPECT_EQ(msgs[2].prompt, QStringLiteral("Logpath = C:\\Video Clear it?"));
    EXPECT_EQ(msgs[3].prompt, QStringLiteral("barefoot = 0 Clear it?")); // missing reads as 0
    EXPECT_EQ(msgs[5].prompt, QStringLiteral("device = 2 Clear it?"));
    EXPECT_EQ(msgs[9].prompt, QStringLiteral("Grid 3 File = 0 Clear it?"));
    for (const MessageRequest& m : msgs) {
        EXPECT_EQ(m.title, QStringLiteral("Emergency Parameter Reset"));
        EXPECT_EQ(m.icon, MsgIcon::Question);
        EXPECT_EQ(m.buttons, MsgButtons::YesNo);
        EXPECT_EQ(m.defaultButton, 2); // No
    }
    EXPECT_EQ(s.read(QStringLiteral("logpath"), QStringLiteral("x")), QString());
    EXPECT_EQ(s.read(QStringLiteral("logfile"), QStringLiteral("x")), QString());
    EXPECT_EQ(s.read(QStringLiteral("device")), QStringLiteral("0"));
    EXPECT_EQ(s.read(QStringLiteral("grid2File"), QStringLiteral("x")), QString());
    EXPECT_FALSE(s.contains(QStringLiteral("barefoot")));
}

#include "app/CommandLine.h"

TEST(CommandLine, FoldersAndTestCamera) {
    auto cl = parseCommandLine({QStringLiteral("zentrak"), QStringLiteral("--app-dir"),
                                QStringLiteral("/a"), QStringLiteral("--exchange-dir"),
                                QStringLiteral("/e"), QStringLiteral("--test-camera")});
    EXPECT_TRUE(cl.error.isEmpty());
    EXPECT_EQ(cl.appDir, QStringLiteral("/a"));
    EXPECT_EQ(cl.exchangeDir, QStringLiteral("/e"));
    EXPECT_TRUE(cl.testCamera);
    EXPECT_FALSE(
        parseCommandLine({QStringLiteral("zentrak"), QStringLiteral("--app-dir")}).error.isEmpty());
    EXPECT_FALSE(
        parseCommandLine({QStringLiteral("zentrak"), QStringLiteral("--bogus")}).error.isEmpty());
}

TEST(SettingsTable, AFileOfTodaysProgramLoadsIntoTheSameValues) {
    // Every key as the program has been writing them (each form once).
    const QByteArray file =
        "; zt05\n[Settings]\n"
        "logpath=/data/video\nlogfile=JumpMeasurementLog120826.txt\n"
        "TournamentName=Spring Open\nSetupFiles=/data/grids\n"
        "grid1File=/data/grids/one.ipt\ngrid2File=\ngrid3File=/data/grids/3.ipt\n"
        "labelcolor=yellow\nimpactcolor=red\ngrids=3\nright2left=True\n"
        "boxlineoff=False\ntournamentType=sitski\nWSTIMS=1\nLoupe=0\n"
        "buoymarker=cross\nPictureSave=NoSave\nVideoSave=Save\nbarefoot=1\n"
        "device=2\ncompression=0\nframerate=29.97\nvideoresolution=4\n"
        "ColorFormat=1\nVideoInput=-1\ncaptureTime=4.0\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zt05-settings.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();

    FileSettingsStore s(path);
    EXPECT_EQ(s.get(setting::logpath), QStringLiteral("/data/video"));
    EXPECT_EQ(s.get(setting::logfile), QStringLiteral("JumpMeasurementLog120826.txt"));
    EXPECT_EQ(s.get(setting::TournamentName), QStringLiteral("Spring Open"));
    EXPECT_EQ(s.get(setting::SetupFiles), QStringLiteral("/data/grids"));
    EXPECT_EQ(s.get(setting::gridFile(1)), QStringLiteral("/data/grids/one.ipt"));
    EXPECT_EQ(s.get(setting::gridFile(2)), QString());
    EXPECT_EQ(s.get(setting::gridFile(3)), QStringLiteral("/data/grids/3.ipt"));
    EXPECT_EQ(s.get(setting::labelcolor), QStringLiteral("yellow"));
    EXPECT_EQ(s.get(setting::impactcolor), QStringLiteral("red"));
    EXPECT_EQ(s.get(setting::grids), 3);
    EXPECT_TRUE(s.get(setting::right2left));
    EXPECT_FALSE(s.get(setting::boxlineoff));
    EXPECT_EQ(s.get(setting::tournamentType), QStringLiteral("sitski"));
    EXPECT_TRUE(s.get(setting::WSTIMS));
    EXPECT_FALSE(s.get(setting::Loupe));
    EXPECT_EQ(s.get(setting::buoymarker), QStringLiteral("cross"));
    EXPECT_EQ(s.get(setting::PictureSave), QStringLiteral("NoSave"));
    EXPECT_EQ(s.get(setting::VideoSave), QStringLiteral("Save"));
    EXPECT_TRUE(s.get(setting::barefoot));
    EXPECT_EQ(s.get(setting::device), 2);
    EXPECT_EQ(s.get(setting::compression), 0);
    EXPECT_EQ(s.get(setting::framerate), 29.97);
    EXPECT_EQ(s.get(setting::VideoResolution), 4); // keys without case
    EXPECT_EQ(s.get(setting::ColorFormat), 1);
    EXPECT_EQ(s.get(setting::VideoInput), -1);
    EXPECT_EQ(s.get(setting::captureTime), 4);

    // Writing the same values back leaves every value line as it was (the
    // store keeps its own order of keys).
    s.set(setting::grids, 3);
    s.set(setting::right2left, true);
    s.set(setting::WSTIMS, true);
    s.set(setting::Loupe, false);
    s.set(setting::barefoot, true);
    s.set(setting::device, 2);
    s.set(setting::framerate, QStringLiteral("29.97"));
    s.set(setting::gridFile(2), QString());
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    auto sortedLines = [](const QByteArray& text) {
        QList<QByteArray> lines;
        for (const QByteArray& line : text.split('\n'))
            if (!line.startsWith(';') && line.contains('=')) // values, not comments
                lines << line;
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    EXPECT_EQ(sortedLines(again.readAll()), sortedLines(file));
}

TEST(SettingsTable, MissingAndUnreadableValuesGiveTheDefaults) {
    MemorySettingsStore s;
    EXPECT_EQ(s.get(setting::device), -1);
    EXPECT_EQ(s.get(setting::VideoResolution), -1);
    EXPECT_EQ(s.get(setting::grids), 0);
    EXPECT_EQ(s.get(setting::framerate), 0);
    EXPECT_EQ(s.get(setting::captureTime), 0);
    EXPECT_FALSE(s.get(setting::right2left));
    EXPECT_FALSE(s.get(setting::WSTIMS));
    EXPECT_EQ(s.get(setting::PictureSave), QString());
    s.write(QStringLiteral("device"), QStringLiteral("two"));
    s.write(QStringLiteral("grids"), QStringLiteral("abc"));
    s.write(QStringLiteral("Loupe"), QStringLiteral("2"));           // only "1" ticks a box
    s.write(QStringLiteral("framerate"), QStringLiteral(" 25 fps")); // typed into its box
    EXPECT_EQ(s.get(setting::device), -1);
    EXPECT_EQ(s.get(setting::grids), 0);
    EXPECT_FALSE(s.get(setting::Loupe));
    EXPECT_EQ(s.get(setting::framerate), 25);
    // Every key of the table is distinct without regard to case.
    QStringList keys;
    for (const char* key : setting::allKeys)
        keys << QString::fromLatin1(key).toLower();
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), static_cast<qsizetype>(setting::allKeys.size()));
}
