#include "video/ui/frmSetStart.h"

#include "app/ui/App.h"
#include "app/ui/Widgets.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace zt {

frmSetStart::frmSetStart(App& app) : app_(app) {
    setObjectName(QStringLiteral("frmSetStart"));
    setWindowTitle(QStringLiteral("Zentrak 2005 Frame Selection"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(cmdMarkStart =
                          ui::button(central, "cmdMarkStart",
                                     QStringLiteral("Use displayed frame to measure jump")));
    layout->addWidget(btnGoToSetup =
                          ui::button(central, "btnGoToSetup",
                                     QStringLiteral("Use displayed frame to set up Grid")));
    layout->addWidget(cmdViewLog =
                          ui::button(central, "cmdViewLog", QStringLiteral("View Log File")));
    layout->addWidget(cmdGoToCapture = ui::button(central, "cmdGoToCapture",
                                                  QStringLiteral("Go To Record Next Jump Pass")));
    layout->addWidget(cmdGoToSetup = ui::button(central, "cmdGoToSetup",
                                                QStringLiteral("Go Back To Main Screen")));
    cmdMarkStart->setEnabled(false);
    btnGoToSetup->setEnabled(false);
    connect(cmdGoToCapture, &QPushButton::clicked, this, &frmSetStart::cmdGoToCapture_Click);
    connect(cmdGoToSetup, &QPushButton::clicked, this, &frmSetStart::cmdGoToSetup_Click);
    connect(cmdViewLog, &QPushButton::clicked, this, &frmSetStart::cmdViewLog_Click);
    resize(800, 600);
}

void frmSetStart::cmdGoToCapture_Click() {
    app_.showScreen(Screen::Capture);
    app_.state.previewActive = true;
    hide();
    app_.state.screenMode = QStringLiteral("Timer");
}

void frmSetStart::cmdGoToSetup_Click() {
    app_.showScreen(Screen::Main);
    hide();
}

void frmSetStart::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmdGoToSetup_Click();
}

void frmSetStart::cmdViewLog_Click() {
    app_.openLogView(this);
}

} // namespace zt
