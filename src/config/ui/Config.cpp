#include "config/ui/Config.h"

#include "app/ui/App.h"
#include "app/ui/MainForm.h"
#include "app/ui/Widgets.h"

#include <QVBoxLayout>

namespace zt {

Config::Config(App& app) : app_(app) {
    setObjectName(QStringLiteral("Config"));
    setWindowTitle(QStringLiteral("System Configuration Parameters"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(WSTIMS = ui::checkBox(central, "WSTIMS", QStringLiteral("WSTIMS Interface")));
    layout->addWidget(chkLoupe =
                          ui::checkBox(central, "chkLoupe", QStringLiteral("Use Screen Loupe")));
    layout->addWidget(
        chkBadSetup = ui::checkBox(central, "chkBadSetup", QStringLiteral("Allow Invalid Setup")));
    layout->addStretch();
    mnuExit = ui::menuCommand(menuBar(), "mnuExit", QStringLiteral("E&xit and Save Parameters"));
    connect(mnuExit, &QAction::triggered, this, &Config::mnuExit_Click);
    resize(640, 480);
}

void Config::mnuExit_Click() {
    app_.mainForm().show();
    hide();
}

} // namespace zt
