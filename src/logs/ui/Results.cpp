#include "logs/ui/Results.h"

#include "app/ui/Widgets.h"

#include <QTextEdit>
#include <QVBoxLayout>

namespace zt {

Results::Results(App& app) : app_(app) {
    setObjectName(QStringLiteral("Results"));
    auto* layout = new QVBoxLayout(this);
    output_box = ui::named(new QTextEdit(this), "output_box");
    Exit_results = ui::button(this, "Exit_results", QStringLiteral("E&xit"));
    layout->addWidget(output_box);
    layout->addWidget(Exit_results);
    connect(Exit_results, &QPushButton::clicked, this, &Results::Exit_results_Click);
    resize(640, 480);
}

void Results::showResultsText(const QString& caption, const QString& text) {
    output_box->setPlainText(text);
    setWindowTitle(caption);
}

void Results::Exit_results_Click() {
    hide();
    output_box->clear();
}

} // namespace zt
