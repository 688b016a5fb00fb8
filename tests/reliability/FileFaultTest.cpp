// Every file the program writes or replaces, under the faults of a
// tournament computer: the disk fills while it is written, its folder
// turns read-only, the file is removed or held open by another program in
// between. Each time the operator is told with the path, nothing written
// before is lost or cut, a replaced file is the old one or the new one
// whole, and the next write after the fault goes through.

#include "FileFaults.h"
#include "app/DiagnosticLog.h"
#include "app/SettingsStore.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/Pictures.h"
#include "measure/Recording.h"
#include "shell/App.h"
#include "support/GridFixtures.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"
#include "video/ClipWriter.h"
#include "video/FrameExtract.h"
#include "video/FrameSelection.h"
#include "video/FrameSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>

using namespace zt;
using test::readAll;

namespace {

enum class Kind { Append, Replace };

struct Writer {
    Kind kind = Kind::Append;
    QString file;     // the file under test
    QStringList told; // files a failure message may name: this one or one written before it
    std::function<void(int)> write; // write number n, through the code that tells the operator
};

// The program's folders in a temporary root, and every writer on them.
struct Scene {
    test::TestEnv env;
    QString resultsDir = env.path(QStringLiteral("results"));
    QString results = resultsDir + QStringLiteral("/results.txt");
    QString videoLog = env.videoDir() + QStringLiteral("/JumpMeasurementLog120826.txt");
    QString pictures = env.path(QStringLiteral("pictures"));
    QString grids = env.path(QStringLiteral("grids"));
    GridState grid;
    std::unique_ptr<DiagnosticLog> diagnostic;
    std::unique_ptr<FileSettingsStore> settings;
    std::unique_ptr<FrameSource> clip;

    Scene() {
        QDir().mkpath(resultsDir);
        QDir().mkpath(pictures);
        QDir().mkpath(grids);
        Coefficients c; // X = a / 100, Y = b / 100
        c[2] = 0.01;
        c[8] = 0.01;
        grid.setCoefficients(c);
    }

    Dialogs& dialogs() { return env.dialogs(); }

    void recordJump(int n, bool exchange) {
        MeasureRecordState screen;
        screen.skierName = QStringLiteral("SKIER, ONE");
        screen.jumpNumber = QString::number(n);
        screen.clickX = 4326 + n, screen.clickY = 100;
        screen.pictureFrozen = true;
        RecordSettings s;
        s.resultsPath = results;
        s.exchangeDir = env.exchangeDir();
        s.wstims = exchange;
        zt::recordJump(grid, screen, s, dialogs(), env.clock());
    }

    void savePicture(int n) {
        QImage image(8, 6, QImage::Format_RGB888);
        image.fill(QColor(10 * n, 20, 30));
        ShownPicture shown{PictureSource::Memory, QString(), image, false};
        PictureSaveContext ctx{dialogs(),    env.clock(), [](const QString&) {},
                               env.appDir(), pictures,    QStringLiteral(".bmp"),
                               results,      videoLog};
        if (QFileInfo::exists(pictures + QStringLiteral("/Smithjump2.bmp")))
            env.dialogs().answer(MsgAnswer::Yes); // replace the picture saved before
        zt::savePicture(ctx, {QStringLiteral("Smith"), QStringLiteral("2"), QStringLiteral("45.3")},
                        shown);
    }

    void saveGrid(int n) {
        App& app = env.app();
        Grid_Setup& gs = app.gridSetup();
        if (n == 1) {
            app.state.setupFilesPath = grids;
            app.state.logFilePath = results;
            ASSERT_TRUE(test::markTestGrid(app.state));
            gs.txtCheckX->setText(QStringLiteral("45.5"));
            gs.txtCheckY->setText(QStringLiteral("12"));
        }
        env.dialogs().answerText(grids + QStringLiteral("/lake.ipt"));
        env.dialogs().answerText(QStringLiteral("Lake, version ") + QString::number(n));
        env.dialogs().answer(MsgAnswer::Yes);
        gs.gridSave_Click();
    }

    void accuracyCheck(int n) {
        App& app = env.app();
        if (n == 1) {
            app.state.videoDir = env.videoDir();
            app.state.logFilePath = results;
            app.gridSetup().txtPicWidth->setText(QStringLiteral("9000"));
            ASSERT_TRUE(test::markTestGrid(app.state));
        }
        env.dialogs().answerText(QString::number(1 + n % 7)); // the line the skier lands on
        app.gridSetup().btnAccuracyCheck_Click();
    }

    void takeFrame(int n) {
        const QString path = env.videoDir() + QStringLiteral("/Smithjump2.avi");
        if (!clip) {
            test::ClipParams p;
            p.width = 32, p.height = 24, p.frames = 4;
            ASSERT_TRUE(test::writeClip(path, p));
            clip = FrameSource::open(path);
            ASSERT_TRUE(clip);
        }
        writeFrameBitmap(dialogs(), *clip, path, n % 4,
                         env.appDir() + QStringLiteral("/") + picture::captureFile);
    }

    Writer writer(const std::string& name) {
        const QString exchange = env.exchangeDir();
        const QString ztresult = exchange + QStringLiteral("/ztresult.dst");
        const QString ztraw = exchange + QStringLiteral("/ztraw.dst");
        const QString clipPath = env.videoDir() + QStringLiteral("/Smithjump2.avi");
        const QString clipInfo = clipPath + QStringLiteral(".info");
        const QString picture = pictures + QStringLiteral("/Smithjump2.bmp");
        const QString gridFile = grids + QStringLiteral("/lake.ipt");
        auto frame = [this, clipPath](int n) {
            recordFrame(dialogs(), videoLog, env.clock().now(), clipPath, 100 + n);
        };
        if (name == "results")
            return {Kind::Append, results, {results}, [this](int n) { recordJump(n, false); }};
        if (name == "ztresult")
            return {Kind::Replace, ztresult, {results, ztresult}, [this](int n) {
                        recordJump(n, true);
                    }};
        if (name == "ztraw")
            return {Kind::Append, ztraw, {results, ztresult, ztraw}, [this](int n) {
                        recordJump(n, true);
                    }};
        if (name == "video_log")
            return {Kind::Append, videoLog, {videoLog}, frame};
        if (name == "clip_info")
            return {Kind::Replace, clipInfo, {videoLog, clipInfo}, frame};
        if (name == "picture_info")
            return {Kind::Replace,
                    picture + QStringLiteral(".info"),
                    {picture, results, picture + QStringLiteral(".info")},
                    [this](int n) { savePicture(n); }};
        if (name == "picture_video_log")
            return {Kind::Append, videoLog, {picture, results, videoLog}, [this](int n) {
                        savePicture(n);
                    }};
        if (name == "diagnostic_log") {
            const QString path = exchange + QStringLiteral("/DebugLog.txt");
            diagnostic = std::make_unique<DiagnosticLog>(path, env.clock(), dialogs());
            return {Kind::Append, path, {path}, [this](int n) {
                        if (n == 1)
                            diagnostic->startDiagnosticLog();
                        else
                            diagnostic->appendDiagnosticLine(QStringLiteral("step ") +
                                                             QString::number(n));
                    }};
        }
        if (name == "grid_file")
            return {Kind::Replace, gridFile, {gridFile}, [this](int n) { saveGrid(n); }};
        if (name == "check_buoy_file")
            return {Kind::Replace,
                    gridFile + QStringLiteral(".cb"),
                    {gridFile, gridFile + QStringLiteral(".cb")},
                    [this](int n) { saveGrid(n); }};
        if (name == "accuracy_file") {
            const QString path = env.videoDir() + QStringLiteral("/acc1208.txt");
            return {Kind::Append, path, {path}, [this](int n) { accuracyCheck(n); }};
        }
        if (name == "current_capture") {
            const QString path = env.appDir() + QStringLiteral("/") + picture::captureFile;
            return {Kind::Replace, path, {path}, [this](int n) { takeFrame(n); }};
        }
        if (name == "settings") {
            const QString path = env.appDir() + QStringLiteral("/zt05-settings.ini");
            settings = std::make_unique<FileSettingsStore>(path);
            // As the program wires it at start-up.
            settings->setErrorHandler([this](const QString& what) {
                dialogs().warn(QStringLiteral("The setting could not be saved: ") + what);
            });
            return {Kind::Replace, path, {path}, [this](int n) {
                        settings->set(setting::TournamentName,
                                      QStringLiteral("Cup ") + QString::number(n));
                    }};
        }
        ADD_FAILURE() << "no writer " << name;
        return {};
    }

    // The prompts shown since the mark.
    QStringList promptsSince(qsizetype mark) { return env.dialogs().prompts().mid(mark); }
};

bool namesAny(const QStringList& prompts, const QStringList& files) {
    for (const QString& p : prompts)
        for (const QString& f : files)
            if (p.contains(f))
                return true;
    return false;
}

enum class Fault { DiskFull, ReadOnly, Removed, HeldOpen };

struct Case {
    std::string writer;
    Fault fault;
};

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    static const char* faults[] = {"DiskFull", "ReadOnlyFolder", "Removed", "HeldOpen"};
    return info.param.writer + "_" + faults[int(info.param.fault)];
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << caseName({c, 0});
}

class FileFault : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(FileFault, OperatorToldNothingLostProgramGoesOn) {
    Scene scene;
    const Writer w = scene.writer(GetParam().writer);
    ASSERT_TRUE(w.write);
    w.write(1);
    const QByteArray first = readAll(w.file);
    ASSERT_FALSE(first.isEmpty()) << "the first write made no file";
    ASSERT_FALSE(namesAny(scene.promptsSince(0), {w.file})) << "the first write failed";
    qsizetype mark = scene.env.dialogs().prompts().size();

    switch (GetParam().fault) {
    case Fault::DiskFull:
    case Fault::ReadOnly: {
        {
            std::unique_ptr<test::FileSizeLimit> full;
            std::unique_ptr<test::ReadOnlyFolder> readOnly;
            if (GetParam().fault == Fault::DiskFull) {
                full = std::make_unique<test::FileSizeLimit>(
                    w.kind == Kind::Append ? first.size() + 3 : 3);
            } else {
                readOnly = std::make_unique<test::ReadOnlyFolder>(QFileInfo(w.file).path());
                if (!readOnly->ok())
                    GTEST_SKIP() << "no way to make a folder read-only here";
            }
            w.write(2);
        }
        const QStringList told = scene.promptsSince(mark);
        std::cout << "told: " << told.join(QStringLiteral(" | ")).toStdString() << '\n';
        EXPECT_TRUE(namesAny(told, w.told))
            << "not told with the path: " << told.join(" | ").toStdString();
        EXPECT_EQ(readAll(w.file), first) << "the file before the fault was changed";
        break;
    }
    case Fault::Removed:
        ASSERT_TRUE(QFile::remove(w.file));
        w.write(2);
        EXPECT_FALSE(namesAny(scene.promptsSince(mark), {w.file}));
        EXPECT_FALSE(readAll(w.file).isEmpty());
        break;
    case Fault::HeldOpen: {
        QFile holder(w.file);
        ASSERT_TRUE(holder.open(QIODevice::ReadOnly));
        w.write(2);
        EXPECT_FALSE(namesAny(scene.promptsSince(mark), {w.file}));
        const QByteArray now = readAll(w.file);
        if (w.kind == Kind::Append)
            EXPECT_TRUE(now.startsWith(first) && now.size() > first.size());
        else
            EXPECT_EQ(holder.readAll(), first); // the holder reads the old file whole
        break;
    }
    }

    // The fault gone, the next write goes through. A replaced file is
    // first made stale, so that the old content cannot pass for the new.
    if (w.kind == Kind::Replace && QFileInfo(w.file).dir().exists())
        test::writeAll(w.file, "stale\r\n");
    const QByteArray before = readAll(w.file);
    mark = scene.env.dialogs().prompts().size();
    w.write(3);
    EXPECT_FALSE(namesAny(scene.promptsSince(mark), {w.file}))
        << scene.promptsSince(mark).join(" | ").toStdString();
    const QByteArray after = readAll(w.file);
    if (w.kind == Kind::Append) {
        EXPECT_TRUE(after.startsWith(before) && after.size() > before.size());
    } else {
        EXPECT_FALSE(after.isEmpty());
        EXPECT_NE(after, QByteArray("stale\r\n"));
    }
}

namespace {

std::vector<Case> allCases() {
    std::vector<Case> cases;
    for (const char* w : {"results", "ztresult", "ztraw", "video_log", "clip_info", "picture_info",
                          "picture_video_log", "diagnostic_log", "grid_file", "check_buoy_file",
                          "accuracy_file", "current_capture", "settings"})
        for (Fault f : {Fault::DiskFull, Fault::ReadOnly, Fault::Removed, Fault::HeldOpen})
            cases.push_back({w, f});
    return cases;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(EveryWriter, FileFault, ::testing::ValuesIn(allCases()), caseName);
