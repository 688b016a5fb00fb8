// Writes the seed inputs of every fuzz target into OUT/<target>/, made by
// the program's own writers and the tests' fixtures (the test grid, the
// test clips), so the fuzzers start from files as the program meets them.
//
//   fuzz_seeds OUT [MANUAL.rtf]

#include "app/FileUtils.h"
#include "app/SettingsStore.h"
#include "app/Startup.h"
#include "app/TextFormat.h"
#include "grid/GridFiles.h"
#include "logs/VideoLog.h"
#include "measure/Pictures.h"
#include "support/GridFixtures.h"
#include "video/ClipWriter.h"
#include "video/Dib.h"
#include "video/FrameSelection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace zt;

namespace {

QString outRoot;
int written = 0;

void seed(const char* target, const QString& name, const QByteArray& bytes) {
    const QString dir = outRoot + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(dir);
    QFile f(dir + QLatin1Char('/') + name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
    ++written;
}

void seedText(const char* target, const QString& name, const QString& text) {
    seed(target, name, fileBytes(text));
}

void gridSeeds() {
    const GridState s = test::solvedTestGrid();
    const QString text = gridSetupFileText(QStringLiteral("C:\\grids\\lake.ipt"),
                                           gridFileFromState(s, 1, QStringLiteral("Lake, east")));
    seedText("grid_file", QStringLiteral("whole"), text);
    seedText("grid_file", QStringLiteral("cut"), text.left(text.size() / 2));
    seedText("grid_file", QStringLiteral("unsolved"),
             gridSetupFileText(QStringLiteral("g.ipt"), GridSetupFile{}));
    seedText("check_buoy", QStringLiteral("typed"),
             checkBuoyFileText(s.checkMarkX, s.checkMarkY, QStringLiteral("12.5"),
                               QStringLiteral("-3")));
    seedText("check_buoy", QStringLiteral("comma"),
             checkBuoyFileText(6120, 4230, QStringLiteral("12,5"), QString()));
}

void settingsSeeds() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zt05-settings.ini"));
    {
        FileSettingsStore store(path);
        store.set(setting::logpath, QStringLiteral("C:\\zt\\logs\\"));
        store.set(setting::grids, 2.0);
        store.set(setting::framerate, QStringLiteral("29.97"));
        store.set(setting::WSTIMS, true);
        store.set(setting::right2left, false);
        store.set(setting::device, 1LL);
        store.set(setting::grid1File, QStringLiteral("C:\\grids\\g=1.ipt"));
    }
    seed("settings", QStringLiteral("written"), *readFileBytes(path));
    seed("settings", QStringLiteral("earlier"),
         "; "
         "zt05\r\n[Settings]\r\nlogpath=C:\\\\zt\\\\\r\ngrids=3\r\nWSTIMS=1\r\n[Other]\r\nx=y\r\n");
}

void numberSeeds() {
    const char* texts[] = {"12abc", "-.5", "1E3", " 1.5D-3", "1e400", "+7", "3,5", "0.1", "-0"};
    int i = 0;
    for (const char* t : texts)
        seed("number", QString::number(i++), QByteArray(t));
    seedText("number", QStringLiteral("grid"), gridNumberText(-1.5e-05));
}

void clipSeeds() {
    QTemporaryDir dir;
    struct Clip {
        const char* name;
        test::ClipParams params;
    };
    test::ClipParams mjpeg;
    mjpeg.width = 32, mjpeg.height = 24, mjpeg.frames = 6;
    test::ClipParams raw = mjpeg;
    raw.encoder = QStringLiteral("rawvideo"), raw.frames = 3, raw.width = 8, raw.height = 6;
    test::ClipParams bframes = mjpeg;
    bframes.encoder = QStringLiteral("mpeg4"), bframes.frames = 14, bframes.gop = 6;
    bframes.bFrames = 2;
    test::ClipParams dropped = mjpeg;
    dropped.frames = 8, dropped.dropped = {0, 3, 4}, dropped.damaged = {6};
    for (const Clip& c : {Clip{"mjpeg", mjpeg}, Clip{"raw", raw}, Clip{"bframes", bframes},
                          Clip{"dropped", dropped}}) {
        const QString path = dir.filePath(QLatin1String(c.name) + QStringLiteral(".avi"));
        QString error;
        if (!test::writeClip(path, c.params, &error)) {
            std::fprintf(stderr, "clip %s not written: %s\n", c.name, qPrintable(error));
            continue;
        }
        const QByteArray bytes = *readFileBytes(path);
        seed("frame_source", QLatin1String(c.name), bytes);
        seed("avi_headers", QLatin1String(c.name), bytes.left(4096));
    }
}

void bitmapSeeds() {
    const BmpInfoHeader h = frameFormat24(3, 2);
    QByteArray packed = h.toBytes();
    for (uint32_t i = 0; i < h.sizeImage; ++i)
        packed.append(char(i * 37));
    Dib dib;
    if (dib.CreateFromPackedDIBPointer(packed.constData(), std::size_t(packed.size()))) {
        seed("bmp", QStringLiteral("file"), dib.fileBytes());
        seed("bmp", QStringLiteral("packed"), packed);
    }
}

void textSeeds(const QString& manualPath) {
    const char* rtf[] = {
        ("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\li720\\fi-360"
         "\\sb120\\sa60\\qc\\b Smith, John\\b0\\par Jones, Amy\\line Lee\\tab Kim\\par}"),
        "{\\rtf1 a{\\*\\unknowndest hidden {nested}}b{\\pict\\bin4 {}\\x}c}",
        "{\\rtf1 M\\'fcller \\u8364?x {\\uc2\\u937\\'3f\\'3f}y \\u-3913?z\\emdash\\bullet}",
        "{\\rtf1 a{\\b b\\i c}d\\ul e\\ulnone f\\fs32 g\\plain h\\par}"};
    int i = 0;
    for (const char* t : rtf)
        seed("rtf", QString::number(i++), QByteArray(t));
    if (const auto manual = readFileBytes(manualPath))
        seed("rtf", QStringLiteral("manual"), manual->left(8192));
    // Groups nested past the reader's limit, and text around the cut.
    seed("rtf", QStringLiteral("deep"),
         "{\\rtf1 a" + QByteArray(1100, '{') + "\\b deep\\par" + QByteArray(1100, '}') + "b}");

    seed("name_file", QStringLiteral("quoted"), "\"Smith, John\",12\r\n");
    seed("name_file", QStringLiteral("plain"), "  Jones Amy  ,x\r\n");
    seed("clip_flag", QStringLiteral("ready"), "Ready\r\n");
    seed("clip_flag", QStringLiteral("reset"), "  \r\n");
    seed("skier_names", QStringLiteral("text"),
         "Smith, John\r\nJones, Amy\r\n\r\n\"Lee, Kim\"\r\n");
    seed("skier_names", QStringLiteral("rtf"), QByteArray(rtf[0]));

    const QString clip = QStringLiteral("C:\\video\\Smith, Johnjump2.avi");
    seedText("side_file", QStringLiteral("clip"), infoLine(clip, 123));
    seedText("side_file", QStringLiteral("picture"),
             pictureSideFileText(QStringLiteral("C:\\pics\\Smithjump2.bmp"),
                                 QStringLiteral("Smith, John"), QStringLiteral("2")));

    const QDateTime at(QDate(2026, 12, 8), QTime(13, 5, 9));
    QString log = videoLogOpeningLine(at);
    log += frameRecordLine(at, clip, 42).value_or(QString());
    log +=
        pictureVideoLogLine(at, QStringLiteral("Smith, John"), QStringLiteral("2"),
                            QStringLiteral("45.3 m"), QStringLiteral("C:\\pics\\Smithjump2.jpg"));
    seedText("log_lines", QStringLiteral("day"), log);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUT [MANUAL.rtf]\n");
        return 2;
    }
    outRoot = QString::fromLocal8Bit(argv[1]);
    gridSeeds();
    settingsSeeds();
    numberSeeds();
    clipSeeds();
    bitmapSeeds();
    textSeeds(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    std::printf("%d seeds in %s\n", written, argv[1]);
    return 0;
}
