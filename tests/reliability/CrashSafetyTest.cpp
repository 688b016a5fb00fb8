// Recording survives the program being killed at any moment: a recorder
// process records jumps one after the other and is killed (SIGKILL) at
// random moments, hundreds of times, each new recorder going on where the
// files stand. Every jump reported written is in the results file once and
// whole, in order. A kill in the middle of the write may leave the start of
// the line under way (never reported); the next line starts on a line of
// its own after it. "ztresult.dst" is always a whole file, the result of a
// jump from the last one reported on.

#include "measure/Recording.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace zt;
using test::readAll;

namespace {

struct Recorder {
    QString results, exchange;
    GridState grid;
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9))};

    Recorder(QString resultsPath, QString exchangeDir)
        : results(std::move(resultsPath)), exchange(std::move(exchangeDir)) {
        Coefficients c; // X = a / 100, Y = b / 100
        c[2] = 0.01;
        c[8] = 0.01;
        grid.setCoefficients(c);
    }

    bool record(int jump) {
        test::ScriptedDialogs dialogs;
        MeasureRecordState screen;
        screen.skierName = QStringLiteral("SKIER, ONE");
        screen.jumpNumber = QString::number(jump);
        screen.clickX = 4326, screen.clickY = 0;
        screen.pictureFrozen = true;
        const RecordOutcome out = recordJump(
            grid, screen, {results, exchange, true, false, false, false}, dialogs, clock);
        return out.status == RecordStatus::Recorded && out.exchangeWritten;
    }
};

QStringList linesOf(const QByteArray& bytes) {
    return QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
}

QString withJump(QString line, int from, int to) {
    return line.replace(QStringLiteral("jump ") + QString::number(from) + QLatin1Char(' '),
                        QStringLiteral("jump ") + QString::number(to) + QLatin1Char(' '));
}

// The results file read back: whole lines must be the lines of jumps 1, 2,
// 3 ... in order; a cut line is the start of the next jump's line. A last
// line cut just before its line end has all its text and counts as whole.
struct ResultsLines {
    int whole = 0;        // jumps whose line is whole
    int cut = 0;          // cut lines, ended by the next line appended
    bool endsCut = false; // the file ends in a cut line
    QString fault;        // what is wrong, empty when nothing

    ResultsLines(const QByteArray& bytes, const QString& line1) {
        const QStringList lines = linesOf(bytes);
        for (qsizetype i = 0; i < lines.size() && fault.isEmpty(); ++i) {
            const QString expected = withJump(line1, 1, whole + 1);
            const bool last = i + 1 == lines.size();
            if (lines[i] == expected)
                ++whole;
            else if (last && lines[i].isEmpty())
                break;
            else if (!lines[i].isEmpty() && (expected + QLatin1Char('\r')).startsWith(lines[i]))
                last ? void(endsCut = true) : void(++cut);
            else
                fault = QStringLiteral("line %1: %2").arg(i + 1).arg(lines[i]);
        }
    }
};

// Records from the jump after the last whole line, reporting each jump on
// fd once recordJump has returned; never returns.
[[noreturn]] void recordUntilKilled(Recorder& r, const QString& line1, int fd) {
    int jump = ResultsLines(readAll(r.results), line1).whole + 1;
    for (;; ++jump) {
        if (!r.record(jump))
            _exit(2);
        if (write(fd, &jump, sizeof jump) != sizeof jump)
            _exit(3);
    }
}

} // namespace

TEST(CrashSafety, KilledWhileRecordingLosesNoReportedJump) {
    test::TestEnv env;
    // The lines of jump 1 as a recorder writes them: every other jump's
    // differs only in its number.
    const QString sample = env.path(QStringLiteral("sample"));
    QDir().mkpath(sample);
    Recorder probe(sample + QStringLiteral("/results.txt"), sample);
    ASSERT_TRUE(probe.record(1));
    const QString line1 = linesOf(readAll(probe.results)).first();
    ASSERT_TRUE(line1.contains(QStringLiteral("jump 1 "))) << line1.toStdString();
    const QString result1 = QString::fromLatin1(readAll(sample + QStringLiteral("/ztresult.dst")));
    ASSERT_TRUE(result1.endsWith(QStringLiteral(", 1\r\n"))) << result1.toStdString();

    Recorder recorder(env.path(QStringLiteral("results.txt")), env.exchangeDir());
    const QString ztresult = env.exchangeDir() + QStringLiteral("/ztresult.dst");
    std::mt19937 random(15);
    std::uniform_int_distribution<int> delayUs(0, 25000);
    const int rounds = 300;
    int reported = 0, lastReported = 0, written = 0, killedMidJump = 0, cutLines = 0, planted = 0;
    for (int round = 0; round < rounds; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            recordUntilKilled(recorder, line1, fds[1]);
        }
        close(fds[1]);
        // This recorder went on from the jump after the last line.
        int next = written + 1, jump = 0;
        // Every other recorder reports a jump before the kill may come, so
        // kills land after whole jumps too however slow the machine is.
        if (round % 2 == 0 && read(fds[0], &jump, sizeof jump) == sizeof jump) {
            ASSERT_EQ(jump, next++);
            lastReported = jump;
            ++reported;
        }
        usleep(useconds_t(delayUs(random)));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the recorder stopped by itself: " << status;
        while (read(fds[0], &jump, sizeof jump) == sizeof jump) {
            ASSERT_EQ(jump, next++);
            lastReported = jump;
            ++reported;
        }
        close(fds[0]);

        // Every jump's line whole, in order, once; a cut line only ever
        // before the line of the same jump or at the end.
        const ResultsLines lines(readAll(recorder.results), line1);
        ASSERT_TRUE(lines.fault.isEmpty())
            << "round " << round << ", " << lines.fault.toStdString();
        written = lines.whole;
        cutLines = lines.cut + int(lines.endsCut);
        ASSERT_GE(written, lastReported) << "round " << round << ": a reported jump is missing";
        ASSERT_LE(written, next) << "round " << round << ": more than the jump under way";
        killedMidJump += written == next;
        // The scoring system's file: a whole result of a jump from the last
        // one reported on (recorders killed between a results line and the
        // exchange files leave it behind the results file).
        if (written > 0 && QFile::exists(ztresult)) {
            const QString now = QString::fromLatin1(readAll(ztresult));
            bool whole = false;
            for (int k = std::max(lastReported, 1); k <= written; ++k)
                whole = whole || now == QString(result1).replace(QStringLiteral(", 1\r\n"),
                                                                 QStringLiteral(", %1\r\n").arg(k));
            ASSERT_TRUE(whole) << "round " << round << ", " << written << " written, "
                               << lastReported << " reported: " << now.toStdString();
        }
        // A kill seldom splits one write, so cut lines are planted too: the
        // start of the next jump's line, as a program stopped halfway
        // through writing it leaves it. The next line must start on a line
        // of its own.
        if (round % 7 == 3 && !lines.endsCut) {
            const QString coming = withJump(line1, 1, written + 1);
            QFile f(recorder.results);
            ASSERT_TRUE(f.open(QIODevice::Append));
            f.write(coming.left(1 + round % int(coming.size() - 1)).toLatin1());
            ++planted;
        }
    }
    // Kills landed both inside a jump's writes and outside them.
    EXPECT_GT(reported, rounds / 4);
    EXPECT_GT(killedMidJump, 0);
    EXPECT_LT(killedMidJump, rounds);
    EXPECT_GE(cutLines, planted);
    std::cout << rounds << " kills, " << reported << " jumps reported, " << killedMidJump
              << " kills between a results line and its report, " << cutLines
              << " lines cut by a kill or planted (" << planted << " planted)\n";
}
