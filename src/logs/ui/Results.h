#pragma once
// The results viewer: the results file as text.

#include "logs/ResultsView.h"

#include <QWidget>

class QPushButton;
class QTextEdit;

namespace zt {

class App;

class Results : public QWidget, public ResultsView {
    Q_OBJECT
public:
    explicit Results(App& app);

    QTextEdit* output_box;
    QPushButton* Exit_results; // "E&xit"

    // ResultsView.
    void showResultsText(const QString& caption, const QString& text) override;

public slots:
    void Exit_results_Click();

private:
    App& app_;
};

} // namespace zt
