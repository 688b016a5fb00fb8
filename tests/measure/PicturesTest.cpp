// Jump pictures without the screen: names, the lines and side file of a
// saved picture, reading by content, moving without loss, the save and
// the saving policy on leaving.

#include "measure/Pictures.h"

#include "measure/MeasureFixture.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;
using test::readAll;
using test::writeAll;

namespace {

const QDateTime at(QDate(2026, 12, 8), QTime(13, 5, 9));

QByteArray bitmapBytes(QColor color, int width = 40, int height = 30) {
    return test::bitmapOf(test::filled(color, width, height));
}

// A picture folder, the frame of frame selection, the results file and the
// video log in one temporary tree.
struct SaveFixture : ::testing::Test {
    test::TestEnv env;
    QStringList diagnostic;
    QByteArray frame = bitmapBytes(Qt::darkGreen);

    QString pictures() const { return env.path(QStringLiteral("pics")); }
    QString framePath() const { return env.appDir() + QStringLiteral("/currentcapture.bmp"); }
    QString results() const { return env.path(QStringLiteral("results.txt")); }
    QString videoLog() const { return env.videoDir() + QStringLiteral("/log.txt"); }
    QString saved(const char* name) const { return pictures() + QLatin1Char('/') + name; }

    void SetUp() override {
        QDir().mkpath(pictures());
        writeAll(framePath(), frame);
    }
    PictureSaveContext context(const QString& pictureDir, const QString& ext = ".bmp") {
        return {env.dialogs(), env.clock(), [this](const QString& line) { diagnostic << line; },
                env.appDir(),  pictureDir,  ext,
                results(),     videoLog()};
    }
    PictureSaveValues values(const QString& jump) const {
        return {QStringLiteral("SKIER"), jump, QStringLiteral("45.4m")};
    }
    ShownPicture frameShown() const {
        return {PictureSource::CaptureFrame, framePath(), QImage(), false};
    }
    // Nothing but the prompts were written.
    void expectNothingWritten() const {
        EXPECT_TRUE(readAll(results()).isEmpty());
        EXPECT_TRUE(readAll(videoLog()).isEmpty());
        EXPECT_FALSE(diagnostic.contains(QStringLiteral("Picture actually Saved")));
    }
};

} // namespace

TEST(Pictures, NamesAndTheVideoLogLine) {
    EXPECT_EQ(pictureFilePath("C:\\pics\\", "SKIER", " 2  ", ".bmp"), "C:\\pics\\SKIERjump2.bmp");
    EXPECT_EQ(pictureFilePath("/data/pics", "Skier One", "12", ".jpg"),
              "/data/pics/Skier Onejump12.jpg");
    // Print zones at columns 1, 15, 29, 43, 57, 71; skier and jump are the
    // picture's own.
    EXPECT_EQ(fileBytes(pictureVideoLogLine(at, "SKIER", "2", "45.4m", "/p/SKIERjump2.bmp")),
              QByteArray("12-08-2026    13:05:09      Skier: SKIER  Jump: 2       "
                         "Distance: 45.4m             File: /p/SKIERjump2.bmp\r\n"));
    EXPECT_EQ(pictureFilterIndex(".gif"), 3);
    EXPECT_EQ(pictureFilterIndex(".bmp"), 4);
    EXPECT_EQ(pictureFilterIndex(".jpg"), 5);
    EXPECT_EQ(pictureFilterIndex(".png"), 1);
}

TEST(Pictures, ReadByContentNotByName) {
    QTemporaryDir dir;
    const QString jpg = dir.filePath("SKIERjump2.jpg");
    writeAll(jpg, bitmapBytes(Qt::red, 7, 5)); // a bitmap saved under ".jpg"
    const PictureRead read = readWholePicture(jpg);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.image.size(), QSize(7, 5));
    EXPECT_EQ(read.image.pixelColor(3, 2), QColor(Qt::red));

    const PictureRead missing = readWholePicture(dir.filePath("none.bmp"));
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error.startsWith(dir.filePath("none.bmp")));
    writeAll(dir.filePath("text.bmp"), "not a picture");
    const PictureRead text = readWholePicture(dir.filePath("text.bmp"));
    EXPECT_FALSE(text.ok());
    EXPECT_TRUE(pictureNotLoadedMessage(text).contains(dir.filePath("text.bmp")));
}

TEST(Pictures, MovesAndCopiesNeverLoseAPicture) {
    QTemporaryDir dir;
    const QString from = dir.filePath("currentcapture.bmp"), to = dir.filePath("SKIERjump2.bmp");
    const QByteArray a = bitmapBytes(Qt::blue), b = bitmapBytes(Qt::yellow);
    writeAll(from, a);
    writeAll(to, b);
    ASSERT_TRUE(movePicture(from, to).ok); // replaces (the caller has asked)
    EXPECT_EQ(readAll(to), a);
    EXPECT_FALSE(QFileInfo::exists(from));

    // No source: both paths named, the target untouched.
    const MoveResult none = movePicture(from, to);
    EXPECT_FALSE(none.ok);
    EXPECT_TRUE(none.error.contains(from) && none.error.contains(to));
    EXPECT_EQ(readAll(to), a);

    // A folder that is not there: the source stays.
    writeAll(from, b);
    const QString nowhere = dir.filePath("missing/SKIERjump3.bmp");
    const MoveResult failed = movePicture(from, nowhere);
    EXPECT_FALSE(failed.ok);
    EXPECT_TRUE(failed.error.contains(from) && failed.error.contains(nowhere));
    EXPECT_EQ(readAll(from), b);
    const MoveResult copyFailed = copyThenDelete(from, nowhere);
    EXPECT_FALSE(copyFailed.ok);
    EXPECT_EQ(readAll(from), b);

    // The other-file-system path: copy, then delete.
    const QString other = dir.filePath("SKIERjump4.bmp");
    const MoveResult copied = copyThenDelete(from, other);
    EXPECT_TRUE(copied.ok);
    EXPECT_FALSE(copied.sourceLeft);
    EXPECT_EQ(readAll(other), b);
    EXPECT_FALSE(QFileInfo::exists(from));
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.tmp", "*~"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST(Pictures, MovesAcrossFileSystems) {
    // /dev/shm is a memory file system on Linux: a rename from there to the
    // temporary folder crosses file systems.
    QTemporaryDir shm(QStringLiteral("/dev/shm/zentrak-XXXXXX"));
    QTemporaryDir disk;
    if (!shm.isValid() ||
        QStorageInfo(shm.path()).rootPath() == QStorageInfo(disk.path()).rootPath())
        GTEST_SKIP() << "no second file system";
    const QString from = shm.filePath("currentcapture.bmp"), to = disk.filePath("p.bmp");
    const QByteArray bytes = bitmapBytes(Qt::cyan);
    writeAll(from, bytes);
    ASSERT_TRUE(movePicture(from, to).ok);
    EXPECT_EQ(readAll(to), bytes);
    EXPECT_FALSE(QFileInfo::exists(from));
}

TEST_F(SaveFixture, SavesTheFrameWithItsLines) {
    ShownPicture shown = frameShown();
    EXPECT_EQ(savePicture(context(pictures()), values(" 2 "), shown), SaveOutcome::Saved);
    const QString file = saved("SKIERjump2.bmp");
    EXPECT_EQ(env.dialogs().prompts(), QStringList{file});
    EXPECT_EQ(diagnostic, (QStringList{QStringLiteral("save ") + file,
                                       QStringLiteral("Picture actually Saved")}));
    // The files themselves are checked whole by the measure screen's tests.
    EXPECT_EQ(readAll(file), frame);
    EXPECT_FALSE(QFileInfo::exists(framePath()));
    EXPECT_EQ(shown.source, PictureSource::File);
    EXPECT_EQ(shown.path, file);
    EXPECT_FALSE(shown.canBeSaved());

    // Saving again under the same name: told, nothing written twice.
    env.dialogs().clear();
    diagnostic.clear();
    EXPECT_EQ(savePicture(context(pictures()), values("2"), shown), SaveOutcome::Declined);
    EXPECT_EQ(env.dialogs().prompts(),
              QStringList{"The picture on the screen is already saved as " + file + "."});
    EXPECT_EQ(readAll(results()).count("Saved picture"), 1);
    EXPECT_TRUE(diagnostic.isEmpty());
}

TEST_F(SaveFixture, AsksBeforeReplacingAPictureOfThatName) {
    const QString file = saved("SKIERjump2.bmp");
    const QByteArray earlier = bitmapBytes(Qt::magenta);
    writeAll(file, earlier);
    ShownPicture shown = frameShown();
    // Default answer: No.
    EXPECT_EQ(savePicture(context(pictures()), values("2"), shown), SaveOutcome::Declined);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    const MessageRequest question = env.dialogs().messages().first();
    EXPECT_EQ(question.prompt, file + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.defaultButton, 2);
    EXPECT_EQ(readAll(file), earlier);
    EXPECT_EQ(readAll(framePath()), frame);
    expectNothingWritten();

    env.dialogs().answer(MsgAnswer::Yes);
    EXPECT_EQ(savePicture(context(pictures()), values("2"), shown), SaveOutcome::Saved);
    EXPECT_EQ(readAll(file), frame);
}

TEST_F(SaveFixture, NothingIsWrittenForAPictureThatIsNotThere) {
    // The frame was moved away by an earlier save.
    QFile::remove(framePath());
    ShownPicture shown = frameShown();
    EXPECT_EQ(savePicture(context(pictures()), values("2"), shown), SaveOutcome::Failed);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().prompts()[0].contains(framePath()));
    EXPECT_TRUE(env.dialogs().prompts()[0].contains(saved("SKIERjump2.bmp")));
    EXPECT_FALSE(QFileInfo::exists(saved("SKIERjump2.bmp")));
    expectNothingWritten();

    // No picture on the screen at all.
    ShownPicture nothing;
    env.dialogs().clear();
    EXPECT_EQ(savePicture(context(pictures()), values("2"), nothing), SaveOutcome::Failed);
    EXPECT_TRUE(env.dialogs().prompts()[0].startsWith("There is no picture on the screen"));
}

TEST_F(SaveFixture, AFailedMoveTellsBothPathsAndKeepsTheFrame) {
    // A missing picture folder.
    ShownPicture shown = frameShown();
    const QString missing = env.path("nowhere");
    EXPECT_EQ(savePicture(context(missing), values("2"), shown), SaveOutcome::Failed);
    EXPECT_TRUE(env.dialogs().prompts()[0].contains(missing));
    EXPECT_EQ(readAll(framePath()), frame);

    // The name taken by a folder: replacing is wanted, but the move fails.
    QDir().mkpath(saved("SKIERjump2.bmp"));
    env.dialogs().clear();
    env.dialogs().answer(MsgAnswer::Yes);
    EXPECT_EQ(savePicture(context(pictures()), values("2"), shown), SaveOutcome::Failed);
    const QList<MessageRequest> shownMessages = env.dialogs().messages();
    ASSERT_EQ(shownMessages.size(), 3); // replace?, the name, the failure
    EXPECT_EQ(shownMessages[2].icon, MsgIcon::Critical);
    EXPECT_TRUE(shownMessages[2].prompt.contains(framePath()));
    EXPECT_TRUE(shownMessages[2].prompt.contains(saved("SKIERjump2.bmp")));
    EXPECT_EQ(readAll(framePath()), frame);
    EXPECT_EQ(shown.source, PictureSource::CaptureFrame);
    expectNothingWritten();
}

TEST_F(SaveFixture, PicturesInMemoryAndFilesAreSavedAsShown) {
    QImage clip(12, 8, QImage::Format_RGB32);
    clip.fill(Qt::red);
    ShownPicture shown{PictureSource::Memory, QString(), clip, false};
    ASSERT_EQ(savePicture(context(pictures(), ".gif"), values("4"), shown), SaveOutcome::Saved);
    const QString gif = saved("SKIERjump4.gif");
    EXPECT_TRUE(readAll(gif).startsWith("BM")); // the bitmap, whatever the ending
    const PictureRead back = readWholePicture(gif);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.image.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(readAll(framePath()), frame); // the frame file is not this picture

    // A loaded file is copied; the original stays.
    ShownPicture loaded{PictureSource::File, gif, QImage(), false};
    ASSERT_EQ(savePicture(context(pictures()), values("5"), loaded), SaveOutcome::Saved);
    EXPECT_EQ(readAll(saved("SKIERjump5.bmp")), readAll(gif));
}

TEST_F(SaveFixture, AResultsFileThatCannotBeWrittenLosesNoPicture) {
    PictureSaveContext ctx = context(pictures());
    ctx.resultsPath = env.path("missing/results.txt");
    ShownPicture shown = frameShown();
    EXPECT_EQ(savePicture(ctx, values("2"), shown), SaveOutcome::Saved);
    EXPECT_EQ(readAll(saved("SKIERjump2.bmp")), frame);
    EXPECT_TRUE(env.dialogs().prompts().last().contains(ctx.resultsPath));
    EXPECT_FALSE(readAll(saved("SKIERjump2.bmp.info")).isEmpty());
    EXPECT_FALSE(readAll(videoLog()).isEmpty());
}

TEST(Pictures, SavingPolicyOnLeaving) {
    struct Case {
        LeaveBy by;
        bool withFrame;
        const char* policy;
        std::vector<MsgAnswer> answers;
        QStringList questions;
        int saves;
        bool leaves;
    };
    const QString save = picture::saveQuestion, remain = picture::remainQuestion;
    const Case cases[] = {
        {LeaveBy::Exit, true, "Save", {}, {}, 1, true},
        {LeaveBy::Exit, true, "NoSave", {}, {}, 0, true},
        {LeaveBy::Exit, true, "Ask", {MsgAnswer::Yes}, {save}, 1, true},
        {LeaveBy::Exit, true, "Ask", {MsgAnswer::No}, {save}, 0, true},
        {LeaveBy::Exit, false, "Save", {}, {}, 0, true},
        {LeaveBy::NextJump, true, "Save", {}, {}, 1, true},
        {LeaveBy::NextJump,
         false,
         "NoSave",
         {MsgAnswer::Yes, MsgAnswer::No},
         {save, remain},
         1,
         true},
        {LeaveBy::NextJump,
         false,
         "Save",
         {MsgAnswer::No, MsgAnswer::Yes},
         {save, remain},
         0,
         false},
    };
    for (const Case& c : cases) {
        test::ScriptedDialogs dialogs;
        for (MsgAnswer a : c.answers)
            dialogs.answer(a);
        int saves = 0;
        const bool leaves = pictureSavingOnLeave(c.by, c.withFrame, QString::fromLatin1(c.policy),
                                                 true, dialogs, [&saves] {
                                                     ++saves;
                                                     return SaveOutcome::Saved;
                                                 });
        EXPECT_EQ(dialogs.prompts(), c.questions) << c.policy;
        EXPECT_EQ(saves, c.saves) << c.policy;
        EXPECT_EQ(leaves, c.leaves) << c.policy;
    }
    // A wanted save that fails keeps the operator on the screen; a picture
    // saved already (or none) is not offered again.
    test::ScriptedDialogs dialogs;
    EXPECT_FALSE(pictureSavingOnLeave(LeaveBy::Exit, true, "Save", true, dialogs,
                                      [] { return SaveOutcome::Failed; }));
    EXPECT_TRUE(pictureSavingOnLeave(LeaveBy::Exit, true, "Save", true, dialogs,
                                     [] { return SaveOutcome::Declined; }));
    EXPECT_TRUE(pictureSavingOnLeave(LeaveBy::Exit, true, "Ask", false, dialogs,
                                     [] { return SaveOutcome::Failed; }));
    dialogs.answer(MsgAnswer::No);
    EXPECT_TRUE(pictureSavingOnLeave(LeaveBy::NextJump, false, "Ask", false, dialogs,
                                     [] { return SaveOutcome::Failed; }));
    EXPECT_EQ(dialogs.prompts(), QStringList{remain});
}
