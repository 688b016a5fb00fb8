#pragma once
// The results viewer: the results file as text.

#include <QWidget>

class QPushButton;
class QTextEdit;

namespace zt {

class App;

class Results : public QWidget {
    Q_OBJECT
public:
    explicit Results(App& app);

    QTextEdit* output_box;
    QPushButton* Exit_results; // "E&xit"

public slots:
    void Exit_results_Click();

private:
    App& app_;
};

} // namespace zt
