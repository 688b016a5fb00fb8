#include "app/ClipCaption.h"

namespace zt {

QString clipFrameCaption(const QString& clipPath, int64_t frame) {
    if (clipPath.isEmpty())
        return {};
    const qsizetype cut =
        std::max(clipPath.lastIndexOf(QLatin1Char('/')), clipPath.lastIndexOf(QLatin1Char('\\')));
    return clipPath.mid(cut + 1) + QStringLiteral(", frame ") + QString::number(frame);
}

QString measureTitle(const QString& clipCaption) {
    if (clipCaption.isEmpty())
        return QStringLiteral("Measure");
    return QStringLiteral("Measure - ") + clipCaption;
}

} // namespace zt
