#include "app/Startup.h"

#include "app/TextFormat.h"

#include <algorithm>

namespace zt {

QString measurementLogNameFor(const QDate& date) {
    return QStringLiteral("JumpMeasurementLog") + dateStamp(date) + QStringLiteral(".txt");
}

QString videoLogOpeningLine(const QDateTime& at) {
    return PrintLine()
        .item(dateText(at.date()))
        .item(timeText(at.time()))
        .item(QStringLiteral("Zentrak Measurement Session started  "))
        .line();
}

QString withoutTrailingSeparator(const QString& folder) {
    if (folder.size() > 1 &&
        (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/'))))
        return folder.left(folder.size() - 1);
    return folder;
}

QString videoDirOfBox(const QString& boxText) {
    return withoutTrailingSeparator(boxText.trimmed());
}

QString frameRateClassCaption(double rate, const QString& current) {
    QString caption = current;
    if (rate >= 5)
        caption = QStringLiteral("Currently Configured for Normal/C");
    if (rate >= 15)
        caption = QStringLiteral("Currently Configured for L");
    if (rate >= 25)
        caption = QStringLiteral("Currently Configured for R");
    return caption;
}

QString commasToSpaces(QString text) {
    return text.replace(QLatin1Char(','), QLatin1Char(' '));
}

namespace {

bool unsafeInName(QChar c) {
    static const QString refused = QStringLiteral("/\\<>:\"|?*");
    return refused.contains(c) || c.category() == QChar::Other_Control ||
           c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QString safeSkierName(QString name) {
    for (QChar& c : name)
        if (c == QLatin1Char(',') || unsafeInName(c))
            c = QLatin1Char(' ');
    for (qsizetype i = name.indexOf(QLatin1String("..")); i >= 0;
         i = name.indexOf(QLatin1String(".."), i)) {
        name[i] = QLatin1Char(' ');
        name[i + 1] = QLatin1Char(' ');
    }
    return name;
}

bool hasUnsafeNameCharacter(const QString& name) {
    return std::any_of(name.begin(), name.end(), unsafeInName) ||
           name.contains(QLatin1String(".."));
}

WindowPlacement placeWindows(const QRect& mainWindow, int captureWidth, const QRect& screen) {
    WindowPlacement p{mainWindow.topLeft(), {}};
    if (mainWindow.x() + mainWindow.width() + captureWidth > screen.x() + screen.width())
        p.main.setX(screen.x());
    p.capture = QPoint(p.main.x() + mainWindow.width(), p.main.y());
    if (p.capture.x() > screen.x() + screen.width())
        p.capture.setX(screen.x());
    // The capture screen's buttons are never off the screen: a window that
    // would reach past the right edge moves left until it ends there.
    if (p.capture.x() + captureWidth > screen.x() + screen.width())
        p.capture.setX(qMax(screen.x(), screen.x() + screen.width() - captureWidth));
    return p;
}

} // namespace zt
