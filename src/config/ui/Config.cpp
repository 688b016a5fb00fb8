#include "config/ui/Config.h"

#include "app/ui/App.h"
#include "app/ui/MainForm.h"
#include "app/ui/Widgets.h"

namespace zt {

Config::Config(App& app) : app_(app) {
    setObjectName(QStringLiteral("Config"));
    setWindowTitle(QStringLiteral("System Configuration Parameters"));
    mnuExit = ui::menuCommand(menuBar(), "mnuExit", QStringLiteral("E&xit and Save Parameters"));
    connect(mnuExit, &QAction::triggered, this, &Config::mnuExit_Click);
    resize(640, 480);
}

void Config::mnuExit_Click() {
    app_.mainForm().show();
    hide();
}

} // namespace zt
