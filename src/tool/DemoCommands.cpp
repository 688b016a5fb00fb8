// zentrak-tool demo: the demo lake's files for a new user and for tests.

#include "demo/DemoCamera.h"
#include "tool/Commands.h"

#include <cmath>

namespace zt::tool {

namespace {

Output usageError(const QString& what) {
    return {QString(), QStringLiteral("zentrak-tool: ") + what + QStringLiteral("\n") + usage(), 2};
}

bool wholeArg(const QString& text, int low, int high, int* value) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    *value = v;
    return true;
}

} // namespace

Output demoCommand(const QStringList& args) {
    QString out;
    QSize size(1280, 720);
    int rate = 30, seed = 1;
    QPointF shift;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            return usageError(QStringLiteral("unexpected argument: ") + a);
        const QString v = args[++i];
        if (a == QLatin1String("--out")) {
            out = v;
        } else if (a == QLatin1String("--size")) {
            const QStringList wh = v.split(QLatin1Char('x'));
            int w = 0, h = 0;
            if (wh.size() != 2 || !wholeArg(wh[0], 64, 4096, &w) || !wholeArg(wh[1], 48, 4096, &h))
                return usageError(QStringLiteral("--size takes WxH"));
            size = QSize(w, h);
        } else if (a == QLatin1String("--rate")) {
            if (!wholeArg(v, 1, 240, &rate))
                return usageError(QStringLiteral("--rate takes frames per second, 1 to 240"));
        } else if (a == QLatin1String("--seed")) {
            if (!wholeArg(v, 0, 1000000, &seed))
                return usageError(QStringLiteral("--seed takes a whole number"));
        } else if (a == QLatin1String("--camera-shift")) {
            const QStringList xy = v.split(QLatin1Char(','));
            bool okX = false, okY = false;
            const double dx = xy.size() == 2 ? xy[0].trimmed().toDouble(&okX) : 0;
            const double dy = xy.size() == 2 ? xy[1].trimmed().toDouble(&okY) : 0;
            if (!okX || !okY || std::abs(dx) > 200 || std::abs(dy) > 200)
                return usageError(QStringLiteral("--camera-shift takes DX,DY in pixels"));
            shift = QPointF(dx, dy);
        } else {
            return usageError(QStringLiteral("unexpected argument: ") + a);
        }
    }
    if (out.isEmpty())
        return usageError(QStringLiteral("demo needs --out DIR"));
    const QString error = writeDemoFiles(out, size, rate, static_cast<unsigned>(seed), shift);
    if (!error.isEmpty())
        return {QString(), error + QLatin1Char('\n'), 1};
    return {};
}

} // namespace zt::tool
