#include "logs/ui/frmManual.h"

#include "app/ui/App.h"
#include "app/ui/Widgets.h"

#include <QCloseEvent>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zt {

frmManual::frmManual(App& app) : app_(app) {
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Zentrak 2005 Manual"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1 = ui::label(this, "Label1", QStringLiteral("Zentrak 2005 Manual")));
    layout->addWidget(RichTextBox1 = ui::named(new QTextEdit(this), "RichTextBox1"));
    RichTextBox1->setReadOnly(true);
    layout->addWidget(cmdDone = ui::button(this, "cmdDone", QStringLiteral("Done")));
    connect(cmdDone, &QPushButton::clicked, this, &frmManual::cmdDone_Click);
    resize(800, 600);
}

void frmManual::cmdDone_Click() {
    app_.showScreen(Screen::Main);
    hide();
}

void frmManual::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmdDone_Click();
}

} // namespace zt
