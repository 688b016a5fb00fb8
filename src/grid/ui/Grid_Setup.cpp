#include "grid/ui/Grid_Setup.h"

#include "app/ui/App.h"
#include "app/ui/MainForm.h"
#include "app/ui/Widgets.h"

namespace zt {

Grid_Setup::Grid_Setup(App& app) : app_(app) {
    setObjectName(QStringLiteral("Grid_Setup"));
    setWindowTitle(QStringLiteral("Grid Setup"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    grid_select = ui::button(central, "grid_select", QStringLiteral("Grid 1"));
    gridExit = ui::menuCommand(menuBar(), "gridExit", QStringLiteral("E&xit"));
    connect(gridExit, &QAction::triggered, this, &Grid_Setup::gridExit_Click);
    resize(800, 600);
}

void Grid_Setup::gridExit_Click() {
    hide();
    app_.mainForm().show();
}

} // namespace zt
