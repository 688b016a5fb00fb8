#include "app/EmergencyReset.h"

#include "app/Dialogs.h"
#include "app/SettingsStore.h"

namespace zt {

namespace {

struct ResetEntry {
    const char* key;
    const char* label;
    const char* installValue;
};

constexpr ResetEntry resetEntries[] = {
    {"logpath", "Logpath = ", ""},          {"barefoot", "barefoot = ", "0"},
    {"compression", "compression = ", "0"}, {"device", "device = ", "0"},
    {"framerate", "framerate = ", "0"},     {"grid1File", "Grid 1 File = ", ""},
    {"grid2File", "Grid 2 File = ", ""},    {"grid3File", "Grid 3 File = ", ""},
};

} // namespace

void emergencyReset(Dialogs& dialogs, SettingsStore& settings) {
    const QString title = QStringLiteral("Emergency Parameter Reset");
    auto ask = [&](const QString& prompt) {
        return dialogs.askYesNo(prompt, title, MsgIcon::Question, true);
    };
    if (!ask(QStringLiteral("Do you want to reset all parameters to install values?")))
        return;
    if (!ask(QStringLiteral("Are you certain? This means you are crashing and can't operate")))
        return;
    for (const ResetEntry& e : resetEntries) {
        const QString key = QString::fromLatin1(e.key);
        const QString value = settings.read(key, QStringLiteral("0"));
        if (!ask(QString::fromLatin1(e.label) + value + QStringLiteral(" Clear it?")))
            continue;
        settings.write(key, QString::fromLatin1(e.installValue));
        if (key == QLatin1String("logpath"))
            settings.write(QStringLiteral("logfile"), QString());
    }
}

} // namespace zt
