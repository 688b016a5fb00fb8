#include "config/ConfigLogic.h"

#include "app/FileUtils.h"
#include "app/Paths.h"
#include "app/SettingsStore.h"
#include "app/TextFormat.h"

#include <QFileInfo>
#include <cmath>

namespace zt {

QColor colorOfRgbNumber(long rgb) {
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

std::optional<long> messageColorOf(const QString& name) {
    if (name == QLatin1String("white"))
        return rgbWhite;
    if (name == QLatin1String("black"))
        return rgbBlack;
    if (name == QLatin1String("yellow"))
        return rgbYellow;
    return std::nullopt;
}

long impactColorOf(const QString& name) {
    if (name == QLatin1String("red"))
        return rgbRed;
    if (name == QLatin1String("yellow"))
        return rgbYellow;
    if (name == QLatin1String("black"))
        return rgbBlack;
    return rgbWhite;
}

const QList<ColoredControl>& messageColorControls() {
    static const QList<ColoredControl> controls = {
        {QStringLiteral("Make_comment"), rgbBlack},
        {QStringLiteral("Other_Grid"), rgbBlack},
        {QStringLiteral("Fall"), rgbBlack},
        {QStringLiteral("Pass"), rgbBlack},
        {QStringLiteral("optJumpOK"), rgbBlack},
        {QStringLiteral("M_Reride"), rgbRed},
        {QStringLiteral("O_reride"), rgbYellow},
        {QStringLiteral("FrozenSign"), rgbWhite},
        {QStringLiteral("IWSFlabel"), rgbBlack},
        {QStringLiteral("AWSAlabel"), rgbBlack},
        {QStringLiteral("AdjustmentLabel"), rgbWhite},
        {QStringLiteral("CrossLabel"), rgbWhite},
        {QStringLiteral("maxbuoy"), rgbWhite},
        {QStringLiteral("maxbuoym"), rgbWhite},
        {QStringLiteral("minbuoy"), rgbWhite},
        {QStringLiteral("minbuoym"), rgbWhite},
    };
    return controls;
}

int gridCountChoice(const SettingsStore& settings) {
    const double n = settings.get(setting::grids);
    if (n == 2)
        return 2;
    if (n == 3)
        return 3;
    return 1;
}

QString defaultResultsPath(const QString& videoFolderBoxText, const QDate& date) {
    QString folder = videoFolderBoxText.trimmed();
    if (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder + QLatin1Char('/') + QStringLiteral("JumpMeasurementResults") + dateStamp(date) +
           QStringLiteral(".txt");
}

QString configurationLine(const QString& prefix, const QDateTime& when,
                          const QString& tournamentName) {
    return prefix + dateText(when.date()) + QStringLiteral("  ") + timeText(when.time()) +
           QLatin1Char(' ') + tournamentName + QStringLiteral("\r\n");
}

QString pictureDirOnExit(const QString& pictureDir) {
    QString dir = pictureDir;
    while (dir.endsWith(QLatin1Char(' ')))
        dir.chop(1);
    if (dir.isEmpty())
        return dir;
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QLatin1Char('\\')))
        dir += QLatin1Char('/');
    return dir;
}

QString loupeProgramPath(const QString& appDir) {
    const QString folder = joinPath(appDir, QStringLiteral("Loupe"));
    for (const QString& name : {QStringLiteral("Loupe.exe"), QStringLiteral("Loupe")}) {
        const QString path = joinPath(folder, name);
        const QFileInfo info(path);
        if (info.isFile() && info.isExecutable())
            return path;
    }
    return {};
}

} // namespace zt
