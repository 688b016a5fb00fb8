// zentrak-tool find-buoys, camera-check and propose-contact: the vision
// aids on files, as the screens use them.

#include "app/TextFormat.h"
#include "tool/Commands.h"
#include "vision/BuoyFinder.h"

#include <QImage>

namespace zt::tool {

namespace {

Output usageError(const QString& what) {
    return {QString(), QStringLiteral("zentrak-tool: ") + what + QStringLiteral("\n") + usage(), 2};
}

QString twipsLine(const QString& name, QPointF pixels) {
    const QPointF t = pixels * 15;
    return (name.isEmpty() ? QString() : name + QStringLiteral(": ")) + numberText(t.x()) +
           QLatin1Char(' ') + numberText(t.y()) + QLatin1Char('\n');
}

} // namespace

Output findBuoysCommand(const QStringList& args) {
    if (args.size() != 1)
        return usageError(QStringLiteral("find-buoys takes one picture"));
    QImage picture;
    if (!picture.load(args[0]))
        return {QString(), QStringLiteral("The picture cannot be read: ") + args[0] + '\n', 2};
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
