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
    {setting::logpath.key, "Logpath = ", ""},
    {setting::barefoot.key, "barefoot = ", "0"},
    {setting::compression.key, "compression = ", "0"},
    {setting::device.key, "device = ", "0"},
    {setting::framerate.key, "framerate = ", "0"},
    {setting::grid1File.key, "Grid 1 File = ", ""},
    {setting::grid2File.key, "Grid 2 File = ", ""},
    {setting::grid3File.key, "Grid 3 File = ", ""},
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
        if (e.key == setting::logpath.key)
            settings.set(setting::logfile, QString());
    }
}

} // namespace zt
