#include "measure/JumpRecord.h"

#include "app/TextFormat.h"

#include <cmath>

namespace zt {

namespace {

const QString crlf = QStringLiteral("\r\n");

QString group(const QString& a, const QString& b) {
    return QStringLiteral(" (") + a + QLatin1Char('/') + b + QLatin1Char(')');
}

} // namespace

QString jumpRecordLine(const JumpRecordInput& in) {
    QString line = dateText(in.when.date()) + QLatin1Char(' ') + timeText(in.when.time()) +
                   QLatin1Char(' ') + in.skierName + QStringLiteral("  jump ") + in.jumpNumber +
                   QStringLiteral(" - ") + in.metersText + QStringLiteral("  (IWSF)") +
                   in.feetText + QStringLiteral("  (AWSA)");
    if (in.barefootJump)
        line += QStringLiteral(" BAREFOOT ");
    if (in.verifyMode)
        line += QStringLiteral(" UNOFFICIAL JUMP - verify mode ");
    line += in.comment;
    if (!in.otherGrid) {
        line += group(numberText(roundTo(in.waterX, 3)), numberText(roundTo(in.waterY, 3)));
        line += group(numberText(std::floor(in.screenX)), numberText(std::floor(in.screenY)));
        line += QStringLiteral(" (") + in.lastDistanceText + QLatin1Char(')');
    }
    return line + crlf;
}

QString eventLine(const QDateTime& when, const QString& eventText) {
    return dateText(when.date()) + QLatin1Char(' ') + timeText(when.time()) + QLatin1Char(' ') +
           eventText + crlf;
}

QString nextJumpNumberText(const QString& jumpNumber) {
    return numberText(readNumber(jumpNumber) + 1);
}

bool otherGridDistancesMatch(const QString& metersText, const QString& feetText) {
    const double m = readNumber(metersText);
    const double f = readNumber(feetText);
    if (m * 3.2808 + 2 < f)
        return false;
    if (m * 3.2808 - 2 > f)
        return false;
    return true;
}

OtherGridEntry askOtherGridDistance(Dialogs& dialogs) {
    const QString title = QStringLiteral("Other Grid Measurement");
    for (;;) {
        OtherGridEntry e;
        const bool yes = dialogs.message({QStringLiteral("Is there a distance to be recorded "
                                                         "in the other grid?"),
                                          QStringLiteral("Message"), MsgIcon::None,
                                          MsgButtons::YesNo, 1}) == MsgAnswer::Yes;
        if (!yes) {
            e.comment = comments::otherGridNone;
            return e;
        }
        e.metersText =
            dialogs.input(QStringLiteral("Enter distance in meters from other screen"), title)
                .value_or(QString());
        e.feetText =
            QLatin1Char(' ') +
            dialogs.input(QStringLiteral("Enter distance in feet from other screen"), title)
                .value_or(QString());
        e.metersShown = e.metersText + QLatin1Char('m');
        e.feetShown = e.feetText + QStringLiteral("ft");
        if (e.metersText.contains(QLatin1Char(',')) || e.feetText.contains(QLatin1Char(','))) {
            dialogs.inform(otherGridCommaMessage);
            continue;
        }
        if (otherGridDistancesMatch(e.metersShown, e.feetShown)) {
            e.recorded = true;
            return e;
        }
        dialogs.inform(QStringLiteral("The meter distance and the foot distance you entered did "
                                      "not match, please enter them again"));
    }
}

} // namespace zt
