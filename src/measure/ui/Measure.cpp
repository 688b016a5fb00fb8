#include "measure/ui/Measure.h"

#include "app/ui/App.h"
#include "app/ui/MainForm.h"
#include "app/ui/Widgets.h"

#include <QGridLayout>
#include <QRadioButton>
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
    barefoot_indicator = ui::edit(central, "barefoot_indicator");
    barefoot_indicator->hide();
    UnofficialJump = ui::label(central, "UnofficialJump", QStringLiteral("UNOFFICIAL JUMP"));
    layout->addWidget(barefoot_indicator);
    layout->addWidget(UnofficialJump);
    auto* options = new QGridLayout;
    layout->addLayout(options);
    int col = 0;
    auto option = [&](const char* name, const QString& caption) {
        auto* b = ui::named(new QRadioButton(caption, central), name);
        options->addWidget(b, 0, col++);
        return b;
    };
    optJumpOK = option("optJumpOK", QStringLiteral("Jump OK"));
    Fall = option("Fall", QStringLiteral("Fall"));
    Pass = option("Pass", QStringLiteral("Pass"));
    O_reride = option("O_reride", QStringLiteral("Opt. reride"));
    M_Reride = option("M_Reride", QStringLiteral("Man. Reride"));
    Other_Grid = option("Other_Grid", QStringLiteral("Other Grid"));
    Make_comment = option("Make_comment", QStringLiteral("Comment"));
    col = 0;
    auto label = [&](const char* name, const QString& caption = QString()) {
        QLabel* l = ui::label(central, name, caption);
        options->addWidget(l, 1, col++);
        return l;
    };
    FrozenSign = label("FrozenSign", QStringLiteral("FROZEN"));
    IWSFlabel = label("IWSFlabel");
    AWSAlabel = label("AWSAlabel");
    AdjustmentLabel = label("AdjustmentLabel");
    CrossLabel = label("CrossLabel");
    maxbuoy = label("maxbuoy");
    maxbuoym = label("maxbuoym");
    minbuoy = label("minbuoy");
    minbuoym = label("minbuoym");
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
