#include "logs/ui/frmSelectSkier.h"

#include "app/FileAccess.h"
#include "app/FileUtils.h"
#include "app/ui/AppContext.h"
#include "app/ui/Widgets.h"
#include "capture/CaptureScreenView.h"
#include "logs/SkierNames.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

namespace zt {

namespace {

// 2280 and 120 twips from the display's left and top edges.
const QPoint listPlace(2280 / 15, 120 / 15);

} // namespace

frmSelectSkier::frmSelectSkier(AppContext& app, QWidget* owner) : app_(app) {
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
    connect(lstSkiers, &QListWidget::itemDoubleClicked, this, &frmSelectSkier::lstSkiers_DblClick);
    connect(cmdNoSelect, &QPushButton::clicked, this, &frmSelectSkier::cmdNoSelect_Click);
    resize(320, 480);
}

bool frmSelectSkier::Form_Load() {
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    move((screen ? screen->geometry().topLeft() : QPoint()) + listPlace);
    const QString path = app_.paths().inApp(QStringLiteral("SkierNames.txt"));
    const FileRead read = readRegularFile(path, readLimit::text);
    if (!read) {
        app_.dialogs().warn(QStringLiteral("The skier names file cannot be read: ") + path +
                            QStringLiteral("\n") + read.error +
                            QStringLiteral("\nThe skier's name stays as it was."));
        return false;
    }
    lstSkiers->clear();
    lstSkiers->addItems(skierListEntries(textOfFileBytes(read.bytes)));
    return true;
}

void frmSelectSkier::lstSkiers_DblClick(QListWidgetItem* item) {
    if (!item)
        return;
    app_.captureView().setSkierName(item->text());
    close();
}

} // namespace zt
