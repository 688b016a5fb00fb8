// A tournament day in one process: jump after jump on the demo lake through
// the screens' own handlers (capture, hand-over, stepping to the contact
// frame, taking it, the landing click, Record Jump), with the keeping and
// picture policies varied from jump to jump, every 20th clip reached
// through the log viewer's "View" and every 50th jump on the other grid.
// Resident memory, open descriptors, threads and the time per jump are
// watched; every results line is checked against the distance recorded and
// against the truth of the scene. Exit 1 when a goal is missed.
//
//   zentrak-soak [JUMPS]   (default 300)

#include "../monkey/DemoGrid.h"
#include "app/SettingsTable.h"
#include "app/TextFormat.h"
#include "capture/DeviceCaptureControl.h"
#include "capture/TestCamera.h"
#include "capture/ui/PreviewForm.h"
#include "config/ui/Config.h"
#include "demo/DemoCamera.h"
#include "grid/AccuracyCheck.h"
#include "grid/ui/Grid_Setup.h"
#include "logs/ui/LogView.h"
#include "measure/ui/Measure.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/CaptureFixtures.h"
#include "support/TestEnv.h"
#include "video/FrameSelectionView.h"
#include "video/ui/MediaPlayer.h"
#include "video/ui/frmSetStart.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>

using namespace zt;
using zt::test::readAll;
using zt::test::TestEnv;
using zt::test::waitUntil;

namespace {

const QSize pictureSize(640, 480);
constexpr unsigned demoSeed = 3;

struct Usage {
    double residentMb = 0;
    int fds = 0;
    int threads = 0;
};

// Processor time of the whole process (every thread): on a machine shared
// with other work it tells the cost of a jump where the wall clock tells
// the neighbours' load too.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

Usage usageNow() {
    Usage u;
    for (const QString& line :
         QString::fromLatin1(readAll(QStringLiteral("/proc/self/status"))).split('\n')) {
        if (line.startsWith(QLatin1String("VmRSS:")))
            u.residentMb = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        else if (line.startsWith(QLatin1String("Threads:")))
            u.threads = line.mid(8).trimmed().toInt();
    }
    u.fds = static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                 .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                                 .size());
    return u;
}

QPoint wholePixel(QPointF twips) {
    return {static_cast<int>(std::lround(twips.x() / 15)),
            static_cast<int>(std::lround(twips.y() / 15))};
}

const QRegularExpression& resultsLinePattern() {
    static const QRegularExpression re(QStringLiteral(" jump (\\d+) - (\\d+\\.?\\d*)m "));
    return re;
}

// The policies of jump i: the clip kept, recorded or asked (answered both
// ways), the picture saved, not saved or asked (both ways).
struct Policies {
    QString video, picture;
    bool videoYes = false, pictureYes = false;
};
Policies policiesOf(int i) {
    static const char* const kinds[] = {"Save", "NoSave", "Ask", "Ask"};
    Policies p;
    p.video = QLatin1String(kinds[i % 4]);
    p.videoYes = i % 4 == 2;
    if ((i + 1) % 20 == 0) // viewed again from the log: not deleted
        p.video = QStringLiteral("Save");
    p.picture = QLatin1String(kinds[(i / 4) % 4]);
    p.pictureYes = (i / 4) % 4 == 2;
    return p;
}

class Soak {
public:
    explicit Soak(int jumps) : jumps_(jumps), lake_(pictureSize, demoSeed) {}

    int run();

private:
    bool start();
    bool setUpGrids();
    bool setUpGrid(Grid_Setup& gs);
    bool recordJump(int i);
    bool viewThroughLog();
    bool takeContactFrame(int i);
    bool measure(int i);
    bool fail(const QString& what) {
        std::fprintf(stderr, "soak: jump %d: %s\n", current_ + 1, qPrintable(what));
        return false;
    }
    double deltaAt(QPointF twips) const {
        GridState g = app_->state;
        return runAccuracyCheck(g, accuracyMesh(twips, twips, twips, twips), false, false)
            .points[0]
            .delta;
    }
    bool checkDialogs();

    int jumps_;
    int current_ = 0;
    TestEnv env_;
    QString demoDir_ = env_.path(QStringLiteral("demo"));
    DemoGrid grid_;
    DemoLake lake_;
    std::shared_ptr<test::SteppedFrameClock> clock_ = std::make_shared<test::SteppedFrameClock>();
    App* app_ = nullptr;
    std::vector<double> recorded_; // distance of each results line as recorded
    int withinDelta_ = 0;
    QString lastClip_;
};

bool Soak::start() {
    env_.services().demo = true;
    env_.services().demoLake = true;
    env_.services().demoSeed = demoSeed;
    env_.services().demoClock = clock_;
    SettingsStore& s = env_.settings();
    s.write(QStringLiteral("logpath"), env_.videoDir());
    s.write(QStringLiteral("VideoResolution"), QStringLiteral("1")); // 640x480
    s.write(QStringLiteral("compression"), QStringLiteral("1"));
    s.write(QStringLiteral("grids"), QStringLiteral("2"));
    s.write(QStringLiteral("WSTIMS"), QStringLiteral("1"));
    if (const QString error = writeDemoFiles(demoDir_, pictureSize, 30, demoSeed); !error.isEmpty())
        return fail(error);
    if (!grid_.read(demoDir_))
        return fail(QStringLiteral("the demo's survey and truth cannot be read"));
    app_ = &env_.app();
    app_->start();
    app_->config().mnuExit_Click();
    env_.dialogs().clear();
    return setUpGrids();
}

bool Soak::setUpGrid(Grid_Setup& gs) {
    env_.dialogs().answerText(demoDir_ + QStringLiteral("/demo-setup.bmp"));
    gs.mnuLoadPicture_Click();
    if (gs.canvas().picture().size() != pictureSize)
        return fail(QStringLiteral("the setup picture did not load"));
    grid_.enter(gs);
    if (!env_.dialogs().messages().isEmpty())
        return fail(env_.dialogs().messages().first().prompt);
    return true;
}

bool Soak::setUpGrids() {
    app_->mainForm().cmdSetup_Click();
    Grid_Setup& gs = app_->gridSetup();
    for (int g = 1; g <= 2; ++g) {
        if (g > 1)
            gs.grid_select->click();
        if (app_->state.currentGrid != g)
            return fail(QStringLiteral("grid %1 not chosen").arg(g));
        if (!setUpGrid(gs))
            return false;
    }
    if (app_->state.gridsReady != 1)
        return fail(QStringLiteral("the grids are not ready"));
    gs.gridExit_Click();
    env_.dialogs().clear();
    return app_->mainForm().isVisible() || fail(QStringLiteral("no main screen after the setup"));
}

// Records jump i of the lake from half a second before its take-off to a
// few frames past the contact, the camera stepped frame by frame (see the
// demo road test).
bool Soak::recordJump(int i) {
    if (i == 0)
        app_->mainForm().cmdGoCapture_Click();
    else {
        // The picture of the jump before: its policy applies as the
        // measure screen is left for the next jump.
        const Policies p = policiesOf(i - 1);
        env_.settings().write(QStringLiteral("PictureSave"), p.picture);
        if (p.picture == QLatin1String("Ask"))
            env_.dialogs().answer(p.pictureYes ? MsgAnswer::Yes : MsgAnswer::No);
        app_->measure().btnNextJump_Click();
    }
    PreviewForm& f = app_->previewForm();
    if (!waitUntil([&] { return f.isVisible(); }, 30000))
        return fail(QStringLiteral("the capture screen did not open"));
    if (i == 0 && !waitUntil([&] { return app_->state.screenMode.isEmpty(); }, 30000))
        return fail(QStringLiteral("the capture screen did not settle"));
    f.txtSkierName->setText(QStringLiteral("DEMO"));
    f.captureTimeValue->setCurrentRow(3); // 6.0 s
    f.captureTimeValue_Click();
    const auto& cc = dynamic_cast<const DeviceCaptureControl&>(app_->captureControl());
    const double fps = cc.frameRate();
    const DemoJump jump = lake_.jump(i);
    const int64_t first = std::lround((jump.takeoffTime - 0.5) * fps);
    clock_->allow(first - 1);
    if (!waitUntil([&] { return clock_->waitsFor(first); }, 120000))
        return fail(QStringLiteral("the camera did not reach frame %1").arg(first));
    f.cmdStartCapture->click();
    if (!f.recording())
        return fail(QStringLiteral("the recording did not start"));
    f.Timer40.stop();
    const int64_t last = DemoLake::contactFrame(jump, fps) + 5;
    for (int64_t n = first; n <= last; ++n) {
        clock_->allow(n);
        if (!waitUntil(
                [&] {
                    return clock_->waitsFor(n + 1) && cc.framesRecorded() - cc.framesWritten() <= 4;
                },
                60000))
            return fail(QStringLiteral("frame %1 not recorded").arg(n));
    }
    if (cc.framesRecorded() != last - first + 1)
        return fail(QStringLiteral("%1 frames recorded, not %2")
                        .arg(cc.framesRecorded())
                        .arg(last - first + 1));
    f.cmdEndCapture->click();
    if (!waitUntil([&] { return app_->frmSetStart().isVisible() && !f.isVisible(); }, 60000))
        return fail(QStringLiteral("no frame selection after the recording"));
    return true;
}

// From the measure screen, the clip whose frame was just taken chosen in
// the log viewer and viewed: back on frame selection with it.
bool Soak::viewThroughLog() {
    frmSetStart& fs = app_->frmSetStart();
    const QString clip = lastClip_;
    LogView* view = app_->openLogView(&app_->measure());
    if (!view)
        return fail(QStringLiteral("no log viewer"));
    QListWidget* list = view->lstLog;
    int row = -1;
    for (int r = 0; r < list->count(); ++r)
        if (list->item(r)->text().contains(QFileInfo(clip).fileName()))
            row = r;
    if (row < 0) {
        QStringList shown;
        for (int r = 0; r < list->count(); ++r)
            shown << list->item(r)->text();
        return fail(QStringLiteral("the log viewer does not list ") + clip +
                    QStringLiteral(" but:\n") + shown.join('\n'));
    }
    list->setCurrentRow(row);
    QTest::mouseClick(view->cmdView, Qt::LeftButton);
    if (!waitUntil([&] { return fs.isVisible() && fs.clipPath() == clip; }, 30000))
        return fail(QStringLiteral("View did not show ") + clip + QStringLiteral(" but ") +
                    fs.clipPath());
    return true;
}

bool Soak::takeContactFrame(int i) {
    const int contact = DemoLake::contactFrame(lake_.jump(i), app_->captureControl().frameRate());
    const QString clip = app_->frameSelectionView().clipPath();
    lastClip_ = clip;
    const test::ClipCodes codes = test::clipCodes(clip);
    const auto it = std::find(codes.codes.begin(), codes.codes.end(), contact);
    if (it == codes.codes.end())
        return fail(QStringLiteral("contact frame %1 not in %2").arg(contact).arg(clip));
    const auto index = static_cast<int64_t>(it - codes.codes.begin());
    frmSetStart& fs = app_->frmSetStart();
    MediaPlayer& player = *fs.MediaPlayer1;
    if (!waitUntil([&] { return player.shownPosition() >= 0; }, 10000))
        return fail(QStringLiteral("the clip shows no frame"));
    while (player.position() < index)
        fs.Command4_Click();
    while (player.position() > index)
        fs.Command1_Click();
    if (!waitUntil([&] { return player.shownPosition() == index; }, 10000))
        return fail(QStringLiteral("frame %1 not shown").arg(index));
    if (readFrameCode(player.picture()) != contact)
        return fail(QStringLiteral("the frame shown is not the contact frame"));
    const Policies p = policiesOf(i);
    if (p.video == QLatin1String("Ask") && app_->state.screenMode != QLatin1String("View")) {
        env_.dialogs().answer(p.videoYes ? MsgAnswer::Yes : MsgAnswer::No);
    }
    fs.cmdMarkStart_Click();
    return app_->measure().isVisible() || fail(QStringLiteral("no measure screen"));
}

bool Soak::measure(int i) {
    Measure& m = app_->measure();
    if (i > 0 && i % 50 == 0) {
        const int before = app_->state.currentGrid;
        QTest::mouseClick(m.Set_grid, Qt::LeftButton);
        if (app_->state.currentGrid == before)
            return fail(QStringLiteral("the grid did not switch"));
    }
    const DemoJump jump = lake_.jump(i);
    const QPointF landing = lake_.twipsOf(jump.landing);
    m.canvas().setZoomAbout(Zoom::Actual, {0, 0});
    QTest::mouseClick(m.canvas().surface(), Qt::LeftButton, {}, wholePixel(landing));
    QTest::mouseClick(m.Record, Qt::LeftButton);
    const QString last = QString::fromLatin1(readAll(app_->state.logFilePath))
                             .trimmed()
                             .split(QStringLiteral("\r\n"))
                             .last();
    const QRegularExpressionMatch match = resultsLinePattern().match(last);
    if (!match.hasMatch())
        return fail(QStringLiteral("no results line: ") + last);
    const double measured = readNumber(match.captured(2));
    recorded_.push_back(measured);
    const double truth = jump.distance + tournamentCorrection(false, false);
    if (std::abs(measured - truth) <= deltaAt(landing) + 0.05)
        ++withinDelta_;
    else
        std::fprintf(stderr, "soak: jump %d: %.2f m measured, truth %.2f m\n", i + 1, measured,
                     truth);
    return true;
}

bool Soak::checkDialogs() {
    if (!env_.dialogs().queueEmpty())
        return fail(QStringLiteral("a question that was expected did not come"));
    for (const MessageRequest& m : env_.dialogs().messages()) {
        if (m.buttons == MsgButtons::OK && m.icon == MsgIcon::None)
            continue; // the name of a picture saved
        if (m.buttons == MsgButtons::YesNo && m.icon == MsgIcon::Question)
            continue;
        return fail(QStringLiteral("unexpected message: ") + m.prompt);
    }
    env_.dialogs().clear();
    return true;
}

int Soak::run() {
    if (!start())
        return 1;
    QElapsedTimer clock;
    clock.start();
    std::vector<double> at;  // seconds at the end of each jump
    std::vector<double> cpu; // processor seconds at the end of each jump
    const double cpuStart = cpuSeconds();
    Usage early;
    double peakMb = 0;
    int fdsHigh = 0, threadsHigh = 0;
    bool flat = true;
    for (int i = 0; i < jumps_; ++i) {
        current_ = i;
        const Policies p = policiesOf(i);
        env_.settings().write(QStringLiteral("VideoSave"), p.video);
        const bool viaLog = (i + 1) % 20 == 0;
        if (!recordJump(i) || !takeContactFrame(i) ||
            (viaLog && (!viewThroughLog() || !takeContactFrame(i))) || !measure(i) ||
            !checkDialogs())
            return 1;
        at.push_back(clock.elapsed() / 1000.0);
        cpu.push_back(cpuSeconds() - cpuStart);
        const Usage u = usageNow();
        if (i + 1 == 20) {
            early = u;
        } else if (i + 1 > 20) {
            peakMb = std::max(peakMb, u.residentMb);
            fdsHigh = std::max(fdsHigh, u.fds);
            threadsHigh = std::max(threadsHigh, u.threads);
        }
        if ((i + 1) % 50 == 0 || i + 1 == jumps_) {
            const int from = std::max(0, i + 1 - 50);
            auto perJump = [&](const std::vector<double>& t) {
                const auto end = static_cast<size_t>(i);
                return (t[end] - (from > 0 ? t[static_cast<size_t>(from - 1)] : 0)) /
                       (i + 1 - from);
            };
            std::printf("jump %d: memory %.1f MB, fds %d, threads %d, %.2f s per jump (%.2f s "
                        "processor)\n",
                        i + 1, u.residentMb, u.fds, u.threads, perJump(at), perJump(cpu));
            std::fflush(stdout);
        }
    }
    const Usage end = usageNow();
    // Whole lines, in order, once each: the n-th results line is jump n's.
    const QStringList lines =
        QString::fromLatin1(readAll(app_->state.logFilePath)).split(QStringLiteral("\r\n"));
    int whole = 0;
    size_t n = 0;
    for (const QString& line : lines) {
        const QRegularExpressionMatch m = resultsLinePattern().match(line);
        if (!m.hasMatch())
            continue;
        if (n < recorded_.size() && readNumber(m.captured(2)) == recorded_[n])
            ++whole;
        ++n;
    }
    if (n != recorded_.size()) // a line missing or one too many
        whole = std::max(0, whole - static_cast<int>(n > recorded_.size() ? n - recorded_.size()
                                                                          : recorded_.size() - n));
    const double growth = jumps_ > 20 ? std::max(peakMb, end.residentMb) - early.residentMb : 0;
    // The last 50 jumps against jumps 20-70, in processor time; the wall
    // clock's ratio is printed beside it.
    double ratio = 0, wallRatio = 0;
    if (jumps_ >= 120) {
        auto of = [&](const std::vector<double>& t) {
            return (t.back() - t[t.size() - 51]) / (t[69] - t[19]);
        };
        ratio = of(cpu);
        wallRatio = of(at);
        std::printf("soak: last 50 jumps against jumps 20-70: processor time %.2f, wall clock "
                    "%.2f\n",
                    ratio, wallRatio);
    }
    if (jumps_ > 20)
        flat = fdsHigh <= early.fds + 2 && threadsHigh <= early.threads + 2;
    if (!flat)
        std::printf("soak: descriptors %d to %d, threads %d to %d after jump 20\n", early.fds,
                    fdsHigh, early.threads, threadsHigh);
    std::printf("soak: %d jumps, memory growth %.1f MB, time ratio %.2f, results whole %d of %d, "
                "within delta %d of %d\n",
                jumps_, growth, ratio, whole, jumps_, withinDelta_, jumps_);
    const bool met =
        growth <= 30 && flat && ratio <= 1.1 && whole == jumps_ && withinDelta_ == jumps_;
    return met ? 0 : 1;
}

} // namespace

// The offscreen platform's notes on what it cannot do are left out.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (text.startsWith(QLatin1String("This plugin does not support")) ||
        text.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (type == QtFatalMsg)
        std::abort();
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QApplication qapp(argc, argv);
    const int jumps = argc > 1 ? std::atoi(argv[1]) : 300;
    if (jumps < 1) {
        std::fprintf(stderr, "usage: zentrak-soak [JUMPS]\n");
        return 2;
    }
    Soak soak(jumps);
    return soak.run();
}
