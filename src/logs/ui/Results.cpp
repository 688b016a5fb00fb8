#include "logs/ui/Results.h"

#include "app/FileAccess.h"
#include "app/FileUtils.h"
#include "app/TextFormat.h"
#include "app/TextLines.h"
#include "app/ui/AppContext.h"
#include "app/ui/Widgets.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zt {

Results::Results(AppContext& app) : app_(app) {
    setObjectName(QStringLiteral("Results"));
    auto* layout = new QVBoxLayout(this);
    output_box = ui::named(new QTextEdit(this), "output_box");
    output_box->setReadOnly(true);
    output_box->setLineWrapMode(QTextEdit::NoWrap);
    // The lines are laid out in print columns.
    output_box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Exit_results = ui::button(this, "Exit_results", QStringLiteral("E&xit"));
    layout->addWidget(output_box);
    layout->addWidget(Exit_results);
    connect(Exit_results, &QPushButton::clicked, this, &Results::Exit_results_Click);
    resize(900, 520);
}

bool Results::showResultsFile(const QString& path) {
    output_box->clear();
    QString file = path;
    while (file.startsWith(QLatin1Char(' ')))
        file.remove(0, 1);
    const FileRead read = file.isEmpty() ? FileRead{} : readRegularFile(file, readLimit::text);
    if (!read) {
        app_.dialogs().warn(QStringLiteral("The results file cannot be read: ") +
                            (file.isEmpty() ? QStringLiteral("(no file name)") : file) +
                            QStringLiteral("\n") +
                            (file.isEmpty() ? QStringLiteral("No file name is set.") : read.error) +
                            QStringLiteral("\nCheck the results file in the configuration "
                                           "screen."));
        return false;
    }
    output_box->setPlainText(linesOfText(textOfAppendedFile(read.bytes)).join(QLatin1Char('\n')));
    setWindowTitle(path);
    show();
    raise();
    activateWindow();
    return true;
}

void Results::Exit_results_Click() {
    hide();
    output_box->clear();
}

void Results::closeEvent(QCloseEvent* event) {
    event->accept();
    output_box->clear();
}

} // namespace zt
