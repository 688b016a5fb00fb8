#include "logs/ui/frmSelectSkier.h"

#include "app/ui/Widgets.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace zt {

frmSelectSkier::frmSelectSkier(App& app, QWidget* owner) : app_(app) {
    if (owner)
        setParent(owner, Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmSelectSkier"));
    setWindowTitle(QStringLiteral("Select A Skier"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstSkiers = ui::named(new QListWidget(this), "lstSkiers"));
    layout->addWidget(
        Label1 =
            ui::label(this, "Label1", QStringLiteral("Double Click on Skier Name to select it")));
    layout->addWidget(cmdNoSelect =
                          ui::button(this, "cmdNoSelect", QStringLiteral("No Selection")));
    connect(cmdNoSelect, &QPushButton::clicked, this, &frmSelectSkier::cmdNoSelect_Click);
}

} // namespace zt
