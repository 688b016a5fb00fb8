#include "measure/ui/Measure.h"

#include "app/ui/App.h"
#include "app/ui/MainForm.h"
#include "app/ui/Widgets.h"

#include <QVBoxLayout>

namespace zt {

Measure::Measure(App& app) : app_(app) {
    setObjectName(QStringLiteral("Measure"));
    setWindowTitle(QStringLiteral("Zentrak 2005 Measure"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    Skier_name = ui::combo(central, "Skier_name");
    Skier_name->setEditable(true);
    Skier_name->setEditText(QStringLiteral("Skier Name"));
    Jump_no = ui::edit(central, "Jump_no", QStringLiteral("Jump"));
    grid_description = ui::edit(central, "grid_description");
    gif_file_name = ui::edit(central, "gif_file_name");
    gif_file_name->hide();
    for (QWidget* w : {static_cast<QWidget*>(Skier_name), static_cast<QWidget*>(Jump_no),
                       static_cast<QWidget*>(grid_description)})
        layout->addWidget(w);
    layout->addStretch();
    Exit = ui::menuCommand(menuBar(), "Exit", QStringLiteral("E&xit"));
    connect(Exit, &QAction::triggered, this, &Measure::Exit_Click);
    resize(800, 600);
}

void Measure::Exit_Click() {
    hide();
    app_.state.screenMode.clear();
    app_.mainForm().show();
}

} // namespace zt
