#include "logs/ui/frmManual.h"

#include "app/ui/AppContext.h"
#include "app/ui/Widgets.h"
#include "logs/Manual.h"

#include <QCloseEvent>
#include <QFile>
#include <QTextEdit>
#include <QVBoxLayout>

// The program's resources live in a static library: they are registered
// explicitly, once.
static void registerResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace zt {

frmManual::frmManual(AppContext& app) : app_(app) {
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Zentrak 2005 Manual"));
    auto* layout = new QVBoxLayout(this);
    // The text box is 100 twips (about 7 pixels) narrower than the screen.
    layout->setContentsMargins(0, 6, 7, 6);
    layout->addWidget(Label1 = ui::label(this, "Label1", QStringLiteral("Zentrak 2005 Manual")));
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setIndent(6);
    layout->addWidget(RichTextBox1 = ui::named(new QTextEdit(this), "RichTextBox1"), 1);
    RichTextBox1->setReadOnly(true);
    layout->addWidget(cmdDone = ui::button(this, "cmdDone", QStringLiteral("Done")));
    connect(cmdDone, &QPushButton::clicked, this, &frmManual::cmdDone_Click);
    resize(900, 700);
}

QByteArray frmManual::deliveredManual() {
    registerResources();
    QFile f(QStringLiteral(":/") + manual::fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void frmManual::Form_Load() {
    if (loaded_)
        return;
    loaded_ = true;
    const ManualText text = loadManual(app_.paths().appDir, deliveredManual());
    if (text.copied)
        app_.log(QStringLiteral("Manual copied to the application folder"));
    if (!text.copyError.isEmpty())
        app_.log(QStringLiteral("Manual not copied: ") + text.copyError);
    if (!text.warning.isEmpty())
        app_.dialogs().warn(text.warning);
    if (!fillDocumentFromRtf(*RichTextBox1->document(), text.rtf))
        app_.dialogs().warn(manualTooDeepWarning());
    RichTextBox1->moveCursor(QTextCursor::Start);
}

void frmManual::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Load();
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
