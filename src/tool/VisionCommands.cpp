// zentrak-tool find-buoys, camera-check and propose-contact: the vision
// aids on files, as the screens use them.

#include "app/PictureFile.h"
#include "app/TextFormat.h"
#include "grid/GridPatches.h"
#include "tool/Commands.h"
#include "vision/BuoyFinder.h"
#include "vision/ContactProposal.h"

#include <QImage>
#include <cmath>

namespace zt::tool {

namespace {

// A picture that cannot be read whole stops the command.
Output pictureRefused(const PictureRead& failure) {
    return {QString(), pictureNotLoadedMessage(failure) + QLatin1Char('\n'), 2};
}

Output usageError(const QString& what) {
    return {QString(), QStringLiteral("zentrak-tool: ") + what + QStringLiteral("\n") + usage(), 2};
}

QString twipsLine(const QString& name, QPointF pixels) {
    const QPointF t = pixels * 15;
    return (name.isEmpty() ? QString() : name + QStringLiteral(": ")) + numberText(t.x()) +
           QLatin1Char(' ') + numberText(t.y()) + QLatin1Char('\n');
}

QString shiftLine(const vision::BuoyShift& b) {
    auto two = [](double v) { // no "-0.00"
        const double r = std::round(v * 100) / 100;
        return QString::number(r == 0 ? 0.0 : r, 'f', 2);
    };
    return b.name + QStringLiteral(": ") + two(b.dx) + QLatin1Char(' ') + two(b.dy) +
           QLatin1Char(' ') + QString::number(b.score, 'f', 3) + QLatin1Char('\n');
}

} // namespace

Output cameraCheckCommand(const QStringList& args) {
    QString grid, setupPath, picturePath;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QLatin1String("--grid") && hasValue)
            grid = args[++i];
        else if (args[i] == QLatin1String("--setup") && hasValue)
            setupPath = args[++i];
        else if (picturePath.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            picturePath = args[i];
        else
            return usageError(QStringLiteral("unexpected argument: ") + args[i]);
    }
    if (grid.isEmpty() || picturePath.isEmpty())
        return usageError(QStringLiteral("camera-check needs --grid FILE and a picture"));
    QImage setup;
    if (!setupPath.isEmpty()) {
        const PictureRead read = readWholePicture(setupPath);
        if (!read.ok())
            return pictureRefused(read);
        setup = read.image;
    }
    const PictureRead read = readWholePicture(picturePath);
    if (!read.ok())
        return pictureRefused(read);
    const QImage& picture = read.image;
    QString error;
    const vision::CameraGuard guard = vision::guardOfGrid(grid, setup, &error);
    if (guard.empty())
        return {
            QString(),
            (error.isEmpty() ? QStringLiteral("No buoy of the grid has room for a patch") : error) +
                '\n',
            2};
    const vision::CameraCheck check = guard.check(picture);
    Output o;
    for (const vision::BuoyShift& b : check.buoys)
        o.out += shiftLine(b);
    o.out += check.moved ? QStringLiteral("moved\n") : QStringLiteral("steady\n");
    o.exitCode = check.moved ? 1 : 0;
    return o;
}

Output proposeContactCommand(const QStringList& args) {
    if (args.size() != 3 || args[0] != QLatin1String("--grid"))
        return usageError(QStringLiteral("propose-contact takes --grid FILE and a clip"));
    QString error;
    const std::vector<vision::GuardMark> marks = vision::guardMarksOfGrid(args[1], &error);
    if (marks.size() < 4)
        return {QString(), error + '\n', 2};
    // marks: upper right, lower right, upper left, lower left
    const QPolygonF area = vision::landingArea(marks[2].at, marks[0].at, marks[1].at, marks[3].at);
    const vision::ContactProposal p = vision::proposeContact(args[2], area);
    if (p.frame < 0)
        return {QString(), QStringLiteral("No contact frame proposed: ") + p.reason + '\n', 1};
    return {QStringLiteral("contact frame: ") + QString::number(p.frame) + '\n', QString(), 0};
}

Output findBuoysCommand(const QStringList& args) {
    if (args.size() != 1)
        return usageError(QStringLiteral("find-buoys takes one picture"));
    const PictureRead read = readWholePicture(args[0]);
    if (!read.ok())
        return pictureRefused(read);
    const QImage& picture = read.image;
    const std::vector<QPointF> buoys = vision::findBuoys(picture);
    Output o;
    for (QPointF b : buoys)
        o.out += twipsLine(QString(), b);
    const auto p = vision::proposeBuoys(buoys);
    if (!p) {
        o.out += QStringLiteral("no proposal: ") + QString::number(buoys.size()) +
                 QStringLiteral(" buoys found\n");
        o.exitCode = 1;
        return o;
    }
    o.out += twipsLine(QStringLiteral("upper right"), p->upperRight) +
             twipsLine(QStringLiteral("lower right"), p->lowerRight) +
             twipsLine(QStringLiteral("upper left"), p->upperLeft) +
             twipsLine(QStringLiteral("lower left"), p->lowerLeft) +
             twipsLine(QStringLiteral("check buoy"), p->check);
    return o;
}

} // namespace zt::tool
