#include "logs/ui/LogView.h"

#include "app/ui/Widgets.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace zt {

namespace {

void makeViewerWindow(QWidget* viewer, QWidget* owner) {
    if (owner)
        viewer->setParent(owner, Qt::Window);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
}

} // namespace

LogView::LogView(App& app, QWidget* owner) : app_(app) {
    makeViewerWindow(this, owner);
    setObjectName(QStringLiteral("LogView"));
    setWindowTitle(QStringLiteral("Log Viewer"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Log File to View"), this));
    layout->addWidget(txtLogFile = ui::edit(this, "txtLogFile"));
    layout->addWidget(lstLog = ui::named(new QListWidget(this), "lstLog"));
    layout->addWidget(Label2 = ui::label(this, "Label2",
                                         QStringLiteral("Click to Select and use View Selected "
                                                        "File button to View or Double Click to "
                                                        "view")));
    layout->addWidget(txtFileToView = ui::edit(this, "txtFileToView"));
    layout->addWidget(cmdSelectLogFile = ui::button(this, "cmdSelectLogFile",
                                                    QStringLiteral("Select Different Log File")));
    layout->addWidget(cmdView = ui::button(this, "cmdView", QStringLiteral("View Selected File")));
    layout->addWidget(cmdDismiss =
                          ui::button(this, "cmdDismiss", QStringLiteral("Exit Log Viewer")));
    connect(cmdDismiss, &QPushButton::clicked, this, &LogView::cmdDismiss_Click);
}

PictureLogView::PictureLogView(App& app, QWidget* owner) : app_(app) {
    makeViewerWindow(this, owner);
    setObjectName(QStringLiteral("PictureLogView"));
    setWindowTitle(QStringLiteral("Contact Picture Log"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtPicLogToView = ui::edit(this, "txtPicLogToView"));
    layout->addWidget(lstPicLog = ui::named(new QListWidget(this), "lstPicLog"));
    layout->addWidget(txtPictureToView = ui::edit(this, "txtPictureToView"));
    layout->addWidget(cmdSelPicLog =
                          ui::button(this, "cmdSelPicLog", QStringLiteral("Select a Log File")));
    layout->addWidget(cmdViewPicLog =
                          ui::button(this, "cmdViewPicLog", QStringLiteral("View Picture")));
}

} // namespace zt
