// zentrak-tool validate and accuracy: a grid setup file checked as the grid
// setup screen checks it, without the screen and without writing any file.

#include "app/Dialogs.h"
#include "app/PictureFile.h"
#include "app/TextFormat.h"
#include "grid/AccuracyCheck.h"
#include "grid/GridAgreement.h"
#include "grid/GridFiles.h"
#include "grid/GridSaveLoad.h"
#include "grid/SetupValidation.h"
#include "tool/Commands.h"

#include <QImage>
#include <QPainter>
#include <optional>

namespace zt::tool {

namespace {

Output usageError(const QString& what) {
    return {QString(), QStringLiteral("zentrak-tool: ") + what + QStringLiteral("\n") + usage(), 2};
}

// Prints every message as "message: " + text and answers it with its
// default, as an operator pressing Enter would.
class PrintingDialogs : public Dialogs {
public:
    explicit PrintingDialogs(QString& out) : out_(out) {}
    MsgAnswer message(const MessageRequest& r) override {
        out_ += QStringLiteral("message: ") + r.prompt + QLatin1Char('\n');
        return answerForButton(r.buttons, r.defaultButton);
    }
    std::optional<QString> input(const QString& prompt, const QString&,
                                 const QString& defaultText) override {
        out_ += QStringLiteral("message: ") + prompt + QLatin1Char('\n');
        return defaultText;
    }
    std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }

private:
    QString& out_;
};

struct GridArgs {
    QString file, pictureWidth, png, picture;
    bool allowInvalid = false, barefoot = false, sitski = false;
};

// Parses the options; an empty text when they are good.
QString parseGridArgs(const QStringList& args, GridArgs* g, bool validate) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--grid") && hasValue)
            g->file = args[++i];
        else if (validate && a == QLatin1String("--picture-width") && hasValue)
            g->pictureWidth = args[++i];
        else if (validate && a == QLatin1String("--allow-invalid"))
            g->allowInvalid = true;
        else if (!validate && a == QLatin1String("--type") && hasValue) {
            const QString t = args[++i];
            if (t != QLatin1String("normal") && t != QLatin1String("barefoot") &&
                t != QLatin1String("sitski"))
                return QStringLiteral("--type is normal, barefoot or sitski");
            g->barefoot = t == QLatin1String("barefoot");
            g->sitski = t == QLatin1String("sitski");
        } else if (!validate && a == QLatin1String("--png") && hasValue)
            g->png = args[++i];
        else if (!validate && a == QLatin1String("--picture") && hasValue)
            g->picture = args[++i];
        else
            return QStringLiteral("unexpected argument: ") + a;
    }
    if (g->file.isEmpty())
        return QStringLiteral("--grid FILE is needed");
    double width = 0;
    if (validate && !readNumberStrict(g->pictureWidth, &width))
        return QStringLiteral("--picture-width takes the picture width in twips");
    if (!g->picture.isEmpty() && g->png.isEmpty())
        return QStringLiteral("--picture goes with --png");
    return QString();
}

// The grid as loading the file leaves it, with the boxes the setup screen
// then shows; an error text when the file cannot be read at all.
// *refusal says why the program would not make the grid ready (empty when
// it would).
QString loadForChecks(const QString& file, GridState* s, GridBoxTexts* boxes, QString* refusal) {
    const GridLoadOutcome outcome = loadGridFiles(*s, 1, file);
    *refusal = gridFileRefusal(*s, file, outcome);
    if (!outcome.complete())
        return refusal->isEmpty()
                   ? file + QStringLiteral(": the grid setup file ends before all its values")
                   : *refusal;
    // The screen warns of it and goes on without the check buoy; a script
    // is stopped, as it would check a setup without its check buoy.
    if (!outcome.checkBuoyError.isEmpty())
        return outcome.checkBuoyError;
    *boxes = boxTextsFromState(*s);
    if (!outcome.checkBuoyFound)
        clearCheckBuoyBoxes(*boxes);
    return QString();
}

// The coefficients in the file against its own marks, as every load judges
// them; false (after its message) when they disagree.
bool fileCoefficientsAgree(const GridState& s, const QString& file, PrintingDialogs& dialogs) {
    const GridVerdict verdict = judgeGrid(s.coefficients(), gridMarksOf(s));
    if (verdict.ready())
        return true;
    dialogs.error(gridNotReadyMessage(file, verdict));
    return false;
}

QPointF boxPoint(const GridBoxTexts& b, int buoy) {
    const auto i = static_cast<size_t>(buoy);
    return {readNumber(b.screenX[i]), readNumber(b.screenY[i])};
}

// The accuracy map over the picture, or over a plain background holding
// the whole grid.
QString writeAccuracyPng(const GridArgs& g, const AccuracyResult& r) {
    QImage image;
    if (!g.picture.isEmpty()) {
        const PictureRead read = readWholePicture(g.picture);
        if (!read.ok())
            return pictureNotLoadedMessage(read);
        image = read.image;
    }
    if (image.isNull()) {
        QRectF box;
        for (const AccuracyPoint& p : r.points)
            box |= QRectF(p.at / 15, QSizeF(1, 1));
        const QSize size(std::max(800, static_cast<int>(box.right()) + 40),
                         std::max(600, static_cast<int>(box.bottom()) + 40));
        image = QImage(size, QImage::Format_RGB32);
        image.fill(QColor(40, 70, 100));
    }
    image = image.convertToFormat(QImage::Format_RGB32);
    {
        QPainter painter(&image);
        paintAccuracyMap(painter, r);
        paintAccuracyLegend(painter, QPointF(8, 8));
    }
    if (!image.save(g.png, "PNG"))
        return QStringLiteral("The map cannot be written: ") + g.png;
    return QString();
}

} // namespace

Output validateCommand(const QStringList& args) {
    GridArgs g;
    if (const QString problem = parseGridArgs(args, &g, true); !problem.isEmpty())
        return usageError(problem);
    GridState s;
    GridBoxTexts boxes;
    QString refusal;
    if (const QString error = loadForChecks(g.file, &s, &boxes, &refusal); !error.isEmpty())
        return {QString(), error + QLatin1Char('\n'), 2};
    Output out;
    PrintingDialogs dialogs(out.out);
    ValidationEnv env{dialogs,
                      [&out](const QString& line) { out.out += line + QLatin1Char('\n'); }};
    // Complete re-solves from the marks, which would hide coefficients in
    // the file that measure something else: they are judged first.
    if (fileCoefficientsAgree(s, g.file, dialogs))
        completeFromSolve(s, boxes, g.pictureWidth, g.allowInvalid, 1, g.file, s.gridDescription[1],
                          env, {});
    const bool ready = s.gridReady(1);
    out.out += ready ? QStringLiteral("ready\n") : QStringLiteral("not ready\n");
    out.exitCode = ready ? 0 : 1;
    return out;
}

Output accuracyCommand(const QStringList& args) {
    GridArgs g;
    if (const QString problem = parseGridArgs(args, &g, false); !problem.isEmpty())
        return usageError(problem);
    GridState s;
    GridBoxTexts boxes;
    QString refusal;
    loadForChecks(g.file, &s, &boxes, &refusal);
    if (!refusal.isEmpty())
        return {QString(), refusal + QLatin1Char('\n'), 2}; // the program checks ready grids only
    const AccuracyMesh mesh = accuracyMesh(boxPoint(boxes, 3), boxPoint(boxes, 1),
                                           boxPoint(boxes, 4), boxPoint(boxes, 2));
    const AccuracyResult r = runAccuracyCheck(s, mesh, g.barefoot, g.sitski);
    Output out;
    for (const AccuracyPoint& p : r.points)
        out.out += accuracyPointLine(p) + QLatin1Char('\n');
    if (!r.complete) {
        out.err = QStringLiteral("The grid cannot compute a distance at mesh point %1 of 49\n")
                      .arg(r.points.size() + 1);
        out.exitCode = 1;
        return out;
    }
    out.out += QLatin1Char('\n');
    for (int d = 0; d < meshSize; ++d) {
        QStringList row;
        for (int a = 0; a < meshSize; ++a)
            row << homologationText(r.point(a, d)->homClass);
        out.out += row.join(QLatin1Char(' ')) + QLatin1Char('\n');
    }
    if (!g.png.isEmpty())
        if (const QString error = writeAccuracyPng(g, r); !error.isEmpty()) {
            out.err = error + QLatin1Char('\n');
            out.exitCode = 1;
        }
    return out;
}

} // namespace zt::tool
