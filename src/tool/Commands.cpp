#include "tool/Commands.h"

#include "app/TextFormat.h"
#include "grid/GridModel.h"

#include <charconv>
#include <optional>
#include <vector>

namespace zt::tool {

namespace {

Output usageError(const QString& what) {
    return {QString(), QStringLiteral("zentrak-tool: ") + what + QStringLiteral("\n") + usage(), 2};
}

Output failure(const QString& what) {
    return {QString(), what + QStringLiteral("\n"), 1};
}

// A number as given on the command line: the whole argument must read.
bool argNumber(const QString& text, double* value) {
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok;
}

bool numberList(const QString& text, int count, std::vector<double>* values) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count)
        return false;
    values->clear();
    for (const QString& p : parts) {
        double v = 0;
        if (!argNumber(p, &v))
            return false;
        values->push_back(v);
    }
    return true;
}

// printf's %.17g with the point whatever the locale: scripts read this.
QString g17(double v) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
    if (ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buf, end - buf);
}

Output solve(const QStringList& args) {
    if (args.size() != 16)
        return usageError(QStringLiteral("solve takes 16 numbers"));
    GridState s;
    for (int i = 0; i < 4; ++i) {
        double v[4];
        for (int j = 0; j < 4; ++j)
            if (!argNumber(args[i * 4 + j], &v[j]))
                return usageError(QStringLiteral("not a number: ") + args[i * 4 + j]);
        const auto b = static_cast<size_t>(i + 1);
        s.buoyScreenX[b] = v[0], s.buoyScreenY[b] = v[1];
        s.buoySurveyX[b] = v[2], s.buoySurveyY[b] = v[3];
    }
    const SolveStatus status = solve_grid(s);
    if (status == SolveStatus::NoUniqueSolution)
        return failure(QStringLiteral("No Unique Solution - Re-enter data"));
    if (status == SolveStatus::Overflow)
        return failure(QStringLiteral("The grid cannot be solved: the numbers overflow"));
    Output out;
    const Coefficients c = s.coefficients();
    for (int n = 1; n <= 8; ++n)
        out.out += gridNumberText(c[n]) + QLatin1Char('\n');
    return out;
}

struct MeasureArgs {
    Coefficients coefficients;
    double jumpX = 0, jumpY = 0;
    bool haveCoefficients = false, haveJump = false;
    bool barefoot = false, sitski = false;
    double screenX = 0, screenY = 0;
    int positional = 0;
    QString gridFile; // --grid FILE, named when its grid cannot measure
};

} // namespace

// Reads --grid FILE into the measure arguments; defined with the grid files.
bool readGridForMeasure(const QString& path, Coefficients* c, double* jumpX, double* jumpY,
                        QString* error);

namespace {

QString parseMeasureOption(const QStringList& args, qsizetype* i, MeasureArgs* m) {
    const QString& a = args[*i];
    auto next = [&]() -> std::optional<QString> {
        if (*i + 1 >= args.size())
            return std::nullopt;
        return args[++*i];
    };
    if (a == QLatin1String("--coefficients")) {
        std::vector<double> v;
        const auto value = next();
        if (!value || !numberList(*value, 8, &v))
            return QStringLiteral("--coefficients takes eight numbers separated by commas");
        for (int n = 1; n <= 8; ++n)
            m->coefficients[n] = v[static_cast<size_t>(n - 1)];
        m->haveCoefficients = true;
        m->gridFile.clear();
    } else if (a == QLatin1String("--jump")) {
        std::vector<double> v;
        const auto value = next();
        if (!value || !numberList(*value, 2, &v))
            return QStringLiteral("--jump takes X,Y");
        m->jumpX = v[0], m->jumpY = v[1];
        m->haveJump = true;
    } else if (a == QLatin1String("--type")) {
        const auto value = next();
        if (!value || (*value != QLatin1String("normal") && *value != QLatin1String("barefoot") &&
                       *value != QLatin1String("sitski")))
            return QStringLiteral("--type is normal, barefoot or sitski");
        m->barefoot = *value == QLatin1String("barefoot");
        m->sitski = *value == QLatin1String("sitski");
    } else if (a == QLatin1String("--grid")) {
        const auto value = next();
        if (!value)
            return QStringLiteral("--grid takes a file");
        QString error;
        if (!readGridForMeasure(*value, &m->coefficients, &m->jumpX, &m->jumpY, &error))
            return QStringLiteral("!") + error; // a file the program refuses
        m->haveCoefficients = m->haveJump = true;
        m->gridFile = *value;
    } else {
        double v = 0;
        if (!argNumber(a, &v) || m->positional >= 2)
            return QStringLiteral("unexpected argument: ") + a;
        (m->positional++ == 0 ? m->screenX : m->screenY) = v;
    }
    return QString();
}

Output measure(const QStringList& args) {
    MeasureArgs m;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString problem = parseMeasureOption(args, &i, &m);
        if (problem.startsWith(QLatin1Char('!')))
            return {QString(), problem.mid(1) + QLatin1Char('\n'), 2};
        if (!problem.isEmpty())
            return usageError(problem);
    }
    if (!m.haveCoefficients || !m.haveJump || m.positional != 2)
        return usageError(
            QStringLiteral("measure needs --coefficients and --jump (or --grid) and SX SY"));
    if (QString why; !transformInvertible(m.coefficients, &why))
        return failure((m.gridFile.isEmpty() ? QStringLiteral("The coefficients")
                                             : QStringLiteral("The grid in ") + m.gridFile) +
                       QStringLiteral(" cannot measure: ") + why);
    GridState s;
    s.setCoefficients(m.coefficients);
    s.jumpX = m.jumpX, s.jumpY = m.jumpY;
    s.screenX = m.screenX, s.screenY = m.screenY;
    if (!distance_calculation(s, m.barefoot, m.sitski))
        return failure(QStringLiteral(
            "The transform cannot be evaluated at this point (zero denominator or overflow)"));
    return {g17(s.waterX) + QLatin1Char(' ') + g17(s.waterY) + QLatin1Char(' ') +
                g17(s.jumpDistance) + QLatin1Char('\n'),
            QString(), 0};
}

} // namespace

// Clip commands, defined with the video commands.
Output aviInfo(const QStringList& args);
Output extractFrameCommand(const QStringList& args);
// Grid checks, defined with the grid commands.
Output validateCommand(const QStringList& args);
Output accuracyCommand(const QStringList& args);
// Capture commands, defined with the capture commands.
Output devicesCommand(const QStringList& args);
Output recordCommand(const QStringList& args);
// The demo lake's files.
Output demoCommand(const QStringList& args);
// The vision aids.
Output findBuoysCommand(const QStringList& args);
Output cameraCheckCommand(const QStringList& args);
Output proposeContactCommand(const QStringList& args);

Output run(const QStringList& args) {
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString cmd = args.first();
    const QStringList rest = args.mid(1);
    // An option given twice is a mistake to point out, not a choice of the
    // last (a script that sets --grid twice measures with which?).
    for (qsizetype i = 0; i < rest.size(); ++i)
        if (rest[i].startsWith(QLatin1String("--")) && rest.indexOf(rest[i], i + 1) > i)
            return usageError(rest[i] + QStringLiteral(" is given twice"));
    if (cmd == QLatin1String("--help") || cmd == QLatin1String("-h") ||
        cmd == QLatin1String("help"))
        return {usage(), QString(), 0};
    if (cmd == QLatin1String("solve"))
        return solve(rest);
    if (cmd == QLatin1String("measure"))
        return measure(rest);
    if (cmd == QLatin1String("demo"))
        return demoCommand(rest);
    if (cmd == QLatin1String("validate"))
        return validateCommand(rest);
    if (cmd == QLatin1String("accuracy"))
        return accuracyCommand(rest);
    if (cmd == QLatin1String("avi-info"))
        return aviInfo(rest);
    if (cmd == QLatin1String("extract-frame"))
        return extractFrameCommand(rest);
    if (cmd == QLatin1String("devices"))
        return devicesCommand(rest);
    if (cmd == QLatin1String("record"))
        return recordCommand(rest);
    if (cmd == QLatin1String("find-buoys"))
        return findBuoysCommand(rest);
    if (cmd == QLatin1String("camera-check"))
        return cameraCheckCommand(rest);
    if (cmd == QLatin1String("propose-contact"))
        return proposeContactCommand(rest);
    return usageError(QStringLiteral("unknown command: ") + cmd);
}

QString usage() {
    return QStringLiteral(
        "usage:\n"
        "  zentrak-tool solve SX1 SY1 X1 Y1 SX2 SY2 X2 Y2 SX3 SY3 X3 Y3 SX4 SY4 X4 Y4\n"
        "      Solves a grid from four buoys in index order (1 upper right, 2 lower right,\n"
        "      3 upper left, 4 lower left): screen position in twips, survey in meters.\n"
        "      Prints c1..c8, one per line, in the grid setup file's number form.\n"
        "  zentrak-tool measure --coefficients C1,...,C8 --jump X,Y\n"
        "                       [--type normal|barefoot|sitski] SX SY\n"
        "  zentrak-tool measure --grid FILE [--type normal|barefoot|sitski] SX SY\n"
        "      Transforms the screen point SX SY (twips) to the water and prints one line\n"
        "      of three numbers: water X in meters, water Y in meters, and the jump\n"
        "      distance in meters, which is the straight-line distance from the jump point\n"
        "      plus the tournament-type correction: 2.1 m normal (the default), 1.9 m\n"
        "      sitski, 0 barefoot. Coefficients whose transform cannot be inverted (all\n"
        "      0, or singular) cannot measure: exit 1. --grid FILE is loaded as the\n"
        "      program loads it; a file the program would not make ready (unreadable\n"
        "      numbers, coefficients that do not agree with the file's buoy marks or\n"
        "      check buoy, no check buoy file FILE.cb) exits 2 with the program's message.\n"
        "  zentrak-tool validate --grid FILE --picture-width TWIPS [--allow-invalid]\n"
        "      Checks a grid setup file (and its check buoy file FILE.cb) as the grid\n"
        "      setup screen's Complete does after loading it, on a picture TWIPS wide:\n"
        "      first the coefficients in the file against its own buoy marks and check\n"
        "      buoy (as every load checks them), then the solve, the check buoy, the field\n"
        "      of view, the grid's width (every mark on the picture) and the set-up\n"
        "      ratios. Prints each diagnostic line Complete writes, and\n"
        "      \"message: \" + text for each message it would show, in order; the last\n"
        "      line is \"ready\" or \"not ready\". --allow-invalid lets a setup past the\n"
        "      field-of-view and width limits, as \"Allow Invalid Setup\". Writes no file.\n"
        "      Exit 0 ready, 1 not ready.\n"
        "  zentrak-tool accuracy --grid FILE [--type normal|barefoot|sitski]\n"
        "                        [--png OUT.png [--picture PICTURE]]\n"
        "      The accuracy check of the grid: 49 lines as the accuracy file has them\n"
        "      (mesh point in twips, water point and distances in meters, the change\n"
        "      of the distance one pixel lower and right, the larger change: delta),\n"
        "      an empty line, then seven lines of homologation classes (R, L, C, NH),\n"
        "      one per skier path line from the upper buoys down. --png writes the\n"
        "      accuracy map, over PICTURE when given. A file the program would not make\n"
        "      ready exits 2 with the program's message.\n"
        "  zentrak-tool avi-info FILE\n"
        "      Prints the file information of an AVI clip, one item per line.\n"
        "  zentrak-tool extract-frame FILE N OUT.bmp\n"
        "      Writes frame N (counted from 0) of the clip as a 24-bit BMP file.\n"
        "  zentrak-tool devices [--test-camera]\n"
        "      Lists the capture devices, cameras first, then microphones, one per line:\n"
        "      \"video: NAME\" and \"audio: NAME\". --test-camera adds the built-in test\n"
        "      camera and test tone.\n"
        "  zentrak-tool record --device test|NAME [--seconds S] [--size WxH] [--rate FPS]\n"
        "                      [--compression none|mjpeg|ffv1] [--audio none|test|NAME] OUT.avi\n"
        "      Records from a camera (\"test\": the built-in test camera) into an AVI clip\n"
        "      through the program's recording pipeline: S seconds (default 5), the\n"
        "      camera's size or WxH, FPS frames per second (default 30), MJPEG (default),\n"
        "      uncompressed (none) or lossless FFV1, with sound from a microphone, the\n"
        "      test tone or none (default). Prints \"frames recorded: N\", \"frames dropped:\n"
        "      M\", \"samples: K\" and \"time (ms): T\", one per line. A recording that\n"
        "      stops early (disk full, camera gone) keeps the clip written so far and\n"
        "      exits 1 with the reason. OUT.avi is always a new file: anything already\n"
        "      at its name (a file, a link) is left as it is, exit 1.\n"
        "  zentrak-tool demo --out DIR [--size WxH] [--rate FPS] [--seed N]\n"
        "                    [--camera-shift DX,DY]\n"
        "      Writes the demo lake's files into DIR: demo-setup.bmp (the course with\n"
        "      every buoy and no skier), DEMOjump1.avi (one jump, MJPEG), demo-survey.txt\n"
        "      (the survey of the four buoys, the check buoy and the jump, in meters)\n"
        "      and demo-truth.txt (where the buoys are on the picture in twips, the\n"
        "      contact frame counted from 0, the landing point on the picture and on\n"
        "      the water, the distance from the jump point without and with the normal\n"
        "      correction). Default 1280x720 at 30 frames per second, seed 1.\n"
        "      --camera-shift: the clip's camera has moved by DX,DY pixels (fractions\n"
        "      allowed) since the setup picture; the truth then ends with \"camera\n"
        "      shift: DX DY\" and gives the landing as seen on the clip.\n"
        "  zentrak-tool find-buoys PICTURE\n"
        "      Finds the buoys on a setup picture (orange or red blobs of buoy size) and\n"
        "      prints one line \"x y\" per buoy, its centre in twips, then, when exactly\n"
        "      five are found, the proposal: \"upper right: x y\", \"lower right\", \"upper\n"
        "      left\", \"lower left\" and \"check buoy\" (the one inside the four others).\n"
        "      Otherwise \"no proposal: N buoys found\" and exit 1.\n"
        "  zentrak-tool camera-check --grid FILE [--setup SETUP.bmp] PICTURE\n"
        "      Whether the camera has moved since the grid was set up: the patches kept\n"
        "      beside the grid (FILE.patches), or with --setup cut from that picture at\n"
        "      the grid's marks, are searched for on PICTURE within 12 pixels. Prints\n"
        "      \"NAME: dx dy score\" per buoy (shift in pixels, correlation 0 to 1; below\n"
        "      0.9 the buoy counts as not found), then \"moved\" (a found buoy shifted\n"
        "      more than 1 pixel, or most not found) or \"steady\". Exit 0 steady,\n"
        "      1 moved, 2 no patches.\n"
        "  zentrak-tool propose-contact --grid FILE CLIP.avi\n"
        "      The frame (counted from 0) in which the skier's splash first shows inside\n"
        "      the grid's four buoys: \"contact frame: N\". Exit 1 with the reason when\n"
        "      no frame is proposed.\n"
        "Exit status: 0 done, 1 the grid or point cannot be computed, the clip cannot be\n"
        "read or recorded, or the device cannot be opened, 2 bad arguments or a grid\n"
        "file that cannot be read.\n");
}

} // namespace zt::tool
